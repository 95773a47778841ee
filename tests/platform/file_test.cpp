// CLS_File over the platform's file calls: Windows error numbers on both platforms, transfers and
// positions, Resize, locks with their retries, duplicates, status, delete and move.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <string>
#include <vector>

#include "../util/temp_dir.h"
#include "platform/file.h"
#include "util/file.h"

namespace {

namespace fc = zed::file_const;
namespace fe = zed::file_error;

constexpr DWORD kReadWrite = fc::kGenericRead | fc::kGenericWrite;

class FileTest : public ::testing::Test {
protected:
    void TearDown() override { CLS_File::SetLockRetryDelay(1000); }
    zedtest::TempDir dir_;
    std::string name_ = dir_.File("f.bin");
};

TEST_F(FileTest, MissingFileAndMissingFolderHaveTheirOwnNumbers) {
    CLS_File f;
    EXPECT_EQ(f.Open(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0), 0);
    EXPECT_EQ(f.GetLastError(), fe::kFileNotFound);
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.Open(dir_.File("none/f.bin").c_str(), fc::kOpenAlways, kReadWrite, 0, 0), 0);
    EXPECT_EQ(f.GetLastError(), fe::kPathNotFound);
    EXPECT_EQ(f.Open(nullptr, fc::kOpenAlways, kReadWrite, 0, 0), 0);
    EXPECT_EQ(f.Open(name_.c_str(), 99, kReadWrite, 0, 0), 0);
    EXPECT_EQ(f.GetLastError(), fe::kInvalidParameter);
}

TEST_F(FileTest, CreateNewRefusesAnExistingFileAndOpenRefusesASecondFile) {
    CLS_File f(name_.c_str(), fc::kCreateNew, kReadWrite, 0, fc::kAttributeNormal);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Open(name_.c_str(), fc::kOpenAlways, kReadWrite, 0, 0), 0);   // already open
    EXPECT_TRUE(f.IsOpen());
    CLS_File g;
    EXPECT_EQ(g.Open(name_.c_str(), fc::kCreateNew, kReadWrite, fc::kShareRead | fc::kShareWrite, 0), 0);
    EXPECT_EQ(g.GetLastError(), fe::kFileExists);
    EXPECT_EQ(f.Close(), 1);
    EXPECT_FALSE(f.IsOpen());
}

TEST_F(FileTest, SharingModesRefuseWhatTheFirstHandleDoesNotShare) {
    CLS_File first(name_.c_str(), fc::kCreateAlways, kReadWrite, fc::kShareRead, 0);
    ASSERT_TRUE(first.IsOpen());
    first.Write("keep", 4);
    CLS_File writer;
    EXPECT_EQ(writer.Open(name_.c_str(), fc::kOpenExisting, kReadWrite, fc::kShareRead | fc::kShareWrite, 0), 0);
    EXPECT_EQ(writer.GetLastError(), fe::kSharingViolation);
    CLS_File truncating;   // refused before anything is cut
    EXPECT_EQ(truncating.Open(name_.c_str(), fc::kCreateAlways, kReadWrite, fc::kShareRead | fc::kShareWrite, 0), 0);
    EXPECT_EQ(truncating.GetLastError(), fe::kSharingViolation);
    CLS_File reader_denying_writes;   // the first handle writes: a reader must share writing
    EXPECT_EQ(reader_denying_writes.Open(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0), 0);
    EXPECT_EQ(reader_denying_writes.GetLastError(), fe::kSharingViolation);
    CLS_File reader;
    EXPECT_EQ(reader.Open(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead | fc::kShareWrite, 0), 1);
    EXPECT_EQ(first.GetSize(), 4u);
    EXPECT_EQ(first.Close(), 1);
    EXPECT_EQ(reader.Close(), 1);
    EXPECT_EQ(writer.Open(name_.c_str(), fc::kOpenExisting, kReadWrite, 0, 0), 1);   // free again
}

