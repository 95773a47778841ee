// Process heap: zero-filled blocks and the injected-failure hook that failure-path tests rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/heap.h"

namespace {

TEST(Heap, BlocksAreZeroFilledAndZeroBytesStillGiveABlock) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{13}, size_t{4096}, size_t{1} << 20}) {
        auto* p = static_cast<unsigned char*>(zed::HeapAllocZeroed(size));
        ASSERT_NE(p, nullptr) << size;
        for (size_t i = 0; i < size; ++i) ASSERT_EQ(p[i], 0) << size << " @" << i;
        std::memset(p, 0xAB, size);   // the whole block is ours to write
        zed::HeapRelease(p);
    }
    zed::HeapRelease(nullptr);
}

TEST(Heap, CopiedBlocksHoldTheCopyThenZerosEvenWhereTheHeapReusesDirtyMemory) {
    unsigned char source[300];
    for (int i = 0; i < 300; ++i) source[i] = static_cast<unsigned char>(i * 7 + 1);
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
    EXPECT_EQ(zed::HeapAllocCopy(source, 10, 9), nullptr);     // more to copy than room
    EXPECT_EQ(zed::HeapAllocCopy(nullptr, 1, 9), nullptr);
    void* empty = zed::HeapAllocCopy(nullptr, 0, 0);
    EXPECT_NE(empty, nullptr);
    zed::HeapRelease(empty);
    zed::heap_faults::FailAfter(0);
    EXPECT_EQ(zed::HeapAllocCopy(source, 1, 8), nullptr);
    zed::heap_faults::Reset();
}

TEST(Heap, InjectedFailuresStartAfterTheAllowance) {
    zed::heap_faults::FailAfter(2);
    void* a = zed::HeapAllocZeroed(8);
    void* b = zed::HeapAllocZeroed(8);
    void* c = zed::HeapAllocZeroed(8);
    void* d = zed::HeapAllocZeroed(8);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(zed::heap_faults::Attempts(), 4);
    zed::heap_faults::Reset();
    void* e = zed::HeapAllocZeroed(8);
    EXPECT_NE(e, nullptr);
    for (void* p : {a, b, e}) zed::HeapRelease(p);
    zed::heap_faults::FailAfter(0);
    EXPECT_EQ(zed::HeapAllocZeroed(1), nullptr);
    zed::heap_faults::Reset();
}

}  // namespace
