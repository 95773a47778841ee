// The registry on POSIX: one hive file per root under $ZEDLL_REGISTRY_DIR, shared between processes.
//
// Every write takes an advisory lock on the hive's lock file, re-reads the hive if another process
// replaced it, changes the tree and writes a whole new hive next to the old one (temporary file,
// fsync, rename), so a reader always finds either the old or the new file, never a torn one. A read
// only stat()s the hive; the file is parsed again only when it is a different file than last time.
// We keep the last file read open, so its inode cannot be reused and mistaken for it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "os/posix/registry_hive.h"
#include "os/registry.h"
#include "os/posix/errno_map.h"

namespace zed::os {

struct RegistryKey {
    RegRoot root;
    std::vector<std::string> parts;
};

namespace {

void (*g_before_rename)() = nullptr;
long g_loads = 0;

std::string StoreDir() {
    if (const char* dir = std::getenv("ZEDLL_REGISTRY_DIR"); dir != nullptr && *dir != 0) return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != 0) {
        return std::string(xdg) + "/zedll";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/zedll";
}

DWORD MakeDirs(const std::string& dir) {
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i == dir.size() || dir[i] == '/') {
            const std::string part = dir.substr(0, i);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return WindowsErrorFromErrno(errno);
        }
    }
    return 0;
}

class Hive {
public:
    explicit Hive(const char* name) : name_(name) {}

    // Brings the tree up to the file on disk (unless this process holds the lock and so has the
    // newest state). Works also when the store directory changed.
    void Refresh() {
        const std::string dir = StoreDir();
        if (dir != dir_ && !locked_) {
            Forget();
            if (lock_fd_ >= 0) ::close(lock_fd_);
            lock_fd_ = -1;
            dir_ = dir;
        }
        if (locked_) return;
        struct stat st {};
        if (::stat(Path().c_str(), &st) != 0) {
            if (loaded_ && held_fd_ < 0) return;  // still no file
            Forget();
            loaded_ = true;
            return;
        }
        if (loaded_ && held_fd_ >= 0 && st.st_dev == dev_ && st.st_ino == ino_ &&
            st.st_size == size_ && st.st_mtim.tv_sec == mtime_.tv_sec &&
            st.st_mtim.tv_nsec == mtime_.tv_nsec) {
            return;
        }
        Load();
    }

    // Takes the inter-process lock and refreshes under it. The lock file stays open between
    // writes; a forked child opens its own, so that it never shares the parent's lock.
    DWORD Lock() {
        if (locked_) return 0;
        Refresh();
        if (lock_fd_ >= 0 && lock_pid_ != ::getpid()) {
            ::close(lock_fd_);
            lock_fd_ = -1;
        }
        if (lock_fd_ < 0) {
            const std::string lock_path = dir_ + "/." + name_ + ".lock";
            int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd < 0 && errno == ENOENT) {
                if (const DWORD rc = MakeDirs(dir_); rc != 0) return rc;
                fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            }
            if (fd < 0) return WindowsErrorFromErrno(errno);
            lock_fd_ = fd;
            lock_pid_ = ::getpid();
        }
        while (::flock(lock_fd_, LOCK_EX) != 0) {
            if (errno != EINTR) return WindowsErrorFromErrno(errno);
        }
        loaded_ = loaded_ && held_fd_ >= 0;  // a missing file may have appeared meanwhile
        Refresh();
        locked_ = true;
        return 0;
    }

    // Writes the tree if it changed, then releases the lock.
    DWORD Unlock() {
        if (!locked_) return 0;
        const DWORD rc = dirty_ ? Commit() : 0;
        dirty_ = false;
        ::flock(lock_fd_, LOCK_UN);
        locked_ = false;
        if (rc != 0) Forget();  // the disk still has the old hive: drop what did not reach it
        return rc;
    }

    void MarkDirty() { dirty_ = true; }
    // The tree was read from the store directory now in use.
    bool Current() const { return loaded_ && dir_ == StoreDir(); }
    hive::Key& Root() { return root_; }

    ~Hive() {
        Forget();
        if (lock_fd_ >= 0) ::close(lock_fd_);
    }

