// OPT_RegOptions: typed values under the product key, key management and tree copies.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "os/heap.h"
#include "os/registry.h"
#include "settings/reg_paths.h"
#include "zedll/reg_options.h"

using zed::os::RegAccess;
using zed::os::ScopedRegKey;

namespace {

const char* CopyName(const char* name) { return zed::HeapCopyText(name); }

void FreeName(const char* name) { zed::HeapRelease(const_cast<char*>(name)); }

// Reads a value of the expected type into buffer; the count of bytes read, or -1 on any failure
// (key, value, type, or a buffer too small).
long ReadValue(int scope, const std::string& path, const char* name, DWORD expected_type,
               void* buffer, DWORD size) {
    ScopedRegKey key;
    if (zed::os::RegistryOpen(zed::RootOf(scope), path.c_str(), RegAccess::kAll, key.Out()) != 0) {
        return -1;
    }
    DWORD type = 0, got = size;
    if (zed::os::RegistryQuery(key.Get(), name, &type, buffer, &got) != 0) return -1;
    if (type != expected_type) return -1;
    return static_cast<long>(got);
}

// Exactly 8 stored bytes of binary data, taken as a double; false for anything else.
bool ReadDouble(int scope, const std::string& path, const char* name, double* value) {
    unsigned char buffer[8];
    if (ReadValue(scope, path, name, zed::os::kRegBinary, buffer, sizeof buffer) != 8) {
        return false;
    }
    std::memcpy(value, buffer, 8);
    return true;
}

int WriteValue(int scope, const std::string& path, const char* name, DWORD type, const void* data,
               DWORD size) {
    ScopedRegKey key;
    if (zed::os::RegistryCreate(zed::RootOf(scope), path.c_str(), key.Out()) != 0) return 0;
    return zed::os::RegistrySet(key.Get(), name, type, data, size) == 0 ? 1 : 0;
}

// Values are read into buffers of these sizes while copying trees.
constexpr DWORD kValueNameBuffer = 300;
constexpr DWORD kValueDataBuffer = 3000;
constexpr DWORD kSubkeyNameBuffer = 3000;

bool SourceOpens(int src_scope, const std::string& src_path) {
    ScopedRegKey probe;
    return zed::os::RegistryOpen(zed::RootOf(src_scope), src_path.c_str(), RegAccess::kRead,
                                       probe.Out()) == 0;
}

// Copies one level's values, then walks its subkeys. A source that does not open gives 1 with
// nothing copied; a destination that cannot be created gives 0 and gets no values, but the
// subkeys are still walked (their own destinations normally fail the same way).
int CopyKey(int dst_scope, const std::string& dst_path, int src_scope, const std::string& src_path) {
    using namespace zed::os;
    if (!SourceOpens(src_scope, src_path)) return 1;
    ScopedRegKey src, dst;
    if (RegistryOpen(zed::RootOf(src_scope), src_path.c_str(), RegAccess::kRead, src.Out()) != 0) {
        return 1;
    }
    int result = 1;
    if (RegistryCreate(zed::RootOf(dst_scope), dst_path.c_str(), dst.Out()) != 0) result = 0;
    char name[kValueNameBuffer];
    std::vector<unsigned char> data(kValueDataBuffer);
    for (DWORD i = 0; dst; ++i) {
        DWORD name_size = sizeof name, data_size = kValueDataBuffer, type = 0;
        const DWORD rc =
            RegistryEnumValue(src.Get(), i, name, &name_size, &type, data.data(), &data_size);
        if (rc == zed::win_error::kNoMoreItems) break;
        if (rc != 0) {
            result = 0;  // too long a name or too much data for the buffers: skipped
            if (rc != zed::win_error::kMoreData) break;
            continue;
        }
        if (RegistrySet(dst.Get(), name, type, data.data(), data_size) != 0) result = 0;
    }
    for (DWORD i = 0;; ++i) {
        std::string sub(kSubkeyNameBuffer, '\0');
        DWORD sub_size = kSubkeyNameBuffer;
        const DWORD rc = RegistryEnumKey(src.Get(), i, &sub[0], &sub_size);
        if (rc != 0) break;
        sub.resize(sub_size);
        if (!CopyKey(dst_scope, dst_path + "\\" + sub, src_scope, src_path + "\\" + sub)) result = 0;
    }
    return result;
}

}  // namespace

