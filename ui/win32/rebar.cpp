// WIN_Rebar on Windows: the rebar window, its bands, docking and fitting bands to their child.
#include <windows.h>
#include <commctrl.h>

#include "ui/rebar_layout.h"
#include "zedll/win32/rebar.h"

static_assert(zed::kBandMaskStyle == RBBIM_STYLE && zed::kBandMaskText == RBBIM_TEXT &&
                  zed::kBandMaskChild == RBBIM_CHILD && zed::kBandMaskChildSize == RBBIM_CHILDSIZE &&
                  zed::kBandMaskSize == RBBIM_SIZE && zed::kBandMaskBackground == RBBIM_BACKGROUND,
              "band masks");
static_assert(zed::kBandBreak == RBBS_BREAK && zed::kBandChildEdge == RBBS_CHILDEDGE &&
                  zed::kBandFixedBitmap == RBBS_FIXEDBMP &&
                  zed::kBandVariableHeight == RBBS_VARIABLEHEIGHT &&
                  zed::kBandGripperAlways == RBBS_GRIPPERALWAYS,
              "band styles");
static_assert(zed::kRebarVertical == CCS_VERT, "vertical rebar");
#if !defined(_WIN64)
static_assert(sizeof(REBARBANDINFOA) == 100, "the band record of 32-bit hosts has 100 bytes");
#endif

namespace {

int ButtonHeight(HWND toolbar) {
    return HIWORD(static_cast<DWORD>(::SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)));
}

// Sizing a band inside RBN_CHILDSIZE makes the rebar ask again; one answer is enough.
thread_local bool t_in_child_size = false;

}  // namespace

WIN_Rebar::WIN_Rebar() : alignment_(Top), new_line_(0) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&classes);
}

WIN_Rebar::WIN_Rebar(const WIN_Rebar& other)
    : WIN_Father(other), alignment_(other.alignment_), new_line_(other.new_line_) {}

WIN_Rebar& WIN_Rebar::operator=(const WIN_Rebar& other) {
    WIN_Father::operator=(other);
    alignment_ = other.alignment_;
    new_line_ = other.new_line_;
    return *this;
}

WIN_Rebar::~WIN_Rebar() = default;

int WIN_Rebar::Create(HWND parent) {
    HWND rebar = ::CreateWindowExA(zed::kRebarExStyle, REBARCLASSNAMEA, nullptr,
                                   zed::RebarStyle(alignment_), 0, 0, 0, 0, parent, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (rebar == nullptr) return 0;
    REBARINFO info{};
    info.cbSize = sizeof info;
    if (!::SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        ::DestroyWindow(rebar);
        return 0;
    }
    window_ = rebar;
    parent_ = parent;
    return 1;
}

WIN_Rebar::Align WIN_Rebar::SetAlignment(Align alignment) {
    const Align previous = alignment_;
    alignment_ = alignment;
    return previous;
}

void WIN_Rebar::NewLine() { new_line_ = 1; }

int WIN_Rebar::AddBand(bool menu, HWND child, const char* text, HBITMAP bitmap) {
    bool new_line = new_line_ != 0;
    const zed::BandPlan plan =
        zed::PlanBand(menu ? zed::BandKind::Menu : zed::BandKind::Toolbar, text != nullptr,
                      bitmap != nullptr, new_line, ButtonHeight(child));
    new_line_ = new_line ? 1 : 0;
    REBARBANDINFOA band{};
    band.cbSize = sizeof band;
    band.fMask = plan.mask;
    band.fStyle = plan.style;
    band.lpText = const_cast<char*>(text);
    band.hwndChild = child;
    band.hbmBack = bitmap;
    band.cxMinChild = plan.min_child_width;
    band.cyMinChild = plan.min_child_height;
    band.cx = plan.width;
    ::SendMessageA(window_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    return 1;
}

int WIN_Rebar::AddToolbar(HWND child, const char* text, HBITMAP bitmap, int, int, int, int) {
    return AddBand(false, child, text, bitmap);
}

int WIN_Rebar::AddMenu(HWND child, const char* text, HBITMAP bitmap, int, int, int, int) {
    return AddBand(true, child, text, bitmap);
}

int WIN_Rebar::UpdateBandSize(int band, int min_width, int min_height, int width,
                              int child_height) {
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILDSIZE | RBBIM_SIZE;
    ::SendMessageA(window_, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
    info.cxMinChild = min_width;
    info.cyMinChild = min_height;
    info.cx = width;
    info.cyChild = child_height;
    ::SendMessageA(window_, RB_SETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
    return 1;
}

void WIN_Rebar::WMSize(HWND frame, UINT, LONG) {
    if (window_ == nullptr) return;
    RECT client{}, own{};
    ::GetClientRect(frame, &client);
    ::GetWindowRect(window_, &own);
    const zed::DockPlacement p =
        zed::DockRebar(alignment_, client.right - client.left, client.bottom - client.top,
                       own.right - own.left, own.bottom - own.top);
    ::MoveWindow(window_, p.x, p.y, p.width, p.height, TRUE);
}

int WIN_Rebar::CmdNotify(LPNMHDR notify) {
    if (notify == nullptr || window_ == nullptr || notify->hwndFrom != window_ ||
        notify->code != static_cast<UINT>(RBN_CHILDSIZE))
        return 0;
    if (t_in_child_size) return 1;
    t_in_child_size = true;
    const auto* record = reinterpret_cast<const NMREBARCHILDSIZE*>(notify);
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
    ::SendMessageA(window_, RB_GETBANDINFOA, record->uBand, reinterpret_cast<LPARAM>(&info));
    const RECT& child = record->rcChild;
    if (info.hwndChild != nullptr) {
        ::SendMessageA(info.hwndChild, WM_SIZE, SIZE_RESTORED,
                       MAKELPARAM(child.right - child.left, child.bottom - child.top));
        const int count = static_cast<int>(::SendMessageA(info.hwndChild, TB_BUTTONCOUNT, 0, 0));
        const int h = zed::StackedButtonsHeight(count, ButtonHeight(info.hwndChild));
        UpdateBandSize(static_cast<int>(record->uBand), 0, h, child.right, h);
    }
    t_in_child_size = false;
    return 1;
}
