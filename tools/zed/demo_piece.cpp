// zed demo, pieces: the sample outline handed over in an integer exchange record, converted into
// a piece (which prepares its outline into lines) and flattened back.
#include <cstdio>
#include <cstring>
#include <ostream>
#include <vector>

#include "commands.h"
#include "sample_outline.h"
#include "zedll.h"

namespace zedtool {
namespace {

char kName[] = "Front panel";
char kSize[] = "38";
char kDieBreak[] = "fold";
char kGrain[] = "GRAIN";

ATR Attribute(int draw, uint16_t flags, uint8_t kind = 0) {
    ATR a;
    a.flags = flags;
    a.kind = kind;
    a.SetCode(0, draw);
    return a;
}

}  // namespace

void DemoPiece(std::ostream& out) {
    // The record's outline: a grain line as the leading points, then the panel as a plotter
    // draws it, then a lone drill hole and a short drawn mark.
    std::vector<tagLPOINT> xy = {{150, 60}, {150, 400}};
    std::vector<ATR> attrs = {Attribute(0, 0), Attribute(1, 0)};
    const int leading = 2;
    for (const tagAPOINT& p : SampleOutline()) {
        xy.push_back(tagLPOINT{static_cast<LONG>(p.x), static_cast<LONG>(p.y)});
        attrs.push_back(p.a);
    }
    xy.push_back(tagLPOINT{220, 250});
    attrs.push_back(Attribute(0, ATR::kDrill));
    xy.push_back(tagLPOINT{60, 120});
    attrs.push_back(Attribute(0, 0, 17));
    xy.push_back(tagLPOINT{90, 120});
    attrs.push_back(Attribute(1, 0, 17));

    CLS_OtherText grain(kGrain, 160, 230, 0, 90.0f);
    IOKUS record;
    std::memset(&record, 0, sizeof record);
    record.name1 = kName;
    record.name2 = kSize;
    record.dieBreak1 = kDieBreak;
    record.numPoints = static_cast<int32_t>(xy.size());
    record.numLeading = leading;
    record.left = 0;
    record.top = 480;
    record.right = 300;
    record.bottom = 0;
    record.coords = xy.data();
    record.attrs = attrs.data();
    record.texts = &grain;
    record.numTexts = 1;

    CLS_LineKus piece;
    piece = record;
    out << "\nPiece \"" << piece.name1 << "\" size " << piece.name2 << ": " << record.numPoints
        << " points (" << leading << " leading) from an IOKUS record, " << piece.GetNumLines() << " lines, " << piece.numTexts << " text\n\n";
    out << "  line  type  sub-type  closed  clockwise  count  rectangle (left, top, right, bottom)\n";
    for (int i = 0; i < piece.GetNumLines(); ++i) {
        const CLS_LK* l = piece.GetLine(i);
        const FRECT r = l->rect;
        char row[160];
        std::snprintf(row, sizeof row, "  %4d  %4d  %8d  %-6s  %-9s  %5d  (%.0f, %.0f, %.0f, %.0f)\n", i,
                      static_cast<int>(l->type), static_cast<int>(l->subType), l->closed ? "yes" : "no",
                      l->clockwise ? "yes" : "no", static_cast<int>(l->count), r.left, r.top, r.right,
                      r.bottom);
        out << row;
    }

    tagAPOINT* flat = nullptr;
    int lead = 0, total = 0;
    if (piece.MakeArray(&flat, &lead, &total)) {
        bool same = total == record.numPoints;
        for (int i = 0; same && i < total; ++i) {
            same = flat[i].x == static_cast<float>(xy[i].x) && flat[i].y == static_cast<float>(xy[i].y) &&
                   std::memcmp(&flat[i].a, &attrs[i], sizeof(ATR)) == 0;
        }
        out << "\nFlattened again: " << total << " points, " << lead << " leading, "
            << (same ? "the same as the record" : "DIFFERENT from the record") << "\n";
        piece.FreeArray(flat);
    }
    CLS_LineKus copy(piece);
    out << "A deep copy " << (copy == piece ? "equals" : "differs from") << " the piece";
    copy.GetLine(1)->ChangeDirect();
    out << "; reversing its outline makes it " << (copy == piece ? "equal" : "differ") << "\n";
}

}  // namespace zedtool
