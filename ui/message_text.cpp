// Bounded formatting of message texts.
#include "ui/message_text.h"

#include <cstdio>

namespace zed::ui {

int FormatMessageText(char* out, const char* format, va_list arguments) {
    out[0] = '\0';
    if (format == nullptr) return -1;
    const int n = std::vsnprintf(out, kMessageTextBytes, format, arguments);
    if (n < 0 || n >= kMessageTextBytes) {
        out[0] = '\0';
        return -1;
    }
    return n;
}

}  // namespace zed::ui
