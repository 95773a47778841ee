// The one table of errno values the POSIX backend meets and the Windows error numbers the library
// reports for them.
#include "platform/posix/windows_error.h"

#include <cerrno>

#include "platform/file.h"

namespace zed::platform {
namespace {

namespace fe = zed::file_error;

struct ErrorPair {
    int posix;
    DWORD windows;
};
// ENOENT is "file not found"; callers that can tell a missing folder on the way refine it to 3.
constexpr ErrorPair kErrors[] = {
    {ENOENT, fe::kFileNotFound},      {ENOTDIR, fe::kPathNotFound},
    {EMFILE, fe::kTooManyOpenFiles},  {ENFILE, fe::kTooManyOpenFiles},
    {EACCES, fe::kAccessDenied},      {EPERM, fe::kAccessDenied},
    {EROFS, fe::kAccessDenied},       {EISDIR, fe::kAccessDenied},
    {EBADF, fe::kInvalidHandle},      {ENOMEM, fe::kNotEnoughMemory},
    {EXDEV, fe::kNotSameDevice},      {ETXTBSY, fe::kSharingViolation},
    {EBUSY, fe::kSharingViolation},   {EAGAIN, fe::kLockViolation},
    {EEXIST, fe::kFileExists},        {EINVAL, fe::kInvalidParameter},
    {ENOSPC, fe::kDiskFull},          {EDQUOT, fe::kDiskFull},
    {ENOTEMPTY, fe::kDirNotEmpty},    {ENAMETOOLONG, fe::kFilenameTooLong},
    {EFBIG, fe::kFileTooLarge},       {EOVERFLOW, fe::kFileTooLarge},
    {ETIMEDOUT, 258},                 // the wait operation timed out
    {ELOOP, 1921},                    // the name of the file cannot be resolved
    {EIO, fe::kIoDevice},
};

}  // namespace

DWORD WindowsErrorFromErrno(int error) {
    if (error == 0) return 0;
    for (const ErrorPair& pair : kErrors) {
        if (pair.posix == error) return pair.windows;
    }
    return fe::kGenFailure;
}

}  // namespace zed::platform
