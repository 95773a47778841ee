// Signed area, orientation and the point-in-area test of point lists.
#include "zedll/geometry.h"

#include "geometry/orientation.h"

double ZEDLL_STDCALL Surface(tagAPOINT* points, int count) {
    if (points == nullptr || count < 2) return 0.0;
    double sum = 0.0;
    // Consecutive pairs only: a closed outline repeats its first point at the end.
    for (int i = 0; i + 1 < count; ++i) {
        const tagAPOINT& p = points[i];
        const tagAPOINT& q = points[i + 1];
        sum += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    return sum / 2;
}

int ZEDLL_STDCALL ClockWise(tagAPOINT* points, int count) {
    switch (zed::SurfaceSign(points, count)) {
        case -1: return 1;
        case 1: return 0;
        default: return -1;
    }
}

int ZEDLL_STDCALL IsPointInArea(tagAPOINT point, tagAPOINT* polygon, int count) {
    if (polygon == nullptr || count < 2) return 0;
    int crossings = 0;
    // The ray leaves the point diagonally, towards (+1, +1); no edge closes the polygon.
    for (int i = 0; i + 1 < count; ++i) {
        const tagAPOINT& p = polygon[i];
        const tagAPOINT& q = polygon[i + 1];
        if (q.x == p.x && q.y == p.y) continue;
        const float dx = q.x - p.x;
        const float dy = q.y - p.y;
        const float k = q.y - q.x + p.x - p.y;
        if (k == 0.0f) {
            // The edge runs along the ray's direction: it counts when the point is on its line.
            const float s = (point.x - p.x) / dx;
            const float r = (point.y - p.y) / dy;
            if (s == r) ++crossings;
            continue;
        }
        const float t = (point.y - point.x + p.x - p.y) / k;
        if (t >= 0.0f && t < 1.0f &&
            static_cast<double>(p.x) + static_cast<double>(dx) * t - point.x >= 0.0) {
            ++crossings;
        }
    }
    return crossings & 1;
}
