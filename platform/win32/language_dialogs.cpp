// Menus and dialogs through the language service, and the language selection dialog.
#include <windows.h>

#include "platform/language.h"
#include "os/resource_module.h"

namespace zed {
namespace {
constexpr int kLanguageListId = 1120;
}  // namespace

void SYS_LangModule::FillLanguageList(HWND list) const {
    for (const LanguageEntry& entry : ListLanguages(*this)) {
        const LRESULT index = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
        if (index < 0) continue;
        if (entry.current) ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), entry.language);
    }
}

HMENU LangLoadMenu(const char* name) {
    HMENU menu = ::LoadMenuA(LangGetModule(), name);
    return menu != nullptr ? menu : ::LoadMenuA(LangGetLibraryInstance(), name);
}

INT_PTR LangDialogBox(const char* name, HWND owner, DLGPROC procedure, LPARAM parameter) {
    INT_PTR result = ::DialogBoxParamA(LangGetModule(), name, owner, procedure, parameter);
    if (result == -1) result = ::DialogBoxParamA(LangGetLibraryInstance(), name, owner, procedure, parameter);
    return result;
}

INT_PTR LangDialogBoxIndirect(LPCDLGTEMPLATEA dialog, HWND owner, DLGPROC procedure, LPARAM parameter) {
    INT_PTR result = ::DialogBoxIndirectParamA(LangGetModule(), dialog, owner, procedure, parameter);
    if (result == -1) {
        result = ::DialogBoxIndirectParamA(LangGetLibraryInstance(), dialog, owner, procedure, parameter);
    }
    return result;
}

HWND LangCreateDialog(const char* name, HWND owner, DLGPROC procedure, LPARAM parameter) {
    HWND window = ::CreateDialogParamA(LangGetModule(), name, owner, procedure, parameter);
    return window != nullptr ? window
                             : ::CreateDialogParamA(LangGetLibraryInstance(), name, owner, procedure, parameter);
}

HWND LangCreateDialogIndirect(LPCDLGTEMPLATEA dialog, HWND owner, DLGPROC procedure, LPARAM parameter) {
    HWND window = ::CreateDialogIndirectParamA(LangGetModule(), dialog, owner, procedure, parameter);
    return window != nullptr
               ? window
               : ::CreateDialogIndirectParamA(LangGetLibraryInstance(), dialog, owner, procedure, parameter);
}

INT_PTR CALLBACK LangSelBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        LangService().FillLanguageList(::GetDlgItem(dialog, kLanguageListId));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wparam);
    const int notification = HIWORD(wparam);
    if (id == IDCANCEL) {
        ::EndDialog(dialog, 0);
        return TRUE;
    }
    if (id == IDOK || (id == kLanguageListId && notification == LBN_DBLCLK)) {
        HWND list = ::GetDlgItem(dialog, kLanguageListId);
        const LRESULT selected = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR) return TRUE;  // nothing chosen yet: the dialog stays open
        const LRESULT language = ::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
        const int result = LangService().SetLanguage(static_cast<WORD>(language), 0);
        ::EndDialog(dialog, result > 0 ? 1 : 0);
        return TRUE;
    }
    return id == kLanguageListId ? TRUE : FALSE;
}

int LangSelectDialog(HWND owner) {
    return LangDialogBox("LangSelBox", owner, LangSelBoxProc, 0) == 1 ? 1 : 0;
}

}  // namespace zed
