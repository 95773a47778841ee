// CLS_File: the library's file class over the platform's file calls, with its last error.
#ifndef ZEDLL_UTIL_FILE_H
#define ZEDLL_UTIL_FILE_H

#include <cstdint>

#include "os/file.h"
#include "zedll/platform_types.h"

/// A platform file handle, whether the object closes it, and the Windows error number of the
/// last failed operation (0 for none). Not exported; one object, one thread at a time.
class CLS_File {
public:
    static constexpr DWORD kFailed = 0xFFFFFFFFu;

    /// No file, does not own.
    CLS_File();
    /// Wraps `handle` without owning it.
    explicit CLS_File(HANDLE handle);
    /// Duplicates the other object's handle within the process and owns the copy.
    CLS_File(const CLS_File& other);
    /// Owns; runs Open with these values.
    CLS_File(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags);
    ~CLS_File();
    CLS_File& operator=(const CLS_File&) = delete;

    /// 0 if a file is already open; otherwise opens or creates it; whether a file is now open.
    int Open(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags);
    bool IsOpen() const;
    /// 1, or 0 with the error recorded when the platform refuses the close.
    int Close();
    /// Bytes moved, or kFailed with the error recorded.
    DWORD Read(void* buffer, DWORD n);
    DWORD Write(const void* buffer, DWORD n);
    /// Moves the position (origin 0 start, 1 current, 2 end); records the error (0 on success)
    /// whatever the outcome. The new position, or kFailed.
    DWORD Seek(LONG offset, DWORD origin);
    /// The current position, or kFailed.
    DWORD Tell();
    /// The 32-bit size, or kFailed.
    DWORD GetSize();
    /// Makes the file n bytes long: extended with zero bytes or cut. The position is kept if it
    /// lies before n, else it is n. kFailed only when a write fails while extending (a write
    /// that moves nothing counts as failing, error 112); any other refusal (position, size, cut)
    /// is recorded and the result is still 1.
    DWORD Resize(DWORD n);
    int Flush();
    /// Locks n bytes from offset: up to 11 tries while someone else holds the range, each refused
    /// try followed by a 1 s wait (the 11th too), then error 1053 and 0; another failure gives 0
    /// at once; 1 on success.
    int Lock(DWORD offset, DWORD n);
    int Unlock(DWORD offset, DWORD n);
    int QueryStatus(zed::FileStatus* status);
    static int QueryStatus(HANDLE handle, zed::FileStatus* status);
    static int QueryStatus(const char* name, zed::FileStatus* status);
    static int ApplyStatus(const char* name, const zed::FileStatus& status);
    /// 1, or the negated platform error number.
    static int Delete(const char* name);
    static int Move(const char* from, const char* to);

    HANDLE GetHandle() const { return handle_; }
    DWORD GetLastError() const { return last_error_; }

    /// Test hook: the wait between lock attempts (1000 ms unless changed).
    static void SetLockRetryDelay(DWORD ms);

private:
    DWORD Record(DWORD err) {
        if (err != 0) last_error_ = err;
        return err;
    }

    HANDLE handle_;
    int owns_;
    DWORD last_error_;
};

#endif
