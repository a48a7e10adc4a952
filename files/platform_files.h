#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The few calls the file rules (files/safe_file.cpp) stand on, one set for
// POSIX (files/posix_files.cpp) and one for Windows (files/win32_files.cpp).
// Each does one thing and decides nothing: it returns 0 or the error number
// (errno values on both platforms), and the rules say what that means.
namespace quorim::platform {

// What stands at a path.
enum class FileKind { Missing, Regular, Folder, Fifo, Socket, Device };

struct FileInfo {
    FileKind kind = FileKind::Missing;
    bool writable = false;  // the user may write to it
    unsigned links = 1;     // names the file goes by
    // Mode, owner and group, where the platform has them, for the new file.
    unsigned mode = 0;
    unsigned uid = 0;
    unsigned gid = 0;
};

// The link no one should follow: planted by another user in a shared folder.
constexpr int kUntrustedLink = -1;

// Follows symbolic links in `path` to what they finally name (it need not
// exist). 0, kUntrustedLink, or the error number.
int FollowLinks(std::string& path);
// What stands at `path` (links followed); ENOENT when nothing does.
int Inspect(const std::string& path, FileInfo& info);
// What the open file is.
int InspectOpen(int fd, FileInfo& info);
// The folder a path is in ("." for a bare name).
std::string FolderOf(const std::string& path);
// `name` in `folder` (an empty folder is the current one).
std::string JoinPath(const std::string& folder, const std::string& name);
// The file name without its folder.
std::string NameOf(const std::string& path);
// True when the folder takes new files.
bool FolderWritable(const std::string& folder);

// Makes a new file exclusively at `pattern` with its last six characters
// ("XXXXXX") replaced; `pattern` becomes the name made.
int CreateTemporary(std::string& pattern, int& fd);
// Creates `path` exclusively, never following what stands there.
int CreateExclusive(const std::string& path, int& fd);
// Opens an existing file for reading and writing, without waiting on it.
int OpenForUpdate(const std::string& path, int& fd);
// Opens an existing file for reading, without waiting on it.
int OpenForRead(const std::string& path, int& fd);

// Writes some of the bytes at the file's position; `done` gets how many.
int WriteSome(int fd, const char* data, std::size_t size, std::size_t& done);
// Reads some bytes at the file's position; `done` gets how many (0: the end).
int ReadSome(int fd, char* data, std::size_t size, std::size_t& done);
int SeekTo(int fd, std::uint64_t offset);
int SizeOf(int fd, std::uint64_t& size);
// Reserves the disk space for `size` bytes where the file system can.
int Reserve(int fd, std::uint64_t size);
int Truncate(int fd, std::uint64_t size);
int Sync(int fd);
int Close(int fd);
// True when the disk the open file is on has no space left.
bool DiskFull(int fd);

// Gives the open file the mode of a new file (the user's mask applied).
int SetNewFileMode(int fd);
// Gives the open file the old file's owner, mode and extended attributes,
// where the platform keeps them.
int KeepAttributes(int fd, const FileInfo& old, const std::string& oldPath);

// Moves `from` over `to` in one step.
int Replace(const std::string& from, const std::string& to);
// Gives the file at `from` the name `to` too, only where nothing stands at
// `to`: EEXIST when something does, ENOTSUP where the file system cannot.
// Afterwards `from` may be gone.
int ClaimName(const std::string& from, const std::string& to);
int Remove(const std::string& path);
// Brings a folder's changed names to the disk, where the platform can.
void SyncFolder(const std::string& folder);

bool SameFile(const std::string& a, const std::string& b);

// The name under which another writer opens the open temporary file `fd`
// (made at `temp`): on POSIX its descriptor's name, which holds no bytes of
// the user's file name; on Windows, which has no such name, the file's own.
std::string NameForWriter(int fd, const std::string& temp);

// When the file at `path` was last written, in nanoseconds since 1970, as
// finely as the file system keeps it (the C runtime's stat on Windows gives
// whole seconds, too coarse to order two snapshots taken in one second).
int ModifiedTime(const std::string& path, long long& ns);

}  // namespace quorim::platform
