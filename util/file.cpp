// CLS_File: opening, transfers, positions, size, locks and file-system helpers.
#include "util/file.h"

#include <algorithm>
#include <atomic>
#include <climits>

namespace pf = zed::os;
namespace we = zed::win_error;

namespace {
std::atomic<DWORD> g_lock_retry_delay{1000};
constexpr int kLockAttempts = 11;
}  // namespace

CLS_File::CLS_File() : handle_(pf::InvalidFileHandle()), owns_(0), last_error_(0) {}

CLS_File::CLS_File(HANDLE handle) : handle_(handle), owns_(0), last_error_(0) {}

CLS_File::CLS_File(const CLS_File& other) : CLS_File() {
    if (!other.IsOpen()) return;
    HANDLE copy;
    if (Record(pf::FileDuplicate(other.handle_, &copy)) == 0) {
        handle_ = copy;
        owns_ = 1;
    }
}

CLS_File::CLS_File(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags)
    : CLS_File() {
    owns_ = 1;
    Open(name, disposition, access, sharing, flags);
}

CLS_File::~CLS_File() {
    if (IsOpen() && owns_) pf::FileClose(handle_);
}

int CLS_File::Open(const char* name, DWORD disposition, DWORD access, DWORD sharing,
                   DWORD flags) {
    if (IsOpen()) return 0;
    HANDLE h;
    if (Record(pf::FileOpen(name, disposition, access, sharing, flags, &h)) != 0) return 0;
    handle_ = h;
    owns_ = 1;
    return 1;
}

bool CLS_File::IsOpen() const { return handle_ != pf::InvalidFileHandle(); }

int CLS_File::Close() {
    if (!IsOpen()) return 1;
    const DWORD err = pf::FileClose(handle_);
    handle_ = pf::InvalidFileHandle();
    owns_ = 0;
    return Record(err) == 0 ? 1 : 0;
}

DWORD CLS_File::Read(void* buffer, DWORD n) {
    DWORD done = 0;
    if (buffer == nullptr && n != 0) return Record(we::kInvalidParameter), kFailed;
    if (Record(pf::FileRead(handle_, buffer, n, &done)) != 0) return kFailed;
    return done;
}

DWORD CLS_File::Write(const void* buffer, DWORD n) {
    DWORD done = 0;
    if (buffer == nullptr && n != 0) return Record(we::kInvalidParameter), kFailed;
    if (Record(pf::FileWrite(handle_, buffer, n, &done)) != 0) return kFailed;
    return done;
}

DWORD CLS_File::Seek(LONG offset, DWORD origin) {
    uint64_t at = 0;
    last_error_ = pf::FileSeek(handle_, offset, origin, &at);
    if (last_error_ != 0) return kFailed;
    return static_cast<DWORD>(at);
}

DWORD CLS_File::Tell() {
    uint64_t at = 0;
    if (Record(pf::FileSeek(handle_, 0, zed::file_const::kCurrent, &at)) != 0) return kFailed;
    return static_cast<DWORD>(at);
}

DWORD CLS_File::GetSize() {
    uint64_t size = 0;
    if (Record(pf::FileGetSize(handle_, &size)) != 0) return kFailed;
    return static_cast<DWORD>(size);
}

DWORD CLS_File::Resize(DWORD n) {
    // Only a failed write while extending is a failure; any other refusal along the way is
    // recorded and the call still answers 1.
    uint64_t position = 0, size = 0, at = 0;
    const bool position_known =
        Record(pf::FileSeek(handle_, 0, zed::file_const::kCurrent, &position)) == 0;
    const bool size_known = Record(pf::FileGetSize(handle_, &size)) == 0;
    if (size_known && size < n) {
        // Extend with zero bytes written at the end (in blocks: the bytes are the same). A short
        // write goes on with the rest; a write that fails or moves nothing ends it.
        Record(pf::FileSeek(handle_, 0, zed::file_const::kEnd, &at));
        static const unsigned char zeros[4096] = {};
        uint64_t left = n - size;
        while (left > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(left, sizeof zeros));
            DWORD done = 0;
            if (Record(pf::FileWrite(handle_, zeros, chunk, &done)) != 0) return kFailed;
            if (done == 0) return Record(we::kDiskFull), kFailed;
            left -= done;
        }
    } else if (!size_known || size > n) {
        // Cut at n; with the size unknown, setting the end at n gives n bytes either way.
        Record(pf::FileSeek(handle_, n, zed::file_const::kBegin, &at));
        Record(pf::FileSetEnd(handle_));
    }
    // The position comes back if it lay before n; otherwise (or if it was unknown) it is n.
    const uint64_t keep = position_known && position < n ? position : n;
    Record(pf::FileSeek(handle_, static_cast<int64_t>(keep), zed::file_const::kBegin, &at));
    return 1;
}

int CLS_File::Flush() { return Record(pf::FileFlush(handle_)) == 0 ? 1 : 0; }

int CLS_File::Lock(DWORD offset, DWORD n) {
    for (int attempt = 1;; ++attempt) {
        const DWORD err = pf::FileLock(handle_, offset, n);
        if (err == 0) return 1;
        if (err != we::kLockViolation) {
            Record(err);
            return 0;
        }
        // Every attempt refused for a lock violation is followed by the wait, the last one too.
        pf::SleepMilliseconds(g_lock_retry_delay.load());
        if (attempt == kLockAttempts) {
            Record(we::kServiceRequestTimeout);
            return 0;
        }
    }
}

int CLS_File::Unlock(DWORD offset, DWORD n) {
    return Record(pf::FileUnlock(handle_, offset, n)) == 0 ? 1 : 0;
}

int CLS_File::QueryStatus(zed::FileStatus* status) {
    if (status == nullptr) return Record(we::kInvalidParameter), 0;
    return Record(pf::FileStatusOf(handle_, status)) == 0 ? 1 : 0;
}

int CLS_File::QueryStatus(HANDLE handle, zed::FileStatus* status) {
    return status != nullptr && pf::FileStatusOf(handle, status) == 0 ? 1 : 0;
}

int CLS_File::QueryStatus(const char* name, zed::FileStatus* status) {
    return status != nullptr && pf::FileStatusByName(name, status) == 0 ? 1 : 0;
}

int CLS_File::ApplyStatus(const char* name, const zed::FileStatus& status) {
    return pf::FileApplyStatus(name, status) == 0 ? 1 : 0;
}

int CLS_File::Delete(const char* name) {
    const DWORD err = pf::FileDelete(name);
    return err == 0 ? 1 : -static_cast<int>(err);
}

int CLS_File::Move(const char* from, const char* to) {
    const DWORD err = pf::FileMove(from, to);
    return err == 0 ? 1 : -static_cast<int>(err);
}

void CLS_File::SetLockRetryDelay(DWORD ms) { g_lock_retry_delay.store(ms); }
