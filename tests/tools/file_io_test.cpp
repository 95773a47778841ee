// Writes that fail leave the target as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "piece/file_io.h"
#include "piece/piece_set.h"
#include "piece_samples.h"

namespace {

namespace fs = std::filesystem;
using namespace zedpiece;

struct Folder {
    fs::path path = fs::temp_directory_path() / ("zed-file-io-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Folder() { fs::remove_all(path); fs::create_directories(path); }
    ~Folder() { std::error_code ec; fs::remove_all(path, ec); }
    size_t Entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(path), {})); }
};

TEST(PieceFileIo, AWriterThatFailsLeavesTheOldFileAndNoTemporary) {
    Folder dir;
    const std::string target = (dir.path / "out.json").string();
    WriteOutput(target, [](std::ostream& o) { o << "old"; });
    EXPECT_THROW(WriteOutput(target, [](std::ostream& o) {
                     o << std::string(1 << 20, 'x');
                     throw PieceError("half way");
                 }),
                 PieceError);
    EXPECT_EQ(ReadInput(target), "old");
    EXPECT_EQ(dir.Entries(), 1u);
}

TEST(PieceFileIo, ACompleteWriteReplacesTheFileWhole) {
    Folder dir;
    const std::string target = (dir.path / "out.dxf").string();
    WriteOutput(target, [](std::ostream& o) { o << "old"; });
    WriteOutput(target, [](std::ostream& o) { o << "new and longer"; });
    EXPECT_EQ(ReadInput(target), "new and longer");
    EXPECT_EQ(dir.Entries(), 1u);
}

TEST(PieceFileIo, ErrorsNameTheFile) {
    Folder dir;
    const struct {
        std::string path;
        bool write;
        const char* message;
    } cases[] = {
        {(dir.path / "missing.json").string(), false, "missing.json: cannot open for reading"},
        {dir.path.string(), false, "is a folder, not a file"},
        {(dir.path / "no" / "such" / "folder.json").string(), true, "folder.json: cannot open for writing"},
    };
    for (const auto& c : cases) {
        zedtest::ExpectRefused(
            [&] {
                if (c.write) WriteOutput(c.path, [](std::ostream& o) { o << "x"; });
                else ReadInput(c.path);
            },
            c.message, c.path);
    }
}

}  // namespace
