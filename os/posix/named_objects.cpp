// Named objects on POSIX: shm_open blocks for shared memory and events (a process-shared mutex,
// condition variable and flag), and a table of recursive mutexes for the per-process lock.
#include <fcntl.h>
#include <sys/file.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <new>
#include <string>

#include "os/windows_error.h"
#include "os/named_objects.h"
#include "os/posix/errno_map.h"

namespace zed::os {
namespace {

constexpr DWORD kInfinite = 0xFFFFFFFF;

// "/zedll.<kind>.<name>" with '/' and '%' escaped, so that distinct names stay distinct.
bool ShmName(const char* kind, const char* name, std::string* out) {
    std::string result = std::string("/zedll.") + kind + ".";
    for (const char* p = name; *p != 0; ++p) {
        if (*p == '/' || *p == '%') {
            result += (*p == '/') ? "%2f" : "%25";
        } else {
            result += *p;
        }
    }
    if (result.size() > 250) return false;
    *out = std::move(result);
    return true;
}

// Every shared block starts with this header; the user's bytes follow at kHeaderBytes.
struct SharedHeader {
    std::atomic<uint32_t> ready;  // set by the creator once the block is initialised
};
constexpr std::size_t kHeaderBytes = 64;

// One process-local handle; duplicates count here. Across processes, every user holds a shared
// flock on its own descriptor of the block for as long as it uses it. The kernel drops the locks
// of a process that dies, so "no lock held" means "no user left", whichever way they ended.
struct SharedBlock {
    std::string shm_name;  // empty for an unnamed block
    int fd = -1;           // named blocks: holds this user's lock
    pid_t owner = 0;       // the process that opened it (a forked child only unmaps)
    void* base = nullptr;
    std::size_t length = 0;
    std::atomic<int> handles{1};
    SharedHeader* header() const { return static_cast<SharedHeader*>(base); }
};

int Flock(int fd, int operation) {
    int rc;
    while ((rc = flock(fd, operation)) != 0 && errno == EINTR) {
    }
    return rc;
}

// Whether the name still refers to the block open on `fd` (a last user may have removed it, and
// someone else made a new one, since we opened it).
bool StillNamed(int fd, const std::string& shm_name) {
    struct stat mine {}, named {};
    const int other = shm_open(shm_name.c_str(), O_RDONLY, 0);
    if (other < 0) return false;
    const bool same = fstat(fd, &mine) == 0 && fstat(other, &named) == 0 && mine.st_dev == named.st_dev &&
                      mine.st_ino == named.st_ino;
    close(other);
    return same;
}

// Opens or creates the named block and takes this user's shared lock on it; -1 (errno set) on
// failure. A block no one holds any more was left by processes that ended without closing it:
// as the platform forgets such an object, it is removed and made anew.
int OpenNamedBlock(const std::string& shm_name, std::size_t bytes, bool* created) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        *created = false;
        int fd = shm_open(shm_name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            *created = true;
            Flock(fd, LOCK_EX);   // newcomers wait until the block has its size
        } else {
            if (errno != EEXIST) return -1;
            fd = shm_open(shm_name.c_str(), O_RDWR | O_CLOEXEC, 0600);
            if (fd < 0) continue;   // removed meanwhile: try again
            if (Flock(fd, LOCK_EX | LOCK_NB) == 0) {
                if (StillNamed(fd, shm_name)) shm_unlink(shm_name.c_str());
                close(fd);
                continue;
            }
            Flock(fd, LOCK_SH);
        }
        if (!StillNamed(fd, shm_name)) {   // its last user removed it before we held it
            close(fd);
            continue;
        }
        if (*created) {
            if (ftruncate(fd, static_cast<off_t>(kHeaderBytes + bytes)) != 0) {
                const int error = errno;
                shm_unlink(shm_name.c_str());
                close(fd);
                errno = error;
                return -1;
            }
            Flock(fd, LOCK_SH);
        }
        return fd;
    }
    errno = EAGAIN;
    return -1;
}

