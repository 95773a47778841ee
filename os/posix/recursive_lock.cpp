// Recursive lock on POSIX: a recursive mutex.
#include <mutex>
#include <new>

#include "os/recursive_lock.h"

namespace zed::os {

struct RecursiveLock {
    std::recursive_mutex mutex;
};

RecursiveLock* CreateRecursiveLock() { return new (std::nothrow) RecursiveLock; }
void DestroyRecursiveLock(RecursiveLock* lock) { delete lock; }
void EnterLock(RecursiveLock* lock) { lock->mutex.lock(); }
void LeaveLock(RecursiveLock* lock) { lock->mutex.unlock(); }

}  // namespace zed::os
