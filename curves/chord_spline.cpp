// The natural cubic spline of one run on chord length. Each step is a loop over the whole run, so
// that the independent per-segment work (square roots, float divisions) runs in vector registers,
// and only the two Thomas recurrences are serial. Every value is computed by the same operations
// in the same order as the step-by-step form; the loops only change what runs side by side.
#include "curves/chord_spline.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "os/heap.h"

namespace zed {
namespace chord_spline {
namespace {

// Stands in for a chord of length 0 or less in the tangent matrix.
constexpr double kTinyChord = 0.000001;

// x and y of the tangent solve in one register: element-wise IEEE operations, the same as two
// scalar ones.
typedef double Pair __attribute__((vector_size(16)));
typedef float PairF __attribute__((vector_size(8)));

// Plane distance as DistancePoints measures it: in double, rounded to float.
inline float Hypot(float dx, float dy) {
    const double a = dx, b = dy;
    return static_cast<float>(std::sqrt(a * a + b * b));
}

// Speed |A1 + 2 A2 s + 3 A3 s^2| of a segment at s.
inline float Speed(float a1x, float a1y, float a2x, float a2y, float a3x, float a3y, float s) {
    const float s2 = s * s;
    return Hypot(a1x + 2.0f * a2x * s + 3.0f * a3x * s2, a1y + 2.0f * a2y * s + 3.0f * a3y * s2);
}

// v where the mask is all ones, +0 where it is 0: a select the vectoriser takes without branches.
inline float KeepIf(float v, uint32_t mask) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    bits &= mask;
    float kept;
    std::memcpy(&kept, &bits, sizeof kept);
    return kept;
}

// Each batch loop in a function of its own with restrict-qualified arrays (all distinct), which
// the vectoriser needs to take it.
void Coefficients(int segments, const float* __restrict chord, const float* __restrict x,
                  const float* __restrict y, const float* __restrict tx, const float* __restrict ty,
                  float* __restrict a1x, float* __restrict a1y, float* __restrict a2x,
                  float* __restrict a2y, float* __restrict a3x, float* __restrict a3y) {
    for (int i = 0; i < segments; ++i) {
        const float l = chord[i];
        const float x0 = x[i], x1 = x[i + 1], y0 = y[i], y1 = y[i + 1];
        const float tx0 = tx[i], tx1 = tx[i + 1], ty0 = ty[i], ty1 = ty[i + 1];
        const float dx = x1 - x0;
        const float dy = y1 - y0;
        const float c2x = 3.0f * dx / (l * l) - (2.0f * tx0 + tx1) / l;
        const float c2y = 3.0f * dy / (l * l) - (2.0f * ty0 + ty1) / l;
        const float c3x = 2.0f * (x0 - x1) / (l * l * l) + (tx0 + tx1) / (l * l);
        const float c3y = 2.0f * (y0 - y1) / (l * l * l) + (ty0 + ty1) / (l * l);
        const uint32_t real = l > 0 ? ~0u : 0u;
        a1x[i] = KeepIf(tx0, real);
        a1y[i] = KeepIf(ty0, real);
        a2x[i] = KeepIf(c2x, real);
        a2y[i] = KeepIf(c2y, real);
        a3x[i] = KeepIf(c3x, real);
        a3y[i] = KeepIf(c3y, real);
    }
}

// One coordinate of the curve at each chord's middle parameter: A0 + A1 s + A2 s^2 + A3 s^3.
void Midpoints(int segments, const float* __restrict chord, const float* __restrict a0,
               const float* __restrict a1, const float* __restrict a2, const float* __restrict a3,
               float* __restrict m) {
    for (int i = 0; i < segments; ++i) {
        const float t = chord[i] / 2.0f;
        const float t2 = t * t;
        const float t3 = t2 * t;
        m[i] = a0[i] + a1[i] * t + a2[i] * t2 + a3[i] * t3;
    }
}

inline void Put(tagAPOINT& o, float x, float y, const ATR& a) {
    o.x = x;
    o.y = y;
    o.a = a;
}
// z stays as the zero-filled block has it.
inline void Put(tagA3POINT& o, float x, float y, const ATR& a) {
    o.x = x;
    o.y = y;
    o.a = a;
}

}  // namespace

RunScratch::RunScratch(int capacity) {
    const size_t c = capacity > 0 ? static_cast<size_t>(capacity) : 1;
    // Doubles first, then floats, then the 5-byte attributes: every array stays aligned.
    const size_t doubles = 4 * c, floats = 12 * c;
    // Each array is written before it is read: no clearing.
    block_ = HeapAllocScratch(doubles * sizeof(double) + floats * sizeof(float) + c * sizeof(ATR));
    if (block_ == nullptr) return;
    double* d = static_cast<double*>(block_);
    inv_ = d;
    w_ = d + c;
    rx_ = d + 2 * c;
    ry_ = d + 3 * c;
    float* f = reinterpret_cast<float*>(d + doubles);
    x = f;
    y = f + c;
    chord_ = f + 2 * c;
    tx_ = f + 3 * c;
    ty_ = f + 4 * c;
    length_ = f + 5 * c;
    coef_ = f + 6 * c;   // six arrays of c
    atr = reinterpret_cast<ATR*>(f + floats);
}

RunScratch::~RunScratch() { HeapRelease(block_); }

// Chords, the matrix's reciprocals and the quotients of the right-hand side: independent per
// segment. A chord of 0 adds nothing to the right-hand side (its difference is 0 too), which keeps
// a corner that repeats its predecessor from poisoning the whole run.
void PrepareRun(RunScratch& s, int n) {
    const float* x = s.x;
    const float* y = s.y;
    float* chord = s.chord_;
    double* inv = s.inv_;
    double* rx = s.rx_;
    double* ry = s.ry_;
    for (int i = 0; i < n - 1; ++i) {
        const float l = Hypot(x[i + 1] - x[i], y[i + 1] - y[i]);
        chord[i] = l;
        const double lm = l > 0 ? l : kTinyChord;
        inv[i] = 1.0 / lm;
        const double ld = l;
        const double qx = (static_cast<double>(x[i + 1]) - static_cast<double>(x[i])) / (ld * ld);
        const double qy = (static_cast<double>(y[i + 1]) - static_cast<double>(y[i])) / (ld * ld);
        rx[i] = l > 0 ? qx : 0.0;
        ry[i] = l > 0 ? qy : 0.0;
    }
}

namespace {

// Forward elimination of one run, row by row, x and y side by side in one register pair (each lane
// computes exactly what the scalar form does); the eliminated diagonal is the same for both. Row
// i's right-hand side 3 ((P[i+1] - P[i]) / L[i]^2 + (P[i] - P[i-1]) / L[i-1]^2) reuses the
// quotient of the row before; rx/ry hold the quotients until the row overwrites them.
class Forward {
public:
    Forward(int n, const float* x, const float* y, const float* chord, const double* inv,
            double* w, double* rx, double* ry)
        : x_(x), y_(y), chord_(chord), inv_(inv), w_(w), rx_(rx), ry_(ry), n_(n) {
        const double l0 = chord[0];
        q_prev_ = Pair{rx[0], ry[0]};
        w[0] = 2.0;
        rx[0] = chord[0] > 0 ? 3.0 * (static_cast<double>(x[1]) - static_cast<double>(x[0])) / l0 : 0.0;
        ry[0] = chord[0] > 0 ? 3.0 * (static_cast<double>(y[1]) - static_cast<double>(y[0])) / l0 : 0.0;
        r_prev_ = Pair{rx[0], ry[0]};
    }
    // Interior row i, 1 <= i <= n - 2.
    void Row(int i) {
        const double lower = inv_[i - 1];
        const double diag = 2.0 * (inv_[i - 1] + inv_[i]);
        const Pair q = {rx_[i], ry_[i]};
        const Pair rhs = 3.0 * (q + q_prev_);
        q_prev_ = q;
        const Pair r = rhs - lower * r_prev_ / w_prev_;
        w_prev_ = w_[i] = diag - lower * upper_prev_ / w_prev_;
        rx_[i] = r[0];
        ry_[i] = r[1];
        r_prev_ = r;
        upper_prev_ = inv_[i];
    }
    // The natural end, row n - 1.
    void Last() {
        const int k = n_ - 1;
        const double lk = chord_[k - 1];
        const double rhs_x = chord_[k - 1] > 0 ? 3.0 * (static_cast<double>(x_[k]) - static_cast<double>(x_[k - 1])) / lk : 0.0;
        const double rhs_y = chord_[k - 1] > 0 ? 3.0 * (static_cast<double>(y_[k]) - static_cast<double>(y_[k - 1])) / lk : 0.0;
        const Pair rhs = {rhs_x, rhs_y};
        const Pair r = rhs - 1.0 * r_prev_ / w_prev_;
        w_[k] = 2.0 - 1.0 * upper_prev_ / w_prev_;
        rx_[k] = r[0];
        ry_[k] = r[1];
    }

private:
    const float* x_;
    const float* y_;
    const float* chord_;
    const double* inv_;
    double* w_;
    double* rx_;
    double* ry_;
    int n_;
    Pair q_prev_, r_prev_;
    double w_prev_ = 2.0, upper_prev_ = 1.0;
};

// Back substitution of one run, row by row from n - 2 down to 0, the pair again; the tangents are
// kept as floats, each read back as stored for the next.
class Back {
public:
    Back(int n, const double* inv, const double* w, const double* rx, const double* ry, float* tx, float* ty)
        : inv_(inv), w_(w), rx_(rx), ry_(ry), tx_(tx), ty_(ty) {
        const Pair last = {rx[n - 1], ry[n - 1]};
        t_ = __builtin_convertvector(last / w[n - 1], PairF);
        tx[n - 1] = t_[0];
        ty[n - 1] = t_[1];
    }
    void Row(int i) {
        const double upper = i == 0 ? 1.0 : inv_[i];
        const Pair r = {rx_[i], ry_[i]};
        t_ = __builtin_convertvector((r - upper * __builtin_convertvector(t_, Pair)) / w_[i], PairF);
        tx_[i] = t_[0];
        ty_[i] = t_[1];
    }

private:
    const double* inv_;
    const double* w_;
    const double* rx_;
    const double* ry_;
    float* tx_;
    float* ty_;
    PairF t_;
};

}  // namespace

// Both recurrences are chains of dependent divisions; two runs solved in one loop keep two chains
// in flight, which the processor overlaps.
void SolveRuns(RunScratch& a, int na, RunScratch* b, int nb) {
    Forward fa(na, a.x, a.y, a.chord_, a.inv_, a.w_, a.rx_, a.ry_);
    if (b == nullptr) {
        for (int i = 1; i < na - 1; ++i) fa.Row(i);
        fa.Last();
        Back ba(na, a.inv_, a.w_, a.rx_, a.ry_, a.tx_, a.ty_);
        for (int i = na - 2; i >= 0; --i) ba.Row(i);
        return;
    }
    Forward fb(nb, b->x, b->y, b->chord_, b->inv_, b->w_, b->rx_, b->ry_);
    const int both = (na < nb ? na : nb) - 1;   // interior rows 1 .. both - 1 of each
    for (int i = 1; i < both; ++i) {
        fa.Row(i);
        fb.Row(i);
    }
    for (int i = both; i < na - 1; ++i) fa.Row(i);
    for (int i = both; i < nb - 1; ++i) fb.Row(i);
    fa.Last();
    fb.Last();
    Back ba(na, a.inv_, a.w_, a.rx_, a.ry_, a.tx_, a.ty_);
    Back bb(nb, b->inv_, b->w_, b->rx_, b->ry_, b->tx_, b->ty_);
    // The longer run's top rows alone, then both down to row 0.
    int ia = na - 2, ib = nb - 2;
    for (; ia > ib; --ia) ba.Row(ia);
    for (; ib > ia; --ib) bb.Row(ib);
    for (; ia >= 0; --ia, --ib) {
        ba.Row(ia);
        bb.Row(ib);
    }
}

template <class Point>
void SampleRun(RunScratch& s, int n, int request, Point* out) {
    PrepareRun(s, n);
    SolveRuns(s, n, nullptr, 0);
    FinishRun(s, n, request, out);
}

template <class Point>
void FinishRun(RunScratch& s, int n, int request, Point* out) {
    const float* x = s.x;
    const float* y = s.y;
    const ATR* atr = s.atr;
    float* chord = s.chord_;
    float* tx = s.tx_;
    float* ty = s.ty_;
    const int segments = n - 1;

    // Coefficients per segment; a chord of 0 leaves the segment its start point.
    const size_t c = static_cast<size_t>(segments);
    float* a1x = s.coef_;
    float* a1y = a1x + c;
    float* a2x = a1y + c;
    float* a2y = a2x + c;
    float* a3x = a2y + c;
    float* a3y = a3x + c;
    Coefficients(segments, chord, x, y, tx, ty, a1x, a1y, a2x, a2y, a3x, a3y);

    auto at = [&](int i, float t, float& px, float& py) {
        const float t2 = t * t;
        const float t3 = t2 * t;
        px = x[i] + a1x[i] * t + a2x[i] * t2 + a3x[i] * t3;
        py = y[i] + a1y[i] * t + a2y[i] * t2 + a3y[i] * t3;
    };

    if (request == 0) {
        // Two samples per segment: the run point and the curve at the chord's middle parameter.
        // The curve first, in vector registers (the arc-length and right-hand-side arrays are
        // free by now), then the points, which are packed and go one by one.
        float* mx = s.length_;
        float* my = reinterpret_cast<float*>(s.rx_);
        Midpoints(segments, chord, x, a1x, a2x, a3x, mx);
        Midpoints(segments, chord, y, a1y, a2y, a3y, my);
        for (int i = 0; i < segments; ++i) {
            Put(out[2 * i], x[i], y[i], atr[i]);
            Put(out[2 * i + 1], mx[i], my[i], atr[i]);
        }
        Put(out[2 * n - 2], x[n - 1], y[n - 1], atr[n - 1]);
        out[1].a = atr[1];
        return;
    }

    // Arc lengths by Simpson's rule with 8 steps, all segments side by side.
    float* length = s.length_;
    for (int i = 0; i < segments; ++i) {
        const float l = chord[i];
        const float h = l / 8.0f;
        const float b1x = a1x[i], b1y = a1y[i], b2x = a2x[i], b2y = a2y[i], b3x = a3x[i], b3y = a3y[i];
        const float f0 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 0.0f);
        const float fl = Speed(b1x, b1y, b2x, b2y, b3x, b3y, l);
        const float f1 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, h);
        const float f3 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 3.0f * h);
        const float f5 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 5.0f * h);
        const float f7 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 7.0f * h);
        const float f2 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 2.0f * h);
        const float f4 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 4.0f * h);
        const float f6 = Speed(b1x, b1y, b2x, b2y, b3x, b3y, 6.0f * h);
        const float len = h / 3.0f * (f0 + fl + 4.0f * (f1 + f3 + f5 + f7) + 2.0f * (f2 + f4 + f6));
        length[i] = l > 0 ? len : 0.0f;
    }
    // The run's total over the segments whose chord is greater than 0, in order.
    float total = 0.0f;
    for (int i = 0; i < segments; ++i) {
        if (chord[i] > 0) total += length[i];
    }

    // Even spacing by arc length, linear in the parameter within a segment.
    const float step = total / static_cast<float>(request - 1);
    Put(out[0], x[0], y[0], atr[0]);
    Put(out[request - 1], x[n - 1], y[n - 1], atr[n - 1]);
    const int samples = request - 2;
    int written = 0;
    float d = step;   // arc length of the next sample beyond the current segment's start
    for (int i = 0; i < segments && written < samples; ++i) {
        const float len = length[i];
        if (len > 0) {
            while (written < samples && d <= len) {
                float px, py;
                at(i, d * chord[i] / len, px, py);
                Put(out[1 + written++], px, py, atr[1]);
                d += step;
            }
        }
        d -= len;
    }
}

template void SampleRun<tagAPOINT>(RunScratch& s, int n, int request, tagAPOINT* out);
template void SampleRun<tagA3POINT>(RunScratch& s, int n, int request, tagA3POINT* out);
template void FinishRun<tagAPOINT>(RunScratch& s, int n, int request, tagAPOINT* out);
template void FinishRun<tagA3POINT>(RunScratch& s, int n, int request, tagA3POINT* out);

}  // namespace chord_spline
}  // namespace zed
