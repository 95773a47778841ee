// Frozen copies of the first, plain implementations of the curve operations: the faster kernels
// in curves/ must give the same bytes, so these stay as they were written and are never tuned.
#ifndef ZEDLL_TESTS_CURVES_REFERENCE_CURVES_H
#define ZEDLL_TESTS_CURVES_REFERENCE_CURVES_H

#include <vector>

#include "zedll.h"

namespace zedtest {
namespace reference {

/// A whole result block as the plain code leaves it: every allocated element, written or not.
template <class Point>
struct Result {
    bool null = true;              // the operation returned null / failed
    int count = 0;                 // the reported count
    std::vector<Point> block;      // the allocated array, zero-filled where nothing was written
};

Result<tagAPOINT> BetaSpline(const tagAPOINT* points, int n, bool keep);
Result<tagA3POINT> BetaSpline(const tagA3POINT* points, int n, bool keep);
/// nunispl: the block holds count + 1 points.
Result<tagA3POINT> Nunispl(const tagA3POINT* points, int n, int request);
/// NoUniformSpline: the block holds 20 n points.
Result<tagAPOINT> NoUniformSpline(const tagAPOINT* points, int n, int request);
/// InsetPt: the block holds count + 2 points; null when the walk is refused.
Result<tagAPOINT> InsetPt(const tagAPOINT* points, int n, float spacing);

}  // namespace reference
}  // namespace zedtest

#endif
