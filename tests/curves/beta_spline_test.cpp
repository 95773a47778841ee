// CLS_Spline::BetaSpline against the textbook uniform cubic B-spline, its attributes and the
// ownership of the result arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "curves/shared_array.h"
#include "curve_test_util.h"
#include "tests/support/guarded_buffer.h"
#include "zedll.h"

namespace {

using zedtest::Pt;

// The curve point of segment i at t from the matrix form of the uniform cubic B-spline, in double.
double Textbook(double p0, double p1, double p2, double p3, double t) {
    const double t2 = t * t, t3 = t2 * t;
    return ((-t3 + 3 * t2 - 3 * t + 1) * p0 + (3 * t3 - 6 * t2 + 4) * p1 +
            (-3 * t3 + 3 * t2 + 3 * t + 1) * p2 + t3 * p3) / 6.0;
}

void ExpectNearFloat(double expected, float actual, double scale) {
    EXPECT_NEAR(expected, actual, 4e-7 * scale) << "expected " << expected;
}

TEST(BetaSpline, FewerThanSevenPointsLeaveEverythingAlone) {
    std::vector<tagAPOINT> seven(7);
    for (int i = 0; i < 7; ++i) seven[i] = Pt(static_cast<float>(i), static_cast<float>(i * i));
    CLS_Spline spline;
    int count = -77;
    tagAPOINT* held = spline.BetaSpline(seven.data(), 7, &count, false);
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(count, 10);
    const tagAPOINT first_sample = held[1];

    for (int n : {6, 3, 1, 0, -1, -2147483647 - 1}) {
        zedtest::GuardedBuffer<int> untouched;
        EXPECT_EQ(spline.BetaSpline(seven.data(), n, untouched.data(), true), nullptr) << n;
        EXPECT_TRUE(untouched.Untouched()) << n;
    }
    // The earlier array is still held and readable (ASan would object otherwise).
    EXPECT_EQ(+held[1].x, +first_sample.x);
    EXPECT_EQ(zed::SharedArrayHolders(held), 1);
    zedtest::GuardedBuffer<int> untouched;
    EXPECT_EQ(spline.BetaSpline(static_cast<tagAPOINT*>(nullptr), 7, untouched.data(), false), nullptr);
    EXPECT_EQ(spline.BetaSpline(seven.data(), 7, nullptr, false), nullptr);
    EXPECT_TRUE(untouched.Untouched());
}

// Both variants against the textbook basis, seven points upwards: P0, two samples (t = 0, 1/2) per
// segment, the last point, and one default point after it (2n - 3 allocated).
TEST(BetaSpline, RandomControlPointsMatchTheTextbookBasisInBothVariants) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(-1000, 1000);
    for (int round = 0; round < 50; ++round) {
        const int n = 7 + round * 3;
        std::vector<tagAPOINT> p(n);
        std::vector<tagA3POINT> q(n);
        for (int i = 0; i < n; ++i) {
            p[i] = Pt(coord(rng), coord(rng));
            q[i] = tagA3POINT(p[i].x, p[i].y, coord(rng), ATR());
        }
        if (round == 0) {   // a fixed first set
            const float xs[7] = {0, 10, 20, 40, 45, 80, 100}, ys[7] = {0, 30, -10, 5, 50, 60, 0};
            for (int i = 0; i < 7; ++i) p[i] = Pt(xs[i], ys[i]), q[i].x = xs[i], q[i].y = ys[i];
        }
        CLS_Spline spline;
        int c2 = 0, c3 = 0;
        tagAPOINT* o2 = spline.BetaSpline(p.data(), n, &c2, false);
        tagA3POINT* o3 = spline.BetaSpline(q.data(), n, &c3, false);
        ASSERT_EQ(c2, 2 * n - 4);
        ASSERT_EQ(c3, 2 * n - 4);
        EXPECT_EQ(+o2[0].x, +p[0].x);
        EXPECT_EQ(+o2[c2 - 1].y, +p[n - 1].y);
        EXPECT_EQ(+o2[c2].x, 0.0f);
        EXPECT_EQ(+o2[c2].a.flags, 0);
        if (round == 0) {   // the jump from P0 to the first sample (P0 + 4 P1 + P2) / 6, in single precision
            EXPECT_EQ(+o2[1].x, (0.0f + 4.0f * 10.0f + 20.0f) / 6.0f);
            EXPECT_EQ(+o2[1].y, (0.0f + 120.0f - 10.0f) / 6.0f);
        }
        for (int i = 0; i < n - 3; ++i) {
            for (int h = 0; h < 2; ++h) {
                const int k = 1 + 2 * i + h;
                const double t = h * 0.5;
                ExpectNearFloat(Textbook(p[i].x, p[i + 1].x, p[i + 2].x, p[i + 3].x, t), o2[k].x, 3000);
                ExpectNearFloat(Textbook(p[i].y, p[i + 1].y, p[i + 2].y, p[i + 3].y, t), o2[k].y, 3000);
                ExpectNearFloat(Textbook(q[i].z, q[i + 1].z, q[i + 2].z, q[i + 3].z, t), o3[k].z, 3000);
                EXPECT_EQ(+o2[k].x, +o3[k].x);
                EXPECT_EQ(+o2[k].y, +o3[k].y);
            }
        }
    }
}

