// MD5: the RFC 1321 message digest over buffers and C streams.
#include <cstdio>
#include <cstring>
#include <new>

#include "zedll/util.h"

/// The working context: chaining words, bytes hashed so far (low word first), pending input.
struct MD5::Context {
    uint32_t state[4];
    uint32_t count[2];
    unsigned char buffer[64];
};

namespace {

inline uint32_t Rotl(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

inline uint32_t Word(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The four rounds. F and G are written so that the term not depending on the previous result can
// be computed early: it shortens the chain that bounds the speed.
#define ZED_MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define ZED_MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define ZED_MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))
#define ZED_MD5_STEP(f, a, b, c, d, x, t, s) \
    a += f(b, c, d) + (x) + (t);             \
    a = Rotl(a, s) + b;
// G(b, c, d) = (b & d) | (c & ~d); the two parts have no bits in common, so they may be added.
#define ZED_MD5_GSTEP(a, b, c, d, x, t, s) \
    a += (x) + (t) + ((c) & ~(d));         \
    a += (b) & (d);                        \
    a = Rotl(a, s) + b;

// Runs `blocks` consecutive 64-byte blocks through the transform.
void Blocks(uint32_t state[4], const unsigned char* p, size_t blocks) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; blocks > 0; --blocks, p += 64) {
        uint32_t x[16];
        for (int i = 0; i < 16; ++i) x[i] = Word(p + 4 * i);
        const uint32_t aa = a, bb = b, cc = c, dd = d;

        ZED_MD5_STEP(ZED_MD5_F, a, b, c, d, x[0], 0xd76aa478, 7)
        ZED_MD5_STEP(ZED_MD5_F, d, a, b, c, x[1], 0xe8c7b756, 12)
        ZED_MD5_STEP(ZED_MD5_F, c, d, a, b, x[2], 0x242070db, 17)
        ZED_MD5_STEP(ZED_MD5_F, b, c, d, a, x[3], 0xc1bdceee, 22)
        ZED_MD5_STEP(ZED_MD5_F, a, b, c, d, x[4], 0xf57c0faf, 7)
        ZED_MD5_STEP(ZED_MD5_F, d, a, b, c, x[5], 0x4787c62a, 12)
        ZED_MD5_STEP(ZED_MD5_F, c, d, a, b, x[6], 0xa8304613, 17)
        ZED_MD5_STEP(ZED_MD5_F, b, c, d, a, x[7], 0xfd469501, 22)
        ZED_MD5_STEP(ZED_MD5_F, a, b, c, d, x[8], 0x698098d8, 7)
        ZED_MD5_STEP(ZED_MD5_F, d, a, b, c, x[9], 0x8b44f7af, 12)
        ZED_MD5_STEP(ZED_MD5_F, c, d, a, b, x[10], 0xffff5bb1, 17)
        ZED_MD5_STEP(ZED_MD5_F, b, c, d, a, x[11], 0x895cd7be, 22)
        ZED_MD5_STEP(ZED_MD5_F, a, b, c, d, x[12], 0x6b901122, 7)
        ZED_MD5_STEP(ZED_MD5_F, d, a, b, c, x[13], 0xfd987193, 12)
        ZED_MD5_STEP(ZED_MD5_F, c, d, a, b, x[14], 0xa679438e, 17)
        ZED_MD5_STEP(ZED_MD5_F, b, c, d, a, x[15], 0x49b40821, 22)

        ZED_MD5_GSTEP(a, b, c, d, x[1], 0xf61e2562, 5)
        ZED_MD5_GSTEP(d, a, b, c, x[6], 0xc040b340, 9)
        ZED_MD5_GSTEP(c, d, a, b, x[11], 0x265e5a51, 14)
        ZED_MD5_GSTEP(b, c, d, a, x[0], 0xe9b6c7aa, 20)
        ZED_MD5_GSTEP(a, b, c, d, x[5], 0xd62f105d, 5)
        ZED_MD5_GSTEP(d, a, b, c, x[10], 0x02441453, 9)
        ZED_MD5_GSTEP(c, d, a, b, x[15], 0xd8a1e681, 14)
        ZED_MD5_GSTEP(b, c, d, a, x[4], 0xe7d3fbc8, 20)
        ZED_MD5_GSTEP(a, b, c, d, x[9], 0x21e1cde6, 5)
        ZED_MD5_GSTEP(d, a, b, c, x[14], 0xc33707d6, 9)
        ZED_MD5_GSTEP(c, d, a, b, x[3], 0xf4d50d87, 14)
        ZED_MD5_GSTEP(b, c, d, a, x[8], 0x455a14ed, 20)
        ZED_MD5_GSTEP(a, b, c, d, x[13], 0xa9e3e905, 5)
        ZED_MD5_GSTEP(d, a, b, c, x[2], 0xfcefa3f8, 9)
        ZED_MD5_GSTEP(c, d, a, b, x[7], 0x676f02d9, 14)
        ZED_MD5_GSTEP(b, c, d, a, x[12], 0x8d2a4c8a, 20)

        ZED_MD5_STEP(ZED_MD5_H, a, b, c, d, x[5], 0xfffa3942, 4)
        ZED_MD5_STEP(ZED_MD5_H, d, a, b, c, x[8], 0x8771f681, 11)
        ZED_MD5_STEP(ZED_MD5_H, c, d, a, b, x[11], 0x6d9d6122, 16)
        ZED_MD5_STEP(ZED_MD5_H, b, c, d, a, x[14], 0xfde5380c, 23)
        ZED_MD5_STEP(ZED_MD5_H, a, b, c, d, x[1], 0xa4beea44, 4)
        ZED_MD5_STEP(ZED_MD5_H, d, a, b, c, x[4], 0x4bdecfa9, 11)
        ZED_MD5_STEP(ZED_MD5_H, c, d, a, b, x[7], 0xf6bb4b60, 16)
        ZED_MD5_STEP(ZED_MD5_H, b, c, d, a, x[10], 0xbebfbc70, 23)
        ZED_MD5_STEP(ZED_MD5_H, a, b, c, d, x[13], 0x289b7ec6, 4)
        ZED_MD5_STEP(ZED_MD5_H, d, a, b, c, x[0], 0xeaa127fa, 11)
        ZED_MD5_STEP(ZED_MD5_H, c, d, a, b, x[3], 0xd4ef3085, 16)
        ZED_MD5_STEP(ZED_MD5_H, b, c, d, a, x[6], 0x04881d05, 23)
        ZED_MD5_STEP(ZED_MD5_H, a, b, c, d, x[9], 0xd9d4d039, 4)
        ZED_MD5_STEP(ZED_MD5_H, d, a, b, c, x[12], 0xe6db99e5, 11)
        ZED_MD5_STEP(ZED_MD5_H, c, d, a, b, x[15], 0x1fa27cf8, 16)
        ZED_MD5_STEP(ZED_MD5_H, b, c, d, a, x[2], 0xc4ac5665, 23)

        ZED_MD5_STEP(ZED_MD5_I, a, b, c, d, x[0], 0xf4292244, 6)
        ZED_MD5_STEP(ZED_MD5_I, d, a, b, c, x[7], 0x432aff97, 10)
        ZED_MD5_STEP(ZED_MD5_I, c, d, a, b, x[14], 0xab9423a7, 15)
        ZED_MD5_STEP(ZED_MD5_I, b, c, d, a, x[5], 0xfc93a039, 21)
        ZED_MD5_STEP(ZED_MD5_I, a, b, c, d, x[12], 0x655b59c3, 6)
        ZED_MD5_STEP(ZED_MD5_I, d, a, b, c, x[3], 0x8f0ccc92, 10)
        ZED_MD5_STEP(ZED_MD5_I, c, d, a, b, x[10], 0xffeff47d, 15)
        ZED_MD5_STEP(ZED_MD5_I, b, c, d, a, x[1], 0x85845dd1, 21)
        ZED_MD5_STEP(ZED_MD5_I, a, b, c, d, x[8], 0x6fa87e4f, 6)
        ZED_MD5_STEP(ZED_MD5_I, d, a, b, c, x[15], 0xfe2ce6e0, 10)
        ZED_MD5_STEP(ZED_MD5_I, c, d, a, b, x[6], 0xa3014314, 15)
        ZED_MD5_STEP(ZED_MD5_I, b, c, d, a, x[13], 0x4e0811a1, 21)
        ZED_MD5_STEP(ZED_MD5_I, a, b, c, d, x[4], 0xf7537e82, 6)
        ZED_MD5_STEP(ZED_MD5_I, d, a, b, c, x[11], 0xbd3af235, 10)
        ZED_MD5_STEP(ZED_MD5_I, c, d, a, b, x[2], 0x2ad7d2bb, 15)
        ZED_MD5_STEP(ZED_MD5_I, b, c, d, a, x[9], 0xeb86d391, 21)

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

#undef ZED_MD5_F
#undef ZED_MD5_H
#undef ZED_MD5_I
#undef ZED_MD5_STEP
#undef ZED_MD5_GSTEP

// A stream is read 1 KiB at a time, so that after a read error it is left where hosts expect it.
constexpr size_t kStreamBlock = 1024;

}  // namespace

MD5::MD5() : context_(new (std::nothrow) Context()) {
    if (context_ != nullptr) MD5Init();
}

MD5::MD5(const MD5& other) : context_(new (std::nothrow) Context()) {
    if (context_ != nullptr && other.context_ != nullptr) *context_ = *other.context_;
}

MD5::~MD5() { delete context_; }

MD5& MD5::operator=(const MD5& other) {
    if (this != &other && context_ != nullptr && other.context_ != nullptr)
        *context_ = *other.context_;
    return *this;
}

void MD5::MD5Transform(uint32_t state[4], const uint32_t block[16]) {
    unsigned char bytes[64];
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k) bytes[4 * i + k] = static_cast<unsigned char>(block[i] >> (8 * k));
    Blocks(state, bytes, 1);
}

void MD5::MD5Init() {
    if (context_ == nullptr) return;
    context_->state[0] = 0x67452301;
    context_->state[1] = 0xefcdab89;
    context_->state[2] = 0x98badcfe;
    context_->state[3] = 0x10325476;
    context_->count[0] = context_->count[1] = 0;
}

void MD5::MD5Update(const unsigned char* data, unsigned long length) {
    if (context_ == nullptr || data == nullptr || length == 0) return;
    Context& c = *context_;
    size_t have = c.count[0] & 63;
    const uint64_t total = ((static_cast<uint64_t>(c.count[1]) << 32) | c.count[0]) + length;
    c.count[0] = static_cast<uint32_t>(total);
    c.count[1] = static_cast<uint32_t>(total >> 32);
    size_t n = length;
    if (have != 0) {
        const size_t take = n < 64 - have ? n : 64 - have;
        std::memcpy(c.buffer + have, data, take);
        data += take;
        n -= take;
        have += take;
        if (have < 64) return;
        Blocks(c.state, c.buffer, 1);
    }
    Blocks(c.state, data, n / 64);
    std::memcpy(c.buffer, data + (n & ~size_t{63}), n & 63);
}

void MD5::MD5Final(unsigned char* digest) {
    if (context_ == nullptr) return;
    Context& c = *context_;
    const uint64_t bits = ((static_cast<uint64_t>(c.count[1]) << 32) | c.count[0]) * 8;
    unsigned char tail[72] = {0x80};
    const size_t have = c.count[0] & 63;
    const size_t pad = have < 56 ? 56 - have : 120 - have;
    for (int i = 0; i < 8; ++i) tail[pad + i] = static_cast<unsigned char>(bits >> (8 * i));
    MD5Update(tail, static_cast<unsigned long>(pad + 8));
    if (digest != nullptr)
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 4; ++k)
                digest[4 * i + k] = static_cast<unsigned char>(c.state[i] >> (8 * k));
}

