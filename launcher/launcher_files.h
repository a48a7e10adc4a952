#pragma once

#include <string>

namespace quorim {

// The running program's real file, as the system knows it (/proc/self/exe:
// links resolved, whatever folder it was started from or under which name).
// `fallback` when that cannot be read.
std::string OwnExecutablePath(const std::string& fallback);

// Whether this process may create and replace files in `folder`.
bool IsWritableFolder(const std::string& folder);

// LauncherIniPath for the launcher's real file, with this process's rights
// and environment.
std::string LocateLauncherIni(const std::string& moduleFileName);

}  // namespace quorim
