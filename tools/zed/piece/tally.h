// What a set of pieces holds, counted: for reports, and to tell what a round trip kept.
#ifndef ZED_PIECE_TALLY_H
#define ZED_PIECE_TALLY_H

#include <string>

#include "piece_set.h"

namespace zedpiece {

struct Tally {
    long long pieces = 0, lines = 0, closed = 0, points = 0, corners = 0, notches = 0, drills = 0,
              texts = 0;
    bool operator==(const Tally& o) const;
    bool operator!=(const Tally& o) const { return !(*this == o); }
};

/// Counts both line lists; notches count Notch and Notch2 points.
Tally Count(const Pieces& pieces);
/// "3 pieces, 10 lines (3 closed), 76 points: 14 corners, 7 notches, 4 drill holes, 6 texts"
std::string Describe(const Tally& t);

}  // namespace zedpiece

#endif
