// The info table.
#include "info.h"

#include <cmath>
#include <cstdio>

namespace zedpiece {

void WriteInfo(const Pieces& pieces, const std::string& source, std::ostream& out) {
    out << source << ": " << pieces.size() << (pieces.size() == 1 ? " piece, " : " pieces, ")
        << CountPoints(pieces) << " points\n";
    char row[256];
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CLS_LineKus& p = *pieces[k];
        out << "piece " << k + 1 << " \"" << Name(p.name1) << "\"";
        if (p.name2 != nullptr && *p.name2) out << " size \"" << p.name2 << "\"";
        out << ": " << p.numLines << " lines, " << p.numTexts << " texts";
        if (p.numLines2 > 0) out << ", " << p.numLines2 << " lines in the second list";
        out << "\n";
        std::snprintf(row, sizeof row, "  %4s %4s %4s %7s %-6s %-6s %12s %10s  %s\n", "line", "type",
                      "sub", "points", "shape", "turn", "area", "perimeter", "box (left bottom right top)");
        out << row;
        for (int i = 0; i < p.numLines; ++i) {
            const CLS_LK& l = p.lines[i];
            double area = 0, perimeter = 0;
            const char* turn = "-";
            if (l.points != nullptr && l.count > 0) {
                for (int j = 1; j < l.count; ++j) perimeter += DistancePoints(&l.points[j - 1], &l.points[j]);
                if (l.closed) {
                    area = std::fabs(Surface(l.points, l.count));
                    const int cw = ClockWise(l.points, l.count);
                    turn = cw == 1 ? "cw" : cw == 0 ? "ccw" : "flat";
                }
            }
            std::snprintf(row, sizeof row, "  %4d %4d %4d %7d %-6s %-6s %12.2f %10.2f  %.2f %.2f %.2f %.2f\n",
                          i + 1, static_cast<int>(l.type), static_cast<int>(l.subType), l.count,
                          l.closed ? "closed" : "open", turn, area, perimeter, l.rect.left,
                          l.rect.bottom, l.rect.right, l.rect.top);
            out << row;
        }
    }
}

}  // namespace zedpiece
