// CLS_LK queries: nearest point and vector, perpendicular foot with the corner triples (open and
// closed wrap-around), distance and the inside test.
#include <gtest/gtest.h>

#include <vector>

#include "piece_test_util.h"
#include "platform/heap.h"
#include "zedll.h"

namespace {

using piecetest::Pt;

struct Line {
    CLS_LK line;
    explicit Line(std::vector<tagAPOINT> pts, int closed = 0) {
        std::memset(static_cast<void*>(&line), 0, sizeof line);
        if (!pts.empty()) line.AppendPoints(pts.data(), static_cast<int>(pts.size()));
        line.closed = static_cast<uint8_t>(closed);
    }
    ~Line() { zed::HeapRelease(line.points); }
};

constexpr float kNone = 3.4028235e38f;
constexpr float kUntouched = -7.0f;
constexpr int kSame = 55;

TEST(PieceLineQuery, NearestPointAndVector) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(20, 0), Pt(30, 0)}), one({Pt(5, 5)}), empty({});
    // Ties go to the lower index.
    const struct { float x; int point, vector; } cases[] = {
        {1, 0, -1}, {5, 0, -1}, {11, 1, 0}, {15, 1, 0}, {21, 2, 1}, {29, 3, 3}};
    for (const auto& c : cases) {
        tagAPOINT q = Pt(c.x, 0);
        EXPECT_EQ(l.line.SearcheNearPointIndex(q), c.point) << c.x;
        EXPECT_EQ(l.line.SearcheNearVectorIndex(q), c.vector) << c.x;
    }
    tagAPOINT q = Pt(29, 0);
    EXPECT_EQ(one.line.SearcheNearVectorIndex(q), -2);
    EXPECT_EQ(empty.line.SearcheNearVectorIndex(q), -1);
    EXPECT_EQ(empty.line.SearcheNearPointIndex(q), -1);
}

TEST(PieceLineQuery, PlumbFeetAndDistances) {
    const std::vector<tagAPOINT> corner = {Pt(0, 0), Pt(10, 0), Pt(10, 10)};
    const std::vector<tagAPOINT> square = {Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(0, 0)};
    Line open_corner(corner), closed(square, 1), open(square, 0), one({Pt(3, 4)}), empty({});
    const struct { Line* line; float qx, qy; int result, segment; float fx, fy, distance; } cases[] = {
        {&open_corner, 11, 3, 0, 1, 10, 3, 1},   // beside the middle, on the second segment
        {&open_corner, 9, 4, 0, 0, 10, 4, 1},    // feet on both: the nearer one, segment 0
        {&open_corner, 1, 1, -1, kSame, 1, 0, 1},    // at the start: segment left alone
        {&open_corner, 11, 8, 2, kSame, 10, 8, 1},   // the last point nearest
        {&open_corner, 11, 12, -2, kSame, kUntouched, kUntouched, kNone},   // beyond the end
        // Nearest is point 0; a closed line also looks at its closing edge (10,0)-(0,0).
        {&closed, 3, 0.5f, -1, kSame, 3, 0, 0.5f},
        {&open, 3, 0.5f, -1, kSame, 0, 0.5f, 3},
        {&one, 0, 0, -2, kSame, kUntouched, kUntouched, 5},
        {&empty, 0, 0, -2, kSame, kUntouched, kUntouched, kNone},
    };
    for (const auto& c : cases) {
        tagAPOINT q = Pt(c.qx, c.qy);
        tagAPOINT foot = Pt(kUntouched, kUntouched, 1, ATR::kCorner, 9, 9);
        int segment = kSame;
        EXPECT_EQ(c.line->line.ComputePlumbNear(q, &foot, &segment), c.result) << c.qx << "," << c.qy;
        EXPECT_EQ(segment, c.segment) << c.qx << "," << c.qy;
        EXPECT_TRUE(foot.x == c.fx && foot.y == c.fy) << c.qx << "," << c.qy;
        if (c.fx != kUntouched) {   // the attribute is cleared
            EXPECT_TRUE(piecetest::SamePoint(foot, tagAPOINT(c.fx, c.fy)));
        }
        EXPECT_FLOAT_EQ(c.line->line.ComputeDistance(q), c.distance) << c.qx << "," << c.qy;
    }
    tagAPOINT q = Pt(9, 4);
    EXPECT_EQ(open_corner.line.ComputePlumbNear(q, nullptr, nullptr), 0);
    // The far foot is never written.
    tagAPOINT foot = Pt(kUntouched, kUntouched);
    int segment = kSame;
    q = Pt(11, 3);
    EXPECT_EQ(open_corner.line.ComputePlumbFar(q, &foot, &segment), -1);
    EXPECT_TRUE(foot.x == kUntouched && segment == kSame);
    q = Pt(0, 0);
    EXPECT_FLOAT_EQ(one.line.ComputeDistancePoint(0, q), 5.0f);
    EXPECT_EQ(one.line.ComputeDistancePoint(1, q), kNone);
    EXPECT_EQ(one.line.ComputeDistancePoint(-1, q), kNone);
    EXPECT_EQ(empty.line.ComputeDistancePoint(0, q), kNone);
}

TEST(PieceLineQuery, ClosedLinesWrapAroundTheirFirstPoint) {
    // The last point nearest: the plumb triple runs n-2, n-1, 1 and the distance one n-2, 0, 1.
    Line nearly({Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(1, 0)}, 1);
    tagAPOINT q = Pt(0.9f, 3), foot;
    int segment = kSame;
    EXPECT_EQ(nearly.line.SearcheNearVectorIndex(q), 4);
    EXPECT_EQ(nearly.line.ComputePlumbNear(q, &foot, &segment), 4);
    // Corner (1,0) between (10,0) and (0,10): the foot on (1,0)-(0,10) is the nearer one.
    tagAPOINT corners[3] = {Pt(10, 0), Pt(1, 0), Pt(0, 10)};
    tagFPOINT f1{}, f2{};
    ASSERT_EQ(PointPlumb(q, corners, &f1, &f2, nullptr), ZED_PLUMB_ONE);
    EXPECT_TRUE(foot.x == f1.x && foot.y == f1.y);
    // The distance triple wraps to point 0: the foot (0, 3) on the first edge.
    EXPECT_FLOAT_EQ(nearly.line.ComputeDistance(q), 0.9f);
    // A closed line needs more than 3 points to wrap.
    Line tri({Pt(0, 0), Pt(0, 10), Pt(1, 1)}, 1);
    q = Pt(0.5f, 2);
    EXPECT_EQ(tri.line.ComputePlumbNear(q, &foot, &segment), 2);
}

TEST(PieceLineQuery, InsideOnlyForClosedLines) {
    std::vector<tagAPOINT> square = {Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(0, 0)};
    Line closed(square, 1), open(square, 0), empty({}, 1);
    tagAPOINT in = Pt(5, 4), out = Pt(15, 4);
    EXPECT_TRUE(closed.line.IsPointIn(in));
    EXPECT_FALSE(closed.line.IsPointIn(out) || open.line.IsPointIn(in) || empty.line.IsPointIn(in));
}

}  // namespace
