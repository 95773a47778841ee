// The log-options property page on Windows: its description and its page procedure.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>

#include <cctype>
#include <cstring>
#include <string>

#include "log/log_options.h"
#include "log/log_page_ids.h"
#include "platform/language.h"
#include "zedll/log_options.h"
#include "zedll/win32/log_page.h"

namespace zed::log_options {
namespace {

constexpr int kDefaultButton = ZEDLL_LOG_DEFAULT_BUTTON;
constexpr int kPathEdit = ZEDLL_LOG_PATH_EDIT;
constexpr int kBrowseButton = ZEDLL_LOG_BROWSE_BUTTON;

// The page description in its latest form: the record of the headers here plus the header
// bitmap, 56 bytes in a 32-bit host.
//
//   +0 dwSize | +4 dwFlags | +8 hInstance | +12 pszTemplate | +16 pszIcon | +20 pszTitle
//   +24 pfnDlgProc | +28 lParam | +32 pfnCallback | +36 pcRefParent | +40 pszHeaderTitle
//   +44 pszHeaderSubTitle | +48 hActCtx | +52 hbmHeader
struct PageRecord {
    PROPSHEETPAGEA page;
    HBITMAP header_bitmap;
};
PageRecord g_record;
char g_title[256];

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PageRecord) == 56, "the page description of 32-bit hosts has 56 bytes");
#endif

void EnablePath(HWND page, bool enable) {
    ::EnableWindow(::GetDlgItem(page, kPathEdit), enable);
    ::EnableWindow(::GetDlgItem(page, kBrowseButton), enable);
}

void Changed(HWND page) { ::SendMessageA(::GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0); }

bool IsChecked(void* page, int id) {
    return ::IsDlgButtonChecked(static_cast<HWND>(page), id) == BST_CHECKED;
}

void Browse(HWND page) {
    char file[280] = "undefine.log";
    char edit[260] = {};
    ::GetDlgItemTextA(page, kPathEdit, edit, sizeof edit);
    std::string directory, name;
    BrowseStart(edit, &directory, &name);
    std::strncpy(file, name.c_str(), sizeof file - 1);
    const char* text = LangGetString(TextId::LogFileFilter);
    const std::string filter = FilterList(text != nullptr ? text : "");
    char title[280] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.hInstance = LangGetModule();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = sizeof title;
    dialog.lpstrInitialDir = directory.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!::GetOpenFileNameA(&dialog)) return;
    for (char* p = file; *p != 0; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    ::SetDlgItemTextA(page, kPathEdit, file);
    Changed(page);
}

INT_PTR CALLBACK LogPageProc(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        ::CheckDlgButton(page, ButtonOfMethod(CurrentMethod()), BST_CHECKED);
        if (CurrentMethod() != 2) EnablePath(page, false);
        ::SetDlgItemTextA(page, kPathEdit, CurrentPath());
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wparam);
        if (id == ZEDLL_LOG_DISABLED || id == ZEDLL_LOG_SYSTEM || id == ZEDLL_LOG_STDERR) {
            EnablePath(page, false);
            Changed(page);
        } else if (id == ZEDLL_LOG_FILE) {
            EnablePath(page, true);
            Changed(page);
        } else if (id == kPathEdit) {
            Changed(page);
        } else if (id == kDefaultButton) {
            ::CheckDlgButton(page, ZEDLL_LOG_DISABLED, BST_CHECKED);
            for (int other : {ZEDLL_LOG_FILE, ZEDLL_LOG_SYSTEM, ZEDLL_LOG_STDERR}) {
                ::CheckDlgButton(page, other, BST_UNCHECKED);
            }
            EnablePath(page, false);
        } else if (id == kBrowseButton) {
            Browse(page);
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->code == static_cast<UINT>(PSN_APPLY)) {
            SetMethodFromPage(AppliedMethod(IsChecked, page));
            char path[256] = {};
            ::GetDlgItemTextA(page, kPathEdit, path, sizeof path);
            SetPathFromPage(path);
            log_WriteLog();
        } else if (header->code == static_cast<UINT>(PSN_RESET)) {
            ::SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        } else if (header->code == static_cast<UINT>(PSN_KILLACTIVE)) {
            ::SetWindowLongPtrA(page, DWLP_MSGRESULT, FALSE);  // leaving the page is allowed
            return TRUE;
        }
        return FALSE;
    }
    default: return FALSE;
    }
}

}  // namespace
}  // namespace zed::log_options

LPPROPSHEETPAGEA ZEDLL_STDCALL log_GetLogSheet(void) {
    using namespace zed::log_options;
    if (!Initialised()) return nullptr;
    const char* title = zed::LangGetString(zed::TextId::LogPageTitle);
    std::strncpy(g_title, title != nullptr ? title : "", sizeof g_title - 1);
    std::memset(&g_record, 0, sizeof g_record);
    PROPSHEETPAGEA& page = g_record.page;
    page.dwSize = sizeof g_record;
    page.dwFlags = PSP_USETITLE | PSP_USEICONID;
    page.hInstance = zed::LangGetModule();
    page.pszTemplate = "_ZELOG";
    page.pszIcon = "_ZEPROPERTY";
    page.pszTitle = g_title;
    page.pfnDlgProc = LogPageProc;
    page.lParam = 0;
    return &page;
}
