// The curve operations on outlines of 10^3, 10^4 and 10^6 points: the time per input point and
// its growth with the outline's size (the fitted complexity should be O(N), the time per point
// flat). Read them against BM_MemoryRead of the same run. With ZEDLL_BENCH_OUTLINE_DIR set, the
// spline benchmark also writes its outlines there for the peer script (run_curves_peer.sh).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

// A wavy closed outline of n points about 2 units apart, a corner every 500 points.
std::vector<tagAPOINT> Outline(int n) {
    std::vector<tagAPOINT> v;
    v.reserve(static_cast<size_t>(n));
    const double radius = n / 3.14159265358979;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * 3.14159265358979 * i / n;
        const double r = radius + 3 * std::sin(0.01 * i);
        tagAPOINT p(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)));
        if (i % 500 == 0) p.a.flags |= ATR::kCorner;
        v.push_back(p);
    }
    return v;
}

// outline_<n>.bin: int32 n, then float32 x[n], float32 y[n], uint8 corner[n], little-endian.
void WriteOutline(const std::vector<tagAPOINT>& v) {
    const char* dir = std::getenv("ZEDLL_BENCH_OUTLINE_DIR");
    if (dir == nullptr || *dir == '\0') return;
    const std::string path = std::string(dir) + "/outline_" + std::to_string(v.size()) + ".bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    const int32_t n = static_cast<int32_t>(v.size());
    std::vector<float> x, y;
    std::vector<uint8_t> corner;
    for (const tagAPOINT& p : v) {
        x.push_back(p.x);
        y.push_back(p.y);
        corner.push_back(static_cast<uint8_t>(p.a.IsCorner()));
    }
    std::fwrite(&n, sizeof n, 1, f);
    std::fwrite(x.data(), sizeof(float), x.size(), f);
    std::fwrite(y.data(), sizeof(float), y.size(), f);
    std::fwrite(corner.data(), 1, corner.size(), f);
    std::fclose(f);
}

void Finish(benchmark::State& state, int n) {
    zedbench::PerPoint(state, n, sizeof(tagAPOINT));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
    state.SetComplexityN(n);
}

void BM_BetaSpline(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = Outline(n);
    CLS_Spline spline;
    int count = 0;
    for (auto _ : state) benchmark::DoNotOptimize(spline.BetaSpline(v.data(), n, &count, true));
    Finish(state, n);
}
BENCHMARK(BM_BetaSpline)->Arg(1000)->Arg(10000)->Arg(1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

void BM_NoUniformSpline(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = Outline(n);
    WriteOutline(v);
    CLS_Spline spline;
    int count = 0;
    for (auto _ : state) benchmark::DoNotOptimize(spline.NoUniformSpline(v.data(), n, &count, 0));
    Finish(state, n);
}
BENCHMARK(BM_NoUniformSpline)->Arg(1000)->Arg(10000)->Arg(1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

// One long run: the solver's largest run, 32767 points, and no corners at all.
void BM_NoUniformSplineLongRuns(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = Outline(n);
    for (auto& p : v) p.a.flags = 0;
    CLS_Spline spline;
    int count = 0;
    for (auto _ : state) benchmark::DoNotOptimize(spline.NoUniformSpline(v.data(), n, &count, 0));
    Finish(state, n);
}
BENCHMARK(BM_NoUniformSplineLongRuns)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_InsetPt(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = Outline(n);
    int placed = 0;
    for (auto _ : state) {
        tagAPOINT* out = nullptr;
        placed = InsetPt(v.data(), n, &out, 1.5f);   // about 4 points per 3 input points
        benchmark::DoNotOptimize(out);
        InsetPtFree(&out);
    }
    state.counters["placed"] = placed;
    Finish(state, n);
}
BENCHMARK(BM_InsetPt)->Arg(1000)->Arg(10000)->Arg(1000000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);

}  // namespace
