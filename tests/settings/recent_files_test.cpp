// Tests of OPT_RLastFiles: ordering, the maximum, the existence check and the registry values.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "registry_fixture.h"
#include "zedll/recent_files.h"

namespace {

class RecentFilesTest : public zedtest::RegistryFixture {
protected:
    // An existing file of this test.
    std::string MakeFile(const char* name) {
        const std::string path = TempFile(name);
        std::ofstream(path) << "x";
        made_.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const std::string& p : made_) std::remove(p.c_str());
        RegistryFixture::TearDown();
    }
    std::vector<std::string> List(OPT_RLastFiles& l) {
        std::vector<std::string> out;
        for (int i = 0; i < l.GetNumFiles(); ++i) out.push_back(l.GetFile(i)->GetBuffer());
        return out;
    }
    std::vector<std::string> made_;
};

TEST_F(RecentFilesTest, OrderAndMaximum) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    OPT_RLastFiles l(company_.c_str(), "Prod", "1", 2);
    EXPECT_EQ(l.GetNumFiles(), 0);
    EXPECT_EQ(l.AddFile(CLS_String(a.c_str())), 1);
    EXPECT_EQ(l.AddFile(CLS_String(b.c_str())), 1);
    EXPECT_EQ(l.AddFile(CLS_String(c.c_str())), 1);
    EXPECT_EQ(List(l), (std::vector<std::string>{c, b}));
    EXPECT_EQ(l.AddFile(CLS_String(b.c_str())), 1);
    EXPECT_EQ(List(l), (std::vector<std::string>{b, c}));
    EXPECT_EQ(l.GetFile(2), nullptr);
    EXPECT_EQ(l.GetFile(-1), nullptr);
    EXPECT_EQ(l.DelFile(2), 0);
    EXPECT_EQ(l.DelFile(-1), 0);
    EXPECT_EQ(l.DelFile(0), 1);
    EXPECT_EQ(List(l), (std::vector<std::string>{c}));

    std::vector<std::string> files;
    for (int i = 0; i < 100; ++i) files.push_back(MakeFile(("f" + std::to_string(i)).c_str()));
    const int requests[][2] = {{0, 5}, {99, 5}, {-3, 5}, {98, 98}, {1, 1}, {7, 7}};  // the maximum shows as how many entries stay
    for (const auto& r : requests) {
        OPT_RLastFiles m((company_ + "x").c_str(), "Max", std::to_string(r[0]).c_str(), r[0]);
        for (const std::string& f : files) ASSERT_EQ(m.AddFile(CLS_String(f.c_str())), 1);
        EXPECT_EQ(m.GetNumFiles(), r[1]) << r[0];
        EXPECT_STREQ(m.GetFile(0)->GetBuffer(), files.back().c_str());
    }
    zedtest::DeleteTree(zed::platform::RegRoot::kCurrentUser, "Software\\" + company_ + "x");
}

TEST_F(RecentFilesTest, MissingFilesAreRefused) {
    const std::string a = MakeFile("a.txt");
    OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
    EXPECT_EQ(l.AddFile(CLS_String(TempFile("nothing.txt").c_str())), 0);
    EXPECT_EQ(l.AddFile(CLS_String(TempFile("no-dir/nothing.txt").c_str())), 0);
    EXPECT_EQ(l.AddFile(CLS_String("")), 0);
    EXPECT_EQ(l.GetNumFiles(), 0);
    EXPECT_EQ(l.AddFile(CLS_String(a.c_str())), 1);
    EXPECT_EQ(l.GetNumFiles(), 1);
}

TEST_F(RecentFilesTest, CaseDifferencesKeepBothEntries) {
    const std::string lower = MakeFile("case.txt");
    const std::string upper = MakeFile("CASE.txt");
    OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
    EXPECT_EQ(l.AddFile(CLS_String(lower.c_str())), 1);
    EXPECT_EQ(l.AddFile(CLS_String(upper.c_str())), 1);
    EXPECT_EQ(l.GetNumFiles(), 2);
}

