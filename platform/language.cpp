// The language service: module selection, the text loader with its rotating buffers, the
// language list and the exported language switch.
#include "platform/language.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os/heap.h"
#include "os/resource_module.h"
#include "zedll/language.h"

namespace zed {
namespace {

HMODULE g_library_instance = nullptr;
HMODULE g_resource_module = nullptr;

// The text loader's buffers: the last three results stay valid together.
char g_text_buffers[3][256];
int g_text_index = 0;

constexpr int kTextLimit = 255;  // LoadStringA limit: 254 characters and the terminator

struct BaseText {
    UINT id;
    const char* text;
};
constexpr BaseText kBaseTexts[] = {
#define ZEDLL_TEXT_ROW(id, name, text) {id, text},
    ZEDLL_BASE_STRINGS(ZEDLL_TEXT_ROW)
#undef ZEDLL_TEXT_ROW
};

}  // namespace

const char* BaseString(UINT id) {
    for (const BaseText& t : kBaseTexts) {
        if (t.id == id) return t.text;
    }
    return nullptr;
}

SYS_LangModule& LangService() {
    // Where the library image has no string resources, its base table stands in for them.
    static const bool own_strings = (os::SetOwnModuleStrings(&BaseString), true);
    (void)own_strings;
    static SYS_LangModule service;
    return service;
}

HMODULE LangGetLibraryInstance() { return g_library_instance; }
void LangSetLibraryInstance(HMODULE module) {
    g_library_instance = module;
    g_resource_module = module;
}
HMODULE LangGetModule() { return g_resource_module; }

SYS_LangModule::~SYS_LangModule() {
    if (base_ != 0) SetLanguage(base_, 0);
    HeapRelease(prefix_);
    prefix_ = nullptr;
}

void SYS_LangModule::Init(const char* prefix, WORD language, WORD base) {
    HeapRelease(prefix_);
    prefix_ = HeapCopyText(prefix);
    base_ = base;
    current_ = 0;
    initialised_ = SetLanguage(language, 1) == 1 ? 1 : 0;
}

int SYS_LangModule::SetLanguage(WORD language, int keep_previous) {
    if (language == current_) return -1;
    if (language == base_) {
        if (g_resource_module != nullptr && g_resource_module != g_library_instance) {
            os::FreeResourceModule(g_resource_module);
        }
        g_resource_module = g_library_instance;
    } else {
        char name[260];
        HMODULE loaded = nullptr;
        if (!MakeModuleName(name, language, "DLL") ||
            os::LoadResourceModule(name, &loaded) != 0 || loaded == nullptr) {
            return -3;
        }
        if (!keep_previous && g_resource_module != nullptr && g_resource_module != g_library_instance) {
            os::FreeResourceModule(g_resource_module);
        }
        g_resource_module = loaded;
    }
    current_ = language;
    return 1;
}

int SYS_LangModule::MakeModuleName(char* dst, WORD language, const char* extension) const {
    if (dst == nullptr) return 0;
    dst[0] = 0;
    char abbreviation[30] = {};
    if (!os::GetLanguageInfo(language, kLocaleAbbreviation, abbreviation, sizeof abbreviation) ||
        abbreviation[0] == 0) {
        return 0;
    }
    int n = std::snprintf(dst, 260, "%s%s%04x", prefix_ != nullptr ? prefix_ : "", abbreviation,
                          static_cast<unsigned>(language));
    if (n < 0 || n >= 260) {
        dst[0] = 0;
        return 0;
    }
    if (extension != nullptr) std::snprintf(dst + n, 260 - n, ".%s", extension);
    return 1;
}

const char* LangGetString(UINT id) {
    g_text_index = (g_text_index + 1) % 3;
    char* buffer = g_text_buffers[g_text_index];
    std::memset(buffer, 0, sizeof g_text_buffers[0]);
    int copied = 0;
    if (g_resource_module != nullptr) {
        copied = os::LoadModuleString(g_resource_module, id, buffer, kTextLimit);
    }
    if (copied <= 0 && g_library_instance != nullptr) {
        copied = os::LoadModuleString(g_library_instance, id, buffer, kTextLimit);
    }
    return copied > 0 ? buffer : nullptr;
}

std::vector<LanguageEntry> ListLanguages(const SYS_LangModule& service) {
    std::string directory = os::HostProgramPath();
    const std::size_t cut = directory.find_last_of("\\/");
    directory = cut == std::string::npos ? std::string(".") : directory.substr(0, cut);
    return ListLanguagesIn(service, directory);
}

std::vector<LanguageEntry> ListLanguagesIn(const SYS_LangModule& service, const std::string& directory) {
    std::vector<LanguageEntry> list;
    auto add = [&](WORD language) {
        char name[30] = {};
        os::GetLanguageInfo(language, kLocaleDisplayName, name, sizeof name);
        list.push_back(LanguageEntry{language, name, language == service.GetCurrentLanguage()});
    };
    add(service.GetBaseLanguage());
    const char* prefix = service.GetPrefix() != nullptr ? service.GetPrefix() : "";
    for (const std::string& file : os::FindFilesLike(directory, prefix)) {
        const std::size_t dot = file.find('.');
        if (dot == std::string::npos) continue;
        const std::string digits = file.substr(dot >= 4 ? dot - 4 : 0, dot >= 4 ? 4 : dot);
        unsigned value = 0;
        if (std::sscanf(digits.c_str(), "%x", &value) != 1) continue;
        add(static_cast<WORD>(value));
    }
    return list;
}

}  // namespace zed

void ZEDLL_STDCALL ZEDLLSetLanguage(WORD language) {
    zed::SYS_LangModule& service = zed::LangService();
    if (service.IsInitialised()) {
        service.SetLanguage(language, 0);
    } else {
        service.Init("ZED", language, 1033);
    }
}

int ZEDLL_STDCALL ZEDLLGetLanguages(WORD* languages, int capacity) {
    const std::vector<zed::LanguageEntry> list = zed::ListLanguages(zed::LangService());
    for (int i = 0; languages != nullptr && i < capacity && i < static_cast<int>(list.size()); ++i) {
        languages[i] = list[i].language;
    }
    return static_cast<int>(list.size());
}

int ZEDLL_STDCALL ZEDLLGetLanguageName(WORD language, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = 0;
    char name[128] = {};  // room for the longest names, which the selection list's 30 bytes cut off
    if (!zed::os::GetLanguageInfo(language, zed::kLocaleDisplayName, name, sizeof name)) return 0;
    std::snprintf(buffer, size, "%s", name);
    return 1;
}
