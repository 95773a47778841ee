// The registry on Windows: thin calls into advapi32.
#include <windows.h>

#include "os/registry.h"

namespace zed::os {
namespace {

HKEY RootKey(RegRoot root) {
    return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM Sam(RegAccess access) {
    switch (access) {
        case RegAccess::kRead: return KEY_READ;
        case RegAccess::kSetValue: return KEY_SET_VALUE;
        default: return KEY_ALL_ACCESS;
    }
}

HKEY Native(RegKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

DWORD RegistryOpen(RegRoot root, const char* path, RegAccess access, RegKey* out) {
    HKEY key = nullptr;
    const LONG rc = ::RegOpenKeyExA(RootKey(root), path ? path : "", 0, Sam(access), &key);
    *out = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : nullptr;
    return static_cast<DWORD>(rc);
}

DWORD RegistryCreate(RegRoot root, const char* path, RegKey* out) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    char empty_class[1] = {0};
    const LONG rc = ::RegCreateKeyExA(RootKey(root), path ? path : "", 0, empty_class,
                                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                      &disposition);
    *out = rc == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : nullptr;
    return static_cast<DWORD>(rc);
}

void RegistryClose(RegKey key) {
    if (key != nullptr) ::RegCloseKey(Native(key));
}

DWORD RegistryQuery(RegKey key, const char* name, DWORD* type, void* data, DWORD* size) {
    return static_cast<DWORD>(::RegQueryValueExA(Native(key), name, nullptr, type,
                                                 static_cast<BYTE*>(data), size));
}

DWORD RegistrySet(RegKey key, const char* name, DWORD type, const void* data, DWORD size) {
    return static_cast<DWORD>(::RegSetValueExA(Native(key), name, 0, type,
                                               static_cast<const BYTE*>(data), size));
}

DWORD RegistryDeleteValue(RegKey key, const char* name) {
    return static_cast<DWORD>(::RegDeleteValueA(Native(key), name));
}

DWORD RegistryDeleteKey(RegRoot root, const char* path) {
    return static_cast<DWORD>(::RegDeleteKeyA(RootKey(root), path ? path : ""));
}

DWORD RegistryEnumValue(RegKey key, DWORD index, char* name, DWORD* name_size, DWORD* type,
                        void* data, DWORD* data_size) {
    return static_cast<DWORD>(::RegEnumValueA(Native(key), index, name, name_size, nullptr, type,
                                              static_cast<BYTE*>(data), data_size));
}

DWORD RegistryEnumKey(RegKey key, DWORD index, char* name, DWORD* name_size) {
    return static_cast<DWORD>(::RegEnumKeyExA(Native(key), index, name, name_size, nullptr,
                                              nullptr, nullptr, nullptr));
}

RegistryBatch::RegistryBatch() = default;
RegistryBatch::~RegistryBatch() = default;

}  // namespace zed::os
