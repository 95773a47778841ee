// The turning direction of a point list, without the sequential chain of the signed area.
#ifndef ZEDLL_GEOMETRY_ORIENTATION_H
#define ZEDLL_GEOMETRY_ORIENTATION_H

#include "zedll/points.h"

namespace zed {

/// The sign of the signed area that Surface sums term by term in order: -1 when that sum is
/// negative, 1 when positive, 0 when it is zero or not a number. Always the sign of that very
/// sum, though most lists are decided by a faster sum in four lanes.
int SurfaceSign(const tagAPOINT* points, int count);

}  // namespace zed

#endif
