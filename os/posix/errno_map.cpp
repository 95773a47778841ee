// The one table of errno values the POSIX backend meets and the Windows error numbers the library
// reports for them.
#include "os/windows_error.h"
#include "os/posix/errno_map.h"

#include <cerrno>


namespace zed::os {
namespace {

namespace we = zed::win_error;

struct ErrorPair {
    int posix;
    DWORD windows;
};
// ENOENT is "file not found"; callers that can tell a missing folder on the way refine it to 3.
constexpr ErrorPair kErrors[] = {
    {ENOENT, we::kFileNotFound},      {ENOTDIR, we::kPathNotFound},
    {EMFILE, we::kTooManyOpenFiles},  {ENFILE, we::kTooManyOpenFiles},
    {EACCES, we::kAccessDenied},      {EPERM, we::kAccessDenied},
    {EROFS, we::kAccessDenied},       {EISDIR, we::kAccessDenied},
    {EBADF, we::kInvalidHandle},      {ENOMEM, we::kNotEnoughMemory},
    {EXDEV, we::kNotSameDevice},      {ETXTBSY, we::kSharingViolation},
    {EBUSY, we::kSharingViolation},   {EAGAIN, we::kLockViolation},
    {EEXIST, we::kFileExists},        {EINVAL, we::kInvalidParameter},
    {ENOSPC, we::kDiskFull},          {EDQUOT, we::kDiskFull},
    {ENOTEMPTY, we::kDirNotEmpty},    {ENAMETOOLONG, we::kFilenameTooLong},
    {EFBIG, we::kFileTooLarge},       {EOVERFLOW, we::kFileTooLarge},
    {ETIMEDOUT, we::kWaitTimeout},    {ELOOP, we::kCantResolveFilename},
    {EIO, we::kIoDevice},
};

}  // namespace

DWORD WindowsErrorFromErrno(int error) {
    if (error == 0) return 0;
    for (const ErrorPair& pair : kErrors) {
        if (pair.posix == error) return pair.windows;
    }
    return we::kGenFailure;
}

}  // namespace zed::os
