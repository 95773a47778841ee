// Tests of OPT_RegOptions on the platform registry: typed values, defaults, keys, tree copies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/support/registry_fixture.h"
#include "zedll/reg_options.h"

namespace {

using zed::os::RegRoot;

class RegOptionsTest : public zedtest::RegistryFixture {};

TEST_F(RegOptionsTest, TypedValuesRoundTrip) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1.0");
    EXPECT_EQ(o.KeyExists(1), 0);
    ASSERT_EQ(o.SetString("Text", "c:\\data", 1), 1);
    EXPECT_EQ(o.KeyExists(1), 1);
    const unsigned char blob[5] = {0, 1, 2, 0xFE, 0xFF};
    for (int r : {o.SetChar("Ch", 'Q', 1), o.SetDword("Num", DWORD{0xFFFFFFFFu}, 1), o.SetDword("Int", -5, 1),
                  o.SetBool("Flag", 1, 1), o.SetBool("Flag2", 7, 1), o.SetDouble("D", 3.25, 1),
                  o.SetDouble("LD", static_cast<long double>(-0.1), 1), o.SetColor("Col", DWORD{0x030201}, 1),
                  o.SetBinary("Blob", blob, 5, 1)}) {
        EXPECT_EQ(r, 1);
    }

    char buf[64];
    EXPECT_EQ(o.GetString("Text", "def", buf, sizeof buf, 1), 8);
    EXPECT_STREQ(buf, "c:\\data");
    EXPECT_EQ(o.GetChar("Ch", 'x', 1), 'Q');
    EXPECT_EQ(o.GetDword("Num", DWORD{7}, 1), 0xFFFFFFFFu);
    EXPECT_EQ(o.GetDword("Int", 0, 1), -5);
    EXPECT_EQ(o.GetBool("Flag", 0, 1) * 10 + o.GetBool("Flag2", 1, 1), 10);  // only 1 is true
    EXPECT_EQ(o.GetDouble("D", 0.0, 1), 3.25);
    EXPECT_EQ(o.GetDouble("LD", static_cast<long double>(0), 1), static_cast<long double>(-0.1));
    EXPECT_EQ(o.GetColor("Col", DWORD{0}, 1), 0x030201u);
    EXPECT_STREQ((o.GetString("Col", "", buf, sizeof buf, 1), buf), "1 2 3");
    unsigned char out[16];
    std::memset(out, 0xAA, sizeof out);
    EXPECT_EQ(o.GetBinary("Blob", nullptr, 0, out, sizeof out, 1), 5u);
    EXPECT_EQ(std::memcmp(out, blob, 5), 0);
    EXPECT_EQ(out[5], 0xAA);

    // Value names ignore case; the other scopes are other keys.
    EXPECT_EQ(o.GetDword("NUM", DWORD{7}, 1), 0xFFFFFFFFu);
    EXPECT_EQ(o.GetDword("Num", DWORD{7}, 0), 7u);
}

TEST_F(RegOptionsTest, DefaultsAndTypeChecks) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1.0");
    char buf[10];
    std::memset(buf, 0x5A, sizeof buf);
    EXPECT_EQ(o.GetString("Missing", "abc", buf, 3, 1), 2);
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(buf[3], 0x5A);
    o.SetString("S", "abc", 1);
    EXPECT_EQ(o.GetString("S", "zz", buf, 10, 1), 4);
    EXPECT_EQ(o.GetString("S", "zz", buf, 3, 1), 2);  // too large for the buffer: the default
    EXPECT_STREQ(buf, "zz");
    EXPECT_EQ(o.GetDword("S", DWORD{42}, 1), 42u);  // stored as text
    EXPECT_EQ(o.GetChar("S", 'd', 1), 'd');         // more than one character
    o.SetString("E", "", 1);
    EXPECT_EQ(o.GetChar("E", 'd', 1), 0);
    o.SetChar("C", 'c', 1);

    o.SetDouble("Eight", 1.5, 1);
    EXPECT_EQ(o.GetBool("Eight", 5, 1), 5);  // another binary length: default unchanged
    const unsigned char two = 2;
    o.SetBinary("Two", &two, 1, 1);
    EXPECT_EQ(o.GetBool("Two", 1, 1), 0);
    EXPECT_EQ(o.GetBool("Missing", 5, 1), 0);
    EXPECT_EQ(o.GetBool("Missing", 1, 1), 1);
    EXPECT_EQ(o.GetDouble("Two", 2.5, 1), 2.5);
    const std::pair<int, int> is[] = {{o.IsDouble("Eight", 1), 1}, {o.IsLongDouble("Eight", 1), 1},
                                      {o.IsBool("Two", 1), 1},      {o.IsBinary("Two", 1), 1},
                                      {o.IsString("Two", 1), 0},    {o.IsString("S", 1), 1},
                                      {o.IsChar("S", 1), 0},        {o.IsChar("C", 1), 1}};
    for (const auto& p : is) EXPECT_EQ(p.first, p.second) << &p - is;
    EXPECT_EQ(o.HasValue("S", zed::os::kRegSz, 4, 1), 1);
    EXPECT_EQ(o.HasValue("S", zed::os::kRegSz, 3, 1), 0);
    EXPECT_EQ(o.HasValue("Missing", zed::os::kRegSz, static_cast<DWORD>(-1), 1), 0);

    // Color texts: numbers missing from the text are 9, 55 and 33, numbers are taken modulo 256, and a
    // text of 99 stored bytes ("1 2 3" padded with spaces) is read while one of 100 is not.
    const std::pair<std::string, DWORD> colors[] = {
        {"10 20", 10u | (20u << 8) | (33u << 16)}, {"x", 9u | (55u << 8) | (33u << 16)},
        {"300 256 511", 44u | (0u << 8) | (255u << 16)}, {"1 2 3" + std::string(93, ' '), 0x030201u},
        {"1 2 3" + std::string(94, ' '), 0x0A0B0Cu}, {"1 2 3", 0x030201u}};
    for (const auto& c : colors) {
        ASSERT_EQ(o.SetString("Col", c.first.c_str(), 1), 1);
        EXPECT_EQ(o.GetColor("Col", DWORD{0x0A0B0C}, 1), c.second) << c.first.size();
    }
    EXPECT_EQ(o.GetColor("Missing", DWORD{0x0A0B0C}, 1), 0x0A0B0Cu);

    unsigned char out[4];
    std::memset(out, 0x77, sizeof out);
    const unsigned char def[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(o.GetBinary("Missing", def, 6, out, 4, 1), 4u);
    EXPECT_EQ(out[3], 4);
    EXPECT_EQ(o.GetBinary("S", def, 2, out, 4, 1), 2u);  // wrong type
    unsigned char big[20] = {};
    o.SetBinary("Big", big, 20, 1);
    EXPECT_EQ(o.GetBinary("Big", def, 1, out, 4, 1), 1u);  // too large for the buffer
}

