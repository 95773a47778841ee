// CLS_Spline::BetaSpline: the uniform cubic B-spline sampled at t = 0 and t = 0.5 per segment.
#include <climits>
#include <cstring>

#include "curves/shared_array.h"
#include "zedll/curves.h"

namespace {

// Basis values of the uniform cubic B-spline before the division by 6, in single precision: at
// t = 0 they are 1, 4, 1 (and 0, whose term is left out); at t = 0.5, (1 - t)^3 = 0.125,
// 3t^3 - 6t^2 + 4 = 2.875, -3t^3 + 3t^2 + 3t + 1 = 2.875 and t^3 = 0.125, all exact in float.
constexpr float kAt0[3] = {1.0f, 4.0f, 1.0f};
constexpr float kAtHalf[4] = {0.125f, 2.875f, 2.875f, 0.125f};

inline float SampleAt0(float p0, float p1, float p2) {
    return (kAt0[0] * p0 + kAt0[1] * p1 + kAt0[2] * p2) * 1.0f / 6.0f;
}

inline float SampleAtHalf(float p0, float p1, float p2, float p3) {
    return (kAtHalf[0] * p0 + kAtHalf[1] * p1 + kAtHalf[2] * p2 + kAtHalf[3] * p3) * 1.0f / 6.0f;
}

// SetCode(code, 1) on an attribute in registers: a code above 32700 becomes 0.
inline uint16_t KeptCode(uint16_t code) { return code <= ATR::kMaxCode ? code : 0; }

// The attribute of a computed point: its segment start's, Spline and Draw set.
inline ATR Computed(ATR a) {
    a.code = KeptCode(a.code);
    a.flags = static_cast<uint16_t>(a.flags | ATR::kSpline | ATR::kDraw);
    return a;
}

// A kept corner: the plane variant also rewrites code and Draw, the spatial one leaves them.
inline ATR Kept(ATR a, const tagAPOINT*) {
    a.code = KeptCode(a.code);
    a.flags = static_cast<uint16_t>((a.flags & ~ATR::kSpline) | ATR::kDraw);
    return a;
}
inline ATR Kept(ATR a, const tagA3POINT*) {
    a.flags = static_cast<uint16_t>(a.flags & ~ATR::kSpline);
    return a;
}

inline void Put(tagAPOINT& o, float x, float y, float, const ATR& a) { o = tagAPOINT(x, y, a); }
inline void Put(tagA3POINT& o, float x, float y, float z, const ATR& a) {
    o.x = x;
    o.y = y;
    o.z = z;
    o.a = a;
}

inline float Z(const tagAPOINT&) { return 0.0f; }
inline float Z(const tagA3POINT& p) { return p.z; }

template <class Point>
Point* Beta(const Point* points, int n, int* out_count, bool keep, Point*& held) {
    if (n < 7 || points == nullptr || out_count == nullptr) return nullptr;
    *out_count = 0;
    zed::SharedArrayRelease(held);
    held = nullptr;
    // 2n - 3 points, the largest count (2n - 4) plus one. Every point up to the count is written
    // below, the rest is zero-filled after: no byte is written twice.
    const size_t capacity = 2 * static_cast<size_t>(n) - 3;
    Point* out = static_cast<Point*>(zed::SharedArrayAllocUncleared(capacity, sizeof(Point)));
    if (out == nullptr) return nullptr;

    int written = 0;
    out[written++] = points[0];
    for (int i = 0; i < n - 3; ++i) {
        const Point* p = points + i;
        const float x0 = p[0].x, x1 = p[1].x, x2 = p[2].x, x3 = p[3].x;
        const float y0 = p[0].y, y1 = p[1].y, y2 = p[2].y, y3 = p[3].y;
        const float z0 = Z(p[0]), z1 = Z(p[1]), z2 = Z(p[2]), z3 = Z(p[3]);
        const ATR a = p[0].a;
        // Without branches: a kept corner takes the first slot and advances by one; the second
        // slot's sample is then overwritten by whatever comes next (at the latest P[n-1]).
        const bool kept = keep && a.IsCorner();
        const ATR first = kept ? Kept(a, p) : Computed(a);
        Put(out[written], kept ? x0 : SampleAt0(x0, x1, x2), kept ? y0 : SampleAt0(y0, y1, y2),
            kept ? z0 : SampleAt0(z0, z1, z2), first);
        Put(out[written + 1], SampleAtHalf(x0, x1, x2, x3), SampleAtHalf(y0, y1, y2, y3),
            SampleAtHalf(z0, z1, z2, z3), Computed(a));
        written += kept ? 1 : 2;
    }
    out[written++] = points[n - 1];
    std::memset(static_cast<void*>(out + written), 0, (capacity - static_cast<size_t>(written)) * sizeof(Point));
    held = out;
    *out_count = written;
    return out;
}

}  // namespace

tagAPOINT* CLS_Spline::BetaSpline(tagAPOINT* points, int count, int* out_count, bool keep) {
    return Beta(points, count, out_count, keep, plane_);
}

tagA3POINT* CLS_Spline::BetaSpline(tagA3POINT* points, int count, int* out_count, bool keep) {
    return Beta(points, count, out_count, keep, spatial_);
}
