#pragma once

#include <string>

namespace quorim {

// The launcher's calls into the system; posix_launcher_files.cpp and
// win32_launcher_files.cpp keep only the platform's calls.

// What separates the folders of PATH: ':' on POSIX, ';' on Windows.
extern const char kSearchPathSeparator;

// The running program's real file, as the system knows it (links resolved,
// whatever folder it was started from or under which name). `fallback` when
// that cannot be read.
std::string OwnExecutablePath(const std::string& fallback);

// Whether this process may create and replace files in `folder`.
bool IsWritableFolder(const std::string& folder);

// Whether `path` is a file this process may start: a regular file with an
// execute bit on POSIX; a regular file on Windows (a program is told by its
// contents there, whatever its name ends in: "tarvolin_CH.DLL" is one).
bool IsRunnableFile(const std::string& path);

// Starts `program` without arguments and without waiting for it, shown
// normally. False when it could not be started.
bool StartDetached(const std::string& program);

// LauncherIniPath for the launcher's real file, with this process's rights
// and environment: $XDG_CONFIG_HOME or $HOME/.config on POSIX, %APPDATA% on
// Windows.
std::string LocateLauncherIni(const std::string& moduleFileName);

}  // namespace quorim
