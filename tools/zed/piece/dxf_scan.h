// A first pass over the group codes of a DXF file, before dxflib sees it: dxflib sizes arrays
// from counts in the file, so a count larger than the file itself is refused here.
#ifndef ZED_PIECE_DXF_SCAN_H
#define ZED_PIECE_DXF_SCAN_H

#include <string>

namespace zedpiece {

/// Throws PieceError naming the line when a group code is not a number, or when the leading
/// number of a value of the count and flag groups (70-79, 90-99) exceeds both 65,536 and the
/// number of groups in the file, or is negative in an entity that dxflib sizes arrays from
/// (LWPOLYLINE, SPLINE, HATCH, LEADER).
void CheckDxfGroups(const std::string& bytes, const std::string& source);

}  // namespace zedpiece

#endif
