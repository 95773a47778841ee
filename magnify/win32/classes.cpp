// Registration of the view class and the frame class.
#include "magnify/win32/classes.h"

#include "zedll/win32/magnify.h"

namespace zed::magnify {

void RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXA view{};
    view.cbSize = sizeof view;
    view.lpfnWndProc = ViewWindowProc;
    view.hInstance = instance;
    view.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    view.lpszClassName = kViewClass;
    ::RegisterClassExA(&view);

    WNDCLASSEXA frame{};
    frame.cbSize = sizeof frame;
    frame.style = CS_BYTEALIGNCLIENT;
    frame.lpfnWndProc = DSP_Magnify::_ZERMAGNIFYProc;
    frame.hInstance = instance;
    frame.hIcon = ::LoadIconA(instance, "DSPSMMAG");
    frame.hIconSm = frame.hIcon;
    frame.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    frame.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
    frame.lpszClassName = kFrameClass;
    ::RegisterClassExA(&frame);
}

void UnregisterClasses(HINSTANCE instance) {
    ::UnregisterClassA(kViewClass, instance);
    ::UnregisterClassA(kFrameClass, instance);
}

}  // namespace zed::magnify
