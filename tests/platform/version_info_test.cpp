// Version strings of files and modules, command-line splitting and the file-existence test.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/pe_resources.h"
#include "platform/version_info.h"
#include "test_paths.h"
#include "zedll.h"

namespace {

std::string GermanModulePath() { return (zedtest::ProgramDirectory() / "ZEDDEU0407.DLL").string(); }

bool HaveModules() {
#if defined(ZEDLL_TEST_LANGUAGE_MODULES)
    return true;
#else
    return false;
#endif
}

std::vector<std::string> Split(std::string line, bool* ok = nullptr) {
    std::vector<char> copy(line.begin(), line.end());
    copy.push_back(0);
    char* table[zed::kArgumentTableSize];
    int argc = -1;
    const bool split = zed::SplitCommandLine(copy.data(), table, &argc);
    if (ok != nullptr) *ok = split;
    std::vector<std::string> result;
    if (!split) {
        EXPECT_EQ(argc, 0);
        return result;
    }
    for (int i = 0; i < argc; ++i) {
        EXPECT_NE(table[i], nullptr);
        result.push_back(table[i]);
    }
    EXPECT_EQ(table[argc], nullptr);
    return result;
}

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsAsTheRulesSay) {
    EXPECT_EQ(Split("prog"), Args{"prog"});
    EXPECT_EQ(Split("prog a  \"b c\" d"), (Args{"prog", "a", "b c", "d"}));
    EXPECT_EQ(Split("\"C:\\My Tools\\prog.exe\" -x"), (Args{"C:\\My Tools\\prog.exe", "-x"}));
    EXPECT_EQ(Split("\t prog"), (Args{"", "prog"}));  // a blank first: the program name is empty
    EXPECT_EQ(Split("prog\targ\t\t"), (Args{"prog", "arg"}));
    EXPECT_EQ(Split("prog \"open to the end"), (Args{"prog", "open to the end"}));
    EXPECT_EQ(Split("prog a\"b c"), (Args{"prog", "a\"b", "c"}));   // no escapes inside words
    EXPECT_EQ(Split("prog \"x\"y"), (Args{"prog", "x", "y"}));       // text after a closing quote
    EXPECT_EQ(Split("prog \"\" z"), (Args{"prog", "", "z"}));
    EXPECT_EQ(Split(""), Args{""});
    bool ok = true;
    EXPECT_TRUE(Split("\"unclosed program name", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST(CommandLine, AtMost128Entries) {
    std::string line = "prog";
    for (int i = 0; i < 200; ++i) line += " a" + std::to_string(i);
    const Args args = Split(line);
    ASSERT_EQ(args.size(), 128u);
    EXPECT_EQ(args[127], "a126");
}

TEST(CommandLine, JoinedArgumentsSplitBack) {
    std::mt19937 random(7);
    const std::string alphabet = "abcXYZ019-_/\\.:=";
    for (int round = 0; round < 500; ++round) {
        Args args;
        const int count = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            std::string word;
            const int length = static_cast<int>(random() % 8);
            for (int k = 0; k < length; ++k) {
                word += (random() % 5 == 0) ? ' ' : alphabet[random() % alphabet.size()];
            }
            if (i == 0 && word.empty()) word = "p";
            args.push_back(word);
        }
        ASSERT_EQ(Split(zed::JoinCommandLine(args)), args) << zed::JoinCommandLine(args);
    }
}

TEST(CommandLine, ProcessCommandLine) {
    int argc = -1;
    char** argv = ConvertCommandLineToArgcArgv(&argc);
    ASSERT_NE(argv, nullptr);
    ASSERT_GE(argc, 1);
    EXPECT_NE(std::string(argv[0]).find("zedll_tests"), std::string::npos) << argv[0];
    EXPECT_EQ(argv[argc], nullptr);
    const std::string first = argv[0];
    // A second call fills the same table again.
    int again = -1;
    EXPECT_EQ(ConvertCommandLineToArgcArgv(&again), argv);
    EXPECT_EQ(again, argc);
    EXPECT_EQ(std::string(argv[0]), first);
}

TEST(VersionInfo, ValuePath) {
    char path[100];
    zed::FormatVersionValuePath(path, sizeof path, 0x0409, 0x04B0, "FileVersion");
    EXPECT_STREQ(path, "\\StringFileInfo\\040904b0\\FileVersion");
    zed::FormatVersionValuePath(path, sizeof path, 0, 0, "X");
    EXPECT_STREQ(path, "\\StringFileInfo\\00000000\\X");
}

TEST(VersionInfo, FileVersionStrings) {
    if (!HaveModules()) GTEST_SKIP() << "no example modules";
    std::string file = GermanModulePath();
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_NE(GetVersionFile(&file[0], const_cast<char*>("FileVersion"), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "1.2.3.4");
    EXPECT_NE(GetVersionFile(&file[0], const_cast<char*>("CompanyName"), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "KELVARO");
    // Too small: cut to the buffer, still a success; the byte past it untouched.
    char small[5];
    std::memset(small, 'x', sizeof small);
    EXPECT_NE(GetVersionFile(&file[0], const_cast<char*>("FileVersion"), small, 4), 0);
    EXPECT_STREQ(small, "1.2");
    EXPECT_EQ(small[4], 'x');
    EXPECT_EQ(GetVersionFile(&file[0], const_cast<char*>("NoSuchValue"), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    std::string missing = (zedtest::ProgramDirectory() / "no-such-file.dll").string();
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetVersionFile(&missing[0], const_cast<char*>("FileVersion"), buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetVersionFile(nullptr, const_cast<char*>("FileVersion"), buffer, sizeof buffer), 0);
}

TEST(VersionInfo, ModuleVersionStrings) {
    if (!HaveModules()) GTEST_SKIP() << "no example modules";
    char buffer[64];
    char name[] = "ZEDDEU0407.DLL";
    char value[] = "FileVersion";
    EXPECT_EQ(GetVersionModule(name, value, buffer, sizeof buffer), 0);  // not loaded yet
    ZEDLLSetLanguage(0x0407);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_NE(GetVersionModule(name, value, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "1.2.3.4");
    char product[] = "ProductName";
    EXPECT_NE(GetVersionModule(name, product, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "ZEDLL");
    // Does not fit: 0 and an empty buffer (unlike GetVersionFile).
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetVersionModule(name, value, buffer, 8), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_NE(GetVersionModule(name, value, buffer, 9), 0);
    EXPECT_EQ(GetVersionModule(nullptr, value, buffer, sizeof buffer), 0);
    ZEDLLSetLanguage(1033);
    EXPECT_EQ(GetVersionModule(name, value, buffer, sizeof buffer), 0);
}

// The platform's version services (Windows) and our reader must agree on real DLLs.
TEST(VersionInfo, AgreesWithTheReaderOnRealDlls) {
    const char* candidates[] = {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll",
                                "/usr/lib/x86_64-linux-gnu/wine/i386-windows/user32.dll",
                                "C:\\windows\\system32\\kernel32.dll", "C:\\windows\\system32\\comctl32.dll",
                                "C:\\windows\\system32\\version.dll"};
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
        for (const char* name : {"FileVersion", "CompanyName", "FileDescription", "ProductName",
                                 "OriginalFilename"}) {
            char path[200];
            zed::FormatVersionValuePath(path, sizeof path, static_cast<WORD>(translation[0] | (translation[1] << 8)),
                                        static_cast<WORD>(translation[2] | (translation[3] << 8)), name);
            std::string expected;
            const bool found = zed::pe::QueryVersionValue(data.bytes, data.size, path, &expected, nullptr, &length);
            char buffer[512];
            const int result = GetVersionFile(&file[0], const_cast<char*>(name), buffer, sizeof buffer);
            EXPECT_EQ(result != 0, found && !expected.empty()) << file << " " << name;
            EXPECT_EQ(std::string(buffer), found ? expected : std::string()) << file << " " << name;
        }
        ++checked;
    }
    if (checked == 0) GTEST_SKIP() << "no Windows DLLs here";
}

TEST(FileExist, FilesDirectoriesAndErrors) {
    std::string directory = zedtest::ProgramDirectory().string();
    EXPECT_EQ(IsFileExist(&directory[0]), 1);
    std::string program = zed::platform::HostProgramPath();
    EXPECT_EQ(IsFileExist(&program[0]), 1);
    std::string missing = directory + "/no-such-file.txt";
    EXPECT_EQ(IsFileExist(&missing[0]), 0);
    std::string missing_directory = directory + "/no-such-dir/file.txt";
    EXPECT_EQ(IsFileExist(&missing_directory[0]), 0);
    std::string under_a_file = program + "/x";
    EXPECT_EQ(IsFileExist(&under_a_file[0]), 0);
    std::string empty;
    EXPECT_EQ(IsFileExist(&empty[0]), 0);
    EXPECT_EQ(IsFileExist(nullptr), 0);
}

}  // namespace
