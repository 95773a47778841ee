// InsetPt and InsetPtFree: points laid along a polyline at an even spacing, corners kept.
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "curves/inset_walk.h"
#include "geometry/float_math.h"
#include "os/heap.h"
#include "zedll/curves.h"

namespace zed {
namespace inset {
namespace {

// A two-point input not longer than this comes back as it is.
constexpr float kShortLine = 10.0f;
// Evening starts when the rest of a stretch is at most this fraction of it ...
constexpr float kEvenFraction = 0.2f;
// ... or when at most this many whole steps remain.
constexpr int kEvenSteps = 10;
constexpr float kEvenBias = 0.6666667f;
// Accepted segment parameters of a pending point found on the next segment.
constexpr double kParamLow = -0.00001;
constexpr double kParamHigh = 1.00001;
// Rest below this many base steps keeps the truncated step count within int32.
constexpr double kMaxWholeSteps = 1073741824.0;

// Written by every walk; atomic only so that a misuse from two threads is not undefined.
std::atomic<int> g_capacity{kOutputStep};

float Dist(float ax, float ay, float bx, float by) { return HypotF(bx - ax, by - ay); }

class Walk {
public:
    // seg[i]: the length of the segment from P[i-1] to P[i] (i >= 1) as the walk uses it, exact[i]
    // the same in double for the reach check; room for n each.
    Walk(const float* x, const float* y, uint8_t* mark, int n, float spacing, float* seg, double* exact,
         PlacedPoints& out)
        : x_(x), y_(y), mark_(mark), n_(n), step_(spacing), seg_(seg), exact_(exact), out_(out) {}

