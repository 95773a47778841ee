// The frame window's work on a magnifier: creation, the view at the frame's creation, the system
// commands, and the view's mouse reports.
#ifndef ZEDLL_MAGNIFY_WIN32_FRAME_WINDOW_H
#define ZEDLL_MAGNIFY_WIN32_FRAME_WINDOW_H

#include <windows.h>

#include "zedll/win32/magnify.h"

namespace zed::magnify {

class FrameWindow {
public:
    /// Creates the frame (destroying an earlier one) as a child or a popup; 1, or 0.
    static int Create(DSP_Magnify& self, const char* title, HWND parent, bool child);
    /// WM_CREATE: the view and its window, then the menu.
    static LRESULT OnCreate(DSP_Magnify& self, HWND window);
    static void OnSystemCommand(DSP_Magnify& self, UINT command);
    /// The view's notify callback: measuring follows the mouse, then the host hears of it.
    static int ViewNotify(MagnifyNS* record);
};

}  // namespace zed::magnify

#endif
