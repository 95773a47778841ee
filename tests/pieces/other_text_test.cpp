// CLS_OtherText: defaults, texts, deep copy and equality, height steps and angles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "piece_test_util.h"
#include "platform/heap.h"
#include "zedll.h"

namespace {

char kHello[] = "Hello";
char kOther[] = "hello";

TEST(PieceText, DefaultsAndNullTexts) {
    CLS_OtherText t;
    EXPECT_EQ(+t.text, nullptr);
    EXPECT_EQ(+t.value1, 1);
    EXPECT_EQ(+t.value2, 0);
    EXPECT_EQ(+t.height, 30);
    EXPECT_EQ(+t.value3, 0);
    EXPECT_EQ(+t.angle, 0.0f);
    EXPECT_EQ(+t.flag, 0);
    tagAPOINT pos = piecetest::Pt(4, 5, 1, ATR::kNotch, 3, 7);
    CLS_OtherText n(nullptr, pos);
    ASSERT_NE(+n.text, nullptr);
    EXPECT_STREQ(n.text, " ");
    EXPECT_EQ(+n.position.a.flags, 0);   // only x and y are taken
    EXPECT_EQ(+n.position.x, 4.0f);
    EXPECT_EQ(n.SetText(nullptr), nullptr);
    EXPECT_STREQ(n.text, " ");
    char* set = n.SetText(kHello);
    EXPECT_STREQ(set, "Hello");
    EXPECT_NE(set, kHello);   // a copy
    EXPECT_EQ(set, n.GetText());
    EXPECT_EQ(n.Free(), 1);
    EXPECT_EQ(n.Free(), 0);
    EXPECT_EQ(+n.text, nullptr);
}

TEST(PieceText, ConstructionFromLongsAndSetReleaseTheOldText) {
    CLS_OtherText t(kHello, 3, -4, 2, 45.0f, 7, 60, 8, 9);
    EXPECT_STREQ(t.text, "Hello");
    EXPECT_EQ(+t.position.x, 3.0f);
    EXPECT_EQ(+t.position.y, -4.0f);
    EXPECT_EQ(+t.flag, 2);
    EXPECT_EQ(+t.angle, 45.0f);
    EXPECT_EQ(+t.value3, 7);
    EXPECT_EQ(+t.height, 60);
    EXPECT_EQ(+t.value2, 8);
    EXPECT_EQ(+t.value1, 9);
    tagAPOINT p(1, 2);
    t.Set(kOther, p);   // the old text goes back to the heap (ASan would see a leak)
    EXPECT_STREQ(t.text, "hello");
    EXPECT_EQ(+t.value1, 1);
    EXPECT_EQ(+t.height, 30);
}

TEST(PieceText, CopiesAreDeepAndEqual) {
    CLS_OtherText a(kHello, 3, 4, 1, 10.0f, 2, 40, 5, 6);
    a.vector = tagFPOINT{7, 8};
    a.position.a.kind = 9;
    CLS_OtherText b(a);
    EXPECT_NE(+b.text, +a.text);
    EXPECT_STREQ(b.text, "Hello");
    EXPECT_TRUE(a == b);
    EXPECT_EQ(+b.vector.y, 8.0f);
    EXPECT_EQ(+b.position.a.kind, 0);   // the attribute of the position is not copied
    CLS_OtherText c;
    c.position.a.kind = 4;
    c = a;
    EXPECT_EQ(+c.position.a.kind, 4);
    EXPECT_TRUE(c == a);
    c = c;   // self-assignment keeps the text
    EXPECT_STREQ(c.text, "Hello");
    CLS_OtherText none;
    c = none;   // a source without text gives " "
    EXPECT_STREQ(c.text, " ");
}

TEST(PieceText, EqualityComparesValuesHeightPositionAngleAndText) {
    CLS_OtherText a(kHello, 3, 4, 1, 10.0f, 2, 40, 5, 6);
    CLS_OtherText b(a);
    b.flag = 9;
    b.vector = tagFPOINT{1, 1};
    EXPECT_TRUE(a == b);   // flag and vector are not compared
    b.SetText(kOther);
    EXPECT_TRUE(a != b);   // case-sensitive
    b = a;
    b.value2 = 0;
    EXPECT_FALSE(a == b);
    b = a;
    b.position.y += 1;
    EXPECT_FALSE(a == b);
    b = a;
    b.angle = 10.5f;
    EXPECT_FALSE(a == b);
    b = a;
    b.height += 1;
    EXPECT_FALSE(a == b);
    CLS_OtherText n1, n2;
    EXPECT_TRUE(n1 == n2);   // both without text
    n2.SetText(kHello);
    EXPECT_FALSE(n1 == n2);
}

TEST(PieceText, HeightSteps) {
    CLS_OtherText t;
    EXPECT_EQ(t.SetHeight(0.5f), 0.5f);
    EXPECT_EQ(+t.height, 28);
    EXPECT_NEAR(t.GetHeight(), 0.4978, 1e-4);
    EXPECT_EQ(t.GetHeight(), 28.0f * 7.0f * 25.40031f / 10000.0f);
    t.SetHeight(-0.5f);
    EXPECT_EQ(+t.height, -28);   // toward zero
    t.SetHeight(0.0f);
    EXPECT_EQ(+t.height, 0);
    // Round trip of a stored step count within one step.
    for (int steps = 1; steps < 2000; steps += 37) {
        t.SetHeightSteps(steps);
        const float h = t.GetHeight();
        t.SetHeight(h);
        EXPECT_LE(std::abs(t.GetHeightSteps() - steps), 1) << steps;
    }
}

TEST(PieceText, AngleFromAVector) {
    CLS_OtherText t;
    EXPECT_FLOAT_EQ(t.SetAngle(0, -1), 270.0f);
    EXPECT_NEAR(t.SetAngle(-1, -1), -135.0f, 1e-4);
    EXPECT_FLOAT_EQ(t.SetAngle(0, 1), 90.0f);
    EXPECT_FLOAT_EQ(t.SetAngle(0, 0), 90.0f);
    EXPECT_EQ(t.SetAngle(1, 0), 0.0f);
    EXPECT_NEAR(t.SetAngle(-1, 1), 135.0f, 1e-4);
    EXPECT_NEAR(t.SetAngle(-1, 0), -180.0f, 1e-4);
    EXPECT_NEAR(t.SetAngle(1, 1), 45.0f, 1e-4);
    EXPECT_EQ(t.GetAngle(), +t.angle);
}

TEST(PieceText, DirectionPairs) {
    CLS_OtherText t;
    struct Case { float deg, x, y; };
    const Case exact[] = {{0, 1, 0},    {90, 0, 1},    {180, -1, 0}, {270, 0, -1},
                          {360, 1, 0},  {-90, 0, -1},  {450, 0, 1},  {-180, -1, 0},
                          {45, 1, 1},   {135, -1, 1},  {225, -1, -1}, {315, 1, -1}};
    for (const auto& c : exact) {
        t.SetAngleDegrees(c.deg);
        const tagFPOINT d = t.GetDirection();
        EXPECT_NEAR(d.x, c.x, 1e-6) << c.deg;
        EXPECT_NEAR(d.y, c.y, 1e-6) << c.deg;
    }
    // In between: the larger component is +-1 and the pair points along the angle.
    for (float deg = -400; deg < 400; deg += 7.3f) {
        t.SetAngleDegrees(deg);
        const tagFPOINT d = t.GetDirection();
        EXPECT_FLOAT_EQ(std::max(std::fabs(d.x), std::fabs(d.y)), 1.0f) << deg;
        const double r = deg * 3.14159265358979 / 180;
        const double cross = d.x * std::sin(r) - d.y * std::cos(r);
        const double dot = d.x * std::cos(r) + d.y * std::sin(r);
        EXPECT_NEAR(cross, 0.0, 1e-5) << deg;
        EXPECT_GT(dot, 0.0) << deg;
    }
    t.SetAngleDegrees(std::nanf(""));
    EXPECT_EQ(t.GetDirection().x, 1.0f);
}

TEST(PieceText, RefusedTextCopyLeavesTheTextNull) {
    CLS_OtherText t(kHello, 0, 0);
    zed::heap_faults::FailAfter(0);
    EXPECT_EQ(t.SetText(kOther), nullptr);
    zed::heap_faults::Reset();
    EXPECT_EQ(+t.text, nullptr);
}

}  // namespace
