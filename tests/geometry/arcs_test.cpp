// Vertex angles, arc direction and circles through three points, by hand and against
// double-precision references.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "zedll.h"

namespace {

tagA3POINT P(float x, float y) { return tagA3POINT(x, y, 0.0f, ATR()); }

TEST(Uhel2DDegree, HandCasesAndAtan2Reference) {
    EXPECT_EQ(Uhel2DDegree(P(10, 0), P(0, 0), P(0, 10)), 90.0f);
    EXPECT_EQ(Uhel2DDegree(P(-3, 7), P(2, 7), P(9, 7)), 180.0f);
    EXPECT_NEAR(Uhel2DDegree(P(5, 5), P(0, 0), P(5, 5)), 0.0f, 1e-5f);   // acos of 1 - 2^-53
    EXPECT_EQ(Uhel2DDegree(tagA3POINT(10, 0, 99, ATR()), P(0, 0), P(0, 10)), 90.0f);   // z ignored
    EXPECT_TRUE(std::isnan(Uhel2DDegree(P(1, 1), P(1, 1), P(0, 10))));   // zero-length ray
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> c(-500.0f, 500.0f);
    for (int i = 0; i < 5000; ++i) {
        tagA3POINT a = P(c(rng), c(rng)), v = P(c(rng), c(rng)), b = P(c(rng), c(rng));
        const double ux = a.x - v.x, uy = a.y - v.y, wx = b.x - v.x, wy = b.y - v.y;
        const double want = std::fabs(std::atan2(ux * wy - uy * wx, ux * wx + uy * wy)) * 180.0 / M_PI;
        const float got = Uhel2DDegree(a, v, b);
        ASSERT_NEAR(got, want, 2e-3) << i;   // acos loses precision only near 0 and 180
        EXPECT_EQ(got, Uhel2DDegree(b, v, a));
    }
}

TEST(ArcDirect2D, HandArcsAndRandomArcsBothWays) {
    const float h = std::sqrt(0.5f) * 10;
    EXPECT_EQ(ArcDirect2D(P(10, 0), P(0, 0), P(h, h), P(0, 10)), 1);
    EXPECT_EQ(ArcDirect2D(P(0, 10), P(0, 0), P(h, h), P(10, 0)), 0);
    // Across the negative x axis, where atan2 jumps.
    EXPECT_EQ(ArcDirect2D(P(-h, h), P(0, 0), P(-10, 0), P(-h, -h)), 1);
    EXPECT_EQ(ArcDirect2D(P(-h, -h), P(0, 0), P(-10, 0), P(-h, h)), 0);
    // A middle point in the direction of the end point counts as counter-clockwise.
    EXPECT_EQ(ArcDirect2D(P(10, 0), P(0, 0), P(0, 5), P(0, 10)), 1);
    EXPECT_EQ(ArcDirect2D(P(0, 10), P(0, 0), P(10, 0), P(10, 0)), 1);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(-M_PI, M_PI), span(0.1, 2 * M_PI - 0.1);
    std::uniform_real_distribution<float> c(-100, 100), r(1, 300);
    for (int i = 0; i < 5000; ++i) {
        const double a0 = angle(rng), d = span(rng), radius = r(rng);
        const tagA3POINT centre = P(c(rng), c(rng));
        auto at = [&](double a) {
            return P(static_cast<float>(centre.x + radius * std::cos(a)),
                     static_cast<float>(centre.y + radius * std::sin(a)));
        };
        ASSERT_EQ(ArcDirect2D(at(a0), centre, at(a0 + d / 2), at(a0 + d)), 1) << i;
        ASSERT_EQ(ArcDirect2D(at(a0 + d), centre, at(a0 + d / 2), at(a0)), 0) << i;
    }
}

TEST(ArcParameters, KnownCircleCollinearPointsAndRandomCircles) {
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
    EXPECT_EQ(kept_radius, -1.0f);

    std::mt19937 rng(17);
    std::uniform_real_distribution<double> c(-500, 500), r(10, 400), a(0, 2 * M_PI);
    for (int i = 0; i < 5000; ++i) {
        const double cx = c(rng), cy = c(rng), want = r(rng);
        double angles[3] = {a(rng), a(rng), a(rng)};
        tagA3POINT p[3];
        for (int k = 0; k < 3; ++k)
            p[k] = P(static_cast<float>(cx + want * std::cos(angles[k])),
                     static_cast<float>(cy + want * std::sin(angles[k])));
        float got;
        if (!ArcParameters(p[0], p[1], p[2], &centre, &got)) continue;
        // Well-separated points only: close ones make the circle ill-conditioned in float.
        double sep = 10;
        for (int k = 0; k < 3; ++k)
            sep = std::min(sep, std::fabs(std::remainder(angles[k] - angles[(k + 1) % 3], 2 * M_PI)));
        if (sep < 0.3) continue;
        for (const auto& q : p) ASSERT_NEAR(std::hypot(centre.x - q.x, centre.y - q.y), got, 1e-3 * want);
        ASSERT_NEAR(got, want, 1e-3 * want);
    }
}

std::vector<tagAPOINT> Ring(int n, double radius, double noise_seed = -1) {
    std::mt19937 rng(static_cast<unsigned>(noise_seed));
    std::uniform_real_distribution<double> noise(-0.5, 0.5);   // one unit of radial noise
    std::vector<tagAPOINT> v;
    for (int i = 0; i < n; ++i) {
        const double a = 72 * i * M_PI / 180, r = radius + (noise_seed >= 0 ? noise(rng) : 0);
        v.emplace_back(static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)));
    }
    return v;
}

TEST(IsCircle, NoiseWithinTwoUnitsPassesThreeUnitsOffFails) {
    EXPECT_EQ(IsCircle(Ring(4, 100).data(), 4), 0);
    EXPECT_EQ(IsCircle(nullptr, 10), 0);
    for (int seed = 0; seed < 200; ++seed) ASSERT_EQ(IsCircle(Ring(9, 100, seed).data(), 9), 1) << seed;
    auto off = Ring(9, 100);
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
    EXPECT_EQ(IsCircle3P(v.data(), 8), 1);
    EXPECT_EQ(IsCircle3P(v.data(), 4), 0);
    v[5].x = -4.0001f;
    EXPECT_EQ(IsCircle3P(v.data(), 8), 0);
}

}  // namespace
