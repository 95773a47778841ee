// The registry: keys under two roots holding typed values (Windows registry, or our own store).
#ifndef ZEDLL_OS_REGISTRY_H
#define ZEDLL_OS_REGISTRY_H

#include "os/windows_error.h"
#include "zedll/platform_types.h"

namespace zed::os {

enum class RegRoot { kCurrentUser, kLocalMachine };
enum class RegAccess { kRead, kSetValue, kAll };

/// Value types, the platform's numbers.
enum : DWORD {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

// Results are Windows error numbers on every platform (os/windows_error.h).

/// An open key; release it with RegistryClose. Null is never a valid open key.
struct RegistryKey;
using RegKey = RegistryKey*;

/// Opens the key at path (components separated by "\", compared without regard to case; "" is
/// the root itself). 2 when it does not exist.
DWORD RegistryOpen(RegRoot root, const char* path, RegAccess access, RegKey* out);
/// Opens the key, creating it and any missing parents (empty class, non-volatile, full access).
DWORD RegistryCreate(RegRoot root, const char* path, RegKey* out);
void RegistryClose(RegKey key);

/// As RegQueryValueExA: name null or "" is the unnamed value. With data null only *size is set;
/// a buffer that is too small gives 234 with *size set to the bytes needed. type may be null.
DWORD RegistryQuery(RegKey key, const char* name, DWORD* type, void* data, DWORD* size);
/// As RegSetValueExA: stores size bytes of data with the given type (data may be null for size 0).
DWORD RegistrySet(RegKey key, const char* name, DWORD type, const void* data, DWORD size);
DWORD RegistryDeleteValue(RegKey key, const char* name);
/// As RegDeleteKeyA: a key that still has subkeys is not deleted (5).
DWORD RegistryDeleteKey(RegRoot root, const char* path);

/// As RegEnumValueA: *name_size is the buffer's size in bytes on entry and the name's length
/// without terminator on success; 234 when the name or the data does not fit; 259 past the last.
/// data and data_size may be null.
DWORD RegistryEnumValue(RegKey key, DWORD index, char* name, DWORD* name_size, DWORD* type,
                        void* data, DWORD* data_size);
/// As RegEnumKeyExA for the subkey names.
DWORD RegistryEnumKey(RegKey key, DWORD index, char* name, DWORD* name_size);

/// Groups many writes of this thread into one commit where the store supports it (the POSIX
/// store writes its hive once, when the outermost batch ends; other processes see the writes
/// then). Nothing on Windows, where every write is the registry's own.
class RegistryBatch {
public:
    RegistryBatch();
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;
};

/// Owns an open key.
class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() { Reset(); }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    RegKey* Out() {
        Reset();
        return &key_;
    }
    RegKey Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void Reset() {
        if (key_ != nullptr) RegistryClose(key_);
        key_ = nullptr;
    }

private:
    RegKey key_ = nullptr;
};

}  // namespace zed::os

#endif
