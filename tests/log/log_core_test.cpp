// The log core: destinations and their line formats, sessions, quiet and debug switches, the
// clean-up list and every fatal path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "log/log_core.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_paths.h"
#include "zedll.h"

namespace {

using zed::os::LogPriority;

// Text mode: log files have the platform's line ends (CR LF on Windows).
std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a log, with the time-stamped session markers replaced by "<start>" and "<close>".
std::vector<std::string> Lines(const std::string& text) {
    static const std::regex marker(R"(debug: \[\d\d-\d\d \d\d:\d\d:\d\d\] -> (Start|Close) Session\*{41})");
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(!std::regex_match(line, m, marker) ? line : m[1] == "Start" ? "<start>" : "<close>");
    }
    return lines;
}
using Strings = std::vector<std::string>;

struct SinkLine {
    int facility;
    LogPriority priority;
    std::string line;
};
std::vector<SinkLine> g_sink_lines;
void Sink(int facility, LogPriority priority, const char* line) { g_sink_lines.push_back({facility, priority, line}); }

class LogCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        zed::log_testing::Reset();
        g_sink_lines.clear();
        zed::log_testing::SetSystemLogSink(Sink);
    }
    void TearDown() override {
        zed::log_testing::Reset();
        zed::log_testing::SetSystemLogSink(nullptr);
        ZEDLLSetLanguage(1033);
    }
    std::string File(const char* name) const { return (dir_.path() / name).string(); }
    zedtest::ScratchDir dir_{"zedll-log"};
};

TEST_F(LogCoreTest, FileLinesBySwitches) {
    const std::string z5000(5000, 'z'), z1023(1023, 'z');
    struct Case {
        int debug, quiet;
        const char* before;  // an existing file gets the new session appended
        std::function<void(const std::string&)> write;
        Strings expected;
    } cases[] = {
        {1, 0, nullptr, [](const std::string&) {
             log_msg("plain %s", "text"), log_debug("value %d", 42), log_error("broken %c", 'x');
             log_severity(3, "x"), log_severity(0, "d"), log_severity(5, "c");
         },
         {"<start>", "log: plain text", "debug: value 42", "error: broken x", "log/Severity warning: x",
          "log/Severity debug: d", "log/Severity critical: c", "<close>"}},
        {0, 0, nullptr, [](const std::string&) { log_debug("hidden %d", 1); }, {}},
        {1, 1, nullptr, [](const std::string&) { log_msg("a"), log_debug("b"), log_severity(99, "not looked at"); }, {}},
        {0, 0, "older line\n", [](const std::string& file) {  // re-targeting closes without a marker
             log_msg("first"), log_init(0, file.c_str(), 0, 0, 0, 0), log_msg("second");
         },
         {"older line", "log: first", "log: second"}},
        {0, 0, nullptr, [&](const std::string&) { log_msg("%s", z5000.c_str()), log_severity(1, "%s", z5000.c_str()); },
         {"log: " + z1023, "log/Severity info: " + z1023}},  // overlong messages are cut
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string file = File(("f" + std::to_string(n++) + ".log").c_str());
        if (c.before) std::ofstream(file) << c.before;
        log_init(0, file.c_str(), 0, c.debug, c.quiet, 0);
        EXPECT_EQ(zed::log_core::Destination(), 1);
        c.write(file);
        log_close();
        EXPECT_EQ(zed::log_core::Destination(), 0);
        log_msg("after close");  // closed: nothing more is written anywhere
        EXPECT_EQ(Lines(ReadText(file)), c.expected) << "case " << n - 1;
    }
}

TEST_F(LogCoreTest, StderrLinesCarryNoSeverityNameAndAFileWinsOverStderr) {
    testing::internal::CaptureStderr();
    log_init(0, nullptr, 1, 1, 0, 0);
    log_severity(3, "x"), log_severity(77, "no lookup here"), log_msg("m"), log_error("e");
    log_close();
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()),
              (Strings{"<start>", "log: x", "log: no lookup here", "log: m", "error: e", "<close>"}));
    const std::string file = File("d.log");
    testing::internal::CaptureStderr();
    log_init(1, file.c_str(), 1, 0, 0, 3);  // and over the system log
    log_msg("only in the file");
    log_close();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ReadText(file), "log: only in the file\n");
    EXPECT_TRUE(g_sink_lines.empty());
}

TEST_F(LogCoreTest, SystemLogFacilities) {
    log_init(1, nullptr, 0, 0, 0, 0);  // facility 0: disabled, no marker
    EXPECT_EQ(zed::log_core::Destination(), 0);
    log_msg("nowhere");
    EXPECT_TRUE(g_sink_lines.empty());
    const int expected[] = {-1, 24, 8, 32, 128, 136, 144, 152, 160, 168, 176, 184, -1};
    for (int code = 0; code <= 12; ++code) {
        EXPECT_EQ(zed::log_core::FacilityValue(code), expected[code]);
        if (expected[code] < 0) continue;
        g_sink_lines.clear();
        log_init(1, nullptr, 1, 1, 0, code);
        EXPECT_EQ(zed::log_core::Destination(), 2);
        log_severity(3, "w%d", code);
        log_error("e");
        ASSERT_EQ(g_sink_lines.size(), 3u);
        EXPECT_EQ(g_sink_lines[0].priority, LogPriority::Debug);  // the session marker
        EXPECT_EQ(g_sink_lines[1].facility, expected[code]);
        EXPECT_EQ(g_sink_lines[1].priority, LogPriority::Warning);
        EXPECT_EQ(g_sink_lines[1].line, "log: w" + std::to_string(code));
        EXPECT_EQ(g_sink_lines[2].priority, LogPriority::Error);
    }
    log_close();
    zed::log_testing::SetSystemLogSink(nullptr);  // the platform's own system log takes a line too
    log_init(1, nullptr, 0, 0, 0, 2);
    log_msg("zedll test line");
    log_close();
}

