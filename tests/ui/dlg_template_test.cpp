// Dialog template builder: header and item bytes against blocks written out by hand, alignment,
// the item count before and after the header, growth, refusals, copies and unit conversions.
#include "zedll/win32/dlg_template.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "os/heap.h"
#include "tests/ui/template_bytes.h"

namespace {

using zedtest::Bytes;
using zedtest::Expect;
using zedtest::Take;

TEST(DlgTemplate, HeaderBlocksAsTheDialogManagerReadsThem) {
    struct Case {
        const char* what;
        long style;
        const char* caption;
        const char* face;   // null: no SetDlgFont before the header
        Bytes expected;
    } cases[] = {
        {"null caption", 0x10C80000, nullptr, nullptr,
         Expect{}.D(0x10C80000).D(0x00000201).W(0).W(10).W(20).W(200).W(100).W(0).W(0).S("Dynamic Dialog").bytes},
        {"font before any SetDlgFont", 0x10C80040, "Odd", nullptr,
         Expect{}.D(0x10C80040).D(0x00000201).W(0).W(10).W(20).W(200).W(100).W(0).W(0).S("Odd").W(8)
             .S("Times New Roman").bytes},
        {"font set, empty caption", 0x40, "", "MS Sans Serif",
         Expect{}.D(0x40).D(0x00000201).W(0).W(10).W(20).W(200).W(100).W(0).W(0).S("").W(9).S("MS Sans Serif").bytes},
        {"font set but not asked for", 0x0, "Ab", "Arial",
         Expect{}.D(0).D(0x00000201).W(0).W(10).W(20).W(200).W(100).W(0).W(0).S("Ab").bytes},
    };
    for (const Case& c : cases) {
        WIN_DlgTemplate dlg;
        if (c.face != nullptr) {
            EXPECT_EQ(dlg.SetDlgFont(9, c.face), 1);
        }
        ASSERT_EQ(dlg.CreateHeader(10, 20, 200, 100, c.style, 0x201, c.caption), 0) << c.what;
        const DLGTEMPLATE* t = dlg.GetDlgTemplate();
        ASSERT_NE(t, nullptr) << c.what;
        EXPECT_EQ(Take(t, c.expected.size()), c.expected) << c.what;
        EXPECT_EQ(t->cdit, 0) << c.what;
    }
}

TEST(DlgTemplate, ItemsAreCountedWhereverTheHeaderComesAndStartOnFourByteBoundaries) {
    WIN_DlgTemplate dlg;
    EXPECT_EQ(dlg.CreateButton(1, 5, 6, 50, 14, 0x50010001, 0, "Hi!"), 1);   // odd-length text
    EXPECT_EQ(dlg.CreateIcon(60000, 32513, 3, 7, 20, 20), 2);
    EXPECT_EQ(dlg.GetDlgTemplate(), nullptr);   // no header yet
    ASSERT_EQ(dlg.CreateHeader(0, 0, 100, 50, 0x80000000, 0, "Box"), 0);
    EXPECT_EQ(dlg.CreateStatic(59999, 7, 7, -1, 0x12345, 0x50000000, 0, "\x80\x9f\xe9 x"), 3);
    EXPECT_EQ(dlg.CreateListBox(9, 0, 0, 1, 1, 0, 0), 1);   // room made, nothing added
    const DLGTEMPLATE* t = dlg.GetDlgTemplate();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->cdit, 3);
    Expect all;
    all.D(0x80000000).D(0).W(3).W(0).W(0).W(100).W(50).W(0).W(0).S("Box").Pad();
    all.D(0x50010001).D(0).W(5).W(6).W(50).W(14).W(1).S("BUTTON").S("Hi!").W(0).Pad();
    all.D(0x50020003).D(4).W(3).W(7).W(20).W(20).W(60000).S("STATIC").W(0xFFFF).W(32513).W(0).Pad();
    // Windows-1252 above 0x7F, values cut to 16 bits.
    all.D(0x50000000).D(0).W(7).W(7).W(0xFFFF).W(0x2345).W(59999).S("STATIC").W(0x20AC).W(0x0178).W(0xE9)
        .W(' ').W('x').W(0).W(0);
    EXPECT_EQ(Take(t, all.bytes.size()), all.bytes);
}

