// The rules of every file the programs read or write, once for every
// platform: the order of the steps, what is refused, what counts as a
// failure and how it is told. The platform calls beneath them decide nothing
// (files/platform_files.h).
#include "files/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>

#include "base/utf8_path.h"
#include "files/platform_files.h"

namespace quorim {

namespace {

using platform::FileInfo;
using platform::FileKind;

// The reason a write failed when the system gave none.
constexpr const char* kDiskRefused = "the disk refused the data";

FileStatus Status(FileError error, const std::string& path, std::string detail) {
    FileStatus status;
    status.error = error;
    status.path = path;
    status.detail = std::move(detail);
    return status;
}

std::string Reason(int err) {
    if (err == platform::kUntrustedLink) {
        return "it is a link another user put into a shared folder";
    }
    return err == 0 ? kDiskRefused : std::strerror(err);
}

// Why a path that exists cannot be read or written as data (Ok for a
// regular file).
FileStatus KindRefusal(FileKind kind, const std::string& path, FileError folderError) {
    switch (kind) {
        case FileKind::Regular:
        case FileKind::Missing:
            return {};
        case FileKind::Folder:
            return Status(folderError, path, "it is a folder");
        case FileKind::Fifo:
            return Status(FileError::NotAFile, path, "a FIFO");
        case FileKind::Socket:
            return Status(FileError::NotAFile, path, "a socket");
        case FileKind::Device:
            break;
    }
    return Status(FileError::NotAFile, path, "a device");
}

// Checks a target: the path to write (links followed), and what it replaces.
FileStatus CheckTarget(const std::string& path, std::string& target, FileInfo& info) {
    target = path;
    info = {};
    if (const int err = platform::FollowLinks(target); err != 0) {
        return Status(FileError::WriteFailed, path, Reason(err));
    }
    if (const int err = platform::Inspect(target, info); err != 0) {
        info.kind = FileKind::Missing;
        return err == ENOENT ? FileStatus{} : Status(FileError::WriteFailed, path, Reason(err));
    }
    if (info.kind != FileKind::Regular) {
        return KindRefusal(info.kind, path, FileError::WriteFailed);
    }
    // As editors do: no write bit at all is read-only even for the superuser.
    if (!info.writable) {
        return Status(FileError::ReadOnly, path, {});
    }
    return {};
}

// Writes all `size` bytes at the file's position; a write that takes no
// byte and names no error fails with `nothingTaken`. 0 or the error.
int WriteAll(int fd, const char* data, std::size_t size, int nothingTaken) {
    while (size > 0) {
        std::size_t done = 0;
        if (const int err = platform::WriteSome(fd, data, size, done); err != 0) {
            return err;
        }
        if (done == 0) {
            return nothingTaken;
        }
        data += done;
        size -= done;
    }
    return 0;
}

// Reads exactly `size` bytes at `offset`. 0, the error, or EIO at an early end.
int ReadAt(int fd, std::uint64_t offset, char* data, std::size_t size) {
    if (const int err = platform::SeekTo(fd, offset); err != 0) {
        return err;
    }
    while (size > 0) {
        std::size_t done = 0;
        if (const int err = platform::ReadSome(fd, data, size, done); err != 0) {
            return err;
        }
        if (done == 0) {
            return EIO;
        }
        data += done;
        size -= done;
    }
    return 0;
}

// The whole content of an open file, read from its start.
int ReadAll(int fd, std::string& bytes) {
    std::uint64_t size = 0;
    if (const int err = platform::SizeOf(fd, size); err != 0) {
        return err;
    }
    bytes.assign(static_cast<std::size_t>(size), '\0');
    return ReadAt(fd, 0, bytes.data(), bytes.size());
}

// Writes `size` bytes over an open regular file from its start, cuts it to
// that length and syncs it. The space is reserved first, so that a full disk
// refuses before a byte changes. 0 or the error.
int Overwrite(int fd, const void* data, std::size_t size) {
    int err = size > 0 ? platform::Reserve(fd, size) : 0;
    if (err == 0) {
        err = platform::SeekTo(fd, 0);
    }
    if (err == 0) {
        err = WriteAll(fd, static_cast<const char*>(data), size, EIO);
    }
    if (err == 0) {
        err = platform::Truncate(fd, size);
    }
    return err == 0 ? platform::Sync(fd) : err;
}

// Closes a file; the close's error counts where nothing failed before.
int CloseAfter(int fd, int err) {
    const int closed = platform::Close(fd);
    return err != 0 ? err : closed;
}

}  // namespace

FileReplacement::~FileReplacement() {
    Discard();
}

void FileReplacement::Discard() {
    if (m_fd >= 0) {
        (void)platform::Close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        (void)platform::Remove(m_temp);
        m_temp.clear();
    }
}

FileStatus FileReplacement::Fail(int err) {
    Discard();
    FileStatus status = Status(FileError::WriteFailed, m_path, Reason(err));
    status.noPrevious = !m_existed;
    return status;
}

FileStatus FileReplacement::Begin(const std::string& path) {
    Discard();
    m_path = path;
    FileStatus checked = CheckTarget(path, m_target, m_old);
    m_existed = m_old.kind != FileKind::Missing;
    if (!checked.Ok()) {
        return checked;
    }
    std::string temp =
        platform::JoinPath(platform::FolderOf(m_target), "." + platform::NameOf(m_target) + ".XXXXXX");
    int fd = -1;
    if (const int err = platform::CreateTemporary(temp, fd); err != 0) {
        return Fail(err);
    }
    m_fd = fd;
    m_temp = temp;
    return {};
}

FileStatus FileReplacement::Write(const void* data, std::size_t size) {
    const int err = WriteAll(m_fd, static_cast<const char*>(data), size, 0);
    return err == 0 ? FileStatus{} : Fail(err);
}

FileStatus FileReplacement::CheckTail(std::string_view tail) {
    std::uint64_t size = 0;
    if (const int err = platform::SizeOf(m_fd, size); err != 0) {
        return Fail(err);
    }
    constexpr std::size_t kLook = 64;
    std::string last(static_cast<std::size_t>(std::min<std::uint64_t>(size, kLook)), '\0');
    if (const int err = ReadAt(m_fd, size - last.size(), last.data(), last.size()); err != 0) {
        return Fail(err);
    }
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r' || last.back() == ' ')) {
        last.pop_back();
    }
    if (last.size() < tail.size() || last.compare(last.size() - tail.size(), tail.size(), tail) != 0) {
        // The other writer did not say why; a full disk is the usual reason.
        return Fail(platform::DiskFull(m_fd) ? ENOSPC : 0);
    }
    return {};
}

