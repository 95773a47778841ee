// Version information and the command line on Windows: the version services of the platform.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "os/version_resource.h"

namespace zed::os {

DWORD FileVersionInfoSize(const char* file) {
    DWORD ignored = 0;
    return ::GetFileVersionInfoSizeA(file, &ignored);
}

bool ReadFileVersionInfo(const char* file, DWORD size, void* block) {
    return ::GetFileVersionInfoA(file, 0, size, block) != FALSE;
}

bool QueryFileVersionTranslation(const void* block, DWORD size, WORD* language, WORD* code_page) {
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block, "\\VarFileInfo\\Translation", &value, &length) || value == nullptr ||
        length < 4) {
        return false;
    }
    const auto* words = static_cast<const WORD*>(value);
    *language = words[0];
    *code_page = words[1];
    return true;
}

bool QueryFileVersionText(const void* block, DWORD size, const char* sub_block, std::string* text,
                          UINT* length) {
    void* value = nullptr;
    *length = 0;
    if (!::VerQueryValueA(block, sub_block, &value, length)) return false;
    text->clear();
    if (value != nullptr && *length > 0) {
        const char* chars = static_cast<const char*>(value);
        text->assign(chars, strnlen(chars, *length));
    }
    return true;
}

bool ModuleVersionResource(const char* module, std::vector<uint8_t>* bytes) {
    HMODULE handle = ::GetModuleHandleA(module);
    if (handle == nullptr) return false;
    HRSRC found = ::FindResourceA(handle, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    if (found == nullptr) return false;
    const DWORD size = ::SizeofResource(handle, found);
    HGLOBAL loaded = ::LoadResource(handle, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return false;
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes->assign(begin, begin + size);
    return true;
}

std::string ProcessCommandLine() {
    const char* line = ::GetCommandLineA();
    return line != nullptr ? std::string(line) : std::string();
}

}  // namespace zed::os
