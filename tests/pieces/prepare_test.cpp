// Preparation of raw outlines into lines (checked against a reference written here from the
// rules), adding lines, flattening, and refused allocations at every step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "piece_test_util.h"
#include "os/heap.h"
#include "zedll.h"

namespace {

using zedtest::ExpectConsistent;
using zedtest::Pt;
using zedtest::SamePoint;

constexpr uint16_t kDraw = ATR::kDraw;

// The reference: pen flags say where lines are cut; each line is checked for closure by its ends.
struct RefLine {
    int start, end;
    bool closed, clockwise;
};

bool RefClosed(const std::vector<tagAPOINT>& p, int s, int e, bool both) {
    const float dx = std::fabs(p[e].x - p[s].x), dy = std::fabs(p[e].y - p[s].y);
    const bool ends_meet = both ? dx < 10 && dy < 10 : dx < 10 || dy < 10;
    return ends_meet && !(p[e].a.flags & ATR::kDrill) && e - s + 1 >= 4;
}

bool RefClockwise(const std::vector<tagAPOINT>& p, int s, int e) {
    double twice_area = 0;
    for (int i = s; i < e; ++i) twice_area += double(p[i].x) * p[i + 1].y - double(p[i + 1].x) * p[i].y;
    return twice_area < 0;
}

std::vector<RefLine> RefPrepare(const std::vector<tagAPOINT>& p) {
    const int n = static_cast<int>(p.size());
    std::vector<std::pair<int, bool>> cuts;   // first index of the next line, both-near ending
    for (int i = 1; i < n; ++i) {
        const bool was_down = p[i - 1].a.flags & kDraw, is_down = p[i].a.flags & kDraw;
        const bool long_lift = std::fabs(p[i].x - p[i - 1].x) > 10 || std::fabs(p[i].y - p[i - 1].y) > 10;
        if (was_down && !is_down && long_lift) cuts.push_back({i, true});
        if (!was_down && !is_down) cuts.push_back({i, false});
    }
    cuts.push_back({n, false});
    std::vector<RefLine> lines;
    int start = 0;
    for (const auto& c : cuts) {
        if (lines.size() == 5000) break;
        RefLine l{start, c.first - 1, RefClosed(p, start, c.first - 1, c.second), false};
        l.clockwise = l.closed && RefClockwise(p, l.start, l.end);
        lines.push_back(l);
        start = c.first;
    }
    return lines;
}

int RefSubType(const ATR& a) {
    const int k = a.kind;
    return k == 3 || k == 7 || k == 8 || k == 9 || k == 23 ? 7
           : k == 17                                       ? 6
           : k == 13                                       ? 3
           : a.flags & ATR::kFlag8                         ? 2
           : a.flags & (ATR::kMark | ATR::kNotch | ATR::kNotch2) ? 0
           : a.flags & ATR::kDrill                         ? 1
                                                           : -1;
}

// A random plotter outline: drawn runs with short and long pen lifts, lone lifted points, runs
// that come back to their start, and random marks on points.
std::vector<tagAPOINT> RandomOutline(std::mt19937& rng, int n) {
    std::uniform_real_distribution<float> step(-12, 12), coin(0, 1);
    std::vector<tagAPOINT> v;
    float x = 0, y = 0;
    int run_start = 0;
    for (int i = 0; i < n; ++i) {
        const float r = coin(rng);
        int draw = r < 0.8f ? 1 : 0;
        if (r < 0.05f && i - run_start >= 3) {   // come back near the run's start
            x = v[run_start].x + step(rng) / 2;
            y = v[run_start].y + step(rng) / 2;
        } else if (draw == 0 && coin(rng) < 0.5f) {
            x += step(rng) * 10;
            y += step(rng) * 10;
        } else {
            x += step(rng);
            y += step(rng);
        }
        if (!draw) run_start = i;
        const float m = coin(rng);
        const uint16_t flags = m < 0.05f ? ATR::kDrill : m < 0.08f ? ATR::kNotch : m < 0.10f ? ATR::kFlag8 : 0;
        const uint8_t kinds[] = {3, 7, 8, 9, 13, 17, 23, 5};
        const uint8_t kind = m >= 0.10f && m < 0.12f ? kinds[rng() % 8] : 0;
        v.push_back(Pt(std::round(x), std::round(y), draw, flags, kind, rng() % 40000));
    }
    return v;
}

void ExpectMatchesReference(CLS_LineKus& piece, const std::vector<tagAPOINT>& p, int first_line) {
    const std::vector<RefLine> ref = RefPrepare(p);
    ASSERT_EQ(+piece.numLines - first_line, static_cast<int>(ref.size()));
    for (size_t k = 0; k < ref.size(); ++k) {
        const CLS_LK& l = *piece.GetLine(first_line + static_cast<int>(k));
        const RefLine& r = ref[k];
        ASSERT_EQ(+l.count, +r.end - +r.start + 1) << k;
        EXPECT_TRUE(l.capacity == l.count + 1 && l.type == 1 && l.code == p[r.start].a.GetCode()) << k;
        EXPECT_TRUE(l.closed == (r.closed ? 1 : 0) && l.clockwise == (r.clockwise ? 1 : 0)) << k;
        EXPECT_EQ(+l.subType, RefSubType(p[r.start].a)) << k;
        FRECT box(p[r.start].x, p[r.start].y, p[r.start].x, p[r.start].y);
        for (int i = r.start; i <= r.end; ++i) {
            ASSERT_TRUE(SamePoint(l.points[i - r.start], p[i])) << k << " @" << i;
            box = FRECT(std::min(box.left, +p[i].x), std::max(box.top, +p[i].y), std::max(box.right, +p[i].x),
                        std::min(box.bottom, +p[i].y));
        }
        EXPECT_TRUE(l.rect == box) << k;
    }
}

TEST(PiecePrepare, TrivialInputs) {
    CLS_LineKus piece;
    tagAPOINT one = Pt(5, 5, 0);
    EXPECT_EQ(piece.Prepare(&one, 0) + piece.Prepare(&one, -3), 2);
    EXPECT_EQ(piece.Prepare(nullptr, 4), 0);
    EXPECT_TRUE(piece.numLines == 0 && piece.lines == nullptr);
    EXPECT_EQ(piece.Prepare(&one, 1), 1);
    ASSERT_EQ(+piece.numLines, 1);
    EXPECT_TRUE(piece.lines[0].count == 1 && piece.lines[0].closed == 0);
    EXPECT_EQ(piece.Prepare2(&one, 1), 1);
    EXPECT_EQ(+piece.numLines2, 0);   // starts at point 0: no line in the second list
    std::vector<tagAPOINT> v = {Pt(0, 0, 0), Pt(100, 0, 0), Pt(200, 0, 0)};
    CLS_LineKus lone;
    EXPECT_EQ(lone.Prepare2(v.data(), 3), 1);
    EXPECT_EQ(+lone.numLines2, 0);
    ASSERT_NE(+lone.lines2, nullptr);   // the list's array is made even when no line is
    EXPECT_EQ(+lone.lines2[0].points, nullptr);
}

TEST(PiecePrepare, PenLiftThresholdsOnBothSidesOfTen) {
    const struct { float dx, dy; int lines; } cases[] = {{8, 8, 1},     {10, 10, 1}, {-10, 0, 1}, {10.5f, 0, 2},
                                                         {0, -10.5f, 2}, {11, 0, 2},  {0, 11, 2},  {-11, 3, 2}};
    for (const auto& c : cases) {
        std::vector<tagAPOINT> v = {Pt(0, 0, 0), Pt(0, 30), Pt(30, 30), Pt(30 + c.dx, 30 + c.dy, 0),
                                    Pt(60, 60), Pt(90, 60)};
        CLS_LineKus a, b;
        a.Prepare(v.data(), 6);
        EXPECT_EQ(+a.numLines, +c.lines) << c.dx << "," << c.dy;
        if (c.lines == 2) {
            EXPECT_EQ(+a.lines[1].count, 3);   // the lifted point starts the new line
            b.Prepare2(v.data(), 6);
            EXPECT_EQ(+b.numLines2, 2);   // cut at the lift, and the rest begins after point 0
        }
    }
}

// Closure and direction of prepared lines are checked against the reference on random outlines;
// here the second list, which closes on either axis even after a long lift.
TEST(PiecePrepare, SecondListClosesOnEitherAxis) {
    // Ends 100 apart in x and 5 in y.
    std::vector<tagAPOINT> jump = {Pt(0, 0, 0), Pt(30, 50), Pt(95, 5), Pt(100, 5), Pt(300, 300, 0)};
    CLS_LineKus piece;
    piece.Prepare(jump.data(), 5);
    EXPECT_EQ(+piece.lines[0].closed, 0);
    piece.Prepare2(jump.data(), 5);
    ASSERT_EQ(+piece.numLines2, 1);   // the last segment is the lone point 4: n - 1, no line
    EXPECT_EQ(+piece.lines2[0].closed, 1);
}

TEST(PiecePrepare, PrepareAgainstPrepare2OnTheSameOutline) {
    // Square, a jump to a lone lifted point, another lifted point, then a drawn run.
    std::vector<tagAPOINT> v = zedtest::ClockwiseSquare(0, 0, 40);
    for (const auto& p : {Pt(100, 100, 0), Pt(200, 200, 0), Pt(210, 200), Pt(220, 230)}) v.push_back(p);
    CLS_LineKus piece, alone;
    EXPECT_EQ(piece.Prepare(v.data(), 9) + piece.Prepare2(v.data(), 9), 2);
    ASSERT_EQ(+piece.numLines, 3);   // square | lone point | run from the second lifted point
    EXPECT_TRUE(piece.lines[1].count == 1 && piece.lines[2].count == 3);
    ASSERT_EQ(+piece.numLines2, 2);   // the lone point is dropped by the restart
    EXPECT_TRUE(piece.lines2[0] == piece.lines[0] && piece.lines2[1] == piece.lines[2]);
    alone.Prepare2(v.data(), 5);   // without any cut the second list gets nothing
    EXPECT_EQ(+alone.numLines2, 0);
}

TEST(PiecePrepare, RandomOutlinesMatchTheReference) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + static_cast<int>(rng() % 200);
        std::vector<tagAPOINT> v = RandomOutline(rng, n);
        CLS_LineKus piece;
        std::vector<tagAPOINT> head = {Pt(1, 1, 0), Pt(2, 2)};
        const bool with_head = round % 2;
        if (with_head) piece.AddLine(head.data(), 2, CLS_LK::linePrepared, CLS_LK::subNone);
        ASSERT_EQ(piece.Prepare(v.data(), n), 1);
        ExpectMatchesReference(piece, v, with_head ? 1 : 0);
        ExpectConsistent(piece);
        if (HasFailure()) break;
    }
}

