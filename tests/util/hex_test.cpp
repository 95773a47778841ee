// Letter-hexadecimal buffers and CLS_HexConvertor: examples, round trips, untouched bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "zedll.h"

namespace {

// Known pairs both ways: bytes to letters writes no terminator, letters of either case back, an odd
// tail ignored, other characters follow the same arithmetic (('0' - 'A') & 15, ('!' - 'K') & 15).
TEST(HexBuffers, KnownPairsBothWays) {
    unsigned char out[8];
    std::memset(out, '#', sizeof out);
    const unsigned char bytes[] = {0x12, 0xFF, 0x5A};
    BuferBinToAscii(bytes, 3, out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 8), "CLPZKP##");
    struct Case { const char* text; int length; std::vector<unsigned char> want; };
    for (const Case& c : {Case{"CLPZKP", 6, {0x12, 0xFF, 0x5A, 0xEE}}, Case{"clpzkp", 6, {0x12, 0xFF, 0x5A, 0xEE}},
                          Case{"ClPzKp", 6, {0x12, 0xFF, 0x5A, 0xEE}}, Case{"CLPZKP", 5, {0x12, 0xFF, 0xEE, 0xEE}},
                          Case{"0!", 2, {15 + (6 << 4), 0xEE, 0xEE, 0xEE}}}) {
        std::vector<unsigned char> got(4, 0xEE);
        BuferAsciiToBin(c.text, c.length, got.data());
        EXPECT_EQ(got, c.want) << c.text << " " << c.length;
    }
}

TEST(HexBuffers, RoundTripOfRandomBuffers) {
    std::mt19937 rng(2);
    for (int round = 0; round < 100; ++round) {
        std::vector<unsigned char> bytes(rng() % 500);
        for (auto& b : bytes) b = static_cast<unsigned char>(rng());
        std::vector<unsigned char> text(bytes.size() * 2 + 1, '#');
        BuferBinToAscii(bytes.data(), static_cast<int>(bytes.size()), text.data());
        ASSERT_EQ(text.back(), '#');
        for (size_t i = 0; i + 1 < text.size(); i += 2)
            ASSERT_TRUE(text[i] >= 'A' && text[i] <= 'P' && text[i + 1] >= 'K' && text[i + 1] <= 'Z') << i;
        std::vector<unsigned char> back(bytes.size() + 1, 0xEE);
        BuferAsciiToBin(reinterpret_cast<const char*>(text.data()), static_cast<int>(bytes.size() * 2),
                        back.data());
        ASSERT_EQ(back.back(), 0xEE);
        back.pop_back();
        ASSERT_EQ(back, bytes);
    }
}

TEST(HexBuffers, NothingForEmptyNegativeOrNull) {
    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    const unsigned char in[2] = {1, 2};
    BuferBinToAscii(in, 0, out);
    BuferBinToAscii(in, -5, out);
    BuferBinToAscii(nullptr, 2, out);
    BuferBinToAscii(in, 2, nullptr);
    BuferAsciiToBin("CLPZ", 1, out);
    BuferAsciiToBin("CLPZ", -4, out);
    BuferAsciiToBin(nullptr, 4, out);
    for (unsigned char c : out) EXPECT_EQ(c, 0xEE);
}

// The parsers take writable text: each call gets its own copy, which must come back unchanged.
int64_t QWord(CLS_HexConvertor& h, const char* text) {
    std::string copy(text);
    const int64_t value = h.AsciiToQWord(copy.data());
    EXPECT_EQ(copy, text);
    return value;
}

int Byte(CLS_HexConvertor& h, const char* text) {
    std::string copy(text);
    const int value = h.AsciiToByte(copy.data());
    EXPECT_EQ(copy, text);
    return value;
}

// The one-argument parsers are declared with writable text, as hosts built against them expect
// (their exported names depend on it): a const text must not be accepted.
template <class T, class = void>
struct TakesConstText : std::false_type {};
template <class T>
struct TakesConstText<T, std::void_t<decltype(std::declval<CLS_HexConvertor&>().AsciiToQWord(
                             std::declval<T>()))>> : std::true_type {};
static_assert(!TakesConstText<const char*>::value, "AsciiToQWord takes char*");
static_assert(TakesConstText<char*>::value, "AsciiToQWord takes char*");
static_assert(std::is_same_v<decltype(static_cast<unsigned char (CLS_HexConvertor::*)(char*)>(
                                 &CLS_HexConvertor::AsciiToByte)),
                             unsigned char (CLS_HexConvertor::*)(char*)>);
static_assert(std::is_same_v<decltype(&CLS_HexConvertor::AsciiToWord),
                             unsigned short (CLS_HexConvertor::*)(char*)>);

// Only the last sixteen characters reach a quad word; a control character keeps its place and
// adds nothing; a byte reads at most two digits and gives 0 for anything not hexadecimal.
TEST(HexConvertor, ParsesKnownTextsAndLeavesThemUnchanged) {
    CLS_HexConvertor h;
    struct Case { const char* text; int64_t qword; int byte; };
    for (const Case& c : {Case{"ff", 255, 255}, Case{"FF", 255, 255}, Case{"", 0, 0}, Case{"7f", 127, 127},
                          Case{"abc", 0xabc, 171}, Case{"A", 10, 10}, Case{"1\t1", 0x101, -1},
                          Case{"123456789ABCDEF0", 0x123456789ABCDEF0LL, 0x12},
                          Case{"99123456789ABCDEF0", 0x123456789ABCDEF0LL, 0x99},
                          Case{"FFFFFFFFFFFFFFFF", -1, 255}}) {
        EXPECT_EQ(QWord(h, c.text), c.qword) << c.text;
        if (c.byte >= 0) {
            EXPECT_EQ(Byte(h, c.text), c.byte) << c.text;
        }
    }
    for (const char* text : {"zz", " 7", "-1"}) EXPECT_EQ(Byte(h, text), 0) << text;
    EXPECT_EQ(h.AsciiToQWord(nullptr), -1);
    EXPECT_EQ(h.AsciiToByte(static_cast<char*>(nullptr)), 0);
    std::mt19937_64 rng(6);   // against the C library's own printing
    for (int i = 0; i < 1000; ++i) {
        const uint64_t v = rng() >> (rng() % 64);
        char buf[32];
        std::snprintf(buf, sizeof buf, (i & 1) ? "%llx" : "%llX", static_cast<unsigned long long>(v));
        ASSERT_EQ(static_cast<uint64_t>(h.AsciiToQWord(buf)), v) << buf;
    }
}

TEST(HexConvertor, TheFixedMembersReturnZeroOrNullAndWriteNothing) {
    CLS_HexConvertor h;
    char text[] = "ffff";
    EXPECT_EQ(h.AsciiToWord(text), 0);
    EXPECT_EQ(h.AsciiToDWord(text), 0u);
    EXPECT_STREQ(text, "ffff");
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(h.AsciiToByte(buf, 8, static_cast<unsigned char>(5)), nullptr);
    EXPECT_EQ(h.WordToAscii(buf, 8, static_cast<unsigned short>(5)), nullptr);
    EXPECT_EQ(h.AsciiToDWord(buf, 8, 5ul), nullptr);
    EXPECT_EQ(h.AsciiToQWord(buf, 8, int64_t{5}), nullptr);
    for (char c : buf) EXPECT_EQ(c, '#');
}

}  // namespace
