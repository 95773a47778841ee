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

// The batch takes a multiplication by 1 / grid where that provably gives the division's result.
// GridRound's k (the truncated quotient, plus 1 from a fraction of 0.5 up) is floor(q + 0.5) for
// the quotient q. The product is within 2^-51 (relative) of q, so below 2^30 within 2^-21 of it;
// with 0.5 added (exact there but for the last bit) a fractional part at least 2^-16 away from 0
// and 1 has the same floor as q + 0.5, so k is the same integer and k * grid the same double.
// Every step is a select, so the loop runs in vector registers; the values it leaves open (on or
// next to a half step, huge, NaN) go through GridRound afterwards. An open value passes through
// double and back unchanged (a signalling NaN comes back quiet, which GridRound's first widening
// does to it anyway).
void GridRoundAll(float* values, size_t count, double grid) {
    constexpr double kMargin = 1.0 / 65536.0;
    constexpr double kRange = 1073741824.0;
    constexpr size_t kChunk = 256;
    const double inverse = 1.0 / grid;
    double edge[kChunk];   // the fraction's distance from a whole number; -1 out of range
    for (size_t start = 0; start < count; start += kChunk) {
        float* __restrict v = values + start;
        double* __restrict e = edge;
        const size_t m = count - start < kChunk ? count - start : kChunk;
        for (size_t i = 0; i < m; ++i) {
            const double d = v[i];
            const double shifted = std::fabs(d) * inverse + 0.5;
            const bool in_range = shifted < kRange;
            const double clamped = in_range ? shifted : 0.0;
            const double k = static_cast<double>(static_cast<int32_t>(clamped));
            const double f = clamped - k;
            const double rounded = k * grid;
            e[i] = in_range ? (f < 1.0 - f ? f : 1.0 - f) : -1.0;
            v[i] = static_cast<float>(e[i] > kMargin ? (d < 0.0 ? -rounded : rounded) : d);
        }
        for (size_t i = 0; i < m; ++i) {
            if (!(e[i] > kMargin)) v[i] = GridRound(v[i], grid);
        }
    }
}

}  // namespace inset
}  // namespace zed
