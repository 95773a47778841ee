// Measuring with a rubber-band arrow: the figures are drawn with NOTXOR, so drawing one twice
// removes it; the distance is shown in the frame's caption.
#include <windows.h>

#include "magnify/measure.h"
#include "zedll/win32/magnify.h"

namespace {

// A view device context with a black pen of width 1 in NOTXOR mode, restored when it goes.
class XorPen {
public:
    explicit XorPen(HWND window)
        : window_(window), dc_(::GetDC(window)), pen_(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))),
          old_pen_(::SelectObject(dc_, pen_)), old_mode_(::SetROP2(dc_, R2_NOTXORPEN)) {}
    ~XorPen() {
        ::SetROP2(dc_, old_mode_);
        ::SelectObject(dc_, old_pen_);
        ::DeleteObject(pen_);
        ::ReleaseDC(window_, dc_);
    }
    XorPen(const XorPen&) = delete;
    XorPen& operator=(const XorPen&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_pen_;
    int old_mode_;
};

}  // namespace

void DSP_Magnify::DrawArrow() {
    if (view_window_ == nullptr) return;
    XorPen pen(view_window_);
    const zed::magnify::Arrowhead head = zed::magnify::ArrowheadOf({start_x_, start_y_}, {end_x_, end_y_});
    ::MoveToEx(pen.dc(), start_x_, start_y_, nullptr);
    ::LineTo(pen.dc(), end_x_, end_y_);
    const POINT barbs[3] = {{head.barb1.x, head.barb1.y}, {head.tip.x, head.tip.y}, {head.barb2.x, head.barb2.y}};
    ::Polyline(pen.dc(), barbs, 3);
}

void DSP_Magnify::DrawThread() {
    if (view_window_ == nullptr) return;
    XorPen pen(view_window_);
    RECT client;
    ::GetClientRect(view_window_, &client);
    ::MoveToEx(pen.dc(), 0, end_y_, nullptr);
    ::LineTo(pen.dc(), client.right, end_y_);
    ::MoveToEx(pen.dc(), end_x_, 0, nullptr);
    ::LineTo(pen.dc(), end_x_, client.bottom);
}

void DSP_Magnify::InitMeasure() { measure_state_ = 1; }

void DSP_Magnify::StartMeasure(int x, int y) {
    measure_state_ = 2;
    start_x_ = end_x_ = x;
    start_y_ = end_y_ = y;
    DrawArrow();
    DrawThread();
}

void DSP_Magnify::TrackMeasure(int x, int y) {
    if (measure_state_ != 2 || view_ == nullptr) return;
    DrawArrow();
    DrawThread();
    end_x_ = x;
    end_y_ = y;
    long ax = 0, ay = 0, bx = 0, by = 0;
    view_->DevToLog(start_x_, start_y_, &ax, &ay);
    view_->DevToLog(end_x_, end_y_, &bx, &by);
    if (window_ != nullptr) {
        ::SetWindowTextA(window_, zed::magnify::DistanceCaption(ax, ay, bx, by, unit_scale_).c_str());
    }
    DrawArrow();
    DrawThread();
}

void DSP_Magnify::EndMeasure() {
    if (measure_state_ == 0) return;
    const bool drawn = measure_state_ == 2;
    measure_state_ = 0;
    if (drawn) {
        DrawArrow();
        DrawThread();
    }
    if (window_ != nullptr) ::SetWindowTextA(window_, title_ != nullptr ? title_ : "");
    Notify(8, 0, nullptr);
}

int DSP_Magnify::Measuration() {
    if (view_window_ != nullptr) {
        // The middle of the view on the screen (the window's origin added).
        RECT view;
        ::GetWindowRect(view_window_, &view);
        ::SetCursorPos(view.left + (view.right - view.left) / 2, view.top + (view.bottom - view.top) / 2);
    }
    InitMeasure();
    Notify(8, 1, nullptr);
    return 1;
}
