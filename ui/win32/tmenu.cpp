// WIN_TMenu on Windows: the toolbar, its buttons from the menu, rebuilds and submenu look-up.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "ui/toolbar_buttons.h"
#include "ui/toolbar_strings.h"
#include "zedll/win32/tmenu.h"

static_assert(zed::kButtonEnabled == TBSTATE_ENABLED && zed::kButtonPressed == TBSTATE_PRESSED,
              "button states");
static_assert(zed::kButtonDropDown == BTNS_DROPDOWN && zed::kButtonAutoSize == BTNS_AUTOSIZE,
              "button styles");
static_assert(zed::kMenuItemInactive == (MFS_GRAYED | MFS_DISABLED), "menu item states");

namespace {

constexpr int kItemTextBytes = 150;

void SetMetrics(HWND toolbar) {
    const zed::MenuBarMetrics m;
    ::SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, m.button_struct_size, 0);
    ::SendMessageA(toolbar, TB_SETMAXTEXTROWS, m.text_rows, 0);
    ::SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(m.bitmap_width, m.bitmap_height));
    ::SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(m.button_width, m.button_height));
}

}  // namespace

WIN_TMenu::WIN_TMenu()
    : menu_(nullptr), open_submenu_(nullptr), strings_(nullptr), popup_thread_(nullptr),
      strings_length_(0), strings_capacity_(0), open_button_(0), tracking_(0), first_string_(0),
      popup_params_{}, popup_x_(0), popup_y_(0), instance_(nullptr), popup_owner_(nullptr),
      hover_thread_(nullptr) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&classes);
}

WIN_TMenu::~WIN_TMenu() {
    EndPopup(false);
    if (menu_ != nullptr) ::DestroyMenu(menu_);
    menu_ = nullptr;
    zed::FreeToolbarStrings(strings_, strings_length_, strings_capacity_);
}

HWND WIN_TMenu::Create(HWND parent, UINT id, UINT number, HINSTANCE instance) {
    instance_ = instance;
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(number));
    if (menu == nullptr) return nullptr;
    if (menu_ != nullptr) ::DestroyMenu(menu_);
    menu_ = menu;
    return CreateMain(parent, id);
}

HWND WIN_TMenu::Create(HWND parent, UINT id, const char* name, HINSTANCE instance) {
    instance_ = instance;
    if (name == nullptr) return nullptr;
    HMENU menu = ::LoadMenuA(instance, name);
    if (menu == nullptr) return nullptr;
    if (menu_ != nullptr) ::DestroyMenu(menu_);
    menu_ = menu;
    return CreateMain(parent, id);
}

HWND WIN_TMenu::CreateMain(HWND parent, UINT id) {
    HWND toolbar = ::CreateWindowExA(zed::kMenuBarExStyle, TOOLBARCLASSNAMEA, zed::kMenuBarText,
                                     zed::kMenuBarStyle, 1, 1, 20, 16, parent,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                     instance_, nullptr);
    if (toolbar == nullptr) return nullptr;
    window_ = toolbar;
    // Switches are posted to the window the toolbar notifies, also once a rebar adopts it.
    parent_ = parent;
    SetMetrics(toolbar);
    first_string_ = 0;
    zed::FreeToolbarStrings(strings_, strings_length_, strings_capacity_);
    const int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        char text[kItemTextBytes] = {};
        ::GetMenuStringA(menu_, i, text, kItemTextBytes, MF_BYPOSITION);
        AddStrList(text);
    }
    InsertButtons();
    if (strings_ != nullptr) ::SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings_));
    return toolbar;
}

void WIN_TMenu::InsertButtons() {
    const int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu_, i, TRUE, &info)) continue;
        const zed::ButtonPlan plan = zed::PlanMenuButton(
            {info.hSubMenu != nullptr, info.wID, info.fState}, i, first_string_);
        TBBUTTON button{};
        button.iBitmap = plan.bitmap;
        button.idCommand = plan.command;
        button.fsState = plan.state;
        button.fsStyle = plan.style;
        button.iString = plan.string_index;
        ::SendMessageA(window_, TB_INSERTBUTTONA, i, reinterpret_cast<LPARAM>(&button));
    }
}

void WIN_TMenu::Rebuild() {
    zed::FreeToolbarStrings(strings_, strings_length_, strings_capacity_);
    if (window_ == nullptr) return;
    while (::SendMessageA(window_, TB_DELETEBUTTON, 0, 0)) {
    }
    SetMetrics(window_);
    const int count = ::GetMenuItemCount(menu_);
    for (int i = 0; i < count; ++i) {
        char text[kItemTextBytes] = {};
        ::GetMenuStringA(menu_, i, text, kItemTextBytes, MF_BYPOSITION);
        AddStrList(text);
    }
    // The toolbar keeps every text it was given: the new ones start further on in its pool.
    if (strings_ != nullptr) {
        const LRESULT first = ::SendMessageA(window_, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings_));
        first_string_ = first >= 0 ? static_cast<int>(first) : 0;
    }
    InsertButtons();
}

int WIN_TMenu::Update(HMENU menu) {
    if (menu == nullptr) return 0;
    EndPopup(true);
    if (menu_ != nullptr && menu_ != menu) ::DestroyMenu(menu_);
    menu_ = menu;
    Rebuild();
    return 1;
}

int WIN_TMenu::DrawMenuBar() {
    Rebuild();
    return 1;
}

char* WIN_TMenu::AddStrList(const char* text) {
    return zed::AppendToolbarString(strings_, strings_length_, strings_capacity_, text);
}

HMENU WIN_TMenu::GetSubMenu(const char* text) { return GetSubMenu(menu_, text); }

HMENU WIN_TMenu::GetSubMenu(HMENU menu, const char* text) {
    if (menu == nullptr || text == nullptr) return nullptr;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char item[kItemTextBytes] = {};
        ::GetMenuStringA(menu, i, item, kItemTextBytes, MF_BYPOSITION);
        if (::lstrcmpA(item, text) == 0) return ::GetSubMenu(menu, i);
    }
    return nullptr;
}

HMENU WIN_TMenu::GetMenuHandle() { return menu_; }
