// A test fixture with a registry of its own: a fresh store directory on Linux, and on every
// platform product names no other run uses, whose keys are removed afterwards.
#ifndef ZEDLL_TESTS_SETTINGS_REGISTRY_FIXTURE_H
#define ZEDLL_TESTS_SETTINGS_REGISTRY_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "os/registry.h"

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
#if !defined(_WIN32)
        char dir_template[] = "/tmp/zedll-reg-test.XXXXXX";
        const char* dir = mkdtemp(dir_template);
        ASSERT_NE(dir, nullptr);
        dir_ = dir;
        setenv("ZEDLL_REGISTRY_DIR", dir_.c_str(), 1);
#endif
        static int counter = 0;  // product names unique to this process and call
#if defined(_WIN32)
        company_ = "ZedTestCo_" + std::to_string(_getpid()) + "_" + std::to_string(++counter);
#else
        company_ = "ZedTestCo_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
#endif
    }

    void TearDown() override {
        DeleteTree(zed::os::RegRoot::kCurrentUser, "Software\\" + company_);
        DeleteTree(zed::os::RegRoot::kLocalMachine, "Software\\" + company_);
#if !defined(_WIN32)
        std::string cmd = "rm -rf '" + dir_ + "'";
        if (std::system(cmd.c_str()) != 0) ADD_FAILURE() << "could not remove " << dir_;
        unsetenv("ZEDLL_REGISTRY_DIR");
#endif
    }

    /// A path for a scratch file of this test.
    std::string TempFile(const char* name) const {
#if defined(_WIN32)
        const char* tmp = std::getenv("TEMP");
        return std::string(tmp ? tmp : ".") + "\\" + company_ + "_" + name;
#else
        return dir_ + "/" + name;
#endif
    }

    std::string company_;
    std::string dir_;
};

}  // namespace zedtest

#endif
