// Resource modules on Windows: the platform's own loader, string tables and locale tables.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "os/resource_module.h"
#include "os/win32/last_error.h"

namespace zed::os {

HMODULE OwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

// The library's own texts are string resources of its image here.
void SetOwnModuleStrings(OwnStringLookup) {}

DWORD LoadResourceModule(const char* file_name, HMODULE* module) {
    *module = nullptr;
    if (file_name == nullptr || file_name[0] == 0) return ERROR_MOD_NOT_FOUND;
    *module = ::LoadLibraryA(file_name);
    return *module != nullptr ? 0 : FailedCallError();
}

void FreeResourceModule(HMODULE module) {
    if (module != nullptr) ::FreeLibrary(module);
}

HMODULE FindLoadedModule(const char* file_name) {
    return file_name != nullptr ? ::GetModuleHandleA(file_name) : nullptr;
}

int LoadModuleString(HMODULE module, UINT id, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return 0;
    buffer[0] = 0;
    return ::LoadStringA(module, id, buffer, capacity);
}

bool GetLanguageInfo(WORD language, DWORD item, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return false;
    buffer[0] = 0;
    if (::GetLocaleInfoA(MAKELCID(language, SORT_DEFAULT), item, buffer, capacity) == 0) {
        buffer[0] = 0;
        return false;
    }
    return true;
}

std::string HostProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

std::vector<std::string> FindFilesLike(const std::string& directory, const std::string& prefix) {
    std::vector<std::string> names;
    const std::string pattern = directory + "\\" + prefix + "???????.DLL";
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    // The platform's "?" may also match no character before the dot (ZEDLL.DLL), and its matching
    // sees short names too; only names of the pattern's own length are language modules.
    do {
        if (std::strlen(found.cFileName) == prefix.size() + 7 + 4) names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

}  // namespace zed::os
