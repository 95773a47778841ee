// Preparation of raw plotter-style outlines into lines, adding lines, and flattening a piece.
#include <cstring>

#include "geometry/float_math.h"
#include "pieces/piece_storage.h"
#include "pieces/outline_box.h"
#include "os/heap.h"
#include "zedll/geometry.h"
#include "zedll/pieces.h"

namespace {

// The sub-type a line gets from its first point: later rules override earlier ones.
CLS_LK::TSLine DeriveSubType(const ATR& first) {
    CLS_LK::TSLine sub = CLS_LK::subNone;
    if (first.IsDrill()) sub = CLS_LK::subDrill;
    if (first.IsMark() || first.IsNotch2() || first.IsNotch()) sub = CLS_LK::subMark;
    if (first.IsFlag8()) sub = CLS_LK::subFlag8;
    if (first.IsKind13()) sub = CLS_LK::subKind13;
    if (first.IsKind17()) sub = CLS_LK::subKind17;
    if (first.IsKindGroup()) sub = CLS_LK::subKindGroup;
    return sub;
}


// One run of the outline between two cuts. Its bounding box is taken when the line is filled,
// from the points just copied (the same points in the same order as the scan would grow it by).
struct Segment {
    int32_t start;
    int32_t end;
    uint8_t closed;
    uint8_t clockwise;
};

constexpr int kMaxSegments = 5000;
// Pen lifts and end gaps up to this many units keep a line together or close it.
constexpr float kNear = 10.0f;

enum class Closure { kBothNear, kEitherNear };

// The segments found so far. Most outlines have few lines, and their table stays on the stack;
// a longer one moves to the heap, with room for all it can have (an outline of n points has at
// most n segments).
class SegmentTable {
public:
    explicit SegmentTable(int points) : limit_(points < kMaxSegments ? points : kMaxSegments) {}
    SegmentTable(const SegmentTable&) = delete;
    SegmentTable& operator=(const SegmentTable&) = delete;
    ~SegmentTable() {
        if (entries_ != local_) zed::HeapRelease(entries_);
    }
    Segment& operator[](int i) { return entries_[i]; }
    // Makes room for entry `used` (after `used` entries); false when the heap refuses.
    bool Reserve(int used) {
        if (used < room_) return true;
        auto* grown = static_cast<Segment*>(zed::HeapAllocZeroed(static_cast<std::size_t>(limit_) * sizeof(Segment)));
        if (grown == nullptr) return false;
        std::memcpy(static_cast<void*>(grown), entries_, static_cast<std::size_t>(used) * sizeof(Segment));
        entries_ = grown;
        room_ = limit_;
        return true;
    }

private:
    static constexpr int kLocal = 128;
    Segment local_[kLocal];
    Segment* entries_ = local_;
    int room_ = kLocal;
    int limit_;
};

void StartSegment(Segment& s, int i) {
    s.start = i;
    s.end = i;
}

// A run is closed when its ends nearly meet, it has at least 4 points and it does not end on a
// drill hole.
void Close(Segment& s, const tagAPOINT* p, int end, Closure form) {
    s.end = end;
    const tagAPOINT& first = p[s.start];
    const tagAPOINT& last = p[end];
    const float dx = zed::FabsF(last.x - first.x);
    const float dy = zed::FabsF(last.y - first.y);
    const bool ends_meet = form == Closure::kBothNear ? (dx < kNear && dy < kNear) : (dx < kNear || dy < kNear);
    s.closed = ends_meet && !last.a.IsDrill() && end - s.start >= 3 ? 1 : 0;
    s.clockwise = 0;
    if (s.closed) {
        s.clockwise = ClockWise(const_cast<tagAPOINT*>(p + s.start), end - s.start + 1) == 1 ? 1 : 0;
    }
}

// Cuts the outline at pen lifts into `table`; returns the number of segments made, or -1 when the
// heap refuses the table room. `second` selects the rules of the second list.
int Scan(const tagAPOINT* p, int n, bool second, SegmentTable& table) {
    int made = 0;
    StartSegment(table[0], 0);
    int i = 1;
    for (;;) {
        // A drawn point always stays in its line: skip runs of them, four at a time.
        while (i + 4 <= n && (p[i].a.flags & p[i + 1].a.flags & p[i + 2].a.flags & p[i + 3].a.flags & ATR::kDraw)) i += 4;
        while (i < n && p[i].a.IsDraw()) ++i;
        if (i >= n) break;
        const tagAPOINT& cur = p[i];
        const tagAPOINT& prev = p[i - 1];
        bool cut = false;
        Closure form = Closure::kEitherNear;
        if (prev.a.IsDraw()) {
            // A pen lift after a drawn run: a short hop stays in the line.
            if (zed::FabsF(cur.x - prev.x) > kNear || zed::FabsF(cur.y - prev.y) > kNear) {
                cut = true;
                form = second ? Closure::kEitherNear : Closure::kBothNear;
            }
        } else {   // two lifted points in a row
            if (second) {
                StartSegment(table[made], i);   // the lifted point before is dropped
            } else {
                cut = true;
            }
        }
        if (cut) {
            Close(table[made], p, i - 1, form);
            if (++made == kMaxSegments) return made;   // the rest of the outline is dropped
            if (!table.Reserve(made)) return -1;
            StartSegment(table[made], i);
        }
        ++i;
    }
    Segment& last = table[made];
    if (!second || (last.start > 0 && last.start < n - 1)) {
        Close(last, p, n - 1, Closure::kEitherNear);
        ++made;
    }
    return made;
}

// Replaces `lines` by a zero-filled array of `records` records holding the first `count` ones.
bool GrowLineArray(CLS_LK*& lines, int count, int64_t records) {
    if (count < 0) count = 0;
    if (records < count || static_cast<uint64_t>(records) > SIZE_MAX / sizeof(CLS_LK)) return false;
    auto* grown = static_cast<CLS_LK*>(zed::HeapAllocZeroed(static_cast<std::size_t>(records) * sizeof(CLS_LK)));
    if (grown == nullptr) return false;
    for (int i = 0; lines != nullptr && i < count; ++i) grown[i] = lines[i];
    zed::HeapRelease(lines);
    lines = grown;
    return true;
}

// Gives the record a copy of n points in a buffer of n + 1 slots; marks it type -1 when refused.
bool FillPoints(CLS_LK& line, const tagAPOINT* p, int n) {
    line.points = zed::HeapPointsCopy(p, n, static_cast<int64_t>(n) + 1);
    if (line.points == nullptr) {
        line.type = CLS_LK::lineNoBuffer;
        return false;
    }
    line.count = n;
    line.capacity = n + 1;
    return true;
}

int PrepareInto(CLS_LK*& lines, int32_t& num_lines, const tagAPOINT* p, int n, bool second) {
    if (p == nullptr) return 0;
    if (n < 1) return 1;
    if (num_lines < 0 || lines == nullptr) num_lines = 0;
    SegmentTable table(n);
    const int made = Scan(p, n, second, table);
    if (made < 0) return 0;
    // The array grows even when no line is made (the second list's outline may yield none).
    if (!GrowLineArray(lines, num_lines, static_cast<int64_t>(num_lines) + made + 1)) return 0;
    for (int s = 0; s < made; ++s) {
        const Segment& seg = table[s];
        CLS_LK& line = lines[num_lines];
        line.type = CLS_LK::linePrepared;
        if (!FillPoints(line, p + seg.start, seg.end - seg.start + 1)) return 0;
        line.closed = seg.closed;
        line.clockwise = seg.clockwise;
        line.rect = zed::BoxOf(line.points, line.count);
        line.code = line.points[0].a.GetCode();
        line.subType = DeriveSubType(line.points[0].a);
        num_lines += 1;
    }
    return 1;
}

// The common start of AddLine and AddLine2: a new record holding a copy of the points.
CLS_LK* AddRecord(CLS_LK*& lines, int32_t& num_lines, const tagAPOINT* p, int n,
                  CLS_LK::TLine type, CLS_LK::TSLine sub_type) {
    if (num_lines < 0 || lines == nullptr) num_lines = 0;
    if (!GrowLineArray(lines, num_lines, static_cast<int64_t>(num_lines) + 2)) return nullptr;
    CLS_LK& line = lines[num_lines];
    line.type = type;
    line.subType = sub_type;
    if (!FillPoints(line, p, n)) return nullptr;
    if (sub_type == CLS_LK::subDerive) line.subType = DeriveSubType(p[0].a);
    return &line;
}

}  // namespace

