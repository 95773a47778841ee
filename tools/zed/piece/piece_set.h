// Pieces as the zed piece commands hold them, and the small helpers every reader and writer shares.
#ifndef ZED_PIECE_PIECE_SET_H
#define ZED_PIECE_PIECE_SET_H

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "zedll.h"

namespace zedpiece {

/// A failure that names where it happened (file, line or entity, field); the command prints it
/// and exits with status 1.
struct PieceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using PiecePtr = std::unique_ptr<CLS_LineKus>;
using Pieces = std::vector<PiecePtr>;
/// Receives warnings (skipped instructions and entities); may be empty.
using Warn = std::function<void(const std::string&)>;

/// Appends a line whose header is given exactly (AddLine decides closure by its own rule, which a
/// file's own values then override); a sub-type of -2 (subDerive) keeps the one AddLine derives
/// from the first point.
void AddExactLine(CLS_LineKus& piece, const std::vector<tagAPOINT>& points, int type, int sub_type,
                  int closed, int clockwise, uint32_t code, int32_t param, bool second_list = false);
/// Sets `rect` and `rectAll` to the box of every point of both lists ((0,0,0,0) without points).
void SetPieceRect(CLS_LineKus& piece);
/// The six names and three die-break texts as strings ("" for none).
std::string Name(const char* text);
/// Sets one name (index 0..5) or die-break text (index 6..8).
void SetText(CLS_LineKus& piece, int index, const std::string& text);
/// Points of a line as a vector.
std::vector<tagAPOINT> LinePoints(const CLS_LK& line);
/// Number of points over both lists.
long long CountPoints(const Pieces& pieces);

}  // namespace zedpiece

#endif
