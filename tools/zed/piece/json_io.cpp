// JSON piece files through nlohmann-json, with single-precision numbers so that every float is
// written in its shortest form and read back to the same bits.
#include "json_io.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

#include <nlohmann/json.hpp>

namespace zedpiece {
namespace {

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

const char* const kFlagNames[16] = {"Draw",   "Corner", "Spline", "Bit3", "Drill", "Mark",
                                    "Notch",  "Notch2", "Flag8",  "Bit9", "Bit10", "Bit11",
                                    "Bit12",  "Bit13",  "Bit14",  "Bit15"};

// Where a value sits, for messages: "piece 2, line 3, point 17".
struct Where {
    const std::string& source;
    std::string path;
    size_t point = 0;   // 1-based point of the line while its points are read, else 0
    [[noreturn]] void Fail(const std::string& field, const std::string& what) const {
        const std::string at = path + (point ? ", point " + std::to_string(point) : "");
        throw PieceError(source + ": " + at + (at.empty() ? "" : ": ") + "field \"" + field + "\": " + what);
    }
};

const Json* Find(const Json& obj, const char* key) {
    auto it = obj.find(key);
    return it == obj.end() ? nullptr : &*it;
}

// Unknown fields are refused: a misspelt one would otherwise drop its data without a word.
void OnlyKnown(const Where& w, const Json& obj, std::initializer_list<const char*> known) {
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        bool ok = false;
        for (const char* k : known) ok = ok || it.key() == k;
        if (!ok) w.Fail(it.key(), "unknown field");
    }
}

long long Integer(const Where& w, const Json& v, const char* field, long long lo, long long hi) {
    if (!v.is_number_integer()) w.Fail(field, "expected an integer");
    long long x = 0;
    if (v.is_number_unsigned()) {
        const auto u = v.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(hi)) w.Fail(field, "out of range");
        x = static_cast<long long>(u);
    } else {
        x = v.get<std::int64_t>();
    }
    if (x < lo || x > hi) w.Fail(field, "out of range " + std::to_string(lo) + " to " + std::to_string(hi));
    return x;
}

long long IntegerAt(const Where& w, const Json& obj, const char* key, long long lo, long long hi,
                    long long def) {
    const Json* v = Find(obj, key);
    return v == nullptr ? def : Integer(w, *v, key, lo, hi);
}

float Number(const Where& w, const Json& v, const char* field) {
    if (!v.is_number()) w.Fail(field, "expected a number");
    const float f = v.get<float>();
    if (!std::isfinite(f)) w.Fail(field, "not a finite single-precision number");
    return f;
}

float NumberAt(const Where& w, const Json& obj, const char* key, float def) {
    const Json* v = Find(obj, key);
    return v == nullptr ? def : Number(w, *v, key);
}

bool BoolAt(const Where& w, const Json& obj, const char* key) {
    const Json* v = Find(obj, key);
    if (v == nullptr) return false;
    if (!v->is_boolean()) w.Fail(key, "expected true or false");
    return v->get<bool>();
}

std::string Text(const Where& w, const Json& v, const char* field) {
    if (!v.is_string()) w.Fail(field, "expected a string");
    const std::string& s = v.get_ref<const std::string&>();
    if (s.find('\0') != std::string::npos) w.Fail(field, "holds a zero byte");
    return s;
}

uint16_t Flags(const Where& w, const Json& v) {
    if (!v.is_string()) w.Fail("flags", "expected a string of flag names joined by '+'");
    const std::string& s = v.get_ref<const std::string&>();
    uint16_t flags = 0;
    size_t at = 0;
    while (at < s.size()) {
        size_t end = s.find('+', at);
        if (end == std::string::npos) end = s.size();
        const std::string name = s.substr(at, end - at);
        int bit = 0;
        while (bit < 16 && name != kFlagNames[bit]) ++bit;
        if (bit == 16) w.Fail("flags", "unknown flag \"" + name + "\"");
        flags = static_cast<uint16_t>(flags | (1u << bit));
        at = end + 1;
    }
    return flags;
}

tagAPOINT Point(const Where& w, const Json& v) {
    if (!v.is_array() || v.size() < 2 || v.size() > 5)
        w.Fail("points", "a point is [x, y] or [x, y, flags, code, kind]");
    tagAPOINT p(Number(w, v[0], "x"), Number(w, v[1], "y"));
    if (v.size() > 2) p.a.flags = Flags(w, v[2]);
    if (v.size() > 3) p.a.code = static_cast<uint16_t>(Integer(w, v[3], "code", 0, ATR::kMaxCode));
    if (v.size() > 4) p.a.kind = static_cast<uint8_t>(Integer(w, v[4], "kind", 0, 255));
    return p;
}

