// The load and unload sequence on POSIX: a static object's construction and destruction.
#include "platform/language.h"
#include "platform/library_entry.h"
#include "platform/resource_module.h"

namespace zed {
namespace {

struct LibraryLifetime {
    LibraryLifetime() {
        // Constructed first, so the language service is destroyed after the unload sequence.
        LangService();
        LibraryAttach(platform::OwnModule());
    }
    ~LibraryLifetime() { LibraryDetach(); }
};
LibraryLifetime g_library_lifetime;

}  // namespace
}  // namespace zed
