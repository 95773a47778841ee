// Point types, the point attribute ATR and the float rectangle FRECT shared with the host programs.
#ifndef ZEDLL_POINTS_H
#define ZEDLL_POINTS_H

#include <cstdint>
#include <type_traits>

#include "zedll/export.h"
#include "zedll/platform_types.h"

// Every structure here crosses the interface in packed arrays: one-byte alignment, no gaps.
#pragma pack(push, 1)

/// Point attribute, five bytes:
///
///   +0      +2     +3        +5
///   | code  | kind | flags   |
///   | u16   | u8   | u16     |
///
/// flags: bit 0 Draw (joined to the point before: pen down), 1 Corner, 2 Spline (generated),
/// 4 Drill, 5 Mark, 6 Notch, 7 Notch2, 8 Flag8; bits 3 and 9-15 are carried unchanged.
class ATR {
public:
    enum : uint16_t {
        kDraw = 1u << 0,
        kCorner = 1u << 1,
        kSpline = 1u << 2,
        kDrill = 1u << 4,
        kMark = 1u << 5,
        kNotch = 1u << 6,
        kNotch2 = 1u << 7,
        kFlag8 = 1u << 8,
    };
    /// Largest code a point may carry; SetCode stores 0 for anything above.
    static constexpr unsigned kMaxCode = 32700;

    uint16_t code;
    uint8_t kind;
    uint16_t flags;

    ATR() : code(0), kind(0), flags(0) {}
    void Clear() { code = 0; kind = 0; flags = 0; }

    unsigned GetCode() const { return code; }
    /// Stores `c` (0 if above 32700) and sets Draw to the lowest bit of `draw`; other flags stay.
    void SetCode(unsigned c, int draw) {
        code = static_cast<uint16_t>(c <= kMaxCode ? c : 0);
        flags = static_cast<uint16_t>((flags & ~kDraw) | (draw & 1));
    }
    /// Sets Spline to the lowest bit of `v`.
    void SetSpline(int v) { flags = static_cast<uint16_t>((flags & ~kSpline) | ((v & 1) << 2)); }

    int IsDraw() const { return (flags >> 0) & 1; }
    int IsCorner() const { return (flags >> 1) & 1; }
    int IsSpline() const { return (flags >> 2) & 1; }
    int IsDrill() const { return (flags >> 4) & 1; }
    int IsMark() const { return (flags >> 5) & 1; }
    int IsNotch() const { return (flags >> 6) & 1; }
    int IsNotch2() const { return (flags >> 7) & 1; }
    int IsFlag8() const { return (flags >> 8) & 1; }

    int IsKind13() const { return kind == 13; }
    int IsKind17() const { return kind == 17; }
    /// Kind is one of the mark group 3, 7, 8, 9, 23.
    int IsKindGroup() const {
        return kind == 3 || kind == 7 || kind == 8 || kind == 9 || kind == 23;
    }
};

/// 2-D float point, 8 bytes: | x f32 | y f32 |
struct tagFPOINT {
    float x;
    float y;
};

/// 2-D integer point, 8 bytes: | x i32 | y i32 |
struct tagLPOINT {
    LONG x;
    LONG y;
};

struct tagL3POINT;

/// 3-D float point, 12 bytes: | x f32 | y f32 | z f32 |
/// Integer coordinates convert to the nearest float.
struct ZEDLL_API tagF3POINT {
    float x;
    float y;
    float z;

    tagF3POINT();
    tagF3POINT(float x, float y, float z);
    tagF3POINT(const tagF3POINT&) = default;
    tagF3POINT& operator=(const tagF3POINT&) = default;
    explicit tagF3POINT(const tagFPOINT& p);   ///< z = 0
    explicit tagF3POINT(const tagL3POINT& p);
    explicit tagF3POINT(const tagLPOINT& p);   ///< z = 0
};

/// 3-D integer point, 12 bytes: | x i32 | y i32 | z i32 |
/// Float coordinates are truncated toward zero.
struct ZEDLL_API tagL3POINT {
    LONG x;
    LONG y;
    LONG z;

