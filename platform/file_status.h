// Whether a path names something on disk: its attributes or the platform's reason why not.
#ifndef ZEDLL_PLATFORM_FILE_STATUS_H
#define ZEDLL_PLATFORM_FILE_STATUS_H

#include "zedll/platform_types.h"

namespace zed::platform {

/// The attributes of the file or directory at path (GetFileAttributesA; on POSIX stat(), giving
/// 0x10 for a directory and 0x80 otherwise). 0 on success, else the Windows error number
/// (2 not found, 3 path not found, 4 too many open files, 5 access denied, ...).
DWORD QueryFileAttributes(const char* path, DWORD* attributes);

}  // namespace zed::platform

#endif
