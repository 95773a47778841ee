// Docking rectangles, the rebar's style and its band records.
#include "ui/rebar_layout.h"

namespace zed {

uint32_t RebarStyle(int alignment) {
    return kRebarStyle | ((alignment & 1) != 0 ? kRebarVertical : 0);
}

DockPlacement DockRebar(int alignment, int client_w, int client_h, int rebar_w, int rebar_h) {
    switch (static_cast<RebarEdge>(alignment)) {
        case RebarEdge::Left: return {0, 0, rebar_w, client_h};
        case RebarEdge::Bottom: return {0, client_h - rebar_h, client_w, rebar_h};
        case RebarEdge::Right: return {client_w - rebar_w, 0, rebar_w, client_h};
        default: return {0, 0, client_w, client_h};
    }
}

BandPlan PlanBand(BandKind kind, bool has_text, bool has_bitmap, bool& new_line,
                  int button_height) {
    BandPlan band{};
    band.mask = kBandMaskStyle | kBandMaskChild | kBandMaskChildSize | kBandMaskSize |
                (has_text ? kBandMaskText : 0) | (has_bitmap ? kBandMaskBackground : 0);
    band.style = kBandChildEdge | kBandFixedBitmap | kBandGripperAlways |
                 (kind == BandKind::Menu ? kBandVariableHeight : 0);
    if (new_line) band.style |= kBandBreak;
    new_line = false;
    band.min_child_width = kind == BandKind::Toolbar ? kToolbarBandMinWidth : 0;
    band.min_child_height = button_height;
    band.width = kBandWidth;
    return band;
}

int StackedButtonsHeight(int button_count, int button_height) {
    if (button_count <= 0 || button_height <= 0) return 0;
    const long long h = static_cast<long long>(button_count) * button_height;
    return h > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(h);
}

}  // namespace zed
