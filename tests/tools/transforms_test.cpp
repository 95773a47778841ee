// Preparing, smoothing and resampling pieces through the library.
#include <gtest/gtest.h>

#include <cmath>

#include "piece/tally.h"
#include "piece/transforms.h"
#include "piece_samples.h"

namespace {

using namespace zedpiece;

TEST(PieceTransforms, PreparingPreparedPiecesChangesNoPoint) {
    Pieces pieces = zedtest::SamplePieces();
    const Tally before = Count(pieces);
    PreparePieces(pieces);
    const Tally after = Count(pieces);
    EXPECT_EQ(after.points, before.points);
    EXPECT_EQ(after.closed, before.closed);
    EXPECT_EQ(after.notches, before.notches);
    EXPECT_EQ(after.drills, before.drills);
}

TEST(PieceTransforms, SmoothingKeepsEachMarkOnOnePointNearItsOwn) {
    for (SmoothMethod m : {SmoothMethod::Beta, SmoothMethod::Chord}) {
        Pieces pieces = zedtest::SamplePieces();
        const Pieces original = zedtest::SamplePieces();
        SmoothPieces(pieces, m, 0);
        EXPECT_GT(Count(pieces).points, Count(original).points);
        EXPECT_EQ(Count(pieces).notches, Count(original).notches);
        EXPECT_EQ(Count(pieces).drills, Count(original).drills);
    }
}

TEST(PieceTransforms, ResamplingSpacesPointsEvenlyAndKeepsMarksInPlace) {
    Pieces pieces = zedtest::SamplePieces();
    const Pieces original = zedtest::SamplePieces();
    ResamplePieces(pieces, 5.0f);
    EXPECT_EQ(Count(pieces).notches, Count(original).notches);
    EXPECT_EQ(Count(pieces).drills, Count(original).drills);
    // every notch is still where it was, and no two neighbours are much over 5 apart
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CLS_LK& l = pieces[k]->lines[0];
        const CLS_LK& o = original[k]->lines[0];
        for (int j = 0; j < o.count; ++j) {
            if (!o.points[j].a.IsNotch()) continue;
            bool found = false;
            for (int i = 0; i < l.count && !found; ++i)
                found = l.points[i].a.IsNotch() && std::fabs(l.points[i].x - o.points[j].x) <= 0.05f &&
                        std::fabs(l.points[i].y - o.points[j].y) <= 0.05f;
            EXPECT_TRUE(found) << "piece " << k << " notch " << j;
        }
        for (int i = 1; i < l.count; ++i) {
            const float d = std::hypot(l.points[i].x - l.points[i - 1].x, l.points[i].y - l.points[i - 1].y);
            EXPECT_LE(d, 5.0f * 1.5f) << "piece " << k << " point " << i;
        }
    }
    EXPECT_THROW(ResamplePieces(pieces, 0.0f), PieceError);
    EXPECT_THROW(ResamplePieces(pieces, NAN), PieceError);
}

}  // namespace
