// Shared helpers of the benchmarks: sample outlines and the per-point counter.
#ifndef ZEDLL_BENCH_UTIL_H
#define ZEDLL_BENCH_UTIL_H

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "zedll.h"

namespace zedbench {

/// A closed, wavy outline of `n` points (first point repeated at the end), as hosts pass them.
inline std::vector<tagAPOINT> WavyOutline(int n) {
    std::vector<tagAPOINT> v;
    v.reserve(static_cast<size_t>(n));
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> wobble(-0.5, 0.5);
    for (int i = 0; i + 1 < n; ++i) {
        const double a = 2 * 3.14159265358979 * i / (n - 1);
        const double r = 1000 + 40 * std::sin(37 * a) + wobble(rng);
        v.emplace_back(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)));
    }
    v.push_back(v.front());
    return v;
}

/// Reports the time per point ("ns/point" column, in seconds with an SI prefix) and the bytes of
/// points read per second, comparable with the memory read bandwidth of the same run.
inline void PerPoint(benchmark::State& state, int points, size_t bytes_per_point) {
    state.counters["per_point"] = benchmark::Counter(
        static_cast<double>(points), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * points * static_cast<int64_t>(bytes_per_point));
}

}  // namespace zedbench

#endif
