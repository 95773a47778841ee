// ASCII DXF writer in the exchange form: a block per piece, inserted once; layer 1 boundary and
// piece texts, 2 turn points, 4 notches, 6/7/8/14 mirror, grain, internal and sew lines, 11
// internal cut-outs, 13 drill holes, 15 annotation texts.
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "dxf.h"

namespace zedpiece {
namespace {

// Shortest digits that read back to the same float.
std::string N(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", v);
    return b;
}

struct Writer {
    std::ostream& out;
    int version;
    int handle = 0x100;
    std::string buf;

    void G(int code, const std::string& value) {
        buf += std::to_string(code);
        buf += '\n';
        buf += value;
        buf += '\n';
        if (buf.size() > (1u << 16)) Flush();
    }
    void Flush() { out << buf; buf.clear(); }
    void Handle() { if (version >= 2000) { char h[16]; std::snprintf(h, sizeof h, "%X", handle++); G(5, h); } }
    void Entity(const char* type, int layer, const char* subclass) {
        G(0, type);
        Handle();
        if (version >= 2000) G(100, "AcDbEntity");
        G(8, std::to_string(layer));
        if (version >= 2000 && subclass != nullptr) G(100, subclass);
    }
    void Point(int layer, float x, float y) {
        Entity("POINT", layer, "AcDbPoint");
        G(10, N(x)); G(20, N(y)); G(30, "0");
    }
    void Line2(int layer, const tagAPOINT& a, const tagAPOINT& b) {
        Entity("LINE", layer, "AcDbLine");
        G(10, N(a.x)); G(20, N(a.y)); G(30, "0");
        G(11, N(b.x)); G(21, N(b.y)); G(31, "0");
    }
    void Polyline(int layer, const CLS_LK& l) {
        if (version >= 2000) {
            Entity("LWPOLYLINE", layer, "AcDbPolyline");
            G(90, std::to_string(l.count));
            G(70, l.closed ? "1" : "0");
            for (int i = 0; i < l.count; ++i) { G(10, N(l.points[i].x)); G(20, N(l.points[i].y)); }
            return;
        }
        Entity("POLYLINE", layer, nullptr);
        G(66, "1"); G(10, "0"); G(20, "0"); G(30, "0"); G(70, l.closed ? "1" : "0");
        for (int i = 0; i < l.count; ++i) {
            Entity("VERTEX", layer, nullptr);
            G(10, N(l.points[i].x)); G(20, N(l.points[i].y)); G(30, "0");
        }
        Entity("SEQEND", layer, nullptr);
    }
    void Text(int layer, float x, float y, double height, double angle, const std::string& text) {
        Entity("TEXT", layer, "AcDbText");
        G(10, N(x)); G(20, N(y)); G(30, "0");
        G(40, N(height > 0 ? height : 1.0));
        G(1, text);
        if (angle != 0) G(50, N(angle));
        if (version >= 2000) G(100, "AcDbText");
    }
};

// Texts go on single lines of 8-bit characters; control characters would break the file.
std::string Clean(const std::string& s) {
    std::string t;
    for (char c : s) t += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return t;
}

int LayerOf(const CLS_LK& l) {
    const int kind = l.points[0].a.kind;
    if (kind == layer::kMirror || kind == layer::kGrain || kind == layer::kInternal ||
        kind == layer::kCutout || kind == layer::kSew)
        return kind;
    return l.closed ? layer::kBoundary : layer::kInternal;
}

}  // namespace

void WriteDxf(const Pieces& pieces, std::ostream& out, int version) {
    if (version != 12 && version != 2000) throw PieceError("DXF version must be 12 or 2000");
    if (version == 2000) throw PieceError("writing DXF 2000 is not provided yet; write version 12");
    Writer w{out, version, 0x100, {}};
    const int layers[] = {1, 2, 4, 6, 7, 8, 11, 13, 14, 15};
    w.G(0, "SECTION"); w.G(2, "HEADER");
    w.G(9, "$ACADVER"); w.G(1, "AC1009");
    w.G(9, "$INSBASE"); w.G(10, "0"); w.G(20, "0"); w.G(30, "0");
    w.G(0, "ENDSEC");
    w.G(0, "SECTION"); w.G(2, "TABLES");
    w.G(0, "TABLE"); w.G(2, "LTYPE"); w.G(70, "1");
    w.G(0, "LTYPE"); w.G(2, "CONTINUOUS"); w.G(70, "0"); w.G(3, "Solid line"); w.G(72, "65");
    w.G(73, "0"); w.G(40, "0.0");
    w.G(0, "ENDTAB");
    w.G(0, "TABLE"); w.G(2, "LAYER"); w.G(70, std::to_string(std::size(layers) + 1));
    w.G(0, "LAYER"); w.G(2, "0"); w.G(70, "0"); w.G(62, "7"); w.G(6, "CONTINUOUS");
    for (int l : layers) {
        w.G(0, "LAYER"); w.G(2, std::to_string(l)); w.G(70, "0"); w.G(62, std::to_string(l % 7 + 1));
        w.G(6, "CONTINUOUS");
    }
    w.G(0, "ENDTAB");
    w.G(0, "ENDSEC");
    std::vector<std::string> names;
    std::set<std::string> used;
    w.G(0, "SECTION"); w.G(2, "BLOCKS");
    for (size_t k = 0; k < pieces.size(); ++k) {
        const CLS_LineKus& p = *pieces[k];
        std::string name;
        for (char c : Name(p.name1)) {
            const unsigned char u = static_cast<unsigned char>(c);
            name += (std::isalnum(u) || c == '-' || c == '_') ? c : '_';
        }
        if (name.empty()) name = "PIECE";
        if (!used.insert(name).second) {
            name += "_" + std::to_string(k + 1);
            used.insert(name);
        }
        names.push_back(name);
        w.G(0, "BLOCK"); w.G(8, "0"); w.G(2, name); w.G(70, "0");
        w.G(10, "0"); w.G(20, "0"); w.G(30, "0"); w.G(3, name);
        for (int i = 0; i < p.numLines; ++i) {
            const CLS_LK& l = p.lines[i];
            if (l.points == nullptr || l.count <= 0) continue;
            if (l.count == 1) {
                const ATR& a = l.points[0].a;
                w.Point(a.IsDrill() ? layer::kDrill : (a.IsNotch() || a.IsNotch2()) ? layer::kNotches
                                                                                       : layer::kInternal,
                        l.points[0].x, l.points[0].y);
                continue;
            }
            const int lay = LayerOf(l);
            if (lay == layer::kGrain && l.count == 2 && !l.closed) w.Line2(lay, l.points[0], l.points[1]);
            else w.Polyline(lay, l);
            for (int j = 0; j < l.count; ++j) {
                const ATR& a = l.points[j].a;
                if (a.IsCorner()) w.Point(layer::kTurnPoints, l.points[j].x, l.points[j].y);
                if (a.IsNotch() || a.IsNotch2()) w.Point(layer::kNotches, l.points[j].x, l.points[j].y);
                if (a.IsDrill()) w.Point(layer::kDrill, l.points[j].x, l.points[j].y);
            }
        }
        const FRECT& r = p.rect;
        const float tx = r.left + (r.right - r.left) * 0.1f, ty = r.bottom + (r.top - r.bottom) * 0.5f;
        w.Text(layer::kBoundary, tx, ty, 5, 0, "Piece Name: " + Clean(Name(p.name1)));
        if (p.name2 != nullptr && *p.name2) w.Text(layer::kBoundary, tx, ty - 8, 5, 0, "Size: " + Clean(p.name2));
        if (p.name3 != nullptr && *p.name3) w.Text(layer::kBoundary, tx, ty - 16, 5, 0, "Category: " + Clean(p.name3));
        for (int i = 0; i < p.numTexts; ++i) {
            const CLS_OtherText& t = p.texts[i];
            w.Text(layer::kAnnotation, t.position.x, t.position.y, t.GetHeight(), t.angle,
                   Clean(t.text != nullptr ? t.text : " "));
        }
        w.G(0, "ENDBLK"); w.G(8, "0");
    }
    w.G(0, "ENDSEC");
    w.G(0, "SECTION"); w.G(2, "ENTITIES");
    w.Text(layer::kBoundary, 0, -20, 5, 0, "ANSI/AAMA VERSION: 1.0");
    w.Text(layer::kBoundary, 0, -28, 5, 0, "UNITS: METRIC");
    for (const std::string& name : names) {
        w.Entity("INSERT", layer::kBoundary, "AcDbBlockReference");
        w.G(2, name); w.G(10, "0"); w.G(20, "0"); w.G(30, "0");
    }
    w.G(0, "ENDSEC");
    w.G(0, "EOF");
    w.Flush();
}

}  // namespace zedpiece
