// Measuring: the caption text, the arrowhead, the notification records.
#include "magnify/measure.h"

#include <cmath>
#include <cstdio>

#include "platform/language.h"
#include "zedll/units.h"

namespace zed::magnify {

std::string DistanceCaption(long ax, long ay, long bx, long by, float unit_scale) {
    const double dx = static_cast<double>(ax) - bx, dy = static_cast<double>(ay) - by;
    const float distance = static_cast<float>(std::hypot(dx, dy)) * unit_scale;
    const char* label = LangGetString(TextId::Distance);
    char caption[2500];
    std::snprintf(caption, sizeof caption, "%s %.4f %s", label != nullptr ? label : "", distance,
                  LengthUnit(2).ShortName(2));
    return caption;
}

Arrowhead ArrowheadOf(Pixel start, Pixel end) {
    const double dx = static_cast<double>(end.x) - start.x, dy = static_cast<double>(end.y) - start.y;
    const auto back = [](double v) { return static_cast<int>(std::trunc(v)); };
    return Arrowhead{{end.x - back(0.25 * dx + 0.07 * dy), end.y - back(0.25 * dy - 0.07 * dx)},
                     end,
                     {end.x - back(0.25 * dx - 0.07 * dy), end.y - back(0.25 * dy + 0.07 * dx)}};
}

bool FillNotification(int kind, long value, const MagnifyNS* record, DWORD_PTR extra, LONG_PTR user_data, MagnifyNS* out) {
    *out = MagnifyNS{};
    if (kind == 4) {
        if (record == nullptr) return false;
        *out = *record;
        out->userData = user_data;
        return true;
    }
    out->code = static_cast<DWORD>(kind);
    out->value = value;
    out->userData = user_data;
    if (kind == 2) out->extra = extra;
    return true;
}

}  // namespace zed::magnify
