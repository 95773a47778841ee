// WIN_DlgTemplate: header and item blocks written as the dialog manager reads them, assembled on
// 4-byte boundaries, and the dialog-unit conversions.
#include "zedll/win32/dlg_template.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "os/heap.h"
#include "ui/dialog_text.h"

namespace {

constexpr int kScratchBytes = 1000;   // the most one header or item may take
constexpr int kSlotStep = 10;
constexpr long kSetFont = 0x40;       // DS_SETFONT

// Writes little-endian words into a zero-filled scratch area; a string that would not fit marks
// the block as failed instead of writing past it.
class BlockWriter {
public:
    explicit BlockWriter(unsigned char* area) : area_(area) {}
    void Word(uint32_t value) {
        if (!Room(2)) return;
        area_[used_] = static_cast<unsigned char>(value & 0xFF);
        area_[used_ + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
        used_ += 2;
    }
    void Long(long value) {
        const auto bits = static_cast<uint32_t>(value);
        Word(bits & 0xFFFF);
        Word(bits >> 16);
    }
    // The text in UTF-16 and its terminator, which the zero-filled area already holds.
    void Text(const char* text) {
        const int length = static_cast<int>(std::strlen(text));
        if (!Room(2 * (length + 1))) return;
        uint16_t units[kScratchBytes / 2] = {};
        zed::ui::AnsiToUtf16(text, length, units);
        for (int i = 0; i < length; ++i) Word(units[i]);
        used_ += 2;
    }
    bool ok() const { return ok_; }
    int used() const { return used_; }

private:
    bool Room(int bytes) {
        ok_ = ok_ && used_ + bytes <= kScratchBytes;
        return ok_;
    }
    unsigned char* area_;
    int used_ = 0;
    bool ok_ = true;
};

// The block: an exact copy of what was written, with 10 spare bytes.
void* CopyBlock(const unsigned char* area, int used) {
    return zed::HeapAllocCopy(area, static_cast<std::size_t>(used), static_cast<std::size_t>(used) + 10);
}

// MulDiv: a 64-bit product divided with rounding to the nearest, halves away from zero; -1 for a
// zero divisor or a result beyond 32 bits.
int MulDivRounded(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const int64_t product = static_cast<int64_t>(number) * numerator;
    const int64_t magnitude = product < 0 ? -product : product;
    const int64_t divisor = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
    int64_t result = (magnitude + divisor / 2) / divisor;
    if ((product < 0) != (denominator < 0)) result = -result;
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int>(result);
}

int LowWord(LONG units) { return static_cast<int>(static_cast<uint32_t>(units) & 0xFFFF); }
int HighWord(LONG units) { return static_cast<int>((static_cast<uint32_t>(units) >> 16) & 0xFFFF); }

}  // namespace

WIN_DlgTemplate::WIN_DlgTemplate()
    : items_(0), base_x_(0), base_y_(0), capacity_(kSlotStep), cdit_(nullptr), blocks_(nullptr),
      lengths_(nullptr), template_(nullptr), face_{}, point_size_(8) {
    const LONG units = zed::ui::SystemDialogBaseUnits();
    base_x_ = LowWord(units);
    base_y_ = HighWord(units);
    blocks_ = static_cast<void**>(zed::HeapAllocZeroed(sizeof(void*) * kSlotStep));
    lengths_ = static_cast<int*>(zed::HeapAllocZeroed(sizeof(int) * kSlotStep));
    if (blocks_ == nullptr || lengths_ == nullptr) {
        zed::HeapRelease(blocks_);
        zed::HeapRelease(lengths_);
        blocks_ = nullptr;
        lengths_ = nullptr;
        capacity_ = 0;
    }
}

WIN_DlgTemplate::WIN_DlgTemplate(const WIN_DlgTemplate& other)
    : WIN_Father(other), items_(0), base_x_(0), base_y_(0), capacity_(0), cdit_(nullptr),
      blocks_(nullptr), lengths_(nullptr), template_(nullptr), face_{}, point_size_(8) {
    CopyFrom(other);
}

WIN_DlgTemplate& WIN_DlgTemplate::operator=(const WIN_DlgTemplate& other) {
    if (this == &other) return *this;
    WIN_Father::operator=(other);
    Release();
    CopyFrom(other);
    return *this;
}

WIN_DlgTemplate::~WIN_DlgTemplate() { Release(); }

void WIN_DlgTemplate::Release() {
    zed::HeapRelease(template_);
    if (blocks_ != nullptr) {
        for (int i = 0; i <= items_ && i < capacity_; ++i) zed::HeapRelease(blocks_[i]);
    }
    zed::HeapRelease(blocks_);
    zed::HeapRelease(lengths_);
    template_ = nullptr;
    blocks_ = nullptr;
    lengths_ = nullptr;
    cdit_ = nullptr;
    items_ = 0;
    capacity_ = 0;
}

// A deep copy; whatever cannot be copied for want of memory leaves the copy empty but sound.
void WIN_DlgTemplate::CopyFrom(const WIN_DlgTemplate& other) {
    base_x_ = other.base_x_;
    base_y_ = other.base_y_;
    std::memcpy(face_, other.face_, sizeof face_);
    point_size_ = other.point_size_;
    if (other.blocks_ == nullptr) return;
    const auto slots = static_cast<std::size_t>(other.capacity_);
    blocks_ = static_cast<void**>(zed::HeapAllocZeroed(sizeof(void*) * slots));
    lengths_ = static_cast<int*>(zed::HeapAllocCopy(other.lengths_, sizeof(int) * slots, sizeof(int) * slots));
    capacity_ = other.capacity_;
    bool complete = blocks_ != nullptr && lengths_ != nullptr;
    for (int i = 0; complete && i <= other.items_; ++i) {
        if (other.blocks_[i] == nullptr) continue;
        blocks_[i] = CopyBlock(static_cast<const unsigned char*>(other.blocks_[i]), other.lengths_[i]);
        complete = blocks_[i] != nullptr;
    }
    items_ = other.items_;
    if (!complete) {
        Release();
        return;
    }
    if (other.cdit_ != nullptr) cdit_ = reinterpret_cast<WORD*>(static_cast<unsigned char*>(blocks_[0]) + 8);
}

int WIN_DlgTemplate::CreateHeader(int x, int y, int cx, int cy, long style, long ex_style, const char* caption) {
    if (blocks_ == nullptr && !CheckItems()) return -1;
    auto* area = static_cast<unsigned char*>(zed::HeapAllocZeroed(kScratchBytes));
    if (area == nullptr) return -1;
    if (blocks_[0] != nullptr) {
        zed::HeapRelease(blocks_[0]);
        blocks_[0] = nullptr;
        lengths_[0] = 0;
        cdit_ = nullptr;
    }
    BlockWriter out(area);
    out.Long(style);
    out.Long(ex_style);
    out.Word(static_cast<uint32_t>(items_));
    for (int v : {x, y, cx, cy}) out.Word(static_cast<uint32_t>(v));
    out.Word(0);   // no menu
    out.Word(0);   // the standard dialog class
    out.Text(caption != nullptr ? caption : "Dynamic Dialog");
    if (style & kSetFont) {
        out.Word(static_cast<uint32_t>(point_size_));
        out.Text(face_[0] != '\0' ? face_ : "Times New Roman");
    }
    void* block = out.ok() ? CopyBlock(area, out.used()) : nullptr;
    zed::HeapRelease(area);
    if (block == nullptr) return -1;
    blocks_[0] = block;
    lengths_[0] = out.used();
    cdit_ = reinterpret_cast<WORD*>(static_cast<unsigned char*>(block) + 8);
    return 0;
}

int WIN_DlgTemplate::CreateControl(const char* class_name, const char* text, unsigned short ordinal, int id,
                                   int x, int y, int cx, int cy, long style, long ex_style) {
    if (class_name == nullptr || !CheckItems()) return -1;
    auto* area = static_cast<unsigned char*>(zed::HeapAllocZeroed(kScratchBytes));
    if (area == nullptr) return -1;
    BlockWriter out(area);
    out.Long(style);
    out.Long(ex_style);
    for (int v : {x, y, cx, cy, id}) out.Word(static_cast<uint32_t>(v));
    out.Text(class_name);
    if (text == nullptr) {
        out.Word(0xFFFF);
        out.Word(ordinal);
    } else {
        out.Text(text);
    }
    out.Word(0);   // no creation data
    void* block = out.ok() ? CopyBlock(area, out.used()) : nullptr;
    zed::HeapRelease(area);
    if (block == nullptr) return -1;
    blocks_[items_ + 1] = block;
    lengths_[items_ + 1] = out.used();
    ++items_;
    if (cdit_ != nullptr) *cdit_ = static_cast<WORD>(items_);
    return items_;
}

int WIN_DlgTemplate::CreateButton(int id, int x, int y, int cx, int cy, long style, long ex_style, const char* text) {
    return CreateControl("BUTTON", text, 0, id, x, y, cx, cy, style, ex_style);
}

int WIN_DlgTemplate::CreateStatic(int id, int x, int y, int cx, int cy, long style, long ex_style, const char* text) {
    return CreateControl("STATIC", text, 0, id, x, y, cx, cy, style, ex_style);
}

int WIN_DlgTemplate::CreateBmp(int id, int ordinal, int x, int y, int cx, int cy) {
    // Child, visible, group; a bitmap shown at its own size; no parent notification.
    return CreateControl("STATIC", nullptr, static_cast<unsigned short>(ordinal), id, x, y, cx, cy,
                         static_cast<long>(0x5002080E), 4);
}

int WIN_DlgTemplate::CreateIcon(int id, int ordinal, int x, int y, int cx, int cy) {
    return CreateControl("STATIC", nullptr, static_cast<unsigned short>(ordinal), id, x, y, cx, cy,
                         static_cast<long>(0x50020003), 4);
}

int WIN_DlgTemplate::CreateListBox(int, int, int, int, int, long, long) { return CheckItems() ? 1 : -1; }

int WIN_DlgTemplate::SetDlgFont(int point_size, const char* face_name) {
    if (face_name == nullptr) return 0;
    std::strncpy(face_, face_name, sizeof face_ - 1);
    face_[sizeof face_ - 1] = '\0';
    point_size_ = point_size;
    if (face_[0] == '\0') {
        const LONG units = zed::ui::SystemDialogBaseUnits();
        base_x_ = LowWord(units);
        base_y_ = HighWord(units);
        return 1;
    }
    int x = 0, y = 0;
    if (zed::ui::MeasureDialogFont(point_size, face_, &x, &y)) {
        base_x_ = x;
        base_y_ = y;
    }
    return 1;
}

int WIN_DlgTemplate::CheckItems() {
    if (blocks_ != nullptr && items_ + 1 < capacity_) return 1;
    const int grown = capacity_ + kSlotStep;
    auto** blocks = static_cast<void**>(zed::HeapAllocZeroed(sizeof(void*) * static_cast<std::size_t>(grown)));
    auto* lengths = static_cast<int*>(zed::HeapAllocZeroed(sizeof(int) * static_cast<std::size_t>(grown)));
    if (blocks == nullptr || lengths == nullptr) {
        zed::HeapRelease(blocks);
        zed::HeapRelease(lengths);
        return 0;
    }
    if (blocks_ != nullptr) {
        std::memcpy(blocks, blocks_, sizeof(void*) * static_cast<std::size_t>(items_ + 1));
        std::memcpy(lengths, lengths_, sizeof(int) * static_cast<std::size_t>(items_ + 1));
    }
    zed::HeapRelease(blocks_);
    zed::HeapRelease(lengths_);
    blocks_ = blocks;
    lengths_ = lengths;
    capacity_ = grown;
    return 1;
}

int WIN_DlgTemplate::GetSize() {
    int size = 0;
    for (int i = 0; i <= items_; ++i) size += lengths_[i];
    return size + 4 * items_;
}

DLGTEMPLATE* WIN_DlgTemplate::GetDlgTemplate() {
    if (blocks_ == nullptr || blocks_[0] == nullptr) return nullptr;
    zed::HeapRelease(template_);
    template_ = nullptr;
    auto* assembled = static_cast<unsigned char*>(zed::HeapAllocZeroed(static_cast<std::size_t>(GetSize())));
    if (assembled == nullptr) return nullptr;
    int at = 0;
    for (int i = 0; i <= items_; ++i) {
        std::memcpy(assembled + at, blocks_[i], static_cast<std::size_t>(lengths_[i]));
        at = (at + lengths_[i] + 3) & ~3;   // every item starts on a 4-byte boundary
    }
    template_ = reinterpret_cast<DLGTEMPLATE*>(assembled);
    return template_;
}

int WIN_DlgTemplate::ScreenToDlgX(int x) { return MulDivRounded(x, 4, base_x_); }
int WIN_DlgTemplate::ScreenToDlgY(int y) { return MulDivRounded(y, 8, base_y_); }
int WIN_DlgTemplate::DlgToScreenX(int x) { return MulDivRounded(x, base_x_, 4); }
int WIN_DlgTemplate::DlgToScreenY(int y) { return MulDivRounded(y, base_y_, 8); }
