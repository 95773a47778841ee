// The splash screen: one modeless dialog per process, centred and sized to its picture, kept on
// the screen for a minimum time.
#include <windows.h>
#include <commctrl.h>

#include "ui/splash_plan.h"
#include "zedll/win32/splash.h"

namespace {

using zed::ui::kSplashBitmapId;
using zed::ui::kSplashPercentId;
using zed::ui::kSplashProgressId;

// The one splash of the process; used by the thread that created it.
struct SplashState {
    HWND window = nullptr;
    zed::ui::SplashClock clock;
    bool topmost = false;
};
SplashState g_splash;

INT_PTR CALLBACK SplashProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if ((message == WM_COMMAND && LOWORD(wparam) == IDOK) ||
        (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE)) {
        ::EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

// The dialog takes the picture's size and the middle of the desktop.
void FitToPicture(HWND dialog) {
    HWND picture = ::GetDlgItem(dialog, kSplashBitmapId);
    RECT desktop{}, area{};
    if (picture == nullptr || !::GetWindowRect(::GetDesktopWindow(), &desktop) || !::GetWindowRect(picture, &area)) {
        return;
    }
    const int w = static_cast<int>(area.right - area.left), h = static_cast<int>(area.bottom - area.top);
    const int x = static_cast<int>((desktop.right - desktop.left) - w) / 2;
    const int y = static_cast<int>((desktop.bottom - desktop.top) - h) / 2;
    ::MoveWindow(dialog, x, y, w, h, TRUE);
}

void BringToTop(HWND window, bool topmost) {
    ::SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

HWND Control(int id) { return g_splash.window != nullptr ? ::GetDlgItem(g_splash.window, id) : nullptr; }

LRESULT SendToBar(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND bar = Control(kSplashProgressId);
    return bar != nullptr ? ::SendMessageA(bar, message, wparam, lparam) : 0;
}

int Show(int id, BYTE show) {
    HWND control = Control(id);
    return control != nullptr ? ::ShowWindow(control, show) : 0;   // 0 is SW_HIDE
}

int Resize(int id, int x, int y, int width, int height) {
    HWND control = Control(id);
    return control != nullptr ? ::MoveWindow(control, x, y, width, height, TRUE) : 0;
}

}  // namespace

extern "C" int ZEDLL_STDCALL CreateSplashLoader(HINSTANCE instance, HWND parent, WORD bitmap,
                                                DWORD minimum_seconds, BYTE topmost) {
    WIN_DlgTemplate dlg;
    if (!zed::ui::BuildSplash(dlg, bitmap)) return -1;
    DLGTEMPLATE* splash = dlg.GetDlgTemplate();
    if (splash == nullptr) return -1;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
    HWND window = ::CreateDialogIndirectParamA(instance, splash, parent, SplashProcedure, 0);
    // A splash that could not be made leaves the one on the screen in the record.
    if (window == nullptr) return -1;
    g_splash.window = window;
    g_splash.clock = zed::ui::SplashClock(::GetTickCount(), minimum_seconds);
    FitToPicture(window);
    g_splash.topmost = topmost != 0;
    BringToTop(window, g_splash.topmost);
    ::UpdateWindow(window);
    return 1;
}

extern "C" int ZEDLL_STDCALL CreateSplash(HINSTANCE instance, HWND parent, WORD bitmap, DWORD minimum_seconds,
                                          BYTE topmost) {
    const int shown = CreateSplashLoader(instance, parent, bitmap, minimum_seconds, topmost);
    if (shown == 1) {
        SplashLoaderDisablePercent(0);
        SplashLoaderDisableProgress(0);
    }
    return shown;
}

extern "C" int ZEDLL_STDCALL SplashLoaderDisablePercent(BYTE show) { return Show(kSplashPercentId, show); }

extern "C" int ZEDLL_STDCALL SplashLoaderDisableProgress(BYTE show) { return Show(kSplashProgressId, show); }

extern "C" int ZEDLL_STDCALL SplashLoaderSetSizePercent(int x, int y, int width, int height) {
    return Resize(kSplashPercentId, x, y, width, height);
}

extern "C" int ZEDLL_STDCALL SplashLoaderSetSizeProgress(int x, int y, int width, int height) {
    return Resize(kSplashProgressId, x, y, width, height);
}

extern "C" int ZEDLL_STDCALL SplashLoaderSetRangeProgress(WORD low, DWORD high, DWORD step) {
    SendToBar(PBM_SETRANGE, 0, MAKELPARAM(low, high & 0xFFFF));
    return static_cast<int>(SendToBar(PBM_SETSTEP, step, 0));
}

extern "C" int ZEDLL_STDCALL SplashLoaderSetPosProgress(int position) {
    if (position < 0) return static_cast<int>(SendToBar(PBM_STEPIT, 0, 0));
    return static_cast<int>(SendToBar(PBM_SETPOS, static_cast<WPARAM>(position), 0));
}

extern "C" int ZEDLL_STDCALL SplashLoaderSetPercent(int percent) {
    HWND text = Control(kSplashPercentId);
    if (text == nullptr) return 0;
    char out[16];
    zed::ui::FormatPercent(percent, out);
    return ::SetWindowTextA(text, out);
}

extern "C" int ZEDLL_STDCALL DestroySplash(HWND focus) {
    HWND window = g_splash.window;
    if (window == nullptr) return 1;
    if (g_splash.clock.Moved(::GetTickCount())) {
        if (!g_splash.topmost) {
            BringToTop(window, false);
            ::UpdateWindow(window);
        }
        // Polled on the caller's thread; no messages are dispatched meanwhile.
        while (!g_splash.clock.Elapsed(::GetTickCount())) ::Sleep(zed::ui::kSplashPollMs);
    }
    ::DestroyWindow(window);
    g_splash.window = nullptr;
    if (focus != nullptr) ::SetFocus(focus);
    return 1;
}
