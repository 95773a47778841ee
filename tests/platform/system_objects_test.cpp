// Shared memory, named events and the process lock, across threads and across two processes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/child_process.h"
#include "os/named_objects.h"
#include "zedll.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kChildVariable = "ZEDLL_TEST_NAMED_OBJECT";

std::string UniqueName(const char* what) {
    return std::string("zedll-test-") + what + "-" + std::to_string(zed::os::CurrentProcessId());
}

TEST(SystemObjects, LockNameFromProcessAndKey) {
    char name[50];
    zed::FormatLockName(name, sizeof name, 0x2A, reinterpret_cast<void*>(0x1234));
    EXPECT_STREQ(name, "SYS_ZEr_Lib_Lock2a1234");
    zed::FormatLockName(name, sizeof name, 0xFFFFFFFF, reinterpret_cast<void*>(static_cast<std::uintptr_t>(-1)));
    EXPECT_EQ(std::string(name).rfind("SYS_ZEr_Lib_Lockffffffff", 0), 0u);
    EXPECT_LT(std::strlen(name), 50u);
}

TEST(SystemObjects, SharedMemoryStartsZeroedAndIsShared) {
    const std::string name = UniqueName("mem");
    SYS_MemShare first(name.c_str(), 4096);
    auto* bytes = static_cast<unsigned char*>(first.GetPointer());
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(bytes[i], 0) << i;
    {
        SYS_MemShare second(name.c_str(), 16);   // the existing block, whatever the size
        ASSERT_NE(second.GetPointer(), nullptr);
        static_cast<unsigned char*>(second.GetPointer())[4000] = 0x5A;
        SYS_MemShare copy(second);
        SYS_MemShare assigned("zedll-test-unrelated", 8);
        assigned = copy;
        EXPECT_EQ(static_cast<unsigned char*>(assigned.GetPointer())[4000], 0x5A);
    }
    EXPECT_EQ(bytes[4000], 0x5A);
    SYS_MemShare empty(UniqueName("empty").c_str(), 0);   // size zero fails, and so does its copy
    EXPECT_EQ(empty.GetPointer(), nullptr);
    EXPECT_EQ(SYS_MemShare(empty).GetPointer(), nullptr);
}

// The child finds the parent's text in the block and the event reset, answers in the block, waits
// for the parent to set the event, then resets it again. (Windows keeps one name space for all
// kinds of objects: the event takes a name of its own.)
TEST(SystemObjects, SharedMemoryAndEventsAcrossProcesses) {
    const std::string name = UniqueName("cross");
    SYS_MemShare block(name.c_str(), 1024);
    auto* bytes = static_cast<char*>(block.GetPointer());
    ASSERT_NE(bytes, nullptr);
    std::strcpy(bytes, "from the parent");
    SYS_Signal signal((name + "-event").c_str());
    signal.UnSignalized();
    zedtest::ChildTest child("SystemObjectsChild.DISABLED_SharedMemoryAndEvent", kChildVariable, name);
    std::this_thread::sleep_for(200ms);
    signal.Signalized();
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_STREQ(bytes + 512, "from the child");
    EXPECT_FALSE(signal.IsSignalized(0));
}

TEST(SystemObjectsChild, DISABLED_SharedMemoryAndEvent) {
    const std::string name = zedtest::ChildValue(kChildVariable);
    ASSERT_FALSE(name.empty());
    SYS_MemShare block(name.c_str(), 8);
    auto* bytes = static_cast<char*>(block.GetPointer());
    ASSERT_NE(bytes, nullptr);
    ASSERT_STREQ(bytes, "from the parent");
    std::strcpy(bytes + 512, "from the child");
    SYS_Signal signal((name + "-event").c_str());
    ASSERT_TRUE(signal.IsSignalized(20000));
    signal.UnSignalized();
}

// A process that ends without closing its objects leaves nothing behind: the next user gets a
// new object, as if the name had never been used.
TEST(SystemObjects, ObjectsOfAProcessThatDiedAreGone) {
    const std::string name = UniqueName("dead");
    zedtest::ChildTest child("SystemObjectsChild.DISABLED_AbandonObjects", kChildVariable, name);
    ASSERT_EQ(child.Wait(), 0);
    SYS_MemShare block(name.c_str(), 64);
    auto* bytes = static_cast<unsigned char*>(block.GetPointer());
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(bytes[i], 0) << i;
    SYS_Signal signal((name + "-event").c_str());
    EXPECT_TRUE(signal.IsSignalized(0));   // created signalled again, not left reset
}

