// Tests of CLS_String and CLS_FileName: capacities, editing guards, searches, paths.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>

#include "os/heap.h"
#include "zedll/cls_string.h"

namespace {

constexpr DWORD kAll = CLS_String::kAll;
constexpr DWORD kNone = static_cast<DWORD>(-1);

// Restores the process-wide settings each test may change.
class StringTest : public ::testing::Test {
protected:
    void TearDown() override {
        CLS_String::SetCaseSensitive(1);
        CLS_String::SetInitialSize(64);
        CLS_String::SetGrowSize(64);
        zed::heap_testing::Reset();
    }
};

std::string Str(const CLS_String& s) { return s.GetBuffer() ? std::string(s.GetBuffer()) : "<null>"; }

// Independent reference of a plain substring search with the folding rule.
DWORD RefFind(const std::string& text, const std::string& pat, DWORD start, bool fold) {
    auto f = [fold](unsigned char c) { return (fold && c >= 0x61 && c <= 0x7F) ? c - 0x20 : c; };
    if (pat.empty()) return kNone;
    if (static_cast<uint64_t>(start) + pat.size() - 1 >= text.size()) return kNone;
    for (size_t p = start; p + pat.size() <= text.size(); ++p) {
        bool ok = true;
        for (size_t k = 0; k < pat.size() && ok; ++k) ok = f(text[p + k]) == f(pat[k]);
        if (ok) return static_cast<DWORD>(p);
    }
    return kNone;
}

TEST_F(StringTest, CapacitiesFollowTheBlockRule) {
    EXPECT_EQ(CLS_String().GetCapacity(), 64u);
    EXPECT_EQ(CLS_String(std::string(64, 'x').c_str()).GetCapacity(), 128u);
    CLS_String s(std::string(63, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 64u);
    EXPECT_EQ(s.Append("b").GetCapacity(), 128u);
    // Deleting shrinks to the blocks the text needs; assigning too.
    CLS_String d(std::string(100, 'a').c_str());
    EXPECT_EQ(d.Delete(64, kAll).GetCapacity(), 128u);
    EXPECT_EQ(d[64], 0);
    EXPECT_EQ(d.Delete(10, kAll).GetCapacity(), 64u);
    CLS_String big(std::string(200, 'q').c_str());
    EXPECT_EQ(big.Assign(CLS_String("0123456789")).GetCapacity(), 64u);
    // Assign sizes for the other's whole length even when taking a piece; Append never shrinks.
    CLS_String piece;
    piece.Assign(CLS_String(std::string(300, 'z').c_str()), 0, 3);
    EXPECT_EQ(piece.GetCapacity(), 320u);
    EXPECT_EQ(Str(piece), "zzz");
    EXPECT_EQ(piece.Append(CLS_String("a")).GetCapacity(), 320u);
    // A piece with an explicit count reserves count + 1 bytes.
    EXPECT_EQ(CLS_String(CLS_String("abc"), 0, 100).GetCapacity(), 128u);
}

TEST_F(StringTest, CustomBlockSizesAndProperty) {
    EXPECT_EQ(CLS_String::SetInitialSize(10), 10u);
    EXPECT_EQ(CLS_String::SetGrowSize(7), 7u);
    std::mt19937 rng(7);
    CLS_String s;
    std::string ref;
    for (int i = 0; i < 400; ++i) {
        const int op = static_cast<int>(rng() % 4);
        if (op == 0) {
            std::string add(rng() % 30, static_cast<char>('a' + rng() % 26));
            s.Append(add.c_str());
            ref += add;
        } else if (op == 1 && !ref.empty()) {
            DWORD pos = rng() % ref.size(), n = rng() % 20;
            s.Delete(pos, n);
            ref.erase(pos, n);
        } else if (op == 2 && !ref.empty()) {
            DWORD pos = rng() % ref.size();
            s.Insert(pos, CLS_String("XY"));
            ref.insert(pos, "XY");
        } else if (op == 3) {
            s = CLS_String(ref.c_str());
        }
        ASSERT_EQ(Str(s), ref);
        ASSERT_EQ(s.GetLength(), ref.size());
        ASSERT_GE(s.GetCapacity(), s.GetLength() + 1);
        ASSERT_EQ((s.GetCapacity() - 10) % 7, 0u);
        ASSERT_EQ(s[s.GetLength()], 0);
    }
}

TEST_F(StringTest, ConstructorsPiecesAndEditingGuards) {
    CLS_String a("abc"), h("hello"), w("hello world");
    const CLS_String copy(a);
    EXPECT_NE(copy.GetBuffer(), a.GetBuffer());
    const std::pair<std::function<std::string()>, const char*> cases[] = {
        {[] { return Str(CLS_String("hello", 1, 3)); }, "ell"}, {[] { return Str(CLS_String("hello", 9)); }, ""},
        {[] { return Str(CLS_String(CLS_String("hello"), 5, kAll)); }, ""},
        {[] { return Str(CLS_String(static_cast<signed char>('z'), 3)); }, "zzz"},
        {[] { return Str(CLS_String("ab") + "cd" + CLS_String("ef")); }, "abcdef"},
        {[&] { CLS_String& self = a; return Str(a = self); }, "abc"}, {[&] { return Str(a.Append(a)); }, "abcabc"},
        {[&] { return Str(a.Assign(CLS_String("xyz"), 4)); }, "abcabc"},  // start past the end: no change
        {[&] { return Str(a.Append(CLS_String("xyz"), 3)); }, "abcabc"},
        {[&] { return Str(a.Append(CLS_String("xyz"), 1, 1)); }, "abcabcy"},
        {[] { return Str(CLS_String().Insert(0, CLS_String("x"))); }, ""},
        {[&] { return Str(h.Insert(5, CLS_String("x"))); }, "hello"},
        {[&] { return Str(h.Insert(0, CLS_String("abc"), 1, 1)); }, "bhello"},
        {[&] { return Str(h.Insert(1, CLS_String("abc"), 3)); }, "bhello"},
        {[&] { return Str(h.Delete(6, 1)); }, "bhello"}, {[&] { return Str(h.Delete(1, 2)); }, "bllo"},
        {[&] { return Str(w.Replace(6, kAll, "there")); }, "hello there"},
        {[&] { return Str(w.Replace(0, 5, CLS_String("HOWDY!"), 0, 5)); }, "HOWDY there"},
        {[&] { return Str(w.Replace(11, 1, "x")); }, "HOWDY there"},
        {[&] { return Str(w.Replace(0, 1, "ab", 3)); }, "HOWDY there"},
        {[&] { return Str(w.Replace(0, 1, "ab", 2)); }, "OWDY there"},  // an empty piece: a plain delete
    };
    for (const auto& c : cases) EXPECT_EQ(c.first(), c.second) << "case " << &c - cases;
}

TEST_F(StringTest, AccessComparisonsAndFolding) {
    CLS_String s("abc");
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_THROW(s.CheckIndex(3), std::out_of_range);
    EXPECT_NO_THROW(s.CheckPosition(3));
    EXPECT_THROW(s.CheckPosition(4), CLS_StringIndexError);
    try {
        s.GetAt(7);
        ADD_FAILURE();
    } catch (const CLS_StringIndexError& e) {
        EXPECT_EQ(e.GetIndex(), 7u);
    }
    char dst[16];
    std::strcpy(dst, "xyz");
    CLS_String t("hello");
    EXPECT_EQ(t.GetText(dst), 3u);  // as many as the text there
    EXPECT_STREQ(dst, "hel");
    EXPECT_EQ(t.GetText(dst, 2, 3), 2u);
    EXPECT_STREQ(dst, "lo");
    EXPECT_EQ(t.GetText(dst, 2, 5), 0u);
    EXPECT_STREQ(dst, "lo");

    EXPECT_TRUE(CLS_String() == CLS_String() && "abc" == CLS_String("abc") && CLS_String("abd") > "abc");
    EXPECT_TRUE("abc" <= CLS_String("abc") && CLS_String("abc") != "ABC");
    EXPECT_GT(CLS_String("abc").Compare(CLS_String("abd")), 0);  // the piece sorts after
    EXPECT_EQ(CLS_String("b").Compare(CLS_String("abc"), 1, 1), 0);
    EXPECT_EQ(CLS_String("").Compare(CLS_String("abc"), 4), 1);
    EXPECT_EQ(CLS_String("").Compare(CLS_String("abc"), 1, 3), 1);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("cxz", 0), 1u);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("fed", 0), kNone);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("a", 6), kNone);
    EXPECT_EQ(CLS_String("path\\  ").ReverseFindNotOf(" \\"), 3u);
    EXPECT_EQ(CLS_String("   ").ReverseFindNotOf(" "), kNone);
    EXPECT_EQ(CLS_String("abc").ReverseFindNotOf("c", 2), 1u);
    EXPECT_EQ(CLS_String("abc").Contains("cb"), 0);
    CLS_String mixed("MiXeD 9");
    EXPECT_STREQ(mixed.MakeLower(), "mixed 9");
    EXPECT_STREQ(mixed.MakeUpper(), "MIXED 9");
    EXPECT_EQ(CLS_String::SetCaseSensitive(5), 1);  // any value other than 0 is 1
    EXPECT_EQ(CLS_String::SetCaseSensitive(0), 0);
    EXPECT_TRUE(CLS_String("abc") == "ABC" && CLS_String("abc") < "ABD");
    EXPECT_EQ(CLS_String("ABC").ReverseFindNotOf("c"), 1u);
}

