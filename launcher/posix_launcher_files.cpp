#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "launcher/language_choice.h"
#include "launcher/launcher_files.h"

namespace quorim {

namespace fs = std::filesystem;

std::string OwnExecutablePath(const std::string& fallback) {
    std::error_code ec;
    const fs::path own = fs::read_symlink("/proc/self/exe", ec);
    return ec || own.empty() ? fallback : own.string();
}

bool IsWritableFolder(const std::string& folder) {
    // Writing a file there means creating one beside it and renaming it
    // over the old one: the folder needs write and search rights.
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string LocateLauncherIni(const std::string& moduleFileName) {
    const std::string folder = fs::path(moduleFileName).parent_path().string();
    return LauncherIniPath(moduleFileName, IsWritableFolder(folder), std::getenv("XDG_CONFIG_HOME"),
                           std::getenv("HOME"));
}

}  // namespace quorim
