// Angle at a vertex and the turning direction of an arc.
#include <cmath>

#include "geometry/float_math.h"
#include "zedll/geometry.h"

float ZEDLL_STDCALL Uhel2DDegree(tagA3POINT a, tagA3POINT vertex, tagA3POINT b) {
    // Differences in float, everything after them in double.
    const double ux = static_cast<double>(a.x - vertex.x);
    const double uy = static_cast<double>(a.y - vertex.y);
    const double wx = static_cast<double>(b.x - vertex.x);
    const double wy = static_cast<double>(b.y - vertex.y);
    const double angle =
        std::acos((ux * wx + uy * wy) / (zed::HypotD(ux, uy) * zed::HypotD(wx, wy)));
    return static_cast<float>(angle / zed::kFullTurn * 360.0);
}

int ZEDLL_STDCALL ArcDirect2D(tagA3POINT start, tagA3POINT centre, tagA3POINT middle,
                              tagA3POINT end) {
    const float a0 = zed::Atan2F(start.y - centre.y, start.x - centre.x);
    float a2 = zed::Atan2F(middle.y - centre.y, middle.x - centre.x);
    float a3 = zed::Atan2F(end.y - centre.y, end.x - centre.x);
    // The angles stay floats: each turn is added in double and stored back to float.
    if (a0 > a3) a3 = static_cast<float>(a3 + zed::kFullTurn);
    if (a0 > a2) a2 = static_cast<float>(a2 + zed::kFullTurn);
    return (a2 - a0) > (a3 - a0) ? 0 : 1;
}
