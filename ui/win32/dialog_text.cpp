// Dialog text services on Windows: GetDialogBaseUnits, GDI measuring of the dialog font, and
// MultiByteToWideChar with the ANSI code page.
#include <windows.h>

#include "ui/dialog_text.h"

namespace zed::ui {
namespace {

constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Width of the 52 letters and the text metrics in the font selected into `dc`.
bool Metrics(HDC dc, SIZE* letters, TEXTMETRICA* metrics) {
    return ::GetTextExtentPoint32A(dc, kLetters, 52, letters) && ::GetTextMetricsA(dc, metrics);
}

}  // namespace

LONG SystemDialogBaseUnits() { return ::GetDialogBaseUnits(); }

bool MeasureDialogFont(int point_size, const char* face, int* base_x, int* base_y) {
    HDC dc = ::GetDCEx(::GetDesktopWindow(), nullptr, DCX_WINDOW | DCX_CACHE);
    if (dc == nullptr) return false;
    HFONT font = ::CreateFontA(-point_size, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, face);
    bool measured = false;
    if (font != nullptr) {
        HGDIOBJ previous = ::SelectObject(dc, font);
        SIZE own_letters{}, dc_letters{};
        TEXTMETRICA own{}, system{};
        const bool ok_own = Metrics(dc, &own_letters, &own);
        ::SelectObject(dc, previous);
        const bool ok_dc = Metrics(dc, &dc_letters, &system);
        if (ok_own && ok_dc && system.tmHeight != 0) {
            const int a = own_letters.cx / 26 + 1;
            const int b = dc_letters.cx / 26 + 1;
            *base_x = 4 * static_cast<int>(2.0 * a / b);
            *base_y = 8 * static_cast<int>(2.0 * own.tmHeight / system.tmHeight);
            measured = true;
        }
        ::DeleteObject(font);
    }
    ::ReleaseDC(::GetDesktopWindow(), dc);
    return measured;
}

void AnsiToUtf16(const char* text, int length, uint16_t* out) {
    if (length > 0) {
        ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, length, reinterpret_cast<wchar_t*>(out), length);
    }
}

}  // namespace zed::ui
