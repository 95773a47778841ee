// Tests of CLS_Date and CLS_Time against an independent proleptic Gregorian calendar.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

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
    int64_t previous = 0;
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
                ASSERT_EQ(date.Day(), d);
                ASSERT_EQ(date.Month(), m);
                ASSERT_EQ(date.Year(), y);
                // 1970-01-01 was a Thursday (4).
                const int64_t since = DaysFromCivil(y, m, d);
                ASSERT_EQ(date.DayOfWeek(), static_cast<int>(((since + 3) % 7 + 7) % 7) + 1);
                ASSERT_EQ(date.DayOfYear(), doy);
                ASSERT_EQ(CLS_Date(doy, y).GetDayNumber(), date.GetDayNumber());
                ASSERT_EQ(date.IsLeapYear(), RefLeap(y) ? 1 : 0);
                if (previous != 0) {
                    ASSERT_EQ(expected, previous + 1);
                }
                previous = expected;
            }
            ASSERT_EQ(CLS_Date(RefMonthLength(y, m) + 1, m, y).GetDayNumber(), 0u);
        }
    }
}

TEST_F(DateTimeTest, DateEdgeCases) {
    EXPECT_EQ(CLS_Date(1, 1, 1901).GetDayNumber(), 2415386u);
    EXPECT_EQ(CLS_Date(1, 1, 1970).GetDayNumber(), 2440588u);
    EXPECT_EQ(CLS_Date(1, 1, 1970).DayOfWeek(), 4);
    EXPECT_EQ(CLS_Date(29, 2, 1900).GetDayNumber(), 0u);
    EXPECT_NE(CLS_Date(29, 2, 2000).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(5, 6, 15).Year(), 1915);
    EXPECT_EQ(CLS_Date(1, 13, 2000).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(0, 1, 2000).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(1, 1, -1).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(3, "feb", 2001), CLS_Date(3, 2, 2001));
    EXPECT_EQ(CLS_Date(3, "SEPTEMBER", 2001), CLS_Date(3, 9, 2001));
    EXPECT_EQ(CLS_Date(3, "Ju", 2001), CLS_Date(3, 6, 2001));  // the first name that matches
    EXPECT_EQ(CLS_Date(3, "Jux", 2001).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(3, "", 2001).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(3, static_cast<const char*>(nullptr), 2001).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(1, 0).GetDayNumber(), 2415387u);
    EXPECT_EQ(CLS_Date(32, 2020), CLS_Date(1, 2, 2020));
    EXPECT_EQ(CLS_Date(15, 3, 2000).FirstDayOfMonth(), 61);
    EXPECT_EQ(CLS_Date(15, 3, 2001).FirstDayOfMonth(), 60);

    const CLS_Date wed(6, 1, 2021);  // a Wednesday
    EXPECT_EQ(wed.DayOfWeek(), 3);
    EXPECT_EQ(wed.Previous(1), CLS_Date(4, 1, 2021));
    EXPECT_EQ(wed.Previous(3), wed);
    EXPECT_EQ(wed.Previous(7), CLS_Date(3, 1, 2021));
    EXPECT_EQ(wed.Previous(8).GetDayNumber(), 0u);
    EXPECT_EQ(CLS_Date(1, 3, 2000) - CLS_Date(28, 2, 2000), 2);
    CLS_Date d(31, 12, 1999);
    ++d;
    EXPECT_EQ(d, CLS_Date(1, 1, 2000));
    d -= 366;
    EXPECT_EQ(d, CLS_Date(31, 12, 1998));
    EXPECT_TRUE(CLS_Date(1, 1, 2000) < CLS_Date(2, 1, 2000));

#if !defined(_WIN32)
    struct tm tm {};
    tm.tm_year = 126;
    tm.tm_mon = 11;
    tm.tm_mday = 5;
    EXPECT_EQ(CLS_Date(tm), CLS_Date(5, 12, 2026));
    EXPECT_EQ(CLS_Date(static_cast<const struct tm*>(nullptr)).GetDayNumber(), 0u);
#endif
}