private:
    std::string Path() const { return dir_ + "/" + name_ + ".reg"; }

    void Forget() {
        if (held_fd_ >= 0) ::close(held_fd_);
        held_fd_ = -1;
        root_.Clear();
        loaded_ = false;
    }

    void Remember(int fd) {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            ::close(fd);
            return;
        }
        if (held_fd_ >= 0) ::close(held_fd_);
        held_fd_ = fd;
        dev_ = st.st_dev;
        ino_ = st.st_ino;
        size_ = st.st_size;
        mtime_ = st.st_mtim;
        loaded_ = true;
    }

    void Load() {
        Forget();
        const int fd = ::open(Path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            loaded_ = true;
            return;
        }
        std::string text;
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            text.append(chunk, static_cast<size_t>(n));
        }
        ++g_loads;
        hive::Parse(text, &root_);
        Remember(fd);
    }

    DWORD Commit() {
        const std::string text = hive::Serialize(root_, name_);
        // Writers take turns under the lock, so one temporary name serves them all: what a killed
        // writer left behind is overwritten by the next one and leaves with its rename.
        const std::string tmp = Path() + ".tmp";
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) return WindowsErrorFromErrno(errno);
        size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                const int e = n < 0 ? errno : ENOSPC;
                ::close(fd);
                ::unlink(tmp.c_str());
                return WindowsErrorFromErrno(e);
            }
            done += static_cast<size_t>(n);
        }
        if (::fdatasync(fd) != 0) {
            const int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return WindowsErrorFromErrno(e);
        }
        if (g_before_rename != nullptr) g_before_rename();
        if (::rename(tmp.c_str(), Path().c_str()) != 0) {
            const int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return WindowsErrorFromErrno(e);
        }
        Remember(fd);
        return 0;
    }

    const char* name_;
    std::string dir_;
    hive::Key root_;
    bool loaded_ = false;
    bool dirty_ = false;
    int held_fd_ = -1;
    int lock_fd_ = -1;
    pid_t lock_pid_ = 0;
    bool locked_ = false;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    off_t size_ = 0;
    timespec mtime_{};
};

struct Store {
    std::recursive_mutex mutex;
    Hive user{"HKEY_CURRENT_USER"};
    Hive machine{"HKEY_LOCAL_MACHINE"};
    int batch_depth = 0;

    Hive& Of(RegRoot root) { return root == RegRoot::kCurrentUser ? user : machine; }
};

Store& TheStore() {
    static Store* store = new Store;  // never destroyed: keys may be used from static destructors
    return *store;
}

// Walks from the root; null when a component is missing.
hive::Key* Resolve(Hive& hive, const std::vector<std::string>& parts) {
    hive::Key* key = &hive.Root();
    for (const std::string& p : parts) {
        key = key->FindSubkey(p);
        if (key == nullptr) return nullptr;
    }
    return key;
}

std::string_view NameOf(const char* name) { return name != nullptr ? name : ""; }

// One write: under the lock unless a batch already holds it, committed at the end.
template <typename Change>
DWORD Write(RegRoot root, Change change) {
    Store& s = TheStore();
    std::lock_guard<std::recursive_mutex> guard(s.mutex);
    if (s.batch_depth > 0) {
        // A batch locks both hives in one fixed order, so two batching processes cannot deadlock.
        if (const DWORD rc = s.user.Lock(); rc != 0) return rc;
        if (const DWORD rc = s.machine.Lock(); rc != 0) return rc;
    }
    Hive& hive = s.Of(root);
    if (const DWORD rc = hive.Lock(); rc != 0) return rc;
    const DWORD rc = change(hive);
    if (rc == 0) hive.MarkDirty();
    if (s.batch_depth > 0) return rc;
    const DWORD commit = hive.Unlock();
    return rc != 0 ? rc : commit;
}

