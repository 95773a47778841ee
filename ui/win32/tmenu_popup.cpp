// WIN_TMenu's drop-downs: the popup thread running a submenu, the hover thread that switches to
// another button, and ending a drop-down from the UI thread.
#include <windows.h>
#include <commctrl.h>

#include "ui/hover_rule.h"
#include "ui/toolbar_buttons.h"
#include "zedll/win32/tmenu.h"

namespace {

constexpr LONG kSwitchRequested = 1;
constexpr LONG kPopupClosed = 2;
constexpr LONG kCancelled = 3;
constexpr SIZE_T kThreadStack = 1024;
// A popup's menu loop ends within a few messages of WM_CANCELMODE; this is the last resort.
constexpr DWORD kEndPopupLimitMs = 2000;
constexpr DWORD kCancelRepeatMs = 10;
constexpr UINT kToolbarReplyMs = 100;

// The one record a switch posts; the host reads it while handling the posted WM_NOTIFY.
NMTOOLBARA g_switch_record;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return ::DefWindowProcA(window, message, wparam, lparam);
}

LRESULT AskToolbar(HWND toolbar, UINT message, WPARAM wparam, LPARAM lparam) {
    // The UI thread may be waiting for this popup to end: never block on it.
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(toolbar, message, wparam, lparam, SMTO_ABORTIFHUNG,
                               kToolbarReplyMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

HANDLE StartThread(LPTHREAD_START_ROUTINE routine, void* self) {
    return ::CreateThread(nullptr, kThreadStack, routine, self, STACK_SIZE_PARAM_IS_A_RESERVATION,
                          nullptr);
}

}  // namespace

struct TMenuThreads {
    static DWORD WINAPI Popup(void* self) {
        static_cast<WIN_TMenu*>(self)->RunPopup();
        return 0;
    }
    static DWORD WINAPI Hover(void* self) {
        static_cast<WIN_TMenu*>(self)->RunHover();
        return 0;
    }
};

int WIN_TMenu::CmdNotify(LPNMHDR notify) {
    if (notify == nullptr || window_ == nullptr || notify->hwndFrom != window_ ||
        notify->code != static_cast<UINT>(TBN_DROPDOWN))
        return 0;
    const auto* record = reinterpret_cast<const NMTOOLBARA*>(notify);
    if (popup_thread_ == INVALID_HANDLE_VALUE) {
        popup_thread_ = nullptr;
        tracking_ = 0;
        return 1;
    }
    EndPopup(true);

    RECT rect{};
    ::SendMessageA(window_, TB_GETRECT, record->iItem, reinterpret_cast<LPARAM>(&rect));
    ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    popup_params_.cbSize = sizeof popup_params_;
    popup_params_.rcExclude = rect;
    popup_x_ = rect.left;
    popup_y_ = rect.top;

    const int position = zed::SubmenuPositionOfCommand(record->iItem, ::GetMenuItemCount(menu_));
    open_submenu_ = position >= 0 ? ::GetSubMenu(menu_, position) : nullptr;
    if (open_submenu_ == nullptr) return 1;

    ::SendMessageA(window_, TB_SETSTATE, record->iItem,
                   MAKELPARAM(TBSTATE_ENABLED | TBSTATE_PRESSED, 0));
    open_button_ = record->iItem;
    tracking_ = 0;
    popup_thread_ = StartThread(&TMenuThreads::Popup, this);
    if (popup_thread_ == nullptr)
        ::SendMessageA(window_, TB_SETSTATE, open_button_, MAKELPARAM(TBSTATE_ENABLED, 0));
    return 1;
}

// Ends the open drop-down, if any, and waits for its threads. Messages sent to this thread
// meanwhile (the toolbar queries of the hover thread, activation by the menu) are served, so
// the popup can always finish.
void WIN_TMenu::EndPopup(bool release_button) {
    if (popup_thread_ == nullptr || popup_thread_ == INVALID_HANDLE_VALUE) {
        popup_thread_ = nullptr;
        return;
    }
    ::InterlockedExchange(&tracking_, kCancelled);
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND owner = popup_owner_;
        if (owner != nullptr) ::PostMessageA(owner, WM_CANCELMODE, 0, 0);
        const DWORD wait = ::MsgWaitForMultipleObjects(1, &popup_thread_, FALSE, kCancelRepeatMs,
                                                       QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0) break;
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (::GetTickCount() - start > kEndPopupLimitMs) {
            ::TerminateThread(popup_thread_, static_cast<DWORD>(-1));
            ::WaitForSingleObject(popup_thread_, kEndPopupLimitMs);
            break;
        }
    }
    ::CloseHandle(popup_thread_);
    popup_thread_ = nullptr;
    if (hover_thread_ != nullptr) {
        // Only left behind by a terminated popup thread; the hover thread sees the cancel.
        ::WaitForSingleObject(hover_thread_, kEndPopupLimitMs);
        ::CloseHandle(hover_thread_);
        hover_thread_ = nullptr;
    }
    if (popup_owner_ != nullptr) {
        ::PostMessageA(popup_owner_, WM_CLOSE, 0, 0);
        popup_owner_ = nullptr;
    }
    if (release_button && window_ != nullptr)
        ::SendMessageA(window_, TB_SETSTATE, open_button_, MAKELPARAM(TBSTATE_ENABLED, 0));
    tracking_ = 0;
}

