// The zoom dialog: the new factor between 1 and the largest the work area allows.
#include <windows.h>

#include "magnify/magnify_ids.h"
#include "zedll/win32/magnify.h"

namespace {

// One zoom dialog at a time in the library.
DSP_Magnify* g_zooming = nullptr;

}  // namespace

INT_PTR CALLBACK DSP_Magnify::_ZERMagnifyZoomProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            g_zooming = reinterpret_cast<DSP_Magnify*>(lparam);
            ::SetDlgItemInt(dialog, ZEDLL_ZOOM_FACTOR_EDIT, static_cast<UINT>(g_zooming->GetZoom()), FALSE);
            ::SetDlgItemInt(dialog, ZEDLL_ZOOM_MIN_FIELD, 1, FALSE);
            ::SetDlgItemInt(dialog, ZEDLL_ZOOM_MAX_FIELD, static_cast<UINT>(g_zooming->GetMaxZoom()), FALSE);
            return TRUE;
        case WM_COMMAND:
            if (wparam == IDOK) {
                BOOL translated = FALSE;
                const UINT value = ::GetDlgItemInt(dialog, ZEDLL_ZOOM_FACTOR_EDIT, &translated, FALSE);
                const int largest = g_zooming != nullptr ? g_zooming->GetMaxZoom() : 0;
                if (translated && static_cast<int>(value) >= 0 && static_cast<int>(value) <= largest) {
                    ::EndDialog(dialog, static_cast<INT_PTR>(value));
                } else if (translated) {
                    ::MessageBeep(0xFFFFFFFF);
                    ::MessageBeep(MB_ICONEXCLAMATION);
                } else {
                    ::MessageBeep(MB_ICONEXCLAMATION);
                }
                return TRUE;
            }
            if (wparam == IDCANCEL) {
                ::EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}
