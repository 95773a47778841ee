// The Windows steps of the load sequence: the common controls, then the magnifier's window
// classes.
#include <windows.h>
#include <commctrl.h>

#include "magnify/win32/classes.h"
#include "platform/language.h"
#include "platform/load_sequence.h"

namespace zed {
namespace {

// A failure is not reported: the later creation of a window that needs the controls fails instead.
void InitControls(HMODULE) { ::InitCommonControls(); }
void RegisterMagnifier(HMODULE instance) { magnify::RegisterClasses(instance); }
void UnregisterMagnifier() { magnify::UnregisterClasses(LangGetLibraryInstance()); }

constexpr LoadStep kWindowsSteps[] = {
    {"common controls", InitControls, nullptr},
    {"magnifier classes", RegisterMagnifier, UnregisterMagnifier},
};

}  // namespace

const LoadStep* PlatformLoadSteps(std::size_t* count) {
    *count = sizeof kWindowsSteps / sizeof kWindowsSteps[0];
    return kWindowsSteps;
}

}  // namespace zed
