// The errno table of the POSIX backend: the Windows numbers every stand-in reports.
#include <gtest/gtest.h>

#include <cerrno>

#include "os/posix/errno_map.h"

namespace {

TEST(WindowsErrorFromErrno, TheNumbersCallersTestFor) {
    using zed::os::WindowsErrorFromErrno;
    const std::pair<int, DWORD> expected[] = {
        {0, 0},        {ENOENT, 2},  {ENOTDIR, 3}, {EMFILE, 4},   {EACCES, 5},    {EPERM, 5},
        {EBUSY, 32},   {EAGAIN, 33}, {EEXIST, 80}, {EINVAL, 87},  {ENOSPC, 112},  {ENAMETOOLONG, 206},
        {ELOOP, 1921}, {EIO, 1117},  {EDOM, 31},   {-12345, 31},
    };
    for (const auto& [posix, windows] : expected) EXPECT_EQ(WindowsErrorFromErrno(posix), windows) << posix;
}

}  // namespace
