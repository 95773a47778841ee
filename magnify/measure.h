// Measuring in the magnifier: the states, the caption with the distance, the arrowhead and the
// cross-hair, and the notification records.
#ifndef ZEDLL_MAGNIFY_MEASURE_H
#define ZEDLL_MAGNIFY_MEASURE_H

#include <string>

#include "zedll/win32/magnify_view.h"

namespace zed::magnify {

enum class MeasureState { kIdle = 0, kArmed = 1, kTracking = 2 };

/// The caption while measuring: "Distance 5.0000 mm" for the work-area points a and b and the
/// millimetres per work-area unit.
std::string DistanceCaption(long ax, long ay, long bx, long by, float unit_scale);

/// The three points of the arrowhead at `end` of an arrow from `start` (view pixels): the barbs
/// reach back a quarter of the arrow and 7 % of it to each side.
struct Pixel {
    int x, y;
};
struct Arrowhead {
    Pixel barb1, tip, barb2;
};
Arrowhead ArrowheadOf(Pixel start, Pixel end);

/// The record sent to the host for a notification of `kind` with `value`: kind 4 copies `record`
/// (false without one) and puts in the user data; kind 2 carries `extra`; others code and value.
bool FillNotification(int kind, long value, const MagnifyNS* record, DWORD_PTR extra, LONG_PTR user_data,
                      MagnifyNS* out);

}  // namespace zed::magnify

#endif
