// Platform interface of the named system objects: shared memory, named events, named mutexes.
#ifndef ZEDLL_OS_NAMED_OBJECTS_H
#define ZEDLL_OS_NAMED_OBJECTS_H

#include <cstddef>

#include "zedll/platform_types.h"

namespace zed {

/// The name of the process lock on `key`: "SYS_ZEr_Lib_Lock", the process identifier and the
/// key's value, both in lower-case hexadecimal. `buffer` holds at least 50 bytes.
void FormatLockName(char* buffer, std::size_t capacity, DWORD process_id, const void* key);

namespace os {

/// Every call returns 0 or a Windows error number. Handles are null when a call failed.
DWORD CurrentProcessId();

/// Creates the named block of `size` bytes (zero-filled) or opens the existing one and maps it
/// for writing. When only the view fails, `mapping` stays open (the caller closes it) and `view`
/// is null; on any other failure both are null.
DWORD OpenSharedMemory(const char* name, DWORD size, HANDLE* mapping, void** view);
/// A second handle and view of the same block; on failure as OpenSharedMemory.
DWORD DuplicateSharedMemory(HANDLE mapping, HANDLE* copy, void** view);
void CloseSharedMemory(HANDLE mapping, void* view);

/// Opens the named event or creates it (manual reset, initially set).
DWORD OpenNamedEvent(const char* name, HANDLE* event);
DWORD DuplicateNamedEvent(HANDLE event, HANDLE* copy);
void SetNamedEvent(HANDLE event);
void ResetNamedEvent(HANDLE event);
/// 0 when the event is set, 258 when `timeout_ms` passed first, another error otherwise.
/// 0xFFFFFFFF waits without limit.
DWORD WaitNamedEvent(HANDLE event, DWORD timeout_ms);
void CloseNamedEvent(HANDLE event);

/// Creates or opens the named mutex of this process (not owned).
DWORD OpenNamedMutex(const char* name, HANDLE* mutex);
DWORD DuplicateNamedMutex(HANDLE mutex, HANDLE* copy);
/// Waits without limit; re-entrant in one thread.
void AcquireNamedMutex(HANDLE mutex);
void ReleaseNamedMutex(HANDLE mutex);
void CloseNamedMutex(HANDLE mutex);

}  // namespace os
}  // namespace zed

#endif
