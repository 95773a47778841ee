// Frozen plain BetaSpline: the uniform cubic B-spline sampled at t = 0 and t = 0.5 per segment.
#include "reference_curves.h"

namespace zedtest {
namespace reference {
namespace {

struct Basis {
    float b0, b1, b2, b3;
};

Basis BasisAt(float t) {
    const float u = 1.0f - t;
    return {u * u * u, 3.0f * t * t * t - 6.0f * t * t + 4.0f, -3.0f * t * t * t + 3.0f * t * t + 3.0f * t + 1.0f,
            t * t * t};
}

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

void MarkKept(tagAPOINT& p) {
    p.a.SetSpline(0);
    p.a.SetCode(p.a.code, 1);
}
void MarkKept(tagA3POINT& p) { p.a.SetSpline(0); }

template <class Point>
Result<Point> Beta(const Point* points, int n, bool keep) {
    Result<Point> result;
    if (n < 7 || points == nullptr) return result;
    result.block.assign(2 * static_cast<size_t>(n) - 3, Point());
    Point* out = result.block.data();

    const Basis at0 = BasisAt(0.0f);
    const Basis at_half = BasisAt(0.5f);
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
    result.null = false;
    result.count = written;
    return result;
}

}  // namespace

Result<tagAPOINT> BetaSpline(const tagAPOINT* points, int n, bool keep) { return Beta(points, n, keep); }
Result<tagA3POINT> BetaSpline(const tagA3POINT* points, int n, bool keep) { return Beta(points, n, keep); }

}  // namespace reference
}  // namespace zedtest
