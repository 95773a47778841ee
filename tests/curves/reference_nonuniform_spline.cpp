// Frozen plain nunispl and NoUniformSpline: natural cubic splines on chord length, run by run.
#include <climits>
#include <cstddef>

#include "geometry/float_math.h"
#include "reference_curves.h"

namespace zedtest {
namespace reference {
namespace {

constexpr int kMaxRun = 32767;
constexpr double kTinyChord = 0.000001;
constexpr int kCapacityPerPoint = 20;

float Chord(const tagA3POINT& a, const tagA3POINT& b) {
    tagAPOINT pa(a.x, a.y), pb(b.x, b.y);
    return DistancePoints(&pa, &pb);
}

struct Segment {
    float a0x, a0y, a1x, a1y, a2x, a2y, a3x, a3y;
    float chord;
    float length;

    void At(float s, float& x, float& y) const {
        const float s2 = s * s;
        const float s3 = s2 * s;
        x = a0x + a1x * s + a2x * s2 + a3x * s3;
        y = a0y + a1y * s + a2y * s2 + a3y * s3;
    }
    float Speed(float s) const {
        const float s2 = s * s;
        return zed::HypotF(a1x + 2.0f * a2x * s + 3.0f * a3x * s2, a1y + 2.0f * a2y * s + 3.0f * a3y * s2);
    }
};

double OverChord(double numerator, double chord) { return chord > 0 ? numerator / chord : 0.0; }
double OverChordSquared(double numerator, double chord) {
    return chord > 0 ? numerator / (chord * chord) : 0.0;
}

void SolveTangents(const tagA3POINT* p, int n, const float* chord, bool use_y, const double* lower,
                   const double* diag, const double* upper, double* w, double* r, float* tangent) {
    auto coord = [use_y, p](int k) { return static_cast<double>(use_y ? p[k].y : p[k].x); };
    w[0] = diag[0];
    r[0] = OverChord(3.0 * (coord(1) - coord(0)), chord[0]);
    for (int i = 1; i < n; ++i) {
        double rhs;
        if (i < n - 1) {
            rhs = 3.0 * (OverChordSquared(coord(i + 1) - coord(i), chord[i]) +
                         OverChordSquared(coord(i) - coord(i - 1), chord[i - 1]));
        } else {
            rhs = OverChord(3.0 * (coord(n - 1) - coord(n - 2)), chord[n - 2]);
        }
        w[i] = diag[i] - lower[i] * upper[i - 1] / w[i - 1];
        r[i] = rhs - lower[i] * r[i - 1] / w[i - 1];
    }
    tangent[n - 1] = static_cast<float>(r[n - 1] / w[n - 1]);
    for (int i = n - 2; i >= 0; --i) {
        tangent[i] = static_cast<float>((r[i] - upper[i] * static_cast<double>(tangent[i + 1])) / w[i]);
    }
}

float Simpson8(const Segment& s) {
    const float h = s.chord / 8.0f;
    return h / 3.0f *
           (s.Speed(0.0f) + s.Speed(s.chord) +
            4.0f * (s.Speed(h) + s.Speed(3.0f * h) + s.Speed(5.0f * h) + s.Speed(7.0f * h)) +
            2.0f * (s.Speed(2.0f * h) + s.Speed(4.0f * h) + s.Speed(6.0f * h)));
}

tagA3POINT Flat(float x, float y, const ATR& a) { return tagA3POINT(x, y, 0.0f, a); }

}  // namespace

Result<tagA3POINT> Nunispl(const tagA3POINT* points, int n, int request) {
    Result<tagA3POINT> result;
    if (points == nullptr) return result;
    if (n < 3 || n > kMaxRun || request < 0 || request == 1) return result;
    const int segments = n - 1;
    const int count = request != 0 ? request : 2 * n - 1;

    std::vector<double> system(6 * static_cast<size_t>(n));
    std::vector<float> floats(3 * static_cast<size_t>(n));
    std::vector<Segment> segs(static_cast<size_t>(segments));
    result.block.assign(static_cast<size_t>(count) + 1, tagA3POINT());
    double* lower = system.data();
    double* diag = lower + n;
    double* upper = diag + n;
    double* w = upper + n;
    double* rx = w + n;
    double* ry = rx + n;
    float* chord = floats.data();
    float* tx = chord + n;
    float* ty = tx + n;

    for (int i = 0; i < segments; ++i) chord[i] = Chord(points[i], points[i + 1]);

    diag[0] = 2.0;
    upper[0] = 1.0;
    lower[n - 1] = 1.0;
    diag[n - 1] = 2.0;
    for (int k = 1; k < n - 1; ++k) {
        const double l1 = chord[k - 1] > 0 ? chord[k - 1] : kTinyChord;
        const double l2 = chord[k] > 0 ? chord[k] : kTinyChord;
        lower[k] = 1.0 / l1;
        upper[k] = 1.0 / l2;
        diag[k] = 2.0 * (1.0 / l1 + 1.0 / l2);
    }
    SolveTangents(points, n, chord, false, lower, diag, upper, w, rx, tx);
    SolveTangents(points, n, chord, true, lower, diag, upper, w, ry, ty);

    Segment* seg = segs.data();
    float total = 0.0f;
    for (int i = 0; i < segments; ++i) {
        Segment& s = seg[i];
        const float l = chord[i];
        s.a0x = points[i].x;
        s.a0y = points[i].y;
        s.chord = l;
        if (!(l > 0)) {
            s.a1x = s.a1y = s.a2x = s.a2y = s.a3x = s.a3y = 0.0f;
            s.length = 0.0f;
            continue;
        }
        const float dx = points[i + 1].x - points[i].x;
        const float dy = points[i + 1].y - points[i].y;
        s.a1x = tx[i];
        s.a1y = ty[i];
        s.a2x = 3.0f * dx / (l * l) - (2.0f * tx[i] + tx[i + 1]) / l;
        s.a2y = 3.0f * dy / (l * l) - (2.0f * ty[i] + ty[i + 1]) / l;
        s.a3x = 2.0f * (points[i].x - points[i + 1].x) / (l * l * l) + (tx[i] + tx[i + 1]) / (l * l);
        s.a3y = 2.0f * (points[i].y - points[i + 1].y) / (l * l * l) + (ty[i] + ty[i + 1]) / (l * l);
        s.length = Simpson8(s);
        total += s.length;
    }

    tagA3POINT* o = result.block.data();
    if (request == 0) {
        for (int i = 0; i < segments; ++i) {
            float x, y;
            seg[i].At(seg[i].chord / 2.0f, x, y);
            o[2 * i] = Flat(points[i].x, points[i].y, points[i].a);
            o[2 * i + 1] = Flat(x, y, points[i].a);
        }
        o[2 * n - 2] = Flat(points[n - 1].x, points[n - 1].y, points[n - 1].a);
        o[1].a = points[1].a;
    } else {
        const float step = total / static_cast<float>(request - 1);
        o[0] = Flat(points[0].x, points[0].y, points[0].a);
        o[request - 1] = Flat(points[n - 1].x, points[n - 1].y, points[n - 1].a);
        const int samples = request - 2;
        int written = 0;
        float d = step;
        for (int i = 0; i < segments && written < samples; ++i) {
            const float len = seg[i].length;
            if (len > 0) {
                while (written < samples && d <= len) {
                    float x, y;
                    seg[i].At(d * seg[i].chord / len, x, y);
                    o[1 + written++] = Flat(x, y, points[1].a);
                    d += step;
                }
            }
            d -= len;
        }
    }
    result.null = false;
    result.count = count;
    return result;
}

Result<tagAPOINT> NoUniformSpline(const tagAPOINT* points, int n, int request) {
    Result<tagAPOINT> result;
    if (points == nullptr || n < 0 || n > INT_MAX / kCapacityPerPoint) return result;
    const int capacity = kCapacityPerPoint * n;
    std::vector<tagA3POINT> run_block(n < kMaxRun ? n : kMaxRun);
    result.block.assign(static_cast<size_t>(capacity), tagAPOINT());
    tagA3POINT* run = run_block.data();
    tagAPOINT* out = result.block.data();

    int written = 0;
    int r = 0;
    auto emit = [&](float x, float y, const ATR& a) {
        if (written < capacity) out[written++] = tagAPOINT(x, y, a);
    };
    auto close_run = [&]() {
        if (r < 3) {
            for (int k = 0; k < r; ++k) emit(run[k].x, run[k].y, run[k].a);
        } else {
            const int q = request == n ? r : request;
            const long long expected = q == 0 ? 2LL * r - 1 : q;
            if (expected <= capacity - written) {
                const Result<tagA3POINT> samples = Nunispl(run, r, q);
                if (!samples.null) {
                    for (int k = 0; k < samples.count; ++k)
                        emit(samples.block[k].x, samples.block[k].y, samples.block[k].a);
                }
            }
        }
        r = 0;
    };
    auto append = [&](const tagAPOINT& p) {
        ATR a = p.a;
        a.SetSpline(0);
        run[r++] = tagA3POINT(p.x, p.y, 0.0f, a);
    };

    for (int i = 0; i < n; ++i) {
        const tagAPOINT& p = points[i];
        if (!p.a.IsCorner()) {
            if (r > 0 && p.x == run[r - 1].x && p.y == run[r - 1].y) continue;
            append(p);
            if (r == kMaxRun) close_run();
        } else if (r == 0) {
            ATR a = p.a;
            a.SetSpline(0);
            emit(p.x, p.y, a);
        } else {
            append(p);
            close_run();
        }
    }
    if (r > 0) close_run();

    result.null = false;
    result.count = written;
    return result;
}

}  // namespace reference
}  // namespace zedtest
