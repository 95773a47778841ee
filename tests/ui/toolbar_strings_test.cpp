// The toolbar string list: its format, growth over the 1000-byte step, refused allocations.
#include "ui/toolbar_strings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "os/heap.h"

namespace {

struct List {
    char* data = nullptr;
    int length = 0;
    int capacity = 0;
    ~List() { zed::FreeToolbarStrings(data, length, capacity); }
    char* Add(const char* text) { return zed::AppendToolbarString(data, length, capacity, text); }
    std::string Bytes() const { return std::string(data, static_cast<size_t>(length) + 1); }
};

TEST(ToolbarStrings, FirstTextAllocatesItsOwnSizeThenGrowsOneStep) {
    List l;
    ASSERT_NE(l.Add("&File"), nullptr);
    // 5 + 2 bytes at first; 0 + 5 + 2 >= 7 already asks for the first step.
    EXPECT_EQ(l.capacity, 7 + zed::kToolbarStringStep);
    EXPECT_EQ(l.length, 6);
    EXPECT_EQ(l.Bytes(), std::string("&File\0\0", 7));
    ASSERT_NE(l.Add("&Edit"), nullptr);
    EXPECT_EQ(l.Bytes(), std::string("&File\0&Edit\0\0", 13));
    EXPECT_EQ(l.capacity, 1007);
}

TEST(ToolbarStrings, GrowsExactlyWhenTheNextTextWouldReachTheCapacity) {
    List l;
    ASSERT_NE(l.Add("a"), nullptr);  // capacity 1003, length 2
    const std::string nine(9, 'x');
    int grown_at = -1;
    for (int i = 0; i < 200 && grown_at < 0; ++i) {
        const int before_length = l.length, before_capacity = l.capacity;
        ASSERT_NE(l.Add(nine.c_str()), nullptr);
        if (l.capacity != before_capacity) {
            grown_at = i;
            EXPECT_GE(before_length + 9 + 2, before_capacity);
            EXPECT_EQ(l.capacity, before_capacity + zed::kToolbarStringStep);
        } else {
            EXPECT_LT(before_length + 9 + 2, before_capacity);
        }
    }
    // 2 + 10k + 11 >= 1003 first for k = 99.
    EXPECT_EQ(grown_at, 99);
    EXPECT_EQ(l.data[l.length], '\0');
}

TEST(ToolbarStrings, RandomTextsMatchAConcatenationWithZeros) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 20; ++round) {
        List l;
        std::string expected;
        const int n = 1 + static_cast<int>(rng() % 120);
        for (int i = 0; i < n; ++i) {
            std::string text(rng() % 40, 'a');
            for (char& c : text) c = static_cast<char>('A' + rng() % 26);
            ASSERT_NE(l.Add(text.c_str()), nullptr);
            expected += text;
            expected.push_back('\0');
            ASSERT_LT(l.length, l.capacity);
        }
        EXPECT_EQ(l.Bytes(), expected + std::string(1, '\0'));
    }
}

TEST(ToolbarStrings, ATextLongerThanOneStepStillFits) {
    List l;
    ASSERT_NE(l.Add("x"), nullptr);
    const std::string big(2500, 'b');
    ASSERT_NE(l.Add(big.c_str()), nullptr);
    EXPECT_GT(l.capacity, l.length);
    EXPECT_EQ(l.Bytes(), std::string("x\0", 2) + big + std::string("\0\0", 2));
}

TEST(ToolbarStrings, RefusedAllocationsAndNullTextLeaveTheListAsItWas) {
    List l;
    EXPECT_EQ(l.Add(nullptr), nullptr);
    EXPECT_EQ(l.data, nullptr);
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(l.Add("first"), nullptr);
    zed::heap_testing::Reset();
    EXPECT_EQ(l.data, nullptr);
    EXPECT_EQ(l.length, 0);
    EXPECT_EQ(l.capacity, 0);
    ASSERT_NE(l.Add("a"), nullptr);
    const std::string full(990, 'f');
    ASSERT_NE(l.Add(full.c_str()), nullptr);  // 2 + 991 = 993 used of 1003
    const std::string before = l.Bytes();
    const int capacity = l.capacity;
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(l.Add("a text that needs the next step"), nullptr);
    zed::heap_testing::Reset();
    EXPECT_EQ(l.Bytes(), before);
    EXPECT_EQ(l.capacity, capacity);
}

}  // namespace