TEST_F(DateTimeTest, IsoWeeksAndWeeksOfMonth) {
    EXPECT_EQ(CLS_Date(1, 1, 2021).WeekOfYear(), 53);  // a Friday: week 53 of 2020
    EXPECT_EQ(CLS_Date(4, 1, 2021).WeekOfYear(), 1);
    EXPECT_EQ(CLS_Date(31, 12, 2024).WeekOfYear(), 1);  // a Tuesday: week 1 of 2025
    EXPECT_EQ(CLS_Date(28, 12, 2026).WeekOfYear(), 53);
    EXPECT_EQ(CLS_Date(1, 12, 2026).WeekOfMonth(), 1);  // a Tuesday
    EXPECT_EQ(CLS_Date(6, 12, 2026).WeekOfMonth(), 1);  // the Sunday after
    EXPECT_EQ(CLS_Date(7, 12, 2026).WeekOfMonth(), 2);
    EXPECT_EQ(CLS_Date(31, 12, 2026).WeekOfMonth(), 5);
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
    EXPECT_EQ(CLS_Date::SetPrintOption(2), 1);
    EXPECT_STREQ(d.Print().GetBuffer(), " 5-Jan-26");
    CLS_Date::SetPrintOption(3);
    EXPECT_STREQ(CLS_Date(5, 1, 2009).Print().GetBuffer(), "1/5/9");
    CLS_Date::SetPrintOption(4);
    EXPECT_STREQ(d.Print().GetBuffer(), "5/1/26");
    CLS_Date::SetPrintOption(5);
    EXPECT_STREQ(d.Print().GetBuffer(), "5 January 2026");
    CLS_Date::SetPrintOption(9);
    EXPECT_STREQ(d.Print().GetBuffer(), "");
    CLS_Date::SetPrintOption(6);
    EXPECT_GT(d.Print().GetLength(), 0u);
    CLS_Date::SetPrintOption(7);
    EXPECT_GT(d.Print().GetLength(), 0u);
#if !defined(_WIN32)
    CLS_Date::SetPrintOption(6);
    EXPECT_STREQ(d.Print().GetBuffer(), "1/5/2026");
    CLS_Date::SetPrintOption(7);
    EXPECT_STREQ(d.Print().GetBuffer(), "Monday, January 5, 2026");
#endif
    CLS_Date::SetPrintOption(1);
    EXPECT_STREQ(CLS_Date::FromDayNumber(0).Print().GetBuffer(), "");
}