TEST_F(RegOptionsTest, UnusableObjectFailsEverything) {
    OPT_RegOptions o(company_.c_str(), nullptr, "1.0");
    for (int r : {o.SetString("A", "x", 1), o.SetDword("A", 1, 1), o.KeyExists(1), o.IsString("A", 1),
                  o.CopyTo("X", "Y", 1, 1)}) {
        EXPECT_EQ(r, 0);
    }
    EXPECT_EQ(o.GetDword("A", DWORD{9}, 1), 9u);
    char buf[8];
    EXPECT_EQ(o.GetString("A", "dflt", buf, sizeof buf, 1), 4);
    EXPECT_STREQ(buf, "dflt");
    EXPECT_EQ(o.SetNames(company_.c_str(), "P", "V"), 1);
    EXPECT_EQ(o.SetDword("A", 1, 1), 1);
    OPT_RegOptions copy(o);
    EXPECT_EQ(copy.GetDword("A", 0, 1), 1);
    OPT_RegOptions other("x", "y"), &self = other;
    other = o;
    other = self;
    EXPECT_EQ(other.GetDword("A", 0, 1), 1);
}

TEST_F(RegOptionsTest, ScopesAndKeyManagement) {
    OPT_RegOptions o(company_.c_str(), "Prod", "2");
    EXPECT_EQ(o.SetDword("M", 5, 0), 1);
    EXPECT_EQ(o.GetDword("M", 0, 2), 5);  // SOFTWARE and Software are one key
    EXPECT_EQ(o.GetDword("M", 0, 1), 0);
    EXPECT_EQ(o.DeleteValue("M", 0), 1);
    EXPECT_EQ(o.DeleteValue("M", 0), 0);
    EXPECT_EQ(o.GetDword("M", 3, 0), 3);
    EXPECT_EQ(o.KeyExists(0), 1);
    OPT_RegOptions child(company_.c_str(), "Prod", "2\\Sub");
    child.SetDword("x", 1, 1);
    o.SetDword("y", 1, 1);
    EXPECT_EQ(o.DeleteKey(company_.c_str(), "Prod", "2", 1), 0);  // it has a subkey
    EXPECT_EQ(o.DeleteKey(company_.c_str(), "Prod", "2\\Sub", 1), 1);
    EXPECT_EQ(o.DeleteKey(company_.c_str(), "Prod", "2", 1), 1);
    EXPECT_EQ(o.KeyExists(1), 0);
    EXPECT_EQ(o.DeleteKey(company_.c_str(), "Prod", "2", 1), 0);
}

