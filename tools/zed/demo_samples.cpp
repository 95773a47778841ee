// zed demo, sample pieces: the bundled blouse through JSON, DXF and HP-GL and back, smoothed and
// resampled, and drawn to demo.svg (and demo.png when rsvg-convert is installed).
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>

#include "commands.h"
#include "piece/file_io.h"
#include "piece/formats.h"
#include "piece/json_io.h"
#include "piece/png_render.h"
#include "piece/tally.h"
#include "piece/transforms.h"
#include "sample_pieces.h"

namespace zedtool {
namespace {

using namespace zedpiece;

// Writes the pieces in one format into the folder and reads them back.
Pieces Through(const Pieces& pieces, const std::string& file, Format format, std::string* bytes) {
    FormatOptions options;
    WritePieces(file, format, pieces, options);
    *bytes = ReadInput(file);
    return ReadPieces(file, format, options);
}

std::string Verdict(const Tally& before, const Tally& after) {
    return before == after ? "every point, corner, notch and drill hole back" : "now " + Describe(after);
}

}  // namespace

int DemoSamples(std::ostream& out) {
    try {
        const Pieces pieces = ReadJson(SamplePiecesJson(), "the sample pieces");
        const Tally tally = Count(pieces);
        out << "\nSample pieces (a blouse drawn for zed: front, back and sleeve)\n  " << Describe(tally) << "\n";
        const std::filesystem::path dir = std::filesystem::absolute("demo-pieces");
        std::filesystem::create_directories(dir);

        std::string bytes;
        const Pieces json = Through(pieces, (dir / "blouse.json").string(), Format::Json, &bytes);
        std::ostringstream again;
        WriteJson(json, again);
        out << "  JSON   " << bytes.size() << " bytes; read and written again: "
            << (again.str() == bytes ? "the same bytes" : "DIFFERENT bytes") << "\n";

        const std::string dxf_file = (dir / "blouse.dxf").string();
        if (CanReadDxf()) {
            const Pieces dxf = Through(pieces, dxf_file, Format::Dxf, &bytes);
            Tally kept = tally;
            kept.texts = Count(dxf).texts;   // piece names travel as texts of their own
            out << "  DXF    " << bytes.size() << " bytes, one block per piece; read back: " << Verdict(kept, Count(dxf))
                << "\n";
        } else {
            WritePieces(dxf_file, Format::Dxf, pieces, FormatOptions());
            out << "  DXF    written; this build reads no DXF\n";
        }

        const Pieces plotted = Through(pieces, (dir / "blouse.plt").string(), Format::Hpgl, &bytes);
        const Tally p = Count(plotted);
        out << "  HP-GL  " << bytes.size() << " bytes, pen up and down only; read back and prepared into "
            << p.lines << " lines of " << p.points << " points (" << (p.points == tally.points ? "all" : "NOT all")
            << " of them), the marks left behind\n";

        Pieces smooth = ReadJson(SamplePiecesJson(), "the sample pieces");
        SmoothPieces(smooth, SmoothMethod::Chord, 0);
        out << "  smoothed (chord-length spline): " << Count(smooth).points << " points\n";
        ResamplePieces(smooth, 5.0f);
        out << "  resampled every 5 mm: " << Count(smooth).points << " points, " << Count(smooth).notches
            << " notches kept in place\n";

        const std::string svg = std::filesystem::absolute("demo.svg").string();
        WritePieces(svg, Format::Svg, pieces, FormatOptions());
        out << "  drawing: " << svg << "\n";
        try {
            const std::string png = std::filesystem::absolute("demo.png").string();
            RenderPng(svg, png, 1200);
            out << "  picture: " << png << "\n";
        } catch (const PieceError& e) {
            out << "  no picture: " << e.what() << "\n";
        }
        out << "  files: " << dir.string() << "\n";
    } catch (const std::exception& e) {
        out << "zed demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace zedtool
