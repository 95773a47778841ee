// The hover watcher's two distance tests.
#include "ui/hover_rule.h"

namespace zed {
namespace {
// Wide enough for any two coordinates, so far-apart positions never overflow.
long long Distance(LONG a, LONG b) {
    const long long d = static_cast<long long>(a) - b;
    return d < 0 ? -d : d;
}
}  // namespace

bool HoverWorthLooking(CursorAt cursor, CursorAt last, const RECT& toolbar) {
    const bool inside = cursor.x > toolbar.left && cursor.x < toolbar.right &&
                        cursor.y > toolbar.top && cursor.y < toolbar.bottom;
    if (!inside) return false;
    return Distance(cursor.x, last.x) >= kHoverLookDistance ||
           Distance(cursor.y, last.y) >= kHoverLookDistance;
}

bool HoverSettled(CursorAt before, CursorAt after) {
    return Distance(before.x, after.x) <= kHoverSettleDistance &&
           Distance(before.y, after.y) <= kHoverSettleDistance;
}

}  // namespace zed
