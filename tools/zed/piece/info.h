// zed piece info: a table of the lines of each piece.
#ifndef ZED_PIECE_INFO_H
#define ZED_PIECE_INFO_H

#include <ostream>
#include <string>

#include "piece_set.h"

namespace zedpiece {

/// One block per piece: its names and counts, then one row per line: type, sub-type, points,
/// closed or open, orientation, area, perimeter and bounding box.
void WriteInfo(const Pieces& pieces, const std::string& source, std::ostream& out);

}  // namespace zedpiece

#endif