TEST_F(LogCoreTest, SeverityNamesFollowTheLanguageAndStampsArePadded) {
    std::tm t{};
    t.tm_mon = 2, t.tm_mday = 14, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 7;
    EXPECT_EQ(zed::log_core::SessionStamp(t), "[03-14 09:05:07]");
#if !defined(ZEDLL_TEST_LANGUAGE_MODULES)
    GTEST_SKIP() << "no example modules";
#endif
    const std::string file = File("de.log");
    log_init(0, file.c_str(), 0, 0, 0, 0);
    ZEDLLSetLanguage(0x0407), log_severity(3, "x");
    ZEDLLSetLanguage(1033), log_severity(3, "x");
    log_close();
    EXPECT_EQ(ReadText(file), "log/Schweregrad Warnung: x\nlog/Severity warning: x\n");
}

// ---- The fatal paths, each in a child process. Clean-ups leave their trace in a file named
// after the test, so that the parent can read what ran.

std::string g_trace;
void Trace(const char* what) { std::ofstream(g_trace, std::ios::app) << what; }
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
        g_trace = (std::filesystem::temp_directory_path() /
                   (std::string("zedll-log-trace-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                      .string();
        std::filesystem::remove(g_trace);
    }
    void TearDown() override {
        std::filesystem::remove(g_trace);
        LogCoreTest::TearDown();
    }
};

TEST_F(LogFatalTest, RunsRemainingCleanupsMostRecentFirstAndExitsWithOne) {
    const std::string file = File("fatal.log");
    EXPECT_EXIT(
        {
            log_init(0, file.c_str(), 0, 1, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_add_cleanup(CleanupB, &g_trace);
            for (int i = 0; i < 4; ++i) {  // clean-ups removed again, also one added twice, do not run
                i < 2 ? fatal_add_cleanup(CleanupA, &g_trace) : fatal_remove_cleanup(CleanupA, &g_trace);
            }
            log_fatal("boom %d", 7);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadText(g_trace), "BA");
    auto lines = Lines(ReadText(file));
    ASSERT_EQ(lines.size(), 5u);
    for (int i : {2, 3}) lines[i] = lines[i].substr(0, 25);  // then the function's address
    EXPECT_EQ(lines, (Strings{"<start>", "fatal: boom 7", "debug: Calling cleanup 0x", "debug: Calling cleanup 0x", "<close>"}));
}

TEST_F(LogFatalTest, CleanupListFaults) {
    // A fatal error inside a clean-up does not run the list again.
    EXPECT_EXIT(
        {
            log_init(0, nullptr, 1, 0, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_add_cleanup(CleanupFatal, nullptr);
            log_fatal("first");
        },
        ::testing::ExitedWithCode(1), "fatal: inside a clean-up");
    EXPECT_EQ(ReadText(g_trace), "F");
    std::filesystem::remove(g_trace);
    // Removing an unknown clean-up (same function, other argument) is fatal and runs the list.
    int argument = 0;
    EXPECT_EXIT(
        {
            log_init(0, nullptr, 1, 0, 0, 0);
            fatal_add_cleanup(CleanupA, nullptr);
            fatal_remove_cleanup(CleanupA, &argument);
        },
        ::testing::ExitedWithCode(1), "fatal: fatal_remove_cleanup: no such cleanup function: 0x");
    EXPECT_EQ(ReadText(g_trace), "A");
    std::filesystem::remove(g_trace);
    // Quiet ends at once, without clean-ups or a line.
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

TEST_F(LogFatalTest, FatalLinesAndBadArguments) {
    const std::string file = File("f.log"), bad_file = (dir_.path() / "no-such-dir" / "x.log").string();
    struct Case {
        std::function<void()> run;
        const char* stderr_pattern;
        const char* file_text;  // the log file afterwards, when written to
    } cases[] = {
        {[&] { log_init(0, file.c_str(), 0, 0, 0, 0), log_severity(6, "x"); }, "",
         "fatal: syslog_severity: bad severity 6\n"},
        {[&] { log_init(0, file.c_str(), 0, 0, 0, 0), log_fatal_severity(-1, "y"); }, "",
         "fatal: syslog_severity: bad severity -1\n"},
        {[&] { log_init(0, file.c_str(), 0, 0, 0, 0), log_fatal_severity(4, "disk %s", "full"); }, "",
         "fatal/Severity error: disk full\n"},
        {[] { log_init(0, nullptr, 1, 0, 0, 0), log_fatal_severity(4, "disk %s", "full"); }, "fatal: disk full",
         nullptr},
        {[&] { log_init(0, bad_file.c_str(), 0, 0, 0, 0); }, "Do not open privacy log file .*x.log", nullptr},
        {[] { log_init(1, nullptr, 0, 0, 0, 12); }, "Unrecognized internal syslog facility code 12", nullptr},
        {[] { log_init(1, nullptr, 0, 0, 0, -1); }, "Unrecognized internal syslog facility code -1", nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        EXPECT_EXIT(c.run(), ::testing::ExitedWithCode(1), c.stderr_pattern);
        if (c.file_text) {
            EXPECT_EQ(ReadText(file), c.file_text);
        }
    }
}

}  // namespace
