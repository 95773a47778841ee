// The log options: method and path through the registry, and the page's helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "log/log_options.h"
#include "platform/language.h"
#include "tests/log/log_options_fixture.h"
#include "zedll.h"

namespace {

using namespace zed::log_options;
using zedtest::LogOptionsTest;


TEST_F(LogOptionsTest, EverythingWaitsForTheNames) {
    EXPECT_EQ(log_LoadFlagLog(), -1);
    EXPECT_EQ(log_LoadPathLog(), nullptr);
    EXPECT_EQ(log_WriteLog(), -1);
    EXPECT_EQ(log_SetFlagLog(2, "x.log"), 1);  // the current values need no names
    EXPECT_EQ(CurrentMethod(), DWORD{2});
    EXPECT_EQ(log_InitOptionsLog(nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(log_LoadFlagLog(), -1);
    EXPECT_EQ(Init(), 1);
    EXPECT_EQ(log_LoadFlagLog(), 2);  // nothing stored: the current method
    // Naming nothing again clears the flag, though the names stay.
    EXPECT_EQ(log_InitOptionsLog(nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(log_WriteLog(), -1);
    EXPECT_EQ(log_InitOptionsLog(nullptr, "Cutter", nullptr, 1), 1);
    EXPECT_EQ(log_WriteLog(), 1);
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}), DWORD{2});
}

TEST_F(LogOptionsTest, WriteThenLoadInBothScopes) {
    ASSERT_EQ(Init(), 1);
    log_SetFlagLog(2, "C:\\logs\\app.log");
    EXPECT_EQ(log_WriteLog(), 1);
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}), DWORD{2});
    char path[100];
    Options().GetString("SyslogPath", "", path, sizeof path);
    EXPECT_STREQ(path, "C:\\logs\\app.log");

    log_SetFlagLog(0, "other.log");
    EXPECT_EQ(log_LoadFlagLog(), 2);
    EXPECT_EQ(CurrentMethod(), 0u);  // loading reports the stored method without taking it
    EXPECT_STREQ(CurrentPath(), "C:\\logs\\app.log");
    log_SetFlagLog(-1, "third.log");
    EXPECT_EQ(CurrentMethod(), 0u);
    EXPECT_STREQ(log_LoadPathLog(), "C:\\logs\\app.log");
    log_SetFlagLog(3, nullptr);
    EXPECT_EQ(CurrentMethod(), 3u);
    EXPECT_STREQ(CurrentPath(), "C:\\logs\\app.log");

    // Long paths are cut to 2499 characters, in memory and in the registry.
    log_SetFlagLog(-1, std::string(3000, 'p').c_str());
    EXPECT_EQ(std::strlen(CurrentPath()), 2499u);
    EXPECT_EQ(log_WriteLog(), 1);
    log_SetFlagLog(-1, "");
    EXPECT_EQ(std::string(log_LoadPathLog()), std::string(2499, 'p'));

    // The local machine scope is a key of its own.
    ASSERT_EQ(log_InitOptionsLog(company_.c_str(), "Cutter", "5.1", 0), 1);
    log_SetFlagLog(1, "m.log");
    EXPECT_EQ(log_WriteLog(), 1);
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}, 0), DWORD{1});
    EXPECT_EQ(Options().GetDword("Syslog", DWORD{99}, 1), DWORD{3});
}

TEST(LogOptionsPage, ButtonsMethodsBrowseStartAndFilter) {
    const int buttons[] = {1000, 1002, 1001, 1003};
    for (unsigned method = 0; method < 4; ++method) {
        EXPECT_EQ(ButtonOfMethod(method), buttons[method]);
        EXPECT_EQ(MethodOfButton(buttons[method]), static_cast<int>(method));
    }
    EXPECT_EQ(ButtonOfMethod(77), 1000);
    EXPECT_EQ(MethodOfButton(1004), -1);
    auto checked = [](void* context, int id) { return static_cast<const bool*>(context)[id - 1000]; };
    bool none[4] = {false, false, false, false}, stderr_only[4] = {false, false, false, true},
         file_and_system[4] = {false, true, true, false};
    EXPECT_EQ(AppliedMethod(checked, none), 0u);
    EXPECT_EQ(AppliedMethod(checked, stderr_only), 3u);
    EXPECT_EQ(AppliedMethod(checked, file_and_system), DWORD{2});  // the lowest identifier wins

    std::string directory, name;
    BrowseStart("", &directory, &name);
    EXPECT_EQ(directory + "|" + name, "c:\\|undefine.log");
    BrowseStart("d:\\logs\\app.log", &directory, &name);
    EXPECT_EQ(directory + "|" + name, "d:\\logs\\|app.log");
    EXPECT_EQ(FilterList("Logging Files (*.log)|*.log|All files (*.*)|*.*||"),
              std::string("Logging Files (*.log)\0*.log\0All files (*.*)\0*.*\0\0", 49));
}

}  // namespace