void ReadLine(const Where& pw, const Json& v, int index, CLS_LineKus& piece, bool second) {
    Where w{pw.source, pw.path + (second ? ", second-list line " : ", line ") + std::to_string(index + 1), 0};
    if (!v.is_object()) w.Fail("lines", "expected an object");
    OnlyKnown(w, v, {"type", "subType", "closed", "clockwise", "code", "param", "points"});
    const Json* pts = Find(v, "points");
    if (pts == nullptr) w.Fail("points", "missing");
    if (!pts->is_array()) w.Fail("points", "expected an array");
    std::vector<tagAPOINT> points;
    points.reserve(pts->size());
    for (size_t i = 0; i < pts->size(); ++i) {
        w.point = i + 1;
        points.push_back(Point(w, (*pts)[i]));
    }
    w.point = 0;
    const int type = static_cast<int>(IntegerAt(w, v, "type", INT32_MIN, INT32_MAX, 1));
    const int sub = static_cast<int>(IntegerAt(w, v, "subType", INT32_MIN, INT32_MAX, -1));
    const auto code = static_cast<uint32_t>(IntegerAt(w, v, "code", 0, UINT32_MAX,
                                                      points.empty() ? 0 : points[0].a.code));
    const auto param = static_cast<int32_t>(IntegerAt(w, v, "param", INT32_MIN, INT32_MAX, 0));
    AddExactLine(piece, points, type, sub, BoolAt(w, v, "closed"), BoolAt(w, v, "clockwise"), code,
                 param, second);
}

void ReadText(const Where& pw, const Json& v, int index, CLS_LineKus& piece) {
    Where w{pw.source, pw.path + ", text " + std::to_string(index + 1), 0};
    if (!v.is_object()) w.Fail("texts", "expected an object");
    OnlyKnown(w, v, {"text", "x", "y", "angle", "height", "value1", "value2", "value3", "flag", "vector"});
    const Json* t = Find(v, "text");
    std::string text = t == nullptr ? " " : Text(w, *t, "text");
    CLS_OtherText ot;
    ot.SetText(text.data());
    ot.SetPosition(LONG{0}, LONG{0});
    ot.position.x = NumberAt(w, v, "x", 0);
    ot.position.y = NumberAt(w, v, "y", 0);
    ot.SetAngleDegrees(NumberAt(w, v, "angle", 0));
    ot.SetHeightSteps(static_cast<int>(IntegerAt(w, v, "height", INT32_MIN, INT32_MAX, 30)));
    ot.SetValue1(static_cast<int>(IntegerAt(w, v, "value1", INT32_MIN, INT32_MAX, 1)));
    ot.SetValue2(static_cast<int>(IntegerAt(w, v, "value2", INT32_MIN, INT32_MAX, 0)));
    ot.SetValue3(static_cast<int>(IntegerAt(w, v, "value3", INT32_MIN, INT32_MAX, 0)));
    ot.SetFlag(static_cast<uint8_t>(IntegerAt(w, v, "flag", 0, 255, 0)));
    if (const Json* vec = Find(v, "vector")) {
        if (!vec->is_array() || vec->size() != 2) w.Fail("vector", "expected [x, y]");
        ot.SetVector(tagFPOINT{Number(w, (*vec)[0], "vector"), Number(w, (*vec)[1], "vector")});
    }
    if (!piece.AddOtherText(&ot)) throw PieceError(w.source + ": out of memory");
}

FRECT Rect(const Where& w, const Json& v, const char* field) {
    if (!v.is_array() || v.size() != 4) w.Fail(field, "expected [left, top, right, bottom]");
    return FRECT(Number(w, v[0], field), Number(w, v[1], field), Number(w, v[2], field),
                 Number(w, v[3], field));
}

void ReadTexts(const Where& w, const Json& v, const char* field, int first, int count,
               CLS_LineKus& piece) {
    if (!v.is_array() || v.size() > static_cast<size_t>(count))
        w.Fail(field, "expected an array of at most " + std::to_string(count) + " strings or nulls");
    for (size_t i = 0; i < v.size(); ++i)
        if (!v[i].is_null()) SetText(piece, first + static_cast<int>(i), Text(w, v[i], field));
}

