// Recursive lock on Windows: a critical section.
#include <windows.h>

#include <new>

#include "os/recursive_lock.h"

namespace zed::os {

struct RecursiveLock {
    CRITICAL_SECTION section;
};

RecursiveLock* CreateRecursiveLock() {
    auto* lock = new (std::nothrow) RecursiveLock;
    if (lock != nullptr) ::InitializeCriticalSection(&lock->section);
    return lock;
}
void DestroyRecursiveLock(RecursiveLock* lock) {
    if (lock == nullptr) return;
    ::DeleteCriticalSection(&lock->section);
    delete lock;
}
void EnterLock(RecursiveLock* lock) { ::EnterCriticalSection(&lock->section); }
void LeaveLock(RecursiveLock* lock) { ::LeaveCriticalSection(&lock->section); }

}  // namespace zed::os