    tagL3POINT();
    tagL3POINT(LONG x, LONG y, LONG z);
    tagL3POINT(const tagL3POINT&) = default;
    tagL3POINT& operator=(const tagL3POINT&) = default;
    explicit tagL3POINT(const tagF3POINT& p);
    explicit tagL3POINT(const tagFPOINT& p);   ///< z = 0
    explicit tagL3POINT(const tagLPOINT& p);   ///< z = 0
};

/// 2-D point with attribute, 13 bytes: | x f32 | y f32 | a ATR(5) |
struct tagAPOINT : tagFPOINT {
    ATR a;

    tagAPOINT() : tagFPOINT{0.0f, 0.0f} {}
    tagAPOINT(float px, float py, ATR pa = ATR()) : tagFPOINT{px, py}, a(pa) {}
    tagAPOINT(const tagAPOINT&) = default;
    tagAPOINT& operator=(const tagAPOINT&) = default;
};

/// 3-D point with attribute, 17 bytes: | x f32 | y f32 | z f32 | a ATR(5) |
struct ZEDLL_API tagA3POINT : tagF3POINT {
    ATR a;

    tagA3POINT();
    tagA3POINT(float x, float y, float z, ATR a);
    tagA3POINT(const tagA3POINT&) = default;
    tagA3POINT& operator=(const tagA3POINT&) = default;
    explicit tagA3POINT(const tagL3POINT& p);   ///< attribute cleared
    /// x, y copied, z = 0; this point's attribute is left as it was.
    tagA3POINT& operator=(const tagAPOINT& p);
};

/// Float rectangle, 16 bytes, y axis up: | left | top | right | bottom | (f32 each).
/// Normal form: left <= right, bottom <= top. The empty rectangle (SetEmpty) has left = bottom =
/// FLT_MAX and top = right = -FLT_MAX, ready to be grown by points.
struct FRECT {
    float left;
    float top;
    float right;
    float bottom;

    FRECT() : left(0), top(0), right(0), bottom(0) {}
    FRECT(float l, float t, float r, float b) { Set(l, t, r, b); }
    FRECT(double l, double t, double r, double b) { Set(l, t, r, b); }
    template <class I, class = std::enable_if_t<std::is_integral<I>::value>>
    FRECT(I l, I t, I r, I b) { Set(l, t, r, b); }
    explicit FRECT(const RECT& r) { Set(r.left, r.top, r.right, r.bottom); }
    /// Normal form of the rectangle with corners `p` and `q`.
    FRECT(const tagAPOINT& p, const tagAPOINT& q) { SetCorners(p.x, p.y, q.x, q.y); }

    /// Normal form of the rectangle with corners (x1, y1) and (x2, y2).
    static FRECT FromCorners(float x1, float y1, float x2, float y2) {
        FRECT r;
        r.SetCorners(x1, y1, x2, y2);
        return r;
    }
    template <class I, class = std::enable_if_t<std::is_integral<I>::value>>
    static FRECT FromCorners(I x1, I y1, I x2, I y2) {
        return FromCorners(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                           static_cast<float>(y2));
    }

    void Set(float l, float t, float r, float b) { left = l; top = t; right = r; bottom = b; }
    void Set(double l, double t, double r, double b) {
        Set(static_cast<float>(l), static_cast<float>(t), static_cast<float>(r), static_cast<float>(b));
    }
    template <class I, class = std::enable_if_t<std::is_integral<I>::value>>
    void Set(I l, I t, I r, I b) {
        Set(static_cast<float>(l), static_cast<float>(t), static_cast<float>(r), static_cast<float>(b));
    }
    void SetCorners(float x1, float y1, float x2, float y2) {
        left = x1 < x2 ? x1 : x2;
        right = x1 < x2 ? x2 : x1;
        top = y1 < y2 ? y2 : y1;
        bottom = y1 < y2 ? y1 : y2;
    }
    void SetEmpty() {
        left = bottom = 3.4028235e38f;
        top = right = -3.4028235e38f;
    }

    float Width() const { return right - left; }
    float Height() const { return top - bottom; }

