// GetVersionFile, GetVersionModule, ConvertCommandLineToArgcArgv and IsFileExist.
#include "platform/version_info.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "os/file.h"
#include "os/heap.h"
#include "os/pe_resources.h"
#include "os/version_resource.h"
#include "zedll/version_info.h"

namespace zed {
namespace {

// The argument table and every command-line copy it has pointed into: kept for the life of the
// process, as callers may hold on to the texts.
char* g_arguments[kArgumentTableSize];
std::vector<char*>& CommandLineCopies() {
    static auto* copies = new std::vector<char*>();
    return *copies;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A bounded copy: at most `limit` - 1 characters of `text` and a terminator.
void CopyBounded(char* buffer, const std::string& text, std::size_t limit) {
    const std::size_t length = std::min(text.size(), limit - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

}  // namespace

void FormatVersionValuePath(char* buffer, std::size_t capacity, WORD language, WORD code_page,
                            const char* value) {
    std::snprintf(buffer, capacity, "\\StringFileInfo\\%04x%04x\\%s", static_cast<unsigned>(language),
                  static_cast<unsigned>(code_page), value != nullptr ? value : "");
}

bool SplitCommandLine(char* line, char** table, int* argc) {
    *argc = 0;
    for (int i = 0; i < kArgumentTableSize; ++i) table[i] = nullptr;
    char* p = line;
    if (*p == '"') {
        char* name = p + 1;
        char* close = std::strchr(name, '"');
        if (close == nullptr) return false;
        *close = 0;
        table[0] = name;
        p = close + 1;
    } else {
        table[0] = p;
        while (*p != 0 && !IsBlank(*p)) ++p;
        if (*p != 0) *p++ = 0;
    }
    int count = 1;
    while (count < kArgumentTableSize - 1) {
        while (IsBlank(*p)) ++p;
        if (*p == 0) break;
        char* start;
        char* end;
        if (*p == '"') {
            start = p + 1;
            end = start;
            while (*end != 0 && *end != '"') ++end;
        } else {
            start = p;
            end = p;
            while (*end != 0 && !IsBlank(*end)) ++end;
        }
        table[count++] = start;
        table[count] = nullptr;
        if (*end != 0) {
            *end = 0;
            p = end + 1;
        } else {
            p = end;
        }
    }
    *argc = count;
    return true;
}

}  // namespace zed

int ZEDLL_STDCALL GetVersionFile(char* file, char* value, char* buffer, DWORD size) {
    if (buffer != nullptr && size > 0) buffer[0] = 0;
    if (file == nullptr || value == nullptr || buffer == nullptr || size == 0) return 0;
    const DWORD info_size = zed::os::FileVersionInfoSize(file);
    // The ten extra bytes keep a block that the platform fills to the brim terminated.
    if (info_size == 0 || info_size > 0x7FFFFFF0u) return 0;
    const DWORD block_size = info_size + 10;
    void* block = zed::HeapAllocZeroed(block_size);
    if (block == nullptr) return 0;
    int result = 0;
    WORD language = 0, code_page = 0;
    if (zed::os::ReadFileVersionInfo(file, block_size, block) &&
        zed::os::QueryFileVersionTranslation(block, block_size, &language, &code_page)) {
        char path[300];
        zed::FormatVersionValuePath(path, sizeof path, language, code_page, value);
        std::string text;
        UINT length = 0;
        if (zed::os::QueryFileVersionText(block, block_size, path, &text, &length) && length > 0) {
            zed::CopyBounded(buffer, text, length < size ? length : size);
            result = 1;
        }
    }
    zed::HeapRelease(block);
    return result;
}

int ZEDLL_STDCALL GetVersionModule(char* module, char* value, char* buffer, DWORD size) {
    if (buffer != nullptr && size > 0) buffer[0] = 0;
    if (module == nullptr || value == nullptr || buffer == nullptr || size == 0) return 0;
    std::vector<uint8_t> resource;
    if (!zed::os::ModuleVersionResource(module, &resource) || resource.size() <= 10) return 0;
    auto* block = static_cast<uint8_t*>(zed::HeapAllocZeroed(resource.size()));
    if (block == nullptr) return 0;
    std::memcpy(block, resource.data(), resource.size());
    int result = 0;
    std::vector<uint8_t> translation;
    uint32_t length = 0;
    if (zed::pe::QueryVersionValue(block, resource.size(), "\\VarFileInfo\\Translation", nullptr,
                                   &translation, &length) &&
        translation.size() >= 4) {
        char path[300];
        zed::FormatVersionValuePath(path, sizeof path, static_cast<WORD>(translation[0] | (translation[1] << 8)),
                                    static_cast<WORD>(translation[2] | (translation[3] << 8)), value);
        std::string text;
        if (zed::pe::QueryVersionValue(block, resource.size(), path, &text, nullptr, &length) &&
            length > 0 && length < size) {
            zed::CopyBounded(buffer, text, length);
            result = 1;
        }
    }
    zed::HeapRelease(block);
    return result;
}

char** ZEDLL_STDCALL ConvertCommandLineToArgcArgv(int* argc) {
    int count = 0;
    if (argc != nullptr) *argc = 0;
    for (char*& entry : zed::g_arguments) entry = nullptr;
    const std::string line = zed::os::ProcessCommandLine();
    auto* copy = static_cast<char*>(zed::HeapAllocZeroed(line.size() + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, line.c_str(), line.size() + 1);
    zed::CommandLineCopies().push_back(copy);
    if (!zed::SplitCommandLine(copy, zed::g_arguments, &count)) return nullptr;
    if (argc != nullptr) *argc = count;
    return zed::g_arguments;
}

int ZEDLL_STDCALL IsFileExist(char* path) {
    if (path == nullptr) return 0;
    zed::FileStatus status;
    switch (zed::os::FileStatusByName(path, &status)) {
    case 0: return 1;
    case 2:  // file not found
    case 3:  // path not found
    case 4:  // too many open files
    case 5:  // access denied
        return 0;
    default: return 1;
    }
}
