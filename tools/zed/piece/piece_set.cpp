// Building pieces through the library's own members.
#include "piece_set.h"

#include <cfloat>

namespace zedpiece {

void AddExactLine(CLS_LineKus& piece, const std::vector<tagAPOINT>& points, int type, int sub_type,
                  int closed, int clockwise, uint32_t code, int32_t param, bool second_list) {
    std::vector<tagAPOINT> copy = points;
    if (copy.empty()) copy.emplace_back();   // AddLine skips empty lines; keep the record
    const auto t = static_cast<CLS_LK::TLine>(type);
    const auto s = static_cast<CLS_LK::TSLine>(sub_type);
    const int ok = second_list ? piece.AddLine2(copy.data(), static_cast<int>(copy.size()), t, s)
                               : piece.AddLine(copy.data(), static_cast<int>(copy.size()), t, s);
    if (!ok) throw PieceError("out of memory for a line of " + std::to_string(copy.size()) + " points");
    CLS_LK* line = second_list ? piece.GetLine2(piece.GetNumLines2() - 1)
                               : piece.GetLine(piece.GetNumLines() - 1);
    line->type = t;
    if (s != CLS_LK::subDerive) line->subType = s;   // else what AddLine derived
    line->closed = static_cast<uint8_t>(closed != 0);
    line->clockwise = static_cast<uint8_t>(clockwise != 0);
    line->code = code;
    line->param = param;
    if (points.empty()) line->count = 0;
    line->ComputeRect();
}

void SetPieceRect(CLS_LineKus& piece) {
    float l = FLT_MAX, b = FLT_MAX, r = -FLT_MAX, t = -FLT_MAX;
    auto grow = [&](CLS_LK* line) {
        for (int i = 0; line != nullptr && i < line->count; ++i) {
            const tagAPOINT& p = line->points[i];
            if (p.x < l) l = p.x;
            if (p.x > r) r = p.x;
            if (p.y < b) b = p.y;
            if (p.y > t) t = p.y;
        }
    };
    for (int i = 0; i < piece.GetNumLines(); ++i) grow(piece.GetLine(i));
    for (int i = 0; i < piece.GetNumLines2(); ++i) grow(piece.GetLine2(i));
    piece.rect = l <= r ? FRECT(l, t, r, b) : FRECT();
    piece.rectAll = piece.rect;
}

std::string Name(const char* text) { return text != nullptr ? text : ""; }

void SetText(CLS_LineKus& piece, int index, const std::string& text) {
    std::string copy = text;
    char* s = copy.data();
    char* n[9] = {};
    n[index] = s;
    if (index < 6) piece.SetName(n[0], n[1], n[2], n[3], n[4], n[5]);
    else piece.SetDieBreak(n[6], n[7], n[8]);
}

std::vector<tagAPOINT> LinePoints(const CLS_LK& line) {
    if (line.points == nullptr || line.count <= 0) return {};
    return std::vector<tagAPOINT>(line.points, line.points + line.count);
}

long long CountPoints(const Pieces& pieces) {
    long long n = 0;
    for (const PiecePtr& p : pieces) {
        for (int i = 0; i < p->GetNumLines(); ++i) n += p->GetLine(i)->count;
        for (int i = 0; i < p->GetNumLines2(); ++i) n += p->GetLine2(i)->count;
    }
    return n;
}

}  // namespace zedpiece