    void Offset(float dx, float dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void Offset(const tagAPOINT& d) { Offset(d.x, d.y); }

    /// Grows each side by `p` percent of the width (left, right) and of the height (top, bottom).
    void InflatePercent(unsigned p) {
        const float d = Width() * static_cast<float>(p) / 100.0f;
        left -= d;
        right += d;
        const float e = Height() * static_cast<float>(p) / 100.0f;
        bottom -= e;
        top += e;
    }

    /// 1 if the point lies inside or on an edge.
    int PtIn(const tagAPOINT& p) const {
        return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top;
    }
    /// 1 if the rectangle (l, t, r, b) lies within this one.
    int Contains(float l, float t, float r, float b) const {
        return left <= l && r <= right && t <= top && bottom <= b;
    }

    /// Grows this rectangle over `o`, keeping this rectangle's vertical orientation.
    /// 0 (unchanged) when `o` has the other orientation.
    int Union(const FRECT& o) {
        if (top > bottom) {
            if (o.bottom > o.top) return 0;
            left = Min(left, o.left);
            right = Max(right, o.right);
            top = Max(top, o.top);
            bottom = Min(bottom, o.bottom);
        } else {
            if (o.top > o.bottom) return 0;
            left = Min(left, o.left);
            right = Max(right, o.right);
            top = Min(top, o.top);
            bottom = Max(bottom, o.bottom);
        }
        return 1;
    }

    /// Overlap of the two rectangles (touching counts) in either orientation of this one;
    /// stored in `out` (if not null) only when there is one.
    int Intersect(const FRECT& o, FRECT* out) const {
        float l, r, t, b;
        if (left > right) {
            l = Min(left, o.left);
            r = Max(right, o.right);
            if (r > l) return 0;
        } else {
            l = Max(left, o.left);
            r = Min(right, o.right);
            if (l > r) return 0;
        }
        if (top > bottom) {
            t = Min(top, o.top);
            b = Max(bottom, o.bottom);
            if (b > t) return 0;
        } else {
            t = Max(top, o.top);
            b = Min(bottom, o.bottom);
            if (t > b) return 0;
        }
        if (out) out->Set(l, t, r, b);
        return 1;
    }
    int Intersects(const FRECT& o) const { return Intersect(o, nullptr); }

    tagAPOINT Center() const { return tagAPOINT((left + right) / 2, (top + bottom) / 2); }

    bool operator==(const FRECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const FRECT& o) const { return !(*this == o); }
    /// Size comparisons: "smaller" means both width and height strictly smaller.
    bool operator<(const FRECT& o) const { return Width() < o.Width() && Height() < o.Height(); }
    bool operator<=(const FRECT& o) const { return Width() <= o.Width() && Height() <= o.Height(); }
    /// Not smaller: the negation of `<`, not the mirror of it.
    bool operator>(const FRECT& o) const { return !(*this < o); }
    bool operator>=(const FRECT& o) const { return Width() >= o.Width() && Height() >= o.Height(); }

private:
    static float Min(float a, float b) { return a < b ? a : b; }
    static float Max(float a, float b) { return a > b ? a : b; }
};

#pragma pack(pop)

static_assert(sizeof(ATR) == 5, "ATR is five packed bytes");
static_assert(sizeof(tagFPOINT) == 8 && sizeof(tagLPOINT) == 8, "2-D points are 8 bytes");
static_assert(sizeof(tagF3POINT) == 12 && sizeof(tagL3POINT) == 12, "3-D points are 12 bytes");
static_assert(sizeof(tagAPOINT) == 13, "tagAPOINT is 13 packed bytes");
static_assert(sizeof(tagA3POINT) == 17, "tagA3POINT is 17 packed bytes");
static_assert(sizeof(FRECT) == 16, "FRECT is 16 bytes");
// By-value arguments and packed arrays rely on plain byte copies.
static_assert(std::is_trivially_copyable<tagAPOINT>::value, "tagAPOINT copies as bytes");
static_assert(std::is_trivially_copyable<tagA3POINT>::value, "tagA3POINT copies as bytes");

#endif
