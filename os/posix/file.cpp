// Files and read-only mappings on POSIX: open/read/pwrite-style calls, open-file-description
// locks and mmap, with errno translated to the Windows numbers the library reports.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <mutex>
#include <string>
#include <vector>

#include "os/file.h"
#include "os/posix/errno_map.h"

namespace zed::os {
namespace {

namespace we = zed::win_error;
namespace fc = zed::file_const;

// Windows tells a missing file (2) from a missing folder on the way (3).
DWORD MissingName(const char* name) {
    std::string path(name);
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return we::kFileNotFound;
    path.resize(slash);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return we::kPathNotFound;
    return we::kFileNotFound;
}

DWORD NameError(const char* name, int err) {
    return err == ENOENT ? MissingName(name) : WindowsErrorFromErrno(err);
}

int Fd(HANDLE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }
HANDLE FromFd(int fd) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd)); }

void FillStatus(const struct stat& st, FileStatus* status) {
    status->size = static_cast<uint64_t>(st.st_size);
    status->modified = st.st_mtime;
    status->accessed = st.st_atime;
    uint32_t attributes = S_ISDIR(st.st_mode) ? 0x10u : 0x80u;
    if ((st.st_mode & 0222) == 0) attributes |= 0x01u;
    status->attributes = attributes;
}

// Sharing modes, as Windows keeps them per file: every open handle's access and sharing, so that
// an open asking for access someone else does not share (or refusing a share someone else's access
// needs) fails with a sharing violation. Within this process only: other processes are not seen.
struct OpenEntry {
    int fd;
    dev_t dev;
    ino_t ino;
    DWORD access;
    DWORD sharing;
};

std::mutex g_open_mutex;
std::vector<OpenEntry>& OpenTable() {
    static std::vector<OpenEntry>* table = new std::vector<OpenEntry>;   // lives to the very end
    return *table;
}

bool Conflicts(const OpenEntry& a, DWORD access, DWORD sharing) {
    const bool reads = access & fc::kGenericRead, writes = access & fc::kGenericWrite;
    const bool a_reads = a.access & fc::kGenericRead, a_writes = a.access & fc::kGenericWrite;
    return (reads && !(a.sharing & fc::kShareRead)) || (writes && !(a.sharing & fc::kShareWrite)) ||
           (a_reads && !(sharing & fc::kShareRead)) || (a_writes && !(sharing & fc::kShareWrite));
}

// Registers a new handle unless it conflicts with one already open on the same file.
DWORD Register(int fd, const struct stat& st, DWORD access, DWORD sharing) {
    std::lock_guard<std::mutex> hold(g_open_mutex);
    for (const OpenEntry& e : OpenTable())
        if (e.dev == st.st_dev && e.ino == st.st_ino && Conflicts(e, access, sharing))
            return we::kSharingViolation;
    OpenTable().push_back(OpenEntry{fd, st.st_dev, st.st_ino, access, sharing});
    return 0;
}

void Unregister(int fd) {
    std::lock_guard<std::mutex> hold(g_open_mutex);
    auto& table = OpenTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].fd == fd) {
            table[i] = table.back();
            table.pop_back();
            return;
        }
}

// A duplicate is the same open file: it takes the original's entry without a new check.
void RegisterDuplicate(int original, int copy) {
    std::lock_guard<std::mutex> hold(g_open_mutex);
    auto& table = OpenTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].fd == original) {
            OpenEntry e = table[i];
            e.fd = copy;
            table.push_back(e);
            return;
        }
}

}  // namespace

