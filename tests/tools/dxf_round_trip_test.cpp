// DXF in the exchange form: what the writer puts in blocks and layers the reader takes back.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "piece/dxf.h"
#include "piece/formats.h"
#include "piece/tally.h"
#include "piece_samples.h"

namespace {

using namespace zedpiece;

std::string Dxf(const Pieces& pieces, int version = 12) {
    std::ostringstream out;
    WriteDxf(pieces, out, version);
    return out.str();
}

// What DXF carries of pieces, as text: names 1-3, each line's closure, kind and points with
// their corner, notch and drill marks, and the free texts.
std::string Carried(const Pieces& pieces) {
    std::ostringstream s;
    s.precision(9);
    for (const PiecePtr& p : pieces) {
        s << "piece " << Name(p->name1) << "|" << Name(p->name2) << "|" << Name(p->name3) << "\n";
        for (int i = 0; i < p->numLines; ++i) {
            const CLS_LK& l = p->lines[i];
            s << " line closed=" << int{l.closed} << " kind=" << int{l.points[0].a.kind} << ":";
            for (int j = 0; j < l.count; ++j) {
                const ATR& a = l.points[j].a;
                s << " " << l.points[j].x << "," << l.points[j].y << (a.IsDraw() ? "d" : "")
                  << (a.IsCorner() ? "c" : "") << (a.IsNotch() || a.IsNotch2() ? "n" : "")
                  << (a.IsDrill() ? "h" : "");
            }
            s << "\n";
        }
        for (int i = 0; i < p->numTexts; ++i) {
            const CLS_OtherText& t = p->texts[i];
            s << " text " << t.text << " at " << t.position.x << "," << t.position.y << " angle " << t.angle
              << " height " << t.GetHeightSteps() << "\n";
        }
    }
    return s.str();
}

TEST(PieceDxf, RandomPiecesKeepEverythingTheFormatCarriesInBothVersions) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    std::mt19937 rng(11);
    for (int version : {12, 2000}) {
        for (int trial = 0; trial < 200; ++trial) {
            const Pieces pieces = zedtest::RandomDxfPieces(rng);
            const std::string dxf = Dxf(pieces, version);
            const Pieces back = ReadDxf(dxf, "trial", nullptr);
            ASSERT_EQ(Carried(back), Carried(pieces)) << "version " << version << " trial " << trial;
            // and a second time, through the pieces read
            ASSERT_EQ(Dxf(back, version), dxf) << "version " << version << " trial " << trial;
        }
    }
}

TEST(PieceDxf, TheSamplesKeepEveryPointCornerNotchAndDrillHole) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    const Pieces pieces = zedtest::SamplePieces();
    const Pieces back = ReadDxf(Dxf(pieces), "blouse.dxf", nullptr);
    EXPECT_EQ(Carried(back), Carried(pieces));
    EXPECT_EQ(Describe(Count(back)), Describe(Count(pieces)));
}

TEST(PieceDxf, TheWriterFollowsTheExchangeLayout) {
    const std::string dxf = Dxf(zedtest::SamplePieces());
    // R12 header, one block per piece, inserted once each, the piece name text in the block.
    EXPECT_NE(dxf.find("$ACADVER\n1\nAC1009\n"), std::string::npos);
    for (const char* name : {"Front", "Back", "Sleeve"}) {
        EXPECT_NE(dxf.find("0\nBLOCK\n8\n0\n2\n" + std::string(name) + "\n"), std::string::npos) << name;
        EXPECT_NE(dxf.find("INSERT\n8\n1\n2\n" + std::string(name) + "\n"), std::string::npos) << name;
        EXPECT_NE(dxf.find("1\nPiece Name: " + std::string(name) + "\n"), std::string::npos) << name;
    }
    EXPECT_NE(dxf.find("POLYLINE\n8\n1\n"), std::string::npos);   // boundary
    EXPECT_NE(dxf.find("LINE\n8\n7\n"), std::string::npos);       // grain line
    EXPECT_NE(dxf.find("POINT\n8\n4\n"), std::string::npos);      // notch
    EXPECT_NE(dxf.find("POINT\n8\n13\n"), std::string::npos);     // drill hole
    EXPECT_NE(dxf.find("POINT\n8\n2\n"), std::string::npos);      // turn point
    EXPECT_EQ(dxf.substr(dxf.size() - 6), "0\nEOF\n");
    // version 2000: light polylines, handles below the seed, every handle once
    const std::string r2000 = Dxf(zedtest::SamplePieces(), 2000);
    EXPECT_NE(r2000.find("$ACADVER\n1\nAC1015\n"), std::string::npos);
    EXPECT_NE(r2000.find("LWPOLYLINE\n5\n"), std::string::npos);
    EXPECT_EQ(r2000.find("\nPOLYLINE\n"), std::string::npos);
    std::istringstream in(r2000);
    std::string code, value;
    unsigned long long seed = 0;
    std::set<unsigned long long> handles;
    bool seed_next = false;
    while (std::getline(in, code) && std::getline(in, value)) {
        if (code != "5") {
            seed_next = code == "9" && value == "$HANDSEED";
            continue;
        }
        const unsigned long long h = std::stoull(value, nullptr, 16);
        if (seed_next) seed = h;
        else EXPECT_TRUE(handles.insert(h).second) << std::hex << h;
        seed_next = false;
    }
    ASSERT_FALSE(handles.empty());
    EXPECT_LT(*handles.rbegin(), seed);
    EXPECT_GT(handles.size(), 60u);
}

