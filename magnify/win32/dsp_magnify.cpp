// The magnifier object: construction, placement and sizes, callbacks, zoom, panning, markers.
#include <windows.h>

#include <cmath>
#include <cstring>

#include "magnify/measure.h"
#include "magnify/zoom_rules.h"
#include "zedll/win32/magnify.h"

namespace {

constexpr int kStoredSize[2] = {240, 200};

long Trunc(float v) { return static_cast<long>(std::trunc(v)); }

}  // namespace

DSP_Magnify::DSP_Magnify()
    : window_(nullptr), parent_(nullptr), view_window_(nullptr), instance_(nullptr), view_(nullptr), paint_(nullptr),
      notify_(nullptr), user_data_(0), work_area_{0, 0, 0, 0}, zoom_(1), unit_scale_(1.0f), measure_state_(0),
      start_x_(0), start_y_(0), end_x_(0), end_y_(0), size1_w_(0), size1_h_(0), size2_w_(0), size2_h_(0), pos_x_(0),
      pos_y_(0), title_(nullptr), shown_(0) {}

DSP_Magnify::DSP_Magnify(HINSTANCE instance, MagPaintFunc paint, MagNotifyFunc notify, long user_data,
                         float unit_scale, HWND parent)
    : DSP_Magnify() {
    instance_ = instance;
    paint_ = paint;
    notify_ = notify;
    user_data_ = user_data;
    unit_scale_ = unit_scale;
    parent_ = parent;
}

DSP_Magnify::DSP_Magnify(HINSTANCE instance, MagPaintFunc paint, MagNotifyFunc notify, long user_data,
                         float unit_scale, HWND parent, const char* title, int child)
    : DSP_Magnify(instance, paint, notify, user_data, unit_scale, parent) {
    if (child != 0) {
        CreateChild(title, parent);
    } else {
        CreatePopup(title, parent);
    }
}

DSP_Magnify::~DSP_Magnify() {
    if (window_ != nullptr) ::DestroyWindow(window_);
    delete view_;
    delete[] title_;
}

HINSTANCE DSP_Magnify::SetInstance(HINSTANCE instance) {
    HINSTANCE previous = instance_;
    instance_ = instance;
    return previous;
}

int DSP_Magnify::SetWorkArea(float left, float top, float right, float bottom) {
    return SetWorkArea(LRECT{static_cast<LONG>(Trunc(left)), static_cast<LONG>(Trunc(top)),
                             static_cast<LONG>(Trunc(right)), static_cast<LONG>(Trunc(bottom))});
}

int DSP_Magnify::SetWorkArea(LRECT area) {
    if (view_ == nullptr) return 0;
    work_area_ = area;
    view_->SetWorld(area.left, area.top, area.right, area.bottom, 0, 0, 0);
    if (window_ != nullptr) CreateMenu();
    return 1;
}

int DSP_Magnify::SetPosition(int x, int y) {
    if (x < 1 || y < 1 || window_ == nullptr) return 0;
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (!::GetWindowPlacement(window_, &place)) return 0;
    RECT& normal = place.rcNormalPosition;
    ::OffsetRect(&normal, x - normal.left, y - normal.top);
    ::SetWindowPlacement(window_, &place);
    return 1;
}

POINT DSP_Magnify::GetPosition() {
    RECT frame{0, 0, 0, 0};
    if (window_ != nullptr) ::GetWindowRect(window_, &frame);
    pos_x_ = frame.left;
    pos_y_ = frame.top;
    return POINT{frame.left, frame.top};
}

int DSP_Magnify::SetSize(int w1, int h1, int w2, int h2, int width, int height) {
    if (w1 > 0) size1_w_ = w1;
    if (h1 > 0) size1_h_ = h1;
    if (w2 > 0) size2_w_ = w2;
    if (h2 > 0) size2_h_ = h2;
    if (width >= 1 && height >= 1 && window_ != nullptr) {
        WINDOWPLACEMENT place{};
        place.length = sizeof place;
        if (::GetWindowPlacement(window_, &place)) {
            RECT& normal = place.rcNormalPosition;
            normal.right = normal.left + width;
            normal.bottom = normal.top + height;
            ::SetWindowPlacement(window_, &place);
        }
    }
    return 1;
}

