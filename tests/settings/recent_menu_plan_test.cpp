// The recent-file menu plan carried out on a menu model: texts, ids, places, and that drawing then
// freeing gives the menu back item for item in every form and mode.
#include "settings/recent_menu_plan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using zed::kNoCommand;
using zed::RecentInsertPoint;

// A menu as the window system keeps it: items by position, a popup holding its own items.
struct Item {
    std::string text;
    uint32_t id;
    std::vector<Item> popup;
    bool is_popup = false;
    bool operator==(const Item& o) const {
        return text == o.text && id == o.id && is_popup == o.is_popup && popup == o.popup;
    }
};
using Menu = std::vector<Item>;

std::vector<uint32_t> Ids(const Menu& m) {
    std::vector<uint32_t> ids;
    for (const Item& i : m) ids.push_back(i.is_popup ? kNoCommand : i.id);
    return ids;
}

int FindText(const Menu& m, const std::string& text) {
    for (size_t i = 0; i < m.size(); ++i)
        if (m[i].text == text) return static_cast<int>(i);
    return -1;
}

// Carries out a drawing the way the Windows glue does; returns the drawn position.
int Draw(Menu& m, const RecentInsertPoint& point, const char* caption,
         const std::vector<std::string>& paths, uint32_t first) {
    const std::vector<uint32_t> ids = Ids(m);
    const int at = zed::RecentDrawPosition(point, ids.data(), static_cast<int>(ids.size()));
    int popup_at = -1;
    for (const zed::RecentMenuStep& s : zed::PlanRecentDraw(at, caption, paths, first)) {
        Menu& target = s.in_popup ? m[popup_at].popup : m;
        EXPECT_GE(s.position, 0);
        EXPECT_LE(s.position, static_cast<int>(target.size()));
        Item item{s.text, s.kind == zed::RecentStepKind::Entry ? s.id : 0, {}};
        item.is_popup = s.kind == zed::RecentStepKind::Popup;
        if (s.kind == zed::RecentStepKind::Separator) item.text = "-";
        target.insert(target.begin() + s.position, item);
        if (item.is_popup) popup_at = s.position;
    }
    return point.append ? -1 : at;
}

void Free(Menu& m, int items_drawn, int drawn_at, const char* caption) {
    const int caption_at = caption != nullptr ? FindText(m, caption) : -1;
    for (int p : zed::PlanRecentFree(items_drawn, drawn_at, static_cast<int>(m.size()), caption_at,
                                     caption != nullptr)) {
        ASSERT_GE(p, 0);
        ASSERT_LT(p, static_cast<int>(m.size()));
        m.erase(m.begin() + p);
    }
}

Menu HostMenu() {
    return {{"&New", 100, {}}, {"&Open...", 101, {}}, {"&Save", 102, {}}, {"E&xit", 103, {}}};
}

const std::vector<std::string> kPaths = {"C:\\work\\a.pie", "C:\\work\\b.pie", "D:\\c.pie"};

TEST(RecentMenuPlan, EntriesAreNumberedWithConsecutiveIds) {
    Menu m = HostMenu();
    Draw(m, {true, kNoCommand, -1}, nullptr, kPaths, 4000);
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(m[4].text, "-");
    EXPECT_EQ(m[5].text, "&1 C:\\work\\a.pie");
    EXPECT_EQ(m[6].text, "&2 C:\\work\\b.pie");
    EXPECT_EQ(m[7].text, "&3 D:\\c.pie");
    EXPECT_EQ(m[5].id, 4000u);
    EXPECT_EQ(m[7].id, 4002u);
    EXPECT_EQ(zed::RecentEntryText(9, "x"), "&10 x");
    EXPECT_EQ(zed::RecentEntryText(0, nullptr), "&1 ");
}

TEST(RecentMenuPlan, ACaptionPutsTheEntriesIntoAPopupAfterTheSeparator) {
    Menu m = HostMenu();
    Draw(m, {true, kNoCommand, -1}, "Recent &files", kPaths, 10);
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[4].text, "-");
    ASSERT_TRUE(m[5].is_popup);
    EXPECT_EQ(m[5].text, "Recent &files");
    ASSERT_EQ(m[5].popup.size(), 3u);
    EXPECT_EQ(m[5].popup[1].text, "&2 C:\\work\\b.pie");
    EXPECT_EQ(m[5].popup[1].id, 11u);
}