// Creates the named block with `bytes` of user data or opens the existing one. `created` tells
// the caller to initialise it and then set `ready`.
DWORD OpenBlock(const char* kind, const char* name, std::size_t bytes, SharedBlock** out, bool* created) {
    *out = nullptr;
    *created = false;
    auto block = new (std::nothrow) SharedBlock();
    if (block == nullptr) return win_error::kNotEnoughMemory;
    block->owner = getpid();
    if (name == nullptr) {
        block->length = kHeaderBytes + bytes;
        block->base = mmap(nullptr, block->length, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (block->base == MAP_FAILED) {
            delete block;
            return win_error::kNotEnoughMemory;
        }
        *created = true;
    } else {
        if (!ShmName(kind, name, &block->shm_name)) {
            delete block;
            return win_error::kFilenameTooLong;
        }
        block->fd = OpenNamedBlock(block->shm_name, bytes, created);
        struct stat status {};
        if (block->fd < 0 || fstat(block->fd, &status) != 0 || static_cast<std::size_t>(status.st_size) < kHeaderBytes) {
            const DWORD error = block->fd < 0 ? WindowsErrorFromErrno(errno) : win_error::kGenFailure;
            if (block->fd >= 0) close(block->fd);
            delete block;
            return error;
        }
        block->length = static_cast<std::size_t>(status.st_size);
        block->base = mmap(nullptr, block->length, PROT_READ | PROT_WRITE, MAP_SHARED, block->fd, 0);
        if (block->base == MAP_FAILED) {
            if (*created) shm_unlink(block->shm_name.c_str());
            close(block->fd);
            delete block;
            return win_error::kNotEnoughMemory;
        }
    }
    if (!*created) {
        for (int wait = 0; wait < 2000 && block->header()->ready.load() == 0; ++wait) usleep(1000);
    }
    *out = block;
    return 0;
}

void CloseBlock(SharedBlock* block) {
    if (block == nullptr || block->handles.fetch_sub(1) != 1) return;
    // The last user anywhere removes the name, as the platform forgets a named object whose
    // last handle is closed. Our shared lock turns exclusive only when no one else holds one.
    if (block->fd >= 0) {
        if (block->owner == getpid() && Flock(block->fd, LOCK_EX | LOCK_NB) == 0 &&
            StillNamed(block->fd, block->shm_name)) {
            shm_unlink(block->shm_name.c_str());
        }
        close(block->fd);
    }
    munmap(block->base, block->length);
    delete block;
}

SharedBlock* AsBlock(HANDLE handle) { return static_cast<SharedBlock*>(handle); }

struct EventState {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    uint32_t set;
};
EventState* StateOf(HANDLE event) {
    return reinterpret_cast<EventState*>(static_cast<char*>(AsBlock(event)->base) + kHeaderBytes);
}

void Lock(EventState* state) {
    if (pthread_mutex_lock(&state->mutex) == EOWNERDEAD) pthread_mutex_consistent(&state->mutex);
}

// The per-process lock: recursive mutexes by name, counted by their open handles.
struct NamedMutex {
    std::string name;
    std::recursive_mutex mutex;
    int handles = 0;
};
std::mutex g_mutex_table_lock;
std::map<std::string, NamedMutex*>& MutexTable() {
    static auto* table = new std::map<std::string, NamedMutex*>();
    return *table;
}

}  // namespace

DWORD CurrentProcessId() { return static_cast<DWORD>(getpid()); }

DWORD OpenSharedMemory(const char* name, DWORD size, HANDLE* mapping, void** view) {
    *mapping = nullptr;
    *view = nullptr;
    SharedBlock* block = nullptr;
    bool created = false;
    const DWORD error = OpenBlock("m", name, size, &block, &created);
    if (error != 0) return error;
    if (created && size == 0) {  // a new mapping needs a size, as on Windows
        CloseBlock(block);
        return win_error::kInvalidParameter;
    }
    if (created) block->header()->ready.store(1);
    *mapping = block;
    *view = static_cast<char*>(block->base) + kHeaderBytes;
    return 0;
}

DWORD DuplicateSharedMemory(HANDLE mapping, HANDLE* copy, void** view) {
    SharedBlock* block = AsBlock(mapping);
    block->handles.fetch_add(1);
    *copy = block;
    *view = static_cast<char*>(block->base) + kHeaderBytes;
    return 0;
}

void CloseSharedMemory(HANDLE mapping, void* view) { CloseBlock(AsBlock(mapping)); }

