// Preparation, smoothing and resampling through the library's own operations.
#include "transforms.h"

#include <cfloat>
#include <cmath>
#include <string>

namespace zedpiece {
namespace {

// A new piece with the source's header, names and texts, and no lines.
PiecePtr HeaderCopy(const CLS_LineKus& src) {
    auto p = std::make_unique<CLS_LineKus>();
    p->header0 = src.header0;
    p->header1 = src.header1;
    p->header2 = src.header2;
    p->value = src.value;
    p->bits = src.bits;
    p->SetName(src.name1, src.name2, src.name3, src.name4, src.name5, src.name6);
    p->SetDieBreak(src.dieBreak1, src.dieBreak2, src.dieBreak3);
    for (int i = 0; i < src.numTexts; ++i) p->AddOtherText(&src.texts[i]);
    for (int i = 0; i < src.numLines2; ++i) {
        const CLS_LK& l = src.lines2[i];
        AddExactLine(*p, LinePoints(l), l.type, l.subType, l.closed, l.clockwise, l.code, l.param, true);
    }
    p->rect = src.rect;
    p->rectAll = src.rectAll;
    return p;
}

// Rebuilds every piece with each main-list line replaced by what `change` makes of its points.
template <class Change>
void ForEachLine(Pieces& pieces, Change change) {
    for (PiecePtr& piece : pieces) {
        PiecePtr out = HeaderCopy(*piece);
        for (int i = 0; i < piece->GetNumLines(); ++i) {
            const CLS_LK& l = *piece->GetLine(i);
            std::vector<tagAPOINT> pts = change(l);
            AddExactLine(*out, pts, l.type, l.subType, l.closed, l.clockwise, l.code, l.param);
        }
        const FRECT r = out->rect, ra = out->rectAll;
        SetPieceRect(*out);
        if (!(r == FRECT()) && !(r == piece->rect)) { out->rect = r; out->rectAll = ra; }
        piece = std::move(out);
    }
}

bool Marked(const ATR& a) {
    return a.IsCorner() || a.IsNotch() || a.IsNotch2() || a.IsDrill() || a.IsMark();
}

constexpr uint16_t kMarks = ATR::kNotch | ATR::kNotch2 | ATR::kDrill | ATR::kMark;

// The splines hand a control point's attribute to every point computed from it; a notch, drill
// hole or mark stays one, on the computed point nearest to its control point.
void KeepMarksSingle(const std::vector<tagAPOINT>& control, std::vector<tagAPOINT>& out) {
    for (tagAPOINT& p : out) p.a.flags = static_cast<uint16_t>(p.a.flags & ~kMarks);
    size_t from = 0;
    for (const tagAPOINT& c : control) {
        if ((c.a.flags & kMarks) == 0) continue;
        size_t best = from;
        float best_d = FLT_MAX;
        for (size_t j = from; j < out.size(); ++j) {
            const float dx = out[j].x - c.x, dy = out[j].y - c.y, d = dx * dx + dy * dy;
            if (d < best_d) { best_d = d; best = j; }
            if (d == 0) break;
        }
        if (best >= out.size()) break;
        out[best].a.flags = static_cast<uint16_t>(out[best].a.flags | (c.a.flags & kMarks));
        from = best;
    }
}

}  // namespace

void PreparePieces(Pieces& pieces) {
    for (PiecePtr& piece : pieces) {
        tagAPOINT* array = nullptr;
        int leading = 0, total = 0;
        if (!piece->MakeArray(&array, &leading, &total)) throw PieceError("out of memory flattening a piece");
        PiecePtr out = HeaderCopy(*piece);
        int ok = 1;
        if (leading > 0) ok = out->AddLine(array, leading, CLS_LK::lineLeading, CLS_LK::subNone);
        if (ok && total > leading) ok = out->Prepare(array + leading, total - leading);
        piece->FreeArray(array);
        if (!ok) throw PieceError("out of memory preparing " + std::to_string(total) + " points");
        SetPieceRect(*out);
        piece = std::move(out);
    }
}

void SmoothPieces(Pieces& pieces, SmoothMethod method, int points) {
    ForEachLine(pieces, [&](const CLS_LK& l) {
        std::vector<tagAPOINT> in = LinePoints(l);
        if (in.size() <= 2) return in;
        CLS_Spline spline;
        int n = 0;
        tagAPOINT* out = method == SmoothMethod::Beta
                             ? spline.BetaSpline(in.data(), static_cast<int>(in.size()), &n, true)
                             : spline.NoUniformSpline(in.data(), static_cast<int>(in.size()), &n, points);
        if (out == nullptr || n <= 0) return in;   // too few points for this spline: unchanged
        std::vector<tagAPOINT> result(out, out + n);
        KeepMarksSingle(in, result);
        return result;
    });
}

void ResamplePieces(Pieces& pieces, float spacing) {
    if (!(spacing > 0) || !std::isfinite(spacing)) throw PieceError("--spacing must be a positive number");
    ForEachLine(pieces, [&](const CLS_LK& l) {
        std::vector<tagAPOINT> in = LinePoints(l);
        if (in.size() < 2) return in;
        std::vector<tagAPOINT> marked = in;   // every marked point must receive a point
        for (tagAPOINT& p : marked) if (Marked(p.a)) p.a.flags |= ATR::kCorner;
        tagAPOINT* res = nullptr;
        const int n = InsetPt(marked.data(), static_cast<int>(marked.size()), &res, spacing);
        if (res == nullptr || n <= 0) throw PieceError("cannot resample a line of " + std::to_string(in.size()) + " points at spacing " + std::to_string(spacing));
        std::vector<tagAPOINT> out(res, res + n);
        InsetPtFree(&res);
        ATR plain = in[0].a;
        plain.flags = static_cast<uint16_t>(plain.flags & ~(ATR::kCorner | ATR::kNotch | ATR::kNotch2 |
                                                            ATR::kDrill | ATR::kMark | ATR::kSpline));
        for (size_t j = 0; j < out.size(); ++j) {
            out[j].a = plain;
            out[j].a.SetCode(plain.code, j == 0 ? in[0].a.IsDraw() : 1);
        }
        out[0].a = in[0].a;
        out.back().a = in.back().a;
        // Marked points land on result points (within the 0.08 grid): give them back their
        // attributes, in order.
        size_t from = 1;
        for (size_t k = 1; k + 1 < in.size(); ++k) {
            if (!Marked(in[k].a)) continue;
            for (size_t j = from; j + 1 < out.size(); ++j) {
                if (std::fabs(out[j].x - in[k].x) <= 0.05f && std::fabs(out[j].y - in[k].y) <= 0.05f) {
                    out[j].a = in[k].a;
                    from = j + 1;
                    break;
                }
            }
        }
        return out;
    });
}

}  // namespace zedpiece
