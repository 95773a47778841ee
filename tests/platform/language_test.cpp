// The language service: base texts, module switches and releases, the rotating buffers and the
// language list.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "tests/support/scratch_dir.h"
#include "tests/support/test_paths.h"
#include "platform/language.h"
#include "os/language_table.h"
#include "os/resource_module.h"
#include "zedll.h"

namespace {

using zed::LangGetString;
using zed::LangService;
using zed::os::FindLoadedModule;

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

TEST_F(LanguageTest, BaseLanguageTextsStayWithoutAModule) {
    EXPECT_TRUE(LangService().IsInitialised());
    EXPECT_EQ(LangService().GetBaseLanguage(), 1033);
    EXPECT_STREQ(LangService().GetPrefix(), "ZED");
    EXPECT_EQ(LangService().SetLanguage(1033, 0), -1);   // already current: nothing changes
    // On Windows the texts come from the DLL's string table, elsewhere from the compiled-in
    // table; either way they are the texts of the one list both are made from.
#define CHECK_TEXT(id, name, text) EXPECT_EQ(Text(id), std::string(text)) << "text " << id;
    ZEDLLSetLanguage(1029);   // Czech: no module next to the program, English stays
    ZEDLL_BASE_STRINGS(CHECK_TEXT)
#undef CHECK_TEXT
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_EQ(Text(static_cast<UINT>(zed::TextId::SeverityWarning)), "Severity warning");
    EXPECT_EQ(Text(21).back(), '\n');
    for (UINT missing : {0u, 29u, 4711u}) EXPECT_EQ(LangGetString(missing), nullptr) << missing;
    EXPECT_EQ(LangService().SetLanguage(1029, 0), -3);
    EXPECT_EQ(LangService().SetLanguage(0x2fff, 0), -3);   // no abbreviation, no module name
    EXPECT_EQ(LangService().GetCurrentLanguage(), 1033);
}

TEST_F(LanguageTest, ThreeRotatingBuffers) {
    const char* a = LangGetString(1u);
    const char* b = LangGetString(2u);
    const char* c = LangGetString(3u);
    EXPECT_EQ(std::set<const char*>({a, b, c}).size(), 3u);
    EXPECT_EQ(LangGetString(5u), a);   // the fourth call reuses the first buffer
    EXPECT_STREQ(a, "Measure");
    EXPECT_STREQ(b, "&Move");
    EXPECT_EQ(LangGetString(4711u), nullptr);   // a missing text still uses (and clears) a buffer
    EXPECT_STREQ(b, "");
}

TEST_F(LanguageTest, ModuleNames) {
    const struct { WORD language; const char* extension; const char* expected; } cases[] = {
        {1033, "DLL", "ZEDENU0409.DLL"}, {0x0407, nullptr, "ZEDDEU0407"},
        {0x040c, "dll", "ZEDFRA040c.dll"}, {0x2fff, "DLL", ""}};   // 0x2fff is no language
    for (const auto& c : cases) {
        char name[260];
        std::memset(name, 'x', sizeof name);
        EXPECT_EQ(LangService().MakeModuleName(name, c.language, c.extension), *c.expected ? 1 : 0);
        EXPECT_STREQ(name, c.expected);
    }
}

TEST_F(LanguageTest, ModulesSwitchTextsFallBackAndAreReleased) {
    if (!HaveModules()) GTEST_SKIP() << "no MinGW tools to build the example modules";
    ASSERT_EQ(FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    ZEDLLSetLanguage(0x0407);
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x0407);
    EXPECT_EQ(FindLoadedModule("ZEDDEU0407.DLL"), zed::LangGetModule());
    const std::pair<UINT, const char*> german[] = {
        {1, "Entfernung"}, {6, "&Gr\xf6\xdf" "e"}, {17, "Schweregrad Warnung"}, {28, "&OK"},
        {11, "Protokolldatei %s kann nicht ge\xf6" "ffnet werden\n"},
        {13, "Language"},   // not in the module: the library's own text
    };
    for (const auto& [id, text] : german) EXPECT_EQ(Text(id), text) << id;
    const std::string cut = Text(100);   // a 300-character text is cut to 254 characters
    ASSERT_EQ(cut.size(), 254u);
    for (std::size_t i = 0; i < cut.size(); ++i) ASSERT_EQ(cut[i], 'A' + static_cast<char>(i % 26));
    ZEDLLSetLanguage(1029);   // a language without a module keeps German
    EXPECT_EQ(Text(1), "Entfernung");

    ZEDLLSetLanguage(0x040c);   // switching releases the previous module
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x040c);
    EXPECT_EQ(FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    EXPECT_EQ(FindLoadedModule("ZEDFRA040C.DLL"), zed::LangGetModule());
    EXPECT_EQ(Text(17), "Gravit\xe9 avertissement");
    EXPECT_EQ(Text(14), "Severity debug");   // missing in French
    // keepPrevious leaves the old module loaded, as the first selection at load does.
    EXPECT_EQ(LangService().SetLanguage(0x0407, 1), 1);
    HMODULE french = FindLoadedModule("ZEDFRA040C.DLL");
    EXPECT_NE(french, nullptr);
    ZEDLLSetLanguage(1033);   // back to the base language: the module is released
    EXPECT_EQ(zed::LangGetModule(), zed::LangGetLibraryInstance());
    EXPECT_EQ(FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    EXPECT_EQ(Text(1), "Distance");
    zed::os::FreeResourceModule(french);
    EXPECT_EQ(FindLoadedModule("ZEDFRA040C.DLL"), nullptr);
}

TEST_F(LanguageTest, LanguageListFromModuleFileNames) {
    zedtest::ScratchDir dir("zedll-langlist");
    for (const char* name : {"ZEDDEU0407.DLL", "ZEDFRA040c.DLL", "ZEDXYZWXYZ.DLL", "ZEDDEU0405.TXT",
                             "ABCDEU0410.DLL", "ZEDENU0409.DLL"}) {
        std::ofstream(dir.path() / name) << "x";
    }
    const auto list = zed::ListLanguagesIn(LangService(), dir.path().string());
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].language, 1033);   // the base language first, selected
    EXPECT_EQ(list[0].name, "English (United States)");
    std::set<std::pair<WORD, std::string>> modules;
    for (std::size_t i = 1; i < list.size(); ++i) {
        modules.insert({list[i].language, list[i].name});
        EXPECT_EQ(list[i].current, list[i].language == 1033);
    }
    EXPECT_TRUE(list[0].current);
    EXPECT_EQ(modules, (std::set<std::pair<WORD, std::string>>{   // WXYZ is not hexadecimal
                           {0x0407, "German (Germany)"}, {0x040c, "French (France)"},
                           {0x0409, "English (United States)"}}));
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
    const struct { WORD language; size_t size; int result; const char* name; } names[] = {
        {0x0407, 64, 1, "German (Germany)"}, {0x0407, 7, 1, "German"},
        {0x7c5f, 64, 1, "Central Atlas Tamazight (Latin, Algeria)"}, {0x2fff, 64, 0, ""}};
    for (const auto& n : names) {
        char name[64];
        EXPECT_EQ(ZEDLLGetLanguageName(n.language, name, static_cast<DWORD>(n.size)), n.result);
        EXPECT_STREQ(name, n.name);
    }
}

