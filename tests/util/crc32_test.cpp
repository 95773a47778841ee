// CRC-32: the table, every kernel against zlib and a bit-at-a-time reference, the string checksum
// and the four file strategies (equal results, result codes for missing and empty files).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"
#include "os/file.h"
#include "util/crc32_kernel.h"
#include "zedll.h"

#if defined(ZEDLL_TEST_PEERS)
#include <zlib.h>
#endif

namespace {

// Bit at a time, straight from the definition: nothing shared with the library's tables.
uint32_t ReferenceCrc(const unsigned char* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// zlib where it is linked in; the reference elsewhere.
uint32_t PeerCrc(const unsigned char* p, size_t n) {
#if defined(ZEDLL_TEST_PEERS)
    uLong c = crc32(0L, Z_NULL, 0);
    while (n > 0) {   // zlib takes 32-bit lengths
        const uInt chunk = static_cast<uInt>(n > (1u << 30) ? (1u << 30) : n);
        c = crc32(c, p, chunk);
        p += chunk;
        n -= chunk;
    }
    return static_cast<uint32_t>(c);
#else
    return ReferenceCrc(p, n);
#endif
}

std::vector<unsigned char> RandomBytes(size_t n, uint32_t seed) {
    std::vector<unsigned char> v(n);
    std::mt19937 rng(seed);
    for (auto& b : v) b = static_cast<unsigned char>(rng());
    return v;
}

using zed::crc32::Kernel;
const Kernel kKernels[] = {Kernel::kSlicing, Kernel::kClmul, Kernel::kClmulWide};

uint32_t KernelCrc(Kernel k, const unsigned char* p, size_t n) {
    return ~zed::crc32::UpdateWith(k, 0xFFFFFFFFu, p, n);
}

// Reaches the protected helpers.
struct Crc32Probe : Crc32 {
    using Crc32::CalcCrc32;
    using Crc32::GetFileSizeQW;
};

using FileStrategy = unsigned long (*)(const char*, unsigned long&);
struct Strategy {
    const char* name;
    FileStrategy run;
};
const Strategy kStrategies[] = {{"streams", &Crc32::FileCrc32Streams},
                                {"win32", &Crc32::FileCrc32Win32},
                                {"filemap", &Crc32::FileCrc32Filemap},
                                {"assembly", &Crc32::FileCrc32Assembly}};

TEST(Crc32Table, IsTheReflectedTableOfTheIeeePolynomialAndStepsWithIt) {
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        ASSERT_EQ(Crc32::TableCrc32[i], c) << i;
    }
    unsigned long crc = 0xFFFFFFFFu;
    for (const char* p = "123456789"; *p; ++p) Crc32Probe::CalcCrc32(static_cast<unsigned char>(*p), crc);
    EXPECT_EQ(crc ^ 0xFFFFFFFFu, 0xCBF43926u);
}

// Every kernel on every small size, page and view boundaries and several alignments, then
// chained across random splits; the reference itself is checked against the peer and 0xCBF43926.
TEST(Crc32Kernels, EveryKernelMatchesThePeerWholeAndChained) {
    const auto data = RandomBytes(1 << 20, 7);
    const unsigned char check[] = "123456789";
    EXPECT_EQ(ReferenceCrc(check, 9), 0xCBF43926u);
    EXPECT_EQ(zed::crc32::UpdateBytewise(0xFFFFFFFFu, check, 9), ~0xCBF43926u);
    EXPECT_EQ(ReferenceCrc(data.data(), 100000), PeerCrc(data.data(), 100000));
    std::vector<size_t> sizes;
    for (size_t n = 0; n <= 600; ++n) sizes.push_back(n);
    for (size_t n : {1023, 1024, 1025, 4095, 4096, 4097, 65535, 65536, 69000}) sizes.push_back(n);
    const uint32_t whole = PeerCrc(data.data(), data.size());
    std::mt19937 rng(3);
    for (Kernel k : kKernels) {
        for (size_t offset = 0; offset < 16; offset += 3)
            for (size_t n : sizes)
                ASSERT_EQ(KernelCrc(k, data.data() + offset, n), PeerCrc(data.data() + offset, n))
                    << zed::crc32::KernelName(k) << " offset " << offset << " size " << n;
        for (int round = 0; round < 10; ++round) {
            uint32_t reg = 0xFFFFFFFFu;
            for (size_t at = 0, n; at < data.size(); at += n) {
                n = std::min<size_t>(data.size() - at, rng() % 5000);
                reg = zed::crc32::UpdateWith(k, reg, data.data() + at, n);
            }
            ASSERT_EQ(~reg, whole) << zed::crc32::KernelName(k) << " round " << round;
        }
    }
}

TEST(Crc32Kernels, ForcingAKernelIsHonouredOrFallsBack) {
    zed::crc32::ForceKernel(Kernel::kSlicing);
    EXPECT_EQ(zed::crc32::ActiveKernel(), Kernel::kSlicing);
    zed::crc32::ForceKernel(Kernel::kClmulWide);
    EXPECT_EQ(zed::crc32::ActiveKernel(),
              zed::crc32::ProcessorHasClmulWide() ? Kernel::kClmulWide : zed::crc32::BestKernel());
    zed::crc32::ResetKernel();
    EXPECT_EQ(zed::crc32::ActiveKernel(), zed::crc32::BestKernel());
}

TEST(Crc32String, KnownValuesNullAndRandomTextsStoppingAtTheTerminator) {
    struct Case { const char* text; unsigned long result, crc; };
    for (const Case& c : {Case{"", 0, 0}, Case{"123456789", 0, 0xCBF43926u},
                          Case{"The quick brown fox jumps over the lazy dog", 0, 0x414FA339u},
                          Case{nullptr, 23, 0}}) {
        unsigned long crc = 0xdeadbeef;
        EXPECT_EQ(Crc32::StringCrc32(c.text, crc), c.result);
        EXPECT_EQ(crc, c.crc);
    }
    std::mt19937 rng(9);
    for (int round = 0; round < 100; ++round) {
        std::string s(rng() % 3000, 'x');
        for (auto& c : s) c = static_cast<char>(1 + rng() % 255);
        const std::string with_tail = s + std::string(1, '\0') + "tail";
        unsigned long crc = 0;
        ASSERT_EQ(Crc32::StringCrc32(with_tail.c_str(), crc), 0u);
        ASSERT_EQ(crc, PeerCrc(reinterpret_cast<const unsigned char*>(s.data()), s.size()));
    }
}

class Crc32Files : public ::testing::Test {
protected:
    zedtest::ScratchDir dir_;
};

// Missing file, missing folder, a folder, an empty file: the code and a zero checksum.
TEST_F(Crc32Files, BadOrEmptyFilesGiveTheirCodeAndZero) {
    zedtest::WriteBytes(dir_.File("empty.bin"), {});
    struct Case { std::string name; int code; };
    const Case cases[] = {{dir_.File("missing.bin"), 2}, {dir_.File("no-such-folder/missing.bin"), 3},
                          {dir_.File(""), -1}, {dir_.File("empty.bin"), 0}};
    for (const Strategy& s : kStrategies) {
        for (const Case& c : cases) {
            unsigned long crc = 0xdeadbeef;
            const unsigned long code = s.run(c.name.c_str(), crc);
            if (c.code < 0)
                EXPECT_NE(code, 0u) << s.name << " " << c.name;
            else
                EXPECT_EQ(code, static_cast<unsigned long>(c.code)) << s.name << " " << c.name;
            EXPECT_EQ(crc, 0u) << s.name << " " << c.name;
        }
    }
}

TEST_F(Crc32Files, AllStrategiesAgreeWithThePeerOnBoundarySizes) {
    const size_t view = 10485760;
    std::vector<size_t> sizes = {1, 4095, 4096, 4097, (1u << 20) + 1, view - 1, view, view + 1,
                                 (size_t{64} << 20) + 5};
    std::mt19937 rng(21);
    for (int i = 0; i < 4; ++i) sizes.push_back(rng() % (3u << 20));
    const auto data = RandomBytes(sizes[8], 1234);
    const std::string name = dir_.File("data.bin");
    for (size_t n : sizes) {
        zedtest::WriteBytes(name, std::vector<unsigned char>(data.begin(), data.begin() + n));
        const uint32_t want = PeerCrc(data.data(), n);
        // The portable kernel gives the same file results on one odd size.
        if (n == sizes[9]) zed::crc32::ForceKernel(Kernel::kSlicing);
        for (const Strategy& s : kStrategies) {
            unsigned long crc = 0;
            ASSERT_EQ(s.run(name.c_str(), crc), 0u) << s.name << " " << n;
            ASSERT_EQ(crc, want) << s.name << " size " << n;
        }
        zed::crc32::ResetKernel();
    }
}

TEST_F(Crc32Files, GetFileSizeQWReportsSizeOrFalse) {
    const std::string name = dir_.File("sized.bin");
    zedtest::WriteBytes(name, std::vector<unsigned char>(12345, 7));
    HANDLE h;
    ASSERT_EQ(zed::os::FileOpen(name.c_str(), zed::file_const::kOpenExisting,
                                      zed::file_const::kGenericRead, zed::file_const::kShareRead, 0, &h),
              0u);
    int64_t size = -1;
    EXPECT_TRUE(Crc32Probe::GetFileSizeQW(h, size));
    EXPECT_EQ(size, 12345);
    zed::os::FileClose(h);
    size = -1;
    EXPECT_FALSE(Crc32Probe::GetFileSizeQW(zed::os::InvalidFileHandle(), size));
    EXPECT_EQ(size, 0);
}

}  // namespace
