// CLS_LineKus: the piece model, its deep copy and comparison, names and free texts.
#include <cstring>
#include <initializer_list>
#include <new>

#include "pieces/piece_storage.h"
#include "os/heap.h"
#include "zedll/pieces.h"

namespace {

// A name the heap refuses to copy keeps its old text.
void ReplaceText(char*& slot, const char* s) {
    if (s == nullptr) return;
    char* copy = zed::HeapCopyText(s);
    if (copy == nullptr) return;
    zed::HeapRelease(slot);
    slot = copy;
}

int TextsEqual(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::strcmp(a, b) == 0;
}

void FreeLines(CLS_LK* lines, int count) {
    if (lines == nullptr) return;
    for (int i = 0; i < count; ++i) zed::HeapRelease(lines[i].points);
    zed::HeapRelease(lines);
}

// A deep copy of a line list: every line gets its own buffer with exactly one free slot. A line
// whose buffer the heap refuses is left empty; a refused array leaves the list empty (count 0).
CLS_LK* CopyLines(const CLS_LK* source, int32_t& count) {
    if (source == nullptr) return nullptr;
    if (count < 0) count = 0;
    auto* lines = static_cast<CLS_LK*>(zed::HeapAllocZeroed((static_cast<std::size_t>(count) + 1) * sizeof(CLS_LK)));
    if (lines == nullptr) {
        count = 0;
        return nullptr;
    }
    for (int i = 0; i < count; ++i) {
        CLS_LK& line = lines[i];
        line = source[i];
        if (source[i].points == nullptr) continue;   // nothing to own: stays without a buffer
        const int used = source[i].count > 0 ? source[i].count : 0;
        line.points = zed::HeapPointsCopy(source[i].points, used, static_cast<int64_t>(used) + 1);
        if (line.points == nullptr) {
            line.count = 0;
            line.capacity = 0;
            continue;
        }
        line.count = used;
        line.capacity = used + 1;
    }
    return lines;
}

int LinesEqual(const CLS_LK* a, const CLS_LK* b, int count) {
    if (a == nullptr || b == nullptr) return a == b;
    for (int i = 0; i < count; ++i) {
        if (!(a[i] == b[i])) return 0;
    }
    return 1;
}

}  // namespace

namespace zed {

// Text records live in raw heap arrays: made with placement new, their strings released by Free.
CLS_OtherText* NewTextArray(const CLS_OtherText* source, int count) {
    if (count < 0) return nullptr;
    auto* texts = static_cast<CLS_OtherText*>(HeapAllocZeroed((static_cast<std::size_t>(count) + 1) * sizeof(CLS_OtherText)));
    if (texts == nullptr) return nullptr;
    for (int i = 0; i <= count; ++i) new (&texts[i]) CLS_OtherText();
    for (int i = 0; i < count; ++i) texts[i] = source[i];
    return texts;
}

}  // namespace zed

CLS_LineKus::CLS_LineKus() : rect(), rectAll() { Init(); }

CLS_LineKus::CLS_LineKus(const CLS_LineKus& other) : CLS_LineKus() { *this = other; }

CLS_LineKus::~CLS_LineKus() { Free(); }

void CLS_LineKus::Init() {
    header0 = 0;
    header1 = 0;
    header2 = 0;
    value = 0.0f;
    bits = 0;
    name1 = name2 = name3 = name4 = name5 = name6 = nullptr;
    numLines = 0;
    numLines2 = 0;
    rect = FRECT();
    rectAll = FRECT();
    dieBreak1 = dieBreak2 = dieBreak3 = nullptr;
    lines = nullptr;
    lines2 = nullptr;
    texts = nullptr;
    numTexts = 0;
}

void CLS_LineKus::Free() {
    for (char* t : {name1, name2, name3, name4, name5, name6, dieBreak1, dieBreak2, dieBreak3}) {
        zed::HeapRelease(t);
    }
    FreeLines(lines, numLines);
    FreeLines(lines2, numLines2);
    FreeOtherText();
    Init();
}

int CLS_LineKus::IsFree() {
    const FRECT zero;
    return header0 == 0 && header1 == 0 && header2 == 0 && value == 0.0f && bits == 0 &&
           name1 == nullptr && name2 == nullptr && name3 == nullptr && name4 == nullptr &&
           name5 == nullptr && name6 == nullptr && numLines == 0 && numLines2 == 0 &&
           rect == zero && rectAll == zero && dieBreak1 == nullptr && dieBreak2 == nullptr &&
           dieBreak3 == nullptr && lines == nullptr && lines2 == nullptr && texts == nullptr &&
           numTexts == 0;
}

CLS_LineKus& CLS_LineKus::operator=(const CLS_LineKus& other) {
    if (this == &other) return *this;
    if (!IsFree()) Free();
    numLines = other.numLines;
    numLines2 = other.numLines2;
    zed::CopyPieceHeader(*this, other);
    // Each list is copied whole by its own count, whichever is longer; a list without an array
    // keeps its count as it is.
    lines = CopyLines(other.lines, numLines);
    lines2 = CopyLines(other.lines2, numLines2);
    if (other.texts != nullptr) {
        texts = zed::NewTextArray(other.texts, other.numTexts);
        numTexts = texts != nullptr ? other.numTexts : 0;
    }
    return *this;
}

