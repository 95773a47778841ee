// Paths the platform tests share: the directory of the test program and scratch directories.
#ifndef ZEDLL_TESTS_PLATFORM_TEST_PATHS_H
#define ZEDLL_TESTS_PLATFORM_TEST_PATHS_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "os/resource_module.h"

namespace zedtest {

/// The directory of the running test program, where the example language modules are built.
inline std::filesystem::path ProgramDirectory() {
    return std::filesystem::path(zed::os::HostProgramPath()).parent_path();
}

/// A fresh empty directory under the system's temporary directory, removed with the object. Its
/// name comes from the tag and the running test, so that a death test's child process (which
/// runs the test again) finds the same directory.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& tag) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (tag + "-" + (test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "x"));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace zedtest

#endif
