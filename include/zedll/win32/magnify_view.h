// The magnifier's peephole view: MagKUK maps work-area units (y up) to the pixels of a client
// rectangle, MagKUKUC adds the world, its margins, scrolling, zoom commands and mouse reports.
#ifndef ZEDLL_WIN32_MAGNIFY_VIEW_H
#define ZEDLL_WIN32_MAGNIFY_VIEW_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

// Both records are written field after field without padding in the 32-bit DLL (36 and 16 bytes);
// on 64-bit builds the address and the user data are pointer-sized and naturally aligned.

/// A rectangle in work-area units, y axis up: width = right - left, height = top - bottom.
struct LRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

/// The record of the notify callback. Kinds (code): 1 hidden, 2 zoomed (value: the factor; extra:
/// for a reset, the address of a window handle the host may fill), 8 measuring (value 1 armed,
/// 0 ended); for a mouse message of the view (kind 4) code is the message, point the cursor in
/// work-area units, client its pixel, key state the message's first parameter.
struct MagnifyNS {
    LONG value;
    DWORD code;
    LONG pointX, pointY;
    LONG clientX, clientY;
    DWORD_PTR extra;   // an address: 32 bits in the 32-bit DLL
    DWORD keyState;
    LONG_PTR userData;   // the view's owner (the magnifier) on its way up
};

namespace zed::magnify {
class ViewWindow;
class FrameWindow;
}  // namespace zed::magnify

typedef int (*MagKukucPaintFunc)(HDC dc, tagRECT paint, DWORD divisor, LONG_PTR owner);
typedef int (*MagNotifyFunc)(MagnifyNS* record);
typedef int (*MagPaintFunc)(HDC dc, LRECT visible, DWORD divisor, long user_data);

/// The mapping between work-area units and the pixels of a client rectangle.
///
/// Layout: vptr | window: HWND | visible: LRECT | scale: double | client: 4 x i32 |
///   marker kind: i32 | marker half size: i32 | saved DC: i32
class ZEDLL_API MagKUK {
public:
    MagKUK();
    virtual ~MagKUK();

    /// Stores the client rectangle (pixels) and fits the visible rectangle to it at the scale,
    /// computed first when it is 0: keeping its centre (`centre`) or its top-left.
    virtual void SetClientRect(int left, int top, int right, int bottom, int centre);

    LRECT GetVisible() const { return visible_; }
    void SetVisible(const LRECT& visible);
    double GetScale() const { return scale_; }
    RECT GetClientRect() const { return client_; }
    HWND GetWindow() const { return window_; }

    long DevToLogX(int px) const;
    long DevToLogY(int py) const;
    void DevToLog(int px, int py, long* x, long* y) const;
    int LogToDevX(long x) const;
    int LogToDevY(long y) const;

protected:
    HWND window_;
    LRECT visible_;
    double scale_;   // work-area units per pixel; 0: computed from the visible rectangle
    RECT client_;
    int marker_kind_;
    int marker_half_;
    int saved_dc_;
};

/// The view window's object: world and margins, keys and scroll bars, zoom commands, markers and
/// mouse reports. Style bit 1 keeps both scroll bars, disabled when not needed; bit 2 passes
/// unhandled keys on to the parent.
///
/// Layout: MagKUK | paint: fn | notify: fn | owner: i32 | style: u32 | world: LRECT |
///   extent: LRECT | margin x, y: i32
/// Virtual slots in order: SetClientRect, OnMouse, GetCursorAt, OnBeforePaint, OnAfterPaint,
///   OnKeyDown, OnCancelMode, OnViewChanged, the destructor.
class ZEDLL_API MagKUKUC : public MagKUK {
public:
    MagKUKUC(MagKukucPaintFunc paint, MagNotifyFunc notify, LONG_PTR owner);

    void SetClientRect(int left, int top, int right, int bottom, int centre) override;
    virtual int OnMouse(MagnifyNS* record, UINT message, int x, int y, UINT keys, int* go_on);
    virtual HCURSOR GetCursorAt(int x, int y);
    virtual void OnBeforePaint(HDC dc, const RECT* area);
    virtual void OnAfterPaint(HDC dc, const RECT* area);
    virtual int OnKeyDown(UINT key, int repeat, UINT data);
    virtual int OnCancelMode();
    virtual void OnViewChanged();
    ~MagKUKUC() override;

    /// World and margins; the visible rectangle becomes the world widened by the margins.
    void SetWorld(long left, long top, long right, long bottom, long margin_x, long margin_y, int redraw);
    LRECT GetWorld() const { return world_; }
    LRECT GetExtent() const { return extent_; }
    /// 1 fits the world, 6 shows `*area` (refused below 51 x 31 or above 5 x the world). 1 when
    /// the view changed.
    int Command(int code, const LRECT* area);
    /// A scroll message: bar 0 horizontal, 1 vertical; `code` SB_*; `track` the thumb's tracking
    /// position. 1 when the visible rectangle moved.
    int Scroll(int bar, int code, int track);
    /// The scroll position of a bar: horizontal the visible left, vertical 0 at the extent's top.
    long ScrollPosition(int bar) const;
    void SetMarker(int kind, int half_size);
    MagNotifyFunc GetNotify() const { return notify_; }

    // On Windows: the view window's part.
    /// Repaints the whole window (null) or `area` (work-area units) widened by 2 pixels.
    void Invalidate(const LRECT* area, int erase);
    /// Markers in plain client pixels between Begin and End: 1 hollow square, 2 hollow circle,
    /// 3 plus, 4 diagonal cross, centred on a work-area point.
    void BeginMarkers(HDC dc);
    void DrawMarker(HDC dc, long x, long y);
    void EndMarkers(HDC dc);

    UINT GetStyle() const { return style_; }
    void SetStyle(UINT style) { style_ = style; }
    MagKukucPaintFunc GetPaint() const { return paint_; }
    LONG_PTR GetOwner() const { return owner_; }

private:
    friend class zed::magnify::ViewWindow;   // the window procedure attaches the window

    MagKukucPaintFunc paint_;
    MagNotifyFunc notify_;
    LONG_PTR owner_;
    UINT style_;
    LRECT world_;
    LRECT extent_;
    long margin_x_;
    long margin_y_;
};

#endif
