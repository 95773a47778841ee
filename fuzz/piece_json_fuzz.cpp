// Fuzz target: JSON piece files. Whatever reads writes back to JSON that reads to the same bytes.
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "piece/json_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zedpiece;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Pieces pieces;
    try {
        pieces = ReadJson(bytes, "fuzz.json");
    } catch (const PieceError&) {
        return 0;
    }
    std::ostringstream first, second;
    WriteJson(pieces, first);
    WriteJson(ReadJson(first.str(), "again.json"), second);
    FUZZ_CHECK(first.str() == second.str());
    return 0;
}
