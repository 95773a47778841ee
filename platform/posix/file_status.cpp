// File attributes on POSIX through stat(), errors in the Windows numbering.
#include <sys/stat.h>

#include <cerrno>

#include "platform/file_status.h"
#include "platform/posix/windows_error.h"

namespace zed::platform {

DWORD QueryFileAttributes(const char* path, DWORD* attributes) {
    struct stat st {};
    if (path == nullptr) return 87;
    if (::stat(path, &st) != 0) {
        return WindowsErrorFromErrno(errno);
    }
    *attributes = S_ISDIR(st.st_mode) ? 0x10u : 0x80u;
    return 0;
}

}  // namespace zed::platform
