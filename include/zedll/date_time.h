// CLS_Date (a day number) and CLS_Time (seconds since 1901), with their text forms.
#ifndef ZEDLL_DATE_TIME_H
#define ZEDLL_DATE_TIME_H

#include <cstdint>
#include <ctime>

#include "zedll/cls_string.h"
#include "zedll/export.h"
#include "zedll/platform_types.h"

class CLS_Time;

/// A calendar date as its Julian day number (ACM Algorithm 199; 1 January 1901 is 2415386); 0 is
/// no valid date. Four bytes, copied by value: | day number u32 |.
///
/// Years 0 to 99 given to the constructors mean 1900 to 1999; negative years, months outside 1-12
/// and days outside the month give date 0. Every operation on date 0 answers 0 (or an empty text).
/// The output options are process-wide and not locked.
class ZEDLL_API CLS_Date {
public:
    /// Today (the platform's local date).
    CLS_Date();
    CLS_Date(int day, int month, int year);
    /// month_name is matched case-insensitively by its leading characters ("feb", "FEBRUARY").
    CLS_Date(int day, const char* month_name, int year);
    /// Year 0: day 2415386 + day_of_year; else 31 December of year - 1, plus day_of_year.
    CLS_Date(int day_of_year, int year);
#if defined(_WIN32)
    CLS_Date(const SYSTEMTIME& st);
    CLS_Date(const SYSTEMTIME* st);
#else
    /// The date fields of a broken-down time (tm_year + 1900, tm_mon + 1, tm_mday).
    CLS_Date(const struct tm& tm);
    CLS_Date(const struct tm* tm);
#endif
    /// The local date of a time: its local seconds / 86400 + 2415386; 0 for time 0.
    CLS_Date(const CLS_Time& time);

    static CLS_Date FromDayNumber(DWORD day_number);
    DWORD GetDayNumber() const { return day_number_; }
    int IsValid() const { return day_number_ != 0; }

    int Day() const;
    int Month() const;
    int Year() const;
    /// 1 Monday to 7 Sunday.
    int DayOfWeek() const;
    int DayOfYear() const;
    /// Day of the year of the first day of this date's month.
    int FirstDayOfMonth() const;
    /// ISO 8601 week (1-53): weeks begin on Monday, week 1 holds the year's first Thursday, so
    /// 1 January may lie in week 52 or 53 of the year before.
    int WeekOfYear() const;
    /// Week within the month (1-6): weeks begin on Monday, week 1 holds the 1st of the month.
    int WeekOfMonth() const;
    static int DaysInYear(int year);
    int IsLeapYear() const;
    static int IsLeapYear(int year);
    /// The latest date on or before this one falling on weekday (1 Monday to 7 Sunday); date 0
    /// for any other weekday.
    CLS_Date Previous(int weekday) const;

    bool operator==(const CLS_Date& o) const { return day_number_ == o.day_number_; }
    bool operator!=(const CLS_Date& o) const { return day_number_ != o.day_number_; }
    bool operator<(const CLS_Date& o) const { return day_number_ < o.day_number_; }
    bool operator<=(const CLS_Date& o) const { return day_number_ <= o.day_number_; }
    bool operator>(const CLS_Date& o) const { return day_number_ > o.day_number_; }
    bool operator>=(const CLS_Date& o) const { return day_number_ >= o.day_number_; }
    /// Days from o to this date.
    long operator-(const CLS_Date& o) const {
        return static_cast<long>(static_cast<int64_t>(day_number_) - o.day_number_);
    }
    CLS_Date operator+(long days) const { return FromDayNumber(day_number_ + static_cast<DWORD>(days)); }
    CLS_Date operator-(long days) const { return FromDayNumber(day_number_ - static_cast<DWORD>(days)); }
    CLS_Date& operator+=(long days) { return *this = *this + days; }
    CLS_Date& operator-=(long days) { return *this = *this - days; }
    CLS_Date& operator++() { return *this += 1; }
    CLS_Date& operator--() { return *this -= 1; }

    /// Text in the current date format:
    ///   1 "%s %u, %u" (January 5, 2026)   2 "%2u-%.3s-%.2u" ( 5-Jan-26)   3 "%u/%u/%u" m/d/yy
    ///   4 "%u/%u/%u" d/m/yy               5 "%u %s %u" (5 January 2026)
    ///   6, 7 the platform's short and long date text; any other format, or date 0: empty.
    CLS_String Print() const;
    /// Sets the process-wide date format (default 1); returns the previous one.
    static int SetPrintOption(int format);

private:
    DWORD day_number_;
};

