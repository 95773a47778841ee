// Pieces: Prepare and MakeArray over outlines of 10^3 to 10^7 points, deep copy and comparison of
// a piece of 1,000 lines of 1,000 points; each timed against plain copies (or a comparison) of the
// same bytes measured in the same iterations ("vs_memcpy" into a buffer already in use: how many
// times slower). BM_FreshCopy is the other peer: the same copy into a newly allocated zero-filled
// buffer, as every line and flattened array gets (kept apart: its large blocks would change the
// allocator's state under the kernels).
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench_util.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// A plotter outline: closed wavy runs of `run` points each, every run starting with a pen lift
// far from the previous one, so that Prepare cuts, closes and orients n / run lines.
std::vector<tagAPOINT> PlotterOutline(int n, int run) {
    std::vector<tagAPOINT> v;
    v.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int k = i % run, line = i / run;
        const int len = std::min(run, n - line * run);
        const double a = len > 1 ? 2 * 3.14159265358979 * k / (len - 1) : 0;
        const double r = 100 + 5 * std::sin(17 * a);
        tagAPOINT p(static_cast<float>(line % 100 * 300 + r * std::cos(a)),
                    static_cast<float>(line / 100 * 300 + r * std::sin(a)));
        p.a.SetCode(static_cast<unsigned>(line % 1000), k == 0 ? 0 : 1);
        v.push_back(p);
    }
    return v;
}

// A plain copy of the points into a newly allocated zero-filled buffer, as a line or array gets.
void FreshCopy(const std::vector<tagAPOINT>& v) {
    void* block = std::calloc(v.size() + 1, sizeof(tagAPOINT));
    std::memcpy(block, v.data(), v.size() * sizeof(tagAPOINT));
    benchmark::DoNotOptimize(block);
    benchmark::ClobberMemory();
    std::free(block);
}

// Runs `work` as the timed part of each iteration and `peer` (the plain copy) right after it,
// untimed; reports the ratio of the two totals and the points per second.
template <class Work, class Peer, class After>
void Compare(benchmark::State& state, int points, const char* ratio_name, Work work, Peer peer, After after) {
    double work_total = 0, peer_total = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        work();
        const auto t1 = Clock::now();
        peer();
        const auto t2 = Clock::now();
        after();
        state.SetIterationTime(Seconds(t0, t1));
        work_total += Seconds(t0, t1);
        peer_total += Seconds(t1, t2);
    }
    state.counters[ratio_name] = peer_total > 0 ? work_total / peer_total : 0;
    state.counters["points_per_s"] =
        benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * points * static_cast<int64_t>(sizeof(tagAPOINT)));
}

void BM_FreshCopy(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = PlotterOutline(n, 1000);
    for (auto _ : state) FreshCopy(v);
    state.counters["points_per_s"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FreshCopy)->RangeMultiplier(10)->Range(1000, 10000000)->Unit(benchmark::kMicrosecond);

void BM_Prepare(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = PlotterOutline(n, 1000);
    std::vector<tagAPOINT> copy(v.size());
    CLS_LineKus piece;
    Compare(
        state, n, "vs_memcpy", [&] { benchmark::DoNotOptimize(piece.Prepare(v.data(), n)); },
        [&] {
            std::memcpy(static_cast<void*>(copy.data()), v.data(), v.size() * sizeof(tagAPOINT));
            benchmark::ClobberMemory();
        },
        [&] { piece.Free(); });
    state.counters["lines"] = static_cast<double>((n + 999) / 1000);
}
BENCHMARK(BM_Prepare)->RangeMultiplier(10)->Range(1000, 10000000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MakeArray(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<tagAPOINT> v = PlotterOutline(n, 1000);
    std::vector<tagAPOINT> copy(v.size() + 1);
    CLS_LineKus piece;
    piece.AddLine(v.data(), std::min(n, 100), CLS_LK::lineLeading, CLS_LK::subNone);
    piece.Prepare(v.data(), n);
    const int total_points = n + std::min(n, 100);
    tagAPOINT* out = nullptr;
    Compare(
        state, total_points, "vs_memcpy",
        [&] {
            int leading = 0, total = 0;
            benchmark::DoNotOptimize(piece.MakeArray(&out, &leading, &total));
        },
        [&] {
            std::memcpy(static_cast<void*>(copy.data()), v.data(), v.size() * sizeof(tagAPOINT));
            benchmark::ClobberMemory();
        },
        [&] { piece.FreeArray(out); });
}
BENCHMARK(BM_MakeArray)->RangeMultiplier(10)->Range(1000, 10000000)->UseManualTime()->Unit(benchmark::kMicrosecond);

constexpr int kLines = 1000;
constexpr int kPerLine = 1000;

const CLS_LineKus& BigPiece() {
    static CLS_LineKus piece = [] {
        CLS_LineKus p;
        std::vector<tagAPOINT> v = PlotterOutline(kLines * kPerLine, kPerLine);
        for (int i = 0; i < kLines; ++i) p.AddLine(v.data() + i * kPerLine, kPerLine, CLS_LK::linePrepared, CLS_LK::subDerive);
        return p;
    }();
    return piece;
}

void BM_CopyPiece(benchmark::State& state) {
    const CLS_LineKus& src = BigPiece();
    std::vector<tagAPOINT> flat(static_cast<size_t>(kLines) * kPerLine), copy(flat.size());
    CLS_LineKus* target = nullptr;
    Compare(
        state, kLines * kPerLine, "vs_memcpy", [&] { target = new CLS_LineKus(src); },
        [&] {
            std::memcpy(static_cast<void*>(copy.data()), flat.data(), flat.size() * sizeof(tagAPOINT));
            benchmark::ClobberMemory();
        },
        [&] { delete target; });
}
BENCHMARK(BM_CopyPiece)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ComparePiece(benchmark::State& state) {
    const CLS_LineKus& a = BigPiece();
    const CLS_LineKus b(a);
    std::vector<tagAPOINT> x = PlotterOutline(kLines * kPerLine, kPerLine), y = x;
    Compare(
        state, kLines * kPerLine, "vs_memcmp", [&] { benchmark::DoNotOptimize(a == b); },
        [&] { benchmark::DoNotOptimize(std::memcmp(x.data(), y.data(), x.size() * sizeof(tagAPOINT))); },
        [] {});
    if (!(a == b)) state.SkipWithError("the copy is not equal");
}
BENCHMARK(BM_ComparePiece)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
