// The keys the view scrolls with.
#ifndef ZEDLL_MAGNIFY_VIEW_KEYS_H
#define ZEDLL_MAGNIFY_VIEW_KEYS_H

#include "zedll/platform_types.h"

namespace zed::magnify {

/// Page Up, Page Down, End and Home scroll vertically by a page or to the top or bottom; the
/// arrows by a line. False for any other virtual key; else the bar (0 horizontal, 1 vertical) and
/// the scroll code.
bool KeyScroll(UINT key, int* bar, int* code);

}  // namespace zed::magnify

#endif
