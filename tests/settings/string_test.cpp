// Tests of CLS_String and CLS_FileName: capacities, editing guards, searches, paths.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "platform/heap.h"
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
        zed::heap_faults::Reset();
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
    CLS_String empty;
    EXPECT_EQ(empty.GetCapacity(), 64u);
    EXPECT_EQ(empty.GetLength(), 0u);
    EXPECT_EQ(CLS_String(std::string(64, 'x').c_str()).GetCapacity(), 128u);

    CLS_String s(std::string(63, 'a').c_str());
    EXPECT_EQ(s.GetCapacity(), 64u);
    s.Append("b");
    EXPECT_EQ(s.GetCapacity(), 128u);
    EXPECT_EQ(s.GetLength(), 64u);

    CLS_String d(std::string(100, 'a').c_str());
    EXPECT_EQ(d.GetCapacity(), 128u);
    d.Delete(64, kAll);
    EXPECT_EQ(d.GetCapacity(), 128u);
    EXPECT_EQ(d.GetLength(), 64u);
    EXPECT_EQ(d[64], 0);
    d.Delete(10, kAll);
    EXPECT_EQ(d.GetCapacity(), 64u);

    CLS_String big(std::string(200, 'q').c_str());
    EXPECT_EQ(big.GetCapacity(), 256u);
    big.Assign(CLS_String("0123456789"));
    EXPECT_EQ(big.GetCapacity(), 64u);
    EXPECT_EQ(Str(big), "0123456789");

    // Assign sizes for the other's whole length even when taking a piece; Append never shrinks.
    CLS_String long_src(std::string(300, 'z').c_str());
    CLS_String piece;
    piece.Assign(long_src, 0, 3);
    EXPECT_EQ(piece.GetCapacity(), 320u);
    EXPECT_EQ(Str(piece), "zzz");
    piece.Append(CLS_String("a"));
    EXPECT_EQ(piece.GetCapacity(), 320u);

    // A piece with an explicit count reserves count + 1 bytes.
    EXPECT_EQ(CLS_String(CLS_String("abc"), 0, 100).GetCapacity(), 128u);
    EXPECT_EQ(Str(CLS_String(CLS_String("abc"), 0, 100)), "abc");
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

TEST_F(StringTest, ConstructorsAndPieces) {
    EXPECT_EQ(Str(CLS_String("hello", 1, 3)), "ell");
    EXPECT_EQ(Str(CLS_String("hello", 2)), "llo");
    EXPECT_EQ(Str(CLS_String("hello", 9)), "");
    EXPECT_EQ(Str(CLS_String(CLS_String("hello"), 5, kAll)), "");
    EXPECT_EQ(Str(CLS_String('x')), "x");
    EXPECT_EQ(Str(CLS_String(static_cast<unsigned char>('y'))), "y");
    EXPECT_EQ(Str(CLS_String(static_cast<signed char>('z'), 3)), "zzz");
    EXPECT_EQ(Str(CLS_String('-', 70)), std::string(70, '-'));
    EXPECT_EQ(Str(CLS_String(CLS_String("ab"), "cd")), "abcd");
    EXPECT_EQ(Str(CLS_String("ab") + "cd" + CLS_String("ef")), "abcdef");
    CLS_String a("abc");
    CLS_String copy(a);
    EXPECT_NE(copy.GetBuffer(), a.GetBuffer());
    a = a;
    EXPECT_EQ(Str(a), "abc");
    a.Append(a);
    EXPECT_EQ(Str(a), "abcabc");
    a.Assign(CLS_String("xyz"), 4);
    EXPECT_EQ(Str(a), "abcabc");
    a.Append(CLS_String("xyz"), 3);
    EXPECT_EQ(Str(a), "abcabc");
    a.Append(CLS_String("xyz"), 1, 1);
    EXPECT_EQ(Str(a), "abcabcy");
    a += "";
    EXPECT_EQ(Str(a), "abcabcy");
}

TEST_F(StringTest, EditingGuards) {
    CLS_String e;
    e.Insert(0, CLS_String("x"));
    EXPECT_EQ(Str(e), "");
    CLS_String h("hello");
    h.Insert(5, CLS_String("x"));
    EXPECT_EQ(Str(h), "hello");
    h.Insert(0, CLS_String("abc"), 1, 1);
    EXPECT_EQ(Str(h), "bhello");
    h.Insert(1, CLS_String("abc"), 3);
    EXPECT_EQ(Str(h), "bhello");
    h.Delete(6, 1);
    EXPECT_EQ(Str(h), "bhello");
    h.Delete(1, 2);
    EXPECT_EQ(Str(h), "bllo");
    CLS_String w("hello world");
    w.Replace(6, kAll, "there");
    EXPECT_EQ(Str(w), "hello there");
    w.Replace(0, 5, CLS_String("HOWDY!"), 0, 5);
    EXPECT_EQ(Str(w), "HOWDY there");
    w.Replace(11, 1, "x");
    EXPECT_EQ(Str(w), "HOWDY there");
    w.Replace(0, 1, "ab", 3);
    EXPECT_EQ(Str(w), "HOWDY there");
    w.Replace(0, 1, "ab", 2);  // start equal to the length: an empty piece, so a plain delete
    EXPECT_EQ(Str(w), "OWDY there");
}

