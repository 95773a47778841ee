// A frame window as a person sees it: a rebar holding the toolbar menu bar, the "&File"
// drop-down open with its recent-file list. When the run takes pictures, the painted screen around
// the window is saved as "menubar-bar" before and "menubar" with the drop-down open.
//
// Wine: `xwd -root` on the Xvfb display shows Wine's popup menus as black rectangles (their
// contents never reach the X window it reads), so the picture is read back through the screen
// DC instead, which holds what Wine has drawn.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/registry_fixture.h"
#include "menubar_host.h"
#include "menubar_test_ids.h"
#include "screen_capture.h"
#include "zedll/win32/rebar.h"
#include "zedll/win32/recent_files_menu.h"
#include "zedll/win32/tmenu.h"

namespace {

using zedtest::MenuBarHost;

using zedtest::RunningOnWine;

class MenuBarScreenshot : public zedtest::RegistryFixture {};

TEST_F(MenuBarScreenshot, FrameWithRebarMenuBarAndRecentFilesOpen) {
    std::vector<std::string> files;
    for (const char* name : {"Jacket front.pie", "Jacket back.pie", "Sleeve.pie"}) {
        files.push_back(TempFile(name));
        std::ofstream(files.back()) << "x";
    }
    {
        MenuBarHost host(640, 420, "Pattern pieces - menu bar");
        WIN_Rebar rebar;
        ASSERT_EQ(rebar.Create(host.frame), 1);
        WIN_TMenu menu;
        HWND toolbar = menu.Create(host.frame, 4300, ZEDTEST_MENUBAR_MENU, ::GetModuleHandleA(nullptr));
        ASSERT_NE(toolbar, nullptr);
        ASSERT_EQ(rebar.AddMenu(toolbar, nullptr, nullptr, 0, 0, 0, 0), 1);
        // A menu bar across the top is one row of buttons high: this host sizes the band so
        // itself rather than letting child-size notifications stack the buttons (which is for
        // vertical bars).
        const int row = HIWORD(static_cast<DWORD>(::SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)));
        SIZE wanted{};
        ::SendMessageA(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&wanted));
        ASSERT_EQ(rebar.UpdateBandSize(0, 0, row, wanted.cx + 8, row), 1);
        host.rebar = &rebar;
        host.menu = &menu;
        host.rebar_notifications = false;
        ::SetWindowPos(host.frame, nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ::SendMessageA(host.frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(620, 380));

        WIN_RLastFiles mru(&menu, "&File", "Recent &files", company_.c_str(), "Shot", "1", 5000, 5);
        for (auto it = files.rbegin(); it != files.rend(); ++it) mru.AddFile(CLS_String(it->c_str()));
        // Entries straight in the drop-down: drawn again without the caption.
        mru.HandleChange(&menu, "&File", nullptr, toolbar);
        ASSERT_EQ(::GetMenuItemCount(menu.GetSubMenu("&File")), 4 + 1 + 3);

        MenuBarHost::Pump(300);
        const std::string bar_shot = zedtest::ScreenshotFile("menubar-bar");
        const std::string open_shot = zedtest::ScreenshotFile("menubar");
        // First the bar alone: under Wine the open drop-down covers it (see below).
        RECT frame{};
        ::GetWindowRect(host.frame, &frame);
        ::InflateRect(&frame, 8, 8);
        if (!bar_shot.empty()) {
            EXPECT_TRUE(zedtest::SaveScreenArea(frame, bar_shot));
        }
        NMTOOLBARA record{};
        record.hdr.hwndFrom = toolbar;
        record.hdr.idFrom = 4300;
        record.hdr.code = static_cast<UINT>(TBN_DROPDOWN);
        record.iItem = 1;
        ::SendMessageA(host.frame, WM_NOTIFY, 4300, reinterpret_cast<LPARAM>(&record));
        ASSERT_TRUE(MenuBarHost::PumpUntil([] { return zedtest::OpenPopupMenu() != nullptr; }, 3000));
        HWND popup = zedtest::OpenPopupMenu();
        // Painted: the frame, the bar and the popup have handled their paint messages.
        ::RedrawWindow(host.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        MenuBarHost::Pump(700);
        RECT bar{}, drop{};
        ::GetWindowRect(rebar.GetHandle(), &bar);
        ::GetWindowRect(popup, &drop);
        RECT button{};
        ::SendMessageA(toolbar, TB_GETRECT, 1, reinterpret_cast<LPARAM>(&button));
        ::MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&button), 2);
        if (RunningOnWine()) {
            // Wine places the popup at the given point and does not keep it off the exclusion
            // rectangle of TPMPARAMS: it opens at the button's top left corner, over the bar.
            EXPECT_EQ(drop.top, button.top);
        } else {
            EXPECT_GE(drop.top, button.bottom);  // kept off its button, below it
        }
        EXPECT_GE(bar.bottom - bar.top, row);
        EXPECT_GT(drop.bottom - drop.top, 100);

        if (!open_shot.empty()) {
            RECT shot{};
            ::UnionRect(&shot, &frame, &drop);
            EXPECT_TRUE(zedtest::SaveScreenArea(shot, open_shot));
        }
        ::PostMessageA(zedtest::OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
        MenuBarHost::PumpUntil([] { return zedtest::OpenPopupMenu() == nullptr; }, 3000);
        host.menu = nullptr;
        host.rebar = nullptr;
    }
    for (const std::string& f : files) ::DeleteFileA(f.c_str());
}

}  // namespace
