// The view window: its procedure (size, paint mapping, keys, scroll bars, mouse reports), the
// repaint and the markers.
#include <windows.h>

#include "magnify/marker_figure.h"
#include "magnify/paint_mapping.h"
#include "magnify/view_keys.h"
#include "magnify/win32/classes.h"
#include "magnify/win32/view_window.h"
#include "zedll/win32/magnify_view.h"

namespace zed::magnify {
namespace {

constexpr int kBar[2] = {SB_HORZ, SB_VERT};

MagKUKUC* ViewOf(HWND window) { return reinterpret_cast<MagKUKUC*>(::GetWindowLongPtrA(window, GWLP_USERDATA)); }

void FitToClient(MagKUKUC& view, HWND window, int centre) {
    RECT client;
    ::GetClientRect(window, &client);
    view.SetClientRect(client.left, client.top, client.right, client.bottom, centre);
}

// The bars cover the scroll extent with a page of the visible size; a bar's position is the
// view's scroll position.
void SyncScrollBars(const MagKUKUC& view) {
    if (view.GetWindow() == nullptr) return;
    const LRECT extent = view.GetExtent(), visible = view.GetVisible();
    const UINT keep = (view.GetStyle() & 1) != 0 ? SIF_DISABLENOSCROLL : 0;
    SCROLLINFO across{sizeof across, SIF_RANGE | SIF_PAGE | SIF_POS | keep, static_cast<int>(extent.left),
                      static_cast<int>(extent.right - 1), static_cast<UINT>(visible.right - visible.left),
                      static_cast<int>(view.ScrollPosition(0)), 0};
    SCROLLINFO down{sizeof down, SIF_RANGE | SIF_PAGE | SIF_POS | keep, static_cast<int>(extent.bottom),
                    static_cast<int>(extent.top - 1), static_cast<UINT>(visible.top - visible.bottom),
                    static_cast<int>(view.ScrollPosition(1)), 0};
    ::SetScrollInfo(view.GetWindow(), SB_HORZ, &across, TRUE);
    ::SetScrollInfo(view.GetWindow(), SB_VERT, &down, TRUE);
}

void OnScroll(MagKUKUC& view, HWND window, int bar, int code) {
    int track = 0;
    if (code == SB_THUMBTRACK) {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(window, kBar[bar], &info);
        track = info.nTrackPos;
    }
    if (view.Scroll(bar, code, track) == 0) return;   // unchanged: no repaint
    SyncScrollBars(view);
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
}

void OnPaint(MagKUKUC& view, HWND window) {
    SyncScrollBars(view);   // the view may have changed without a repaint of its own
    HDC before = ::GetDC(window);
    view.OnBeforePaint(before, nullptr);
    ::ReleaseDC(window, before);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (view.GetPaint() != nullptr) {
        const int saved = ::SaveDC(dc);
        const DWORD divisor = 1;   // device coordinates are 32-bit on every system we run on
        const PaintMapping m = PaintMappingOf(view, divisor);
        ::SetMapMode(dc, MM_ISOTROPIC);
        ::SetWindowExtEx(dc, m.window_ext_x, m.window_ext_y, nullptr);
        ::SetWindowOrgEx(dc, m.window_org_x, m.window_org_y, nullptr);
        ::SetViewportExtEx(dc, m.viewport_ext_x, m.viewport_ext_y, nullptr);
        ::SetViewportOrgEx(dc, m.viewport_org_x, m.viewport_org_y, nullptr);
        view.GetPaint()(dc, paint.rcPaint, divisor, view.GetOwner());
        ::RestoreDC(dc, saved);
    }
    ::EndPaint(window, &paint);
    HDC after = ::GetDC(window);
    view.OnAfterPaint(after, &paint.rcPaint);
    ::ReleaseDC(window, after);
}

void OnMouseMessage(MagKUKUC& view, HWND window, UINT message, WPARAM keys) {
    POINT at;
    ::GetCursorPos(&at);
    ::ScreenToClient(window, &at);
    if (message == WM_MOUSEMOVE) {
        HCURSOR cursor = view.GetCursorAt(at.x, at.y);
        ::SetCursor(cursor != nullptr ? cursor : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
    }
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) ::SetFocus(window);
    MagnifyNS record{};
    record.code = message;
    long x = 0, y = 0;
    view.DevToLog(at.x, at.y, &x, &y);
    record.pointX = static_cast<LONG>(x);
    record.pointY = static_cast<LONG>(y);
    record.clientX = at.x;
    record.clientY = at.y;
    record.keyState = static_cast<DWORD>(keys);
    record.userData = view.GetOwner();
    int go_on = 1;
    view.OnMouse(&record, message, at.x, at.y, static_cast<UINT>(keys), &go_on);
}

}  // namespace

LRESULT CALLBACK ViewWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        auto* view = static_cast<MagKUKUC*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        if (view != nullptr) ViewWindow::Attach(*view, window);
        return 0;
    }
    MagKUKUC* view = ViewOf(window);
    if (view == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
        case WM_SIZE:
            FitToClient(*view, window, 0);   // the top-left stays, the extent follows the size
            SyncScrollBars(*view);
            return 0;
        case WM_PAINT:
            OnPaint(*view, window);
            return 0;
        case WM_CANCELMODE:
            view->OnCancelMode();
            return 0;
        case WM_KEYDOWN:
            if (view->OnKeyDown(static_cast<UINT>(wparam), LOWORD(lparam), HIWORD(lparam)) == 0 &&
                (view->GetStyle() & 2) != 0) {
                ::SendMessageA(::GetParent(window), message, wparam, lparam);
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(*view, window, message == WM_HSCROLL ? 0 : 1, LOWORD(wparam));
            return 0;
        default:
            if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
                OnMouseMessage(*view, window, message, wparam);
                return 0;
            }
            break;
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace zed::magnify

void zed::magnify::ViewWindow::Attach(MagKUKUC& view, HWND window) {
    view.window_ = window;
    if (window == nullptr) return;
    // Under style 1 the bars are there from the start, so the client size does not change under
    // the visible rectangle when they first get a range.
    if ((view.style_ & 1) != 0) ::ShowScrollBar(window, SB_BOTH, TRUE);
    SyncScrollBars(view);
    FitToClient(view, window, 0);
}

int MagKUKUC::OnKeyDown(UINT key, int, UINT) {
    int bar = 0, code = 0;
    if (!zed::magnify::KeyScroll(key, &bar, &code)) return 0;
    if (window_ != nullptr) {
        ::SendMessageA(window_, bar == 0 ? WM_HSCROLL : WM_VSCROLL, static_cast<WPARAM>(code), 0);
    } else {
        Scroll(bar, code, 0);
    }
    return 1;
}

void MagKUKUC::Invalidate(const LRECT* area, int erase) {
    if (window_ == nullptr) return;
    if (area == nullptr) {
        zed::magnify::SyncScrollBars(*this);
        ::InvalidateRect(window_, nullptr, erase);
        return;
    }
    const RECT pixels{LogToDevX(area->left) - 2, LogToDevY(area->top) - 2, LogToDevX(area->right) + 2,
                      LogToDevY(area->bottom) + 2};
    ::InvalidateRect(window_, &pixels, erase);
}

void MagKUKUC::BeginMarkers(HDC dc) {
    saved_dc_ = ::SaveDC(dc);
    const int cw = client_.right - client_.left, ch = client_.top - client_.bottom;
    ::SetWindowExtEx(dc, cw, ch, nullptr);
    ::SetViewportExtEx(dc, cw, ch, nullptr);
    ::SetWindowOrgEx(dc, 0, -ch, nullptr);
    ::SetViewportOrgEx(dc, 0, -ch, nullptr);
}

void MagKUKUC::DrawMarker(HDC dc, long x, long y) {
    using zed::magnify::MarkerFigure;
    const MarkerFigure f = zed::magnify::MarkerAt(marker_kind_, LogToDevX(x), LogToDevY(y), marker_half_);
    if (f.shape == MarkerFigure::kSquare || f.shape == MarkerFigure::kCircle) {
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(HOLLOW_BRUSH));
        if (f.shape == MarkerFigure::kSquare) {
            ::Rectangle(dc, f.left, f.top, f.right, f.bottom);
        } else {
            ::Ellipse(dc, f.left, f.top, f.right, f.bottom);
        }
        ::SelectObject(dc, old);
    } else if (f.shape == MarkerFigure::kLines) {
        for (const auto& line : f.lines) {
            ::MoveToEx(dc, line.x0, line.y0, nullptr);
            ::LineTo(dc, line.x1, line.y1);
        }
    }
}

void MagKUKUC::EndMarkers(HDC dc) {
    if (saved_dc_ != 0) ::RestoreDC(dc, saved_dc_);
    saved_dc_ = 0;
}
