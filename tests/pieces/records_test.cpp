// Conversion of the exchange records into pieces: header values, names, leading line and
// prepared outline, free texts, hostile counts, round trips through MakeArray and refused
// allocations at every step.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "piece_test_util.h"
#include "platform/heap.h"
#include "zedll.h"

namespace {

using piecetest::ExpectConsistent;
using piecetest::Pt;
using piecetest::SamePoint;

char kName1[] = "Front";
char kName4[] = "Size 38";
char kDie2[] = "cut here";
char kText[] = "GRAIN";

CLS_IOKUS ZeroRecord() {
    CLS_IOKUS r{};
    return r;
}

IOKUS ZeroIokus() {
    IOKUS r;
    std::memset(&r, 0, sizeof r);
    return r;
}

// Three leading points, then a square and a three-point run: 3 + 5 + 4 points.
std::vector<tagAPOINT> SampleOutline() {
    std::vector<tagAPOINT> v = {Pt(-5, -5, 0, ATR::kMark), Pt(-4, -4), Pt(-3, -3)};
    for (const auto& p : piecetest::ClockwiseSquare(0, 0, 40)) v.push_back(p);
    for (const auto& p : {Pt(100, 0, 0, ATR::kDrill), Pt(110, 0), Pt(120, 0), Pt(130, 5)}) v.push_back(p);
    return v;
}

TEST(PieceRecord, ConvertsEveryPartOfTheFirstRecord) {
    std::vector<tagAPOINT> pts = SampleOutline();
    CLS_OtherText texts[2] = {CLS_OtherText(kText, 5, 6), CLS_OtherText(nullptr, 7, 8)};
    CLS_IOKUS r = ZeroRecord();
    r.name1 = kName1;
    r.name4 = kName4;
    r.dieBreak2 = kDie2;
    r.numPoints = static_cast<int>(pts.size());
    r.numLeading = 3;
    std::memset(r.reserved32, 0xEE, sizeof r.reserved32);
    r.rect = FRECT(0.0f, 40.0f, 130.0f, 0.0f);
    r.rectAll = FRECT(-5.0f, 40.0f, 130.0f, -5.0f);
    r.header0 = 0xA1A2;
    r.header1 = 0xB1B2B3B4;
    r.header2 = 0xC1C2;
    r.value = 1.25f;
    r.bits = 0x89ABCDEF;
    r.points = pts.data();
    r.texts = texts;
    r.numTexts = 2;

    CLS_LineKus piece;
    piece = r;
    EXPECT_EQ(+piece.header0, 0xA1A2);
    EXPECT_EQ(+piece.header1, 0xB1B2B3B4u);
    EXPECT_EQ(+piece.header2, 0xC1C2);
    EXPECT_EQ(+piece.value, 1.25f);
    EXPECT_EQ(+piece.bits, 0x89ABCDEFu);
    EXPECT_TRUE(piece.rect == r.rect);
    EXPECT_TRUE(piece.rectAll == r.rectAll);
    EXPECT_STREQ(piece.name1, "Front");
    EXPECT_NE(+piece.name1, kName1);
    EXPECT_EQ(+piece.name2, nullptr);
    EXPECT_STREQ(piece.name4, "Size 38");
    EXPECT_STREQ(piece.dieBreak2, "cut here");
    EXPECT_EQ(+piece.dieBreak1, nullptr);

    ASSERT_EQ(+piece.numLines, 3);
    const CLS_LK& lead = piece.lines[0];
    EXPECT_EQ(+lead.type, 0);
    EXPECT_EQ(+lead.subType, -1);   // given, not derived (the first point carries Mark)
    EXPECT_EQ(+lead.count, 3);
    EXPECT_EQ(+piece.lines[1].type, 1);
    EXPECT_EQ(+piece.lines[1].closed, 1);
    EXPECT_EQ(+piece.lines[2].subType, CLS_LK::subDrill);
    EXPECT_EQ(+piece.numLines2, 0);

    ASSERT_EQ(+piece.numTexts, 2);
    EXPECT_STREQ(piece.texts[0].text, "GRAIN");
    EXPECT_NE(+piece.texts[0].text, +texts[0].text);
    EXPECT_STREQ(piece.texts[1].text, " ");
    EXPECT_EQ(+piece.texts[2].text, nullptr);   // one spare record made with defaults
    EXPECT_EQ(+piece.texts[2].value1, 1);

    tagAPOINT* out = nullptr;
    int leading = 0, total = 0;
    ASSERT_EQ(piece.MakeArray(&out, &leading, &total), 1);
    EXPECT_EQ(leading, 3);
    EXPECT_EQ(total, 12);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(SamePoint(out[i], pts[i])) << i;
    piece.FreeArray(out);

    // Converting again frees what the piece held first (ASan sees any leak).
    piece = r;
    EXPECT_EQ(+piece.numLines, 3);
    CLS_LineKus copy(piece);
    EXPECT_TRUE(copy == piece);
}

TEST(PieceRecord, SecondOutlineIndicatorConvertsTheOutlineTwice) {
    std::vector<tagAPOINT> pts = SampleOutline();
    CLS_IOKUS r = ZeroRecord();
    r.numPoints = static_cast<int>(pts.size());
    r.numLeading = 3;
    r.points = pts.data();
    r.secondOutline = 1;
    CLS_LineKus piece;
    piece = r;
    ASSERT_EQ(+piece.numLines, 6);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(piece.lines[i] == piece.lines[i + 3]) << i;
    EXPECT_EQ(+piece.numLines2, 0);
}

TEST(PieceRecord, LeadingCountDecidesWhatIsPrepared) {
    std::vector<tagLPOINT> xy;
    std::vector<ATR> attrs;
    for (int i = 0; i < 10; ++i) {
        xy.push_back(tagLPOINT{i * 100, (i % 2) * 3});
        ATR a;
        a.SetCode(static_cast<unsigned>(i), 0);   // every point lifted: ten lines of one point
        attrs.push_back(a);
    }
    IOKUS r = ZeroIokus();
    r.numPoints = 10;
    r.coords = xy.data();
    r.attrs = attrs.data();
    CLS_LineKus a, b;
    a = r;
    EXPECT_EQ(+a.numLines, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(+a.lines[i].type, 1);
    r.numLeading = 10;
    b = r;
    ASSERT_EQ(+b.numLines, 1);
    EXPECT_EQ(+b.lines[0].type, 0);
    EXPECT_EQ(+b.lines[0].count, 10);
    EXPECT_EQ(+b.lines[0].points[7].x, 700.0f);
    EXPECT_EQ(+b.lines[0].points[7].y, 3.0f);
    EXPECT_EQ(b.lines[0].points[7].a.GetCode(), 7u);
}

TEST(PieceRecord, ConvertsTheIntegerRecord) {
    IOKUS r = ZeroIokus();
    r.name2 = kName1;
    r.dieBreak3 = kDie2;
    r.left = -10;
    r.top = 200;
    r.right = 300;
    r.bottom = 16777217;   // rounds to the nearest float
    r.header0 = 0x1234;
    r.reserved50 = 0xFF;
    r.header1 = 0x89ABCDEF;
    std::memset(r.reserved55, 0xFF, sizeof r.reserved55);
    r.bits9 = 0xFF;
    r.header2 = 0x5678;
    std::memset(r.reserved62, 0xFF, sizeof r.reserved62);
    std::vector<tagLPOINT> xy = {{0, 0}, {0, 400}, {300, 400}, {300, 0}, {0, 0}};
    r.coords = xy.data();
    r.numPoints = 5;   // no attribute array: every point lifted, each its own line
    CLS_OtherText t(kText, 1, 2);
    r.texts = &t;
    r.numTexts = 1;
    CLS_LineKus piece;
    piece.value = 9;   // not free: converted over
    piece = r;
    EXPECT_EQ(+piece.header0, 0x1234);
    EXPECT_EQ(+piece.header1, 0x89ABCDEFu);
    EXPECT_EQ(+piece.header2, 0x5678);
    EXPECT_EQ(+piece.bits, 3u << 9);
    EXPECT_EQ(+piece.value, 0.0f);
    EXPECT_TRUE(piece.rect == FRECT(-10.0f, 200.0f, 300.0f, 16777216.0f));
    EXPECT_TRUE(piece.rectAll == piece.rect);
    EXPECT_STREQ(piece.name2, "Front");
    EXPECT_STREQ(piece.dieBreak3, "cut here");
    EXPECT_EQ(+piece.numLines, 5);
    EXPECT_EQ(+piece.lines[0].points[0].a.flags, 0);
    EXPECT_EQ(+piece.numTexts, 1);
    EXPECT_EQ(+piece.lines2, nullptr);
    r.bits9 = 0x05;
    piece = r;
    EXPECT_EQ(+piece.bits, 1u << 9);
}

TEST(PieceRecord, HostileCountsAreRefusedWithoutReadingPastTheBuffer) {
    // Each buffer holds exactly what the counts claim (ASan would see a read past it).
    auto pts = std::make_unique<tagAPOINT[]>(4);
    auto xy = std::make_unique<tagLPOINT[]>(4);
    auto attrs = std::make_unique<ATR[]>(4);
    for (int i = 0; i < 4; ++i) {
        pts[i] = Pt(static_cast<float>(i), 0, 0);
        xy[i] = tagLPOINT{i, 0};
    }
    struct Counts { int total, leading; };
    for (const Counts c : {Counts{4, 5}, Counts{-1, 0}, Counts{4, -1}, Counts{-4, -8}, Counts{0, 1}}) {
        CLS_IOKUS r = ZeroRecord();
        r.name1 = kName1;
        r.points = pts.get();
        r.numPoints = c.total;
        r.numLeading = c.leading;
        r.numTexts = -3;
        CLS_OtherText t;
        r.texts = &t;
        CLS_LineKus piece;
        piece = r;
        EXPECT_EQ(+piece.numLines, 0) << c.total << "/" << c.leading;
        EXPECT_EQ(+piece.texts, nullptr);
        EXPECT_EQ(+piece.numTexts, 0);
        EXPECT_STREQ(piece.name1, "Front");   // the rest of the record is still taken
        IOKUS s = ZeroIokus();
        s.coords = xy.get();
        s.attrs = attrs.get();
        s.numPoints = c.total;
        s.numLeading = c.leading;
        piece = s;
        EXPECT_EQ(+piece.numLines, 0);
        ExpectConsistent(piece);
    }
    // Null outlines are simply absent.
    CLS_IOKUS r = ZeroRecord();
    r.numPoints = 4;
    r.numLeading = 2;
    CLS_LineKus piece;
    piece = r;
    EXPECT_EQ(piece.IsFree(), 1);
}

// record -> piece -> MakeArray gives back the leading count and every point, for random outlines.
TEST(PieceRecord, RoundTripsThroughMakeArray) {
    std::mt19937 rng(5);
    for (int round = 0; round < 200; ++round) {
        const int n = static_cast<int>(rng() % 300);
        const int lead = n > 0 ? static_cast<int>(rng() % static_cast<unsigned>(n + 1)) : 0;
        std::vector<tagLPOINT> xy;
        std::vector<ATR> attrs;
        std::vector<tagAPOINT> pts;
        for (int i = 0; i < n; ++i) {
            xy.push_back(tagLPOINT{static_cast<LONG>(rng() % 2000) - 1000, static_cast<LONG>(rng() % 2000) - 1000});
            ATR a;
            a.kind = static_cast<uint8_t>(rng());
            a.flags = static_cast<uint16_t>(rng());
            a.code = static_cast<uint16_t>(rng());
            attrs.push_back(a);
            tagAPOINT p(static_cast<float>(xy.back().x), static_cast<float>(xy.back().y));
            p.a = a;
            pts.push_back(p);
        }
        CLS_IOKUS r = ZeroRecord();
        r.points = pts.data();
        r.numPoints = n;
        r.numLeading = lead;
        IOKUS s = ZeroIokus();
        s.coords = xy.data();
        s.attrs = attrs.data();
        s.numPoints = n;
        s.numLeading = lead;
        CLS_LineKus a, b;
        a = r;
        b = s;
        EXPECT_TRUE(a == b) << round;
        for (CLS_LineKus* piece : {&a, &b}) {
            tagAPOINT* out = nullptr;
            int leading = -1, total = -1;
            ASSERT_EQ(piece->MakeArray(&out, &leading, &total), 1);
            EXPECT_EQ(leading, lead);
            ASSERT_EQ(total, n);
            for (int i = 0; i < n; ++i) ASSERT_TRUE(SamePoint(out[i], pts[i])) << round << " @" << i;
            EXPECT_TRUE(SamePoint(out[n], tagAPOINT()));
            piece->FreeArray(out);
        }
    }
}

TEST(PieceRecord, ThreeLeadingAndTenOutlinePoints) {
    std::vector<tagAPOINT> pts = {Pt(0, 0, 0), Pt(1, 0), Pt(2, 0)};
    for (int i = 0; i < 10; ++i) pts.push_back(Pt(static_cast<float>(10 * i), 50, i % 4 == 0 ? 0 : 1));
    CLS_IOKUS r = ZeroRecord();
    r.points = pts.data();
    r.numPoints = 13;
    r.numLeading = 3;
    CLS_LineKus piece;
    piece = r;
    tagAPOINT* out = nullptr;
    int leading = 0, total = 0;
    ASSERT_EQ(piece.MakeArray(&out, &leading, &total), 1);
    EXPECT_EQ(leading, 3);
    EXPECT_EQ(total, 13);
    piece.FreeArray(out);
}

// Refuse the k-th allocation of each conversion for every k: consistent, no leaks, and the
// completed conversion equals one made without refusals.
TEST(PieceRecord, ConversionsSurviveEveryRefusedAllocation) {
    std::vector<tagAPOINT> pts = SampleOutline();
    std::vector<tagLPOINT> xy;
    std::vector<ATR> attrs;
    for (const auto& p : pts) {
        xy.push_back(tagLPOINT{static_cast<LONG>(p.x), static_cast<LONG>(p.y)});
        attrs.push_back(p.a);
    }
    CLS_OtherText texts[2] = {CLS_OtherText(kText, 5, 6), CLS_OtherText(kName1, 7, 8)};
    CLS_IOKUS r = ZeroRecord();
    r.name1 = kName1;
    r.dieBreak2 = kDie2;
    r.numPoints = static_cast<int>(pts.size());
    r.numLeading = 3;
    r.points = pts.data();
    r.texts = texts;
    r.numTexts = 2;
    IOKUS s = ZeroIokus();
    s.name1 = kName1;
    s.dieBreak2 = kDie2;
    s.numPoints = r.numPoints;
    s.numLeading = 3;
    s.coords = xy.data();
    s.attrs = attrs.data();
    s.texts = texts;
    s.numTexts = 2;
    for (int which = 0; which < 2; ++which) {
        CLS_LineKus reference;
        if (which == 0) reference = r; else reference = s;
        bool completed = false;
        for (long k = 0; !completed; ++k) {
            CLS_LineKus piece;
            piece = reference;   // converted over a filled piece
            zed::heap_faults::FailAfter(k);
            if (which == 0) piece = r; else piece = s;
            const long attempts = zed::heap_faults::Attempts();
            zed::heap_faults::Reset();
            ExpectConsistent(piece);
            completed = attempts <= k;
            if (completed) {
                EXPECT_TRUE(piece == reference) << which;
            }
            ASSERT_LT(k, 500);
        }
    }
}

}  // namespace
