// Templates from the builder in the real dialog manager: every control read back with its class,
// text, identifier and rectangle.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "zedll/win32/dlg_template.h"

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string ClassOf(HWND w) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

std::string TextOf(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

TEST(DlgTemplateWindow, TheDialogManagerBuildsEveryControlAsDescribed) {
    WIN_DlgTemplate dlg;
    ASSERT_EQ(dlg.SetDlgFont(8, "MS Sans Serif"), 1);
    // Controls before and after the header, texts of odd and even length.
    ASSERT_EQ(dlg.CreateButton(1, 10, 60, 50, 14, 0x50010001, 0, "&Ok"), 1);
    ASSERT_EQ(dlg.CreateHeader(10, 10, 200, 90, 0x80C800C0 | 0x40, 0, "Built in memory"), 0);
    ASSERT_EQ(dlg.CreateButton(2, 70, 60, 50, 14, 0x50010000, 0, "&Cancel"), 2);
    ASSERT_EQ(dlg.CreateStatic(59999, 7, 7, 180, 40, 0x50000000, 0, "Line one\nLine two"), 3);
    ASSERT_EQ(dlg.CreateControl("EDIT", "typed", 0, 300, 7, 48, 100, 12, 0x50810080, 0x200), 4);

    HWND box = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dlg.GetDlgTemplate(), nullptr, Quiet, 0);
    ASSERT_NE(box, nullptr) << GetLastError();
    EXPECT_EQ(TextOf(box), "Built in memory");
    // Position and size in dialog units, as the template holds them.
    const struct { int id; const char* cls; const char* text; RECT units; } controls[] = {
        {1, "Button", "&Ok", {10, 60, 50, 14}},
        {2, "Button", "&Cancel", {70, 60, 50, 14}},
        {59999, "Static", "Line one\nLine two", {7, 7, 180, 40}},
        {300, "Edit", "typed", {7, 48, 100, 12}},
    };
    int children = 0;
    for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 4);
    for (const auto& c : controls) {
        HWND w = GetDlgItem(box, c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_STRCASEEQ(ClassOf(w).c_str(), c.cls) << c.id;
        EXPECT_EQ(TextOf(w), c.text) << c.id;
        // The dialog manager converts position and size each on its own, with the box's font.
        RECT expected = c.units, actual;
        MapDialogRect(box, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        GetWindowRect(w, &actual);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right, expected.right) << c.id;
        EXPECT_EQ(actual.bottom, expected.bottom) << c.id;
    }
    DestroyWindow(box);
}

}  // namespace
