// Files and read-only mappings on Windows: kernel32 file calls, results as Windows error numbers.
#include <windows.h>

#include <new>

#include "os/file.h"
#include "os/win32/last_error.h"

namespace zed::os {
namespace {

// FILETIME (100 ns since 1601) <-> seconds since 1970.
constexpr int64_t kEpochDifference = 11644473600LL;
int64_t ToUnix(const FILETIME& ft) {
    const int64_t ticks = (static_cast<int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000000 - kEpochDifference;
}
FILETIME FromUnix(int64_t seconds) {
    const uint64_t ticks = static_cast<uint64_t>(seconds + kEpochDifference) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

}  // namespace

DWORD FileOpen(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags,
               HANDLE* handle) {
    *handle = InvalidFileHandle();
    if (name == nullptr || *name == '\0') return zed::win_error::kPathNotFound;
    const HANDLE h = ::CreateFileA(name, access, sharing, nullptr, disposition,
                                   flags != 0 ? flags : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FailedCallError();
    *handle = h;
    return 0;
}

DWORD FileClose(HANDLE handle) { return ::CloseHandle(handle) ? 0 : FailedCallError(); }

DWORD FileDuplicate(HANDLE handle, HANDLE* copy) {
    *copy = InvalidFileHandle();
    HANDLE out;
    if (!::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &out, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return FailedCallError();
    *copy = out;
    return 0;
}

DWORD FileRead(HANDLE handle, void* buffer, DWORD n, DWORD* done) {
    *done = 0;
    DWORD got = 0;
    if (!::ReadFile(handle, buffer, n, &got, nullptr)) return FailedCallError();
    *done = got;
    return 0;
}

DWORD FileWrite(HANDLE handle, const void* buffer, DWORD n, DWORD* done) {
    *done = 0;
    DWORD put = 0;
    if (!::WriteFile(handle, buffer, n, &put, nullptr)) return FailedCallError();
    *done = put;
    return 0;
}

DWORD FileSeek(HANDLE handle, int64_t offset, DWORD origin, uint64_t* position) {
    LARGE_INTEGER move, at;
    move.QuadPart = offset;
    if (!::SetFilePointerEx(handle, move, &at, origin)) return FailedCallError();
    *position = static_cast<uint64_t>(at.QuadPart);
    return 0;
}

DWORD FileGetSize(HANDLE handle, uint64_t* size) {
    LARGE_INTEGER s;
    if (!::GetFileSizeEx(handle, &s)) return FailedCallError();
    *size = static_cast<uint64_t>(s.QuadPart);
    return 0;
}

DWORD FileSetEnd(HANDLE handle) { return ::SetEndOfFile(handle) ? 0 : FailedCallError(); }

DWORD FileFlush(HANDLE handle) { return ::FlushFileBuffers(handle) ? 0 : FailedCallError(); }

DWORD FileLock(HANDLE handle, uint64_t offset, uint64_t n) {
    if (!::LockFile(handle, static_cast<DWORD>(offset), static_cast<DWORD>(offset >> 32),
                    static_cast<DWORD>(n), static_cast<DWORD>(n >> 32)))
        return FailedCallError();
    return 0;
}

DWORD FileUnlock(HANDLE handle, uint64_t offset, uint64_t n) {
    if (!::UnlockFile(handle, static_cast<DWORD>(offset), static_cast<DWORD>(offset >> 32),
                      static_cast<DWORD>(n), static_cast<DWORD>(n >> 32)))
        return FailedCallError();
    return 0;
}

DWORD FileStatusOf(HANDLE handle, FileStatus* status) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle, &info)) return FailedCallError();
    status->size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status->modified = ToUnix(info.ftLastWriteTime);
    status->accessed = ToUnix(info.ftLastAccessTime);
    status->attributes = info.dwFileAttributes;
    return 0;
}

DWORD FileStatusByName(const char* name, FileStatus* status) {
    if (name == nullptr || *name == '\0') return zed::win_error::kPathNotFound;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return FailedCallError();
    status->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status->modified = ToUnix(data.ftLastWriteTime);
    status->accessed = ToUnix(data.ftLastAccessTime);
    status->attributes = data.dwFileAttributes;
    return 0;
}

DWORD FileApplyStatus(const char* name, const FileStatus& status) {
    if (name == nullptr || *name == '\0') return zed::win_error::kPathNotFound;
    const DWORD attributes = ::GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FailedCallError();
    // Clear read-only first so that the times can be written.
    if (!::SetFileAttributesA(name, attributes & ~FILE_ATTRIBUTE_READONLY)) return FailedCallError();
    const HANDLE h = ::CreateFileA(name, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return FailedCallError();
    const FILETIME accessed = FromUnix(status.accessed), modified = FromUnix(status.modified);
    const BOOL ok = ::SetFileTime(h, nullptr, &accessed, &modified);
    const DWORD err = ok ? 0 : FailedCallError();
    ::CloseHandle(h);
    if (err != 0) return err;
    DWORD wanted = attributes & ~FILE_ATTRIBUTE_READONLY;
    if (status.attributes & FILE_ATTRIBUTE_READONLY) wanted |= FILE_ATTRIBUTE_READONLY;
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesA(name, wanted) ? 0 : FailedCallError();
}

DWORD FileDelete(const char* name) {
    if (name == nullptr || *name == '\0') return zed::win_error::kPathNotFound;
    return ::DeleteFileA(name) ? 0 : FailedCallError();
}

DWORD FileMove(const char* from, const char* to) {
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0')
        return zed::win_error::kPathNotFound;
    return ::MoveFileA(from, to) ? 0 : FailedCallError();
}

struct FileMapping {
    HANDLE section;
};

DWORD MappingOpen(HANDLE file, FileMapping** mapping) {
    *mapping = nullptr;
    const HANDLE section = ::CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (section == nullptr) return FailedCallError();
    auto* m = new (std::nothrow) FileMapping{section};
    if (m == nullptr) {
        ::CloseHandle(section);
        return zed::win_error::kNotEnoughMemory;
    }
    *mapping = m;
    return 0;
}

void MappingClose(FileMapping* mapping) {
    if (mapping == nullptr) return;
    ::CloseHandle(mapping->section);
    delete mapping;
}

DWORD MappingView(FileMapping* mapping, uint64_t offset, size_t n, const void** view) {
    *view = ::MapViewOfFile(mapping->section, FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                            static_cast<DWORD>(offset), n);
    return *view != nullptr ? 0 : FailedCallError();
}

void MappingUnview(const void* view, size_t) {
    if (view != nullptr) ::UnmapViewOfFile(view);
}

size_t MappingGranularity() {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwAllocationGranularity;
}

void SleepMilliseconds(DWORD ms) { ::Sleep(ms); }

}  // namespace zed::os
