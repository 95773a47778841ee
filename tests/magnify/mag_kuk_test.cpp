// The peephole view's mapping: fitting the visible rectangle to the client at its scale, keeping
// it inside the world, zoom commands and their limits, scrolling with every code, and the
// conversions between pixels and work-area units.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "zedll/win32/magnify_view.h"

namespace {

bool Same(const LRECT& a, const LRECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
::testing::AssertionResult Is(const LRECT& actual, const LRECT& expected) {
    if (Same(actual, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                         << actual.bottom << ")";
}

// A view of `cw` x `ch` pixels on the world.
MagKUKUC View(int cw, int ch, LRECT world, long mx = 0, long my = 0) {
    MagKUKUC v(nullptr, nullptr, 0);
    v.SetClientRect(0, 0, cw, ch, 0);
    v.SetWorld(world.left, world.top, world.right, world.bottom, mx, my, 0);
    return v;
}

TEST(MagKuk, SetWorldFitsTheWorldAtTheLargerScale) {
    MagKUKUC v = View(400, 200, LRECT{0, 400000, 400000, 0});
    EXPECT_EQ(v.GetScale(), 2000.0);
    // Twice as wide as the world, kept at the world's left edge.
    EXPECT_TRUE(Is(v.GetVisible(), LRECT{0, 400000, 800000, 0}));
    EXPECT_TRUE(Is(v.GetExtent(), LRECT{0, 400000, 800000, 0}));
    // Margins widen the world to 1200 x 1100; the square client makes the view 1200 high, and
    // as it is taller than the world with its margins, its top edge wins.
    MagKUKUC m = View(200, 200, LRECT{0, 1000, 1000, 0}, 100, 50);
    EXPECT_TRUE(Is(m.GetVisible(), LRECT{-100, 1050, 1100, -150}));
    EXPECT_TRUE(Is(m.GetExtent(), LRECT{-100, 1050, 1100, -150}));
}

TEST(MagKuk, ClientRectKeepsTopLeftOrCentre) {
    MagKUK k;
    k.SetVisible(LRECT{0, 1000, 1000, 0});
    k.SetClientRect(0, 0, 100, 100, 0);
    EXPECT_EQ(k.GetScale(), 10.0);
    EXPECT_TRUE(Is(k.GetVisible(), LRECT{0, 1000, 1000, 0}));
    // Wider: the top-left stays, the extent follows.
    k.SetClientRect(0, 0, 200, 100, 0);
    EXPECT_TRUE(Is(k.GetVisible(), LRECT{0, 1000, 2000, 0}));
    // Narrower again, keeping the centre: (2000 - 1000) / 2 back on the left.
    k.SetClientRect(0, 0, 100, 50, 1);
    EXPECT_TRUE(Is(k.GetVisible(), LRECT{500, 750, 1500, 250}));
    // A zero right or bottom stores the client and changes nothing.
    k.SetClientRect(0, 0, 0, 50, 1);
    EXPECT_TRUE(Is(k.GetVisible(), LRECT{500, 750, 1500, 250}));
}

TEST(MagKuk, ShowCommandLimitsAndFit) {
    MagKUKUC v = View(400, 400, LRECT{0, 400000, 400000, 0});
    const struct { const char* what; LRECT area; int result; } cases[] = {
        {"width 50", {1000, 2000, 1050, 1000}, 0},
        {"height 30", {1000, 1030, 2000, 1000}, 0},
        {"51 x 31", {1000, 1031, 1051, 1000}, 1},
        {"5 x the world", {0, 2000000, 2000000, 0}, 1},
        {"wider than 5 x", {0, 2000000, 2000001, 0}, 0},
        {"taller than 5 x", {0, 2000001, 1000, 0}, 0},
    };
    for (const auto& c : cases) {
        const LRECT before = v.GetVisible();
        EXPECT_EQ(v.Command(6, &c.area), c.result) << c.what;
        if (c.result == 0) {
            EXPECT_TRUE(Is(v.GetVisible(), before)) << c.what;
        }
    }
    // The shown rectangle's centre stays in the middle: (0, 80000, 80000, 0) on a square client.
    const LRECT fifth{0, 80000, 80000, 0};
    ASSERT_EQ(v.Command(6, &fifth), 1);
    EXPECT_TRUE(Is(v.GetVisible(), fifth));
    EXPECT_EQ(v.GetScale(), 200.0);
    ASSERT_EQ(v.Command(1, nullptr), 1);
    EXPECT_TRUE(Is(v.GetVisible(), LRECT{0, 400000, 400000, 0}));
    EXPECT_EQ(v.Command(3, nullptr), 0);
}

TEST(MagKuk, ScrollCodesAndLimits) {
    MagKUKUC v = View(100, 100, LRECT{0, 9000, 9000, 0});
    const LRECT a{0, 9000, 900, 8100};   // a tenth of the world, at its top-left
    ASSERT_EQ(v.Command(6, &a), 1);
    ASSERT_TRUE(Is(v.GetVisible(), a));
    const struct { const char* what; int bar, code, track, result; long left, top; } steps[] = {
        {"line right", 0, 1, 0, 1, 100, 9000},
        {"page right", 0, 3, 0, 1, 1000, 9000},
        {"thumb track", 0, 5, 4000, 1, 4000, 9000},
        {"bottom: the right end", 0, 7, 0, 1, 8100, 9000},
        {"page right at the right end", 0, 3, 0, 0, 8100, 9000},
        {"line left", 0, 0, 0, 1, 8000, 9000},
        {"top: the left end", 0, 6, 0, 1, 0, 9000},
        {"line up at the top", 1, 0, 0, 0, 0, 9000},
        {"line down", 1, 1, 0, 1, 0, 8900},
        {"page down", 1, 3, 0, 1, 0, 8000},
        {"bottom", 1, 7, 0, 1, 0, 900},
        {"page down at the bottom", 1, 3, 0, 0, 0, 900},
        {"track to 3000 from the top", 1, 5, 3000, 1, 0, 6000},
        {"top", 1, 6, 0, 1, 0, 9000},
        {"thumb position changes nothing", 0, 4, 500, 0, 0, 9000},
        {"track beyond the end", 0, 5, 100000, 1, 8100, 9000},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(v.Scroll(s.bar, s.code, s.track), s.result) << s.what;
        EXPECT_EQ(v.GetVisible().left, s.left) << s.what;
        EXPECT_EQ(v.GetVisible().top, s.top) << s.what;
        EXPECT_EQ(v.GetVisible().right - v.GetVisible().left, 900) << s.what;
        EXPECT_EQ(v.GetVisible().top - v.GetVisible().bottom, 900) << s.what;
    }
    // Keys: Home and End scroll down the bar, arrows by lines; other keys are not handled.
    EXPECT_EQ(v.OnKeyDown(0x23, 1, 0), 1);   // End
    EXPECT_EQ(v.GetVisible().top, 900);
    EXPECT_EQ(v.OnKeyDown(0x24, 1, 0), 1);   // Home
    EXPECT_EQ(v.GetVisible().top, 9000);
    EXPECT_EQ(v.OnKeyDown(0x27, 1, 0), 1);   // Right
    EXPECT_EQ(v.GetVisible().left, 8100);    // already at the right end
    EXPECT_EQ(v.OnKeyDown(0x41, 1, 0), 0);   // 'A'
}

TEST(MagKuk, ConversionsRoundTripWithinOnePixel) {
    std::mt19937 rng(0x7A6);
    // At least one unit a pixel, and products of a size and a pixel within 32 bits.
    std::uniform_int_distribution<int> side(500, 1000), start(-100000, 100000), size(2000, 100000);
    for (int round = 0; round < 2000; ++round) {
        MagKUK k;
        const int l = start(rng), b = start(rng);
        k.SetVisible(LRECT{l, b + size(rng), l + size(rng), b});
        const int cw = side(rng), ch = side(rng);
        k.SetClientRect(0, 0, cw, ch, round % 2);
        for (int i = 0; i < 5; ++i) {
            const int px = static_cast<int>(rng() % static_cast<unsigned>(cw)), py = static_cast<int>(rng() % static_cast<unsigned>(ch));
            long x, y;
            k.DevToLog(px, py, &x, &y);
            ASSERT_LE(std::abs(k.LogToDevX(x) - px), 1) << round;
            ASSERT_LE(std::abs(k.LogToDevY(y) - py), 1) << round;
        }
    }
    // One pixel to one unit: the y axis turns over.
    MagKUK one;
    one.SetVisible(LRECT{0, 100, 100, 0});
    one.SetClientRect(0, 0, 100, 100, 0);
    EXPECT_EQ(one.DevToLogX(10), 10);
    EXPECT_EQ(one.DevToLogY(10), 90);
    EXPECT_EQ(one.LogToDevY(90), 10);
}

TEST(MagKuk, MouseReportsReachTheNotifyCallback) {
    static int calls = 0;
    MagKUKUC v(nullptr, [](MagnifyNS* r) { ++calls; return static_cast<int>(r->code == 0x201); }, 7);
    MagnifyNS record{};
    record.code = 0x200;
    int go_on = 1;
    EXPECT_EQ(v.OnMouse(&record, 0x200, 0, 0, 0, &go_on), 0);
    EXPECT_EQ(go_on, 1);
    record.code = 0x201;
    EXPECT_EQ(v.OnMouse(&record, 0x201, 0, 0, 0, &go_on), 1);
    EXPECT_EQ(go_on, 0);
    EXPECT_EQ(calls, 2);
    MagKUKUC quiet(nullptr, nullptr, 0);
    EXPECT_EQ(quiet.OnMouse(&record, 0x201, 0, 0, 0, &go_on), 0);
}

}  // namespace