DWORD FileOpen(const char* name, DWORD disposition, DWORD access, DWORD sharing, DWORD flags,
               HANDLE* handle) {
    *handle = InvalidFileHandle();
    if (name == nullptr || *name == '\0') return we::kPathNotFound;
    int oflags = O_CLOEXEC;
    const bool reads = (access & fc::kGenericRead) != 0;
    const bool writes = (access & fc::kGenericWrite) != 0;
    oflags |= writes ? (reads ? O_RDWR : O_WRONLY) : O_RDONLY;
    // Truncation waits until the sharing check has let the open through.
    bool truncate = false;
    switch (disposition) {
    case fc::kCreateNew: oflags |= O_CREAT | O_EXCL; break;
    case fc::kCreateAlways:
        oflags |= O_CREAT;
        truncate = true;
        break;
    case fc::kOpenExisting: break;
    case fc::kOpenAlways: oflags |= O_CREAT; break;
    case fc::kTruncateExisting:
        if (!writes) return we::kInvalidParameter;
        truncate = true;
        break;
    default: return we::kInvalidParameter;
    }
    if (truncate && !writes) oflags = (oflags & ~O_RDONLY) | O_RDWR;
    int fd;
    do {
        fd = ::open(name, oflags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return NameError(name, errno);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return WindowsErrorFromErrno(err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);   // Windows refuses to open a folder as a file
        return we::kAccessDenied;
    }
    const DWORD shared = Register(fd, st, access, sharing);
    if (shared != 0) {
        ::close(fd);
        return shared;
    }
    if (truncate && ::ftruncate(fd, 0) != 0) {
        const int err = errno;
        Unregister(fd);
        ::close(fd);
        return WindowsErrorFromErrno(err);
    }
    if (flags & fc::kFlagSequentialScan) ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    *handle = FromFd(fd);
    return 0;
}

DWORD FileClose(HANDLE handle) {
    if (handle == InvalidFileHandle()) return we::kInvalidHandle;
    Unregister(Fd(handle));
    return ::close(Fd(handle)) == 0 ? 0 : WindowsErrorFromErrno(errno);
}

DWORD FileDuplicate(HANDLE handle, HANDLE* copy) {
    *copy = InvalidFileHandle();
    const int fd = ::fcntl(Fd(handle), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return WindowsErrorFromErrno(errno);
    RegisterDuplicate(Fd(handle), fd);
    *copy = FromFd(fd);
    return 0;
}

DWORD FileRead(HANDLE handle, void* buffer, DWORD n, DWORD* done) {
    *done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    // Like ReadFile on a disk file: keep going until n bytes or the end.
    while (*done < n) {
        const ssize_t got = ::read(Fd(handle), out + *done, n - *done);
        if (got < 0) {
            if (errno == EINTR) continue;
            return WindowsErrorFromErrno(errno);
        }
        if (got == 0) break;
        *done += static_cast<DWORD>(got);
    }
    return 0;
}

DWORD FileWrite(HANDLE handle, const void* buffer, DWORD n, DWORD* done) {
    *done = 0;
    const auto* in = static_cast<const unsigned char*>(buffer);
    while (*done < n) {
        const ssize_t put = ::write(Fd(handle), in + *done, n - *done);
        if (put < 0) {
            if (errno == EINTR) continue;
            return WindowsErrorFromErrno(errno);
        }
        *done += static_cast<DWORD>(put);
    }
    return 0;
}

DWORD FileSeek(HANDLE handle, int64_t offset, DWORD origin, uint64_t* position) {
    int whence;
    switch (origin) {
    case fc::kBegin: whence = SEEK_SET; break;
    case fc::kCurrent: whence = SEEK_CUR; break;
    case fc::kEnd: whence = SEEK_END; break;
    default: return we::kInvalidParameter;
    }
    // Windows calls a move before the start a bad parameter (errno says EINVAL as well).
    const off_t at = ::lseek(Fd(handle), static_cast<off_t>(offset), whence);
    if (at < 0) return WindowsErrorFromErrno(errno);
    *position = static_cast<uint64_t>(at);
    return 0;
}

DWORD FileGetSize(HANDLE handle, uint64_t* size) {
    struct stat st;
    if (::fstat(Fd(handle), &st) != 0) return WindowsErrorFromErrno(errno);
    *size = static_cast<uint64_t>(st.st_size);
    return 0;
}

DWORD FileSetEnd(HANDLE handle) {
    const off_t at = ::lseek(Fd(handle), 0, SEEK_CUR);
    if (at < 0) return WindowsErrorFromErrno(errno);
    return ::ftruncate(Fd(handle), at) == 0 ? 0 : WindowsErrorFromErrno(errno);
}

DWORD FileFlush(HANDLE handle) { return ::fsync(Fd(handle)) == 0 ? 0 : WindowsErrorFromErrno(errno); }

namespace {
// A lock request of `type` on n bytes from offset.
struct flock LockRange(short type, uint64_t offset, uint64_t n) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(n);
    return fl;
}
}  // namespace

DWORD FileLock(HANDLE handle, uint64_t offset, uint64_t n) {
    if (n == 0) return we::kInvalidParameter;
    // Open-file-description locks conflict between handles even inside one process, as on
    // Windows; a write lock needs no write access there.
    struct flock fl = LockRange(F_WRLCK, offset, n);
    if (::fcntl(Fd(handle), F_OFD_SETLK, &fl) == 0) return 0;
    if (errno == EBADF) {
        // A write lock on a read-only descriptor: take a read lock after checking no one else
        // holds any lock on the range, which is as exclusive as the descriptor allows.
        struct flock probe = fl;
        if (::fcntl(Fd(handle), F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
            return we::kLockViolation;
        fl.l_type = F_RDLCK;
        if (::fcntl(Fd(handle), F_OFD_SETLK, &fl) == 0) return 0;
    }
    return errno == EAGAIN || errno == EACCES ? we::kLockViolation : WindowsErrorFromErrno(errno);
}

DWORD FileUnlock(HANDLE handle, uint64_t offset, uint64_t n) {
    if (n == 0) return we::kInvalidParameter;
    struct flock fl = LockRange(F_UNLCK, offset, n);
    if (::fcntl(Fd(handle), F_OFD_SETLK, &fl) != 0) return WindowsErrorFromErrno(errno);
    return 0;
}

DWORD FileStatusOf(HANDLE handle, FileStatus* status) {
    struct stat st;
    if (::fstat(Fd(handle), &st) != 0) return WindowsErrorFromErrno(errno);
    FillStatus(st, status);
    return 0;
}

DWORD FileStatusByName(const char* name, FileStatus* status) {
    if (name == nullptr || *name == '\0') return we::kPathNotFound;
    struct stat st;
    if (::stat(name, &st) != 0) return NameError(name, errno);
    FillStatus(st, status);
    return 0;
}

DWORD FileApplyStatus(const char* name, const FileStatus& status) {
    if (name == nullptr || *name == '\0') return we::kPathNotFound;
    struct stat st;
    if (::stat(name, &st) != 0) return NameError(name, errno);
    struct timeval times[2] = {};
    times[0].tv_sec = static_cast<time_t>(status.accessed);
    times[1].tv_sec = static_cast<time_t>(status.modified);
    if (::utimes(name, times) != 0) return NameError(name, errno);
    mode_t mode = st.st_mode & 07777;
    mode = (status.attributes & 0x01u) ? (mode & ~0222) : (mode | 0200);
    if (::chmod(name, mode) != 0) return NameError(name, errno);
    return 0;
}

DWORD FileDelete(const char* name) {
    if (name == nullptr || *name == '\0') return we::kPathNotFound;
    struct stat st;
    if (::lstat(name, &st) == 0 && S_ISDIR(st.st_mode)) return we::kAccessDenied;
    return ::unlink(name) == 0 ? 0 : NameError(name, errno);
}

DWORD FileMove(const char* from, const char* to) {
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return we::kPathNotFound;
    struct stat st;
    if (::lstat(from, &st) != 0) return NameError(from, errno);
    if (::lstat(to, &st) == 0) return we::kAlreadyExists;
    if (::rename(from, to) != 0) return NameError(to, errno);
    return 0;
}

struct FileMapping {
    int fd;
};

DWORD MappingOpen(HANDLE file, FileMapping** mapping) {
    *mapping = nullptr;
    HANDLE copy;
    const DWORD err = FileDuplicate(file, &copy);
    if (err != 0) return err;
    auto* m = new (std::nothrow) FileMapping{Fd(copy)};
    if (m == nullptr) {
        FileClose(copy);
        return we::kNotEnoughMemory;
    }
    *mapping = m;
    return 0;
}

void MappingClose(FileMapping* mapping) {
    if (mapping == nullptr) return;
    FileClose(FromFd(mapping->fd));
    delete mapping;
}

DWORD MappingView(FileMapping* mapping, uint64_t offset, size_t n, const void** view) {
    *view = nullptr;
    // Populating up front saves a page fault per 4 KiB while the checksum walks the view.
    void* p = ::mmap(nullptr, n, PROT_READ, MAP_SHARED | MAP_POPULATE, mapping->fd,
                     static_cast<off_t>(offset));
    if (p == MAP_FAILED) return WindowsErrorFromErrno(errno);
    *view = p;
    return 0;
}

void MappingUnview(const void* view, size_t n) {
    if (view != nullptr) ::munmap(const_cast<void*>(view), n);
}

size_t MappingGranularity() {
    const long page = ::sysconf(_SC_PAGESIZE);
    return page > 0 ? static_cast<size_t>(page) : 4096;
}

void SleepMilliseconds(DWORD ms) {
    struct timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

}  // namespace zed::os