TEST(BetaSpline, KeptCornersReplaceTheirSegmentsTwoSamples) {
    std::mt19937 rng(3);
    for (int round = 0; round < 40; ++round) {
        const int n = 7 + static_cast<int>(rng() % 30);
        std::vector<tagAPOINT> p(n);
        int kept = 0;
        for (int i = 0; i < n; ++i) {
            const bool corner = rng() % 3 == 0;
            p[i] = Pt(static_cast<float>(i * 10), static_cast<float>(rng() % 100), corner ? ATR::kCorner : 0);
            if (corner && i < n - 3) ++kept;
        }
        CLS_Spline spline;
        int count = 0;
        tagAPOINT* out = spline.BetaSpline(p.data(), n, &count, true);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(count, 2 + 2 * (n - 3) - kept);
        // Without the keep option marks are ignored.
        EXPECT_NE(spline.BetaSpline(p.data(), n, &count, false), nullptr);
        EXPECT_EQ(count, 2 * n - 4);
    }
}

TEST(BetaSpline, KeptFirstPointAppearsTwiceAndEndMarksDoNotCount) {
    std::vector<tagAPOINT> p;
    for (int i = 0; i < 9; ++i) p.push_back(Pt(static_cast<float>(i), static_cast<float>(i % 2), 0, 5));
    p[0].a.flags = ATR::kCorner | ATR::kSpline;   // Draw clear, Spline set on the way in
    p[0].a.code = 40000;
    for (int i = 6; i < 9; ++i) p[i].a.flags |= ATR::kCorner;   // n-3, n-2, n-1
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* out = spline.BetaSpline(p.data(), 9, &count, true);
    ASSERT_EQ(count, 2 + 2 * 6 - 1);
    // Output point 0: P0 exactly as passed in.
    EXPECT_EQ(+out[0].a.code, 40000);
    EXPECT_EQ(+out[0].a.flags, ATR::kCorner | ATR::kSpline);
    // The kept copy: Spline cleared, SetCode(own code, 1) turns 40000 into 0 and sets Draw.
    EXPECT_EQ(+out[1].x, 0.0f);
    EXPECT_EQ(+out[1].a.code, 0);
    EXPECT_EQ(+out[1].a.flags, ATR::kCorner | ATR::kDraw);
    // Last point: P8 exactly.
    EXPECT_EQ(+out[count - 1].x, 8.0f);
    EXPECT_EQ(+out[count - 1].a.flags, ATR::kCorner);
    EXPECT_EQ(+out[count - 1].a.code, 5);
}