OPT_RegOptions::OPT_RegOptions(const char* product, const char* version)
    : company_(CopyName("KELVARO")), product_(CopyName(product)), version_(CopyName(version)) {}

OPT_RegOptions::OPT_RegOptions(const char* company, const char* product, const char* version)
    : company_(CopyName(company)), product_(CopyName(product)), version_(CopyName(version)) {}

OPT_RegOptions::OPT_RegOptions(const OPT_RegOptions& other)
    : company_(CopyName(other.company_)),
      product_(CopyName(other.product_)),
      version_(CopyName(other.version_)) {}

OPT_RegOptions& OPT_RegOptions::operator=(const OPT_RegOptions& other) {
    if (this != &other) SetNames(other.company_, other.product_, other.version_);
    return *this;
}

OPT_RegOptions::~OPT_RegOptions() {
    FreeName(company_);
    FreeName(product_);
    FreeName(version_);
}

int OPT_RegOptions::SetNames(const char* company, const char* product, const char* version) {
    // Copy before freeing: the new names may be the old ones.
    const char* c = CopyName(company);
    const char* p = CopyName(product);
    const char* v = CopyName(version);
    FreeName(company_);
    FreeName(product_);
    FreeName(version_);
    company_ = c;
    product_ = p;
    version_ = v;
    return 1;
}

bool OPT_RegOptions::Usable() const {
    return company_ != nullptr && product_ != nullptr && version_ != nullptr;
}

// --- writing ------------------------------------------------------------------------------------

int OPT_RegOptions::SetString(const char* name, const char* text, int scope) {
    if (!Usable() || text == nullptr) return 0;
    return WriteValue(scope, zed::SettingsPath(scope, company_, product_, version_), name,
                      zed::os::kRegSz, text, static_cast<DWORD>(std::strlen(text) + 1));
}

int OPT_RegOptions::SetChar(const char* name, char c, int scope) {
    const char text[2] = {c, 0};
    return SetString(name, text, scope);
}

int OPT_RegOptions::SetDword(const char* name, DWORD value, int scope) {
    if (!Usable()) return 0;
    return WriteValue(scope, zed::SettingsPath(scope, company_, product_, version_), name,
                      zed::os::kRegDword, &value, 4);
}

int OPT_RegOptions::SetDword(const char* name, int value, int scope) {
    return SetDword(name, static_cast<DWORD>(value), scope);
}

int OPT_RegOptions::SetBool(const char* name, int value, int scope) {
    const unsigned char flag = value == 1 ? 1 : 0;
    return SetBinary(name, &flag, 1, scope);
}

int OPT_RegOptions::SetDouble(const char* name, double value, int scope) {
    unsigned char bytes[8];
    std::memcpy(bytes, &value, 8);
    return SetBinary(name, bytes, 8, scope);
}

int OPT_RegOptions::SetDouble(const char* name, long double value, int scope) {
    return SetDouble(name, static_cast<double>(value), scope);
}

int OPT_RegOptions::SetColor(const char* name, DWORD rgb, int scope) {
    char text[40];
    std::snprintf(text, sizeof text, "%u %u %u", static_cast<unsigned>(rgb & 0xFF),
                  static_cast<unsigned>((rgb >> 8) & 0xFF), static_cast<unsigned>((rgb >> 16) & 0xFF));
    return SetString(name, text, scope);
}

int OPT_RegOptions::SetBinary(const char* name, const void* data, DWORD size, int scope) {
    if (!Usable() || (data == nullptr && size != 0)) return 0;
    return WriteValue(scope, zed::SettingsPath(scope, company_, product_, version_), name,
                      zed::os::kRegBinary, data, size);
}

// --- reading ------------------------------------------------------------------------------------

