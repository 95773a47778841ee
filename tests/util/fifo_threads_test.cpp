// Threads sharing one CLS_FIFO: records moved by one pair and by four producers and four
// consumers, each delivered exactly once, whole, and in its producer's order.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "tests/util/queue_records.h"
#include "zedll.h"

namespace {

using zedtest::Out;
using zedtest::Rec;

// One producer and one consumer share a FIFO: a million records, none lost, none duplicated,
// order kept, every byte intact.
TEST(FifoThreads, ProducerAndConsumerMoveAMillionRecords) {
    constexpr uint32_t kRecords = 1000000;
    CLS_FIFO q(256);
    std::atomic<bool> failed{false};
    std::thread producer([&] {
        std::mt19937 rng(5);
        for (uint32_t i = 0; i < kRecords && !failed; ++i) {
            Rec r(16 + rng() % 241, i);
            while (!q.Write(r.item()) && !failed) std::this_thread::yield();
        }
    });
    std::thread consumer([&] {
        std::mt19937 rng(5);
        for (uint32_t i = 0; i < kRecords;) {
            Out o;
            if (!q.Read(o.item())) {
                std::this_thread::yield();
                continue;
            }
            const Rec want(16 + rng() % 241, i);
            if (std::memcmp(o.bytes, want.bytes.data(), want.bytes.size()) != 0 ||
                o.bytes[want.bytes.size()] != 0xEE) {
                failed = true;
                break;
            }
            ++i;
        }
    });
    producer.join();
    consumer.join();
    EXPECT_FALSE(failed.load());
    EXPECT_FALSE(q.IsItem());
}

constexpr uint32_t kProducers = 4;
constexpr uint32_t kConsumers = 4;
constexpr uint32_t kEach = 250000;   // a million records in all

uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    return x ^ (x >> 16);
}

// Record `serial` of `producer`: its length, the producer, the serial, then bytes of its own.
std::vector<unsigned char> Record(uint32_t producer, uint32_t serial) {
    const uint32_t key = Mix(producer * kEach + serial);
    const uint32_t length = 12 + key % 53;
    std::vector<unsigned char> bytes(length);
    std::memcpy(bytes.data(), &length, 4);
    std::memcpy(bytes.data() + 4, &producer, 4);
    std::memcpy(bytes.data() + 8, &serial, 4);
    for (uint32_t i = 12; i < length; ++i) bytes[i] = static_cast<unsigned char>(key >> (i % 24));
    return bytes;
}

uint64_t Checksum(const unsigned char* bytes, size_t n) {
    uint64_t h = 1469598103934665603ULL;   // FNV-1a
    for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ULL;
    return h;
}

// Four producers and four consumers on one FIFO: every record comes out exactly once, as it went
// in, and each consumer sees every producer's records in the order they were written. The sums
// of the records' checksums agree on both sides.
TEST(FifoThreads, FourProducersAndFourConsumersDeliverEachRecordOnceInOrder) {
    constexpr uint32_t kRecords = kProducers * kEach;
    CLS_FIFO q(64);
    std::vector<std::atomic<uint8_t>> seen(kRecords);
    std::atomic<uint32_t> taken{0};
    std::atomic<uint64_t> sent_sum{0}, received_sum{0};
    std::atomic<int> damaged{0}, out_of_order{0};

    std::vector<std::thread> threads;
    for (uint32_t p = 0; p < kProducers; ++p) {
        threads.emplace_back([&, p] {
            uint64_t sum = 0;
            for (uint32_t i = 0; i < kEach; ++i) {
                std::vector<unsigned char> r = Record(p, i);
                sum += Checksum(r.data(), r.size());
                while (!q.Write(reinterpret_cast<LifoFifoItem*>(r.data()))) std::this_thread::yield();
            }
            sent_sum += sum;
        });
    }
    for (uint32_t c = 0; c < kConsumers; ++c) {
        threads.emplace_back([&] {
            uint64_t sum = 0;
            int64_t last[kProducers];
            for (int64_t& l : last) l = -1;
            while (taken.load() < kRecords) {
                Out o;
                // Hosts poll IsItem before taking; it reads without the lock.
                if (!q.IsItem() || !q.Read(o.item())) {
                    std::this_thread::yield();
                    continue;
                }
                taken.fetch_add(1);
                uint32_t length, producer, serial;
                std::memcpy(&length, o.bytes, 4);
                std::memcpy(&producer, o.bytes + 4, 4);
                std::memcpy(&serial, o.bytes + 8, 4);
                sum += Checksum(o.bytes, length);
                if (producer >= kProducers || serial >= kEach || length > sizeof o.bytes - 1 ||
                    Record(producer, serial) != std::vector<unsigned char>(o.bytes, o.bytes + length) ||
                    o.bytes[length] != 0xEE) {
                    ++damaged;
                    continue;
                }
                if (static_cast<int64_t>(serial) <= last[producer]) ++out_of_order;
                last[producer] = serial;
                seen[producer * kEach + serial].fetch_add(1);
            }
            received_sum += sum;
        });
    }
    for (std::thread& t : threads) t.join();

    EXPECT_EQ(damaged.load(), 0);
    EXPECT_EQ(out_of_order.load(), 0);
    EXPECT_EQ(taken.load(), kRecords);
    uint32_t once = 0;
    for (const auto& s : seen) once += s.load() == 1;
    EXPECT_EQ(once, kRecords);
    EXPECT_EQ(sent_sum.load(), received_sum.load());
    EXPECT_FALSE(q.IsItem());
}

}  // namespace
