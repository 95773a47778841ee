// Time zone and local time on POSIX: the C library's zone data (TZ, /etc/localtime).
#include <time.h>

#include <cstdio>

#include "os/time_zone.h"
#include "os/windows_error.h"

namespace zed::os {
namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kEpochSeconds1601 = 11644473600;  // 1601-01-01 to 1970-01-01

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

void FromTm(const struct tm& tm, CivilTime* out) {
    out->year = tm.tm_year + 1900;
    out->month = tm.tm_mon + 1;
    out->day = tm.tm_mday;
    out->hour = tm.tm_hour;
    out->minute = tm.tm_min;
    out->second = tm.tm_sec;
}

}  // namespace

DWORD QueryTimeZone(long* bias_seconds, long* daylight_bias) {
    tzset();
    const time_t now = time(nullptr);
    struct tm today {};
    if (localtime_r(&now, &today) == nullptr) return 1;
    // The offsets in January and July of this year tell standard and daylight time apart on
    // either hemisphere.
    struct tm probe[2] {};
    long offset[2];
    int dst[2];
    for (int i = 0; i < 2; ++i) {
        struct tm t {};
        t.tm_year = today.tm_year;
        t.tm_mon = i == 0 ? 0 : 6;
        t.tm_mday = 1;
        t.tm_hour = 12;
        t.tm_isdst = -1;
        const time_t at = mktime(&t);
        if (at == static_cast<time_t>(-1) || localtime_r(&at, &probe[i]) == nullptr) return 1;
        offset[i] = probe[i].tm_gmtoff;
        dst[i] = probe[i].tm_isdst > 0;
    }
    const int standard = dst[0] ? 1 : 0;
    *bias_seconds = -offset[standard];
    *daylight_bias = (dst[0] != dst[1]) ? -(offset[1 - standard] - offset[standard]) / 60 : 0;
    return 0;
}

void LocalNow(CivilTime* out) {
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm {};
    localtime_r(&ts.tv_sec, &tm);
    FromTm(tm, out);
    out->millisecond = static_cast<int>(ts.tv_nsec / 1000000);
}

DWORD FileTimeToLocal(uint64_t ticks, CivilTime* out) {
    const time_t seconds = static_cast<time_t>(static_cast<int64_t>(ticks / kTicksPerSecond) - kEpochSeconds1601);
    struct tm tm {};
    if (localtime_r(&seconds, &tm) == nullptr) return win_error::kInvalidParameter;
    FromTm(tm, out);
    out->millisecond = static_cast<int>((ticks % kTicksPerSecond) / 10000);
    return 0;
}

DWORD LocalToFileTime(const CivilTime& local, uint64_t* ticks) {
    struct tm tm {};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    const time_t at = mktime(&tm);
    if (at == static_cast<time_t>(-1) || at < -kEpochSeconds1601) return win_error::kInvalidParameter;
    *ticks = static_cast<uint64_t>(at + kEpochSeconds1601) * kTicksPerSecond +
             static_cast<uint64_t>(local.millisecond) * 10000;
    return 0;
}

DWORD FormatLocaleDate(const CivilTime& date, bool long_form, std::string* out) {
    if (date.month < 1 || date.month > 12) return win_error::kInvalidParameter;
    char text[96];
    if (long_form) {
        struct tm tm {};
        tm.tm_year = date.year - 1900;
        tm.tm_mon = date.month - 1;
        tm.tm_mday = date.day;
        tm.tm_hour = 12;
        tm.tm_isdst = -1;
        if (timegm(&tm) == static_cast<time_t>(-1)) return win_error::kInvalidParameter;  // fills in the weekday
        std::snprintf(text, sizeof text, "%s, %s %d, %d", kWeekdays[tm.tm_wday],
                      kMonths[date.month - 1], date.day, date.year);
    } else {
        std::snprintf(text, sizeof text, "%d/%d/%d", date.month, date.day, date.year);
    }
    *out = text;
    return 0;
}

}  // namespace zed::os
