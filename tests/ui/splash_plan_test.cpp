// The splash screen's plan: the template byte for byte, the percentage text and the clock that
// decides when the splash may go, across the tick counter's wrap.
#include "ui/splash_plan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "tests/ui/template_bytes.h"

namespace {

using zed::ui::SplashClock;
using zedtest::Expect;

TEST(SplashPlan, TemplateHoldsThePictureThePercentageAndTheBar) {
    WIN_DlgTemplate dlg;
    ASSERT_TRUE(zed::ui::BuildSplash(dlg, 0x1234));
    Expect all;
    all.D(0x94000844).D(0x10080).W(3).W(0).W(0).W(256).W(148).W(0).W(0).S("SplashLoader").W(8)
        .S("MS Sans Serif").Pad();
    all.D(0x5002080E).D(4).W(0).W(0).W(280).W(200).W(30000).S("STATIC").W(0xFFFF).W(0x1234).W(0).Pad();
    all.D(0x50000000).D(0).W(90).W(92).W(30).W(8).W(30001).S("STATIC").S(" 0 % ").W(0).Pad();
    all.D(0x50800001).D(0).W(33).W(104).W(145).W(8).W(30002).S("msctls_progress32").S("Progress1").W(0);
    EXPECT_EQ(zedtest::Take(dlg.GetDlgTemplate(), all.bytes.size()), all.bytes);
}

TEST(SplashPlan, PercentageText) {
    const struct { int percent; const char* text; } cases[] = {
        {42, "42 %"}, {0, "0 %"}, {100, "100 %"}, {-7, "-7 %"}, {INT_MIN, "-2147483648 %"},
    };
    for (const auto& c : cases) {
        char out[16];
        zed::ui::FormatPercent(c.percent, out);
        EXPECT_STREQ(out, c.text) << c.percent;
    }
}

TEST(SplashPlan, ClockWaitsTheMinimumAcrossTheCounterWrap) {
    const struct Case {
        const char* what;
        uint32_t start, seconds, now;
        bool moved, elapsed;
    } cases[] = {
        {"no minimum", 1000, 0, 1000, false, true},
        {"no minimum, later", 1000, 0, 1001, true, true},
        {"one second short of three", 1000, 3, 2000, true, false},
        {"one tick short", 1000, 3, 3999, true, false},
        {"exactly three", 1000, 3, 4000, true, true},
        {"across the wrap, short", 0xFFFFFF00u, 1, 0x000002E7u, true, false},
        {"across the wrap, done", 0xFFFFFF00u, 1, 0x000002E8u, true, true},
        {"a minimum beyond the counter's range", 0, 5000000, 0xFFFFFFFEu, true, false},
        {"... ends when the counter has gone round", 0, 5000000, 0xFFFFFFFFu, true, true},
    };
    for (const Case& c : cases) {
        const SplashClock clock(c.start, c.seconds);
        EXPECT_EQ(clock.Moved(c.now), c.moved) << c.what;
        EXPECT_EQ(clock.Elapsed(c.now), c.elapsed) << c.what;
    }
    EXPECT_EQ(SplashClock(0, 4294967).minimum_ms(), 4294967000u);
    EXPECT_EQ(SplashClock(0, 4294968).minimum_ms(), UINT32_MAX);
}

}  // namespace
