// Internal helpers of the date and time classes, shared with the tests.
#ifndef ZEDLL_SETTINGS_DATE_TIME_INTERNAL_H
#define ZEDLL_SETTINGS_DATE_TIME_INTERNAL_H

#include <cstdint>

#include "zedll/date_time.h"

namespace zed {

/// The local date and time of day of `time` as a universal file time (100-ns ticks since 1601).
bool TimeToTicks(const CLS_Time& time, uint64_t* ticks);

namespace date_time_testing {
/// Fixes the zone the classes use instead of the platform's, until UsePlatformZone.
void FixZone(long bias_seconds, long daylight_bias);
void UsePlatformZone();
}  // namespace date_time_testing

}  // namespace zed

#endif
