// zed demo, curves: the sample outline smoothed and resampled, drawn to demo-curves.svg.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "sample_outline.h"
#include "zedll.h"

namespace zedtool {
namespace {

constexpr float kSpacing = 12.0f;   // resampling step, in drawing units
constexpr int kSamplesPerRun = 48;  // smoothed points per run between corners

struct View {
    float left, bottom, width, height;
    // SVG's y axis points down; the outline's points up.
    std::string At(float x, float y) const {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f,%.2f", x - left, height - (y - bottom));
        return buf;
    }
};

std::string Polyline(const View& v, const tagAPOINT* p, int n, const char* style) {
    std::string s = "<polyline fill=\"none\" " + std::string(style) + " points=\"";
    for (int i = 0; i < n; ++i) s += v.At(p[i].x, p[i].y) + (i + 1 < n ? " " : "");
    return s + "\"/>\n";
}

std::string Dot(const View& v, float x, float y, float r, const char* style) {
    const std::string at = v.At(x, y);
    const size_t comma = at.find(',');
    return "<circle cx=\"" + at.substr(0, comma) + "\" cy=\"" + at.substr(comma + 1) + "\" r=\"" +
           std::to_string(r) + "\" " + style + "/>\n";
}

std::string Square(const View& v, float x, float y, float half, const char* style) {
    const std::string at = v.At(x, y);
    const size_t comma = at.find(',');
    const double cx = std::stod(at.substr(0, comma)), cy = std::stod(at.substr(comma + 1));
    char buf[160];
    std::snprintf(buf, sizeof buf, "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" %s/>\n", cx - half,
                  cy - half, 2 * half, 2 * half, style);
    return buf;
}

}  // namespace

void DemoCurves(std::ostream& out) {
    std::vector<tagAPOINT> outline = SampleOutline();
    const int n = static_cast<int>(outline.size());

    CLS_Spline spline;
    int beta_count = 0;
    spline.BetaSpline(outline.data(), n, &beta_count, true);
    int smooth_count = 0;
    const tagAPOINT* smooth = spline.NoUniformSpline(outline.data(), n, &smooth_count, kSamplesPerRun);
    std::vector<tagAPOINT> smoothed(smooth, smooth + smooth_count);

    tagAPOINT* resampled = nullptr;
    const int resampled_count = InsetPt(smoothed.data(), smooth_count, &resampled, kSpacing);

    // Corners of the smoothed outline (its ends count as corners too), which InsetPt places on
    // the 0.08 grid.
    std::vector<tagAPOINT> corners;
    for (int i = 0; i < smooth_count; ++i)
        if (smoothed[i].a.IsCorner() || i == 0 || i == smooth_count - 1) corners.push_back(smoothed[i]);
    auto is_corner = [&corners](const tagAPOINT& q) {
        for (const auto& c : corners)
            if (std::fabs(c.x - q.x) <= 0.04f + 1e-3f && std::fabs(c.y - q.y) <= 0.04f + 1e-3f) return true;
        return false;
    };
    int corner_hits = 0;
    for (int i = 0; i < resampled_count; ++i) corner_hits += is_corner(resampled[i]) ? 1 : 0;

    out << "\nCurves\n";
    out << "  beta spline, corners kept:         " << n << " -> " << beta_count << " points\n";
    out << "  chord-length spline, " << kSamplesPerRun << " per run:  " << n << " -> " << smooth_count
        << " points (runs split at the corners)\n";
    char line[160];
    std::snprintf(line, sizeof line, "  even spacing %.1f:                %d -> %d points, %d on corners\n", kSpacing,
                  smooth_count, resampled_count, corner_hits);
    out << line;

    float min_x = outline[0].x, max_x = min_x, min_y = outline[0].y, max_y = min_y;
    for (const auto* set : {&outline, &smoothed}) {
        for (const auto& p : *set) {
            min_x = std::fmin(min_x, p.x);
            max_x = std::fmax(max_x, p.x);
            min_y = std::fmin(min_y, p.y);
            max_y = std::fmax(max_y, p.y);
        }
    }
    const float margin = 30;
    const View view{min_x - margin, min_y - margin, max_x - min_x + 2 * margin, max_y - min_y + 2 * margin + 40};
    std::string svg;
    char head[256];
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\">\n",
                  view.width * 1.5f, view.height * 1.5f, view.width, view.height);
    svg += head;
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += Polyline(view, outline.data(), n, "stroke=\"#999\" stroke-width=\"1\" stroke-dasharray=\"4 3\"");
    for (const auto& p : outline) svg += Dot(view, p.x, p.y, 2.5f, "fill=\"#999\"");
    svg += Polyline(view, smoothed.data(), smooth_count, "stroke=\"#1f5fbf\" stroke-width=\"1.2\"");
    for (int i = 0; i < resampled_count; ++i) {
        const tagAPOINT& p = resampled[i];
        svg += is_corner(p) ? Square(view, p.x, p.y, 3.5f, "fill=\"none\" stroke=\"#d22\" stroke-width=\"1.5\"")
                            : Dot(view, p.x, p.y, 1.6f, "fill=\"#2a2\"");
    }
    std::snprintf(head, sizeof head,
                  "<g font-family=\"sans-serif\" font-size=\"9\"><text x=\"6\" y=\"12\" fill=\"#999\">original outline</text>"
                  "<text x=\"6\" y=\"24\" fill=\"#1f5fbf\">chord-length spline</text>"
                  "<text x=\"6\" y=\"36\" fill=\"#2a2\">even spacing %.0f (corners in red)</text></g>\n",
                  kSpacing);
    svg += head;
    svg += "</svg>\n";
    InsetPtFree(&resampled);

    const std::filesystem::path path = std::filesystem::absolute("demo-curves.svg");
    std::ofstream file(path, std::ios::binary);
    file << svg;
    file.close();
    if (!file) {
        std::cerr << "zed: cannot write " << path.string() << "\n";
        return;
    }
    out << "  drawing: " << path.string() << "\n";
}

}  // namespace zedtool
