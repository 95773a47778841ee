// Compile-time checks of the packed point layouts that cross the interface.
#include <cstddef>

#include "zedll/points.h"

// offsetof on classes with a base is conditionally supported; GCC gives exact answers for these
// packed, non-virtual layouts.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

static_assert(offsetof(ATR, code) == 0 && offsetof(ATR, kind) == 2 && offsetof(ATR, flags) == 3,
              "ATR: | code u16 | kind u8 | flags u16 |");
static_assert(offsetof(tagFPOINT, y) == 4 && offsetof(tagLPOINT, y) == 4, "2-D points");
static_assert(offsetof(tagF3POINT, z) == 8 && offsetof(tagL3POINT, z) == 8, "3-D points");
static_assert(offsetof(tagAPOINT, x) == 0 && offsetof(tagAPOINT, y) == 4 &&
                  offsetof(tagAPOINT, a) == 8,
              "tagAPOINT: | x | y | a |");
static_assert(offsetof(tagA3POINT, z) == 8 && offsetof(tagA3POINT, a) == 12,
              "tagA3POINT: | x | y | z | a |");
static_assert(offsetof(FRECT, left) == 0 && offsetof(FRECT, top) == 4 &&
                  offsetof(FRECT, right) == 8 && offsetof(FRECT, bottom) == 12,
              "FRECT: | left | top | right | bottom |");
static_assert(alignof(tagAPOINT) == 1 && alignof(tagA3POINT) == 1, "packed: arrays have no gaps");

#pragma GCC diagnostic pop