PiecePtr ReadPiece(const std::string& source, const Json& v, int index) {
    Where w{source, "piece " + std::to_string(index + 1), 0};
    if (!v.is_object()) w.Fail("pieces", "expected an object");
    OnlyKnown(w, v, {"names", "dieBreaks", "header0", "header1", "header2", "value", "bits", "rect",
                     "rectAll", "texts", "lines", "lines2"});
    auto piece = std::make_unique<CLS_LineKus>();
    if (const Json* n = Find(v, "names")) ReadTexts(w, *n, "names", 0, 6, *piece);
    if (const Json* d = Find(v, "dieBreaks")) ReadTexts(w, *d, "dieBreaks", 6, 3, *piece);
    piece->header0 = static_cast<uint16_t>(IntegerAt(w, v, "header0", 0, 65535, 0));
    piece->header1 = static_cast<uint32_t>(IntegerAt(w, v, "header1", 0, UINT32_MAX, 0));
    piece->header2 = static_cast<uint16_t>(IntegerAt(w, v, "header2", 0, 65535, 0));
    piece->value = NumberAt(w, v, "value", 0);
    piece->bits = static_cast<uint32_t>(IntegerAt(w, v, "bits", 0, UINT32_MAX, 0));
    const char* lists[2] = {"lines", "lines2"};
    for (int l = 0; l < 2; ++l) {
        const Json* lines = Find(v, lists[l]);
        if (lines == nullptr) continue;
        if (!lines->is_array()) w.Fail(lists[l], "expected an array");
        for (size_t i = 0; i < lines->size(); ++i)
            ReadLine(w, (*lines)[i], static_cast<int>(i), *piece, l == 1);
    }
    if (const Json* texts = Find(v, "texts")) {
        if (!texts->is_array()) w.Fail("texts", "expected an array");
        for (size_t i = 0; i < texts->size(); ++i) ReadText(w, (*texts)[i], static_cast<int>(i), *piece);
    }
    SetPieceRect(*piece);
    if (const Json* r = Find(v, "rect")) piece->rect = Rect(w, *r, "rect");
    if (const Json* r = Find(v, "rectAll")) piece->rectAll = Rect(w, *r, "rectAll");
    return piece;
}

std::string LineColumn(const std::string& bytes, size_t byte) {
    if (byte > bytes.size()) byte = bytes.size();
    size_t line = 1, col = 1;
    for (size_t i = 0; i + 1 < byte; ++i) {
        if (bytes[i] == '\n') { ++line; col = 1; } else { ++col; }
    }
    return std::to_string(line) + ":" + std::to_string(col);
}

