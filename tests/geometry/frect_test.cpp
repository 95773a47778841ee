// FRECT: construction forms, inflation, union and intersection in both orientations.
#include <gtest/gtest.h>

#include <random>

#include "zedll.h"

namespace {

void ExpectRect(const FRECT& r, float l, float t, float rt, float b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
}

TEST(Frect, ConstructionForms) {
    ExpectRect(FRECT(), 0, 0, 0, 0);
    ExpectRect(FRECT(1.5f, 2.5f, 3.5f, 4.5f), 1.5f, 2.5f, 3.5f, 4.5f);
    ExpectRect(FRECT(0.1, 0.2, 0.3, 0.4), 0.1f, 0.2f, 0.3f, 0.4f);
    ExpectRect(FRECT(1, 2, 3, 4), 1, 2, 3, 4);
    RECT wr{-1, 5, 7, -3};
    ExpectRect(FRECT(wr), -1, 5, 7, -3);
    // Corners in any order give the normal form (y up: top is the larger y).
    ExpectRect(FRECT(tagAPOINT(5, -1), tagAPOINT(-2, 8)), -2, 8, 5, -1);
    ExpectRect(FRECT::FromCorners(5.0f, 8.0f, -2.0f, -1.0f), -2, 8, 5, -1);
    ExpectRect(FRECT::FromCorners(5, 8, -2, -1), -2, 8, 5, -1);
    FRECT e;
    e.SetEmpty();
    ExpectRect(e, 3.4028235e38f, -3.4028235e38f, -3.4028235e38f, 3.4028235e38f);
}

TEST(Frect, InflateOffsetCenter) {
    FRECT r(0.0f, 10.0f, 10.0f, 0.0f);
    r.InflatePercent(50);
    ExpectRect(r, -5, 15, 15, -5);
    r.Offset(1.0f, -2.0f);
    ExpectRect(r, -4, 13, 16, -7);
    r.Offset(tagAPOINT(-1.0f, 2.0f));
    ExpectRect(r, -5, 15, 15, -5);
    tagAPOINT c = FRECT(2.0f, 8.0f, 4.0f, -2.0f).Center();
    EXPECT_EQ(c.x, 3.0f);
    EXPECT_EQ(c.y, 3.0f);
    EXPECT_EQ(+c.a.flags, 0);
}

TEST(Frect, PointAndRectangleContainmentIncludeEdges) {
    FRECT r(0.0f, 10.0f, 20.0f, 0.0f);
    EXPECT_EQ(r.PtIn(tagAPOINT(0, 0)), 1);
    EXPECT_EQ(r.PtIn(tagAPOINT(20, 10)), 1);
    EXPECT_EQ(r.PtIn(tagAPOINT(20.001f, 5)), 0);
    EXPECT_EQ(r.PtIn(tagAPOINT(5, -0.001f)), 0);
    EXPECT_EQ(r.Contains(0, 10, 20, 0), 1);
    EXPECT_EQ(r.Contains(1, 9, 19, 1), 1);
    EXPECT_EQ(r.Contains(-1, 9, 19, 1), 0);
    EXPECT_EQ(r.Contains(1, 11, 19, 1), 0);
}

TEST(Frect, IntersectionOfTouchingRectanglesHasZeroWidth) {
    FRECT a(0.0f, 10.0f, 10.0f, 0.0f);
    FRECT b(10.0f, 5.0f, 20.0f, -5.0f);
    FRECT out(9.0f, 9.0f, 9.0f, 9.0f);
    ASSERT_EQ(a.Intersect(b, &out), 1);
    ExpectRect(out, 10, 5, 10, 0);
    EXPECT_EQ(out.Width(), 0.0f);
    FRECT apart(10.5f, 5.0f, 20.0f, -5.0f);
    FRECT keep(9.0f, 9.0f, 9.0f, 9.0f);
    EXPECT_EQ(a.Intersect(apart, &keep), 0);
    ExpectRect(keep, 9, 9, 9, 9);   // no overlap: output untouched
    EXPECT_EQ(a.Intersects(apart), 0);
}

TEST(Frect, IntersectionAgreesWithPointSamplingOnRandomRectangles) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-8, 8), size(0, 6);
    // Normal form with some height: a rectangle of zero height counts as top-down (top <= bottom).
    auto random_rect = [&] {
        const int x = coord(rng), y = coord(rng), w = size(rng), h = 1 + size(rng);
        return FRECT(x, y + h, x + w, y);
    };
    for (int i = 0; i < 2000; ++i) {
        FRECT a = random_rect();
        FRECT b = random_rect();
        // Brute force over the integer grid: corners are integers, so a shared point exists
        // exactly when a shared grid point does.
        bool shared = false;
        for (int x = -8; x <= 14 && !shared; ++x)
            for (int y = -8; y <= 15 && !shared; ++y)
                shared = a.PtIn(tagAPOINT(x, y)) && b.PtIn(tagAPOINT(x, y));
        FRECT out;
        ASSERT_EQ(a.Intersect(b, &out), shared ? 1 : 0);
        ASSERT_EQ(b.Intersects(a), shared ? 1 : 0);
        if (shared) {
            EXPECT_EQ(a.Contains(out.left, out.top, out.right, out.bottom), 1);
            EXPECT_EQ(b.Contains(out.left, out.top, out.right, out.bottom), 1);
        }
    }
}

