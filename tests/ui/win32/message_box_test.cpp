// ZerMessageBox and LangMessageBox in the real dialog manager: the controls read back (class,
// text, identifier, rectangle), the box's rectangle for every placement group, and the result
// for each button, Escape and the system close. Nobody clicks: a thread timer reads the box and
// posts what closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_watch.h"
#include "screen_capture.h"
#include "zedll/win32/message_box.h"

namespace {

using zedtest::DialogUnits;
using zedtest::DialogWatch;
using zedtest::WindowClass;
using zedtest::WindowText;

struct Control {
    int id;
    std::string cls, text;
    RECT rect;   // in the box's client area
    LONG style;
};

// What the box showed.
struct Seen {
    std::string caption;
    RECT window{}, client{};
    std::vector<Control> controls;
    const Control* Find(int id) const {
        for (const Control& c : controls) {
            if (c.id == id) return &c;
        }
        return nullptr;
    }
    std::vector<const Control*> Buttons() const {
        std::vector<const Control*> b;
        for (const Control& c : controls) {
            if (c.cls == "Button") b.push_back(&c);
        }
        std::sort(b.begin(), b.end(), [](const Control* x, const Control* y) { return x->rect.left < y->rect.left; });
        return b;
    }
};

Seen Read(HWND box) {
    Seen s;
    s.caption = WindowText(box);
    ::GetWindowRect(box, &s.window);
    ::GetClientRect(box, &s.client);
    for (HWND c = ::GetWindow(box, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        Control control{::GetDlgCtrlID(c), WindowClass(c), WindowText(c), {}, ::GetWindowLongA(c, GWL_STYLE)};
        ::GetWindowRect(c, &control.rect);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&control.rect), 2);
        s.controls.push_back(control);
    }
    return s;
}

// Shows a box, reads it, then does `close` to it; the result of the call.
template <typename Close>
int ShowAndClose(Seen& seen, Close close, HWND owner, const char* text, const char* caption, UINT type,
                 void* reference = nullptr, UINT flags = 0x10) {
    DialogWatch watch([&](HWND box) {
        seen = Read(box);
        close(box);
    });
    return ZerMessageBox(owner, text, caption, type, ::GetModuleHandleA(nullptr), reference, flags);
}

void PressOk(HWND box) { ::PostMessageA(box, WM_COMMAND, IDOK, 0); }

// A plain top-level window to own boxes and place them against.
struct Owner {
    HWND window;
    Owner(int x, int y, int w, int h)
        : window(::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr)) {}
    ~Owner() { ::DestroyWindow(window); }
    RECT Rect() const {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    }
};

TEST(ZerMessageBox, ButtonsCaptionsAndIconAsTheTypeAsks) {
    const struct Case {
        UINT type;
        std::vector<std::pair<int, const char*>> buttons;
        bool icon;
    } cases[] = {
        {0x00, {{1, "&Ok"}}, false},
        {0x01, {{1, "&Ok"}, {2, "&Cancel"}}, false},
        {0x12, {{3, "&Abort"}, {4, "&Retry"}, {5, "&Ignore"}}, true},
        {0x23, {{6, "&Yes"}, {7, "&No"}, {2, "&Cancel"}}, true},
        {0x34, {{6, "&Yes"}, {7, "&No"}}, true},
        {0x45, {{4, "&Retry"}, {2, "&Cancel"}}, true},
        {0x50, {{1, "&Ok"}}, true},   // no defined icon: the hand
    };
    for (const Case& c : cases) {
        Seen s;
        const int result = ShowAndClose(s, PressOk, nullptr, "Line one\nLine two", "Pieces", c.type);
        ASSERT_TRUE(DialogWatch::Seen()) << c.type;
        EXPECT_EQ(result, 1) << c.type;   // the OK command ends every box with 1
        EXPECT_EQ(s.caption, "Pieces");
        const auto buttons = s.Buttons();
        ASSERT_EQ(buttons.size(), c.buttons.size()) << c.type;
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->id, c.buttons[i].first) << c.type;
            EXPECT_EQ(buttons[i]->text, c.buttons[i].second) << c.type;
            EXPECT_EQ(buttons[i]->style & 0xF, i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) << c.type;
            // One row of equal buttons.
            EXPECT_EQ(buttons[i]->rect.top, buttons[0]->rect.top) << c.type;
            EXPECT_EQ(buttons[i]->rect.right - buttons[i]->rect.left, buttons[0]->rect.right - buttons[0]->rect.left);
        }
        const Control* text = s.Find(59999);
        ASSERT_NE(text, nullptr);
        EXPECT_STRCASEEQ(text->cls.c_str(), "Static");
        EXPECT_EQ(text->text, "Line one\nLine two");
        const Control* icon = s.Find(60000);
        EXPECT_EQ(icon != nullptr, c.icon) << c.type;
        if (icon != nullptr) {
            EXPECT_EQ(icon->style & SS_TYPEMASK, SS_ICON);
        }
    }
}

