// CLS_Spline::nunispl and NoUniformSpline against an independent natural cubic spline on
// cumulative chord length, their sampling modes, run splitting and limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "curve_test_util.h"
#include "curves/shared_array.h"
#include "os/heap.h"
#include "tests/support/guarded_buffer.h"
#include "zedll.h"

namespace {

using zedtest::Pt;

// Natural cubic spline of one coordinate over knots t, by second derivatives (moments) M with
// M0 = M(n-1) = 0, solved by dense Gaussian elimination with partial pivoting, all in double.
class Reference {
public:
    Reference(const std::vector<double>& t, const std::vector<double>& y) : t_(t), y_(y), m_(t.size(), 0.0) {
        const size_t n = t.size(), k = n < 3 ? 0 : n - 2;   // unknowns M1 .. M(n-2)
        std::vector<std::vector<double>> a(k, std::vector<double>(k + 1, 0.0));
        for (size_t i = 1; i <= k; ++i) {
            const double h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
            auto& row = a[i - 1];
            if (i > 1) row[i - 2] = h0;
            row[i - 1] = 2 * (h0 + h1);
            if (i < k) row[i] = h1;
            row[k] = 6 * ((y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0);
        }
        for (size_t c = 0; c < k; ++c) {
            size_t pivot = c;
            for (size_t r = c + 1; r < k; ++r)
                if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
            std::swap(a[c], a[pivot]);
            for (size_t r = c + 1; r < k; ++r) {
                const double f = a[r][c] / a[c][c];
                for (size_t j = c; j <= k; ++j) a[r][j] -= f * a[c][j];
            }
        }
        for (size_t c = k; c-- > 0;) {
            double s = a[c][k];
            for (size_t j = c + 1; j < k; ++j) s -= a[c][j] * m_[j + 1];
            m_[c + 1] = s / a[c][c];
        }
    }
    // The spline at parameter u within segment i.
    double At(size_t i, double u) const {
        const double h = t_[i + 1] - t_[i], a = t_[i + 1] - u, b = u - t_[i];
        return m_[i] * a * a * a / (6 * h) + m_[i + 1] * b * b * b / (6 * h) + (y_[i] / h - m_[i] * h / 6) * a +
               (y_[i + 1] / h - m_[i + 1] * h / 6) * b;
    }

private:
    std::vector<double> t_, y_, m_;
};

struct ReferenceCurve {
    std::vector<double> t;
    Reference x, y;
    static ReferenceCurve Of(const std::vector<tagA3POINT>& p) {
        std::vector<double> t{0.0}, xs{+p[0].x}, ys{+p[0].y};
        for (size_t i = 1; i < p.size(); ++i) {
            t.push_back(t.back() + std::hypot(double(p[i].x) - p[i - 1].x, double(p[i].y) - p[i - 1].y));
            xs.push_back(+p[i].x);
            ys.push_back(+p[i].y);
        }
        return ReferenceCurve{t, Reference(t, xs), Reference(t, ys)};
    }
    // Arc length of segment i, by 4000 fine chords.
    double SegmentArc(size_t i) const {
        double len = 0, px = x.At(i, t[i]), py = y.At(i, t[i]);
        for (int j = 1; j <= 4000; ++j) {
            const double u = t[i] + (t[i + 1] - t[i]) * j / 4000, qx = x.At(i, u), qy = y.At(i, u);
            len += std::hypot(qx - px, qy - py);
            px = qx;
            py = qy;
        }
        return len;
    }
};

std::vector<tagA3POINT> To3(const std::vector<tagAPOINT>& v) {
    std::vector<tagA3POINT> out;
    for (const auto& p : v) out.push_back(tagA3POINT(p.x, p.y, 7.0f, p.a));
    return out;
}

// Request zero: each run point bit for bit, then the midpoint of the segment in parameter; z is
// zero and the point after the end is zero-filled. Midpoints carry the attribute of the segment's
// start, the first one P1's.
TEST(Nunispl, MidpointsAgreeWithAnIndependentNaturalSpline) {
    std::mt19937 rng(11);
    for (int round = 0; round < 60; ++round) {
        const int n = 3 + round % 40;
        std::vector<tagA3POINT> p = To3(zedtest::RandomPolyline(rng, n, 80));
        for (int i = 0; i < n; ++i) p[i].a.code = static_cast<uint16_t>(100 + i);
        CLS_Spline spline;
        int count = 0;
        tagA3POINT* out = nullptr;
        ASSERT_EQ(spline.nunispl(p.data(), n, &count, &out, 0), 1);
        ASSERT_EQ(count, 2 * n - 1);
        const ReferenceCurve ref = ReferenceCurve::Of(p);
        double scale = 1;
        for (const auto& q : p) scale = std::max({scale, std::fabs(double(q.x)), std::fabs(double(q.y))});
        for (int i = 0; i + 1 < n; ++i) {
            EXPECT_EQ(+out[2 * i].x, +p[i].x);
            EXPECT_EQ(+out[2 * i].y, +p[i].y);
            EXPECT_EQ(+out[2 * i].a.code, 100 + i);
            EXPECT_EQ(+out[2 * i + 1].a.code, 100 + std::max(i, 1));
            const double u = (ref.t[i] + ref.t[i + 1]) / 2;
            EXPECT_NEAR(+out[2 * i + 1].x, +ref.x.At(i, u), 2e-6 * scale) << "round " << round << " segment " << i;
            EXPECT_NEAR(+out[2 * i + 1].y, +ref.y.At(i, u), 2e-6 * scale) << "round " << round << " segment " << i;
            EXPECT_EQ(+out[2 * i + 1].z, 0.0f);
            EXPECT_EQ(+out[2 * i].z, 0.0f);
        }
        EXPECT_EQ(+out[2 * n - 2].x, +p[n - 1].x);
        EXPECT_EQ(+out[2 * n - 1].x, 0.0f);
        zed::HeapRelease(out);
    }
}

// Where the samples of request m belong: at multiples of total / (m - 1) of arc length (the
// reference's own, by fine integration), with the parameter linear in arc length within a segment.
TEST(Nunispl, EvenArcLengthSamplesFollowTheReference) {
    std::mt19937 rng(5);
    for (int round = 0; round < 20; ++round) {
        const int n = 4 + round % 9;
        std::vector<tagA3POINT> p = To3(zedtest::RandomPolyline(rng, n, 60));
        for (int i = 0; i < n; ++i) p[i].a.code = static_cast<uint16_t>(i + 1);
        const int m = 5 + round * 3;
        CLS_Spline spline;
        int count = 0;
        tagA3POINT* out = nullptr;
        ASSERT_EQ(spline.nunispl(p.data(), n, &count, &out, m), 1);
        ASSERT_EQ(count, m);
        EXPECT_EQ(+out[0].x, +p[0].x);
        EXPECT_EQ(+out[0].y, +p[0].y);
        EXPECT_EQ(+out[m - 1].x, +p[n - 1].x);
        EXPECT_EQ(+out[m - 1].y, +p[n - 1].y);
        EXPECT_EQ(+out[0].a.code, 1);
        EXPECT_EQ(+out[m - 1].a.code, n);
        const ReferenceCurve ref = ReferenceCurve::Of(p);
        std::vector<double> len;   // arc length of each segment
        double total = 0;
        for (int i = 0; i + 1 < n; ++i) {
            len.push_back(ref.SegmentArc(i));
            total += len.back();
        }
        const double step = total / (m - 1);
        for (int k = 1; k < m - 1; ++k) {
            EXPECT_EQ(+out[k].a.code, 2) << "samples carry P1's attribute";
            double d = k * step;
            int i = 0;
            while (i < n - 2 && d > len[i]) d -= len[i++];
            const double u = ref.t[i] + d * (ref.t[i + 1] - ref.t[i]) / len[i];
            EXPECT_NEAR(out[k].x, ref.x.At(i, u), 1e-2 * step) << "round " << round << " sample " << k;
            EXPECT_NEAR(out[k].y, ref.y.At(i, u), 1e-2 * step) << "round " << round << " sample " << k;
        }
        zed::HeapRelease(out);
    }
}

TEST(Nunispl, RefusesWithoutWritingAnything) {
    std::vector<tagA3POINT> p(40000);
    for (int i = 0; i < 40000; ++i) p[i] = tagA3POINT(static_cast<float>(i), static_cast<float>(i % 7), 0, ATR());
    CLS_Spline spline;
    struct Case { int n, request; };
    for (const Case& c : {Case{2, 0}, Case{0, 0}, Case{-5, 0}, Case{32768, 0}, Case{40000, 0}, Case{5, 1},
                          Case{5, -1}, Case{5, -2147483647 - 1}}) {
        int count = -77;
        tagA3POINT* sentinel = reinterpret_cast<tagA3POINT*>(uintptr_t{0xdeadbeef});
        tagA3POINT* out = sentinel;
        EXPECT_EQ(spline.nunispl(p.data(), c.n, &count, &out, c.request), -1) << c.n << " " << c.request;
        EXPECT_EQ(count, -77);
        EXPECT_EQ(out, sentinel);
    }
    int count = 0;
    tagA3POINT* out = nullptr;
    EXPECT_EQ(spline.nunispl(nullptr, 5, &count, &out, 0), -1);
    EXPECT_EQ(spline.nunispl(p.data(), 5, nullptr, &out, 0), -1);
    EXPECT_EQ(spline.nunispl(p.data(), 5, &count, nullptr, 0), -1);
    // The longest run the solver takes.
    ASSERT_EQ(spline.nunispl(p.data(), 32767, &count, &out, 0), 1);
    EXPECT_EQ(count, 2 * 32767 - 1);
    EXPECT_EQ(+out[count - 1].x, 32766.0f);
    zed::HeapRelease(out);
}

// nunispl: every refused allocation writes nothing and leaks nothing. NoUniformSpline: a refused
// run buffer releases the plane array; a failing nunispl inside drops only that run.
TEST(Nunispl, FailedAllocationsWriteNothingAndLeakNothing) {
    std::vector<tagA3POINT> p = To3({Pt(0, 0), Pt(10, 5), Pt(20, 0), Pt(30, 8)});
    CLS_Spline spline;
    // However many blocks a call takes, refusing any one of them fails the whole call.
    zed::heap_testing::Reset();
    int needed_count = 0;
    tagA3POINT* needed_out = nullptr;
    ASSERT_EQ(spline.nunispl(p.data(), 4, &needed_count, &needed_out, 9), 1);
    const long needed = zed::heap_testing::Attempts();
    zed::HeapRelease(needed_out);
    ASSERT_GE(needed, 1);
    for (long allowed = 0; allowed <= needed; ++allowed) {
        int count = -77;
        tagA3POINT* out = nullptr;
        zed::heap_testing::FailAfter(allowed);
        EXPECT_EQ(spline.nunispl(p.data(), 4, &count, &out, 9), allowed < needed ? -1 : 1) << allowed;
        zed::heap_testing::Reset();
        if (allowed == needed) {
            zed::HeapRelease(out);
        } else {
            EXPECT_TRUE(count == -77 && out == nullptr) << allowed;
        }
    }
    std::vector<tagAPOINT> q;
    for (int i = 0; i < 8; ++i) q.push_back(Pt(static_cast<float>(i * 3), static_cast<float>(i % 3)));
    int count = -1;
    zed::heap_testing::Reset();
    ASSERT_NE(spline.NoUniformSpline(q.data(), 8, &count, 0), nullptr);
    const long working = zed::heap_testing::Attempts();   // its working blocks, all taken up front
    ASSERT_GE(working, 1);
    for (long allowed = 0; allowed < working + 3; ++allowed) {
        zed::heap_testing::FailAfter(allowed);
        tagAPOINT* out = spline.NoUniformSpline(q.data(), 8, &count, 0);
        zed::heap_testing::Reset();
        EXPECT_EQ(out == nullptr, allowed < working) << allowed;
        EXPECT_EQ(count, out == nullptr ? 0 : 15) << allowed;
    }
}

TEST(NoUniformSpline, RunsSplitAtCornersAndRepeatsMerge) {
    // Run A: 0..3 with a repeat of point 1; corner at 3 closes it. Corner 4 right after a corner
    // passes alone. Run B: 5..8.
    std::vector<tagAPOINT> p = {Pt(0, 0, ATR::kSpline), Pt(10, 10), Pt(10, 10), Pt(20, 0, ATR::kCorner, 9),
                                Pt(20, 0, ATR::kCorner | ATR::kSpline, 8), Pt(30, 5), Pt(40, 0), Pt(50, 5),
                                Pt(60, 0)};
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* out = spline.NoUniformSpline(p.data(), static_cast<int>(p.size()), &count, 0);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(count, 5 + 1 + 7);
    EXPECT_EQ(+out[0].x, 0.0f);
    EXPECT_EQ(+out[2].x, 10.0f);
    EXPECT_EQ(+out[4].x, 20.0f);
    EXPECT_EQ(out[4].a.IsCorner(), 1);
    EXPECT_EQ(+out[4].a.code, 9);
    EXPECT_EQ(+out[5].x, 20.0f);   // the second corner, not merged with the first
    EXPECT_EQ(+out[5].a.code, 8);
    EXPECT_EQ(+out[6].x, 30.0f);
    EXPECT_EQ(+out[12].x, 60.0f);
    for (int i = 0; i < count; ++i) EXPECT_EQ(out[i].a.IsSpline(), 0) << i;
    EXPECT_EQ(zed::SharedArrayHolders(out), 1);
}

// Runs of one or two points pass through whatever the request; a request equal to the count gives
// each run its own length; any other request gives every run that many points.
TEST(NoUniformSpline, RunLengthsFollowTheRequest) {
    std::vector<tagAPOINT> p = {Pt(1, 1), Pt(2, 3, ATR::kCorner), Pt(5, 5, ATR::kCorner), Pt(7, 1),
                                Pt(9, 9, ATR::kCorner), Pt(4, 4)};
    CLS_Spline spline;
    int count = 0;
    for (int request : {0, 6, 17}) {
        tagAPOINT* out = spline.NoUniformSpline(p.data(), 6, &count, request);
        ASSERT_EQ(count, 6);
        for (int i = 0; i < 6; ++i) EXPECT_TRUE(out[i].x == p[i].x && out[i].y == p[i].y) << request << " " << i;
    }
    std::mt19937 rng(2);
    p = zedtest::RandomPolyline(rng, 30, 40);
    tagAPOINT* out = spline.NoUniformSpline(p.data(), 30, &count, 30);
    ASSERT_EQ(count, 30);
    EXPECT_EQ(+out[0].x, +p[0].x);
    EXPECT_EQ(+out[29].y, +p[29].y);
    p[12].a.flags |= ATR::kCorner;   // two runs: 13 and 17 points
    out = spline.NoUniformSpline(p.data(), 30, &count, 30);
    ASSERT_EQ(count, 30);
    EXPECT_EQ(+out[12].x, +p[12].x);
    EXPECT_EQ(+out[13].x, +p[13].x);
    out = spline.NoUniformSpline(p.data(), 30, &count, 9);
    EXPECT_EQ(count, 18);
}

TEST(NoUniformSpline, AttributesOfTheControlPoints) {
    std::vector<tagAPOINT> p;
    for (int i = 0; i < 6; ++i) p.push_back(Pt(static_cast<float>(i * 10), static_cast<float>(i * i), ATR::kSpline | (i % 2 ? ATR::kDraw : 0), static_cast<uint16_t>(i)));
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* out = spline.NoUniformSpline(p.data(), 6, &count, 0);
    ASSERT_EQ(count, 11);
    for (int k = 0; k < 11; ++k) {
        const int source = k == 1 ? 1 : k / 2;
        EXPECT_EQ(+out[k].a.code, source) << k;
        EXPECT_EQ(out[k].a.IsDraw(), source % 2) << k;
        EXPECT_EQ(out[k].a.IsSpline(), 0) << k;
    }
}

// Runs close at the solver's limit of 32767 points; a request that does not fit the capacity
// (twice the points, at least 200) adds nothing for that run; request 1 or below adds nothing.
TEST(NoUniformSpline, LongRunsAndLargeRequestsStayWithinTheLimits) {
    const int n = 40000;
    std::vector<tagAPOINT> p(n);
    for (int i = 0; i < n; ++i) p[i] = Pt(static_cast<float>(i), static_cast<float>(i % 5));
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* out = spline.NoUniformSpline(p.data(), n, &count, 0);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(count, (2 * 32767 - 1) + (2 * (n - 32767) - 1));
    EXPECT_EQ(+out[2 * 32767 - 2].x, 32766.0f);
    EXPECT_EQ(+out[2 * 32767 - 1].x, 32767.0f);
    EXPECT_EQ(+out[count - 1].x, static_cast<float>(n - 1));
    p.resize(10);
    p[4].a.flags = ATR::kCorner;   // two runs of five
    struct Case { int request, count; };
    for (const Case& c : {Case{150, 150}, Case{2147483647, 0}, Case{100, 200}, Case{1, 0}, Case{-4, 0}}) {
        out = spline.NoUniformSpline(p.data(), 10, &count, c.request);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(count, c.count) << c.request;
        if (c.request == 150) {
            EXPECT_EQ(+out[149].x, 4.0f);
        }
    }
}

TEST(NoUniformSpline, CornerRepeatingItsPredecessorStaysFinite) {
    std::vector<tagAPOINT> p = {Pt(0, 0), Pt(10, 8), Pt(20, 0), Pt(20, 0, ATR::kCorner), Pt(30, 4), Pt(40, 0), Pt(50, 3)};
    CLS_Spline spline;
    for (int request : {0, 12}) {
        int count = 0;
        tagAPOINT* out = spline.NoUniformSpline(p.data(), 7, &count, request);
        ASSERT_GT(count, 0);
        for (int i = 0; i < count; ++i) EXPECT_TRUE(std::isfinite(+out[i].x) && std::isfinite(+out[i].y)) << i;
    }
}

TEST(NoUniformSpline, ReplacesThePlaneArrayWhoeverMadeIt) {
    std::vector<tagAPOINT> p;
    for (int i = 0; i < 8; ++i) p.push_back(Pt(static_cast<float>(i), static_cast<float>(i % 2)));
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* beta = spline.BetaSpline(p.data(), 8, &count, false);
    CLS_Spline keeper(spline);
    EXPECT_EQ(zed::SharedArrayHolders(beta), 2);
    tagAPOINT* smooth = spline.NoUniformSpline(p.data(), 8, &count, 0);
    EXPECT_EQ(zed::SharedArrayHolders(beta), 1);
    EXPECT_EQ(zed::SharedArrayHolders(smooth), 1);
    zedtest::GuardedBuffer<int> refused;
    EXPECT_EQ(spline.NoUniformSpline(nullptr, 8, refused.data(), 0), nullptr);
    EXPECT_EQ(spline.NoUniformSpline(p.data(), -1, refused.data(), 0), nullptr);
    EXPECT_TRUE(refused.Untouched());
    int untouched = -77;
    EXPECT_EQ(zed::SharedArrayHolders(smooth), 1);   // refused calls keep the array
    // No points: a new, empty result replaces the previous one.
    CLS_Spline holder(spline);
    tagAPOINT* empty = spline.NoUniformSpline(p.data(), 0, &untouched, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(untouched, 0);
    EXPECT_NE(empty, smooth);
    EXPECT_EQ(zed::SharedArrayHolders(smooth), 1);   // only the copy holds the old one now
}

}  // namespace