int DSP_Magnify::GetSize(int& w1, int& h1, int& w2, int& h2, int& width, int& height) {
    w1 = size1_w_;
    h1 = size1_h_;
    w2 = size2_w_;
    h2 = size2_h_;
    RECT frame{0, 0, 0, 0};
    if (window_ != nullptr) ::GetWindowRect(window_, &frame);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
    return 1;
}

int DSP_Magnify::SetCallBack(MagPaintFunc paint, MagNotifyFunc notify, long user_data) {
    paint_ = paint;
    notify_ = notify;
    user_data_ = user_data;
    return 1;
}

int DSP_Magnify::Show() {
    if (window_ != nullptr) ::ShowWindow(window_, SW_SHOW);
    shown_ = 1;
    return 1;
}

int DSP_Magnify::Hide() {
    if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
    shown_ = 0;
    return 1;
}

int DSP_Magnify::Notify(int kind, long value, MagnifyNS* record) {
    if (notify_ == nullptr) return 0;
    MagnifyNS sent;
    if (!zed::magnify::FillNotification(kind, value, record, reinterpret_cast<DWORD_PTR>(record), user_data_, &sent)) {
        return 0;
    }
    notify_(&sent);
    return 1;
}

int DSP_Magnify::Paint(HDC dc, LRECT visible, DWORD divisor) {
    return paint_ != nullptr ? paint_(dc, visible, divisor, user_data_) : 0;
}

void DSP_Magnify::Redraw() {
    if (window_ != nullptr) ::InvalidateRect(window_, nullptr, TRUE);
    if (view_ != nullptr) view_->Invalidate(nullptr, TRUE);
}

int DSP_Magnify::PainPoint(HDC dc, int kind, int size, float x, float y) {
    if (view_ == nullptr || kind < 1 || kind > 4 || size < 2) return 0;
    const int zoom = zoom_ != 0 ? zoom_ : 1;
    if (size >= work_area_.right / zoom - work_area_.left / zoom - 2) return 0;
    view_->SetMarker(kind, size / 2);
    view_->BeginMarkers(dc);
    view_->DrawMarker(dc, Trunc(x), Trunc(y));
    view_->EndMarkers(dc);
    return 1;
}

int DSP_Magnify::MoveIncrement(float dx, float dy) {
    if (view_ == nullptr) return 1;
    LRECT visible = view_->GetVisible();
    const long sx = Trunc(dx), sy = Trunc(dy);
    visible.left += sx;
    visible.right += sx;
    visible.top += sy;
    visible.bottom += sy;
    view_->SetVisible(visible);
    view_->Invalidate(nullptr, TRUE);
    return 1;
}

int DSP_Magnify::Move(float x, float y) {
    if (view_ == nullptr) return 1;
    const LRECT visible = view_->GetVisible();
    const long cx = (visible.left + visible.right) / 2, cy = (visible.top + visible.bottom) / 2;
    return MoveIncrement(static_cast<float>(Trunc(x - cx)), static_cast<float>(Trunc(y - cy)));
}

int DSP_Magnify::Zoom(int factor) {
    if (view_ != nullptr) {
        if (factor > 1) {
            const LRECT shown = zed::magnify::ZoomRectangle(work_area_, factor);
            view_->Command(6, &shown);
            zoom_ = factor;
        } else {
            // The factor stays: the zoom dialog and the steps go on from the last one.
            view_->Command(1, nullptr);
        }
    } else if (factor > 1) {
        zoom_ = factor;
    }
    if (window_ != nullptr) CreateMenu();
    return 1;
}

int DSP_Magnify::ZoomIncrement() {
    if (!zed::magnify::MayZoomUp(zoom_, work_area_)) return 0;
    return Zoom(zoom_ + 1);
}

int DSP_Magnify::ZoomDecrement() {
    if (!zed::magnify::MayZoomDown(zoom_)) return 0;
    return Zoom(zoom_ - 1);
}

int DSP_Magnify::ZoomOneSync(HWND other) {
    RECT theirs{0, 0, 0, 0}, ours{0, 0, 0, 0};
    if (other != nullptr) ::GetClientRect(other, &theirs);
    if (view_window_ != nullptr) ::GetClientRect(view_window_, &ours);
    return Zoom(zed::magnify::SyncFactor(theirs.right - theirs.left, theirs.bottom - theirs.top,
                                         ours.right - ours.left, ours.bottom - ours.top));
}

int DSP_Magnify::GetMaxZoom() const { return zed::magnify::MaxZoom(work_area_); }
