// Time zone, local time and the locale's date text on Windows.
#include <windows.h>

#include "os/time_zone.h"
#include "os/win32/last_error.h"

namespace zed::os {
namespace {

void FromSystemTime(const SYSTEMTIME& st, CivilTime* out) {
    out->year = st.wYear;
    out->month = st.wMonth;
    out->day = st.wDay;
    out->hour = st.wHour;
    out->minute = st.wMinute;
    out->second = st.wSecond;
    out->millisecond = st.wMilliseconds;
}

bool ToSystemTime(const CivilTime& c, SYSTEMTIME* st) {
    if (c.year < 1601 || c.year > 30827 || c.month < 1 || c.month > 12) return false;
    *st = SYSTEMTIME{};
    st->wYear = static_cast<WORD>(c.year);
    st->wMonth = static_cast<WORD>(c.month);
    st->wDay = static_cast<WORD>(c.day);
    st->wHour = static_cast<WORD>(c.hour);
    st->wMinute = static_cast<WORD>(c.minute);
    st->wSecond = static_cast<WORD>(c.second);
    st->wMilliseconds = static_cast<WORD>(c.millisecond);
    return true;
}

}  // namespace

DWORD QueryTimeZone(long* bias_seconds, long* daylight_bias) {
    TIME_ZONE_INFORMATION tzi{};
    if (::GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID) return FailedCallError();
    *bias_seconds = tzi.Bias * 60L;
    *daylight_bias = tzi.DaylightDate.wMonth != 0 ? tzi.DaylightBias : 0;
    return 0;
}

void LocalNow(CivilTime* out) {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    FromSystemTime(st, out);
}

DWORD FileTimeToLocal(uint64_t ticks, CivilTime* out) {
    FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    if (!::FileTimeToLocalFileTime(&ft, &local) || !::FileTimeToSystemTime(&local, &st)) {
        return FailedCallError();
    }
    FromSystemTime(st, out);
    return 0;
}

DWORD LocalToFileTime(const CivilTime& local, uint64_t* ticks) {
    SYSTEMTIME st{};
    if (!ToSystemTime(local, &st)) return ERROR_INVALID_PARAMETER;
    FILETIME local_ft{}, ft{};
    if (!::SystemTimeToFileTime(&st, &local_ft) || !::LocalFileTimeToFileTime(&local_ft, &ft)) {
        return FailedCallError();
    }
    *ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return 0;
}

DWORD FormatLocaleDate(const CivilTime& date, bool long_form, std::string* out) {
    SYSTEMTIME st{};
    if (!ToSystemTime(date, &st)) return ERROR_INVALID_PARAMETER;
    char text[128];
    const int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, long_form ? DATE_LONGDATE : DATE_SHORTDATE,
                                   &st, nullptr, text, sizeof text);
    if (n <= 0) return FailedCallError();
    *out = text;
    return 0;
}

}  // namespace zed::os
