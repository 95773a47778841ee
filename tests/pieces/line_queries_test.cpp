// CLS_LK queries: nearest point and vector, perpendicular foot with the corner triples (open and
// closed wrap-around), distance and the inside test.
#include <gtest/gtest.h>

#include <cfloat>
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

TEST(PieceLineQuery, NearestPointPrefersTheLowerIndexOnTies) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(20, 0)});
    tagAPOINT q = Pt(5, 3);
    EXPECT_EQ(l.line.SearcheNearPointIndex(q), 0);
    q = Pt(15, -3);
    EXPECT_EQ(l.line.SearcheNearPointIndex(q), 1);
    q = Pt(19, 0);
    EXPECT_EQ(l.line.SearcheNearPointIndex(q), 2);
    Line empty({});
    EXPECT_EQ(empty.line.SearcheNearPointIndex(q), -1);
}

TEST(PieceLineQuery, NearestVectorSpecialValues) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(20, 0), Pt(30, 0)});
    tagAPOINT q = Pt(1, 0);
    EXPECT_EQ(l.line.SearcheNearVectorIndex(q), -1);
    q = Pt(11, 0);
    EXPECT_EQ(l.line.SearcheNearVectorIndex(q), 0);
    q = Pt(21, 0);
    EXPECT_EQ(l.line.SearcheNearVectorIndex(q), 1);
    q = Pt(29, 0);
    EXPECT_EQ(l.line.SearcheNearVectorIndex(q), 3);
    Line one({Pt(5, 5)});
    EXPECT_EQ(one.line.SearcheNearVectorIndex(q), -2);
    Line empty({});
    EXPECT_EQ(empty.line.SearcheNearVectorIndex(q), -1);
}

TEST(PieceLineQuery, PlumbBesideTheMiddleOfAnOpenLine) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(10, 10)});
    tagAPOINT q = Pt(11, 3);
    tagAPOINT foot = Pt(-7, -7, 1, ATR::kCorner, 9, 9);
    int segment = 55;
    EXPECT_EQ(l.line.ComputePlumbNear(q, &foot, &segment), 0);
    EXPECT_EQ(segment, 1);   // on B-C
    EXPECT_EQ(+foot.x, 10.0f);
    EXPECT_EQ(+foot.y, 3.0f);
    EXPECT_TRUE(piecetest::SamePoint(foot, tagAPOINT(10, 3)));   // attribute cleared
    EXPECT_FLOAT_EQ(l.line.ComputeDistance(q), 1.0f);

    // Feet on both segments: the one nearer to q, and segment stays 0.
    q = Pt(9, 4);
    segment = 55;
    EXPECT_EQ(l.line.ComputePlumbNear(q, &foot, &segment), 0);
    EXPECT_EQ(segment, 0);
    EXPECT_EQ(+foot.x, 10.0f);
    EXPECT_EQ(+foot.y, 4.0f);
    EXPECT_FLOAT_EQ(l.line.ComputeDistance(q), 1.0f);
    // Null outputs are fine.
    EXPECT_EQ(l.line.ComputePlumbNear(q, nullptr, nullptr), 0);
}

TEST(PieceLineQuery, PlumbAtTheEndsOfAnOpenLineLeavesSegmentAlone) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(10, 10)});
    tagAPOINT q = Pt(1, 1);
    tagAPOINT foot;
    int segment = 55;
    EXPECT_EQ(l.line.ComputePlumbNear(q, &foot, &segment), -1);
    EXPECT_EQ(segment, 55);
    EXPECT_EQ(+foot.x, 1.0f);
    EXPECT_EQ(+foot.y, 0.0f);
    EXPECT_FLOAT_EQ(l.line.ComputeDistance(q), 1.0f);

    q = Pt(11, 8);   // the last point is nearest
    EXPECT_EQ(l.line.ComputePlumbNear(q, &foot, &segment), 2);
    EXPECT_EQ(segment, 55);
    EXPECT_EQ(+foot.x, 10.0f);
    EXPECT_EQ(+foot.y, 8.0f);
    EXPECT_FLOAT_EQ(l.line.ComputeDistance(q), 1.0f);

    // Beyond the end there is no foot at all.
    q = Pt(11, 12);
    foot = Pt(-7, -7);
    EXPECT_EQ(l.line.ComputePlumbNear(q, &foot, &segment), -2);
    EXPECT_EQ(+foot.x, -7.0f);
    EXPECT_EQ(l.line.ComputeDistance(q), kNone);
}

