// The log core: destinations and their line formats, sessions, quiet and debug switches, the
// clean-up list and every fatal path.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "log/log_core.h"
#include "tests/platform/test_paths.h"
#include "zedll.h"

namespace {

using zed::platform::LogPriority;

// Text mode: log files have the platform's line ends (CR LF on Windows).
std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::regex kStartMarker(R"(debug: \[\d\d-\d\d \d\d:\d\d:\d\d\] -> Start Session\*{41})");
const std::regex kCloseMarker(R"(debug: \[\d\d-\d\d \d\d:\d\d:\d\d\] -> Close Session\*{41})");

struct SinkLine {
    int facility;
    LogPriority priority;
    std::string line;
};
std::vector<SinkLine> g_sink_lines;
void Sink(int facility, LogPriority priority, const char* line) {
    g_sink_lines.push_back(SinkLine{facility, priority, line});
}

class LogCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        zed::log_core::ResetForTests();
        g_sink_lines.clear();
        zed::log_core::SetSystemLogSink(Sink);
    }
    void TearDown() override {
        zed::log_core::ResetForTests();
        zed::log_core::SetSystemLogSink(nullptr);
        ZEDLLSetLanguage(1033);
    }
    std::string File(const char* name) const { return (dir_.path() / name).string(); }
    zedtest::ScratchDirectory dir_{"zedll-log"};
};

TEST_F(LogCoreTest, FileWithoutDebugStartsSilently) {
    const std::string file = File("a.log");
    log_init(0, file.c_str(), 0, 0, 0, 0);
    EXPECT_EQ(zed::log_core::Destination(), 1);
    log_debug("hidden %d", 1);
    log_close();
    EXPECT_EQ(ReadText(file), "");
}

TEST_F(LogCoreTest, FileWithDebugOpensAndClosesTheSession) {
    const std::string file = File("b.log");
    log_init(0, file.c_str(), 0, 1, 0, 0);
    log_msg("plain %s", "text");
    log_debug("value %d", 42);
    log_error("broken %c", 'x');
    log_severity(3, "x");
    log_severity(0, "d");
    log_severity(5, "c");
    log_close();
    const auto lines = Lines(ReadText(file));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_TRUE(std::regex_match(lines[0], kStartMarker)) << lines[0];
    EXPECT_EQ(lines[1], "log: plain text");
    EXPECT_EQ(lines[2], "debug: value 42");
    EXPECT_EQ(lines[3], "error: broken x");
    EXPECT_EQ(lines[4], "log/Severity warning: x");
    EXPECT_EQ(lines[5], "log/Severity debug: d");
    EXPECT_EQ(lines[6], "log/Severity critical: c");
    EXPECT_TRUE(std::regex_match(lines[7], kCloseMarker)) << lines[7];
    // Closed: nothing more is written anywhere.
    log_msg("after close");
    EXPECT_EQ(Lines(ReadText(file)).size(), 8u);
    EXPECT_EQ(zed::log_core::Destination(), 0);
}

TEST_F(LogCoreTest, ExistingFileGetsTheNewSessionAppended) {
    const std::string file = File("c.log");
    std::ofstream(file) << "older line\n";
    log_init(0, file.c_str(), 0, 0, 0, 0);
    log_msg("first");
    log_init(0, file.c_str(), 0, 0, 0, 0);  // re-target: closes without a marker
    log_msg("second");
    log_close();
    EXPECT_EQ(ReadText(file), "older line\nlog: first\nlog: second\n");
}

TEST_F(LogCoreTest, FileWinsOverSystemLogAndStderr) {
    const std::string file = File("d.log");
    testing::internal::CaptureStderr();
    log_init(1, file.c_str(), 1, 0, 0, 3);
    log_msg("only in the file");
    log_close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadText(file), "log: only in the file\n");
    EXPECT_TRUE(g_sink_lines.empty());
}

TEST_F(LogCoreTest, StderrLinesCarryNoSeverityName) {
    testing::internal::CaptureStderr();
    log_init(0, nullptr, 1, 1, 0, 0);
    log_severity(3, "x");
    log_severity(77, "no lookup here");
    log_msg("m");
    log_error("e");
    log_close();
    const auto lines = Lines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(std::regex_match(lines[0], kStartMarker));
    EXPECT_EQ(lines[1], "log: x");
    EXPECT_EQ(lines[2], "log: no lookup here");
    EXPECT_EQ(lines[3], "log: m");
    EXPECT_EQ(lines[4], "error: e");
    EXPECT_TRUE(std::regex_match(lines[5], kCloseMarker));
}

