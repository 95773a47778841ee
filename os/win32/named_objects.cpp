// Named objects on Windows: file mappings backed by the paging file, events and mutexes.
#include <windows.h>

#include "os/named_objects.h"
#include "os/win32/last_error.h"

namespace zed::os {
namespace {

DWORD Duplicate(HANDLE handle, HANDLE* copy) {
    *copy = nullptr;
    HANDLE process = ::GetCurrentProcess();
    if (!::DuplicateHandle(process, handle, process, copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        *copy = nullptr;
        return FailedCallError();
    }
    return 0;
}

}  // namespace

DWORD CurrentProcessId() { return ::GetCurrentProcessId(); }

DWORD OpenSharedMemory(const char* name, DWORD size, HANDLE* mapping, void** view) {
    *view = nullptr;
    *mapping = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    if (*mapping == nullptr) return FailedCallError();
    *view = ::MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, 0);
    return *view != nullptr ? 0 : FailedCallError();
}

DWORD DuplicateSharedMemory(HANDLE mapping, HANDLE* copy, void** view) {
    *view = nullptr;
    const DWORD error = Duplicate(mapping, copy);
    if (error != 0) return error;
    *view = ::MapViewOfFile(*copy, FILE_MAP_WRITE, 0, 0, 0);
    return *view != nullptr ? 0 : FailedCallError();
}

void CloseSharedMemory(HANDLE mapping, void* view) {
    if (view != nullptr) ::UnmapViewOfFile(view);
    if (mapping != nullptr) ::CloseHandle(mapping);
}

DWORD OpenNamedEvent(const char* name, HANDLE* event) {
    *event = ::OpenEventA(EVENT_ALL_ACCESS, FALSE, name);
    if (*event == nullptr) *event = ::CreateEventA(nullptr, TRUE, TRUE, name);
    return *event != nullptr ? 0 : FailedCallError();
}

DWORD DuplicateNamedEvent(HANDLE event, HANDLE* copy) { return Duplicate(event, copy); }
void SetNamedEvent(HANDLE event) { ::SetEvent(event); }
void ResetNamedEvent(HANDLE event) { ::ResetEvent(event); }

DWORD WaitNamedEvent(HANDLE event, DWORD timeout_ms) {
    const DWORD result = ::WaitForSingleObject(event, timeout_ms);
    if (result == WAIT_OBJECT_0) return 0;
    if (result == WAIT_TIMEOUT) return WAIT_TIMEOUT;
    return result == WAIT_FAILED ? FailedCallError() : result;
}

void CloseNamedEvent(HANDLE event) { ::CloseHandle(event); }

DWORD OpenNamedMutex(const char* name, HANDLE* mutex) {
    *mutex = ::CreateMutexA(nullptr, FALSE, name);
    return *mutex != nullptr ? 0 : FailedCallError();
}

DWORD DuplicateNamedMutex(HANDLE mutex, HANDLE* copy) { return Duplicate(mutex, copy); }
void AcquireNamedMutex(HANDLE mutex) { ::WaitForSingleObject(mutex, INFINITE); }
void ReleaseNamedMutex(HANDLE mutex) { ::ReleaseMutex(mutex); }
void CloseNamedMutex(HANDLE mutex) { ::CloseHandle(mutex); }

}  // namespace zed::os
