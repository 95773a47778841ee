// Exported constructors and assignments of the 3-D point types.
#include "zedll/points.h"

#include "geometry/float_math.h"

// Integer to float rounds to nearest; float to integer truncates toward zero.

using zed::TruncToInt32;

tagF3POINT::tagF3POINT() : x(0.0f), y(0.0f), z(0.0f) {}
tagF3POINT::tagF3POINT(float px, float py, float pz) : x(px), y(py), z(pz) {}
tagF3POINT::tagF3POINT(const tagFPOINT& p) : x(p.x), y(p.y), z(0.0f) {}
tagF3POINT::tagF3POINT(const tagL3POINT& p)
    : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(static_cast<float>(p.z)) {}
tagF3POINT::tagF3POINT(const tagLPOINT& p)
    : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)), z(0.0f) {}

tagL3POINT::tagL3POINT() : x(0), y(0), z(0) {}
tagL3POINT::tagL3POINT(LONG px, LONG py, LONG pz) : x(px), y(py), z(pz) {}
tagL3POINT::tagL3POINT(const tagF3POINT& p)
    : x(TruncToInt32(p.x)), y(TruncToInt32(p.y)), z(TruncToInt32(p.z)) {}
tagL3POINT::tagL3POINT(const tagFPOINT& p)
    : x(TruncToInt32(p.x)), y(TruncToInt32(p.y)), z(0) {}
tagL3POINT::tagL3POINT(const tagLPOINT& p) : x(p.x), y(p.y), z(0) {}

tagA3POINT::tagA3POINT() : tagF3POINT(), a() {}
tagA3POINT::tagA3POINT(float px, float py, float pz, ATR pa) : tagF3POINT(px, py, pz), a(pa) {}
tagA3POINT::tagA3POINT(const tagL3POINT& p) : tagF3POINT(p), a() {}

tagA3POINT& tagA3POINT::operator=(const tagAPOINT& p) {
    x = p.x;
    y = p.y;
    z = 0.0f;
    return *this;
}
