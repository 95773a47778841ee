// Marker points placed on lines through a uniform grid over the piece.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "dxf_raw.h"

namespace zedpiece {
namespace {

double Distance2(double ax, double ay, double bx, double by) {
    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
}

struct Ref {
    uint32_t line, index;   // a vertex, or the segment from it to the next point
};

class Grid {
public:
    Grid(double left, double bottom, double cell) : left_(left), bottom_(bottom), cell_(cell) {}
    // Every cell that the box (grown by the reach) touches gets the reference.
    void Add(double x0, double y0, double x1, double y1, Ref r) {
        const long cx0 = Cell(std::min(x0, x1) - kOnLine, left_), cx1 = Cell(std::max(x0, x1) + kOnLine, left_);
        const long cy0 = Cell(std::min(y0, y1) - kOnLine, bottom_), cy1 = Cell(std::max(y0, y1) + kOnLine, bottom_);
        for (long cx = cx0; cx <= cx1; ++cx)
            for (long cy = cy0; cy <= cy1; ++cy) cells_[Key(cx, cy)].push_back(r);
    }
    const std::vector<Ref>* At(double x, double y) const {
        auto it = cells_.find(Key(Cell(x, left_), Cell(y, bottom_)));
        return it == cells_.end() ? nullptr : &it->second;
    }

private:
    double left_, bottom_, cell_;
    std::unordered_map<uint64_t, std::vector<Ref>> cells_;
    long Cell(double v, double origin) const {
        const double c = std::floor((v - origin) / cell_);
        return static_cast<long>(std::max(-1e6, std::min(1e6, c)));
    }
    static uint64_t Key(long cx, long cy) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32) | static_cast<uint32_t>(cy);
    }
};

struct Insertion {
    uint32_t line, after;
    double t;
    tagAPOINT point;
};

}  // namespace