void WIN_TMenu::RunPopup() {
    WIN_TMenu* menu = this;
    HWND parent = menu->parent_;
    HWND toolbar = menu->window_;
    ::SetFocus(parent);
    HWND owner = ::CreateWindowExA(0, "BUTTON", "", 0, menu->popup_x_, menu->popup_y_, 100, 200,
                                   parent, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    UINT command = 0;
    if (owner != nullptr) {
        ::SetWindowLongPtrA(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(menu));
        ::SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc));
        menu->popup_owner_ = owner;
        menu->hover_thread_ = StartThread(&TMenuThreads::Hover, menu);
        // A cancel that came before the menu loop began would otherwise be lost.
        if (menu->tracking_ == 0)
            command = static_cast<UINT>(::TrackPopupMenuEx(
                menu->open_submenu_, TPM_VERTICAL | TPM_RETURNCMD, menu->popup_x_,
                menu->popup_y_, owner, &menu->popup_params_));
    }
    const LONG before = ::InterlockedOr(&menu->tracking_, kPopupClosed);
    if (menu->hover_thread_ != nullptr) {
        ::WaitForSingleObject(menu->hover_thread_, INFINITE);
        ::CloseHandle(menu->hover_thread_);
        menu->hover_thread_ = nullptr;
    }
    menu->popup_owner_ = nullptr;
    if (owner != nullptr) ::DestroyWindow(owner);
    // A switch or a cancel hands the button over to whoever asked for it.
    if ((before & kSwitchRequested) == 0) {
        if (command != 0) ::PostMessageA(toolbar, WM_COMMAND, command, 0);
        ::PostMessageA(toolbar, TB_SETSTATE, menu->open_button_, MAKELPARAM(TBSTATE_ENABLED, 0));
    }
}

void WIN_TMenu::RunHover() {
    WIN_TMenu* menu = this;
    HWND toolbar = menu->window_;
    RECT bar{};
    ::GetWindowRect(toolbar, &bar);
    zed::CursorAt last{0, 0};
    auto over = [menu] { return menu->tracking_ >= kPopupClosed; };
    while (!over()) {
        ::Sleep(zed::kHoverPollMs);
        POINT cursor;
        if (!::GetCursorPos(&cursor)) continue;
        if (!zed::HoverWorthLooking({cursor.x, cursor.y}, last, bar)) continue;
        POINT client = cursor;
        ::ScreenToClient(toolbar, &client);
        const LRESULT index = AskToolbar(toolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client));
        if (index < 0) continue;
        TBBUTTON button{};
        if (AskToolbar(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) <= 0)
            continue;
        const LRESULT state = AskToolbar(toolbar, TB_GETSTATE, button.idCommand, 0);
        if (state < 0 || state == (TBSTATE_ENABLED | TBSTATE_PRESSED)) continue;
        ::Sleep(zed::kHoverSettleMs);
        if (over()) break;
        POINT again;
        if (!::GetCursorPos(&again)) continue;
        last = {again.x, again.y};
        if (!zed::HoverSettled({cursor.x, cursor.y}, last)) continue;
        if ((state & TBSTATE_ENABLED) == 0) continue;

        ::InterlockedExchange(&menu->tracking_, kSwitchRequested);
        ::Sleep(zed::kHoverSwitchDelayMs);
        g_switch_record = NMTOOLBARA{};
        g_switch_record.hdr.hwndFrom = toolbar;
        g_switch_record.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(toolbar));
        g_switch_record.hdr.code = static_cast<UINT>(TBN_DROPDOWN);
        g_switch_record.iItem = button.idCommand;
        g_switch_record.tbButton = button;
        ::PostMessageA(toolbar, TB_SETSTATE, menu->open_button_, MAKELPARAM(TBSTATE_ENABLED, 0));
        ::PostMessageA(menu->parent_, WM_NOTIFY, reinterpret_cast<WPARAM>(toolbar),
                       reinterpret_cast<LPARAM>(&g_switch_record));
    }
}
