// The PE resource reader: the example modules and damaged files, some made by mutating good ones.
// Real Windows DLLs that Wine installs are read in version_info_test.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"
#include "os/pe_resources.h"

namespace {

using zed::pe::QueryVersionValue;
using zed::pe::ResourceData;
using zed::pe::ResourceImage;
using zed::pe::ResourceName;

class PeModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(ZEDLL_TEST_LANGUAGE_MODULES)
        GTEST_SKIP() << "no MinGW tools to build the example modules";
#endif
        std::ifstream in(zedtest::ProgramDirectory() / "ZEDDEU0407.DLL", std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        ASSERT_TRUE(image_.Load(bytes_));
    }
    // The value at `path` of the version resource, "<none>" when missing.
    std::string Version(const std::string& path, std::vector<uint8_t>* binary = nullptr,
                        uint32_t* length = nullptr) {
        ResourceData data;
        if (!image_.Find(16, ResourceName::Id(1), &data)) return "<no version>";
        std::string text;
        uint32_t ignored = 0;
        if (!QueryVersionValue(data.bytes, data.size, path.c_str(), binary ? nullptr : &text, binary,
                               length ? length : &ignored)) return "<none>";
        return text;
    }
    std::vector<uint8_t> bytes_;
    ResourceImage image_;
};

TEST_F(PeModuleTest, StringTable) {
    const struct { UINT id; int room; int length; const char* text; } cases[] = {
        {1, 255, 10, "Entfernung"}, {6, 255, 6, "&Gr\xf6\xdf" "e"}, {100, 5, 4, "ABCD"},
        {13, 255, 0, ""},   // a gap in the block
        {4711, 255, 0, nullptr}, {0x10000 + 1, 255, 0, nullptr}, {1, 0, 0, nullptr}};
    for (const auto& c : cases) {
        char buffer[256];
        EXPECT_EQ(image_.ReadString(c.id, buffer, c.room), c.length) << c.id;
        if (c.text != nullptr) { EXPECT_STREQ(buffer, c.text); }
    }
    char buffer[256];
    EXPECT_EQ(image_.ReadString(100, buffer, 255), 254);
    EXPECT_EQ(image_.ReadString(1, nullptr, 10), 0);
}

TEST_F(PeModuleTest, DialogsByNameIgnoringCase) {
    ResourceData dialog;
    ASSERT_TRUE(image_.Find(5, ResourceName::Text("LANGSELBOX"), &dialog));
    ASSERT_GT(dialog.size, 20u);
    // An extended dialog template starts with version 1 and signature 0xFFFF.
    EXPECT_EQ(dialog.bytes[0], 1);
    EXPECT_EQ(dialog.bytes[2], 0xFF);
    EXPECT_FALSE(image_.Find(5, ResourceName::Text("_ZELOG"), &dialog));
    EXPECT_FALSE(image_.Find(5, ResourceName::Id(1), &dialog));
    EXPECT_FALSE(image_.Find(4, ResourceName::Text("LangSelBox"), &dialog));
}

TEST_F(PeModuleTest, VersionStrings) {
    std::vector<uint8_t> binary;
    uint32_t length = 0;
    Version("\\VarFileInfo\\Translation", &binary, &length);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(binary, (std::vector<uint8_t>{0x07, 0x04, 0xE4, 0x04}));
    EXPECT_EQ(Version("\\StringFileInfo\\040704e4\\FileVersion", nullptr, &length), "1.2.3.4");
    EXPECT_EQ(length, 8u);   // characters with the terminator
    EXPECT_EQ(Version("\\StringFileInfo\\040704E4\\companyname"), "KELVARO");
    EXPECT_EQ(Version("\\StringFileInfo\\040704e4\\NoSuchValue"), "<none>");
    EXPECT_EQ(Version("\\StringFileInfo\\04090000\\FileVersion"), "<none>");
    // The root is the fixed information, signature 0xFEEF04BD, file version 1.2.3.4.
    Version("\\", &binary);
    ASSERT_EQ(binary.size(), 52u);
    EXPECT_EQ(binary[0], 0xBD);
    EXPECT_EQ(binary[3], 0xFE);
    EXPECT_EQ(binary[10], 1);   // high word of the most significant version dword
    EXPECT_EQ(binary[8], 2);
}