TEST_F(FileTest, ReadWriteSeekTellSize) {
    CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
    ASSERT_TRUE(f.IsOpen());
    const char text[] = "0123456789";
    EXPECT_EQ(f.Write(text, 10), 10u);
    EXPECT_EQ(f.Tell(), 10u);
    EXPECT_EQ(f.GetSize(), 10u);
    EXPECT_EQ(f.Seek(3, fc::kBegin), 3u);
    EXPECT_EQ(f.GetLastError(), 0u);
    char buf[16];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(f.Read(buf, 16), 7u);
    EXPECT_EQ(std::string(buf, 7), "3456789");
    EXPECT_EQ(buf[7], '#');
    EXPECT_EQ(f.Read(buf, 16), 0u);   // at the end
    EXPECT_EQ(f.Seek(-4, fc::kEnd), 6u);
    EXPECT_EQ(f.Seek(2, fc::kCurrent), 8u);
    EXPECT_EQ(f.Seek(-100, fc::kBegin), CLS_File::kFailed);   // before the start
    EXPECT_NE(f.GetLastError(), 0u);
    EXPECT_EQ(f.Seek(1, fc::kBegin), 1u);
    EXPECT_EQ(f.GetLastError(), 0u);   // recorded whatever the outcome
}

TEST_F(FileTest, OperationsWithoutAFileFailCleanly) {
    CLS_File f;
    char buf[4];
    EXPECT_EQ(f.Read(buf, 4), CLS_File::kFailed);
    EXPECT_EQ(f.GetLastError(), fe::kInvalidHandle);
    EXPECT_EQ(f.Write(buf, 4), CLS_File::kFailed);
    EXPECT_EQ(f.GetSize(), CLS_File::kFailed);
    EXPECT_EQ(f.Tell(), CLS_File::kFailed);
    EXPECT_EQ(f.Lock(0, 1), 0);
    EXPECT_EQ(f.GetLastError(), fe::kInvalidHandle);   // not a lock violation: no retries
    EXPECT_EQ(f.Close(), 1);
}

TEST_F(FileTest, ResizeExtendsWithZerosCutsAndPlacesThePosition) {
    CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
    ASSERT_TRUE(f.IsOpen());
    f.Write("abcdef", 6);
    f.Seek(2, fc::kBegin);
    EXPECT_EQ(f.Resize(10000), 1u);
    EXPECT_EQ(f.GetSize(), 10000u);
    EXPECT_EQ(f.Tell(), 2u);   // kept: before the new end
    std::vector<unsigned char> all(10000);
    f.Seek(0, fc::kBegin);
    ASSERT_EQ(f.Read(all.data(), 10000), 10000u);
    EXPECT_EQ(std::memcmp(all.data(), "abcdef", 6), 0);
    for (size_t i = 6; i < all.size(); ++i) ASSERT_EQ(all[i], 0) << i;
    f.Seek(9000, fc::kBegin);
    EXPECT_EQ(f.Resize(4), 1u);
    EXPECT_EQ(f.GetSize(), 4u);
    EXPECT_EQ(f.Tell(), 4u);   // past the new end: at the end
    EXPECT_EQ(f.Resize(4), 1u);
}

