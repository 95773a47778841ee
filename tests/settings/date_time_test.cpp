// Tests of CLS_Date and CLS_Time against an independent proleptic Gregorian calendar.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "settings/date_time_internal.h"
#include "zedll/date_time.h"

namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar (era-based, written independently of
// the library's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool RefLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int RefMonthLength(int y, int m) {
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return len[m - 1] + (m == 2 && RefLeap(y));
}

class DateTimeTest : public ::testing::Test {
protected:
    void SetUp() override { zed::date_time_testing::FixZone(0, 0); }
    void TearDown() override {
        zed::date_time_testing::UsePlatformZone();
        CLS_Date::SetPrintOption(1);
        CLS_Time::SetPrintOption(1);
        CLS_Time::SetPrintDate(6);
    }
};

TEST_F(DateTimeTest, EveryDayFrom1901To2037MatchesTheReference) {
    for (int y = 1901; y <= 2037; ++y) {
        ASSERT_EQ(CLS_Date::IsLeapYear(y), RefLeap(y) ? 1 : 0) << y;
        ASSERT_EQ(CLS_Date::DaysInYear(y), RefLeap(y) ? 366 : 365);
        int doy = 0;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= RefMonthLength(y, m); ++d) {
                ++doy;
                const CLS_Date date(d, m, y);
                const int64_t expected = DaysFromCivil(y, m, d) + 2440588;
                ASSERT_EQ(date.GetDayNumber(), static_cast<DWORD>(expected)) << y << "-" << m << "-" << d;
                ASSERT_TRUE(date.Day() == d && date.Month() == m && date.Year() == y);
                // 1970-01-01 was a Thursday (4).
                const int64_t since = DaysFromCivil(y, m, d);
                ASSERT_EQ(date.DayOfWeek(), static_cast<int>(((since + 3) % 7 + 7) % 7) + 1);
                ASSERT_EQ(date.DayOfYear(), doy);
                ASSERT_EQ(CLS_Date(doy, y).GetDayNumber(), date.GetDayNumber());
            }
            ASSERT_EQ(CLS_Date(RefMonthLength(y, m) + 1, m, y).GetDayNumber(), 0u);
        }
    }
}

TEST_F(DateTimeTest, DateEdgeCases) {
    EXPECT_EQ(CLS_Date(1, 0).GetDayNumber(), 2415387u);
    EXPECT_EQ(CLS_Date(5, 6, 15).Year(), 1915);
    EXPECT_EQ(CLS_Date(15, 3, 2000).FirstDayOfMonth(), 61);
    EXPECT_EQ(CLS_Date(15, 3, 2001).FirstDayOfMonth(), 60);
    const CLS_Date invalid[] = {CLS_Date(29, 2, 1900), CLS_Date(1, 13, 2000), CLS_Date(0, 1, 2000),
                                CLS_Date(1, 1, -1), CLS_Date(3, "Jux", 2001), CLS_Date(3, "", 2001),
                                CLS_Date(3, static_cast<const char*>(nullptr), 2001), CLS_Date(6, 1, 2021).Previous(8)};
    for (const CLS_Date& d : invalid) EXPECT_EQ(d.GetDayNumber(), 0u);
    const CLS_Date wed(6, 1, 2021);  // a Wednesday
    CLS_Date d(31, 12, 1999);
    const std::pair<CLS_Date, CLS_Date> same[] = {
        {CLS_Date(3, "feb", 2001), CLS_Date(3, 2, 2001)},
        {CLS_Date(3, "SEPTEMBER", 2001), CLS_Date(3, 9, 2001)},
        {CLS_Date(3, "Ju", 2001), CLS_Date(3, 6, 2001)},  // the first name that matches
        {wed.Previous(1), CLS_Date(4, 1, 2021)},
        {wed.Previous(3), wed},
        {wed.Previous(7), CLS_Date(3, 1, 2021)},
        {++d, CLS_Date(1, 1, 2000)},
        {d -= 366, CLS_Date(31, 12, 1998)},
    };
    for (const auto& p : same) EXPECT_EQ(p.first, p.second) << p.second.Print().GetBuffer();
    EXPECT_EQ(CLS_Date(1, 3, 2000) - CLS_Date(28, 2, 2000), 2);
    EXPECT_TRUE(CLS_Date(1, 1, 2000) < CLS_Date(2, 1, 2000));
#if !defined(_WIN32)
    struct tm tm {};
    tm.tm_year = 126, tm.tm_mon = 11, tm.tm_mday = 5;
    EXPECT_EQ(CLS_Date(tm), CLS_Date(5, 12, 2026));
    EXPECT_EQ(CLS_Date(static_cast<const struct tm*>(nullptr)).GetDayNumber(), 0u);
#endif
}

