// The unit tables and the conversions through them, in single precision.
#include "zedll/units.h"

namespace {

struct Unit {
    float factor;
    const char* long_name;
    const char* short_name;
};

// Length factors in 1/1000 mm, from index -1.
constexpr Unit kLengths[] = {
    {1.0f, "mm / 1000", "mm/1000"},      {10.0f, "mm / 100", "mm/100"},
    {25.0f, "mm / 40", "mm/40"},         {1000.0f, "millimeter", "mm"},
    {10000.0f, "centimeter", "cm"},      {1000000.0f, "meter", "m"},
    {25.40031f, "inch / 1000", "mils"},  {254.0031f, "inch / 100", "inch/100"},
    {25400.31f, "inch", "inch"},         {25400.31f, "fraction inch", "fr. inch"},
    {304803.72f, "foot", "ft"},          {914411.2f, "yard", "yd"},
    {100000.0f, "decimeter", "dm"},
};

// Area factors in square inches.
constexpr Unit kAreas[] = {
    {1.0f, "square inch", "in2"},          {144.0f, "square foot", "ft2"},
    {1296.0f, "square yard", "yd2"},       {155.0003f, "kvadrat", "qv"},
    {0.15500031f, "square centimeter", "cm2"}, {15.500031f, "square decimeter", "dm2"},
    {1550.003f, "square meter", "m2"},
};

// Time factors in minutes; a hundredth of an hour is 0.6 minutes.
constexpr Unit kTimes[] = {
    {1.0f, "minute", "min"},
    {1.0f / 60.0f, "second", "sec"},
    {60.0f, "hour", "hour"},
    {0.6f, "hour/100", "hour/100"},
};

// A table with its first index.
struct Table {
    const Unit* units;
    int first, count;
    const Unit* At(int index) const {
        const int i = index - first;
        return i >= 0 && i < count ? &units[i] : nullptr;
    }
    float Convert(int from, int to, float value) const {
        const Unit* a = At(from);
        const Unit* b = At(to);
        return a != nullptr && b != nullptr ? value * a->factor / b->factor : 0.0f;
    }
    const char* LongName(int index) const { return At(index) != nullptr ? At(index)->long_name : nullptr; }
    const char* ShortName(int index) const { return At(index) != nullptr ? At(index)->short_name : nullptr; }
};

constexpr Table kLengthTable{kLengths, -1, 13};
constexpr Table kAreaTable{kAreas, 0, 7};
constexpr Table kTimeTable{kTimes, 0, 4};

}  // namespace

#define ZEDLL_UNIT_CLASS(Class, table)                                                             \
    float Class::Convert(int from, float value) const { return table.Convert(from, unit_, value); } \
    float Class::ConvertTo(int to, float value) const { return table.Convert(unit_, to, value); }   \
    float Class::Convert(int from, int to, float value) const {                                    \
        return ConvertTo(to, Convert(from, value));                                                \
    }                                                                                              \
    const char* Class::LongName(int index) const { return table.LongName(index); }                 \
    const char* Class::ShortName(int index) const { return table.ShortName(index); }

ZEDLL_UNIT_CLASS(LengthUnit, kLengthTable)
ZEDLL_UNIT_CLASS(AreaUnit, kAreaTable)
ZEDLL_UNIT_CLASS(TimeUnit, kTimeTable)
