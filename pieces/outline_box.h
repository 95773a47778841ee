// The bounding box of a run of points, as a line's rectangle is grown point by point.
#ifndef ZEDLL_PIECES_OUTLINE_BOX_H
#define ZEDLL_PIECES_OUTLINE_BOX_H

#include "zedll/points.h"

namespace zed {

/// The box of n ≥ 1 points: the first point's, grown by each further one in order, where a
/// coordinate replaces a bound only when it is strictly beyond it (so NaNs never do, and of two
/// equal bounds the earlier stays). The straightforward loop.
FRECT BoxInOrder(const tagAPOINT* p, int n);

/// The same box, bit for bit, grown in several lanes at once.
FRECT BoxOf(const tagAPOINT* p, int n);

}  // namespace zed

#endif
