// A frame window as a person sees it: a rebar holding the toolbar menu bar, the "&File"
// drop-down open with its recent-file list. With ZEDLL_SCREENSHOT_READY and
// ZEDLL_SCREENSHOT_TAKEN set (Windows paths of two marker files), the test announces the painted
// screen and waits for the picture to be taken outside, on the X display.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../../settings/registry_fixture.h"
#include "menubar_host.h"
#include "menubar_test_ids.h"
#include "zedll/win32/rebar.h"
#include "zedll/win32/recent_files_menu.h"
#include "zedll/win32/tmenu.h"

namespace {

using zedtest::MenuBarHost;

std::string Env(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value) : std::string();
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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
        host.rebar = &rebar;
        host.menu = &menu;
        ::SetWindowPos(host.frame, nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ::SendMessageA(host.frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(620, 380));

        WIN_RLastFiles mru(&menu, "&File", "Recent &files", company_.c_str(), "Shot", "1", 5000, 5);
        for (auto it = files.rbegin(); it != files.rend(); ++it) mru.AddFile(CLS_String(it->c_str()));
        // Entries straight in the drop-down: drawn again without the caption.
        mru.HandleChange(&menu, "&File", nullptr, toolbar);
        ASSERT_EQ(::GetMenuItemCount(menu.GetSubMenu("&File")), 4 + 1 + 3);

        MenuBarHost::Pump(300);
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
        EXPECT_GE(drop.top, bar.top);  // the drop-down hangs below the bar
        EXPECT_GT(drop.bottom - drop.top, 100);

        const std::string ready = Env("ZEDLL_SCREENSHOT_READY");
        const std::string taken = Env("ZEDLL_SCREENSHOT_TAKEN");
        if (!ready.empty() && !taken.empty()) {
            std::ofstream(ready) << "painted";
            EXPECT_TRUE(MenuBarHost::PumpUntil([&] { return Exists(taken); }, 20000))
                << "no picture taken";
        }
        ::PostMessageA(zedtest::OpenPopupMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
        MenuBarHost::PumpUntil([] { return zedtest::OpenPopupMenu() == nullptr; }, 3000);
        host.menu = nullptr;
        host.rebar = nullptr;
    }
    for (const std::string& f : files) ::DeleteFileA(f.c_str());
}

}  // namespace