    // Points are placed as computed; the grid rounding of all but the first follows the walk
    // (nothing in the walk reads them back), unless `rounded` comes back false.
    bool Run(bool& rounded) {
        rounded = false;
        if (n_ == 2 && Dist(x_[0], y_[0], x_[1], y_[1]) <= kShortLine)
            return out_.Add(x_[0], y_[0]) && out_.Add(x_[1], y_[1]);
        rounded = true;
        if (!MeasureWithinReach()) return false;
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

    // Every segment's length once, as the walk uses it (float), for the stretches and the steps.
    // Refuses what would step forever: a non-finite length, or one so long for the spacing that
    // taking a step off the remaining length could leave it unchanged in float; that total is
    // measured in double. The walk measures in float, where coordinates near the float limit
    // overflow to an infinite length (and steps that never shorten it) even when their length in
    // double is finite.
    // The square roots side by side in vector registers first, then the total in order.
    bool MeasureWithinReach() {
        float* __restrict seg = seg_;
        double* __restrict exact = exact_;
        for (int i = 1; i < n_; ++i) {
            seg[i] = Dist(x_[i - 1], y_[i - 1], x_[i], y_[i]);
            exact[i] = HypotD(static_cast<double>(x_[i]) - x_[i - 1], static_cast<double>(y_[i]) - y_[i - 1]);
        }
        double length = 0.0;
        float walked = 0.0f;
        for (int i = 1; i < n_; ++i) {
            length += exact[i];
            walked += seg[i];
        }
        return std::isfinite(walked) && length / step_ <= kMaxSpacings;
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
        for (int k = s + 1; k <= e; ++k) length += seg_[k];
        stretch_ = length;
        const double quarter = 0.25 * static_cast<double>(length), twelve = 12.0 * static_cast<double>(step_);
        far_from_end_ = quarter > twelve ? quarter : twelve;
        remaining_ = length;
        carry_ = 0.0f;
        stretch_end_ = e;
    }

    // Evening starts near the end of a stretch. Far from it both quotients are known without
    // dividing: rest above a quarter of the stretch puts the first above 0.2, and rest between 12
    // and 2^30 steps puts the second's truncation between 12 and 2^30 (the products are exact in
    // double, and rounding the quotients cannot cross those bounds). Anything else, NaN included,
    // takes the divisions.
    // The walk asks only with w = the base step, so both bounds are fixed for a stretch.
    bool NearEnd(float rest, float w) const {
        const double r = rest;
        if (r > far_from_end_ && r < kMaxWholeSteps * static_cast<double>(step_)) return false;
        return rest / stretch_ <= kEvenFraction || TruncToInt32(rest / w) <= kEvenSteps;
    }

    bool Place(float px, float py) {
        if (!out_.Add(px, py)) ok_ = false;
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
        // The larger root only when the smaller one is off the segment.
        double t = (-b - root) / (2.0 * a);
        if (!(t >= kParamLow && t <= kParamHigh)) {
            t = (-b + root) / (2.0 * a);
            if (!(t >= kParamLow && t <= kParamHigh)) return 0;
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
        s.seg = seg_[i];
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
        // A pending point placed by rounding just past the segment's end leaves nothing to walk;
        // a negative rest would even to a negative step and walk away from the corner forever.
        if (r < 0.0f) r = 0.0f;
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
    float* const seg_;
    double* const exact_;
    PlacedPoints& out_;
    bool ok_ = true;
    float ax_ = 0.0f, ay_ = 0.0f;   // the anchor: the last placed point before rounding
    bool pending_ = false;
    float stretch_ = 0.0f, remaining_ = 0.0f, carry_ = 0.0f;
    double far_from_end_ = 0.0;   // above a quarter of the stretch and 12 steps
    int stretch_end_ = 0;
};

}  // namespace

float Evening(float rest, float step) {
    int k = TruncToInt32(rest / step + kEvenBias);
    if (k == 0) k = 1;
    return rest / static_cast<float>(k);
}

int OutputCapacity() { return g_capacity.load(std::memory_order_relaxed); }

PlacedPoints::~PlacedPoints() {
    for (size_t b = 0; b < blocks_used_; ++b) HeapRelease(blocks_[b]);
    HeapRelease(blocks_);
}

bool PlacedPoints::AddInNewBlock(float x, float y) {
    if (count_ == blocks_used_ * kOutputStep) {
        if (count_ >= kMaxPlaced) return false;
        if (blocks_used_ == block_slots_) {
            const size_t slots = block_slots_ == 0 ? 16 : 2 * block_slots_;
            float** table = static_cast<float**>(HeapAllocZeroed(slots * sizeof(float*)));
            if (table == nullptr) return false;
            for (size_t b = 0; b < blocks_used_; ++b) table[b] = blocks_[b];
            HeapRelease(blocks_);
            blocks_ = table;
            block_slots_ = slots;
        }
        // Every slot is written before it is read: no clearing.
        float* block = static_cast<float*>(HeapAllocScratch(2 * kOutputStep * sizeof(float)));
        if (block == nullptr) return false;
        blocks_[blocks_used_++] = block;
        open_ = block;
        room_ = blocks_used_ * kOutputStep;
        if (blocks_used_ > 1) g_capacity.fetch_add(kOutputStep, std::memory_order_relaxed);
    }
    float* slot = blocks_[count_ / kOutputStep] + 2 * (count_ % kOutputStep);
    slot[0] = x;
    slot[1] = y;
    ++count_;
    return true;
}

void PlacedPoints::CopyTo(tagAPOINT* points, const ATR& a) const {
    for (size_t start = 0; start < count_; start += kOutputStep) {
        const float* block = blocks_[start / kOutputStep];
        const size_t m = count_ - start < static_cast<size_t>(kOutputStep) ? count_ - start : kOutputStep;
        tagAPOINT* o = points + start;
        for (size_t k = 0; k < m; ++k) o[k] = tagAPOINT(block[2 * k], block[2 * k + 1], a);
    }
}

void PlacedPoints::GridRoundFrom(size_t first, double grid) {
    for (size_t start = first - first % kOutputStep; start < count_; start += kOutputStep) {
        const size_t from = start < first ? first - start : 0;
        const size_t to = count_ - start < static_cast<size_t>(kOutputStep) ? count_ - start : kOutputStep;
        // x and y interleaved: one run of values.
        GridRoundAll(blocks_[start / kOutputStep] + 2 * from, 2 * (to - from), grid);
    }
}

bool SpacingWalk(const float* x, const float* y, uint8_t* mark, int n, float spacing, PlacedPoints& out) {
    g_capacity.store(kOutputStep, std::memory_order_relaxed);
    void* lengths = HeapAllocScratch(static_cast<size_t>(n) * (sizeof(double) + sizeof(float)));
    if (lengths == nullptr) return false;
    double* exact = static_cast<double*>(lengths);
    float* seg = reinterpret_cast<float*>(exact + n);
    Walk walk(x, y, mark, n, spacing, seg, exact, out);
    bool rounded = false;
    const bool done = walk.Run(rounded);
    HeapRelease(lengths);
    // Off the walk's chain of dependent steps, the roundings run side by side.
    if (done && rounded) out.GridRoundFrom(1, kGrid);
    return done;
}

}  // namespace inset
}  // namespace zed

int ZEDLL_STDCALL InsetPt(tagAPOINT* points, int count, tagAPOINT** result, float spacing) {
    if (result != nullptr) *result = nullptr;
    if (points == nullptr || result == nullptr || count < 2 || !(spacing > 0.0f) || !std::isfinite(spacing))
        return 0;
    const size_t n = static_cast<size_t>(count);
    if (n > SIZE_MAX / sizeof(tagAPOINT) - 2) return 0;
    // Working copies with two spare entries, as the result has; all written here, none cleared
    // first.
    float* x = static_cast<float*>(zed::HeapAllocScratch((n + 2) * sizeof(float)));
    float* y = static_cast<float*>(zed::HeapAllocScratch((n + 2) * sizeof(float)));
    uint8_t* mark = static_cast<uint8_t*>(zed::HeapAllocScratch(n + 2));
    int placed = 0;
    if (x != nullptr && y != nullptr && mark != nullptr) {
        for (size_t i = 0; i < n; ++i) {
            x[i] = points[i].x;
            y[i] = points[i].y;
            mark[i] = static_cast<uint8_t>(points[i].a.IsCorner());
        }
        x[n] = x[n + 1] = y[n] = y[n + 1] = 0.0f;
        mark[n] = mark[n + 1] = 0;
        zed::inset::PlacedPoints out;
        if (zed::inset::SpacingWalk(x, y, mark, count, spacing, out)) {
            const size_t m = out.Count();
            // Every byte written below: the points whole, the two zero points after them.
            tagAPOINT* array = static_cast<tagAPOINT*>(zed::HeapAllocScratch((m + 2) * sizeof(tagAPOINT)));
            if (array != nullptr) {
                // Code 1 and Draw (clear on the first point), all other attribute fields 0.
                ATR first, other;
                first.code = other.code = 1;
                other.flags = ATR::kDraw;
                out.CopyTo(array, other);
                if (m > 0) array[0].a = first;
                std::memset(static_cast<void*>(array + m), 0, 2 * sizeof(tagAPOINT));
                *result = array;
                placed = static_cast<int>(m);
            }
        }
    }
    zed::HeapRelease(x);
    zed::HeapRelease(y);
    zed::HeapRelease(mark);
    return placed;
}

int ZEDLL_STDCALL InsetPtFree(tagAPOINT** result) {
    if (result != nullptr && *result != nullptr) {
        zed::HeapRelease(*result);
        *result = nullptr;
    }
    return 0;
}
