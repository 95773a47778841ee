// Standard input spooled to a temporary file.
#include "standard_input.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace zedtool {

SpooledInput::SpooledInput() {
#if defined(_WIN32)
    _setmode(_fileno(stdin), _O_BINARY);   // bytes as they come, no CR LF translation
#endif
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) return;
    std::random_device seed;
    const std::string candidate =
        (dir / ("zed-stdin-" + std::to_string(seed()) + ".tmp")).string();
    std::ofstream out(candidate, std::ios::binary | std::ios::trunc);
    if (!out) return;
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) out.write(buffer, static_cast<std::streamsize>(n));
    out.close();
    if (std::ferror(stdin) || !out) {
        std::filesystem::remove(candidate, ec);
        return;
    }
    name_ = candidate;
}

SpooledInput::~SpooledInput() {
    std::error_code ec;
    if (!name_.empty()) std::filesystem::remove(name_, ec);
}

}  // namespace zedtool
