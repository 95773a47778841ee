// WIN_Rebar: a rebar ("ReBarWindow32") docked to one edge of a frame, holding toolbars as bands.
#ifndef ZEDLL_WIN32_REBAR_H
#define ZEDLL_WIN32_REBAR_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/win32/window_base.h"

/// The host forwards its frame's WM_SIZE to WMSize (which docks the rebar) and WM_NOTIFY to
/// CmdNotify (which fits a band to its child's buttons). The rebar window belongs to its parent;
/// the object owns nothing and may be copied (copies share the window). One thread: the UI
/// thread that created the rebar.
///
/// Layout: WIN_Father | alignment: i32 | new-line flag: u8
class ZEDLL_API WIN_Rebar : public WIN_Father {
public:
    /// 0 top, 1 left, 2 bottom, 3 right; bit 0 set means a vertical rebar.
    enum Align { Top = 0, Left = 1, Bottom = 2, Right = 3 };

    /// Initialises the rebar classes of the common controls; alignment top.
    WIN_Rebar();
    WIN_Rebar(const WIN_Rebar& other);
    WIN_Rebar& operator=(const WIN_Rebar& other);
    ~WIN_Rebar();

    /// Creates the rebar in `parent` (vertical for the left and right alignments) → 1, or 0.
    int Create(HWND parent);
    /// Returns the previous alignment; the new one applies at the next Create and WMSize.
    Align SetAlignment(Align alignment);
    /// The next band added starts a new row (only that one).
    void NewLine();
    /// Adds a band for a toolbar `child` at the end, with text and background bitmap when given
    /// (both stay the caller's). The four integers are not used. Always 1.
    int AddToolbar(HWND child, const char* text, HBITMAP bitmap, int unused1, int unused2,
                   int unused3, int unused4);
    /// The same for a WIN_TMenu toolbar: no minimum width, variable height.
    int AddMenu(HWND child, const char* text, HBITMAP bitmap, int unused1, int unused2,
                int unused3, int unused4);
    /// Sets the band's minimum child width and height, its width and its child height. Always 1.
    int UpdateBandSize(int band, int min_width, int min_height, int width, int child_height);
    /// Docks the rebar in `frame`'s client area according to the alignment.
    void WMSize(HWND frame, UINT wparam, LONG lparam) override;
    /// RBN_CHILDSIZE from this rebar: sizes the band's child and gives the band the height of
    /// all its buttons stacked → 1. Anything else → 0.
    int CmdNotify(LPNMHDR notify);

private:
    int AddBand(bool menu, HWND child, const char* text, HBITMAP bitmap);

    Align alignment_;
    BYTE new_line_;
};

#endif
