// SVG writer. Coordinates are mapped to SVG's downward y axis here rather than by a transform,
// so that texts stay upright.
#include "svg_write.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

namespace zedpiece {
namespace {

constexpr float kMargin = 20.0f;
constexpr float kGap = 30.0f;
constexpr float kTick = 8.0f;   // notch tick length, drawing units

std::string F(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", v);
    return b;
}

std::string Escape(const char* t) {
    std::string s;
    for (const char* p = t; p != nullptr && *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '<') s += "&lt;";
        else if (c == '>') s += "&gt;";
        else if (c == '&') s += "&amp;";
        else if (c == '"') s += "&quot;";
        else if (c < 0x20) s += ' ';
        else if (c >= 0x80) s += "&#" + std::to_string(c) + ";";   // 8-bit texts: Latin-1
        else s += static_cast<char>(c);
    }
    return s;
}

struct Map {
    float dx, top;   // SVG x = x + dx, SVG y = top - y
    std::string P(float x, float y) const { return F(x + dx) + "," + F(top - y); }
    std::string X(float x) const { return F(x + dx); }
    std::string Y(float y) const { return F(top - y); }
};

const char* Colour(const CLS_LK& l) {
    const int kind = l.count > 0 ? l.points[0].a.kind : 0;
    if (l.type == 0) return "#777777";
    if (kind == 7) return "#1b8a3a";   // grain line
    if (kind == 8) return "#d9730d";   // internal line
    if (kind == 14) return "#8e44ad";  // sew line
    if (l.closed) return "#1f4e9c";
    return "#b03060";
}

void DrawLine(const CLS_LK& l, const Map& m, std::string& s) {
    if (l.points == nullptr || l.count <= 0) return;
    const tagAPOINT* p = l.points;
    if (l.count == 1) {
        if (p[0].a.IsDrill()) {
            s += "<circle class=\"drill\" cx=\"" + m.X(p[0].x) + "\" cy=\"" + m.Y(p[0].y) +
                 "\" r=\"3\" fill=\"none\" stroke=\"#c0392b\" stroke-width=\"1\"/>\n";
        } else {
            s += "<circle class=\"point\" cx=\"" + m.X(p[0].x) + "\" cy=\"" + m.Y(p[0].y) +
                 "\" r=\"1.5\" fill=\"" + Colour(l) + "\"/>\n";
        }
        return;
    }
    s += std::string("<path class=\"line\" fill=\"") + (l.closed ? "#1f4e9c\" fill-opacity=\"0.08" : "none") +
         "\" stroke=\"" + Colour(l) + "\" stroke-width=\"1.2\"" + (l.type == 0 ? " stroke-dasharray=\"6 3\"" : "") +
         " d=\"";
    for (int i = 0; i < l.count; ++i) {
        s += (i == 0 || !p[i].a.IsDraw()) ? "M" : "L";
        s += m.P(p[i].x, p[i].y);
    }
    s += "\"/>\n";
    for (int i = 0; i < l.count; ++i) {
        const ATR& a = p[i].a;
        if (a.IsNotch() || a.IsNotch2()) {
            // direction along the line at the point, from its neighbours
            const tagAPOINT& u = p[i > 0 ? i - 1 : i];
            const tagAPOINT& w = p[i + 1 < l.count ? i + 1 : i];
            double tx = w.x - u.x, ty = w.y - u.y;
            const double len = std::hypot(tx, ty);
            if (len <= 0) { tx = 1; ty = 0; } else { tx /= len; ty /= len; }
            const double nx = -ty * kTick / 2, ny = tx * kTick / 2;
            s += "<line class=\"notch\" x1=\"" + m.X(static_cast<float>(p[i].x + nx)) + "\" y1=\"" +
                 m.Y(static_cast<float>(p[i].y + ny)) + "\" x2=\"" + m.X(static_cast<float>(p[i].x - nx)) +
                 "\" y2=\"" + m.Y(static_cast<float>(p[i].y - ny)) + "\" stroke=\"#000\" stroke-width=\"1.5\"/>\n";
        }
        if (a.IsCorner()) {
            s += "<rect class=\"corner\" x=\"" + m.X(p[i].x - 2) + "\" y=\"" + m.Y(p[i].y + 2) +
                 "\" width=\"4\" height=\"4\" fill=\"none\" stroke=\"#555\" stroke-width=\"0.8\"/>\n";
        }
        if (a.IsDrill() && l.count > 1) {
            s += "<circle class=\"drill\" cx=\"" + m.X(p[i].x) + "\" cy=\"" + m.Y(p[i].y) +
                 "\" r=\"3\" fill=\"none\" stroke=\"#c0392b\" stroke-width=\"1\"/>\n";
        }
    }
}

}  // namespace

