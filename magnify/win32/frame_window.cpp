// The magnifier's frame window: creation, its procedure, the system menu and its commands.
#include <windows.h>

#include <cstring>

#include "magnify/menu_plan.h"
#include "magnify/win32/classes.h"
#include "magnify/win32/frame_window.h"
#include "magnify/win32/view_window.h"
#include "platform/language.h"
#include "zedll/win32/magnify.h"

namespace {

constexpr DWORD kChildStyle = 0x46CC0000;   // child, clip children and siblings, caption, system menu, thick frame
constexpr DWORD kPopupStyle = 0x86CC0000;   // the same as a popup
constexpr int kStoredWidth = 240, kStoredHeight = 200;
constexpr int kSystemMenuItemsRemoved = 21;
constexpr UINT kViewId = 1;

char* CopyOf(const char* text) {
    if (text == nullptr) return nullptr;
    char* copy = new char[std::strlen(text) + 1];
    std::strcpy(copy, text);
    return copy;
}

void AppendPlan(HMENU menu, const std::vector<zed::magnify::MenuItem>& items) {
    using zed::magnify::MenuItem;
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::kSeparator: ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); break;
            case MenuItem::kCommand:
                ::AppendMenuA(menu, MF_STRING | (item.grey ? MF_GRAYED | MF_DISABLED : 0), item.id, item.text.c_str());
                break;
            case MenuItem::kZoomMenu: {
                HMENU factors = ::CreatePopupMenu();
                AppendPlan(factors, item.items);
                ::AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(factors), item.text.c_str());
                break;
            }
        }
    }
}

}  // namespace

int zed::magnify::FrameWindow::Create(DSP_Magnify& self, const char* title, HWND parent, bool child) {
    if (self.window_ != nullptr) {
        ::DestroyWindow(self.window_);
        self.window_ = nullptr;
    }
    HINSTANCE instance = child ? zed::LangGetLibraryInstance() : self.instance_;
    HWND created = ::CreateWindowExA(0, zed::magnify::kFrameClass, title, child ? kChildStyle : kPopupStyle, 10, 10,
                                     kStoredWidth, kStoredHeight, parent, nullptr, instance, &self);
    // The classes belong to the library: a host's own instance does not find them, so a popup
    // made with it falls back to the library's. (Windows reports 1407 for an unknown class, Wine
    // 1411.)
    const DWORD error = created == nullptr ? ::GetLastError() : 0;
    if (!child && (error == ERROR_CANNOT_FIND_WND_CLASS || error == ERROR_CLASS_DOES_NOT_EXIST)) {
        created = ::CreateWindowExA(0, zed::magnify::kFrameClass, title, kPopupStyle, 10, 10, kStoredWidth,
                                    kStoredHeight, parent, nullptr, zed::LangGetLibraryInstance(), &self);
    }
    self.parent_ = parent;
    delete[] self.title_;
    self.title_ = CopyOf(title);
    if (created == nullptr) return 0;
    self.window_ = created;
    self.size1_w_ = self.size2_w_ = kStoredWidth;
    self.size1_h_ = self.size2_h_ = kStoredHeight;
    return 1;
}

int DSP_Magnify::CreateChild(const char* title, HWND parent) { return zed::magnify::FrameWindow::Create(*this, title, parent, true); }
int DSP_Magnify::CreatePopup(const char* title, HWND parent) { return zed::magnify::FrameWindow::Create(*this, title, parent, false); }

void DSP_Magnify::CreateMenu() {
    HMENU menu = ::GetSystemMenu(window_, FALSE);
    if (menu == nullptr) return;
    for (int i = 0; i < kSystemMenuItemsRemoved; ++i) ::DeleteMenu(menu, 0, MF_BYPOSITION);
    AppendPlan(menu, zed::magnify::SystemMenuPlan(GetMaxZoom()));
}

