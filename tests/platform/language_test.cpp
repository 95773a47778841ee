// The language service: base texts, module switches and releases, the rotating buffers and the
// language list.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "platform/language.h"
#include "platform/language_table.h"
#include "platform/resource_module.h"
#include "test_paths.h"
#include "zedll.h"

namespace {

using zed::LangGetString;
using zed::LangService;

std::string Text(UINT id) {
    const char* text = LangGetString(id);
    return text != nullptr ? std::string(text) : std::string("<null>");
}

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { ZEDLLSetLanguage(1033); }
    static bool HaveModules() {
#if defined(ZEDLL_TEST_LANGUAGE_MODULES)
        return true;
#else
        return false;
#endif
    }
};

TEST_F(LanguageTest, AfterLoadTheBaseLanguageIsCurrent) {
    EXPECT_TRUE(LangService().IsInitialised());
    EXPECT_EQ(LangService().GetBaseLanguage(), 1033);
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_STREQ(LangService().GetPrefix(), "ZED");
    // Already current: nothing changes.
    EXPECT_EQ(LangService().SetLanguage(1033, 0), -1);
    ZEDLLSetLanguage(1033);
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
}

TEST_F(LanguageTest, LibraryTextsMatchTheBaseTable) {
    // On Windows they come from the DLL's string table, elsewhere from the compiled-in table;
    // either way they are the texts of the one list both are made from.
#define CHECK_TEXT(id, name, text) EXPECT_EQ(Text(id), std::string(text)) << "text " << id;
    ZEDLL_BASE_STRINGS(CHECK_TEXT)
#undef CHECK_TEXT
    EXPECT_EQ(Text(static_cast<UINT>(zed::TextId::SeverityWarning)), "Severity warning");
    EXPECT_EQ(Text(10), "Logging Files (*.log)|*.log|All files (*.*)|*.*||");
    EXPECT_EQ(Text(21).back(), '\n');
    EXPECT_EQ(LangGetString(0u), nullptr);
    EXPECT_EQ(LangGetString(29u), nullptr);
    EXPECT_EQ(LangGetString(4711u), nullptr);
}

TEST_F(LanguageTest, ThreeRotatingBuffers) {
    const char* a = LangGetString(1u);
    const char* b = LangGetString(2u);
    const char* c = LangGetString(3u);
    EXPECT_STREQ(a, "Distance");
    EXPECT_STREQ(b, "&Move");
    EXPECT_STREQ(c, "Zoom");
    EXPECT_EQ(std::set<const char*>({a, b, c}).size(), 3u);
    const char* d = LangGetString(5u);
    EXPECT_EQ(d, a);  // the fourth call reuses the first buffer
    EXPECT_STREQ(a, "Measure");
    EXPECT_STREQ(b, "&Move");
    // A missing text still uses (and clears) a buffer.
    EXPECT_EQ(LangGetString(4711u), nullptr);
    EXPECT_STREQ(b, "");
}

TEST_F(LanguageTest, ModuleNames) {
    char name[260];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(LangService().MakeModuleName(name, 1033, "DLL"), 1);
    EXPECT_STREQ(name, "ZEDENU0409.DLL");
    EXPECT_EQ(LangService().MakeModuleName(name, 0x0407, nullptr), 1);
    EXPECT_STREQ(name, "ZEDDEU0407");
    EXPECT_EQ(LangService().MakeModuleName(name, 0x040c, "dll"), 1);
    EXPECT_STREQ(name, "ZEDFRA040c.dll");
    ASSERT_EQ(zed::FindLanguageInfo(0x2fff), nullptr);
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(LangService().MakeModuleName(name, 0x2fff, "DLL"), 0);
    EXPECT_STREQ(name, "");
}

TEST_F(LanguageTest, LanguageWithoutModuleKeepsEnglish) {
    ASSERT_NE(zed::FindLanguageInfo(1029), nullptr);
    ZEDLLSetLanguage(1029);  // Czech: no module next to the program
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_EQ(Text(17), "Severity warning");
    EXPECT_EQ(LangService().SetLanguage(1029, 0), -3);
    EXPECT_EQ(LangService().SetLanguage(0x2fff, 0), -3);  // no abbreviation, no module name
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
}

