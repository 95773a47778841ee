// Exported plane-geometry functions on the point types (x and y only; z and attributes ignored).
#ifndef ZEDLL_GEOMETRY_H
#define ZEDLL_GEOMETRY_H

#include "zedll/export.h"
#include "zedll/points.h"

/// PointPlumb results: where the perpendicular from a point meets a corner p0-p1-p2.
enum ZedPlumbCase {
    ZED_PLUMB_NONE = 0,           ///< no foot
    ZED_PLUMB_ONE = 1,            ///< a foot inside exactly one segment, or the point is the corner
    ZED_PLUMB_BOTH = 2,           ///< a foot inside each segment
    ZED_PLUMB_ONE_BEFORE = 3,     ///< one foot, before a segment start by at most its length
    ZED_PLUMB_BOTH_BEFORE = 4,    ///< two such feet
};

/// Angle at `vertex` between the rays to `a` and `b`, in degrees 0..180 (NaN for a zero ray).
ZEDLL_FUNC float ZEDLL_STDCALL Uhel2DDegree(tagA3POINT a, tagA3POINT vertex, tagA3POINT b);

/// 1 if the arc from `start` through `middle` to `end` runs counter-clockwise (y up) about
/// `centre`, else 0.
ZEDLL_FUNC int ZEDLL_STDCALL ArcDirect2D(tagA3POINT start, tagA3POINT centre, tagA3POINT middle,
                                         tagA3POINT end);

/// 1 clockwise, 0 counter-clockwise, -1 zero area (see Surface; null or < 2 points give -1).
ZEDLL_FUNC int ZEDLL_STDCALL ClockWise(tagAPOINT* points, int count);

/// Signed area of the open list: half the sum over consecutive pairs only (no closing term;
/// repeat the first point at the end for a closed outline). Positive counter-clockwise.
/// Null or fewer than 2 points give 0.
ZEDLL_FUNC double ZEDLL_STDCALL Surface(tagAPOINT* points, int count);

/// 1 if `point` is inside the polygon (odd number of crossings of the ray towards (+1, +1));
/// edges join consecutive points only. 0 for null or fewer than 2 points.
ZEDLL_FUNC int ZEDLL_STDCALL IsPointInArea(tagAPOINT point, tagAPOINT* polygon, int count);

/// 1 if segment a0-a1 crosses b0-b1. `crossing` receives x, y of the crossing of the lines once
/// it lies within a0-a1 (even if the result is then 0); it may be null.
ZEDLL_FUNC int ZEDLL_STDCALL CrossVectors(tagAPOINT a0, tagAPOINT a1, tagAPOINT b0, tagAPOINT b1,
                                          tagFPOINT* crossing);

/// Perpendicular from `point` onto the polyline corners[0]-corners[1]-corners[2]; result is a
/// ZedPlumbCase. `foot`, `second_foot` and `segment` receive results where the case gives them
/// (segment 1 = the foot is on the second segment) and may be null. Null corners give 0.
ZEDLL_FUNC int ZEDLL_STDCALL PointPlumb(tagAPOINT point, tagAPOINT* corners, tagFPOINT* foot,
                                        tagFPOINT* second_foot, int* segment);

/// Distance of the two points (3.4028235e38 if either is null).
ZEDLL_FUNC float ZEDLL_STDCALL DistancePoints(tagAPOINT* a, tagAPOINT* b);

/// true when nominal - d <= value <= nominal + d, d = tolerance, or nominal/100*tolerance when
/// `percent`.
ZEDLL_FUNC bool ZEDLL_STDCALL Tolerance(double value, double nominal, double tolerance,
                                        bool percent);

/// Circle through three points: 1 and the centre and radius (outputs may be null), or 0 for
/// collinear points with nothing written.
ZEDLL_FUNC int ZEDLL_STDCALL ArcParameters(tagA3POINT p0, tagA3POINT p1, tagA3POINT p2,
                                           tagFPOINT* centre, float* radius);

/// 1 if every three consecutive points (collinear triples skipped) give a radius within 2 units
/// of the first; 0 for fewer than 5 points or when no triple has a circle.
ZEDLL_FUNC int ZEDLL_STDCALL IsCircle(tagAPOINT* points, int count);

/// As IsCircle with z ignored, but every radius must equal the first exactly.
ZEDLL_FUNC int ZEDLL_STDCALL IsCircle3P(tagA3POINT* points, int count);

#endif