TEST_F(DateTimeTest, IsoWeeksAndWeeksOfMonth) {
    const struct {
        CLS_Date date;
        int week_of_year, week_of_month;
    } cases[] = {
        {CLS_Date(1, 1, 2021), 53, 1},  // a Friday: week 53 of 2020
        {CLS_Date(31, 12, 2024), 1, 6},  // a Tuesday: week 1 of 2025
        {CLS_Date(1, 12, 2026), 49, 1}, {CLS_Date(6, 12, 2026), 49, 1},  // a Tuesday and the Sunday after
        {CLS_Date(7, 12, 2026), 50, 2}, {CLS_Date(28, 12, 2026), 53, 5}, {CLS_Date(31, 12, 2026), 53, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.date.WeekOfYear(), c.week_of_year) << c.date.Print().GetBuffer();
        EXPECT_EQ(c.date.WeekOfMonth(), c.week_of_month) << c.date.Print().GetBuffer();
    }
    // Property: the ISO week of a Monday is one more than that of the Monday before, except
    // across the year's first week.
    CLS_Date monday = CLS_Date(1, 1, 1990).Previous(1);
    for (int i = 0; i < 2500; ++i) {
        const CLS_Date next = monday + 7;
        const int w = monday.WeekOfYear(), v = next.WeekOfYear();
        ASSERT_TRUE(v == w + 1 || (v == 1 && (w == 52 || w == 53))) << next.Year() << " " << v;
        ASSERT_EQ(next.WeekOfYear(), (next + 6).WeekOfYear());  // the Sunday shares the week
        monday = next;
    }
}

TEST_F(DateTimeTest, DatePrintFormats) {
    const CLS_Date d(5, 1, 2026);
    EXPECT_STREQ(d.Print().GetBuffer(), "January 5, 2026");
    EXPECT_EQ(CLS_Date::SetPrintOption(2), 1);  // the old option comes back
    const struct {
        int option;
        CLS_Date date;
        const char* text;  // null: platform formats, not empty
    } cases[] = {
        {2, d, " 5-Jan-26"}, {3, CLS_Date(5, 1, 2009), "1/5/9"}, {4, d, "5/1/26"}, {5, d, "5 January 2026"},
        {9, d, ""}, {1, CLS_Date::FromDayNumber(0), ""},
#if defined(_WIN32)
        {6, d, nullptr}, {7, d, nullptr}};
#else
        {6, d, "1/5/2026"}, {7, d, "Monday, January 5, 2026"}};
#endif
    for (const auto& c : cases) {
        CLS_Date::SetPrintOption(c.option);
        if (c.text) {
            EXPECT_STREQ(c.date.Print().GetBuffer(), c.text) << c.option;
        } else {
            EXPECT_GT(c.date.Print().GetLength(), 0u) << c.option;
        }
    }
}

TEST_F(DateTimeTest, TimesWithoutDaylightSaving) {
    const CLS_Date d(5, 12, 2026);
    const CLS_Time t(d, 13, 5, 7);
    EXPECT_TRUE(t.Hour() == 13 && t.Minute() == 5 && t.Second() == 7 && CLS_Date(t) == d);
    CLS_Date::SetPrintOption(6);
    const std::string date_text = d.Print().GetBuffer();
    CLS_Date::SetPrintOption(1);
    EXPECT_EQ(std::string(t.Print().GetBuffer()), date_text + " 1:05:07 pm");
    EXPECT_EQ(CLS_Date::SetPrintOption(1), 6);  // the date in front became the date format
    const CLS_Time t0009(d, 0, 9, 0), noon(d, 12, 0, 0);
    const struct {
        int date_option, option;
        const CLS_Time& time;
        const char* text;
    } cases[] = {{0, 1, t, "1:05:07 pm"}, {0, 0, t, "1:05 pm"}, {0, 3, t, "13:05:07 "}, {0, 2, t0009, "0:09 "},
                 {0, 1, t0009, "0:09:00 am"}, {0, 1, noon, "12:00:00 pm"}, {0, 8, t, ""}, {5, 8, t, "5 December 2026 "}};
    for (const auto& c : cases) {
        CLS_Time::SetPrintDate(c.date_option);
        CLS_Time::SetPrintOption(c.option);
        EXPECT_STREQ(c.time.Print().GetBuffer(), c.text) << c.date_option << " " << c.option;
    }
    // Counts run from 1901 to 6 February 2037 (the 32-bit limit); outside is 0.
    EXPECT_EQ(CLS_Time(CLS_Date::FromDayNumber(0), 1, 0, 0).GetCount(), 0u);
    EXPECT_EQ(CLS_Time(CLS_Date(31, 12, 1900), 12, 0, 0).GetCount(), 0u);
    EXPECT_NE(CLS_Time(CLS_Date(5, 2, 2037), 12, 0, 0).GetCount(), 0u);
    EXPECT_EQ(CLS_Time(CLS_Date(6, 2, 2037), 12, 0, 0).GetCount(), 0u);
    EXPECT_EQ(CLS_Time(d, 13, 0, 0) - CLS_Time(d, 12, 0, 0), 3600);
    EXPECT_EQ(CLS_Time::Max(t, t + 5), t + 5);
    EXPECT_EQ(CLS_Time::Min(t, t - 5), t - 5);
}

