// Frozen plain InsetPt: points laid along a polyline at an even spacing, corners kept.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/float_math.h"
#include "reference_curves.h"

namespace zedtest {
namespace reference {
namespace {

using zed::HypotD;
using zed::HypotF;
using zed::TruncToInt32;

constexpr double kGrid = 0.08;
constexpr double kSnap = 5 * kGrid;
constexpr double kMaxSpacings = 8388608.0;
constexpr size_t kMaxPlaced = size_t{1} << 26;
constexpr float kShortLine = 10.0f;
constexpr float kEvenFraction = 0.2f;
constexpr int kEvenSteps = 10;
constexpr float kEvenBias = 0.6666667f;
constexpr double kParamLow = -0.00001;
constexpr double kParamHigh = 1.00001;

float GridRound(float v, double grid) {
    const double g = grid;
    const double q = std::fabs(static_cast<double>(v)) / g;
    double k = std::trunc(q);
    if (q - k >= 0.5) k += 1.0;
    const double rounded = k * g;
    return static_cast<float>(v < 0.0f ? -rounded : rounded);
}

float Evening(float rest, float step) {
    int k = TruncToInt32(rest / step + kEvenBias);
    if (k == 0) k = 1;
    return rest / static_cast<float>(k);
}

// Placed points as plain pairs.
struct PlacedPoints {
    std::vector<float> xy;
    bool Add(float x, float y) {
        if (xy.size() / 2 >= kMaxPlaced) return false;
        xy.push_back(x);
        xy.push_back(y);
        return true;
    }
};

float Dist(float ax, float ay, float bx, float by) { return HypotF(bx - ax, by - ay); }

class Walk {
public:
    Walk(const float* x, const float* y, uint8_t* mark, int n, float spacing, PlacedPoints& out)
        : x_(x), y_(y), mark_(mark), n_(n), step_(spacing), out_(out) {}

    bool Run() {
        if (n_ == 2 && Dist(x_[0], y_[0], x_[1], y_[1]) <= kShortLine)
            return out_.Add(x_[0], y_[0]) && out_.Add(x_[1], y_[1]);
        if (!WithinReach()) return false;
        MergeCorners();
        if (!out_.Add(x_[0], y_[0])) return false;
        ax_ = x_[0];
        ay_ = y_[0];
        pending_ = false;
        StartStretch(0);
        for (int i = 1; i < n_; ++i) {
            pending_ = Step(i);
            if (!ok_) return false;
            if (i == stretch_end_ && i < n_ - 1) StartStretch(i);
        }
        return true;
    }

private:
    float D(int i, int j) const { return Dist(x_[i], y_[i], x_[j], y_[j]); }

    // Refuses what would step forever: a non-finite length, or one so long for the spacing that
    // taking a step off the remaining length could leave it unchanged in float.
    bool WithinReach() const {
        double length = 0.0;
        for (int i = 1; i < n_; ++i) length += HypotD(static_cast<double>(x_[i]) - x_[i - 1], static_cast<double>(y_[i]) - y_[i - 1]);
        return length / step_ <= kMaxSpacings;
    }

    void MergeCorners() {
        mark_[0] = 1;
        mark_[n_ - 1] = 1;
        // With two points both are ends; the end points keep their marks.
        if (n_ < 3) return;
        const float h = step_ / 2.0f;
        if (mark_[1] && D(1, 0) < h) mark_[1] = 0;
        for (int i = 2; i < n_ - 1; ++i) {
            if (mark_[i] && mark_[i - 1] && D(i, i - 1) < h) {
                mark_[i - 1] = 0;
                if (i < n_ - 2 && mark_[i + 1]) {
                    if (D(i + 1, i) < h) mark_[i + 1] = 0;
                    ++i;
                }
            }
        }
        if (D(n_ - 2, n_ - 1) < h) mark_[n_ - 2] = 0;
    }

    void StartStretch(int s) {
        int e = s + 1;
        while (e < n_ - 1 && !mark_[e]) ++e;
        float length = 0.0f;
        for (int k = s + 1; k <= e; ++k) length += D(k - 1, k);
        stretch_ = length;
        remaining_ = length;
        carry_ = 0.0f;
        stretch_end_ = e;
    }