// The box of a line is grown point by point in order: among equal bounds (+0 and -0) the first
// one stays, and NaN coordinates never become a bound. Checked bit for bit.
TEST(PiecePrepare, BoxesKeepTheFirstOfEqualBounds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Small pools make zero bounds of both signs common, with and without NaNs.
    const float values[] = {0.0f, -0.0f, nan, 1.0f, -1.0f, 2.5f};
    const int pools[] = {2, 3, 4, 6};
    std::mt19937 rng(11);
    for (int round = 0; round < 20000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 40);
        std::vector<tagAPOINT> v;
        for (int i = 0; i < n; ++i) {
            const int pick_x = static_cast<int>(rng() % pools[round % 4]);
            const int pick_y = static_cast<int>(rng() % pools[(round / 4) % 4]);
            v.push_back(Pt(values[pick_x], values[pick_y], i == 0 ? 0 : 1));
        }
        float ref[4] = {v[0].x, v[0].y, v[0].x, v[0].y};   // left, top, right, bottom
        for (int i = 1; i < n; ++i) {
            ref[0] = v[i].x < ref[0] ? v[i].x : ref[0];
            ref[1] = v[i].y > ref[1] ? v[i].y : ref[1];
            ref[2] = v[i].x > ref[2] ? v[i].x : ref[2];
            ref[3] = v[i].y < ref[3] ? v[i].y : ref[3];
        }
        CLS_LineKus piece;
        ASSERT_EQ(piece.Prepare(v.data(), n), 1);
        ASSERT_EQ(piece.numLines, 1);
        const FRECT box = piece.lines[0].rect;
        ASSERT_EQ(std::memcmp(&box, ref, sizeof ref), 0) << "round " << round << " n " << n;
    }
}

