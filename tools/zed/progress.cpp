// Progress bar on standard error, fed by a probe of how far the work has come.
#include "progress.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "zedll.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zedtool {
namespace {

bool StderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void Draw(const std::string& label, int64_t total, int64_t done, int tick) {
    constexpr int kWidth = 30;
    char bar[kWidth + 1];
    if (done >= 0 && total > 0) {
        const int64_t capped = done < total ? done : total;
        const int filled = static_cast<int>(capped * kWidth / total);
        for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
        bar[kWidth] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%% %s", bar, static_cast<int>(capped * 100 / total), label.c_str());
    } else {
        const int at = tick % (2 * kWidth - 2);
        const int pos = at < kWidth ? at : 2 * kWidth - 2 - at;
        for (int i = 0; i < kWidth; ++i) bar[i] = i == pos ? '#' : '.';
        bar[kWidth] = '\0';
        std::fprintf(stderr, "\r[%s]  ... %s", bar, label.c_str());
    }
    std::fflush(stderr);
}

}  // namespace

void RunWithProgress(const std::string& label, int64_t total, const std::function<void()>& work,
                     const std::function<int64_t()>& done) {
    if (!StderrIsTerminal()) {
        work();
        return;
    }
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work();
        finished = true;
    });
    // Short runs stay silent: the bar appears only after a second.
    for (int i = 0; i < 100 && !finished; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (finished) {
        worker.join();
        return;
    }
    int tick = 0;
    while (!finished) {
        Draw(label, total, done(), tick++);
        for (int i = 0; i < 10 && !finished; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    worker.join();
    // Clear the bar so that the result line stands alone.
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(label.size()) + 40, "");
    std::fflush(stderr);
}

int64_t ProcessBytesRead() {
#if defined(_WIN32)
    IO_COUNTERS io;
    if (!GetProcessIoCounters(GetCurrentProcess(), &io)) return -1;
    return static_cast<int64_t>(io.ReadTransferCount);
#else
    std::ifstream in("/proc/self/io");
    std::string key;
    int64_t value;
    while (in >> key >> value)
        if (key == "rchar:") return value;
    return -1;
#endif
}

int64_t FileSize(const std::string& name) {
    std::ifstream in(name, std::ios::binary | std::ios::ate);
    if (!in) return -1;
    return static_cast<int64_t>(in.tellg());
}

}  // namespace zedtool
