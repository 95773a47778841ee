// Helpers shared by the piece sources: heap texts, point buffers and sub-type derivation.
#ifndef ZEDLL_PIECES_INTERNAL_H
#define ZEDLL_PIECES_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "zedll/pieces.h"

namespace zed {


/// A zero-filled buffer of `slots` points from the process heap; null when `slots` is not
/// positive, too large to address, or the heap refuses.
tagAPOINT* HeapPoints(int64_t slots);

/// A buffer of `slots` points holding a copy of the first `n` points of `source`, the rest zero;
/// null when `n` is negative or more than `slots`, `slots` is out of range, or the heap refuses.
tagAPOINT* HeapPointsCopy(const tagAPOINT* source, int n, int64_t slots);

/// The sub-type a line gets from its first point: later rules override earlier ones.
CLS_LK::TSLine DeriveSubType(const ATR& first);

/// A heap array of count + 1 text records, each made with defaults; the first `count` are
/// assigned (deep) from `source`. Null for a negative count or when the heap refuses the array.
CLS_OtherText* NewTextArray(const CLS_OtherText* source, int count);

}  // namespace zed

#endif