void WriteSvg(const Pieces& pieces, std::ostream& out) {
    std::string body;
    float x = kMargin, height = 0;
    std::vector<FRECT> boxes;
    for (const PiecePtr& p : pieces) {
        // the box of the points, whatever the file's rect says
        float l = FLT_MAX, b = FLT_MAX, r = -FLT_MAX, t = -FLT_MAX;
        for (int i = 0; i < p->numLines; ++i) {
            const CLS_LK* ln = &p->lines[i];
            for (int k = 0; ln->points != nullptr && k < ln->count; ++k) {
                const float px = ln->points[k].x, py = ln->points[k].y;   // packed: copy out first
                l = std::min(l, px); r = std::max(r, px);
                b = std::min(b, py); t = std::max(t, py);
            }
        }
        if (l > r) { l = b = 0; r = t = 1; }
        boxes.emplace_back(l, t, r, b);
        height = std::max(height, t - b);
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CLS_LineKus& p = *pieces[k];
        const FRECT& box = boxes[k];
        const Map mm{x - box.left, kMargin + 24 + box.top};   // the piece's top at the top row
        body += "<g class=\"piece\">\n";
        for (int i = 0; i < p.numLines; ++i) DrawLine(p.lines[i], mm, body);
        const std::string name = Name(p.name1);
        if (!name.empty()) {
            body += "<text class=\"name\" x=\"" + F(x + (box.right - box.left) / 2) + "\" y=\"" +
                    F(kMargin + 14) + "\" font-family=\"sans-serif\" font-size=\"14\" text-anchor=\"middle\">" +
                    Escape(p.name1) + "</text>\n";
        }
        for (int i = 0; i < p.numTexts; ++i) {
            const CLS_OtherText& t = p.texts[i];
            const float size = std::max(4.0f, std::min(200.0f, t.GetHeight()));
            body += "<text class=\"free\" x=\"" + mm.X(t.position.x) + "\" y=\"" + mm.Y(t.position.y) +
                    "\" font-family=\"sans-serif\" font-size=\"" + F(size) + "\" transform=\"rotate(" +
                    F(-t.angle) + " " + mm.X(t.position.x) + " " + mm.Y(t.position.y) + ")\">" +
                    Escape(t.text) + "</text>\n";
        }
        body += "</g>\n";
        x += (box.right - box.left) + kGap;
    }
    const float width = std::max(x - kGap + kMargin, 160.0f);
    // scale bar: the largest of 10, 50, 100, 500 units that fits a third of the picture
    float bar = 10;
    for (float c : {50.0f, 100.0f, 500.0f, 1000.0f}) if (c <= width / 3) bar = c;
    const float total_h = kMargin + 24 + height + 40;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << F(width) << "\" height=\"" << F(total_h)
        << "\" viewBox=\"0 0 " << F(width) << " " << F(total_h) << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
        << body
        << "<g class=\"scale\"><line x1=\"" << F(kMargin) << "\" y1=\"" << F(total_h - 16) << "\" x2=\""
        << F(kMargin + bar) << "\" y2=\"" << F(total_h - 16) << "\" stroke=\"#000\" stroke-width=\"2\"/>"
        << "<text x=\"" << F(kMargin + bar + 6) << "\" y=\"" << F(total_h - 12)
        << "\" font-family=\"sans-serif\" font-size=\"11\">" << F(bar).substr(0, F(bar).size() - 3)
        << " mm</text></g>\n</svg>\n";
}

}  // namespace zedpiece
