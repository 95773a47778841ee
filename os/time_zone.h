// Time zone, local time and the locale's date text, for the date and time classes.
#ifndef ZEDLL_OS_TIME_ZONE_H
#define ZEDLL_OS_TIME_ZONE_H

#include <cstdint>
#include <string>

#include "zedll/platform_types.h"

namespace zed::os {

/// A calendar date and time of day (month 1-12, day 1-31).
struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

/// The zone's standard bias in seconds (universal time = local standard time + bias) and its
/// daylight bias in minutes (0 when the zone has no daylight-saving date). 0 on success.
/// Windows: GetTimeZoneInformation. POSIX: the C library's zone data for the current year.
DWORD QueryTimeZone(long* bias_seconds, long* daylight_bias);

/// The local date and time now (GetLocalTime; localtime_r).
void LocalNow(CivilTime* out);

/// File times count 100-nanosecond ticks since 1601-01-01 00:00 universal time.
/// Universal file time to local calendar time; 0 on success.
DWORD FileTimeToLocal(uint64_t ticks, CivilTime* out);
/// Local calendar time to a universal file time; 0 on success.
DWORD LocalToFileTime(const CivilTime& local, uint64_t* ticks);

/// The user's locale's short or long date text (GetDateFormatA with the user default locale). On
/// POSIX the C locale's forms: "12/5/2026" and "Saturday, December 5, 2026".
DWORD FormatLocaleDate(const CivilTime& date, bool long_form, std::string* out);

}  // namespace zed::os

#endif
