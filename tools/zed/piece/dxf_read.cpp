// DXF reader in the exchange form, through dxflib: every block that holds a boundary (layer 1
// polyline) is a piece; so is the entities section when it holds one itself. Points on the turn,
// notch and drill layers mark the line point they fall on (or a new point on the nearest line).
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include "dxf.h"
#include "dxf_raw.h"
#include "dxf_scan.h"
#include "formats.h"

namespace zedpiece {
namespace {

struct RawText {
    int layer = 0;
    double x = 0, y = 0, height = 0, angle = 0;
    std::string text;
};

struct RawPiece {
    std::string block;
    std::vector<RawLine> lines;
    std::vector<RawMarker> markers;
    std::vector<RawText> texts;
    bool HasBoundary() const {
        for (const RawLine& l : lines) if (l.layer == layer::kBoundary && l.points.size() >= 2) return true;
        return false;
    }
};

int LayerNumber(const std::string& name) {
    if (name.empty() || name.size() > 3) return -1;
    int n = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

class Collector : public DL_CreationAdapter {
public:
    Collector(const std::string& source, const Warn& warn) : source_(source), warn_(warn) {}

    std::vector<RawPiece> blocks;
    RawPiece entities;
    std::string error;

    void addBlock(const DL_BlockData& data) override {
        blocks.push_back(RawPiece{data.name, {}, {}, {}});
        current_ = &blocks.back();
        in_block_ = true;
        polyline_ = nullptr;
    }
    void endBlock() override {
        in_block_ = false;
        current_ = nullptr;
        polyline_ = nullptr;
    }
    void addPoint(const DL_PointData& d) override {
        Start("POINT");
        if (!Finite(d.x, d.y)) return;
        const int lay = Layer();
        if (lay == layer::kTurnPoints || lay == layer::kCurvePoints || lay == layer::kNotches ||
            lay == layer::kDrill) {
            Target().markers.push_back(RawMarker{lay, d.x, d.y});
        } else {
            Skip("POINT on layer " + getAttributes().getLayer());
        }
    }
    void addLine(const DL_LineData& d) override {
        Start("LINE");
        if (!Finite(d.x1, d.y1) || !Finite(d.x2, d.y2)) return;
        const int lay = Layer();
        if (lay == layer::kNotches) {   // a slit notch: it starts on the outline
            Target().markers.push_back(RawMarker{lay, d.x1, d.y1});
            return;
        }
        if (lay < 0) { Skip("LINE on layer " + getAttributes().getLayer()); return; }
        RawLine l;
        l.layer = lay;
        l.points = {Point(d.x1, d.y1, false), Point(d.x2, d.y2, true)};
        l.segment = true;
        Target().lines.push_back(std::move(l));
    }
    void addPolyline(const DL_PolylineData& d) override {
        Start("POLYLINE");
        const int lay = Layer();
        if (lay < 0) { Skip("polyline on layer " + getAttributes().getLayer()); return; }
        RawLine l;
        l.layer = lay;
        l.closed = (d.flags & 1) != 0;
        Target().lines.push_back(std::move(l));
        polyline_ = &Target().lines.back();
    }
    void addVertex(const DL_VertexData& d) override {
        if (polyline_ == nullptr) return;
        if (!Finite(d.x, d.y)) return;
        if (d.bulge != 0 && !warned_bulge_) {
            warned_bulge_ = true;
            Warning(where_ + ": arcs between vertices (bulges) read as straight segments");
        }
        polyline_->points.push_back(Point(d.x, d.y, !polyline_->points.empty()));
    }
    void endSequence() override { polyline_ = nullptr; }
    void addText(const DL_TextData& d) override {
        Start("TEXT");
        if (!Finite(d.ipx, d.ipy) || !std::isfinite(d.height) || !std::isfinite(d.angle)) return;
        Target().texts.push_back(RawText{Layer(), d.ipx, d.ipy, d.height, d.angle * 180.0 / M_PI, d.text});
    }
    void addArc(const DL_ArcData&) override { Start("ARC"); Skip("ARC"); }
    void addCircle(const DL_CircleData&) override { Start("CIRCLE"); Skip("CIRCLE"); }
    void addSpline(const DL_SplineData&) override { Start("SPLINE"); Skip("SPLINE"); }
    void addMText(const DL_MTextData&) override { Start("MTEXT"); Skip("MTEXT"); }
    void addEllipse(const DL_EllipseData&) override { Start("ELLIPSE"); Skip("ELLIPSE"); }
    void addHatch(const DL_HatchData&) override { Start("HATCH"); Skip("HATCH"); }
    void addInsert(const DL_InsertData&) override { Start("INSERT"); }

private:
    const std::string& source_;
    const Warn& warn_;
    RawPiece* current_ = nullptr;
    RawLine* polyline_ = nullptr;
    bool in_block_ = false, warned_bulge_ = false;
    long entity_ = 0;
    std::string where_;
    std::vector<std::string> skipped_;

    RawPiece& Target() { return in_block_ && current_ != nullptr ? *current_ : entities; }
    int Layer() { return LayerNumber(getAttributes().getLayer()); }
    // A new entity ends the polyline before it (LWPOLYLINE has no end marker of its own).
    void Start(const char* type) {
        polyline_ = nullptr;
        ++entity_;
        where_ = source_ + ": entity " + std::to_string(entity_) + " (" + type + ")";
        if (in_block_ && current_ != nullptr) where_ += " in block \"" + current_->block + "\"";
    }
    bool Finite(double x, double y) {
        if (std::isfinite(x) && std::isfinite(y) && std::fabs(x) < 1e9 && std::fabs(y) < 1e9) return true;
        if (error.empty()) error = where_ + ": field 10/20: coordinate not a finite number below 1e9";
        return false;
    }
    void Skip(const std::string& what) {
        for (const std::string& s : skipped_) if (s == what) return;
        skipped_.push_back(what);
        Warning(where_ + ": " + what + " skipped (not part of a piece)");
    }
    void Warning(const std::string& w) { if (warn_) warn_(w); }
    static tagAPOINT Point(double x, double y, bool draw) {
        tagAPOINT p(static_cast<float>(x), static_cast<float>(y));
        p.a.SetCode(0, draw ? 1 : 0);
        return p;
    }
};

// Piece texts are "Label: value", the label in any case.
bool Labelled(const std::string& text, const char* label) {
    const size_t n = std::char_traits<char>::length(label);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(label[i])))
            return false;
    return true;
}

std::string After(const std::string& text, const char* label) {
    std::string rest = text.substr(std::char_traits<char>::length(label));
    while (!rest.empty() && rest.front() == ' ') rest.erase(rest.begin());
    return rest;
}

// Heights are kept in whole steps; the step nearest to the file's height, so that a height
// written from steps reads back to the same steps.
void SetHeightNearest(CLS_OtherText& t, float h) {
    t.SetHeight(h);
    const int s = t.GetHeightSteps();
    int best = s;
    float best_d = std::fabs(t.GetHeight() - h);
    for (int c : {s - 1, s + 1}) {
        t.SetHeightSteps(c);
        if (std::fabs(t.GetHeight() - h) < best_d) { best_d = std::fabs(t.GetHeight() - h); best = c; }
    }
    t.SetHeightSteps(best);
}

void AddClosedAware(CLS_LineKus& piece, const RawLine& l) {
    std::vector<tagAPOINT> pts = l.points;
    const int kind = l.layer == layer::kBoundary ? 0 : l.layer;
    for (tagAPOINT& p : pts) p.a.kind = static_cast<uint8_t>(kind);
    const int cw = l.closed && pts.size() >= 3 ? ClockWise(pts.data(), static_cast<int>(pts.size())) : 0;
    AddExactLine(piece, pts, CLS_LK::linePrepared, CLS_LK::subDerive, l.closed, cw == 1, 0, 0);
}

// A boundary drawn as LINE segments becomes one line: each chain of segments that meet end to
// end (either way round), in the order of the file. Every boundary line is closed.
void ChainBoundary(std::vector<RawLine>& lines) {
    std::vector<RawLine> out, segments;
    for (RawLine& l : lines) {
        if (l.layer == layer::kBoundary && l.segment) segments.push_back(std::move(l));
        else out.push_back(std::move(l));
    }
    std::vector<bool> used(segments.size(), false);
    for (size_t i = 0; i < segments.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        RawLine chain = segments[i];
        for (bool grown = true; grown;) {
            grown = false;
            for (size_t j = i + 1; j < segments.size(); ++j) {
                if (used[j]) continue;
                const std::vector<tagAPOINT>& p = segments[j].points;
                const bool forward = WithinReach(p.front().x, p.front().y, chain.points.back().x, chain.points.back().y);
                if (!forward && !WithinReach(p.back().x, p.back().y, chain.points.back().x, chain.points.back().y)) continue;
                tagAPOINT next = forward ? p.back() : p.front();
                next.a.SetCode(0, 1);
                chain.points.push_back(next);
                used[j] = grown = true;
            }
        }
        chain.segment = false;
        out.push_back(std::move(chain));
    }
    for (RawLine& l : out) if (l.layer == layer::kBoundary) l.closed = true;
    lines = std::move(out);
}

PiecePtr MakePiece(RawPiece& raw, const std::string& where, const Warn& warn) {
    auto piece = std::make_unique<CLS_LineKus>();
    ChainBoundary(raw.lines);
    std::vector<RawLine> lines;
    // A polyline of one vertex is no line; its point would come back as a marker of nothing.
    for (RawLine& l : raw.lines) if (l.points.size() >= 2) lines.push_back(std::move(l));
    std::vector<RawMarker> markers;
    std::vector<uint16_t> flags;
    std::vector<bool> insert;
    for (const RawMarker& m : raw.markers) {
        const uint16_t flag = m.layer == layer::kNotches ? ATR::kNotch
                              : m.layer == layer::kDrill ? ATR::kDrill
                              : m.layer == layer::kTurnPoints ? ATR::kCorner : 0;
        if (flag == 0) continue;   // curve points only confirm what the outline says
        markers.push_back(m);
        flags.push_back(flag);
        // A drill hole sits inside the piece: it marks an outline point only when it is on one.
        insert.push_back(m.layer != layer::kDrill);
    }
    const std::vector<bool> placed = PlaceMarkers(lines, markers, flags, insert);
    std::vector<tagAPOINT> loose;   // markers on no line keep their place as one-point lines
    for (size_t k = 0; k < markers.size(); ++k) {
        if (placed[k]) continue;
        const RawMarker& m = markers[k];
        if (m.layer == layer::kTurnPoints) {
            if (warn) warn(where + ": a turn point at (" + std::to_string(m.x) + ", " + std::to_string(m.y) + ") is on no line; skipped");
            continue;
        }
        tagAPOINT p(static_cast<float>(m.x), static_cast<float>(m.y));
        p.a.SetCode(0, 0);
        p.a.flags |= flags[k];
        loose.push_back(p);
    }
    for (const RawLine& l : lines) AddClosedAware(*piece, l);
    for (const tagAPOINT& p : loose)
        AddExactLine(*piece, {p}, CLS_LK::linePrepared, CLS_LK::subDerive, 0, 0, 0, 0);
    for (const RawText& t : raw.texts) {
        if (t.layer == layer::kBoundary) {
            static const char* const kLabels[] = {"Piece Name:", "Size:", "Category:"};
            bool label = false;
            for (int k = 0; k < 3 && !label; ++k) {
                if (!Labelled(t.text, kLabels[k])) continue;
                label = true;
                const std::string v = DxfText(After(t.text, kLabels[k]), true);
                if (!v.empty()) SetText(*piece, k, v);
            }
            if (label) continue;
        }
        CLS_OtherText ot;
        std::string text = t.text.empty() ? " " : t.text;
        ot.SetText(text.data());
        ot.position.x = static_cast<float>(t.x);
        ot.position.y = static_cast<float>(t.y);
        ot.SetAngleDegrees(static_cast<float>(t.angle));
        SetHeightNearest(ot, static_cast<float>(t.height));
        if (!piece->AddOtherText(&ot)) throw PieceError(where + ": out of memory");
    }
    if (piece->name1 == nullptr || *piece->name1 == '\0') {
        const std::string name = DxfText(raw.block, true);
        SetText(*piece, 0, name.empty() ? "PIECE" : name);
    }
    SetPieceRect(*piece);
    return piece;
}

}  // namespace

bool CanReadDxf() { return true; }

Pieces ReadDxf(const std::string& bytes, const std::string& source, const Warn& warn) {
    CheckDxfGroups(bytes, source);   // refuses what dxflib would trust blindly
    Collector c(source, warn);
    std::istringstream in(bytes);
    DL_Dxf dxf;
    bool ok = false;
    try {
        ok = dxf.in(in, &c);
    } catch (const std::exception& e) {
        throw PieceError(source + ": not a readable DXF file (" + e.what() + ")");
    }
    if (!ok) throw PieceError(source + ": not a readable DXF file");
    if (!c.error.empty()) throw PieceError(c.error);
    Pieces pieces;
    for (RawPiece& b : c.blocks) {
        if (!b.HasBoundary()) continue;
        pieces.push_back(MakePiece(b, source + ": block \"" + b.block + "\"", warn));
    }
    if (c.entities.HasBoundary()) {
        c.entities.block = "PIECE";
        pieces.push_back(MakePiece(c.entities, source + ": entities", warn));
    }
    if (pieces.empty())
        throw PieceError(source + ": no piece: no block or entity section holds a boundary (a polyline on layer 1)");
    return pieces;
}

}  // namespace zedpiece
