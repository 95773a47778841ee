// Point types and ATR: conversions, attribute bits and the packed array layout.
#include <gtest/gtest.h>

#include <cmath>
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
    a.SetCode(5, 2);
    EXPECT_EQ(a.IsDraw(), 0);
}

TEST(Atr, FlagTestsReadTheirOwnBitOnly) {
    int (ATR::*tests[])() const = {&ATR::IsDraw,  &ATR::IsCorner, &ATR::IsSpline, nullptr,
                                   &ATR::IsDrill, &ATR::IsMark,   &ATR::IsNotch,  &ATR::IsNotch2,
                                   &ATR::IsFlag8};
    for (int bit = 0; bit < 16; ++bit) {
        ATR a;
        a.flags = static_cast<uint16_t>(1u << bit);
        for (int t = 0; t < 9; ++t) {
            if (tests[t] == nullptr) continue;
            EXPECT_EQ((a.*tests[t])(), t == bit ? 1 : 0) << "bit " << bit << " test " << t;
        }
    }
    ATR s;
    s.flags = 0xFFFF;
    s.SetSpline(2);
    EXPECT_EQ(+s.flags, 0xFFFB);
    s.SetSpline(1);
    EXPECT_EQ(+s.flags, 0xFFFF);
}

TEST(Atr, KindTests) {
    for (int k = 0; k < 256; ++k) {
        ATR a;
        a.kind = static_cast<uint8_t>(k);
        EXPECT_EQ(a.IsKind13(), k == 13);
        EXPECT_EQ(a.IsKind17(), k == 17);
        EXPECT_EQ(a.IsKindGroup(), k == 3 || k == 7 || k == 8 || k == 9 || k == 23) << k;
    }
}

TEST(Points, FloatToIntegerTruncatesTowardZero) {
    tagL3POINT l(tagF3POINT(2.9f, -2.9f, 0.5f));
    EXPECT_EQ(l.x, 2);
    EXPECT_EQ(l.y, -2);
    EXPECT_EQ(l.z, 0);
    tagFPOINT f{-0.99f, 7.99f};
    tagL3POINT m(f);
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 7);
    EXPECT_EQ(m.z, 0);
    // Out of range and NaN give the x86 "integer indefinite", never undefined behaviour.
    tagL3POINT big(tagF3POINT(3e9f, -3e9f, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(big.x, INT32_MIN);
    EXPECT_EQ(big.y, INT32_MIN);
    EXPECT_EQ(big.z, INT32_MIN);
    tagL3POINT edge(tagF3POINT(-2147483648.0f, 2147483520.0f, 0.0f));
    EXPECT_EQ(edge.x, INT32_MIN);
    EXPECT_EQ(edge.y, 2147483520);
}

TEST(Points, IntegerToFloatRoundsToNearest) {
    tagF3POINT f(tagL3POINT(16777217, -16777219, 3));
    EXPECT_EQ(f.x, 16777216.0f);
    EXPECT_EQ(f.y, -16777220.0f);   // tie between ...216 and ...220 goes to even
    EXPECT_EQ(f.z, 3.0f);
    tagLPOINT l{5, -6};
    tagF3POINT g(l);
    EXPECT_EQ(g.x, 5.0f);
    EXPECT_EQ(g.y, -6.0f);
    EXPECT_EQ(g.z, 0.0f);
    tagL3POINT back(l);
    EXPECT_EQ(back.z, 0);
}

TEST(Points, A3PointAssignedFromAPointKeepsItsAttribute) {
    ATR mine;
    mine.SetCode(77, 1);
    mine.kind = 9;
    tagA3POINT target(1.0f, 2.0f, 3.0f, mine);
    ATR theirs;
    theirs.SetCode(5, 0);
    tagAPOINT source(10.0f, 20.0f, theirs);
    target = source;
    EXPECT_EQ(target.x, 10.0f);
    EXPECT_EQ(target.y, 20.0f);
    EXPECT_EQ(target.z, 0.0f);
    EXPECT_EQ(std::memcmp(&target.a, &mine, sizeof(ATR)), 0);
}

TEST(Points, CopiesTakeAllBytesAndConstructorsClear) {
    tagA3POINT a;
    tagAPOINT b;
    unsigned char zeros[17] = {};
    EXPECT_EQ(std::memcmp(&a, zeros, 17), 0);
    EXPECT_EQ(std::memcmp(&b, zeros, 13), 0);

    ATR attr;
    attr.code = 0x1234;
    attr.kind = 0x56;
    attr.flags = 0x789A;
    tagA3POINT c(1.5f, -2.5f, 3.5f, attr);
    tagA3POINT d(c);
    EXPECT_EQ(std::memcmp(&c, &d, 17), 0);
    tagA3POINT e;
    e = c;
    EXPECT_EQ(std::memcmp(&c, &e, 17), 0);
    tagA3POINT from_long(tagL3POINT(1, 2, 3));
    EXPECT_EQ(from_long.z, 3.0f);
    EXPECT_EQ(+from_long.a.flags, 0);
}

TEST(Points, ArraysArePackedWithoutGaps) {
    tagAPOINT line[3];
    EXPECT_EQ(sizeof(line), 39u);
    EXPECT_EQ(reinterpret_cast<unsigned char*>(&line[1]) - reinterpret_cast<unsigned char*>(line), 13);
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
