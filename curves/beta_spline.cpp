// CLS_Spline::BetaSpline: the uniform cubic B-spline sampled at t = 0 and t = 0.5 per segment.
#include <climits>

#include "curves/shared_array.h"
#include "zedll/curves.h"

namespace {

// Basis values of the uniform cubic B-spline (before the division by 6), in single precision.
struct Basis {
    float b0, b1, b2, b3;
};

Basis BasisAt(float t) {
    const float u = 1.0f - t;
    return {u * u * u, 3.0f * t * t * t - 6.0f * t * t + 4.0f, -3.0f * t * t * t + 3.0f * t * t + 3.0f * t + 1.0f,
            t * t * t};
}

// At t = 0 the weight of the fourth point is 0 and its term is left out altogether.
float SampleAt0(const Basis& b, float p0, float p1, float p2) {
    return (b.b0 * p0 + b.b1 * p1 + b.b2 * p2) * 1.0f / 6.0f;
}

float SampleAtHalf(const Basis& b, float p0, float p1, float p2, float p3) {
    return (b.b0 * p0 + b.b1 * p1 + b.b2 * p2 + b.b3 * p3) * 1.0f / 6.0f;
}

void SmoothZ(tagAPOINT&, const Basis&, const tagAPOINT*, bool) {}
void SmoothZ(tagA3POINT& out, const Basis& b, const tagA3POINT* p, bool half) {
    out.z = half ? SampleAtHalf(b, p[0].z, p[1].z, p[2].z, p[3].z) : SampleAt0(b, p[0].z, p[1].z, p[2].z);
}

// A kept corner: the plane variant also rewrites code and Draw, the spatial one leaves them.
void MarkKept(tagAPOINT& p) {
    p.a.SetSpline(0);
    p.a.SetCode(p.a.code, 1);
}
void MarkKept(tagA3POINT& p) { p.a.SetSpline(0); }

template <class Point>
Point* Beta(const Point* points, int n, int* out_count, bool keep, Point*& held) {
    if (n < 7 || points == nullptr || out_count == nullptr) return nullptr;
    *out_count = 0;
    zed::SharedArrayRelease(held);
    held = nullptr;
    // 2n - 3 points, the largest count (2n - 4) plus one.
    const size_t capacity = 2 * static_cast<size_t>(n) - 3;
    Point* out = static_cast<Point*>(zed::SharedArrayAlloc(capacity, sizeof(Point)));
    if (out == nullptr) return nullptr;

    static const Basis at0 = BasisAt(0.0f);
    static const Basis at_half = BasisAt(0.5f);
    int written = 0;
    out[written++] = points[0];
    for (int i = 0; i < n - 3; ++i) {
        const Point* p = points + i;
        if (keep && p[0].a.IsCorner()) {
            out[written] = p[0];
            MarkKept(out[written]);
            ++written;
            continue;
        }
        for (int half = 0; half < 2; ++half) {
            Point& q = out[written++];
            const Basis& b = half ? at_half : at0;
            q.x = half ? SampleAtHalf(b, p[0].x, p[1].x, p[2].x, p[3].x) : SampleAt0(b, p[0].x, p[1].x, p[2].x);
            q.y = half ? SampleAtHalf(b, p[0].y, p[1].y, p[2].y, p[3].y) : SampleAt0(b, p[0].y, p[1].y, p[2].y);
            SmoothZ(q, b, p, half != 0);
            q.a = p[0].a;
            q.a.SetSpline(1);
            q.a.SetCode(q.a.code, 1);
        }
    }
    out[written++] = points[n - 1];
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
