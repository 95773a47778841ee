// WIN_DlgTemplate: a dialog box built in memory, control by control, for the Windows dialog
// functions; and the conversions between pixels and dialog units of the dialog's font.
#ifndef ZEDLL_WIN32_DLG_TEMPLATE_H
#define ZEDLL_WIN32_DLG_TEMPLATE_H

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/win32/window_base.h"

/// Builds a DLGTEMPLATE with its items. Every string is written in UTF-16 from the process's
/// ANSI code page; every header and item starts on a 4-byte boundary in the assembled template:
///
///   header: style u32 | exstyle u32 | cdit u16 | x, y, cx, cy i16 | menu u16 = 0 | class u16 = 0
///           | caption (UTF-16, zero) | [DS_SETFONT: point size u16 | face name (UTF-16, zero)]
///   item:   style u32 | exstyle u32 | x, y, cx, cy, id u16 | class name (UTF-16, zero)
///           | text (UTF-16, zero) or 0xFFFF + resource ordinal | creation data length u16 = 0
///
/// Positions and sizes are dialog units. Controls may be added before or after the header; the
/// header's item count stays right. A header or item whose strings would not fit in 1000 bytes
/// is refused (-1); a face name is cut to 99 characters. Copies are deep: each builder owns its
/// blocks, and a copy hands out templates of its own. One thread.
///
/// Layout after WIN_Father: items: i32 | base x: i32 | base y: i32 | capacity: i32 |
///   cdit: WORD* | blocks: void** | lengths: int* | template: DLGTEMPLATE* | face: char[100] |
///   point size: i32
class ZEDLL_API WIN_DlgTemplate : public WIN_Father {
public:
    /// Empty builder; base units from the system's dialog base units.
    WIN_DlgTemplate();
    WIN_DlgTemplate(const WIN_DlgTemplate& other);
    WIN_DlgTemplate& operator=(const WIN_DlgTemplate& other);
    ~WIN_DlgTemplate();

    /// Replaces the header; a null caption is "Dynamic Dialog"; with DS_SETFONT the point size and
    /// face name follow ("Times New Roman" while none is set). 0, or -1 on failure (the builder
    /// has no header then).
    int CreateHeader(int x, int y, int cx, int cy, long style, long ex_style, const char* caption);
    /// Appends a control: its 1-based place, or -1 (nothing added). A null text writes the
    /// resource ordinal instead. Values are cut to 16 bits.
    int CreateControl(const char* class_name, const char* text, unsigned short ordinal, int id, int x,
                      int y, int cx, int cy, long style, long ex_style);
    int CreateButton(int id, int x, int y, int cx, int cy, long style, long ex_style, const char* text);
    int CreateStatic(int id, int x, int y, int cx, int cy, long style, long ex_style, const char* text);
    /// A bitmap or icon static control showing resource `ordinal`.
    int CreateBmp(int id, int ordinal, int x, int y, int cx, int cy);
    int CreateIcon(int id, int ordinal, int x, int y, int cx, int cy);
    /// Makes room for one more item and adds none: 1, or -1.
    int CreateListBox(int id, int x, int y, int cx, int cy, long style, long ex_style);
    /// Sets the font of later headers and the base units measured for it (an empty name: the
    /// system's). 0 for a null name (nothing changes), else 1.
    int SetDlgFont(int point_size, const char* face_name);
    /// The assembled template, owned by the builder and valid until the next call or its
    /// destruction; null without a header or when memory is short.
    DLGTEMPLATE* GetDlgTemplate();

    /// Pixels to dialog units and back, rounded to the nearest (halves away from zero).
    int ScreenToDlgX(int x);
    int ScreenToDlgY(int y);
    int DlgToScreenX(int x);
    int DlgToScreenY(int y);

private:
    int GetSize();
    int CheckItems();
    void CopyFrom(const WIN_DlgTemplate& other);
    void Release();

    int items_;
    int base_x_;
    int base_y_;
    int capacity_;
    WORD* cdit_;
    void** blocks_;
    int* lengths_;
    DLGTEMPLATE* template_;
    char face_[100];
    int point_size_;
};

#endif
