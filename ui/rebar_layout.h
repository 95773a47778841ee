// The rebar as plain data: its window style, where it docks, and the band records it receives.
#ifndef ZEDLL_UI_REBAR_LAYOUT_H
#define ZEDLL_UI_REBAR_LAYOUT_H

#include <cstdint>

namespace zed {

/// Alignments as the rebar stores them; bit 0 set means a vertical rebar.
enum class RebarEdge : int { Top = 0, Left = 1, Bottom = 2, Right = 3 };

constexpr uint32_t kRebarExStyle = 0x80;      // WS_EX_TOOLWINDOW
constexpr uint32_t kRebarStyle = 0x56000648;  // child, visible, clips, band borders, variable height
constexpr uint32_t kRebarVertical = 0x80;     // CCS_VERT

/// The rebar's window style for an alignment (any value; only bit 0 matters).
uint32_t RebarStyle(int alignment);

/// Where WMSize moves the rebar.
struct DockPlacement {
    int x, y, width, height;
};

/// The rebar's place in a client area of client_w x client_h when its window is rebar_w x
/// rebar_h: left and right take the full height at the rebar's width, bottom the full width at
/// its height; top (and any unknown alignment) gets the whole client, the rebar fitting its
/// height to its bands itself.
DockPlacement DockRebar(int alignment, int client_w, int client_h, int rebar_w, int rebar_h);

// REBARBANDINFOA mask and style bits (the Windows glue checks them against the SDK).
constexpr uint32_t kBandMaskStyle = 0x01, kBandMaskText = 0x04, kBandMaskChild = 0x10,
                   kBandMaskChildSize = 0x20, kBandMaskSize = 0x40, kBandMaskBackground = 0x80;
constexpr uint32_t kBandBreak = 0x01, kBandChildEdge = 0x04, kBandFixedBitmap = 0x20,
                   kBandVariableHeight = 0x40, kBandGripperAlways = 0x80;
constexpr int kBandWidth = 250;
constexpr int kToolbarBandMinWidth = 250;

enum class BandKind { Toolbar, Menu };

/// The fields of one band record that AddToolbar and AddMenu fill, besides text, child and
/// bitmap themselves.
struct BandPlan {
    uint32_t mask;
    uint32_t style;
    int min_child_width;
    int min_child_height;
    int width;
};

/// The band for a child whose buttons are button_height high. A set new_line flag breaks the
/// row for this band only: it is cleared here.
BandPlan PlanBand(BandKind kind, bool has_text, bool has_bitmap, bool& new_line,
                  int button_height);

/// RBN_CHILDSIZE: a band's height is all its buttons stacked. Negative inputs count as 0.
int StackedButtonsHeight(int button_count, int button_height);

}  // namespace zed

#endif