// The open key's node, with its hive brought up to date first; the caller holds the store lock.
DWORD Lookup(Store& s, RegKey key, hive::Key** out) {
    Hive& hive = s.Of(key->root);
    hive.Refresh();
    *out = Resolve(hive, key->parts);
    return *out != nullptr ? DWORD{0} : DWORD{win_error::kKeyDeleted};
}

}  // namespace

DWORD RegistryOpen(RegRoot root, const char* path, RegAccess, RegKey* out) {
    *out = nullptr;
    std::vector<std::string> parts = hive::SplitPath(NameOf(path));
    Store& s = TheStore();
    std::lock_guard<std::recursive_mutex> guard(s.mutex);
    Hive& hive = s.Of(root);
    // A key already known opens without looking at the disk: the first operation on the handle
    // does (and finds it deleted, if another process removed it meanwhile).
    if (!hive.Current() || Resolve(hive, parts) == nullptr) {
        hive.Refresh();
        if (Resolve(hive, parts) == nullptr) return win_error::kFileNotFound;
    }
    *out = new RegistryKey{root, std::move(parts)};
    return 0;
}

DWORD RegistryCreate(RegRoot root, const char* path, RegKey* out) {
    *out = nullptr;
    std::vector<std::string> parts = hive::SplitPath(NameOf(path));
    if (parts.size() > hive::kMaxKeyDepth) return win_error::kInvalidParameter;
    for (const std::string& p : parts) {
        if (!hive::ValidKeyName(p)) return win_error::kInvalidParameter;
    }
    {
        // Most creations find the key already there: no write then.
        Store& s = TheStore();
        std::lock_guard<std::recursive_mutex> guard(s.mutex);
        Hive& hive = s.Of(root);
        hive.Refresh();
        if (Resolve(hive, parts) != nullptr) {
            *out = new RegistryKey{root, std::move(parts)};
            return 0;
        }
    }
    const DWORD rc = Write(root, [&](Hive& hive) -> DWORD {
        hive::Key* key = &hive.Root();
        for (const std::string& p : parts) key = key->AddSubkey(p);
        return 0;
    });
    if (rc == 0) *out = new RegistryKey{root, std::move(parts)};
    return rc;
}

void RegistryClose(RegKey key) { delete key; }

DWORD RegistryQuery(RegKey key, const char* name, DWORD* type, void* data, DWORD* size) {
    if (key == nullptr) return win_error::kInvalidHandle;
    Store& s = TheStore();
    std::lock_guard<std::recursive_mutex> guard(s.mutex);
    hive::Key* k = nullptr;
    if (const DWORD rc = Lookup(s, key, &k); rc != 0) return rc;
    const hive::Value* v = k->FindValue(NameOf(name));
    if (v == nullptr) return win_error::kFileNotFound;
    if (type != nullptr) *type = v->type;
    const DWORD needed = static_cast<DWORD>(v->data.size());
    if (data != nullptr) {
        if (size == nullptr) return win_error::kInvalidParameter;
        if (*size < needed) {
            *size = needed;
            return win_error::kMoreData;
        }
        if (needed != 0) std::memcpy(data, v->data.data(), needed);
    }
    if (size != nullptr) *size = needed;
    return 0;
}

DWORD RegistrySet(RegKey key, const char* name, DWORD type, const void* data, DWORD size) {
    if (key == nullptr) return win_error::kInvalidHandle;
    if (data == nullptr && size != 0) return win_error::kInvalidParameter;
    std::string bytes(static_cast<const char*>(data), data != nullptr ? size : 0);
    return Write(key->root, [&](Hive& hive) -> DWORD {
        hive::Key* k = Resolve(hive, key->parts);
        if (k == nullptr) return win_error::kKeyDeleted;
        k->SetValue(NameOf(name), type, std::move(bytes));
        return 0;
    });
}

