// Buttons from top-level menu items: commands, states, styles and text indexes.
#include "ui/toolbar_buttons.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zed::ButtonPlan;
using zed::MenuItemFacts;

std::vector<ButtonPlan> Bar(const std::vector<MenuItemFacts>& items, int first_string) {
    std::vector<ButtonPlan> out;
    for (size_t i = 0; i < items.size(); ++i)
        out.push_back(zed::PlanMenuButton(items[i], static_cast<int>(i), first_string));
    return out;
}

TEST(ToolbarButtons, TwoSubmenusAndACommandGiveTwoDropDownsAndAPlainButton) {
    // A submenu item reports the id -1 through GetMenuItemInfo; it must not leak into the command.
    const auto bar = Bar({{true, 0xFFFFFFFFu, 0}, {true, 0xFFFFFFFFu, 0}, {false, 500, 0}}, 0);
    ASSERT_EQ(bar.size(), 3u);
    const int commands[] = {1, 2, 500};
    const uint8_t styles[] = {0x18, 0x18, 0x10};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(bar[i].command, commands[i]) << i;
        EXPECT_EQ(bar[i].style, styles[i]) << i;
        EXPECT_EQ(bar[i].state, zed::kButtonEnabled) << i;
        EXPECT_EQ(bar[i].bitmap, -1);
        EXPECT_EQ(bar[i].string_index, i);
    }
}

TEST(ToolbarButtons, StateTable) {
    struct Case {
        uint32_t menu_state;
        uint8_t button_state;
    } cases[] = {
        {0x0000, 0x04},  // enabled
        {0x0001, 0x00},  // MF_GRAYED alone (as older resources set it)
        {0x0002, 0x00},  // MF_DISABLED alone
        {0x0003, 0x00},  // MFS_GRAYED
        {0x0008, 0x04},  // checked: still a usable button
        {0x0080, 0x04},  // highlighted
        {0x1000, 0x04},  // default item
        {0x108B, 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zed::PlanMenuButton({false, 7, c.menu_state}, 0, 0).state, c.button_state)
            << std::hex << c.menu_state;
        EXPECT_EQ(zed::PlanMenuButton({true, 7, c.menu_state}, 0, 0).state, c.button_state);
    }
}

TEST(ToolbarButtons, TextIndexesFollowTheRebuildsFirstString) {
    const auto bar = Bar({{true, 0, 0}, {false, 40, 0}, {true, 0, 0}, {false, 41, 1}}, 12);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bar[i].string_index, 12 + i);
    EXPECT_EQ(bar[2].command, 3);
}

TEST(ToolbarButtons, DropDownCommandsNameSubmenuPositions) {
    struct Case {
        int command, count, position;
    } cases[] = {{1, 3, 0}, {3, 3, 2}, {4, 3, -1}, {0, 3, -1}, {-5, 3, -1}, {500, 3, -1}, {1, 0, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(zed::SubmenuPositionOfCommand(c.command, c.count), c.position) << c.command;
}

TEST(ToolbarButtons, ToolbarWindowStyleIsTheFlatListMenuBar) {
    // child | visible | transparent | list | flat | wrapable | no divider | adjustable |
    // no parent align | no resize | no vertical move
    const uint32_t bits = 0x40000000 | 0x10000000 | 0x8000 | 0x1000 | 0x800 | 0x200 | 0x40 |
                          0x20 | 0x8 | 0x4 | 0x2;
    EXPECT_EQ(zed::kMenuBarStyle, bits);
}

}  // namespace
