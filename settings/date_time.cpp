// CLS_Date and CLS_Time: day numbers, second counts, the fixed daylight-saving table, texts.
#include <cstdio>
#include <cstring>
#include <string>

#include "os/time_zone.h"
#include "settings/date_time_internal.h"
#include "zedll/date_time.h"

namespace {

constexpr int64_t kReferenceDay = 2415386;  // 1 January 1901
constexpr int64_t kLastDay = 2465095;       // 5 February 2037, 49709 days later
constexpr int64_t kDay = 86400;

const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char* const kMonthInput[12] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",
                                     "MAY",     "JUNE",     "JULY",      "AUGUST",
                                     "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const int kFirstDayOfMonth[12] = {1, 32, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

int g_date_format = 1;
int g_time_format = 1;
int g_date_in_front = 6;

// The zone as last read from the platform (or fixed by a test).
long g_bias = 0;      // seconds: universal = local standard + bias
long g_daylight = 0;  // the zone's daylight bias in minutes; 0: no daylight saving
bool g_zone_fixed = false;

void RefreshZone() {
    if (g_zone_fixed) return;
    long bias = 0, daylight = 0;
    if (zed::os::QueryTimeZone(&bias, &daylight) != 0) {
        bias = 0;
        daylight = 0;
    }
    g_bias = bias;
    g_daylight = daylight;
}

bool LeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// ACM Algorithm 199, calendar date to day number; 0 when it does not fit.
DWORD DayNumberOf(int64_t d, int64_t m, int64_t y) {
    if (m > 2) {
        m -= 3;
    } else {
        m += 9;
        y -= 1;
    }
    const int64_t c = y / 100;
    const int64_t ya = y - 100 * c;
    const int64_t j = (146097 * c) / 4 + (1461 * ya) / 4 + (153 * m + 2) / 5 + d + 1721119;
    return (j <= 0 || j > 0xFFFFFFFFll) ? 0 : static_cast<DWORD>(j);
}

struct Ymd {
    int64_t y, m, d;
};

// ACM Algorithm 199, day number to calendar date.
Ymd CalendarOf(DWORD day_number) {
    int64_t j = static_cast<int64_t>(day_number) - 1721119;
    int64_t y = (4 * j - 1) / 146097;
    j = 4 * j - 1 - 146097 * y;
    int64_t d = j / 4;
    j = (4 * d + 3) / 1461;
    d = 4 * d + 3 - 1461 * j;
    d = (d + 4) / 4;
    int64_t m = (5 * d - 3) / 153;
    d = 5 * d - 3 - 153 * m;
    d = (d + 5) / 5;
    y = 100 * y + j;
    if (m < 10) {
        m += 3;
    } else {
        m -= 9;
        y += 1;
    }
    return {y, m, d};
}

DWORD ValidDate(int64_t day, int64_t month, int64_t year) {
    if (year < 0) return 0;
    if (year <= 99) year += 1900;
    if (month < 1 || month > 12) return 0;
    const int64_t length = kDaysInMonth[month - 1] + ((month == 2 && LeapYear(year)) ? 1 : 0);
    if (day < 1 || day > length) return 0;
    return DayNumberOf(day, month, year);
}

int64_t StartOfDay(DWORD day_number) { return (static_cast<int64_t>(day_number) - kReferenceDay) * kDay; }

// The count at `hours` o'clock local standard time on a day.
int64_t StandardTime(DWORD day_number, int hours) {
    return StartOfDay(day_number) + g_bias + hours * 3600;
}

CLS_Date LastSundayOnOrBefore(int day, int month, int64_t year) {
    return CLS_Date::FromDayNumber(DayNumberOf(day, month, year)).Previous(7);
}

zed::os::CivilTime CivilOf(const CLS_Date& date, int hour, int minute, int second) {
    zed::os::CivilTime c;
    c.year = date.Year();
    c.month = date.Month();
    c.day = date.Day();
    c.hour = hour;
    c.minute = minute;
    c.second = second;
    return c;
}

// Local date and time of day to the count (0 when out of range or in the skipped hour).
DWORD MakeTime(const CLS_Date& date, int hour, int minute, int second) {
    RefreshZone();
    const DWORD day_number = date.GetDayNumber();
    if (day_number < kReferenceDay || day_number > kLastDay) return 0;
    int64_t t = StartOfDay(day_number) + (static_cast<int64_t>(hour) - 1) * 3600 +
                static_cast<int64_t>(minute) * 60 + second;
    if (t != 0) t += g_bias;
    auto dst = [](int64_t v) { return v >= 0 && v <= 0xFFFFFFFFll && CLS_Time::IsDST(static_cast<DWORD>(v)); };
    if (!dst(t)) {
        t += 3600;
        if (dst(t)) return 0;  // the local time lies in the hour the clocks skip
    } else {
        t += 3600;
        if (dst(t)) t -= 3600;
    }
    return (t <= 0 || t > 0xFFFFFFFFll) ? 0 : static_cast<DWORD>(t);
}

const char* MonthName(int month) { return (month >= 1 && month <= 12) ? kMonthNames[month - 1] : ""; }

}  // namespace

