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
// The rare rest (values on or next to a half step, huge values, NaN) goes through GridRound. The
// one branch is almost always taken the same way; with SSE2 alone a vector form of this loop
// runs more instructions than the scalar one.
void GridRoundAll(float* values, size_t count, double grid) {
    constexpr double kMargin = 1.0 / 65536.0;
    constexpr double kRange = 1073741824.0;
    const double inverse = 1.0 / grid;
    for (size_t i = 0; i < count; ++i) {
        const float v = values[i];
        const double d = v;
        const double shifted = std::fabs(d) * inverse + 0.5;
        if (shifted < kRange) {
            const double k = static_cast<double>(static_cast<int32_t>(shifted));
            const double f = shifted - k;
            if (f > kMargin && f < 1.0 - kMargin) {
                const double rounded = k * grid;
                values[i] = static_cast<float>(d < 0.0 ? -rounded : rounded);
                continue;
            }
        }
        values[i] = GridRound(v, grid);
    }
}

}  // namespace inset
}  // namespace zed
