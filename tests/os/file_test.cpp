// CLS_File over the platform's file calls: Windows error numbers on both platforms, transfers and
// positions, Resize, locks with their retries (also across processes), duplicates, status, delete,
// move and mapped views.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"
#include "tests/support/child_process.h"
#include "os/file.h"
#include "util/file.h"

namespace {

namespace fc = zed::file_const;
namespace we = zed::win_error;

constexpr DWORD kReadWrite = fc::kGenericRead | fc::kGenericWrite;
constexpr DWORD kShareAll = fc::kShareRead | fc::kShareWrite;
constexpr const char* kLockedFileVariable = "ZEDLL_TEST_LOCKED_FILE";

class FileTest : public ::testing::Test {
protected:
    void TearDown() override { CLS_File::SetLockRetryDelay(1000); }
    zedtest::ScratchDir dir_;
    std::string name_ = dir_.File("f.bin");
};

TEST_F(FileTest, RefusedOpensReportTheirOwnNumbers) {
    CLS_File f;
    const std::string missing_folder = dir_.File("none/f.bin");
    EXPECT_EQ(f.Open(nullptr, fc::kOpenAlways, kReadWrite, 0, 0), 0);
    const struct { const char* name; DWORD how; DWORD error; } cases[] = {
        {name_.c_str(), fc::kOpenExisting, we::kFileNotFound},
        {missing_folder.c_str(), fc::kOpenAlways, we::kPathNotFound},
        {name_.c_str(), 99, we::kInvalidParameter},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.Open(c.name, c.how, kReadWrite, fc::kShareRead, 0), 0) << c.error;
        EXPECT_EQ(f.GetLastError(), c.error);
        EXPECT_FALSE(f.IsOpen());
    }
    ASSERT_EQ(f.Open(name_.c_str(), fc::kCreateNew, kReadWrite, 0, fc::kAttributeNormal), 1);
    EXPECT_EQ(f.Open(name_.c_str(), fc::kOpenAlways, kReadWrite, 0, 0), 0);   // already open
    EXPECT_TRUE(f.IsOpen());
    CLS_File g;
    EXPECT_EQ(g.Open(name_.c_str(), fc::kCreateNew, kReadWrite, kShareAll, 0), 0);
    EXPECT_EQ(g.GetLastError(), we::kFileExists);
    EXPECT_EQ(f.Close(), 1);
    EXPECT_FALSE(f.IsOpen());
}

TEST_F(FileTest, SharingModesRefuseWhatTheFirstHandleDoesNotShare) {
    CLS_File first(name_.c_str(), fc::kCreateAlways, kReadWrite, fc::kShareRead, 0);
    ASSERT_TRUE(first.IsOpen());
    first.Write("keep", 4);
    // A writer, a truncating open (refused before anything is cut) and a reader that does not
    // share writing with the writing first handle.
    const struct { DWORD how, access, share; } refused[] = {
        {fc::kOpenExisting, kReadWrite, kShareAll},
        {fc::kCreateAlways, kReadWrite, kShareAll},
        {fc::kOpenExisting, fc::kGenericRead, fc::kShareRead},
    };
    CLS_File other;
    for (const auto& r : refused) {
        EXPECT_EQ(other.Open(name_.c_str(), r.how, r.access, r.share, 0), 0);
        EXPECT_EQ(other.GetLastError(), we::kSharingViolation);
    }
    CLS_File reader;
    EXPECT_EQ(reader.Open(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, kShareAll, 0), 1);
    EXPECT_EQ(first.GetSize(), 4u);
    EXPECT_EQ(first.Close(), 1);
    EXPECT_EQ(reader.Close(), 1);
    EXPECT_EQ(other.Open(name_.c_str(), fc::kOpenExisting, kReadWrite, 0, 0), 1);   // free again
}

