// WIN_Father, the base of the library's window-owning classes, and WIN_Handler, the registry that
// hands a frame window's size message to every object living in it.
#ifndef ZEDLL_WIN32_WINDOW_BASE_H
#define ZEDLL_WIN32_WINDOW_BASE_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// The window an object owns and the window it sits in. A host's window procedure forwards the
/// four messages to the hooks; the base hooks do nothing (WMNotify returns 0). Copies copy both
/// handles; the destructor clears them and destroys no window. One thread: the host's UI thread.
///
/// Layout: +0 (vptr) | window: HWND | parent: HWND
/// Virtual slots in order: WMSize, WMNotify, WMMove, WMPaint.
class ZEDLL_API WIN_Father {
public:
    WIN_Father();
    WIN_Father(const WIN_Father& other);
    WIN_Father& operator=(const WIN_Father& other);
    ~WIN_Father();

    HWND GetHandle();
    HWND GetHandleParent();
    /// Stores the new parent and returns the previous one.
    HWND SetHandleParent(HWND parent);

    virtual void WMSize(HWND window, UINT wparam, LONG lparam);
    virtual LONG WMNotify(HWND window, UINT wparam, LONG lparam);
    virtual void WMMove(HWND window, UINT wparam, LONG lparam);
    virtual void WMPaint(HWND window, UINT wparam, LONG lparam);

protected:
    HWND window_;   // set by a derived class when it creates its window
    HWND parent_;
};

// The friends of WIN_Handler belong to the host: a host (or a test) defines this macro as its
// friend declarations before including the library's header. Friends change neither layout nor
// names, so the library and every host agree on the class.
#ifndef ZEDLL_WIN_HANDLER_FRIENDS
#define ZEDLL_WIN_HANDLER_FRIENDS
#endif

/// A registry of WIN_Father objects (held, never owned or deleted): WMSize passes a size message
/// to every object whose parent or own window is the window that received it. The table comes
/// from the process heap, 10 slots at first and 10 more each time the last free slot would be
/// taken. Only the host's friend classes may create and use one. Assignment copies the entries
/// into a table of the object's own, so that no table is released twice. One thread.
///
/// Layout: table: void** (capacity slots) | count: i32 | capacity: i32
class ZEDLL_API WIN_Handler {
    ZEDLL_WIN_HANDLER_FRIENDS
public:
    WIN_Handler& operator=(const WIN_Handler& other);

private:
    WIN_Handler();
    ~WIN_Handler();
    WIN_Handler(const WIN_Handler&) = delete;

    /// 1 when held afterwards (an object already held is not added again); 0 for null or when the
    /// table could not grow (nothing changes then).
    int AddClass(void* object);
    /// 1 when the first entry equal to object was removed (the others keep their order), else 0.
    int RemoveClass(void* object);
    /// Calls WMSize of each matching object once, in table order. Always 1.
    int WMSize(HWND window, UINT wparam, LONG lparam);

    void** table_;
    int count_;
    int capacity_;
};

#endif