TEST(PiecePrepare, AtMost5000LinesPerCall) {
    std::vector<tagAPOINT> v;
    for (int i = 0; i < 6001; ++i) v.push_back(Pt(static_cast<float>(i * 20), 0, 0));
    CLS_LineKus piece;
    EXPECT_EQ(piece.Prepare(v.data(), 6001), 1);
    EXPECT_EQ(+piece.numLines, 5000);
    EXPECT_EQ(+piece.lines[4999].points[0].x, 4999 * 20.0f);
    ExpectMatchesReference(piece, v, 0);
    // The cap is per call.
    EXPECT_EQ(piece.Prepare(v.data(), 10), 1);
    EXPECT_EQ(+piece.numLines, 5010);
}

TEST(PiecePrepare, AddLineDerivesOrKeepsTheSubType) {
    CLS_LineKus piece;
    std::vector<tagAPOINT> v = {Pt(0, 0, 0, 0, 17, 123), Pt(50, 0), Pt(50, 50), Pt(3, 60)};
    EXPECT_EQ(piece.AddLine(v.data(), 4, CLS_LK::lineParam3, CLS_LK::subDerive), 1);
    EXPECT_EQ(piece.AddLine(v.data(), 4, CLS_LK::lineParam3, static_cast<CLS_LK::TSLine>(4)), 1);
    EXPECT_EQ(piece.AddLine(nullptr, 4, CLS_LK::lineParam3, CLS_LK::subNone), 1);
    EXPECT_EQ(piece.AddLine(v.data(), 0, CLS_LK::lineParam3, CLS_LK::subNone), 1);
    ASSERT_EQ(+piece.numLines, 2);
    const CLS_LK& a = piece.lines[0];
    EXPECT_TRUE(a.subType == 6 && piece.lines[1].subType == 4 && a.type == 3 && a.code == 123u);
    EXPECT_TRUE(a.closed == 1 && a.clockwise == 0);   // x ends 3 apart
    EXPECT_TRUE(a.rect == FRECT(0.0f, 60.0f, 50.0f, 0.0f) && a.capacity == 5);
    std::vector<tagAPOINT> three = {Pt(0, 0, 0), Pt(0, 40), Pt(5, 5)};   // for AddLine three suffice
    piece.AddLine(three.data(), 3, CLS_LK::linePrepared, CLS_LK::subNone);
    EXPECT_TRUE(piece.lines[2].closed == 1 && piece.lines[2].clockwise == 1);

    EXPECT_EQ(piece.AddLine2(v.data(), 4, CLS_LK::linePrepared, CLS_LK::subDerive), 1);
    ASSERT_EQ(+piece.numLines2, 1);
    const CLS_LK& b = piece.lines2[0];
    // The second list decides nothing more.
    EXPECT_TRUE(b.subType == 6 && b.closed == 0 && b.code == 0u && b.rect == FRECT());
    EXPECT_TRUE(b.count == 4 && b.capacity == 5);
}