namespace zed::date_time_testing {
void FixZone(long bias_seconds, long daylight_bias) {
    g_zone_fixed = true;
    g_bias = bias_seconds;
    g_daylight = daylight_bias;
}
void UsePlatformZone() {
    g_zone_fixed = false;
    RefreshZone();
}
}  // namespace zed::date_time_testing

// --- CLS_Date -----------------------------------------------------------------------------------

CLS_Date::CLS_Date() : day_number_(0) {
    zed::os::CivilTime now;
    zed::os::LocalNow(&now);
    day_number_ = ValidDate(now.day, now.month, now.year);
}

CLS_Date::CLS_Date(int day, int month, int year) : day_number_(ValidDate(day, month, year)) {}

CLS_Date::CLS_Date(int day, const char* month_name, int year) : day_number_(0) {
    int month = 0;
    const std::size_t n = month_name != nullptr ? std::strlen(month_name) : 0;
    for (int m = 0; m < 12 && n != 0 && month == 0; ++m) {
        bool same = n <= std::strlen(kMonthInput[m]);
        for (std::size_t i = 0; same && i < n; ++i) {
            char c = month_name[i];
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
            same = c == kMonthInput[m][i];
        }
        if (same) month = m + 1;
    }
    day_number_ = ValidDate(day, month, year);
}

CLS_Date::CLS_Date(int day_of_year, int year) : day_number_(0) {
    int64_t j;
    if (year == 0) {
        j = kReferenceDay + day_of_year;
    } else {
        if (year < 0) return;
        const int64_t y = year <= 99 ? year + 1900 : year;
        j = static_cast<int64_t>(DayNumberOf(31, 12, y - 1)) + day_of_year;
    }
    day_number_ = (j <= 0 || j > 0xFFFFFFFFll) ? 0 : static_cast<DWORD>(j);
}

#if defined(_WIN32)
CLS_Date::CLS_Date(const SYSTEMTIME& st) : day_number_(ValidDate(st.wDay, st.wMonth, st.wYear)) {}
CLS_Date::CLS_Date(const SYSTEMTIME* st)
    : day_number_(st != nullptr ? ValidDate(st->wDay, st->wMonth, st->wYear) : 0) {}
#else
CLS_Date::CLS_Date(const struct tm& tm)
    : day_number_(ValidDate(tm.tm_mday, tm.tm_mon + 1, static_cast<int64_t>(tm.tm_year) + 1900)) {}
CLS_Date::CLS_Date(const struct tm* tm)
    : day_number_(tm != nullptr ? ValidDate(tm->tm_mday, tm->tm_mon + 1,
                                            static_cast<int64_t>(tm->tm_year) + 1900)
                                : 0) {}
#endif

CLS_Date::CLS_Date(const CLS_Time& time) : day_number_(0) {
    if (!time.IsValid()) return;
    const int64_t local = time.LocalSeconds();
    const int64_t j = (local >= 0 ? local / kDay : -((-local + kDay - 1) / kDay)) + kReferenceDay;
    day_number_ = (j <= 0 || j > 0xFFFFFFFFll) ? 0 : static_cast<DWORD>(j);
}

CLS_Date CLS_Date::FromDayNumber(DWORD day_number) {
    CLS_Date d(0, 0, 0);
    d.day_number_ = day_number;
    return d;
}

int CLS_Date::Day() const { return day_number_ ? static_cast<int>(CalendarOf(day_number_).d) : 0; }
int CLS_Date::Month() const { return day_number_ ? static_cast<int>(CalendarOf(day_number_).m) : 0; }
int CLS_Date::Year() const { return day_number_ ? static_cast<int>(CalendarOf(day_number_).y) : 0; }

int CLS_Date::DayOfWeek() const {
    if (!day_number_) return 0;
    return static_cast<int>(((static_cast<int64_t>(day_number_) + 1) % 7 + 6) % 7 + 1);
}

int CLS_Date::DayOfYear() const {
    if (!day_number_) return 0;
    const Ymd c = CalendarOf(day_number_);
    return FirstDayOfMonth() + static_cast<int>(c.d) - 1;
}

