// rsvg-convert run without a shell, so that file names need no quoting.
#include "png_render.h"

#include <cstdio>

#include "piece_set.h"

#if !defined(_WIN32)
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace zedpiece {

void RenderPng(const std::string& svg, const std::string& png, int width) {
#if defined(_WIN32)
    (void)svg;
    (void)width;
    throw PieceError(png + ": PNG pictures need rsvg-convert, which this build does not run");
#else
    const std::string part = png + ".part";
    const std::string w = std::to_string(width);
    const char* argv[] = {"rsvg-convert", "--width", w.c_str(), "--format", "png",
                          "--output", part.c_str(), svg.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "rsvg-convert", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        throw PieceError(png + ": rsvg-convert is not installed (Debian package librsvg2-bin)");
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::remove(part.c_str());
        throw PieceError(png + ": rsvg-convert could not render " + svg);
    }
    if (std::rename(part.c_str(), png.c_str()) != 0) {
        std::remove(part.c_str());
        throw PieceError(png + ": cannot write the file");
    }
#endif
}

}  // namespace zedpiece
