// The view window's hold on its view object.
#ifndef ZEDLL_MAGNIFY_WIN32_VIEW_WINDOW_H
#define ZEDLL_MAGNIFY_WIN32_VIEW_WINDOW_H

#include <windows.h>

#include "zedll/win32/magnify_view.h"

namespace zed::magnify {

class ViewWindow {
public:
    /// Gives the view its window (null when the window goes) and fits it to the client area.
    static void Attach(MagKUKUC& view, HWND window);
};

}  // namespace zed::magnify

#endif
