// The message box's plan: which buttons and icon a type asks for, and the box's size and the
// places of its controls in dialog units, worked out from the measured texts.
#ifndef ZEDLL_UI_MESSAGE_BOX_LAYOUT_H
#define ZEDLL_UI_MESSAGE_BOX_LAYOUT_H

#include "zedll/win32/dlg_template.h"

namespace zed::ui {

constexpr int kMessageIconId = 60000;
constexpr int kMessageTextId = 59999;
/// The Cancel caption is measured over this many character places.
constexpr int kCancelPlaces = 9;

struct MessageButton {
    int string_id;   // the library text of its caption
    int command;     // IDOK ... IDNO
};

/// The buttons of `type & 0xF`, left to right; no buttons for the refused sets 6 to 15.
struct ButtonSet {
    int count;
    MessageButton buttons[3];
};
ButtonSet ButtonsFor(unsigned type);

/// The system icon of `type & 0xF0`, or 0 when the box shows none.
int IconOrdinalFor(unsigned type);

/// Pixel extents of the three measured texts (DrawText's calculated rectangles).
struct PixelSize {
    int width;
    int height;
};
struct MessageExtents {
    PixelSize text;
    PixelSize caption;
    PixelSize cancel;   // kCancelPlaces characters of the Cancel caption
};

/// Sizes and places in dialog units. `buttons.count` is 0 when the type is refused.
struct MessageBoxLayout {
    ButtonSet buttons;
    int icon_ordinal;
    int text_left, text_width, text_height;
    int button_width, button_height, row_width;
    int width, height;
    int row_y;
    int button_x[3];
};

/// Converts the extents with `units` (the builder whose font they were measured in).
MessageBoxLayout LayOutMessageBox(unsigned type, const MessageExtents& extents, WIN_DlgTemplate& units);

/// Writes header, icon, buttons and message into `dlg` in that order; `captions` holds the
/// buttons' texts in layout order. False when the builder refused any of them.
bool BuildMessageBox(WIN_DlgTemplate& dlg, const MessageBoxLayout& layout, const char* text,
                     const char* caption, const char* const captions[3]);

/// The places that stand for the Cancel caption when it is measured: its first nine characters,
/// a shorter caption filled up with 'n', a letter of average width. `out` holds 10 bytes.
void CancelPlaces(const char* caption, char* out);

/// What a box shown with `icon_ordinal` plays: the sound of its icon's kind; a box without an
/// icon stays silent, as the system's own boxes do.
constexpr unsigned kSilentBox = 0xFFFFFFFEu;
unsigned BeepValueFor(int icon_ordinal);
/// The MessageBeep type of a beep value other than kSilentBox.
unsigned SoundOfBeepValue(unsigned beep_value);

}  // namespace zed::ui

#endif
