// Inputs and outputs of the piece commands.
#include "file_io.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "piece_set.h"

namespace zedpiece {

std::string ReadInput(const std::string& path) {
    if (path == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        return s.str();
    }
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