int OPT_RegOptions::GetString(const char* name, const char* def, char* buffer, DWORD size,
                              int scope) {
    if (buffer == nullptr) return 0;
    if (Usable() && size != 0) {
        const long got = ReadValue(scope, zed::SettingsPath(scope, company_, product_, version_),
                                   name, zed::os::kRegSz, buffer, size);
        if (got == 0) {
            buffer[0] = 0;
            return 0;
        }
        if (got > 0) {
            if (buffer[got - 1] == 0) return static_cast<int>(got);
            // Stored without its terminator: terminate it when there is room.
            if (static_cast<DWORD>(got) < size) {
                buffer[got] = 0;
                return static_cast<int>(got);
            }
        }
    }
    if (size == 0) return 0;
    const std::size_t def_len = def != nullptr ? std::strlen(def) : 0;
    const std::size_t n = def_len < size - 1 ? def_len : size - 1;
    if (n != 0) std::memmove(buffer, def, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

char OPT_RegOptions::GetChar(const char* name, char def, int scope) {
    const char def_text[2] = {def, 0};
    char buffer[10] = {0};
    const int got = GetString(name, def_text, buffer, sizeof buffer, scope);
    return got > 2 ? def : buffer[0];
}

DWORD OPT_RegOptions::GetDword(const char* name, DWORD def, int scope) {
    if (!Usable()) return def;
    DWORD value = 0;
    const long got = ReadValue(scope, zed::SettingsPath(scope, company_, product_, version_), name,
                               zed::os::kRegDword, &value, 4);
    return got == 4 ? value : def;
}

int OPT_RegOptions::GetDword(const char* name, int def, int scope) {
    return static_cast<int>(GetDword(name, static_cast<DWORD>(def), scope));
}

int OPT_RegOptions::GetBool(const char* name, int def, int scope) {
    const unsigned char def_flag = def == 1 ? 1 : 0;
    unsigned char buffer[10] = {0};
    const DWORD got = GetBinary(name, &def_flag, 1, buffer, sizeof buffer, scope);
    if (got == 1) return buffer[0] == 1 ? 1 : 0;
    return def;
}

double OPT_RegOptions::GetDouble(const char* name, double def, int scope) {
    double value;
    if (!Usable() ||
        !ReadDouble(scope, zed::SettingsPath(scope, company_, product_, version_), name, &value)) {
        return def;
    }
    return value;
}

long double OPT_RegOptions::GetDouble(const char* name, long double def, int scope) {
    // The default comes back as given, not narrowed to a double.
    double value;
    if (!Usable() ||
        !ReadDouble(scope, zed::SettingsPath(scope, company_, product_, version_), name, &value)) {
        return def;
    }
    return value;
}

DWORD OPT_RegOptions::GetColor(const char* name, DWORD def, int scope) {
    char def_text[40];
    std::snprintf(def_text, sizeof def_text, "%u %u %u", static_cast<unsigned>(def & 0xFF),
                  static_cast<unsigned>((def >> 8) & 0xFF), static_cast<unsigned>((def >> 16) & 0xFF));
    char text[99] = {0};  // a longer stored text reads as the default
    GetString(name, def_text, text, sizeof text, scope);
    unsigned r = 9, g = 55, b = 33;
    std::sscanf(text, "%u %u %u", &r, &g, &b);
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

DWORD OPT_RegOptions::GetBinary(const char* name, const void* def, DWORD def_size, void* buffer,
                                DWORD size, int scope) {
    if (buffer == nullptr) return 0;
    if (Usable()) {
        const long got = ReadValue(scope, zed::SettingsPath(scope, company_, product_, version_),
                                   name, zed::os::kRegBinary, buffer, size);
        if (got >= 0) return static_cast<DWORD>(got);
    }
    const DWORD n = def == nullptr ? 0 : (def_size < size ? def_size : size);
    if (n != 0) std::memmove(buffer, def, n);
    return n;
}

// --- keys and values ----------------------------------------------------------------------------

int OPT_RegOptions::KeyExists(int scope) {
    if (!Usable()) return 0;
    ScopedRegKey key;
    const std::string path = zed::SettingsPath(scope, company_, product_, version_);
    return zed::os::RegistryOpen(zed::RootOf(scope), path.c_str(), RegAccess::kAll,
                                       key.Out()) == 0 ? 1 : 0;
}

int OPT_RegOptions::DeleteValue(const char* name, int scope) {
    if (!Usable()) return 0;
    ScopedRegKey key;
    const std::string path = zed::SettingsPath(scope, company_, product_, version_);
    if (zed::os::RegistryOpen(zed::RootOf(scope), path.c_str(), RegAccess::kSetValue,
                                    key.Out()) != 0) {
        return 0;
    }
    return zed::os::RegistryDeleteValue(key.Get(), name) == 0 ? 1 : 0;
}

int OPT_RegOptions::DeleteKey(const char* company, const char* product, const char* version,
                              int scope) {
    if (!Usable() || company == nullptr || product == nullptr || version == nullptr) return 0;
    const std::string path = zed::SettingsPath(scope, company, product, version);
    return zed::os::RegistryDeleteKey(zed::RootOf(scope), path.c_str()) == 0 ? 1 : 0;
}

int OPT_RegOptions::HasValue(const char* name, DWORD type, DWORD size, int scope) {
    if (!Usable()) return 0;
    ScopedRegKey key;
    const std::string path = zed::SettingsPath(scope, company_, product_, version_);
    if (zed::os::RegistryOpen(zed::RootOf(scope), path.c_str(), RegAccess::kAll, key.Out()) != 0) {
        return 0;
    }
    DWORD stored_type = 0, stored_size = 0;
    if (zed::os::RegistryQuery(key.Get(), name, &stored_type, nullptr, &stored_size) != 0) {
        return 0;
    }
    return stored_type == type && (size == static_cast<DWORD>(-1) || size == stored_size) ? 1 : 0;
}

int OPT_RegOptions::IsDword(const char* name, int scope) {
    return HasValue(name, zed::os::kRegDword, 4, scope);
}
int OPT_RegOptions::IsChar(const char* name, int scope) {
    return HasValue(name, zed::os::kRegSz, 2, scope);
}
int OPT_RegOptions::IsBool(const char* name, int scope) {
    return HasValue(name, zed::os::kRegBinary, 1, scope);
}
int OPT_RegOptions::IsDouble(const char* name, int scope) {
    return HasValue(name, zed::os::kRegBinary, 8, scope);
}
int OPT_RegOptions::IsLongDouble(const char* name, int scope) {
    return HasValue(name, zed::os::kRegBinary, 8, scope);
}
int OPT_RegOptions::IsString(const char* name, int scope) {
    return HasValue(name, zed::os::kRegSz, static_cast<DWORD>(-1), scope);
}
int OPT_RegOptions::IsBinary(const char* name, int scope) {
    return HasValue(name, zed::os::kRegBinary, static_cast<DWORD>(-1), scope);
}

// True when inner lies strictly below outer in the same root: copying outer into inner would
// copy its own copy again, without end.
static bool IsBelow(int inner_scope, const std::string& inner, int outer_scope, const std::string& outer) {
    if (zed::RootOf(inner_scope) != zed::RootOf(outer_scope) || inner.size() <= outer.size()) {
        return false;
    }
    for (std::size_t i = 0; i < outer.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(inner[i]);
        const unsigned char b = static_cast<unsigned char>(outer[i]);
        if ((a >= 'a' && a <= 'z' ? a - 0x20 : a) != (b >= 'a' && b <= 'z' ? b - 0x20 : b)) {
            return false;
        }
    }
    return inner[outer.size()] == '\\';
}

// --- tree copies --------------------------------------------------------------------------------

int OPT_RegOptions::CopyTree(const char* dst_company, const char* dst_product,
                             const char* dst_version, const char* src_company,
                             const char* src_product, const char* src_version, int dst_scope,
                             int src_scope) {
    if (!Usable()) return 0;
    // Both paths take the source scope's top-level spelling; each its own root.
    const std::string src = zed::TreePath(src_scope, src_company, src_product, src_version);
    const std::string dst = zed::TreePath(src_scope, dst_company, dst_product, dst_version);
    // A missing source copies nothing, wherever the destination lies.
    if (!SourceOpens(src_scope, src)) return 1;
    if (IsBelow(dst_scope, dst, src_scope, src)) return 0;
    zed::os::RegistryBatch batch;
    return CopyKey(dst_scope, dst, src_scope, src);
}

int OPT_RegOptions::CopyTo(const char* dst_company, const char* dst_product,
                           const char* dst_version, int dst_scope, int src_scope) {
    if (!Usable()) return 0;
    return CopyTree(dst_company, dst_product, dst_version, company_, product_, version_, dst_scope,
                    src_scope);
}

int OPT_RegOptions::CopyTo(const char* dst_product, const char* dst_version, int dst_scope,
                           int src_scope) {
    return CopyTo("KELVARO", dst_product, dst_version, dst_scope, src_scope);
}
