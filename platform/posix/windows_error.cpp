// The errno values the POSIX backend meets and the Windows error numbers the library reports.
#include "platform/posix/windows_error.h"

#include <cerrno>

namespace zed::platform {
namespace {

struct ErrorPair {
    int posix;
    DWORD windows;
};
constexpr ErrorPair kErrors[] = {
    {ENOENT, 2},   {ENOTDIR, 3},    {EMFILE, 4},  {ENFILE, 4},       {EACCES, 5},
    {EPERM, 5},    {EROFS, 19},     {EBADF, 6},   {ENOMEM, 8},       {EINVAL, 87},
    {EEXIST, 183}, {ENOSPC, 112},   {EBUSY, 170}, {ENAMETOOLONG, 206}, {EISDIR, 5},
    {EAGAIN, 33},  {ETIMEDOUT, 258}, {ELOOP, 1921}, {EIO, 1117},
};

}  // namespace

DWORD WindowsErrorFromErrno(int error) {
    for (const ErrorPair& pair : kErrors) {
        if (pair.posix == error) return pair.windows;
    }
    return 31;
}

}  // namespace zed::platform
