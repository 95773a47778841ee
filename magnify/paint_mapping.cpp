// The paint mapping: window extent the client size in work-area units, origin the visible
// rectangle's bottom-left, viewport the client with y reversed.
#include "magnify/paint_mapping.h"

#include <cmath>

namespace zed::magnify {

PaintMapping PaintMappingOf(const MagKUK& view, DWORD d) {
    if (d == 0) d = 1;
    const RECT client = view.GetClientRect();
    const LRECT visible = view.GetVisible();
    const long cw = client.right - client.left, ch = client.bottom - client.top;
    const double per_unit = view.GetScale() / d;
    return PaintMapping{static_cast<long>(std::trunc(per_unit * cw)), static_cast<long>(std::trunc(per_unit * ch)),
                        static_cast<long>(visible.left / static_cast<long>(d)),
                        static_cast<long>(visible.bottom / static_cast<long>(d)),
                        cw, -ch, 0, ch};
}

}  // namespace zed::magnify