TEST_F(StringTest, SearchMatchesReferenceOnRandomTexts) {
    std::mt19937 rng(11);
    for (int fold = 0; fold < 2; ++fold) {
        CLS_String::SetCaseSensitive(fold ? 0 : 1);
        for (int i = 0; i < 3000; ++i) {
            std::string text, pat;
            const int tl = static_cast<int>(rng() % 24), pl = static_cast<int>(rng() % 5);
            for (int k = 0; k < tl; ++k) text += "aAbB{["[rng() % 6];
            for (int k = 0; k < pl; ++k) pat += "aAbB{["[rng() % 6];
            const DWORD start = rng() % 26;
            CLS_String s(text.c_str());
            ASSERT_EQ(s.Find(pat.c_str(), start), RefFind(text, pat, start, fold != 0))
                << text << " / " << pat << " @" << start;
            // ReverseFind: the last full match wholly within 0..end.
            const DWORD end = text.empty() ? kNone : rng() % text.size();
            DWORD ref = kNone;
            if (!pat.empty() && end != kNone) {
                for (DWORD p = 0; p + pat.size() - 1 <= end; ++p) {
                    if (RefFind(text.substr(0, end + 1), pat, p, fold != 0) == p) ref = p;
                }
            }
            ASSERT_EQ(s.ReverseFind(pat.c_str(), end), ref) << text << " / " << pat << " <" << end;
        }
    }
}

