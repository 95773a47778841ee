// The view's drawing numbers: the paint mapping lands work-area points on their pixels, the marker
// figures, and the keys that scroll.
#include <gtest/gtest.h>

#include <random>

#include "magnify/marker_figure.h"
#include "magnify/paint_mapping.h"
#include "magnify/view_keys.h"
#include "zedll/win32/magnify_view.h"

namespace {

using namespace zed::magnify;

// Where the isotropic mapping puts work-area point (x, y): the device maps window to viewport
// linearly on both axes.
double MappedX(const PaintMapping& m, double x) {
    return (x - m.window_org_x) * m.viewport_ext_x / m.window_ext_x + m.viewport_org_x;
}
double MappedY(const PaintMapping& m, double y) {
    return (y - m.window_org_y) * m.viewport_ext_y / m.window_ext_y + m.viewport_org_y;
}

TEST(ViewDrawing, PaintMappingPutsTheVisibleRectangleOnTheClientWithYUp) {
    MagKUKUC view(nullptr, nullptr, 0);
    view.SetClientRect(0, 0, 400, 200, 0);
    view.SetWorld(0, 400000, 400000, 0, 0, 0, 0);   // scale 2000, visible (0, 400000, 800000, 0)
    const PaintMapping m = PaintMappingOf(view, 1);
    EXPECT_EQ(m.window_ext_x, 800000);
    EXPECT_EQ(m.window_ext_y, 400000);
    EXPECT_EQ(m.window_org_x, 0);
    EXPECT_EQ(m.window_org_y, 0);
    EXPECT_EQ(m.viewport_ext_x, 400);
    EXPECT_EQ(m.viewport_ext_y, -200);
    EXPECT_EQ(m.viewport_org_x, 0);
    EXPECT_EQ(m.viewport_org_y, 200);
    // The bottom-left corner of the visible part at the client's bottom-left, the top-right at
    // its top-right.
    EXPECT_DOUBLE_EQ(MappedX(m, 0), 0);
    EXPECT_DOUBLE_EQ(MappedY(m, 0), 200);
    EXPECT_DOUBLE_EQ(MappedX(m, 800000), 400);
    EXPECT_DOUBLE_EQ(MappedY(m, 400000), 0);
    // A divisor scales the window side only.
    const PaintMapping halved = PaintMappingOf(view, 2);
    EXPECT_EQ(halved.window_ext_x, 400000);
    EXPECT_EQ(halved.viewport_ext_x, 400);
}

TEST(ViewDrawing, PaintMappingAgreesWithTheConversionsOverRandomViews) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> size(50, 1200), coordinate(-100000, 100000), extent(100, 200000);
    for (int i = 0; i < 500; ++i) {
        MagKUKUC view(nullptr, nullptr, 0);
        const int cw = size(random), ch = size(random);
        view.SetClientRect(0, 0, cw, ch, 0);
        const long left = coordinate(random), bottom = coordinate(random);
        view.SetWorld(left, bottom + extent(random), left + extent(random), bottom, 0, 0, 0);
        const PaintMapping m = PaintMappingOf(view, 1);
        const LRECT v = view.GetVisible();
        const long x = v.left + (v.right - v.left) / 3, y = v.bottom + (v.top - v.bottom) / 4;
        // The mapping and the view's own conversion put a point within a pixel of each other.
        EXPECT_NEAR(MappedX(m, x), view.LogToDevX(x), 1.0) << i;
        EXPECT_NEAR(MappedY(m, y), view.LogToDevY(y), 1.0) << i;
    }
}

TEST(ViewDrawing, MarkerFigures) {
    const MarkerFigure square = MarkerAt(1, 50, 40, 5);
    EXPECT_EQ(square.shape, MarkerFigure::kSquare);
    EXPECT_EQ(square.left, 45);
    EXPECT_EQ(square.top, 35);
    EXPECT_EQ(square.right, 55);
    EXPECT_EQ(square.bottom, 45);
    EXPECT_EQ(MarkerAt(2, 50, 40, 5).shape, MarkerFigure::kCircle);
    const struct { int kind; PixelLine first, second; } lines[] = {
        {3, {45, 40, 56, 40}, {50, 45, 50, 34}},
        {4, {45, 35, 56, 46}, {45, 45, 56, 34}},
    };
    for (const auto& c : lines) {
        const MarkerFigure f = MarkerAt(c.kind, 50, 40, 5);
        ASSERT_EQ(f.shape, MarkerFigure::kLines) << c.kind;
        const PixelLine got[2] = {f.lines[0], f.lines[1]}, want[2] = {c.first, c.second};
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(got[k].x0, want[k].x0) << c.kind << " line " << k;
            EXPECT_EQ(got[k].y0, want[k].y0) << c.kind << " line " << k;
            EXPECT_EQ(got[k].x1, want[k].x1) << c.kind << " line " << k;
            EXPECT_EQ(got[k].y1, want[k].y1) << c.kind << " line " << k;
        }
    }
    for (int kind : {0, 5, -1}) EXPECT_EQ(MarkerAt(kind, 1, 1, 5).shape, MarkerFigure::kNone) << kind;
}

TEST(ViewDrawing, KeysAndTheirScrolls) {
    const struct { UINT key; bool handled; int bar, code; } keys[] = {
        {0x21, true, 1, 2}, {0x22, true, 1, 3}, {0x23, true, 1, 7}, {0x24, true, 1, 6},
        {0x25, true, 0, 0}, {0x26, true, 1, 0}, {0x27, true, 0, 1}, {0x28, true, 1, 1},
        {0x20, false, -1, -1}, {0x29, false, -1, -1}, {0x0D, false, -1, -1},
    };
    for (const auto& k : keys) {
        int bar = -1, code = -1;
        EXPECT_EQ(KeyScroll(k.key, &bar, &code), k.handled) << k.key;
        EXPECT_EQ(bar, k.bar) << k.key;
        EXPECT_EQ(code, k.code) << k.key;
    }
}

}  // namespace
