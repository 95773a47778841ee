// Helpers of the piece tests: outlines built point by point, and a consistency check of a piece.
#ifndef ZEDLL_TESTS_PIECE_TEST_UTIL_H
#define ZEDLL_TESTS_PIECE_TEST_UTIL_H

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "os/heap.h"
#include "zedll.h"

namespace zedtest {

/// A point reached with the pen down (`draw` 1) or lifted (0), with optional extra flags and kind.
inline tagAPOINT Pt(float x, float y, int draw = 1, uint16_t flags = 0, uint8_t kind = 0,
                    unsigned code = 0) {
    tagAPOINT p(x, y);
    p.a.flags = flags;
    p.a.kind = kind;
    p.a.SetCode(code, draw);
    return p;
}

/// A square of five points listed clockwise (y up), the fifth on the first; first point lifted.
inline std::vector<tagAPOINT> ClockwiseSquare(float x0, float y0, float side) {
    return {Pt(x0, y0, 0), Pt(x0, y0 + side), Pt(x0 + side, y0 + side), Pt(x0 + side, y0),
            Pt(x0, y0)};
}

inline bool SamePoint(const tagAPOINT& a, const tagAPOINT& b) {
    return std::memcmp(&a, &b, sizeof(tagAPOINT)) == 0;
}

inline std::vector<tagAPOINT> Points(const CLS_LK& line) {
    if (line.points == nullptr || line.count <= 0) return {};
    return std::vector<tagAPOINT>(line.points, line.points + line.count);
}

/// A line outside any piece, owning its buffer.
struct OwnedLine {
    CLS_LK line;
    explicit OwnedLine(std::vector<tagAPOINT> pts = {}, int closed = 0) {
        std::memset(static_cast<void*>(&line), 0, sizeof line);
        if (!pts.empty()) {
            EXPECT_EQ(line.AppendPoints(pts.data(), static_cast<int>(pts.size())), 0);
        }
        line.closed = static_cast<uint8_t>(closed);
    }
    ~OwnedLine() { zed::HeapRelease(line.points); }
    OwnedLine(const OwnedLine&) = delete;
    OwnedLine& operator=(const OwnedLine&) = delete;
};

/// The invariants every piece keeps, even after a refused allocation.
inline void ExpectConsistent(const CLS_LineKus& piece) {
    EXPECT_TRUE(piece.numLines >= 0 && (piece.numLines == 0 || piece.lines != nullptr));
    EXPECT_TRUE(piece.numLines2 >= 0 && (piece.numLines2 == 0 || piece.lines2 != nullptr));
    EXPECT_TRUE(piece.numTexts >= 0 && (piece.numTexts == 0 || piece.texts != nullptr));
    for (int list = 0; list < 2; ++list) {
        const CLS_LK* lines = list == 0 ? piece.lines : piece.lines2;
        const int n = list == 0 ? piece.numLines : piece.numLines2;
        for (int i = 0; lines != nullptr && i < n; ++i) {
            const CLS_LK& l = lines[i];
            EXPECT_NE(+l.type, -1) << "list " << list << " line " << i;
            EXPECT_TRUE(l.points != nullptr ? l.count >= 0 && l.count < l.capacity : l.count == 0)
                << "list " << list << " line " << i;
        }
    }
}

}  // namespace zedtest

#endif
