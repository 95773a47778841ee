// Units: the factors as the tables give them (25.40031, not 25.4), the names, out-of-range
// indices, and conversions through the object's own unit.
#include "zedll/units.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Units, LengthFactorsAndNames) {
    const LengthUnit mm(2);
    const struct { int from; float value, mm; const char* long_name; const char* short_name; } cases[] = {
        {-1, 1000.0f, 1.0f, "mm / 1000", "mm/1000"}, {0, 100.0f, 1.0f, "mm / 100", "mm/100"},
        {1, 40.0f, 1.0f, "mm / 40", "mm/40"},        {2, 1.0f, 1.0f, "millimeter", "mm"},
        {3, 1.0f, 10.0f, "centimeter", "cm"},        {4, 1.0f, 1000.0f, "meter", "m"},
        {5, 1.0f, 25.40031f / 1000.0f, "inch / 1000", "mils"},
        {6, 1.0f, 254.0031f / 1000.0f, "inch / 100", "inch/100"},
        {7, 1.0f, 25.40031f, "inch", "inch"},        {8, 1.0f, 25.40031f, "fraction inch", "fr. inch"},
        {9, 1.0f, 304.80372f, "foot", "ft"},         {10, 1.0f, 914.4112f, "yard", "yd"},
        {11, 1.0f, 100.0f, "decimeter", "dm"},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(mm.Convert(c.from, c.value), c.mm) << c.from;
        EXPECT_STREQ(mm.LongName(c.from), c.long_name);
        EXPECT_STREQ(mm.ShortName(c.from), c.short_name);
    }
    // Exactly the single-precision quotient of the two factors.
    EXPECT_EQ(mm.Convert(7, 1.0f), 25400.31f / 1000.0f);
    EXPECT_EQ(mm.Convert(12, 1.0f), 0.0f);
    EXPECT_EQ(mm.Convert(-2, 1.0f), 0.0f);
    EXPECT_EQ(mm.ShortName(12), nullptr);
    EXPECT_EQ(LengthUnit(12).Convert(2, 1.0f), 0.0f);
    // Back and forth through inches.
    const LengthUnit inch(7);
    EXPECT_FLOAT_EQ(inch.ConvertTo(2, 1.0f), 25.40031f);
    EXPECT_FLOAT_EQ(inch.Convert(2, 25.40031f), 1.0f);
    EXPECT_FLOAT_EQ(mm.Convert(9, 7, 1.0f), 12.0f);
}

TEST(Units, AreaAndTimeTables) {
    const AreaUnit in2(0);
    const struct { int index; float factor; const char* long_name; const char* short_name; } areas[] = {
        {0, 1.0f, "square inch", "in2"},        {1, 144.0f, "square foot", "ft2"},
        {2, 1296.0f, "square yard", "yd2"},     {3, 155.0003f, "kvadrat", "qv"},
        {4, 0.15500031f, "square centimeter", "cm2"}, {5, 15.500031f, "square decimeter", "dm2"},
        {6, 1550.003f, "square meter", "m2"},
    };
    for (const auto& a : areas) {
        EXPECT_EQ(in2.Convert(a.index, 1.0f), a.factor) << a.index;
        EXPECT_STREQ(in2.LongName(a.index), a.long_name);
        EXPECT_STREQ(in2.ShortName(a.index), a.short_name);
    }
    EXPECT_EQ(in2.Convert(7, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(AreaUnit(4).Convert(6, 1.0f), 10000.0f);

    const TimeUnit minutes(0);
    EXPECT_FLOAT_EQ(minutes.Convert(2, 1.0f), 60.0f);
    EXPECT_FLOAT_EQ(minutes.Convert(1, 90.0f), 1.5f);
    EXPECT_FLOAT_EQ(minutes.Convert(3, 100.0f), 60.0f);   // a hundred hundredths of an hour
    const char* names[4][2] = {{"minute", "min"}, {"second", "sec"}, {"hour", "hour"}, {"hour/100", "hour/100"}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(minutes.LongName(i), names[i][0]);
        EXPECT_STREQ(minutes.ShortName(i), names[i][1]);
    }
}

}  // namespace