FileStatus FileReplacement::CommitInPlace() {
    // A rename would part the file from its other names: its own bytes are
    // rewritten instead, and put back when that fails.
    std::string fresh;
    if (const int err = ReadAll(m_fd, fresh); err != 0) {
        return Fail(err);
    }
    int fd = -1;
    if (const int err = platform::OpenForUpdate(m_target, fd); err != 0) {
        return Fail(err);
    }
    std::string old;
    FileInfo info;
    int err = platform::InspectOpen(fd, info);
    if (err == 0) {
        err = info.kind != FileKind::Regular ? EINVAL : ReadAll(fd, old);
    }
    if (err == 0 && (err = Overwrite(fd, fresh.data(), fresh.size())) != 0) {
        (void)Overwrite(fd, old.data(), old.size());
    }
    if ((err = CloseAfter(fd, err)) != 0) {
        return Fail(err);
    }
    Discard();
    return {};
}

FileStatus FileReplacement::Commit() {
    if (m_existed && m_old.links > 1) {
        return CommitInPlace();
    }
    int err = m_existed ? platform::KeepAttributes(m_fd, m_old, m_target) : platform::SetNewFileMode(m_fd);
    if (err == 0) {
        err = platform::Sync(m_fd);
    }
    if (err != 0) {
        return Fail(err);
    }
    const int fd = m_fd;
    m_fd = -1;
    if ((err = platform::Close(fd)) != 0 || (err = platform::Replace(m_temp, m_target)) != 0) {
        return Fail(err);
    }
    m_temp.clear();
    // The rename itself reaches the disk with the folder.
    platform::SyncFolder(platform::FolderOf(m_target));
    return {};
}

FileStatus RewriteFileInPlace(const std::string& path, const void* data, std::size_t size) {
    std::string target;
    FileInfo info;
    FileStatus checked = CheckTarget(path, target, info);
    if (!checked.Ok() || info.kind == FileKind::Missing) {
        return checked.Ok() ? Status(FileError::WriteFailed, path, Reason(ENOENT)) : checked;
    }
    int fd = -1;
    if (const int err = platform::OpenForUpdate(target, fd); err != 0) {
        return Status(FileError::WriteFailed, path, Reason(err));
    }
    int err = platform::InspectOpen(fd, info) != 0 || info.kind != FileKind::Regular
                  ? EINVAL
                  : Overwrite(fd, data, size);
    err = CloseAfter(fd, err);
    return err == 0 ? FileStatus{} : Status(FileError::WriteFailed, path, Reason(err));
}

