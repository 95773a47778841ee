// The magnifier's zoom rules: the largest factor a work area allows, the rectangle a factor
// shows, when the factor may step, and the factor that makes another window's view match.
#ifndef ZEDLL_MAGNIFY_ZOOM_RULES_H
#define ZEDLL_MAGNIFY_ZOOM_RULES_H

#include "zedll/win32/magnify_view.h"

namespace zed::magnify {

/// m = the smaller side of the work area: m / 100 from 10001 on, m / 10 above 1000, else m.
int MaxZoom(const LRECT& work_area);

/// The rectangle shown at factor n > 1: each side of the work area divided by n (truncated).
LRECT ZoomRectangle(const LRECT& work_area, int n);

/// Whether the factor may go one up (zoom + 1 at most (right / 4) x 3) or one down (not below 0).
bool MayZoomUp(int zoom, const LRECT& work_area);
bool MayZoomDown(int zoom);

/// trunc(min(other width / view width, other height / view height)) in single precision; 0 for
/// a view without area.
int SyncFactor(int other_width, int other_height, int view_width, int view_height);

}  // namespace zed::magnify

#endif
