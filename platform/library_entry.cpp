// The steps of the library's load and unload sequence.
#include "platform/library_entry.h"

#include "log/log_options.h"
#include "platform/language.h"
#include "os/resource_module.h"

namespace zed {
namespace {
bool g_attached = false;
}  // namespace

void LibraryAttach(HMODULE instance) {
    if (g_attached) return;
    g_attached = true;
    LangSetLibraryInstance(instance);
    LangService().Init("ZED", 1033, 1033);
    // The window-class registrations of the magnifier and the common controls join here, after
    // the language service, which their menus and captions already use.
}

void LibraryDetach() {
    if (!g_attached) return;
    g_attached = false;
    // Unregistering the magnifier's classes joins here, before the log options' names go.
    log_options::ReleaseNames();
    // The language service itself returns to the base language when it is destroyed.
}

bool LibraryAttached() { return g_attached; }

namespace {

// The sequence runs from this static object: the only entry on POSIX; on Windows it runs first
// in the DLL (DllMain then finds the work done) and alone in a program that links the library's
// objects itself (the test program), with the program as the library instance. Constructed
// after the language service, which is therefore destroyed after the unload sequence.
struct LibraryLifetime {
    LibraryLifetime() {
        LangService();
        LibraryAttach(os::OwnModule());
    }
    ~LibraryLifetime() { LibraryDetach(); }
};
LibraryLifetime g_library_lifetime;

}  // namespace

}  // namespace zed
