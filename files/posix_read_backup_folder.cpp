#include <cstdlib>
#include <filesystem>

#include "files/read_backup.h"

namespace quorim {

namespace fs = std::filesystem;

std::string ReadBackupFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data != nullptr && fs::path(data).is_absolute()) {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            return {};
        }
        base = fs::path(home) / ".local" / "share";
    }
    return (base / "quorim" / "backups").string();
}

ReadBackupResult StoreReadBackup(const DocumentData& doc) {
    const std::string folder = ReadBackupFolder();
    if (folder.empty()) {
        return {{},
                "The radio's memory was read, but no backup was kept: neither XDG_DATA_HOME nor HOME "
                "names a folder for it",
                ReadBackupResult::Problem::NoFolder,
                {},
                {}};
    }
    return StoreReadBackupIn(folder, doc, std::chrono::system_clock::now());
}

}  // namespace quorim
