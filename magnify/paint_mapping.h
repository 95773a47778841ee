// How the view maps a device context for the host's paint callback: work-area units divided by a
// divisor land on their pixels with the y axis up.
#ifndef ZEDLL_MAGNIFY_PAINT_MAPPING_H
#define ZEDLL_MAGNIFY_PAINT_MAPPING_H

#include "zedll/win32/magnify_view.h"

namespace zed::magnify {

/// The isotropic mapping's window and viewport extents and origins.
struct PaintMapping {
    long window_ext_x, window_ext_y;
    long window_org_x, window_org_y;
    long viewport_ext_x, viewport_ext_y;
    long viewport_org_x, viewport_org_y;
};

/// For the view's scale, visible rectangle and client rectangle, with divisor `d` (1 on every
/// system with 32-bit device coordinates).
PaintMapping PaintMappingOf(const MagKUK& view, DWORD d);

}  // namespace zed::magnify

#endif
