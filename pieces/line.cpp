// CLS_LK: one line of a piece and its editing members.
#include <cstring>

#include "geometry/float_math.h"
#include "pieces/piece_storage.h"
#include "os/heap.h"
#include "zedll/pieces.h"

namespace {

void MovePoints(tagAPOINT* to, const tagAPOINT* from, int n) {
    if (n > 0) std::memmove(static_cast<void*>(to), from, static_cast<std::size_t>(n) * sizeof(tagAPOINT));
}

// Points to insert that lie in the line's own buffer would move (or be freed) under our feet:
// such a source is copied aside first.
class Source {
public:
    Source(const CLS_LK& line, tagAPOINT* p, int n) : p_(p) {
        const auto* begin = reinterpret_cast<const unsigned char*>(line.points);
        const auto* end = begin + (line.capacity > 0 ? static_cast<std::size_t>(line.capacity) * sizeof(tagAPOINT) : 0);
        const auto* first = reinterpret_cast<const unsigned char*>(p);
        const auto* last = first + static_cast<std::size_t>(n) * sizeof(tagAPOINT);
        if (line.points != nullptr && first < end && begin < last) {
            copy_ = zed::HeapPoints(n);
            if (copy_ != nullptr) MovePoints(copy_, p, n);
            p_ = copy_;
        }
    }
    ~Source() { zed::HeapRelease(copy_); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    const tagAPOINT* get() const { return p_; }

private:
    tagAPOINT* p_;
    tagAPOINT* copy_ = nullptr;
};

void SetDraw(tagAPOINT& p, int draw) { p.a.SetCode(p.a.GetCode(), draw); }

// Makes room for n more line.points: a buffer of line.capacity + n + 10 slots once line.count + n reaches the
// line.capacity. 0, or -1 with the line unchanged when the heap refuses.
int Grow(CLS_LK& line, int n) {
    const int64_t used = line.count > 0 ? line.count : 0;
    if (used + n < line.capacity) return 0;
    const int64_t slots = static_cast<int64_t>(line.capacity > 0 ? line.capacity : 0) + n + 10;
    tagAPOINT* fresh = zed::HeapPoints(slots);
    if (fresh == nullptr) return -1;
    if (line.points != nullptr) MovePoints(fresh, line.points, static_cast<int>(used));
    zed::HeapRelease(line.points);
    line.points = fresh;
    line.capacity = static_cast<int32_t>(slots);
    return 0;
}

}  // namespace

CLS_LK::CLS_LK() : rect() {}

CLS_LK& CLS_LK::operator=(const CLS_LK& other) {
    clockwise = other.clockwise;
    closed = other.closed;
    type = other.type;
    subType = other.subType;
    param = other.param;
    code = other.code;
    capacity = other.capacity;
    count = other.count;
    rect = other.rect;
    points = other.points;
    return *this;
}

int CLS_LK::operator==(const CLS_LK& other) const {
    if (count != other.count || rect != other.rect) return 0;
    if (clockwise != other.clockwise || closed != other.closed || type != other.type ||
        subType != other.subType || code != other.code) {
        return 0;
    }
    if ((type == lineParam2 || type == lineParam3) && param != other.param) return 0;
    if (points != nullptr && other.points != nullptr) {
        for (int i = 0; i < count; ++i) {
            const tagAPOINT& a = points[i];
            const tagAPOINT& b = other.points[i];
            if (a.a.flags != b.a.flags || a.a.kind != b.a.kind || a.a.code != b.a.code ||
                !(a.x == b.x) || !(a.y == b.y)) {
                return 0;
            }
        }
        return 1;
    }
    return points == nullptr && other.points == nullptr;
}

int CLS_LK::operator!=(const CLS_LK& other) const { return !(*this == other); }

int CLS_LK::IsReady(int i) const { return points != nullptr && i >= 0 && i < count; }

int CLS_LK::HasNotch() const {
    if (points == nullptr) return 0;
    for (int i = 0; i < count; ++i) {
        if (points[i].a.IsNotch() || points[i].a.IsNotch2()) return 1;
    }
    return 0;
}

int CLS_LK::HasDrill() const {
    if (points == nullptr) return 0;
    for (int i = 0; i < count; ++i) {
        if (points[i].a.IsDrill()) return 1;
    }
    return 0;
}

int CLS_LK::ChangeDirect() {
    if (points == nullptr || count <= 0) {
        // Nothing to reverse; the orientation flag still flips, as it does for any line.
        clockwise = clockwise ? 0 : 1;
        return 1;
    }
    // A record whose capacity does not cover its points gets one slot more than it uses.
    const int slots = capacity > count ? capacity : count + 1;
    tagAPOINT* fresh = zed::HeapPoints(slots);
    if (fresh == nullptr) return 0;
    for (int i = 0; i < count; ++i) fresh[i] = points[count - 1 - i];

    // The pen flag belongs to the segment before a point: in the new order the first point is
    // reached with the pen up and the last one drawn.
    SetDraw(fresh[count - 1], 1);
    SetDraw(fresh[0], 0);
    // A pen lift now sits one point late; move it back where the two points nearly coincide.
    for (int i = 2; i <= count - 2; ++i) {
        tagAPOINT& cur = fresh[i];
        tagAPOINT& prev = fresh[i - 1];
        const float dx = zed::FabsF(cur.x - prev.x);
        const float dy = zed::FabsF(cur.y - prev.y);
        if (cur.a.IsDraw() != prev.a.IsDraw() && dx < 2.0f && dy < 2.0f) {
            SetDraw(cur, 0);
            SetDraw(prev, 1);
        }
        if (!cur.a.IsDraw() && !prev.a.IsDraw() && dx < 15.0f && dy < 15.0f) {
            SetDraw(cur, 0);
            SetDraw(prev, 1);
        }
    }
    zed::HeapRelease(points);
    points = fresh;
    capacity = slots;
    clockwise = clockwise ? 0 : 1;
    return 1;
}

namespace {
// Adding no points is not an error (the line stays, its box recomputed); a negative number, or
// points from nowhere, are refused.
bool Refused(const tagAPOINT* p, int n) { return n < 0 || (n > 0 && p == nullptr); }
}  // namespace

int CLS_LK::InsertPointsBefore(int i, tagAPOINT* p, int n) {
    if (!IsReady(i) || Refused(p, n)) return -1;
    if (n == 0) {
        ComputeRect();
        return i;
    }
    Source source(*this, p, n);
    if (source.get() == nullptr || Grow(*this, n) != 0) return -1;
    MovePoints(points + i + n, points + i, count - i);
    MovePoints(points + i, source.get(), n);
    count += n;
    ComputeRect();
    return i;
}

int CLS_LK::InsertPointsAfter(int i, tagAPOINT* p, int n) {
    if (!IsReady(i) || Refused(p, n)) return -1;
    if (i == count - 1) return AppendPoints(p, n);
    if (n == 0) {
        ComputeRect();
        return i;
    }
    Source source(*this, p, n);
    if (source.get() == nullptr || Grow(*this, n) != 0) return -1;
    MovePoints(points + i + 1 + n, points + i + 1, count - i - 1);
    MovePoints(points + i + 1, source.get(), n);
    count += n;
    ComputeRect();
    return i;
}

int CLS_LK::InsertPointBefore(int i, tagAPOINT& p) { return InsertPointsBefore(i, &p, 1); }

int CLS_LK::InsertPointAfter(int i, tagAPOINT& p) { return InsertPointsAfter(i, &p, 1); }

int CLS_LK::AppendPoints(tagAPOINT* p, int n) {
    if (Refused(p, n)) return -1;
    if (!IsReady(0)) {
        // A line without points starts over with a buffer of its own size; the old one goes only
        // once the new one is there (and after the points were copied from wherever they lie).
        const int64_t slots = static_cast<int64_t>(n) + 10;
        tagAPOINT* fresh = zed::HeapPoints(slots);
        if (fresh == nullptr) return -1;
        MovePoints(fresh, p, n);
        zed::HeapRelease(points);
        points = fresh;
        capacity = static_cast<int32_t>(slots);
        count = n;
        ComputeRect();
        return 0;
    }
    if (n == 0) {
        ComputeRect();
        return count;
    }
    Source source(*this, p, n);
    if (source.get() == nullptr || Grow(*this, n) != 0) return -1;
    MovePoints(points + count, source.get(), n);
    count += n;
    ComputeRect();
    return count - n;
}

int CLS_LK::DeletePoint(int i) {
    if (!IsReady(0)) return -1;
    if (i == -1) i = count - 1;
    if (!IsReady(i)) return -1;
    MovePoints(points + i, points + i + 1, count - i - 1);
    count -= 1;
    return count > 0 ? 1 : 0;
}

int CLS_LK::DeletePoints(int first, int last) {
    if (last == -1) last = count - 1;
    if (!IsReady(first) || !IsReady(last) || first > last) return -1;
    const int k = last - first + 1;
    if (count - k >= 1) {
        MovePoints(points + first, points + last + 1, count - last - 1);
        count -= k;
        return 1;
    }
    count = 0;
    return 0;
}

void CLS_LK::ComputeRect() {
    if (points == nullptr || count <= 0) {
        rect = FRECT();
        return;
    }
    rect.left = rect.right = points[0].x;
    rect.top = rect.bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        const tagAPOINT& p = points[i];
        if (p.x < rect.left) rect.left = p.x;
        if (p.x > rect.right) rect.right = p.x;
        if (p.y < rect.bottom) rect.bottom = p.y;
        if (p.y > rect.top) rect.top = p.y;
    }
}
