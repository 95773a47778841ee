// The sign of the signed area, decided by a sum in lanes where it is far from zero.
//
// Surface sums the terms t[i] = fl(a[i] − b[i]), a[i] = x[i]·y[i+1] and b[i] = x[i+1]·y[i] (both
// products exact in double), one after another. Here the a's and the b's are summed apart, in
// lanes, and subtracted at the end. Let M = Σ(|a[i]| + |b[i]|) over the m terms. The in-order sum
// lies within (m − 1)·u·M of Σt[i] (u = 2^-53), Σt[i] within u·M of Σ(a[i] − b[i]), and the lane
// sum within (m/4 + 4)·u·M of that. So when the lane sum is further than (m + 2)·2^-52·M from
// zero, the in-order sum has its sign; the margin used is twice that, to cover the rounding of M
// itself. Otherwise (near-zero areas, infinities, NaNs) the terms are summed in order after all.
#include "geometry/orientation.h"

#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZEDLL_ORIENTATION_SSE2 1
#endif

namespace zed {
namespace {

int SignOf(double v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int SignInOrder(const tagAPOINT* p, int count) {
    double sum = 0.0;
    for (int i = 0; i + 1 < count; ++i) {
        sum += static_cast<double>(p[i].x) * p[i + 1].y - static_cast<double>(p[i + 1].x) * p[i].y;
    }
    return SignOf(sum);
}

struct LaneSums {
    double a, b, magnitude;
};

#if ZEDLL_ORIENTATION_SSE2
// x and y of a point (its first eight bytes), widened to two doubles.
inline __m128d LoadXY(const tagAPOINT& p) {
    const __m128i xy = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(reinterpret_cast<const char*>(&p)));
    return _mm_cvtps_pd(_mm_castsi128_ps(xy));
}

LaneSums SumInLanes(const tagAPOINT* p, int terms) {
    const __m128d abs_mask = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
    // Four chains of sums and four of magnitudes, so that the additions overlap.
    __m128d s[4], m[4];
    for (int k = 0; k < 4; ++k) s[k] = m[k] = _mm_setzero_pd();
    __m128d cur = LoadXY(p[0]);
    int i = 0;
    for (; i + 4 <= terms; i += 4) {
        for (int k = 0; k < 4; ++k) {
            const __m128d next = LoadXY(p[i + k + 1]);
            // (x[i], y[i]) · (y[i+1], x[i+1]) = (a[i], b[i])
            const __m128d t = _mm_mul_pd(cur, _mm_shuffle_pd(next, next, 1));
            s[k] = _mm_add_pd(s[k], t);
            m[k] = _mm_add_pd(m[k], _mm_and_pd(t, abs_mask));
            cur = next;
        }
    }
    for (; i < terms; ++i) {
        const __m128d next = LoadXY(p[i + 1]);
        const __m128d t = _mm_mul_pd(cur, _mm_shuffle_pd(next, next, 1));
        s[0] = _mm_add_pd(s[0], t);
        m[0] = _mm_add_pd(m[0], _mm_and_pd(t, abs_mask));
        cur = next;
    }
    alignas(16) double sum[2], magnitude[2];
    _mm_store_pd(sum, _mm_add_pd(_mm_add_pd(s[0], s[1]), _mm_add_pd(s[2], s[3])));
    _mm_store_pd(magnitude, _mm_add_pd(_mm_add_pd(m[0], m[1]), _mm_add_pd(m[2], m[3])));
    return {sum[0], sum[1], magnitude[0] + magnitude[1]};
}
#else
LaneSums SumInLanes(const tagAPOINT* p, int terms) {
    double a0 = 0, a1 = 0, b0 = 0, b1 = 0, m0 = 0, m1 = 0;
    int i = 0;
    for (; i + 2 <= terms; i += 2) {
        const double a = static_cast<double>(p[i].x) * p[i + 1].y, b = static_cast<double>(p[i + 1].x) * p[i].y;
        const double c = static_cast<double>(p[i + 1].x) * p[i + 2].y, d = static_cast<double>(p[i + 2].x) * p[i + 1].y;
        a0 += a;
        b0 += b;
        a1 += c;
        b1 += d;
        m0 += std::fabs(a) + std::fabs(b);
        m1 += std::fabs(c) + std::fabs(d);
    }
    if (i < terms) {
        const double a = static_cast<double>(p[i].x) * p[i + 1].y, b = static_cast<double>(p[i + 1].x) * p[i].y;
        a0 += a;
        b0 += b;
        m0 += std::fabs(a) + std::fabs(b);
    }
    return {a0 + a1, b0 + b1, m0 + m1};
}
#endif

}  // namespace

int SurfaceSign(const tagAPOINT* p, int count) {
    if (p == nullptr || count < 2) return 0;
    const int terms = count - 1;
    const LaneSums lanes = SumInLanes(p, terms);
    const double sum = lanes.a - lanes.b;
    const double margin = lanes.magnitude * (static_cast<double>(terms) + 2) * 0x1p-51;
    if (std::fabs(sum) > margin) return SignOf(sum);
    return SignInOrder(p, count);
}

}  // namespace zed
