// Fuzz target: DXF files through dxflib. Whatever reads writes a DXF that reads back to pieces
// writing the same DXF.
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "piece/dxf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zedpiece;
    if (size > 200000) return 0;   // dxflib's line reader is slow on long inputs; nothing new there
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Pieces pieces;
    try {
        pieces = ReadDxf(bytes, "fuzz.dxf", nullptr);
    } catch (const PieceError&) {
        return 0;
    }
    std::ostringstream first, second;
    WriteDxf(pieces, first, 12);
    WriteDxf(ReadDxf(first.str(), "again.dxf", nullptr), second, 12);
    FUZZ_CHECK(first.str() == second.str());
    return 0;
}
