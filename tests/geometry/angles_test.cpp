// Vertex angle and arc direction, by hand and against double-precision references.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "zedll.h"

namespace {

tagA3POINT P(float x, float y) { return tagA3POINT(x, y, 0.0f, ATR()); }

TEST(Uhel2DDegree, RightStraightAndZeroAngles) {
    EXPECT_EQ(Uhel2DDegree(P(10, 0), P(0, 0), P(0, 10)), 90.0f);
    EXPECT_EQ(Uhel2DDegree(P(-3, 7), P(2, 7), P(9, 7)), 180.0f);
    EXPECT_NEAR(Uhel2DDegree(P(5, 5), P(0, 0), P(5, 5)), 0.0f, 1e-5f);   // acos of 1 - 2^-53
    EXPECT_NEAR(Uhel2DDegree(P(1, 0), P(0, 0), P(1, 1)), 45.0f, 1e-5f);
    // z is ignored: a tilted point gives the same plane angle.
    EXPECT_EQ(Uhel2DDegree(tagA3POINT(10, 0, 99, ATR()), P(0, 0), P(0, 10)), 90.0f);
    // A zero-length ray has no angle.
    EXPECT_TRUE(std::isnan(Uhel2DDegree(P(1, 1), P(1, 1), P(0, 10))));
}

TEST(Uhel2DDegree, AgreesWithAtan2OnRandomRays) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> c(-500.0f, 500.0f);
    for (int i = 0; i < 5000; ++i) {
        tagA3POINT a = P(c(rng), c(rng)), v = P(c(rng), c(rng)), b = P(c(rng), c(rng));
        const double ux = a.x - v.x, uy = a.y - v.y, wx = b.x - v.x, wy = b.y - v.y;
        const double want =
            std::fabs(std::atan2(ux * wy - uy * wx, ux * wx + uy * wy)) * 180.0 / M_PI;
        const float got = Uhel2DDegree(a, v, b);
        ASSERT_NEAR(got, want, 2e-3) << i;   // acos loses precision only near 0 and 180
        EXPECT_EQ(got, Uhel2DDegree(b, v, a));
    }
}

TEST(ArcDirect2D, QuarterArcsBothWays) {
    const float h = std::sqrt(0.5f) * 10;
    EXPECT_EQ(ArcDirect2D(P(10, 0), P(0, 0), P(h, h), P(0, 10)), 1);
    EXPECT_EQ(ArcDirect2D(P(0, 10), P(0, 0), P(h, h), P(10, 0)), 0);
    // Arcs across the negative x axis, where atan2 jumps.
    EXPECT_EQ(ArcDirect2D(P(-h, h), P(0, 0), P(-10, 0), P(-h, -h)), 1);
    EXPECT_EQ(ArcDirect2D(P(-h, -h), P(0, 0), P(-10, 0), P(-h, h)), 0);
    // A middle point in the direction of the end point counts as counter-clockwise.
    EXPECT_EQ(ArcDirect2D(P(10, 0), P(0, 0), P(0, 5), P(0, 10)), 1);
    EXPECT_EQ(ArcDirect2D(P(0, 10), P(0, 0), P(10, 0), P(10, 0)), 1);
}

TEST(ArcDirect2D, RandomArcsAndTheirReversals) {
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

}  // namespace