TEST_F(DateTimeTest, TimesWithoutDaylightSaving) {
    const CLS_Date d(5, 12, 2026);
    const CLS_Time t(d, 13, 5, 7);
    EXPECT_EQ(t.GetCount(), static_cast<DWORD>((d.GetDayNumber() - 2415386) * 86400u + 13 * 3600 + 5 * 60 + 7));
    EXPECT_EQ(t.Hour(), 13);
    EXPECT_EQ(t.Minute(), 5);
    EXPECT_EQ(t.Second(), 7);
    EXPECT_EQ(CLS_Date(t), d);
    CLS_Date::SetPrintOption(6);
    const std::string date_text = d.Print().GetBuffer();
    CLS_Date::SetPrintOption(1);
    EXPECT_EQ(std::string(t.Print().GetBuffer()), date_text + " 1:05:07 pm");
    EXPECT_EQ(CLS_Date::SetPrintOption(1), 6);  // the date in front became the date format

    CLS_Time::SetPrintDate(0);
    EXPECT_STREQ(t.Print().GetBuffer(), "1:05:07 pm");
    CLS_Time::SetPrintOption(0);
    EXPECT_STREQ(t.Print().GetBuffer(), "1:05 pm");
    CLS_Time::SetPrintOption(3);
    EXPECT_STREQ(t.Print().GetBuffer(), "13:05:07 ");
    CLS_Time::SetPrintOption(2);
    EXPECT_STREQ(CLS_Time(d, 0, 9, 0).Print().GetBuffer(), "0:09 ");
    CLS_Time::SetPrintOption(1);
    EXPECT_STREQ(CLS_Time(d, 0, 9, 0).Print().GetBuffer(), "0:09:00 am");
    EXPECT_STREQ(CLS_Time(d, 12, 0, 0).Print().GetBuffer(), "12:00:00 pm");
    CLS_Time::SetPrintOption(8);
    EXPECT_STREQ(t.Print().GetBuffer(), "");
    CLS_Time::SetPrintDate(5);
    EXPECT_STREQ(t.Print().GetBuffer(), "5 December 2026 ");

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
    // 4 July 1990, 12:00 daylight time is 16:00 universal time.
    const CLS_Time summer(CLS_Date(4, 7, 1990), 12, 0, 0);
    EXPECT_EQ(summer.HourGMT(), 16);
    EXPECT_EQ(summer.Hour(), 12);
    EXPECT_EQ(CLS_Time::IsDST(summer.GetCount()), 1);
    const CLS_Time winter(CLS_Date(4, 1, 1990), 12, 0, 0);
    EXPECT_EQ(winter.HourGMT(), 17);
    EXPECT_EQ(winter.Hour(), 12);
    EXPECT_EQ(CLS_Time::IsDST(winter.GetCount()), 0);
    // 1 April 1990 (the Sunday after the last Sunday of March): 2:30 does not exist.
    EXPECT_EQ(CLS_Time(CLS_Date(1, 4, 1990), 2, 30, 0).GetCount(), 0u);
    const CLS_Time after(CLS_Date(1, 4, 1990), 3, 30, 0);
    EXPECT_EQ(after.HourGMT(), 7);
    EXPECT_EQ(after.Hour(), 3);
    EXPECT_EQ(CLS_Time(CLS_Date(1, 4, 1990), 1, 30, 0).HourGMT(), 6);
    // Before 1987 the change came on the last Sunday of April (1986: 27 April).
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(CLS_Date(26, 4, 1986), 12, 0, 0).GetCount()), 0);
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(CLS_Date(28, 4, 1986), 12, 0, 0).GetCount()), 1);
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(CLS_Date(7, 1, 1974), 12, 0, 0).GetCount()), 1);
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(CLS_Date(24, 2, 1975), 12, 0, 0).GetCount()), 1);
    // End: 1:00 standard time on the last Sunday of October (28 October 1990).
    const CLS_Date end(28, 10, 1990);
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(end, 0, 30, 0).GetCount()), 1);
    EXPECT_EQ(CLS_Time(end, 1, 30, 0).HourGMT(), 6);  // the repeated hour reads as standard time
    EXPECT_EQ(CLS_Time::IsDST(CLS_Time(end, 3, 0, 0).GetCount()), 0);
    // Every whole hour of a year outside the skipped one round-trips through Hour().
    for (CLS_Date day(1, 1, 1995); day < CLS_Date(1, 1, 1996); ++day) {
        for (int h = 0; h < 24; h += 5) {
            const CLS_Time t(day, h, 17, 9);
            if (t.GetCount() == 0) continue;
            ASSERT_EQ(t.Hour(), h) << day.Month() << "/" << day.Day();
            ASSERT_EQ(t.Minute(), 17);
            ASSERT_EQ(CLS_Date(t), day);
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
    setenv("TZ", "UTC0", 1);
    tzset();
    zed::date_time_testing::UsePlatformZone();
    for (time_t s : {time_t{1}, time_t{86400 * 365}, time_t{1700000000}, time_t{2000000000}}) {
        const CLS_Time t = CLS_Time::FromTimeT(s);
        ASSERT_NE(t.GetCount(), 0u);
        EXPECT_EQ(t.GetCount(), static_cast<DWORD>(s + 2177452800));  // 1901 to 1970: 25202 days
        time_t back = 0;
        ASSERT_EQ(t.ToTimeT(&back), 1);
        EXPECT_EQ(back, s);
    }
    timespec sentinel{123, 456};
    EXPECT_EQ(CLS_Time::FromCount(0).ToFileTime(&sentinel), 0);
    EXPECT_EQ(sentinel.tv_sec, 123);
    // A zone with daylight saving: the platform and the table agree in 1990 (US rules then).
    setenv("TZ", "EST5EDT,M4.1.0,M10.5.0", 1);
    tzset();
    zed::date_time_testing::UsePlatformZone();
    for (time_t s : {time_t{631152000 + 86400 * 10}, time_t{631152000 + 86400 * 190 + 3600 * 13}}) {
        const CLS_Time t = CLS_Time::FromTimeT(s);
        time_t back = 0;
        ASSERT_EQ(t.ToTimeT(&back), 1);
        EXPECT_EQ(back, s);
        struct tm local {};
        localtime_r(&s, &local);
        EXPECT_EQ(t.Hour(), local.tm_hour);
    }
    if (old_tz) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
#endif
}

}  // namespace
