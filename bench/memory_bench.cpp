// Memory read bandwidth of this machine, measured in the same run as the kernels it bounds.
#include <cstdint>
#include <numeric>
#include <vector>

#include "bench_util.h"

namespace {

// Sums 256 MiB of 64-bit words: far beyond the caches, so this is the main-memory read rate.
void BM_MemoryRead(benchmark::State& state) {
    std::vector<uint64_t> buffer(size_t{256} << 20 >> 3, 1);
    for (auto _ : state) {
        uint64_t a = 0, b = 0, c = 0, d = 0;
        for (size_t i = 0; i < buffer.size(); i += 4) {
            a += buffer[i];
            b += buffer[i + 1];
            c += buffer[i + 2];
            d += buffer[i + 3];
        }
        benchmark::DoNotOptimize(a + b + c + d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(buffer.size() * 8));
}
BENCHMARK(BM_MemoryRead)->Unit(benchmark::kMillisecond);

}  // namespace
