// The hover watcher's thresholds, at and around their boundaries.
#include "ui/hover_rule.h"

#include <gtest/gtest.h>

namespace {

using zed::CursorAt;

TEST(HoverRule, LooksOnlyStrictlyInsideAfterASixPixelMove) {
    const RECT bar{100, 50, 400, 72};
    struct Case {
        CursorAt cursor, last;
        bool look;
    } cases[] = {
        {{200, 60}, {0, 0}, true},
        {{100, 60}, {0, 0}, false},  // on the left edge
        {{101, 60}, {0, 0}, true},
        {{399, 60}, {0, 0}, true},
        {{400, 60}, {0, 0}, false},  // on the right edge
        {{200, 50}, {0, 0}, false},  // top edge
        {{200, 51}, {0, 0}, true},
        {{200, 72}, {0, 0}, false},  // bottom edge
        {{200, 60}, {205, 60}, false},  // 5 pixels
        {{200, 60}, {206, 60}, true},   // 6 pixels
        {{200, 60}, {194, 60}, true},
        {{200, 60}, {200, 66}, true},   // on the other axis
        {{200, 60}, {195, 55}, false},  // 5 on both
        {{200, 60}, {200, 60}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zed::HoverWorthLooking(c.cursor, c.last, bar), c.look)
            << c.cursor.x << "," << c.cursor.y << " from " << c.last.x << "," << c.last.y;
}

TEST(HoverRule, SettlesWithinTenPixelsOnBothAxes) {
    struct Case {
        CursorAt before, after;
        bool settled;
    } cases[] = {
        {{10, 10}, {10, 10}, true},   {{10, 10}, {20, 10}, true},  {{10, 10}, {21, 10}, false},
        {{10, 10}, {0, 0}, true},     {{10, 10}, {-1, 10}, false}, {{10, 10}, {10, 21}, false},
        {{10, 10}, {20, 20}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zed::HoverSettled(c.before, c.after), c.settled) << c.after.x << "," << c.after.y;
}

TEST(HoverRule, FarApartCoordinatesDoNotOverflow) {
    const RECT everything{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
    EXPECT_TRUE(zed::HoverWorthLooking({2147483646, 0}, {-2147483647, 0}, everything));
    EXPECT_FALSE(zed::HoverSettled({-2147483647 - 1, 0}, {2147483647, 0}));
}

}  // namespace
