// Markers: the box for the square and the circle; the lines of the plus and the cross reach one
// pixel further at their ends, since the last pixel of a line is not drawn.
#include "magnify/marker_figure.h"

namespace zed::magnify {

MarkerFigure MarkerAt(int kind, int px, int py, int h) {
    MarkerFigure f{MarkerFigure::kNone, px - h, py - h, px + h, py + h, {{0, 0, 0, 0}, {0, 0, 0, 0}}};
    switch (kind) {
        case 1: f.shape = MarkerFigure::kSquare; break;
        case 2: f.shape = MarkerFigure::kCircle; break;
        case 3:
            f.shape = MarkerFigure::kLines;
            f.lines[0] = PixelLine{px - h, py, px + h + 1, py};
            f.lines[1] = PixelLine{px, py + h, px, py - h - 1};
            break;
        case 4:
            f.shape = MarkerFigure::kLines;
            f.lines[0] = PixelLine{px - h, py - h, px + h + 1, py + h + 1};
            f.lines[1] = PixelLine{px - h, py + h, px + h + 1, py - h - 1};
            break;
        default: break;
    }
    return f;
}

}  // namespace zed::magnify
