// The text of a message box made from a library text and the caller's arguments.
#ifndef ZEDLL_UI_MESSAGE_TEXT_H
#define ZEDLL_UI_MESSAGE_TEXT_H

#include <cstdarg>

namespace zed::ui {

constexpr int kMessageTextBytes = 256;

/// Formats `format` with `arguments` into `out` (kMessageTextBytes). A text that does not fit,
/// a formatting error or a null format leave `out` empty, as the bounded formatter of the C
/// runtime does; the result is the length written, or -1 then.
int FormatMessageText(char* out, const char* format, va_list arguments);

}  // namespace zed::ui

#endif
