// What a replace does when another writer filled its temporary file: the
// same answer on every platform.
#include "files/safe_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;

TEST(FileReplacement, TailDecidesWhetherTheFileIsReplacedAndTellsTheSameReason) {
    struct Row {
        const char* name;
        std::string written;
        bool existed;
        bool ok;
    };
    const Row rows[] = {
        {"whole", "%PDF-1.4\nbody\n%%EOF\r\n  ", true, true}, {"new whole", "%PDF-1.4\n%%EOF", false, true},
        {"cut short", "%PDF-1.4\nbody\n%%EO", true, false},   {"nothing written", "", true, false},
        {"nothing written, new", "", false, false},
    };
    for (const Row& row : rows) {
        test::TempDir dir;
        const std::string path = dir.File("out.pdf");
        if (row.existed) {
            test::WriteText(path, "old");
        }
        FileReplacement file;
        ASSERT_TRUE(file.Begin(path).Ok()) << row.name;
        ASSERT_TRUE(file.Write(row.written.data(), row.written.size()).Ok()) << row.name;
        FileStatus status = file.CheckTail("%%EOF");
        if (status.Ok()) {
            status = file.Commit();
        }
        EXPECT_EQ(status.Ok(), row.ok) << row.name;
        if (!row.ok) {
            EXPECT_EQ(status.error, FileError::WriteFailed) << row.name;
            EXPECT_EQ(status.detail, "the disk refused the data") << row.name;
            EXPECT_EQ(status.noPrevious, !row.existed) << row.name;
        }
        const bool there = row.ok || row.existed;
        EXPECT_EQ(fs::exists(path), there) << row.name;
        if (there) {
            EXPECT_EQ(test::ReadText(path), row.ok ? row.written : "old") << row.name;
        }
        // No temporary file stays behind.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), there ? 1 : 0)
            << row.name;
    }
}

}  // namespace
}  // namespace quorim
