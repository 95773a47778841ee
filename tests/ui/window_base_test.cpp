// Window base and size registry: handle bookkeeping, growth at the last free slot, order kept on
// removal, size messages reaching exactly the objects of a window, failed allocations.
#define ZEDLL_WIN_HANDLER_FRIENDS friend struct HandlerAccess;
#include "zedll/win32/window_base.h"

#include <gtest/gtest.h>

#include <vector>

#include "os/heap.h"

struct HandlerAccess {
    WIN_Handler handler;
    int Add(void* object) { return handler.AddClass(object); }
    int Remove(void* object) { return handler.RemoveClass(object); }
    int Size(HWND window) { return handler.WMSize(window, 7, 0x00500060); }
    int count() const { return handler.count_; }
    int capacity() const { return handler.capacity_; }
    void* at(int i) const { return handler.table_[i]; }
};

namespace {

HWND Window(uintptr_t n) { return reinterpret_cast<HWND>(n); }

// A window object whose handle can be set, recording the size messages it receives.
struct Recorder : WIN_Father {
    explicit Recorder(HWND own = nullptr, HWND parent = nullptr) {
        window_ = own;
        SetHandleParent(parent);
    }
    void WMSize(HWND window, UINT wparam, LONG lparam) override {
        calls.push_back(window);
        EXPECT_EQ(wparam, 7u);
        EXPECT_EQ(lparam, 0x00500060);
    }
    std::vector<HWND> calls;
};

TEST(WindowBase, HandlesAreCopiedAndTheBaseHooksDoNothing) {
    Recorder a(Window(1));
    EXPECT_EQ(a.SetHandleParent(Window(9)), nullptr);
    EXPECT_EQ(a.SetHandleParent(Window(8)), Window(9));
    WIN_Father copy(a), assigned;
    assigned = a;
    for (WIN_Father* f : {&copy, &assigned}) {
        EXPECT_EQ(f->GetHandle(), Window(1));
        EXPECT_EQ(f->GetHandleParent(), Window(8));
    }
    EXPECT_EQ(copy.WMNotify(Window(1), 1, 2), 0);
    copy.WMSize(Window(1), 1, 2);   // the base hooks do nothing
}

TEST(WindowBase, TableGrowsWhenTheLastFreeSlotWouldBeTakenAndKeepsEachObjectOnce) {
    HandlerAccess h;
    std::vector<Recorder> objects(25);
    EXPECT_EQ(h.capacity(), 10);
    EXPECT_EQ(h.Add(nullptr), 0);
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(h.Add(&objects[i]), 1);
        ASSERT_EQ(h.Add(&objects[i]), 1);   // a second add holds it once
        // 9 objects fit in 10 slots; the 10th grows the table first, the 20th again.
        EXPECT_EQ(h.capacity(), i < 9 ? 10 : i < 19 ? 20 : 30) << i;
        EXPECT_EQ(h.count(), i + 1);
    }
    Recorder stranger;
    EXPECT_EQ(h.Remove(&stranger), 0);
    EXPECT_EQ(h.Remove(nullptr), 0);
    EXPECT_EQ(h.count(), 25);
    ASSERT_EQ(h.Remove(&objects[3]), 1);
    ASSERT_EQ(h.Remove(&objects[24]), 1);
    ASSERT_EQ(h.Remove(&objects[0]), 1);
    EXPECT_EQ(h.Remove(&objects[0]), 0);
    std::vector<void*> expected;
    for (int i = 1; i < 24; ++i) {
        if (i != 3) expected.push_back(&objects[i]);
    }
    ASSERT_EQ(h.count(), static_cast<int>(expected.size()));
    for (int i = 0; i < h.count(); ++i) EXPECT_EQ(h.at(i), expected[i]) << i;
}

TEST(WindowBase, SizeMessagesReachTheObjectsOfTheirWindowOnce) {
    HandlerAccess h;
    // Two children of window 5, one that owns window 5, one that owns and sits in 5, and
    // strangers: a null parent matches nothing, and window null is nobody's own window.
    Recorder child1(Window(11), Window(5)), child2(nullptr, Window(5)), own(Window(5), Window(1));
    Recorder both(Window(5), Window(5)), unparented(Window(12)), other(Window(13), Window(6));
    for (Recorder* r : {&child1, &unparented, &child2, &own, &both, &other}) ASSERT_EQ(h.Add(r), 1);
    EXPECT_EQ(h.Size(Window(5)), 1);
    for (Recorder* r : {&child1, &child2, &own, &both}) EXPECT_EQ(r->calls, std::vector<HWND>{Window(5)});
    EXPECT_TRUE(unparented.calls.empty());
    EXPECT_TRUE(other.calls.empty());
    EXPECT_EQ(h.Size(Window(12)), 1);
    EXPECT_EQ(unparented.calls, std::vector<HWND>{Window(12)});
    // A null window reaches only objects whose own handle is null, never through a null parent.
    EXPECT_EQ(h.Size(nullptr), 1);
    EXPECT_EQ(child2.calls.size(), 2u);
    EXPECT_EQ(unparented.calls.size(), 1u);
}

TEST(WindowBase, RefusedAllocationsLeaveTheRegistryAsItWas) {
    std::vector<Recorder> objects(10);
    zed::heap_testing::FailAfter(0);
    {
        HandlerAccess h;   // no table at all
        EXPECT_EQ(h.capacity(), 0);
        EXPECT_EQ(h.Add(&objects[0]), 0);
        zed::heap_testing::Reset();
        EXPECT_EQ(h.Add(&objects[0]), 1);   // the table is made on first use
        EXPECT_EQ(h.capacity(), 10);
    }
    HandlerAccess h;
    for (int i = 0; i < 9; ++i) ASSERT_EQ(h.Add(&objects[i]), 1);
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(h.Add(&objects[9]), 0);   // growth refused
    zed::heap_testing::Reset();
    EXPECT_EQ(h.count(), 9);
    EXPECT_EQ(h.capacity(), 10);
    HandlerAccess copy;
    copy.handler = h.handler;   // a table of its own: both destructors release their own
    EXPECT_EQ(copy.count(), 9);
    EXPECT_EQ(copy.Remove(&objects[0]), 1);
    EXPECT_EQ(h.count(), 9);
    EXPECT_EQ(h.at(0), &objects[0]);
}

}  // namespace
