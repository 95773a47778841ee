// Version strings of files and modules, command-line splitting and the file-existence test.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "os/pe_resources.h"
#include "os/command_line.h"
#include "platform/version_info.h"
#include "tests/support/test_paths.h"
#include "zedll.h"

namespace {

bool HaveModules() {
#if defined(ZEDLL_TEST_LANGUAGE_MODULES)
    return true;
#else
    return false;
#endif
}

// The split words, or nothing (with *ok false) when the line is refused.
std::vector<std::string> Split(std::string line, bool* ok = nullptr) {
    char* table[zed::kArgumentTableSize];
    int argc = -1;
    const bool split = zed::SplitCommandLine(&line[0], table, &argc);
    if (ok != nullptr) *ok = split;
    EXPECT_TRUE(split || argc == 0);
    std::vector<std::string> result(table, table + (split ? argc : 0));
    EXPECT_TRUE(!split || table[argc] == nullptr);
    return result;
}

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAsTheRulesSay) {
    std::string many = "prog";   // at most 128 entries
    for (int i = 0; i < 200; ++i) many += " a" + std::to_string(i);
    Args first128 = {"prog"};
    for (int i = 0; i < 127; ++i) first128.push_back("a" + std::to_string(i));
    const std::pair<std::string, Args> cases[] = {
        {"prog a  \"b c\" d", {"prog", "a", "b c", "d"}},
        {"\"C:\\My Tools\\prog.exe\" -x", {"C:\\My Tools\\prog.exe", "-x"}},
        {"\t prog", {"", "prog"}},   // a blank first: the program name is empty
        {"prog\targ\t\t", {"prog", "arg"}},
        {"prog \"open to the end", {"prog", "open to the end"}},
        {"prog a\"b c", {"prog", "a\"b", "c"}},   // no escapes inside words
        {"prog \"x\"y", {"prog", "x", "y"}},      // text after a closing quote
        {"prog \"\" z", {"prog", "", "z"}},
        {"", {""}},
        {many, first128},
    };
    for (const auto& [line, expected] : cases) EXPECT_EQ(Split(line), expected) << line;
    bool ok = true;
    EXPECT_TRUE(Split("\"unclosed program name", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(CommandLine, JoinedArgumentsSplitBack) {
    std::mt19937 random(7);
    const std::string alphabet = "abcXYZ019-_/\\.:=";
    for (int round = 0; round < 500; ++round) {
        Args args(1 + random() % 40);
        for (std::string& word : args) {
            for (int k = static_cast<int>(random() % 8); k > 0; --k)
                word += (random() % 5 == 0) ? ' ' : alphabet[random() % alphabet.size()];
        }
        if (args[0].empty()) args[0] = "p";
        ASSERT_EQ(Split(zed::os::JoinCommandLine(args)), args) << zed::os::JoinCommandLine(args);
    }
}

TEST(CommandLine, ProcessCommandLine) {
    int argc = -1, again = -1;
    char** argv = ConvertCommandLineToArgcArgv(&argc);
    ASSERT_NE(argv, nullptr);
    ASSERT_GE(argc, 1);
    const std::string first = argv[0];
    EXPECT_NE(first.find("zedll_tests"), std::string::npos) << first;
    EXPECT_EQ(argv[argc], nullptr);
    EXPECT_EQ(ConvertCommandLineToArgcArgv(&again), argv);   // a second call fills the same table
    EXPECT_EQ(again, argc);
    EXPECT_EQ(std::string(argv[0]), first);
}

TEST(VersionInfo, FileAndModuleVersionStrings) {
    if (!HaveModules()) GTEST_SKIP() << "no example modules";
    std::string file = (zedtest::ProgramDirectory() / "ZEDDEU0407.DLL").string();
    std::string missing = (zedtest::ProgramDirectory() / "no-such-file.dll").string();
    char version[] = "FileVersion", company[] = "CompanyName", none[] = "NoSuchValue", product[] = "ProductName";
    const struct { char* file; char* value; int room; bool found; const char* text; } files[] = {
        {&file[0], version, 64, true, "1.2.3.4"}, {&file[0], company, 64, true, "KELVARO"},
        {&file[0], version, 4, true, "1.2"},   // too small: cut to the buffer, still a success
        {&file[0], none, 64, false, ""}, {&missing[0], version, 64, false, ""}, {nullptr, version, 64, false, ""}};
    for (const auto& f : files) {
        char buffer[65];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetVersionFile(f.file, f.value, buffer, f.room) != 0, f.found) << f.value << " " << f.room;
        EXPECT_STREQ(buffer, f.text);
        EXPECT_EQ(buffer[f.room], 'x');   // nothing written past the buffer
    }

    char module[] = "ZEDDEU0407.DLL", buffer[64];
    EXPECT_EQ(GetVersionModule(module, version, buffer, sizeof buffer), 0);   // not loaded yet
    ZEDLLSetLanguage(0x0407);
    EXPECT_NE(GetVersionModule(module, version, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "1.2.3.4");
    EXPECT_NE(GetVersionModule(module, product, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "ZEDLL");
    EXPECT_EQ(GetVersionModule(module, version, buffer, 8), 0);   // does not fit: 0 and empty
    EXPECT_STREQ(buffer, "");
    EXPECT_NE(GetVersionModule(module, version, buffer, 9), 0);
    EXPECT_EQ(GetVersionModule(nullptr, version, buffer, sizeof buffer), 0);
    ZEDLLSetLanguage(1033);
    EXPECT_EQ(GetVersionModule(module, version, buffer, sizeof buffer), 0);
}

// Wine installs real PE DLLs: their version strings say who made them, and the platform's version
// services (on Windows) and our reader must agree on them.
TEST(VersionInfo, RealDllsAgreeWithTheReaderAndNameWine) {
    char path[200];
    zed::FormatVersionValuePath(path, sizeof path, 0x0409, 0x04B0, "FileVersion");
    EXPECT_STREQ(path, "\\StringFileInfo\\040904b0\\FileVersion");
    const char* candidates[] = {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll",
                                "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/version.dll",
                                "/usr/lib/x86_64-linux-gnu/wine/i386-windows/user32.dll",
                                "/usr/lib/x86_64-linux-gnu/wine/i386-windows/comctl32.dll",
                                "C:\\windows\\system32\\kernel32.dll", "C:\\windows\\system32\\version.dll"};
    int checked = 0;
    for (const char* candidate : candidates) {
        std::string file = candidate;
        if (!IsFileExist(&file[0])) continue;
        zed::pe::ResourceImage image;
        ASSERT_TRUE(image.LoadFile(file)) << file;
        zed::pe::ResourceData data;
        ASSERT_TRUE(image.Find(16, zed::pe::ResourceName::Id(1), &data)) << file;
        std::vector<uint8_t> translation;
        uint32_t length = 0;
        ASSERT_TRUE(zed::pe::QueryVersionValue(data.bytes, data.size, "\\VarFileInfo\\Translation", nullptr,
                                               &translation, &length));
        ASSERT_GE(translation.size(), 4u);
        std::map<std::string, std::string> values;
        for (const char* name : {"FileVersion", "CompanyName", "FileDescription", "ProductName",
                                 "OriginalFilename", "LegalCopyright"}) {
            zed::FormatVersionValuePath(path, sizeof path, static_cast<WORD>(translation[0] | (translation[1] << 8)),
                                        static_cast<WORD>(translation[2] | (translation[3] << 8)), name);
            std::string expected;
            const bool found = zed::pe::QueryVersionValue(data.bytes, data.size, path, &expected, nullptr, &length);
            char buffer[512];
            const int result = GetVersionFile(&file[0], const_cast<char*>(name), buffer, sizeof buffer);
            EXPECT_EQ(result != 0, found && !expected.empty()) << file << " " << name;
            EXPECT_EQ(std::string(buffer), found ? expected : std::string()) << file << " " << name;
            values[name] = buffer;
        }
        EXPECT_TRUE(values["FileVersion"][0] >= '0' && values["FileVersion"][0] <= '9') << file;
        EXPECT_NE(values["LegalCopyright"].find("Wine"), std::string::npos) << file;
        EXPECT_EQ(values["CompanyName"], "Microsoft Corporation") << file;
        // Wine's DLLs carry a version resource per language; the English one is chosen.
        EXPECT_EQ(values["ProductName"], "Wine") << file;
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "no Wine DLLs here";
}

TEST(FileExist, FilesDirectoriesAndErrors) {
    const std::string directory = zedtest::ProgramDirectory().string();
    const std::string program = zed::os::HostProgramPath();
    const std::pair<std::string, int> cases[] = {
        {directory, 1}, {program, 1}, {directory + "/no-such-file.txt", 0},
        {directory + "/no-such-dir/file.txt", 0}, {program + "/x", 0}, {"", 0}};
    for (auto [name, exists] : cases) EXPECT_EQ(IsFileExist(&name[0]), exists) << name;
    EXPECT_EQ(IsFileExist(nullptr), 0);
}

}  // namespace