std::vector<bool> PlaceMarkers(std::vector<RawLine>& lines, const std::vector<RawMarker>& markers,
                               const std::vector<uint16_t>& flags, const std::vector<bool>& insert) {
    std::vector<bool> placed(markers.size(), false);
    double l = DBL_MAX, b = DBL_MAX, r = -DBL_MAX, t = -DBL_MAX;
    size_t vertices = 0;
    for (const RawLine& line : lines) {
        for (const tagAPOINT& p : line.points) {
            l = std::min(l, double{p.x}); r = std::max(r, double{p.x});
            b = std::min(b, double{p.y}); t = std::max(t, double{p.y});
        }
        vertices += line.points.size();
    }
    if (vertices == 0 || markers.empty()) return placed;
    // About one vertex per cell along an outline, never cells smaller than the reach.
    const double extent = std::max(r - l, t - b);
    const double cell = std::max(4 * kOnLine, extent / std::max(1.0, std::sqrt(static_cast<double>(vertices))));
    Grid points(l, b, cell), segments(l, b, cell);
    for (uint32_t i = 0; i < lines.size(); ++i) {
        const std::vector<tagAPOINT>& p = lines[i].points;
        const size_t n = p.size();
        for (uint32_t j = 0; j < n; ++j) {
            points.Add(p[j].x, p[j].y, p[j].x, p[j].y, Ref{i, j});
            if (n >= 2 && (j + 1 < n || lines[i].closed)) {
                const tagAPOINT& q = p[(j + 1) % n];
                segments.Add(p[j].x, p[j].y, q.x, q.y, Ref{i, j});
            }
        }
    }
    std::vector<Insertion> insertions;
    Grid inserted(l, b, cell);   // refs: line = index into `insertions`
    // Vertices first, every vertex within reach of the first line that has one.
    auto on_vertex = [&](float mx, float my, uint16_t flag) {
        const std::vector<Ref>* near = points.At(mx, my);
        uint32_t first = UINT32_MAX;
        for (size_t c = 0; near != nullptr && c < near->size(); ++c) {
            const Ref& ref = (*near)[c];
            const tagAPOINT& p = lines[ref.line].points[ref.index];
            if (ref.line < first && WithinReach(p.x, p.y, mx, my)) first = ref.line;
        }
        if (first == UINT32_MAX) return false;
        for (const Ref& ref : *near) {
            tagAPOINT& p = lines[ref.line].points[ref.index];
            if (ref.line == first && WithinReach(p.x, p.y, mx, my)) p.a.flags |= flag;
        }
        return true;
    };
    // A point put on a segment for an earlier marker takes a marker at the same place too.
    auto on_inserted = [&](float mx, float my, uint16_t flag) {
        const std::vector<Ref>* near = inserted.At(mx, my);
        for (size_t c = 0; near != nullptr && c < near->size(); ++c) {
            tagAPOINT& p = insertions[(*near)[c].line].point;
            if (WithinReach(p.x, p.y, mx, my)) {
                p.a.flags |= flag;
                return true;
            }
        }
        return false;
    };
    // The markers that may add points go first, so that the others find those points too.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t k = 0; k < markers.size(); ++k) {
            if (insert[k] != (pass == 0)) continue;
            const float mx = static_cast<float>(markers[k].x), my = static_cast<float>(markers[k].y);
            if (on_vertex(mx, my, flags[k]) || on_inserted(mx, my, flags[k])) {
                placed[k] = true;
                continue;
            }
            if (!insert[k]) continue;
            // The nearest segment within reach (the first of equally near ones).
            const std::vector<Ref>* cands = segments.At(mx, my);
            const Ref* best = nullptr;
            double best_d = kOnLine * kOnLine, best_t = 0;
            for (size_t c = 0; cands != nullptr && c < cands->size(); ++c) {
                const Ref& ref = (*cands)[c];
                const std::vector<tagAPOINT>& p = lines[ref.line].points;
                const tagAPOINT& a = p[ref.index];
                const tagAPOINT& z = p[(ref.index + 1) % p.size()];
                const double dx = z.x - a.x, dy = z.y - a.y, len2 = dx * dx + dy * dy;
                if (len2 == 0) continue;
                const double u = ((mx - a.x) * dx + (my - a.y) * dy) / len2;
                if (u <= 0 || u >= 1) continue;
                const double d = Distance2(a.x + u * dx, a.y + u * dy, mx, my);
                const bool earlier = best == nullptr || ref.line < best->line ||
                                     (ref.line == best->line && ref.index < best->index);
                if (d < best_d || (d == best_d && earlier)) { best_d = d; best = &ref; best_t = u; }
            }
            if (best == nullptr) continue;
            tagAPOINT p(mx, my);
            p.a.SetCode(0, 1);
            p.a.flags |= flags[k];
            inserted.Add(mx, my, mx, my, Ref{static_cast<uint32_t>(insertions.size()), 0});
            insertions.push_back(Insertion{best->line, best->index, best_t, p});
            placed[k] = true;
        }
    }
    // The new points go in at once, line by line, in order along each segment.
    std::stable_sort(insertions.begin(), insertions.end(), [](const Insertion& x, const Insertion& y) {
        return x.line != y.line ? x.line < y.line : x.after != y.after ? x.after < y.after : x.t < y.t;
    });
    for (size_t s = 0; s < insertions.size();) {
        const uint32_t li = insertions[s].line;
        std::vector<tagAPOINT>& old = lines[li].points;
        std::vector<tagAPOINT> merged;
        merged.reserve(old.size() + insertions.size());
        size_t e = s;
        for (uint32_t j = 0; j < old.size(); ++j) {
            merged.push_back(old[j]);
            for (; e < insertions.size() && insertions[e].line == li && insertions[e].after == j; ++e)
                merged.push_back(insertions[e].point);
        }
        old = std::move(merged);
        s = e;
    }
    return placed;
}

}  // namespace zedpiece