LRESULT zed::magnify::FrameWindow::OnCreate(DSP_Magnify& self, HWND window) {
    self.window_ = window;
    delete self.view_;
    self.view_ = new MagKUKUC(DSP_Magnify::__ZERKukucPaintCallback, ViewNotify, reinterpret_cast<LONG_PTR>(&self));
    self.view_->SetStyle(1);
    self.view_->SetWorld(0, 400000, 400000, 0, 0, 0, 0);
    self.view_window_ = ::CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE, zed::magnify::kViewClass, nullptr,
                                     WS_CHILD | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     CW_USEDEFAULT, window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kViewId)),
                                     zed::LangGetLibraryInstance(), self.view_);
    self.CreateMenu();
    return 0;
}

void zed::magnify::FrameWindow::OnSystemCommand(DSP_Magnify& self, UINT command) {
    using namespace zed::magnify;
    int factor = 0;
    if (command == kCommandHide) {
        self.Hide();
        self.Notify(1, 0, nullptr);
        return;
    }
    if (command > kCommandZoomBase && command < kCommandZoomInput) {
        factor = static_cast<int>(command - kCommandZoomBase);
    } else if (command == kCommandZoomInput) {
        factor = static_cast<int>(zed::LangDialogBox("MagnifyZoomFact", self.window_, DSP_Magnify::_ZERMagnifyZoomProc,
                                                     reinterpret_cast<LPARAM>(&self)));
        if (factor <= 0) return;   // cancelled
    } else if (command == kCommandMeasure) {
        self.InitMeasure();
        self.Notify(8, 1, nullptr);
        return;
    } else if (command == kCommandResetZoom) {
        HWND other = nullptr;
        self.Notify(2, 0, reinterpret_cast<MagnifyNS*>(&other));
        if (other != nullptr) self.ZoomOneSync(other);
        self.Redraw();
        return;
    } else {
        return;
    }
    self.Zoom(factor);
    self.Notify(2, factor, nullptr);
    self.Redraw();
}

LRESULT CALLBACK DSP_Magnify::_ZERMAGNIFYProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        auto* self = static_cast<DSP_Magnify*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self != nullptr ? zed::magnify::FrameWindow::OnCreate(*self, window) : 0;
    }
    auto* self = reinterpret_cast<DSP_Magnify*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
    switch (message) {
        case WM_SIZE:
            if (wparam != SIZE_MINIMIZED) {
                RECT client;
                ::GetClientRect(window, &client);
                ::MoveWindow(self->view_window_, 0, 0, client.right, client.bottom, TRUE);
                self->CreateMenu();
            }
            return 0;
        case WM_NCMOUSEMOVE:
            self->EndMeasure();
            break;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) return 0;   // the user cannot close the magnifier
            zed::magnify::FrameWindow::OnSystemCommand(*self, static_cast<UINT>(wparam));
            break;
        case WM_DESTROY:
            // The view's window goes with the frame; the view object stays with the magnifier.
            self->window_ = nullptr;
            self->view_window_ = nullptr;
            if (self->view_ != nullptr) zed::magnify::ViewWindow::Attach(*self->view_, nullptr);
            ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        default: break;
    }
    return ::DefWindowProcA(window, message, wparam, lparam);
}

int DSP_Magnify::__ZERKukucPaintCallback(HDC dc, tagRECT, DWORD divisor, LONG_PTR owner) {
    auto* self = reinterpret_cast<DSP_Magnify*>(owner);
    if (self != nullptr && self->view_ != nullptr) self->Paint(dc, self->view_->GetVisible(), divisor);
    return 1;
}

int zed::magnify::FrameWindow::ViewNotify(MagnifyNS* record) {
    auto* self = reinterpret_cast<DSP_Magnify*>(record->userData);
    if (self == nullptr) return 0;
    switch (record->code) {
        case WM_MOUSEMOVE: self->TrackMeasure(record->clientX, record->clientY); break;
        case WM_LBUTTONDOWN:
            if (self->measure_state_ != 0) self->StartMeasure(record->clientX, record->clientY);
            break;
        case WM_LBUTTONUP:
            if (self->measure_state_ != 0) self->EndMeasure();
            break;
        default: break;
    }
    self->Notify(4, 0, record);
    return 1;
}
