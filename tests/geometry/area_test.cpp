// Signed area, orientation and point-in-area, against exact integer and ray-casting references.
#include <gtest/gtest.h>

#include <algorithm>
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

}  // namespace