TEST_F(FileTest, ResizeFailsOnlyWhenAnExtendingWriteFails) {
    {
        CLS_File w(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
        ASSERT_EQ(w.Write("abcdefgh", 8), 8u);
    }
    CLS_File f(name_.c_str(), fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0);
    ASSERT_TRUE(f.IsOpen());
    f.Seek(3, fc::kBegin);
    EXPECT_EQ(f.Resize(100), CLS_File::kFailed);   // a read-only handle cannot write the zeros
    EXPECT_NE(f.GetLastError(), 0u);
    EXPECT_EQ(f.GetSize(), 8u);
    f.Seek(6, fc::kBegin);
    EXPECT_EQ(f.Resize(4), 1u);                     // the cut is refused: recorded, still 1
    EXPECT_NE(f.GetLastError(), 0u);
    EXPECT_EQ(f.GetSize(), 8u);
    EXPECT_EQ(f.Tell(), 4u);                        // the position rule holds all the same
    CLS_File none;
    EXPECT_EQ(none.Resize(10), 1u);                 // no file: nothing to write, every step refused
    EXPECT_EQ(none.GetLastError(), fe::kInvalidHandle);
}

TEST_F(FileTest, LockRetriesElevenTimesThenReports1053) {
    CLS_File::SetLockRetryDelay(30);
    CLS_File a(name_.c_str(), fc::kCreateAlways, kReadWrite, fc::kShareRead | fc::kShareWrite, 0);
    CLS_File b(name_.c_str(), fc::kOpenExisting, kReadWrite, fc::kShareRead | fc::kShareWrite, 0);
    ASSERT_TRUE(a.IsOpen());
    ASSERT_TRUE(b.IsOpen());
    a.Write("0123456789", 10);
    ASSERT_EQ(a.Lock(0, 5), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(b.Lock(2, 2), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(b.GetLastError(), fe::kServiceRequestTimeout);
    EXPECT_GE(waited, std::chrono::milliseconds(330));   // a wait after each of the eleven
    EXPECT_EQ(b.Lock(5, 5), 1);                         // a range nobody holds
    ASSERT_EQ(a.Unlock(0, 5), 1);
    EXPECT_EQ(b.Lock(0, 5), 1);
    EXPECT_EQ(b.Unlock(0, 5), 1);
    EXPECT_EQ(b.Unlock(5, 5), 1);
}

// The path of this test program, to run it again as a child.
std::string ThisProgram() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
#else
    return std::filesystem::read_symlink("/proc/self/exe").string();
#endif
}

// Sets a variable for child processes; an empty value removes it.
void SetEnv(const char* key, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(key, value.c_str());
#else
    if (value.empty())
        unsetenv(key);
    else
        setenv(key, value.c_str(), 1);
#endif
}

// Run as a child by the test below: the parent holds bytes 0-4 of the named file.
TEST(FileChild, RunsIntoTheParentsLock) {
    const char* name = std::getenv("ZEDLL_TEST_LOCKED_FILE");
    if (name == nullptr || *name == '\0') GTEST_SKIP() << "runs only as the child of LocksHoldAcrossProcesses";
    CLS_File::SetLockRetryDelay(1);
    CLS_File f(name, fc::kOpenExisting, kReadWrite, fc::kShareRead | fc::kShareWrite, 0);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Lock(1, 2), 0);
    EXPECT_EQ(f.GetLastError(), fe::kServiceRequestTimeout);
    EXPECT_EQ(f.Lock(5, 5), 1);
    // Tells the parent that the checks ran here (a child that skipped would also exit 0).
    std::ofstream(std::string(name) + ".child") << "ran";
}

TEST_F(FileTest, LocksHoldAcrossProcesses) {
    CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, fc::kShareRead | fc::kShareWrite, 0);
    ASSERT_TRUE(f.IsOpen());
    f.Write("0123456789", 10);
    ASSERT_EQ(f.Lock(0, 5), 1);
    SetEnv("ZEDLL_TEST_LOCKED_FILE", name_);
    const std::string command = "\"" + ThisProgram() + "\" --gtest_filter=FileChild.RunsIntoTheParentsLock";
#if defined(_WIN32)
    const int status = std::system(("\"" + command + "\"").c_str());   // cmd.exe strips one pair
#else
    const int status = std::system(command.c_str());
#endif
    SetEnv("ZEDLL_TEST_LOCKED_FILE", "");
    EXPECT_EQ(status, 0) << "the child saw no lock, or failed otherwise";
    EXPECT_TRUE(std::filesystem::exists(name_ + ".child")) << "the child did not run its checks";
    EXPECT_EQ(f.Unlock(0, 5), 1);
}