TEST(Frect, IntersectWorksInTheMirroredOrientations) {
    // Both rectangles mirrored on both axes (left > right, top < bottom): the result is too.
    FRECT flipped(10.0f, 0.0f, 0.0f, 10.0f);
    FRECT other(12.0f, -4.0f, 2.0f, 3.0f);
    FRECT out;
    ASSERT_EQ(flipped.Intersect(other, &out), 1);
    ExpectRect(out, 10, 0, 2, 3);
    EXPECT_EQ(flipped.Intersects(FRECT(-1.0f, 11.0f, -5.0f, 20.0f)), 0);
    // A mirrored rectangle against a normal one meets nothing.
    EXPECT_EQ(flipped.Intersects(FRECT(0.0f, 10.0f, 10.0f, 0.0f)), 0);
}

TEST(Frect, UnionKeepsOrientationAndRefusesTheOther) {
    FRECT a(0.0f, 10.0f, 10.0f, 0.0f);
    ASSERT_EQ(a.Union(FRECT(-5.0f, 3.0f, 4.0f, -2.0f)), 1);
    ExpectRect(a, -5, 10, 10, -2);
    FRECT upside_down(1.0f, 0.0f, 2.0f, 20.0f);
    EXPECT_EQ(a.Union(upside_down), 0);
    ExpectRect(a, -5, 10, 10, -2);

    FRECT f(0.0f, 0.0f, 10.0f, 10.0f);   // top <= bottom: grows with smaller top, larger bottom
    ASSERT_EQ(f.Union(FRECT(-1.0f, -3.0f, 4.0f, 12.0f)), 1);
    ExpectRect(f, -1, -3, 10, 12);
    EXPECT_EQ(f.Union(FRECT(0.0f, 5.0f, 1.0f, 0.0f)), 0);
    ExpectRect(f, -1, -3, 10, 12);
}

TEST(Frect, EqualityAndSizeComparisons) {
    FRECT small(0.0f, 2.0f, 2.0f, 0.0f);
    FRECT big(10.0f, 15.0f, 15.0f, 10.0f);
    FRECT wide(0.0f, 1.0f, 20.0f, 0.0f);
    EXPECT_TRUE(small == FRECT(0.0f, 2.0f, 2.0f, 0.0f));
    EXPECT_TRUE(small != big);
    EXPECT_TRUE(small < big);
    EXPECT_TRUE(small <= big);
    EXPECT_FALSE(big >= wide);   // wider, not taller
    EXPECT_FALSE(wide < big);    // taller is not enough
    // "Not smaller" is the negation of "smaller": neither is smaller, so each is "not smaller".
    EXPECT_TRUE(wide > big);
    EXPECT_TRUE(big > wide);
    EXPECT_TRUE(small <= small);
    EXPECT_FALSE(small < small);
}

}  // namespace
