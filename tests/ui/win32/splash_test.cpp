// Splash screens in the real window manager: centred on the desktop and sized to the picture,
// the indicators read back after each call, the minimum display time measured, and the record
// of the one splash of the process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "dialog_watch.h"
#include "screen_capture.h"
#include "splash_test_ids.h"
#include "zedll/win32/splash.h"

namespace {

using zedtest::WindowClass;
using zedtest::WindowText;

HWND FindSplash() { return ::FindWindowA("#32770", "SplashLoader"); }

int Show(BYTE topmost = 0, DWORD seconds = 0) {
    return CreateSplashLoader(::GetModuleHandleA(nullptr), nullptr, ZEDTEST_SPLASH_PICTURE, seconds, topmost);
}

// Handles what is queued, so that moves and paints have happened.
void Settle() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&m);
}

RECT ClientRectOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Splash : public ::testing::Test {
protected:
    void TearDown() override {
        DestroySplash(nullptr);
        // Splashes replaced in the record are the test's to remove.
        while (HWND left = FindSplash()) ::DestroyWindow(left);
    }
};

TEST_F(Splash, WithoutASplashEverythingIsQuiet) {
    ASSERT_EQ(FindSplash(), nullptr);
    EXPECT_EQ(DestroySplash(nullptr), 1);
    EXPECT_EQ(SplashLoaderSetPercent(5), 0);
    EXPECT_EQ(SplashLoaderSetPosProgress(-1), 0);
    EXPECT_EQ(SplashLoaderSetRangeProgress(0, 10, 1), 0);
    EXPECT_EQ(SplashLoaderDisablePercent(1), 0);
    EXPECT_EQ(SplashLoaderSetSizeProgress(0, 0, 10, 10), 0);
}

TEST_F(Splash, ShownCentredAndSizedToItsPicture) {
    ASSERT_EQ(Show(), 1);
    Settle();
    HWND splash = FindSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(::IsWindowVisible(splash));
    RECT r{}, desktop{};
    ::GetWindowRect(splash, &r);
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    EXPECT_EQ(r.right - r.left, ZEDTEST_SPLASH_WIDTH);
    EXPECT_EQ(r.bottom - r.top, ZEDTEST_SPLASH_HEIGHT);
    EXPECT_EQ(r.left, (desktop.right - ZEDTEST_SPLASH_WIDTH) / 2);
    EXPECT_EQ(r.top, (desktop.bottom - ZEDTEST_SPLASH_HEIGHT) / 2);
    EXPECT_EQ(::GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    const struct { int id; const char* cls; const char* text; } controls[] = {
        {30000, "Static", ""},
        {30001, "Static", " 0 % "},
        {30002, "msctls_progress32", "Progress1"},
    };
    for (const auto& c : controls) {
        HWND w = ::GetDlgItem(splash, c.id);
        ASSERT_NE(w, nullptr) << c.id;
        EXPECT_STRCASEEQ(WindowClass(w).c_str(), c.cls) << c.id;
        EXPECT_TRUE(::IsWindowVisible(w)) << c.id;
        if (c.id != 30000) {
            EXPECT_EQ(WindowText(w), c.text) << c.id;
        }
    }
    // The picture fills the splash.
    const RECT picture = ClientRectOf(::GetDlgItem(splash, 30000));
    EXPECT_EQ(picture.right - picture.left, ZEDTEST_SPLASH_WIDTH);
    EXPECT_EQ(picture.bottom - picture.top, ZEDTEST_SPLASH_HEIGHT);
    // The indicators where their dialog units put them.
    const RECT bar = zedtest::DialogUnits(splash, 33, 104, 33 + 145, 104 + 8);
    const RECT actual = ClientRectOf(::GetDlgItem(splash, 30002));
    EXPECT_EQ(actual.left, bar.left);
    EXPECT_EQ(actual.top, bar.top);
    EXPECT_EQ(actual.right, bar.right);
}

TEST_F(Splash, TheIndicatorsFollowEachCall) {
    ASSERT_EQ(Show(1), 1);
    HWND splash = FindSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_NE(::GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    HWND percent = ::GetDlgItem(splash, 30001), bar = ::GetDlgItem(splash, 30002);

    EXPECT_NE(SplashLoaderSetPercent(42), 0);
    EXPECT_EQ(WindowText(percent), "42 %");
    SplashLoaderSetPercent(-3);
    EXPECT_EQ(WindowText(percent), "-3 %");

    // The old step (the bar's default of 10) comes back; the range is low ... low word of high.
    EXPECT_EQ(SplashLoaderSetRangeProgress(5, 0x70064, 7), 10);
    PBRANGE range{};
    ::SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 5);
    EXPECT_EQ(range.iHigh, 100);
    const struct { int position; int before, after; } steps[] = {
        {50, 5, 50}, {-1, 50, 57}, {-7, 57, 64}, {90, 64, 90}, {-1, 90, 97},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(SplashLoaderSetPosProgress(s.position), s.before) << s.position;
        EXPECT_EQ(::SendMessageA(bar, PBM_GETPOS, 0, 0), s.after) << s.position;
    }

    EXPECT_EQ(SplashLoaderDisablePercent(0), 1);   // was visible
    EXPECT_FALSE(::IsWindowVisible(percent));
    EXPECT_EQ(SplashLoaderDisablePercent(SW_SHOW), 0);   // was hidden
    EXPECT_TRUE(::IsWindowVisible(percent));
    SplashLoaderDisableProgress(0);
    EXPECT_FALSE(::IsWindowVisible(bar));

    EXPECT_NE(SplashLoaderSetSizePercent(10, 20, 60, 16), 0);
    const RECT moved = ClientRectOf(percent);
    EXPECT_EQ(moved.left, 10);
    EXPECT_EQ(moved.top, 20);
    EXPECT_EQ(moved.right, 70);
    EXPECT_EQ(moved.bottom, 36);
    EXPECT_NE(SplashLoaderSetSizeProgress(5, 250, 410, 12), 0);
    EXPECT_EQ(ClientRectOf(bar).right, 415);
}

TEST_F(Splash, CreateSplashHidesBothIndicators) {
    ASSERT_EQ(CreateSplash(::GetModuleHandleA(nullptr), nullptr, ZEDTEST_SPLASH_PICTURE, 0, 0), 1);
    HWND splash = FindSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(::IsWindowVisible(splash));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(splash, 30001)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(splash, 30002)));
}

