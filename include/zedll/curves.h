// Curves and resampling: the spline class CLS_Spline and even point spacing along outlines.
#ifndef ZEDLL_CURVES_H
#define ZEDLL_CURVES_H

#include "zedll/export.h"
#include "zedll/points.h"

/// Smooths polylines of control points. One object holds two result arrays, one of plane points
/// and one of spatial points; each operation that produces an array of a kind replaces the array
/// of that kind, and the caller reads it but never releases it. An array stays valid until the
/// next such call on the same object, or until the object is destroyed.
///
/// Object layout (two pointers, nothing else):
///
///   +0             +4 (+8 on 64-bit)
///   | plane array  | spatial array  |
///   | tagAPOINT*   | tagA3POINT*    |
///
/// Copies share the arrays: after `b = a` both objects return the same arrays, which stay valid
/// until every object holding them has replaced or dropped them; no array is released twice.
/// Threads: one object is used by one thread at a time; copies held on different threads are safe.
class ZEDLL_API CLS_Spline {
public:
    /// Both result arrays null.
    CLS_Spline();
    /// Shares `other`'s arrays.
    CLS_Spline(const CLS_Spline& other);
    /// Drops this object's arrays and shares `other`'s.
    CLS_Spline& operator=(const CLS_Spline& other);
    /// Releases the arrays no other copy holds.
    ~CLS_Spline();

    /// Uniform cubic B-spline through `count` control points, two samples per segment (t = 0 and
    /// t = 0.5), first and last control points kept as they are. With `keep`, a control point
    /// whose Corner bit is set replaces its segment's two samples. Returns the object's new plane
    /// array and writes its length (2 + 2*(count - 3) minus the kept points) to `out_count`.
    /// Fewer than 7 points, or a null `points` or `out_count`: null, `out_count` and the held
    /// array untouched. Failed allocation: null, `out_count` 0, the plane array released.
    tagAPOINT* BetaSpline(tagAPOINT* points, int count, int* out_count, bool keep);
    /// As above on spatial points (z smoothed like x and y) and the object's spatial array. Kept
    /// points carry their code and Draw bit unchanged.
    tagA3POINT* BetaSpline(tagA3POINT* points, int count, int* out_count, bool keep);

    /// Interpolating cubic spline on chord length, run by run: corner points end a run, repeated
    /// ordinary points are merged, runs of fewer than 3 points pass unchanged. `request` 0 gives
    /// two samples per segment; m >= 2 gives m points per run, evenly spaced by arc length
    /// (`request` equal to `count` gives each run as many points as it has). Returns the object's
    /// new plane array (room for 20 * count points) and writes the number of points to
    /// `out_count`. Every point has its Spline bit clear.
    /// A run whose points would not fit into the 20 * count points adds nothing, as does a run
    /// that cannot be splined (`request` 1 or negative); a run reaching 32767 points is closed
    /// there as if that point were a corner.
    /// `count` 0: the previous array released, `out_count` 0 and a new empty array. Null `points`
    /// or `out_count`, or `count` negative or above 107374182: null, nothing changed.
    /// Failed allocation: null, `out_count` 0, the plane array released.
    tagAPOINT* NoUniformSpline(tagAPOINT* points, int count, int* out_count, int request);

    /// Natural cubic spline through `count` points (3 to 32767), parameterised by chord length in
    /// the plane. `request` 0: 2*count - 1 points, the given points at the even positions and the
    /// curve at each chord's middle parameter between them. `request` m >= 2: m points spaced by
    /// equal arc length, the first and last exactly the given ends. z of every point is 0.
    /// On success returns 1, writes the count and a new array of count + 1 zero-filled points from
    /// the process heap, which the caller returns to the process heap (HeapFree).
    /// On failure (fewer than 3 or more than 32767 points, `request` 1 or negative, a null
    /// argument, no memory) returns -1 and writes nothing.
    int nunispl(tagA3POINT* points, int count, int* out_count, tagA3POINT** out_array, int request);

private:
    tagAPOINT* plane_;
    tagA3POINT* spatial_;
};

// Hosts embed the object: its size is part of the interface (8 bytes in the 32-bit DLL).
static_assert(sizeof(CLS_Spline) == 2 * sizeof(void*), "CLS_Spline is two array pointers");

/// Lays points along the polyline `points[0..count-1]` at an even `spacing`: the first point
/// exactly, then points `spacing` apart (evened towards each corner so that one lands on it), on
/// every corner (Corner bit) that is not within spacing/2 of the corner before it, and on the last
/// point; all but the first point are rounded to a 0.08 grid. A two-point input at most 10 units
/// long comes back unchanged.
/// Returns the number of points and stores in `*result` a new process-heap array of that many
/// points plus two zero points; each point has code 1 and the Draw bit set, except the first,
/// whose Draw bit is clear. Release it with InsetPtFree.
///
///   | point 0        | point 1       | ... | point count-1 | zero point | zero point |
///   | code 1, no Draw| code 1, Draw  |     | code 1, Draw  | (13 bytes each, packed)  |
/// Two points at most 10 apart come back as they are, whatever the spacing. Null `points`,
/// `count` < 2, a spacing that is not a positive finite number, a longer polyline of more than
/// 8388608 spacings (or with a non-finite length), or no memory: 0 and `*result` null.
/// Not for concurrent use: the output capacity is one process-wide value.
ZEDLL_FUNC int ZEDLL_STDCALL InsetPt(tagAPOINT* points, int count, tagAPOINT** result, float spacing);

/// Releases an array returned by InsetPt and sets `*result` to null. Null `result` or `*result`:
/// nothing happens. Always returns 0.
ZEDLL_FUNC int ZEDLL_STDCALL InsetPtFree(tagAPOINT** result);

#endif
