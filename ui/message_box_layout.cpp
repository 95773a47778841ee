// The message box's plan: button sets, icons, and the sizes from the measured texts.
#include "ui/message_box_layout.h"

#include <algorithm>
#include <cstring>

#include "platform/language.h"

namespace zed::ui {
namespace {

constexpr long kBoxStyle = static_cast<long>(0x94C803C5);
constexpr long kBoxExStyle = 0x10101;
constexpr long kDefaultButton = 0x50010001;
constexpr long kPlainButton = 0x50010000;
constexpr long kPlainText = 0x50000000;

constexpr MessageButton Button(TextId caption, int command) { return {static_cast<int>(caption), command}; }
constexpr MessageButton kOk = Button(TextId::ButtonOk, 1), kCancel = Button(TextId::ButtonCancel, 2),
                        kAbort = Button(TextId::ButtonAbort, 3), kRetry = Button(TextId::ButtonRetry, 4),
                        kIgnore = Button(TextId::ButtonIgnore, 5), kYes = Button(TextId::ButtonYes, 6),
                        kNo = Button(TextId::ButtonNo, 7);

constexpr ButtonSet kSets[6] = {
    {1, {kOk}},
    {2, {kOk, kCancel}},
    {3, {kAbort, kRetry, kIgnore}},
    {3, {kYes, kNo, kCancel}},
    {2, {kYes, kNo}},
    {2, {kRetry, kCancel}},
};

}  // namespace

ButtonSet ButtonsFor(unsigned type) {
    const unsigned set = type & 0xF;
    return set < 6 ? kSets[set] : ButtonSet{0, {}};
}

int IconOrdinalFor(unsigned type) {
    switch (type & 0xF0) {
        case 0x00: return 0;
        case 0x20: return 32514;   // question
        case 0x30: return 32515;   // exclamation
        case 0x40: return 32516;   // asterisk
        default: return 32513;     // hand, also for the kinds the system does not define
    }
}

MessageBoxLayout LayOutMessageBox(unsigned type, const MessageExtents& extents, WIN_DlgTemplate& units) {
    MessageBoxLayout out{};
    out.buttons = ButtonsFor(type);
    out.icon_ordinal = IconOrdinalFor(type);
    out.text_width = units.ScreenToDlgX(extents.text.width) + 8;
    out.text_height = units.ScreenToDlgY(extents.text.height) + 8;
    const int caption_width = units.ScreenToDlgX(extents.caption.width);
    out.button_width = units.ScreenToDlgX(extents.cancel.width) + 3;
    out.button_height = units.ScreenToDlgY(extents.cancel.height) + 6;
    if (out.buttons.count == 0) return out;

    out.row_width = out.buttons.count * out.button_width + (out.buttons.count - 1) * 4;
    out.text_left = out.icon_ordinal != 0 ? 26 : 7;
    const int text_right = out.text_width + out.text_left;
    if (caption_width < out.row_width && text_right < out.row_width) {
        out.width = out.row_width + 14;
    } else {
        out.width = std::max({caption_width, out.row_width, text_right});
    }
    // A short message still reserves the height of the icon.
    out.height = units.ScreenToDlgY(extents.caption.height) + out.button_height +
                 std::max(out.text_height, 20) + 21;
    out.row_y = out.height - out.button_height - 7;
    const int x0 = (out.width - out.row_width) / 2;
    for (int i = 0; i < out.buttons.count; ++i) out.button_x[i] = x0 + i * (out.button_width + 4);
    return out;
}

bool BuildMessageBox(WIN_DlgTemplate& dlg, const MessageBoxLayout& layout, const char* text,
                     const char* caption, const char* const captions[3]) {
    bool ok = dlg.CreateHeader(10, 10, layout.width, layout.height, kBoxStyle, kBoxExStyle, caption) == 0;
    if (layout.icon_ordinal != 0) ok = ok && dlg.CreateIcon(kMessageIconId, layout.icon_ordinal, 3, 7, 20, 20) > 0;
    for (int i = 0; i < layout.buttons.count; ++i) {
        ok = ok && dlg.CreateButton(layout.buttons.buttons[i].command, layout.button_x[i], layout.row_y,
                                    layout.button_width, layout.button_height,
                                    i == 0 ? kDefaultButton : kPlainButton, 0, captions[i]) > 0;
    }
    return ok && dlg.CreateStatic(kMessageTextId, layout.text_left, 7, layout.text_width, layout.text_height,
                                  kPlainText, 0, text) > 0;
}

void CancelPlaces(const char* caption, char* out) {
    int n = 0;
    for (; caption != nullptr && n < kCancelPlaces && caption[n] != '\0'; ++n) out[n] = caption[n];
    for (; n < kCancelPlaces; ++n) out[n] = 'n';
    out[kCancelPlaces] = '\0';
}

unsigned BeepValueFor(int icon_ordinal) {
    return icon_ordinal != 0 ? static_cast<unsigned>(icon_ordinal) : kSilentBox;
}

unsigned SoundOfBeepValue(unsigned beep_value) {
    switch (beep_value) {
        case 32513: return 0x10;   // MB_ICONHAND
        case 32514: return 0x20;   // MB_ICONQUESTION
        case 32515: return 0x30;   // MB_ICONEXCLAMATION
        case 32516: return 0x40;   // MB_ICONASTERISK
        default: return 0;         // MB_OK, the default sound
    }
}

}  // namespace zed::ui
