// The PE resource reader: the example modules, real Windows DLLs that Wine installs, and damaged
// files made by mutating good ones.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/pe_resources.h"
#include "test_paths.h"

namespace {

using zed::pe::QueryVersionValue;
using zed::pe::ResourceData;
using zed::pe::ResourceImage;
using zed::pe::ResourceName;

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::filesystem::path GermanModule() { return zedtest::ProgramDirectory() / "ZEDDEU0407.DLL"; }

std::string VersionString(const ResourceImage& image, const char* key, const char* name) {
    ResourceData data;
    if (!image.Find(16, ResourceName::Id(1), &data)) return "<no version>";
    std::string text;
    uint32_t length = 0;
    const std::string path = std::string("\\StringFileInfo\\") + key + "\\" + name;
    if (!QueryVersionValue(data.bytes, data.size, path.c_str(), &text, nullptr, &length)) return "<none>";
    return text;
}

class PeModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(ZEDLL_TEST_LANGUAGE_MODULES)
        GTEST_SKIP() << "no MinGW tools to build the example modules";
#endif
        bytes_ = ReadAll(GermanModule());
        ASSERT_FALSE(bytes_.empty());
        ASSERT_TRUE(image_.Load(bytes_));
    }
    std::vector<uint8_t> bytes_;
    ResourceImage image_;
};

TEST_F(PeModuleTest, StringTable) {
    char buffer[256];
    EXPECT_EQ(image_.ReadString(1, buffer, 255), 10);
    EXPECT_STREQ(buffer, "Entfernung");
    EXPECT_EQ(image_.ReadString(6, buffer, 255), 6);
    EXPECT_STREQ(buffer, "&Gr\xf6\xdf" "e");
    EXPECT_EQ(image_.ReadString(100, buffer, 255), 254);
    EXPECT_EQ(image_.ReadString(100, buffer, 5), 4);
    EXPECT_STREQ(buffer, "ABCD");
    EXPECT_EQ(image_.ReadString(13, buffer, 255), 0);  // a gap in the block
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(image_.ReadString(4711, buffer, 255), 0);
    EXPECT_EQ(image_.ReadString(0x10000 + 1, buffer, 255), 0);
    EXPECT_EQ(image_.ReadString(1, buffer, 0), 0);
    EXPECT_EQ(image_.ReadString(1, nullptr, 10), 0);
}

TEST_F(PeModuleTest, DialogsByNameIgnoringCase) {
    ResourceData dialog;
    ASSERT_TRUE(image_.Find(5, ResourceName::Text("LangSelBox"), &dialog));
    EXPECT_GT(dialog.size, 20u);
    // An extended dialog template starts with version 1 and signature 0xFFFF.
    EXPECT_EQ(dialog.bytes[0], 1);
    EXPECT_EQ(dialog.bytes[2], 0xFF);
    EXPECT_TRUE(image_.Find(5, ResourceName::Text("LANGSELBOX"), &dialog));
    EXPECT_FALSE(image_.Find(5, ResourceName::Text("_ZELOG"), &dialog));
    EXPECT_FALSE(image_.Find(5, ResourceName::Id(1), &dialog));
    EXPECT_FALSE(image_.Find(4, ResourceName::Text("LangSelBox"), &dialog));
}

TEST_F(PeModuleTest, VersionStrings) {
    ResourceData data;
    ASSERT_TRUE(image_.Find(16, ResourceName::Id(1), &data));
    std::vector<uint8_t> translation;
    uint32_t length = 0;
    ASSERT_TRUE(QueryVersionValue(data.bytes, data.size, "\\VarFileInfo\\Translation", nullptr,
                                  &translation, &length));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(translation, (std::vector<uint8_t>{0x07, 0x04, 0xE4, 0x04}));
    std::string text;
    ASSERT_TRUE(QueryVersionValue(data.bytes, data.size, "\\StringFileInfo\\040704e4\\FileVersion",
                                  &text, nullptr, &length));
    EXPECT_EQ(text, "1.2.3.4");
    EXPECT_EQ(length, 8u);  // characters with the terminator
    EXPECT_EQ(VersionString(image_, "040704E4", "companyname"), "KELVARO");
    EXPECT_EQ(VersionString(image_, "040704e4", "NoSuchValue"), "<none>");
    EXPECT_EQ(VersionString(image_, "04090000", "FileVersion"), "<none>");
    // The root is the fixed information, signature 0xFEEF04BD, file version 1.2.3.4.
    std::vector<uint8_t> fixed;
    ASSERT_TRUE(QueryVersionValue(data.bytes, data.size, "\\", nullptr, &fixed, &length));
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(fixed[0], 0xBD);
    EXPECT_EQ(fixed[3], 0xFE);
    EXPECT_EQ(fixed[10], 1);  // high word of the most significant version dword
    EXPECT_EQ(fixed[8], 2);
}

