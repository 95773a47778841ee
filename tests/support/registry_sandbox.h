// A registry of the test's own: on Linux the store moves to a fresh scratch folder for the
// sandbox's lifetime; on Windows the real registry is used and the sandbox only gives a scratch
// folder (tests name their keys uniquely and remove them, see RegistryFixture).
#ifndef ZEDLL_TESTS_SUPPORT_REGISTRY_SANDBOX_H
#define ZEDLL_TESTS_SUPPORT_REGISTRY_SANDBOX_H

#include <cstdlib>
#include <string>

#include "tests/support/scratch_dir.h"

namespace zedtest {

class RegistrySandbox {
public:
    RegistrySandbox() {
#if !defined(_WIN32)
        setenv("ZEDLL_REGISTRY_DIR", dir_.path().string().c_str(), 1);
#endif
    }
    ~RegistrySandbox() {
#if !defined(_WIN32)
        unsetenv("ZEDLL_REGISTRY_DIR");
#endif
    }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    /// The store's folder on Linux; a scratch folder for the test's files everywhere.
    const ScratchDir& dir() const { return dir_; }

private:
    ScratchDir dir_;
};

}  // namespace zedtest

#endif
