// The view's point markers as figures in client pixels.
#ifndef ZEDLL_MAGNIFY_MARKER_FIGURE_H
#define ZEDLL_MAGNIFY_MARKER_FIGURE_H

namespace zed::magnify {

struct PixelLine {
    int x0, y0, x1, y1;   // the end point is not drawn, as with LineTo
};

/// Kind 1 a hollow square and 2 a hollow circle in `box`; 3 a plus and 4 a diagonal cross as two
/// lines; any other kind nothing.
struct MarkerFigure {
    enum Shape { kNone, kSquare, kCircle, kLines } shape;
    int left, top, right, bottom;   // the box, for the square and the circle
    PixelLine lines[2];
};

/// The marker of `kind` with half size `h` centred on pixel (px, py).
MarkerFigure MarkerAt(int kind, int px, int py, int h);

}  // namespace zed::magnify

#endif
