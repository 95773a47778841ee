// Resource modules on POSIX: language modules are PE files read by our own resource reader; the
// library's own strings are the compiled-in base table.
#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "os/windows_error.h"
#include "os/language_table.h"
#include "os/pe_resources.h"
#include "os/posix/loaded_modules.h"
#include "os/resource_module.h"

namespace zed::os {
namespace {


struct LoadedModule {
    std::string path;
    std::string file_name;
    pe::ResourceImage image;
    int references = 0;
};

// The modules loaded in the process. Not a static object, so that the language service, destroyed
// among the last static objects, can still release its module; made on first use and gone with
// the last module, so that a library unloaded from a process leaves nothing behind.
std::vector<LoadedModule*>* g_modules = nullptr;

std::vector<LoadedModule*>& Modules() {
    if (g_modules == nullptr) g_modules = new std::vector<LoadedModule*>();
    return *g_modules;
}

char g_own_module_marker;
OwnStringLookup g_own_strings = nullptr;

LoadedModule* AsLoaded(HMODULE module) {
    if (g_modules == nullptr) return nullptr;   // asking makes no table
    auto* candidate = reinterpret_cast<LoadedModule*>(module);
    const auto& modules = *g_modules;
    return std::find(modules.begin(), modules.end(), candidate) != modules.end() ? candidate : nullptr;
}

std::string BaseName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

// The file in `directory` whose name equals `name` ignoring case, as Windows file names compare.
bool FindCaseless(const std::string& directory, const std::string& name, std::string* path) {
    const std::string exact = directory + "/" + name;
    if (access(exact.c_str(), R_OK) == 0) {
        *path = exact;
        return true;
    }
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            *path = directory + "/" + entry->d_name;
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

HMODULE OwnModule() { return reinterpret_cast<HMODULE>(&g_own_module_marker); }

void SetOwnModuleStrings(OwnStringLookup lookup) { g_own_strings = lookup; }

std::string HostProgramPath() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return std::string();
    path[n] = 0;
    return path;
}

DWORD LoadResourceModule(const char* file_name, HMODULE* module) {
    *module = nullptr;
    if (file_name == nullptr || file_name[0] == 0) return win_error::kModNotFound;
    std::string path;
    const std::string name = file_name;
    if (name.find('/') != std::string::npos) {
        if (access(name.c_str(), R_OK) != 0) return win_error::kModNotFound;
        path = name;
    } else if (!FindCaseless(DirectoryOf(HostProgramPath()), name, &path)) {
        return win_error::kModNotFound;
    }
    if (g_modules != nullptr) {
        for (LoadedModule* loaded : *g_modules) {
            if (loaded->path == path) {
                ++loaded->references;
                *module = reinterpret_cast<HMODULE>(loaded);
                return 0;
            }
        }
    }
    auto loaded = std::make_unique<LoadedModule>();
    if (!loaded->image.LoadFile(path)) return win_error::kBadExeFormat;
    loaded->path = path;
    loaded->file_name = BaseName(path);
    loaded->references = 1;
    Modules().push_back(loaded.get());
    *module = reinterpret_cast<HMODULE>(loaded.release());
    return 0;
}

void FreeResourceModule(HMODULE module) {
    LoadedModule* loaded = AsLoaded(module);
    if (loaded == nullptr || --loaded->references > 0) return;
    auto& modules = Modules();
    modules.erase(std::find(modules.begin(), modules.end(), loaded));
    delete loaded;
    if (modules.empty()) {
        delete g_modules;
        g_modules = nullptr;
    }
}

HMODULE FindLoadedModule(const char* file_name) {
    if (file_name == nullptr || g_modules == nullptr) return nullptr;
    std::string wanted = BaseName(file_name);
    // Like the platform's loader: a name without an extension means a ".DLL".
    if (wanted.find('.') == std::string::npos) wanted += ".DLL";
    for (LoadedModule* loaded : *g_modules) {
        if (strcasecmp(loaded->file_name.c_str(), wanted.c_str()) == 0) {
            return reinterpret_cast<HMODULE>(loaded);
        }
    }
    return nullptr;
}

const pe::ResourceImage* LoadedImage(HMODULE module) {
    LoadedModule* loaded = AsLoaded(module);
    return loaded != nullptr ? &loaded->image : nullptr;
}

int LoadModuleString(HMODULE module, UINT id, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return 0;
    buffer[0] = 0;
    if (module == OwnModule()) {
        const char* text = g_own_strings != nullptr ? g_own_strings(id) : nullptr;
        if (text == nullptr) return 0;
        const int length = static_cast<int>(std::min<std::size_t>(std::strlen(text), capacity - 1));
        std::memcpy(buffer, text, length);
        buffer[length] = 0;
        return length;
    }
    const LoadedModule* loaded = AsLoaded(module);
    return loaded != nullptr ? loaded->image.ReadString(id, buffer, capacity) : 0;
}

bool GetLanguageInfo(WORD language, DWORD item, char* buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0) return false;
    buffer[0] = 0;
    const LanguageInfo* info = FindLanguageInfo(language);
    if (info == nullptr) return false;
    const char* text = item == kLocaleAbbreviation  ? info->abbreviation
                       : item == kLocaleDisplayName ? info->name
                                                    : nullptr;
    // Like GetLocaleInfoA: a value that does not fit with its terminator is not given at all.
    if (text == nullptr || std::strlen(text) + 1 > static_cast<std::size_t>(capacity)) return false;
    std::memcpy(buffer, text, std::strlen(text) + 1);
    return true;
}

std::vector<std::string> FindFilesLike(const std::string& directory, const std::string& prefix) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 7 + 4) continue;
        if (strncasecmp(name.c_str(), prefix.c_str(), prefix.size()) != 0) continue;
        if (strcasecmp(name.c_str() + name.size() - 4, ".DLL") != 0) continue;
        names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace zed::os