#if defined(_WIN32)
// Finds the selection dialog from another thread, reads its list and answers it.
struct DialogAnswer {
    int count = -1;
    WORD selected = 0;
    std::set<WORD> languages;
    void Answer(WPARAM command, WORD choose) {
        // A fresh prefix may take a while to show its first dialog.
        HWND dialog = nullptr;
        for (int tries = 0; tries < 1200 && (dialog = ::FindWindowA("#32770", "Sprache")) == nullptr; ++tries) {
            ::Sleep(50);
        }
        if (dialog == nullptr) return;
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
    }
};

TEST_F(LanguageTest, SelectionDialog) {
    // The library itself carries no "LangSelBox": nothing to show in English.
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);
    if (!HaveModules()) GTEST_SKIP() << "no example modules";
    ZEDLLSetLanguage(0x0407);
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x0407);
    DialogAnswer cancel, french;
    std::thread canceller([&] { cancel.Answer(IDCANCEL, 1033); });
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);
    canceller.join();
    EXPECT_EQ(cancel.count, 3);
    EXPECT_EQ(cancel.selected, 0x0407);
    EXPECT_EQ(cancel.languages, (std::set<WORD>{1033, 0x0407, 0x040c}));
    EXPECT_EQ(LangService().GetCurrentLanguage(), 0x0407);
    std::thread chooser([&] { french.Answer(MAKEWPARAM(1120, LBN_DBLCLK), 0x040c); });
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 1);
    chooser.join();
    // Without French there would be a German dialog below that nobody answers.
    ASSERT_EQ(LangService().GetCurrentLanguage(), 0x040c);
    EXPECT_EQ(FindLoadedModule("ZEDDEU0407.DLL"), nullptr);
    EXPECT_EQ(zed::LangSelectDialog(nullptr), 0);   // French carries no dialog
}
#endif

TEST(LanguageTable, SortedCompleteAndAgreesWithThePlatform) {
    // On Windows the platform's own locale tables are the peer; elsewhere this is the table.
    std::size_t count = 0;
    const zed::LanguageInfo* table = zed::LanguageTable(&count);
    EXPECT_GT(count, 400u);
    for (std::size_t i = 0; i < count; ++i) {
        const WORD language = table[i].language;
        ASSERT_EQ(std::strlen(table[i].abbreviation), 3u) << std::hex << language;
        if (i > 0) { ASSERT_LT(table[i - 1].language, language); }
        ASSERT_EQ(zed::FindLanguageInfo(language), &table[i]);
        char abbreviation[30], name[128];
        ASSERT_TRUE(zed::os::GetLanguageInfo(language, zed::kLocaleAbbreviation, abbreviation,
                                                   sizeof abbreviation));
        EXPECT_STREQ(abbreviation, table[i].abbreviation) << std::hex << language;
        ASSERT_TRUE(zed::os::GetLanguageInfo(language, zed::kLocaleDisplayName, name, sizeof name));
        EXPECT_STREQ(name, table[i].name) << std::hex << language;
    }
    EXPECT_STREQ(zed::FindLanguageInfo(0x0405)->abbreviation, "CSY");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0c0a)->abbreviation, "ESN");
    EXPECT_STREQ(zed::FindLanguageInfo(0x0411)->name, "Japanese (Japan)");
    EXPECT_EQ(zed::FindLanguageInfo(0), nullptr);
    char little[30];
    // Names that do not fit the 30-byte buffer are not given, as GetLocaleInfoA does.
    EXPECT_FALSE(zed::os::GetLanguageInfo(0x7c5f, zed::kLocaleDisplayName, little, sizeof little));
}

}  // namespace
