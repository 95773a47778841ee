// Rebar docking for the four edges, its style, and the band records of toolbars and menus.
#include "ui/rebar_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(RebarLayout, DocksToEachEdgeOfAnEightHundredBySixHundredClient) {
    // A rebar window of 40 x 40: its own width counts for the sides, its height for the bottom.
    struct Case {
        int alignment, x, y, w, h;
    } cases[] = {
        {0, 0, 0, 800, 600},   // top: the rebar fits its height to its bands itself
        {1, 0, 0, 40, 600},    // left
        {2, 0, 560, 800, 40},  // bottom
        {3, 760, 0, 40, 600},  // right
        {7, 0, 0, 800, 600},   // unknown values dock like the top
        {-1, 0, 0, 800, 600},
    };
    for (const Case& c : cases) {
        const zed::DockPlacement p = zed::DockRebar(c.alignment, 800, 600, 40, 40);
        EXPECT_EQ(p.x, c.x) << c.alignment;
        EXPECT_EQ(p.y, c.y) << c.alignment;
        EXPECT_EQ(p.width, c.w) << c.alignment;
        EXPECT_EQ(p.height, c.h) << c.alignment;
    }
}

TEST(RebarLayout, VerticalStyleForOddAlignments) {
    EXPECT_EQ(zed::RebarStyle(0), 0x56000648u);
    EXPECT_EQ(zed::RebarStyle(2), 0x56000648u);
    EXPECT_EQ(zed::RebarStyle(1), 0x560006C8u);
    EXPECT_EQ(zed::RebarStyle(3), 0x560006C8u);
}

TEST(RebarLayout, BandMasksAndStylesForEveryKindTextAndBitmap) {
    using zed::BandKind;
    struct Case {
        BandKind kind;
        bool text, bitmap;
        uint32_t mask, style;
        int min_width;
    } cases[] = {
        {BandKind::Toolbar, false, false, 0x71, 0xA4, 250},
        {BandKind::Toolbar, true, false, 0x75, 0xA4, 250},
        {BandKind::Toolbar, false, true, 0xF1, 0xA4, 250},
        {BandKind::Toolbar, true, true, 0xF5, 0xA4, 250},
        {BandKind::Menu, false, false, 0x71, 0xE4, 0},
        {BandKind::Menu, true, false, 0x75, 0xE4, 0},
        {BandKind::Menu, false, true, 0xF1, 0xE4, 0},
        {BandKind::Menu, true, true, 0xF5, 0xE4, 0},
    };
    for (const Case& c : cases) {
        bool new_line = false;
        const zed::BandPlan b = zed::PlanBand(c.kind, c.text, c.bitmap, new_line, 22);
        EXPECT_EQ(b.mask, c.mask);
        EXPECT_EQ(b.style, c.style);
        EXPECT_EQ(b.min_child_width, c.min_width);
        EXPECT_EQ(b.min_child_height, 22);
        EXPECT_EQ(b.width, 250);
        new_line = true;
        EXPECT_EQ(zed::PlanBand(c.kind, c.text, c.bitmap, new_line, 22).style, c.style | 0x1);
    }
}

TEST(RebarLayout, NewLineBreaksOnlyTheNextBand) {
    bool new_line = false;
    const uint32_t first = zed::PlanBand(zed::BandKind::Menu, false, false, new_line, 20).style;
    new_line = true;  // NewLine
    const uint32_t second = zed::PlanBand(zed::BandKind::Toolbar, true, false, new_line, 20).style;
    EXPECT_FALSE(new_line);
    const uint32_t third = zed::PlanBand(zed::BandKind::Toolbar, true, false, new_line, 20).style;
    EXPECT_EQ(first & 1u, 0u);
    EXPECT_EQ(second & 1u, 1u);
    EXPECT_EQ(third & 1u, 0u);
}

TEST(RebarLayout, StackedHeightOfAVerticalBand) {
    struct Case {
        int count, height, stacked;
    } cases[] = {{0, 22, 0}, {1, 22, 22}, {5, 22, 110}, {-3, 22, 0}, {4, -1, 0},
                 {100000, 100000, 0x7FFFFFFF}};
    for (const Case& c : cases)
        EXPECT_EQ(zed::StackedButtonsHeight(c.count, c.height), c.stacked) << c.count;
}

}  // namespace
