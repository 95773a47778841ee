// CRC-32 by carry-less-multiply folding (x86): 128-bit lanes, and 512-bit lanes where the processor
// has them. Folding keeps a value congruent to the data read so far modulo the polynomial; the
// last 16 or 64 bytes of that value then go through the table step, so the result is the table's.
#include "util/crc32_kernel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace zed::crc32 {
namespace {

// Fold constants for the reflected polynomial: a 128-bit lane moved forward by D bits multiplies
// its low half by reflect(x^(D+32) mod P) << 1 and its high half by reflect(x^(D-32) mod P) << 1.
constexpr long long kFold128Lo = 0x1751997d0LL, kFold128Hi = 0x0ccaa009eLL;
constexpr long long kFold512Lo = 0x154442bd4LL, kFold512Hi = 0x1c6e41596LL;
constexpr long long kFold2048Lo = 0x11542778aLL, kFold2048Hi = 0x1322d1430LL;

__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    const __m128i lo = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i hi = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

__attribute__((target("pclmul,sse4.1"))) inline __m128i Load(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

#define ZEDLL_WIDE_TARGET __attribute__((target("avx512f,vpclmulqdq,pclmul,sse4.1")))

ZEDLL_WIDE_TARGET inline __m512i Load512(const unsigned char* p) { return _mm512_loadu_si512(p); }

// lo * k_lo ^ hi * k_hi ^ next, the three-way xor in one instruction.
ZEDLL_WIDE_TARGET inline __m512i Fold512(__m512i x, __m512i k, __m512i next) {
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(x, k, 0x00),
                                     _mm512_clmulepi64_epi128(x, k, 0x11), next, 0x96);
}

}  // namespace

bool ProcessorHasClmul() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

bool ProcessorHasClmulWide() {
    __builtin_cpu_init();
    return ProcessorHasClmul() && __builtin_cpu_supports("avx512f") &&
           __builtin_cpu_supports("vpclmulqdq");
}

__attribute__((target("pclmul,sse4.1"))) uint32_t UpdateClmul(uint32_t reg, const unsigned char* p,
                                                              size_t n) {
    if (n < 64) return UpdateSlicing(reg, p, n);
    // The register lines up with the first four bytes: xor it in, then fold from zero.
    __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x1 = Load(p + 16), x2 = Load(p + 32), x3 = Load(p + 48);
    p += 64;
    n -= 64;
    const __m128i k512 = _mm_set_epi64x(kFold512Hi, kFold512Lo);
    while (n >= 64) {
        x0 = Fold(x0, k512, Load(p));
        x1 = Fold(x1, k512, Load(p + 16));
        x2 = Fold(x2, k512, Load(p + 32));
        x3 = Fold(x3, k512, Load(p + 48));
        p += 64;
        n -= 64;
    }
    const __m128i k128 = _mm_set_epi64x(kFold128Hi, kFold128Lo);
    x1 = Fold(x0, k128, x1);
    x2 = Fold(x1, k128, x2);
    x3 = Fold(x2, k128, x3);
    while (n >= 16) {
        x3 = Fold(x3, k128, Load(p));
        p += 16;
        n -= 16;
    }
    alignas(16) unsigned char rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x3);
    return UpdateSlicing(UpdateSlicing(0, rest, 16), p, n);
}

ZEDLL_WIDE_TARGET uint32_t UpdateClmulWide(
    uint32_t reg, const unsigned char* p, size_t n) {
    if (n < 512) return UpdateClmul(reg, p, n);
    __m512i z0 = _mm512_xor_si512(Load512(p), _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg))));
    __m512i z1 = Load512(p + 64), z2 = Load512(p + 128), z3 = Load512(p + 192);
    p += 256;
    n -= 256;
    const __m512i k2048 = _mm512_set_epi64(kFold2048Hi, kFold2048Lo, kFold2048Hi, kFold2048Lo, kFold2048Hi,
                                           kFold2048Lo, kFold2048Hi, kFold2048Lo);
    while (n >= 256) {
        z0 = Fold512(z0, k2048, Load512(p));
        z1 = Fold512(z1, k2048, Load512(p + 64));
        z2 = Fold512(z2, k2048, Load512(p + 128));
        z3 = Fold512(z3, k2048, Load512(p + 192));
        p += 256;
        n -= 256;
    }
    const __m512i k512 = _mm512_set_epi64(kFold512Hi, kFold512Lo, kFold512Hi, kFold512Lo, kFold512Hi,
                                          kFold512Lo, kFold512Hi, kFold512Lo);
    z1 = Fold512(z0, k512, z1);
    z2 = Fold512(z1, k512, z2);
    z3 = Fold512(z2, k512, z3);
    alignas(64) unsigned char rest[64];
    _mm512_store_si512(rest, z3);
    return UpdateClmul(UpdateClmul(0, rest, 64), p, n);
}

}  // namespace zed::crc32

#else

namespace zed::crc32 {
bool ProcessorHasClmul() { return false; }
bool ProcessorHasClmulWide() { return false; }
uint32_t UpdateClmul(uint32_t reg, const unsigned char* p, size_t n) { return UpdateSlicing(reg, p, n); }
uint32_t UpdateClmulWide(uint32_t reg, const unsigned char* p, size_t n) {
    return UpdateSlicing(reg, p, n);
}
}  // namespace zed::crc32

#endif
