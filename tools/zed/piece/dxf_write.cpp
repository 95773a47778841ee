// ASCII DXF writer in the exchange form: a block per piece, inserted once; layer 1 boundary and
// piece texts, 2 turn points, 4 notches, 6/7/8/14 mirror, grain, internal and sew lines, 11
// internal cut-outs, 13 drill holes, 15 annotation texts. Version 12 is the exchange form's own;
// version 2000 adds what its readers expect there: handles, owners, subclass markers, block
// records and the root dictionary.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "dxf.h"

namespace zedpiece {
namespace {

// The shortest digits that read back to the same float.
std::string N(float v) {
    char b[32];
    return std::string(b, std::to_chars(b, b + sizeof b, v).ptr);
}

std::string Hex(unsigned long long h) {
    char b[24];
    std::snprintf(b, sizeof b, "%llX", h);
    return b;
}

constexpr int kLayers[] = {1, 2, 4, 6, 7, 8, 11, 13, 14, 15};

struct Writer {
    std::ostream& out;
    bool r2000;
    unsigned long long handle = 0x20;   // the first handles go to the tables, below
    std::string owner;                  // block record of the entities being written (R2000)
    std::string buf;

    void G(int code, const std::string& value) {
        buf += std::to_string(code);
        buf += '\n';
        buf += value;
        buf += '\n';
        if (buf.size() > (1u << 16)) Flush();
    }
    void Flush() { out << buf; buf.clear(); }
    std::string Next() { return Hex(handle++); }
    // Handle and owner of an object in R2000; nothing in R12.
    void Own(const std::string& h, const std::string& owned_by) {
        if (!r2000) return;
        G(5, h);
        G(330, owned_by);
    }
    void Entity(const char* type, int layer, const char* subclass) {
        G(0, type);
        if (r2000) {
            Own(Next(), owner);
            G(100, "AcDbEntity");
        }
        G(8, std::to_string(layer));
        if (r2000 && subclass != nullptr) G(100, subclass);
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
        if (r2000) {
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
    void Text(int layer, float x, float y, float height, float angle, const std::string& text) {
        Entity("TEXT", layer, "AcDbText");
        G(10, N(x)); G(20, N(y)); G(30, "0");
        G(40, N(height));   // as held, zero and below too, so that it reads back the same
        G(1, text);
        if (angle != 0) G(50, N(angle));
        if (r2000) G(100, "AcDbText");
    }
    // A symbol table; `records` writes its records, owned by the table's handle.
    template <class Records>
    void Table(const char* name, const std::string& h, int count, Records records) {
        G(0, "TABLE"); G(2, name);
        Own(h, "0");
        if (r2000) G(100, "AcDbSymbolTable");
        G(70, std::to_string(count));
        records(h);
        G(0, "ENDTAB");
    }
    void Record(const char* type, const char* subclass, const std::string& table, const std::string& h) {
        G(0, type);
        Own(h, table);
        if (r2000) { G(100, "AcDbSymbolTableRecord"); G(100, subclass); }
    }
};

std::string Clean(const std::string& s) { return DxfText(s, false); }
std::string CleanName(const char* s) { return DxfText(Name(s), true); }

int LayerOf(const CLS_LK& l) {
    const int kind = l.points[0].a.kind;
    if (kind == layer::kMirror || kind == layer::kGrain || kind == layer::kInternal ||
        kind == layer::kCutout || kind == layer::kSew)
        return kind;
    return l.closed ? layer::kBoundary : layer::kInternal;
}

// Block names: letters, digits, '-' and '_' of the piece name, made unique.
std::vector<std::string> BlockNames(const Pieces& pieces) {
    std::vector<std::string> names;
    std::set<std::string> used;
    for (size_t k = 0; k < pieces.size(); ++k) {
        std::string name;
        for (char c : CleanName(pieces[k]->name1)) {
            const unsigned char u = static_cast<unsigned char>(c);
            name += (std::isalnum(u) || c == '-' || c == '_') ? c : '_';
        }
        if (name.empty()) name = "PIECE";
        if (!used.insert(name).second) {
            name += "_" + std::to_string(k + 1);
            used.insert(name);
        }
        names.push_back(name);
    }
    return names;
}

void WritePieceEntities(Writer& w, const CLS_LineKus& p) {
    for (int i = 0; i < p.numLines; ++i) {
        const CLS_LK& l = p.lines[i];
        if (l.points == nullptr || l.count <= 0) continue;
        if (l.count == 1) {
            const ATR& a = l.points[0].a;
            w.Point(a.IsDrill() ? layer::kDrill : (a.IsNotch() || a.IsNotch2()) ? layer::kNotches : layer::kInternal,
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
    w.Text(layer::kBoundary, tx, ty, 5, 0, "Piece Name: " + CleanName(p.name1));
    if (!CleanName(p.name2).empty()) w.Text(layer::kBoundary, tx, ty - 8, 5, 0, "Size: " + CleanName(p.name2));
    if (!CleanName(p.name3).empty()) w.Text(layer::kBoundary, tx, ty - 16, 5, 0, "Category: " + CleanName(p.name3));
    for (int i = 0; i < p.numTexts; ++i) {
        const CLS_OtherText& t = p.texts[i];
        w.Text(layer::kAnnotation, t.position.x, t.position.y, t.GetHeight(), t.angle,
               Clean(t.text != nullptr ? t.text : " "));
    }
}

// More handles than the file will use: the header's handle seed comes before the entities.
unsigned long long HandleBound(const Pieces& pieces) {
    unsigned long long n = 0x100;
    for (const PiecePtr& p : pieces) {
        n += 16 + static_cast<unsigned long long>(p->numTexts);
        for (int i = 0; i < p->numLines; ++i)
            n += 1 + 3 * static_cast<unsigned long long>(p->lines[i].count > 0 ? p->lines[i].count : 0);
    }
    return n;
}

void WriteTables(Writer& w, const std::vector<std::string>& names, std::vector<std::string>& records) {
    w.G(0, "SECTION"); w.G(2, "TABLES");
    if (w.r2000) {
        w.Table("VPORT", "8", 0, [](const std::string&) {});
    }
    w.Table("LTYPE", "5", 1, [&](const std::string& t) {
        w.Record("LTYPE", "AcDbLinetypeTableRecord", t, "14");
        w.G(2, "CONTINUOUS"); w.G(70, "0"); w.G(3, "Solid line"); w.G(72, "65");
        w.G(73, "0"); w.G(40, "0.0");
    });
    w.Table("LAYER", "2", static_cast<int>(std::size(kLayers)) + 1, [&](const std::string& t) {
        w.Record("LAYER", "AcDbLayerTableRecord", t, "10");
        w.G(2, "0"); w.G(70, "0"); w.G(62, "7"); w.G(6, "CONTINUOUS");
        for (int l : kLayers) {
            w.Record("LAYER", "AcDbLayerTableRecord", t, w.Next());
            w.G(2, std::to_string(l)); w.G(70, "0"); w.G(62, std::to_string(l % 7 + 1));
            w.G(6, "CONTINUOUS");
        }
    });
    if (w.r2000) {
        w.Table("STYLE", "3", 1, [&](const std::string& t) {
            w.Record("STYLE", "AcDbTextStyleTableRecord", t, "11");
            w.G(2, "STANDARD"); w.G(70, "0"); w.G(40, "0.0"); w.G(41, "1.0"); w.G(50, "0.0");
            w.G(71, "0"); w.G(42, "2.5"); w.G(3, "txt"); w.G(4, "");
        });
        w.Table("VIEW", "6", 0, [](const std::string&) {});
        w.Table("UCS", "7", 0, [](const std::string&) {});
        w.Table("APPID", "9", 1, [&](const std::string& t) {
            w.Record("APPID", "AcDbRegAppTableRecord", t, "12");
            w.G(2, "ACAD"); w.G(70, "0");
        });
        w.Table("DIMSTYLE", "A", 0, [&](const std::string&) { w.G(100, "AcDbDimStyleTable"); });
        w.Table("BLOCK_RECORD", "1", static_cast<int>(names.size()) + 2, [&](const std::string& t) {
            for (const char* space : {"*Model_Space", "*Paper_Space"}) {
                records.push_back(w.Next());
                w.Record("BLOCK_RECORD", "AcDbBlockTableRecord", t, records.back());
                w.G(2, space);
            }
            for (const std::string& name : names) {
                records.push_back(w.Next());
                w.Record("BLOCK_RECORD", "AcDbBlockTableRecord", t, records.back());
                w.G(2, name);
            }
        });
    }
    w.G(0, "ENDSEC");
}

void BeginBlock(Writer& w, const std::string& name, const std::string& record) {
    w.owner = record;
    w.G(0, "BLOCK");
    if (w.r2000) { w.Own(w.Next(), record); w.G(100, "AcDbEntity"); }
    w.G(8, "0");
    if (w.r2000) w.G(100, "AcDbBlockBegin");
    w.G(2, name); w.G(70, "0");
    w.G(10, "0"); w.G(20, "0"); w.G(30, "0"); w.G(3, name);
    if (w.r2000) w.G(1, "");
}

void EndBlock(Writer& w, const std::string& record) {
    w.G(0, "ENDBLK");
    if (w.r2000) { w.Own(w.Next(), record); w.G(100, "AcDbEntity"); }
    w.G(8, "0");
    if (w.r2000) w.G(100, "AcDbBlockEnd");
}

}  // namespace

// Texts go on single lines of 8-bit characters; control characters would break the file.
std::string DxfText(const std::string& s, bool trim) {
    std::string t;
    for (char c : s) t += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    if (trim) {
        const size_t first = t.find_first_not_of(' ');
        t = first == std::string::npos ? std::string() : t.substr(first, t.find_last_not_of(' ') - first + 1);
    }
    return t;
}

void WriteDxf(const Pieces& pieces, std::ostream& out, int version) {
    if (version != 12 && version != 2000) throw PieceError("DXF version must be 12 or 2000");
    Writer w{out, version == 2000, 0x20, {}, {}};
    const std::vector<std::string> names = BlockNames(pieces);
    w.G(0, "SECTION"); w.G(2, "HEADER");
    w.G(9, "$ACADVER"); w.G(1, w.r2000 ? "AC1015" : "AC1009");
    if (w.r2000) {
        w.G(9, "$HANDSEED"); w.G(5, Hex(HandleBound(pieces)));
        w.G(9, "$INSUNITS"); w.G(70, "4");   // millimetres
        w.G(9, "$MEASUREMENT"); w.G(70, "1");
    }
    w.G(9, "$INSBASE"); w.G(10, "0"); w.G(20, "0"); w.G(30, "0");
    w.G(0, "ENDSEC");
    if (w.r2000) { w.G(0, "SECTION"); w.G(2, "CLASSES"); w.G(0, "ENDSEC"); }

    std::vector<std::string> records;   // R2000: model space, paper space, then one per piece
    WriteTables(w, names, records);

    w.G(0, "SECTION"); w.G(2, "BLOCKS");
    if (w.r2000) {
        const char* const spaces[] = {"*Model_Space", "*Paper_Space"};
        for (int s = 0; s < 2; ++s) {
            BeginBlock(w, spaces[s], records[static_cast<size_t>(s)]);
            EndBlock(w, records[static_cast<size_t>(s)]);
        }
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
        const std::string record = w.r2000 ? records[k + 2] : std::string();
        BeginBlock(w, names[k], record);
        WritePieceEntities(w, *pieces[k]);
        EndBlock(w, record);
    }
    w.G(0, "ENDSEC");

    w.G(0, "SECTION"); w.G(2, "ENTITIES");
    w.owner = w.r2000 ? records[0] : std::string();
    w.Text(layer::kBoundary, 0, -20, 5, 0, "ANSI/AAMA VERSION: 1.0");
    w.Text(layer::kBoundary, 0, -28, 5, 0, "UNITS: METRIC");
    for (const std::string& name : names) {
        w.Entity("INSERT", layer::kBoundary, "AcDbBlockReference");
        w.G(2, name); w.G(10, "0"); w.G(20, "0"); w.G(30, "0");
    }
    w.G(0, "ENDSEC");
    if (w.r2000) {
        w.G(0, "SECTION"); w.G(2, "OBJECTS");
        w.G(0, "DICTIONARY"); w.Own("C", "0"); w.G(100, "AcDbDictionary"); w.G(281, "1");
        w.G(3, "ACAD_GROUP"); w.G(350, "D");
        w.G(0, "DICTIONARY"); w.Own("D", "C"); w.G(100, "AcDbDictionary"); w.G(281, "1");
        w.G(0, "ENDSEC");
    }
    w.G(0, "EOF");
    w.Flush();
}

}  // namespace zedpiece