TEST_F(StringTest, AccessAndExceptions) {
    CLS_String s("abc");
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_THROW(s.GetAt(3), CLS_StringIndexError);
    EXPECT_THROW(s.CheckIndex(3), std::out_of_range);
    EXPECT_NO_THROW(s.CheckPosition(3));
    EXPECT_THROW(s.CheckPosition(4), CLS_StringIndexError);
    try {
        s.GetAt(7);
    } catch (const CLS_StringIndexError& e) {
        EXPECT_EQ(e.GetIndex(), 7u);
    }
    EXPECT_TRUE(s.IsValidIndex(2));
    EXPECT_FALSE(s.IsValidIndex(3));
    EXPECT_TRUE(s.IsValidPosition(3));
    EXPECT_FALSE(s.IsValidPosition(kNone));

    char dst[16];
    std::memset(dst, 0x5A, sizeof dst);
    std::strcpy(dst, "xyz");
    CLS_String t("hello");
    EXPECT_EQ(t.GetText(dst), 3u);
    EXPECT_STREQ(dst, "hel");
    EXPECT_EQ(t.GetText(dst, 10), 5u);
    EXPECT_STREQ(dst, "hello");
    EXPECT_EQ(t.GetText(dst, 2, 3), 2u);
    EXPECT_STREQ(dst, "lo");
    std::memset(dst, 0x5A, sizeof dst);
    EXPECT_EQ(t.GetText(dst, 2, 5), 0u);
    EXPECT_EQ(dst[0], 0x5A);

    CLS_String mixed("MiXeD 9");
    EXPECT_STREQ(mixed.MakeLower(), "mixed 9");
    EXPECT_STREQ(mixed.MakeUpper(), "MIXED 9");
}

TEST_F(StringTest, Comparisons) {
    EXPECT_TRUE(CLS_String() == CLS_String());
    EXPECT_TRUE(CLS_String("abc") == "abc");
    EXPECT_TRUE("abc" == CLS_String("abc"));
    EXPECT_TRUE(CLS_String("abc") < CLS_String("abd"));
    EXPECT_TRUE(CLS_String("abd") > "abc");
    EXPECT_TRUE("abc" <= CLS_String("abc"));
    EXPECT_TRUE(CLS_String("b") >= "a");
    EXPECT_TRUE(CLS_String("abc") != "ABC");
    EXPECT_GT(CLS_String("abc").Compare(CLS_String("abd")), 0);  // the piece sorts after
    EXPECT_LT(CLS_String("abd").Compare(CLS_String("abc")), 0);
    EXPECT_EQ(CLS_String("bc").Compare(CLS_String("abc"), 1), 0);
    EXPECT_EQ(CLS_String("b").Compare(CLS_String("abc"), 1, 1), 0);
    EXPECT_EQ(CLS_String("").Compare(CLS_String("abc"), 4), 1);
    EXPECT_EQ(CLS_String("").Compare(CLS_String("abc"), 1, 3), 1);
    EXPECT_EQ(CLS_String::SetCaseSensitive(5), 1);
    EXPECT_EQ(CLS_String::SetCaseSensitive(0), 0);
    EXPECT_EQ(CLS_String::IsCaseSensitive(), 0);
    EXPECT_TRUE(CLS_String("abc") == "ABC");
    EXPECT_TRUE(CLS_String("abc") < "ABD");
}

