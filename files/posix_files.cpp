// The file calls on POSIX (see files/platform_files.h).
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "files/platform_files.h"

namespace quorim::platform {

namespace {

int ErrorOr0(bool ok) {
    return ok ? 0 : errno;
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    return S_ISFIFO(mode) ? FileKind::Fifo : S_ISSOCK(mode) ? FileKind::Socket : FileKind::Device;
}

void Describe(const struct stat& st, FileInfo& info) {
    info.kind = KindOf(st.st_mode);
    info.links = static_cast<unsigned>(st.st_nlink);
    info.mode = st.st_mode & 07777;
    info.uid = st.st_uid;
    info.gid = st.st_gid;
}

// As the kernel's protected_symlinks: a link in a sticky folder that anyone
// may write to is followed only when it belongs to the folder's owner or to
// the user (else another user could point a planted link at our files).
bool TrustedLink(const std::string& link, const struct stat& st) {
    struct stat dir {};
    if (stat(FolderOf(link).c_str(), &dir) != 0) {
        return false;
    }
    const bool shared = (dir.st_mode & S_ISVTX) != 0 && (dir.st_mode & S_IWOTH) != 0;
    return !shared || st.st_uid == dir.st_uid || st.st_uid == geteuid();
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
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

}  // namespace

int FollowLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return 0;
        }
        if (!TrustedLink(path, st)) {
            return kUntrustedLink;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            return errno;
        }
        target.resize(static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return ELOOP;
}

int Inspect(const std::string& path, FileInfo& info) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return errno;
    }
    Describe(st, info);
    info.writable = (st.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
    return 0;
}

int InspectOpen(int fd, FileInfo& info) {
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        return errno;
    }
    Describe(st, info);
    return 0;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string dir = folder.empty() ? "." : folder;
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return (dir == "/" ? "" : dir) + "/" + name;
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderWritable(const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

int CreateTemporary(std::string& pattern, int& fd) {
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    return ErrorOr0(fd >= 0);
}

int CreateExclusive(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NewFileMode());
    return ErrorOr0(fd >= 0);
}

int OpenForUpdate(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    return ErrorOr0(fd >= 0);
}

int OpenForRead(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    return ErrorOr0(fd >= 0);
}

int WriteSome(int fd, const char* data, std::size_t size, std::size_t& done) {
    ssize_t n = -1;
    do {
        n = ::write(fd, data, size);
    } while (n < 0 && errno == EINTR);
    done = n > 0 ? static_cast<std::size_t>(n) : 0;
    return ErrorOr0(n >= 0);
}

int ReadSome(int fd, char* data, std::size_t size, std::size_t& done) {
    ssize_t n = -1;
    do {
        n = ::read(fd, data, size);
    } while (n < 0 && errno == EINTR);
    done = n > 0 ? static_cast<std::size_t>(n) : 0;
    return ErrorOr0(n >= 0);
}

int SeekTo(int fd, std::uint64_t offset) {
    return ErrorOr0(lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0);
}

int SizeOf(int fd, std::uint64_t& size) {
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        return errno;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

int Reserve(int fd, std::uint64_t size) {
    const int err = posix_fallocate(fd, 0, static_cast<off_t>(size));
    return err == EOPNOTSUPP ? 0 : err;  // a file system that cannot reserve space
}

int Truncate(int fd, std::uint64_t size) {
    return ErrorOr0(ftruncate(fd, static_cast<off_t>(size)) == 0);
}

int Sync(int fd) {
    return ErrorOr0(fsync(fd) == 0);
}

int Close(int fd) {
    return ErrorOr0(::close(fd) == 0);
}

bool DiskFull(int fd) {
    struct statvfs vfs {};
    return fstatvfs(fd, &vfs) == 0 && vfs.f_bavail == 0;
}

int SetNewFileMode(int fd) {
    return ErrorOr0(fchmod(fd, NewFileMode()) == 0);
}

int KeepAttributes(int fd, const FileInfo& old, const std::string& oldPath) {
    // The owner and group first: a change of owner clears set-id bits.
    if (fchown(fd, old.uid, old.gid) != 0) {
        (void)fchown(fd, static_cast<uid_t>(-1), old.gid);
    }
    if (fchmod(fd, old.mode) != 0) {
        return errno;
    }
    CopyExtendedAttributes(oldPath, fd);
    return 0;
}

int Replace(const std::string& from, const std::string& to) {
    return ErrorOr0(::rename(from.c_str(), to.c_str()) == 0);
}

int ClaimName(const std::string& from, const std::string& to) {
    // link() takes a name only when nothing, not even a dangling link,
    // stands there.
    if (::link(from.c_str(), to.c_str()) == 0) {
        return 0;
    }
    const int err = errno;
    return err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == EMLINK || err == ENOSYS ? ENOTSUP
                                                                                                 : err;
}

int Remove(const std::string& path) {
    return ErrorOr0(::unlink(path.c_str()) == 0);
}

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)fsync(dir);
        ::close(dir);
    }
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string NameForWriter(int fd, const std::string&) {
    return "/proc/self/fd/" + std::to_string(fd);
}

int ModifiedTime(const std::string& path, long long& ns) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return errno;
    }
    ns = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return 0;
}

}  // namespace quorim::platform
