// The message box's plan: button sets and icons for every type, sizes from measured texts for
// each rule of the width and height, and the template it makes, byte for byte.
#include "ui/message_box_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/template_bytes.h"

namespace {

using zed::ui::LayOutMessageBox;
using zed::ui::MessageBoxLayout;
using zed::ui::MessageExtents;
using zedtest::Expect;

// Extents written in the dialog units they stand for, turned into pixels with the builder's own
// base units (the system's), so that measuring them back gives the same units.
struct Dims {
    int text_w, text_h, caption_w, caption_h, cancel_w, cancel_h;
};
MessageExtents Pixels(const Dims& d, WIN_DlgTemplate& units) {
    auto x = [&](int v) { return units.DlgToScreenX(v); };
    auto y = [&](int v) { return units.DlgToScreenY(v); };
    return MessageExtents{{x(d.text_w), y(d.text_h)}, {x(d.caption_w), y(d.caption_h)}, {x(d.cancel_w), y(d.cancel_h)}};
}

MessageBoxLayout Lay(unsigned type, const Dims& d) {
    WIN_DlgTemplate units;
    return LayOutMessageBox(type, Pixels(d, units), units);
}

TEST(MessageBoxLayout, ButtonSetsAndIconsOfEveryType) {
    const struct { unsigned type; std::vector<std::pair<int, int>> buttons; } sets[] = {
        {0x0, {{28, 1}}},
        {0x1, {{28, 1}, {25, 2}}},
        {0x2, {{22, 3}, {23, 4}, {24, 5}}},
        {0x3, {{26, 6}, {27, 7}, {25, 2}}},
        {0x4, {{26, 6}, {27, 7}}},
        {0x5, {{23, 4}, {25, 2}}},
        {0xFFFFFF04, {{26, 6}, {27, 7}}},   // bits above the low eight are ignored
    };
    for (const auto& s : sets) {
        const zed::ui::ButtonSet set = zed::ui::ButtonsFor(s.type);
        ASSERT_EQ(set.count, static_cast<int>(s.buttons.size())) << s.type;
        for (int i = 0; i < set.count; ++i) {
            EXPECT_EQ(set.buttons[i].string_id, s.buttons[i].first) << s.type << " " << i;
            EXPECT_EQ(set.buttons[i].command, s.buttons[i].second) << s.type << " " << i;
        }
    }
    for (unsigned refused = 6; refused <= 15; ++refused) {
        EXPECT_EQ(zed::ui::ButtonsFor(refused | 0x30).count, 0) << refused;
        EXPECT_EQ(Lay(refused, Dims{10, 10, 10, 10, 20, 8}).buttons.count, 0) << refused;
    }
    const int icons[16] = {0, 32513, 32514, 32515, 32516, 32513, 32513, 32513,
                           32513, 32513, 32513, 32513, 32513, 32513, 32513, 32513};
    for (unsigned kind = 0; kind < 16; ++kind) {
        EXPECT_EQ(zed::ui::IconOrdinalFor(kind << 4 | 0x3), icons[kind]) << kind;
    }
}

TEST(MessageBoxLayout, WidthHeightAndPlacesFollowTheMeasuredTexts) {
    // Cancel places 40 x 8 units: buttons 43 x 14; the caption 8 units high.
    const struct Case {
        const char* what;
        unsigned type;
        Dims extents;
        int text_left, width, height, row_width;
    } cases[] = {
        // Text 10 + 8 and caption 20 are both narrower than the row: the row and a margin of 14.
        {"short text and caption, one button", 0x0, Dims{10, 8, 20, 8, 40, 8}, 7, 43 + 14, 8 + 14 + 20 + 21, 43},
        {"two buttons", 0x1, Dims{10, 8, 20, 8, 40, 8}, 7, 90 + 14, 63, 90},
        {"three buttons", 0x3, Dims{10, 8, 20, 8, 40, 8}, 7, 137 + 14, 63, 137},
        // A caption wider than the row: the box as wide as the caption, without the margin.
        {"wide caption", 0x1, Dims{10, 8, 150, 8, 40, 8}, 7, 150, 63, 90},
        // Text right edge (7 + 160 + 8) beyond the caption: as wide as the text.
        {"wide text", 0x1, Dims{160, 8, 150, 8, 40, 8}, 7, 175, 63, 90},
        // The icon moves the text to 26, which pushes the text past the row.
        {"icon shift", 0x11, Dims{60, 8, 20, 8, 40, 8}, 26, 26 + 68, 63, 90},
        {"no icon, same text", 0x01, Dims{60, 8, 20, 8, 40, 8}, 7, 90 + 14, 63, 90},
        // A caption as wide as the row is not narrower: the largest of the three, no margin.
        {"caption equal to the row", 0x1, Dims{10, 8, 90, 8, 40, 8}, 7, 90, 63, 90},
        // 12 units of text still reserve 20; 30 units take their own height.
        {"text of 4 + 8 units", 0x0, Dims{10, 4, 20, 8, 40, 8}, 7, 57, 8 + 14 + 20 + 21, 43},
        {"tall text", 0x0, Dims{10, 22, 20, 12, 40, 8}, 7, 57, 12 + 14 + 30 + 21, 43},
    };
    for (const Case& c : cases) {
        const MessageBoxLayout l = Lay(c.type, c.extents);
        EXPECT_EQ(l.button_width, 43) << c.what;
        EXPECT_EQ(l.button_height, 14) << c.what;
        EXPECT_EQ(l.row_width, c.row_width) << c.what;
        EXPECT_EQ(l.text_left, c.text_left) << c.what;
        EXPECT_EQ(l.width, c.width) << c.what;
        EXPECT_EQ(l.height, c.height) << c.what;
        EXPECT_EQ(l.row_y, c.height - 14 - 7) << c.what;
        const int x0 = (c.width - c.row_width) / 2;
        for (int i = 0; i < l.buttons.count; ++i) EXPECT_EQ(l.button_x[i], x0 + i * 47) << c.what << " " << i;
    }
}

TEST(MessageBoxLayout, RandomTextsNeverOverlapTheRowOrLeaveTheBox) {
    std::mt19937 rng(0x6B0C);
    std::uniform_int_distribution<int> px(0, 1200);
    WIN_DlgTemplate units;
    for (int round = 0; round < 5000; ++round) {
        const unsigned type = static_cast<unsigned>(rng()) & 0xF5;   // sets 0 to 5 and every icon
        if ((type & 0xF) > 5) continue;
        const MessageExtents e{{px(rng), px(rng)}, {px(rng), px(rng) / 20}, {px(rng) / 4, px(rng) / 40}};
        const MessageBoxLayout l = LayOutMessageBox(type, e, units);
        ASSERT_GT(l.buttons.count, 0);
        // The text ends above the row, the row lies inside the box and is centred in it.
        ASSERT_LE(7 + l.text_height, l.row_y) << round;
        ASSERT_GE(l.button_x[0], 0) << round;
        const int right = l.button_x[l.buttons.count - 1] + l.button_width;
        ASSERT_LE(right, l.width) << round;
        ASSERT_LE(std::abs(l.button_x[0] - (l.width - right)), 1) << round;
        ASSERT_GE(l.width, l.text_left + l.text_width) << round;
    }
}

TEST(MessageBoxLayout, TheTemplateHoldsHeaderIconButtonsAndTextInThatOrder) {
    WIN_DlgTemplate dlg;
    ASSERT_EQ(dlg.SetDlgFont(8, "MS Sans Serif"), 1);
    const MessageBoxLayout l = LayOutMessageBox(0x23, Pixels(Dims{61, 9, 20, 8, 40, 8}, dlg), dlg);
    const char* const captions[3] = {"&Yes", "&No", "&Cancel"};
    ASSERT_TRUE(zed::ui::BuildMessageBox(dlg, l, "Save the piece?", "Pieces", captions));
    // Width 26 + 69 = 95 is below the row of 137: 151 wide, 8 + 14 + 20 + 21 = 63 high.
    Expect all;
    all.D(0x94C803C5).D(0x10101).W(5).W(10).W(10).W(151).W(63).W(0).W(0).S("Pieces").W(8).S("MS Sans Serif").Pad();
    all.D(0x50020003).D(4).W(3).W(7).W(20).W(20).W(60000).S("STATIC").W(0xFFFF).W(32514).W(0).Pad();
    all.D(0x50010001).D(0).W(7).W(42).W(43).W(14).W(6).S("BUTTON").S("&Yes").W(0).Pad();
    all.D(0x50010000).D(0).W(54).W(42).W(43).W(14).W(7).S("BUTTON").S("&No").W(0).Pad();
    all.D(0x50010000).D(0).W(101).W(42).W(43).W(14).W(2).S("BUTTON").S("&Cancel").W(0).Pad();
    all.D(0x50000000).D(0).W(26).W(7).W(69).W(17).W(59999).S("STATIC").S("Save the piece?").W(0);
    EXPECT_EQ(zedtest::Take(dlg.GetDlgTemplate(), all.bytes.size()), all.bytes);
}

TEST(MessageBoxLayout, CancelPlacesAndBeeps) {
    const struct { const char* caption; const char* places; } places[] = {
        {"&Cancel", "&Cancelnn"}, {"&Abbrechen", "&Abbreche"}, {"Annulla", "Annullann"},
        {"", "nnnnnnnnn"}, {nullptr, "nnnnnnnnn"}, {"123456789", "123456789"},
    };
    for (const auto& p : places) {
        char out[10];
        zed::ui::CancelPlaces(p.caption, out);
        EXPECT_STREQ(out, p.places) << (p.caption ? p.caption : "null");
    }
    const struct { int icon; unsigned beep, sound; } beeps[] = {
        {0, zed::ui::kSilentBox, 0},   {32513, 32513, 0x10}, {32514, 32514, 0x20},
        {32515, 32515, 0x30},          {32516, 32516, 0x40},
    };
    for (const auto& b : beeps) {
        EXPECT_EQ(zed::ui::BeepValueFor(b.icon), b.beep) << b.icon;
        if (b.icon != 0) {
            EXPECT_EQ(zed::ui::SoundOfBeepValue(b.beep), b.sound) << b.icon;
        }
    }
}

}  // namespace
