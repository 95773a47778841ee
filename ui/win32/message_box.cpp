// ZerMessageBox and LangMessageBox: the box is measured in its font, built with the dialog
// template builder and run by the dialog manager; its procedure places it on the screen.
#include <windows.h>

#include <cstdarg>
#include <cstring>

#include "platform/language.h"
#include "ui/message_box_layout.h"
#include "ui/message_box_placement.h"
#include "ui/message_text.h"
#include "zedll/win32/message_box.h"

namespace {

using zed::ui::MessageBoxLayout;
using zed::ui::MessageExtents;
using zed::ui::PixelSize;

constexpr int kCaptionBytes = 256;

// What the box procedure needs to place the box.
struct PlacementRecord {
    void* reference;
    UINT flags;
    unsigned beep;
};

PixelSize Measure(HDC dc, const char* text, int length) {
    RECT r{0, 0, 0, 0};
    ::DrawTextA(dc, text, length, &r, DT_CALCRECT);
    return PixelSize{static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

// The three texts in the box's bold measuring font, on a device context of the desktop.
MessageExtents MeasureTexts(const char* text, const char* caption, const char* cancel) {
    MessageExtents extents{};
    HWND desktop = ::GetDesktopWindow();
    HDC dc = ::GetDC(desktop);
    if (dc == nullptr) return extents;
    HFONT font = ::CreateFontA(-8, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ previous = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    extents.text = Measure(dc, text, -1);
    extents.caption = Measure(dc, caption, -1);
    char places[zed::ui::kCancelPlaces + 1];
    zed::ui::CancelPlaces(cancel, places);
    extents.cancel = Measure(dc, places, zed::ui::kCancelPlaces);
    if (previous != nullptr) ::SelectObject(dc, previous);
    ::ReleaseDC(desktop, dc);
    if (font != nullptr) ::DeleteObject(font);
    return extents;
}

// The facts the placement needs, as far as they can be read.
zed::ui::PlacementFacts ReadFacts(const PlacementRecord& record) {
    zed::ui::PlacementFacts facts{};
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    facts.desktop_width = static_cast<int>(desktop.right - desktop.left);
    facts.desktop_height = static_cast<int>(desktop.bottom - desktop.top);
    HWND window = nullptr;
    switch (zed::ui::ReferenceFor(record.flags)) {
        case zed::ui::Reference::kNothing:
            break;
        case zed::ui::Reference::kWindow:
            window = static_cast<HWND>(record.reference);
            break;
        case zed::ui::Reference::kPoint: {
            const auto* point = static_cast<const POINT*>(record.reference);
            facts.x = static_cast<int>(point->x);
            facts.y = static_cast<int>(point->y);
            break;
        }
        case zed::ui::Reference::kSpan: {
            const auto* span = static_cast<const ZerMessageSpan*>(record.reference);
            facts.x = static_cast<int>(span->x);
            facts.y = static_cast<int>(span->y);
            window = span->window;
            break;
        }
    }
    facts.window_known = window != nullptr && ::GetWindowRect(window, &facts.window) != 0;
    return facts;
}

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* record = reinterpret_cast<const PlacementRecord*>(lparam);
            RECT own{};
            ::GetWindowRect(box, &own);
            const zed::ui::Placement p = zed::ui::PlaceMessageBox(record->flags, own, ReadFacts(*record));
            if (!p.placed) return -1;
            ::MoveWindow(box, p.left, p.top, own.right - own.left, own.bottom - own.top, TRUE);
            ::UpdateWindow(box);
            if (record->beep != zed::ui::kSilentBox) ::MessageBeep(zed::ui::SoundOfBeepValue(record->beep));
            return 1;
        }
        case WM_COMMAND: {
            const WORD command = LOWORD(wparam);
            if (command >= IDOK && command <= IDNO) {
                ::EndDialog(box, command);
                return 1;
            }
            return 0;
        }
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) {
                ::EndDialog(box, IDCANCEL);
                return 1;
            }
            return 0;
        default:
            return 0;
    }
}

// A library text copied out of the loader's rotating buffers.
void CopyLibraryText(UINT id, char* out) {
    const char* text = zed::LangGetString(id);
    std::strncpy(out, text != nullptr ? text : "", kCaptionBytes - 1);
    out[kCaptionBytes - 1] = '\0';
}

}  // namespace

extern "C" int ZEDLL_STDCALL ZerMessageBox(HWND owner, const char* text, const char* caption, UINT type,
                                           HINSTANCE instance, void* position_reference, UINT position_flags) {
    if (zed::ui::NeedsReference(position_flags) && position_reference == nullptr) return -1;
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "";

    WIN_DlgTemplate dlg;
    dlg.SetDlgFont(8, "MS Sans Serif");
    const zed::ui::ButtonSet set = zed::ui::ButtonsFor(type);
    char captions[3][kCaptionBytes] = {};
    for (int i = 0; i < set.count; ++i) CopyLibraryText(static_cast<UINT>(set.buttons[i].string_id), captions[i]);
    char cancel[kCaptionBytes];
    CopyLibraryText(static_cast<UINT>(zed::TextId::ButtonCancel), cancel);

    const MessageBoxLayout layout = zed::ui::LayOutMessageBox(type, MeasureTexts(text, caption, cancel), dlg);
    if (layout.buttons.count == 0) return -1;
    const char* const button_texts[3] = {captions[0], captions[1], captions[2]};
    if (!zed::ui::BuildMessageBox(dlg, layout, text, caption, button_texts)) return -1;
    DLGTEMPLATE* box = dlg.GetDlgTemplate();
    if (box == nullptr) return -1;

    PlacementRecord record{position_reference, position_flags, zed::ui::BeepValueFor(layout.icon_ordinal)};
    ::SetLastError(0);
    return static_cast<int>(::DialogBoxIndirectParamA(instance, box, owner, BoxProcedure,
                                                      reinterpret_cast<LPARAM>(&record)));
}

extern "C" int LangMessageBox(HWND owner, UINT text_id, UINT caption_id, UINT type, ...) {
    char format[kCaptionBytes], caption[kCaptionBytes], text[zed::ui::kMessageTextBytes];
    CopyLibraryText(text_id, format);
    CopyLibraryText(caption_id, caption);
    va_list arguments;
    va_start(arguments, type);
    zed::ui::FormatMessageText(text, format, arguments);
    va_end(arguments);
    return ZerMessageBox(owner, text, caption, type, zed::LangGetLibraryInstance(), owner,
                         zed::ui::kCentreOnWindowX | zed::ui::kCentreOnWindowY);
}
