// Drives a modal dialog from its own thread: a thread timer finds the dialog once the dialog
// manager's loop runs, hands it to the test's action, and a second timer ends a dialog that is
// still open after a time limit, so that a box nobody closed fails the test instead of hanging.
#ifndef ZEDLL_TESTS_UI_DIALOG_WATCH_H
#define ZEDLL_TESTS_UI_DIALOG_WATCH_H

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

namespace zedtest {

/// The result a dialog gets when the time limit ended it.
constexpr int kDialogLeftOpen = 999;

inline BOOL CALLBACK TakeDialog(HWND w, LPARAM out) {
    char name[16] = {};
    ::GetClassNameA(w, name, sizeof name);
    if (std::strcmp(name, "#32770") != 0 || !::IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

/// The first visible dialog box of the calling thread, or null.
inline HWND FindThreadDialog() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), TakeDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

class DialogWatch {
public:
    /// `action` runs once with the dialog; it reads what it wants and posts what closes it.
    explicit DialogWatch(std::function<void(HWND)> action, UINT limit_ms = 5000) {
        action_ = std::move(action);
        seen_ = false;
        poll_ = ::SetTimer(nullptr, 0, 15, Poll);
        limit_ = ::SetTimer(nullptr, 0, limit_ms, Limit);
    }
    ~DialogWatch() {
        ::KillTimer(nullptr, poll_);
        ::KillTimer(nullptr, limit_);
        action_ = nullptr;
    }
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    /// Whether a dialog was seen at all.
    static bool Seen() { return seen_; }

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = FindThreadDialog();
        if (dialog == nullptr || !action_) return;
        ::KillTimer(nullptr, id);
        seen_ = true;
        auto action = action_;
        action_ = nullptr;
        action(dialog);
    }
    static void CALLBACK Limit(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        if (HWND dialog = FindThreadDialog()) ::EndDialog(dialog, kDialogLeftOpen);
    }

    UINT_PTR poll_ = 0;
    UINT_PTR limit_ = 0;
    static inline std::function<void(HWND)> action_;
    static inline bool seen_ = false;
};

/// Text and class of a window.
inline std::string WindowText(HWND w) {
    char text[512] = {};
    ::GetWindowTextA(w, text, sizeof text);
    return text;
}
inline std::string WindowClass(HWND w) {
    char name[64] = {};
    ::GetClassNameA(w, name, sizeof name);
    return name;
}

/// A rectangle of dialog units of `dialog` in pixels.
inline RECT DialogUnits(HWND dialog, int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    ::MapDialogRect(dialog, &r);
    return r;
}

}  // namespace zedtest

#endif