TEST_F(LanguageTest, GermanModuleSwitchesEveryTextAndFallsBack) {
    if (!HaveModules()) GTEST_SKIP() << "no MinGW tools to build the example modules";
    ASSERT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    ZEDLLSetLanguage(0x0407);
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x0407);
    EXPECT_NE(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), zed::LangGetModule());
    EXPECT_EQ(Text(1), "Entfernung");
    EXPECT_EQ(Text(6), "&Gr\xf6\xdf" "e");  // windows-1252
    EXPECT_EQ(Text(17), "Schweregrad Warnung");
    EXPECT_EQ(Text(28), "&OK");
    EXPECT_EQ(Text(11), "Protokolldatei %s kann nicht ge\xf6" "ffnet werden\n");
    // Not in the module: the library's own texts.
    EXPECT_EQ(Text(13), "Language");
    EXPECT_EQ(Text(21), "fatal_remove_cleanup: no such cleanup function: 0x%lx 0x%lx\n");
    // A 300-character text is cut to 254 characters.
    const std::string cut = Text(100);
    ASSERT_EQ(cut.size(), 254u);
    for (std::size_t i = 0; i < cut.size(); ++i) ASSERT_EQ(cut[i], 'A' + static_cast<char>(i % 26));

    // A language without a module keeps German.
    ZEDLLSetLanguage(1029);
    EXPECT_EQ(LangService().GetCurrentLanguage(), 0x0407);
    EXPECT_EQ(Text(1), "Entfernung");

    // Back to the base language: the module is released.
    ZEDLLSetLanguage(1033);
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    EXPECT_EQ(Text(1), "Distance");
}

TEST_F(LanguageTest, SwitchingModulesReleasesThePreviousOne) {
    if (!HaveModules()) GTEST_SKIP() << "no MinGW tools to build the example modules";
    ZEDLLSetLanguage(0x0407);
    ASSERT_NE(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    ZEDLLSetLanguage(0x040c);
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x040c);
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDFRA040C.DLL"), zed::LangGetModule());
    EXPECT_EQ(Text(28), "&Accepter");
    EXPECT_EQ(Text(17), "Gravit\xe9 avertissement");
    EXPECT_EQ(Text(14), "Severity debug");  // missing in French
    // keepPrevious leaves the old module loaded, as the first selection at load does.
    EXPECT_EQ(LangService().SetLanguage(0x0407, 1), 1);
    EXPECT_NE(zed::platform::FindLoadedModule("ZEDFRA040C.DLL"), nullptr);
    HMODULE french = zed::platform::FindLoadedModule("ZEDFRA040C.DLL");
    ZEDLLSetLanguage(1033);
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    zed::platform::FreeResourceModule(french);
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDFRA040C.DLL"), nullptr);
}

TEST_F(LanguageTest, LanguageListFromModuleFileNames) {
    zedtest::ScratchDirectory dir("zedll-langlist");
    for (const char* name : {"ZEDDEU0407.DLL", "ZEDFRA040c.DLL", "ZEDXYZWXYZ.DLL", "ZEDDEU0405.TXT",
                             "ABCDEU0410.DLL", "ZEDENU0409.DLL"}) {
        std::ofstream(dir.path() / name) << "x";
    }
    const auto list = zed::ListLanguagesIn(LangService(), dir.path().string());
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].language, 1033);  // the base language first, selected
    EXPECT_TRUE(list[0].current);
    EXPECT_EQ(list[0].name, "English (United States)");
    std::set<WORD> modules;
    for (std::size_t i = 1; i < list.size(); ++i) {
        modules.insert(list[i].language);
        EXPECT_EQ(list[i].current, list[i].language == 1033);
    }
    EXPECT_EQ(modules, (std::set<WORD>{0x0407, 0x040c, 0x0409}));  // WXYZ is not hexadecimal
    for (const auto& entry : list) {
        if (entry.language == 0x0407) {
            EXPECT_EQ(entry.name, "German (Germany)");
        }
        if (entry.language == 0x040c) {
            EXPECT_EQ(entry.name, "French (France)");
        }
    }
}

TEST_F(LanguageTest, ExportedLanguageList) {
    WORD languages[16] = {};
    const int count = ZEDLLGetLanguages(languages, 16);
    ASSERT_GE(count, 1);
    EXPECT_EQ(languages[0], 1033);
    if (HaveModules()) {
        EXPECT_EQ(std::set<WORD>(languages + 1, languages + count), (std::set<WORD>{0x0407, 0x040c}));
    }
    EXPECT_EQ(ZEDLLGetLanguages(nullptr, 0), count);
    char name[64];
    EXPECT_EQ(ZEDLLGetLanguageName(0x0407, name, sizeof name), 1);
    EXPECT_STREQ(name, "German (Germany)");
    EXPECT_EQ(ZEDLLGetLanguageName(0x0407, name, 7), 1);
    EXPECT_STREQ(name, "German");
    EXPECT_EQ(ZEDLLGetLanguageName(0x7c5f, name, sizeof name), 1);
    EXPECT_STREQ(name, "Central Atlas Tamazight (Latin, Algeria)");
    EXPECT_EQ(ZEDLLGetLanguageName(0x2fff, name, sizeof name), 0);
    EXPECT_STREQ(name, "");
}

