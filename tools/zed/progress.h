// A progress bar on the terminal for long checksum runs.
#ifndef ZED_TOOL_PROGRESS_H
#define ZED_TOOL_PROGRESS_H

#include <cstdint>
#include <functional>
#include <string>

namespace zedtool {

/// Runs `work` on a worker thread; when it runs for more than a second, redraws a bar on standard
/// error every 100 ms from `done` (bytes so far, or a negative number when unknown: the bar then
/// only moves to show life). Without a terminal, just runs `work`.
void RunWithProgress(const std::string& label, int64_t total, const std::function<void()>& work,
                     const std::function<int64_t()>& done);

/// Bytes this process has read through read calls so far (-1 where the platform cannot tell).
int64_t ProcessBytesRead();

/// Size of a file in bytes, -1 when it cannot be read.
int64_t FileSize(const std::string& name);

}  // namespace zedtool

#endif
