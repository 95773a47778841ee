// Signed area, orientation and point-in-area against exact integer and ray-casting references;
// segment crossing, perpendicular feet on a corner, distance and tolerance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "zedll.h"

namespace {

std::vector<tagAPOINT> Poly(std::initializer_list<std::pair<float, float>> xy) {
    std::vector<tagAPOINT> v;
    for (auto& p : xy) v.emplace_back(p.first, p.second);
    return v;
}

// A random star-shaped polygon with integer vertices, closed by repeating its first point.
std::vector<tagAPOINT> RandomClosedPolygon(std::mt19937& rng, int n, int ox, int oy) {
    std::uniform_real_distribution<double> radius(5, 60);
    std::vector<tagAPOINT> v;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, r = radius(rng);
        v.emplace_back(static_cast<float>(ox + std::lround(r * std::cos(a))),
                       static_cast<float>(oy + std::lround(r * std::sin(a))));
    }
    v.push_back(v.front());
    return v;
}

long long TwiceAreaExact(const std::vector<tagAPOINT>& v) {
    long long s = 0;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        s += static_cast<long long>(v[i].x) * static_cast<long long>(v[i + 1].y) -
             static_cast<long long>(v[i + 1].x) * static_cast<long long>(v[i].y);
    return s;
}

TEST(Surface, HandCasesAndExactIntegerShoelace) {
    auto cw = Poly({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
    EXPECT_EQ(Surface(cw.data(), 5), -100.0);
    EXPECT_EQ(ClockWise(cw.data(), 5), 1);
    auto away = Poly({{20, 20}, {20, 30}, {30, 30}, {30, 20}});   // no closing point
    EXPECT_EQ(Surface(away.data(), 4), -200.0);                    // three edges only, not -100
    auto line = Poly({{0, 0}, {1, 1}, {2, 2}});
    EXPECT_EQ(ClockWise(line.data(), 3), -1);
    EXPECT_EQ(Surface(cw.data(), 1), 0.0);
    EXPECT_EQ(Surface(nullptr, 5), 0.0);
    EXPECT_EQ(ClockWise(nullptr, 5), -1);
    EXPECT_EQ(ClockWise(cw.data(), -3), -1);
    std::mt19937 rng(3);
    for (int i = 0; i < 500; ++i) {
        auto v = RandomClosedPolygon(rng, 3 + i % 40, 0, 0);
        const int n = static_cast<int>(v.size());
        const double area = Surface(v.data(), n);
        ASSERT_EQ(area, TwiceAreaExact(v) / 2.0);
        auto moved = v;
        for (auto& p : moved) { p.x += 1000; p.y -= 4096; }
        ASSERT_EQ(Surface(moved.data(), n), area);
        auto reversed = v;
        std::reverse(reversed.begin(), reversed.end());
        ASSERT_EQ(Surface(reversed.data(), n), -area);
        if (area != 0) {
            ASSERT_EQ(ClockWise(reversed.data(), n), 1 - ClockWise(v.data(), n));
        }
    }
}

// ClockWise decides most lists without summing in order; it must still give exactly the sign of
// the in-order sum, also where cancellation makes that sum depend on the order of the additions.
int ClockWiseOfSurface(std::vector<tagAPOINT>& v) {
    const double s = Surface(v.data(), static_cast<int>(v.size()));
    return s < 0 ? 1 : (s > 0 ? 0 : -1);
}

TEST(ClockWise, SignOfTheInOrderSumOnHardLists) {
    std::mt19937 rng(20261205);
    std::uniform_int_distribution<int> count(2, 40), kind(0, 4);
    std::uniform_real_distribution<double> unit(-1, 1), exponent(-30, 30);
    int undecided = 0;
    for (int round = 0; round < 200000; ++round) {
        const int n = count(rng), k = kind(rng);
        std::vector<tagAPOINT> v;
        const double ox = unit(rng) * 1e6, oy = unit(rng) * 1e6, slope = unit(rng);
        for (int i = 0; i < n; ++i) {
            double x = 0, y = 0;
            if (k == 0) {   // almost on one line, far from the origin: the sum cancels to a few ulps
                x = ox + i * 3.7;
                y = oy + slope * (x - ox);
            } else if (k == 1) {   // magnitudes over sixty decades: the order of additions matters
                x = unit(rng) * std::pow(10.0, exponent(rng));
                y = unit(rng) * std::pow(10.0, exponent(rng));
            } else if (k == 2) {   // a tiny closed outline on a large offset
                x = ox + std::cos(i * 0.3) * 1e-2;
                y = oy + std::sin(i * 0.3) * 1e-2;
            } else if (k == 3) {   // signed zeros and repeats
                x = (rng() & 1) ? 0.0 : -0.0;
                y = (rng() % 3 == 0) ? 1.0 : -0.0;
            } else {   // an ordinary random outline
                x = unit(rng) * 500;
                y = unit(rng) * 500;
            }
            v.emplace_back(static_cast<float>(x), static_cast<float>(y));
        }
        if (ClockWiseOfSurface(v) == -1) ++undecided;
        ASSERT_EQ(ClockWise(v.data(), n), ClockWiseOfSurface(v)) << "round " << round << " kind " << k;
    }
    EXPECT_GT(undecided, 1000);   // zero sums were among the cases
    std::vector<tagAPOINT> odd = Poly({{0, 0}, {std::nanf(""), 1}, {1, 1}, {0, 0}});
    EXPECT_EQ(ClockWise(odd.data(), 4), -1);
    odd = Poly({{0, 0}, {INFINITY, 1}, {1, 1}, {0, 0}});
    EXPECT_EQ(ClockWise(odd.data(), 4), ClockWiseOfSurface(odd));
}

TEST(IsPointInArea, HandCases) {
    auto starts = Poly({{0, 0}, {5, -1}});   // the point is the start of the edge: counts
    EXPECT_EQ(IsPointInArea(tagAPOINT(0, 0), starts.data(), 2), 1);
    auto ends = Poly({{-3, 0}, {0, 0}});     // the point is the end of the edge: does not
    EXPECT_EQ(IsPointInArea(tagAPOINT(0, 0), ends.data(), 2), 0);
    auto square = Poly({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
    EXPECT_EQ(IsPointInArea(tagAPOINT(-1, -1), square.data(), 5), 0);   // ray through a corner
    EXPECT_EQ(IsPointInArea(tagAPOINT(5, 3), nullptr, 5), 0);
    // Repeated points are skipped, not divided by.
    auto repeated = Poly({{0, 0}, {0, 0}, {0, 10}, {10, 10}, {10, 10}, {10, 0}, {0, 0}});
    EXPECT_EQ(IsPointInArea(tagAPOINT(5, 3), repeated.data(), 7), 1);
}

// Even-odd rule with a horizontal ray, written independently of the diagonal-ray version.
bool InsideHorizontal(const std::vector<tagAPOINT>& v, double px, double py) {
    bool in = false;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double x1 = v[i].x, y1 = v[i].y, x2 = v[i + 1].x, y2 = v[i + 1].y;
        if ((y1 > py) != (y2 > py) && px < x1 + (py - y1) * (x2 - x1) / (y2 - y1)) in = !in;
    }
    return in;
}

double DistanceToEdges(const std::vector<tagAPOINT>& v, double px, double py) {
    double best = 1e30;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double ax = v[i].x, ay = v[i].y, dx = v[i + 1].x - ax, dy = v[i + 1].y - ay;
        double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
        t = std::max(0.0, std::min(1.0, t));
        best = std::min(best, std::hypot(ax + t * dx - px, ay + t * dy - py));
    }
    return best;
}

TEST(IsPointInArea, AgreesWithHorizontalRayCasting) {
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> c(-70, 70);
    int inside = 0, checked = 0;
    for (int i = 0; i < 200; ++i) {
        auto v = RandomClosedPolygon(rng, 3 + i % 30, 0, 0);
        for (int k = 0; k < 100; ++k) {
            // Off-grid points: the diagonal ray never meets an integer vertex.
            const float px = c(rng) + 0.25f, py = c(rng) + 0.5f;
            if (DistanceToEdges(v, px, py) < 1e-3) continue;
            const int got = IsPointInArea(tagAPOINT(px, py), v.data(), static_cast<int>(v.size()));
            ASSERT_EQ(got, InsideHorizontal(v, px, py) ? 1 : 0) << i << " " << px << "," << py;
            inside += got;
            ++checked;
        }
    }
    EXPECT_GT(inside, checked / 10);   // both answers were exercised
}


constexpr float kSentinel = -12345.0f;

TEST(CrossVectors, CrossingParallelAndOutsideSegments) {
    const float S = kSentinel;
    const struct { float a0x, a0y, a1x, a1y, b0x, b0y, b1x, b1y; int result; float x, y; } cases[] = {
        {0, 0, 10, 10, 0, 10, 10, 0, 1, 5, 5},
        {0, 0, 10, 0, 0, 1, 10, 1, 0, S, S},    // parallel
        {0, 0, 1, 1, 5, 0, 5, 10, 0, S, S},     // beyond the first segment: nothing written
        {0, 5, 10, 5, 4, 0, 4, 2, 0, 4, 5},     // beyond the second: 0, but the crossing is written
        {0, 5, 10, 5, 4, 0, 4, 5, 1, 4, 5},     // vertical second segment measured along y; ends touch
        {0, 5, 10, 5, 4, 5, 4, 5, 0, S, S},     // a zero-length second segment is parallel to all
    };
    for (const auto& c : cases) {
        tagFPOINT at{S, S};
        EXPECT_EQ(CrossVectors(tagAPOINT(c.a0x, c.a0y), tagAPOINT(c.a1x, c.a1y), tagAPOINT(c.b0x, c.b0y),
                               tagAPOINT(c.b1x, c.b1y), &at), c.result) << c.a1x << " " << c.b0x;
        EXPECT_TRUE(at.x == c.x && at.y == c.y) << at.x << "," << at.y;
    }
}

TEST(CrossVectors, AgreesWithDoublePrecisionOnRandomSegments) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> c(-1000, 1000);
    int crossed = 0;
    for (int i = 0; i < 20000; ++i) {
        tagAPOINT a0(c(rng), c(rng)), a1(c(rng), c(rng)), b0(c(rng), c(rng)), b1(c(rng), c(rng));
        const double ax = a1.x - a0.x, ay = a1.y - a0.y, bx = b1.x - b0.x, by = b1.y - b0.y;
        const double cr = ax * by - ay * bx;
        if (cr == 0) continue;
        const double t = (by * (b0.x - a0.x) - bx * (b0.y - a0.y)) / cr;
        const double u = (ay * (b0.x - a0.x) - ax * (b0.y - a0.y)) / cr;
        // Stay clear of the segment ends, where float rounding may decide either way.
        if (std::fabs(t) < 1e-4 || std::fabs(t - 1) < 1e-4 || std::fabs(u) < 1e-4 || std::fabs(u - 1) < 1e-4)
            continue;
        tagFPOINT at{kSentinel, kSentinel};
        const int got = CrossVectors(a0, a1, b0, b1, &at);
        const bool want = t >= 0 && t <= 1 && u >= 0 && u <= 1;
        ASSERT_EQ(got, want ? 1 : 0) << i;
        if (t >= 0 && t <= 1) {
            ASSERT_NEAR(at.x, a0.x + t * ax, 1e-2);
            ASSERT_NEAR(at.y, a0.y + t * ay, 1e-2);
        } else {
            ASSERT_EQ(at.x, kSentinel);
        }
        crossed += got;
    }
    EXPECT_GT(crossed, 1000);
}

struct PlumbCase {
    float px, py;
    int result;
    int segment;
    float fx, fy;     // foot, kSentinel when not written
    float sx, sy;     // second foot
};

TEST(PointPlumb, EveryCaseOnOneCorner) {
    tagAPOINT corner[3] = {tagAPOINT(0, 0), tagAPOINT(10, 0), tagAPOINT(10, 10)};
    const float S = kSentinel;
    const PlumbCase cases[] = {
        {10, 0, 1, 0, 10, 0, S, S},      // the corner itself
        {5, -3, 1, 0, 5, 0, S, S},       // inside the first segment only
        {13, 5, 1, 1, 10, 5, S, S},      // beyond the first, inside the second
        {8, 2, 2, 0, 8, 0, 10, 2},       // inside both
        {-3, -4, 4, 0, -3, 0, 10, -4},   // before both starts, both near
        {-5, -15, 3, 0, -5, 0, S, S},    // only the first near
        {-15, -5, 3, 1, 10, -5, S, S},   // only the second near
        {-15, -15, 0, 0, S, S, S, S},    // neither near
        {15, 15, 0, 0, S, S, S, S},      // beyond both ends
        {15, -2, 0, 0, S, S, S, S},      // parameters of opposite sign, neither inside
    };
    for (const auto& c : cases) {
        tagFPOINT foot{S, S}, second{S, S};
        int segment = 77;
        EXPECT_EQ(PointPlumb(tagAPOINT(c.px, c.py), corner, &foot, &second, &segment), c.result)
            << c.px << "," << c.py;
        EXPECT_TRUE(segment == c.segment && foot.x == c.fx && foot.y == c.fy && second.x == c.sx &&
                    second.y == c.sy) << c.px << "," << c.py;
    }
    EXPECT_EQ(PointPlumb(tagAPOINT(8, 2), corner, nullptr, nullptr, nullptr), 2);
    int segment = 5;
    EXPECT_EQ(PointPlumb(tagAPOINT(8, 2), nullptr, nullptr, nullptr, &segment), 0);
    EXPECT_EQ(segment, 0);
}

TEST(PointPlumb, FeetAreOnTheSegmentsAndPerpendicular) {
    std::mt19937 rng(13);
    std::uniform_real_distribution<float> c(-100, 100);
    for (int i = 0; i < 5000; ++i) {
        tagAPOINT corner[3] = {tagAPOINT(c(rng), c(rng)), tagAPOINT(c(rng), c(rng)),
                               tagAPOINT(c(rng), c(rng))};
        tagAPOINT p(c(rng), c(rng));
        tagFPOINT foot{kSentinel, kSentinel};
        int segment = -1;
        const int r = PointPlumb(p, corner, &foot, nullptr, &segment);
        if (r != 1 || (p.x == corner[1].x && p.y == corner[1].y)) continue;
        const tagAPOINT& s0 = corner[segment];
        const tagAPOINT& s1 = corner[segment + 1];
        const double dx = s1.x - s0.x, dy = s1.y - s0.y;
        // (p - foot) is perpendicular to the segment, and the foot lies between its ends.
        const double dot = (p.x - foot.x) * dx + (p.y - foot.y) * dy;
        ASSERT_NEAR(dot / (dx * dx + dy * dy), 0.0, 1e-4);
        const double t = ((foot.x - s0.x) * dx + (foot.y - s0.y) * dy) / (dx * dx + dy * dy);
        ASSERT_GE(t, -1e-5);
        ASSERT_LE(t, 1 + 1e-5);
    }
}

TEST(DistanceAndTolerance, HandCases) {
    tagAPOINT a(1, 2), b(4, 6), big(-3e38f, 0), big2(3e38f, 0);
    EXPECT_EQ(DistancePoints(&a, &b), 5.0f);
    EXPECT_EQ(DistancePoints(&b, &a), 5.0f);
    EXPECT_EQ(DistancePoints(nullptr, &a), FLT_MAX);
    EXPECT_EQ(DistancePoints(&big, &big2), INFINITY);   // no overflow in the widened arithmetic
    // Percent tolerance, then absolute with both ends included; a negative range is empty.
    const struct { double v, ref, tol; bool percent, in; } cases[] = {
        {10.5, 10, 5, true, true},   {10.6, 10, 5, true, false},  {9.5, 10, 5, true, true},
        {12, 10, 2, false, true},    {8, 10, 2, false, true},     {12.000001, 10, 2, false, false},
        {-100, -100, -1, false, false}};
    for (const auto& c : cases) EXPECT_EQ(Tolerance(c.v, c.ref, c.tol, c.percent), c.in) << c.v;
}

}  // namespace