    // Evening starts near the end of a stretch.
    bool NearEnd(float rest, float w) const {
        return rest / stretch_ <= kEvenFraction || TruncToInt32(rest / w) <= kEvenSteps;
    }

    bool Place(float px, float py) {
        if (!out_.Add(GridRound(px, kGrid), GridRound(py, kGrid))) ok_ = false;
        return ok_;
    }

    // The pending point: where the segment line prev + t (cur - prev) meets the circle of radius
    // w around the anchor. 1 found, 0 no solution within the segment, -1 none at all.
    int FindPending(int i, float seg, float w, float& fx, float& fy) const {
        if (seg == 0.0f) return -1;
        const double px = x_[i - 1], py = y_[i - 1];
        const double dx = static_cast<double>(x_[i]) - px, dy = static_cast<double>(y_[i]) - py;
        const double ox = px - ax_, oy = py - ay_;
        const double a = dx * dx + dy * dy;
        const double b = 2.0 * (dx * ox + dy * oy);
        const double c = ox * ox + oy * oy - static_cast<double>(w) * w;
        const double disc = b * b - 4.0 * a * c;
        if (!(disc >= 0.0) || !(a > 0.0)) return -1;
        const double root = std::sqrt(disc);
        const double t_small = (-b - root) / (2.0 * a);
        const double t_large = (-b + root) / (2.0 * a);
        double t;
        if (t_small >= kParamLow && t_small <= kParamHigh) {
            t = t_small;
        } else if (t_large >= kParamLow && t_large <= kParamHigh) {
            t = t_large;
        } else {
            return 0;
        }
        fx = static_cast<float>(px + t * dx);
        fy = static_cast<float>(py + t * dy);
        return 1;
    }

    // One segment P[i-1] -> P[i] as the walk sees it.
    struct Segment {
        float prev_x, prev_y, cur_x, cur_y;
        float seg;      // its length
        float w;        // the step in force
        bool corner;    // it ends at a corner
        bool evened;    // evening has started
        bool had_pending;
    };
    enum class Settled { kNothingPending, kPointPending, kWalkOn };

    // One segment; returns whether a point is pending for the next segment.
    bool Step(int i) {
        Segment s;
        s.prev_x = x_[i - 1];
        s.prev_y = y_[i - 1];
        s.cur_x = x_[i];
        s.cur_y = y_[i];
        s.corner = mark_[i] != 0;
        s.w = step_;
        s.evened = false;
        const float rest = remaining_ + carry_;
        if (NearEnd(rest, step_)) {
            s.evened = true;
            s.w = Evening(rest, step_);
        }
        s.seg = Dist(s.prev_x, s.prev_y, s.cur_x, s.cur_y);
        remaining_ -= s.seg;
        if (remaining_ < 0.0f) remaining_ = 0.0f;
        s.had_pending = pending_;

        switch (SettlePending(i, s)) {
            case Settled::kNothingPending: return false;
            case Settled::kPointPending: return true;
            case Settled::kWalkOn: break;
        }
        return WalkAlong(s);
    }

    // First the point left pending by the previous segment, or the anchor at the segment's start.
    Settled SettlePending(int i, const Segment& s) {
        bool reached = false;
        if (pending_) {
            float fx = s.cur_x, fy = s.cur_y;
            const int found = FindPending(i, s.seg, s.w, fx, fy);
            if (found <= 0) {
                if (!s.corner) {
                    if (found == 0) carry_ += s.seg;
                    return Settled::kPointPending;
                }
                // A segment that ends at a corner always delivers the corner, even when the
                // pending point cannot be found on it.
                fx = s.cur_x;
                fy = s.cur_y;
                reached = true;
            }
            if (s.corner && !reached && Dist(fx, fy, s.cur_x, s.cur_y) <= kSnap) {
                fx = s.cur_x;
                fy = s.cur_y;
                reached = true;
            }
            if (!Place(fx, fy)) return Settled::kNothingPending;
            ax_ = fx;
            ay_ = fy;
        } else {
            ax_ = s.prev_x;
            ay_ = s.prev_y;
            if (s.corner && s.seg == 0.0f) {
                // A corner repeating its predecessor: nothing to walk, but it gets its point.
                if (!Place(s.cur_x, s.cur_y)) return Settled::kNothingPending;
                ax_ = s.cur_x;
                ay_ = s.cur_y;
                carry_ = 0.0f;
                return Settled::kNothingPending;
            }
        }
        carry_ = 0.0f;
        return reached ? Settled::kNothingPending : Settled::kWalkOn;
    }

