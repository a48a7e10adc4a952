#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "files/safe_file.h"

namespace quorim {

namespace {

FileStatus Status(FileError error, const std::string& path, std::string detail) {
    FileStatus status;
    status.error = error;
    status.path = path;
    status.detail = std::move(detail);
    return status;
}

// Why a path that exists cannot be read or written as data (Ok for a
// regular file).
FileStatus KindRefusal(const struct stat& st, const std::string& path, FileError folderError) {
    if (S_ISREG(st.st_mode)) {
        return {};
    }
    if (S_ISDIR(st.st_mode)) {
        return Status(folderError, path, "it is a folder");
    }
    const char* kind = S_ISFIFO(st.st_mode) ? "a FIFO" : S_ISSOCK(st.st_mode) ? "a socket" : "a device";
    return Status(FileError::NotAFile, path, kind);
}

std::string Folder(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// As the kernel's protected_symlinks: a link in a sticky folder that anyone
// may write to is followed only when it belongs to the folder's owner or to
// the user (else another user could point a planted link at our files).
bool TrustedLink(const std::string& link, const struct stat& st) {
    struct stat dir {};
    if (stat(Folder(link).c_str(), &dir) != 0) {
        return false;
    }
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return !shared || st.st_uid == dir.st_uid || st.st_uid == geteuid();
}

constexpr const char* kUntrustedLink = "it is a link another user put into a shared folder";

// The path that symbolic links finally name; it need not exist yet. False
// with the reason when a link cannot or must not be followed.
bool FollowLinks(std::string& path, std::string& reason) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return true;
        }
        if (!TrustedLink(path, st)) {
            reason = kUntrustedLink;
            return false;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            reason = std::strerror(errno);
            return false;
        }
        target.resize(static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : Folder(path) + "/" + target;
    }
    reason = std::strerror(ELOOP);
    return false;
}

// Checks a target: the path to write, and what it replaces.
FileStatus CheckTarget(const std::string& path, std::string& target, struct stat& st, bool& existed) {
    target = path;
    std::string reason;
    if (!FollowLinks(target, reason)) {
        return Status(FileError::WriteFailed, path, reason);
    }
    existed = stat(target.c_str(), &st) == 0;
    if (!existed) {
        return errno == ENOENT ? FileStatus{} : Status(FileError::WriteFailed, path, std::strerror(errno));
    }
    FileStatus refusal = KindRefusal(st, path, FileError::WriteFailed);
    if (!refusal.Ok()) {
        return refusal;
    }
    // As editors do: no write bit at all is read-only even for the superuser.
    if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
        return Status(FileError::ReadOnly, path, {});
    }
    return {};
}

// Carries the extended attributes of `from` (access control lists among
// them) over to the file open at `to`. What the file system refuses stays
// behind quietly: the data matters more than a label.
void CopyExtendedAttributes(const std::string& from, int to) {
    ssize_t n = listxattr(from.c_str(), nullptr, 0);
    if (n <= 0) {
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(n));
    n = listxattr(from.c_str(), names.data(), names.size());
    for (ssize_t i = 0; i < n;) {
        const char* name = names.data() + i;
        i += static_cast<ssize_t>(std::strlen(name)) + 1;
        ssize_t v = getxattr(from.c_str(), name, nullptr, 0);
        if (v < 0) {
            continue;
        }
        std::vector<char> value(static_cast<std::size_t>(v));
        v = getxattr(from.c_str(), name, value.data(), value.size());
        if (v >= 0) {
            (void)fsetxattr(to, name, value.data(), static_cast<std::size_t>(v), 0);
        }
    }
}