// Writing: numbers through the float-typed document, so the shortest digits round-trip.
// The float-typed document's own shortest-digits routine, called directly: a document per number
// would cost most of the writing time.
std::string Num(float f) {
    if (!std::isfinite(f)) return "null";
    char buf[64];
    return std::string(buf, nlohmann::detail::to_chars(buf, buf + sizeof buf, f));
}
// Texts from other files may not be UTF-8; their stray bytes become U+FFFD rather than failing.
std::string Str(const char* s) {
    return s == nullptr ? "null" : Json(std::string(s)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

void WritePoint(const tagAPOINT& p, std::string& s) {
    s += '[';
    s += Num(p.x);
    s += ',';
    s += Num(p.y);
    const int fields = p.a.kind != 0 ? 5 : p.a.code != 0 ? 4 : p.a.flags != 0 ? 3 : 2;
    if (fields >= 3) {
        s += ",\"";
        bool first = true;
        for (int bit = 0; bit < 16; ++bit) {
            if (!(p.a.flags & (1u << bit))) continue;
            if (!first) s += '+';
            s += kFlagNames[bit];
            first = false;
        }
        s += '"';
    }
    if (fields >= 4) s += ',' + std::to_string(p.a.code);
    if (fields >= 5) s += ',' + std::to_string(p.a.kind);
    s += ']';
}

void WriteLine(const CLS_LK& l, std::ostream& out) {
    std::string s = "{\"type\":" + std::to_string(static_cast<int>(l.type)) +
                    ",\"subType\":" + std::to_string(static_cast<int>(l.subType)) +
                    ",\"closed\":" + (l.closed ? "true" : "false") +
                    ",\"clockwise\":" + (l.clockwise ? "true" : "false") +
                    ",\"code\":" + std::to_string(l.code) + ",\"param\":" + std::to_string(l.param) +
                    ",\"points\":[";
    for (int i = 0; l.points != nullptr && i < l.count; ++i) {
        if (i) s += ',';
        WritePoint(l.points[i], s);
    }
    s += "]}";
    out << s;
}

std::string RectText(const FRECT& r) {
    return "[" + Num(r.left) + "," + Num(r.top) + "," + Num(r.right) + "," + Num(r.bottom) + "]";
}

void WritePiece(const CLS_LineKus& p, std::ostream& out) {
    out << "  {\"names\":[" << Str(p.name1) << ',' << Str(p.name2) << ',' << Str(p.name3) << ','
        << Str(p.name4) << ',' << Str(p.name5) << ',' << Str(p.name6) << "],\n   \"dieBreaks\":["
        << Str(p.dieBreak1) << ',' << Str(p.dieBreak2) << ',' << Str(p.dieBreak3) << "],\n"
        << "   \"header0\":" << p.header0 << ",\"header1\":" << p.header1
        << ",\"header2\":" << p.header2 << ",\"value\":" << Num(p.value) << ",\"bits\":" << p.bits
        << ",\n   \"rect\":" << RectText(p.rect) << ",\"rectAll\":" << RectText(p.rectAll)
        << ",\n   \"texts\":[";
    for (int i = 0; i < p.numTexts; ++i) {
        const CLS_OtherText& t = p.texts[i];
        out << (i ? ",\n    " : "\n    ") << "{\"text\":" << Str(t.text) << ",\"x\":"
            << Num(t.position.x) << ",\"y\":" << Num(t.position.y) << ",\"angle\":" << Num(t.angle)
            << ",\"height\":" << t.height << ",\"value1\":" << t.value1 << ",\"value2\":"
            << t.value2 << ",\"value3\":" << t.value3 << ",\"flag\":" << int{t.flag}
            << ",\"vector\":[" << Num(t.vector.x) << ',' << Num(t.vector.y) << "]}";
    }
    out << "],\n   \"lines\":[";
    const int n1 = p.numLines;
    for (int i = 0; i < n1; ++i) {
        out << (i ? ",\n    " : "\n    ");
        WriteLine(p.lines[i], out);
    }
    out << "]";
    if (p.numLines2 > 0) {
        out << ",\n   \"lines2\":[";
        for (int i = 0; i < p.numLines2; ++i) {
            out << (i ? ",\n    " : "\n    ");
            WriteLine(p.lines2[i], out);
        }
        out << "]";
    }
    out << "}";
}

}  // namespace

const char* FlagName(int bit) { return bit >= 0 && bit < 16 ? kFlagNames[bit] : ""; }

Pieces ReadJson(const std::string& bytes, const std::string& source) {
    Json doc;
    try {
        doc = Json::parse(bytes);
    } catch (const Json::parse_error& e) {
        std::string what = e.what();
        const size_t cut = what.find("syntax error");
        throw PieceError(source + ":" + LineColumn(bytes, e.byte) + ": JSON " +
                         (cut == std::string::npos ? what : what.substr(cut)));
    } catch (const Json::exception& e) {   // numbers beyond single precision, and the like
        std::string what = e.what();
        const size_t cut = what.find("] ");
        throw PieceError(source + ": JSON " + (cut == std::string::npos ? what : what.substr(cut + 2)));
    }
    const Json* list = &doc;
    Pieces pieces;
    if (doc.is_object() && doc.contains("pieces")) {
        Where w{source, "", 0};
        OnlyKnown(w, doc, {"format", "version", "pieces"});
        const Json* version = Find(doc, "version");
        if (version != nullptr && !(version->is_number_integer() && version->get<std::int64_t>() == 1))
            w.Fail("version", "this zed reads version 1");
        const Json* f = Find(doc, "format");
        if (f != nullptr && !f->is_null() && (!f->is_string() || f->get<std::string>() != "zed-pieces"))
            w.Fail("format", "expected \"zed-pieces\"");
        list = Find(doc, "pieces");
        if (!list->is_array()) w.Fail("pieces", "expected an array");
    } else if (doc.is_object()) {
        pieces.push_back(ReadPiece(source, doc, 0));
        return pieces;
    } else if (!doc.is_array()) {
        throw PieceError(source + ": expected a piece, a list of pieces or {\"pieces\": [...]}");
    }
    for (size_t i = 0; i < list->size(); ++i) pieces.push_back(ReadPiece(source, (*list)[i], static_cast<int>(i)));
    return pieces;
}

void WriteJson(const Pieces& pieces, std::ostream& out) {
    out << "{\"format\":\"zed-pieces\",\"version\":1,\"pieces\":[";
    for (size_t i = 0; i < pieces.size(); ++i) {
        out << (i ? ",\n" : "\n");
        WritePiece(*pieces[i], out);
    }
    out << "\n]}\n";
}

}  // namespace zedpiece
