// Inputs and outputs of the piece commands.
#include "file_io.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "piece_set.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace zedpiece {

std::string ReadInput(const std::string& path) {
    if (path == "-") {
#if defined(_WIN32)
        _setmode(_fileno(stdin), _O_BINARY);   // the bytes as they are, CR LF included
#endif
        std::ostringstream s;
        s << std::cin.rdbuf();
        return s.str();
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw PieceError(path + ": is a folder, not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PieceError(path + ": cannot open for reading");
    std::string bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<size_t>(size));
        in.seekg(0);
        in.read(bytes.data(), size);
    }
    if (in.bad() || (size > 0 && in.gcount() != size)) throw PieceError(path + ": read error");
    return bytes;
}

void WriteOutput(const std::string& path, const std::function<void(std::ostream&)>& write) {
    if (path == "-") {
#if defined(_WIN32)
        std::cout.flush();
        _setmode(_fileno(stdout), _O_BINARY);   // line ends as written
#endif
        write(std::cout);
        std::cout.flush();
        if (!std::cout) throw PieceError("standard output: write error");
        return;
    }
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path temp = target;
    temp += ".zed-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw PieceError(path + ": cannot open for writing");
        try {
            write(out);
        } catch (...) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            throw;
        }
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            throw PieceError(path + ": write error");
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw PieceError(path + ": cannot replace: " + ec.message());
    }
}

}  // namespace zedpiece