TEST_F(RegOptionsTest, CopyTree) {
    auto at = [&](const char* product, const char* version) { return OPT_RegOptions(company_.c_str(), product, version); };
    const char* co = company_.c_str();
    OPT_RegOptions src = at("Src", "1");
    EXPECT_EQ(src.CopyTo(co, "Dst", "1", 1, 1), 1);  // missing source: nothing
    EXPECT_EQ(at("Dst", "1").KeyExists(1), 0);

    src.SetString("a", "text", 1), src.SetDword("b", 17, 1);
    at("Src", "1\\Level\\Deeper").SetDouble("c", 2.5, 1);
    EXPECT_EQ(src.CopyTo(co, "Dst", "1", 0, 1), 1);
    char buf[16];
    EXPECT_EQ(at("Dst", "1").GetString("a", "", buf, sizeof buf, 0), 5);
    EXPECT_EQ(at("Dst", "1").GetDword("b", 0, 0), 17);
    EXPECT_EQ(at("Dst", "1\\Level\\Deeper").GetDouble("c", 0.0, 0), 2.5);

    // A value past the 3000-byte buffer is skipped and reported.
    std::string huge(3001, 'h');
    src.SetBinary("huge", huge.data(), 3001, 1), src.SetBinary("fits", huge.data(), 3000, 1);
    EXPECT_EQ(src.CopyTo(co, "Dst2", "", 1, 1), 0);
    EXPECT_EQ(at("Dst2", "1").KeyExists(1), 0);  // trailing empty names are left off: Dst2 got the values
    EXPECT_EQ(at("Dst2", "").IsBinary("fits", 1), 1);
    EXPECT_EQ(at("Dst2", "").IsBinary("huge", 1), 0);
    EXPECT_EQ(at("Dst2", "").GetDword("b", 0, 1), 17);

    // Into its own subtree: refused, nothing copied.
    EXPECT_EQ(src.CopyTree(co, "Src", "1\\Level", co, "Src", "1", 1, 1), 0);
    EXPECT_EQ(at("Src", "1\\Level").IsString("a", 1), 0);
    // A source that does not open gives 1 before the destination is looked at, also when the
    // destination would lie inside it.
    EXPECT_EQ(src.CopyTree(co, "Nope", "sub", co, "Nope", "", 1, 1), 1);
    EXPECT_EQ(src.CopyTree(co, "Nope", "1\\x", co, "Nope", "1", 1, 1), 1);
    EXPECT_EQ(at("Nope", "").KeyExists(1), 0);
    // The same tree in another root is not inside it.
    src.DeleteValue("huge", 1);
    EXPECT_EQ(src.CopyTree(co, "Src", "1\\Level", co, "Src", "1", 0, 1), 1);
    EXPECT_EQ(at("Src", "1\\Level").GetDword("b", 0, 0), 17);
    // A key name of 400 characters cannot be created: no values anywhere, the result 0, and the
    // source as it was.
    const std::string bad(400, 'k');
    EXPECT_EQ(src.CopyTo(co, bad.c_str(), "1", 1, 1), 0);
    EXPECT_EQ(at(bad.c_str(), "1").KeyExists(1), 0);
    EXPECT_EQ(at(bad.c_str(), "1\\Level").KeyExists(1), 0);
    EXPECT_EQ(src.GetDword("b", 0, 1), 17);
    EXPECT_EQ(at("Src", "1\\Level\\Deeper").GetDouble("c", 0.0, 1), 2.5);
}

TEST_F(RegOptionsTest, DoubleDefaultsComeBackUnchanged) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1.0");
    // A long double default that a double cannot hold exactly comes back as given (where long
    // double is wider than double).
    const long double tenth = 0.1L;
    EXPECT_EQ(o.GetDouble("Missing", tenth, 1), tenth);
    const long double huge = std::numeric_limits<long double>::max();
    EXPECT_EQ(o.GetDouble("Missing", huge, 1), huge);
    // Another type, another length, too large for the 8-byte buffer.
    const unsigned char nine[9] = {1, 2, 3, 4, 5, 6, 7};
    o.SetDword("Num", 5, 1), o.SetBinary("Seven", nine, 7, 1), o.SetBinary("Nine", nine, 9, 1);
    for (const char* name : {"Num", "Seven", "Nine"}) {
        EXPECT_EQ(o.GetDouble(name, tenth, 1), tenth) << name;
        EXPECT_EQ(o.GetDouble(name, -3.5, 1), -3.5) << name;
    }
    // A NaN default keeps its bits.
    const double nan_def = std::numeric_limits<double>::quiet_NaN();
    const double got = o.GetDouble("Missing", nan_def, 1);
    EXPECT_EQ(std::memcmp(&got, &nan_def, sizeof got), 0);
    // A stored value is read as 8 bytes; the long double overload widens it.
    o.SetDouble("Tenth", tenth, 1);
    EXPECT_EQ(o.GetDouble("Tenth", 0.0L, 1), static_cast<long double>(0.1));
    EXPECT_EQ(o.GetDouble("Tenth", 0.0, 1), 0.1);
    // An unusable object gives the default as given as well.
    OPT_RegOptions unusable(company_.c_str(), nullptr, "1.0");
    EXPECT_EQ(unusable.GetDouble("Tenth", tenth, 1), tenth);
}

}  // namespace
