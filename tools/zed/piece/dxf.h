// DXF in the pattern-exchange form of garment CAD: one block per piece, layers by number.
#ifndef ZED_PIECE_DXF_H
#define ZED_PIECE_DXF_H

#include <ostream>
#include <string>

#include "piece_set.h"

namespace zedpiece {

/// Layer numbers of the exchange form that pieces use.
namespace layer {
constexpr int kBoundary = 1, kTurnPoints = 2, kCurvePoints = 3, kNotches = 4, kMirror = 6,
              kGrain = 7, kInternal = 8, kCutout = 11, kDrill = 13, kSew = 14, kAnnotation = 15;
}

/// A text as a DXF line holds it: control characters become blanks; for piece texts
/// ("Piece Name: ..."), blanks at either end go as well, since readers drop them.
std::string DxfText(const std::string& s, bool trim);

/// Reads every block that holds a boundary (layer 1) as one piece. Throws PieceError; on builds
/// without the DXF library, always throws saying so.
Pieces ReadDxf(const std::string& bytes, const std::string& source, const Warn& warn);
/// Writes the pieces as ASCII DXF: version 12 (POLYLINE, the exchange form's own) or 2000
/// (LWPOLYLINE).
void WriteDxf(const Pieces& pieces, std::ostream& out, int version);

}  // namespace zedpiece

#endif