int CLS_LineKus::Prepare(tagAPOINT* p, int n) { return PrepareInto(lines, numLines, p, n, false); }

int CLS_LineKus::Prepare2(tagAPOINT* p, int n) { return PrepareInto(lines2, numLines2, p, n, true); }

int CLS_LineKus::AddLine(tagAPOINT* p, int n, CLS_LK::TLine type, CLS_LK::TSLine subType) {
    if (p == nullptr || n < 1) return 1;
    CLS_LK* line = AddRecord(lines, numLines, p, n, type, subType);
    if (line == nullptr) return 0;
    // A single line closes on either axis, and three points suffice.
    const tagAPOINT& first = p[0];
    const tagAPOINT& last = p[n - 1];
    const bool ends_meet = zed::FabsF(last.x - first.x) < kNear || zed::FabsF(last.y - first.y) < kNear;
    line->closed = 0;
    if (ends_meet && !last.a.IsDrill() && n > 2) {
        line->closed = 1;
        line->clockwise = ClockWise(line->points, n) == 1 ? 1 : 0;
    }
    line->code = first.a.GetCode();
    line->ComputeRect();
    numLines += 1;
    return 1;
}

int CLS_LineKus::AddLine2(tagAPOINT* p, int n, CLS_LK::TLine type, CLS_LK::TSLine subType) {
    if (p == nullptr || n < 1) return 1;
    if (AddRecord(lines2, numLines2, p, n, type, subType) == nullptr) return 0;
    numLines2 += 1;
    return 1;
}

