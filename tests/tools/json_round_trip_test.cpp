// JSON piece files: what zed writes reads back to the same bytes.
#include <gtest/gtest.h>

#include "piece/json_io.h"
#include "piece_samples.h"

namespace {

using namespace zedpiece;
using zedtest::AsJson;

TEST(PieceJson, TheSampleFileReadsAndWritesToItsOwnBytes) {
    const std::string bytes = zedtest::SampleBytes("blouse.json");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(AsJson(ReadJson(bytes, "blouse.json")), bytes);
}

TEST(PieceJson, RandomPiecesWithEveryFieldSurviveTwoRoundTrips) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 300; ++trial) {
        const Pieces pieces = zedtest::RandomJsonPieces(rng);
        const std::string first = AsJson(pieces);
        const Pieces back = ReadJson(first, "first");
        ASSERT_EQ(back.size(), pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i) EXPECT_TRUE(*back[i] == *pieces[i]) << "trial " << trial;
        ASSERT_EQ(AsJson(back), first) << "trial " << trial;
    }
}

TEST(PieceJson, OnePieceAListOrADocumentAllRead) {
    const struct {
        const char* text;
        size_t pieces;
    } cases[] = {
        {R"({"lines":[{"points":[[0,0],[1,0,"Draw"]]}]})", 1},
        {R"([{"lines":[]},{"names":["A"]}])", 2},
        {R"({"format":"zed-pieces","pieces":[]})", 0},
        {R"({"pieces":[{}]})", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadJson(c.text, "case").size(), c.pieces) << c.text;
}

TEST(PieceJson, ErrorsNameThePieceLinePointAndField) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {R"({"lines":[{"points":[[0,0],[1,"y"]]}]})", "case: piece 1, line 1, point 2: field \"y\": expected a number"},
        {R"({"lines":[{"points":[[0,0,"Draw+Nope"]]}]})", "point 1: field \"flags\": unknown flag \"Nope\""},
        {R"({"lines":[{"points":[[0,0,"",70000]]}]})", "field \"code\": out of range"},
        {R"({"lines":[{"points":[[1e39,0]]}]})", "case: JSON number overflow parsing '1e39'"},
        {R"([{}, {"texts":[{"text":5}]}])", "piece 2, text 1: field \"text\": expected a string"},
        {R"({"names":["a","b","c","d","e","f","g"]})", "field \"names\": expected an array of at most 6"},
        {R"({"format":"other","pieces":[]})", "field \"format\": expected \"zed-pieces\""},
        {"{\"lines\":[\n{\"points\":[}", "case:2:12: JSON syntax error"},
        {"42", "expected a piece, a list of pieces"},
        {R"({"lines":[{"pionts":[]}]})", "line 1: field \"pionts\": unknown field"},
        {R"({"pieces":[],"version":2})", "field \"version\": this zed reads version 1"},
    };
    for (const auto& c : cases) {
        zedtest::ExpectRefused([&] { ReadJson(c.text, "case"); }, c.message, c.text);
    }
}

TEST(PieceJson, TextsThatAreNotUtf8AreWrittenWithReplacementCharacters) {
    Pieces pieces;
    pieces.push_back(std::make_unique<CLS_LineKus>());
    SetText(*pieces[0], 0, "Gr\xf6\xdf" "e");
    const std::string json = AsJson(pieces);
    EXPECT_NE(json.find("Gr\xef\xbf\xbd\xef\xbf\xbd" "e"), std::string::npos) << json;
    EXPECT_EQ(AsJson(ReadJson(json, "again")), json);
}

}  // namespace