int CLS_Date::FirstDayOfMonth() const {
    if (!day_number_) return 0;
    const Ymd c = CalendarOf(day_number_);
    return kFirstDayOfMonth[c.m - 1] + ((c.m > 2 && LeapYear(c.y)) ? 1 : 0);
}

int CLS_Date::WeekOfYear() const {
    if (!day_number_) return 0;
    // The week belongs to the year of its Thursday.
    const CLS_Date thursday = FromDayNumber(day_number_ - static_cast<DWORD>(DayOfWeek()) + 4);
    return (thursday.DayOfYear() - 1) / 7 + 1;
}

int CLS_Date::WeekOfMonth() const {
    if (!day_number_) return 0;
    const CLS_Date first = FromDayNumber(day_number_ - static_cast<DWORD>(Day()) + 1);
    return (Day() - 1 + first.DayOfWeek() - 1) / 7 + 1;
}

int CLS_Date::DaysInYear(int year) { return LeapYear(year) ? 366 : 365; }
int CLS_Date::IsLeapYear() const { return day_number_ && LeapYear(CalendarOf(day_number_).y) ? 1 : 0; }
int CLS_Date::IsLeapYear(int year) { return LeapYear(year) ? 1 : 0; }

CLS_Date CLS_Date::Previous(int weekday) const {
    if (!day_number_ || weekday < 1 || weekday > 7) return FromDayNumber(0);
    const int back = (DayOfWeek() - weekday + 7) % 7;
    return FromDayNumber(day_number_ - static_cast<DWORD>(back));
}

CLS_String CLS_Date::Print() const {
    if (!day_number_) return CLS_String("");
    const Ymd c = CalendarOf(day_number_);
    const unsigned d = static_cast<unsigned>(c.d), m = static_cast<unsigned>(c.m);
    const unsigned y = static_cast<unsigned>(c.y);
    char text[160] = "";
    switch (g_date_format) {
        case 1: std::snprintf(text, sizeof text, "%s %u, %u", MonthName(c.m), d, y); break;
        case 2: std::snprintf(text, sizeof text, "%2u-%.3s-%.2u", d, MonthName(c.m), y % 100); break;
        case 3: std::snprintf(text, sizeof text, "%u/%u/%u", m, d, y % 100); break;
        case 4: std::snprintf(text, sizeof text, "%u/%u/%u", d, m, y % 100); break;
        case 5: std::snprintf(text, sizeof text, "%u %s %u", d, MonthName(c.m), y); break;
        case 6:
        case 7: {
            std::string out;
            if (zed::os::FormatLocaleDate(CivilOf(*this, 0, 0, 0), g_date_format == 7, &out) == 0) {
                return CLS_String(out.c_str());
            }
            break;
        }
        default: break;
    }
    return CLS_String(text);
}

int CLS_Date::SetPrintOption(int format) {
    const int previous = g_date_format;
    g_date_format = format;
    return previous;
}

// --- CLS_Time -----------------------------------------------------------------------------------

namespace {

DWORD FromTicks(uint64_t ticks) {
    zed::os::CivilTime local;
    if (zed::os::FileTimeToLocal(ticks, &local) != 0) zed::os::LocalNow(&local);
    return MakeTime(CLS_Date(local.day, local.month, local.year), local.hour, local.minute,
                    local.second);
}

// 100-ns ticks between 1601-01-01 and 1970-01-01.
constexpr uint64_t kTicks1970 = 116444736000000000ull;

}  // namespace

CLS_Time::CLS_Time() : seconds_(0) {
    zed::os::CivilTime now;
    zed::os::LocalNow(&now);
    seconds_ = MakeTime(CLS_Date(now.day, now.month, now.year), now.hour, now.minute, now.second);
}

CLS_Time::CLS_Time(const CLS_Date& date, int hour, int minute, int second)
    : seconds_(MakeTime(date, hour, minute, second)) {}

CLS_Time::CLS_Time(int hour, int minute, int second)
    : seconds_(MakeTime(CLS_Date(), hour, minute, second)) {}

