// Runs one test of this test program in a child process, for behaviour across processes.
#ifndef ZEDLL_TESTS_PLATFORM_CHILD_PROCESS_H
#define ZEDLL_TESTS_PLATFORM_CHILD_PROCESS_H

#include <cstdlib>
#include <string>
#include <vector>

#include "os/resource_module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace zedtest {

/// A child running `--gtest_filter=<test>` of this program (disabled tests included), with the
/// environment variable `name` set to `value`. Wait gives its exit code (-1 if it could not run
/// or was killed).
class ChildTest {
public:
    ChildTest(const std::string& test, const std::string& name, const std::string& value) {
        const std::string program = zed::os::HostProgramPath();
        const std::string filter = "--gtest_filter=" + test;
        const std::string disabled = "--gtest_also_run_disabled_tests";
        const std::string brief = "--gtest_brief=1";
#if defined(_WIN32)
        ::SetEnvironmentVariableA(name.c_str(), value.c_str());
        std::string line = "\"" + program + "\" " + filter + " " + disabled + " " + brief;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info)) {
            process_ = info.hProcess;
            ::CloseHandle(info.hThread);
        }
        ::SetEnvironmentVariableA(name.c_str(), nullptr);
#else
        setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(filter.c_str()),
                                   const_cast<char*>(disabled.c_str()), const_cast<char*>(brief.c_str()), nullptr};
        if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
        unsetenv(name.c_str());
#endif
    }
    ~ChildTest() { Wait(); }

    int Wait() {
#if defined(_WIN32)
        if (process_ == nullptr) return code_;
        if (::WaitForSingleObject(process_, 60000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 99);
        DWORD code = 0;
        ::GetExitCodeProcess(process_, &code);
        ::CloseHandle(process_);
        process_ = nullptr;
        code_ = static_cast<int>(code);
#else
        if (pid_ <= 0) return code_;
        int status = 0;
        if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) code_ = WEXITSTATUS(status);
        pid_ = -1;
#endif
        return code_;
    }

private:
    int code_ = -1;
#if defined(_WIN32)
    HANDLE process_ = nullptr;
#else
    pid_t pid_ = -1;
#endif
};

/// The value given to this process as a child, or empty when it runs as the parent.
inline std::string ChildValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace zedtest

#endif
