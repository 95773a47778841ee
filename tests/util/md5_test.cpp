// MD5: the RFC 1321 test suite, OpenSSL on many sizes, piecewise updates, streams (rewind rules and
// read errors), printing, and copies that never share a context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"
#include "zedll.h"

#if defined(ZEDLL_TEST_PEERS)
#include <openssl/evp.h>
#endif

namespace {

std::string Hex(const unsigned char* d) {
    std::string s;
    char buf[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", d[i]);
        s += buf;
    }
    return s;
}

std::string Digest(const std::string& text) {
    MD5 md5;
    unsigned char d[16];
    md5.computeSum(reinterpret_cast<const unsigned char*>(text.data()),
                   static_cast<unsigned long>(text.size()), d);
    return Hex(d);
}

// Reaches the RFC steps.
struct Md5Probe : MD5 {
    using MD5::MD5Final;
    using MD5::MD5Init;
    using MD5::MD5Update;
};

TEST(Md5, Rfc1321Suite) {
    const char* const suite[][2] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"}};
    for (const auto& c : suite) EXPECT_EQ(Digest(c[0]), c[1]) << c[0];
}

// Every length up to 300 (all the padding boundaries) fed in random pieces equals the whole; with
// OpenSSL linked in, both agree with it there and on large and random sizes.
TEST(Md5, PiecewiseUpdatesAndOpenSslAgreeOnManySizes) {
    std::mt19937 rng(4);
    std::vector<size_t> sizes;
    for (size_t n = 0; n <= 300; ++n) sizes.push_back(n);
    for (size_t n : {4095, 4096, 4097, 10485759, 10485761}) sizes.push_back(n);
    for (int i = 0; i < 20; ++i) sizes.push_back(rng() % 200000);
    std::vector<unsigned char> data(10485761);
    for (auto& b : data) b = static_cast<unsigned char>(rng());
    MD5 md5;
    for (size_t n : sizes) {
        unsigned char whole[16], pieces[16];
        md5.computeSum(data.data(), static_cast<unsigned long>(n), whole);
        if (n <= 300) {
            Md5Probe probe;
            probe.MD5Init();
            for (size_t at = 0, take; at < n; at += take) {
                take = std::min<size_t>(n - at, 1 + rng() % 70);
                probe.MD5Update(data.data() + at, static_cast<unsigned long>(take));
            }
            probe.MD5Final(pieces);
            ASSERT_EQ(Hex(whole), Hex(pieces)) << n;
        }
#if defined(ZEDLL_TEST_PEERS)
        unsigned char theirs[16];
        unsigned int len = 0;
        ASSERT_EQ(EVP_Digest(data.data(), n, theirs, &len, EVP_md5(), nullptr), 1);
        ASSERT_EQ(Hex(whole), Hex(theirs)) << n;
#endif
    }
}

// One wrong bit is seen; the digest is exactly sixteen bytes; null data with a length writes
// nothing; printing gives thirty-two lowercase digits.
TEST(Md5, CompareWriteAndPrintTheDigest) {
    MD5 md5;
    const unsigned char text[] = "abc";
    unsigned char d[20];
    std::memset(d, 0xEE, sizeof d);
    md5.computeSum(text, 3, d);
    for (int i = 16; i < 20; ++i) EXPECT_EQ(d[i], 0xEE);
    EXPECT_TRUE(md5.compareSum(text, 3, d));
    for (int bit = 0; bit < 128; bit += 13) {
        d[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
        EXPECT_FALSE(md5.compareSum(text, 3, d)) << bit;
        d[bit / 8] ^= static_cast<unsigned char>(1u << (bit % 8));
    }
    EXPECT_FALSE(md5.compareSum(text, 3, nullptr));
    testing::internal::CaptureStdout();
    md5.printSum(d);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "900150983cd24fb0d6963f7d28e17f72");
    unsigned char out[16];
    std::memset(out, 0xEE, sizeof out);
    md5.computeSum(nullptr, 5, out);
    for (unsigned char c : out) EXPECT_EQ(c, 0xEE);
    md5.computeSum(nullptr, 0, out);
    EXPECT_EQ(Hex(out), "d41d8cd98f00b204e9800998ecf8427e");
}

class Md5Streams : public ::testing::Test {
protected:
    zedtest::ScratchDir dir_;
};

TEST_F(Md5Streams, StreamDigestEqualsBufferDigestAndRewinds) {
    std::mt19937 rng(12);
    for (size_t n : {size_t{0}, size_t{1}, size_t{1023}, size_t{1024}, size_t{1025}, size_t{100000}}) {
        std::vector<unsigned char> data(n);
        for (auto& b : data) b = static_cast<unsigned char>(rng());
        const std::string name = dir_.File("s.bin");
        zedtest::WriteBytes(name, data);
        FILE* f = std::fopen(name.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        std::fseek(f, static_cast<long>(n / 2), SEEK_SET);   // computeSum starts from the top anyway
        MD5 md5;
        unsigned char from_stream[16], from_buffer[16];
        ASSERT_TRUE(md5.computeSum(f, from_stream));
        EXPECT_EQ(std::ftell(f), 0) << n;
        md5.computeSum(data.data(), static_cast<unsigned long>(n), from_buffer);
        EXPECT_EQ(Hex(from_stream), Hex(from_buffer)) << n;
        EXPECT_TRUE(md5.compareSum(f, from_buffer));
        from_buffer[0] ^= 1;
        EXPECT_FALSE(md5.compareSum(f, from_buffer));
        testing::internal::CaptureStdout();
        EXPECT_TRUE(md5.printSum(f));
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), Hex(from_stream));
        std::fclose(f);
    }
}