TEST_F(DateTimeTest, TimesWithDaylightSaving) {
    zed::date_time_testing::FixZone(5 * 3600, -60);  // five hours west, with daylight saving
    const CLS_Date end(28, 10, 1990);  // the last Sunday of October: ends at 1:00 standard time
    const struct {
        CLS_Time time;
        int hour_gmt, dst;  // -1: not checked
    } cases[] = {
        {CLS_Time(CLS_Date(4, 7, 1990), 12, 0, 0), 16, 1},
        {CLS_Time(CLS_Date(4, 1, 1990), 12, 0, 0), 17, 0},
        // 1 April 1990 (the Sunday after the last Sunday of March): 2:30 does not exist.
        {CLS_Time(CLS_Date(1, 4, 1990), 3, 30, 0), 7, -1},
        {CLS_Time(CLS_Date(1, 4, 1990), 1, 30, 0), 6, -1},
        // Before 1987 the change came on the last Sunday of April (1986: 27 April); 1974 and
        // 1975 kept daylight saving over the winter.
        {CLS_Time(CLS_Date(26, 4, 1986), 12, 0, 0), -1, 0},
        {CLS_Time(CLS_Date(28, 4, 1986), 12, 0, 0), -1, 1},
        {CLS_Time(CLS_Date(7, 1, 1974), 12, 0, 0), -1, 1},
        {CLS_Time(CLS_Date(24, 2, 1975), 12, 0, 0), -1, 1},
        {CLS_Time(end, 0, 30, 0), -1, 1},
        {CLS_Time(end, 1, 30, 0), 6, -1},  // the repeated hour reads as standard time
        {CLS_Time(end, 3, 0, 0), -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.hour_gmt < 0 || c.time.HourGMT() == c.hour_gmt) << c.time.GetCount();
        EXPECT_TRUE(c.dst < 0 || CLS_Time::IsDST(c.time.GetCount()) == c.dst) << c.time.GetCount();
    }
    EXPECT_EQ(CLS_Time(CLS_Date(1, 4, 1990), 2, 30, 0).GetCount(), 0u);
    // Every whole hour of a year outside the skipped one round-trips through Hour().
    for (CLS_Date day(1, 1, 1995); day < CLS_Date(1, 1, 1996); ++day) {
        for (int h = 0; h < 24; h += 5) {
            const CLS_Time t(day, h, 17, 9);
            if (t.GetCount() == 0) continue;
            ASSERT_TRUE(t.Hour() == h && t.Minute() == 17 && CLS_Date(t) == day) << day.Month() << "/" << day.Day();
        }
    }
}

TEST_F(DateTimeTest, FileTimesRoundTrip) {
#if defined(_WIN32)
    zed::date_time_testing::UsePlatformZone();
    // The platform's own zone rules and the fixed table agree only for zones without daylight.
    if (CLS_Time::IsDST(CLS_Time(CLS_Date(4, 7, 2000), 12, 0, 0).GetCount()) ||
        CLS_Time::IsDST(CLS_Time(CLS_Date(4, 1, 2000), 12, 0, 0).GetCount())) {
        GTEST_SKIP() << "zone with daylight saving";
    }
    FILETIME ft{};
    ft.dwLowDateTime = 0x8A4E0000u;  // some time in 2021
    ft.dwHighDateTime = 0x01D6F000u;
    const CLS_Time t(ft);
    ASSERT_NE(t.GetCount(), 0u);
    FILETIME back{};
    ASSERT_EQ(t.ToFileTime(&back), 1);
    const uint64_t a = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const uint64_t b = (static_cast<uint64_t>(back.dwHighDateTime) << 32) | back.dwLowDateTime;
    EXPECT_EQ(a / 10000000, b / 10000000);
#else
    const char* old_tz = std::getenv("TZ");
    const std::string saved = old_tz ? old_tz : "";
    // Round trips through time_t agree with the platform; in a zone with daylight saving only in
    // 1990, where the platform and the fixed table follow the same (US) rules.
    const std::pair<const char*, std::vector<time_t>> zones[] = {
        {"UTC0", {1, 86400 * 365, 1700000000, 2000000000}},
        {"EST5EDT,M4.1.0,M10.5.0", {631152000 + 86400 * 10, 631152000 + 86400 * 190 + 3600 * 13}}};
    for (const auto& zone : zones) {
        setenv("TZ", zone.first, 1);
        tzset();
        zed::date_time_testing::UsePlatformZone();
        for (time_t s : zone.second) {
            const CLS_Time t = CLS_Time::FromTimeT(s);
            const DWORD count = static_cast<DWORD>(s + 2177452800);  // 1901 to 1970: 25202 days
            EXPECT_TRUE(zone.first[0] != 'U' || t.GetCount() == count) << t.GetCount();
            time_t back = 0;
            ASSERT_EQ(t.ToTimeT(&back), 1);
            EXPECT_EQ(back, s);
            struct tm local {};
            localtime_r(&s, &local);
            EXPECT_EQ(t.Hour(), local.tm_hour) << zone.first << " " << s;
        }
    }
    timespec sentinel{123, 456};
    EXPECT_EQ(CLS_Time::FromCount(0).ToFileTime(&sentinel), 0);
    EXPECT_EQ(sentinel.tv_sec, 123);
    old_tz ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
#endif
}

}  // namespace
