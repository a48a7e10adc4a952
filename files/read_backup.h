#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "image/memory_image.h"

namespace quorim {

// Every successful read from a radio also keeps the image exactly as read in
// the user's data folder, so that a radio's memory can always be put back:
//
//   $XDG_DATA_HOME/quorim/backups/20261207-075312-123Z_QZ-16.szt
//
// (~/.local/share/quorim/backups when XDG_DATA_HOME is unset or not an
// absolute path; on Windows %LOCALAPPDATA%\quorim\backups). The name is the UTC time of the read to the
// millisecond and the model; it sorts oldest first. Only the newest kKeptReadBackups files of that form are
// kept; other files in the folder are never touched.
inline constexpr std::size_t kKeptReadBackups = 100;

struct ReadBackupResult {
    std::string path;     // the file written (empty when none was)
    std::string warning;  // one English sentence when something went wrong
    // The same for the windows, to be told in the program's language
    // (ReadBackupWarningText): what went wrong, the folder (NotStored) or the
    // stored file (NotPruned), and the system's reason.
    enum class Problem { None, NoFolder, NotStored, NotPruned } problem = Problem::None;
    std::string where;
    std::string reason;

    bool Ok() const { return warning.empty(); }
};

// "20261207-075312-123Z": the UTC time to the millisecond; fixed width, so
// names that start with it sort by time.
std::string BackupTimeStamp(std::chrono::system_clock::time_point when);

// The backup folder from the environment; empty when neither XDG_DATA_HOME
// nor HOME gives one (on Windows: when LOCALAPPDATA does not). Platform layer.
std::string ReadBackupFolder();

// Call after every successful read, with the document as the read left it
// (image and model flag). Never throws: a backup that cannot be stored is a
// warning for the user, not a failed read. A warning about removing old
// backups can come with a stored file (path set).
ReadBackupResult StoreReadBackup(const DocumentData& doc);

// The same into a given folder at a given time (tests, and callers that keep
// their own folder). The folder is created when missing.
ReadBackupResult StoreReadBackupIn(const std::string& folder, const DocumentData& doc,
                                   std::chrono::system_clock::time_point when,
                                   std::size_t keep = kKeptReadBackups);

}  // namespace quorim
