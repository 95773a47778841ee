// The circle through three points, and the tests whether a point list lies on one circle.
#include "geometry/float_math.h"
#include "zedll/geometry.h"

int ZEDLL_STDCALL ArcParameters(tagA3POINT p0, tagA3POINT p1, tagA3POINT p2, tagFPOINT* centre,
                                float* radius) {
    // All in float.
    const float d = (p1.y - p2.y) * (p1.x - p0.x) + (p2.x - p1.x) * (p1.y - p0.y);
    if (d == 0.0f) return 0;
    const float s = ((p2.x - p0.x) * (p0.x - p1.x) + (p2.y - p0.y) * (p0.y - p1.y)) / (2 * d);
    const float cx = (p2.x + p1.x) / 2 + (p1.y - p2.y) * s;
    const float cy = (p2.y + p1.y) / 2 + (p2.x - p1.x) * s;
    if (centre != nullptr) {
        centre->x = cx;
        centre->y = cy;
    }
    if (radius != nullptr) *radius = zed::HypotF(cx - p1.x, cy - p1.y);
    return 1;
}

namespace {

constexpr double kCircleTolerance = 2.0;

/// Walks the triples (i-1, i, i+1): the first radius found is the reference, and every later
/// one must pass `same`. Collinear triples are skipped; none with a circle gives 0.
template <class Point, class Same>
int WalkTriples(const Point* points, int count, Same same) {
    if (points == nullptr || count < 5) return 0;
    bool have_reference = false;
    float reference = 0.0f;
    float last = 0.0f;
    for (int i = 1; i + 1 < count; ++i) {
        tagA3POINT p0, p1, p2;
        p0 = points[i - 1];
        p1 = points[i];
        p2 = points[i + 1];
        float radius;
        if (!ArcParameters(p0, p1, p2, nullptr, &radius)) continue;
        if (!have_reference) {
            reference = radius;
            have_reference = true;
        } else if (!same(radius, reference)) {
            return 0;
        }
        last = radius;
    }
    return have_reference && same(last, reference) ? 1 : 0;
}

}  // namespace

int ZEDLL_STDCALL IsCircle(tagAPOINT* points, int count) {
    return WalkTriples(points, count, [](float r, float reference) {
        return Tolerance(r, reference, kCircleTolerance, false);
    });
}

int ZEDLL_STDCALL IsCircle3P(tagA3POINT* points, int count) {
    return WalkTriples(points, count, [](float r, float reference) { return r == reference; });
}
