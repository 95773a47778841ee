// SVG pictures of pieces, for a person to look at.
#ifndef ZED_PIECE_SVG_WRITE_H
#define ZED_PIECE_SVG_WRITE_H

#include <ostream>

#include "piece_set.h"

namespace zedpiece {

/// Draws the pieces side by side, y axis up: each line in the colour of its kind, closed
/// outlines filled lightly, notches as ticks across the outline, drill holes as circles, corners
/// as small squares, names and free texts, and a scale bar in drawing units (millimetres).
void WriteSvg(const Pieces& pieces, std::ostream& out);

}  // namespace zedpiece

#endif
