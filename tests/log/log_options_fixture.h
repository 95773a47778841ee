// The log options' tests start from released names, the default method and an empty path, in a
// registry sandbox of their own.
#ifndef ZEDLL_TESTS_LOG_OPTIONS_FIXTURE_H
#define ZEDLL_TESTS_LOG_OPTIONS_FIXTURE_H

#include <string>

#include "log/log_options.h"
#include "tests/support/registry_fixture.h"
#include "zedll.h"

namespace zedtest {

class LogOptionsTest : public zedtest::RegistryFixture {
protected:
    void SetUp() override {
        RegistryFixture::SetUp();
        zed::log_options::ReleaseNames();
        log_SetFlagLog(0, "");
    }
    void TearDown() override {
        zed::log_options::ReleaseNames();
        log_SetFlagLog(0, "");
        RegistryFixture::TearDown();
    }
    OPT_RegOptions Options() const { return OPT_RegOptions(company_.c_str(), "Cutter", "5.1"); }
    int Init() { return log_InitOptionsLog(company_.c_str(), "Cutter", "5.1", 1); }
};

}  // namespace zedtest

#endif
