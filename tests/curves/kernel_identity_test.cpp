// The curve kernels against frozen copies of their plain first versions, byte for byte: the whole
// result blocks (points, attributes and the untouched zero fill) must be identical on random
// outlines with corners, repeated points, zero chords, odd attributes and maximal runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "curve_test_util.h"
#include "os/heap.h"
#include "reference_curves.h"
#include "zedll.h"

namespace {

namespace ref = zedtest::reference;

constexpr int kOutlines = 10000;
constexpr int kLongRun = 32767;

// Attributes with every field in play: codes around the 32700 limit, any kind, any flag bits.
ATR RandomAtr(std::mt19937& rng, double corner_share) {
    ATR a;
    std::uniform_int_distribution<int> code(0, 3), bits(0, 0xffff), byte(0, 255);
    const int pick = code(rng);
    a.code = static_cast<uint16_t>(pick == 0 ? 32700 + byte(rng) % 4 : pick == 1 ? 65535 - byte(rng) : byte(rng));
    a.kind = static_cast<uint8_t>(byte(rng));
    a.flags = static_cast<uint16_t>(bits(rng) & ~ATR::kCorner);
    if (std::uniform_real_distribution<double>(0, 1)(rng) < corner_share) a.flags |= ATR::kCorner;
    return a;
}

// One random outline: a walk at one of several scales, with repeats of the point before (plain
// or as a corner, the latter a zero chord inside a run) and the occasional straight stretch.
std::vector<tagAPOINT> RandomOutline(std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> unit(0, 1);
    const double scales[] = {0.001, 1.0, 20.0, 5000.0};
    const double corner_share = std::vector<double>{0.0, 0.02, 0.2, 0.9}[rng() % 4];
    const double repeat_share = std::vector<double>{0.0, 0.05, 0.3}[rng() % 3];
    std::vector<tagAPOINT> v = zedtest::RandomPolyline(rng, n, 1.0 + scales[rng() % 4]);
    for (size_t i = 0; i < v.size(); ++i) {
        v[i].a = RandomAtr(rng, corner_share);
        if (i > 0 && unit(rng) < repeat_share) {
            v[i].x = v[i - 1].x;
            v[i].y = v[i - 1].y;
        }
        if (i > 1 && unit(rng) < 0.02) {   // collinear and evenly spaced
            v[i].x = 2 * v[i - 1].x - v[i - 2].x;
            v[i].y = 2 * v[i - 1].y - v[i - 2].y;
        }
    }
    return v;
}

std::vector<tagA3POINT> Spatial(const std::vector<tagAPOINT>& v, std::mt19937& rng) {
    std::uniform_real_distribution<float> z(-100.0f, 100.0f);
    std::vector<tagA3POINT> s;
    // By value: the packed fields must not bind to references.
    for (const tagAPOINT& p : v) s.push_back(tagA3POINT(+p.x, +p.y, z(rng), p.a));
    return s;
}

template <class Point>
::testing::AssertionResult SameBlock(const ref::Result<Point>& want, const Point* got, int got_count,
                                     const std::string& what) {
    if (want.null != (got == nullptr))
        return ::testing::AssertionFailure() << what << ": null " << (got == nullptr) << ", plain " << want.null;
    if (want.null) return ::testing::AssertionSuccess();
    if (want.count != got_count)
        return ::testing::AssertionFailure() << what << ": count " << got_count << ", plain " << want.count;
    const unsigned char* a = reinterpret_cast<const unsigned char*>(want.block.data());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(got);
    const size_t bytes = want.block.size() * sizeof(Point);
    if (bytes == 0 || std::memcmp(a, b, bytes) == 0) return ::testing::AssertionSuccess();
    size_t k = 0;
    while (a[k] == b[k]) ++k;
    return ::testing::AssertionFailure() << what << ": first differing byte " << k << " (point "
                                         << k / sizeof(Point) << " of " << want.block.size() << ")";
}

// Every kernel on one outline; returns false after the first difference.
bool CheckOutline(const std::vector<tagAPOINT>& v, std::mt19937& rng, const std::string& name) {
    const int n = static_cast<int>(v.size());
    std::vector<tagAPOINT> in = v;   // the kernels take non-const pointers; they only read
    CLS_Spline spline;
    int count = -1;
    for (bool keep : {false, true}) {
        const tagAPOINT* got = spline.BetaSpline(in.data(), n, &count, keep);
        EXPECT_TRUE(SameBlock(ref::BetaSpline(v.data(), n, keep), got, count, name + " BetaSpline plane"));
    }
    std::vector<tagA3POINT> s = Spatial(v, rng);
    const tagA3POINT* got3 = spline.BetaSpline(s.data(), n, &count, true);
    EXPECT_TRUE(SameBlock(ref::BetaSpline(s.data(), n, true), got3, count, name + " BetaSpline spatial"));

    std::uniform_int_distribution<int> any_request(2, 3 * n + 2), huge_request(n, 25 * n + 2);
    const int requests[] = {0, n, any_request(rng), rng() % 8 == 0 ? huge_request(rng) : 2};
    for (int request : requests) {
        const tagAPOINT* got = spline.NoUniformSpline(in.data(), n, &count, request);
        EXPECT_TRUE(SameBlock(ref::NoUniformSpline(v.data(), n, request), got, count,
                              name + " NoUniformSpline request " + std::to_string(request)));
    }
    if (n <= kLongRun) {
        for (int request : {0, any_request(rng)}) {
            tagA3POINT* samples = nullptr;
            const int ok = spline.nunispl(s.data(), n, &count, &samples, request);
            EXPECT_TRUE(SameBlock(ref::Nunispl(s.data(), n, request), ok == 1 ? samples : nullptr, count,
                                  name + " nunispl request " + std::to_string(request)));
            zed::HeapRelease(samples);
        }
    }
    // Spacings down to a twentieth of the mean segment, so that no outline places too many points.
    double length = 0;
    for (int i = 1; i < n; ++i) length += std::hypot(double{v[i].x} - v[i - 1].x, double{v[i].y} - v[i - 1].y);
    const float finest = static_cast<float>(length / (20.0 * n));
    const float spacings[] = {1.5f, std::uniform_real_distribution<float>(0.05f, 30.0f)(rng)};
    for (float spacing : spacings) {
        spacing = std::max(spacing, finest);
        tagAPOINT* placed = nullptr;
        const int m = InsetPt(in.data(), n, &placed, spacing);
        EXPECT_TRUE(SameBlock(ref::InsetPt(v.data(), n, spacing), placed, m,
                              name + " InsetPt spacing " + std::to_string(spacing)));
        InsetPtFree(&placed);
    }
    return !::testing::Test::HasFailure();
}

TEST(CurveKernels, MatchThePlainVersionsByteForByteOnRandomOutlines) {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> small(2, 40), medium(41, 400);
    for (int k = 0; k < kOutlines; ++k) {
        const int n = k % 50 == 0 ? medium(rng) : small(rng);
        if (!CheckOutline(RandomOutline(rng, n), rng, "outline " + std::to_string(k))) return;
    }
}

TEST(CurveKernels, MatchThePlainVersionsOnTheLongestRunAndBeyond) {
    std::mt19937 rng(32767);
    // One run of the solver's full length, then one that is closed there and goes on.
    for (int n : {kLongRun, kLongRun + 1000}) {
        std::vector<tagAPOINT> v = zedtest::RandomPolyline(rng, n, 4.0);
        for (tagAPOINT& p : v) p.a = RandomAtr(rng, 0.0);
        if (!CheckOutline(v, rng, "long outline " + std::to_string(n))) return;
    }
}

TEST(CurveKernels, MatchThePlainVersionsOnDegenerateOutlines) {
    std::mt19937 rng(7);
    std::vector<std::vector<tagAPOINT>> cases;
    cases.push_back(std::vector<tagAPOINT>(9, zedtest::Pt(3.0f, 4.0f)));                          // one spot
    cases.push_back(std::vector<tagAPOINT>(9, zedtest::Pt(3.0f, 4.0f, ATR::kCorner)));            // all corners there
    std::vector<tagAPOINT> zero_chords;
    for (int i = 0; i < 12; ++i) {
        zero_chords.push_back(zedtest::Pt(static_cast<float>(i / 2), static_cast<float>(i % 3), i % 2 ? ATR::kCorner : 0));
        zero_chords.push_back(zedtest::Pt(static_cast<float>(i / 2), static_cast<float>(i % 3), ATR::kCorner));
    }
    cases.push_back(zero_chords);
    std::vector<tagAPOINT> line;
    for (int i = 0; i < 50; ++i) line.push_back(zedtest::Pt(static_cast<float>(i) * 0.1f, 0.0f));
    cases.push_back(line);
    cases.push_back({zedtest::Pt(0, 0), zedtest::Pt(100, 0)});
    cases.push_back({zedtest::Pt(0, 0), zedtest::Pt(3, 4)});
    for (size_t k = 0; k < cases.size(); ++k)
        if (!CheckOutline(cases[k], rng, "degenerate case " + std::to_string(k))) return;
}

}  // namespace
