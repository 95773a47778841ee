// CLS_LK editing (inserts, appends and deletes with their growth rule, reversal with the pen-flag
// repair, equality) and queries (nearest point and vector, perpendicular feet with the corner
// triples of open and closed lines, distance, the inside test).
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "piece_test_util.h"
#include "os/heap.h"
#include "zedll.h"

namespace {

using zedtest::OwnedLine;
using zedtest::Points;
using zedtest::Pt;
using zedtest::SamePoint;

std::vector<tagAPOINT> Abcde() { return {Pt(1, 1), Pt(2, 2), Pt(3, 3), Pt(4, 4), Pt(5, 5)}; }

std::string Xs(const CLS_LK& line) {
    std::string s;
    for (const auto& p : Points(line)) s += static_cast<char>('A' + static_cast<int>(p.x) - 1);
    return s;
}

std::string DrawFlags(const CLS_LK& line) {
    std::string s;
    for (const auto& q : Points(line)) s += q.a.IsDraw() ? 'd' : 'u';
    return s;
}

TEST(PieceLine, SinglePointEditsOnTheirBoundaries) {
    // B: insert 'X' before, A: insert 'X' after, d: delete one, D: delete a range.
    const struct { char op; int a, b, result; const char* after; } cases[] = {
        {'B', 2, 0, 2, "ABXCDE"}, {'B', 0, 0, 0, "XABCDE"}, {'B', 5, 0, -1, "ABCDE"},
        {'B', -1, 0, -1, "ABCDE"}, {'A', 1, 0, 1, "ABXCDE"}, {'A', 4, 0, 5, "ABCDEX"},
        {'A', 5, 0, -1, "ABCDE"},  {'d', 4, 0, 1, "ABCD"},   {'d', -1, 0, 1, "ABCD"},
        {'d', 0, 0, 1, "BCDE"},    {'d', 5, 0, -1, "ABCDE"}, {'d', -2, 0, -1, "ABCDE"},
        {'D', 3, 1, -1, "ABCDE"},  {'D', 1, 5, -1, "ABCDE"}, {'D', -1, 2, -1, "ABCDE"},
        {'D', 1, 3, 1, "AE"},      {'D', 0, 0, 1, "BCDE"},   {'D', 0, -1, 0, ""},
    };
    for (const auto& c : cases) {
        OwnedLine l(Abcde());
        tagAPOINT x = Pt(24, 0);
        const int got = c.op == 'B'   ? l.line.InsertPointBefore(c.a, x)
                        : c.op == 'A' ? l.line.InsertPointAfter(c.a, x)
                        : c.op == 'd' ? l.line.DeletePoint(c.a)
                                      : l.line.DeletePoints(c.a, c.b);
        EXPECT_EQ(got, c.result) << c.op << c.a << "," << c.b;
        EXPECT_EQ(Xs(l.line), c.after) << c.op << c.a << "," << c.b;
        if (c.op == 'B' && c.result == 0) {   // the rectangle follows inserts
            EXPECT_EQ(+l.line.rect.bottom, 0.0f);
            EXPECT_EQ(+l.line.rect.right, 24.0f);
        }
        if (c.op == 'd' && c.a == 4) {   // and is left alone by deletes until recomputed
            EXPECT_EQ(+l.line.rect.right, 5.0f);
            l.line.ComputeRect();
            EXPECT_EQ(+l.line.rect.right, 4.0f);
        }
    }
}

TEST(PieceLine, BadArgumentsEmptyingAndNoPointsToAdd) {
    OwnedLine l(Abcde());
    tagAPOINT x = Pt(24, 0);
    EXPECT_EQ(l.line.InsertPointsBefore(0, nullptr, 1), -1);
    EXPECT_EQ(l.line.InsertPointsBefore(0, &x, -1), -1);
    // No points to add is no error: the line stays as it is.
    EXPECT_EQ(l.line.InsertPointsBefore(2, nullptr, 0), 2);
    EXPECT_EQ(l.line.InsertPointsAfter(2, nullptr, 0), 2);
    EXPECT_EQ(l.line.AppendPoints(nullptr, 0), 5);
    EXPECT_EQ(Xs(l.line), "ABCDE");
    EXPECT_EQ(l.line.DeletePoints(0, 3), 1);
    EXPECT_EQ(l.line.DeletePoint(-1), 0);   // the last point goes: empty
    EXPECT_EQ(l.line.DeletePoint(-1), -1);
    EXPECT_EQ(l.line.DeletePoints(0, -1), -1);
    l.line.ComputeRect();
    EXPECT_TRUE(l.line.rect == FRECT());
    // Appending to the emptied buffer replaces it with n + 10 slots.
    EXPECT_NE(+l.line.points, nullptr);
    tagAPOINT two[2] = {Pt(9, 9), Pt(8, 8)};
    EXPECT_EQ(l.line.AppendPoints(two, 2), 0);
    EXPECT_EQ(+l.line.capacity, 12);
    EXPECT_EQ(+l.line.rect.left, 8.0f);
}

TEST(PieceLine, GrowthTakesCapacityPlusNPlusTen) {
    OwnedLine l;
    std::vector<tagAPOINT> pts = Abcde(), more(9, Pt(7, 7));
    EXPECT_EQ(l.line.AppendPoints(pts.data(), 5), 0);
    EXPECT_EQ(+l.line.capacity, 15);   // a line without points: n + 10
    EXPECT_EQ(l.line.AppendPoints(more.data(), 9), 5);   // 5 + 9 < 15: no growth
    EXPECT_EQ(+l.line.capacity, 15);
    EXPECT_EQ(l.line.AppendPoints(more.data(), 1), 14);   // 14 + 1 >= 15: 15 + 1 + 10
    EXPECT_EQ(+l.line.capacity, 26);
    // Invariant: at least one free slot, and the slots beyond count were zero-filled.
    for (int i = 15; i < 26; ++i) EXPECT_TRUE(SamePoint(l.line.points[i], tagAPOINT())) << i;
}

TEST(PieceLine, PointsFromTheLineItselfAreInsertedIntact) {
    // The source lies inside the buffer that moves (and, on growth, is released).
    for (int grow = 0; grow < 2; ++grow) {
        OwnedLine l(Abcde());
        if (!grow) {
            std::vector<tagAPOINT> pad(20, Pt(9, 9));
            l.line.AppendPoints(pad.data(), 20);
            l.line.DeletePoints(5, -1);
        }
        const int cap = l.line.capacity;
        EXPECT_EQ(l.line.InsertPointsBefore(1, +l.line.points, 3), 1);
        EXPECT_EQ(l.line.InsertPointsAfter(2, +l.line.points + 5, 3), 2);
        EXPECT_EQ(l.line.AppendPoints(l.line.points, 4), 11);
        EXPECT_EQ(Xs(l.line), "AABCDECBCDEAABC");
        EXPECT_EQ(grow != 0, +l.line.capacity != cap);
    }
}

// Random edits against a plain vector as the model.
TEST(PieceLine, RandomEditsMatchAVectorModel) {
    std::mt19937 rng(7);
    OwnedLine l;
    std::vector<tagAPOINT> model;
    float next = 0;
    for (int step = 0; step < 3000; ++step) {
        const int op = static_cast<int>(rng() % 5);
        const int n = 1 + static_cast<int>(rng() % 4);
        std::vector<tagAPOINT> add;
        for (int k = 0; k < n; ++k) add.push_back(Pt(next++, static_cast<float>(rng() % 100), static_cast<int>(rng() & 1)));
        const int size = static_cast<int>(model.size());
        const int i = size > 0 ? static_cast<int>(rng() % static_cast<unsigned>(size)) : 0;
        if (op == 0 || size == 0) {
            EXPECT_EQ(l.line.AppendPoints(add.data(), n), size);
            model.insert(model.end(), add.begin(), add.end());
        } else if (op == 1) {
            EXPECT_EQ(l.line.InsertPointsBefore(i, add.data(), n), i);
            model.insert(model.begin() + i, add.begin(), add.end());
        } else if (op == 2) {
            EXPECT_EQ(l.line.InsertPointsAfter(i, add.data(), n), i == size - 1 ? i + 1 : i);
            model.insert(model.begin() + i + 1, add.begin(), add.end());
        } else if (op == 3) {
            EXPECT_EQ(l.line.DeletePoint(i), size > 1 ? 1 : 0);
            model.erase(model.begin() + i);
        } else {
            const int last = std::min(size - 1, i + static_cast<int>(rng() % 3));
            EXPECT_EQ(l.line.DeletePoints(i, last), size - (last - i + 1) > 0 ? 1 : 0);
            model.erase(model.begin() + i, model.begin() + last + 1);
        }
        ASSERT_EQ(+l.line.count, static_cast<int>(model.size())) << step;
        ASSERT_LT(+l.line.count, +l.line.capacity);
        for (size_t k = 0; k < model.size(); ++k) ASSERT_TRUE(SamePoint(l.line.points[k], model[k])) << step << " @" << k;
    }
}

TEST(PieceLine, RefusedGrowthLeavesTheLineUnchanged) {
    OwnedLine l(Abcde()), empty;
    std::vector<tagAPOINT> many(20, Pt(50, 50));
    const tagAPOINT* before = l.line.points;
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(l.line.AppendPoints(many.data(), 20), -1);
    EXPECT_EQ(l.line.InsertPointsBefore(0, many.data(), 20), -1);
    EXPECT_EQ(l.line.InsertPointsAfter(0, many.data(), 20), -1);
    EXPECT_EQ(l.line.InsertPointsAfter(2, +l.line.points, 2), -1);   // aliasing copy refused
    EXPECT_EQ(l.line.ChangeDirect(), 0);
    EXPECT_EQ(empty.line.AppendPoints(many.data(), 3), -1);
    zed::heap_testing::Reset();
    EXPECT_EQ(+l.line.points, before);
    EXPECT_EQ(Xs(l.line), "ABCDE");
    EXPECT_EQ(+l.line.capacity, 15);
    EXPECT_EQ(+l.line.rect.right, 5.0f);
    EXPECT_EQ(+l.line.clockwise, 0);
    EXPECT_EQ(+empty.line.points, nullptr);
    EXPECT_EQ(+empty.line.count, 0);
}

TEST(PieceLine, ChangeDirectReversesAndRepairsPenFlags) {
    // Three points: only the first and last pen flags change; the rest of the attribute stays.
    OwnedLine three({Pt(0, 0, 1, ATR::kCorner, 5, 11), Pt(1, 0, 0), Pt(2, 0, 0, 0, 0, 40000)});
    EXPECT_EQ(three.line.ChangeDirect(), 1);
    auto p = Points(three.line);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(+p[0].x, 2.0f);
    EXPECT_EQ(DrawFlags(three.line), "uud");   // the repair loop needs four points
    EXPECT_EQ(p[2].a.IsCorner(), 1);
    EXPECT_EQ(+p[2].a.kind, 5);
    EXPECT_EQ(p[2].a.GetCode(), 11u);
    EXPECT_EQ(+three.line.clockwise, 1);
    EXPECT_EQ(+three.line.capacity, 13);   // a new buffer of the same size

    // A drawn run A-B-C, a lift to D and a drawn run D-E-F: reversed F E D C B A with the old
    // flags d d u d d u; the first cleared and the last set. No pair is near enough to repair.
    OwnedLine runs({Pt(0, 0, 0), Pt(10, 0), Pt(20, 0), Pt(100, 0, 0), Pt(110, 0), Pt(120, 0)});
    EXPECT_EQ(runs.line.ChangeDirect(), 1);
    EXPECT_EQ(DrawFlags(runs.line), "ududdd");

    // Near pairs (< 2 apart) whose pen flags differ swap them; two lifted points < 15 apart merge.
    // Reversed: 60 45 40 11.5 11 10 0, ends fixed: u u u d u d d. At 40 (after 45): both lifted,
    // 5 apart: 45 takes the pen down. At 10 (after 11): 1 apart, flags differ: they swap.
    OwnedLine near_pairs({Pt(0, 0, 0), Pt(10, 0), Pt(11, 0, 0), Pt(11.5f, 0), Pt(40, 0, 0), Pt(45, 0, 0),
                    Pt(60, 0)});
    EXPECT_EQ(near_pairs.line.ChangeDirect(), 1);
    EXPECT_EQ(DrawFlags(near_pairs.line), "ududdud");
}

TEST(PieceLine, EqualityLooksAtEveryField) {
    for (CLS_LK::TLine type : {CLS_LK::linePrepared, CLS_LK::lineParam2, CLS_LK::lineParam3}) {
        OwnedLine a(Abcde()), b(Abcde());
        a.line.type = b.line.type = type;
        a.line.param = 1;
        b.line.param = 2;
        EXPECT_EQ(a.line == b.line, type == CLS_LK::linePrepared ? 1 : 0) << type;   // param: types 2 and 3 only
        EXPECT_EQ(a.line != b.line, type != CLS_LK::linePrepared ? 1 : 0) << type;
    }
    const std::function<void(CLS_LK&)> changes[] = {
        [](CLS_LK& l) { l.points[2].a.kind = 3; },    [](CLS_LK& l) { l.points[2].a.flags |= ATR::kCorner; },
        [](CLS_LK& l) { l.points[2].a.code = 1; },    [](CLS_LK& l) { l.rect.top += 1; },
        [](CLS_LK& l) { l.code = 9; },                [](CLS_LK& l) { l.closed = 1; },
        [](CLS_LK& l) { l.points[0].x = std::numeric_limits<float>::quiet_NaN(); },   // NaN never equal
    };
    for (size_t i = 0; i < sizeof changes / sizeof changes[0]; ++i) {
        OwnedLine a(Abcde()), b(Abcde());
        a.line.points[6] = Pt(99, 99);   // points beyond count do not count
        EXPECT_TRUE(a.line == b.line) << i;
        changes[i](b.line);
        EXPECT_FALSE(a.line == b.line) << i;
        EXPECT_FALSE(b.line == b.line && i == 6);
    }
    // A line without a buffer equals only another one without; assignment shares the buffer.
    OwnedLine bare1, bare2, c(Abcde());
    bare1.line.type = bare2.line.type = c.line.type = CLS_LK::lineLeading;
    EXPECT_TRUE(bare1.line == bare2.line);
    c.line.count = 0;
    c.line.rect = FRECT();
    EXPECT_FALSE(bare1.line == c.line || c.line == bare1.line);
    CLS_LK copy;
    EXPECT_TRUE(copy.rect == FRECT());
    copy = c.line;
    EXPECT_EQ(+copy.points, +c.line.points);
}

TEST(PieceLine, NotchDrillAndReadyLookOnlyWithinCount) {
    OwnedLine l(Abcde()), empty;
    l.line.points[3].a.flags |= ATR::kMark;
    EXPECT_EQ(l.line.HasNotch() + l.line.HasDrill(), 0);
    l.line.points[3].a.flags |= ATR::kNotch2;
    EXPECT_EQ(l.line.HasNotch(), 1);
    l.line.points[4].a.flags |= ATR::kDrill;
    EXPECT_EQ(l.line.HasDrill(), 1);
    l.line.DeletePoint(4);
    EXPECT_EQ(l.line.HasDrill(), 0);   // beyond count
    EXPECT_EQ(l.line.IsReady(3), 1);
    EXPECT_EQ(l.line.IsReady(4), 0);
    EXPECT_EQ(empty.line.IsReady(0) + empty.line.HasNotch(), 0);
}

constexpr float kNone = 3.4028235e38f;
constexpr float kUntouched = -7.0f;
constexpr int kSame = 55;

TEST(PieceLineQuery, NearestPointAndVector) {
    OwnedLine l({Pt(0, 0), Pt(10, 0), Pt(20, 0), Pt(30, 0)}), one({Pt(5, 5)}), empty;
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
    OwnedLine open_corner(corner), closed(square, 1), open(square, 0), one({Pt(3, 4)}), empty;
    const struct { OwnedLine* line; float qx, qy; int result, segment; float fx, fy, distance; } cases[] = {
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
            EXPECT_TRUE(zedtest::SamePoint(foot, tagAPOINT(c.fx, c.fy)));
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
    OwnedLine nearly({Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(1, 0)}, 1);
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
    OwnedLine tri({Pt(0, 0), Pt(0, 10), Pt(1, 1)}, 1);
    q = Pt(0.5f, 2);
    EXPECT_EQ(tri.line.ComputePlumbNear(q, &foot, &segment), 2);
}

TEST(PieceLineQuery, InsideOnlyForClosedLines) {
    std::vector<tagAPOINT> square = {Pt(0, 0), Pt(0, 10), Pt(10, 10), Pt(10, 0), Pt(0, 0)};
    OwnedLine closed(square, 1), open(square, 0), empty({}, 1);
    tagAPOINT in = Pt(5, 4), out = Pt(15, 4);
    EXPECT_TRUE(closed.line.IsPointIn(in));
    EXPECT_FALSE(closed.line.IsPointIn(out) || open.line.IsPointIn(in) || empty.line.IsPointIn(in));
}

}  // namespace
