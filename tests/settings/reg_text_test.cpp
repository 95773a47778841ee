// Tests of the REGEDIT4 text files: the exact bytes written, the reader's stop rules, hostile input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/registry_fixture.h"
#include "settings/reg_text.h"
#include "zedll/reg_options.h"

namespace {

using zed::os::RegRoot;

class RegTextTest : public zedtest::RegistryFixture {
protected:
    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    // The bytes of a binary value (up to 256).
    static std::string Binary(OPT_RegOptions& o, const char* name, int scope = 1) {
        unsigned char out[256];
        return std::string(reinterpret_cast<char*>(out), o.GetBinary(name, nullptr, 0, out, sizeof out, scope));
    }
    std::string Key(const char* product, const char* version) {
        return "Software\\" + company_ + "\\" + product + "\\" + version;
    }
};

// An independent formatting of a hex list: wrap before a byte when the line would reach column
// 80, counted from the "h" of "hex:".
std::string RefHex(const std::vector<unsigned char>& bytes) {
    std::string out = "hex:";
    size_t line = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (out.size() + 3 >= 80 * line) {
            out += "\\\r\n  ";
            ++line;
        }
        char b[4];
        std::snprintf(b, sizeof b, "%02x,", bytes[i]);
        out += b;
    }
    if (!bytes.empty()) out.pop_back();
    return out + "\r\n";
}

TEST_F(RegTextTest, ValueTexts) {
    std::string t;
    const struct {
        DWORD type;
        std::string bytes;
        const char* text;  // null: not written
    } cases[] = {
        {zed::os::kRegSz, std::string("c:\\data", 8), "\"c:\\\\data\"\r\n"},
        {zed::os::kRegSz, std::string("say \"hi\"", 9), "\"say \"hi\"\"\r\n"},
        {zed::os::kRegDword, "\xFF\xFF\xFF\xFF", "dword:ffffffff\r\n"},
        {zed::os::kRegDword, std::string("\x2A\x01\0\0", 4), "dword:0000012a\r\n"},
        {zed::os::kRegBinary, "", "hex:\r\n"},
        {zed::os::kRegExpandSz, std::string("c:\\data", 8), nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zed::FormatValueText(c.type, reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                       static_cast<DWORD>(c.bytes.size()), &t), c.text != nullptr);
        if (c.text) {
            EXPECT_EQ(t, c.text);
        }
    }

    // Wrapping agrees with the reference for every length up to the cut.
    for (size_t len = 0; len <= 900; len += 7) {
        std::vector<unsigned char> b(len);
        for (size_t i = 0; i < len; ++i) b[i] = static_cast<unsigned char>(i * 9);
        zed::FormatValueText(zed::os::kRegBinary, b.data(), static_cast<DWORD>(len), &t);
        ASSERT_EQ(t, RefHex(b)) << len;
        ASSERT_LT(t.size(), zed::kValueTextBuffer);
    }
    // Past the buffer the list is cut and still ends with CR LF.
    std::vector<unsigned char> big(3000, 0x11);
    zed::FormatValueText(zed::os::kRegBinary, big.data(), 3000, &t);
    EXPECT_LT(t.size(), zed::kValueTextBuffer);
    EXPECT_GT(t.size(), zed::kValueTextBuffer - 90);
    EXPECT_EQ(t.substr(t.size() - 4), "11\r\n");
    // A long text with backslashes is clipped to the buffer and stays quoted.
    std::vector<unsigned char> slashes(2500, '\\');
    slashes.push_back(0);
    zed::FormatValueText(zed::os::kRegSz, slashes.data(), static_cast<DWORD>(slashes.size()), &t);
    EXPECT_LT(t.size(), zed::kValueTextBuffer);
    EXPECT_EQ(t.substr(t.size() - 3), "\"\r\n");
    EXPECT_EQ((t.size() - 4) % 2, 0u);  // whole pairs only
}