TEST(PiecePrepare, MakeArrayFlattensLeadingLineFirst) {
    CLS_LineKus piece;
    std::vector<tagAPOINT> lead = {Pt(1, 1, 0), Pt(2, 2), Pt(3, 3)};
    std::vector<tagAPOINT> sq = zedtest::ClockwiseSquare(0, 0, 40);
    piece.Prepare(sq.data(), 5);   // a prepared line before the leading one
    piece.AddLine(lead.data(), 3, CLS_LK::lineLeading, CLS_LK::subNone);
    tagAPOINT* out = nullptr;
    int leading = -5, total = -5;
    ASSERT_EQ(piece.MakeArray(&out, &leading, &total), 1);
    EXPECT_EQ(leading, 3);
    EXPECT_EQ(total, 8);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(SamePoint(out[i], lead[i])) << i;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(SamePoint(out[3 + i], sq[i])) << i;
    EXPECT_TRUE(SamePoint(out[8], tagAPOINT()));
    EXPECT_EQ(piece.FreeArray(out), 1);
    EXPECT_EQ(piece.FreeArray(nullptr), 1);
    EXPECT_EQ(piece.MakeArray(nullptr, &leading, &total), 0);
    ASSERT_EQ(piece.MakeArray(&out, nullptr, nullptr), 1);
    piece.FreeArray(out);

    CLS_LineKus empty;
    ASSERT_EQ(empty.MakeArray(&out, &leading, &total), 1);
    EXPECT_TRUE(leading == 0 && total == 0);
    empty.FreeArray(out);

    // Refused: nothing written.
    out = reinterpret_cast<tagAPOINT*>(0x1234);
    leading = total = -5;
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(piece.MakeArray(&out, &leading, &total), 0);
    zed::heap_testing::Reset();
    EXPECT_TRUE(out == reinterpret_cast<tagAPOINT*>(0x1234) && leading == -5 && total == -5);
}

