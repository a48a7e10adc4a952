// The backup folder under %LOCALAPPDATA%, through a folder name that is not
// in the system's code page.
#include <windows.h>
// windows.h first.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "base/win32_text.h"
#include "files/read_backup.h"
#include "tests/core/test_util.h"

namespace quorim {
namespace {

TEST(ReadBackup, FolderUnderLocalAppData) {
    test::TempDir dir;
    const std::wstring base = dir.Path().wstring() + L"\\\u6570\u636e";  // 数据
    SetEnvironmentVariableW(L"LOCALAPPDATA", base.c_str());
    EXPECT_EQ(ReadBackupFolder(), Utf8FromWide(base + L"\\quorim\\backups"));
    DocumentData doc;
    doc.m_image.fill(0x5A);
    const ReadBackupResult kept = StoreReadBackup(doc);
    ASSERT_TRUE(kept.Ok()) << kept.warning;
    const std::filesystem::path file(WideFromUtf8(kept.path));
    EXPECT_EQ(file.parent_path().wstring(), base + L"\\quorim\\backups");
    EXPECT_EQ(std::filesystem::file_size(file), doc.m_image.size());

    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    EXPECT_EQ(ReadBackupFolder(), "");
    const ReadBackupResult none = StoreReadBackup(doc);
    EXPECT_FALSE(none.Ok());
    EXPECT_EQ(none.path, "");
}

}  // namespace
}  // namespace quorim