TEST_F(LogCoreTest, QuietSilencesEverything) {
    const std::string file = File("q.log");
    log_init(0, file.c_str(), 0, 1, 1, 0);
    log_msg("a");
    log_debug("b");
    log_severity(99, "bad severity is not even looked at");
    log_close();
    EXPECT_EQ(ReadText(file), "");
}

TEST_F(LogCoreTest, SystemLogFacilities) {
    log_init(1, nullptr, 0, 0, 0, 0);  // facility 0: disabled, no marker
    EXPECT_EQ(zed::log_core::Destination(), 0);
    log_msg("nowhere");
    EXPECT_TRUE(g_sink_lines.empty());
    const int expected[] = {24, 8, 32, 128, 136, 144, 152, 160, 168, 176, 184};
    for (int code = 1; code <= 11; ++code) {
        EXPECT_EQ(zed::log_core::FacilityValue(code), expected[code - 1]);
        g_sink_lines.clear();
        log_init(1, nullptr, 1, 1, 0, code);
        EXPECT_EQ(zed::log_core::Destination(), 2);
        log_severity(3, "w%d", code);
        log_error("e");
        ASSERT_EQ(g_sink_lines.size(), 3u);
        EXPECT_EQ(g_sink_lines[0].priority, LogPriority::Debug);  // the session marker
        EXPECT_EQ(g_sink_lines[1].facility, expected[code - 1]);
        EXPECT_EQ(g_sink_lines[1].priority, LogPriority::Warning);
        EXPECT_EQ(g_sink_lines[1].line, "log: w" + std::to_string(code));
        EXPECT_EQ(g_sink_lines[2].priority, LogPriority::Error);
    }
    EXPECT_EQ(zed::log_core::FacilityValue(0), -1);
    EXPECT_EQ(zed::log_core::FacilityValue(12), -1);
    log_close();
}

TEST_F(LogCoreTest, OverlongMessagesAreCut) {
    const std::string file = File("long.log");
    log_init(0, file.c_str(), 0, 0, 0, 0);
    const std::string text(5000, 'z');
    log_msg("%s", text.c_str());
    log_severity(1, "%s", text.c_str());
    log_close();
    const auto lines = Lines(ReadText(file));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "log: " + std::string(1023, 'z'));
    EXPECT_EQ(lines[1], "log/Severity info: " + std::string(1023, 'z'));
}

TEST_F(LogCoreTest, SeverityNamesFollowTheLanguage) {
#if !defined(ZEDLL_TEST_LANGUAGE_MODULES)
    GTEST_SKIP() << "no example modules";
#endif
    const std::string file = File("de.log");
    log_init(0, file.c_str(), 0, 0, 0, 0);
    ZEDLLSetLanguage(0x0407);
    log_severity(3, "x");
    ZEDLLSetLanguage(1033);
    log_severity(3, "x");
    log_close();
    EXPECT_EQ(ReadText(file), "log/Schweregrad Warnung: x\nlog/Severity warning: x\n");
}

TEST_F(LogCoreTest, ThePlatformSystemLogTakesALine) {
    zed::log_core::SetSystemLogSink(nullptr);
    log_init(1, nullptr, 0, 0, 0, 2);
    log_msg("zedll test line");  // syslog(3) or the debugger output; neither answers back
    log_close();
    EXPECT_EQ(zed::log_core::Destination(), 0);
}

TEST_F(LogCoreTest, SessionStamp) {
    std::tm t{};
    t.tm_mon = 2;
    t.tm_mday = 14;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    EXPECT_EQ(zed::log_core::SessionStamp(t), "[03-14 09:05:07]");
}

TEST_F(LogCoreTest, RemovingACleanupTakesItOffTheList) {
    static int calls = 0;
    auto count = [](void*) { ++calls; };
    int a = 0, b = 0;
    fatal_add_cleanup(count, &a);
    fatal_add_cleanup(count, &b);
    fatal_add_cleanup(count, &a);
    fatal_remove_cleanup(count, &a);
    fatal_remove_cleanup(count, &b);
    fatal_remove_cleanup(count, &a);
    EXPECT_EQ(calls, 0);
}

// ---- The fatal paths, each in a child process. Clean-ups leave their trace in a file named
// after the test, so that the parent can read what ran.