int CLS_LineKus::operator==(const CLS_LineKus& other) const {
    if (numLines != other.numLines || numLines2 != other.numLines2 || header2 != other.header2 ||
        header0 != other.header0 || !(value == other.value) || header1 != other.header1 ||
        bits != other.bits) {
        return 0;
    }
    const char* const mine[] = {name1, name2, name3, name4, name5, name6, dieBreak1, dieBreak2, dieBreak3};
    const char* const theirs[] = {other.name1, other.name2, other.name3,
                                  other.name4, other.name5, other.name6,
                                  other.dieBreak1, other.dieBreak2, other.dieBreak3};
    for (int i = 0; i < 9; ++i) {
        if (!TextsEqual(mine[i], theirs[i])) return 0;
    }
    if (rect != other.rect || rectAll != other.rectAll) return 0;
    if (!LinesEqual(lines, other.lines, numLines)) return 0;
    if (!LinesEqual(lines2, other.lines2, numLines2)) return 0;
    if (texts == nullptr || other.texts == nullptr) return texts == other.texts;
    if (numTexts != other.numTexts) return 0;
    for (int i = 0; i < numTexts; ++i) {
        if (!(texts[i] == other.texts[i])) return 0;
    }
    return 1;
}

int CLS_LineKus::operator!=(const CLS_LineKus& other) const { return !(*this == other); }

int CLS_LineKus::SetName(char* n1, char* n2, char* n3, char* n4, char* n5, char* n6) {
    ReplaceText(name1, n1);
    ReplaceText(name2, n2);
    ReplaceText(name3, n3);
    ReplaceText(name4, n4);
    ReplaceText(name5, n5);
    ReplaceText(name6, n6);
    return 1;
}

int CLS_LineKus::SetDieBreak(char* d1, char* d2, char* d3) {
    ReplaceText(dieBreak1, d1);
    ReplaceText(dieBreak2, d2);
    ReplaceText(dieBreak3, d3);
    return 1;
}

int CLS_LineKus::AddOtherText(CLS_OtherText* t) {
    if (t == nullptr) return 0;
    const int old_count = numTexts > 0 && texts != nullptr ? numTexts : 0;
    // The copy of the new text comes first: `t` may be one of our own records.
    char* copy = zed::HeapCopyText(t->text != nullptr ? t->text : " ");
    if (copy == nullptr) return 0;
    auto* grown = static_cast<CLS_OtherText*>(
        zed::HeapAllocZeroed((static_cast<std::size_t>(old_count) + 1) * sizeof(CLS_OtherText)));
    if (grown == nullptr) {
        zed::HeapRelease(copy);
        return 0;
    }
    // The old records move over as they are, strings included; their array goes empty-handed.
    if (old_count > 0) std::memcpy(static_cast<void*>(grown), static_cast<const void*>(texts), static_cast<std::size_t>(old_count) * sizeof(CLS_OtherText));
    CLS_OtherText* added = new (&grown[old_count]) CLS_OtherText();
    added->text = copy;
    added->value1 = t->value1;
    added->value2 = t->value2;
    added->height = t->height;
    added->value3 = t->value3;
    added->position.x = t->position.x;
    added->position.y = t->position.y;
    added->vector = t->vector;
    added->angle = t->angle;
    added->flag = t->flag;
    // Records beyond the count hold no strings, so the old array is released as bytes.
    zed::HeapRelease(texts);
    texts = grown;
    numTexts = old_count + 1;
    return 1;
}

int CLS_LineKus::DelOtherText(CLS_OtherText* t) {
    if (t == nullptr || texts == nullptr) return 0;
    for (int i = 0; i < numTexts; ++i) {
        if (texts[i] == *t) return DelOtherText(i);
    }
    return 0;
}

int CLS_LineKus::DelOtherText(int i) {
    if (texts == nullptr || i < 0 || i >= numTexts) return 0;
    // The later records move down by assignment (each keeps its own position attribute); the
    // surplus last one gives up its string, and the array keeps its size.
    for (int k = i; k < numTexts - 1; ++k) texts[k] = texts[k + 1];
    zed::HeapRelease(texts[numTexts - 1].text);
    texts[numTexts - 1].text = nullptr;
    numTexts -= 1;
    return 1;
}

void CLS_LineKus::FreeOtherText() {
    if (texts != nullptr) {
        for (int i = 0; i < numTexts; ++i) texts[i].~CLS_OtherText();
        zed::HeapRelease(texts);
    }
    texts = nullptr;
    numTexts = 0;
}

FRECT CLS_LineKus::GetRect() const { return rect; }
FRECT CLS_LineKus::GetRectAll() const { return rectAll; }

CLS_LK* CLS_LineKus::GetLine(int i) {
    if (lines == nullptr || i < 0 || i >= numLines) return nullptr;
    return &lines[i];
}

CLS_LK* CLS_LineKus::GetLine2(int i) {
    if (lines2 == nullptr || i < 0 || i >= numLines2) return nullptr;
    return &lines2[i];
}

int CLS_LineKus::GetNumLines() { return numLines; }
int CLS_LineKus::GetNumLines2() { return numLines2; }
