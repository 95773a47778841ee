// WIN_RLastFiles on real menus: numbered entries with their ids in a plain menu, under a caption,
// in a toolbar menu's submenu, at insertion points; drawing then freeing gives the menu back.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/ui/win32/menubar_host.h"
#include "tests/ui/win32/menubar_test_ids.h"
#include "tests/support/registry_fixture.h"
#include "zedll/win32/recent_files_menu.h"

namespace {

using zedtest::MenuBarHost;

// What the window system holds for one item, submenus included.
struct Item {
    std::string text;
    UINT id;
    UINT type;
    std::vector<Item> sub;
    bool operator==(const Item& o) const {
        return text == o.text && id == o.id && type == o.type && sub == o.sub;
    }
};

std::vector<Item> Snapshot(HMENU menu) {
    std::vector<Item> items;
    const int n = ::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[200] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        items.push_back({text, info.wID, info.fType & MFT_SEPARATOR,
                         info.hSubMenu ? Snapshot(info.hSubMenu) : std::vector<Item>{}});
    }
    return items;
}

HMENU FileMenu() {
    HMENU m = ::CreatePopupMenu();
    ::AppendMenuA(m, MF_STRING, 100, "&New");
    ::AppendMenuA(m, MF_STRING, 101, "&Open...");
    HMENU export_menu = ::CreatePopupMenu();
    ::AppendMenuA(export_menu, MF_STRING, 110, "As &DXF");
    ::AppendMenuA(m, MF_POPUP, reinterpret_cast<UINT_PTR>(export_menu), "&Export");
    ::AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(m, MF_STRING, 103, "E&xit");
    return m;
}

class RecentFilesMenuTest : public zedtest::RegistryFixture {
protected:
    void SetUp() override {
        RegistryFixture::SetUp();
        for (const char* name : {"mru_a.pie", "mru_b.pie", "mru_c.pie"}) {
            paths_.push_back(TempFile(name));
            std::ofstream(paths_.back()) << "x";
        }
    }
    void TearDown() override {
        for (const std::string& p : paths_) ::DeleteFileA(p.c_str());
        RegistryFixture::TearDown();
    }
    const char* company() const { return company_.c_str(); }
    std::vector<std::string> paths_;
    MenuBarHost host_;
};

TEST_F(RecentFilesMenuTest, PlainMenuShowsNumberedEntriesAfterASeparator) {
    HMENU menu = FileMenu();
    const std::vector<Item> before = Snapshot(menu);
    {
        WIN_RLastFiles mru(nullptr, menu, host_.frame, company(), "Prod", "1", 4000, 5);
        EXPECT_EQ(Snapshot(menu), before);  // this form does not draw at construction
        EXPECT_EQ(mru.AddFile(CLS_String(paths_[0].c_str())), 1);
        EXPECT_EQ(mru.AddFile(CLS_String(paths_[1].c_str())), 1);
        std::vector<Item> now = Snapshot(menu);
        ASSERT_EQ(now.size(), before.size() + 3);
        EXPECT_EQ(now[5].type, static_cast<UINT>(MFT_SEPARATOR));
        EXPECT_EQ(now[6].text, "&1 " + paths_[1]);
        EXPECT_EQ(now[6].id, 4000u);
        EXPECT_EQ(now[7].text, "&2 " + paths_[0]);
        EXPECT_EQ(now[7].id, 4001u);
        EXPECT_STREQ(mru.GetFileCmd(4001), paths_[0].c_str());
        EXPECT_EQ(mru.GetFileCmd(4002), nullptr);
        EXPECT_EQ(mru.GetFileCmd(3999), nullptr);
        // A refused file changes nothing but still redraws the same items.
        EXPECT_EQ(mru.AddFile(CLS_String("C:\\no\\such\\file.pie")), 0);
        EXPECT_EQ(Snapshot(menu), now);
        EXPECT_EQ(mru.DelFileCmd(3999), 0);
        EXPECT_EQ(mru.DelFileCmd(4002), 0);
        EXPECT_EQ(mru.DelFileCmd(4001), 1);
        now = Snapshot(menu);
        ASSERT_EQ(now.size(), before.size() + 2);
        EXPECT_EQ(now[6].text, "&1 " + paths_[1]);
        // Moving to another menu takes the items out of this one, exactly.
        HMENU other = ::CreatePopupMenu();
        mru.HandleChange(other, host_.frame);
        EXPECT_EQ(Snapshot(menu), before);
        ASSERT_EQ(::GetMenuItemCount(other), 2);
        ::DestroyMenu(other);
    }
    ::DestroyMenu(menu);
}

