// Segment crossing and the perpendicular from a point onto a two-segment corner.
#include <cmath>

#include "geometry/float_math.h"
#include "zedll/geometry.h"

int ZEDLL_STDCALL CrossVectors(tagAPOINT a0, tagAPOINT a1, tagAPOINT b0, tagAPOINT b1,
                               tagFPOINT* crossing) {
    const float dax = a1.x - a0.x;
    const float day = a1.y - a0.y;
    const float dbx = b1.x - b0.x;
    const float dby = b1.y - b0.y;
    const float cr = dax * dby - day * dbx;
    if (cr == 0.0f) return 0;
    const float t = (dby * (b0.x - a0.x) - dbx * (b0.y - a0.y)) / cr;
    if (t > 1.0f || t < 0.0f) return 0;
    const float cx = static_cast<float>(static_cast<double>(a0.x) + static_cast<double>(t) * dax);
    const float cy = static_cast<float>(static_cast<double>(a0.y) + static_cast<double>(t) * day);
    if (crossing != nullptr) {
        crossing->x = cx;
        crossing->y = cy;
    }
    float u;
    if (dbx != 0.0f) {
        u = (cx - b0.x) / dbx;
    } else {
        if (dby == 0.0f) return 0;
        u = (cy - b0.y) / dby;
    }
    return u >= 0.0f && u <= 1.0f ? 1 : 0;
}

namespace {

void Store(tagFPOINT* out, float x, float y) {
    if (out == nullptr) return;
    out->x = x;
    out->y = y;
}

}  // namespace

int ZEDLL_STDCALL PointPlumb(tagAPOINT point, tagAPOINT* corners, tagFPOINT* foot,
                             tagFPOINT* second_foot, int* segment) {
    if (segment != nullptr) *segment = 0;
    if (corners == nullptr) return ZED_PLUMB_NONE;
    const tagAPOINT& p0 = corners[0];
    const tagAPOINT& p1 = corners[1];
    const tagAPOINT& p2 = corners[2];
    if (point.x == p1.x && point.y == p1.y) {
        Store(foot, point.x, point.y);
        return ZED_PLUMB_ONE;
    }

    // All in float; a zero-length segment gives a parameter that is not a number: no foot there.
    const float e1x = p1.x - p0.x, e1y = p1.y - p0.y;
    const float e2x = p2.x - p1.x, e2y = p2.y - p1.y;
    const float t1 = (e1x * (point.x - p0.x) + e1y * (point.y - p0.y)) / (e1x * e1x + e1y * e1y);
    const float t2 = (e2x * (point.x - p1.x) + e2y * (point.y - p1.y)) / (e2x * e2x + e2y * e2y);
    const bool in1 = t1 >= 0.0f && t1 <= 1.0f;
    const bool in2 = t2 >= 0.0f && t2 <= 1.0f;

    auto first = [&](tagFPOINT* out) { Store(out, p0.x + t1 * e1x, p0.y + t1 * e1y); };
    auto second = [&](tagFPOINT* out, bool sets_segment) {
        Store(out, p1.x + t2 * e2x, p1.y + t2 * e2y);
        if (sets_segment && segment != nullptr) *segment = 1;
    };

    if (t1 * t2 <= 0.0f) {
        if (in1) { first(foot); return ZED_PLUMB_ONE; }
        if (in2) { second(foot, true); return ZED_PLUMB_ONE; }
        return ZED_PLUMB_NONE;
    }
    if (t1 < 0.0f) {
        // Both feet lie before their segment's start; "near" is at most one segment length back.
        const bool near1 = zed::FabsF(t1) <= 1.0f;
        const bool near2 = zed::FabsF(t2) <= 1.0f;
        if (near1 && near2) { first(foot); second(second_foot, false); return ZED_PLUMB_BOTH_BEFORE; }
        if (near1) { first(foot); return ZED_PLUMB_ONE_BEFORE; }
        if (near2) { second(foot, true); return ZED_PLUMB_ONE_BEFORE; }
        return ZED_PLUMB_NONE;
    }
    if (in1 && in2) { first(foot); second(second_foot, false); return ZED_PLUMB_BOTH; }
    if (in1) { first(foot); return ZED_PLUMB_ONE; }
    if (in2) { second(foot, true); return ZED_PLUMB_ONE; }
    return ZED_PLUMB_NONE;
}