TEST_F(Splash, ASecondSplashReplacesTheRecordedOne) {
    ASSERT_EQ(Show(), 1);
    HWND first = FindSplash();
    ASSERT_EQ(Show(), 1);
    HWND second = nullptr;
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "#32770", "SplashLoader")) != nullptr;) {
        if (w != first) second = w;
    }
    ASSERT_NE(second, nullptr);
    SplashLoaderSetPercent(9);
    EXPECT_EQ(WindowText(::GetDlgItem(second, 30001)), "9 %");
    EXPECT_EQ(WindowText(::GetDlgItem(first, 30001)), " 0 % ");
    EXPECT_EQ(DestroySplash(nullptr), 1);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_TRUE(::IsWindow(first));
    ::DestroyWindow(first);
}

TEST_F(Splash, AMissingPictureStillShowsTheSplash) {
    // The picture control stays empty; the dialog itself is made.
    EXPECT_EQ(CreateSplashLoader(::GetModuleHandleA(nullptr), nullptr, 1, 0, 0), 1);
    EXPECT_NE(FindSplash(), nullptr);
}

TEST_F(Splash, DestroyWaitsOutTheMinimumTime) {
    // No minimum: gone at once, and the focus goes where it was asked to.
    HWND focus = ::CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_EQ(Show(0, 0), 1);
    DWORD t0 = ::GetTickCount();
    EXPECT_EQ(DestroySplash(focus), 1);
    EXPECT_LT(::GetTickCount() - t0, 150u);
    EXPECT_EQ(FindSplash(), nullptr);
    EXPECT_EQ(::GetFocus(), focus);
    ::DestroyWindow(focus);

    // Three seconds, destroyed after one: about two more, polled every 200 ms (Wine's tick
    // counter may lag a few milliseconds behind the sleep).
    t0 = ::GetTickCount();
    ASSERT_EQ(Show(0, 3), 1);
    ::Sleep(1000);
    const DWORD t1 = ::GetTickCount();
    EXPECT_EQ(DestroySplash(nullptr), 1);
    const DWORD waited = ::GetTickCount() - t1;
    const DWORD total = ::GetTickCount() - t0;
    EXPECT_GE(total, 3000u - 20u);
    EXPECT_LE(total, 3000u + 200u + 100u);
    EXPECT_GE(waited, 1900u);
    EXPECT_EQ(FindSplash(), nullptr);
}

TEST(SplashScreenshot, PictureWithPercentageAndProgress) {
    ASSERT_EQ(Show(), 1);
    SplashLoaderSetRangeProgress(0, 100, 1);
    SplashLoaderSetPosProgress(42);
    SplashLoaderSetPercent(42);
    HWND splash = FindSplash();
    ASSERT_NE(splash, nullptr);
    ::RedrawWindow(splash, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    zedtest::PumpFor(300);
    const std::string shot = zedtest::ScreenshotFile("splash");
    if (!shot.empty()) {
        RECT area{};
        ::GetWindowRect(splash, &area);
        EXPECT_TRUE(zedtest::SaveScreenArea(area, shot));
    }
    EXPECT_EQ(DestroySplash(nullptr), 1);
}

}  // namespace
