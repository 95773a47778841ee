// Every Windows seam reports a failed call with a non-zero number: each row makes one call fail
// for real and reads what the seam gives back.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "os/file.h"
#include "os/named_objects.h"
#include "os/registry.h"
#include "os/resource_module.h"
#include "os/time_zone.h"

namespace {

using namespace zed::os;

struct FailingCall {
    const char* what;
    std::function<DWORD()> call;
};

TEST(FailureCodes, EveryFailedCallGivesAnError) {
    const FailingCall rows[] = {
        {"file open in a missing folder",
         [] {
             HANDLE h = nullptr;
             return FileOpen("C:\\no-such-folder-zedll\\x.bin", zed::file_const::kOpenExisting,
                             zed::file_const::kGenericRead, 0, 0, &h);
         }},
        {"file read through a closed handle",
         [] {
             char byte;
             DWORD done = 0;
             return FileRead(InvalidFileHandle(), &byte, 1, &done);
         }},
        {"mapping of a handle that is no file",
         [] {
             FileMapping* mapping = nullptr;
             return MappingOpen(InvalidFileHandle(), &mapping);
         }},
        {"status of a missing file",
         [] {
             zed::FileStatus status{};
             return FileStatusByName("C:\\no-such-folder-zedll\\x.bin", &status);
         }},
        {"shared memory of no size",
         [] {
             HANDLE mapping = nullptr;
             void* view = nullptr;
             const DWORD rc = OpenSharedMemory("zedll-test-empty-block", 0, &mapping, &view);
             CloseSharedMemory(mapping, view);
             return rc;
         }},
        {"duplicate of a null event",
         [] {
             HANDLE copy = nullptr;
             return DuplicateNamedEvent(nullptr, &copy);
         }},
        {"wait on a null event", [] { return WaitNamedEvent(nullptr, 0); }},
        {"mutex under the name of an event",
         [] {
             HANDLE event = nullptr, mutex = nullptr;
             EXPECT_EQ(OpenNamedEvent("zedll-test-taken-name", &event), 0u);
             const DWORD rc = OpenNamedMutex("zedll-test-taken-name", &mutex);
             if (mutex != nullptr) CloseNamedMutex(mutex);
             CloseNamedEvent(event);
             return rc;
         }},
        {"module that does not exist",
         [] {
             HMODULE module = nullptr;
             return LoadResourceModule("ZEDNOPE0000.DLL", &module);
         }},
        {"file time past the calendar",
         [] {
             CivilTime local;
             return FileTimeToLocal(~0ull, &local);
         }},
        {"registry key that does not exist",
         [] {
             RegKey key = nullptr;
             return RegistryOpen(RegRoot::kCurrentUser, "Software\\zedll-no-such-key\\x",
                                 RegAccess::kRead, &key);
         }},
    };
    for (const FailingCall& row : rows) {
        ::SetLastError(0);
        EXPECT_NE(row.call(), 0u) << row.what;
    }
}

}  // namespace
