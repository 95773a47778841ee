// CLS_LineKus: free and init, names, free texts, deep copy (with refused allocations at every
// step) and deep comparison; CLS_OtherText: defaults, copies, equality, height steps and angles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "piece_test_util.h"
#include "os/heap.h"
#include "zedll.h"

namespace {

using zedtest::ExpectConsistent;
using zedtest::Pt;

char kA[] = "A";
char kLowerA[] = "a";
char kFront[] = "Front";
char kBack[] = "Back";
char kSize[] = "38";
char kDie[] = "die";
char kHelloText[] = "Hello";
char kLowerHello[] = "hello";

// A piece with something in every field: names, die-break texts, lines in both lists (the second
// one longer), free texts.
void Fill(CLS_LineKus& piece) {
    piece.header0 = 7;
    piece.header1 = 0xDEADBEEF;
    piece.header2 = 9;
    piece.value = 2.5f;
    piece.bits = 0x601;
    piece.rect = FRECT(0.0f, 100.0f, 50.0f, 0.0f);
    piece.rectAll = FRECT(-1.0f, 101.0f, 51.0f, -1.0f);
    piece.SetName(kFront, nullptr, kA, nullptr, kSize, nullptr);
    piece.SetDieBreak(nullptr, kDie, nullptr);
    std::vector<tagAPOINT> sq = zedtest::ClockwiseSquare(0, 0, 50);
    piece.AddLine(sq.data(), 5, CLS_LK::linePrepared, CLS_LK::subDerive);
    std::vector<tagAPOINT> two = {Pt(1, 1, 0, ATR::kDrill), Pt(2, 2)};
    piece.AddLine(two.data(), 2, CLS_LK::lineParam2, CLS_LK::subDerive);
    for (int i = 0; i < 4; ++i) {
        std::vector<tagAPOINT> l = {Pt(10.0f * i, 0, 0), Pt(10.0f * i, 5), Pt(10.0f * i + 3, 5)};
        piece.AddLine2(l.data(), 3, CLS_LK::linePrepared, CLS_LK::subNone);
    }
    CLS_OtherText t1(kFront, 10, 20, 1, 30.0f, 2, 40, 3, 4);
    CLS_OtherText t2(kBack, 11, 21);
    piece.AddOtherText(&t1);
    piece.AddOtherText(&t2);
}

TEST(PieceModel, FreeInitAndNames) {
    CLS_LineKus piece;
    EXPECT_EQ(piece.IsFree(), 1);
    EXPECT_EQ(piece.SetName(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(piece.IsFree(), 1);
    EXPECT_EQ(piece.SetName(nullptr, nullptr, nullptr, nullptr, nullptr, kA), 1);
    EXPECT_EQ(piece.IsFree(), 0);
    EXPECT_NE(+piece.name6, kA);
    piece.Free();
    piece.value = -0.0f;   // compared with 0.0
    EXPECT_EQ(piece.IsFree(), 1);
    piece.rectAll.bottom = 1;
    EXPECT_EQ(piece.IsFree(), 0);
    piece.Init();
    Fill(piece);
    piece.Free();
    EXPECT_EQ(piece.IsFree(), 1);

    // SetName and SetDieBreak replace only the given texts; a refused copy keeps the old text.
    piece.SetName(kFront, kBack, nullptr, nullptr, nullptr, nullptr);
    char* kept = piece.name2;
    EXPECT_EQ(piece.SetName(kA, nullptr, kSize, nullptr, nullptr, nullptr), 1);
    EXPECT_STREQ(piece.name1, "A");
    EXPECT_EQ(+piece.name2, kept);
    EXPECT_STREQ(piece.name3, "38");
    EXPECT_EQ(piece.SetDieBreak(kDie, nullptr, kA), 1);
    EXPECT_STREQ(piece.dieBreak1, "die");
    EXPECT_EQ(+piece.dieBreak2, nullptr);
    EXPECT_STREQ(piece.dieBreak3, "A");
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(piece.SetName(kBack, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    zed::heap_testing::Reset();
    EXPECT_STREQ(piece.name1, "A");
}

TEST(PieceModel, CopyIsDeepWithOneFreeSlotPerLine) {
    CLS_LineKus src;
    Fill(src);
    CLS_LineKus copy(src);
    EXPECT_TRUE(copy == src);
    EXPECT_EQ(copy.GetNumLines(), 2);
    EXPECT_EQ(copy.GetNumLines2(), 4);   // the longer second list is copied whole
    for (int list = 0; list < 2; ++list) {
        const int n = list == 0 ? copy.numLines : copy.numLines2;
        for (int i = 0; i < n; ++i) {
            CLS_LK* a = list == 0 ? copy.GetLine(i) : copy.GetLine2(i);
            CLS_LK* b = list == 0 ? src.GetLine(i) : src.GetLine2(i);
            ASSERT_NE(a, nullptr);
            EXPECT_NE(+a->points, +b->points);
            EXPECT_EQ(+a->capacity, +a->count + 1);
            EXPECT_TRUE(*a == *b);
        }
    }
    EXPECT_TRUE(copy.name1 != src.name1 && copy.texts != src.texts && copy.texts[0].text != src.texts[0].text);
    EXPECT_EQ(+copy.numTexts, 2);

    // Changing the copy leaves the source alone.
    copy.GetLine(0)->points[1].x = 999;
    copy.texts[1].SetText(kA);
    copy.name1[0] = 'f';
    EXPECT_EQ(+src.GetLine(0)->points[1].x, 0.0f);
    EXPECT_STREQ(src.texts[1].text, "Back");
    EXPECT_STREQ(src.name1, "Front");

    // A list without an array keeps its count in the copy, so the two still compare equal.
    CLS_LineKus bare, bare_copy;
    bare.numLines2 = 3;
    bare_copy = bare;
    EXPECT_TRUE(bare_copy.numLines2 == 3 && bare_copy.lines2 == nullptr && bare_copy == bare);

    // Assigning over a filled piece releases what it held; self-assignment changes nothing.
    copy = src;
    EXPECT_TRUE(copy == src);
    copy = copy;
    EXPECT_TRUE(copy == src);
    CLS_LineKus empty;
    copy = empty;
    EXPECT_EQ(copy.IsFree(), 1);
}

TEST(PieceModel, ComparisonLooksAtEveryPart) {
    const std::function<void(CLS_LineKus&)> changes[] = {
        [](CLS_LineKus& p) { p.SetName(nullptr, nullptr, kLowerA, nullptr, nullptr, nullptr); },   // "A"/"a"
        [](CLS_LineKus& p) { p.bits ^= 1u << 30; },
        [](CLS_LineKus& p) { p.rectAll.left = 0; },
        [](CLS_LineKus& p) { p.GetLine2(3)->points[2].y = 6; },
        [](CLS_LineKus& p) { p.texts[1].value3 = 1; },
        [](CLS_LineKus& p) { p.FreeOtherText(); },   // one has texts, the other not
    };
    for (size_t i = 0; i < sizeof changes / sizeof changes[0]; ++i) {
        CLS_LineKus a, b;
        Fill(a);
        Fill(b);
        EXPECT_TRUE(a == b);
        changes[i](b);
        EXPECT_TRUE(a != b) << i;
        EXPECT_FALSE(b == a) << i;
    }
    CLS_LineKus c, d;
    c.SetDieBreak(kA, nullptr, nullptr);
    EXPECT_FALSE(c == d);
    EXPECT_FALSE(d == c);
}

TEST(PieceModel, FreeTexts) {
    CLS_LineKus piece;
    CLS_OtherText t1(kFront, 1, 1), t2(kBack, 2, 2), t3(kA, 3, 3), stranger(kSize, 9, 9);
    EXPECT_EQ(piece.AddOtherText(&t1) + piece.AddOtherText(&t2) + piece.AddOtherText(&t3), 3);
    EXPECT_EQ(piece.AddOtherText(nullptr), 0);
    EXPECT_EQ(piece.AddOtherText(&piece.texts[0]), 1);   // a text of its own
    EXPECT_EQ(+piece.numTexts, 4);
    EXPECT_STREQ(piece.texts[3].text, "Front");
    EXPECT_EQ(piece.DelOtherText(&stranger), 0);
    piece.texts[1].position.a.code = 11;
    piece.texts[2].position.a.code = 22;
    EXPECT_EQ(piece.DelOtherText(&t2), 1);
    ASSERT_EQ(+piece.numTexts, 3);
    EXPECT_EQ(+piece.texts[1].position.a.code, 11);   // moved by assignment: the slot keeps its attribute
    EXPECT_STREQ(piece.texts[1].text, "A");
    EXPECT_STREQ(piece.texts[2].text, "Front");
    EXPECT_EQ(+piece.texts[3].text, nullptr);   // the array keeps its size; the surplus is empty
    EXPECT_EQ(piece.DelOtherText(3) + piece.DelOtherText(-1), 0);
    EXPECT_EQ(piece.DelOtherText(2), 1);
    EXPECT_EQ(piece.DelOtherText(&t1), 1);
    ASSERT_EQ(+piece.numTexts, 1);
    EXPECT_STREQ(piece.texts[0].text, "A");
    EXPECT_EQ(piece.AddOtherText(&t2), 1);
    // A refused array or string leaves the list as it was.
    for (long k = 0; k < 2; ++k) {
        zed::heap_testing::FailAfter(k);
        EXPECT_EQ(piece.AddOtherText(&t3), 0);
        zed::heap_testing::Reset();
        EXPECT_EQ(+piece.numTexts, 2);
        EXPECT_STREQ(piece.texts[1].text, "Back");
    }
    piece.FreeOtherText();
    EXPECT_TRUE(piece.texts == nullptr && piece.numTexts == 0);
    EXPECT_EQ(piece.DelOtherText(0), 0);
}

TEST(PieceModel, LinesByIndex) {
    CLS_LineKus piece;
    EXPECT_EQ(piece.GetLine(0), nullptr);
    Fill(piece);
    EXPECT_TRUE(piece.GetLine(1) != nullptr && piece.GetLine2(3) != nullptr);
    EXPECT_TRUE(piece.GetLine(2) == nullptr && piece.GetLine(-1) == nullptr && piece.GetLine2(4) == nullptr);
}

// Refuse the k-th allocation of a deep copy for every k: the copy stays consistent, can be freed
// without leaks, and once nothing is refused it equals the source.
TEST(PieceModel, CopySurvivesEveryRefusedAllocation) {
    CLS_LineKus src;
    Fill(src);
    bool completed = false;
    for (long k = 0; k < 200 && !completed; ++k) {
        CLS_LineKus copy;
        Fill(copy);   // assignment must first release this
        zed::heap_testing::FailAfter(k);
        copy = src;
        const long attempts = zed::heap_testing::Attempts();
        zed::heap_testing::Reset();
        ExpectConsistent(copy);
        completed = attempts <= k;
        if (completed) {
            EXPECT_TRUE(copy == src) << k;
        } else {
            EXPECT_EQ(+copy.numLines <= +src.numLines, true);
            CLS_LineKus again(copy);   // a damaged copy still copies
            ExpectConsistent(again);
        }
    }
    EXPECT_TRUE(completed);
}

TEST(PieceText, DefaultsConstructionAndTexts) {
    CLS_OtherText t;
    EXPECT_EQ(+t.text, nullptr);
    EXPECT_TRUE(t.value1 == 1 && t.value2 == 0 && t.height == 30 && t.value3 == 0 && t.angle == 0.0f &&
                t.flag == 0);
    tagAPOINT pos = zedtest::Pt(4, 5, 1, ATR::kNotch, 3, 7);
    CLS_OtherText n(nullptr, pos);
    EXPECT_STREQ(n.text, " ");
    EXPECT_EQ(+n.position.a.flags, 0);   // only x and y are taken
    EXPECT_EQ(+n.position.x, 4.0f);
    EXPECT_EQ(n.SetText(nullptr), nullptr);
    EXPECT_STREQ(n.text, " ");
    char* set = n.SetText(kHelloText);
    EXPECT_STREQ(set, "Hello");
    EXPECT_NE(set, kHelloText);   // a copy
    EXPECT_EQ(n.Free(), 1);
    EXPECT_EQ(n.Free(), 0);
    EXPECT_EQ(+n.text, nullptr);

    CLS_OtherText l(kHelloText, 3, -4, 2, 45.0f, 7, 60, 8, 9);
    EXPECT_TRUE(l.position.x == 3.0f && l.position.y == -4.0f && l.flag == 2 && l.angle == 45.0f &&
                l.value3 == 7 && l.height == 60 && l.value2 == 8 && l.value1 == 9);
    pos = tagAPOINT(1, 2);
    l.Set(kLowerHello, pos);   // the old text goes back to the heap (ASan would see a leak)
    EXPECT_STREQ(l.text, "hello");
    EXPECT_TRUE(l.value1 == 1 && l.height == 30);

    zed::heap_testing::FailAfter(0);   // a refused copy leaves the text null
    EXPECT_EQ(l.SetText(kHelloText), nullptr);
    zed::heap_testing::Reset();
    EXPECT_EQ(+l.text, nullptr);
}

TEST(PieceText, CopiesAreDeepAndEqualityChecksTheComparedFields) {
    CLS_OtherText a(kHelloText, 3, 4, 1, 10.0f, 2, 40, 5, 6);
    a.vector = tagFPOINT{7, 8};
    a.position.a.kind = 9;
    CLS_OtherText b(a), c;
    EXPECT_NE(+b.text, +a.text);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(+b.vector.y, 8.0f);
    EXPECT_EQ(+b.position.a.kind, 0);   // the attribute of the position is not copied
    c.position.a.kind = 4;
    c = a;
    EXPECT_EQ(+c.position.a.kind, 4);
    c = c;   // self-assignment keeps the text
    EXPECT_STREQ(c.text, "Hello");
    b.flag = 9;
    b.vector = tagFPOINT{1, 1};
    EXPECT_TRUE(a == b);   // flag and vector are not compared
    const std::function<void(CLS_OtherText&)> changes[] = {
        [](CLS_OtherText& t) { t.SetText(kLowerHello); },   // case-sensitive
        [](CLS_OtherText& t) { t.value2 = 0; },        [](CLS_OtherText& t) { t.position.y += 1; },
        [](CLS_OtherText& t) { t.angle = 10.5f; },     [](CLS_OtherText& t) { t.height += 1; },
    };
    for (const auto& change : changes) {
        b = a;
        change(b);
        EXPECT_TRUE(a != b);
    }
    CLS_OtherText n1, n2;
    EXPECT_TRUE(n1 == n2);   // both without text
    n2.SetText(kHelloText);
    EXPECT_FALSE(n1 == n2);
    c = n1;   // a source without text gives " "
    EXPECT_STREQ(c.text, " ");
}

TEST(PieceText, HeightSteps) {
    CLS_OtherText t;
    EXPECT_EQ(t.SetHeight(0.5f), 0.5f);
    EXPECT_EQ(+t.height, 28);
    EXPECT_NEAR(t.GetHeight(), 0.4978, 1e-4);
    t.SetHeight(-0.5f);
    EXPECT_EQ(+t.height, -28);   // toward zero
    // Round trip of a stored step count within one step.
    for (int steps = 1; steps < 2000; steps += 37) {
        t.SetHeightSteps(steps);
        t.SetHeight(t.GetHeight());
        EXPECT_LE(std::abs(t.GetHeightSteps() - steps), 1) << steps;
    }
}

TEST(PieceText, AnglesFromVectorsAndDirectionPairs) {
    CLS_OtherText t;
    const struct { float x, y, deg; } from_vector[] = {{0, -1, 270}, {-1, -1, -135}, {0, 1, 90}, {0, 0, 90},
                                                       {1, 0, 0},    {-1, 1, 135},   {-1, 0, -180}, {1, 1, 45}};
    for (const auto& c : from_vector) {
        EXPECT_NEAR(t.SetAngle(c.x, c.y), c.deg, 1e-4) << c.x << "," << c.y;
        EXPECT_EQ(t.GetAngle(), +t.angle);
    }
    const struct { float deg, x, y; } exact[] = {{0, 1, 0},   {90, 0, 1},    {180, -1, 0},  {270, 0, -1},
                                                 {360, 1, 0}, {-90, 0, -1},  {450, 0, 1},   {-180, -1, 0},
                                                 {45, 1, 1},  {135, -1, 1},  {225, -1, -1}, {315, 1, -1}};
    for (const auto& c : exact) {
        t.SetAngleDegrees(c.deg);
        EXPECT_NEAR(t.GetDirection().x, c.x, 1e-6) << c.deg;
        EXPECT_NEAR(t.GetDirection().y, c.y, 1e-6) << c.deg;
    }
    // In between: the larger component is +-1 and the pair points along the angle.
    for (float deg = -400; deg < 400; deg += 7.3f) {
        t.SetAngleDegrees(deg);
        const tagFPOINT d = t.GetDirection();
        EXPECT_FLOAT_EQ(std::max(std::fabs(d.x), std::fabs(d.y)), 1.0f) << deg;
        const double r = deg * 3.14159265358979 / 180;
        EXPECT_NEAR(d.x * std::sin(r) - d.y * std::cos(r), 0.0, 1e-5) << deg;
        EXPECT_GT(d.x * std::cos(r) + d.y * std::sin(r), 0.0) << deg;
    }
    t.SetAngleDegrees(std::nanf(""));
    EXPECT_EQ(t.GetDirection().x, 1.0f);
}

}  // namespace