TEST(PeDamaged, RefusesWhatIsNotAPeFileAndVersionBlocksThatLie) {
    ResourceImage image;
    std::vector<uint8_t> distant(0x40, 0), beyond(0x40, 0xFF);   // PE header past the end
    distant[0] = beyond[0] = 'M';
    distant[1] = beyond[1] = 'Z';
    distant[0x3C] = 0xF0;
    for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'M', 'Z'}, distant, beyond}) {
        EXPECT_FALSE(image.Load(bytes)) << bytes.size();
    }
    EXPECT_TRUE(image.empty());
    char buffer[8] = "x";
    EXPECT_EQ(image.ReadString(1, buffer, 8), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(image.LoadFile("/nonexistent/ZEDDEU0407.DLL"));

    // A node claiming more bytes than the block has, one of length zero (it would never advance)
    // and a key without a terminator inside its node.
    const std::vector<uint8_t> lies[] = {{0xFF, 0, 0, 0, 0, 0, 'V', 0, 0, 0},
                                         {0, 0, 0, 0, 0, 0, 0, 0},
                                         {0x0A, 0, 0, 0, 0x01, 0, 'A', 0, 'B', 0}};
    std::string text;
    uint32_t length = 0;
    for (const auto& block : lies) {
        EXPECT_FALSE(QueryVersionValue(block.data(), block.size(), "\\", &text, nullptr, &length));
        EXPECT_FALSE(QueryVersionValue(block.data(), block.size(), "\\StringFileInfo", &text, nullptr, &length));
    }
    EXPECT_FALSE(QueryVersionValue(nullptr, 0, "\\", &text, nullptr, &length));
}

// Mutated copies of a real module: bytes flipped, words overwritten with extreme values, the file
// cut short. The reader must answer every question without reading outside the file (the native
// leg runs this under AddressSanitizer) and without looping.
TEST_F(PeModuleTest, MutatedFilesNeverCrashOrHang) {
    std::mt19937 random(20261205);
    const auto started = std::chrono::steady_clock::now();
    const uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 0x10000};
    int parsed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = bytes_;
        for (int e = 1 + static_cast<int>(random() % 8); e > 0; --e) {
            // Most edits hit the headers and the resource tree, where the offsets live.
            const std::size_t at = (random() % 4 == 0) ? random() % 0x400 : random() % bytes.size();
            const uint32_t v = extremes[random() % std::size(extremes)];
            switch (random() % 4) {
            case 0: bytes[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
            case 1: bytes[at] = static_cast<uint8_t>(random()); break;
            case 2: if (at + 4 <= bytes.size()) std::memcpy(&bytes[at], &v, 4); break;
            default: bytes.resize(std::max<std::size_t>(1, at)); break;
            }
        }
        ResourceImage image;
        if (!image.Load(bytes)) continue;
        ++parsed;
        char buffer[256];
        for (uint32_t id = 0; id < 32; ++id) image.ReadString(id, buffer, 255);
        image.ReadString(100, buffer, 255);
        ResourceData data;
        image.Find(5, ResourceName::Text("LangSelBox"), &data);
        if (!image.Find(16, ResourceName::Id(1), &data)) continue;
        std::string text;
        std::vector<uint8_t> binary;
        uint32_t length = 0;
        for (const char* path : {"\\VarFileInfo\\Translation", "\\StringFileInfo\\040704e4\\FileVersion", "\\"})
            QueryVersionValue(data.bytes, data.size, path, &text, &binary, &length);
    }
    EXPECT_GT(parsed, 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
}

}  // namespace
