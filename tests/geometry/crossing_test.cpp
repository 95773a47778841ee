// Segment crossing, perpendicular feet on a corner, distance and tolerance.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "zedll.h"

namespace {

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
