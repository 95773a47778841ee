// The Windows steps of the load sequence: the common controls, then (with the magnifier) its
// window classes.
#include <windows.h>
#include <commctrl.h>

#include "platform/load_sequence.h"

namespace zed {
namespace {

// A failure is not reported: the later creation of a window that needs the controls fails instead.
void InitControls(HMODULE) { ::InitCommonControls(); }

constexpr LoadStep kWindowsSteps[] = {
    {"common controls", InitControls, nullptr},
};

}  // namespace

const LoadStep* PlatformLoadSteps(std::size_t* count) {
    *count = sizeof kWindowsSteps / sizeof kWindowsSteps[0];
    return kWindowsSteps;
}

}  // namespace zed
