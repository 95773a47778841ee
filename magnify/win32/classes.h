// The magnifier's two window classes, registered at load with the library instance.
#ifndef ZEDLL_MAGNIFY_WIN32_CLASSES_H
#define ZEDLL_MAGNIFY_WIN32_CLASSES_H

#include <windows.h>

namespace zed::magnify {

constexpr const char* kViewClass = "MagnifyKukuc";
constexpr const char* kFrameClass = "ZER_DSP_Magnify";

/// The view's window procedure (the view object in GWLP_USERDATA).
LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

/// The view class first, then the frame class; a refusal is not reported (creating a window
/// fails later instead).
void RegisterClasses(HINSTANCE instance);
/// The view class, then the frame class.
void UnregisterClasses(HINSTANCE instance);

}  // namespace zed::magnify

#endif