TEST(BetaSpline, ComputedPointsCarryTheirSegmentStartAttribute) {
    std::vector<tagAPOINT> p;
    for (int i = 0; i < 8; ++i) p.push_back(Pt(static_cast<float>(i), 0, 0, static_cast<uint16_t>(32699 + i)));
    p[1].a.kind = 13;
    p[1].a.flags = ATR::kNotch;
    CLS_Spline spline;
    int count = 0;
    tagAPOINT* out = spline.BetaSpline(p.data(), 8, &count, true);
    ASSERT_EQ(count, 12);
    for (int i = 0; i < 5; ++i) {
        for (int h = 0; h < 2; ++h) {
            const tagAPOINT& q = out[1 + 2 * i + h];
            EXPECT_EQ(q.a.IsSpline(), 1);
            EXPECT_EQ(q.a.IsDraw(), 1);
            const unsigned code = 32699u + static_cast<unsigned>(i);
            EXPECT_EQ(q.a.GetCode(), code <= 32700 ? code : 0u) << i;
            EXPECT_EQ(+q.a.kind, i == 1 ? 13 : 0);
            EXPECT_EQ(q.a.IsNotch(), i == 1 ? 1 : 0);
        }
    }
}

TEST(BetaSpline, SpatialKeptPointsKeepCodeAndDraw) {
    std::vector<tagA3POINT> p;
    for (int i = 0; i < 7; ++i) {
        ATR a;
        a.code = 40000;
        a.flags = i == 2 ? (ATR::kCorner | ATR::kSpline) : 0;
        p.push_back(tagA3POINT(static_cast<float>(i), 1, static_cast<float>(2 * i), a));
    }
    CLS_Spline spline;
    int count = 0;
    tagA3POINT* out = spline.BetaSpline(p.data(), 7, &count, true);
    ASSERT_EQ(count, 9);
    // out: P0, seg0 (2), seg1 (2), kept P2, seg3 (2), P6.
    const tagA3POINT kept = out[5];
    EXPECT_EQ(+kept.x, 2.0f);
    EXPECT_EQ(+kept.z, 4.0f);
    EXPECT_EQ(+kept.a.code, 40000);
    EXPECT_EQ(+kept.a.flags, ATR::kCorner);
    EXPECT_EQ(+out[1].a.code, 0);   // computed: SetCode clamps
    EXPECT_EQ(out[1].a.IsDraw(), 1);
}

// Copies share the arrays and release each once; a new array replaces only its own kind's array
// on that object.
TEST(SplineCopies, ShareArraysAndReleaseEachOnce) {
    std::vector<tagAPOINT> p(12);
    std::vector<tagA3POINT> q(12);
    for (int i = 0; i < 12; ++i) {
        p[i] = Pt(static_cast<float>(i), static_cast<float>(i % 3));
        q[i] = tagA3POINT(static_cast<float>(i), 0, 1, ATR());
    }
    int c = 0;
    auto* a = new CLS_Spline;
    tagA3POINT* spatial = a->BetaSpline(q.data(), 10, &c, false);
    tagAPOINT* arr = a->BetaSpline(p.data(), 12, &c, false);
    CLS_Spline b(*a);
    CLS_Spline d;
    d = b;
    d = d;   // self-assignment keeps the array
    EXPECT_EQ(zed::SharedArrayHolders(arr), 3);
    delete a;
    EXPECT_EQ(zed::SharedArrayHolders(arr), 2);
    EXPECT_TRUE(std::isfinite(+arr[3].x));
    tagAPOINT* fresh = b.BetaSpline(p.data(), 8, &c, false);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(c, 12);
    EXPECT_EQ(zed::SharedArrayHolders(arr), 1);
    EXPECT_EQ(zed::SharedArrayHolders(spatial), 2);   // the spatial array was not touched
    EXPECT_EQ(+spatial[0].z, 1.0f);
    EXPECT_EQ(+arr[0].x, 0.0f);
    CLS_Spline empty;
    d = empty;   // drops the last holder: released once, ASan checks it
    EXPECT_EQ(zed::SharedArrayHolders(fresh), 1);
}

}  // namespace
