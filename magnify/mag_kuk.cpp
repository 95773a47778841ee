// The peephole view's mapping: the visible rectangle fitted to the client rectangle at a scale,
// kept inside the world and its margins, scrolled and zoomed; conversions in single precision.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/float_math.h"
#include "zedll/win32/magnify_view.h"

namespace {

using zed::TruncToInt32;

constexpr int kLineDivisions = 9;   // a line scroll moves a ninth of the view

// The 32-bit product of two integers, wrapping as the 32-bit arithmetic does.
int32_t Product(int64_t a, int64_t b) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(a * b))); }

long Width(const LRECT& r) { return r.right - r.left; }
long Height(const LRECT& r) { return r.top - r.bottom; }

// A double truncated to 32 bits; beyond the range the nearest end.
long TruncD(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<long>(v);
}

// `r` widened by mx on the left and right and by my at the top and bottom.
LRECT Widened(const LRECT& r, long mx, long my) {
    return LRECT{static_cast<LONG>(r.left - mx), static_cast<LONG>(r.top + my), static_cast<LONG>(r.right + mx),
                 static_cast<LONG>(r.bottom - my)};
}

// Shifts `r` by dx, dy.
void Shift(LRECT& r, long dx, long dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

}  // namespace

MagKUK::MagKUK()
    : window_(nullptr), visible_{0, 0, 0, 0}, scale_(0.0), client_{0, 0, 0, 0}, marker_kind_(0), marker_half_(5),
      saved_dc_(0) {}

MagKUK::~MagKUK() = default;

void MagKUK::SetClientRect(int left, int top, int right, int bottom, int centre) {
    client_ = RECT{left, top, right, bottom};
    if (right == 0 || bottom == 0) return;
    const long cw = client_.right - client_.left, ch = client_.bottom - client_.top;
    if (cw <= 0 || ch <= 0) return;   // nothing to fit to
    const long vw = Width(visible_), vh = Height(visible_);
    if (scale_ == 0.0) scale_ = std::max(static_cast<double>(vw) / cw, static_cast<double>(vh) / ch);
    const long w = TruncD(cw * scale_), h = TruncD(ch * scale_);
    if (centre != 0) {
        visible_.left -= (w - vw) / 2;
        visible_.top += (h - vh) / 2;
    }
    visible_.right = visible_.left + w;
    visible_.bottom = visible_.top - h;
}

void MagKUK::SetVisible(const LRECT& visible) {
    visible_ = visible;
    SetClientRect(client_.left, client_.top, client_.right, client_.bottom, 0);
}

long MagKUK::DevToLogX(int px) const {
    const long cw = client_.right - client_.left;
    if (cw == 0) return visible_.left;
    return TruncToInt32(static_cast<float>(visible_.left) +
                        static_cast<float>(Product(Width(visible_), px)) / static_cast<float>(cw));
}

long MagKUK::DevToLogY(int py) const {
    const long ch = client_.bottom - client_.top;
    if (ch == 0) return visible_.bottom;
    return TruncToInt32(static_cast<float>(visible_.bottom) +
                        static_cast<float>(Product(Height(visible_), ch - py)) / static_cast<float>(ch));
}

void MagKUK::DevToLog(int px, int py, long* x, long* y) const {
    *x = DevToLogX(px);
    *y = DevToLogY(py);
}

int MagKUK::LogToDevX(long x) const {
    const long vw = Width(visible_);
    if (vw == 0) return 0;
    return TruncToInt32(static_cast<float>(Product(x - visible_.left, client_.right - client_.left)) /
                            static_cast<float>(vw) + 0.5f);
}

int MagKUK::LogToDevY(long y) const {
    const long vh = Height(visible_);
    if (vh == 0) return 0;
    return TruncToInt32(static_cast<float>(client_.bottom) -
                        static_cast<float>(Product(y - visible_.bottom, client_.bottom - client_.top)) /
                            static_cast<float>(vh) + 0.5f);
}

MagKUKUC::MagKUKUC(MagKukucPaintFunc paint, MagNotifyFunc notify, LONG_PTR owner)
    : paint_(paint), notify_(notify), owner_(owner), style_(0), world_{0, 0, 0, 0}, extent_{0, 0, 0, 0},
      margin_x_(0), margin_y_(0) {}

