// Point distance and the tolerance test.
#include "geometry/float_math.h"
#include "zedll/geometry.h"

float ZEDLL_STDCALL DistancePoints(tagAPOINT* a, tagAPOINT* b) {
    if (a == nullptr || b == nullptr) return zed::kNoDistance;
    return zed::HypotF(b->x - a->x, b->y - a->y);
}

bool ZEDLL_STDCALL Tolerance(double value, double nominal, double tolerance, bool percent) {
    const double d = percent ? nominal / 100.0 * tolerance : tolerance;
    return nominal - d <= value && value <= nominal + d;
}