// Wine installs real PE DLLs; their version strings say who made them.
TEST(PeWineDlls, VersionStringsOfRealDlls) {
    const std::vector<std::filesystem::path> candidates = {
        "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll",
        "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/version.dll",
        "/usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll",
        "/usr/lib/x86_64-linux-gnu/wine/i386-windows/comctl32.dll",
        "C:\\windows\\system32\\kernel32.dll",
        "C:\\windows\\system32\\version.dll"};
    int checked = 0;
    for (const auto& path : candidates) {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) continue;
        ResourceImage image;
        ASSERT_TRUE(image.LoadFile(path.string())) << path;
        ResourceData data;
        ASSERT_TRUE(image.Find(16, ResourceName::Id(1), &data)) << path;
        std::vector<uint8_t> translation;
        uint32_t length = 0;
        ASSERT_TRUE(QueryVersionValue(data.bytes, data.size, "\\VarFileInfo\\Translation", nullptr,
                                      &translation, &length));
        ASSERT_GE(translation.size(), 4u);
        char key[16];
        std::snprintf(key, sizeof key, "%04x%04x", translation[0] | (translation[1] << 8),
                      translation[2] | (translation[3] << 8));
        const std::string version = VersionString(image, key, "FileVersion");
        EXPECT_FALSE(version.empty()) << path;
        EXPECT_TRUE(version[0] >= '0' && version[0] <= '9') << path << ": " << version;
        EXPECT_NE(VersionString(image, key, "LegalCopyright").find("Wine"), std::string::npos) << path;
        EXPECT_EQ(VersionString(image, key, "CompanyName"), "Microsoft Corporation") << path;
        // Wine's DLLs carry a version resource per language; the English one is chosen.
        EXPECT_EQ(VersionString(image, key, "ProductName"), "Wine") << path;
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "no Wine DLLs on this machine";
}

TEST(PeDamaged, RefusesWhatIsNotAPeFile) {
    ResourceImage image;
    EXPECT_FALSE(image.Load({}));
    EXPECT_FALSE(image.Load({'M', 'Z'}));
    std::vector<uint8_t> header(0x40, 0);
    header[0] = 'M';
    header[1] = 'Z';
    header[0x3C] = 0xF0;  // PE header beyond the end
    EXPECT_FALSE(image.Load(header));
    header[0x3C] = 0xFF;
    header[0x3D] = 0xFF;
    header[0x3E] = 0xFF;
    header[0x3F] = 0xFF;
    EXPECT_FALSE(image.Load(header));
    EXPECT_TRUE(image.empty());
    char buffer[8] = "x";
    EXPECT_EQ(image.ReadString(1, buffer, 8), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(image.LoadFile("/nonexistent/ZEDDEU0407.DLL"));
}

TEST(PeDamaged, VersionBlocksThatLie) {
    std::string text;
    uint32_t length = 0;
    // A node claiming more bytes than the block has.
    const uint8_t too_long[] = {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 'V', 0, 0, 0};
    EXPECT_FALSE(QueryVersionValue(too_long, sizeof too_long, "\\StringFileInfo", &text, nullptr, &length));
    // A node of length zero would never advance.
    const uint8_t zero[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0};
    EXPECT_FALSE(QueryVersionValue(zero, sizeof zero, "\\", &text, nullptr, &length));
    // A key without a terminator inside its node.
    const uint8_t open_key[] = {0x0A, 0x00, 0x00, 0x00, 0x01, 0x00, 'A', 0, 'B', 0};
    EXPECT_FALSE(QueryVersionValue(open_key, sizeof open_key, "\\", &text, nullptr, &length));
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
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            // Most edits hit the headers and the resource tree, where the offsets live.
            const std::size_t at = (random() % 4 == 0) ? random() % 0x400 : random() % bytes.size();
            switch (random() % 4) {
            case 0: bytes[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
            case 1: bytes[at] = static_cast<uint8_t>(random()); break;
            case 2:
                if (at + 4 <= bytes.size()) {
                    const uint32_t v = extremes[random() % std::size(extremes)];
                    std::memcpy(&bytes[at], &v, 4);
                }
                break;
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
        if (image.Find(16, ResourceName::Id(1), &data)) {
            std::string text;
            std::vector<uint8_t> binary;
            uint32_t length = 0;
            QueryVersionValue(data.bytes, data.size, "\\VarFileInfo\\Translation", &text, &binary, &length);
            QueryVersionValue(data.bytes, data.size, "\\StringFileInfo\\040704e4\\FileVersion", &text,
                              &binary, &length);
            QueryVersionValue(data.bytes, data.size, "\\", &text, &binary, &length);
        }
    }
    EXPECT_GT(parsed, 1000);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
}

}  // namespace