MagKUKUC::~MagKUKUC() = default;

void MagKUKUC::SetClientRect(int left, int top, int right, int bottom, int centre) {
    MagKUK::SetClientRect(left, top, right, bottom, centre);
    // Inside the world and its margins; a view larger than the world keeps its left and top.
    const LRECT bounds = Widened(world_, margin_x_, margin_y_);
    if (visible_.right > bounds.right) Shift(visible_, bounds.right - visible_.right, 0);
    if (visible_.left < bounds.left) Shift(visible_, bounds.left - visible_.left, 0);
    if (visible_.bottom < bounds.bottom) Shift(visible_, 0, bounds.bottom - visible_.bottom);
    if (visible_.top > bounds.top) Shift(visible_, 0, bounds.top - visible_.top);
    extent_ = LRECT{std::min(bounds.left, visible_.left), std::max(bounds.top, visible_.top),
                    std::max(bounds.right, visible_.right), std::min(bounds.bottom, visible_.bottom)};
}

int MagKUKUC::OnMouse(MagnifyNS* record, UINT, int, int, UINT, int* go_on) {
    if (notify_ == nullptr) return 0;
    const int result = notify_(record);
    if (result != 0 && go_on != nullptr) *go_on = 0;
    return result;
}

HCURSOR MagKUKUC::GetCursorAt(int, int) { return nullptr; }
void MagKUKUC::OnBeforePaint(HDC, const RECT*) {}
void MagKUKUC::OnAfterPaint(HDC, const RECT*) {}
int MagKUKUC::OnCancelMode() { return 0; }
void MagKUKUC::OnViewChanged() {}

void MagKUKUC::SetWorld(long left, long top, long right, long bottom, long margin_x, long margin_y, int) {
    world_ = LRECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
                   static_cast<LONG>(bottom)};
    margin_x_ = margin_x;
    margin_y_ = margin_y;
    scale_ = 0.0;
    SetVisible(Widened(world_, margin_x, margin_y));
    SetClientRect(client_.left, client_.top, client_.right, client_.bottom, 1);
}

int MagKUKUC::Command(int code, const LRECT* area) {
    if (code == 1) {
        visible_ = Widened(world_, margin_x_, margin_y_);
    } else if (code == 6 && area != nullptr) {
        const int64_t w = Width(*area), h = Height(*area);
        if (w <= 50 || h <= 30 || w > 5 * static_cast<int64_t>(Width(world_)) ||
            h > 5 * static_cast<int64_t>(Height(world_))) {
            return 0;
        }
        visible_ = *area;
    } else {
        return 0;
    }
    scale_ = 0.0;
    SetClientRect(client_.left, client_.top, client_.right, client_.bottom, 1);
    OnViewChanged();
    return 1;
}

long MagKUKUC::ScrollPosition(int bar) const {
    return bar == 0 ? visible_.left : extent_.bottom + extent_.top - visible_.top;
}

int MagKUKUC::Scroll(int bar, int code, int track) {
    const bool across = bar == 0;
    const long size = across ? Width(visible_) : Height(visible_);
    const long low = across ? extent_.left : extent_.bottom;
    const long high = (across ? extent_.right : extent_.top) - size;
    const long old = ScrollPosition(bar);
    long p = old;
    switch (code) {
        case 0: p -= size / kLineDivisions; break;   // line left / up
        case 1: p += size / kLineDivisions; break;   // line right / down
        case 2: p -= size; break;                    // page
        case 3: p += size; break;
        case 5: p = track; break;                    // thumb track
        case 6: p = low; break;                      // top
        case 7: p = across ? extent_.right : extent_.top; break;   // bottom
        default: return 0;
    }
    p = std::min(std::max(p, low), high);   // an empty range: the upper limit wins
    if (p == old) return 0;
    if (across) {
        Shift(visible_, p - old, 0);
    } else {
        Shift(visible_, 0, old - p);
    }
    OnViewChanged();
    return 1;
}

void MagKUKUC::SetMarker(int kind, int half_size) {
    marker_kind_ = kind;
    marker_half_ = half_size;
}
