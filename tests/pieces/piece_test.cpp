// CLS_LineKus: free and init, names, free texts, deep copy (with refused allocations at every
// step) and deep comparison.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "piece_test_util.h"
#include "platform/heap.h"
#include "zedll.h"

namespace {

using piecetest::ExpectConsistent;
using piecetest::Pt;

char kA[] = "A";
char kLowerA[] = "a";
char kFront[] = "Front";
char kBack[] = "Back";
char kSize[] = "38";
char kDie[] = "die";

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
    std::vector<tagAPOINT> sq = piecetest::ClockwiseSquare(0, 0, 50);
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
    zed::heap_faults::FailAfter(0);
    EXPECT_EQ(piece.SetName(kBack, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    zed::heap_faults::Reset();
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
        zed::heap_faults::FailAfter(k);
        EXPECT_EQ(piece.AddOtherText(&t3), 0);
        zed::heap_faults::Reset();
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
    EXPECT_TRUE(piece.GetRect() == piece.rect && piece.GetRectAll() == piece.rectAll);
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
        zed::heap_faults::FailAfter(k);
        copy = src;
        const long attempts = zed::heap_faults::Attempts();
        zed::heap_faults::Reset();
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

}  // namespace
