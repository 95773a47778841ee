// SYS_MemShare, SYS_Signal and SYS_SynchroLock over the named-object platform calls.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os/windows_error.h"
#include "os/heap.h"
#include "os/named_objects.h"
#include "zedll/system_objects.h"

namespace zed {

void FormatLockName(char* buffer, std::size_t capacity, DWORD process_id, const void* key) {
    std::snprintf(buffer, capacity, "SYS_ZEr_Lib_Lock%x%" PRIxPTR, static_cast<unsigned>(process_id),
                  reinterpret_cast<std::uintptr_t>(key));
}

namespace {
void ReleaseMemShare(HANDLE* mapping, void** view, char** name) {
    if (*mapping != nullptr) os::CloseSharedMemory(*mapping, *view);
    *mapping = nullptr;
    *view = nullptr;
    HeapRelease(*name);
    *name = nullptr;
}

}  // namespace

}  // namespace zed

SYS_MemShare::SYS_MemShare(const char* name, DWORD size)
    : mapping_(nullptr), view_(nullptr), name_(zed::HeapCopyText(name)) {
    // A mapping whose view failed stays held (and is closed with the object); only the view is null.
    if (zed::os::OpenSharedMemory(name, size, &mapping_, &view_) != 0) view_ = nullptr;
}

SYS_MemShare::SYS_MemShare(const SYS_MemShare& other)
    : mapping_(nullptr), view_(nullptr), name_(zed::HeapCopyText(other.name_)) {
    if (other.mapping_ != nullptr &&
        zed::os::DuplicateSharedMemory(other.mapping_, &mapping_, &view_) != 0) {
        view_ = nullptr;
    }
}

SYS_MemShare& SYS_MemShare::operator=(const SYS_MemShare& other) {
    if (this == &other) return *this;
    zed::ReleaseMemShare(&mapping_, &view_, &name_);
    name_ = zed::HeapCopyText(other.name_);
    if (other.mapping_ != nullptr &&
        zed::os::DuplicateSharedMemory(other.mapping_, &mapping_, &view_) != 0) {
        view_ = nullptr;
    }
    return *this;
}

SYS_MemShare::~SYS_MemShare() { zed::ReleaseMemShare(&mapping_, &view_, &name_); }

void* SYS_MemShare::GetPointer() { return view_; }

SYS_Signal::SYS_Signal(const char* name) : event_(nullptr) {
    if (zed::os::OpenNamedEvent(name, &event_) != 0) event_ = nullptr;
}

SYS_Signal::SYS_Signal(const SYS_Signal& other) : event_(nullptr) {
    if (other.event_ != nullptr && zed::os::DuplicateNamedEvent(other.event_, &event_) != 0) {
        event_ = nullptr;
    }
}

SYS_Signal& SYS_Signal::operator=(const SYS_Signal& other) {
    if (this == &other) return *this;
    if (event_ != nullptr) zed::os::CloseNamedEvent(event_);
    event_ = nullptr;
    if (other.event_ != nullptr && zed::os::DuplicateNamedEvent(other.event_, &event_) != 0) {
        event_ = nullptr;
    }
    return *this;
}

SYS_Signal::~SYS_Signal() {
    if (event_ != nullptr) zed::os::CloseNamedEvent(event_);
}

void SYS_Signal::Signalized() {
    if (event_ != nullptr) zed::os::SetNamedEvent(event_);
}

void SYS_Signal::UnSignalized() {
    if (event_ != nullptr) zed::os::ResetNamedEvent(event_);
}

bool SYS_Signal::IsSignalized(int timeout) {
    // Without an event the wait fails, which is not a time-out.
    if (event_ == nullptr) return true;
    return zed::os::WaitNamedEvent(event_, static_cast<DWORD>(timeout)) != zed::win_error::kWaitTimeout;
}

SYS_SynchroLock::SYS_SynchroLock(void* key) : mutex_(nullptr) {
    char name[50];
    zed::FormatLockName(name, sizeof name, zed::os::CurrentProcessId(), key);
    if (zed::os::OpenNamedMutex(name, &mutex_) == 0) {
        zed::os::AcquireNamedMutex(mutex_);
    } else {
        mutex_ = nullptr;
    }
}

SYS_SynchroLock::SYS_SynchroLock(const SYS_SynchroLock& other) : mutex_(nullptr) {
    if (other.mutex_ != nullptr && zed::os::DuplicateNamedMutex(other.mutex_, &mutex_) == 0) {
        zed::os::AcquireNamedMutex(mutex_);
    } else {
        mutex_ = nullptr;
    }
}

SYS_SynchroLock& SYS_SynchroLock::operator=(const SYS_SynchroLock& other) {
    if (this == &other) return *this;
    HANDLE copy = nullptr;
    if (other.mutex_ != nullptr && zed::os::DuplicateNamedMutex(other.mutex_, &copy) == 0) {
        zed::os::AcquireNamedMutex(copy);
    } else {
        copy = nullptr;
    }
    if (mutex_ != nullptr) {
        zed::os::ReleaseNamedMutex(mutex_);
        zed::os::CloseNamedMutex(mutex_);
    }
    mutex_ = copy;
    return *this;
}

SYS_SynchroLock::~SYS_SynchroLock() {
    if (mutex_ != nullptr) {
        zed::os::ReleaseNamedMutex(mutex_);
        zed::os::CloseNamedMutex(mutex_);
    }
}
