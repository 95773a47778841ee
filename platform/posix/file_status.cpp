// File attributes on POSIX through stat(), errors in the Windows numbering.
#include <sys/stat.h>

#include <cerrno>

#include "platform/file_status.h"

namespace zed::platform {

DWORD QueryFileAttributes(const char* path, DWORD* attributes) {
    struct stat st {};
    if (path == nullptr) return 87;
    if (::stat(path, &st) != 0) {
        switch (errno) {
            case ENOENT: return 2;
            case ENOTDIR: return 3;
            case EMFILE:
            case ENFILE: return 4;
            case EACCES:
            case EPERM: return 5;
            case ENAMETOOLONG: return 206;
            case ELOOP: return 1921;  // the name of the file cannot be resolved
            default: return 31;      // a device attached to the system is not functioning
        }
    }
    *attributes = S_ISDIR(st.st_mode) ? 0x10u : 0x80u;
    return 0;
}

}  // namespace zed::platform
