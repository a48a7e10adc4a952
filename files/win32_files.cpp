// The file calls on Windows (see files/platform_files.h), with the means
// Windows has: CRT descriptors, a flush to the disk by _commit, a move over
// the target in one step (MoveFileExW, write-through). Windows follows
// symbolic links itself and keeps no POSIX mode or owner.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/utf8_path.h"
#include "files/platform_files.h"

namespace quorim::platform {

namespace fs = std::filesystem;

namespace {

int ErrorOr0(bool ok) {
    return ok ? 0 : errno;
}

// The errno value closest to a Windows error.
int ErrnoOf(DWORD err) {
    switch (err) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EACCES;
    }
}

FileKind KindOf(unsigned short mode) {
    if ((mode & _S_IFMT) == _S_IFREG) {
        return FileKind::Regular;
    }
    if ((mode & _S_IFMT) == _S_IFDIR) {
        return FileKind::Folder;
    }
    return (mode & _S_IFMT) == _S_IFIFO ? FileKind::Fifo : FileKind::Device;
}

// How many names the file goes by (the CRT always says 1).
unsigned LinksOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION about{};
    return file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &about) ? about.nNumberOfLinks
                                                                                    : 1;
}

}  // namespace

int FollowLinks(std::string&) {
    return 0;
}

int Inspect(const std::string& path, FileInfo& info) {
    std::error_code ec;
    const fs::file_status st = fs::status(Utf8Path(path), ec);
    if (st.type() == fs::file_type::not_found || st.type() == fs::file_type::none) {
        return ENOENT;
    }
    info.kind = fs::is_regular_file(st) ? FileKind::Regular
                : fs::is_directory(st)  ? FileKind::Folder
                : fs::is_fifo(st)       ? FileKind::Fifo
                : fs::is_socket(st)     ? FileKind::Socket
                                        : FileKind::Device;
    info.writable = (st.permissions() & fs::perms::owner_write) != fs::perms::none;
    info.links = 1;
    if (info.kind == FileKind::Regular) {
        const HANDLE file =
            CreateFileW(Utf8Path(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        info.links = LinksOf(file);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
    return 0;
}

int InspectOpen(int fd, FileInfo& info) {
    struct _stat64 st {};
    if (_fstat64(fd, &st) != 0) {
        return errno;
    }
    info.kind = KindOf(st.st_mode);
    info.links = LinksOf(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
    return 0;
}

std::string FolderOf(const std::string& path) {
    const fs::path folder = Utf8Path(path).parent_path();
    return folder.empty() ? "." : Utf8Text(folder);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return Utf8Text(Utf8Path(folder.empty() ? "." : folder) / Utf8Path(name));
}

std::string NameOf(const std::string& path) {
    return Utf8Text(Utf8Path(path).filename());
}

bool FolderWritable(const std::string&) {
    return true;  // the access control lists answer only to a try
}

int CreateTemporary(std::string& pattern, int& fd) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device rd;
    const std::size_t at = pattern.size() - 6;
    for (int attempt = 0; attempt < 64; ++attempt) {
        for (std::size_t i = at; i < pattern.size(); ++i) {
            pattern[i] = kLetters[rd() % (sizeof kLetters - 1)];
        }
        fd = _wopen(Utf8Path(pattern).c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST) {
            return ErrorOr0(fd >= 0);
        }
    }
    return EEXIST;
}

int CreateExclusive(const std::string& path, int& fd) {
    fd = _wopen(Utf8Path(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
    return ErrorOr0(fd >= 0);
}

int OpenForUpdate(const std::string& path, int& fd) {
    fd = _wopen(Utf8Path(path).c_str(), _O_RDWR | _O_BINARY | _O_NOINHERIT);
    return ErrorOr0(fd >= 0);
}

int OpenForRead(const std::string& path, int& fd) {
    fd = _wopen(Utf8Path(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    return ErrorOr0(fd >= 0);
}

int WriteSome(int fd, const char* data, std::size_t size, std::size_t& done) {
    const int n = _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 20)));
    done = n > 0 ? static_cast<std::size_t>(n) : 0;
    return ErrorOr0(n >= 0);
}

int ReadSome(int fd, char* data, std::size_t size, std::size_t& done) {
    const int n = _read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 20)));
    done = n > 0 ? static_cast<std::size_t>(n) : 0;
    return ErrorOr0(n >= 0);
}

int SeekTo(int fd, std::uint64_t offset) {
    return ErrorOr0(_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) >= 0);
}

int SizeOf(int fd, std::uint64_t& size) {
    const __int64 n = _filelengthi64(fd);
    size = n > 0 ? static_cast<std::uint64_t>(n) : 0;
    return ErrorOr0(n >= 0);
}

int Reserve(int fd, std::uint64_t size) {
    // A longer file is its space taken; a shorter one needs none.
    std::uint64_t now = 0;
    if (const int err = SizeOf(fd, now); err != 0 || now >= size) {
        return err;
    }
    return _chsize_s(fd, static_cast<__int64>(size));
}

int Truncate(int fd, std::uint64_t size) {
    return _chsize_s(fd, static_cast<__int64>(size));
}

int Sync(int fd) {
    return ErrorOr0(_commit(fd) == 0);
}

int Close(int fd) {
    return ErrorOr0(_close(fd) == 0);
}

bool DiskFull(int fd) {
    std::wstring name(MAX_PATH, L'\0');
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    const DWORD n = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), 0);
    if (n == 0 || n >= name.size()) {
        return false;
    }
    name.resize(n);
    const std::wstring folder = fs::path(name).parent_path().wstring();
    ULARGE_INTEGER available{};
    return GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart == 0;
}

int SetNewFileMode(int) {
    return 0;
}

int KeepAttributes(int, const FileInfo&, const std::string&) {
    return 0;
}

int Replace(const std::string& from, const std::string& to) {
    if (MoveFileExW(Utf8Path(from).c_str(), Utf8Path(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return ErrnoOf(GetLastError());
}

int ClaimName(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move takes a name only when
    // nothing stands there.
    if (MoveFileExW(Utf8Path(from).c_str(), Utf8Path(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return ErrnoOf(GetLastError());
}

int Remove(const std::string& path) {
    std::error_code ec;
    return fs::remove(Utf8Path(path), ec) ? 0 : ENOENT;
}

void SyncFolder(const std::string&) {}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(Utf8Path(a), Utf8Path(b), ec) && !ec;
}

std::string NameForWriter(int, const std::string& temp) {
    return temp;
}

int ModifiedTime(const std::string& path, long long& ns) {
    WIN32_FILE_ATTRIBUTE_DATA about{};
    if (!GetFileAttributesExW(Utf8Path(path).c_str(), GetFileExInfoStandard, &about)) {
        return ErrnoOf(GetLastError());
    }
    // 100 ns ticks since 1601.
    constexpr long long kTicksTo1970 = 116444736000000000LL;
    const long long ticks = (static_cast<long long>(about.ftLastWriteTime.dwHighDateTime) << 32) |
                            about.ftLastWriteTime.dwLowDateTime;
    ns = (ticks - kTicksTo1970) * 100;
    return 0;
}

}  // namespace quorim::platform
