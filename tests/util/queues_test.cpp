// FIFO, LIFO and stack: capacities, order, wrap-around, discards, sizes, records of any length, copies,
// failed allocations. Threads sharing a FIFO: fifo_threads_test.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "os/heap.h"
#include "tests/util/queue_records.h"
#include "zedll.h"

namespace {

using zedtest::Out;
using zedtest::Rec;

// Size three holds three; order is kept after the indices wrap; a read takes exactly the record's
// length and writes nothing past it.
TEST(Fifo, HoldsItsSizeInOrderThroughWrapAndTakesExactLengths) {
    CLS_FIFO q(3);
    EXPECT_TRUE(q.IsOk());
    EXPECT_FALSE(q.IsItem());
    for (uint32_t i = 1; i <= 3; ++i) EXPECT_EQ(q.Write(Rec(16, i).item()), 1);
    EXPECT_EQ(q.Write(Rec(16, 4).item()), 0);
    uint32_t next_in = 4, next_out = 1;
    std::mt19937 rng(1);
    for (int step = 0; step < 2000; ++step) {
        if (rng() % 2) {
            Rec r(8 + rng() % 40, next_in);
            if (q.Write(r.item())) ++next_in;
            continue;
        }
        Out o;
        if (!q.Read(o.item())) continue;
        ASSERT_EQ(o.serial(), next_out);
        const Rec want(o.bytes[0], next_out++);
        ASSERT_EQ(std::memcmp(o.bytes, want.bytes.data(), want.bytes.size()), 0);
        for (size_t i = want.bytes.size(); i < sizeof o.bytes; ++i) ASSERT_EQ(o.bytes[i], 0xEE) << i;
        ASSERT_LE(next_in - next_out, 3u);
    }
    EXPECT_EQ(CLS_FIFO().GetSize(), 10);
}

// A record that is its length field alone (4 bytes on the heap, so a read past it is caught),
// the field saying `length`.
std::unique_ptr<unsigned char[]> ShortRecord(uint32_t length) {
    std::unique_ptr<unsigned char[]> raw(new unsigned char[4]);
    std::memcpy(raw.get(), &length, 4);
    return raw;
}

// Takes one record with `take` and checks that exactly the first `length` bytes of the record's
// own length field came back and nothing past them was written.
template <class TakeFn>
void ExpectShortRecordBack(TakeFn take, uint32_t length) {
    Out o;
    ASSERT_EQ(take(o.item()), 1) << length;
    unsigned char field[4];
    std::memcpy(field, &length, 4);
    for (uint32_t i = 0; i < length; ++i) EXPECT_EQ(o.bytes[i], field[i]) << length << " " << i;
    for (size_t i = length; i < sizeof o.bytes; ++i) ASSERT_EQ(o.bytes[i], 0xEE) << length << " " << i;
}

// Records of length 0 to 4 are shorter than their own length field: all three kinds store them,
// give back exactly their bytes, and copy them safely. Only a null record is refused.
TEST(Queues, StoreRecordsEvenShorterThanTheirLengthField) {
    CLS_FIFO fifo(6);
    CLS_LIFO lifo(6);
    CLS_Stack stack(6);
    std::vector<std::unique_ptr<unsigned char[]>> records;
    for (uint32_t length : {0u, 1u, 2u, 3u, 4u}) {
        records.push_back(ShortRecord(length));
        auto* item = reinterpret_cast<LifoFifoItem*>(records.back().get());
        ASSERT_EQ(fifo.Write(item), 1) << length;
        ASSERT_EQ(lifo.Write(item), 1) << length;
        ASSERT_EQ(stack.Push(item), 1) << length;
    }
    Rec big(40, 9);
    ASSERT_EQ(fifo.Write(big.item()), 1);
    EXPECT_EQ(fifo.Write(big.item()), 0);   // full: six slots
    EXPECT_EQ(fifo.Write(nullptr), 0);
    EXPECT_EQ(stack.Push(nullptr), 0);
    EXPECT_EQ(lifo.Write(nullptr), 0);
    CLS_FIFO fifo_copy(fifo);
    CLS_LIFO lifo_copy(lifo);
    CLS_Stack stack_copy;
    stack_copy = stack;
    for (CLS_FIFO* f : {&fifo, &fifo_copy}) {
        for (uint32_t length : {0u, 1u, 2u, 3u, 4u})
            ExpectShortRecordBack([&](LifoFifoItem* out) { return f->Read(out); }, length);
        Out o;
        ASSERT_EQ(f->Read(o.item()), 1);
        EXPECT_EQ(std::memcmp(o.bytes, big.bytes.data(), 40), 0);
        EXPECT_FALSE(f->IsItem());
    }
    EXPECT_EQ(fifo.Read(nullptr), 0);
    lifo.FreeBottom(1);   // the length-0 record goes from the bottom; the rest move down
    for (uint32_t length : {4u, 3u, 2u, 1u, 0u}) {
        if (length > 0) ExpectShortRecordBack([&](LifoFifoItem* out) { return lifo.Read(out); }, length);
        ExpectShortRecordBack([&](LifoFifoItem* out) { return stack.Pop(out); }, length);
        ExpectShortRecordBack([&](LifoFifoItem* out) { return lifo_copy.Read(out); }, length);
        ExpectShortRecordBack([&](LifoFifoItem* out) { return stack_copy.Pop(out); }, length);
    }
    EXPECT_FALSE(lifo.IsItem());
}

// The discards cross the end of the slots; zero, negative or more than held drop everything.
TEST(Fifo, FreeTopDropsOldestFreeBottomNewestZeroDropsAll) {
    CLS_FIFO q(5);
    auto fill = [&](uint32_t from, int n) {
        for (int i = 0; i < n; ++i) ASSERT_EQ(q.Write(Rec(16, from + i).item()), 1);
    };
    Out o;
    fill(0, 4);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(q.Read(o.item()), 1);
    fill(100, 4);     // holds 3, 100, 101, 102, 103
    q.FreeTop(2);     // drops 3 and 100
    q.FreeBottom(1);  // drops 103
    for (uint32_t want : {101u, 102u}) {
        ASSERT_EQ(q.Read(o.item()), 1);
        EXPECT_EQ(o.serial(), want);
    }
    EXPECT_FALSE(q.IsItem());
    for (auto drop : {+[](CLS_FIFO& f) { f.FreeTop(0); }, +[](CLS_FIFO& f) { f.FreeBottom(0); },
                      +[](CLS_FIFO& f) { f.FreeBottom(-3); }, +[](CLS_FIFO& f) { f.FreeTop(9); }}) {
        fill(200, 5);
        drop(q);
        EXPECT_FALSE(q.IsItem());
    }
    fill(600, 5);   // still takes a full load afterwards
    ASSERT_EQ(q.Read(o.item()), 1);
    EXPECT_EQ(o.serial(), 600u);
}

// Resizing discards and reports; no slots make everything refuse cleanly.
TEST(Fifo, SetSizeDiscardsAndReports) {
    CLS_FIFO q(2);
    Rec r(16, 1);
    q.Write(r.item());
    EXPECT_EQ(q.SetSize(7), 1);
    EXPECT_EQ(q.GetSize(), 7);
    EXPECT_FALSE(q.IsItem());
    for (int i = 0; i < 7; ++i) EXPECT_EQ(q.Write(r.item()), 1);
    EXPECT_EQ(q.Write(r.item()), 0);
    EXPECT_EQ(q.InitFifo(), 1);
    EXPECT_FALSE(q.IsItem());
    EXPECT_EQ(q.SetSize(-1), 0);
    EXPECT_EQ(q.Write(r.item()), 0);
    Out o;
    EXPECT_EQ(q.Read(o.item()), 0);
    q.FreeTop(0);
    EXPECT_EQ(q.SetSize(0), 1);
    EXPECT_EQ(q.Write(r.item()), 0);
}

TEST(Fifo, FailedSlotArrayShowsInTheOkFlag) {
    zed::heap_testing::FailAfter(0);
    CLS_FIFO q(4);
    CLS_LIFO l(4);
    CLS_Stack s(4);
    zed::heap_testing::Reset();
    EXPECT_FALSE(q.IsOk());
    EXPECT_FALSE(l.IsOk());
    EXPECT_FALSE(s.IsOk());
    Rec r(16, 1);
    EXPECT_EQ(q.Write(r.item()), 0);
    EXPECT_EQ(l.Write(r.item()), 0);
    EXPECT_EQ(s.Push(r.item()), 0);
    EXPECT_EQ(q.InitFifo(), 1);   // a later initialise may succeed; the flag stays
    EXPECT_FALSE(q.IsOk());
    EXPECT_EQ(q.Write(r.item()), 1);
}

// size - 1 records, newest first, for both the LIFO and the stack.
template <typename Q, int (Q::*Put)(LifoFifoItem*), int (Q::*Take)(LifoFifoItem*)>
void LifoBasics() {
    Q q(3);
    EXPECT_EQ((q.*Put)(Rec(16, 1).item()), 1);
    EXPECT_EQ((q.*Put)(Rec(16, 2).item()), 1);
    EXPECT_EQ((q.*Put)(Rec(16, 3).item()), 0);
    for (uint32_t want : {2u, 1u, 0u}) {
        Out o;
        ASSERT_EQ((q.*Take)(o.item()), want ? 1 : 0);
        if (want) {
            EXPECT_EQ(o.serial(), want);
        }
    }
    EXPECT_FALSE(q.IsItem());
    EXPECT_EQ(q.GetSize(), 3);
}

TEST(Lifo, SizeThreeHoldsTwoNewestFirst) { LifoBasics<CLS_LIFO, &CLS_LIFO::Write, &CLS_LIFO::Read>(); }
TEST(Stack, SizeThreeHoldsTwoNewestFirst) { LifoBasics<CLS_Stack, &CLS_Stack::Push, &CLS_Stack::Pop>(); }

// FreeBottom moves the survivors down: they stay the newest and make room; zero drops all.
TEST(Lifo, FreeTopAndFreeBottomKeepTheRestInOrder) {
    CLS_LIFO q(10);
    auto fill = [&](uint32_t from, uint32_t to) {
        for (uint32_t i = from; i <= to; ++i) ASSERT_EQ(q.Write(Rec(16, i).item()), 1) << i;
    };
    auto drain = [&](std::vector<uint32_t> want) {
        for (uint32_t w : want) {
            Out o;
            ASSERT_EQ(q.Read(o.item()), 1);
            EXPECT_EQ(o.serial(), w);
        }
        EXPECT_FALSE(q.IsItem());
    };
    fill(1, 6);
    q.FreeTop(1);      // drops 6
    q.FreeBottom(2);   // drops 1 and 2
    drain({5, 4, 3});
    fill(1, 9);
    q.FreeBottom(3);
    fill(10, 12);
    EXPECT_EQ(q.Write(Rec(16, 99).item()), 0);
    drain({12, 11, 10, 9, 8, 7, 6, 5, 4});
    fill(1, 4);
    q.FreeBottom(0);
    EXPECT_FALSE(q.IsItem());
    fill(1, 4);
    q.FreeTop(0);
    EXPECT_FALSE(q.IsItem());
}

// Copies and assignments of all three hold their own records; resizing or initialising the
// original leaves them alone.
TEST(Queues, CopiesAreDeep) {
    CLS_FIFO a(3);
    a.Write(Rec(16, 1).item());
    a.Write(Rec(20, 2).item());
    CLS_FIFO b(a), c(1);
    c = a;
    c = c;
    Out o;
    ASSERT_EQ(a.Read(o.item()), 1);
    EXPECT_EQ(a.SetSize(5), 1);
    for (CLS_FIFO* q : {&b, &c}) {
        EXPECT_EQ(q->GetSize(), 3);
        for (uint32_t want : {1u, 2u}) {
            Out x;
            ASSERT_EQ(q->Read(x.item()), 1);
            EXPECT_EQ(x.serial(), want);
        }
        EXPECT_FALSE(q->IsItem());
    }
    CLS_LIFO l(3);   // copies of LIFOs and stacks of short records: see above
    l.Write(Rec(16, 5).item());
    EXPECT_EQ(l.SetSize(5), 1);
    EXPECT_EQ(l.GetSize(), 5);
    EXPECT_FALSE(l.IsItem());
    CLS_Stack s(4);
    s.Push(Rec(16, 5).item());
    CLS_Stack s2(s), s3;
    s3 = s;
    EXPECT_EQ(s.InitStack(), 1);
    EXPECT_FALSE(s.IsItem());
    EXPECT_TRUE(s2.IsItem());
    EXPECT_TRUE(s3.IsItem());
    s3.FreeTop(0);
    EXPECT_FALSE(s3.IsItem());
}

}  // namespace