namespace {

// Gives the synced temporary file the first free name from `first` on:
// 0 with `written` set, or the error.
int ClaimFirstFreeName(const std::string& temp, const std::function<std::string(int)>& name, int first,
                       const void* data, std::size_t size, std::string& written) {
    for (int n = first; n < first + 100000; ++n) {
        const std::string target = name(n);
        const int claimed = platform::ClaimName(temp, target);
        if (claimed == 0) {
            written = target;
            return 0;
        }
        if (claimed == EEXIST) {
            continue;
        }
        if (claimed != ENOTSUP) {
            return claimed;
        }
        // A file system without hard links: the name is made exclusively
        // and the data written again.
        int out = -1;
        const int made = platform::CreateExclusive(target, out);
        if (made == EEXIST) {
            continue;
        }
        if (made != 0) {
            return made;
        }
        const int err = CloseAfter(out, Overwrite(out, data, size));
        if (err != 0) {
            (void)platform::Remove(target);
        } else {
            written = target;
        }
        return err;
    }
    return EEXIST;
}

}  // namespace

FileStatus CreateNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                         const void* data, std::size_t size, std::string& written, int first) {
    written.clear();
    const auto name = [&](int n) {
        return platform::JoinPath(folder, stem + (n > 1 ? "-" + std::to_string(n) : "") + ext);
    };
    std::string temp = platform::JoinPath(folder, "." + stem + ext + ".XXXXXX");
    int fd = -1;
    if (const int err = platform::CreateTemporary(temp, fd); err != 0) {
        return Status(FileError::WriteFailed, name(first), Reason(err));
    }
    int err = platform::SetNewFileMode(fd);
    err = CloseAfter(fd, err == 0 ? Overwrite(fd, data, size) : err);
    if (err == 0) {
        err = ClaimFirstFreeName(temp, name, first, data, size, written);
    }
    (void)platform::Remove(temp);
    if (err != 0) {
        written.clear();
        return Status(FileError::WriteFailed, name(first), Reason(err));
    }
    platform::SyncFolder(platform::FolderOf(written));
    return {};
}

FileStatus CheckReplaceable(const std::string& path) {
    std::string target;
    FileInfo info;
    FileStatus checked = CheckTarget(path, target, info);
    if (!checked.Ok()) {
        return checked;
    }
    const std::string folder = platform::FolderOf(target);
    FileInfo dir;
    if (platform::Inspect(folder, dir) != 0 || dir.kind != FileKind::Folder) {
        FileStatus status = Status(FileError::WriteFailed, path, "its folder does not exist");
        status.noPrevious = true;
        return status;
    }
    if (!platform::FolderWritable(folder)) {
        FileStatus status = Status(FileError::WriteFailed, path, "its folder is not writable");
        status.noPrevious = info.kind == FileKind::Missing;
        return status;
    }
    return {};
}

FileStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
    // Look before opening: opening a device or FIFO can wait or have effects.
    std::string target = path;
    if (const int err = platform::FollowLinks(target); err != 0) {
        return Status(FileError::CannotOpen, path, Reason(err));
    }
    FileInfo info;
    if (const int err = platform::Inspect(path, info); err != 0) {
        return Status(FileError::CannotOpen, path, Reason(err));
    }
    FileStatus refusal = KindRefusal(info.kind, path, FileError::CannotOpen);
    if (!refusal.Ok()) {
        return refusal;
    }
    int fd = -1;
    if (const int err = platform::OpenForRead(path, fd); err != 0) {
        return Status(FileError::CannotOpen, path, Reason(err));
    }
    // And again after: the name may have been swapped in between.
    if (const int err = platform::InspectOpen(fd, info); err != 0) {
        (void)platform::Close(fd);
        return Status(FileError::CannotOpen, path, Reason(err));
    }
    if (!(refusal = KindRefusal(info.kind, path, FileError::CannotOpen)).Ok()) {
        (void)platform::Close(fd);
        return refusal;
    }
    bytes.clear();
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < limit) {
        const std::size_t start = bytes.size();
        bytes.resize(start + std::min(kChunk, limit - start));
        std::size_t done = 0;
        if (const int err = platform::ReadSome(fd, bytes.data() + start, bytes.size() - start, done);
            err != 0) {
            (void)platform::Close(fd);
            bytes.clear();
            return Status(FileError::ReadFailed, path, Reason(err));
        }
        bytes.resize(start + done);
        if (done == 0) {
            break;
        }
    }
    (void)platform::Close(fd);
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    return platform::SameFile(a, b);
}

bool NamesSameFile(const std::string& a, const std::string& b) {
    if (platform::SameFile(a, b)) {
        return true;
    }
    // Not there yet: the same place once every link is followed.
    std::string ra = a, rb = b;
    if (platform::FollowLinks(ra) != 0 || platform::FollowLinks(rb) != 0) {
        return false;
    }
    std::error_code ea, eb;
    const std::filesystem::path pa = std::filesystem::weakly_canonical(Utf8Path(ra), ea);
    const std::filesystem::path pb = std::filesystem::weakly_canonical(Utf8Path(rb), eb);
    return !ea && !eb && pa == pb;
}

}  // namespace quorim
