// File attributes on Windows.
#include <windows.h>

#include "platform/file_status.h"

namespace zed::platform {

DWORD QueryFileAttributes(const char* path, DWORD* attributes) {
    if (path == nullptr) return ERROR_INVALID_PARAMETER;
    const DWORD a = ::GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
    *attributes = a;
    return 0;
}

}  // namespace zed::platform
