// Without a window the view scrolls itself on a key, as its window would on the scroll message.
#include "magnify/view_keys.h"
#include "zedll/win32/magnify_view.h"

int MagKUKUC::OnKeyDown(UINT key, int, UINT) {
    int bar = 0, code = 0;
    if (!zed::magnify::KeyScroll(key, &bar, &code)) return 0;
    Scroll(bar, code, 0);
    return 1;
}