int CLS_LineKus::MakeArray(tagAPOINT** out, int* leading, int* total) {
    if (out == nullptr) return 0;
    const CLS_LK* lead = nullptr;
    int64_t sum = 0;
    for (int i = 0; lines != nullptr && i < numLines; ++i) {
        const CLS_LK& line = lines[i];
        if (line.type == CLS_LK::lineLeading) lead = &line;
        if (line.type != CLS_LK::lineNoBuffer && line.count > 0) sum += line.count;
    }
    if (sum > INT32_MAX - 1) return 0;
    tagAPOINT* array = zed::HeapPoints(sum + 1);
    if (array == nullptr) return 0;
    int at = 0;
    // A line without a buffer contributes its count but no points: its slots stay zero.
    auto copy = [&](const CLS_LK& line) {
        if (line.count <= 0) return;
        if (line.points != nullptr) {
            std::memcpy(static_cast<void*>(array + at), line.points, static_cast<std::size_t>(line.count) * sizeof(tagAPOINT));
        }
        at += line.count;
    };
    int lead_count = 0;
    if (lead != nullptr) {
        copy(*lead);
        lead_count = lead->count > 0 ? lead->count : 0;
        at = lead_count;
    }
    for (int i = 0; lines != nullptr && i < numLines; ++i) {
        const CLS_LK& line = lines[i];
        if (line.type != CLS_LK::lineLeading && line.type != CLS_LK::lineNoBuffer) copy(line);
    }
    *out = array;
    if (leading != nullptr) *leading = lead_count;
    if (total != nullptr) *total = static_cast<int>(sum);
    return 1;
}

int CLS_LineKus::FreeArray(tagAPOINT* p) {
    zed::HeapRelease(p);
    return 1;
}
