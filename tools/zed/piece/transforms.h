// What the piece commands do to pieces: preparation, smoothing, resampling.
#ifndef ZED_PIECE_TRANSFORMS_H
#define ZED_PIECE_TRANSFORMS_H

#include "piece_set.h"

namespace zedpiece {

/// Flattens each piece (MakeArray) and prepares the outline again: lines that a pen lift of at
/// most 10 units separates join, closure and orientation are decided afresh.
void PreparePieces(Pieces& pieces);

enum class SmoothMethod { Beta, Chord };
/// Smooths every line of more than two points: the uniform B-spline keeping corners (lines of
/// fewer than 7 points stay), or the chord-length spline with `points` per run (0: two samples
/// per segment).
void SmoothPieces(Pieces& pieces, SmoothMethod method, int points);

/// Lays the points of every line of two or more points at an even spacing. Corner, notch, drill
/// and mark points keep their place and attribute unless the spacing merges them.
void ResamplePieces(Pieces& pieces, float spacing);

}  // namespace zedpiece

#endif
