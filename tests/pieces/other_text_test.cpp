// CLS_OtherText: defaults, texts, deep copy and equality, height steps and angles.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "piece_test_util.h"
#include "platform/heap.h"
#include "zedll.h"

namespace {

char kHello[] = "Hello";
char kOther[] = "hello";

TEST(PieceText, DefaultsConstructionAndTexts) {
    CLS_OtherText t;
    EXPECT_EQ(+t.text, nullptr);
    EXPECT_TRUE(t.value1 == 1 && t.value2 == 0 && t.height == 30 && t.value3 == 0 && t.angle == 0.0f &&
                t.flag == 0);
    tagAPOINT pos = piecetest::Pt(4, 5, 1, ATR::kNotch, 3, 7);
    CLS_OtherText n(nullptr, pos);
    EXPECT_STREQ(n.text, " ");
    EXPECT_EQ(+n.position.a.flags, 0);   // only x and y are taken
    EXPECT_EQ(+n.position.x, 4.0f);
    EXPECT_EQ(n.SetText(nullptr), nullptr);
    EXPECT_STREQ(n.text, " ");
    char* set = n.SetText(kHello);
    EXPECT_STREQ(set, "Hello");
    EXPECT_NE(set, kHello);   // a copy
    EXPECT_EQ(n.Free(), 1);
    EXPECT_EQ(n.Free(), 0);
    EXPECT_EQ(+n.text, nullptr);

    CLS_OtherText l(kHello, 3, -4, 2, 45.0f, 7, 60, 8, 9);
    EXPECT_TRUE(l.position.x == 3.0f && l.position.y == -4.0f && l.flag == 2 && l.angle == 45.0f &&
                l.value3 == 7 && l.height == 60 && l.value2 == 8 && l.value1 == 9);
    pos = tagAPOINT(1, 2);
    l.Set(kOther, pos);   // the old text goes back to the heap (ASan would see a leak)
    EXPECT_STREQ(l.text, "hello");
    EXPECT_TRUE(l.value1 == 1 && l.height == 30);

    zed::heap_faults::FailAfter(0);   // a refused copy leaves the text null
    EXPECT_EQ(l.SetText(kHello), nullptr);
    zed::heap_faults::Reset();
    EXPECT_EQ(+l.text, nullptr);
}

TEST(PieceText, CopiesAreDeepAndEqualityChecksTheComparedFields) {
    CLS_OtherText a(kHello, 3, 4, 1, 10.0f, 2, 40, 5, 6);
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
        [](CLS_OtherText& t) { t.SetText(kOther); },   // case-sensitive
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
    n2.SetText(kHello);
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
