// Conversion of the two exchange records into a piece.
#include "pieces/piece_storage.h"
#include "os/heap.h"
#include "zedll/pieces.h"

namespace {

// The leading points become one line taken over unchanged, the rest is prepared. Counts that do
// not describe the buffer (negative, or more leading points than points) refuse the outline.
void TakeOutline(CLS_LineKus& piece, tagAPOINT* points, int total, int leading) {
    if (points == nullptr || total < 0 || leading < 0 || leading > total) return;
    if (leading > 0) piece.AddLine(points, leading, CLS_LK::lineLeading, CLS_LK::subNone);
    piece.Prepare(points + leading, total - leading);
}

void TakeTexts(CLS_LineKus& piece, const CLS_OtherText* texts, int count) {
    if (texts == nullptr || count < 0) return;
    piece.texts = zed::NewTextArray(texts, count);
    piece.numTexts = piece.texts != nullptr ? count : 0;
}

}  // namespace

CLS_LineKus& CLS_LineKus::operator=(const CLS_IOKUS& record) {
    if (!IsFree()) Free();
    zed::CopyPieceHeader(*this, record);
    TakeOutline(*this, record.points, record.numPoints, record.numLeading);
    if (record.secondOutline != 0) {
        TakeOutline(*this, record.points, record.numPoints, record.numLeading);
    }
    TakeTexts(*this, record.texts, record.numTexts);
    return *this;
}

CLS_LineKus& CLS_LineKus::operator=(const IOKUS& record) {
    if (!IsFree()) Free();
    header2 = record.header2;
    header0 = record.header0;
    bits = static_cast<uint32_t>(record.bits9 & 3u) << 9;
    header1 = record.header1;
    value = 0.0f;
    rect.Set(record.left, record.top, record.right, record.bottom);
    rectAll = rect;
    zed::CopyPieceNames(*this, record);
    const int total = record.numPoints;
    if (record.coords != nullptr && total >= 0) {
        tagAPOINT* points = zed::HeapPoints(static_cast<int64_t>(total) + 1);
        if (points != nullptr) {
            for (int i = 0; i < total; ++i) {
                points[i].x = static_cast<float>(record.coords[i].x);
                points[i].y = static_cast<float>(record.coords[i].y);
                if (record.attrs != nullptr) points[i].a = record.attrs[i];
            }
            TakeOutline(*this, points, total, record.numLeading);
            zed::HeapRelease(points);
        }
    }
    TakeTexts(*this, record.texts, record.numTexts);
    return *this;
}
