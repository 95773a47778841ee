// The load and unload sequence on Windows: the DLL entry point.
#include <windows.h>

#include "platform/language.h"
#include "platform/library_entry.h"
#include "platform/resource_module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        zed::LibraryAttach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        zed::LibraryDetach();
    }
    return TRUE;
}

namespace zed {
namespace {

// A program that links the library's objects itself (the test program) gets no DllMain call;
// the same sequence then runs from this object, with the program as the library instance. In the
// DLL it runs first and DllMain finds the work done.
struct LibraryLifetime {
    LibraryLifetime() {
        LangService();
        LibraryAttach(platform::OwnModule());
    }
    ~LibraryLifetime() { LibraryDetach(); }
};
LibraryLifetime g_library_lifetime;

}  // namespace
}  // namespace zed
