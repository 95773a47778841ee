// The bounding box of a run of points, grown in lanes.
//
// Each lane starts from the first point and sees every fourth point, with the same strict
// comparisons as the loop in order, so NaNs never replace a bound. Lanes can only disagree with
// the loop in order on the sign of a zero bound (0 and -0 compare equal, and the loop keeps the
// one it met first): when the lanes' zero bounds differ in sign, the box is grown in order after
// all.
#include "pieces/outline_box.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZEDLL_BOX_SSE2 1
#endif

namespace zed {

FRECT BoxInOrder(const tagAPOINT* p, int n) {
    FRECT r;
    r.left = r.right = p[0].x;
    r.top = r.bottom = p[0].y;
    for (int i = 1; i < n; ++i) {
        const float x = p[i].x, y = p[i].y;
        r.left = x < r.left ? x : r.left;
        r.right = x > r.right ? x : r.right;
        r.bottom = y < r.bottom ? y : r.bottom;
        r.top = y > r.top ? y : r.top;
    }
    return r;
}

namespace {

constexpr int kLanes = 4;

uint32_t Bits(float v) {
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Folds the lanes' bounds into one: false when the lanes hold zeros of both signs for it.
bool Fold(const float (&lane)[kLanes], bool lower, float& out) {
    float best = lane[0];
    for (int k = 1; k < kLanes; ++k) {
        if (lower ? lane[k] < best : lane[k] > best) best = lane[k];
    }
    if (best == 0.0f) {
        for (int k = 0; k < kLanes; ++k) {
            if (lane[k] == 0.0f && Bits(lane[k]) != Bits(best)) return false;
        }
    }
    out = best;
    return true;
}

}  // namespace

FRECT BoxOf(const tagAPOINT* p, int n) {
    if (n < 1 + 2 * kLanes) return BoxInOrder(p, n);
    float left[kLanes], right[kLanes], bottom[kLanes], top[kLanes];
    int i = 1;
#if ZEDLL_BOX_SSE2
    // Two registers of (x, y, x, y): lanes 0-1 see points i and i + 1, lanes 2-3 points i + 2, i + 3.
    auto load2 = [](const tagAPOINT& a, const tagAPOINT& b) {
        const __m128 lo = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(reinterpret_cast<const char*>(&a))));
        return _mm_loadh_pi(lo, reinterpret_cast<const __m64*>(reinterpret_cast<const char*>(&b)));
    };
    const __m128 first = load2(p[0], p[0]);
    __m128 lo1 = first, hi1 = first, lo2 = first, hi2 = first;
    for (; i + 4 <= n; i += 4) {
        const __m128 v1 = load2(p[i], p[i + 1]);
        const __m128 v2 = load2(p[i + 2], p[i + 3]);
        // MINPS/MAXPS keep the second operand unless the first is strictly beyond it.
        lo1 = _mm_min_ps(v1, lo1);
        hi1 = _mm_max_ps(v1, hi1);
        lo2 = _mm_min_ps(v2, lo2);
        hi2 = _mm_max_ps(v2, hi2);
    }
    alignas(16) float l1[4], h1[4], l2[4], h2[4];
    _mm_store_ps(l1, lo1);
    _mm_store_ps(h1, hi1);
    _mm_store_ps(l2, lo2);
    _mm_store_ps(h2, hi2);
    const float* lows[2] = {l1, l2};
    const float* highs[2] = {h1, h2};
    for (int k = 0; k < kLanes; ++k) {
        left[k] = lows[k / 2][2 * (k % 2)];
        bottom[k] = lows[k / 2][2 * (k % 2) + 1];
        right[k] = highs[k / 2][2 * (k % 2)];
        top[k] = highs[k / 2][2 * (k % 2) + 1];
    }
#else
    for (int k = 0; k < kLanes; ++k) {
        left[k] = right[k] = p[0].x;
        bottom[k] = top[k] = p[0].y;
    }
    for (; i + kLanes <= n; i += kLanes) {
        for (int k = 0; k < kLanes; ++k) {
            const float x = p[i + k].x, y = p[i + k].y;
            left[k] = x < left[k] ? x : left[k];
            right[k] = x > right[k] ? x : right[k];
            bottom[k] = y < bottom[k] ? y : bottom[k];
            top[k] = y > top[k] ? y : top[k];
        }
    }
#endif
    for (; i < n; ++i) {   // the last few points go to lane 0
        const float x = p[i].x, y = p[i].y;
        left[0] = x < left[0] ? x : left[0];
        right[0] = x > right[0] ? x : right[0];
        bottom[0] = y < bottom[0] ? y : bottom[0];
        top[0] = y > top[0] ? y : top[0];
    }
    FRECT r;
    if (!Fold(left, true, r.left) || !Fold(right, false, r.right) || !Fold(bottom, true, r.bottom) ||
        !Fold(top, false, r.top)) {
        return BoxInOrder(p, n);
    }
    return r;
}

}  // namespace zed
