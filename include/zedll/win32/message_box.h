// ZerMessageBox: a modal message box like the system's, with the library's own button captions
// and a choice of where on the screen it appears; LangMessageBox shows a library text in it.
#ifndef ZEDLL_WIN32_MESSAGE_BOX_H
#define ZEDLL_WIN32_MESSAGE_BOX_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// What `position_reference` points at for the span placements (flags 0x100 and 0x200): the box
/// is centred in a span of `window`'s rectangle cut at `x` (or `y`): from x on for x > 0, from
/// the window's left edge to |x| for x < 0, the whole width for 0.
struct ZerMessageSpan {
    LONG x;
    LONG y;
    HWND window;
};

/// Shows `text` under `caption` with the buttons of `type & 0xF` (0 OK, 1 OK Cancel, 2 Abort Retry
/// Ignore, 3 Yes No Cancel, 4 Yes No, 5 Retry Cancel) and the icon of `type & 0xF0`; other bits are
/// ignored. `position_flags`, the first group with a bit set decides:
///   0x10            centred on the desktop (the reference is ignored)
///   0x01 / 0x02     centred across / down the window `position_reference` (an HWND)
///   0x04 / 0x08     centre x / y at the point `position_reference` (a POINT)
///   0x20 / 0x40     left / top edge at that point
///   0x100 / 0x200   centred across / down a span (a ZerMessageSpan)
///   none            the dialog manager's position, offset by the window's top-left corner
/// Returns the command of the button pressed (IDOK ... IDNO), 2 for Escape and the system
/// close, -1 for a null reference where one is needed, for the sets 6 to 15, or when the box
/// cannot be created (then GetLastError tells why). Null texts are shown empty. Modal on the
/// caller's thread.
ZEDLL_FUNC int ZEDLL_STDCALL ZerMessageBox(HWND owner, const char* text, const char* caption, UINT type,
                                           HINSTANCE instance, void* position_reference, UINT position_flags);

/// The library text `text_id` formatted with the arguments (printf rules, at most 255 bytes; a
/// longer text is shown empty), under the library text `caption_id`, centred on `owner`; without
/// an owner to centre on the box is refused (-1).
ZEDLL_CFUNC int LangMessageBox(HWND owner, UINT text_id, UINT caption_id, UINT type, ...);

#endif
