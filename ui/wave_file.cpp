// Sound files named without a folder are the host program's own.
#include "ui/wave_file.h"

#include <cstring>

namespace zed::ui {

std::string ResolveWaveFile(const char* name, const char* program_path) {
    if (std::strchr(name, '\\') != nullptr || program_path == nullptr) return name;
    const char* last = std::strrchr(program_path, '\\');
    if (last == nullptr) return name;
    return std::string(program_path, static_cast<std::size_t>(last - program_path + 1)) + name;
}

}  // namespace zed::ui