TEST_F(RegTextTest, ExportIsByteExact) {
    // Written in name order: Windows lists values in the order of writing, Wine by name.
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    const unsigned char two[2] = {0x0A, 0xFF};
    o.SetBinary("Bin", two, 2, 1);
    o.SetDword("Count", DWORD{0xFFFFFFFFu}, 1);
    o.SetBinary("Empty", nullptr, 0, 1);
    o.SetString("Path", "c:\\data", 1);
    {
        zed::os::ScopedRegKey key;
        ASSERT_EQ(zed::os::RegistryOpen(RegRoot::kCurrentUser, Key("Prod", "1").c_str(),
                                              zed::os::RegAccess::kAll, key.Out()), 0u);
        const char expand[] = "%TEMP%";
        zed::os::RegistrySet(key.Get(), "Expand", zed::os::kRegExpandSz, expand, sizeof expand);
    }
    OPT_RegOptions sub(company_.c_str(), "Prod", "1\\Sub");
    sub.SetString("Q", "x", 1);
    const std::string file = TempFile("export.reg");
    EXPECT_EQ(o.Export(file.c_str(), 1), 1);
    const std::string k = "HKEY_CURRENT_USER\\" + Key("Prod", "1");
    EXPECT_EQ(ReadFile(file), "REGEDIT4\r\n\r\n[" + k + "]\r\n\"Bin\"=hex:0a,ff\r\n\"Count\"=dword:ffffffff\r\n"
                              "\"Empty\"=hex:\r\n\"Path\"=\"c:\\\\data\"\r\n\r\n[" + k + "\\Sub]\r\n\"Q\"=\"x\"\r\n\r\n");

    // A missing key leaves an empty file; the result is 1 all the same.
    OPT_RegOptions none(company_.c_str(), "None", "1");
    EXPECT_EQ(none.Export(file.c_str(), 1), 1);
    EXPECT_EQ(ReadFile(file), "");
    std::remove(file.c_str());
}

TEST_F(RegTextTest, ExportImportRoundTrip) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    std::mt19937 rng(3);
    std::vector<std::string> blobs;
    for (int i = 0; i < 20; ++i) {
        blobs.emplace_back(rng() % 200, '\0');
        for (char& c : blobs.back()) c = static_cast<char>(rng());
        o.SetBinary(("B" + std::to_string(i)).c_str(), blobs.back().data(), static_cast<DWORD>(blobs.back().size()), 0);
    }
    o.SetString("Path", "c:\\data\\\"x\"", 0);
    o.SetDword("Max", DWORD{0xFFFFFFFFu}, 0);
    o.SetString("Empty", "", 0);
    OPT_RegOptions sub(company_.c_str(), "Prod", "1\\A\\B");
    sub.SetDword("deep", 9, 0);
    const std::string file = TempFile("roundtrip.reg");
    ASSERT_EQ(o.Export(file.c_str(), 0), 1);
    zedtest::DeleteTree(RegRoot::kLocalMachine, "SOFTWARE\\" + company_);
    EXPECT_EQ(o.KeyExists(0), 0);
    ASSERT_EQ(o.Import(file.c_str()), 1);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Binary(o, ("B" + std::to_string(i)).c_str(), 0), blobs[i]) << i;
    char buf[32];
    EXPECT_EQ(o.GetString("Path", "", buf, sizeof buf, 0), 12);
    EXPECT_STREQ(buf, "c:\\data\\\"x\"");
    EXPECT_EQ(o.GetDword("Max", DWORD{0}, 0), 0xFFFFFFFFu);
    EXPECT_EQ(o.GetString("Empty", "zz", buf, sizeof buf, 0), 1);
    EXPECT_EQ(sub.GetDword("deep", 0, 0), 9);
    std::remove(file.c_str());
}

