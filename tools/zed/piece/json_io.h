// Piece files in JSON (see docs/piece.md and docs/piece.schema.json).
#ifndef ZED_PIECE_JSON_IO_H
#define ZED_PIECE_JSON_IO_H

#include <ostream>
#include <string>

#include "piece_set.h"

namespace zedpiece {

/// Reads one piece, a list of pieces, or a document {"format": "zed-pieces", "pieces": [...]}.
/// `source` names the input in error messages.
Pieces ReadJson(const std::string& bytes, const std::string& source);
/// Writes a document holding every piece, one line of the file per line of a piece. Reading it
/// and writing it again gives the same bytes.
void WriteJson(const Pieces& pieces, std::ostream& out);

/// Flag bit names in JSON, bit 0 first ("Bit3", "Bit9" ... for the bits the library carries).
const char* FlagName(int bit);

}  // namespace zedpiece

#endif
