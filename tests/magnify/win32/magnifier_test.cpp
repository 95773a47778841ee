// The magnifier under the real window manager: its classes, the frame and the view, the system
// menu, zoom from the menu and the zoom dialog, measuring in the caption, keys and scroll bars,
// painting, and the classes' lifetime with the library.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/language.h"
#include "tests/ui/win32/dialog_watch.h"
#include "tests/ui/win32/screen_capture.h"
#include "zedll/win32/magnify.h"

namespace {

std::vector<MagnifyNS> g_notes;
int g_paints = 0;
LRECT g_painted{0, 0, 0, 0};
HWND g_reset_window = nullptr;   // what the host gives for "Reset zoom"

int Record(MagnifyNS* record) {
    g_notes.push_back(*record);
    if (record->code == 2 && record->extra != 0 && g_reset_window != nullptr) {
        *reinterpret_cast<HWND*>(record->extra) = g_reset_window;
    }
    return 0;
}

int CountPaint(HDC, LRECT visible, DWORD, long) {
    ++g_paints;
    g_painted = visible;
    return 1;
}

// The notifications of `code`, in order.
std::vector<MagnifyNS> NotesOf(DWORD code) {
    std::vector<MagnifyNS> found;
    for (const MagnifyNS& n : g_notes) {
        if (n.code == code) found.push_back(n);
    }
    return found;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[256] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

RECT ClientOf(HWND w) {
    RECT r{};
    ::GetClientRect(w, &r);
    return r;
}

class Magnifier : public ::testing::Test {
protected:
    void SetUp() override {
        g_notes.clear();
        g_paints = 0;
        g_reset_window = nullptr;
        magnifier_ = new DSP_Magnify(::GetModuleHandleA(nullptr), CountPaint, Record, 77, 1.0f, nullptr, "Loupe", 0);
        ASSERT_NE(magnifier_->GetHandle(), nullptr);
        view_window_ = ::GetDlgItem(magnifier_->GetHandle(), 1);
        ASSERT_NE(view_window_, nullptr);
    }
    void TearDown() override { delete magnifier_; }

    // A work area that the view shows one pixel to one unit.
    void OneToOne() {
        const RECT c = ClientOf(view_window_);
        ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, c.bottom, c.right, 0}), 1);
        ASSERT_DOUBLE_EQ(magnifier_->GetView()->GetScale(), 1.0);
    }

    // Puts the cursor on pixel (x, y) of the view and sends the view the mouse message.
    void Mouse(UINT message, int x, int y) {
        POINT at{x, y};
        ::ClientToScreen(view_window_, &at);
        ::SetCursorPos(at.x, at.y);
        ::SendMessageA(view_window_, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }

    DSP_Magnify* magnifier_ = nullptr;
    HWND view_window_ = nullptr;
};

