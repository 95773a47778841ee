// The plane-geometry functions over a 1,000,000-point outline: time per point.
#include <vector>

#include "bench_util.h"

namespace {

constexpr int kPoints = 1000000;

const std::vector<tagAPOINT>& Outline() {
    static const std::vector<tagAPOINT> outline = zedbench::WavyOutline(kPoints);
    return outline;
}

tagA3POINT To3(const tagAPOINT& p) {
    tagA3POINT q;
    q = p;
    return q;
}

void BM_Surface(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) benchmark::DoNotOptimize(Surface(v.data(), kPoints));
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_Surface)->Unit(benchmark::kMillisecond);

void BM_ClockWise(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) benchmark::DoNotOptimize(ClockWise(v.data(), kPoints));
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_ClockWise)->Unit(benchmark::kMillisecond);

void BM_IsPointInArea(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) benchmark::DoNotOptimize(IsPointInArea(tagAPOINT(3, 7), v.data(), kPoints));
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_IsPointInArea)->Unit(benchmark::kMillisecond);

void BM_DistancePoints(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) {
        float length = 0;
        for (int i = 0; i + 1 < kPoints; ++i) length += DistancePoints(&v[i], &v[i + 1]);
        benchmark::DoNotOptimize(length);
    }
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_DistancePoints)->Unit(benchmark::kMillisecond);

void BM_Uhel2DDegree(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) {
        float sum = 0;
        for (int i = 1; i + 1 < kPoints; ++i) sum += Uhel2DDegree(To3(v[i - 1]), To3(v[i]), To3(v[i + 1]));
        benchmark::DoNotOptimize(sum);
    }
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_Uhel2DDegree)->Unit(benchmark::kMillisecond);

void BM_PointPlumb(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) {
        int cases = 0;
        tagFPOINT foot, second;
        int segment;
        for (int i = 0; i + 2 < kPoints; ++i) cases += PointPlumb(tagAPOINT(3, 7), &v[i], &foot, &second, &segment);
        benchmark::DoNotOptimize(cases);
    }
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_PointPlumb)->Unit(benchmark::kMillisecond);

void BM_CrossVectors(benchmark::State& state) {
    std::vector<tagAPOINT> v = Outline();
    for (auto _ : state) {
        int crossings = 0;
        tagFPOINT at;
        for (int i = 0; i + 1 < kPoints; ++i)
            crossings += CrossVectors(v[i], v[i + 1], tagAPOINT(0, 0), tagAPOINT(2000, 1), &at);
        benchmark::DoNotOptimize(crossings);
    }
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_CrossVectors)->Unit(benchmark::kMillisecond);

void BM_IsCircle(benchmark::State& state) {
    // Points of one circle, 0.7 radians apart round and round, so that every triple is examined
    // (closely spaced float points would give noisy radii and stop the walk early).
    std::vector<tagAPOINT> v;
    for (int i = 0; i < kPoints; ++i) v.emplace_back(static_cast<float>(1000 * std::cos(i * 0.7)),
                                                     static_cast<float>(1000 * std::sin(i * 0.7)));
    if (!IsCircle(v.data(), kPoints)) state.SkipWithError("the sample is not seen as a circle");
    for (auto _ : state) benchmark::DoNotOptimize(IsCircle(v.data(), kPoints));
    zedbench::PerPoint(state, kPoints, sizeof(tagAPOINT));
}
BENCHMARK(BM_IsCircle)->Unit(benchmark::kMillisecond);

}  // namespace
