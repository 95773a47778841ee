// Counting what pieces hold.
#include "tally.h"

namespace zedpiece {

bool Tally::operator==(const Tally& o) const {
    return pieces == o.pieces && lines == o.lines && closed == o.closed && points == o.points &&
           corners == o.corners && notches == o.notches && drills == o.drills && texts == o.texts;
}

Tally Count(const Pieces& pieces) {
    Tally t;
    auto add = [&t](const CLS_LK& l) {
        ++t.lines;
        t.closed += l.closed ? 1 : 0;
        for (int i = 0; l.points != nullptr && i < l.count; ++i) {
            const ATR& a = l.points[i].a;
            ++t.points;
            t.corners += a.IsCorner() ? 1 : 0;
            t.notches += a.IsNotch() || a.IsNotch2() ? 1 : 0;
            t.drills += a.IsDrill() ? 1 : 0;
        }
    };
    for (const PiecePtr& p : pieces) {
        ++t.pieces;
        t.texts += p->numTexts;
        for (int i = 0; i < p->numLines; ++i) add(p->lines[i]);
        for (int i = 0; i < p->numLines2; ++i) add(p->lines2[i]);
    }
    return t;
}

std::string Describe(const Tally& t) {
    auto n = [](long long v, const char* one, const char* many) {
        return std::to_string(v) + " " + (v == 1 ? one : many);
    };
    return n(t.pieces, "piece", "pieces") + ", " + n(t.lines, "line", "lines") + " (" +
           std::to_string(t.closed) + " closed), " + n(t.points, "point", "points") + ": " +
           n(t.corners, "corner", "corners") + ", " + n(t.notches, "notch", "notches") + ", " +
           n(t.drills, "drill hole", "drill holes") + ", " + n(t.texts, "text", "texts");
}

}  // namespace zedpiece
