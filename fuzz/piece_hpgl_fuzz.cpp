// Fuzz target: HP-GL plotter files. Whatever reads writes a file that reads back to pieces
// writing the same file.
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "piece/hpgl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zedpiece;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Pieces pieces;
    try {
        pieces = ReadHpgl(bytes, "fuzz.plt", kPlotterUnitsPerMm, nullptr);
    } catch (const PieceError&) {
        return 0;
    }
    std::ostringstream first, second;
    WriteHpgl(pieces, first, kPlotterUnitsPerMm);
    WriteHpgl(ReadHpgl(first.str(), "again.plt", kPlotterUnitsPerMm, nullptr), second, kPlotterUnitsPerMm);
    FUZZ_CHECK(first.str() == second.str());
    return 0;
}
