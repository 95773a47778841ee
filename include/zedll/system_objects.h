// Named system objects for the host programs: shared memory, a named event and a process lock.
#ifndef ZEDLL_SYSTEM_OBJECTS_H
#define ZEDLL_SYSTEM_OBJECTS_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// A block of memory shared between processes under a name. The first object of a name creates
/// the block (filled with zeros); every later one, in any process, maps the same block whatever
/// size it asks for. The block lives while any object of its name exists. A copy refers to the
/// same block (its pointer may differ) and keeps it alive on its own. Any thread; the memory
/// itself is not guarded.
class ZEDLL_API SYS_MemShare {
public:
    SYS_MemShare(const char* name, DWORD size);
    SYS_MemShare(const SYS_MemShare& other);
    SYS_MemShare& operator=(const SYS_MemShare& other);
    ~SYS_MemShare();
    /// The mapped memory, or null when the block could not be created or opened.
    void* GetPointer();

private:
    HANDLE mapping_;
    void* view_;
    char* name_;
};

/// A named manual-reset event that processes use as a flag. The first object of a name creates
/// it signalled; later ones open the same event. Copies share the event.
class ZEDLL_API SYS_Signal {
public:
    explicit SYS_Signal(const char* name);
    SYS_Signal(const SYS_Signal& other);
    SYS_Signal& operator=(const SYS_Signal& other);
    ~SYS_Signal();
    /// Sets the event; it stays set until UnSignalized.
    void Signalized();
    /// Resets the event.
    void UnSignalized();
    /// Waits up to `timeout` milliseconds (-1: no limit) for the event; false only when the wait
    /// timed out. The event stays set.
    bool IsSignalized(int timeout);

private:
    HANDLE event_;
};

/// A scoped lock on a key within one process: the constructor waits until no other thread of
/// the process holds a lock on the same key, the destructor lets the next one in. Re-entrant in
/// one thread. A copy holds the lock once more, on the copying thread, for its own lifetime.
/// Threads of different processes never contend.
class ZEDLL_API SYS_SynchroLock {
public:
    explicit SYS_SynchroLock(void* key);
    SYS_SynchroLock(const SYS_SynchroLock& other);
    SYS_SynchroLock& operator=(const SYS_SynchroLock& other);
    ~SYS_SynchroLock();

private:
    HANDLE mutex_;
};

#endif
