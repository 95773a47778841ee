// The load sequence: its steps attach in table order and detach in reverse, once each, and what
// they set up is there after attach and gone after detach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/resource_module.h"
#include "platform/language.h"
#include "platform/library_entry.h"
#include "platform/load_sequence.h"
#include "tests/support/registry_fixture.h"
#include "zedll.h"

namespace {

std::vector<std::string> g_attached, g_detached;

void Record(const char* step, bool attach) { (attach ? g_attached : g_detached).push_back(step); }

class LoadSequence : public zedtest::RegistryFixture {
protected:
    void SetUp() override {
        RegistryFixture::SetUp();
        g_attached.clear();
        g_detached.clear();
        zed::load_testing::SetStepObserver(Record);
    }
    void TearDown() override {
        zed::load_testing::SetStepObserver(nullptr);
        zed::LibraryAttach(zed::os::OwnModule());   // the rest of the suite runs attached
        RegistryFixture::TearDown();
    }
};

TEST_F(LoadSequence, AttachInOrderDetachInReverseOnceEach) {
    std::vector<std::string> table;
    for (std::size_t i = 0; i < zed::LoadSequenceLength(); ++i) table.push_back(zed::LoadSequenceStep(i)->name);
    EXPECT_EQ(zed::LoadSequenceStep(table.size()), nullptr);
    // The order the other parts of the library rely on.
    ASSERT_GE(table.size(), 3u);
    EXPECT_EQ(table[0], "library instance");
    EXPECT_EQ(table[1], "language service");
    EXPECT_EQ(table[2], "log option names");
#if defined(_WIN32)
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[3], "common controls");
    EXPECT_EQ(table[4], "magnifier classes");   // removed first at unload, before the log names
#endif

    ASSERT_TRUE(zed::LibraryAttached());
    zed::LibraryAttach(zed::os::OwnModule());           // already attached: nothing runs
    EXPECT_TRUE(g_attached.empty());

    ASSERT_EQ(log_InitOptionsLog(company_.c_str(), "Cutter", "5.1", 1), 1);
    zed::LibraryDetach();
    zed::LibraryDetach();                                // detached once only
    EXPECT_FALSE(zed::LibraryAttached());
    EXPECT_EQ(g_detached, std::vector<std::string>(table.rbegin(), table.rend()));
    EXPECT_EQ(log_LoadFlagLog(), -1);                    // the log names went with the detach

    zed::LibraryAttach(zed::os::OwnModule());
    EXPECT_EQ(g_attached, table);
    EXPECT_TRUE(zed::LibraryAttached());
    EXPECT_EQ(zed::LangGetModule(), zed::os::OwnModule());
    EXPECT_EQ(zed::LangGetLibraryInstance(), zed::os::OwnModule());
    EXPECT_STREQ(zed::LangGetString(zed::TextId::LogPageTitle), "Logging");
}

}  // namespace