TEST(ZerMessageBox, ControlsSitWhereTheLayoutPutsThem) {
    Seen s;
    HWND shown = nullptr;
    RECT text_left_units{}, margin{}, icon_units{}, needed{};
    const char* message = "The piece \"Back\" has changed.\nSave it before closing?";
    DialogWatch watch([&](HWND box) {
        shown = box;
        s = Read(box);
        // The message drawn in the font the static control shows it in.
        HWND text = ::GetDlgItem(box, 59999);
        HDC dc = ::GetDC(text);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(text, WM_GETFONT, 0, 0)));
        ::DrawTextA(dc, message, -1, &needed, DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(text, dc);
        text_left_units = DialogUnits(box, 26, 7, 26, 7);
        icon_units = DialogUnits(box, 3, 7, 23, 27);
        margin = DialogUnits(box, 7, 7, 7, 7);
        PressOk(box);
    });
    ZerMessageBox(nullptr, message, "Caption", 0x33, ::GetModuleHandleA(nullptr), nullptr, 0x10);
    ASSERT_NE(shown, nullptr);
    const Control* text = s.Find(59999);
    const Control* icon = s.Find(60000);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(text->rect.left, text_left_units.left);
    EXPECT_EQ(text->rect.top, text_left_units.top);
    EXPECT_EQ(icon->rect.left, icon_units.left);
    EXPECT_EQ(icon->rect.top, icon_units.top);
    const auto buttons = s.Buttons();
    ASSERT_EQ(buttons.size(), 3u);
    // The row 7 units above the bottom edge, centred across the box.
    EXPECT_NEAR(s.client.bottom - buttons[0]->rect.bottom, margin.top, 2);
    const int left = buttons.front()->rect.left, right = s.client.right - buttons.back()->rect.right;
    EXPECT_NEAR(left, right, 3);
    EXPECT_LE(text->rect.bottom, buttons[0]->rect.top);
    // Room for the whole message.
    EXPECT_GE(text->rect.right - text->rect.left, needed.right) << text->text;
    EXPECT_GE(text->rect.bottom - text->rect.top, needed.bottom);
}

TEST(ZerMessageBox, PlacementGroupsMoveTheBox) {
    Owner owner(100, 200, 600, 400);
    ASSERT_NE(owner.window, nullptr);
    const RECT w = owner.Rect();
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    POINT point{640, 500};
    ZerMessageSpan span_x{-600, 0, owner.window};
    ZerMessageSpan span_y{0, 300, owner.window};

    // Where the dialog manager puts the box by itself, kept when the reference window cannot be
    // read: a window that is gone.
    HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    Seen plain;
    {
        DialogWatch watch([&](HWND box) {
            plain = Read(box);
            PressOk(box);
        });
        EXPECT_EQ(ZerMessageBox(nullptr, "Where?", "Placement", 0, ::GetModuleHandleA(nullptr), gone, 0x03), 1);
    }
    const RECT own = plain.window;
    const int bw = plain.window.right - plain.window.left, bh = plain.window.bottom - plain.window.top;
    ASSERT_GT(bw, 0);

    const struct Case {
        const char* what;
        void* reference;
        UINT flags;
        long left, top;
    } cases[] = {
        {"desktop", nullptr, 0x10, (desktop.right - bw) / 2, (desktop.bottom - bh) / 2},
        {"desktop wins", &point, 0x10 | 0x0C, (desktop.right - bw) / 2, (desktop.bottom - bh) / 2},
        {"across the owner", owner.window, 0x01, w.left + (w.right - w.left - bw) / 2, own.top},
        {"down the owner", owner.window, 0x02, own.left, w.top + (w.bottom - w.top - bh) / 2},
        {"centred on a point", &point, 0x0C, 640 - bw / 2, 500 - bh / 2},
        {"edges at a point", &point, 0x60, 640, 500},
        {"span [100, 600]", &span_x, 0x100, (600 - w.left - bw) / 2 + w.left, own.top},
        {"span from y on", &span_y, 0x200, own.left, (w.bottom - 300 - bh) / 2 + 300},
        {"offset by the owner", owner.window, 0x0, own.left + w.left, own.top + w.top},
    };
    for (const Case& c : cases) {
        Seen s;
        const int result = ShowAndClose(s, PressOk, nullptr, "Where?", "Placement", 0, c.reference, c.flags);
        EXPECT_EQ(result, 1) << c.what;
        EXPECT_EQ(s.window.left, c.left) << c.what;
        EXPECT_EQ(s.window.top, c.top) << c.what;
        EXPECT_EQ(s.window.right - s.window.left, bw) << c.what;
    }
}

