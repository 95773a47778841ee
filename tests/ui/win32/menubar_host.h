// A frame window for the menu bar tests: forwards WM_SIZE and WM_NOTIFY to the objects under
// test, records the commands it receives, and pumps messages with a time limit.
#ifndef ZEDLL_TESTS_UI_MENUBAR_HOST_H
#define ZEDLL_TESTS_UI_MENUBAR_HOST_H

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <functional>
#include <vector>

#include "zedll/win32/rebar.h"
#include "zedll/win32/tmenu.h"

namespace zedtest {

class MenuBarHost {
public:
    explicit MenuBarHost(int width = 800, int height = 600, const char* title = "Menu bar test") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &MenuBarHost::Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
        wc.lpszClassName = "ZedMenuBarTestHost";
        ::RegisterClassA(&wc);  // a second registration fails harmlessly
        frame = ::CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, width, height, nullptr, nullptr, wc.hInstance, this);
        Pump(50);
    }
    ~MenuBarHost() {
        if (frame != nullptr) ::DestroyWindow(frame);
        Pump(20);
    }
    MenuBarHost(const MenuBarHost&) = delete;
    MenuBarHost& operator=(const MenuBarHost&) = delete;

    /// Serves messages for `ms` milliseconds.
    static void Pump(DWORD ms) {
        PumpUntil([] { return false; }, ms);
    }
    /// Serves messages until `done` holds or `limit_ms` have passed; whether it held.
    static bool PumpUntil(const std::function<bool()>& done, DWORD limit_ms) {
        const DWORD start = ::GetTickCount();
        for (;;) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (done()) return true;
            if (::GetTickCount() - start >= limit_ms) return false;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }

    HWND frame = nullptr;
    WIN_TMenu* menu = nullptr;
    WIN_Rebar* rebar = nullptr;
    std::vector<UINT> commands;
    int notifications = 0;
    bool rebar_notifications = true;  // whether WM_NOTIFY reaches the rebar's CmdNotify

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* host = reinterpret_cast<MenuBarHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (host != nullptr) {
            switch (message) {
                case WM_SIZE:
                    if (host->rebar != nullptr) host->rebar->WMSize(window, wparam, lparam);
                    break;
                case WM_NOTIFY: {
                    ++host->notifications;
                    auto* notify = reinterpret_cast<LPNMHDR>(lparam);
                    if (host->menu != nullptr && host->menu->CmdNotify(notify)) return 0;
                    if (host->rebar != nullptr && host->rebar_notifications && host->rebar->CmdNotify(notify))
                        return 0;
                    break;
                }
                case WM_COMMAND:
                    if (HIWORD(wparam) == 0) host->commands.push_back(LOWORD(wparam));
                    return 0;
                case WM_NCDESTROY:
                    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
                    host->frame = nullptr;
                    break;
            }
        }
        return ::DefWindowProcA(window, message, wparam, lparam);
    }
};

/// Threads of this process now.
inline int CountThreads() {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL ok = ::Thread32First(snap, &entry); ok; ok = ::Thread32Next(snap, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++n;
    ::CloseHandle(snap);
    return n;
}

/// Top-level windows of this process now (hidden ones included), and their children.
inline int CountWindows() {
    struct Count {
        int n = 0;
        static BOOL CALLBACK Child(HWND, LPARAM p) {
            ++reinterpret_cast<Count*>(p)->n;
            return TRUE;
        }
        static BOOL CALLBACK Top(HWND w, LPARAM p) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid != ::GetCurrentProcessId()) return TRUE;
            ++reinterpret_cast<Count*>(p)->n;
            ::EnumChildWindows(w, &Count::Child, p);
            return TRUE;
        }
    } count;
    ::EnumWindows(&Count::Top, reinterpret_cast<LPARAM>(&count));
    return count.n;
}

/// The visible popup menu window ("#32768") of this process, or null.
inline HWND OpenPopupMenu() {
    struct Find {
        HWND found = nullptr;
        static BOOL CALLBACK Top(HWND w, LPARAM p) {
            char cls[16] = {};
            ::GetClassNameA(w, cls, sizeof cls);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            if (pid == ::GetCurrentProcessId() && ::lstrcmpA(cls, "#32768") == 0 &&
                ::IsWindowVisible(w)) {
                reinterpret_cast<Find*>(p)->found = w;
                return FALSE;
            }
            return TRUE;
        }
    } find;
    ::EnumWindows(&Find::Top, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

}  // namespace zedtest

#endif