TEST(SystemObjectsChild, DISABLED_AbandonObjects) {
    const std::string name = zedtest::ChildValue(kChildVariable);
    ASSERT_FALSE(name.empty());
    auto* block = new SYS_MemShare(name.c_str(), 4096);
    ASSERT_NE(block->GetPointer(), nullptr);
    std::strcpy(static_cast<char*>(block->GetPointer()), "left behind");
    (new SYS_Signal((name + "-event").c_str()))->UnSignalized();
    std::fflush(nullptr);
    std::_Exit(0);   // no destructors, no closing: as if the process had crashed
}

// Users coming and going on one name from many threads: every open succeeds, and while one user
// holds the block, everyone sees its contents.
TEST(SystemObjects, SharedMemoryChurn) {
    const std::string name = UniqueName("churn");
    std::atomic<int> failures{0};
    auto churn = [&](bool expect_mark) {
        for (int i = 0; i < 300; ++i) {
            SYS_MemShare user(name.c_str(), 64);
            auto* bytes = static_cast<unsigned char*>(user.GetPointer());
            if (bytes == nullptr || (expect_mark && bytes[0] != 0xA5)) ++failures;
        }
    };
    auto run_threads = [&](bool expect_mark) {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) threads.emplace_back(churn, expect_mark);
        for (auto& t : threads) t.join();
    };
    run_threads(false);
    {
        SYS_MemShare holder(name.c_str(), 64);
        ASSERT_NE(holder.GetPointer(), nullptr);
        static_cast<unsigned char*>(holder.GetPointer())[0] = 0xA5;
        run_threads(true);
    }
    EXPECT_EQ(failures.load(), 0);
    SYS_MemShare after(name.c_str(), 64);   // the last user took the block with it
    EXPECT_EQ(static_cast<unsigned char*>(after.GetPointer())[0], 0);
}

TEST(SystemObjects, EventStartsSignalledStaysSetAndWakesAWaitingThread) {
    const std::string name = UniqueName("event");
    SYS_Signal signal(name.c_str());
    EXPECT_TRUE(signal.IsSignalized(0));
    EXPECT_TRUE(signal.IsSignalized(0));   // manual reset: waiting does not clear it
    SYS_Signal same(name.c_str());
    same.UnSignalized();
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(signal.IsSignalized(50));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 40ms);
    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = SYS_Signal(name.c_str()).IsSignalized(10000); });
    std::this_thread::sleep_for(50ms);
    SYS_Signal(signal).Signalized();   // through a copy
    waiter.join();
    EXPECT_TRUE(woke);
    EXPECT_TRUE(same.IsSignalized(-1));
}

TEST(SystemObjects, LockSerialisesThreadsOnAKeyAndIsReentrant) {
    int key = 0, other_key = 0;
    std::atomic<int> inside{0}, most{0};
    auto worker = [&] {
        for (int i = 0; i < 20; ++i) {
            SYS_SynchroLock lock(&key);
            const int now = ++inside;
            if (now > most) most = now;
            std::this_thread::sleep_for(1ms);
            --inside;
        }
    };
    std::thread a(worker), b(worker), c(worker);
    std::atomic<bool> acquired{false}, other_free{false};
    std::thread second;
    {
        SYS_SynchroLock first(&key);
        SYS_SynchroLock again(&key);   // same thread: no wait
        SYS_SynchroLock copy(first);
        std::thread([&] { SYS_SynchroLock other(&other_key); other_free = true; }).join();   // another key
        second = std::thread([&] {
            SYS_SynchroLock lock(&key);
            acquired = true;
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(acquired);
    }
    for (std::thread* t : {&a, &b, &c, &second}) t->join();
    EXPECT_EQ(most, 1);
    EXPECT_TRUE(acquired);
    EXPECT_TRUE(other_free);
}

}  // namespace