// Writes `size` bytes over an open regular file from its start, cuts it to
// that length and syncs it. The space is reserved first, so that a full disk
// refuses before a byte changes. 0 or the error.
int Overwrite(int fd, const char* data, std::size_t size) {
    int err = 0;
    if (size > 0 && (err = posix_fallocate(fd, 0, static_cast<off_t>(size))) == EOPNOTSUPP) {
        err = 0;  // a file system that cannot reserve space
    }
    for (std::size_t done = 0; err == 0 && done < size;) {
        const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    if (err == 0 && (ftruncate(fd, static_cast<off_t>(size)) != 0 || fsync(fd) != 0)) {
        err = errno;
    }
    return err;
}

// The whole content of an open file, read from its start.
bool ReadAll(int fd, std::string& bytes) {
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        return false;
    }
    bytes.assign(static_cast<std::size_t>(st.st_size), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

FileReplacement::~FileReplacement() {
    Discard();
}

void FileReplacement::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

FileStatus FileReplacement::Fail(int err) {
    Discard();
    FileStatus status =
        Status(FileError::WriteFailed, m_path, err == 0 ? "the disk refused the data" : std::strerror(err));
    status.noPrevious = !m_existed;
    return status;
}

FileStatus FileReplacement::Begin(const std::string& path) {
    Discard();
    m_path = path;
    struct stat st {};
    FileStatus checked = CheckTarget(path, m_target, st, m_existed);
    if (!checked.Ok()) {
        return checked;
    }
    if (m_existed) {
        m_mode = st.st_mode & 07777;
        m_uid = st.st_uid;
        m_gid = st.st_gid;
        m_links = static_cast<unsigned>(st.st_nlink);
    }
    const auto slash = m_target.rfind('/');
    const std::string base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    std::string temp = Folder(m_target) + "/." + base + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return Fail(errno);
    }
    m_fd = fd;
    m_temp = temp;
    return {};
}

FileStatus FileReplacement::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Fail(n < 0 ? errno : 0);
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

FileStatus FileReplacement::CheckTail(std::string_view tail) {
    struct stat st {};
    if (fstat(m_fd, &st) != 0) {
        return Fail(errno);
    }
    constexpr std::size_t kLook = 64;
    const auto size = static_cast<std::size_t>(st.st_size);
    std::string last(std::min(size, kLook), '\0');
    if (pread(m_fd, last.data(), last.size(), static_cast<off_t>(size - last.size())) !=
        static_cast<ssize_t>(last.size())) {
        return Fail(errno);
    }
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r' || last.back() == ' ')) {
        last.pop_back();
    }
    if (last.size() < tail.size() || last.compare(last.size() - tail.size(), tail.size(), tail) != 0) {
        // The other writer did not say why; a full disk is the usual reason.
        struct statvfs vfs {};
        return Fail(fstatvfs(m_fd, &vfs) == 0 && vfs.f_bavail == 0 ? ENOSPC : 0);
    }
    return {};
}

FileStatus FileReplacement::CommitInPlace() {
    // A rename would part the file from its other names: its own bytes are
    // rewritten instead, and put back when that fails.
    std::string fresh;
    if (!ReadAll(m_fd, fresh)) {
        return Fail(errno);
    }
    const int fd = ::open(m_target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Fail(errno);
    }
    std::string old;
    struct stat st {};
    int err = fstat(fd, &st) != 0 ? errno : !S_ISREG(st.st_mode) ? EINVAL : ReadAll(fd, old) ? 0 : EIO;
    if (err == 0 && (err = Overwrite(fd, fresh.data(), fresh.size())) != 0) {
        (void)Overwrite(fd, old.data(), old.size());
    }
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        return Fail(err);
    }
    Discard();
    return {};
}

FileStatus FileReplacement::Commit() {
    if (m_existed && m_links > 1) {
        return CommitInPlace();
    }
    if (m_existed) {
        // The owner and group first: a change of owner clears set-id bits.
        if (fchown(m_fd, m_uid, m_gid) != 0) {
            (void)fchown(m_fd, static_cast<uid_t>(-1), m_gid);
        }
        if (fchmod(m_fd, m_mode) != 0) {
            return Fail(errno);
        }
        CopyExtendedAttributes(m_target, m_fd);
    } else if (fchmod(m_fd, NewFileMode()) != 0) {
        return Fail(errno);
    }
    if (fsync(m_fd) != 0) {
        return Fail(errno);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        return Fail(errno);
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        return Fail(errno);
    }
    m_temp.clear();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(Folder(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)fsync(dir);
        ::close(dir);
    }
    return {};
}

