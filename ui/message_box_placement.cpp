// The placement flag groups: the first group with a bit set decides; an axis without its bit
// keeps the position the dialog manager gave.
#include "ui/message_box_placement.h"

#include <cstdint>

namespace zed::ui {
namespace {

constexpr unsigned kWindowBits = kCentreOnWindowX | kCentreOnWindowY;
constexpr unsigned kPointBits = kCentreOnPointX | kCentreOnPointY;
constexpr unsigned kEdgeBits = kEdgeAtPointX | kEdgeAtPointY;
constexpr unsigned kSpanBits = kCentreInSpanX | kCentreInSpanY;

// A span of the window [low, high] cut by s: from s on for s > 0, up to |s| for s < 0.
int CentreInSpan(int64_t low, int64_t high, int s, int size) {
    if (s > 0) return CentreIn(s, high, size);
    if (s < 0) return CentreIn(low, -static_cast<int64_t>(s), size);
    return CentreIn(low, high, size);
}

}  // namespace

int CentreIn(int64_t low, int64_t high, int size) {
    return static_cast<int>((high - low - size) / 2 + low);
}

Reference ReferenceFor(unsigned flags) {
    if (flags & kPlaceOnDesktop) return Reference::kNothing;
    if (flags & kWindowBits) return Reference::kWindow;
    if (flags & (kPointBits | kEdgeBits)) return Reference::kPoint;
    if (flags & kSpanBits) return Reference::kSpan;
    return Reference::kWindow;
}

bool NeedsReference(unsigned flags) {
    return (flags & kPlaceOnDesktop) == 0 && ((flags & 0xFF) != 0 || (flags & kSpanBits) != 0);
}

Placement PlaceMessageBox(unsigned flags, const RECT& box, const PlacementFacts& facts) {
    const int width = static_cast<int>(box.right - box.left), height = static_cast<int>(box.bottom - box.top);
    Placement p{true, static_cast<int>(box.left), static_cast<int>(box.top)};
    const RECT& w = facts.window;
    if (flags & kPlaceOnDesktop) {
        p.left = CentreIn(0, facts.desktop_width, width);
        p.top = CentreIn(0, facts.desktop_height, height);
    } else if (flags & kWindowBits) {
        if (!facts.window_known) return p;
        if (flags & kCentreOnWindowX) p.left = CentreIn(w.left, w.right, width);
        if (flags & kCentreOnWindowY) p.top = CentreIn(w.top, w.bottom, height);
    } else if (flags & kPointBits) {
        if (flags & kCentreOnPointX) p.left = facts.x - width / 2;
        if (flags & kCentreOnPointY) p.top = facts.y - height / 2;
    } else if (flags & kEdgeBits) {
        if (flags & kEdgeAtPointX) p.left = facts.x;
        if (flags & kEdgeAtPointY) p.top = facts.y;
    } else if (flags & kSpanBits) {
        if (!facts.window_known) return p;
        if (flags & kCentreInSpanX) p.left = CentreInSpan(w.left, w.right, facts.x, width);
        if (flags & kCentreInSpanY) p.top = CentreInSpan(w.top, w.bottom, facts.y, height);
    } else {
        // The box's own position is taken as relative to the reference window.
        if (!facts.window_known) return Placement{false, p.left, p.top};
        p.left += static_cast<int>(w.left);
        p.top += static_cast<int>(w.top);
    }
    return p;
}

}  // namespace zed::ui
