// The natural cubic spline of one run on chord length, as batches over the run's segments: the
// kernel behind nunispl and NoUniformSpline.
#ifndef ZEDLL_CURVES_CHORD_SPLINE_H
#define ZEDLL_CURVES_CHORD_SPLINE_H

#include "zedll/points.h"

namespace zed {
namespace chord_spline {

/// The solver counts rows with a signed 16-bit index.
constexpr int kMaxRun = 32767;

/// Working arrays for runs of up to `capacity` points, all in one process-heap block
/// taken once and reused for every run. The caller fills x, y and atr with the run.
class RunScratch {
public:
    explicit RunScratch(int capacity);
    ~RunScratch();
    RunScratch(const RunScratch&) = delete;
    RunScratch& operator=(const RunScratch&) = delete;
    bool ok() const { return block_ != nullptr; }

    float* x = nullptr;
    float* y = nullptr;
    ATR* atr = nullptr;

private:
    friend void PrepareRun(RunScratch& s, int n);
    friend void SolveRuns(RunScratch& a, int na, RunScratch* b, int nb);
    template <class Point>
    friend void FinishRun(RunScratch& s, int n, int request, Point* out);
    void* block_ = nullptr;
    float* chord_ = nullptr;
    float* tx_ = nullptr;
    float* ty_ = nullptr;
    float* coef_ = nullptr;     // a1x a1y a2x a2y a3x a3y, one array of n each
    float* length_ = nullptr;   // arc length per segment
    double* inv_ = nullptr;     // 1 / chord in the tangent matrix
    double* w_ = nullptr;       // the eliminated diagonal
    double* rx_ = nullptr;      // right-hand sides, x and y
    double* ry_ = nullptr;
};

/// The three steps of SampleRun, for callers that solve two runs together: the per-segment
/// quantities; the tangent system of one run, or of two (`b` not null) in one loop, which keeps
/// two chains of dependent divisions in flight; the coefficients and the samples.
void PrepareRun(RunScratch& s, int n);
void SolveRuns(RunScratch& a, int na, RunScratch* b, int nb);
template <class Point>
void FinishRun(RunScratch& s, int n, int request, Point* out);

/// Samples the spline through the n (3 to capacity) points of `s`: request 0 gives 2n - 1 points
/// (the run's points and the curve at each chord's middle parameter), m >= 2 gives m points spaced
/// by equal arc length. `out` is zero-filled with room for them; z, where the point has one, and
/// points the walk does not reach are left as they are.
template <class Point>
void SampleRun(RunScratch& s, int n, int request, Point* out);

}  // namespace chord_spline
}  // namespace zed

#endif
