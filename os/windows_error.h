// The Windows error numbers the library reports, on every platform: each written once, here.
#ifndef ZEDLL_OS_WINDOWS_ERROR_H
#define ZEDLL_OS_WINDOWS_ERROR_H

#include "zedll/platform_types.h"

/* X(name, number, meaning) */
#define ZEDLL_WINDOWS_ERRORS(X)                                                      \
    X(kFileNotFound, 2, "the file cannot be found")                                  \
    X(kPathNotFound, 3, "a folder on the way cannot be found")                       \
    X(kTooManyOpenFiles, 4, "no handle is left to open the file")                    \
    X(kAccessDenied, 5, "access is denied")                                          \
    X(kInvalidHandle, 6, "the handle is not valid")                                  \
    X(kNotEnoughMemory, 8, "not enough memory")                                      \
    X(kNotSameDevice, 17, "the file cannot be moved to another disk")                \
    X(kCrc, 23, "data error: the bytes could not be read through")                   \
    X(kBadLength, 24, "the length of the data could not be found")                   \
    X(kGenFailure, 31, "the device does not work")                                   \
    X(kSharingViolation, 32, "another process uses the file")                        \
    X(kLockViolation, 33, "another process has locked part of the file")             \
    X(kFileExists, 80, "the file exists")                                            \
    X(kInvalidParameter, 87, "a parameter is not valid")                             \
    X(kDiskFull, 112, "the disk is full")                                            \
    X(kModNotFound, 126, "the module cannot be found")                               \
    X(kDirNotEmpty, 145, "the folder is not empty")                                  \
    X(kAlreadyExists, 183, "the file already exists")                                \
    X(kBadExeFormat, 193, "not a valid program or library image")                    \
    X(kFilenameTooLong, 206, "the name is too long")                                 \
    X(kFileTooLarge, 223, "the file is too large")                                   \
    X(kMoreData, 234, "more data is available than the buffer holds")                \
    X(kWaitTimeout, 258, "the wait timed out")                                       \
    X(kNoMoreItems, 259, "no more items")                                            \
    X(kKeyDeleted, 1018, "the registry key is marked for deletion")                  \
    X(kServiceRequestTimeout, 1053, "the request was not answered in time")          \
    X(kIoDevice, 1117, "an input or output device error")                            \
    X(kCantResolveFilename, 1921, "the name of the file cannot be resolved")

namespace zed::win_error {

enum : DWORD {
    kSuccess = 0,
#define ZEDLL_WINDOWS_ERROR_ENUM(name, number, meaning) name = number,
    ZEDLL_WINDOWS_ERRORS(ZEDLL_WINDOWS_ERROR_ENUM)
#undef ZEDLL_WINDOWS_ERROR_ENUM
};

/// What an error number of the list means, or null for a number the library never reports.
inline const char* Meaning(DWORD error) {
    switch (error) {
#define ZEDLL_WINDOWS_ERROR_CASE(name, number, meaning) \
    case number: return meaning;
        ZEDLL_WINDOWS_ERRORS(ZEDLL_WINDOWS_ERROR_CASE)
#undef ZEDLL_WINDOWS_ERROR_CASE
    default: return nullptr;
    }
}

}  // namespace zed::win_error

#endif