TEST_F(RegTextTest, ImportStopRules) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    const std::string file = TempFile("import.reg");
    const std::string r4 = "REGEDIT4\r\n\r\n", head = "[HKEY_CURRENT_USER\\" + Key("Prod", "1") + "]\r\n";
    auto import = [&](const std::string& text) {
        WriteFile(file, text);
        return o.Import(file.c_str());
    };
    EXPECT_EQ(o.Import(TempFile("missing.reg").c_str()), 0);
    const std::pair<std::string, int> files[] = {
        {"REGEDIT5\r\n\r\n" + head, 0}, {"REGEDIT4\r\n", 0} /* shorter than the header */, {r4, 1},
        {r4 + head + "\"a\"=dword:00000001\r\n; note\r\n", 0},  // what came before the stop stays
        {r4 + head + "\"b\"=dword:00000002\r\n" + head, 0},
        {r4 + "\"c\"=dword:00000003\r\n", 0},  // outside any section
        {r4 + "[HKEY_CLASSES_ROOT\\x]\r\n", 0}, {r4 + "[HKEY_CURRENT_USER\\x\r\n", 0},
        {r4 + head + "\"d=dword:00000001\r\n", 0}, {r4 + head + "\"d\"dword:00000001\r\n", 0},
        {r4 + head + "\"d\"=dword:0001\r\n", 0}, {r4 + head + "\"d\"=\"unterminated\r\n", 0},
        {r4 + head + "\"d\"=hex:zz\r\n", 0},
    };
    for (const auto& f : files) EXPECT_EQ(import(f.first), f.second) << f.first;
    EXPECT_EQ(o.GetDword("a", 0, 1), 1);
    EXPECT_EQ(o.GetDword("b", 0, 1), 2);
    EXPECT_EQ(o.IsDword("d", 1), 0);
    // A value of a type not read is skipped, alone; LF-only lines and a last line without LF are
    // lines too.
    EXPECT_EQ(import(r4 + head + "\"x\"=hex(2):25,00,00,00\n\"e\"=\"ok\"\n@=\"dflt\""), 1);
    char buf[16];
    EXPECT_EQ(o.GetString("e", "", buf, sizeof buf, 1), 3);
    EXPECT_EQ(o.GetString("", "", buf, sizeof buf, 1), 5);
    EXPECT_EQ(o.HasValue("x", zed::os::kRegExpandSz, static_cast<DWORD>(-1), 1), 0);
    // A backslash at the end of a skipped line does not carry over: the indented line after it is a
    // value line without a quoted name, which stops the import; what came before stays.
    EXPECT_EQ(import(r4 + head + "\"w1\"=dword:00000001\r\n"
                     "\"x\"=hex(2):25,00,\\\r\n  00,00\r\n\"w2\"=dword:00000002\r\n"), 0);
    EXPECT_EQ(o.GetDword("w1", 0, 1), 1);
    EXPECT_EQ(o.IsDword("w2", 1), 0);
    EXPECT_EQ(o.IsBinary("x", 1), 0);
    // After a skipped hex(7) line ending in a backslash, a quoted line is a value of its own.
    EXPECT_EQ(import(r4 + head + "\"m\"=hex(7):61,00,\\\r\n\"q\"=\"r\"\r\n"), 1);
    EXPECT_EQ(o.GetString("q", "", buf, sizeof buf, 1), 2);
    EXPECT_EQ(o.IsBinary("m", 1), 0);
    // A continuation joins the bytes back; a non-value line inside a hex list is skipped.
    EXPECT_EQ(import(r4 + head + "\"h\"=hex:01,02,\\\r\n  03,\\\r\n#junk\r\n  04\r\n"), 1);
    EXPECT_EQ(Binary(o, "h"), "\x01\x02\x03\x04");
    // An empty line closes the key but leaves a hex list open: a line that would stop the
    // import is skipped, and the next indented line completes the value, written to the key of
    // the section opened meanwhile.
    EXPECT_EQ(import(r4 + head + "\"g\"=hex:0a,\\\r\n\r\n; note\r\n"), 1);
    EXPECT_EQ(o.IsBinary("g", 1), 0);  // never completed
    const std::string other = "[HKEY_CURRENT_USER\\" + Key("Prod", "2") + "]\r\n";
    EXPECT_EQ(import(r4 + head + "\"g\"=hex:0a,0b,\\\r\n\r\n" + other + "  0c\r\n\r\n"), 1);
    EXPECT_EQ(o.IsBinary("g", 1), 0);
    OPT_RegOptions o2(company_.c_str(), "Prod", "2");
    EXPECT_EQ(Binary(o2, "g"), "\x0a\x0b\x0c");
    // With no key open when the list ends, the value has nowhere to go: the import stops.
    EXPECT_EQ(import(r4 + head + "\"g\"=hex:0a,\\\r\n\r\n  0b\r\n"), 0);
    std::remove(file.c_str());
}

