// Windows base types: the real ones on Windows, same-size stand-ins elsewhere.
#ifndef ZEDLL_PLATFORM_TYPES_H
#define ZEDLL_PLATFORM_TYPES_H

#if defined(_WIN32)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#else
#  include <cstdint>

// Same sizes as on Windows, so packed layouts and portable code are identical on both.
typedef int32_t LONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int32_t BOOL;
typedef uint32_t UINT;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HMENU__* HMENU;
typedef struct HDC__* HDC;
typedef struct HICON__* HCURSOR;
typedef void* HANDLE;
typedef intptr_t LONG_PTR;
typedef uintptr_t DWORD_PTR;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

// The in-memory dialog header, packed to two bytes as the Windows headers pack it (18 bytes).
#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE;
#pragma pack(pop)
#endif

#endif
