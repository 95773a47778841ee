// The button that a top-level menu item becomes.
#include "ui/toolbar_buttons.h"

namespace zed {

ButtonPlan PlanMenuButton(const MenuItemFacts& item, int position, int first_string) {
    ButtonPlan button{};
    button.bitmap = -1;
    // Items with a submenu have no identifier of their own; the position names the submenu.
    button.command = item.has_submenu ? position + 1 : static_cast<int>(item.id);
    button.state = (item.state & kMenuItemInactive) != 0 ? 0 : kButtonEnabled;
    button.style = static_cast<uint8_t>(kButtonAutoSize | (item.has_submenu ? kButtonDropDown : 0));
    button.string_index = position + first_string;
    return button;
}

int SubmenuPositionOfCommand(int command, int item_count) {
    if (command < 1 || command > item_count) return -1;
    return command - 1;
}

}  // namespace zed