std::filesystem::path TracePath(const char* test) {
    return std::filesystem::temp_directory_path() / (std::string("zedll-log-trace-") + test);
}
std::string g_trace;
void Trace(const char* what) {
    std::ofstream(g_trace, std::ios::app) << what;
}
void CleanupA(void*) { Trace("A"); }
void CleanupB(void*) { Trace("B"); }
void CleanupFatal(void*) {
    Trace("F");
    log_fatal("inside a clean-up");
}

class LogFatalTest : public LogCoreTest {
protected:
    void SetUp() override {
        LogCoreTest::SetUp();
        g_trace = TracePath(::testing::UnitTest::GetInstance()->current_test_info()->name()).string();
        std::filesystem::remove(g_trace);
    }
    void TearDown() override {
        std::filesystem::remove(g_trace);
        LogCoreTest::TearDown();
    }
};

TEST_F(LogFatalTest, RunsCleanupsMostRecentFirstAndExitsWithOne) {
    const std::string file = File("fatal.log");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 1, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_add_cleanup(CleanupB, &g_trace);
            log_fatal("boom %d", 7);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadText(g_trace), "BA");
    const auto lines = Lines(ReadText(file));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(std::regex_match(lines[0], kStartMarker));
    EXPECT_EQ(lines[1], "fatal: boom 7");
    EXPECT_EQ(lines[2].rfind("debug: Calling cleanup 0x", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("debug: Calling cleanup 0x", 0), 0u) << lines[3];
    EXPECT_TRUE(std::regex_match(lines[4], kCloseMarker));
}

TEST_F(LogFatalTest, QuietEndsAtOnceWithoutCleanups) {
    const std::string file = File("quiet.log");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 1, 1, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            log_fatal("never written");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_FALSE(std::filesystem::exists(g_trace));
    EXPECT_EQ(ReadText(file), "");
}

TEST_F(LogFatalTest, FatalInsideACleanupDoesNotRunTheListAgain) {
    EXPECT_EXIT(
        {
            log_init(0, nullptr, 1, 0, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_add_cleanup(CleanupFatal, nullptr);
            log_fatal("first");
        },
        ::testing::ExitedWithCode(1), "fatal: inside a clean-up");
    EXPECT_EQ(ReadText(g_trace), "F");
}

TEST_F(LogFatalTest, RemovingAnUnknownCleanupIsFatal) {
    int argument = 0;
    EXPECT_EXIT(
        {
            log_init(0, nullptr, 1, 0, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_remove_cleanup(CleanupA, &argument);  // same function, other argument
        },
        ::testing::ExitedWithCode(1), "fatal: fatal_remove_cleanup: no such cleanup function: 0x");
    EXPECT_EQ(ReadText(g_trace), "A");
}

TEST_F(LogFatalTest, BadSeverityOnTheFileIsFatal) {
    const std::string file = File("severity.log");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 0, 0, 0);
            log_severity(6, "x");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadText(file), "fatal: syslog_severity: bad severity 6\n");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 0, 0, 0);
            log_fatal_severity(-1, "y");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(Lines(ReadText(file)).back(), "fatal: syslog_severity: bad severity -1");
}

TEST_F(LogFatalTest, FatalSeverityLines) {
    const std::string file = File("fs.log");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 0, 0, 0);
            log_fatal_severity(4, "disk %s", "full");
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadText(file), "fatal/Severity error: disk full\n");
    EXPECT_EXIT(
        {
            log_init(0, nullptr, 1, 0, 0, 0);
            log_fatal_severity(4, "disk %s", "full");
        },
        ::testing::ExitedWithCode(1), "fatal: disk full");
}

TEST_F(LogFatalTest, UnopenableFileAndBadFacilityEndTheProcess) {
    const std::string file = (dir_.path() / "no-such-dir" / "x.log").string();
    EXPECT_EXIT(log_init(0, file.c_str(), 0, 0, 0, 0), ::testing::ExitedWithCode(1),
                "Do not open privacy log file .*x.log");
    EXPECT_EXIT(log_init(1, nullptr, 0, 0, 0, 12), ::testing::ExitedWithCode(1),
                "Unrecognized internal syslog facility code 12");
    EXPECT_EXIT(log_init(1, nullptr, 0, 0, 0, -1), ::testing::ExitedWithCode(1),
                "Unrecognized internal syslog facility code -1");
}

}  // namespace
