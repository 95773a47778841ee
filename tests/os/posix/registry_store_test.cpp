// Tests of the POSIX registry store: hive text, persistence, processes writing at once, crashes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pthread.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "os/posix/registry_hive.h"
#include "os/registry.h"
#include "tests/support/registry_sandbox.h"

namespace {

namespace win_error = zed::win_error;

using namespace zed::os;

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox_ = std::make_unique<zedtest::RegistrySandbox>();
        dir_ = sandbox_->dir().path().string();
    }
    void TearDown() override {
        registry_testing::SetBeforeRenameHook(nullptr);
        sandbox_.reset();
    }
    std::string HivePath() const { return dir_ + "/HKEY_CURRENT_USER.reg"; }
    std::string ReadHive() const {
        std::ifstream in(HivePath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static int Reap(pid_t child) {
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        return status;
    }
    static DWORD SetDword(const char* path, const char* name, DWORD v) {
        ScopedRegKey key;
        if (DWORD rc = RegistryCreate(RegRoot::kCurrentUser, path, key.Out())) return rc;
        return RegistrySet(key.Get(), name, kRegDword, &v, 4);
    }
    static bool GetDword(const char* path, const char* name, DWORD* v) {
        ScopedRegKey key;
        if (RegistryOpen(RegRoot::kCurrentUser, path, RegAccess::kRead, key.Out()) != 0) return false;
        DWORD type = 0, size = 4;
        return RegistryQuery(key.Get(), name, &type, v, &size) == 0 && type == kRegDword;
    }
    std::unique_ptr<zedtest::RegistrySandbox> sandbox_;
    std::string dir_;
};

TEST_F(RegistryStoreTest, HiveTextRoundTripsEveryByte) {
    std::mt19937 rng(5);
    hive::Key root;
    const DWORD types[] = {0, 1, 2, 3, 4, 7, 11, 0x12345678};
    for (int i = 0; i < 200; ++i) {
        hive::Key* k = &root;
        for (int d = 1 + static_cast<int>(rng() % 3); d > 0; --d) {
            std::string name;
            for (int c = 1 + static_cast<int>(rng() % 8); c > 0; --c) name += static_cast<char>(0x20 + rng() % 0x5F);
            if (name.find('\\') == std::string::npos) k = k->AddSubkey(name);
        }
        std::string vname, data;
        for (int c = static_cast<int>(rng() % 6); c > 0; --c) vname += static_cast<char>(1 + rng() % 255);
        for (int c = static_cast<int>(rng() % 40); c > 0; --c) data += static_cast<char>(rng());
        const bool text = rng() % 2;   // strings end in a zero
        k->SetValue(vname, text ? 1 : types[rng() % 8], text ? data + '\0' : data);
    }
    const std::string text = hive::Serialize(root, "HKEY_CURRENT_USER");
    hive::Key back;
    ASSERT_TRUE(hive::Parse(text, &back));
    EXPECT_EQ(hive::Serialize(back, "HKEY_CURRENT_USER"), text);
    EXPECT_FALSE(hive::Parse("REGEDIT5\n", &back));
}

// Damaged value lines are skipped one by one and reading goes on. A value name holding a zero
// byte is damage too: every caller names values with C texts, so it would read, enumerate and
// copy as the unnamed value and overwrite it (found by the store fuzz target).
TEST_F(RegistryStoreTest, DamagedValueLinesAreSkippedAndReadingGoesOn) {
    using namespace std::string_literals;
    struct Case {
        std::string line;
        bool kept;
        std::string name;
    };
    const Case cases[] = {
        {R"("a\x00b"="x")", false, ""},
        {"\"a\0b\"=\"x\""s, false, ""},
        {R"("\x00"=dword:00000001)", false, ""},
        {"\"\0\0s\"=\"9 55 33\""s, false, ""},
        {R"("a\x01b"="x")", true, "a\x01" "b"},
        {R"(@="d")", true, ""},
        {R"("n"=dword:0000zz00)", false, ""},
        {R"("n"=dword:1)", false, ""},
        {R"("h"=hex:1,2)", false, ""},
        {R"("t"=hex(100000000):00)", false, ""},
        {R"("t"=hex():00)", false, ""},
        {R"("q"="open)", false, ""},
        {R"("q"="x"y")", false, ""},
    };
    for (const Case& c : cases) {
        hive::Key root;
        ASSERT_TRUE(hive::Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n" + c.line + "\n\"after\"=\"y\"\n", &root));
        hive::Key* key = root.FindSubkey("K");
        ASSERT_NE(key, nullptr) << c.line;
        EXPECT_EQ(key->values.size(), c.kept ? 2u : 1u) << c.line;
        EXPECT_NE(key->FindValue("after"), nullptr) << c.line;
        if (c.kept) {
            EXPECT_NE(key->FindValue(c.name), nullptr) << c.line;
        }
    }

    // Through the store: the unnamed value keeps its text, and only the two real names are listed.
    {
        std::ofstream out(HivePath(), std::ios::binary | std::ios::trunc);
        out << "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n@=\"d\"\n" << "\"\0\0s\"=\"9 55 33\"\n"s
            << "\"after\"=\"y\"\n";
    }
    ScopedRegKey key;
    ASSERT_EQ(RegistryOpen(RegRoot::kCurrentUser, "K", RegAccess::kRead, key.Out()), 0u);
    std::vector<std::string> names;
    char name[64];
    for (DWORD i = 0, size = sizeof name; RegistryEnumValue(key.Get(), i, name, &size, nullptr, nullptr, nullptr) == 0;
         ++i, size = sizeof name) {
        names.emplace_back(name, size);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"", "after"}));
    char text[16] = {};
    DWORD type = 0, size = sizeof text;
    ASSERT_EQ(RegistryQuery(key.Get(), "", &type, text, &size), 0u);
    EXPECT_STREQ(text, "d");
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseAndKeepSpelling) {
    ASSERT_EQ(SetDword("Software\\MixedCase\\Key", "Value", 1), 0u);
    DWORD v = 0;
    EXPECT_TRUE(GetDword("SOFTWARE\\mixedcase\\KEY", "VALUE", &v));
    EXPECT_EQ(v, 1u);
    ASSERT_EQ(SetDword("software\\MIXEDCASE\\key", "value", 2), 0u);
    ScopedRegKey key;
    ASSERT_EQ(RegistryOpen(RegRoot::kCurrentUser, "Software", RegAccess::kRead, key.Out()), 0u);
    char name[64];
    const struct { DWORD index, room, result; } enums[] = {{0, 64, 0}, {0, 3, win_error::kMoreData}, {1, 64, win_error::kNoMoreItems}};
    for (const auto& e : enums) {
        DWORD size = e.room;
        EXPECT_EQ(RegistryEnumKey(key.Get(), e.index, name, &size), e.result) << e.index << " " << e.room;
        if (e.result == 0) { EXPECT_STREQ(name, "MixedCase"); }
    }
    const std::string text = ReadHive();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\MixedCase\\Key]\n\"Value\"=dword:00000002\n"),
              std::string::npos) << text;
    // Empty components are ignored; control characters in key names are refused.
    EXPECT_TRUE(GetDword("Software\\\\MixedCase\\Key\\", "value", &v));
    ScopedRegKey bad;
    EXPECT_EQ(RegistryCreate(RegRoot::kCurrentUser, "Software\\a\nb", bad.Out()), win_error::kInvalidParameter);
    EXPECT_EQ(RegistryDeleteKey(RegRoot::kCurrentUser, "Software\\MixedCase"), win_error::kAccessDenied);
    EXPECT_EQ(RegistryDeleteKey(RegRoot::kCurrentUser, "Software\\Nope"), win_error::kFileNotFound);
}

