// CRC-32 kernels: byte-wise and slicing-by-16 tables, and the run-time kernel choice.
#include "util/crc32_kernel.h"

#include <atomic>
#include <cstring>

namespace zed::crc32 {
namespace {

struct SliceTables {
    uint32_t t[16][256];
};

constexpr SliceTables MakeTables() {
    SliceTables s{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
        s.t[0][i] = c;
    }
    for (int k = 1; k < 16; ++k)
        for (int i = 0; i < 256; ++i)
            s.t[k][i] = (s.t[k - 1][i] >> 8) ^ s.t[0][s.t[k - 1][i] & 0xFF];
    return s;
}

constexpr SliceTables kTables = MakeTables();

// Four lanes of this many bytes run side by side in the portable kernel; their registers are
// joined by the operator that moves a register over kLane zero bytes.
constexpr size_t kLane = 1024;

struct ShiftTables {
    uint32_t t[4][256];
};

// Moving a register over zero bytes is linear: build the 32 columns, then every byte value of
// every register byte from them.
constexpr ShiftTables MakeShift() {
    uint32_t column[32] = {};
    for (int bit = 0; bit < 32; ++bit) {
        uint32_t reg = 1u << bit;
        for (size_t i = 0; i < kLane; ++i) reg = (reg >> 8) ^ kTables.t[0][reg & 0xFF];
        column[bit] = reg;
    }
    ShiftTables s{};
    for (int k = 0; k < 4; ++k)
        for (uint32_t v = 0; v < 256; ++v) {
            uint32_t r = 0;
            for (int b = 0; b < 8; ++b)
                if (v & (1u << b)) r ^= column[8 * k + b];
            s.t[k][v] = r;
        }
    return s;
}

constexpr ShiftTables kShift = MakeShift();

inline uint32_t ShiftLane(uint32_t reg) {
    return kShift.t[0][reg & 0xFF] ^ kShift.t[1][(reg >> 8) & 0xFF] ^ kShift.t[2][(reg >> 16) & 0xFF] ^
           kShift.t[3][reg >> 24];
}
static_assert(kTables.t[0][1] == 0x77073096u && kTables.t[0][255] == 0x2D02EF8Du,
              "the reflected table of 0xEDB88320");

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the word loads below are little-endian");

inline uint64_t Load64(const unsigned char* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Slicing-by-8 step of one lane: eight bytes, the register xored into the first four.
inline uint32_t Step8(uint32_t reg, uint64_t w) {
    const auto& t = kTables.t;
    w ^= reg;
    return t[7][w & 0xFF] ^ t[6][(w >> 8) & 0xFF] ^ t[5][(w >> 16) & 0xFF] ^ t[4][(w >> 24) & 0xFF] ^
           t[3][(w >> 32) & 0xFF] ^ t[2][(w >> 40) & 0xFF] ^ t[1][(w >> 48) & 0xFF] ^ t[0][w >> 56];
}

inline uint32_t Load32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

Kernel Probe() {
    if (ProcessorHasClmulWide()) return Kernel::kClmulWide;
    if (ProcessorHasClmul()) return Kernel::kClmul;
    return Kernel::kSlicing;
}

Kernel Best() {
    static const Kernel best = Probe();
    return best;
}

std::atomic<int> g_forced{-1};

bool Available(Kernel k) {
    switch (k) {
    case Kernel::kClmulWide: return ProcessorHasClmulWide();
    case Kernel::kClmul: return ProcessorHasClmul();
    case Kernel::kSlicing: return true;
    }
    return false;
}

}  // namespace

uint32_t UpdateBytewise(uint32_t reg, const unsigned char* p, size_t n) {
    const uint32_t* t = kTables.t[0];
    for (size_t i = 0; i < n; ++i) reg = (reg >> 8) ^ t[(reg ^ p[i]) & 0xFF];
    return reg;
}

uint32_t UpdateSlicing(uint32_t reg, const unsigned char* p, size_t n) {
    // Four independent lanes keep the table loads busy instead of waiting on one chain.
    while (n >= 4 * kLane) {
        uint32_t a = reg, b = 0, c = 0, d = 0;
        for (size_t i = 0; i < kLane; i += 8) {
            a = Step8(a, Load64(p + i));
            b = Step8(b, Load64(p + kLane + i));
            c = Step8(c, Load64(p + 2 * kLane + i));
            d = Step8(d, Load64(p + 3 * kLane + i));
        }
        reg = ShiftLane(ShiftLane(ShiftLane(a) ^ b) ^ c) ^ d;
        p += 4 * kLane;
        n -= 4 * kLane;
    }
    const auto& t = kTables.t;
    while (n >= 16) {
        const uint32_t a = Load32(p) ^ reg, b = Load32(p + 4), c = Load32(p + 8), d = Load32(p + 12);
        reg = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
              t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
              t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
              t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
        p += 16;
        n -= 16;
    }
    return UpdateBytewise(reg, p, n);
}

Kernel BestKernel() { return Best(); }

Kernel ActiveKernel() {
    const int forced = g_forced.load(std::memory_order_relaxed);
    return forced >= 0 ? static_cast<Kernel>(forced) : Best();
}

void ForceKernel(Kernel kernel) {
    g_forced.store(static_cast<int>(Available(kernel) ? kernel : Best()));
}

void ResetKernel() { g_forced.store(-1); }

const char* KernelName(Kernel kernel) {
    switch (kernel) {
    case Kernel::kSlicing: return "slicing (four lanes by 8)";
    case Kernel::kClmul: return "carry-less multiply (128-bit)";
    case Kernel::kClmulWide: return "carry-less multiply (512-bit)";
    }
    return "?";
}

uint32_t UpdateWith(Kernel kernel, uint32_t reg, const unsigned char* p, size_t n) {
    if (kernel == Kernel::kClmulWide && ProcessorHasClmulWide()) return UpdateClmulWide(reg, p, n);
    if (kernel != Kernel::kSlicing && ProcessorHasClmul()) return UpdateClmul(reg, p, n);
    return UpdateSlicing(reg, p, n);
}

uint32_t Update(uint32_t reg, const void* p, size_t n) {
    return UpdateWith(ActiveKernel(), reg, static_cast<const unsigned char*>(p), n);
}

}  // namespace zed::crc32
