// The magnifier: a small frame window showing an enlarged part of the host's drawing through a
// paint callback, zoomed from its system menu, panned, and measured with a rubber-band arrow.
#ifndef ZEDLL_WIN32_MAGNIFY_H
#define ZEDLL_WIN32_MAGNIFY_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/win32/magnify_view.h"

/// The frame window of class "ZER_DSP_Magnify" with its view of class "MagnifyKukuc".
///
/// Notifications to the host (`MagnifyNS::code`): 1 hidden from the menu; 2 zoomed (value the
/// factor; on "Reset zoom" value 0 and `extra` the address of an HWND the host may fill with a
/// window whose view the magnifier then matches); 4 a mouse message of the view; 8 measuring
/// (value 1 armed, 0 ended).
///
/// A magnifier owns its window, its view and its caption, so it cannot be copied.
class ZEDLL_API DSP_Magnify {
public:
    DSP_Magnify();
    DSP_Magnify(HINSTANCE instance, MagPaintFunc paint, MagNotifyFunc notify, long user_data, float unit_scale,
                HWND parent);
    /// The same, then the frame: a child window of `parent` when `child` is not 0, else a popup.
    DSP_Magnify(HINSTANCE instance, MagPaintFunc paint, MagNotifyFunc notify, long user_data, float unit_scale,
                HWND parent, const char* title, int child);
    ~DSP_Magnify();
    DSP_Magnify(const DSP_Magnify&) = delete;
    DSP_Magnify& operator=(const DSP_Magnify&) = delete;

    /// Creates the frame (hidden, 240 x 200 at 10, 10), destroying an earlier one; 1, or 0.
    int CreateChild(const char* title, HWND parent);
    int CreatePopup(const char* title, HWND parent);

    HINSTANCE SetInstance(HINSTANCE instance);
    HINSTANCE GetInstance() const { return instance_; }
    HWND GetHandle() const { return window_; }
    HWND GetParent() const { return parent_; }

    /// The host's whole drawing; 0 before the frame (and its view) exists.
    int SetWorkArea(float left, float top, float right, float bottom);
    int SetWorkArea(LRECT area);
    /// Moves the frame's top-left to x, y (both at least 1), keeping its size.
    int SetPosition(int x, int y);
    POINT GetPosition();
    /// Stored sizes replaced where > 0; the frame resized when width and height are >= 1.
    int SetSize(int w1, int h1, int w2, int h2, int width, int height);
    int GetSize(int& w1, int& h1, int& w2, int& h2, int& width, int& height);
    int SetCallBack(MagPaintFunc paint, MagNotifyFunc notify, long user_data);

    int Show();
    int Hide();
    int IsShow() const { return shown_; }

    /// Sends a record of `kind` to the notify callback: 0 without callback (or kind 4 without
    /// record), else 1.
    int Notify(int kind, long value, MagnifyNS* record);
    /// The paint callback's result, 0 without one.
    int Paint(HDC dc, LRECT visible, DWORD divisor);
    void Redraw();
    /// One marker (kind 1 to 4, size at least 2 and narrower than the zoomed work area) at a
    /// work-area point; 1, or 0 when refused.
    int PainPoint(HDC dc, int kind, int size, float x, float y);

    int MoveIncrement(float dx, float dy);
    int Move(float x, float y);

    int Zoom(int factor);
    int ZoomIncrement();
    int ZoomDecrement();
    /// Zooms so that the view matches another window's client size.
    int ZoomOneSync(HWND other);
    int GetZoom() const { return zoom_; }
    int GetMaxZoom() const;

    /// Arms measuring for the host, with the mouse cursor in the middle of the view.
    int Measuration();

    static LRESULT CALLBACK _ZERMAGNIFYProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    MagKUKUC* GetView() const { return view_; }
    int GetMeasureState() const { return measure_state_; }

private:
    friend class zed::magnify::FrameWindow;   // creation, the frame's messages, the view's reports

    void CreateMenu();
    void DrawArrow();
    void DrawThread();
    void InitMeasure();
    void StartMeasure(int x, int y);
    void TrackMeasure(int x, int y);
    void EndMeasure();
    static INT_PTR CALLBACK _ZERMagnifyZoomProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
    static int __ZERKukucPaintCallback(HDC dc, tagRECT paint, DWORD divisor, LONG_PTR owner);

    HWND window_;
    HWND parent_;
    HWND view_window_;
    HINSTANCE instance_;
    MagKUKUC* view_;
    MagPaintFunc paint_;
    MagNotifyFunc notify_;
    long user_data_;
    LRECT work_area_;
    int zoom_;
    float unit_scale_;   // millimetres per work-area unit
    int measure_state_;   // 0 idle, 1 armed, 2 tracking
    int start_x_, start_y_, end_x_, end_y_;   // view pixels
    int size1_w_, size1_h_, size2_w_, size2_h_;
    int pos_x_, pos_y_;
    char* title_;
    BYTE shown_;
};

#endif