TEST_F(RegistryStoreTest, QuerySizesAndDeletedKeys) {
    ScopedRegKey key;   // sizes of values too big for the buffer, then the key deleted under us
    ASSERT_EQ(RegistryCreate(RegRoot::kCurrentUser, "Software\\Q", key.Out()), 0u);
    const char text[] = "hello";
    ASSERT_EQ(RegistrySet(key.Get(), "t", kRegSz, text, sizeof text), 0u);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegistryQuery(key.Get(), "t", &type, nullptr, &size), 0u);
    EXPECT_EQ(size, 6u);
    char buf[8] = {};
    size = 3;
    EXPECT_EQ(RegistryQuery(key.Get(), "t", &type, buf, &size), win_error::kMoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(RegistryDeleteKey(RegRoot::kCurrentUser, "Software\\Q"), 0u);
    size = sizeof buf;
    EXPECT_EQ(RegistryQuery(key.Get(), "t", &type, buf, &size), win_error::kKeyDeleted);
    EXPECT_EQ(RegistrySet(key.Get(), "t", kRegSz, text, sizeof text), win_error::kKeyDeleted);
}

// The parent has read the hive before the children write: their values are seen at its next
// operation, and none of their writes is lost.
TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kEach = 150;
    ASSERT_EQ(SetDword("Software\\Race", "p0_0", 77), 0u);
    DWORD v = 0;
    ASSERT_TRUE(GetDword("Software\\Race", "p0_0", &v));
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] != 0) continue;
        for (int i = 0; i < kEach; ++i) {
            const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
            if (SetDword("Software\\Race", name.c_str(), static_cast<DWORD>(c * 1000 + i)) != 0) _exit(1);
        }
        _exit(0);
    }
    for (pid_t child : children) {
        const int status = Reap(child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < kEach; ++i) {
            const std::string name = "p" + std::to_string(c) + "_" + std::to_string(i);
            ASSERT_TRUE(GetDword("Software\\Race", name.c_str(), &v)) << name;
            EXPECT_EQ(v, static_cast<DWORD>(c * 1000 + i));
        }
    }
}

