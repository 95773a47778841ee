// Version information and the command line on POSIX: the version resource read from the PE file
// by our own reader; the command line rebuilt from the process's arguments.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "os/command_line.h"
#include "os/pe_resources.h"
#include "os/posix/loaded_modules.h"
#include "os/posix/errno_map.h"
#include "os/resource_module.h"
#include "os/version_resource.h"

namespace zed::os {
namespace {

bool VersionResource(const pe::ResourceImage& image, std::vector<uint8_t>* bytes) {
    pe::ResourceData data;
    if (!image.Find(static_cast<uint16_t>(pe::ResourceType::Version), pe::ResourceName::Id(1), &data)) {
        return false;
    }
    bytes->assign(data.bytes, data.bytes + data.size);
    return true;
}

bool FileVersionResource(const char* file, std::vector<uint8_t>* bytes) {
    pe::ResourceImage image;
    return file != nullptr && image.LoadFile(file) && VersionResource(image, bytes);
}

}  // namespace

DWORD FileVersionInfoSize(const char* file) {
    std::vector<uint8_t> bytes;
    return FileVersionResource(file, &bytes) ? static_cast<DWORD>(bytes.size()) : 0;
}

bool ReadFileVersionInfo(const char* file, DWORD size, void* block) {
    std::vector<uint8_t> bytes;
    if (!FileVersionResource(file, &bytes)) return false;
    std::memcpy(block, bytes.data(), std::min<std::size_t>(bytes.size(), size));
    return true;
}

bool QueryFileVersionTranslation(const void* block, DWORD size, WORD* language, WORD* code_page) {
    std::vector<uint8_t> translation;
    uint32_t length = 0;
    if (!pe::QueryVersionValue(static_cast<const uint8_t*>(block), size, "\\VarFileInfo\\Translation",
                               nullptr, &translation, &length) ||
        translation.size() < 4) {
        return false;
    }
    *language = static_cast<WORD>(translation[0] | (translation[1] << 8));
    *code_page = static_cast<WORD>(translation[2] | (translation[3] << 8));
    return true;
}

bool QueryFileVersionText(const void* block, DWORD size, const char* sub_block, std::string* text,
                          UINT* length) {
    uint32_t chars = 0;
    if (!pe::QueryVersionValue(static_cast<const uint8_t*>(block), size, sub_block, text, nullptr, &chars)) {
        return false;
    }
    *length = chars;
    return true;
}

bool ModuleVersionResource(const char* module, std::vector<uint8_t>* bytes) {
    const pe::ResourceImage* image = LoadedImage(FindLoadedModule(module));
    return image != nullptr && VersionResource(*image, bytes);
}

std::string ProcessCommandLine() {
    // The kernel keeps the arguments apart; join them back the way a Windows program sees them.
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    std::string argument;
    char c;
    while (in.get(c)) {
        if (c == 0) {
            arguments.push_back(argument);
            argument.clear();
        } else {
            argument += c;
        }
    }
    if (!argument.empty()) arguments.push_back(argument);
    return JoinCommandLine(arguments);
}

}  // namespace zed::os