TEST(RecentMenuPlan, InsertionPointsPlaceTheWholeBlockThere) {
    struct Case {
        RecentInsertPoint point;
        int at;
    } cases[] = {
        {{true, 102, 1}, 4},            // append ignores the rest
        {{false, 103, -1}, 3},          // before "Exit"
        {{false, 100, -1}, 0},          // before the first item
        {{false, 999, -1}, 4},          // an id that names no item: the end
        {{false, kNoCommand, 2}, 2},    // by position
        {{false, kNoCommand, 4}, 4},    // the end itself
        {{false, kNoCommand, 5}, 4},    // beyond the end
        {{false, kNoCommand, -3}, 4},
    };
    for (const Case& c : cases) {
        const Menu host = HostMenu();
        const std::vector<uint32_t> ids = Ids(host);
        EXPECT_EQ(zed::RecentDrawPosition(c.point, ids.data(), 4), c.at);
        Menu m = host;
        Draw(m, c.point, nullptr, kPaths, 50);
        EXPECT_EQ(m[c.at].text, "-");
        for (int i = 0; i < 3; ++i) EXPECT_EQ(m[c.at + 1 + i].id, 50u + i);
    }
    EXPECT_EQ(zed::RecentDrawPosition({false, 5, -1}, nullptr, 3), 3);
    EXPECT_EQ(zed::RecentDrawPosition({true, 0, 0}, nullptr, -2), 0);
}

TEST(RecentMenuPlan, DrawThenFreeRestoresTheMenuInEveryFormAndMode) {
    const RecentInsertPoint points[] = {{true, kNoCommand, -1},  {false, 101, -1}, {false, 100, -1},
                                        {false, 777, -1},        {false, kNoCommand, 0},
                                        {false, kNoCommand, 3},  {false, kNoCommand, 40}};
    const char* captions[] = {nullptr, "Recent files"};
    for (const RecentInsertPoint& point : points) {
        for (const char* caption : captions) {
            for (size_t n = 0; n <= kPaths.size(); ++n) {
                const std::vector<std::string> paths(kPaths.begin(), kPaths.begin() + n);
                Menu m = HostMenu();
                const int at = Draw(m, point, caption, paths, 900);
                EXPECT_EQ(m.size(), 4u + (caption ? 2u : 1u + n));
                Free(m, static_cast<int>(n) + 1, at, caption);
                EXPECT_EQ(m, HostMenu()) << point.before_id << " " << point.position << " "
                                         << (caption ? caption : "-") << " " << n;
            }
        }
    }
}

TEST(RecentMenuPlan, RepeatedRedrawsNeverAccumulate) {
    // Every AddFile redraws: free the last drawing, draw again. Random lists, random modes.
    std::mt19937 rng(77);
    for (int round = 0; round < 200; ++round) {
        Menu host = HostMenu();
        if (rng() % 2) host.insert(host.begin() + 1, Item{"&Tools", 0, {{"x", 1, {}}}, true});
        const std::vector<uint32_t> ids = Ids(host);
        const RecentInsertPoint point{rng() % 3 == 0, ids[rng() % ids.size()],
                                      static_cast<int>(rng() % 7) - 1};
        const char* caption = rng() % 2 ? "MRU" : nullptr;
        Menu m = host;
        int drawn = 0, at = -1;
        for (int step = 0; step < 6; ++step) {
            Free(m, drawn, at, caption);
            ASSERT_EQ(m, host);
            std::vector<std::string> paths(rng() % 5, "p");
            at = Draw(m, point, caption, paths, 3000);
            drawn = static_cast<int>(paths.size()) + 1;
        }
        Free(m, drawn, at, caption);
        EXPECT_EQ(m, host);
    }
}

TEST(RecentMenuPlan, FreeingNothingOrWithTheCaptionMissingDeletesNothing) {
    EXPECT_TRUE(zed::PlanRecentFree(0, -1, 5, -1, false).empty());
    EXPECT_TRUE(zed::PlanRecentFree(3, -1, 0, -1, false).empty());
    EXPECT_TRUE(zed::PlanRecentFree(3, -1, 5, -1, true).empty());  // caption not found
    EXPECT_TRUE(zed::PlanRecentFree(3, -1, 5, 0, true).empty());   // nothing before it
    EXPECT_EQ(zed::PlanRecentFree(3, -1, 5, 4, true), (std::vector<int>{3, 3}));
    // A host that removed items behind the library's back never makes it delete out of range.
    EXPECT_EQ(zed::PlanRecentFree(4, -1, 2, -1, false), (std::vector<int>{1, 0}));
    EXPECT_EQ(zed::PlanRecentFree(4, 1, 3, -1, false), (std::vector<int>{1, 1}));
}

}  // namespace