/// A point in time as seconds since 1901-01-01 00:00 universal time; 0 is no valid time. Four
/// bytes, copied by value: | seconds u32 |.
///
/// Local time uses the process-wide zone bias and daylight-saving flag, refreshed from the
/// platform each time a time is made (bias 0 and no daylight saving when that fails). Daylight
/// saving follows one fixed table whatever the zone's own rules (IsDST). Dates before 1 January
/// 1901 or after 5 February 2037 (day 2465095) give time 0.
class ZEDLL_API CLS_Time {
public:
    /// Now, from the platform's local date and time.
    CLS_Time();
    /// Local time of day on a date; 0 for date 0 or a time in the hour the clocks skip.
    CLS_Time(const CLS_Date& date, int hour, int minute, int second);
    /// The same on today's date.
    CLS_Time(int hour, int minute, int second);
#if defined(_WIN32)
    /// From a file time (universal), through local time; the current time when that fails.
    CLS_Time(const FILETIME& file_time);
    /// The local date and time of day (milliseconds 0) back to a universal file time. 1 on
    /// success, 0 (file_time untouched) for time 0 or a failed conversion.
    int ToFileTime(FILETIME* file_time) const;
#else
    /// From a file time: a universal struct timespec (nanoseconds ignored) or time_t.
    CLS_Time(const struct timespec& file_time);
    static CLS_Time FromTimeT(time_t t);
    /// 1 on success, 0 (output untouched) for time 0 or a failed conversion.
    int ToFileTime(struct timespec* file_time) const;
    int ToTimeT(time_t* t) const;
#endif

    static CLS_Time FromCount(DWORD seconds);
    DWORD GetCount() const { return seconds_; }
    int IsValid() const { return seconds_ != 0; }

    /// count - bias, plus 3600 when IsDST(count).
    int64_t LocalSeconds() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    int HourGMT() const;
    int MinuteGMT() const;
    /// Daylight saving at count t: begins at 2:00 standard time on the first Sunday after the
    /// last Sunday of March (from 1987; 6 January in 1974, 23 February in 1975, the last Sunday of
    /// April otherwise) and ends at 1:00 standard time on the last Sunday of October. Always
    /// false when the zone observes no daylight saving.
    static int IsDST(DWORD t);

    bool operator==(const CLS_Time& o) const { return seconds_ == o.seconds_; }
    bool operator!=(const CLS_Time& o) const { return seconds_ != o.seconds_; }
    bool operator<(const CLS_Time& o) const { return seconds_ < o.seconds_; }
    bool operator<=(const CLS_Time& o) const { return seconds_ <= o.seconds_; }
    bool operator>(const CLS_Time& o) const { return seconds_ > o.seconds_; }
    bool operator>=(const CLS_Time& o) const { return seconds_ >= o.seconds_; }
    /// Seconds from o to this time.
    long operator-(const CLS_Time& o) const {
        return static_cast<long>(static_cast<int64_t>(seconds_) - o.seconds_);
    }
    CLS_Time operator+(long s) const { return FromCount(seconds_ + static_cast<DWORD>(s)); }
    CLS_Time operator-(long s) const { return FromCount(seconds_ - static_cast<DWORD>(s)); }
    CLS_Time& operator+=(long s) { return *this = *this + s; }
    CLS_Time& operator-=(long s) { return *this = *this - s; }
    static CLS_Time Max(const CLS_Time& a, const CLS_Time& b) { return a < b ? b : a; }
    static CLS_Time Min(const CLS_Time& a, const CLS_Time& b) { return a < b ? a : b; }

    /// The date in the date-in-front format (default 6; 0 none; it also becomes the current date
    /// format) and a space, then the time of day: formats 0 and 1 on a 12-hour clock with "am" or
    /// "pm", 2 and 3 on a 24-hour clock with an empty suffix; 1 and 3 "%u:%02u:%02u %s", 0 and 2
    /// "%u:%02u %s"; other formats no time text. Time 0 prints as an empty text.
    CLS_String Print() const;
    /// Set the time format (default 1) or the date format in front (default 6); return the
    /// previous value.
    static int SetPrintOption(int format);
    static int SetPrintDate(int format);

private:
    DWORD seconds_;
};

#endif
