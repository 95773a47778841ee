// The view's keys as scroll codes of the two bars.
#include "magnify/view_keys.h"

namespace zed::magnify {

bool KeyScroll(UINT key, int* bar, int* code) {
    // Virtual keys Page Up ... Down; scroll codes: 0 line up, 1 line down, 2 page up, 3 page
    // down, 6 top, 7 bottom.
    static const struct { UINT key; int bar, code; } kKeys[] = {
        {0x21, 1, 2}, {0x22, 1, 3}, {0x23, 1, 7}, {0x24, 1, 6},
        {0x25, 0, 0}, {0x26, 1, 0}, {0x27, 0, 1}, {0x28, 1, 1},
    };
    for (const auto& k : kKeys) {
        if (k.key == key) {
            *bar = k.bar;
            *code = k.code;
            return true;
        }
    }
    return false;
}

}  // namespace zed::magnify
