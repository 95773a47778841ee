// Point types and ATR (conversions, attribute bits, the packed array layout) and FRECT
// (construction, inflation, union and intersection in both orientations).
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "zedll.h"

namespace {

TEST(Atr, SetCodeClampsAndSetsOnlyDrawBit) {
    ATR a;
    a.flags = 0xFFFE;   // everything but Draw
    a.SetCode(40000, 1);
    EXPECT_EQ(a.GetCode(), 0u);
    EXPECT_EQ(+a.flags, 0xFFFF);
    a.SetCode(32700, 0);
    EXPECT_EQ(a.GetCode(), 32700u);
    EXPECT_EQ(+a.flags, 0xFFFE);
    a.SetCode(32701, 3);   // only the lowest bit of the draw value counts
    EXPECT_EQ(a.GetCode(), 0u);
    EXPECT_EQ(a.IsDraw(), 1);
}

TEST(Atr, FlagAndKindTestsReadTheirOwnBitsOnly) {
    int (ATR::*tests[])() const = {&ATR::IsDraw,  &ATR::IsCorner, &ATR::IsSpline, nullptr,
                                   &ATR::IsDrill, &ATR::IsMark,   &ATR::IsNotch,  &ATR::IsNotch2,
                                   &ATR::IsFlag8};
    for (int bit = 0; bit < 16; ++bit) {
        ATR a;
        a.flags = static_cast<uint16_t>(1u << bit);
        for (int t = 0; t < 9; ++t) {
            if (tests[t] != nullptr) {
                EXPECT_EQ((a.*tests[t])(), t == bit ? 1 : 0) << bit << " " << t;
            }
        }
    }
    ATR s;
    s.flags = 0xFFFF;
    s.SetSpline(2);
    EXPECT_EQ(+s.flags, 0xFFFB);
    for (int k = 0; k < 256; ++k) {
        ATR a;
        a.kind = static_cast<uint8_t>(k);
        EXPECT_EQ(a.IsKind13(), k == 13);
        EXPECT_EQ(a.IsKind17(), k == 17);
        EXPECT_EQ(a.IsKindGroup(), k == 3 || k == 7 || k == 8 || k == 9 || k == 23) << k;
    }
}

TEST(Points, ConversionsTruncateToIntegerAndRoundToFloat) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Float to integer truncates toward zero; out of range and NaN give the x86 "integer
    // indefinite", never undefined behaviour.
    const struct { float in; int32_t out; } to_int[] = {
        {2.9f, 2}, {-2.9f, -2}, {0.5f, 0}, {-0.99f, 0}, {3e9f, INT32_MIN}, {-3e9f, INT32_MIN},
        {nan, INT32_MIN}, {-2147483648.0f, INT32_MIN}, {2147483520.0f, 2147483520}};
    for (const auto& c : to_int) {
        EXPECT_EQ(tagL3POINT(tagF3POINT(c.in, 0, 0)).x, c.out) << c.in;
        EXPECT_EQ(tagL3POINT(tagF3POINT(0, 0, c.in)).z, c.out) << c.in;
    }
    tagFPOINT f{-0.99f, 7.99f};
    EXPECT_EQ(tagL3POINT(f).y, 7);
    EXPECT_EQ(tagL3POINT(f).z, 0);
    // Integer to float rounds to nearest, ties to even.
    tagF3POINT g(tagL3POINT(16777217, -16777219, 3));
    EXPECT_EQ(g.x, 16777216.0f);
    EXPECT_EQ(g.y, -16777220.0f);
    EXPECT_EQ(g.z, 3.0f);
    tagLPOINT l{5, -6};
    EXPECT_EQ(tagF3POINT(l).y, -6.0f);
    EXPECT_EQ(tagF3POINT(l).z, 0.0f);
}

TEST(Points, ConstructorsClearAndAssignmentFromAPointKeepsTheAttribute) {
    unsigned char zeros[17] = {};
    tagA3POINT a;
    tagAPOINT b;
    EXPECT_EQ(std::memcmp(&a, zeros, 17), 0);
    EXPECT_EQ(std::memcmp(&b, zeros, 13), 0);
    EXPECT_EQ(+tagA3POINT(tagL3POINT(1, 2, 3)).a.flags, 0);
    ATR mine, theirs;
    mine.code = 0x1234;
    mine.kind = 0x56;
    mine.flags = 0x789A;
    theirs.SetCode(5, 0);
    a = tagA3POINT(1.5f, -2.5f, 3.5f, mine);
    tagA3POINT copy(a);   // copies take all bytes
    EXPECT_EQ(std::memcmp(&copy, &a, 17), 0);
    a = tagAPOINT(10.0f, 20.0f, theirs);
    EXPECT_TRUE(a.x == 10.0f && a.y == 20.0f && a.z == 0.0f);
    EXPECT_EQ(std::memcmp(&a.a, &mine, sizeof(ATR)), 0);
}

TEST(Points, ArraysArePackedWithoutGaps) {
    tagAPOINT line[3];
    EXPECT_EQ(sizeof(line), 39u);
    // The byte image of a point: x, y as little-endian floats, then code, kind, flags.
    tagAPOINT p(1.0f, -2.0f);
    p.a.code = 0x0102;
    p.a.kind = 0x03;
    p.a.flags = 0x0405;
    const unsigned char expected[13] = {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0,
                                        0x02, 0x01, 0x03, 0x05, 0x04};
    EXPECT_EQ(std::memcmp(&p, expected, 13), 0);
}


#define EXPECT_RECT(r, l, t, rt, b)                                              \
    do {                                                                         \
        const FRECT got_ = (r);                                                  \
        EXPECT_TRUE(got_.left == (l) && got_.top == (t) && got_.right == (rt) && \
                    got_.bottom == (b))                                          \
            << got_.left << " " << got_.top << " " << got_.right << " " << got_.bottom; \
    } while (0)

TEST(Frect, ConstructionInflateOffsetCenter) {
    RECT wr{-1, 5, 7, -3};
    EXPECT_RECT(FRECT(wr), -1, 5, 7, -3);   // taken as it is, not normalised
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
    FRECT little(0.0f, 2.0f, 2.0f, 0.0f), big(10.0f, 15.0f, 15.0f, 10.0f), wide(0.0f, 1.0f, 20.0f, 0.0f);
    EXPECT_TRUE(little == FRECT(0.0f, 2.0f, 2.0f, 0.0f) && little != big);
    EXPECT_TRUE(little < big && little <= big && little <= little);
    EXPECT_FALSE(little < little);
    EXPECT_FALSE(big >= wide);   // wider, not taller
    EXPECT_FALSE(wide < big);    // taller is not enough
    // "Not smaller" is the negation of "smaller": neither is smaller, so each is "not smaller".
    EXPECT_TRUE(wide > big && big > wide);
}

}  // namespace