TEST_F(RecentFilesMenuTest, ACaptionPutsTheEntriesIntoAPopup) {
    HMENU menu = FileMenu();
    const std::vector<Item> before = Snapshot(menu);
    WIN_RLastFiles mru("Recent &files", menu, host_.frame, company(), "Prod", "1", 900, 5);
    for (const std::string& p : paths_) mru.AddFile(CLS_String(p.c_str()));
    const std::vector<Item> now = Snapshot(menu);
    ASSERT_EQ(now.size(), before.size() + 2);
    EXPECT_EQ(now[5].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(now[6].text, "Recent &files");
    ASSERT_EQ(now[6].sub.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(now[6].sub[i].text, "&" + std::to_string(i + 1) + " " + paths_[2 - i]);
        EXPECT_EQ(now[6].sub[i].id, 900u + i);
    }
    HMENU other = ::CreatePopupMenu();
    mru.HandleChange(other, host_.frame);
    EXPECT_EQ(Snapshot(menu), before);
    ::DestroyMenu(other);
    ::DestroyMenu(menu);
}

TEST_F(RecentFilesMenuTest, InsertionPointsKeepTheBlockTogetherAndFreeingRestoresTheMenu) {
    struct Mode {
        const char* name;
        int by_id;           // SetInsertItem(id), 0 for none
        const char* text;    // SetInsertItem(menu, text), null for none
        int separator_at;    // where the separator lands in FileMenu()
    } modes[] = {
        {"append", 0, nullptr, 5},
        {"before Open", 101, nullptr, 1},
        {"before Exit", 103, nullptr, 4},
        {"before an id not in the menu", 555, nullptr, 5},
        {"at the Export popup", 0, "&Export", 2},
        {"before New by text", 0, "&New", 0},
    };
    for (const char* caption : {static_cast<const char*>(nullptr), "MRU"}) {
        for (const Mode& m : modes) {
            HMENU menu = FileMenu();
            const std::vector<Item> before = Snapshot(menu);
            WIN_RLastFiles mru(caption, menu, host_.frame, company(), "Prod", "1", 700, 5);
            if (m.by_id != 0) {
                EXPECT_EQ(mru.SetInsertItem(static_cast<UINT>(m.by_id)), 1);
            }
            if (m.text != nullptr) {
                EXPECT_EQ(mru.SetInsertItem(menu, m.text), 1);
            }
            mru.AddFile(CLS_String(paths_[0].c_str()));
            mru.AddFile(CLS_String(paths_[1].c_str()));
            const std::vector<Item> now = Snapshot(menu);
            ASSERT_GT(now.size(), static_cast<size_t>(m.separator_at + 1)) << m.name;
            EXPECT_EQ(now[m.separator_at].type, static_cast<UINT>(MFT_SEPARATOR)) << m.name;
            if (caption != nullptr) {
                EXPECT_EQ(now[m.separator_at + 1].text, "MRU") << m.name;
                EXPECT_EQ(now[m.separator_at + 1].sub.size(), 2u) << m.name;
            } else {
                EXPECT_EQ(now[m.separator_at + 1].id, 700u) << m.name;
                EXPECT_EQ(now[m.separator_at + 2].id, 701u) << m.name;
            }
            HMENU other = ::CreatePopupMenu();
            mru.HandleChange(other, host_.frame);
            EXPECT_EQ(Snapshot(menu), before) << m.name << (caption ? " with caption" : "");
            mru.HandleChange(menu, host_.frame);  // and back: redrawn at the same place
            EXPECT_EQ(Snapshot(menu), now) << m.name;
            mru.HandleChange(other, host_.frame);
            EXPECT_EQ(Snapshot(menu), before) << m.name;
            ::DestroyMenu(other);
            ::DestroyMenu(menu);
        }
    }
}

TEST_F(RecentFilesMenuTest, SetInsertItemByTextRefusesWhatItCannotFind) {
    HMENU menu = FileMenu();
    WIN_RLastFiles mru(nullptr, menu, host_.frame, company(), "Prod", "1", 700, 5);
    EXPECT_EQ(mru.SetInsertItem(nullptr, "&New"), 0);
    EXPECT_EQ(mru.SetInsertItem(menu, nullptr), 0);
    EXPECT_EQ(mru.SetInsertItem(menu, "&new"), 0);  // case-sensitive
    EXPECT_EQ(mru.SetInsertItem(menu, "New"), 0);
    // The refused calls left append mode in place.
    mru.AddFile(CLS_String(paths_[0].c_str()));
    EXPECT_EQ(::GetMenuItemID(menu, ::GetMenuItemCount(menu) - 1), 700u);
    EXPECT_EQ(mru.SetInsertItem(0u), 1);
    EXPECT_EQ(mru.SetInsertItem(static_cast<UINT>(-1)), 1);
    ::DestroyMenu(menu);
}

TEST_F(RecentFilesMenuTest, ToolbarMenuFormFillsTheNamedSubmenu) {
    WIN_TMenu bar;
    ASSERT_NE(bar.Create(host_.frame, 77, ZEDTEST_MENUBAR_MENU, ::GetModuleHandleA(nullptr)), nullptr);
    HMENU file = bar.GetSubMenu("&File");
    HMENU edit = bar.GetSubMenu("&Edit");
    const std::vector<Item> file_before = Snapshot(file), edit_before = Snapshot(edit);
    {
        WIN_RLastFiles seed(static_cast<const char*>(nullptr), static_cast<HMENU>(nullptr), nullptr, company(), "Prod", "1", 0, 5);
        seed.AddFile(CLS_String(paths_[0].c_str()));
        seed.AddFile(CLS_String(paths_[1].c_str()));
    }  // saved: the next list loads these two
    WIN_RLastFiles mru(&bar, "&File", nullptr, company(), "Prod", "1", 3000, 5);
    std::vector<Item> now = Snapshot(file);  // drawn at construction
    ASSERT_EQ(now.size(), file_before.size() + 3);
    EXPECT_EQ(now[file_before.size()].type, static_cast<UINT>(MFT_SEPARATOR));
    EXPECT_EQ(now[file_before.size() + 1].text, "&1 " + paths_[1]);
    EXPECT_EQ(now[file_before.size() + 1].id, 3000u);
    EXPECT_EQ(now[file_before.size() + 2].text, "&2 " + paths_[0]);
    EXPECT_EQ(now[file_before.size() + 2].id, 3001u);
    mru.HandleChange(&bar, "&Edit", "Recent", bar.GetHandle());
    EXPECT_EQ(Snapshot(file), file_before);
    now = Snapshot(edit);
    ASSERT_EQ(now.size(), edit_before.size() + 2);
    EXPECT_EQ(now.back().text, "Recent");
    EXPECT_EQ(now.back().sub.size(), 2u);
    mru.HandleChange(&bar, "No such submenu", nullptr, bar.GetHandle());
    EXPECT_EQ(Snapshot(edit), edit_before);
}

}  // namespace
