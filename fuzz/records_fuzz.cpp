// Fuzz target: exchange records with hostile attribute bytes and float bits (NaN, infinities,
// huge values) converted to a piece, flattened, splined and evenly spaced.
//
// Asserts: every line of the piece keeps a free slot and readable points; MakeArray gives the
// counts it promises and a zero last point; the splines stay within their promised counts, keep
// their Spline bits clear or the ends they promise; InsetPt's result has its promised shape
// (first point as given, code 1, Draw on all but the first, two zero points after it).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "curves/inset_walk.h"
#include "os/heap.h"
#include "zedll/curves.h"
#include "zedll/pieces.h"

namespace {

// At most this many points per record: enough for every cut and restart rule, and fast.
constexpr int kMostPoints = 400;

volatile float g_sink;

void Touch(const tagAPOINT* p, int n) {
    float sum = 0;
    for (int i = 0; i < n; ++i) sum += p[i].x + p[i].y + p[i].a.flags + p[i].a.code + p[i].a.kind;
    g_sink = sum;
}

bool AllZero(const void* p, std::size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

void CheckLines(CLS_LineKus& piece, bool second) {
    const int n = second ? piece.GetNumLines2() : piece.GetNumLines();
    FUZZ_CHECK(n >= 0);
    for (int i = 0; i < n; ++i) {
        CLS_LK* line = second ? piece.GetLine2(i) : piece.GetLine(i);
        FUZZ_CHECK(line != nullptr);
        FUZZ_CHECK(line->count >= 0 && line->count < line->capacity);
        FUZZ_CHECK(line->count == 0 || line->points != nullptr);
        Touch(line->points, line->count);
    }
}

void CheckArray(CLS_LineKus& piece) {
    int total_expected = 0, leading_expected = 0;
    for (int i = 0; i < piece.GetNumLines(); ++i) {
        const CLS_LK* line = piece.GetLine(i);
        if (line->type != -1) total_expected += line->count;
        if (line->type == 0) leading_expected = line->count;
    }
    tagAPOINT* array = nullptr;
    int leading = -1, total = -1;
    FUZZ_CHECK(piece.MakeArray(&array, &leading, &total) == 1);
    FUZZ_CHECK(total == total_expected && leading == leading_expected);
    Touch(array, total);
    FUZZ_CHECK(AllZero(&array[total], sizeof(tagAPOINT)));
    FUZZ_CHECK(piece.FreeArray(array) == 1);
}

void CheckSplines(tagAPOINT* points, int n, zedfuzz::Input& in) {
    CLS_Spline spline;
    int out = -7;
    const bool keep = in.U8() & 1;
    tagAPOINT* beta = spline.BetaSpline(points, n, &out, keep);
    if (n < 7) {
        FUZZ_CHECK(beta == nullptr && out == -7);
    } else if (beta != nullptr) {
        FUZZ_CHECK(out >= 0 && out <= 2 + 2 * (n - 3));
        Touch(beta, out);
    }

    // Request: 0, m >= 2, or the refused 1 and negatives; m points per run at most 20 * n in all.
    const int request = static_cast<int>(in.U8() % (2 * n + 4)) - 2;
    tagAPOINT* smooth = spline.NoUniformSpline(points, n, &out, request);
    if (smooth != nullptr) {
        FUZZ_CHECK(out >= 0 && out <= 20 * n);
        Touch(smooth, out);
        for (int i = 0; i < out; ++i) FUZZ_CHECK(!smooth[i].a.IsSpline());
    }

    if (n >= 1) {
        std::vector<tagA3POINT> spatial(n);
        for (int i = 0; i < n; ++i) spatial[i] = points[i];
        // m asks for m + 1 points of 17 bytes: a request in the billions is the caller's to
        // avoid, so it stays below a few thousand here.
        const int m = static_cast<int>(in.U16() % 3000) - 1;
        tagA3POINT* natural = nullptr;
        int natural_count = -7;
        const int rc = spline.nunispl(spatial.data(), n, &natural_count, &natural, m);
        const bool allowed = n >= 3 && n <= 32767 && (m == 0 || m >= 2);
        if (!allowed) FUZZ_CHECK(rc == -1);
        if (rc == -1) {
            FUZZ_CHECK(natural == nullptr && natural_count == -7);
        } else {
            FUZZ_CHECK(rc == 1 && natural != nullptr);
            FUZZ_CHECK(natural_count == (m == 0 ? 2 * n - 1 : m));
            for (int i = 0; i < natural_count; ++i) FUZZ_CHECK(natural[i].z == 0.0f || std::isnan(natural[i].z));
            FUZZ_CHECK(AllZero(&natural[natural_count], sizeof(tagA3POINT)));
            zed::HeapRelease(natural);
        }
    }
}

void CheckInset(tagAPOINT* points, int n, float spacing) {
    // A legal but long job (millions of points for a tiny spacing) is not what is tested here.
    double length = 0;
    for (int i = 1; i < n; ++i) length += std::hypot(double(points[i].x) - points[i - 1].x,
                                                     double(points[i].y) - points[i - 1].y);
    if (!(length / spacing < 20000.0)) return;
    tagAPOINT* result = reinterpret_cast<tagAPOINT*>(&result);
    const int capacity = zed::inset::OutputCapacity();
    const int count = InsetPt(points, n, &result, spacing);
    FUZZ_CHECK(count >= 0);
    if (count == 0) {
        // Refused before the first step: either before any walk (the process-wide capacity keeps
        // the last walk's value) or by a walk that has just started (3000). A walk that grew its
        // output and then gave up ran into the point limit; only a failed allocation may do
        // that, and the fuzzer has none.
        FUZZ_CHECK(result == nullptr);
        const int now = zed::inset::OutputCapacity();
        FUZZ_CHECK(now == capacity || now == zed::inset::kOutputStep);
        return;
    }
    FUZZ_CHECK(result != nullptr && n >= 2);
    FUZZ_CHECK(std::memcmp(&result[0].x, &points[0].x, 8) == 0);
    for (int i = 0; i < count; ++i) {
        FUZZ_CHECK(result[i].a.code == 1);
        FUZZ_CHECK(result[i].a.IsDraw() == (i > 0 ? 1 : 0));
    }
    FUZZ_CHECK(AllZero(&result[count], 2 * sizeof(tagAPOINT)));
    FUZZ_CHECK(InsetPtFree(&result) == 0 && result == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zedfuzz::Input in(data, size);
    const uint8_t shape = in.U8();
    const int n = static_cast<int>(in.U16() % (kMostPoints + 1));
    // The leading count may lie outside the points: the conversion refuses such an outline.
    const int leading = static_cast<int>(in.U16() % (n + 8)) - 4;
    std::string names[9];
    for (std::string& name : names) name = in.Text(12);
    const float spacing = in.Float();
    std::vector<tagAPOINT> points(n + 1);
    std::vector<tagLPOINT> coords(n + 1);
    std::vector<ATR> attrs(n + 1);
    for (int i = 0; i < n; ++i) {
        // Raw bytes: any float bits, any attribute.
        in.Bytes(&points[i], sizeof(tagAPOINT));
        coords[i].x = static_cast<LONG>(in.U32());
        coords[i].y = static_cast<LONG>(in.U32());
        attrs[i] = points[i].a;
    }
    char text_bytes[] = "label";
    tagAPOINT where = n > 0 ? points[0] : tagAPOINT();
    CLS_OtherText texts[2] = {CLS_OtherText(text_bytes, where), CLS_OtherText()};
    auto name = [&](int i) { return names[i].empty() ? nullptr : &names[i][0]; };

    CLS_LineKus piece;
    if (shape & 1) {
        IOKUS record{};
        record.name1 = name(0); record.name2 = name(1); record.name3 = name(2);
        record.name4 = name(3); record.name5 = name(4); record.name6 = name(5);
        record.dieBreak1 = name(6); record.dieBreak2 = name(7); record.dieBreak3 = name(8);
        record.numPoints = n;
        record.numLeading = leading;
        record.left = static_cast<LONG>(in.U32()); record.top = static_cast<LONG>(in.U32());
        record.right = static_cast<LONG>(in.U32()); record.bottom = static_cast<LONG>(in.U32());
        record.bits9 = in.U8();
        record.coords = coords.data();
        record.attrs = (shape & 2) ? attrs.data() : nullptr;
        record.texts = texts;
        record.numTexts = (shape >> 2) & 3 ? 2 : 0;
        piece = record;
    } else {
        CLS_IOKUS record{};
        record.name1 = name(0); record.name2 = name(1); record.name3 = name(2);
        record.name4 = name(3); record.name5 = name(4); record.name6 = name(5);
        record.dieBreak1 = name(6); record.dieBreak2 = name(7); record.dieBreak3 = name(8);
        record.numPoints = n;
        record.numLeading = leading;
        in.Bytes(&record.rect, sizeof record.rect);
        in.Bytes(&record.rectAll, sizeof record.rectAll);
        record.value = in.Float();
        record.points = points.data();
        record.secondOutline = shape & 2;
        record.texts = texts;
        record.numTexts = (shape >> 2) & 3 ? 2 : 0;
        piece = record;
    }
    CheckLines(piece, false);
    CheckLines(piece, true);
    CheckArray(piece);

    CLS_LineKus copy(piece);
    FUZZ_CHECK(copy.GetNumLines() == piece.GetNumLines());
    FUZZ_CHECK(copy.Prepare2(points.data(), n) == 1);
    CheckLines(copy, true);
    FUZZ_CHECK(copy.AddLine(points.data(), n, CLS_LK::lineLeading, CLS_LK::subNone) == 1);
    CheckLines(copy, false);
    CheckArray(copy);

    CheckSplines(points.data(), n, in);
    CheckInset(points.data(), n, spacing);
    return 0;
}
