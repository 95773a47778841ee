// The load and unload sequence on Windows: the DLL entry point.
#include <windows.h>

#include "platform/library_entry.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        zed::LibraryAttach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        zed::LibraryDetach();
    }
    return TRUE;
}
