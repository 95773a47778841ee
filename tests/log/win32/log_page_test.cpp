// The log-options page in a real property sheet: its description, the controls it shows for the
// stored options, and what applying it stores.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "log/log_options.h"
#include "platform/language.h"
#include "tests/log/log_options_fixture.h"
#include "zedll.h"

namespace {

using namespace zed::log_options;
using zedtest::LogOptionsTest;

TEST_F(LogOptionsTest, NoPageBeforeTheNames) { EXPECT_EQ(log_GetLogSheet(), nullptr); }

struct Page {
    HWND sheet = nullptr;
    HWND page = nullptr;
    bool Checked(int id) const { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }
    std::string Text(int id) const {
        char text[300] = {};
        ::GetDlgItemTextA(page, id, text, sizeof text);
        return text;
    }
    void Command(int id) const {
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
    }
    void Choose(int id) const {
        ::CheckRadioButton(page, 1000, 1003, id);
        Command(id);
    }
};

Page OpenSheet(LPPROPSHEETPAGEA description) {
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.pszCaption = "Options";
    header.nPages = 1;
    header.ppsp = description;
    Page result;
    result.sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
    if (result.sheet != nullptr) result.page = reinterpret_cast<HWND>(::SendMessageA(result.sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return result;
}

TEST_F(LogOptionsTest, PageInAPropertySheet) {
    ::InitCommonControls();
    ASSERT_EQ(Init(), 1);
    log_SetFlagLog(2, "C:\\logs\\app.log");
    LPPROPSHEETPAGEA description = log_GetLogSheet();
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->dwFlags, 12u);
    EXPECT_STREQ(description->pszTitle, "Logging");
    EXPECT_STREQ(description->pszTemplate, "_ZELOG");
    EXPECT_STREQ(description->pszIcon, "_ZEPROPERTY");
    EXPECT_EQ(description->hInstance, zed::LangGetModule());

    Page page = OpenSheet(description);
    ASSERT_NE(page.sheet, nullptr);
    ASSERT_NE(page.page, nullptr);
    EXPECT_TRUE(page.Checked(1001));
    EXPECT_FALSE(page.Checked(1000));
    EXPECT_TRUE(page.Enabled(1004));
    EXPECT_TRUE(page.Enabled(1005));
    EXPECT_EQ(page.Text(1004), "C:\\logs\\app.log");
    EXPECT_FALSE(page.Enabled(1002));                               // created disabled
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page.page, 1003)));  // created hidden

    page.Command(200);  // Default
    EXPECT_TRUE(page.Checked(1000));
    EXPECT_FALSE(page.Checked(1001));
    EXPECT_FALSE(page.Enabled(1004));
    EXPECT_FALSE(page.Enabled(1005));

    page.Choose(1001);  // File enables the path again
    EXPECT_TRUE(page.Enabled(1004));
    ::SetDlgItemTextA(page.page, 1004, "D:\\LOGS\\NEW.LOG");
    ::SendMessageA(page.sheet, PSM_APPLY, 0, 0);
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}), DWORD{2});
    char path[100];
    Options().GetString("SyslogPath", "", path, sizeof path);
    EXPECT_STREQ(path, "D:\\LOGS\\NEW.LOG");

    page.Choose(1003);  // Stderr, reachable only from a program
    EXPECT_FALSE(page.Enabled(1004));
    ::SendMessageA(page.sheet, PSM_APPLY, 0, 0);
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}), DWORD{3});
    ::DestroyWindow(page.sheet);

    // Stored method 0: "Disabled" checked and the path box disabled.
    log_SetFlagLog(0, "");
    Page second = OpenSheet(log_GetLogSheet());
    ASSERT_NE(second.page, nullptr);
    EXPECT_TRUE(second.Checked(1000));
    EXPECT_FALSE(second.Enabled(1004));
    EXPECT_FALSE(second.Enabled(1005));
    ::DestroyWindow(second.sheet);
}
}  // namespace
