// Grid rounding of placed points, one value at a time (GridRound) and in batches (GridRoundAll).
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "curves/inset_walk.h"

namespace zed {
namespace inset {

float GridRound(float v, double grid) {
    const double g = grid;
    const double q = std::fabs(static_cast<double>(v)) / g;
    double k = std::trunc(q);
    if (q - k >= 0.5) k += 1.0;
    const double rounded = k * g;
    return static_cast<float>(v < 0.0f ? -rounded : rounded);
}

// The batch takes a multiplication by 1 / grid where that provably gives the division's result:
// the product is within 2^-51 (relative) of the quotient, so below 2^30 it is within 2^-21 of it,
// and a fractional part at least 2^-16 away from 0, 0.5 and 1 has the quotient's integer part and
// lies on the same side of 0.5; then k is the same integer and k * grid the same double. Every
// step is a select, so the loop runs in vector registers; the values it leaves open (on or next
// to the grid, huge, NaN) go through GridRound afterwards. An open value passes through double
// and back unchanged (a signalling NaN comes back quiet, which GridRound's first widening does
// to it anyway).
void GridRoundAll(float* values, size_t count, double grid) {
    constexpr double kMargin = 1.0 / 65536.0;
    constexpr double kRange = 1073741824.0;
    constexpr size_t kChunk = 256;
    const double inverse = 1.0 / grid;
    double edge[kChunk];   // the fraction's distance from 0, 0.5 and 1; -1 out of range
    for (size_t start = 0; start < count; start += kChunk) {
        float* __restrict v = values + start;
        double* __restrict e = edge;
        const size_t m = count - start < kChunk ? count - start : kChunk;
        for (size_t i = 0; i < m; ++i) {
            const double d = v[i];
            const double approx = std::fabs(d) * inverse;
            const bool in_range = approx < kRange;
            const double clamped = in_range ? approx : 0.0;
            const double k = static_cast<double>(static_cast<int32_t>(clamped));
            const double f = clamped - k;
            const double rounded = (f >= 0.5 ? k + 1.0 : k) * grid;
            const double signed_rounded = d < 0.0 ? -rounded : rounded;
            const double to_whole = f < 1.0 - f ? f : 1.0 - f;
            const double to_half = std::fabs(f - 0.5);
            e[i] = in_range ? (to_whole < to_half ? to_whole : to_half) : -1.0;
            v[i] = static_cast<float>(e[i] > kMargin ? signed_rounded : d);
        }
        for (size_t i = 0; i < m; ++i) {
            if (!(e[i] > kMargin)) v[i] = GridRound(v[i], grid);
        }
    }
}

}  // namespace inset
}  // namespace zed
