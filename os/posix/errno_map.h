// POSIX only: the Windows error number that stands for an errno value.
#ifndef ZEDLL_OS_POSIX_WINDOWS_ERROR_H
#define ZEDLL_OS_POSIX_WINDOWS_ERROR_H

#include "zedll/platform_types.h"

namespace zed::os {
/// 2 not found, 3 path not found, 4 too many open files, 5 access denied, 8 out of memory, ...;
/// 31 (a device failure) for what has no closer Windows meaning.
DWORD WindowsErrorFromErrno(int error);
}  // namespace zed::os

#endif
