// What the DXF reader collects of a piece before it becomes one: lines, marker points and texts.
#ifndef ZED_PIECE_DXF_RAW_H
#define ZED_PIECE_DXF_RAW_H

#include <string>
#include <vector>

#include "zedll.h"

namespace zedpiece {

struct RawLine {
    int layer = 0;
    bool closed = false;
    bool segment = false;   // a LINE entity, which boundaries drawn in pieces are chained from
    std::vector<tagAPOINT> points;
};

struct RawMarker {
    int layer = 0;
    double x = 0, y = 0;
};

/// A marker lands on a line point within this distance; a notch or turn point farther from every
/// vertex but this close to a segment becomes a new point on it.
constexpr double kOnLine = 0.01;

/// Whether two places are within kOnLine of each other.
inline bool WithinReach(double ax, double ay, double bx, double by) {
    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by) <= kOnLine * kOnLine;
}

/// Gives each marker's flag to the points of the lines it falls on: every vertex within reach in
/// the first line (in order) that has one (a closed outline repeats its first point at the end);
/// failing that, when `insert` allows, a new point on the nearest segment within reach. Returns
/// per marker whether it found a place. Markers that may add points go first, so that the others
/// (drill holes) find those points too. Vertices and segments are looked up in a grid, so the
/// work grows with the points, not with points times markers.
std::vector<bool> PlaceMarkers(std::vector<RawLine>& lines, const std::vector<RawMarker>& markers,
                               const std::vector<uint16_t>& flags, const std::vector<bool>& insert);

}  // namespace zedpiece

#endif
