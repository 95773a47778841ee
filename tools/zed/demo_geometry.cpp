// zed demo, geometry: the plane-geometry functions on the sample outline, printed as tables.
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "sample_outline.h"
#include "zedll.h"

namespace zedtool {
namespace {

tagA3POINT To3(const tagAPOINT& p) {
    tagA3POINT q;
    q = p;
    return q;
}

std::string Fmt(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

}  // namespace

void DemoGeometry(std::ostream& out) {
    std::vector<tagAPOINT> outline = SampleOutline();
    const int n = static_cast<int>(outline.size());

    out << "Sample outline: " << n - 1 << " corners, closed\n\n";
    out << "  #        x        y  angle(deg)  turn   edge length  flags\n";
    for (int i = 0; i + 1 < n; ++i) {
        const tagAPOINT& prev = outline[i == 0 ? n - 2 : i - 1];
        const tagAPOINT& here = outline[i];
        tagAPOINT& next = outline[i + 1];
        const float angle = Uhel2DDegree(To3(prev), To3(here), To3(next));
        tagAPOINT corner[4] = {prev, here, next, prev};
        const char* turn = ClockWise(corner, 4) == 1 ? "right" : ClockWise(corner, 4) == 0 ? "left" : "none";
        std::string flags;
        if (here.a.IsCorner()) flags += "corner ";
        if (here.a.IsNotch()) flags += "notch ";
        if (!here.a.IsDraw()) flags += "pen-up";
        char line[160];
        std::snprintf(line, sizeof line, "%3d %8.1f %8.1f %11.2f  %-5s %12.2f  %s\n", i, here.x,
                      here.y, angle, turn, DistancePoints(&outline[i], &next), flags.c_str());
        out << line;
    }

    const double area = Surface(outline.data(), n);
    FRECT box(outline[0], outline[1]);   // start with some height: a flat one counts as top-down
    for (const auto& p : outline) box.Union(FRECT(p, p));
    out << "\nArea " << Fmt("%.1f", area) << " (" << (ClockWise(outline.data(), n) == 1 ? "clockwise" : "counter-clockwise")
        << "), bounding box " << Fmt("%.0f", box.Width()) << " x " << Fmt("%.0f", box.Height()) << "\n";

    out << "\n  probe point        inside\n";
    const tagAPOINT probes[] = {tagAPOINT(150, 200), tagAPOINT(290, 470), tagAPOINT(285, 150),
                                tagAPOINT(-5, 10)};
    for (const auto& p : probes) {
        char line[80];
        std::snprintf(line, sizeof line, "  (%6.1f, %6.1f)   %s\n", p.x, p.y,
                      IsPointInArea(p, outline.data(), n) ? "yes" : "no");
        out << line;
    }

    // The armhole curve: is it a circular arc, and where is its centre?
    tagFPOINT centre{};
    float radius = 0;
    if (ArcParameters(To3(outline[4]), To3(outline[5]), To3(outline[6]), &centre, &radius)) {
        out << "\nArc through corners 4, 5, 6: centre (" << Fmt("%.2f", centre.x) << ", "
            << Fmt("%.2f", centre.y) << "), radius " << Fmt("%.2f", radius) << "\n";
    }
    tagFPOINT cross{};
    const int crosses = CrossVectors(outline[0], outline[5], outline[2], outline[8], &cross);
    out << "Diagonals 0-5 and 2-8 " << (crosses ? "cross" : "do not cross") << " at ("
        << Fmt("%.2f", cross.x) << ", " << Fmt("%.2f", cross.y) << ")\n";
    tagAPOINT foot_corner[3] = {outline[6], outline[7], outline[8]};
    tagFPOINT foot{}, second{};
    int segment = 0;
    const int plumb = PointPlumb(tagAPOINT(250, 200), foot_corner, &foot, &second, &segment);
    out << "Perpendicular from (250, 200) onto corners 6-7-8: case " << plumb << ", foot ("
        << Fmt("%.2f", foot.x) << ", " << Fmt("%.2f", foot.y) << ") on segment " << segment << "\n";

    std::vector<tagAPOINT> circle;
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265358979 / 6;
        circle.emplace_back(static_cast<float>(40 + 25 * std::cos(a)), static_cast<float>(300 + 25 * std::sin(a)));
    }
    out << "Drill ring of 12 points is a circle: " << (IsCircle(circle.data(), 12) ? "yes" : "no")
        << "; the outline is a circle: " << (IsCircle(outline.data(), n) ? "yes" : "no") << "\n";
}

}  // namespace zedtool
