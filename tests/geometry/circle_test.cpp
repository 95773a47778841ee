// Circles through three points and the circle tests on point lists.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "zedll.h"

namespace {

tagA3POINT P(float x, float y) { return tagA3POINT(x, y, 0.0f, ATR()); }

TEST(ArcParameters, KnownCircleAndCollinearPoints) {
    tagFPOINT centre{-1, -1};
    float radius = -1;
    ASSERT_EQ(ArcParameters(P(100, 0), P(0, 100), P(-100, 0), &centre, &radius), 1);
    EXPECT_EQ(centre.x, 0.0f);
    EXPECT_EQ(centre.y, 0.0f);
    EXPECT_EQ(radius, 100.0f);
    EXPECT_EQ(ArcParameters(P(5, 0), P(4, 3), P(3, 4), nullptr, &radius), 1);
    EXPECT_EQ(radius, 5.0f);

    tagFPOINT kept{-1, -1};
    float kept_radius = -1;
    EXPECT_EQ(ArcParameters(P(0, 0), P(1, 1), P(3, 3), &kept, &kept_radius), 0);
    EXPECT_EQ(ArcParameters(P(2, 2), P(2, 2), P(7, 1), &kept, &kept_radius), 0);   // repeated
    EXPECT_EQ(kept.x, -1.0f);
    EXPECT_EQ(kept.y, -1.0f);
    EXPECT_EQ(kept_radius, -1.0f);
}

TEST(ArcParameters, RadiusIsEqualFromAllThreePoints) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> c(-500, 500), r(10, 400), a(0, 2 * M_PI);
    for (int i = 0; i < 5000; ++i) {
        const double cx = c(rng), cy = c(rng), radius = r(rng);
        double angles[3] = {a(rng), a(rng), a(rng)};
        tagA3POINT p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = P(static_cast<float>(cx + radius * std::cos(angles[k])),
                     static_cast<float>(cy + radius * std::sin(angles[k])));
        tagFPOINT centre;
        float got;
        if (!ArcParameters(p[0], p[1], p[2], &centre, &got)) continue;
        // Well-separated points only: close ones make the circle ill-conditioned in float.
        const double sep = std::min({std::fabs(std::remainder(angles[0] - angles[1], 2 * M_PI)),
                                     std::fabs(std::remainder(angles[1] - angles[2], 2 * M_PI)),
                                     std::fabs(std::remainder(angles[0] - angles[2], 2 * M_PI))});
        if (sep < 0.3) continue;
        for (const auto& q : p) ASSERT_NEAR(std::hypot(centre.x - q.x, centre.y - q.y), got, 1e-3 * radius);
        ASSERT_NEAR(got, radius, 1e-3 * radius);
    }
}

std::vector<tagAPOINT> Ring(int n, double step_degrees, double radius) {
    std::vector<tagAPOINT> v;
    for (int i = 0; i < n; ++i) {
        const double a = step_degrees * i * M_PI / 180;
        v.emplace_back(static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a)));
    }
    return v;
}

TEST(IsCircle, NoiseWithinTwoUnitsPassesThreeUnitsOffFails) {
    auto four = Ring(4, 72, 100);
    EXPECT_EQ(IsCircle(four.data(), 4), 0);
    EXPECT_EQ(IsCircle(nullptr, 10), 0);
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> noise(-0.5, 0.5);   // one unit of radial noise
    for (int seed = 0; seed < 200; ++seed) {
        std::vector<tagAPOINT> v;
        for (int i = 0; i < 9; ++i) {
            const double a = i * 72 * M_PI / 180, r = 100 + noise(rng);
            v.emplace_back(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)));
        }
        ASSERT_EQ(IsCircle(v.data(), 9), 1) << seed;
    }
    auto off = Ring(9, 72, 100);
    off[4].x *= 1.03f;   // moved 3 units outwards
    off[4].y *= 1.03f;
    EXPECT_EQ(IsCircle(off.data(), 9), 0);
    std::vector<tagAPOINT> line;
    for (int i = 0; i < 8; ++i) line.emplace_back(static_cast<float>(i), static_cast<float>(2 * i));
    EXPECT_EQ(IsCircle(line.data(), 8), 0);   // no triple has a circle
}

TEST(IsCircle3P, ExactRadiiOnlyZIgnored) {
    // The integer points of the circle of radius 5: every triple gives radius 5 exactly.
    const float xy[][2] = {{5, 0}, {4, 3}, {3, 4}, {0, 5}, {-3, 4}, {-4, 3}, {-5, 0}, {-4, -3}};
    std::vector<tagA3POINT> v;
    for (auto& p : xy) v.push_back(tagA3POINT(p[0], p[1], static_cast<float>(v.size()), ATR()));
    EXPECT_EQ(IsCircle3P(v.data(), static_cast<int>(v.size())), 1);
    EXPECT_EQ(IsCircle3P(v.data(), 4), 0);
    v[5].x = -4.0001f;
    EXPECT_EQ(IsCircle3P(v.data(), static_cast<int>(v.size())), 0);
}

}  // namespace
