// WIN_TMenu: a window's menu shown as a row of flat toolbar buttons, with drop-down submenus.
#ifndef ZEDLL_WIN32_TMENU_H
#define ZEDLL_WIN32_TMENU_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/win32/window_base.h"

/// A menu bar made of a toolbar ("ToolbarWindow32"): one button per top-level item of a menu,
/// drop-down buttons for items with a submenu. The host forwards its frame's WM_NOTIFY to
/// CmdNotify; a drop-down then runs on a popup thread of its own, and a hover thread switches
/// to a neighbouring button's submenu when the cursor rests on it, by posting WM_NOTIFY
/// (TBN_DROPDOWN) to the toolbar's parent. A chosen command reaches the toolbar (which passes it
/// to its parent) as a posted WM_COMMAND. Create, Update, DrawMenuBar, CmdNotify and the
/// destructor belong to the UI thread that created the toolbar.
///
/// The object owns the menu (destroyed with it) and the string list; the toolbar window is its
/// parent's. A previous drop-down is ended by WM_CANCELMODE posted to its hidden owner window,
/// which ends the popup's menu loop; the UI thread waits for that thread (serving the messages
/// sent to it meanwhile) and terminates it only if its menu loop has not ended after 2 s. After
/// the destructor no thread of the object runs and no window of its own is left.
///
/// Layout: WIN_Father | menu: HMENU | open submenu: HMENU | string list: char* |
///   popup thread: HANDLE | string list length: i32 | capacity: i32 | open button: i32 |
///   tracking state: u32 (1 switch requested, 2 popup closed, 3 cancelled) |
///   first string index: i32 | popup parameters: TPMPARAMS | popup x, y: i32 |
///   instance: HINSTANCE | popup owner: HWND | hover thread: HANDLE
/// Not copyable: it owns a menu and threads.
class ZEDLL_API WIN_TMenu : public WIN_Father {
public:
    /// Initialises the bar classes of the common controls.
    WIN_TMenu();
    ~WIN_TMenu();
    WIN_TMenu(const WIN_TMenu&) = delete;
    WIN_TMenu& operator=(const WIN_TMenu&) = delete;

    /// Loads menu resource `number` from `instance` and creates the toolbar with child id `id`
    /// in `parent` at (1, 1). Null when the menu or the toolbar cannot be made.
    HWND Create(HWND parent, UINT id, UINT number, HINSTANCE instance);
    /// The same with a named menu resource.
    HWND Create(HWND parent, UINT id, const char* name, HINSTANCE instance);
    /// Takes `menu` (now owned; the old one is destroyed) and rebuilds the buttons: 1, or 0 for a
    /// null menu (nothing changes).
    int Update(HMENU menu);
    /// Rebuilds the buttons from the current menu. Always 1.
    int DrawMenuBar();
    /// TBN_DROPDOWN from this toolbar: ends an open drop-down and opens the pressed button's
    /// submenu → 1. Anything else → 0. `notify` is the WM_NOTIFY record (an NMTOOLBARA).
    int CmdNotify(LPNMHDR notify);
    /// The submenu of the first top-level item whose text, "&" marks included, is `text`
    /// exactly (lstrcmpA; item texts read up to 149 characters); null when none or no submenu.
    HMENU GetSubMenu(const char* text);
    /// The same among the items of `menu`.
    HMENU GetSubMenu(HMENU menu, const char* text);
    /// The owned menu (still owned by the object).
    HMENU GetMenuHandle();

private:
    HWND CreateMain(HWND parent, UINT id);
    char* AddStrList(const char* text);
    void Rebuild();
    void InsertButtons();
    void EndPopup(bool release_button);
    void RunPopup();
    void RunHover();
    friend struct TMenuThreads;  // the thread entry points, inside the library

    HMENU menu_;
    HMENU open_submenu_;
    char* strings_;
    HANDLE popup_thread_;
    int strings_length_;
    int strings_capacity_;
    int open_button_;
    volatile LONG tracking_;
    int first_string_;
    TPMPARAMS popup_params_;
    int popup_x_;
    int popup_y_;
    HINSTANCE instance_;
    HWND volatile popup_owner_;
    HANDLE hover_thread_;
};

#endif
