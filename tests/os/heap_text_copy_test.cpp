// Copied texts on the process heap, and every holder of one when the heap refuses the copy.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "log/log_options.h"
#include "os/heap.h"
#include "platform/language.h"
#include "tests/support/registry_fixture.h"
#include "zedll.h"

namespace {

// The heap refuses every block while an object of this kind lives.
struct RefusingHeap {
    RefusingHeap() { zed::heap_testing::FailAfter(0); }
    ~RefusingHeap() { zed::heap_testing::Reset(); }
};

TEST(HeapCopyText, CopiesEveryByteAndTheTerminator) {
    const std::string texts[] = {"", "a", "KELVARO", std::string(5000, 'x'), "\xff\x80 high bytes"};
    for (const std::string& text : texts) {
        char* copy = zed::HeapCopyText(text.c_str());
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, text.c_str());
        EXPECT_EQ(std::memcmp(copy, text.c_str(), text.size() + 1), 0) << text.size();
        zed::HeapRelease(copy);
    }
    EXPECT_EQ(zed::HeapCopyText(nullptr), nullptr);
    RefusingHeap refusing;
    EXPECT_EQ(zed::HeapCopyText("x"), nullptr);
    EXPECT_EQ(zed::heap_testing::Attempts(), 1);
}

class TextHolders : public zedtest::RegistryFixture {};

// Each holder keeps working, or refuses as it says, when its text copies are refused.
TEST_F(TextHolders, SurviveARefusingHeap) {
    // Registry options without names reach no key: every read gives the default.
    {
        ASSERT_EQ(OPT_RegOptions(company_.c_str(), "Cutter", "5.1").SetDword("n", 7, 1), 1);
        RefusingHeap refusing;
        OPT_RegOptions options(company_.c_str(), "Cutter", "5.1");
        EXPECT_EQ(options.GetDword("n", 99, 1), 99u);
        OPT_RegOptions copy(options);
        EXPECT_EQ(copy.GetDword("n", 98, 1), 98u);
    }
    EXPECT_EQ(OPT_RegOptions(company_.c_str(), "Cutter", "5.1").GetDword("n", 99, 1), 7u);

    // The log options stay uninitialised when their names cannot be kept.
    {
        RefusingHeap refusing;
        EXPECT_EQ(log_InitOptionsLog(company_.c_str(), "Cutter", "5.1", 1), 0);
        EXPECT_EQ(log_LoadFlagLog(), -1);
    }
    EXPECT_EQ(log_InitOptionsLog(company_.c_str(), "Cutter", "5.1", 1), 1);
    EXPECT_NE(log_LoadFlagLog(), -1);
    zed::log_options::ReleaseNames();

    // Shared memory needs no copy of its name to share its block.
    {
        const std::string name = "zedll-refused-name-" + company_;
        SYS_MemShare kept(name.c_str(), 64);
        RefusingHeap refusing;
        SYS_MemShare nameless(name.c_str(), 64);
        SYS_MemShare copy(nameless);
        copy = kept;
        if (kept.GetPointer() != nullptr && nameless.GetPointer() != nullptr) {
            static_cast<char*>(kept.GetPointer())[0] = 'k';
            EXPECT_EQ(static_cast<char*>(nameless.GetPointer())[0], 'k');
        }
    }

    // A language module without its prefix names its modules without one.
    {
        zed::SYS_LangModule module;
        {
            RefusingHeap refusing;
            module.Init("ZED", 1033, 1033);
        }
        char name[260];
        ASSERT_EQ(module.MakeModuleName(name, 0x0407, "DLL"), 1);
        EXPECT_STREQ(name, "DEU0407.DLL");
        module.Init("ZED", 1033, 1033);
        ASSERT_EQ(module.MakeModuleName(name, 0x0407, "DLL"), 1);
        EXPECT_STREQ(name, "ZEDDEU0407.DLL");
    }
}

}  // namespace