    // Then whole steps along the rest of the segment; returns whether a point is left pending.
    bool WalkAlong(const Segment& s) {
        float ax = ax_, ay = ay_;
        float r = s.had_pending ? s.seg - Dist(s.prev_x, s.prev_y, ax, ay) : s.seg;
        float w = s.w;
        bool evened = s.evened;
        const bool corner = s.corner;
        if (!evened && NearEnd(r + remaining_, w)) evened = true;
        if (evened) w = Evening(r + remaining_, step_);
        if (w > r && !corner) {
            carry_ = r;
            return true;
        }
        // A zero-length segment has no direction: a step along it stays where it is.
        float scale = s.seg > 0.0f ? w / s.seg : 0.0f;
        float dx = (s.cur_x - s.prev_x) * scale, dy = (s.cur_y - s.prev_y) * scale;
        bool reached = false;
        bool result = false;
        while (r >= w || (corner && r > 0.0f)) {
            float px = ax + dx, py = ay + dy;
            r -= w;
            if (corner && r <= kSnap) {
                px = s.cur_x;
                py = s.cur_y;
                r = 0.0f;
                reached = true;
            }
            if (!Place(px, py)) return false;
            ax = px;
            ay = py;
            if (!reached) {
                if (!evened && NearEnd(r + remaining_, w)) evened = true;
                if (evened) {
                    w = Evening(r + remaining_, step_);
                    scale = s.seg > 0.0f ? w / s.seg : 0.0f;
                    dx = (s.cur_x - s.prev_x) * scale;
                    dy = (s.cur_y - s.prev_y) * scale;
                }
            }
            if (0.0f < r && r < w) result = true;
            if (r == 0.0f && w == 0.0f) {
                result = !corner;
                break;
            }
        }
        ax_ = ax;
        ay_ = ay;
        carry_ = r;
        return result;
    }

    const float* x_;
    const float* y_;
    uint8_t* mark_;
    const int n_;
    const float step_;
    PlacedPoints& out_;
    bool ok_ = true;
    float ax_ = 0.0f, ay_ = 0.0f;   // the anchor: the last placed point before rounding
    bool pending_ = false;
    float stretch_ = 0.0f, remaining_ = 0.0f, carry_ = 0.0f;
    int stretch_end_ = 0;
};

}  // namespace

Result<tagAPOINT> InsetPt(const tagAPOINT* points, int count, float spacing) {
    Result<tagAPOINT> result;
    if (points == nullptr || count < 2 || !(spacing > 0.0f) || !std::isfinite(spacing)) return result;
    const size_t n = static_cast<size_t>(count);
    std::vector<float> x(n + 2), y(n + 2);
    std::vector<uint8_t> mark(n + 2);
    for (size_t i = 0; i < n; ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
        mark[i] = static_cast<uint8_t>(points[i].a.IsCorner());
    }
    PlacedPoints out;
    Walk walk(x.data(), y.data(), mark.data(), count, spacing, out);
    if (!walk.Run()) return result;
    const size_t m = out.xy.size() / 2;
    result.block.assign(m + 2, tagAPOINT());
    for (size_t i = 0; i < m; ++i) {
        result.block[i].x = out.xy[2 * i];
        result.block[i].y = out.xy[2 * i + 1];
        result.block[i].a.SetCode(1, i == 0 ? 0 : 1);
    }
    result.null = false;
    result.count = static_cast<int>(m);
    return result;
}

}  // namespace reference
}  // namespace zedtest
