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