TEST(MagnifierClasses, RegisteredWithTheLibraryAtLoad) {
    HINSTANCE library = zed::LangGetLibraryInstance();
    WNDCLASSEXA view{};
    view.cbSize = sizeof view;
    ASSERT_TRUE(::GetClassInfoExA(library, "MagnifyKukuc", &view));
    EXPECT_EQ(view.style, 0u);
    EXPECT_EQ(view.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_EQ(view.hCursor, nullptr);
    EXPECT_EQ(view.hIcon, nullptr);
    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    ASSERT_TRUE(::GetClassInfoExA(library, "ZER_DSP_Magnify", &frame));
    EXPECT_EQ(frame.style, static_cast<UINT>(CS_BYTEALIGNCLIENT));
    EXPECT_NE(frame.hIcon, nullptr);   // "DSPSMMAG"
    EXPECT_EQ(frame.hCursor, ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    EXPECT_EQ(frame.hbrBackground, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(frame.cbWndExtra, 0);
}

TEST(MagnifierClasses, LoadingAndFreeingTheLibraryTwiceRegistersAndRemovesThem) {
    for (int round = 0; round < 2; ++round) {
        HMODULE dll = ::LoadLibraryA("ZEDLL.dll");
        ASSERT_NE(dll, nullptr) << "round " << round << ", error " << ::GetLastError();
        WNDCLASSEXA info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(::GetClassInfoExA(dll, "MagnifyKukuc", &info)) << round;
        EXPECT_TRUE(::GetClassInfoExA(dll, "ZER_DSP_Magnify", &info)) << round;
#if defined(ZEDLL_TEST_LANGUAGE_MODULES)
        // A language chosen in the DLL loads its module; the unload releases it.
        using SetLanguage = void(WINAPI*)(WORD);
        auto set_language = reinterpret_cast<SetLanguage>(
            reinterpret_cast<void (*)()>(::GetProcAddress(dll, "ZEDLLSetLanguage")));
        ASSERT_NE(set_language, nullptr);
        set_language(0x0407);
        EXPECT_NE(::GetModuleHandleA("ZEDDEU0407.DLL"), nullptr) << round;
#endif
        ASSERT_TRUE(::FreeLibrary(dll));
        EXPECT_EQ(::GetModuleHandleA("ZEDLL.dll"), nullptr) << round;
        EXPECT_EQ(::GetModuleHandleA("ZEDDEU0407.DLL"), nullptr) << round;
        EXPECT_FALSE(::GetClassInfoExA(dll, "MagnifyKukuc", &info)) << round;
        EXPECT_FALSE(::GetClassInfoExA(dll, "ZER_DSP_Magnify", &info)) << round;
    }
}

TEST_F(Magnifier, FrameAndViewAsCreated) {
    HWND frame = magnifier_->GetHandle();
    char name[64] = {};
    ::GetClassNameA(frame, name, sizeof name);
    EXPECT_STREQ(name, "ZER_DSP_Magnify");
    EXPECT_EQ(zedtest::WindowText(frame), "Loupe");
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(frame, GWL_STYLE));
    EXPECT_EQ(style & 0xFFFF0000u, 0x86CC0000u);
    EXPECT_FALSE(::IsWindowVisible(frame));
    RECT r{};
    ::GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right - r.left, 240);
    EXPECT_EQ(r.bottom - r.top, 200);

    ::GetClassNameA(view_window_, name, sizeof name);
    EXPECT_STREQ(name, "MagnifyKukuc");
    EXPECT_EQ(::GetWindowLongA(view_window_, GWL_EXSTYLE) & 0x201, 0x201);
    const RECT fc = ClientOf(frame);
    RECT vr{};
    ::GetWindowRect(view_window_, &vr);
    EXPECT_EQ(vr.right - vr.left, fc.right);   // the view covers the frame's client area
    EXPECT_EQ(vr.bottom - vr.top, fc.bottom);
    const LRECT world = magnifier_->GetView()->GetWorld();
    EXPECT_EQ(world.top, 400000);
    EXPECT_EQ(world.right, 400000);

    int w1, h1, w2, h2, width, height;
    magnifier_->GetSize(w1, h1, w2, h2, width, height);
    EXPECT_EQ(w1, 240);
    EXPECT_EQ(h2, 200);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(magnifier_->GetMaxZoom(), 0);   // no work area yet

    EXPECT_EQ(magnifier_->SetPosition(0, 50), 0);
    EXPECT_EQ(magnifier_->SetPosition(120, 90), 1);
    const POINT at = magnifier_->GetPosition();
    EXPECT_EQ(at.x, 120);
    EXPECT_EQ(at.y, 90);
    EXPECT_EQ(magnifier_->SetSize(0, 0, 300, 0, 320, 260), 1);
    magnifier_->GetSize(w1, h1, w2, h2, width, height);
    EXPECT_EQ(w1, 240);
    EXPECT_EQ(w2, 300);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 260);

    DSP_Magnify child(nullptr, nullptr, nullptr, 0, 1.0f, nullptr);
    EXPECT_EQ(child.SetWorkArea(0.f, 10.f, 10.f, 0.f), 0);   // no view before the frame
    EXPECT_EQ(child.CreateChild("Inside", frame), 1);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongA(child.GetHandle(), GWL_STYLE)) & 0xFFFF0000u, 0x46CC0000u);
    EXPECT_EQ(::GetParent(child.GetHandle()), frame);

    HWND window = magnifier_->GetHandle();
    delete magnifier_;
    magnifier_ = nullptr;
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(Magnifier, SystemMenuItemsAndGreyStates) {
    ASSERT_EQ(magnifier_->SetWorkArea(0.f, 25.f, 25.f, 0.f), 1);   // a largest zoom of 25
    HMENU menu = ::GetSystemMenu(magnifier_->GetHandle(), FALSE);
    ASSERT_EQ(::GetMenuItemCount(menu), 9);
    const struct { UINT id; const char* text; } items[] = {
        {SC_MOVE, "&Move"}, {SC_SIZE, "&Size"}, {0, ""}, {0xFFFFFFFF, "&Zoom"}, {2000, "Zoom &Input"},
        {3100, "&Reset zoom"}, {3000, "Measure"}, {0, ""}, {1000, "&Hide"},
    };
    for (UINT i = 0; i < 9; ++i) {
        EXPECT_EQ(::GetMenuItemID(menu, static_cast<int>(i)), items[i].id) << i;
        EXPECT_EQ(MenuText(menu, i), items[i].text) << i;
    }
    HMENU factors = ::GetSubMenu(menu, 3);
    ASSERT_NE(factors, nullptr);
    ASSERT_EQ(::GetMenuItemCount(factors), 15);
    const int expected[15] = {1, 2, 4, 7, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(::GetMenuItemID(factors, i), 1000u + expected[i]);
        EXPECT_EQ(MenuText(factors, static_cast<UINT>(i)), "Zoom &" + std::to_string(expected[i]) + "x");
        const UINT state = ::GetMenuState(factors, static_cast<UINT>(i), MF_BYPOSITION);
        EXPECT_EQ((state & MF_GRAYED) != 0, expected[i] >= 30) << expected[i];
    }
    // A work area of 800 enables every factor; the menu is rebuilt, not appended to.
    ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, 800, 800, 0}), 1);
    menu = ::GetSystemMenu(magnifier_->GetHandle(), FALSE);
    EXPECT_EQ(::GetMenuItemCount(menu), 9);
    factors = ::GetSubMenu(menu, 3);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(::GetMenuState(factors, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED, 0u) << expected[i];
    }
}

