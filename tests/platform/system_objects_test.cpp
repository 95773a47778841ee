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

#include "child_process.h"
#include "platform/named_objects.h"
#include "zedll.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kChildVariable = "ZEDLL_TEST_NAMED_OBJECT";

std::string UniqueName(const char* what) {
    return std::string("zedll-test-") + what + "-" + std::to_string(zed::platform::CurrentProcessId());
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
    std::strcpy(reinterpret_cast<char*>(bytes), "first");
    {
        SYS_MemShare second(name.c_str(), 16);  // the existing block, whatever the size
        auto* other = static_cast<unsigned char*>(second.GetPointer());
        ASSERT_NE(other, nullptr);
        EXPECT_STREQ(reinterpret_cast<char*>(other), "first");
        other[4000] = 0x5A;
        SYS_MemShare copy(second);
        ASSERT_NE(copy.GetPointer(), nullptr);
        EXPECT_EQ(static_cast<unsigned char*>(copy.GetPointer())[4000], 0x5A);
        SYS_MemShare assigned("zedll-test-unrelated", 8);
        assigned = copy;
        EXPECT_EQ(static_cast<unsigned char*>(assigned.GetPointer())[4000], 0x5A);
    }
    EXPECT_EQ(bytes[4000], 0x5A);
}

TEST(SystemObjects, SharedMemoryOfSizeZeroFails) {
    SYS_MemShare empty(UniqueName("empty").c_str(), 0);
    EXPECT_EQ(empty.GetPointer(), nullptr);
    SYS_MemShare copy(empty);
    EXPECT_EQ(copy.GetPointer(), nullptr);
}

TEST(SystemObjects, SharedMemoryAcrossProcesses) {
    const std::string name = UniqueName("xmem");
    SYS_MemShare block(name.c_str(), 1024);
    auto* bytes = static_cast<char*>(block.GetPointer());
    ASSERT_NE(bytes, nullptr);
    std::strcpy(bytes, "from the parent");
    zedtest::ChildTest child("SystemObjectsChild.DISABLED_SharedMemory", kChildVariable, name);
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_STREQ(bytes + 512, "from the child");
}

TEST(SystemObjectsChild, DISABLED_SharedMemory) {
    const std::string name = zedtest::ChildValue(kChildVariable);
    ASSERT_FALSE(name.empty());
    SYS_MemShare block(name.c_str(), 8);
    auto* bytes = static_cast<char*>(block.GetPointer());
    ASSERT_NE(bytes, nullptr);
    ASSERT_STREQ(bytes, "from the parent");
    std::strcpy(bytes + 512, "from the child");
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
    SYS_Signal signal(name.c_str());
    EXPECT_TRUE(signal.IsSignalized(0));   // created signalled again, not left reset
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
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back(churn, false);
    for (auto& t : threads) t.join();
    threads.clear();
    {
        SYS_MemShare holder(name.c_str(), 64);
        ASSERT_NE(holder.GetPointer(), nullptr);
        static_cast<unsigned char*>(holder.GetPointer())[0] = 0xA5;
        for (int t = 0; t < 4; ++t) threads.emplace_back(churn, true);
        for (auto& t : threads) t.join();
    }
    EXPECT_EQ(failures.load(), 0);
    SYS_MemShare after(name.c_str(), 64);   // the last user took the block with it
    EXPECT_EQ(static_cast<unsigned char*>(after.GetPointer())[0], 0);
}

TEST(SystemObjectsChild, DISABLED_AbandonObjects) {
    const std::string name = zedtest::ChildValue(kChildVariable);
    ASSERT_FALSE(name.empty());
    auto* block = new SYS_MemShare(name.c_str(), 4096);
    auto* bytes = static_cast<char*>(block->GetPointer());
    ASSERT_NE(bytes, nullptr);
    std::strcpy(bytes, "left behind");
    auto* signal = new SYS_Signal(name.c_str());
    signal->UnSignalized();
    std::fflush(nullptr);
    std::_Exit(0);   // no destructors, no closing: as if the process had crashed
}

TEST(SystemObjects, EventStartsSignalledAndStaysSet) {
    const std::string name = UniqueName("event");
    SYS_Signal signal(name.c_str());
    EXPECT_TRUE(signal.IsSignalized(0));
    EXPECT_TRUE(signal.IsSignalized(0));  // manual reset: waiting does not clear it
    SYS_Signal same(name.c_str());
    same.UnSignalized();
    EXPECT_FALSE(signal.IsSignalized(0));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(signal.IsSignalized(50));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 40ms);
    SYS_Signal copy(signal);
    copy.Signalized();
    EXPECT_TRUE(same.IsSignalized(0));
    EXPECT_TRUE(signal.IsSignalized(-1));
}

TEST(SystemObjects, EventWakesAWaitingThread) {
    const std::string name = UniqueName("wake");
    SYS_Signal signal(name.c_str());
    signal.UnSignalized();
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        SYS_Signal mine(name.c_str());
        woke = mine.IsSignalized(10000);
    });
    std::this_thread::sleep_for(50ms);
    signal.Signalized();
    waiter.join();
    EXPECT_TRUE(woke);
}

TEST(SystemObjects, EventAcrossProcesses) {
    const std::string name = UniqueName("xevent");
    SYS_Signal signal(name.c_str());
    signal.UnSignalized();
    // The child finds the event reset, waits for the parent to set it, then resets it again.
    zedtest::ChildTest child("SystemObjectsChild.DISABLED_Event", kChildVariable, name);
    std::this_thread::sleep_for(200ms);
    signal.Signalized();
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_FALSE(signal.IsSignalized(0));
}

TEST(SystemObjectsChild, DISABLED_Event) {
    const std::string name = zedtest::ChildValue(kChildVariable);
    ASSERT_FALSE(name.empty());
    SYS_Signal signal(name.c_str());
    ASSERT_TRUE(signal.IsSignalized(20000));
    signal.UnSignalized();
}

TEST(SystemObjects, LockSerialisesThreadsOnAKey) {
    int key = 0;
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    std::atomic<bool> overlap_other_key{false};
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
    // Another key is never held up by these.
    int other_key = 0;
    {
        SYS_SynchroLock held(&key);
        std::thread free_thread([&] {
            SYS_SynchroLock other(&other_key);
            overlap_other_key = true;
        });
        free_thread.join();
    }
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(most, 1);
    EXPECT_TRUE(overlap_other_key);
}

TEST(SystemObjects, LockWaitsForTheHolderAndIsReentrant) {
    int key = 0;
    std::atomic<bool> acquired{false};
    std::thread second;
    {
        SYS_SynchroLock first(&key);
        SYS_SynchroLock again(&key);  // same thread: no wait
        SYS_SynchroLock copy(first);
        second = std::thread([&] {
            SYS_SynchroLock lock(&key);
            acquired = true;
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(acquired);
    }
    second.join();
    EXPECT_TRUE(acquired);
}

}  // namespace
