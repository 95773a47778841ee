// Reading inputs and writing outputs: "-" for standard input and output, and writes that never
// leave a half-written file (a temporary file beside the target, renamed when complete).
#ifndef ZED_PIECE_FILE_IO_H
#define ZED_PIECE_FILE_IO_H

#include <functional>
#include <ostream>
#include <string>

namespace zedpiece {

/// The whole file (standard input for "-"); throws PieceError naming the file.
std::string ReadInput(const std::string& path);
/// Runs `write` on a stream to `path` (standard output for "-"). For a file, writes a temporary
/// file beside it and renames it over the target only when `write` returned and the stream is
/// good; on any failure the temporary file is removed and the target left as it was.
void WriteOutput(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace zedpiece

#endif