TEST_F(StringTest, SearchExamples) {
    EXPECT_EQ(CLS_String("hello").Find("", 0), kNone);
    EXPECT_EQ(CLS_String("hello").Find("lo", 0), 3u);
    EXPECT_EQ(CLS_String("hello").Find("lo", 4), kNone);
    EXPECT_EQ(CLS_String("hello").Find("h", 0), 0u);
    EXPECT_EQ(CLS_String("hello").Find(CLS_String("l"), 3), 3u);
    EXPECT_EQ(CLS_String("abxabyab").ReverseFind("ab"), 6u);
    EXPECT_EQ(CLS_String("abxabyab").ReverseFind("ab", 5), 3u);
    EXPECT_EQ(CLS_String("abcaxc").ReverseFind("abc"), 0u);
    EXPECT_EQ(CLS_String("abc").ReverseFind("abc", 3), kNone);
    EXPECT_EQ(CLS_String("").ReverseFind("a"), kNone);
    EXPECT_EQ(CLS_String("abc").Contains("bc"), 1);
    EXPECT_EQ(CLS_String("abc").Contains("cb"), 0);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("cxz", 0), 1u);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("fed", 0), kNone);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("abf", 1), 0u);
    EXPECT_EQ(CLS_String("abcdef").FindFirstMissing("a", 6), kNone);
    EXPECT_EQ(CLS_String("path\\  ").ReverseFindNotOf(" \\"), 3u);
    EXPECT_EQ(CLS_String("   ").ReverseFindNotOf(" "), kNone);
    EXPECT_EQ(CLS_String("abc").ReverseFindNotOf("x", 3), kNone);
    EXPECT_EQ(CLS_String("abc").ReverseFindNotOf("c", 2), 1u);
    CLS_String::SetCaseSensitive(0);
    EXPECT_EQ(CLS_String("Hello").Find("LL"), 2u);
    EXPECT_EQ(CLS_String("a{b").Find("["), 1u);  // 0x7B folds onto 0x5B
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
    zed::heap_faults::FailAfter(0);
    CLS_String s("abc");
    zed::heap_faults::Reset();
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(s.GetCapacity(), 0u);
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(s.Find("a"), kNone);
    EXPECT_EQ(s.ReverseFind("a"), kNone);
    EXPECT_THROW(s.GetAt(0), CLS_StringIndexError);
    s.Append("xy");
    EXPECT_EQ(Str(s), "xy");
    EXPECT_EQ(s.GetCapacity(), 64u);

    CLS_String t(std::string(100, 'a').c_str());
    CLS_String same_size(std::string(90, 'b').c_str());
    zed::heap_faults::FailAfter(0);
    t.Assign(same_size);  // same capacity: no reallocation, so nothing can fail
    EXPECT_EQ(t.GetLength(), 90u);
    zed::heap_faults::Reset();
    CLS_String small("x");
    zed::heap_faults::FailAfter(0);
    t.Assign(small);
    zed::heap_faults::Reset();
    EXPECT_EQ(t.GetBuffer(), nullptr);
    EXPECT_EQ(t.GetCapacity(), 0u);
    EXPECT_EQ(t.GetLength(), 0u);
}

std::string Part(const char* path, char* (CLS_FileName::*get)(char*) const) {
    char dst[600];
    std::memset(dst, 0x5A, sizeof dst);
    CLS_FileName f(path);
    char* r = (f.*get)(dst);
    EXPECT_EQ(r, dst);
    return dst;
}

TEST_F(StringTest, FileNameParts) {
    const char* p = "C:\\dir\\file.txt";
    EXPECT_EQ(Part(p, &CLS_FileName::GetPath), "C:\\dir\\");
    EXPECT_EQ(Part(p, &CLS_FileName::GetDirectory), "\\dir\\");
    EXPECT_EQ(Part(p, &CLS_FileName::GetDrive), "C:");
    EXPECT_EQ(Part(p, &CLS_FileName::GetName), "file");
    EXPECT_EQ(Part(p, &CLS_FileName::GetExtension), "txt");
    EXPECT_EQ(Part(p, &CLS_FileName::GetDotExtension), ".txt");
    EXPECT_EQ(Part(p, &CLS_FileName::GetFileName), "file.txt");
    EXPECT_EQ(Part("C:\\my.dir\\file", &CLS_FileName::GetName), "file");
    EXPECT_EQ(Part("C:\\my.dir\\file", &CLS_FileName::GetExtension), "");
    EXPECT_EQ(Part("C:\\my.dir\\file", &CLS_FileName::GetFileName), "file.");
    EXPECT_EQ(Part("\\dir\\file", &CLS_FileName::GetDirectory), "\\dir\\");
    EXPECT_EQ(Part("\\dir\\file", &CLS_FileName::GetDrive), "");
    EXPECT_EQ(Part("file.txt", &CLS_FileName::GetPath), "");
    EXPECT_EQ(Part("file.txt", &CLS_FileName::GetName), "file");
    EXPECT_EQ(Part(".txt", &CLS_FileName::GetName), "txt");
    EXPECT_EQ(Part(".txt", &CLS_FileName::GetDotExtension), "");
    EXPECT_EQ(Part("C:name.ext", &CLS_FileName::GetName), "name");
    EXPECT_EQ(Part("C:name", &CLS_FileName::GetName), "name");
    EXPECT_EQ(Part(":x", &CLS_FileName::GetDrive), "");
    EXPECT_EQ(Part("", &CLS_FileName::GetFileName), "");
    const std::string long_name = "C:\\" + std::string(300, 'n') + "." + std::string(300, 'e');
    EXPECT_EQ(Part(long_name.c_str(), &CLS_FileName::GetFileName),
              std::string(255, 'n') + "." + std::string(255, 'e'));
    CLS_String* base = new CLS_FileName("x.y");
    delete base;  // through the base pointer: the virtual destructor releases the buffer
}

}  // namespace
