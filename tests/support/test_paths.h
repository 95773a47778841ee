// The directory of the running test program, where the example language modules are built.
#ifndef ZEDLL_TESTS_SUPPORT_TEST_PATHS_H
#define ZEDLL_TESTS_SUPPORT_TEST_PATHS_H

#include <filesystem>
#include <string>

#include "os/resource_module.h"

namespace zedtest {

/// The directory of the running test program, where the example language modules are built.
inline std::filesystem::path ProgramDirectory() {
    return std::filesystem::path(zed::os::HostProgramPath()).parent_path();
}

}  // namespace zedtest

#endif
