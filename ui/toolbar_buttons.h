// The toolbar menu bar's buttons as plain data: one button per top-level menu item.
#ifndef ZEDLL_UI_TOOLBAR_BUTTONS_H
#define ZEDLL_UI_TOOLBAR_BUTTONS_H

#include <cstdint>

namespace zed {

// The common controls' own values (the Windows glue checks them against the SDK).
constexpr uint8_t kButtonEnabled = 0x04;   // TBSTATE_ENABLED
constexpr uint8_t kButtonPressed = 0x02;   // TBSTATE_PRESSED
constexpr uint8_t kButtonDropDown = 0x08;  // BTNS_DROPDOWN
constexpr uint8_t kButtonAutoSize = 0x10;  // BTNS_AUTOSIZE
constexpr uint32_t kMenuItemInactive = 0x3;  // MFS_GRAYED | MFS_DISABLED

/// The toolbar window: extended style, style, text, and the metrics set at every (re)build.
constexpr uint32_t kMenuBarExStyle = 0x80;  // WS_EX_TOOLWINDOW
constexpr uint32_t kMenuBarStyle = 0x50009A6E;
constexpr const char* kMenuBarText = "TBMenu";
struct MenuBarMetrics {
    int button_struct_size = 20, text_rows = 1;
    int bitmap_width = 1, bitmap_height = 1;
    int button_width = 16, button_height = 20;
};

/// What a top-level menu item tells about itself.
struct MenuItemFacts {
    bool has_submenu;
    uint32_t id;     // the item's command identifier
    uint32_t state;  // its MFS_ state bits
};

/// One toolbar button (TBBUTTON without its padding and data).
struct ButtonPlan {
    int bitmap;        // always -1: text only
    int command;       // position + 1 for an item with a submenu, else the item's identifier
    uint8_t state;     // enabled unless the item is grayed or disabled
    uint8_t style;     // auto-size, plus drop-down for an item with a submenu
    int string_index;  // position + first string index
};

/// The button for the item at `position` when the rebuild's first text has `first_string` in
/// the toolbar's string pool.
ButtonPlan PlanMenuButton(const MenuItemFacts& item, int position, int first_string);

/// The submenu position of a drop-down button's command, or -1 for a command that names none
/// among `item_count` items.
int SubmenuPositionOfCommand(int command, int item_count);

}  // namespace zed

#endif
