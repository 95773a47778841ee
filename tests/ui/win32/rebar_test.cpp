// WIN_Rebar under a real window system: docking to the four edges of the frame, the band
// records it inserts, rows started by NewLine, and band heights fitted to stacked buttons.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "menubar_host.h"
#include "menubar_test_ids.h"
#include "zedll/win32/rebar.h"
#include "zedll/win32/tmenu.h"

namespace {

using zedtest::MenuBarHost;

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

RECT InClient(HWND frame, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

REBARBANDINFOA Band(HWND rebar, int index) {
    REBARBANDINFOA b{};
    b.cbSize = sizeof b;
    b.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    EXPECT_TRUE(::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&b)));
    return b;
}

TEST(RebarWindow, SetAlignmentReturnsTheOneItReplaces) {
    WIN_Rebar rebar;
    EXPECT_EQ(rebar.SetAlignment(WIN_Rebar::Bottom), WIN_Rebar::Top);
    EXPECT_EQ(rebar.SetAlignment(WIN_Rebar::Right), WIN_Rebar::Bottom);
    EXPECT_EQ(rebar.SetAlignment(WIN_Rebar::Left), WIN_Rebar::Right);
}

TEST(RebarWindow, DocksToEachEdgeOfTheFrame) {
    for (int a = 0; a < 4; ++a) {
        MenuBarHost host;
        WIN_Rebar rebar;
        WIN_TMenu menu;
        rebar.SetAlignment(static_cast<WIN_Rebar::Align>(a));
        ASSERT_EQ(rebar.Create(host.frame), 1);
        HWND bar = rebar.GetHandle();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(rebar.GetHandleParent(), host.frame);
        EXPECT_EQ((::GetWindowLongA(bar, GWL_STYLE) & CCS_VERT) != 0, (a & 1) != 0) << a;
        ASSERT_NE(menu.Create(host.frame, 4243, ZEDTEST_MENUBAR_MENU, Self()), nullptr);
        EXPECT_EQ(rebar.AddMenu(menu.GetHandle(), nullptr, nullptr, 0, 0, 0, 0), 1);
        host.rebar = &rebar;
        // Two sizes: the rebar has taken its own thickness after the first, docking uses it.
        for (int pass = 0; pass < 2; ++pass) {
            ::SetWindowPos(host.frame, nullptr, 0, 0, 700 + pass * 100, 500 + pass * 100,
                           SWP_NOMOVE | SWP_NOZORDER);
            MenuBarHost::Pump(30);
        }
        RECT client{};
        ::GetClientRect(host.frame, &client);
        const RECT r = InClient(host.frame, bar);
        const LONG w = r.right - r.left, h = r.bottom - r.top;
        EXPECT_GT(w, 0) << a;
        EXPECT_GT(h, 0) << a;
        switch (a) {
            case 0:  // top: full width from the top; its height follows its bands
                EXPECT_EQ(r.left, 0);
                EXPECT_EQ(r.top, 0);
                EXPECT_EQ(w, client.right);
                EXPECT_LT(h, client.bottom);
                break;
            case 1:  // left: full height, its own width
                EXPECT_EQ(r.left, 0);
                EXPECT_EQ(r.top, 0);
                EXPECT_EQ(h, client.bottom);
                EXPECT_LT(w, client.right);
                break;
            case 2:  // bottom: full width at the bottom, its own height
                EXPECT_EQ(r.left, 0);
                EXPECT_EQ(r.bottom, client.bottom);
                EXPECT_EQ(w, client.right);
                EXPECT_LT(h, client.bottom);
                break;
            case 3:  // right: full height at the right, its own width
                EXPECT_EQ(r.right, client.right);
                EXPECT_EQ(r.top, 0);
                EXPECT_EQ(h, client.bottom);
                EXPECT_LT(w, client.right);
                break;
        }
        host.rebar = nullptr;
    }
}

