// HP-GL plotter files: raw outlines, pen up and pen down, as the plotters of the cutting room
// take them.
#ifndef ZED_PIECE_HPGL_H
#define ZED_PIECE_HPGL_H

#include <ostream>
#include <string>

#include "piece_set.h"

namespace zedpiece {

/// Plotter units per drawing unit: 40 per millimetre.
constexpr double kPlotterUnitsPerMm = 40.0;

/// Reads IN, SP, PU, PD, PA and PR (separated by ';', newlines, or the next mnemonic; numbers
/// separated by commas or blanks) into one piece. Every coordinate visited becomes a point,
/// drawn when the pen is down; the point's code is the pen number. Coordinates are divided by
/// `units_per_drawing_unit`. The outline then goes through Prepare. Other instructions are
/// skipped with a warning (LB up to its terminator).
Pieces ReadHpgl(const std::string& bytes, const std::string& source, double units_per_drawing_unit,
                const Warn& warn);
/// Writes every piece's MakeArray outline: IN, then SP when the point's code changes, PU for a
/// point without Draw and PD for one with it, coordinates rounded to whole plotter units.
void WriteHpgl(const Pieces& pieces, std::ostream& out, double units_per_drawing_unit);

}  // namespace zedpiece

#endif
