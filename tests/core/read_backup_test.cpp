#include "files/read_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/szt_file.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// 2026-12-07 07:53:12.123 UTC plus `ms`.
std::chrono::system_clock::time_point At(long long ms = 0) {
    using namespace std::chrono;
    return sys_days{year{2026} / 12 / 7} + hours{7} + minutes{53} + seconds{12} + milliseconds{123 + ms};
}

DocumentData Doc(bool sixteen, std::uint8_t fill) {
    DocumentData doc;
    doc.m_image.fill(fill);
    doc.m_bSixteenChannel = sixteen;
    return doc;
}

TEST(ReadBackup, NamedByTimeAndModelHoldingTheImageAsRead) {
    TempDir dir;
    const auto r16 = StoreReadBackupIn(dir.File("b"), Doc(true, 0x37), At());
    ASSERT_TRUE(r16.Ok()) << r16.warning;
    EXPECT_EQ(fs::path(r16.path).filename(), "20261207-075312-123Z_QZ-16.szt");
    const auto r199 = StoreReadBackupIn(dir.File("b"), Doc(false, 0x38), At(1000));
    ASSERT_TRUE(r199.Ok()) << r199.warning;
    EXPECT_EQ(fs::path(r199.path).filename(), "20261207-075313-123Z_QZ-199.szt");
    MemoryImage back{};
    ASSERT_TRUE(LoadSztFile(r199.path, back).Ok());
    EXPECT_EQ(back, Doc(false, 0x38).m_image);
    EXPECT_EQ(fs::file_size(r16.path), kImageSize);

    // Two reads within one millisecond keep both.
    const auto again = StoreReadBackupIn(dir.File("b"), Doc(true, 1), At());
    EXPECT_EQ(fs::path(again.path).filename(), "20261207-075312-123Z_QZ-16-2.szt");
    EXPECT_EQ(Names(dir.File("b")).size(), 3u);
}

TEST(ReadBackup, KeepsTheNewestByTimeWrittenNeverTheOneJustMadeAndLeavesOtherFilesAlone) {
    TempDir dir;
    const std::string folder = dir.File("b");
    fs::create_directories(folder);
    test::WriteBytes(folder + "/my-notes.szt", {1, 2, 3});
    test::WriteBytes(folder + "/20200101-000000-000Z_QZ-16.szt.tmp-1", {1});
    test::WriteBytes(folder + "/20200101-000000-000Z_QZ-17.szt", {1});
    test::WriteBytes(folder + "/20200101-000000-000Z_QZ-16-x.szt", {1});
    // Named by a clock that was ahead (a year on) and written an hour apart,
    // the newest name the oldest file.
    const auto now = fs::file_time_type::clock::now();
    for (int i = 0; i < 3; ++i) {
        const auto r = StoreReadBackupIn(folder, Doc(true, 0), At(365LL * 86400000 - i * 1000));
        ASSERT_TRUE(r.Ok()) << r.warning;
        fs::last_write_time(r.path, now - std::chrono::hours(3 - i));
    }
    const auto fresh = StoreReadBackupIn(folder, Doc(true, 0), At(), 3);
    ASSERT_TRUE(fresh.Ok()) << fresh.warning;
    EXPECT_EQ(Names(folder),
              (std::vector<std::string>{
                  "20200101-000000-000Z_QZ-16-x.szt", "20200101-000000-000Z_QZ-16.szt.tmp-1",
                  "20200101-000000-000Z_QZ-17.szt", "20261207-075312-123Z_QZ-16.szt",
                  "20271207-075310-123Z_QZ-16.szt", "20271207-075311-123Z_QZ-16.szt", "my-notes.szt"}));
    // Keeping one keeps the one just made, and the path told is there.
    const auto only = StoreReadBackupIn(folder, Doc(false, 0), At(-1000), 1);
    EXPECT_TRUE(only.Ok()) << only.warning;
    EXPECT_TRUE(fs::exists(only.path));
    EXPECT_EQ(Names(folder).size(), 5u);
}

TEST(ReadBackup, FolderThatCannotBeMadeIsAWarning) {
    TempDir dir;
    test::WriteBytes(dir.File("file"), {1});
    const auto r = StoreReadBackupIn(dir.File("file") + "/backups", Doc(true, 0), At());
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.path, "");
    EXPECT_NE(r.warning.find(dir.File("file") + "/backups"), std::string::npos) << r.warning;
    EXPECT_EQ(r.problem, ReadBackupResult::Problem::NotStored);  // the windows tell it in their language
    EXPECT_EQ(r.where, dir.File("file") + "/backups");
    const auto notFolder = StoreReadBackupIn(dir.File("file"), Doc(true, 0), At());
    EXPECT_FALSE(notFolder.Ok());
    EXPECT_EQ(test::ReadBytes(dir.File("file")), std::vector<unsigned char>{1});
}

}  // namespace
}  // namespace quorim
