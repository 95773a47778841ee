// Point types and ATR: conversions, attribute bits and the packed array layout.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

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

TEST(Points, CopiesTakeAllBytesAssignmentFromAPointKeepsAttribute) {
    unsigned char zeros[17] = {};
    tagA3POINT a;
    tagAPOINT b;
    EXPECT_EQ(std::memcmp(&a, zeros, 17), 0);
    EXPECT_EQ(std::memcmp(&b, zeros, 13), 0);
    ATR attr;
    attr.code = 0x1234;
    attr.kind = 0x56;
    attr.flags = 0x789A;
    tagA3POINT c(1.5f, -2.5f, 3.5f, attr), d(c), e;
    e = c;
    EXPECT_EQ(std::memcmp(&c, &d, 17), 0);
    EXPECT_EQ(std::memcmp(&c, &e, 17), 0);
    EXPECT_EQ(+tagA3POINT(tagL3POINT(1, 2, 3)).a.flags, 0);

    ATR theirs;
    theirs.SetCode(5, 0);
    e = tagAPOINT(10.0f, 20.0f, theirs);
    EXPECT_EQ(e.x, 10.0f);
    EXPECT_EQ(e.y, 20.0f);
    EXPECT_EQ(e.z, 0.0f);
    EXPECT_EQ(std::memcmp(&e.a, &attr, sizeof(ATR)), 0);
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

}  // namespace