TEST_F(StringTest, FailedAllocationLeavesAnEmptyObject) {
    zed::heap_testing::FailAfter(0);
    CLS_String s("abc");
    zed::heap_testing::Reset();
    EXPECT_TRUE(s.GetBuffer() == nullptr && s.GetCapacity() == 0 && s.GetLength() == 0);
    EXPECT_EQ(s.Find("a"), kNone);
    EXPECT_EQ(s.ReverseFind("a"), kNone);
    EXPECT_THROW(s.GetAt(0), CLS_StringIndexError);
    s.Append("xy");
    EXPECT_EQ(Str(s), "xy");
    EXPECT_EQ(s.GetCapacity(), 64u);

    CLS_String t(std::string(100, 'a').c_str());
    CLS_String same_size(std::string(90, 'b').c_str());
    zed::heap_testing::FailAfter(0);
    t.Assign(same_size);  // same capacity: no reallocation, so nothing can fail
    EXPECT_EQ(t.GetLength(), 90u);
    zed::heap_testing::Reset();
    CLS_String little("x");
    zed::heap_testing::FailAfter(0);
    t.Assign(little);
    zed::heap_testing::Reset();
    EXPECT_TRUE(t.GetBuffer() == nullptr && t.GetCapacity() == 0 && t.GetLength() == 0);
}

TEST_F(StringTest, FileNameParts) {
    using Get = char* (CLS_FileName::*)(char*) const;
    const Get path = &CLS_FileName::GetPath, dir = &CLS_FileName::GetDirectory, drive = &CLS_FileName::GetDrive,
              name = &CLS_FileName::GetName, ext = &CLS_FileName::GetExtension, dot = &CLS_FileName::GetDotExtension,
              file = &CLS_FileName::GetFileName;
    const std::string long_name = "C:\\" + std::string(300, 'n') + "." + std::string(300, 'e');
    const struct {
        const char* path;
        Get get;
        std::string part;
    } cases[] = {
        {"C:\\dir\\file.txt", path, "C:\\dir\\"}, {"C:\\dir\\file.txt", dir, "\\dir\\"},
        {"C:\\dir\\file.txt", drive, "C:"}, {"C:\\dir\\file.txt", name, "file"},
        {"C:\\dir\\file.txt", ext, "txt"}, {"C:\\dir\\file.txt", dot, ".txt"},
        {"C:\\dir\\file.txt", file, "file.txt"}, {"C:\\my.dir\\file", name, "file"},
        {"C:\\my.dir\\file", ext, ""}, {"C:\\my.dir\\file", file, "file."}, {"\\dir\\file", dir, "\\dir\\"},
        {"\\dir\\file", drive, ""}, {"file.txt", path, ""}, {".txt", name, "txt"}, {".txt", dot, ""},
        {"C:name.ext", name, "name"}, {":x", drive, ""}, {"", file, ""},
        {long_name.c_str(), file, std::string(255, 'n') + "." + std::string(255, 'e')},
    };
    for (const auto& c : cases) {
        char dst[600];
        std::memset(dst, 0x5A, sizeof dst);
        EXPECT_EQ((CLS_FileName(c.path).*c.get)(dst), dst);
        EXPECT_EQ(dst, c.part) << c.path;
    }
    CLS_String* base = new CLS_FileName("x.y");
    delete base;  // through the base pointer: the virtual destructor releases the buffer
}

}  // namespace
