// The piece file formats by name or by extension, and reading and writing through them.
#ifndef ZED_PIECE_FORMATS_H
#define ZED_PIECE_FORMATS_H

#include <string>

#include "piece_set.h"

namespace zedpiece {

enum class Format { Json, Dxf, Hpgl, Svg };

struct FormatOptions {
    double hpgl_units = 40.0;   ///< plotter units per drawing unit
    int dxf_version = 12;       ///< 12 (POLYLINE) or 2000 (LWPOLYLINE)
    Warn warn;
};

/// "json", "dxf", "hpgl"/"plt", "svg" (any case); throws PieceError otherwise.
Format FormatNamed(const std::string& name);
/// `name` when it is not empty, else from the extension of `path` (standard input and output,
/// "-", need a name).
Format FormatFor(const std::string& path, const std::string& name);
const char* FormatLabel(Format f);

/// Whether this build reads DXF (the Windows builds do not).
bool CanReadDxf();

Pieces ReadPieces(const std::string& path, Format format, const FormatOptions& options);
void WritePieces(const std::string& path, Format format, const Pieces& pieces,
                 const FormatOptions& options);

}  // namespace zedpiece

#endif
