// Where the message box goes: every placement group with a fixed desktop, box and reference,
// the order in which the groups are tried, the span rule and the refusals.
#include "ui/message_box_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using zed::ui::PlaceMessageBox;
using zed::ui::PlacementFacts;
using zed::ui::Reference;

// A 1280 x 1024 desktop, the box of 200 x 100 where the dialog manager put it at (50, 60), the
// reference window (100, 200)-(700, 600), the point or span (500, 500).
constexpr RECT kBox{50, 60, 250, 160};
PlacementFacts Facts(int x = 500, int y = 500, bool window_known = true) {
    return PlacementFacts{1280, 1024, window_known, RECT{100, 200, 700, 600}, x, y};
}

TEST(MessageBoxPlacement, EachFlagGroupPlacesItsAxes) {
    const struct Case {
        const char* what;
        unsigned flags;
        PlacementFacts facts;
        int left, top;
    } cases[] = {
        {"desktop", 0x10, Facts(), 540, 462},
        {"desktop wins over every other flag", 0x10 | 0x3 | 0xC | 0x60 | 0x300, Facts(), 540, 462},
        {"window, across only", 0x01, Facts(), 300, 60},
        {"window, down only", 0x02, Facts(), 50, 350},
        {"window, both", 0x03, Facts(), 300, 350},
        {"window wins over points", 0x01 | 0x08, Facts(), 300, 60},
        {"centre at the point, x", 0x04, Facts(), 400, 60},
        {"centre at the point, y", 0x08, Facts(), 50, 450},
        {"centre wins over edges", 0x04 | 0x40, Facts(), 400, 60},
        {"edge at the point, x", 0x20, Facts(), 500, 60},
        {"edge at the point, both", 0x60, Facts(-30, -40), -30, -40},
        {"span, whole width", 0x100, Facts(0, 0), 300, 60},
        {"span from x on", 0x100, Facts(300, 0), 400, 60},
        {"span up to |x|: [100, 600]", 0x100, Facts(-600, 0), 250, 60},
        {"span down from y", 0x200, Facts(0, 250), 50, 375},
        {"span up to |y|", 0x300, Facts(-600, -500), 250, 300},
        {"no group: offset by the window's corner", 0x0, Facts(), 150, 260},
        {"unknown bits only are no group", 0x400 | 0x80, Facts(), 150, 260},
        {"window unreadable: the position stays", 0x03, Facts(500, 500, false), 50, 60},
        {"span window unreadable: the position stays", 0x100, Facts(-600, 0, false), 50, 60},
    };
    for (const Case& c : cases) {
        const zed::ui::Placement p = PlaceMessageBox(c.flags, kBox, c.facts);
        EXPECT_TRUE(p.placed) << c.what;
        EXPECT_EQ(p.left, c.left) << c.what;
        EXPECT_EQ(p.top, c.top) << c.what;
    }
    // Without a group the box cannot be placed against a window it cannot read.
    EXPECT_FALSE(PlaceMessageBox(0, kBox, Facts(0, 0, false)).placed);
}

TEST(MessageBoxPlacement, HalvesAreTruncatedTowardZero) {
    const RECT odd{0, 0, 201, 101};
    // A window narrower than the box: (50 - 201) / 2 = -75, not -76.
    PlacementFacts narrow{1280, 1024, true, RECT{100, 100, 150, 150}, 0, 0};
    const zed::ui::Placement p = PlaceMessageBox(0x03, odd, narrow);
    EXPECT_EQ(p.left, 100 - 75);
    EXPECT_EQ(p.top, 100 - 25);
    // A point: 201 / 2 = 100.
    EXPECT_EQ(PlaceMessageBox(0x0C, odd, Facts(0, 0)).left, -100);
    EXPECT_EQ(PlaceMessageBox(0x0C, odd, Facts(0, 0)).top, -50);
    // A desktop smaller than the box.
    PlacementFacts tiny{101, 51, false, RECT{}, 0, 0};
    EXPECT_EQ(PlaceMessageBox(0x10, odd, tiny).left, -50);
    EXPECT_EQ(PlaceMessageBox(0x10, odd, tiny).top, -25);
    // The most negative span does not overflow.
    EXPECT_EQ(PlaceMessageBox(0x100, kBox, Facts(INT_MIN, 0)).left,
              static_cast<int>((2147483648LL - 100 - 200) / 2 + 100));
}

TEST(MessageBoxPlacement, WhatTheReferenceIsAndWhenItIsNeeded) {
    const struct { unsigned flags; Reference reference; bool needed; } cases[] = {
        {0x00, Reference::kWindow, false},   {0x10, Reference::kNothing, false},
        {0x11, Reference::kNothing, false},  {0x01, Reference::kWindow, true},
        {0x02, Reference::kWindow, true},    {0x04, Reference::kPoint, true},
        {0x08, Reference::kPoint, true},     {0x20, Reference::kPoint, true},
        {0x40, Reference::kPoint, true},     {0x80, Reference::kWindow, true},
        {0x100, Reference::kSpan, true},     {0x200, Reference::kSpan, true},
        {0x400, Reference::kWindow, false},  {0x310, Reference::kNothing, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zed::ui::ReferenceFor(c.flags), c.reference) << c.flags;
        EXPECT_EQ(zed::ui::NeedsReference(c.flags), c.needed) << c.flags;
    }
}

}  // namespace
