// A private scratch folder per test, removed with everything in it, and whole-file reads and
// writes for checking what landed there.
#ifndef ZEDLL_TESTS_SUPPORT_SCRATCH_DIR_H
#define ZEDLL_TESTS_SUPPORT_SCRATCH_DIR_H

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zedtest {

class ScratchDir {
public:
    /// A folder no other test or run uses.
    ScratchDir() {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        Create("zedll-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    }
    /// A folder named by `tag` and the running test, so that a death test's child process (which
    /// runs the test again) finds the same folder. Emptied first.
    explicit ScratchDir(const std::string& tag) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        Create(tag + "-" +
               (test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "x"));
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Full name of `leaf` inside the folder, as 8-bit text.
    std::string File(const std::string& leaf) const { return (path_ / leaf).string(); }

private:
    void Create(const std::string& name) {
        path_ = std::filesystem::temp_directory_path() / name;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        std::filesystem::create_directories(path_);
    }
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << name;
}

inline std::vector<unsigned char> ReadBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zedtest

#endif
