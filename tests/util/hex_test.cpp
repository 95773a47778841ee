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

TEST(HexBuffers, LettersForBytes) {
    const unsigned char bytes[] = {0x12, 0xFF, 0x5A};
    unsigned char out[8];
    std::memset(out, '#', sizeof out);
    BuferBinToAscii(bytes, 3, out);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6), "CLPZKP");
    EXPECT_EQ(out[6], '#');   // no terminating zero
    EXPECT_EQ(out[7], '#');
}

TEST(HexBuffers, BytesFromLettersEitherCaseOddTailIgnored) {
    for (const char* text : {"CLPZKP", "clpzkp", "ClPzKp"}) {
        unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        BuferAsciiToBin(text, 6, out);
        EXPECT_EQ(out[0], 0x12) << text;
        EXPECT_EQ(out[1], 0xFF) << text;
        EXPECT_EQ(out[2], 0x5A) << text;
        EXPECT_EQ(out[3], 0xEE) << text;
    }
    unsigned char out[3] = {0xEE, 0xEE, 0xEE};
    BuferAsciiToBin("CLPZKP", 5, out);
    EXPECT_EQ(out[0], 0x12);
    EXPECT_EQ(out[1], 0xFF);
    EXPECT_EQ(out[2], 0xEE);
}

TEST(HexBuffers, OtherCharactersFollowTheSameArithmetic) {
    unsigned char out[1];
    BuferAsciiToBin("0!", 2, out);   // ('0' - 'A') & 15 = 15, ('!' - 'K') & 15 = 6
    EXPECT_EQ(out[0], 15 + (6 << 4));
}

TEST(HexBuffers, RoundTripOfRandomBuffers) {
    std::mt19937 rng(2);
    for (int round = 0; round < 100; ++round) {
        std::vector<unsigned char> bytes(rng() % 500);
        for (auto& b : bytes) b = static_cast<unsigned char>(rng());
        std::vector<unsigned char> text(bytes.size() * 2 + 1, '#');
        BuferBinToAscii(bytes.data(), static_cast<int>(bytes.size()), text.data());
        ASSERT_EQ(text.back(), '#');
        for (size_t i = 0; i + 1 < text.size(); i += 2) {
            ASSERT_GE(text[i], 'A');
            ASSERT_LE(text[i], 'P');
            ASSERT_GE(text[i + 1], 'K');
            ASSERT_LE(text[i + 1], 'Z');
        }
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

TEST(HexConvertor, AsciiToQWord) {
    CLS_HexConvertor h;
    EXPECT_EQ(QWord(h, "ff"), 255);
    EXPECT_EQ(QWord(h, "FF"), 255);
    EXPECT_EQ(QWord(h, "123456789ABCDEF0"), static_cast<int64_t>(0x123456789ABCDEF0LL));
    EXPECT_EQ(QWord(h, ""), 0);
    EXPECT_EQ(h.AsciiToQWord(nullptr), -1);
    // Only the last sixteen characters reach the result.
    EXPECT_EQ(QWord(h, "99123456789ABCDEF0"), static_cast<int64_t>(0x123456789ABCDEF0LL));
    EXPECT_EQ(QWord(h, "FFFFFFFFFFFFFFFF"), -1);
    // A control character keeps its place and adds nothing.
    EXPECT_EQ(QWord(h, "1\t1"), 0x101);
}

TEST(HexConvertor, AsciiToQWordMatchesAnIndependentReading) {
    CLS_HexConvertor h;
    std::mt19937_64 rng(6);
    for (int i = 0; i < 1000; ++i) {
        const uint64_t v = rng() >> (rng() % 64);
        char buf[32];
        std::snprintf(buf, sizeof buf, (i & 1) ? "%llx" : "%llX", static_cast<unsigned long long>(v));
        ASSERT_EQ(static_cast<uint64_t>(h.AsciiToQWord(buf)), v) << buf;
    }
}

TEST(HexConvertor, AsciiToByte) {
    CLS_HexConvertor h;
    EXPECT_EQ(Byte(h, "7f"), 127);
    EXPECT_EQ(Byte(h, "abc"), 171);
    EXPECT_EQ(Byte(h, "A"), 10);
    EXPECT_EQ(Byte(h, "zz"), 0);
    EXPECT_EQ(Byte(h, " 7"), 0);
    EXPECT_EQ(Byte(h, "-1"), 0);
    EXPECT_EQ(Byte(h, ""), 0);
    EXPECT_EQ(h.AsciiToByte(static_cast<char*>(nullptr)), 0);
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
