// Even point spacing along a polyline: the walk behind InsetPt, open to the tests.
#ifndef ZEDLL_CURVES_INSET_WALK_H
#define ZEDLL_CURVES_INSET_WALK_H

#include <cstddef>
#include <cstdint>

#include "zedll/points.h"

namespace zed {
namespace inset {

/// Every placed point but the first lies on this grid (rounding works in double).
constexpr double kGrid = 0.08;
/// A point this close to the corner that ends its segment moves onto it: five grid steps.
constexpr double kSnap = 5 * kGrid;
/// Initial room of the output and the step by which it grows, in points.
constexpr int kOutputStep = 3000;
/// Polylines longer than this many spacings (2^23) are refused: up to it a step is at least one
/// float unit of the remaining length, so every step shortens it.
constexpr double kMaxSpacings = 8388608.0;
/// Hard limit on placed points per call, whatever the input.
constexpr size_t kMaxPlaced = size_t{1} << 26;

/// `v` rounded to a multiple of `grid`, halves away from zero (in double, stored as float).
float GridRound(float v, double grid);
/// GridRound on `values[0..count-1]` in place, bit for bit, many at a time.
void GridRoundAll(float* values, size_t count, double grid);
/// The evened step for a length `rest` with base step `step`: rest / k, k = trunc(rest/step +
/// 0.6666667), at least 1.
float Evening(float rest, float step);

/// The process-wide output capacity: 3000 at the start of each walk, 3000 more at each growth.
int OutputCapacity();

/// Placed points, in blocks of 3000 that are never moved: growing costs no copying.
class PlacedPoints {
public:
    PlacedPoints() = default;
    ~PlacedPoints();
    PlacedPoints(const PlacedPoints&) = delete;
    PlacedPoints& operator=(const PlacedPoints&) = delete;

    /// Appends (x, y); false when memory or the point limit runs out. Inline while the current
    /// block has room, so that the walk keeps its registers across a placement.
    bool Add(float x, float y) {
        if (count_ < room_) {
            float* slot = open_ + 2 * (count_ - (room_ - kOutputStep));
            slot[0] = x;
            slot[1] = y;
            ++count_;
            return true;
        }
        return AddInNewBlock(x, y);
    }
    /// Rounds both coordinates of the points from `first` on to `grid` (GridRound).
    void GridRoundFrom(size_t first, double grid);
    /// Writes every point to `points[0..Count()-1]`, each with the attribute `a`.
    void CopyTo(tagAPOINT* points, const ATR& a) const;
    size_t Count() const { return count_; }
    float X(size_t i) const { return blocks_[i / kOutputStep][2 * (i % kOutputStep)]; }
    float Y(size_t i) const { return blocks_[i / kOutputStep][2 * (i % kOutputStep) + 1]; }

private:
    bool AddInNewBlock(float x, float y);

    float** blocks_ = nullptr;   // each block: kOutputStep interleaved x, y pairs
    size_t block_slots_ = 0;
    size_t blocks_used_ = 0;
    size_t count_ = 0;
    float* open_ = nullptr;      // the last block
    size_t room_ = 0;            // points that fit into the blocks so far
};

/// Lays the points along x[0..n-1], y[0..n-1] (n >= 2) with corner marks `mark` (1 = corner;
/// rewritten by the merge rule) at the base step `spacing` (> 0). False when the walk is refused
/// (too long for the spacing, no memory); `out` then holds a partial result to be discarded.
bool SpacingWalk(const float* x, const float* y, uint8_t* mark, int n, float spacing, PlacedPoints& out);

}  // namespace inset
}  // namespace zed

#endif
