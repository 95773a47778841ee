// A test fixture with a registry of its own: a fresh store directory on Linux, and on every
// platform product names no other run uses, whose keys are removed afterwards.
#ifndef ZEDLL_TESTS_SUPPORT_REGISTRY_FIXTURE_H
#define ZEDLL_TESTS_SUPPORT_REGISTRY_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "os/registry.h"
#include "tests/support/registry_sandbox.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

namespace zedtest {

/// Removes a key and everything below it.
inline void DeleteTree(zed::os::RegRoot root, const std::string& path) {
    using namespace zed::os;
    std::vector<std::string> subs;
    {
        ScopedRegKey key;
        if (RegistryOpen(root, path.c_str(), RegAccess::kAll, key.Out()) != 0) return;
        char name[512];
        for (DWORD i = 0, size = sizeof name; RegistryEnumKey(key.Get(), i, name, &size) == 0; ++i, size = sizeof name) {
            subs.emplace_back(name, size);
        }
    }
    for (const std::string& s : subs) DeleteTree(root, path + "\\" + s);
    RegistryDeleteKey(root, path.c_str());
}

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox_ = std::make_unique<RegistrySandbox>();
        static int counter = 0;  // product names unique to this process and call
        company_ = "ZedTestCo_" + std::to_string(ProcessId()) + "_" + std::to_string(++counter);
    }

    void TearDown() override {
        DeleteTree(zed::os::RegRoot::kCurrentUser, "Software\\" + company_);
        DeleteTree(zed::os::RegRoot::kLocalMachine, "Software\\" + company_);
        sandbox_.reset();
    }

    /// A path for a scratch file of this test.
    std::string TempFile(const char* name) const { return sandbox_->dir().File(company_ + "_" + name); }

    std::string company_;

private:
    static long ProcessId() {
#if defined(_WIN32)
        return _getpid();
#else
        return getpid();
#endif
    }
    std::unique_ptr<RegistrySandbox> sandbox_;
};

}  // namespace zedtest

#endif