TEST_F(RegTextTest, HostileInput) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    const std::string file = TempFile("hostile.reg");
    const std::string r4 = "REGEDIT4\r\n\r\n", head = "[HKEY_CURRENT_USER\\" + Key("Prod", "1") + "]\r\n";
    auto import = [&](const std::string& text) {
        WriteFile(file, text);
        return o.Import(file.c_str());
    };
    // Names of up to 299 characters; overlong keys and type words.
    for (size_t n : {299, 300}) {
        EXPECT_EQ(import(r4 + head + "\"" + std::string(n, 'n') + "\"=dword:00000001\r\n"), n < 300 ? 1 : 0);
    }
    EXPECT_EQ(import(r4 + "[HKEY_CURRENT_USER\\" + std::string(1000, 'k') + "]\r\n"), 0);
    EXPECT_EQ(import(r4 + head + "\"t\"=" + std::string(1000, 'y') + ":\r\n"), 0);
    // A 10 MB line is read whole: one long text value.
    EXPECT_EQ(import(r4 + head + "\"long\"=\"" + std::string(10 << 20, 'L') + "\"\r\n"), 1);
    EXPECT_EQ(o.HasValue("long", zed::os::kRegSz, (10u << 20) + 1, 1), 1);
    // Binary data past the 3000-byte buffer is read whole too.
    std::string hex = "hex:";
    for (int i = 0; i < 5000; ++i) hex += (i ? ",7f" : "7f");
    EXPECT_EQ(import(r4 + head + "\"big\"=" + hex + "\r\n"), 1);
    EXPECT_EQ(o.HasValue("big", zed::os::kRegBinary, 5000, 1), 1);
    // A NUL byte ends the text of its line.
    EXPECT_EQ(import(r4 + head + std::string("\"z\"=\"ab\0cd\"\r\n", 14)), 0);
    EXPECT_EQ(import(r4 + head + std::string("\"z\"=dword:00000005\0garbage\r\n", 28)), 1);
    EXPECT_EQ(o.GetDword("z", 0, 1), 5);
    // Exporting what was imported leaves out the values past the 3000-byte data buffer.
    const std::string out_file = TempFile("hostile-out.reg");
    EXPECT_EQ(o.Export(out_file.c_str(), 1), 1);
    const std::string exported = ReadFile(out_file);
    EXPECT_EQ(exported.find("\"long\""), std::string::npos);
    EXPECT_EQ(exported.find("\"big\""), std::string::npos);
    EXPECT_NE(exported.find("\"z\"=dword:00000005"), std::string::npos);
    EXPECT_EQ(o.Import(out_file.c_str()), 1);
    std::remove(out_file.c_str());
    std::remove(file.c_str());
}

TEST_F(RegTextTest, MutatedFilesNeverCrash) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    const std::vector<unsigned char> blob(120, 0x5C);
    o.SetString("s", "va\\lue", 1), o.SetDword("d", 77, 1), o.SetBinary("b", blob.data(), 120, 1);
    OPT_RegOptions(company_.c_str(), "Prod", "1\\S").SetString("t", "x", 1);
    const std::string good_file = TempFile("good.reg");
    ASSERT_EQ(o.Export(good_file.c_str(), 1), 1);
    const std::string good = ReadFile(good_file);
    const std::string file = TempFile("mutant.reg");
    std::mt19937 rng(99);
    const std::string alphabet = "[]\"@=:\\,\r\n hexdword0f";
    int ones = 0;
    for (int round = 0; round < 300; ++round) {
        std::string m = good;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits && !m.empty(); ++e) {
            const size_t at = rng() % m.size();
            switch (rng() % 4) {
                case 0: m[at] = alphabet[rng() % alphabet.size()]; break;
                case 1: m.erase(at, 1 + rng() % 8); break;
                case 2: m.insert(at, 1, static_cast<char>(rng())); break;
                default: m.insert(at, m.substr(rng() % m.size(), 1 + rng() % 40)); break;
            }
        }
        WriteFile(file, m);
        const int r = o.Import(file.c_str());
        ASSERT_TRUE(r == 0 || r == 1);
        ones += r;
        // The registry stays readable whatever the file did.
        char buf[64];
        o.GetString("s", "", buf, sizeof buf, 1);
    }
    EXPECT_GT(ones, 0);
    EXPECT_LT(ones, 300);
    std::remove(file.c_str());
    std::remove(good_file.c_str());
}

}  // namespace