TEST(RebarWindow, BandsCarryTheirStylesAndOnlyTheBandAfterNewLineBreaks) {
    MenuBarHost host;
    WIN_Rebar rebar;
    ASSERT_EQ(rebar.Create(host.frame), 1);
    WIN_TMenu a, b, c;
    HWND ta = a.Create(host.frame, 1, ZEDTEST_MENUBAR_MENU, Self());
    HWND tb = b.Create(host.frame, 2, ZEDTEST_MENUBAR_MENU, Self());
    HWND tc = c.Create(host.frame, 3, ZEDTEST_MENUBAR_MENU, Self());
    const int button_height = HIWORD(static_cast<DWORD>(::SendMessageA(ta, TB_GETBUTTONSIZE, 0, 0)));
    EXPECT_EQ(rebar.AddMenu(ta, nullptr, nullptr, 0, 0, 0, 0), 1);
    rebar.NewLine();
    EXPECT_EQ(rebar.AddToolbar(tb, "Tools", nullptr, 1, 2, 3, 4), 1);
    EXPECT_EQ(rebar.AddToolbar(tc, nullptr, nullptr, 0, 0, 0, 0), 1);
    ASSERT_EQ(::SendMessageA(rebar.GetHandle(), RB_GETBANDCOUNT, 0, 0), 3);
    const REBARBANDINFOA menu_band = Band(rebar.GetHandle(), 0);
    const REBARBANDINFOA broken = Band(rebar.GetHandle(), 1);
    const REBARBANDINFOA next = Band(rebar.GetHandle(), 2);
    const UINT kept = RBBS_BREAK | RBBS_CHILDEDGE | RBBS_FIXEDBMP | RBBS_VARIABLEHEIGHT |
                      RBBS_GRIPPERALWAYS;
    EXPECT_EQ(menu_band.fStyle & kept, 0xE4u);
    EXPECT_EQ(broken.fStyle & kept, 0xA5u);
    EXPECT_EQ(next.fStyle & kept, 0xA4u);
    EXPECT_EQ(menu_band.hwndChild, ta);
    EXPECT_EQ(broken.hwndChild, tb);
    EXPECT_EQ(menu_band.cxMinChild, 0u);
    EXPECT_EQ(broken.cxMinChild, 250u);
    EXPECT_EQ(static_cast<int>(menu_band.cyMinChild), button_height);
    EXPECT_EQ(::GetParent(ta), rebar.GetHandle());  // the rebar adopts its band children
    char text[32] = {};
    REBARBANDINFOA t{};
    t.cbSize = sizeof t;
    t.fMask = RBBIM_TEXT;
    t.lpText = text;
    t.cch = sizeof text;
    ::SendMessageA(rebar.GetHandle(), RB_GETBANDINFOA, 1, reinterpret_cast<LPARAM>(&t));
    EXPECT_STREQ(text, "Tools");
}

TEST(RebarWindow, ChildSizeGivesABandTheHeightOfItsStackedButtons) {
    MenuBarHost host;
    WIN_Rebar rebar;
    rebar.SetAlignment(WIN_Rebar::Left);
    ASSERT_EQ(rebar.Create(host.frame), 1);
    WIN_TMenu menu;
    HWND toolbar = menu.Create(host.frame, 5, ZEDTEST_MENUBAR_MENU, Self());
    ASSERT_EQ(rebar.AddMenu(toolbar, nullptr, nullptr, 0, 0, 0, 0), 1);
    const int button_height = HIWORD(static_cast<DWORD>(::SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)));
    NMREBARCHILDSIZE record{};
    record.hdr.hwndFrom = rebar.GetHandle();
    record.hdr.code = static_cast<UINT>(RBN_CHILDSIZE);
    record.uBand = 0;
    record.rcChild = RECT{2, 3, 60, 300};
    EXPECT_EQ(rebar.CmdNotify(&record.hdr), 1);
    const REBARBANDINFOA b = Band(rebar.GetHandle(), 0);
    EXPECT_EQ(static_cast<int>(b.cyMinChild), 4 * button_height);
    EXPECT_EQ(b.cxMinChild, 0u);
    record.hdr.code = static_cast<UINT>(RBN_HEIGHTCHANGE);
    EXPECT_EQ(rebar.CmdNotify(&record.hdr), 0);
    record.hdr.code = static_cast<UINT>(RBN_CHILDSIZE);
    record.hdr.hwndFrom = host.frame;
    EXPECT_EQ(rebar.CmdNotify(&record.hdr), 0);
    EXPECT_EQ(rebar.CmdNotify(nullptr), 0);
    EXPECT_EQ(rebar.UpdateBandSize(0, 11, 33, 120, 33), 1);
    const REBARBANDINFOA u = Band(rebar.GetHandle(), 0);
    EXPECT_EQ(u.cxMinChild, 11u);
    EXPECT_EQ(u.cyMinChild, 33u);
}

}  // namespace
