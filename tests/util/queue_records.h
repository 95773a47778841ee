// Records for the queue tests: made from a length and a serial, and a buffer to take them into.
#ifndef ZEDLL_TESTS_UTIL_QUEUE_RECORDS_H
#define ZEDLL_TESTS_UTIL_QUEUE_RECORDS_H

#include <cstdint>
#include <cstring>
#include <vector>

#include "zedll.h"

namespace zedtest {

// A record of `length` bytes: the length, a serial number, then bytes derived from the serial.
struct Rec {
    std::vector<unsigned char> bytes;
    Rec(uint32_t length, uint32_t serial) : bytes(length < 8 ? 8 : length) {
        std::memcpy(bytes.data(), &length, 4);
        std::memcpy(bytes.data() + 4, &serial, 4);
        for (size_t i = 8; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(serial * 31 + i);
    }
    LifoFifoItem* item() { return reinterpret_cast<LifoFifoItem*>(bytes.data()); }
};

// A buffer for taking records, with a sentinel fill so that the bytes written can be counted.
struct Out {
    unsigned char bytes[512];
    Out() { std::memset(bytes, 0xEE, sizeof bytes); }
    LifoFifoItem* item() { return reinterpret_cast<LifoFifoItem*>(bytes); }
    uint32_t serial() const {
        uint32_t s;
        std::memcpy(&s, bytes + 4, 4);
        return s;
    }
};

}  // namespace zedtest

#endif