FileStatus RewriteFileInPlace(const std::string& path, const void* data, std::size_t size) {
    std::string target;
    struct stat st {};
    bool existed = false;
    FileStatus checked = CheckTarget(path, target, st, existed);
    if (!checked.Ok() || !existed) {
        return checked.Ok() ? Status(FileError::WriteFailed, path, std::strerror(ENOENT)) : checked;
    }
    const int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Status(FileError::WriteFailed, path, std::strerror(errno));
    }
    int err = fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
                  ? EINVAL
                  : Overwrite(fd, static_cast<const char*>(data), size);
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    return err == 0 ? FileStatus{} : Status(FileError::WriteFailed, path, std::strerror(err));
}

FileStatus CreateNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                         const void* data, std::size_t size, std::string& written, int first) {
    written.clear();
    std::string dir = folder.empty() ? "." : folder;
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    const auto name = [&](int n) {
        return (dir == "/" ? "" : dir) + "/" + stem + (n > 1 ? "-" + std::to_string(n) : "") + ext;
    };
    std::string temp = (dir == "/" ? "" : dir) + "/." + stem + ext + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return Status(FileError::WriteFailed, name(first), std::strerror(errno));
    }
    int err = fchmod(fd, NewFileMode()) != 0 ? errno : Overwrite(fd, static_cast<const char*>(data), size);
    if (::close(fd) != 0 && err == 0) {
        err = errno;
    }
    // link() takes a name only when nothing, not even a dangling link, stands
    // there; so does O_CREAT | O_EXCL where a file system has no hard links.
    int n = first;
    for (; err == 0 && n < first + 100000; ++n) {
        const std::string target = name(n);
        if (::link(temp.c_str(), target.c_str()) == 0) {
            written = target;
            break;
        }
        if (errno == EEXIST) {
            continue;
        }
        if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) {
            err = errno;
            break;
        }
        const int out =
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NewFileMode());
        if (out < 0) {
            if (errno == EEXIST) {
                continue;
            }
            err = errno;
            break;
        }
        err = Overwrite(out, static_cast<const char*>(data), size);
        if (::close(out) != 0 && err == 0) {
            err = errno;
        }
        if (err != 0) {
            ::unlink(target.c_str());
        } else {
            written = target;
        }
        break;
    }
    ::unlink(temp.c_str());
    if (err == 0 && written.empty()) {
        err = EEXIST;
    }
    if (err != 0) {
        return Status(FileError::WriteFailed, name(first), std::strerror(err));
    }
    const int folderFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        (void)fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

FileStatus CheckReplaceable(const std::string& path) {
    std::string target;
    struct stat st {};
    bool existed = false;
    FileStatus checked = CheckTarget(path, target, st, existed);
    if (!checked.Ok()) {
        return checked;
    }
    const std::string folder = Folder(target);
    struct stat dir {};
    if (stat(folder.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode)) {
        FileStatus status = Status(FileError::WriteFailed, path, "its folder does not exist");
        status.noPrevious = true;
        return status;
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        FileStatus status = Status(FileError::WriteFailed, path, "its folder is not writable");
        status.noPrevious = !existed;
        return status;
    }
    return {};
}

FileStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
    // Look before opening: opening a device or FIFO can wait or have effects.
    std::string target = path;
    std::string reason;
    if (!FollowLinks(target, reason)) {
        return Status(FileError::CannotOpen, path, reason);
    }
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return Status(FileError::CannotOpen, path, std::strerror(errno));
    }
    FileStatus refusal = KindRefusal(st, path, FileError::CannotOpen);
    if (!refusal.Ok()) {
        return refusal;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return Status(FileError::CannotOpen, path, std::strerror(errno));
    }
    // And again after: the name may have been swapped in between.
    if (fstat(fd, &st) != 0 || !(refusal = KindRefusal(st, path, FileError::CannotOpen)).Ok()) {
        ::close(fd);
        return refusal.Ok() ? Status(FileError::CannotOpen, path, std::strerror(errno)) : refusal;
    }
    bytes.clear();
    constexpr std::size_t kChunk = 64 * 1024;
    while (bytes.size() < limit) {
        const std::size_t start = bytes.size();
        bytes.resize(start + std::min(kChunk, limit - start));
        const ssize_t n = ::read(fd, bytes.data() + start, bytes.size() - start);
        if (n < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            bytes.clear();
            return Status(FileError::ReadFailed, path, std::strerror(err));
        }
        bytes.resize(start + static_cast<std::size_t>(n));
        if (n == 0) {
            break;
        }
    }
    ::close(fd);
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace quorim