TEST_F(FileTest, ReadWriteSeekTellSizeAndDuplicates) {
    CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Write("0123456789", 10), 10u);
    EXPECT_EQ(f.Tell(), 10u);
    EXPECT_EQ(f.GetSize(), 10u);
    EXPECT_EQ(f.Seek(3, fc::kBegin), 3u);
    char buf[16];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(f.Read(buf, 16), 7u);
    EXPECT_EQ(std::string(buf, 8), "3456789#");
    EXPECT_EQ(f.Read(buf, 16), 0u);   // at the end
    EXPECT_EQ(f.Seek(-4, fc::kEnd), 6u);
    EXPECT_EQ(f.Seek(2, fc::kCurrent), 8u);
    EXPECT_EQ(f.Seek(-100, fc::kBegin), CLS_File::kFailed);   // before the start
    EXPECT_NE(f.GetLastError(), 0u);
    EXPECT_EQ(f.Seek(1, fc::kBegin), 1u);
    EXPECT_EQ(f.GetLastError(), 0u);   // recorded whatever the outcome
    { CLS_File wrapper(f.GetHandle()); }   // does not own: the handle survives it
    {
        CLS_File copy(f);   // owns a duplicate
        EXPECT_NE(copy.GetHandle(), f.GetHandle());
        EXPECT_EQ(copy.GetSize(), 10u);
    }
    EXPECT_EQ(f.GetSize(), 10u);

    CLS_File none;   // without a file everything fails cleanly
    EXPECT_FALSE(CLS_File(none).IsOpen());
    EXPECT_EQ(none.Read(buf, 4), CLS_File::kFailed);
    EXPECT_EQ(none.GetLastError(), we::kInvalidHandle);
    EXPECT_EQ(none.Write(buf, 4), CLS_File::kFailed);
    EXPECT_EQ(none.GetSize(), CLS_File::kFailed);
    EXPECT_EQ(none.Tell(), CLS_File::kFailed);
    EXPECT_EQ(none.Lock(0, 1), 0);
    EXPECT_EQ(none.GetLastError(), we::kInvalidHandle);   // not a lock violation: no retries
    EXPECT_EQ(none.Resize(10), 1u);                       // nothing to write, every step refused
    EXPECT_EQ(none.GetLastError(), we::kInvalidHandle);
    EXPECT_EQ(none.Close(), 1);
}

TEST_F(FileTest, ResizeExtendsWithZerosCutsAndPlacesThePosition) {
    {
        CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
        ASSERT_TRUE(f.IsOpen());
        f.Write("abcdef", 6);
        f.Seek(2, fc::kBegin);
        EXPECT_EQ(f.Resize(10000), 1u);
        EXPECT_EQ(f.GetSize(), 10000u);
        EXPECT_EQ(f.Tell(), 2u);   // kept: before the new end
        std::vector<unsigned char> all(10000), expected(10000, 0);
        std::memcpy(expected.data(), "abcdef", 6);
        f.Seek(0, fc::kBegin);
        ASSERT_EQ(f.Read(all.data(), 10000), 10000u);
        EXPECT_EQ(all, expected);
        f.Seek(9000, fc::kBegin);
        EXPECT_EQ(f.Resize(8), 1u);
        EXPECT_EQ(f.GetSize(), 8u);
        EXPECT_EQ(f.Tell(), 8u);   // past the new end: at the end
        EXPECT_EQ(f.Resize(8), 1u);
    }
    // Only an extending write that fails is a failure; a refused cut is recorded but still 1.
    CLS_File f(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0);
    ASSERT_TRUE(f.IsOpen());
    f.Seek(3, fc::kBegin);
    EXPECT_EQ(f.Resize(100), CLS_File::kFailed);   // a read-only handle cannot write the zeros
    EXPECT_NE(f.GetLastError(), 0u);
    f.Seek(6, fc::kBegin);
    EXPECT_EQ(f.Resize(4), 1u);
    EXPECT_NE(f.GetLastError(), 0u);
    EXPECT_EQ(f.GetSize(), 8u);
    EXPECT_EQ(f.Tell(), 4u);                        // the position rule holds all the same
}