#if defined(_WIN32)
// Finds the selection dialog from another thread, reads its list and answers it.
struct DialogAnswer {
    int count = -1;
    WORD selected = 0;
    std::set<WORD> languages;
    void Answer(WPARAM command, WORD choose) {
        // A fresh prefix may take a while to show its first dialog.
        for (int tries = 0; tries < 1200; ++tries) {
            HWND dialog = ::FindWindowA("#32770", "Sprache");
            if (dialog != nullptr) {
                HWND list = ::GetDlgItem(dialog, 1120);
                count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
                const LRESULT current = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
                if (current >= 0) selected = static_cast<WORD>(::SendMessageA(list, LB_GETITEMDATA, current, 0));
                for (int i = 0; i < count; ++i) {
                    const WORD language = static_cast<WORD>(::SendMessageA(list, LB_GETITEMDATA, i, 0));
                    languages.insert(language);
                    if (language == choose) ::SendMessageA(list, LB_SETCURSEL, i, 0);
                }
                ::PostMessageA(dialog, WM_COMMAND, command, 0);
                return;
            }
            ::Sleep(50);
        }
    }
};

TEST_F(LanguageTest, SelectionDialog) {
    // The library itself carries no "LangSelBox": nothing to show in English.
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);
    if (!HaveModules()) GTEST_SKIP() << "no example modules";
    ZEDLLSetLanguage(0x0407);
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x0407);

    DialogAnswer cancel;
    std::thread canceller([&] { cancel.Answer(IDCANCEL, 1033); });
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);
    canceller.join();
    EXPECT_EQ(cancel.count, 3);
    EXPECT_EQ(cancel.selected, 0x0407);
    EXPECT_EQ(cancel.languages, (std::set<WORD>{1033, 0x0407, 0x040c}));
    EXPECT_EQ(LangService().GetCurrentLanguage(), 0x0407);

    DialogAnswer french;
    std::thread chooser([&] { french.Answer(MAKEWPARAM(1120, LBN_DBLCLK), 0x040c); });
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 1);
    chooser.join();
    // Without French there would be a German dialog below that nobody answers.
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x040c);
    EXPECT_EQ(zed::platform::FindLoadedModule("ZEDDEU0407.DLL"), nullptr);

    // French carries no dialog: back to English needs the switch.
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);
}
#endif

TEST(LanguageTable, CoversWhatWindowsListsInOrder) {
    std::size_t count = 0;
    const zed::LanguageInfo* table = zed::LanguageTable(&count);
    EXPECT_GT(count, 400u);
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_EQ(std::strlen(table[i].abbreviation), 3u) << std::hex << table[i].language;
        ASSERT_GT(std::strlen(table[i].name), 0u);
        if (i > 0) {
            ASSERT_LT(table[i - 1].language, table[i].language);
        }
        ASSERT_EQ(zed::FindLanguageInfo(table[i].language), &table[i]);
    }
    EXPECT_STREQ(zed::FindLanguageInfo(0x0409)->abbreviation, "ENU");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0407)->abbreviation, "DEU");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0405)->abbreviation, "CSY");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0c0a)->abbreviation, "ESN");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0411)->name, "Japanese (Japan)");
    EXPECT_EQ(zed::FindLanguageInfo(0), nullptr);
}

TEST(LanguageTable, AgreesWithThePlatform) {
    // On Windows the platform's own locale tables are the peer; elsewhere this is the table.
    std::size_t count = 0;
    const zed::LanguageInfo* table = zed::LanguageTable(&count);
    int compared = 0;
    for (std::size_t i = 0; i < count; ++i) {
        char abbreviation[30], name[128];
        ASSERT_TRUE(zed::platform::GetLanguageInfo(table[i].language, zed::kLocaleAbbreviation,
                                                   abbreviation, sizeof abbreviation));
        EXPECT_STREQ(abbreviation, table[i].abbreviation) << std::hex << table[i].language;
        ASSERT_TRUE(zed::platform::GetLanguageInfo(table[i].language, zed::kLocaleDisplayName, name,
                                                   sizeof name));
        EXPECT_STREQ(name, table[i].name) << std::hex << table[i].language;
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(count));
    char small[30];
    // Names that do not fit the 30-byte buffer are not given, as GetLocaleInfoA does.
    EXPECT_FALSE(zed::platform::GetLanguageInfo(0x7c5f, zed::kLocaleDisplayName, small, sizeof small));
}

}  // namespace