TEST(DlgTemplate, GrowingKeepsEveryItemAndRefusalsAddNothing) {
    WIN_DlgTemplate dlg;
    ASSERT_EQ(dlg.CreateHeader(0, 0, 10, 10, 0, 0, "G"), 0);
    for (int i = 1; i <= 25; ++i) ASSERT_EQ(dlg.CreateStatic(100 + i, i, 0, 1, 1, 0, 0, std::string(i % 3, 'a').c_str()), i);
    const std::string too_long(600, 'x');   // 1200 bytes of UTF-16: more than a block may hold
    EXPECT_EQ(dlg.CreateStatic(1, 0, 0, 1, 1, 0, 0, too_long.c_str()), -1);
    zed::heap_testing::FailAfter(0);
    EXPECT_EQ(dlg.CreateStatic(1, 0, 0, 1, 1, 0, 0, "x"), -1);
    EXPECT_EQ(dlg.GetDlgTemplate(), nullptr);   // no memory for the template either
    zed::heap_testing::Reset();
    const auto* t = reinterpret_cast<const uint8_t*>(dlg.GetDlgTemplate());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(reinterpret_cast<const DLGTEMPLATE*>(t)->cdit, 25);
    // Walk the items: each one's id, in order, at a 4-byte boundary after the one before.
    size_t at = (18 + 4 + 4 + 3) & ~size_t{3};
    for (int i = 1; i <= 25; ++i) {
        uint16_t id;
        std::memcpy(&id, t + at + 16, 2);
        EXPECT_EQ(id, 100 + i);
        at = (at + 18 + 14 + 2 * (i % 3 + 1) + 2 + 3) & ~size_t{3};
    }
    // A header whose block cannot be made after the old one went leaves no header (the scratch
    // area is allowed, the block refused).
    zed::heap_testing::FailAfter(1);
    EXPECT_EQ(dlg.CreateHeader(0, 0, 1, 1, 0, 0, "H"), -1);
    zed::heap_testing::Reset();
    EXPECT_EQ(dlg.GetDlgTemplate(), nullptr);
    EXPECT_EQ(dlg.CreateHeader(0, 0, 1, 1, 0, 0, "H"), 0);
    EXPECT_EQ(reinterpret_cast<const DLGTEMPLATE*>(dlg.GetDlgTemplate())->cdit, 25);
}

TEST(DlgTemplate, CopiesOwnTheirBlocksAndFontNamesAreBounded) {
    alignas(WIN_DlgTemplate) unsigned char storage[sizeof(WIN_DlgTemplate)];
    auto* original = new (storage) WIN_DlgTemplate;
    EXPECT_EQ(original->SetDlgFont(12, nullptr), 0);
    EXPECT_EQ(original->SetDlgFont(11, std::string(150, 'F').c_str()), 1);
    ASSERT_EQ(original->CreateHeader(1, 2, 3, 4, 0x40, 0, "Copy"), 0);
    original->CreateButton(7, 0, 0, 1, 1, 0, 0, "B");
    const DLGTEMPLATE* before = original->GetDlgTemplate();
    const Bytes expected = Take(before, 18 + 4 + 10 + 2 + 200);
    EXPECT_EQ(expected[32], 11);   // point size, then 99 of the 150 letters and the terminator
    EXPECT_EQ(expected[34 + 2 * 98], 'F');
    EXPECT_EQ(expected[34 + 2 * 99], 0);
    WIN_DlgTemplate copy(*original), assigned;
    assigned = *original;
    original->~WIN_DlgTemplate();   // the copies must not lean on its blocks
    for (WIN_DlgTemplate* d : {&copy, &assigned}) {
        const DLGTEMPLATE* t = d->GetDlgTemplate();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Take(t, expected.size()), expected);
        EXPECT_EQ(d->CreateButton(8, 0, 0, 1, 1, 0, 0, "C"), 2);   // the copy's count word is its own
        EXPECT_EQ(d->GetDlgTemplate()->cdit, 2);
    }
}

// MulDiv rounding: the nearest integer, halves away from zero; -1 for a zero divisor.
int64_t NearestRatio(int64_t p, int64_t d) {
    const long double q = static_cast<long double>(p) / static_cast<long double>(d);
    return static_cast<int64_t>(q < 0 ? -std::floor(-q + 0.5L) : std::floor(q + 0.5L));
}

TEST(DlgTemplate, UnitConversionsRoundToTheNearestWithTheSystemBaseUnits) {
    WIN_DlgTemplate dlg;
    // The system's base units, read back exactly: 4 horizontal and 8 vertical dialog units.
    const int bx = dlg.DlgToScreenX(4), by = dlg.DlgToScreenY(8);
    ASSERT_GT(bx, 0);
    ASSERT_GT(by, 0);
    if (bx == 8 && by == 16) {   // the usual system font (the Linux stand-in has it too)
        EXPECT_EQ(dlg.ScreenToDlgX(10), 5);
        EXPECT_EQ(dlg.ScreenToDlgY(10), 5);
        EXPECT_EQ(dlg.DlgToScreenX(5), 10);
        EXPECT_EQ(dlg.DlgToScreenY(5), 10);
        EXPECT_EQ(dlg.ScreenToDlgX(3), 2);    // 1.5: halves go away from zero
        EXPECT_EQ(dlg.ScreenToDlgX(-3), -2);
    }
    std::mt19937 rng(3);
    auto bounded = [](int64_t r) { return r > INT32_MAX || r < INT32_MIN ? -1 : r; };
    for (int i = 0; i < 20000; ++i) {
        const int v = static_cast<int>(rng()) >> (rng() % 31);
        EXPECT_EQ(dlg.ScreenToDlgX(v), NearestRatio(int64_t{v} * 4, bx)) << v;
        EXPECT_EQ(dlg.ScreenToDlgY(v), NearestRatio(int64_t{v} * 8, by)) << v;
        EXPECT_EQ(dlg.DlgToScreenX(v), bounded(NearestRatio(int64_t{v} * bx, 4))) << v;
        EXPECT_EQ(dlg.DlgToScreenY(v), bounded(NearestRatio(int64_t{v} * by, 8))) << v;
    }
    EXPECT_EQ(dlg.SetDlgFont(8, ""), 1);   // back to the system's units
    EXPECT_EQ(dlg.DlgToScreenX(4), bx);
}

}  // namespace
