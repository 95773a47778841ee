// A recursive lock for objects shared between threads (a critical section on Windows).
#ifndef ZEDLL_OS_RECURSIVE_LOCK_H
#define ZEDLL_OS_RECURSIVE_LOCK_H

namespace zed::os {

struct RecursiveLock;

/// A new lock, or null when it could not be made. Release it with DestroyRecursiveLock.
RecursiveLock* CreateRecursiveLock();
/// Null is ignored.
void DestroyRecursiveLock(RecursiveLock* lock);
/// The owning thread may enter again; each Enter needs its Leave.
void EnterLock(RecursiveLock* lock);
void LeaveLock(RecursiveLock* lock);

}  // namespace zed::os

#endif
