// What the dialog template builder asks of the platform: base units, font measuring and the
// conversion of ANSI texts to UTF-16.
#ifndef ZEDLL_UI_DIALOG_TEXT_H
#define ZEDLL_UI_DIALOG_TEXT_H

#include <cstdint>

#include "zedll/platform_types.h"

namespace zed::ui {

/// The system's dialog base units: horizontal in the low word, vertical in the high word.
LONG SystemDialogBaseUnits();

/// Base units of a dialog in the bold font `face` of `point_size`, measured against the font of
/// the desktop's device context. False when the platform cannot measure (then nothing is set).
bool MeasureDialogFont(int point_size, const char* face, int* base_x, int* base_y);

/// Writes the UTF-16 form of the first `length` bytes of `text`, in the process's ANSI code page,
/// into `out` (room for `length` units; fewer are written for multi-byte pages).
void AnsiToUtf16(const char* text, int length, uint16_t* out);

}  // namespace zed::ui

#endif
