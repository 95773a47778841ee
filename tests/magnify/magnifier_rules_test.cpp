// The magnifier's rules: the largest zoom, the rectangle a factor shows, stepping, the system
// menu's items and grey states, the measuring caption and arrowhead, and notification records.
#include <gtest/gtest.h>

#include "magnify/measure.h"
#include "magnify/menu_plan.h"
#include "magnify/zoom_rules.h"

namespace {

using namespace zed::magnify;

TEST(MagnifierRules, MaxZoomAndZoomRectangles) {
    const struct { LRECT work; int max; } cases[] = {
        {{0, 400000, 400000, 0}, 4000}, {{0, 5000, 5000, 0}, 500},   {{0, 800, 800, 0}, 800},
        {{0, 10001, 20000, 0}, 100},    {{0, 10000, 10000, 0}, 1000}, {{0, 1000, 1000, 0}, 1000},
        {{0, 1001, 1001, 0}, 100},      {{0, 0, 0, 0}, 0},            {{-500, 300, 500, -300}, 600},
    };
    for (const auto& c : cases) EXPECT_EQ(MaxZoom(c.work), c.max) << c.work.right;
    const LRECT z = ZoomRectangle(LRECT{0, 400000, 400000, 0}, 5);
    EXPECT_EQ(z.left, 0);
    EXPECT_EQ(z.top, 80000);
    EXPECT_EQ(z.right, 80000);
    EXPECT_EQ(z.bottom, 0);
    const LRECT t = ZoomRectangle(LRECT{-7, 7, 7, -7}, 2);   // truncated toward zero
    EXPECT_EQ(t.left, -3);
    EXPECT_EQ(t.bottom, -3);
    EXPECT_TRUE(MayZoomUp(2, LRECT{0, 0, 4, 0}));    // (4 / 4) x 3 = 3
    EXPECT_FALSE(MayZoomUp(3, LRECT{0, 0, 4, 0}));
    EXPECT_TRUE(MayZoomDown(1));
    EXPECT_FALSE(MayZoomDown(0));
    EXPECT_EQ(SyncFactor(800, 600, 200, 200), 3);
    EXPECT_EQ(SyncFactor(100, 600, 200, 200), 0);
    EXPECT_EQ(SyncFactor(800, 600, 0, 200), 0);
}

TEST(MagnifierRules, SystemMenuItemsAndGreyStates) {
    const auto plan = SystemMenuPlan(25);
    ASSERT_EQ(plan.size(), 9u);
    const struct { MenuItem::Kind kind; unsigned id; const char* text; } items[] = {
        {MenuItem::kCommand, 0xF010, "&Move"},       {MenuItem::kCommand, 0xF000, "&Size"},
        {MenuItem::kSeparator, 0, ""},               {MenuItem::kZoomMenu, 0, "&Zoom"},
        {MenuItem::kCommand, 2000, "Zoom &Input"},   {MenuItem::kCommand, 3100, "&Reset zoom"},
        {MenuItem::kCommand, 3000, "Measure"},       {MenuItem::kSeparator, 0, ""},
        {MenuItem::kCommand, 1000, "&Hide"},
    };
    for (size_t i = 0; i < plan.size(); ++i) {
        EXPECT_EQ(plan[i].kind, items[i].kind) << i;
        EXPECT_EQ(plan[i].id, items[i].id) << i;
        EXPECT_EQ(plan[i].text, items[i].text) << i;
    }
    const auto& zoom = plan[3].items;
    ASSERT_EQ(zoom.size(), 15u);
    for (size_t i = 0; i < zoom.size(); ++i) {
        EXPECT_EQ(zoom[i].id, 1000u + static_cast<unsigned>(kZoomFactors[i]));
        EXPECT_EQ(zoom[i].text, "Zoom &" + std::to_string(kZoomFactors[i]) + "x");
        // A maximum of 25: 1 to 20 enabled, 30 to 100 greyed.
        EXPECT_EQ(zoom[i].grey, kZoomFactors[i] >= 30) << kZoomFactors[i];
    }
    // The first four stay enabled whatever the maximum; 800 enables all fifteen.
    const auto none = SystemMenuPlan(0)[3].items;
    for (size_t i = 0; i < none.size(); ++i) EXPECT_EQ(none[i].grey, i >= 4) << i;
    const auto all = SystemMenuPlan(800)[3].items;
    for (const auto& f : all) EXPECT_FALSE(f.grey) << f.id;
}

TEST(MagnifierRules, MeasuringCaptionArrowheadAndNotifications) {
    // (10, 10) to (13, 14) on a one-to-one view with the y axis up: 3 across, 4 down.
    EXPECT_EQ(DistanceCaption(10, 90, 13, 86, 1.0f), "Distance 5.0000 mm");
    EXPECT_EQ(DistanceCaption(0, 0, 0, 0, 1.0f), "Distance 0.0000 mm");
    EXPECT_EQ(DistanceCaption(0, 0, 1000, 0, 0.0254f), "Distance 25.4000 mm");

    const Arrowhead a = ArrowheadOf(Pixel{0, 0}, Pixel{100, 0});
    EXPECT_EQ(a.tip.x, 100);
    EXPECT_EQ(a.barb1.x, 75);
    EXPECT_EQ(a.barb1.y, 7);
    EXPECT_EQ(a.barb2.x, 75);
    EXPECT_EQ(a.barb2.y, -7);
    // 3 across, 4 down: barbs back by trunc(0.75 + 0.28), trunc(1 - 0.21) and trunc(0.75 - 0.28),
    // trunc(1 + 0.21).
    const Arrowhead d = ArrowheadOf(Pixel{10, 10}, Pixel{13, 14});
    EXPECT_EQ(d.barb1.x, 12);
    EXPECT_EQ(d.barb1.y, 14);
    EXPECT_EQ(d.barb2.x, 13);
    EXPECT_EQ(d.barb2.y, 13);

    MagnifyNS out{};
    ASSERT_TRUE(FillNotification(8, 1, nullptr, 0, 42, &out));
    EXPECT_EQ(out.code, 8u);
    EXPECT_EQ(out.value, 1);
    EXPECT_EQ(out.userData, 42);
    EXPECT_EQ(out.extra, 0u);
    ASSERT_TRUE(FillNotification(2, 5, nullptr, 0x1234, 42, &out));
    EXPECT_EQ(out.code, 2u);
    EXPECT_EQ(out.extra, 0x1234u);
    EXPECT_FALSE(FillNotification(4, 0, nullptr, 0, 42, &out));
    MagnifyNS mouse{0, 0x201, 5, 6, 7, 8, 0, 1, 99};
    ASSERT_TRUE(FillNotification(4, 0, &mouse, 0, 42, &out));
    EXPECT_EQ(out.code, 0x201u);
    EXPECT_EQ(out.pointX, 5);
    EXPECT_EQ(out.clientY, 8);
    EXPECT_EQ(out.keyState, 1u);
    EXPECT_EQ(out.userData, 42);
}

}  // namespace