TEST_F(Magnifier, MenuZoomHideAndTheCloseBoxThatDoesNothing) {
    ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, 400000, 400000, 0}), 1);
    EXPECT_EQ(magnifier_->GetMaxZoom(), 4000);
    HWND frame = magnifier_->GetHandle();
    ::SendMessageA(frame, WM_SYSCOMMAND, 1005, 0);   // not in the menu, yet a factor
    EXPECT_EQ(magnifier_->GetZoom(), 5);
    const LRECT v = magnifier_->GetView()->GetVisible();
    // (0, 80000, 80000, 0) asked for: its height fills the view, which is wider than high, and
    // the extra width, centred, would reach left of the world, so the view keeps to its edge.
    EXPECT_EQ(v.left, 0);
    EXPECT_GT(v.right, 80000);
    EXPECT_NEAR(v.top - v.bottom, 80000, 1);
    EXPECT_NEAR((v.top + v.bottom) / 2, 40000, 1);
    auto zooms = NotesOf(2);
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_EQ(zooms[0].value, 5);
    EXPECT_EQ(zooms[0].userData, 77);
    EXPECT_EQ(zooms[0].extra, 0u);

    magnifier_->Zoom(1);   // the whole world again; the factor stays
    EXPECT_EQ(magnifier_->GetZoom(), 5);
    EXPECT_EQ(magnifier_->ZoomIncrement(), 1);
    EXPECT_EQ(magnifier_->GetZoom(), 6);
    EXPECT_EQ(magnifier_->ZoomDecrement(), 1);
    EXPECT_EQ(magnifier_->GetZoom(), 5);

    magnifier_->Show();
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_EQ(magnifier_->IsShow(), 1);
    ::SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(frame));
    EXPECT_TRUE(::IsWindowVisible(frame));
    ::SendMessageA(frame, WM_SYSCOMMAND, 1000, 0);   // Hide
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(magnifier_->IsShow(), 0);
    ASSERT_EQ(NotesOf(1).size(), 1u);

    // Reset zoom: the host names a window whose client size the view is to match.
    HWND other = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    g_reset_window = other;
    g_notes.clear();
    ::SendMessageA(frame, WM_SYSCOMMAND, 3100, 0);
    zooms = NotesOf(2);
    ASSERT_EQ(zooms.size(), 1u);
    EXPECT_EQ(zooms[0].value, 0);
    EXPECT_NE(zooms[0].extra, 0u);
    const RECT vc = ClientOf(view_window_);
    const int sync = static_cast<int>(std::min(600.f / vc.right, 400.f / vc.bottom));
    EXPECT_EQ(magnifier_->GetZoom(), sync > 1 ? sync : 5);
    ::DestroyWindow(other);
}

