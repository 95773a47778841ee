// OPT_RLastFiles: the recent-files list, its existence check and its registry values.
#include <cstdio>
#include <new>

#include "os/file.h"
#include "os/heap.h"
#include "os/registry.h"
#include "zedll/recent_files.h"

namespace {

constexpr int kLargestMaximum = 98;
constexpr int kDefaultMaximum = 5;
constexpr int kCurrentUser = 1;
constexpr DWORD kLargestStoredCount = 65535;  // Load reads no more "LN" values than this

}  // namespace

OPT_RLastFiles::OPT_RLastFiles(const char* company, const char* product, const char* version,
                               int maximum)
    : entries_(nullptr),
      maximum_(maximum >= 1 && maximum <= kLargestMaximum ? maximum : kDefaultMaximum),
      count_(0),
      options_(new (std::nothrow) OPT_RegOptions(company, product, version)) {
    entries_ = static_cast<CLS_String**>(
        zed::HeapAllocZeroed(sizeof(CLS_String*) * static_cast<size_t>(maximum_ + 1)));
    Load();
}

OPT_RLastFiles::OPT_RLastFiles(const OPT_RLastFiles& other)
    : entries_(nullptr), maximum_(other.maximum_), count_(0), options_(nullptr) {
    CopyFrom(other);
}

OPT_RLastFiles& OPT_RLastFiles::operator=(const OPT_RLastFiles& other) {
    if (this != &other) {
        Release();
        maximum_ = other.maximum_;
        CopyFrom(other);
    }
    return *this;
}

OPT_RLastFiles::~OPT_RLastFiles() {
    Save();
    Release();
}

void OPT_RLastFiles::CopyFrom(const OPT_RLastFiles& other) {
    options_ = other.options_ != nullptr ? new (std::nothrow) OPT_RegOptions(*other.options_) : nullptr;
    entries_ = static_cast<CLS_String**>(
        zed::HeapAllocZeroed(sizeof(CLS_String*) * static_cast<size_t>(maximum_ + 1)));
    count_ = 0;
    if (entries_ == nullptr || other.entries_ == nullptr) return;
    for (int i = 0; i < other.count_; ++i) {
        entries_[i] = new (std::nothrow) CLS_String(*other.entries_[i]);
        if (entries_[i] == nullptr) break;
        count_ = i + 1;
    }
}

void OPT_RLastFiles::Release() {
    if (entries_ != nullptr) {
        for (int i = 0; i < count_; ++i) delete entries_[i];
        zed::HeapRelease(entries_);
    }
    entries_ = nullptr;
    count_ = 0;
    delete options_;
    options_ = nullptr;
}

int OPT_RLastFiles::AddFile(CLS_String path) {
    if (entries_ == nullptr) return 0;
    zed::FileStatus status;
    const DWORD rc = zed::os::FileStatusByName(path.GetBuffer() ? path.GetBuffer() : "", &status);
    if (rc == 2 || rc == 3 || rc == 4 || rc == 5) return 0;
    CLS_String* copy = new (std::nothrow) CLS_String(path);
    if (copy == nullptr) return 0;
    for (int i = 0; i < count_; ++i) {
        if (*entries_[i] == path) {
            DelFile(i);
            break;
        }
    }
    if (count_ >= maximum_) {
        delete entries_[count_ - 1];
        entries_[count_ - 1] = nullptr;
        --count_;
    }
    for (int i = count_; i > 0; --i) entries_[i] = entries_[i - 1];
    entries_[0] = copy;
    ++count_;
    return 1;
}

int OPT_RLastFiles::DelFile(int index) {
    if (entries_ == nullptr || index < 0 || index >= count_) return 0;
    delete entries_[index];
    for (int i = index; i + 1 < count_; ++i) entries_[i] = entries_[i + 1];
    entries_[--count_] = nullptr;
    return 1;
}

CLS_String* OPT_RLastFiles::GetFile(int index) {
    if (entries_ == nullptr || index < 0 || index >= count_) return nullptr;
    return entries_[index];
}

int OPT_RLastFiles::GetNumFiles() { return count_; }

void OPT_RLastFiles::Load() {
    if (options_ == nullptr) return;
    // Every stored entry is read, oldest first, also beyond the maximum: entries that drop out
    // (missing files, duplicates) leave room for older ones. Only a damaged count (a negative
    // number is a huge one here) is bounded, so that loading never reads billions of values.
    DWORD stored = options_->GetDword("NF", DWORD{0}, kCurrentUser);
    if (stored > kLargestStoredCount) stored = kLargestStoredCount;
    for (int i = static_cast<int>(stored); i >= 1; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "LN%d", i);
        char path[512];
        options_->GetString(name, "", path, 511, kCurrentUser);
        AddFile(CLS_String(path));
    }
}

void OPT_RLastFiles::Save() {
    if (options_ == nullptr || entries_ == nullptr) return;
    zed::os::RegistryBatch batch;  // one commit for the whole list
    options_->SetDword("NF", count_, kCurrentUser);
    for (int i = 0; i < count_; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "LN%d", i + 1);
        options_->SetString(name, entries_[i]->GetBuffer() ? entries_[i]->GetBuffer() : "",
                            kCurrentUser);
    }
}