TEST(PiecePrepare, RefusedLineBufferMarksTheRecord) {
    std::vector<tagAPOINT> v = zedtest::ClockwiseSquare(0, 0, 40);
    for (const auto& p : {Pt(100, 100, 0), Pt(110, 100), Pt(120, 100)}) v.push_back(p);
    CLS_LineKus piece;
    // Allowed: the line array and the first line's buffer (two lines keep their cuts on the stack).
    zed::heap_testing::FailAfter(2);
    EXPECT_EQ(piece.Prepare(v.data(), 8), 0);
    zed::heap_testing::Reset();
    ASSERT_EQ(+piece.numLines, 1);
    EXPECT_TRUE(piece.lines[1].type == -1 && piece.lines[1].points == nullptr);   // beyond the count
    ExpectConsistent(piece);
    tagAPOINT* out = nullptr;
    int leading = 0, total = 0;
    ASSERT_EQ(piece.MakeArray(&out, &leading, &total), 1);
    EXPECT_EQ(total, 5);
    piece.FreeArray(out);

    zed::heap_testing::FailAfter(1);   // the line array of AddLine is there, its buffer is not
    EXPECT_EQ(piece.AddLine(v.data(), 3, CLS_LK::linePrepared, CLS_LK::subNone), 0);
    zed::heap_testing::Reset();
    EXPECT_EQ(+piece.numLines, 1);
    EXPECT_EQ(+piece.lines[1].type, -1);
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(piece.AddLine2(v.data(), 3, CLS_LK::linePrepared, CLS_LK::subNone), 0);
    EXPECT_EQ(piece.Prepare2(v.data(), 8), 0);
    zed::heap_testing::Reset();
    EXPECT_EQ(+piece.numLines2, 0);
    ExpectConsistent(piece);
}

// Refuse the k-th allocation of a preparation for every k; the piece stays consistent, keeps
// the lines made so far, and nothing leaks.
TEST(PiecePrepare, SurvivesEveryRefusedAllocation) {
    std::mt19937 rng(99);
    std::vector<tagAPOINT> v = RandomOutline(rng, 1000);
    const size_t expected = RefPrepare(v).size();
    ASSERT_GT(expected, 128u);   // enough lines that the table of cuts outgrows its first room
    bool completed = false;
    for (long k = 0; !completed; ++k) {
        CLS_LineKus piece;
        std::vector<tagAPOINT> head = {Pt(1, 1, 0), Pt(2, 2)};
        piece.AddLine(head.data(), 2, CLS_LK::lineLeading, CLS_LK::subNone);
        zed::heap_testing::FailAfter(k);
        const int result = piece.Prepare(v.data(), static_cast<int>(v.size()));
        const int result2 = piece.Prepare2(v.data(), static_cast<int>(v.size()));
        const long attempts = zed::heap_testing::Attempts();
        zed::heap_testing::Reset();
        ExpectConsistent(piece);
        completed = attempts <= k;
        EXPECT_EQ(result, completed || k > static_cast<long>(expected) + 1 ? 1 : 0) << k;
        EXPECT_TRUE(!completed || result2 == 1);
        EXPECT_GE(+piece.numLines, 1);   // the leading line always stays
        EXPECT_LE(+piece.numLines, static_cast<int>(expected) + 1);
        ASSERT_LT(k, 2000);
    }
}

}  // namespace
