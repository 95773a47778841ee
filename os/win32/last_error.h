// The error of a Win32 call that has just failed. Some calls fail without setting the thread's
// last error (or after clearing it); a failure must never read as success, so 0 becomes 31.
#ifndef ZEDLL_OS_WIN32_LAST_ERROR_H
#define ZEDLL_OS_WIN32_LAST_ERROR_H

#include <windows.h>

#include "os/windows_error.h"

namespace zed::os {

inline DWORD FailedCallError() {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : win_error::kGenFailure;
}

}  // namespace zed::os

#endif
