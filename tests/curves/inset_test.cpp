// InsetPt: even spacing along polylines, corners, grid, evening, limits and the capacity counter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "curve_test_util.h"
#include "curves/inset_walk.h"
#include "os/heap.h"
#include "zedll.h"

namespace {

using zedtest::Pt;
namespace inset = zed::inset;

std::vector<tagAPOINT> Spaced(std::vector<tagAPOINT> in, float spacing) {
    tagAPOINT* out = nullptr;
    const int n = InsetPt(in.data(), static_cast<int>(in.size()), &out, spacing);
    std::vector<tagAPOINT> v(out, out + n);
    if (out != nullptr) {
        // The two spare points past the end are zero.
        EXPECT_EQ(+out[n].x, 0.0f);
        EXPECT_EQ(+out[n + 1].a.flags, 0);
    }
    InsetPtFree(&out);
    EXPECT_EQ(out, nullptr);
    return v;
}

bool OnGrid(float v) { return inset::GridRound(v, inset::kGrid) == v; }

float Dist(const tagAPOINT& a, const tagAPOINT& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The corner merge rule, written out from its description, for the property test.
std::vector<uint8_t> SurvivingCorners(const std::vector<tagAPOINT>& p, float spacing) {
    const int n = static_cast<int>(p.size());
    std::vector<uint8_t> m(n);
    for (int i = 0; i < n; ++i) m[i] = static_cast<uint8_t>(p[i].a.IsCorner());
    m[0] = m[n - 1] = 1;
    if (n < 3) return m;
    const float h = spacing / 2;
    auto d = [&](int i, int j) { return static_cast<float>(std::hypot(double(p[i].x) - p[j].x, double(p[i].y) - p[j].y)); };
    if (m[1] && d(1, 0) < h) m[1] = 0;
    int i = 2;
    while (i < n - 1) {
        int next = i + 1;
        if (m[i] && m[i - 1] && d(i, i - 1) < h) {
            m[i - 1] = 0;
            if (i < n - 2 && m[i + 1]) {
                if (d(i + 1, i) < h) m[i + 1] = 0;
                next = i + 2;
            }
        }
        i = next;
    }
    if (d(n - 2, n - 1) < h) m[n - 2] = 0;
    return m;
}

// Known values (21 is 262.5 grid steps: the half goes away from zero), then random ones: within
// half a step, idempotent, odd.
TEST(GridRound, HalvesAwayFromZero) {
    const float known[][2] = {{0.0f, 0}, {0.039f, 0}, {0.041f, 1}, {-0.041f, -1}, {21.0f, 263},
                              {-21.0f, -263}, {100.0f, 1250}, {-3.97f, -50}};
    for (const auto& k : known) EXPECT_EQ(inset::GridRound(k[0], inset::kGrid), static_cast<float>(k[1] * 0.08)) << k[0];
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> any(-5000, 5000);
    for (int i = 0; i < 10000; ++i) {
        const float v = any(rng);
        const float r = inset::GridRound(v, inset::kGrid);
        EXPECT_LE(std::fabs(double(r) - v), 0.04 + 1e-3) << v;
        EXPECT_EQ(inset::GridRound(r, inset::kGrid), r) << "rounding is idempotent at " << v;
        EXPECT_EQ(inset::GridRound(-v, inset::kGrid), -r);
    }
}

// The batch rounding of placed points gives GridRound's bits exactly: on random floats of every
// magnitude, on grid multiples and halves and their neighbours, on signed zeros, huge values,
// infinities and NaN.
TEST(GridRound, BatchRoundingOfPlacedPointsIsBitIdentical) {
    std::mt19937 rng(5);
    std::vector<float> values = {0.0f, -0.0f, 1e-45f, -1e-45f, 3.4028235e38f, -3.4028235e38f,
                                 std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN(), 85899344.0f, 85899352.0f, 1e12f};
    for (int k = -3000; k <= 3000; ++k) {
        for (double half : {0.0, 0.5}) {
            const float v = static_cast<float>((k + half) * inset::kGrid);
            values.push_back(v);
            values.push_back(std::nextafter(v, 1e30f));
            values.push_back(std::nextafter(v, -1e30f));
        }
    }
    std::uniform_real_distribution<float> exponent(-30.0f, 40.0f), unit(-1.0f, 1.0f);
    for (int i = 0; i < 200000; ++i) values.push_back(unit(rng) * std::pow(2.0f, exponent(rng)));
    inset::PlacedPoints placed;
    for (size_t i = 0; i + 1 < values.size(); i += 2) ASSERT_TRUE(placed.Add(values[i], values[i + 1]));
    placed.GridRoundFrom(0, inset::kGrid);
    for (size_t i = 0; i + 1 < values.size(); i += 2) {
        const float want_x = inset::GridRound(values[i], inset::kGrid), want_y = inset::GridRound(values[i + 1], inset::kGrid);
        const float got_x = placed.X(i / 2), got_y = placed.Y(i / 2);
        ASSERT_EQ(std::memcmp(&want_x, &got_x, sizeof got_x), 0) << values[i];
        ASSERT_EQ(std::memcmp(&want_y, &got_y, sizeof got_y), 0) << values[i + 1];
    }
}

TEST(Evening, WholeStepsWithTheBias) {
    EXPECT_FLOAT_EQ(inset::Evening(100, 10), 10);           // 10.67 -> 10 steps
    EXPECT_FLOAT_EQ(inset::Evening(105, 10), 105.0f / 11);  // 11.17 -> 11 steps
    EXPECT_FLOAT_EQ(inset::Evening(103, 10), 103.0f / 10);  // 10.97 -> 10 steps
    EXPECT_FLOAT_EQ(inset::Evening(3, 10), 3);              // 0.97 -> 0 -> 1 step
    EXPECT_FLOAT_EQ(inset::Evening(0, 10), 0);
}

// Two points no more than 10 apart come back unchanged whatever the spacing; longer ones keep
// both ends even below half the spacing; a long line at a fine spacing is walked, not refused.
TEST(InsetPt, TwoPointLines) {
    for (float len : {10.0f, 3.3f, 0.0f}) {
        const std::vector<tagAPOINT> out = Spaced({Pt(0.013f, 1.001f, 0, 77), Pt(0.013f + len, 1.001f)}, 2);
        ASSERT_EQ(out.size(), 2u);
        EXPECT_EQ(+out[0].x, 0.013f);
        EXPECT_EQ(+out[1].x, 0.013f + len);
        EXPECT_EQ(+out[1].y, 1.001f);
        EXPECT_TRUE(out[0].a.code == 1 && out[0].a.flags == 0);
        EXPECT_TRUE(out[1].a.code == 1 && out[1].a.flags == ATR::kDraw);
    }
    EXPECT_EQ(Spaced({Pt(0, 0), Pt(5, 0)}, 1e-6f).size(), 2u);
    std::vector<tagAPOINT> out = Spaced({Pt(0, 0), Pt(15, 0)}, 40);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(+out[1].x, inset::GridRound(15, inset::kGrid));
    out = Spaced({Pt(0, 0), Pt(5000, 0)}, 0.001f);
    ASSERT_GT(out.size(), 4000000u);
    EXPECT_EQ(+out.back().x, 5000.0f);
    out = Spaced({Pt(0, 0), Pt(100, 0)}, 10);
    ASSERT_EQ(out.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        EXPECT_NEAR(+out[i].x, 10.0 * i, 0.041) << i;
        EXPECT_EQ(+out[i].y, 0.0f);
        EXPECT_TRUE(out[i].a.code == 1 && out[i].a.kind == 0 && out[i].a.IsDraw() == (i == 0 ? 0 : 1)) << i;
    }
}

// Worked by hand: the step after (10, 0) is pending across the vertex (15, 0) and lands at chord
// distance 10 on the next segment, at (15, sqrt(75)); the rest, 6.34, is evened to one step.
TEST(InsetPt, PendingPointCrossesTheVertex) {
    const std::vector<tagAPOINT> out = Spaced({Pt(0, 0), Pt(15, 0), Pt(15, 15)}, 10);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(+out[1].x, 10.0f);
    EXPECT_EQ(+out[1].y, 0.0f);
    EXPECT_EQ(+out[2].x, inset::GridRound(15.0f, inset::kGrid));
    EXPECT_EQ(+out[2].y, static_cast<float>(108 * 0.08));   // 8.66 rounds to 108 grid steps
    EXPECT_EQ(+out[3].x, inset::GridRound(15.0f, inset::kGrid));
    EXPECT_EQ(+out[3].y, inset::GridRound(15.0f, inset::kGrid));
}

// A straight stretch: steps of the spacing, then one evened step (not a short remainder) to the end.
TEST(InsetPt, StretchEndsWithEvenedStepsNotARemainder) {
    for (float len : {105.0f, 1003.0f, 997.5f, 64.0f}) {
        const std::vector<tagAPOINT> out = Spaced({Pt(0, 0), Pt(len, 0)}, 10);
        ASSERT_GE(out.size(), 3u);
        const double last_gap = out[out.size() - 1].x - out[out.size() - 2].x;
        EXPECT_TRUE(last_gap > 8.0 && last_gap < 12.0) << len << " " << last_gap;
        for (size_t i = 1; i < out.size(); ++i) {
            const double gap = out[i].x - out[i - 1].x;
            EXPECT_TRUE(std::fabs(gap - 10) <= 0.09 || std::fabs(gap - last_gap) <= 0.09) << len << " " << i;
        }
        EXPECT_EQ(+out.back().x, inset::GridRound(len, inset::kGrid));
    }
}

TEST(InsetPt, CornerMergeRule) {
    // Corners at 1 (close to the first point), 3 and 4 (close to each other), 6 (close to the last).
    std::vector<tagAPOINT> p = {Pt(0, 0),  Pt(2, 0, ATR::kCorner),  Pt(50, 0), Pt(50, 40, ATR::kCorner),
                                Pt(53, 40, ATR::kCorner), Pt(100, 40), Pt(100, 97, ATR::kCorner), Pt(100, 100)};
    std::vector<float> x, y;
    std::vector<uint8_t> mark;
    for (const auto& q : p) {
        x.push_back(+q.x);
        y.push_back(+q.y);
        mark.push_back(static_cast<uint8_t>(q.a.IsCorner()));
    }
    inset::PlacedPoints out;
    ASSERT_TRUE(inset::SpacingWalk(x.data(), y.data(), mark.data(), 8, 10, out));
    EXPECT_EQ(mark, (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(mark, SurvivingCorners(p, 10));
    // The surviving corner (53, 40) gets a point; the dropped one (50, 40) does not.
    bool has_53 = false, has_50 = false;
    for (size_t i = 0; i < out.Count(); ++i) {
        has_53 |= out.X(i) == inset::GridRound(53, inset::kGrid) && out.Y(i) == inset::GridRound(40, inset::kGrid);
        has_50 |= out.X(i) == inset::GridRound(50, inset::kGrid) && out.Y(i) == inset::GridRound(40, inset::kGrid);
    }
    EXPECT_TRUE(has_53);
    EXPECT_FALSE(has_50);
}

TEST(InsetPt, OutOfRangeInputGivesNothing) {
    std::vector<tagAPOINT> p = {Pt(0, 0), Pt(100, 0), Pt(100, 100)};
    tagAPOINT sentinel;
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case { tagAPOINT* points; int n; float spacing; };
    for (const Case& c : {Case{p.data(), 1, 10}, Case{p.data(), 0, 10}, Case{p.data(), -3, 10}, Case{nullptr, 3, 10},
                          Case{p.data(), 3, 0}, Case{p.data(), 3, -1}, Case{p.data(), 3, nan}, Case{p.data(), 3, inf},
                          Case{p.data(), 3, 1e-6f}}) {
        tagAPOINT* out = &sentinel;
        EXPECT_EQ(InsetPt(c.points, c.n, &out, c.spacing), 0) << c.n << " " << c.spacing;
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(InsetPt(p.data(), 3, nullptr, 10), 0);
    EXPECT_EQ(InsetPtFree(nullptr), 0);
    tagAPOINT* none = nullptr;
    EXPECT_EQ(InsetPtFree(&none), 0);
    // Non-finite and enormous coordinates are refused rather than walked.
    for (float bad : {nan, inf, 3e38f}) {
        std::vector<tagAPOINT> q = {Pt(0, 0), Pt(bad, 0), Pt(-bad, 5)};
        tagAPOINT* out = &sentinel;
        EXPECT_EQ(InsetPt(q.data(), 3, &out, 10), 0) << bad;
        EXPECT_EQ(out, nullptr);
    }
    // Few spacings long in double, but beyond the float range along the way: refused, where the
    // walk once stepped until the point limit (2^26 points). Within the float range it is walked.
    struct Long { float from, to; bool walked; };
    for (const Long& c : {Long{-3e38f, 3e38f, false}, Long{2e38f, -2e38f, false}, Long{-1e38f, 1e38f, true}}) {
        std::vector<tagAPOINT> q = {Pt(c.from, 0), Pt(c.to, 0)};
        tagAPOINT* out = &sentinel;
        const int count = InsetPt(q.data(), 2, &out, 1e33f);
        if (c.walked) {
            EXPECT_GT(count, 190000) << c.from;   // about 2e38 / 1e33 + 1, steps summed in float
            EXPECT_LE(count, 200001) << c.from;
        } else {
            EXPECT_EQ(count, 0) << c.from;
            EXPECT_EQ(inset::OutputCapacity(), inset::kOutputStep) << c.from;   // refused before a step
        }
        EXPECT_EQ(out == nullptr, !c.walked);
        InsetPtFree(&out);
    }
}

TEST(InsetPt, OutputCapacityGrowsInSteps) {
    std::vector<tagAPOINT> p = {Pt(0, 0), Pt(1000, 0)};
    EXPECT_EQ(Spaced(p, 1).size(), 1001u);
    EXPECT_EQ(inset::OutputCapacity(), 3000);
    p[1].x = 7000;
    EXPECT_EQ(Spaced(p, 1).size(), 7001u);
    EXPECT_EQ(inset::OutputCapacity(), 9000);
    p[1].x = 2998;
    EXPECT_EQ(Spaced(p, 1).size(), 2999u);
    EXPECT_EQ(inset::OutputCapacity(), 3000);   // reset at each walk
}

TEST(InsetPt, FailedAllocationsGiveNothingAndLeakNothing) {
    std::vector<tagAPOINT> p = {Pt(0, 0), Pt(4000, 0), Pt(4000, 10)};
    for (long allowed = 0; allowed < 8; ++allowed) {
        tagAPOINT* out = nullptr;
        zed::heap_testing::FailAfter(allowed);
        const int n = InsetPt(p.data(), 3, &out, 1);
        zed::heap_testing::Reset();
        if (n == 0) {
            EXPECT_EQ(out, nullptr);
        } else {
            EXPECT_EQ(n, 4011);
            EXPECT_NE(out, nullptr);
        }
        InsetPtFree(&out);
    }
}

// Random polylines: the documented properties hold on every one, and every call ends.
// Seeds past 400 are degenerate: repeated points, repeated corners, everything on a few spots;
// there the walk must end, finite, on the last point.
TEST(InsetPt, PropertiesOnRandomPolylines) {
    for (unsigned seed = 1; seed <= 700; ++seed) {
        std::mt19937 rng(seed);
        std::vector<tagAPOINT> p;
        if (seed <= 400) {
            p = zedtest::RandomPolyline(rng, 2 + static_cast<int>(rng() % 40), seed % 4 == 0 ? 4 : 60);
            for (size_t i = 1; i + 1 < p.size(); ++i)
                if (rng() % 4 == 0) p[i].a.flags = ATR::kCorner;
        } else {
            for (int i = 0, n = 2 + static_cast<int>(rng() % 30); i < n; ++i) {
                p.push_back(Pt(static_cast<float>(rng() % 4) * 7.0f, static_cast<float>(rng() % 3) * 5.0f,
                               rng() % 2 ? ATR::kCorner : 0));
                if (rng() % 3 == 0 && i + 1 < n) p.push_back(p.back()), ++i;
            }
        }
        const int n = static_cast<int>(p.size());
        const float spacing = std::uniform_real_distribution<float>(seed <= 400 ? 0.5f : 0.1f, seed <= 400 ? 25.0f : 30.0f)(rng);
        const std::vector<tagAPOINT> out = Spaced(p, spacing);
        ASSERT_GE(out.size(), seed <= 400 ? 2u : 1u) << "seed " << seed;
        if (n == 2 && Dist(p[0], p[1]) <= 10) continue;   // comes back unchanged
        for (const auto& q : out) ASSERT_TRUE(std::isfinite(+q.x) && std::isfinite(+q.y)) << seed;
        EXPECT_EQ(+out.back().x, inset::GridRound(+p[n - 1].x, inset::kGrid)) << "seed " << seed;
        EXPECT_EQ(+out.back().y, inset::GridRound(+p[n - 1].y, inset::kGrid)) << "seed " << seed;
        if (seed > 400) continue;
        EXPECT_EQ(+out[0].x, +p[0].x);
        EXPECT_EQ(+out[0].y, +p[0].y);
        for (size_t i = 1; i < out.size(); ++i) ASSERT_TRUE(OnGrid(+out[i].x) && OnGrid(+out[i].y)) << seed;
        // Every surviving corner receives a point, in order.
        const std::vector<uint8_t> corners = SurvivingCorners(p, spacing);
        size_t from = 1;
        for (int i = 1; i < n; ++i) {
            if (!corners[i]) continue;
            const float cx = inset::GridRound(p[i].x, inset::kGrid), cy = inset::GridRound(p[i].y, inset::kGrid);
            size_t k = from;
            while (k < out.size() && !(out[k].x == cx && out[k].y == cy)) ++k;
            ASSERT_LT(k, out.size()) << "seed " << seed << " corner " << i;
            from = k;
        }
        // Neighbours are never further apart than the largest evened step (4/3 of the spacing)
        // plus the snap distance and the grid.
        for (size_t i = 1; i < out.size(); ++i) {
            EXPECT_LE(Dist(out[i - 1], out[i]), spacing * 4 / 3 + 0.4f + 0.12f) << "seed " << seed << " point " << i;
        }
    }
}

TEST(InsetPt, EverythingOnOneSpotEnds) {
    EXPECT_GE(Spaced(std::vector<tagAPOINT>(50, Pt(3, 3, ATR::kCorner)), 1).size(), 1u);
}

// Straight stretches between corners: steps of the spacing, then one evened step size.
TEST(InsetPt, EvenSpacingWithinStraightStretches) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        const int n = 2 + static_cast<int>(rng() % 8);
        std::vector<tagAPOINT> p = zedtest::RandomPolyline(rng, n, 300);
        for (auto& q : p) q.a.flags = ATR::kCorner;
        const float spacing = std::uniform_real_distribution<float>(2.0f, 20.0f)(rng);
        const std::vector<tagAPOINT> out = Spaced(p, spacing);
        const std::vector<uint8_t> corners = SurvivingCorners(p, spacing);
        // Split the output at the corner points and look at the gaps of each stretch.
        size_t k = 1;
        std::vector<double> gaps;
        for (int i = 1; i < n; ++i) {
            if (!corners[i]) continue;
            const float cx = inset::GridRound(p[i].x, inset::kGrid), cy = inset::GridRound(p[i].y, inset::kGrid);
            gaps.clear();
            for (; k < out.size(); ++k) {
                gaps.push_back(Dist(out[k - 1], out[k]));
                if (out[k].x == cx && out[k].y == cy) break;
            }
            ASSERT_LT(k, out.size()) << "seed " << seed;
            ++k;
            bool straight = true;   // the stretch is one segment when the previous point is a corner
            for (int j = i - 1; j > 0 && !corners[j]; --j) straight = false;
            if (!straight || gaps.size() < 2) continue;
            const double last = gaps.back();
            for (double g : gaps) {
                EXPECT_TRUE(std::fabs(g - spacing) <= 0.15 || std::fabs(g - last) <= 0.15)
                    << "seed " << seed << " gap " << g << " spacing " << spacing << " last " << last;
            }
        }
    }
}

// Found by the records fuzz target: a polyline back and forth across 1.5e24 units with a spacing
// of about one leg, a corner at its middle.
TEST(InsetPt, LongLegsNearTheSpacingEndAtTheirCorners) {
    const float a = 1.09277409e+24f;
    std::vector<tagAPOINT> p = {Pt(a, a), Pt(a, a), Pt(9.49606019e-39f, 5.5102699e-40f, 0x0002), Pt(a, a),
                                Pt(1.44333742e-43f, 0)};
    tagAPOINT* out = nullptr;
    const int count = InsetPt(p.data(), static_cast<int>(p.size()), &out, 1.0927372e+24f);
    ASSERT_GT(count, 2);
    EXPECT_LT(count, 20);
    EXPECT_EQ(inset::OutputCapacity(), inset::kOutputStep);
    // The corner and the last point get their points, on the grid.
    bool corner = false;
    for (int i = 1; i < count; ++i) corner = corner || (out[i].x == 0.0f && out[i].y == 0.0f && i < count - 1);
    EXPECT_TRUE(corner);
    EXPECT_EQ(+out[count - 1].x, 0.0f);
    EXPECT_EQ(+out[count - 1].y, 0.0f);
    InsetPtFree(&out);
}

}  // namespace
