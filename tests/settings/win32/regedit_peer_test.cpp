// REGEDIT4 files against the system's own registry editor: each side reads what the other wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "tests/support/registry_fixture.h"
#include "zedll/reg_options.h"

namespace {

class RegeditPeerTest : public zedtest::RegistryFixture {
protected:
    // Runs "regedit /S file" and waits for it (a minute at most).
    static bool RegeditImport(const std::string& file) {
        std::string cmd = "regedit.exe /S \"" + file + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            return false;
        }
        const DWORD wait = WaitForSingleObject(pi.hProcess, 60000);
        if (wait != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return wait == WAIT_OBJECT_0;
    }

    // name -> (type, bytes) of every value of a key and its subkeys (names prefixed by subpath).
    using Snapshot = std::map<std::string, std::pair<DWORD, std::string>>;
    static void Take(HKEY root, const std::string& path, const std::string& prefix, Snapshot* out) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        for (DWORD i = 0;; ++i) {
            char name[400];
            BYTE data[8192];
            DWORD name_size = sizeof name, data_size = sizeof data, type = 0;
            if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) break;
            (*out)[prefix + name] = {type, std::string(reinterpret_cast<char*>(data), data_size)};
        }
        for (DWORD i = 0;; ++i) {
            char name[400];
            DWORD name_size = sizeof name;
            if (RegEnumKeyExA(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            Take(root, path + "\\" + name, prefix + name + "\\", out);
        }
        RegCloseKey(key);
    }
};

TEST_F(RegeditPeerTest, ExportedFileImportsIntoTheSystemRegistry) {
    OPT_RegOptions o(company_.c_str(), "Prod", "1");
    o.SetString("Path", "c:\\data\\file.txt", 1);
    o.SetString("Quote", "say \"hi\"", 1);
    o.SetString("Empty", "", 1);
    o.SetDword("Max", DWORD{0xFFFFFFFFu}, 1);
    unsigned char bytes[70];
    for (int i = 0; i < 70; ++i) bytes[i] = static_cast<unsigned char>(i * 37);
    o.SetBinary("Bytes", bytes, 70, 1);
    o.SetBinary("None", nullptr, 0, 1);
    OPT_RegOptions sub(company_.c_str(), "Prod", "1\\Sub");
    sub.SetDouble("Half", 0.5, 1);
    const std::string key = "Software\\" + company_ + "\\Prod\\1";
    Snapshot before;
    Take(HKEY_CURRENT_USER, key, "", &before);
    ASSERT_EQ(before.size(), 7u);

    const std::string file = TempFile("to-regedit.reg");
    ASSERT_EQ(o.Export(file.c_str(), 1), 1);
    zedtest::DeleteTree(zed::os::RegRoot::kCurrentUser, "Software\\" + company_);
    ASSERT_EQ(o.KeyExists(1), 0);
    ASSERT_TRUE(RegeditImport(file));
    Snapshot after;
    Take(HKEY_CURRENT_USER, key, "", &after);
    // Double quotes inside a text are written unchanged, which the system's editor refuses (it
    // skips that line); our own reader takes them back (RegTextTest.ExportImportRoundTrip).
    Snapshot expected = before;
    expected.erase("Quote");
    EXPECT_EQ(after, expected);
    EXPECT_EQ(after.count("Quote"), 0u);
    std::remove(file.c_str());
}

TEST_F(RegeditPeerTest, FileWrittenForRegeditImportsThroughImport) {
    const std::string key = "Software\\" + company_ + "\\Peer";
    const std::string text =
        "REGEDIT4\r\n\r\n"
        "[HKEY_CURRENT_USER\\" + key + "]\r\n"
        "@=\"the default\"\r\n"
        "\"Dir\"=\"c:\\\\program files\\\\x\"\r\n"
        "\"Quoted\"=\"a \\\"b\\\" c\"\r\n"
        "\"Count\"=dword:0000beef\r\n"
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a,1b,1c,1d,1e,1f,20\r\n"
        "\"Empty\"=hex:\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\" + key + "\\Child]\r\n"
        "\"x\"=\"y\"\r\n"
        "\r\n";
    const std::string file = TempFile("from-regedit.reg");
    std::ofstream(file, std::ios::binary) << text;
    ASSERT_TRUE(RegeditImport(file));
    Snapshot by_regedit;
    Take(HKEY_CURRENT_USER, key, "", &by_regedit);
    ASSERT_EQ(by_regedit.size(), 7u);
    zedtest::DeleteTree(zed::os::RegRoot::kCurrentUser, key);

    OPT_RegOptions o(company_.c_str(), "Peer", "");
    ASSERT_EQ(o.Import(file.c_str()), 1);
    Snapshot by_import;
    Take(HKEY_CURRENT_USER, key, "", &by_import);
    EXPECT_EQ(by_import, by_regedit);
    std::remove(file.c_str());
}

}  // namespace