// A file of another writer: R2000 with LWPOLYLINE, a notch between two vertices, a slit notch as
// a LINE, a drill hole, a grain line and the piece texts in mixed case.
const char kForeignR2000[] =
    "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
    "0\nSECTION\n2\nBLOCKS\n"
    "0\nBLOCK\n8\n0\n2\nCOLLAR\n70\n0\n10\n0\n20\n0\n30\n0\n3\nCOLLAR\n"
    "0\nLWPOLYLINE\n5\n100\n100\nAcDbEntity\n8\n1\n100\nAcDbPolyline\n90\n4\n70\n1\n"
    "10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n40\n10\n0\n20\n40\n"
    "0\nPOINT\n8\n4\n10\n50\n20\n0\n30\n0\n"
    "0\nLINE\n8\n4\n10\n100\n20\n20\n30\n0\n11\n97\n21\n20\n31\n0\n"
    "0\nPOINT\n8\n13\n10\n20\n20\n20\n30\n0\n"
    "0\nPOINT\n8\n2\n10\n100\n20\n40\n30\n0\n"
    "0\nLINE\n8\n7\n10\n10\n20\n10\n30\n0\n11\n90\n21\n10\n31\n0\n"
    "0\nTEXT\n8\n1\n10\n5\n20\n5\n30\n0\n40\n3\n1\npiece name: Collar\n"
    "0\nTEXT\n8\n1\n10\n5\n20\n9\n30\n0\n40\n3\n1\nSIZE: M\n"
    "0\nTEXT\n8\n15\n10\n30\n20\n30\n30\n0\n40\n4\n50\n90\n1\nCUT 2\n"
    "0\nENDBLK\n8\n0\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\n1\n2\nCOLLAR\n10\n0\n20\n0\n30\n0\n0\nENDSEC\n0\nEOF\n";

TEST(PieceDxf, AForeignR2000FileGivesTheExpectedPiece) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    const Pieces pieces = ReadDxf(kForeignR2000, "collar.dxf", nullptr);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(Carried(pieces),
              "piece Collar|M|\n"
              " line closed=1 kind=0: 0,0 50,0dn 100,0d 100,20dn 100,40dc 0,40d\n"
              " line closed=0 kind=7: 10,10 90,10d\n"
              " line closed=0 kind=0: 20,20h\n"
              " text CUT 2 at 30,30 angle 90 height 225\n");
    EXPECT_EQ(pieces[0]->lines[0].clockwise, 0);
}

