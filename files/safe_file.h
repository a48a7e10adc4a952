#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "files/file_status.h"
#include "files/platform_files.h"

namespace quorim {

// The file calls behind every file the programs read or write. Their rules
// are written once (files/safe_file.cpp) over a few platform calls
// (files/platform_files.h); the rest of the core sees only these.

// Replaces one file so that nothing the user owns is harmed: a symbolic link
// is followed to the file it names; a folder, device, FIFO or socket and a
// read-only file are refused before anything is touched; the new file keeps
// the old one's mode, extended attributes and access control lists (and,
// where permitted, owner and group). A link is followed only where the
// kernel's protection of shared folders would follow it. The data goes
// into a temporary file made exclusively beside the target, is synced, closed
// with its result checked and renamed over the target, and the folder is
// synced. On any failure the temporary file is removed and the old file is
// as it was. A file with several hard links is rewritten in place instead
// (space reserved first, the old bytes put back on a failure), so that every
// name keeps seeing it.
class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks the target and makes the temporary file.
    FileStatus Begin(const std::string& path);
    // The temporary file, for a writer that opens files by name.
    const std::string& TempPath() const { return m_temp; }
    // The temporary file's open descriptor.
    int Descriptor() const { return m_fd; }
    // The name a writer that opens files by name fills it under.
    std::string WriterName() const { return platform::NameForWriter(m_fd, m_temp); }
    FileStatus Write(const void* data, std::size_t size);
    // When another writer filled the temporary file: its last bytes must be
    // `tail` (blanks after it allowed), else the data did not all reach the disk.
    FileStatus CheckTail(std::string_view tail);
    FileStatus Commit();

private:
    FileStatus Fail(int err);
    void Discard();
    // A file with several hard links keeps them: rewritten in place.
    FileStatus CommitInPlace();

    std::string m_path;    // as given, for messages
    std::string m_target;  // after following symbolic links
    std::string m_temp;
    int m_fd = -1;
    bool m_existed = false;
    platform::FileInfo m_old;  // what stood at the target
};

// Writes any bytes by a FileReplacement.
FileStatus WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

// Creates a file under a name nothing stands at yet, never replacing or
// following what is there (a dangling symbolic link included): the data goes
// into a temporary file beside it and is synced, then takes the first free
// name of `stem` + `ext`, `stem`-2 + `ext`, `stem`-3 + `ext`, ... (from
// `first`; 1 is the bare stem). `written` gets the name really taken.
FileStatus CreateNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                         const void* data, std::size_t size, std::string& written, int first = 1);

// Rewrites an existing regular file in place, for when no temporary file can
// be made beside it (a folder without write permission): the same refusals
// as a replace; the space is reserved first, so that a full disk refuses
// before a byte changes; then the data is written, the file cut to its
// length and synced.
FileStatus RewriteFileInPlace(const std::string& path, const void* data, std::size_t size);

// Checks, without touching anything, that a save to `path` would not be
// refused (see FileReplacement) and that its folder takes new files.
FileStatus CheckReplaceable(const std::string& path);

// Reads a regular file, at most `limit` bytes. Anything else (a folder, FIFO,
// device, socket) is refused at once, without waiting on it.
FileStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes);

// True when both paths name one existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);
// True also when the file is not there yet: both name the same place once
// every symbolic link is followed (`--log F --out F`, a link to a file a
// command is about to make).
bool NamesSameFile(const std::string& a, const std::string& b);

}  // namespace quorim