// Another handle, in this process or in a child, retries eleven times, then reports 1053.
TEST_F(FileTest, LocksRetryThenReport1053AlsoAcrossProcesses) {
    CLS_File::SetLockRetryDelay(30);
    CLS_File a(name_.c_str(), fc::kCreateAlways, kReadWrite, kShareAll, 0);
    CLS_File b(name_.c_str(), fc::kOpenExisting, kReadWrite, kShareAll, 0);
    ASSERT_TRUE(a.IsOpen() && b.IsOpen());
    a.Write("0123456789", 10);
    ASSERT_EQ(a.Lock(0, 5), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(b.Lock(2, 2), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(330));   // 11 waits
    EXPECT_EQ(b.GetLastError(), we::kServiceRequestTimeout);
    EXPECT_EQ(b.Lock(5, 5), 1);   // a range nobody holds
    EXPECT_EQ(b.Unlock(5, 5), 1);
    {
        zedtest::ChildTest child("FileChild.DISABLED_RunsIntoTheParentsLock", kLockedFileVariable, name_);
        EXPECT_EQ(child.Wait(), 0) << "the child saw no lock, or failed otherwise";
    }
    EXPECT_TRUE(std::filesystem::exists(name_ + ".child")) << "the child did not run its checks";
    ASSERT_EQ(a.Unlock(0, 5), 1);
    EXPECT_EQ(b.Lock(0, 5), 1);
    EXPECT_EQ(b.Unlock(0, 5), 1);
}

// Run as a child by the test above: the parent holds bytes 0-4 of the named file.
TEST(FileChild, DISABLED_RunsIntoTheParentsLock) {
    const std::string name = zedtest::ChildValue(kLockedFileVariable);
    ASSERT_FALSE(name.empty());
    CLS_File::SetLockRetryDelay(1);
    CLS_File f(name.c_str(), fc::kOpenExisting, kReadWrite, kShareAll, 0);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Lock(1, 2), 0);
    EXPECT_EQ(f.GetLastError(), we::kServiceRequestTimeout);
    EXPECT_EQ(f.Lock(5, 5), 1);
    std::ofstream(name + ".child") << "ran";
}

TEST_F(FileTest, DeleteMoveAndStatus) {
    const std::string other = dir_.File("g.bin");
    { CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0); f.Write("12345", 5); }
    { CLS_File f(other.c_str(), fc::kCreateAlways, kReadWrite, 0, 0); }
    // One, or the negated Windows number.
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), -static_cast<int>(we::kAlreadyExists));
    EXPECT_EQ(CLS_File::Delete(other.c_str()), 1);
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), 1);
    EXPECT_EQ(CLS_File::Delete(name_.c_str()), -static_cast<int>(we::kFileNotFound));
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), -static_cast<int>(we::kFileNotFound));
    EXPECT_EQ(CLS_File::Delete(dir_.File("none/x").c_str()), -static_cast<int>(we::kPathNotFound));

    zed::FileStatus st{};
    {
        CLS_File f(other.c_str(), fc::kOpenExisting, kReadWrite, 0, 0);
        ASSERT_EQ(f.QueryStatus(&st), 1);
        EXPECT_EQ(st.size, 5u);
        EXPECT_EQ(st.attributes & 0x10u, 0u);
    }
    st.modified = st.accessed = 1000000000;   // 2001-09-09
    ASSERT_EQ(CLS_File::ApplyStatus(other.c_str(), st), 1);
    zed::FileStatus back{};
    ASSERT_EQ(CLS_File::QueryStatus(other.c_str(), &back), 1);
    EXPECT_EQ(back.modified, 1000000000);
    EXPECT_EQ(back.size, 5u);
    EXPECT_EQ(CLS_File::QueryStatus(name_.c_str(), &back), 0);
    EXPECT_EQ(CLS_File::QueryStatus(other.c_str(), nullptr), 0);
    EXPECT_EQ(CLS_File::Delete(other.c_str()), 1);
}

TEST_F(FileTest, MappedViewsShowTheFile) {
    const size_t g = zed::os::MappingGranularity();
    std::vector<unsigned char> data(3 * g + 17);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 13);
    zedtest::WriteBytes(name_, data);
    HANDLE h;
    ASSERT_EQ(zed::os::FileOpen(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0, &h), 0u);
    zed::os::FileMapping* m = nullptr;
    ASSERT_EQ(zed::os::MappingOpen(h, &m), 0u);
    const void* view = nullptr;
    ASSERT_EQ(zed::os::MappingView(m, 2 * g, data.size() - 2 * g, &view), 0u);
    EXPECT_EQ(std::memcmp(view, data.data() + 2 * g, data.size() - 2 * g), 0);
    zed::os::MappingUnview(view, data.size() - 2 * g);
    zed::os::MappingClose(m);
    zed::os::FileClose(h);
}

}  // namespace
