// WIN_RLastFiles: a recent-files list kept in step with a menu or a toolbar menu's submenu.
#ifndef ZEDLL_WIN32_RECENT_FILES_MENU_H
#define ZEDLL_WIN32_RECENT_FILES_MENU_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/recent_files.h"
#include "zedll/win32/tmenu.h"

/// The list of OPT_RLastFiles shown as "&1 path", "&2 path"... with the command ids first
/// command, first command + 1, ... after a separator, or inside a popup named by the caption.
/// Every change of the list redraws. In append mode the items go to the end of the target; with
/// an insertion point the separator and the entries (or the popup) go there together, one block,
/// and freeing removes exactly that block, so that drawing then freeing gives the menu back item
/// for item (an insertion point that names no item of the target, or lies beyond its end, means
/// the end). The drawn items stay in the menu when the object goes. The menu and toolbar menu
/// stay the caller's. Copies hold copies of the list and settings but no drawn items. One
/// thread: the one that owns the menu's window.
///
/// Layout: OPT_RLastFiles | items drawn: i32 | first command: u32 | menu: HMENU |
///   window: HWND | toolbar menu: WIN_TMenu* | caption: CLS_String* | submenu name: CLS_String* |
///   append: i32 | insert-before id: u32 | insert position: i32 | drawn menu: HMENU |
///   drawn at: i32
class ZEDLL_API WIN_RLastFiles : public OPT_RLastFiles {
public:
    /// Plain-menu form: entries in `menu` (into a popup when caption is given), `window`'s menu
    /// bar redrawn. Does not draw yet.
    WIN_RLastFiles(const char* caption, HMENU menu, HWND window, const char* company,
                   const char* product, const char* version, UINT first_command, int maximum);
    /// Toolbar-menu form: entries in the toolbar menu's menu, or in its submenu named
    /// submenu_name (GetSubMenu); draws at once.
    WIN_RLastFiles(WIN_TMenu* toolbar_menu, const char* submenu_name, const char* caption,
                   const char* company, const char* product, const char* version,
                   UINT first_command, int maximum);
    WIN_RLastFiles(const WIN_RLastFiles& other);
    WIN_RLastFiles& operator=(const WIN_RLastFiles& other);
    ~WIN_RLastFiles();

    /// OPT_RLastFiles::AddFile, then redraws (also when refused); its result.
    int AddFile(CLS_String path);
    /// OPT_RLastFiles::DelFile, then redraws; its result.
    int DelFile(int index);
    /// Removes the entry of `command`; 0 when it names no entry.
    int DelFileCmd(UINT command);
    /// The path of `command`'s entry (owned by the list), or null.
    char* GetFileCmd(UINT command);
    /// 0 or -1: append mode; else insertion before the item with that command id. Always 1.
    int SetInsertItem(UINT id);
    /// Insertion at the first item of `menu` whose text is `text` (case-sensitive, read up to
    /// 150 characters): before its command id, or at its position for a popup. 1, or 0 (and no
    /// change) when either is null or no item has that text.
    int SetInsertItem(HMENU menu, const char* text);
    /// Removes the drawn items, takes the new menu (plain-menu form only) and window, redraws.
    void HandleChange(HMENU menu, HWND window);
    /// Removes the drawn items, takes copies of caption and submenu name (null clears), in the
    /// plain-menu form the toolbar menu's menu as menu, and the window; redraws.
    void HandleChange(WIN_TMenu* toolbar_menu, const char* submenu_name, const char* caption,
                      HWND window);

private:
    void DrawMenu();
    void FreeMenu();
    HMENU Target();
    void CopySettings(const WIN_RLastFiles& other);

    int items_drawn_;
    UINT first_command_;
    HMENU menu_;
    HWND window_;
    WIN_TMenu* toolbar_menu_;
    CLS_String* caption_;
    CLS_String* submenu_name_;
    int append_;
    UINT insert_before_;
    int insert_position_;
    HMENU drawn_menu_;
    int drawn_at_;
};

#endif
