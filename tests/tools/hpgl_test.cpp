// HP-GL plotter files: raw outlines in and out.
#include <gtest/gtest.h>

#include <sstream>

#include "piece/hpgl.h"
#include "piece/tally.h"
#include "piece_samples.h"

namespace {

using namespace zedpiece;

std::string Hpgl(const Pieces& pieces) {
    std::ostringstream out;
    WriteHpgl(pieces, out, kPlotterUnitsPerMm);
    return out.str();
}

// Every point in MakeArray order: x, y, pen and whether it draws.
std::string Outline(const Pieces& pieces) {
    std::ostringstream s;
    for (const PiecePtr& p : pieces) {
        tagAPOINT* a = nullptr;
        int leading = 0, total = 0;
        p->MakeArray(&a, &leading, &total);
        for (int i = 0; i < total; ++i)
            s << a[i].x << "," << a[i].y << (a[i].a.IsDraw() ? "d" : "u") << a[i].a.code << " ";
        p->FreeArray(a);
    }
    return s.str();
}

TEST(PieceHpgl, RandomPlotterOutlinesComeBackPointForPoint) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        const Pieces pieces = zedtest::RandomPlotterPieces(rng);
        const std::string file = Hpgl(pieces);
        const Pieces back = ReadHpgl(file, "trial", kPlotterUnitsPerMm, nullptr);
        ASSERT_EQ(Outline(back), Outline(pieces)) << "trial " << trial;
        ASSERT_EQ(Hpgl(back), file) << "trial " << trial;
    }
}

TEST(PieceHpgl, TheSamplesKeepEveryPointThroughThePlotter) {
    const Pieces pieces = zedtest::SamplePieces();
    const Pieces back = ReadHpgl(Hpgl(pieces), "blouse.plt", kPlotterUnitsPerMm, nullptr);
    EXPECT_EQ(Count(back).points, Count(pieces).points);
    EXPECT_EQ(Count(back).lines, Count(pieces).lines);
}

TEST(PieceHpgl, HandWrittenFilesGiveTheExpectedLines) {
    const struct {
        const char* file;
        const char* lines;   // per line: closed?, then points
    } cases[] = {
        // a square drawn absolutely, closed by returning to its start
        {"IN;SP1;PU0,0;PD400,0,400,400,0,400,0,0;", "closed 0,0 10,0 10,10 0,10 0,0 |"},
        // the same square in relative moves, blanks as separators, no semicolons
        {"IN SP1 PU 0 0 PR PD 400 0 0 400 -400 0 0 -400", "closed 0,0 10,0 10,10 0,10 0,0 |"},
        // a pen change starts a new line only when the pen lifts
        {"IN;SP1;PU0,0;PD40,0;SP2;PD80,0;PU800,800;PD840,800;",
         "open 0,0 1,0 2,0 | open 20,20 21,20 |"},
        // lower case and instructions this reader skips
        {"in;sp1;vs10;pu0,0;pd40,40;LBlabel\x03pd80,0;", "open 0,0 1,1 2,0 |"},
        // a short pen lift (under 10 units) joins the lines
        {"IN;PU0,0;PD400,0;PU440,40;PD800,800;", "open 0,0 10,0 11,1 20,20 |"},
        // ends less than 10 apart in one direction close a line of four points or more
        {"IN;PU0,0;PD400,0;PD800,0;PD1200,200;", "closed 0,0 10,0 20,0 30,5 |"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> warnings;
        const Pieces p = ReadHpgl(c.file, "hand.plt", kPlotterUnitsPerMm,
                                  [&](const std::string& w) { warnings.push_back(w); });
        std::ostringstream s;
        for (int i = 0; i < p[0]->numLines; ++i) {
            const CLS_LK& l = p[0]->lines[i];
            s << (l.closed ? "closed" : "open");
            for (int j = 0; j < l.count; ++j) s << " " << l.points[j].x << "," << l.points[j].y;
            s << " |";
            if (i + 1 < p[0]->numLines) s << " ";
        }
        EXPECT_EQ(s.str(), c.lines) << c.file;
    }
}

TEST(PieceHpgl, SkippedInstructionsWarnOnceAndBadNumbersFail) {
    std::vector<std::string> warnings;
    ReadHpgl("IN;VS10;VS20;PU0,0;CI5;", "w.plt", kPlotterUnitsPerMm,
             [&](const std::string& w) { warnings.push_back(w); });
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "w.plt: line 1: instruction VS skipped");
    const struct {
        const char* file;
        const char* message;
    } bad[] = {
        {"IN;\nPD1,", "w.plt: line 2: PD: x without y"},
        {"IN;PA1.2.3,0;", "PA: bad number \"1.2.3\""},
        {"IN;PU0,0;\n\n%", "line 3: expected an instruction, found byte 0x25"},
        {"PR999999999,0;PR999999999,0;PR999999999,0;", "coordinate out of range"},
    };
    for (const auto& c : bad) {
        zedtest::ExpectRefused([&] { ReadHpgl(c.file, "w.plt", kPlotterUnitsPerMm, nullptr); }, c.message, c.file);
    }
}

TEST(PieceHpgl, OtherScalesDivideEveryCoordinate) {
    const Pieces p = ReadHpgl("IN;PU0,0;PD1016,0,1016,1016;", "inch.plt", 1016.0, nullptr);
    const tagAPOINT corner = p[0]->lines[0].points[2];
    EXPECT_EQ(corner.x, 1.0f);
    EXPECT_EQ(corner.y, 1.0f);
}

}  // namespace