TEST_F(Magnifier, ZoomDialogSetsTheFactorAndCancelChangesNothing) {
    ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, 5000, 5000, 0}), 1);   // largest 500
    std::string shown[3];
    {
        zedtest::DialogWatch watch([&](HWND dialog) {
            shown[0] = zedtest::WindowText(::GetDlgItem(dialog, 1000));
            shown[1] = zedtest::WindowText(::GetDlgItem(dialog, 1010));
            shown[2] = zedtest::WindowText(::GetDlgItem(dialog, 1011));
            ::SetDlgItemTextA(dialog, 1000, "7");
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        ::SendMessageA(magnifier_->GetHandle(), WM_SYSCOMMAND, 2000, 0);
        EXPECT_TRUE(zedtest::DialogWatch::Seen());
    }
    EXPECT_EQ(shown[0], "1");
    EXPECT_EQ(shown[1], "1");
    EXPECT_EQ(shown[2], "500");
    EXPECT_EQ(magnifier_->GetZoom(), 7);
    ASSERT_EQ(NotesOf(2).size(), 1u);
    EXPECT_EQ(NotesOf(2)[0].value, 7);

    // Out of range the dialog stays open (it beeps); Cancel then changes nothing.
    g_notes.clear();
    bool still_open = false;
    {
        zedtest::DialogWatch watch([&](HWND dialog) {
            ::SetDlgItemTextA(dialog, 1000, "501");
            ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            still_open = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        ::SendMessageA(magnifier_->GetHandle(), WM_SYSCOMMAND, 2000, 0);
    }
    EXPECT_TRUE(still_open);
    EXPECT_EQ(magnifier_->GetZoom(), 7);
    EXPECT_TRUE(NotesOf(2).empty());
}

TEST_F(Magnifier, MeasuringShowsTheDistanceInTheCaption) {
    OneToOne();
    magnifier_->Show();
    ::SendMessageA(magnifier_->GetHandle(), WM_SYSCOMMAND, 3000, 0);   // Measure
    EXPECT_EQ(magnifier_->GetMeasureState(), 1);
    auto measuring = NotesOf(8);
    ASSERT_EQ(measuring.size(), 1u);
    EXPECT_EQ(measuring[0].value, 1);

    Mouse(WM_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(magnifier_->GetMeasureState(), 2);
    Mouse(WM_MOUSEMOVE, 13, 14);
    EXPECT_EQ(zedtest::WindowText(magnifier_->GetHandle()), "Distance 5.0000 mm");
    // Each mouse message also reaches the host, with its pixel and its work-area point.
    const auto moves = NotesOf(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().clientX, 13);
    EXPECT_EQ(moves.back().clientY, 14);
    const RECT c = ClientOf(view_window_);
    EXPECT_EQ(moves.back().pointX, 13);
    EXPECT_EQ(moves.back().pointY, c.bottom - 14);
    EXPECT_EQ(moves.back().userData, 77);

    Mouse(WM_LBUTTONUP, 13, 14);
    EXPECT_EQ(magnifier_->GetMeasureState(), 0);
    EXPECT_EQ(zedtest::WindowText(magnifier_->GetHandle()), "Loupe");
    measuring = NotesOf(8);
    ASSERT_EQ(measuring.size(), 2u);
    EXPECT_EQ(measuring[1].value, 0);

    // Armed by the host: the cursor goes to the middle of the view.
    EXPECT_EQ(magnifier_->Measuration(), 1);
    POINT at{};
    ::GetCursorPos(&at);
    RECT vr{};
    ::GetWindowRect(view_window_, &vr);
    EXPECT_EQ(at.x, (vr.left + vr.right) / 2);
    EXPECT_EQ(at.y, (vr.top + vr.bottom) / 2);
    EXPECT_EQ(magnifier_->GetMeasureState(), 1);
}

TEST_F(Magnifier, KeysAndScrollBarsMoveTheView) {
    ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, 400000, 400000, 0}), 1);
    magnifier_->Zoom(10);   // the bottom-left tenth
    magnifier_->Show();
    magnifier_->Redraw();
    ::UpdateWindow(view_window_);
    MagKUKUC* view = magnifier_->GetView();
    const LRECT before = view->GetVisible();
    EXPECT_EQ(::GetScrollPos(view_window_, SB_VERT), view->ScrollPosition(1));
    ::SendMessageA(view_window_, WM_KEYDOWN, VK_HOME, 0);   // to the top of the extent
    EXPECT_EQ(view->GetVisible().top, view->GetExtent().top);
    EXPECT_EQ(::GetScrollPos(view_window_, SB_VERT), 0);
    ::SendMessageA(view_window_, WM_KEYDOWN, VK_END, 0);   // and back to the bottom
    const LRECT bottom = view->GetVisible();
    EXPECT_EQ(bottom.bottom, view->GetExtent().bottom);
    EXPECT_EQ(bottom.top - bottom.bottom, before.top - before.bottom);
    EXPECT_EQ(::GetScrollPos(view_window_, SB_VERT), view->ScrollPosition(1));

    ::SendMessageA(view_window_, WM_HSCROLL, SB_BOTTOM, 0);   // the right end
    const LRECT right = view->GetVisible();
    EXPECT_EQ(right.right, view->GetExtent().right);
    EXPECT_EQ(::GetScrollPos(view_window_, SB_HORZ), right.left);
    ::UpdateWindow(view_window_);
    g_paints = 0;
    ::SendMessageA(view_window_, WM_HSCROLL, SB_PAGEDOWN, 0);   // nothing further to go
    EXPECT_EQ(view->GetVisible().left, right.left);
    EXPECT_EQ(g_paints, 0);
    ::SendMessageA(view_window_, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(view->GetVisible().left, right.left - (right.right - right.left) / 9);
    EXPECT_GE(g_paints, 1);   // the view repainted at once

    // Panning from the host: the centre moves to the point asked for.
    EXPECT_EQ(magnifier_->Move(100000.f, 200000.f), 1);
    const LRECT moved = view->GetVisible();
    EXPECT_NEAR((moved.left + moved.right) / 2, 100000, 1);
    EXPECT_NEAR((moved.top + moved.bottom) / 2, 200000, 1);
}

TEST_F(Magnifier, PaintGivesTheHostTheVisibleRectangleAndMarkersAreChecked) {
    ASSERT_EQ(magnifier_->SetWorkArea(LRECT{0, 400000, 400000, 0}), 1);
    magnifier_->Show();
    g_paints = 0;
    magnifier_->Redraw();
    ::UpdateWindow(view_window_);
    EXPECT_GE(g_paints, 1);
    const LRECT v = magnifier_->GetView()->GetVisible();
    EXPECT_EQ(g_painted.left, v.left);
    EXPECT_EQ(g_painted.top, v.top);
    EXPECT_EQ(g_painted.right, v.right);
    EXPECT_EQ(g_painted.bottom, v.bottom);

    HDC dc = ::GetDC(view_window_);
    const struct { int kind, size; int result; } markers[] = {
        {1, 10, 1}, {4, 2, 1}, {0, 10, 0}, {5, 10, 0}, {2, 1, 0}, {3, 399998, 0}, {3, 399997, 1},
    };
    for (const auto& m : markers) {
        EXPECT_EQ(magnifier_->PainPoint(dc, m.kind, m.size, 200000.f, 200000.f), m.result) << m.kind << " " << m.size;
    }
    ::ReleaseDC(view_window_, dc);
}

// A piece outline the host draws in work-area units, with a drill hole and two notch marks drawn
// through the magnifier, for the screenshot.
DSP_Magnify* g_shot = nullptr;

int DrawPiece(HDC dc, LRECT, DWORD, long) {
    const POINT outline[] = {{40000, 40000}, {360000, 40000}, {360000, 300000}, {200000, 370000}, {40000, 300000}};
    HPEN pen = ::CreatePen(PS_SOLID, 0, RGB(0, 70, 160));
    HGDIOBJ old_pen = ::SelectObject(dc, pen);
    HBRUSH fill = ::CreateSolidBrush(RGB(220, 232, 248));
    HGDIOBJ old_brush = ::SelectObject(dc, fill);
    ::Polygon(dc, outline, 5);
    ::SelectObject(dc, old_brush);
    ::DeleteObject(fill);
    if (g_shot != nullptr) {
        g_shot->PainPoint(dc, 2, 12, 200000.f, 200000.f);   // a drill hole
        g_shot->PainPoint(dc, 4, 10, 360000.f, 170000.f);   // marks on the outline
        g_shot->PainPoint(dc, 3, 10, 40000.f, 170000.f);
        g_shot->PainPoint(dc, 1, 10, 200000.f, 370000.f);
    }
    ::SelectObject(dc, old_pen);
    ::DeleteObject(pen);
    return 1;
}

TEST(MagnifierScreenshot, APieceBeingMeasured) {
    const std::string file = zedtest::ScreenshotFile("magnifier");
    DSP_Magnify magnifier(::GetModuleHandleA(nullptr), DrawPiece, nullptr, 0, 0.001f, nullptr, "Magnifier", 0);
    ASSERT_NE(magnifier.GetHandle(), nullptr);
    g_shot = &magnifier;
    magnifier.SetSize(0, 0, 0, 0, 360, 300);
    magnifier.SetPosition(100, 100);
    ASSERT_EQ(magnifier.SetWorkArea(LRECT{0, 400000, 400000, 0}), 1);
    magnifier.Show();
    HWND view = ::GetDlgItem(magnifier.GetHandle(), 1);
    ::SetForegroundWindow(magnifier.GetHandle());
    ::RedrawWindow(magnifier.GetHandle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    zedtest::PumpFor(300);
    magnifier.Measuration();
    const auto press = [&](UINT message, int x, int y) {
        POINT at{x, y};
        ::ClientToScreen(view, &at);
        ::SetCursorPos(at.x, at.y);
        ::SendMessageA(view, message, 0, MAKELPARAM(x, y));
    };
    press(WM_LBUTTONDOWN, 60, 200);
    press(WM_MOUSEMOVE, 250, 80);
    zedtest::PumpFor(300);
    EXPECT_EQ(zedtest::WindowText(magnifier.GetHandle()).rfind("Distance ", 0), 0u);
    g_shot = nullptr;
    if (file.empty()) GTEST_SKIP() << "no screenshot folder";
    RECT frame{};
    ::GetWindowRect(magnifier.GetHandle(), &frame);
    EXPECT_TRUE(zedtest::SaveScreenArea(frame, file));
}

}  // namespace
