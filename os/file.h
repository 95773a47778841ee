// Files and read-only file mappings: the platform half under the library's file class.
#ifndef ZEDLL_OS_FILE_H
#define ZEDLL_OS_FILE_H

#include <cstddef>
#include <cstdint>

#include "os/windows_error.h"
#include "zedll/platform_types.h"

namespace zed {

/// The numbers callers pass to CLS_File::Open and the platform functions below: the Windows
/// values, so that a host's own constants work unchanged on both platforms.
namespace file_const {
// Dispositions.
constexpr DWORD kCreateNew = 1;
constexpr DWORD kCreateAlways = 2;
constexpr DWORD kOpenExisting = 3;
constexpr DWORD kOpenAlways = 4;
constexpr DWORD kTruncateExisting = 5;
// Access.
constexpr DWORD kGenericRead = 0x80000000u;
constexpr DWORD kGenericWrite = 0x40000000u;
// Sharing.
constexpr DWORD kShareRead = 1;
constexpr DWORD kShareWrite = 2;
constexpr DWORD kShareDelete = 4;
// Flags.
constexpr DWORD kAttributeNormal = 0x80;
constexpr DWORD kFlagSequentialScan = 0x08000000u;
// Seek origins.
constexpr DWORD kBegin = 0;
constexpr DWORD kCurrent = 1;
constexpr DWORD kEnd = 2;
}  // namespace file_const

/// What QueryStatus and ApplyStatus exchange: sizes and times of a file.
struct FileStatus {
    uint64_t size;            ///< bytes
    int64_t modified;         ///< last write, seconds since 1970-01-01 UTC
    int64_t accessed;         ///< last access, likewise
    uint32_t attributes;      ///< Windows attribute bits: 0x01 read-only, 0x10 directory, 0x80 normal
};

namespace os {

/// The invalid-handle value on both platforms (all bits set). On POSIX a handle is the file
/// descriptor stored in the pointer.
inline HANDLE InvalidFileHandle() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

// Every function returns 0 on success or the Windows error number of the failure.

/// Opens or creates `name` (8-bit text) with a disposition, access, sharing and flags as above.
DWORD FileOpen(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags,
               HANDLE* handle);
DWORD FileClose(HANDLE handle);
/// Duplicates a handle within the process; the copy shares the position.
DWORD FileDuplicate(HANDLE handle, HANDLE* copy);
/// Reads up to `n` bytes at the current position; *done = bytes moved (0 at the end).
DWORD FileRead(HANDLE handle, void* buffer, DWORD n, DWORD* done);
DWORD FileWrite(HANDLE handle, const void* buffer, DWORD n, DWORD* done);
/// Moves the position (origin: file_const::kBegin, kCurrent, kEnd); *position = the new one.
DWORD FileSeek(HANDLE handle, int64_t offset, DWORD origin, uint64_t* position);
DWORD FileGetSize(HANDLE handle, uint64_t* size);
/// Ends the file at the current position (shorter or longer).
DWORD FileSetEnd(HANDLE handle);
DWORD FileFlush(HANDLE handle);
/// Exclusive byte-range lock that other handles (in this or another process) run into;
/// win_error::kLockViolation when someone else holds an overlapping range.
DWORD FileLock(HANDLE handle, uint64_t offset, uint64_t n);
DWORD FileUnlock(HANDLE handle, uint64_t offset, uint64_t n);
DWORD FileStatusOf(HANDLE handle, FileStatus* status);
DWORD FileStatusByName(const char* name, FileStatus* status);
/// Sets the times and the read-only bit of `name` from `status` (the size is not touched).
DWORD FileApplyStatus(const char* name, const FileStatus& status);
DWORD FileDelete(const char* name);
/// Renames; fails with win_error::kAlreadyExists when `to` exists.
DWORD FileMove(const char* from, const char* to);

/// A read-only mapping of a whole open file.
struct FileMapping;
DWORD MappingOpen(HANDLE file, FileMapping** mapping);
void MappingClose(FileMapping* mapping);
/// Maps `n` bytes from `offset` (a multiple of MappingGranularity) for reading.
DWORD MappingView(FileMapping* mapping, uint64_t offset, size_t n, const void** view);
void MappingUnview(const void* view, size_t n);
/// The alignment that view offsets need (64 KiB on Windows, the page size elsewhere).
size_t MappingGranularity();

/// Sleeps on the calling thread.
void SleepMilliseconds(DWORD ms);

}  // namespace os
}  // namespace zed

#endif
