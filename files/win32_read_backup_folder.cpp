#include <windows.h>

#include <filesystem>

#include "base/win32_text.h"
#include "files/read_backup.h"

namespace quorim {

std::string ReadBackupFolder() {
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (n <= 1) {
        return {};
    }
    std::wstring base(n, L'\0');
    base.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), n));
    if (!std::filesystem::path(base).is_absolute()) {
        return {};
    }
    return Utf8FromWide(base + L"\\quorim\\backups");
}

ReadBackupResult StoreReadBackup(const DocumentData& doc) {
    const std::string folder = ReadBackupFolder();
    if (folder.empty()) {
        return {{},
                "The radio's memory was read, but no backup was kept: LOCALAPPDATA names no folder for it",
                ReadBackupResult::Problem::NoFolder,
                {},
                {}};
    }
    return StoreReadBackupIn(folder, doc, std::chrono::system_clock::now());
}

}  // namespace quorim