#if defined(__GLIBC__)
// A stream over memory with a small buffer (128 bytes), so that every block the caller reads takes
// several refills; it can be made to fail part-way.
struct CountingSource {
    std::vector<unsigned char> data;
    size_t at = 0;
    size_t largest = 0;
    size_t fail_after = SIZE_MAX;   // a read that would go past this many bytes fails
    char buffer[128];
};

ssize_t CountingRead(void* cookie, char* buf, size_t n) {
    auto* src = static_cast<CountingSource*>(cookie);
    if (n > src->largest) src->largest = n;
    if (src->at >= src->fail_after) return -1;
    size_t take = std::min(n, src->data.size() - src->at);
    take = std::min(take, src->fail_after - src->at);
    std::memcpy(buf, src->data.data() + src->at, take);
    src->at += take;
    return static_cast<ssize_t>(take);
}

int CountingSeek(void* cookie, off64_t* offset, int whence) {
    auto* src = static_cast<CountingSource*>(cookie);
    if (whence != SEEK_SET || *offset < 0 || static_cast<size_t>(*offset) > src->data.size()) return -1;
    src->at = static_cast<size_t>(*offset);
    return 0;
}

FILE* OpenCounting(CountingSource& src) {
    cookie_io_functions_t io{};
    io.read = CountingRead;
    io.seek = CountingSeek;
    FILE* f = fopencookie(&src, "r", io);
    if (f != nullptr) std::setvbuf(f, src.buffer, _IOFBF, sizeof src.buffer);
    return f;
}

// Every block the caller reads takes several refills of the 128-byte buffer: the buffer's digest
// and a rewind. A read error part-way gives false and leaves the stream where reading stopped.
TEST_F(Md5Streams, SmallBufferedStreamDigestsAndReadErrorStops) {
    CountingSource src;
    src.data.resize(10000);
    std::mt19937 rng(5);
    for (auto& b : src.data) b = static_cast<unsigned char>(rng());
    FILE* f = OpenCounting(src);
    ASSERT_NE(f, nullptr);
    MD5 md5;
    unsigned char from_stream[16], from_buffer[16];
    ASSERT_TRUE(md5.computeSum(f, from_stream));
    md5.computeSum(src.data.data(), static_cast<unsigned long>(src.data.size()), from_buffer);
    EXPECT_EQ(Hex(from_stream), Hex(from_buffer));
    EXPECT_EQ(src.largest, sizeof src.buffer);
    EXPECT_EQ(src.at, 0u);
    std::fclose(f);
    src.fail_after = 2500;
    f = OpenCounting(src);
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(md5.computeSum(f, from_stream));
    EXPECT_TRUE(std::ferror(f));
    EXPECT_EQ(src.at, 2500u);
    std::fclose(f);
}
#endif

// A fresh write-only stream for each call: reading it sets the error indicator.
TEST_F(Md5Streams, ReadErrorGivesFalse) {
#if defined(_WIN32)
    // The Windows C runtime reports end of file, not an error, when a write-only stream is read,
    // and offers no other stream that fails to read on demand.
    GTEST_SKIP() << "no way to make a stream fail to read here";
#endif
    const std::string name = dir_.File("w.bin");
    MD5 md5;
    unsigned char d[16] = {};
    for (int call = 0; call < 3; ++call) {
        FILE* f = std::fopen(name.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        testing::internal::CaptureStdout();
        const bool ok = call == 0 ? md5.computeSum(f, d) : call == 1 ? md5.compareSum(f, d) : md5.printSum(f);
        std::fflush(stdout);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << call;
        EXPECT_FALSE(ok) << call;
        std::fclose(f);
    }
    EXPECT_FALSE(md5.computeSum(static_cast<FILE*>(nullptr), d));
}

TEST(Md5, CopiesOwnTheirContexts) {
    Md5Probe a;
    a.MD5Init();
    a.MD5Update(reinterpret_cast<const unsigned char*>("ab"), 2);
    Md5Probe b(a), c;   // b continues from the same state
    c = a;
    c = c;   // self-assignment keeps the context
    unsigned char d[3][16];
    for (Md5Probe* m : {&a, &b, &c}) {
        m->MD5Update(reinterpret_cast<const unsigned char*>(m == &c ? "x" : "c"), 1);
        m->MD5Final(d[m == &a ? 0 : m == &b ? 1 : 2]);
    }
    EXPECT_EQ(Hex(d[0]), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Hex(d[1]), Hex(d[0]));
    EXPECT_NE(Hex(d[2]), Hex(d[0]));
    MD5 plain;
    MD5 copy = plain;
    copy = plain;
}   // every context released once (the sanitizers check)

}  // namespace