TEST_F(FileTest, HandleWrappersAndDuplicates) {
    CLS_File owner(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
    ASSERT_TRUE(owner.IsOpen());
    owner.Write("xyz", 3);
    {
        CLS_File wrapper(owner.GetHandle());   // does not own: the handle survives it
        EXPECT_EQ(wrapper.GetSize(), 3u);
    }
    EXPECT_EQ(owner.GetSize(), 3u);
    {
        CLS_File copy(owner);   // owns a duplicate
        ASSERT_TRUE(copy.IsOpen());
        EXPECT_NE(copy.GetHandle(), owner.GetHandle());
        EXPECT_EQ(copy.GetSize(), 3u);
    }
    EXPECT_EQ(owner.GetSize(), 3u);
    CLS_File empty;
    CLS_File empty_copy(empty);
    EXPECT_FALSE(empty_copy.IsOpen());
}

TEST_F(FileTest, DeleteAndMoveReturnOneOrTheNegatedNumber) {
    const std::string other = dir_.File("g.bin");
    { CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0); }
    { CLS_File f(other.c_str(), fc::kCreateAlways, kReadWrite, 0, 0); }
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), -static_cast<int>(fe::kAlreadyExists));
    EXPECT_EQ(CLS_File::Delete(other.c_str()), 1);
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), 1);
    EXPECT_EQ(CLS_File::Delete(name_.c_str()), -static_cast<int>(fe::kFileNotFound));
    EXPECT_EQ(CLS_File::Move(name_.c_str(), other.c_str()), -static_cast<int>(fe::kFileNotFound));
    EXPECT_EQ(CLS_File::Delete(dir_.File("none/x").c_str()), -static_cast<int>(fe::kPathNotFound));
    EXPECT_EQ(CLS_File::Delete(other.c_str()), 1);
}

TEST_F(FileTest, StatusQueriesAndApplies) {
    {
        CLS_File f(name_.c_str(), fc::kCreateAlways, kReadWrite, 0, 0);
        f.Write("12345", 5);
        zed::FileStatus st{};
        ASSERT_EQ(f.QueryStatus(&st), 1);
        EXPECT_EQ(st.size, 5u);
        EXPECT_EQ(st.attributes & 0x10u, 0u);
    }
    zed::FileStatus st{};
    ASSERT_EQ(CLS_File::QueryStatus(name_.c_str(), &st), 1);
    st.modified = 1000000000;   // 2001-09-09
    st.accessed = 1000000000;
    ASSERT_EQ(CLS_File::ApplyStatus(name_.c_str(), st), 1);
    zed::FileStatus back{};
    ASSERT_EQ(CLS_File::QueryStatus(name_.c_str(), &back), 1);
    EXPECT_EQ(back.modified, 1000000000);
    EXPECT_EQ(back.size, 5u);
    EXPECT_EQ(CLS_File::QueryStatus(dir_.File("none.bin").c_str(), &back), 0);
    EXPECT_EQ(CLS_File::QueryStatus(name_.c_str(), nullptr), 0);
}

TEST_F(FileTest, MappedViewsShowTheFile) {
    std::vector<unsigned char> data(3 * zed::platform::MappingGranularity() + 17);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 13);
    zedtest::WriteBytes(name_, data);
    HANDLE h;
    ASSERT_EQ(zed::platform::FileOpen(name_.c_str(), fc::kOpenExisting, fc::kGenericRead,
                                      fc::kShareRead, 0, &h),
              0u);
    zed::platform::FileMapping* m = nullptr;
    ASSERT_EQ(zed::platform::MappingOpen(h, &m), 0u);
    const size_t g = zed::platform::MappingGranularity();
    const void* view = nullptr;
    ASSERT_EQ(zed::platform::MappingView(m, 2 * g, data.size() - 2 * g, &view), 0u);
    EXPECT_EQ(std::memcmp(view, data.data() + 2 * g, data.size() - 2 * g), 0);
    zed::platform::MappingUnview(view, data.size() - 2 * g);
    zed::platform::MappingClose(m);
    zed::platform::FileClose(h);
}

}  // namespace
