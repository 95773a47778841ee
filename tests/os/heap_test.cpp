// Process heap: zero-filled blocks and the injected-failure hook that failure-path tests rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "os/heap.h"

namespace {

TEST(Heap, CopiedBlocksHoldTheCopyThenZerosEvenWhereTheHeapReusesDirtyMemory) {
    unsigned char source[300];
    for (int i = 0; i < 300; ++i) source[i] = static_cast<unsigned char>(i * 7 + 1);
    for (size_t bytes : {size_t{0}, size_t{1}, size_t{1} << 20}) {   // zero bytes still give a block
        auto* p = static_cast<unsigned char*>(zed::HeapAllocZeroed(bytes));
        ASSERT_NE(p, nullptr) << bytes;
        for (size_t i = 0; i < bytes; ++i) ASSERT_EQ(p[i], 0) << bytes << " @" << i;
        zed::HeapRelease(p);
    }
    for (int round = 0; round < 50; ++round) {
        const size_t bytes = 40 + round * 97, used = round % 2 ? 300 : round;
        if (used > bytes) continue;
        void* dirty = zed::HeapAllocZeroed(bytes);   // leave garbage where the next block may land
        std::memset(dirty, 0xAB, bytes);
        zed::HeapRelease(dirty);
        auto* p = static_cast<unsigned char*>(zed::HeapAllocCopy(source, used, bytes));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::memcmp(p, source, used), 0);
        for (size_t i = used; i < bytes; ++i) ASSERT_EQ(p[i], 0) << bytes << " @" << i;
        zed::HeapRelease(p);
    }
    zed::HeapRelease(nullptr);
    EXPECT_EQ(zed::HeapAllocCopy(source, 10, 9), nullptr);     // more to copy than room
    EXPECT_EQ(zed::HeapAllocCopy(nullptr, 1, 9), nullptr);
    void* empty = zed::HeapAllocCopy(nullptr, 0, 0);
    EXPECT_NE(empty, nullptr);
    zed::HeapRelease(empty);
}

TEST(Heap, InjectedFailuresStartAfterTheAllowance) {
    zed::heap_testing::FailAfter(2);
    void* blocks[4];
    for (void*& p : blocks) p = zed::HeapAllocZeroed(8);
    EXPECT_TRUE(blocks[0] != nullptr && blocks[1] != nullptr);
    EXPECT_TRUE(blocks[2] == nullptr && blocks[3] == nullptr);
    EXPECT_EQ(zed::heap_testing::Attempts(), 4);
    zed::heap_testing::Reset();
    void* after = zed::HeapAllocZeroed(8);
    EXPECT_NE(after, nullptr);
    for (void* p : {blocks[0], blocks[1], after}) zed::HeapRelease(p);
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(zed::HeapAllocZeroed(1), nullptr);
    EXPECT_EQ(zed::HeapAllocCopy("x", 1, 8), nullptr);
    EXPECT_EQ(zed::HeapAllocScratch(8), nullptr);
    EXPECT_EQ(zed::heap_testing::Attempts(), 3);
    zed::heap_testing::Reset();
    // Scratch blocks are usable to their last byte, zero bytes still give one.
    for (size_t bytes : {size_t{0}, size_t{1}, size_t{4096}}) {
        auto* p = static_cast<unsigned char*>(zed::HeapAllocScratch(bytes));
        ASSERT_NE(p, nullptr) << bytes;
        std::memset(p, 0x5A, bytes == 0 ? 1 : bytes);
        zed::HeapRelease(p);
    }
}

}  // namespace