#if defined(_WIN32)
CLS_Time::CLS_Time(const FILETIME& file_time)
    : seconds_(FromTicks((static_cast<uint64_t>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime)) {}

int CLS_Time::ToFileTime(FILETIME* file_time) const {
    uint64_t ticks = 0;
    if (file_time == nullptr || !zed::TimeToTicks(*this, &ticks)) return 0;
    file_time->dwLowDateTime = static_cast<DWORD>(ticks);
    file_time->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return 1;
}
#else
CLS_Time::CLS_Time(const struct timespec& file_time)
    : seconds_(FromTicks(kTicks1970 + static_cast<uint64_t>(static_cast<int64_t>(file_time.tv_sec) * 10000000))) {}

CLS_Time CLS_Time::FromTimeT(time_t t) {
    struct timespec ts {};
    ts.tv_sec = t;
    return CLS_Time(ts);
}

int CLS_Time::ToFileTime(struct timespec* file_time) const {
    uint64_t ticks = 0;
    if (file_time == nullptr || !zed::TimeToTicks(*this, &ticks) || ticks < kTicks1970) return 0;
    file_time->tv_sec = static_cast<time_t>((ticks - kTicks1970) / 10000000);
    file_time->tv_nsec = 0;
    return 1;
}

int CLS_Time::ToTimeT(time_t* t) const {
    struct timespec ts {};
    if (t == nullptr || !ToFileTime(&ts)) return 0;
    *t = ts.tv_sec;
    return 1;
}
#endif

bool zed::TimeToTicks(const CLS_Time& time, uint64_t* ticks) {
    if (!time.IsValid()) return false;
    const CLS_Date date(time);
    if (!date.IsValid()) return false;
    return zed::os::LocalToFileTime(CivilOf(date, time.Hour(), time.Minute(), time.Second()),
                                          ticks) == 0;
}

CLS_Time CLS_Time::FromCount(DWORD seconds) {
    CLS_Time t(CLS_Date::FromDayNumber(0), 0, 0, 0);
    t.seconds_ = seconds;
    return t;
}

int64_t CLS_Time::LocalSeconds() const {
    return static_cast<int64_t>(seconds_) - g_bias + (IsDST(seconds_) ? 3600 : 0);
}

namespace {
int64_t FloorMod(int64_t a, int64_t b) { return ((a % b) + b) % b; }
}  // namespace

int CLS_Time::Hour() const { return static_cast<int>(FloorMod(LocalSeconds(), kDay) / 3600); }
int CLS_Time::Minute() const { return static_cast<int>(FloorMod(LocalSeconds(), 3600) / 60); }
int CLS_Time::Second() const { return static_cast<int>(seconds_ % 60); }
int CLS_Time::HourGMT() const { return static_cast<int>((seconds_ % kDay) / 3600); }
int CLS_Time::MinuteGMT() const { return static_cast<int>((seconds_ % 3600) / 60); }

int CLS_Time::IsDST(DWORD t) {
    if (g_daylight == 0) return 0;
    const CLS_Date day = CLS_Date::FromDayNumber(static_cast<DWORD>(kReferenceDay + t / kDay));
    const int64_t year = day.Year();
    CLS_Date begin = CLS_Date::FromDayNumber(0);
    if (year == 1974) {
        begin = CLS_Date(6, 1, 1974);
    } else if (year == 1975) {
        begin = CLS_Date(23, 2, 1975);
    } else if (year >= 1987) {
        begin = LastSundayOnOrBefore(31, 3, year) + 7;
    } else {
        begin = LastSundayOnOrBefore(30, 4, year);
    }
    const CLS_Date end = LastSundayOnOrBefore(31, 10, year);
    const int64_t v = t;
    return (StandardTime(begin.GetDayNumber(), 2) <= v && v < StandardTime(end.GetDayNumber(), 1)) ? 1 : 0;
}

CLS_String CLS_Time::Print() const {
    if (!seconds_) return CLS_String("");
    CLS_String out("");
    if (g_date_in_front != 0) {
        CLS_Date::SetPrintOption(g_date_in_front);
        out += CLS_Date(*this).Print();
        out += " ";
    }
    unsigned hour = static_cast<unsigned>(Hour());
    const unsigned minute = static_cast<unsigned>(Minute());
    const unsigned second = static_cast<unsigned>(Second());
    const char* suffix = "";
    if (g_time_format == 0 || g_time_format == 1) {
        suffix = hour < 12 ? "am" : "pm";
        if (hour > 12) hour -= 12;
    }
    char text[64] = "";
    if (g_time_format == 1 || g_time_format == 3) {
        std::snprintf(text, sizeof text, "%u:%02u:%02u %s", hour, minute, second, suffix);
    } else if (g_time_format == 0 || g_time_format == 2) {
        std::snprintf(text, sizeof text, "%u:%02u %s", hour, minute, suffix);
    }
    out += text;
    return out;
}

int CLS_Time::SetPrintOption(int format) {
    const int previous = g_time_format;
    g_time_format = format;
    return previous;
}

int CLS_Time::SetPrintDate(int format) {
    const int previous = g_date_in_front;
    g_date_in_front = format;
    return previous;
}
