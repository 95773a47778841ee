// Writers of the Linux store killed at random moments while a second writer and a reader race
// them: every value committed before a kill survives, the hive stays whole, and the next write
// goes through and leaves no temporary file behind.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "os/posix/registry_hive.h"
#include "tests/support/registry_fixture.h"
#include "zedll/reg_options.h"

namespace {

constexpr int kTrials = 100;
constexpr int kWriters = 2;
constexpr int kSlots = 4;   // each writer cycles its numbers through a few values of its own

class RegStoreKillTest : public zedtest::RegistryFixture {
protected:
    std::string StoreDir() const { return std::filesystem::path(TempFile("x")).parent_path().string(); }
    std::string HiveText() const {
        std::ifstream in(StoreDir() + "/HKEY_CURRENT_USER.reg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

std::string SlotName(int writer, int slot) { return "w" + std::to_string(writer) + "s" + std::to_string(slot); }

void SleepMicros(long us) {
    timespec t{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&t, &t) != 0) {
    }
}

// Writes numbers from `next` on, one commit each, and reports each number on `out` once its
// write has returned; a failed write is reported as 0.
[[noreturn]] void RunWriter(OPT_RegOptions& opts, int writer, uint32_t next, int out) {
    for (;; ++next) {
        const std::string name = SlotName(writer, static_cast<int>(next % kSlots));
        const uint32_t report = opts.SetDword(name.c_str(), DWORD{next}, 1) == 1 ? next : 0;
        if (write(out, &report, sizeof report) != sizeof report || report == 0) _exit(3);
    }
}

// Reads every slot until `stop` closes: the hive file always parses and no value ever goes back.
[[noreturn]] void RunReader(OPT_RegOptions& opts, const std::string& hive_path, int stop) {
    std::array<std::array<DWORD, kSlots>, kWriters> seen{};
    for (;;) {
        pollfd p{stop, POLLIN, 0};
        if (poll(&p, 1, 0) > 0) _exit(0);
        for (int w = 0; w < kWriters; ++w) {
            for (int s = 0; s < kSlots; ++s) {
                const DWORD v = opts.GetDword(SlotName(w, s).c_str(), DWORD{0}, 1);
                if (v < seen[w][s]) _exit(4);
                seen[w][s] = v;
            }
        }
        std::ifstream in(hive_path, std::ios::binary);
        const std::string text(std::istreambuf_iterator<char>(in), {});
        zed::os::hive::Key root;
        if (!text.empty() && !zed::os::hive::Parse(text, &root)) _exit(5);
    }
}

// Children still running when a check fails are killed and reaped, so none outlives the test.
class Children {
public:
    ~Children() {
        for (pid_t pid : running_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    void Add(pid_t pid) { running_.insert(pid); }
    int Reap(pid_t pid) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid) return -1;
        running_.erase(pid);
        return status;
    }

private:
    std::set<pid_t> running_;
};

pid_t Spawn(int close_a, int close_b) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (close_a >= 0) close(close_a);
        if (close_b >= 0) close(close_b);
    }
    return pid;
}

TEST_F(RegStoreKillTest, WritersKilledAtRandomKeepEveryCommittedValue) {
    OPT_RegOptions opts(company_.c_str(), "Crash", "1");
    const std::string hive_path = StoreDir() + "/HKEY_CURRENT_USER.reg";
    std::mt19937 rng(16);
    // The newest number each writer has had acknowledged, and what each slot must hold.
    std::array<uint32_t, kWriters> last{};
    std::array<std::array<uint32_t, kSlots>, kWriters> expect{};
    int commits = 0, torn_commits = 0;

    for (int trial = 0; trial < kTrials; ++trial) {
        Children children;
        int stop[2];
        ASSERT_EQ(pipe(stop), 0);
        const pid_t reader = Spawn(stop[1], -1);
        if (reader == 0) RunReader(opts, hive_path, stop[0]);
        children.Add(reader);
        close(stop[0]);

        std::array<pid_t, kWriters> writers{};
        std::array<int, kWriters> reports{};
        for (int w = 0; w < kWriters; ++w) {
            int fds[2];
            ASSERT_EQ(pipe(fds), 0);
            writers[w] = Spawn(fds[0], stop[1]);
            if (writers[w] == 0) RunWriter(opts, w, last[w] + 1, fds[1]);
            children.Add(writers[w]);
            close(fds[1]);
            reports[w] = fds[0];
        }
        // Each writer dies at a moment of its own: while it waits for the lock, writes the
        // temporary file, syncs it, renames it or reports.
        const int first = static_cast<int>(rng() % kWriters);
        for (int k = 0; k < kWriters; ++k) {
            SleepMicros(static_cast<long>(rng() % 4000));
            kill(writers[(first + k) % kWriters], SIGKILL);
        }
        for (int w = 0; w < kWriters; ++w) {
            const int status = children.Reap(writers[w]);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                << "trial " << trial << ": writer " << w << " ended on its own, status " << status;
            uint32_t n = 0;
            while (read(reports[w], &n, sizeof n) == sizeof n) {
                ASSERT_EQ(n, last[w] + 1) << "trial " << trial << ": writer " << w << " saw a write fail";
                last[w] = n;
                expect[w][n % kSlots] = n;
                ++commits;
            }
            close(reports[w]);
        }
        close(stop[1]);
        const int status = children.Reap(reader);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "trial " << trial << ": reader status " << status << " (4: a value went back, 5: the hive did not parse)";

        const std::string text = HiveText();
        zed::os::hive::Key root;
        ASSERT_TRUE(text.empty() || zed::os::hive::Parse(text, &root)) << "trial " << trial;
        for (int w = 0; w < kWriters; ++w) {
            // The write in flight at the kill may have reached the disk before its report.
            const uint32_t pending = last[w] + 1;
            for (int s = 0; s < kSlots; ++s) {
                const DWORD v = opts.GetDword(SlotName(w, s).c_str(), DWORD{0}, 1);
                if (v == pending && pending % kSlots == static_cast<uint32_t>(s)) {
                    last[w] = pending;
                    expect[w][s] = pending;
                }
                ASSERT_EQ(v, expect[w][s]) << "trial " << trial << ": " << SlotName(w, s);
            }
        }

        if (std::filesystem::exists(hive_path + ".tmp")) ++torn_commits;
        ASSERT_EQ(opts.SetDword("after", DWORD(trial + 1), 1), 1) << "trial " << trial;
        ASSERT_EQ(opts.GetDword("after", DWORD{0}, 1), DWORD(trial + 1));
        const std::set<std::string> allowed = {"HKEY_CURRENT_USER.reg", ".HKEY_CURRENT_USER.lock"};
        for (const auto& entry : std::filesystem::directory_iterator(StoreDir())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(allowed.count(name) == 1) << "trial " << trial << ": left behind: " << name;
        }
    }
    // The kills must have reached writers inside their commits, not only between them.
    EXPECT_GT(commits, 0);
    EXPECT_GT(torn_commits, 0);
    RecordProperty("commits", commits);
    RecordProperty("kills_inside_a_commit", torn_commits);
    std::printf("%d trials, %d commits, %d kills left a temporary file\n", kTrials, commits, torn_commits);
}

}  // namespace
