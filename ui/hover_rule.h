// When the hover watcher of an open drop-down looks at a button and when it switches to it.
#ifndef ZEDLL_UI_HOVER_RULE_H
#define ZEDLL_UI_HOVER_RULE_H

#include "zedll/platform_types.h"

namespace zed {

struct CursorAt {
    LONG x;
    LONG y;
};

/// A move of this many pixels on one axis makes the watcher look at the button under the cursor.
constexpr LONG kHoverLookDistance = 6;
/// After the settle wait the cursor may have moved at most this many pixels on each axis.
constexpr LONG kHoverSettleDistance = 10;
constexpr unsigned kHoverSettleMs = 50;
/// Between the switch request and the posted notification, so the old popup can see it.
constexpr unsigned kHoverSwitchDelayMs = 15;
/// How often the watcher reads the cursor while nothing happens.
constexpr unsigned kHoverPollMs = 10;

/// True when the cursor lies strictly inside the toolbar's screen rectangle and differs from the
/// last looked-at position by kHoverLookDistance or more on one axis.
bool HoverWorthLooking(CursorAt cursor, CursorAt last, const RECT& toolbar);

/// True when the cursor, read again after the settle wait, stayed within kHoverSettleDistance
/// of where it was on both axes.
bool HoverSettled(CursorAt before, CursorAt after);

}  // namespace zed

#endif