TEST(PieceDxf, ABoundaryOfLineSegmentsOrAnOpenPolylineIsOneClosedLine) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    const char* const kSegments =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLINE\n8\n1\n10\n0\n20\n0\n11\n50\n21\n0\n"
        "0\nLINE\n8\n1\n10\n0\n20\n30\n11\n50\n21\n30\n"      // reversed, comes last
        "0\nLINE\n8\n1\n10\n50\n20\n0\n11\n50\n21\n30\n"
        "0\nLINE\n8\n1\n10\n0\n20\n30\n11\n0\n21\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    const char* const kOpen =
        "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n1\n66\n1\n70\n0\n"
        "0\nVERTEX\n8\n1\n10\n0\n20\n0\n0\nVERTEX\n8\n1\n10\n50\n20\n0\n"
        "0\nVERTEX\n8\n1\n10\n50\n20\n30\n0\nSEQEND\n0\nENDSEC\n0\nEOF\n";
    const struct {
        const char* file;
        const char* carried;
    } cases[] = {
        {kSegments, "piece PIECE||\n line closed=1 kind=0: 0,0 50,0d 50,30d 0,30d 0,0d\n"},
        {kOpen, "piece PIECE||\n line closed=1 kind=0: 0,0 50,0d 50,30d\n"},
    };
    for (const auto& c : cases) {
        const Pieces pieces = ReadDxf(c.file, "b.dxf", nullptr);
        EXPECT_EQ(Carried(pieces), c.carried);
        EXPECT_EQ(Dxf(ReadDxf(Dxf(pieces), "again.dxf", nullptr)), Dxf(pieces));
    }
}

TEST(PieceDxf, NotchesBetweenVerticesGoInInOrderAndOnePlaceTakesOnePoint) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    const std::string file =
        "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\n1\n90\n3\n70\n1\n"
        "10\n0\n20\n0\n10\n100\n20\n0\n10\n0\n20\n60\n"
        "0\nPOINT\n8\n13\n10\n25\n20\n0.005\n"      // a drill hole where a notch goes in later
        "0\nPOINT\n8\n4\n10\n75\n20\n0\n0\nPOINT\n8\n4\n10\n25\n20\n0.005\n"
        "0\nPOINT\n8\n2\n10\n75\n20\n0\n"      // a turn point where a notch went in
        "0\nPOINT\n8\n4\n10\n0\n20\n30\n"      // on the closing segment
        "0\nENDSEC\n0\nEOF\n";
    EXPECT_EQ(Carried(ReadDxf(file, "n.dxf", nullptr)),
              "piece PIECE||\n line closed=1 kind=0: 0,0 25,0.00499999989dnh 75,0dcn 100,0d 0,60d 0,30dn\n");
}

TEST(PieceDxf, WhatIsNotAPieceIsRefusedOrSkippedWithAWarning) {
    if (!CanReadDxf()) GTEST_SKIP() << "this build reads no DXF";
    std::vector<std::string> warnings;
    const Warn warn = [&](const std::string& w) { warnings.push_back(w); };
    std::string with_circle = kForeignR2000;
    with_circle.insert(with_circle.find("0\nENDBLK"), "0\nCIRCLE\n8\n1\n10\n1\n20\n1\n30\n0\n40\n2\n");
    EXPECT_EQ(ReadDxf(with_circle, "c.dxf", warn).size(), 1u);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("CIRCLE"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("block \"COLLAR\""), std::string::npos) << warnings[0];

    const struct {
        std::string text;
        const char* message;
    } refused[] = {
        {"0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n", "no piece"},
        {"0\nSECTION\nx\nENTITIES\n", "line 3: expected a group code"},
        {"0\nLWPOLYLINE\n8\n1\n90\n2000000000\n", "line 6: group 90: count 2000000000 is larger than the file"},
        {"0\nLWPOLYLINE\n8\n1\n90\n2222222222222TEXT\n", "line 6: group 90: count 2222222222222TEXT is larger"},
        {"0\nLWPOLYLINE\n8\n1\n90\n-5\n", "line 6: group 90: negative count -5"},
        // negative flags and colours elsewhere are fine; this file just holds no piece
        {"0\nSECTION\n2\nHEADER\n9\n$DIMLWD\n70\n-2\n0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nMLEADERSTYLE\n91\n-1023410177\n0\nENDSEC\n0\nEOF\n",
         "no piece"},
        {std::string(kForeignR2000).replace(std::string(kForeignR2000).find("10\n100\n20\n0"), 11, "10\n1e300\n20\n0"),
         "entity 1 (POLYLINE) in block \"COLLAR\": field 10/20: coordinate not a finite number below 1e9"},
    };
    for (const auto& c : refused) {
        zedtest::ExpectRefused([&] { ReadDxf(c.text, "bad.dxf", nullptr); }, c.message, c.text);
    }
}

}  // namespace