TEST_F(RegistryStoreTest, KilledWriterLeavesTheOldHiveWhole) {
    ASSERT_EQ(SetDword("Software\\Crash", "kept", 11), 0u);
    const std::string before = ReadHive();
    const pid_t child = fork();
    if (child == 0) {
        registry_testing::SetBeforeRenameHook([] { raise(SIGKILL); });
        SetDword("Software\\Crash", "lost", 12);
        _exit(0);
    }
    const int status = Reap(child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(ReadHive(), before);
    DWORD v = 0;
    EXPECT_TRUE(GetDword("Software\\Crash", "kept", &v));
    EXPECT_EQ(v, 11u);
    EXPECT_FALSE(GetDword("Software\\Crash", "lost", &v));
    // The lock died with the writer: the next write goes through, and takes the dead writer's
    // temporary file with it.
    EXPECT_TRUE(std::filesystem::exists(HivePath() + ".tmp"));
    EXPECT_EQ(SetDword("Software\\Crash", "after", 13), 0u);
    EXPECT_TRUE(GetDword("Software\\Crash", "after", &v));
    EXPECT_FALSE(std::filesystem::exists(HivePath() + ".tmp"));
}

TEST_F(RegistryStoreTest, BatchCommitsOnceReadsDoNotReparseAndAnUnwritableStoreFails) {
    {
        RegistryBatch batch;
        for (int i = 0; i < 50; ++i) {
            ASSERT_EQ(SetDword("Software\\Batch", ("v" + std::to_string(i)).c_str(), static_cast<DWORD>(i)), 0u);
        }
        EXPECT_FALSE(std::filesystem::exists(HivePath()));   // nothing on disk before the batch ends
    }
    DWORD v = 0;
    EXPECT_TRUE(GetDword("Software\\Batch", "v49", &v));
    EXPECT_EQ(v, 49u);
    const long loads = registry_testing::HiveLoads();   // an unchanged hive is not parsed again
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(GetDword("Software\\Batch", "v7", &v));
    EXPECT_EQ(registry_testing::HiveLoads(), loads);
    if (geteuid() != 0) {  // root writes anywhere
        chmod(dir_.c_str(), 0500);
        EXPECT_EQ(SetDword("Software\\Batch", "ro", 1), win_error::kAccessDenied);
        EXPECT_FALSE(GetDword("Software\\Batch", "ro", &v));
        chmod(dir_.c_str(), 0700);
    }
}

// Runs `work` on a thread with a 256 KiB stack: a walk that recursed once per key level would
// overflow it long before the depths used here.
void OnSmallStack(void (*work)()) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, [](void* w) -> void* {
        reinterpret_cast<void (*)()>(w)();
        return nullptr;
    }, reinterpret_cast<void*>(work)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

std::string DeepSection(size_t depth) {
    std::string text = "[HKEY_CURRENT_USER";
    for (size_t i = 0; i < depth; ++i) text += "\\a";
    return text + "]\n\"v\"=\"x\"\n\n";
}

TEST_F(RegistryStoreTest, KeysDeeperThan512LevelsAreRefusedAndDeepTreesNeverRecurse) {
    for (size_t depth : {size_t{1}, size_t{511}, size_t{512}, size_t{513}, size_t{30000}}) {
        hive::Key root;
        ASSERT_TRUE(hive::Parse("REGEDIT4\n\n" + DeepSection(depth) + "[HKEY_CURRENT_USER\\b]\n\"w\"=\"y\"\n", &root));
        size_t levels = 0;
        hive::Key* k = root.FindSubkey("a");
        for (; k != nullptr; k = k->FindSubkey("a")) {
            ++levels;
            if (levels == depth) { EXPECT_NE(k->FindValue("v"), nullptr); }
        }
        EXPECT_EQ(levels, depth <= 512 ? depth : 0) << depth;   // too deep: the section is skipped
        EXPECT_NE(root.FindSubkey("b"), nullptr) << depth;      // and reading goes on after it
    }
    std::string path;
    for (int i = 0; i < 513; ++i) path += i ? "\\k" : "k";
    ScopedRegKey key;
    EXPECT_EQ(RegistryCreate(RegRoot::kCurrentUser, path.c_str(), key.Out()), win_error::kInvalidParameter);
    path.resize(path.size() - 2);
    EXPECT_EQ(RegistryCreate(RegRoot::kCurrentUser, path.c_str(), key.Out()), 0u);

    // A damaged hive nested 30,000 levels deep: the next write drops the section instead of
    // rewriting it as a file of hundreds of megabytes.
    {
        std::ofstream out(HivePath(), std::ios::binary | std::ios::trunc);
        out << "REGEDIT4\n\n" << DeepSection(30000);
    }
    ASSERT_EQ(SetDword("Software\\After", "n", 7), 0u);
    EXPECT_LT(ReadHive().size(), 600u * 1024);   // the 512 levels written above, nothing deeper
    DWORD v = 0;
    EXPECT_TRUE(GetDword("Software\\After", "n", &v));
    EXPECT_EQ(v, 7u);

    OnSmallStack([] {
        hive::Key chain;
        hive::Key* k = &chain;
        for (int i = 0; i < 2000; ++i) k = k->AddSubkey("a");
        // the header, "[R]" and its empty line, then level i's "[R\a...]" with i names and its empty line
        EXPECT_EQ(hive::Serialize(chain, "R").size(), 10 + 5 + 2000u * 2001 + 5 * 2000);
        for (int i = 0; i < 200000; ++i) k = k->AddSubkey("a");
    });   // freed on the small stack too
}

// Keys with many values find them through an index: random sets, overwrites, removals and
// lookups in any letter case agree with a plain map of folded names.
TEST_F(RegistryStoreTest, ManyValuesInOneKeyStayFindableThroughSetsAndRemovals) {
    std::mt19937 rng(11);
    hive::Key key;
    std::map<std::string, std::string> model;   // upper-cased name -> data
    auto upper = [](std::string n) {
        for (char& c : n) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return n;
    };
    for (int step = 0; step < 20000; ++step) {
        std::string name = "v" + std::to_string(rng() % 300);
        if (rng() % 2) name = upper(name);
        switch (rng() % 4) {
        case 0:
        case 1: {
            const std::string data = std::to_string(step);
            key.SetValue(name, 1, data);
            model[upper(name)] = data;
            break;
        }
        case 2:
            EXPECT_EQ(key.RemoveValue(name), model.erase(upper(name)) == 1) << step;
            break;
        default: {
            const hive::Value* v = key.FindValue(name);
            const auto it = model.find(upper(name));
            ASSERT_EQ(v != nullptr, it != model.end()) << step;
            if (v != nullptr) { EXPECT_EQ(v->data, it->second) << step; }
        }
        }
        ASSERT_EQ(key.values.size(), model.size()) << step;
    }
}

}  // namespace
