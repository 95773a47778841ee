// Where the message box goes on the screen: the placement flag groups, tried in order, and the
// span rule.
#ifndef ZEDLL_UI_MESSAGE_BOX_PLACEMENT_H
#define ZEDLL_UI_MESSAGE_BOX_PLACEMENT_H

#include <cstdint>

#include "zedll/platform_types.h"

namespace zed::ui {

constexpr unsigned kPlaceOnDesktop = 0x10;
constexpr unsigned kCentreOnWindowX = 0x01, kCentreOnWindowY = 0x02;
constexpr unsigned kCentreOnPointX = 0x04, kCentreOnPointY = 0x08;
constexpr unsigned kEdgeAtPointX = 0x20, kEdgeAtPointY = 0x40;
constexpr unsigned kCentreInSpanX = 0x100, kCentreInSpanY = 0x200;

/// What the position reference points at for `flags`.
enum class Reference { kNothing, kWindow, kPoint, kSpan };
Reference ReferenceFor(unsigned flags);

/// Whether `flags` ask for a placement that cannot be made without a reference.
bool NeedsReference(unsigned flags);

/// What the box procedure could read when the box was created.
struct PlacementFacts {
    int desktop_width, desktop_height;
    bool window_known;    // the reference window's rectangle (also the span's window) was read
    RECT window;
    int x, y;             // the reference point, or the span record's x and y
};

/// The box's new top-left corner; `placed` is false when the box must not be shown (no flag
/// group and the reference window's rectangle could not be read).
struct Placement {
    bool placed;
    int left, top;
};
Placement PlaceMessageBox(unsigned flags, const RECT& box, const PlacementFacts& facts);

/// The start of a length `size` centred in [low, high] (halves truncated toward zero).
int CentreIn(int64_t low, int64_t high, int size);

}  // namespace zed::ui

#endif
