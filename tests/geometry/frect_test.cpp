// FRECT: construction forms, inflation, union and intersection in both orientations.
#include <gtest/gtest.h>

#include <random>

#include "zedll.h"

namespace {

#define EXPECT_RECT(r, l, t, rt, b)                                              \
    do {                                                                         \
        const FRECT got_ = (r);                                                  \
        EXPECT_TRUE(got_.left == (l) && got_.top == (t) && got_.right == (rt) && \
                    got_.bottom == (b))                                          \
            << got_.left << " " << got_.top << " " << got_.right << " " << got_.bottom; \
    } while (0)

TEST(Frect, ConstructionInflateOffsetCenter) {
    EXPECT_RECT(FRECT(), 0, 0, 0, 0);
    EXPECT_RECT(FRECT(0.1, 0.2, 0.3, 0.4), 0.1f, 0.2f, 0.3f, 0.4f);
    RECT wr{-1, 5, 7, -3};
    EXPECT_RECT(FRECT(wr), -1, 5, 7, -3);
    // Corners in any order give the normal form (y up: top is the larger y).
    EXPECT_RECT(FRECT(tagAPOINT(5, -1), tagAPOINT(-2, 8)), -2, 8, 5, -1);
    EXPECT_RECT(FRECT::FromCorners(5.0f, 8.0f, -2.0f, -1.0f), -2, 8, 5, -1);
    EXPECT_RECT(FRECT::FromCorners(5, 8, -2, -1), -2, 8, 5, -1);
    FRECT r;
    r.SetEmpty();
    EXPECT_RECT(r, 3.4028235e38f, -3.4028235e38f, -3.4028235e38f, 3.4028235e38f);
    r = FRECT(0.0f, 10.0f, 10.0f, 0.0f);
    r.InflatePercent(50);
    EXPECT_RECT(r, -5, 15, 15, -5);
    r.Offset(1.0f, -2.0f);
    EXPECT_RECT(r, -4, 13, 16, -7);
    tagAPOINT c = FRECT(2.0f, 8.0f, 4.0f, -2.0f).Center();
    EXPECT_EQ(c.x, 3.0f);
    EXPECT_EQ(c.y, 3.0f);
}

TEST(Frect, ContainmentIncludesEdgesAndTouchingRectanglesIntersect) {
    FRECT r(0.0f, 10.0f, 20.0f, 0.0f);
    EXPECT_EQ(r.PtIn(tagAPOINT(0, 0)) + r.PtIn(tagAPOINT(20, 10)), 2);
    EXPECT_EQ(r.PtIn(tagAPOINT(20.001f, 5)) + r.PtIn(tagAPOINT(5, -0.001f)), 0);
    EXPECT_EQ(r.Contains(0, 10, 20, 0), 1);
    EXPECT_EQ(r.Contains(-1, 9, 19, 1) + r.Contains(1, 11, 19, 1), 0);

    FRECT a(0.0f, 10.0f, 10.0f, 0.0f), out(9.0f, 9.0f, 9.0f, 9.0f);
    ASSERT_EQ(a.Intersect(FRECT(10.0f, 5.0f, 20.0f, -5.0f), &out), 1);
    EXPECT_RECT(out, 10, 5, 10, 0);   // zero width
    out = FRECT(9.0f, 9.0f, 9.0f, 9.0f);
    EXPECT_EQ(a.Intersect(FRECT(10.5f, 5.0f, 20.0f, -5.0f), &out), 0);
    EXPECT_RECT(out, 9, 9, 9, 9);   // no overlap: output untouched
    // Both rectangles mirrored on both axes (left > right, top < bottom): the result is too.
    FRECT flipped(10.0f, 0.0f, 0.0f, 10.0f);
    ASSERT_EQ(flipped.Intersect(FRECT(12.0f, -4.0f, 2.0f, 3.0f), &out), 1);
    EXPECT_RECT(out, 10, 0, 2, 3);
    EXPECT_EQ(flipped.Intersects(FRECT(-1.0f, 11.0f, -5.0f, 20.0f)), 0);
    EXPECT_EQ(flipped.Intersects(a), 0);   // a mirrored rectangle against a normal one
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
        FRECT a = random_rect(), b = random_rect(), out;
        // Corners are integers, so a shared point exists exactly when a shared grid point does.
        bool shared = false;
        for (int x = -8; x <= 14 && !shared; ++x)
            for (int y = -8; y <= 15 && !shared; ++y)
                shared = a.PtIn(tagAPOINT(x, y)) && b.PtIn(tagAPOINT(x, y));
        ASSERT_EQ(a.Intersect(b, &out), shared ? 1 : 0);
        ASSERT_EQ(b.Intersects(a), shared ? 1 : 0);
        if (shared) {
            EXPECT_EQ(a.Contains(out.left, out.top, out.right, out.bottom), 1);
            EXPECT_EQ(b.Contains(out.left, out.top, out.right, out.bottom), 1);
        }
    }
}

TEST(Frect, UnionKeepsOrientationAndRefusesTheOther) {
    FRECT a(0.0f, 10.0f, 10.0f, 0.0f);
    ASSERT_EQ(a.Union(FRECT(-5.0f, 3.0f, 4.0f, -2.0f)), 1);
    EXPECT_RECT(a, -5, 10, 10, -2);
    EXPECT_EQ(a.Union(FRECT(1.0f, 0.0f, 2.0f, 20.0f)), 0);
    EXPECT_RECT(a, -5, 10, 10, -2);
    FRECT f(0.0f, 0.0f, 10.0f, 10.0f);   // top <= bottom: grows with smaller top, larger bottom
    ASSERT_EQ(f.Union(FRECT(-1.0f, -3.0f, 4.0f, 12.0f)), 1);
    EXPECT_RECT(f, -1, -3, 10, 12);
    EXPECT_EQ(f.Union(FRECT(0.0f, 5.0f, 1.0f, 0.0f)), 0);
    EXPECT_RECT(f, -1, -3, 10, 12);
}

TEST(Frect, EqualityAndSizeComparisons) {
    FRECT small(0.0f, 2.0f, 2.0f, 0.0f), big(10.0f, 15.0f, 15.0f, 10.0f), wide(0.0f, 1.0f, 20.0f, 0.0f);
    EXPECT_TRUE(small == FRECT(0.0f, 2.0f, 2.0f, 0.0f) && small != big);
    EXPECT_TRUE(small < big && small <= big && small <= small);
    EXPECT_FALSE(small < small);
    EXPECT_FALSE(big >= wide);   // wider, not taller
    EXPECT_FALSE(wide < big);    // taller is not enough
    // "Not smaller" is the negation of "smaller": neither is smaller, so each is "not smaller".
    EXPECT_TRUE(wide > big && big > wide);
}

}  // namespace
