// Single-precision helpers with results that are the same on every platform's math library.
#ifndef ZEDLL_GEOMETRY_FLOAT_MATH_H
#define ZEDLL_GEOMETRY_FLOAT_MATH_H

#include <cmath>
#include <cstdint>

namespace zed {

/// Length of (dx, dy) in double. The squares of widened floats are exact in double, and sqrt is
/// correctly rounded everywhere, so this does not depend on the C library's hypot.
inline double HypotD(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

/// Length of a float difference vector, computed in double and rounded to float.
inline float HypotF(float dx, float dy) {
    return static_cast<float>(HypotD(static_cast<double>(dx), static_cast<double>(dy)));
}

/// Single-precision atan2: computed in double, rounded to float.
inline float Atan2F(float y, float x) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
}

/// Single-precision fabs, atan and tan: computed in double, rounded to float.
inline float FabsF(float v) { return static_cast<float>(std::fabs(static_cast<double>(v))); }
inline float AtanF(float v) { return static_cast<float>(std::atan(static_cast<double>(v))); }
inline float TanF(float v) { return static_cast<float>(std::tan(static_cast<double>(v))); }

/// Float to 32-bit integer, truncated toward zero. NaN and values outside the range give
/// INT32_MIN, the x86 "integer indefinite" that the conversion instruction itself yields.
inline int32_t TruncToInt32(float v) {
    if (!(v > -2147483904.0f && v < 2147483648.0f)) return INT32_MIN;
    return static_cast<int32_t>(v);
}

/// The circle constant of the angle functions: a double slightly above 2*pi.
constexpr double kFullTurn = 6.2831854;

/// The largest float: what float queries give when they find nothing.
constexpr float kNoDistance = 3.4028235e38f;

}  // namespace zed

#endif
