// A history writer killed at random moments while it puts and flushes. The file is rewritten in
// place behind a header it never touches, so what a kill can leave is: the old file, the new one,
// the new one followed by the old one's longer tail (killed before the cut), or the new bytes up to
// some offset and the old ones after it (killed inside the write). The next open always finds a
// valid history; every new record wholly written comes back intact and in order; and a kill
// outside the write itself leaves exactly the old or the new records of a full history.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"
#include "zedll.h"

namespace {

using Bytes = std::string;

constexpr int kTrials = 100;
constexpr int kCapacity = 8;
constexpr size_t kLongest = 20000;

// Record `n` of trial `trial`, the same in the writer and the checker.
Bytes MakeRecord(int trial, uint32_t n) {
    std::mt19937 rng(static_cast<uint32_t>(trial) * 100003u + n);
    // 256 bytes of its own, repeated: cheap to make, so the writer spends its time flushing.
    char chunk[256];
    for (char& c : chunk) c = static_cast<char>(rng());
    const size_t length = rng() % kLongest;
    Bytes b;
    b.reserve(length);
    while (b.size() < length) b.append(chunk, std::min(sizeof chunk, length - b.size()));
    return b;
}

// The file for these records, built from the format independently of the class.
Bytes Image(const std::deque<Bytes>& records) {
    Bytes out("ZEHistory66100501", 18);
    auto le32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
    };
    le32(static_cast<uint32_t>(records.size()));
    for (const Bytes& r : records) {
        le32(static_cast<uint32_t>(r.size()));
        out += r;
    }
    return out;
}

// Where each record of an image ends.
std::vector<size_t> RecordEnds(const std::deque<Bytes>& records) {
    std::vector<size_t> ends;
    size_t at = 22;
    for (const Bytes& r : records) ends.push_back(at += 4 + r.size());
    return ends;
}

size_t CommonPrefix(const Bytes& a, const Bytes& b) {
    return static_cast<size_t>(std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin()).first - a.begin());
}

// `file` is `next` written over `prev` from the front: the first k bytes new, the rest old, and
// the file cut to the new length only once the whole new image is there.
bool WrittenOver(const Bytes& prev, const Bytes& next, const Bytes& file) {
    if (file == next) return true;
    const size_t k = CommonPrefix(file, next);
    if (file.size() != std::max(prev.size(), k)) return false;
    return k >= prev.size() || file.compare(k, Bytes::npos, prev, k, Bytes::npos) == 0;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void SleepMicros(long us) {
    timespec t{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&t, &t) != 0) {
    }
}

// Puts records `first`, `first` + 1, ... and flushes after each, reporting every flush done.
[[noreturn]] void RunWriter(std::string path, int trial, uint32_t first, int out) {
    CLS_History h(&path[0], kCapacity);
    for (uint32_t n = first;; ++n) {
        Bytes r = MakeRecord(trial, n);
        CLS_History::CLS_History_obj obj{static_cast<DWORD>(r.size()), reinterpret_cast<unsigned char*>(&r[0])};
        if (!h.Put(&obj)) _exit(3);
        h.Flush();
        if (write(out, &n, sizeof n) != sizeof n) _exit(3);
    }
}

TEST(HistoryKillTest, AWriterKilledDuringFlushLeavesAValidFileWithEveryWholeRecord) {
    zedtest::ScratchDir dir;
    const std::string path = dir.File("history.bin");
    std::mt19937 rng(83);
    int outcome_old = 0, outcome_new = 0, outcome_uncut = 0, outcome_torn = 0;
    uint32_t flushes = 0;

    for (int trial = 0; trial < kTrials; ++trial) {
        // A history of any fill to start with, up to full.
        std::deque<Bytes> records;
        const uint32_t start = static_cast<uint32_t>(trial % (kCapacity + 1));
        for (uint32_t n = 0; n < start; ++n) records.push_back(MakeRecord(trial, 1000000 + n));
        {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << Image(records);
        }

        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            RunWriter(path, trial, 1, fds[1]);
        }
        close(fds[1]);
        SleepMicros(static_cast<long>(rng() % 5000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "trial " << trial << " status " << status;
        uint32_t flushed = 0, n = 0;
        while (read(fds[0], &n, sizeof n) == sizeof n) {
            ASSERT_EQ(n, flushed + 1);
            flushed = n;
        }
        close(fds[0]);
        flushes += flushed;

        // The records after each flush up to the one that was reported, then the one in flight
        // or, if it finished before its report, the one after it.
        auto put = [&](std::deque<Bytes>& rs, uint32_t k) {
            rs.push_back(MakeRecord(trial, k));
            if (rs.size() > static_cast<size_t>(kCapacity)) rs.pop_front();
        };
        for (uint32_t k = 1; k <= flushed; ++k) put(records, k);
        const Bytes file = ReadFile(path);
        std::deque<Bytes> prev = records, next = records;
        put(next, flushed + 1);
        if (!WrittenOver(Image(prev), Image(next), file)) {
            prev = next;
            put(next, flushed + 2);
        }
        const Bytes before = Image(prev), after = Image(next);
        ASSERT_TRUE(WrittenOver(before, after, file))
            << "trial " << trial << ": " << file.size() << " bytes after " << flushed << " flushes are no state of a flush";

        std::string name = path;
        CLS_History back(&name[0], kCapacity);
        ASSERT_TRUE(back.IsValid()) << "trial " << trial;
        ASSERT_LE(back.GetCount(), kCapacity);
        auto loaded = [&](int i) {
            const CLS_History::CLS_History_obj* o = back.Get(i);
            return Bytes(reinterpret_cast<const char*>(o->data), o->length);
        };
        auto holds_exactly = [&](const std::deque<Bytes>& rs) {
            if (back.GetCount() != static_cast<int>(rs.size())) return false;
            for (size_t i = 0; i < rs.size(); ++i)
                if (loaded(static_cast<int>(i)) != rs[i]) return false;
            return true;
        };
        const size_t k = CommonPrefix(file, after);
        const std::vector<size_t> ends = RecordEnds(next);
        for (size_t i = 0; i < ends.size() && ends[i] <= k; ++i) {
            ASSERT_GT(back.GetCount(), static_cast<int>(i)) << "trial " << trial;
            EXPECT_EQ(loaded(static_cast<int>(i)), next[i]) << "trial " << trial << " record " << i;
        }
        if (file == before) {
            ++outcome_old;
            EXPECT_TRUE(holds_exactly(prev)) << "trial " << trial;
        } else if (file == after) {
            ++outcome_new;
            EXPECT_TRUE(holds_exactly(next)) << "trial " << trial;
        } else if (k == after.size()) {
            ++outcome_uncut;   // a full history reads no further than its capacity
            if (next.size() == static_cast<size_t>(kCapacity)) { EXPECT_TRUE(holds_exactly(next)) << "trial " << trial; }
        } else {
            ++outcome_torn;
        }
    }
    std::printf("%d trials, %u flushes; the kill left: the old file %d, the new one %d, the new one "
                "before the cut %d, a write cut short %d\n",
                kTrials, flushes, outcome_old, outcome_new, outcome_uncut, outcome_torn);
}

}  // namespace