DWORD OpenNamedEvent(const char* name, HANDLE* event) {
    *event = nullptr;
    SharedBlock* block = nullptr;
    bool created = false;
    const DWORD error = OpenBlock("e", name, sizeof(EventState), &block, &created);
    if (error != 0) return error;
    if (block->length < kHeaderBytes + sizeof(EventState)) {
        CloseBlock(block);
        return win_error::kInvalidParameter;
    }
    if (created) {
        EventState* state = reinterpret_cast<EventState*>(static_cast<char*>(block->base) + kHeaderBytes);
        pthread_mutexattr_t mutex_attributes;
        pthread_mutexattr_init(&mutex_attributes);
        pthread_mutexattr_setpshared(&mutex_attributes, PTHREAD_PROCESS_SHARED);
        // A process that dies holding the mutex must not block the others for ever.
        pthread_mutexattr_setrobust(&mutex_attributes, PTHREAD_MUTEX_ROBUST);
        pthread_mutex_init(&state->mutex, &mutex_attributes);
        pthread_mutexattr_destroy(&mutex_attributes);
        pthread_condattr_t condition_attributes;
        pthread_condattr_init(&condition_attributes);
        pthread_condattr_setpshared(&condition_attributes, PTHREAD_PROCESS_SHARED);
        pthread_condattr_setclock(&condition_attributes, CLOCK_MONOTONIC);
        pthread_cond_init(&state->condition, &condition_attributes);
        pthread_condattr_destroy(&condition_attributes);
        state->set = 1;  // a new event starts signalled
        block->header()->ready.store(1);
    } else if (block->header()->ready.load() == 0) {
        CloseBlock(block);
        return win_error::kGenFailure;
    }
    *event = block;
    return 0;
}

DWORD DuplicateNamedEvent(HANDLE event, HANDLE* copy) {
    AsBlock(event)->handles.fetch_add(1);
    *copy = event;
    return 0;
}

void SetNamedEvent(HANDLE event) {
    EventState* state = StateOf(event);
    Lock(state);
    state->set = 1;
    pthread_cond_broadcast(&state->condition);
    pthread_mutex_unlock(&state->mutex);
}

void ResetNamedEvent(HANDLE event) {
    EventState* state = StateOf(event);
    Lock(state);
    state->set = 0;
    pthread_mutex_unlock(&state->mutex);
}

DWORD WaitNamedEvent(HANDLE event, DWORD timeout_ms) {
    EventState* state = StateOf(event);
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeout_ms / 1000;
    deadline.tv_nsec += static_cast<long>(timeout_ms % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    Lock(state);
    DWORD result = 0;
    while (state->set == 0) {
        const int error = timeout_ms == kInfinite
                              ? pthread_cond_wait(&state->condition, &state->mutex)
                              : pthread_cond_timedwait(&state->condition, &state->mutex, &deadline);
        if (error == EOWNERDEAD) pthread_mutex_consistent(&state->mutex);
        if (error == ETIMEDOUT && state->set == 0) {
            result = win_error::kWaitTimeout;
            break;
        }
    }
    pthread_mutex_unlock(&state->mutex);
    return result;
}

void CloseNamedEvent(HANDLE event) { CloseBlock(AsBlock(event)); }

DWORD OpenNamedMutex(const char* name, HANDLE* mutex) {
    std::lock_guard<std::mutex> guard(g_mutex_table_lock);
    auto& table = MutexTable();
    const std::string key = name != nullptr ? name : "";
    NamedMutex*& entry = table[key];
    if (entry == nullptr) {
        entry = new (std::nothrow) NamedMutex();
        if (entry == nullptr) {
            table.erase(key);
            return win_error::kNotEnoughMemory;
        }
        entry->name = key;
    }
    ++entry->handles;
    *mutex = entry;
    return 0;
}

DWORD DuplicateNamedMutex(HANDLE mutex, HANDLE* copy) {
    std::lock_guard<std::mutex> guard(g_mutex_table_lock);
    ++static_cast<NamedMutex*>(mutex)->handles;
    *copy = mutex;
    return 0;
}

void AcquireNamedMutex(HANDLE mutex) { static_cast<NamedMutex*>(mutex)->mutex.lock(); }
void ReleaseNamedMutex(HANDLE mutex) { static_cast<NamedMutex*>(mutex)->mutex.unlock(); }

void CloseNamedMutex(HANDLE mutex) {
    std::lock_guard<std::mutex> guard(g_mutex_table_lock);
    auto* entry = static_cast<NamedMutex*>(mutex);
    if (--entry->handles == 0) {
        MutexTable().erase(entry->name);
        delete entry;
    }
}

}  // namespace zed::os