void MD5::computeSum(const unsigned char* data, unsigned long length, unsigned char* digest) {
    if (context_ == nullptr || digest == nullptr || (data == nullptr && length != 0)) return;
    MD5Init();
    MD5Update(data, length);
    MD5Final(digest);
}

bool MD5::compareSum(const unsigned char* data, unsigned long length,
                     const unsigned char* expected) {
    if (context_ == nullptr || expected == nullptr || (data == nullptr && length != 0)) return false;
    unsigned char digest[16];
    computeSum(data, length, digest);
    return std::memcmp(digest, expected, 16) == 0;
}

void MD5::printSum(const unsigned char* digest) {
    if (digest == nullptr) return;
    for (int i = 0; i < 16; ++i) std::printf("%02x", digest[i]);
}

bool MD5::computeSum(FILE* stream, unsigned char* digest) {
    if (context_ == nullptr || stream == nullptr) return false;
    std::rewind(stream);
    MD5Init();
    unsigned char block[kStreamBlock];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, stream);
        if (got == 0) break;
        MD5Update(block, static_cast<unsigned long>(got));
    }
    unsigned char local[16];
    MD5Final(digest != nullptr ? digest : local);
    if (std::ferror(stream)) return false;
    std::rewind(stream);
    return true;
}

bool MD5::compareSum(FILE* stream, const unsigned char* expected) {
    unsigned char digest[16];
    if (!computeSum(stream, digest)) return false;
    return expected != nullptr && std::memcmp(digest, expected, 16) == 0;
}

bool MD5::printSum(FILE* stream) {
    unsigned char digest[16];
    if (!computeSum(stream, digest)) return false;
    printSum(digest);
    return true;
}