TEST(PieceLineQuery, ClosedLinesWrapAroundTheirFirstPoint) {
    std::vector<tagAPOINT> square = {Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(0, 0)};
    Line closed(square, 1), open(square, 0);
    tagAPOINT q = Pt(3, 0.5f);   // nearest: point 0; the closing edge (10,0)-(0,0) is nearer
    tagAPOINT foot;
    int segment = 55;
    EXPECT_EQ(closed.line.ComputePlumbNear(q, &foot, &segment), -1);
    EXPECT_EQ(+foot.x, 3.0f);
    EXPECT_EQ(+foot.y, 0.0f);
    EXPECT_FLOAT_EQ(closed.line.ComputeDistance(q), 0.5f);
    EXPECT_EQ(open.line.ComputePlumbNear(q, &foot, &segment), -1);
    EXPECT_EQ(+foot.x, 0.0f);
    EXPECT_EQ(+foot.y, 0.5f);
    EXPECT_FLOAT_EQ(open.line.ComputeDistance(q), 3.0f);
    EXPECT_EQ(segment, 55);

    // The last point nearest: the plumb triple runs n-2, n-1, 1 and the distance one n-2, 0, 1.
    Line nearly({Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(1, 0)}, 1);
    q = Pt(0.9f, 3);
    EXPECT_EQ(nearly.line.SearcheNearVectorIndex(q), 4);
    EXPECT_EQ(nearly.line.ComputePlumbNear(q, &foot, &segment), 4);
    // Corner (1,0) between (10,0) and (0,10): the foot on (1,0)-(0,10) is the nearer one.
    tagAPOINT corners[3] = {Pt(10, 0), Pt(1, 0), Pt(0, 10)};
    tagFPOINT f1{}, f2{};
    ASSERT_EQ(PointPlumb(q, corners, &f1, &f2, nullptr), ZED_PLUMB_ONE);
    EXPECT_EQ(+foot.x, +f1.x);
    EXPECT_EQ(+foot.y, +f1.y);
    // The distance triple wraps to point 0: the foot (0, 3) on the first edge.
    EXPECT_FLOAT_EQ(nearly.line.ComputeDistance(q), 0.9f);
    // A closed line needs more than 3 points to wrap.
    Line tri({Pt(0, 0), Pt(0, 10), Pt(1, 1)}, 1);
    q = Pt(0.5f, 2);
    EXPECT_EQ(tri.line.ComputePlumbNear(q, &foot, &segment), 2);
}

TEST(PieceLineQuery, DistancesWithoutSegments) {
    Line empty({}), one({Pt(3, 4)});
    tagAPOINT q = Pt(0, 0);
    EXPECT_EQ(empty.line.ComputeDistance(q), kNone);
    EXPECT_FLOAT_EQ(one.line.ComputeDistance(q), 5.0f);
    tagAPOINT foot = Pt(-7, -7);
    int segment = 55;
    EXPECT_EQ(one.line.ComputePlumbNear(q, &foot, &segment), -2);
    EXPECT_EQ(empty.line.ComputePlumbNear(q, &foot, &segment), -2);
    EXPECT_EQ(+foot.x, -7.0f);
    EXPECT_EQ(segment, 55);
    EXPECT_FLOAT_EQ(one.line.ComputeDistancePoint(0, q), 5.0f);
    EXPECT_EQ(one.line.ComputeDistancePoint(1, q), kNone);
    EXPECT_EQ(one.line.ComputeDistancePoint(-1, q), kNone);
    EXPECT_EQ(empty.line.ComputeDistancePoint(0, q), kNone);
}

TEST(PieceLineQuery, PlumbFarWritesNothing) {
    Line l({Pt(0, 0), Pt(10, 0), Pt(10, 10)});
    tagAPOINT q = Pt(11, 3);
    tagAPOINT foot = Pt(-7, -7);
    int segment = 55;
    EXPECT_EQ(l.line.ComputePlumbFar(q, &foot, &segment), -1);
    EXPECT_EQ(+foot.x, -7.0f);
    EXPECT_EQ(segment, 55);
}

TEST(PieceLineQuery, InsideOnlyForClosedLines) {
    std::vector<tagAPOINT> square = {Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(0, 0)};
    Line closed(square, 1), open(square, 0), empty({}, 1);
    tagAPOINT in = Pt(5, 4), out = Pt(15, 4);
    EXPECT_TRUE(closed.line.IsPointIn(in));
    EXPECT_FALSE(closed.line.IsPointIn(out));
    EXPECT_FALSE(open.line.IsPointIn(in));
    EXPECT_FALSE(empty.line.IsPointIn(in));
}

}  // namespace
