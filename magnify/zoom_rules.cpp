// The magnifier's zoom rules.
#include "magnify/zoom_rules.h"

#include <algorithm>
#include <cstdint>

#include "geometry/float_math.h"

namespace zed::magnify {

int MaxZoom(const LRECT& work_area) {
    const int64_t m = std::min<int64_t>(static_cast<int64_t>(work_area.right) - work_area.left,
                                        static_cast<int64_t>(work_area.top) - work_area.bottom);
    if (m >= 10001) return static_cast<int>(m / 100);
    if (m > 1000) return static_cast<int>(m / 10);
    return static_cast<int>(m);
}

LRECT ZoomRectangle(const LRECT& w, int n) {
    return LRECT{w.left / n, w.top / n, w.right / n, w.bottom / n};
}

bool MayZoomUp(int zoom, const LRECT& work_area) {
    return static_cast<int64_t>(zoom) + 1 <= static_cast<int64_t>(work_area.right / 4) * 3;
}

bool MayZoomDown(int zoom) { return static_cast<int64_t>(zoom) - 1 >= 0; }

int SyncFactor(int other_width, int other_height, int view_width, int view_height) {
    if (view_width <= 0 || view_height <= 0) return 0;
    const float fx = static_cast<float>(other_width) / static_cast<float>(view_width);
    const float fy = static_cast<float>(other_height) / static_cast<float>(view_height);
    return TruncToInt32(std::min(fx, fy));
}

}  // namespace zed::magnify