TEST(ZerMessageBox, ResultsOfButtonsEscapeAndTheSystemClose) {
    const struct Case {
        const char* what;
        UINT type;
        int button;   // pressed by a click message; 0: the close below
        void (*close)(HWND);
        int result;
    } cases[] = {
        {"Ok", 0x0, 1, nullptr, 1},
        {"Cancel", 0x1, 2, nullptr, 2},
        {"Abort", 0x2, 3, nullptr, 3},
        {"Retry", 0x2, 4, nullptr, 4},
        {"Ignore", 0x2, 5, nullptr, 5},
        {"Yes", 0x3, 6, nullptr, 6},
        {"No", 0x4, 7, nullptr, 7},
        {"Escape on a box with one Ok", 0x0, 0, [](HWND b) { ::PostMessageA(b, WM_KEYDOWN, VK_ESCAPE, 0); }, 2},
        {"Escape on Yes No", 0x4, 0, [](HWND b) { ::PostMessageA(b, WM_KEYDOWN, VK_ESCAPE, 0); }, 2},
        {"system close", 0x0, 0, [](HWND b) { ::PostMessageA(b, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
        {"system close of Retry Cancel", 0x5, 0, [](HWND b) { ::PostMessageA(b, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const Case& c : cases) {
        Seen s;
        const int button = c.button;
        auto close = c.close;
        const int result = ShowAndClose(
            s,
            [button, close](HWND box) {
                if (button != 0) {
                    ::PostMessageA(::GetDlgItem(box, button), BM_CLICK, 0, 0);
                } else {
                    close(box);
                }
            },
            nullptr, "Choose", "Results", c.type);
        EXPECT_EQ(result, c.result) << c.what;
    }
}

TEST(ZerMessageBox, RefusalsShowNothing) {
    const struct { const char* what; UINT type; void* reference; UINT flags; } cases[] = {
        {"button set 6", 0x6, nullptr, 0x10},
        {"button set 15 with an icon", 0x3F, nullptr, 0x10},
        {"window placement without a window", 0x0, nullptr, 0x01},
        {"point placement without a point", 0x0, nullptr, 0x40},
        {"span placement without a span", 0x0, nullptr, 0x200},
    };
    for (const auto& c : cases) {
        Seen s;
        EXPECT_EQ(ShowAndClose(s, PressOk, nullptr, "No", "Refused", c.type, c.reference, c.flags), -1) << c.what;
        EXPECT_FALSE(DialogWatch::Seen()) << c.what;
    }
    // Without a flag group a null reference is not refused: the box procedure cannot offset the
    // box by a window it cannot read and leaves it where the dialog manager put it.
    Seen plain, unplaced;
    EXPECT_EQ(ShowAndClose(plain, PressOk, nullptr, "No", "Unplaced", 0x0, nullptr, 0x0), 1);
    EXPECT_TRUE(DialogWatch::Seen());
    HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_EQ(ShowAndClose(unplaced, PressOk, nullptr, "No", "Unplaced", 0x0, gone, 0x01), 1);
    EXPECT_EQ(plain.window.left, unplaced.window.left);
    EXPECT_EQ(plain.window.top, unplaced.window.top);
}

TEST(ZerMessageBox, AFailedCreationLeavesTheSystemsError) {
    HWND gone = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    ::SetLastError(12345);
    Seen s;
    const int result = ShowAndClose(s, PressOk, gone, "Owner gone", "Failed", 0x0, nullptr, 0x10);
    // The error of the dialog manager comes through: it was cleared just before, so it is not
    // the caller's 12345. Windows documents 0 for an invalid owner; Wine returns -1.
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(result, zedtest::RunningOnWine() ? -1 : 0);
    EXPECT_FALSE(DialogWatch::Seen());
}

TEST(ZerMessageBox, LangMessageBoxFormatsALibraryTextCentredOnItsOwner) {
    Owner owner(200, 150, 500, 300);
    const RECT w = owner.Rect();
    Seen s;
    DialogWatch watch([&](HWND box) {
        s = Read(box);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    // Text 12 is "Unrecognized internal syslog facility code %d\n"; text 28 "&Ok".
    EXPECT_EQ(LangMessageBox(owner.window, 12, 28, 0x30, 77), 1);
    const Control* text = s.Find(59999);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text, "Unrecognized internal syslog facility code 77\n");
    EXPECT_EQ(s.caption, "&Ok");
    const int bw = s.window.right - s.window.left, bh = s.window.bottom - s.window.top;
    EXPECT_EQ(s.window.left, w.left + (w.right - w.left - bw) / 2);
    EXPECT_EQ(s.window.top, w.top + (w.bottom - w.top - bh) / 2);
}

TEST(ZerMessageBoxScreenshot, BoxWithIconAndThreeButtons) {
    const std::string shot = zedtest::ScreenshotFile("message-box");
    Seen s;
    bool saved = false;
    DialogWatch watch([&](HWND box) {
        // Painted, and the drawing has reached the screen that is read back.
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        zedtest::PumpFor(300);
        s = Read(box);
        RECT area = s.window;
        ::InflateRect(&area, 12, 12);
        saved = shot.empty() || zedtest::SaveScreenArea(area, shot);
        ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    const int result = ZerMessageBox(nullptr, "The piece \"Back\" has changed.\nSave it before closing?",
                                     "Pattern pieces", 0x33, ::GetModuleHandleA(nullptr), nullptr, 0x10);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(s.Buttons().size(), 3u);
    EXPECT_TRUE(saved);

}

}  // namespace
