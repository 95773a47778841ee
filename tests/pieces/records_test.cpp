// Conversion of the exchange records into pieces: header values, names, leading line and
// prepared outline, free texts, hostile counts, round trips through MakeArray and refused
// allocations at every step.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "piece_test_util.h"
#include "os/heap.h"
#include "zedll.h"

namespace {

using zedtest::ExpectConsistent;
using zedtest::Pt;
using zedtest::SamePoint;

char kName1[] = "Front";
char kName4[] = "Size 38";
char kDie2[] = "cut here";
char kText[] = "GRAIN";

CLS_IOKUS ZeroRecord() { return CLS_IOKUS{}; }

IOKUS ZeroIokus() {
    IOKUS r;
    std::memset(&r, 0, sizeof r);
    return r;
}

// The same outline as both record kinds: float points, and integer coordinates with attributes.
struct Records {
    std::vector<tagAPOINT> pts;
    std::vector<tagLPOINT> xy;
    std::vector<ATR> attrs;
    CLS_IOKUS r = CLS_IOKUS{};
    IOKUS s = ZeroIokus();
    Records(std::vector<tagAPOINT> points, int leading) : pts(std::move(points)) {
        for (auto& p : pts) {
            p.x = static_cast<float>(static_cast<LONG>(p.x));
            p.y = static_cast<float>(static_cast<LONG>(p.y));
            xy.push_back(tagLPOINT{static_cast<LONG>(p.x), static_cast<LONG>(p.y)});
            attrs.push_back(p.a);
        }
        r.points = pts.data();
        s.coords = xy.data();
        s.attrs = attrs.data();
        r.numPoints = s.numPoints = static_cast<int>(pts.size());
        r.numLeading = s.numLeading = leading;
    }
};

// Three leading points, then a square and a three-point run: 3 + 5 + 4 points.
std::vector<tagAPOINT> SampleOutline() {
    std::vector<tagAPOINT> v = {Pt(-5, -5, 0, ATR::kMark), Pt(-4, -4), Pt(-3, -3)};
    for (const auto& p : zedtest::ClockwiseSquare(0, 0, 40)) v.push_back(p);
    for (const auto& p : {Pt(100, 0, 0, ATR::kDrill), Pt(110, 0), Pt(120, 0), Pt(130, 5)}) v.push_back(p);
    return v;
}

TEST(PieceRecord, ConvertsEveryPartOfTheFirstRecord) {
    Records rec(SampleOutline(), 3);
    CLS_IOKUS& r = rec.r;
    CLS_OtherText texts[2] = {CLS_OtherText(kText, 5, 6), CLS_OtherText(nullptr, 7, 8)};
    r.name1 = kName1;
    r.name4 = kName4;
    r.dieBreak2 = kDie2;
    std::memset(r.reserved32, 0xEE, sizeof r.reserved32);
    r.rect = FRECT(0.0f, 40.0f, 130.0f, 0.0f);
    r.rectAll = FRECT(-5.0f, 40.0f, 130.0f, -5.0f);
    r.header0 = 0xA1A2;
    r.header1 = 0xB1B2B3B4;
    r.header2 = 0xC1C2;
    r.value = 1.25f;
    r.bits = 0x89ABCDEF;
    r.texts = texts;
    r.numTexts = 2;

    CLS_LineKus piece;
    piece = r;
    EXPECT_TRUE(piece.header0 == 0xA1A2 && piece.header1 == 0xB1B2B3B4u && piece.header2 == 0xC1C2 &&
                piece.value == 1.25f && piece.bits == 0x89ABCDEFu);
    EXPECT_TRUE(piece.rect == r.rect && piece.rectAll == r.rectAll);
    EXPECT_STREQ(piece.name1, "Front");
    EXPECT_NE(+piece.name1, kName1);
    EXPECT_STREQ(piece.name4, "Size 38");
    EXPECT_STREQ(piece.dieBreak2, "cut here");
    EXPECT_TRUE(piece.name2 == nullptr && piece.dieBreak1 == nullptr);

    ASSERT_EQ(+piece.numLines, 3);
    const CLS_LK& lead = piece.lines[0];
    // The leading line's sub-type is given, not derived (its first point carries Mark).
    EXPECT_TRUE(lead.type == 0 && lead.subType == -1 && lead.count == 3);
    EXPECT_TRUE(piece.lines[1].type == 1 && piece.lines[1].closed == 1);
    EXPECT_EQ(+piece.lines[2].subType, CLS_LK::subDrill);
    EXPECT_EQ(+piece.numLines2, 0);

    ASSERT_EQ(+piece.numTexts, 2);
    EXPECT_STREQ(piece.texts[0].text, "GRAIN");
    EXPECT_NE(+piece.texts[0].text, +texts[0].text);
    EXPECT_STREQ(piece.texts[1].text, " ");
    EXPECT_EQ(+piece.texts[2].text, nullptr);   // one spare record made with defaults
    EXPECT_EQ(+piece.texts[2].value1, 1);

    // Converting again frees what the piece held first (ASan sees any leak); with the second
    // outline indicator the outline is converted twice.
    r.secondOutline = 1;
    piece = r;
    ASSERT_EQ(+piece.numLines, 6);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(piece.lines[i] == piece.lines[i + 3]) << i;
    EXPECT_EQ(+piece.numLines2, 0);
    CLS_LineKus copy(piece);
    EXPECT_TRUE(copy == piece);
}

TEST(PieceRecord, LeadingCountDecidesWhatIsPrepared) {
    std::vector<tagAPOINT> pts;   // every point lifted: ten lines of one point
    for (int i = 0; i < 10; ++i) pts.push_back(Pt(i * 100.0f, (i % 2) * 3.0f, 0, 0, 0, static_cast<unsigned>(i)));
    Records rec(pts, 0);
    IOKUS& r = rec.s;
    CLS_LineKus a, b;
    a = r;
    ASSERT_EQ(+a.numLines, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(+a.lines[i].type, 1);
    r.numLeading = 10;
    b = r;
    ASSERT_EQ(+b.numLines, 1);
    const tagAPOINT& p = b.lines[0].points[7];
    EXPECT_TRUE(b.lines[0].type == 0 && b.lines[0].count == 10);
    EXPECT_TRUE(p.x == 700.0f && p.y == 3.0f && p.a.GetCode() == 7u);
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
    EXPECT_TRUE(piece.header0 == 0x1234 && piece.header1 == 0x89ABCDEFu && piece.header2 == 0x5678 &&
                piece.bits == 3u << 9 && piece.value == 0.0f);
    EXPECT_TRUE(piece.rect == FRECT(-10.0f, 200.0f, 300.0f, 16777216.0f) && piece.rectAll == piece.rect);
    EXPECT_STREQ(piece.name2, "Front");
    EXPECT_STREQ(piece.dieBreak3, "cut here");
    ASSERT_EQ(+piece.numLines, 5);
    EXPECT_TRUE(piece.lines[0].points[0].a.flags == 0 && piece.numTexts == 1 && piece.lines2 == nullptr);
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
        std::vector<tagAPOINT> pts;
        for (int i = 0; i < n; ++i) {
            tagAPOINT p(static_cast<float>(rng() % 2000) - 1000, static_cast<float>(rng() % 2000) - 1000);
            p.a.kind = static_cast<uint8_t>(rng());
            p.a.flags = static_cast<uint16_t>(rng());
            p.a.code = static_cast<uint16_t>(rng());
            pts.push_back(p);
        }
        Records rec(pts, lead);
        CLS_LineKus a, b;
        a = rec.r;
        b = rec.s;
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

// Refuse the k-th allocation of each conversion for every k: consistent, no leaks, and the
// completed conversion equals one made without refusals.
TEST(PieceRecord, ConversionsSurviveEveryRefusedAllocation) {
    Records rec(SampleOutline(), 3);
    CLS_OtherText texts[2] = {CLS_OtherText(kText, 5, 6), CLS_OtherText(kName1, 7, 8)};
    rec.r.name1 = rec.s.name1 = kName1;
    rec.r.dieBreak2 = rec.s.dieBreak2 = kDie2;
    rec.r.texts = rec.s.texts = texts;
    rec.r.numTexts = rec.s.numTexts = 2;
    for (int which = 0; which < 2; ++which) {
        CLS_LineKus reference;
        if (which == 0) reference = rec.r; else reference = rec.s;
        bool completed = false;
        for (long k = 0; !completed; ++k) {
            CLS_LineKus piece;
            piece = reference;   // converted over a filled piece
            zed::heap_testing::FailAfter(k);
            if (which == 0) piece = rec.r; else piece = rec.s;
            const long attempts = zed::heap_testing::Attempts();
            zed::heap_testing::Reset();
            ExpectConsistent(piece);
            completed = attempts <= k;
            EXPECT_TRUE(!completed || piece == reference) << which;
            ASSERT_LT(k, 500);
        }
    }
}

}  // namespace
