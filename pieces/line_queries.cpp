// CLS_LK queries: nearest point and segment, perpendicular foot, distance, inside test.
#include "geometry/float_math.h"
#include "zedll/geometry.h"
#include "zedll/pieces.h"

namespace {

enum class Use { kPlumb, kDistance };

// The three points (first, corner, last) around the nearest point that PointPlumb examines. A
// closed line's last point lies on its first, so the wrap-around skips to point 1 or n-2.
bool CornerTriple(const CLS_LK& line, int v, Use use, tagAPOINT triple[3]) {
    const int n = line.count;
    const tagAPOINT* p = line.points;
    const bool closed = line.closed != 0 && n > 3;
    int a, b, c;
    if (v >= 0 && v + 2 < n) {
        a = v; b = v + 1; c = v + 2;
    } else if (v == -1) {
        if (closed) { a = n - 2; b = 0; c = 1; } else { a = 0; b = 0; c = 1; }
    } else if (v == n - 1) {
        if (closed) {
            if (use == Use::kPlumb) { a = n - 2; b = n - 1; c = 1; } else { a = n - 2; b = 0; c = 1; }
        } else {
            if (use == Use::kPlumb) { a = n - 2; b = n - 1; c = n - 1; } else { a = n - 1; b = n - 1; c = n - 2; }
        }
    } else {
        return false;
    }
    triple[0] = p[a];
    triple[1] = p[b];
    triple[2] = p[c];
    return true;
}

float Distance(const tagFPOINT& a, const tagAPOINT& b) {
    tagAPOINT pa(a.x, a.y);
    tagAPOINT pb(b.x, b.y);
    return DistancePoints(&pa, &pb);
}

}  // namespace

int CLS_LK::SearcheNearPointIndex(tagAPOINT& q) const {
    if (points == nullptr) return -1;
    int best_index = -1;
    float best = zed::kNoDistance;
    for (int i = 0; i < count; ++i) {
        const float d = DistancePoints(&q, &points[i]);
        if (d < best) {
            best = d;
            best_index = i;
        }
    }
    // Points that are all infinitely far (or not numbers) still have a nearest: the first.
    if (best_index < 0 && count > 0) best_index = 0;
    return best_index;
}

int CLS_LK::SearcheNearVectorIndex(tagAPOINT& q) const {
    const int i = SearcheNearPointIndex(q);
    if (i < 0) return i;
    if (count < 2) return -2;
    if (i == count - 1) return i;
    return i - 1;
}

int CLS_LK::ComputePlumbNear(tagAPOINT& q, tagAPOINT* foot, int* segment) const {
    if (!IsReady(0)) return -2;
    const int v = SearcheNearVectorIndex(q);
    tagAPOINT triple[3];
    if (v == -2 || !CornerTriple(*this, v, Use::kPlumb, triple)) return -2;
    tagFPOINT foot1{0.0f, 0.0f};
    tagFPOINT foot2{0.0f, 0.0f};
    int seg = 0;
    const int result = PointPlumb(q, triple, &foot1, &foot2, &seg);
    if (result <= 0) return -2;
    if (v >= 0 && v + 2 < count && segment != nullptr) *segment = seg;
    tagFPOINT chosen = foot1;
    if (result == ZED_PLUMB_BOTH) {
        if (Distance(foot1, q) > Distance(foot2, q)) chosen = foot2;
    } else if (result == ZED_PLUMB_BOTH_BEFORE) {
        if (Distance(foot1, triple[1]) > Distance(foot2, triple[1])) chosen = foot2;
    }
    if (foot != nullptr) *foot = tagAPOINT(chosen.x, chosen.y);
    return v;
}

int CLS_LK::ComputePlumbFar(tagAPOINT&, tagAPOINT*, int*) const { return -1; }

float CLS_LK::ComputeDistance(tagAPOINT& q) const {
    if (!IsReady(0)) return zed::kNoDistance;
    const int v = SearcheNearVectorIndex(q);
    if (v == -2) return DistancePoints(&q, &points[0]);
    tagAPOINT triple[3];
    if (!CornerTriple(*this, v, Use::kDistance, triple)) return zed::kNoDistance;
    tagFPOINT foot1{0.0f, 0.0f};
    tagFPOINT foot2{0.0f, 0.0f};
    switch (PointPlumb(q, triple, &foot1, &foot2, nullptr)) {
        case ZED_PLUMB_ONE:
            return Distance(foot1, q);
        case ZED_PLUMB_BOTH: {
            const float d1 = Distance(foot1, q);
            const float d2 = Distance(foot2, q);
            return d2 < d1 ? d2 : d1;
        }
        case ZED_PLUMB_ONE_BEFORE:
            return Distance(foot1, triple[1]);
        case ZED_PLUMB_BOTH_BEFORE: {
            const float d1 = Distance(foot1, triple[1]);
            const float d2 = Distance(foot2, triple[1]);
            return d2 < d1 ? d2 : d1;
        }
        default:
            return zed::kNoDistance;
    }
}

float CLS_LK::ComputeDistancePoint(int i, tagAPOINT& q) const {
    if (!IsReady(i)) return zed::kNoDistance;
    return DistancePoints(&q, &points[i]);
}

bool CLS_LK::IsPointIn(tagAPOINT& q) const {
    if (!IsReady(0) || closed == 0) return false;
    return IsPointInArea(q, points, count) != 0;
}
