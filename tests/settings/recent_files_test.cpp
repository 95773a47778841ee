// Tests of OPT_RLastFiles: ordering, the maximum, the existence check and the registry values.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "os/registry.h"
#include "tests/support/registry_fixture.h"
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
    EXPECT_TRUE(l.GetFile(2) == nullptr && l.GetFile(-1) == nullptr && l.DelFile(2) == 0 && l.DelFile(-1) == 0);
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
    zedtest::DeleteTree(zed::os::RegRoot::kCurrentUser, "Software\\" + company_ + "x");
}

TEST_F(RecentFilesTest, MissingFilesAreRefusedAndCaseCounts) {
    OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
    EXPECT_EQ(l.AddFile(CLS_String(TempFile("nothing.txt").c_str())), 0);
    EXPECT_EQ(l.AddFile(CLS_String(TempFile("no-dir/nothing.txt").c_str())), 0);
    EXPECT_EQ(l.AddFile(CLS_String("")), 0);
    EXPECT_EQ(l.GetNumFiles(), 0);
    // Names that differ in case alone are two entries.
    EXPECT_EQ(l.AddFile(CLS_String(MakeFile("case.txt").c_str())), 1);
    EXPECT_EQ(l.AddFile(CLS_String(MakeFile("CASE.txt").c_str())), 1);
    EXPECT_EQ(l.GetNumFiles(), 2);
}

TEST_F(RecentFilesTest, SaveAndLoad) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt");
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    {
        OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
        for (const std::string& f : {a, b, c, a}) l.AddFile(CLS_String(f.c_str()));
    }
    EXPECT_EQ(o.GetDword("NF", 0, 1), 3);
    char buf[512];
    o.GetString("LN1", "", buf, sizeof buf, 1);
    EXPECT_EQ(buf, a);
    o.GetString("LN3", "", buf, sizeof buf, 1);
    EXPECT_EQ(buf, b);
    OPT_RLastFiles l(company_.c_str(), "Prod", "1", 5);
    EXPECT_EQ(List(l), (std::vector<std::string>{a, c, b}));
    l.DelFile(1);
    l.DelFile(1);
    // Copies own their own strings.
    OPT_RLastFiles copy(l), other(company_.c_str(), "Other", "1", 3);
    other = l;
    EXPECT_EQ(List(copy), (std::vector<std::string>{a}));
    copy.DelFile(0);
    EXPECT_EQ(l.GetNumFiles(), 1);
    EXPECT_EQ(List(other), (std::vector<std::string>{a}));
}

// Entries are read from NF down to 1 whatever the maximum, each added in front: those that drop
// out (missing files, duplicates) leave room for older ones. The list is saved again on the way out.
TEST_F(RecentFilesTest, LoadReadsStoredEntriesFromTheCountDown) {
    const std::string a = MakeFile("a.txt"), b = MakeFile("b.txt"), c = MakeFile("c.txt"), gone = TempFile("gone");
    using Values = std::vector<std::pair<int, std::string>>;
    Values gone97;
    for (int i = 1; i <= 97; ++i) gone97.emplace_back(i, TempFile(("gone" + std::to_string(i)).c_str()));
    gone97.insert(gone97.end(), {{98, a}, {99, b}, {100, c}});
    const struct {
        DWORD count;
        Values values;
        int maximum;
        std::vector<std::string> expected;
    } cases[] = {
        {2, {{2, c}, {1, c}, {3, b}}, 5, {c}},  // a duplicate drops out; LN3 lies beyond the count
        {3, {{1, a}, {2, gone}, {3, c}}, 5, {a, c}},
        {100, gone97, 5, {a, b, c}},
        {100, {{1, gone}, {98, a}, {99, b}, {100, a}}, 5, {a, b}},
        {100, {{1, gone}, {98, c}, {99, b}, {100, a}}, 2, {c, b}},  // the two read last stay
        // A damaged count is read as an unsigned number and bounded at 65535 values.
        {static_cast<DWORD>(-1), {{1, a}, {65535, b}, {65536, c}}, 5, {a, b}},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string product = "P" + std::to_string(n++);
        OPT_RegOptions o(company_.c_str(), product.c_str(), "1");
        {
            zed::os::RegistryBatch batch;
            o.SetDword("NF", k.count, 1);
            for (const auto& v : k.values) o.SetString(("LN" + std::to_string(v.first)).c_str(), v.second.c_str(), 1);
        }
        {
            OPT_RLastFiles l(company_.c_str(), product.c_str(), "1", k.maximum);
            EXPECT_EQ(List(l), k.expected) << "case " << n - 1;
        }
        EXPECT_EQ(o.GetDword("NF", DWORD{0}, 1), k.expected.size());
        EXPECT_EQ(o.IsString(("LN" + std::to_string(k.values.back().first)).c_str(), 1), 1);  // left in place
    }
}

}  // namespace
