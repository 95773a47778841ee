// CLS_History: the newest records a host keeps, mirrored in a signed little-endian file.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "util/file.h"
#include "zedll/util.h"

namespace fc = zed::file_const;

namespace {

constexpr char kSignature[] = "ZEHistory66100501";
constexpr DWORD kSignatureBytes = 18;   // the 17 characters and their zero byte
constexpr DWORD kHeaderBytes = kSignatureBytes + 4;
static_assert(sizeof kSignature == kSignatureBytes, "signature with its zero byte");

void PutLe32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

uint32_t GetLe32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// A copy of `length` bytes with `extra` zero bytes after them, from the general-purpose allocator.
unsigned char* NewData(uint32_t length, uint32_t extra) {
    const uint64_t bytes = static_cast<uint64_t>(length) + extra;
    if (bytes > SIZE_MAX) return nullptr;
    auto* data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(bytes)));
    if (data != nullptr) std::memset(data + length, 0, extra);
    return data;
}

// Moves past one whole record; false at the end of the file or at a damaged record.
bool SkipItem(CLS_File* file, DWORD size) {
    unsigned char length_bytes[4];
    if (file->Read(length_bytes, 4) != 4) return false;
    const uint32_t length = GetLe32(length_bytes);
    const DWORD at = file->Tell();
    if (at == CLS_File::kFailed || at > size || length > size - at) return false;
    return file->Seek(static_cast<LONG>(at + length), fc::kBegin) != CLS_File::kFailed;
}

// Flush writes the whole image in blocks of about this size: one pass, no per-record calls.
constexpr size_t kFlushBlock = size_t{1} << 20;

}  // namespace

CLS_History::CLS_History()
    : file_(nullptr), count_(0), capacity_(10), valid_(0),
      records_(new (std::nothrow) CLS_History_obj[11]()) {}

CLS_History::CLS_History(char* name, int capacity)
    : file_(nullptr), count_(0), capacity_(capacity), valid_(0), records_(nullptr) {
    // Capacity 0 is a history that keeps nothing: it opens, checks and rewrites its file like any
    // other. A negative capacity has no records array to speak of: refused before the file is
    // touched, not valid.
    if (capacity < 0 || static_cast<uint64_t>(capacity) + 1 > SIZE_MAX / sizeof(CLS_History_obj))
        return;
    records_ = new (std::nothrow) CLS_History_obj[static_cast<size_t>(capacity) + 1]();
    if (records_ == nullptr) return;
    file_ = new (std::nothrow) CLS_File(name, fc::kOpenAlways, fc::kGenericRead | fc::kGenericWrite,
                                       fc::kShareRead, fc::kAttributeNormal);
    if (file_ == nullptr || !file_->IsOpen()) return;

    const DWORD size = file_->GetSize();
    if (size == CLS_File::kFailed) return;
    if (size == 0) {
        unsigned char header[kHeaderBytes] = {};
        std::memcpy(header, kSignature, kSignatureBytes);
        if (file_->Write(header, kHeaderBytes) == kHeaderBytes) valid_ = 1;
        return;
    }
    unsigned char signature[kSignatureBytes];
    if (file_->Read(signature, kSignatureBytes) != kSignatureBytes ||
        std::memcmp(signature, kSignature, kSignatureBytes) != 0)
        return;   // another file: neither loaded nor changed
    valid_ = 1;
    unsigned char stored_bytes[4];
    if (file_->Read(stored_bytes, 4) != 4) return;
    const int32_t stored = static_cast<int32_t>(GetLe32(stored_bytes));

    if (stored > capacity) {
        // The newest records are kept: the stored count says how many come first and are
        // dropped, without keeping their bytes. A damaged file that holds fewer whole records
        // than it claims therefore loads fewer than the capacity.
        for (int32_t skip = stored - capacity; skip > 0; --skip)
            if (!SkipItem(file_, size)) return;
    }
    while (count_ < capacity_ && ReadItem(&records_[count_])) ++count_;
}

CLS_History::CLS_History(const CLS_History& other)
    : file_(nullptr), count_(0), capacity_(other.capacity_), valid_(0), records_(nullptr) {
    if (other.records_ == nullptr) return;
    records_ = new (std::nothrow) CLS_History_obj[static_cast<size_t>(capacity_) + 1]();
    if (records_ == nullptr) return;
    bool whole = true;
    for (int i = 0; i < other.count_; ++i) {
        const CLS_History_obj& from = other.records_[i];
        unsigned char* data = NewData(from.length, 1);
        if (data == nullptr) {
            whole = false;
            break;
        }
        if (from.length != 0) std::memcpy(data, from.data, from.length);
        records_[count_].length = from.length;
        records_[count_].data = data;
        ++count_;
    }
    if (other.file_ != nullptr && other.file_->IsOpen()) {
        file_ = new (std::nothrow) CLS_File(*other.file_);   // a duplicate handle of our own
        if (file_ != nullptr && !file_->IsOpen()) {
            delete file_;
            file_ = nullptr;
        }
    }
    // A copy that could not take every record or the file must never overwrite the file.
    valid_ = (other.valid_ && whole && file_ != nullptr) ? 1 : 0;
}

