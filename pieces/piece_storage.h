// Storage shared by the piece sources: point buffers and text arrays on the process heap, and the
// copy of a piece's header from a piece or an exchange record.
#ifndef ZEDLL_PIECES_PIECE_STORAGE_H
#define ZEDLL_PIECES_PIECE_STORAGE_H

#include <cstddef>
#include <cstdint>

#include "os/heap.h"
#include "zedll/pieces.h"

namespace zed {

/// A zero-filled buffer of `slots` points from the process heap; null when `slots` is not
/// positive, too large to address, or the heap refuses.
tagAPOINT* HeapPoints(int64_t slots);

/// A buffer of `slots` points holding a copy of the first `n` points of `source`, the rest zero;
/// null when `n` is negative or more than `slots`, `slots` is out of range, or the heap refuses.
tagAPOINT* HeapPointsCopy(const tagAPOINT* source, int n, int64_t slots);

/// A heap array of count + 1 text records, each made with defaults; the first `count` are
/// assigned (deep) from `source`. Null for a negative count or when the heap refuses the array.
CLS_OtherText* NewTextArray(const CLS_OtherText* source, int count);

/// Heap copies of the six names and the three die-break texts of a piece or either record.
template <class Source>
void CopyPieceNames(CLS_LineKus& piece, const Source& source) {
    piece.name1 = HeapCopyText(source.name1);
    piece.name2 = HeapCopyText(source.name2);
    piece.name3 = HeapCopyText(source.name3);
    piece.name4 = HeapCopyText(source.name4);
    piece.name5 = HeapCopyText(source.name5);
    piece.name6 = HeapCopyText(source.name6);
    piece.dieBreak1 = HeapCopyText(source.dieBreak1);
    piece.dieBreak2 = HeapCopyText(source.dieBreak2);
    piece.dieBreak3 = HeapCopyText(source.dieBreak3);
}

/// The header of a piece from another piece or a CLS_IOKUS record: the header words, flags,
/// value, rectangles, and heap copies of the six names and the three die-break texts.
template <class Source>
void CopyPieceHeader(CLS_LineKus& piece, const Source& source) {
    piece.header2 = source.header2;
    piece.header0 = source.header0;
    piece.bits = source.bits;
    piece.header1 = source.header1;
    piece.value = source.value;
    piece.rect = source.rect;
    piece.rectAll = source.rectAll;
    CopyPieceNames(piece, source);
}

}  // namespace zed

#endif
