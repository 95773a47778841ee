// Dialog text services where there is no window system: the usual base units of the system font,
// no measuring, and Windows-1252 as the ANSI code page, so template bytes are the same as on an
// English Windows.
#include "ui/dialog_text.h"

namespace zed::ui {
namespace {

// 0x80 to 0x9F in Windows-1252; the five unassigned bytes stay at their own code points, as the
// platform's conversion leaves them. Every other byte is the Latin-1 code point of its value.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

LONG SystemDialogBaseUnits() { return (16 << 16) | 8; }

bool MeasureDialogFont(int, const char*, int*, int*) { return false; }

void AnsiToUtf16(const char* text, int length, uint16_t* out) {
    for (int i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out[i] = (c >= 0x80 && c < 0xA0) ? kHighControls[c - 0x80] : c;
    }
}

}  // namespace zed::ui
