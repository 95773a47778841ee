// Damaged piece files: every truncation and thousands of mutations end in a clean error or in
// pieces, never a crash or a hang (this suite runs under the sanitizers).
#include <gtest/gtest.h>

#include <sstream>

#include "piece/dxf.h"
#include "piece/formats.h"
#include "piece/hpgl.h"
#include "piece/json_io.h"
#include "piece_samples.h"

namespace {

using namespace zedpiece;

using Reader = Pieces (*)(const std::string&);

Pieces FromJson(const std::string& b) { return ReadJson(b, "m.json"); }
Pieces FromDxf(const std::string& b) { return ReadDxf(b, "m.dxf", nullptr); }
Pieces FromHpgl(const std::string& b) { return ReadHpgl(b, "m.plt", kPlotterUnitsPerMm, nullptr); }

// Reads, then writes what was read in every format: a reader must hand over pieces the writers
// can take.
int Outcome(Reader read, const std::string& bytes) {
    try {
        const Pieces p = read(bytes);
        std::ostringstream sink;
        WriteJson(p, sink);
        WriteDxf(p, sink, 12);
        WriteHpgl(p, sink, kPlotterUnitsPerMm);
        return 1;
    } catch (const PieceError& e) {
        EXPECT_NE(std::string(e.what()).find("m."), std::string::npos) << "no file name: " << e.what();
        return 0;
    }
}

std::string Mutate(std::string s, std::mt19937& rng) {
    static const char* const kTokens[] = {"-", "1e38", "nan", "999999999", "\n", ";", ",", "PD",
                                          "\"", "[", "]", "{", "}", "0\nPOLYLINE\n", "0\nVERTEX\n",
                                          "8\n1\n", "90\n", "\x03", "\xff", "0"};
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const size_t at = rng() % s.size();
        switch (rng() % 5) {
            case 0: s[at] = static_cast<char>(rng()); break;
            case 1: s.erase(at, 1 + rng() % 8); break;
            case 2: s.insert(at, kTokens[rng() % (sizeof kTokens / sizeof *kTokens)]); break;
            case 3: s.insert(at, s.substr(rng() % s.size(), rng() % 64)); break;
            default: s.resize(at); break;
        }
    }
    return s;
}

struct Format {
    const char* name;
    Reader read;
    std::string bytes;
};

std::vector<Format> Formats() {
    const Pieces sample = zedtest::SamplePieces();
    std::ostringstream dxf, hpgl;
    WriteDxf(sample, dxf, 12);
    WriteHpgl(sample, hpgl, kPlotterUnitsPerMm);
    std::vector<Format> f = {{"JSON", FromJson, zedtest::SampleBytes("blouse.json")},
                             {"HP-GL", FromHpgl, hpgl.str()}};
    if (CanReadDxf()) f.push_back({"DXF", FromDxf, dxf.str()});
    return f;
}

TEST(PieceHostileFiles, EveryTruncationIsReadOrRefused) {
    for (const Format& f : Formats()) {
        int read = 0;
        const size_t step = f.bytes.size() / 400 + 1;
        for (size_t n = 0; n < f.bytes.size(); n += step) read += Outcome(f.read, f.bytes.substr(0, n));
        EXPECT_EQ(Outcome(f.read, f.bytes), 1) << f.name;
        RecordProperty(std::string(f.name) + " truncations read", read);
    }
}

TEST(PieceHostileFiles, ThousandsOfMutationsAreReadOrRefused) {
    std::mt19937 rng(2024);
    for (const Format& f : Formats()) {
        int read = 0, refused = 0;
        for (int i = 0; i < 3000; ++i) (Outcome(f.read, Mutate(f.bytes, rng)) ? read : refused)++;
        EXPECT_GT(refused, 0) << f.name;
        std::cout << f.name << ": " << read << " mutations read, " << refused << " refused\n";
    }
}

TEST(PieceHostileFiles, DeepNestingHugeNumbersAndControlBytes) {
    const struct {
        Reader read;
        std::string bytes;
        int outcome;   // 1 read, 0 refused
    } cases[] = {
        {FromJson, std::string(100000, '[') + std::string(100000, ']'), 0},
        {FromJson, R"({"lines":[{"points":[[0,0,"",1,99999999999999999999999]]}]})", 0},
        {FromJson, std::string("{\"names\":[\"") + std::string(1, '\0') + "\"]}", 0},
        {FromHpgl, "PD" + std::string(100000, '1') + ",0;", 0},
        {FromHpgl, std::string(100000, '\x1b'), 1},   // device control only: an empty piece
    };
    for (const auto& c : cases) EXPECT_EQ(Outcome(c.read, c.bytes), c.outcome) << c.bytes.substr(0, 40);
}

}  // namespace