DWORD RegistryDeleteValue(RegKey key, const char* name) {
    if (key == nullptr) return win_error::kInvalidHandle;
    return Write(key->root, [&](Hive& hive) -> DWORD {
        hive::Key* k = Resolve(hive, key->parts);
        if (k == nullptr) return win_error::kKeyDeleted;
        return k->RemoveValue(NameOf(name)) ? DWORD{0} : DWORD{win_error::kFileNotFound};
    });
}

DWORD RegistryDeleteKey(RegRoot root, const char* path) {
    std::vector<std::string> parts = hive::SplitPath(NameOf(path));
    if (parts.empty()) return win_error::kAccessDenied;  // the root itself stays
    return Write(root, [&](Hive& hive) -> DWORD {
        const std::string last = parts.back();
        parts.pop_back();
        hive::Key* parent = Resolve(hive, parts);
        hive::Key* k = parent != nullptr ? parent->FindSubkey(last) : nullptr;
        if (k == nullptr) return win_error::kFileNotFound;
        if (!k->subkeys.empty()) return win_error::kAccessDenied;
        parent->RemoveSubkey(last);
        return 0;
    });
}

DWORD RegistryEnumValue(RegKey key, DWORD index, char* name, DWORD* name_size, DWORD* type,
                        void* data, DWORD* data_size) {
    if (key == nullptr) return win_error::kInvalidHandle;
    if (name == nullptr || name_size == nullptr) return win_error::kInvalidParameter;
    Store& s = TheStore();
    std::lock_guard<std::recursive_mutex> guard(s.mutex);
    hive::Key* k = nullptr;
    if (const DWORD rc = Lookup(s, key, &k); rc != 0) return rc;
    if (index >= k->values.size()) return win_error::kNoMoreItems;
    const hive::Value& v = k->values[index];
    if (v.name.size() + 1 > *name_size) return win_error::kMoreData;
    const DWORD needed = static_cast<DWORD>(v.data.size());
    if (data != nullptr && (data_size == nullptr || *data_size < needed)) {
        if (data_size != nullptr) *data_size = needed;
        return win_error::kMoreData;
    }
    std::memcpy(name, v.name.c_str(), v.name.size() + 1);
    *name_size = static_cast<DWORD>(v.name.size());
    if (type != nullptr) *type = v.type;
    if (data != nullptr && needed != 0) std::memcpy(data, v.data.data(), needed);
    if (data_size != nullptr) *data_size = needed;
    return 0;
}

DWORD RegistryEnumKey(RegKey key, DWORD index, char* name, DWORD* name_size) {
    if (key == nullptr) return win_error::kInvalidHandle;
    if (name == nullptr || name_size == nullptr) return win_error::kInvalidParameter;
    Store& s = TheStore();
    std::lock_guard<std::recursive_mutex> guard(s.mutex);
    hive::Key* k = nullptr;
    if (const DWORD rc = Lookup(s, key, &k); rc != 0) return rc;
    if (index >= k->subkeys.size()) return win_error::kNoMoreItems;
    const std::string& n = k->subkeys[index]->name;
    if (n.size() + 1 > *name_size) return win_error::kMoreData;
    std::memcpy(name, n.c_str(), n.size() + 1);
    *name_size = static_cast<DWORD>(n.size());
    return 0;
}

RegistryBatch::RegistryBatch() {
    Store& s = TheStore();
    s.mutex.lock();  // held until the batch ends: other threads wait for the commit
    ++s.batch_depth;
}

RegistryBatch::~RegistryBatch() {
    Store& s = TheStore();
    if (--s.batch_depth == 0) {
        s.machine.Unlock();
        s.user.Unlock();
    }
    s.mutex.unlock();
}

namespace registry_testing {
void SetBeforeRenameHook(void (*hook)()) { g_before_rename = hook; }
long HiveLoads() { return g_loads; }
}  // namespace registry_testing

}  // namespace zed::os
