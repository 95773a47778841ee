// Format dispatch for the piece commands.
#include "formats.h"

#include <algorithm>
#include <cctype>

#include "dxf.h"
#include "file_io.h"
#include "hpgl.h"
#include "json_io.h"
#include "svg_write.h"

namespace zedpiece {

Format FormatNamed(const std::string& name) {
    std::string n = name;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
    if (n == "json") return Format::Json;
    if (n == "dxf") return Format::Dxf;
    if (n == "hpgl" || n == "plt" || n == "hpg") return Format::Hpgl;
    if (n == "svg") return Format::Svg;
    throw PieceError("unknown format \"" + name + "\" (json, dxf, hpgl or svg)");
}

Format FormatFor(const std::string& path, const std::string& name) {
    if (!name.empty()) return FormatNamed(name);
    const size_t dot = path.rfind('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        throw PieceError(path + ": cannot tell the format from the name; give --from or --to");
    return FormatNamed(path.substr(dot + 1));
}

const char* FormatLabel(Format f) {
    switch (f) {
        case Format::Json: return "JSON";
        case Format::Dxf: return "DXF";
        case Format::Hpgl: return "HP-GL";
        case Format::Svg: return "SVG";
    }
    return "?";
}

Pieces ReadPieces(const std::string& path, Format format, const FormatOptions& options) {
    const std::string source = path == "-" ? "standard input" : path;
    switch (format) {
        case Format::Json: return ReadJson(ReadInput(path), source);
        case Format::Dxf: return ReadDxf(ReadInput(path), source, options.warn);
        case Format::Hpgl: return ReadHpgl(ReadInput(path), source, options.hpgl_units, options.warn);
        case Format::Svg: break;
    }
    throw PieceError(source + ": SVG pictures are written, not read");
}

void WritePieces(const std::string& path, Format format, const Pieces& pieces,
                 const FormatOptions& options) {
    WriteOutput(path, [&](std::ostream& out) {
        switch (format) {
            case Format::Json: WriteJson(pieces, out); break;
            case Format::Dxf: WriteDxf(pieces, out, options.dxf_version); break;
            case Format::Hpgl: WriteHpgl(pieces, out, options.hpgl_units); break;
            case Format::Svg: WriteSvg(pieces, out); break;
        }
    });
}

}  // namespace zedpiece