CLS_History::~CLS_History() {
    if (file_ != nullptr) {
        Flush();
        if (valid_) file_->Flush();
        file_->Close();
        delete file_;
    }
    if (records_ != nullptr) {
        for (int i = 0; i < count_; ++i) std::free(records_[i].data);
        delete[] records_;
    }
}

CLS_History& CLS_History::operator=(const CLS_History& other) {
    if (this == &other) return *this;
    // Copy, then trade places: the copy leaves with our old state and writes it back to our old
    // file as it goes.
    CLS_History copy(other);
    std::swap(file_, copy.file_);
    std::swap(count_, copy.count_);
    std::swap(capacity_, copy.capacity_);
    std::swap(valid_, copy.valid_);
    std::swap(records_, copy.records_);
    return *this;
}

bool CLS_History::ReadItem(CLS_History_obj* item) {
    unsigned char length_bytes[4];
    if (file_->Read(length_bytes, 4) != 4) return false;
    const uint32_t length = GetLe32(length_bytes);
    // A length beyond the end of the file is damage, not a reason to allocate gigabytes.
    const DWORD at = file_->Tell(), size = file_->GetSize();
    if (at == CLS_File::kFailed || size == CLS_File::kFailed || at > size || length > size - at)
        return false;
    unsigned char* data = NewData(length, 2);
    if (data == nullptr) return false;
    if (file_->Read(data, length) != length) {
        std::free(data);
        return false;
    }
    item->length = length;
    item->data = data;
    return true;
}

bool CLS_History::WriteItem(CLS_History_obj* item) {
    unsigned char length_bytes[4];
    PutLe32(length_bytes, item->length);
    if (file_->Write(length_bytes, 4) != 4) return false;
    if (item->data == nullptr || item->length == 0) return true;
    return file_->Write(item->data, item->length) == item->length;
}

bool CLS_History::Put(CLS_History_obj* record) {
    // A history of capacity 0 (or a refused one) has no entry to put a record in.
    if (record == nullptr || records_ == nullptr || capacity_ < 1) return false;
    if (record->data == nullptr && record->length != 0) return false;
    if (count_ + 1 > capacity_) {
        std::free(records_[0].data);
        std::memmove(records_, records_ + 1, sizeof(CLS_History_obj) * static_cast<size_t>(count_ - 1));
        count_ = capacity_ - 1;
        records_[count_] = CLS_History_obj{0, nullptr};
    }
    unsigned char* data = NewData(record->length, 1);
    if (data == nullptr) return false;
    if (record->length != 0) std::memcpy(data, record->data, record->length);
    records_[count_].length = record->length;
    records_[count_].data = data;
    ++count_;
    return true;
}

CLS_History::CLS_History_obj* CLS_History::Get(int index) {
    if (records_ == nullptr) return nullptr;
    if (index == -1) return count_ > 0 ? &records_[count_ - 1] : nullptr;
    if (index < 0 || index >= count_) return nullptr;
    return &records_[index];
}

// The file is rewritten in place, front to back, behind a signature it never touches, and cut
// last. A writer killed meanwhile leaves the old file, the new one, the new one with the old
// one's longer tail, or new bytes up to some offset with old ones after it: the next open always
// finds a valid history with every new record that was wholly written, in order, but the format
// (one header, no checksum) cannot tell a torn tail from records.
void CLS_History::Flush() {
    if (!valid_ || file_ == nullptr) return;
    if (file_->Seek(static_cast<LONG>(kSignatureBytes), fc::kBegin) == CLS_File::kFailed) return;
    // The image goes out in large blocks; only if no block can be had, record by record.
    std::vector<unsigned char> block;
    try {
        block.reserve(kFlushBlock);
    } catch (const std::bad_alloc&) {
        unsigned char count_bytes[4];
        PutLe32(count_bytes, static_cast<uint32_t>(count_));
        if (file_->Write(count_bytes, 4) != 4) return;
        for (int i = 0; i < count_; ++i)
            if (!WriteItem(&records_[i])) return;
        file_->Resize(file_->Tell());
        return;
    }
    auto emit = [&](const void* p, size_t n) -> bool {
        const auto* bytes = static_cast<const unsigned char*>(p);
        while (n > 0) {
            if (block.size() == kFlushBlock) {
                if (file_->Write(block.data(), static_cast<DWORD>(block.size())) != block.size())
                    return false;
                block.clear();
            }
            const size_t take = n < kFlushBlock - block.size() ? n : kFlushBlock - block.size();
            block.insert(block.end(), bytes, bytes + take);
            bytes += take;
            n -= take;
        }
        return true;
    };
    unsigned char word[4];
    PutLe32(word, static_cast<uint32_t>(count_));
    if (!emit(word, 4)) return;
    for (int i = 0; i < count_; ++i) {
        PutLe32(word, records_[i].length);
        if (!emit(word, 4)) return;
        if (records_[i].data != nullptr && !emit(records_[i].data, records_[i].length)) return;
    }
    if (!block.empty() &&
        file_->Write(block.data(), static_cast<DWORD>(block.size())) != block.size())
        return;
    // Cut whatever an earlier, longer content left behind.
    file_->Resize(file_->Tell());
}

int CLS_History::GetCount() const { return count_; }
int CLS_History::GetCapacity() const { return capacity_; }
bool CLS_History::IsValid() const { return valid_ != 0; }