TEST_F(RecentFilesTest, SaveAndLoad) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        l.AddFile(CLS_String(a.c_str()));
        l.AddFile(CLS_String(b.c_str()));
        l.AddFile(CLS_String(c.c_str()));
        l.AddFile(CLS_String(a.c_str()));
    }
    EXPECT_EQ(o.GetDword("NF", 0, 1), 3);
    char buf[512];
    o.GetString("LN1", "", buf, sizeof buf, 1);
    EXPECT_EQ(buf, a);
    o.GetString("LN3", "", buf, sizeof buf, 1);
    EXPECT_EQ(buf, b);
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{a, c, b}));
        l.DelFile(1);
        l.DelFile(1);
        // A copy owns its own strings.
        OPT_RLastFiles copy(l);
        EXPECT_EQ(List(copy), (std::vector<std::string>{a}));
        copy.DelFile(0);
        EXPECT_EQ(l.GetNumFiles(), 1);
    }
    // Both lists saved on the way out (the original last, with one entry). A stored count of 2
    // reads LN2 then LN1; LN3, left from the longer list, is never read.
    o.SetDword("NF", 2, 1);
    o.SetString("LN2", c.c_str(), 1);
    o.SetString("LN1", c.c_str(), 1);  // a duplicate drops out
    std::remove(b.c_str());
    o.SetString("LN3", b.c_str(), 1);  // never read: beyond NF
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{c}));
    }
    // A missing file drops out on loading.
    o.SetDword("NF", 3, 1);
    o.SetString("LN1", a.c_str(), 1);
    o.SetString("LN2", b.c_str(), 1);
    o.SetString("LN3", c.c_str(), 1);
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{a, c}));
        OPT_RLastFiles other(company_.c_str(), "Other", "1", 3);
        other = l;
        EXPECT_EQ(List(other), (std::vector<std::string>{a, c}));
    }
}

// Entries are read from NF down to 1 whatever the maximum: those that drop out (missing files,
// duplicates) leave room for older ones.
TEST_F(RecentFilesTest, LoadReadsEveryStoredEntry) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    {
        zed::platform::RegistryBatch batch;
        o.SetDword("NF", 100, 1);
        for (int i = 1; i <= 97; ++i) {
            const std::string name = "LN" + std::to_string(i);
            o.SetString(name.c_str(), TempFile(("gone" + std::to_string(i)).c_str()).c_str(), 1);
        }
        o.SetString("LN98", a.c_str(), 1);
        o.SetString("LN99", b.c_str(), 1);
        o.SetString("LN100", c.c_str(), 1);
    }
    {
        // LN100 is added first, so LN98 ends up the most recent.
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{a, b, c}));
    }
    // Saved on the way out: NF 3, LN1..LN3; LN4 onwards left in place but no longer read.
    EXPECT_EQ(o.GetDword("NF", 0, 1), 3);
    EXPECT_EQ(o.IsString("LN100", 1), 1);

    // A duplicate among the later values drops out: the entries are those of the reading order.
    o.SetDword("NF", 100, 1);
    o.SetString("LN1", TempFile("gone1").c_str(), 1);
    o.SetString("LN2", TempFile("gone2").c_str(), 1);
    o.SetString("LN3", TempFile("gone3").c_str(), 1);
    o.SetString("LN98", a.c_str(), 1);
    o.SetString("LN99", b.c_str(), 1);
    o.SetString("LN100", a.c_str(), 1);
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{a, b}));
    }
    // A list of maximum 2 keeps the two read last (the most recent).
    o.SetDword("NF", 100, 1);
    o.SetString("LN1", TempFile("gone1").c_str(), 1);
    o.SetString("LN2", TempFile("gone2").c_str(), 1);
    o.SetString("LN98", c.c_str(), 1);
    o.SetString("LN99", b.c_str(), 1);
    o.SetString("LN100", a.c_str(), 1);
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 2);
        EXPECT_EQ(List(l), (std::vector<std::string>{c, b}));
    }
}

// A damaged count (here a negative number) is read as an unsigned number and bounded at 65535
// values: LN65535 is read, LN65536 is not.
TEST_F(RecentFilesTest, LoadBoundsADamagedCount) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    o.SetString("LN1", a.c_str(), 1);
    o.SetString("LN65535", b.c_str(), 1);
    o.SetString("LN65536", c.c_str(), 1);
    o.SetDword("NF", -1, 1);
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        EXPECT_EQ(List(l), (std::vector<std::string>{a, b}));
    }
    EXPECT_EQ(o.GetDword("NF", DWORD{0}, 1), 2u);  // saved again
}

}  // namespace
