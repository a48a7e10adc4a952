// The file calls on Windows: the same contract as the POSIX ones, with the
// means Windows has. A replace writes a temporary file beside the target,
// flushes it to the disk and moves it over the target in one step
// (MoveFileExW, write-through); a read refuses anything but a regular file.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "base/utf8_path.h"
#include "files/safe_file.h"

namespace quorim {

namespace fs = std::filesystem;

namespace {

FileStatus Status(FileError error, const std::string& path, std::string detail) {
    FileStatus status;
    status.error = error;
    status.path = path;
    status.detail = std::move(detail);
    return status;
}

// Refuses what is there and is not a regular file, or cannot be written.
FileStatus CheckTarget(const std::string& path, bool& existed) {
    std::error_code ec;
    const fs::path target = Utf8Path(path);
    const fs::file_status st = fs::status(target, ec);
    existed = fs::exists(st);
    if (!existed) {
        return {};
    }
    if (fs::is_directory(st)) {
        return Status(FileError::WriteFailed, path, "it is a folder");
    }
    if (!fs::is_regular_file(st)) {
        return Status(FileError::NotAFile, path, "");
    }
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return Status(FileError::ReadOnly, path, "");
    }
    return {};
}

}  // namespace

FileReplacement::~FileReplacement() {
    Discard();
}

void FileReplacement::Discard() {
    if (m_fd >= 0) {
        _close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        std::error_code ec;
        fs::remove(Utf8Path(m_temp), ec);
        m_temp.clear();
    }
}

FileStatus FileReplacement::Fail(int err) {
    Discard();
    FileStatus status = Status(FileError::WriteFailed, m_path, std::strerror(err));
    status.noPrevious = !m_existed;
    return status;
}

FileStatus FileReplacement::Begin(const std::string& path) {
    m_path = path;
    m_target = path;
    FileStatus status = CheckTarget(path, m_existed);
    if (!status.Ok()) {
        return status;
    }
    std::random_device rd;
    for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
        m_temp = path + ".tmp-" + std::to_string(rd() % 1000000);
        m_fd = _wopen(Utf8Path(m_temp).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                      _S_IREAD | _S_IWRITE);
        if (m_fd < 0 && errno != EEXIST) {
            const int err = errno;
            m_temp.clear();
            return Fail(err);
        }
    }
    if (m_fd < 0) {
        m_temp.clear();
        return Fail(EEXIST);
    }
    return {};
}

FileStatus FileReplacement::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 20));
        const int n = _write(m_fd, p, chunk);
        if (n <= 0) {
            return Fail(n < 0 ? errno : ENOSPC);
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

FileStatus FileReplacement::CheckTail(std::string_view tail) {
    std::ifstream in(Utf8Path(m_temp), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r' || bytes.back() == ' ')) {
        bytes.pop_back();
    }
    if (bytes.size() < tail.size() || bytes.compare(bytes.size() - tail.size(), tail.size(), tail) != 0) {
        return Fail(ENOSPC);
    }
    return {};
}

FileStatus FileReplacement::Commit() {
    if (_commit(m_fd) != 0) {
        return Fail(errno);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (_close(fd) != 0) {
        return Fail(errno);
    }
    if (!MoveFileExW(Utf8Path(m_temp).c_str(), Utf8Path(m_target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return Fail(EACCES);
    }
    m_temp.clear();
    return {};
}

FileStatus RewriteFileInPlace(const std::string& path, const void* data, std::size_t size) {
    bool existed = false;
    FileStatus status = CheckTarget(path, existed);
    if (!status.Ok()) {
        return status;
    }
    std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.flush();
    return out ? FileStatus{} : Status(FileError::WriteFailed, path, "the disk refused the data");
}

FileStatus CreateNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                         const void* data, std::size_t size, std::string& written, int first) {
    written.clear();
    const auto name = [&](int n) {
        return Utf8Text(Utf8Path(folder) / Utf8Path(stem + (n > 1 ? "-" + std::to_string(n) : "") + ext));
    };
    std::random_device rd;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = name(first) + ".tmp-" + std::to_string(rd() % 1000000);
        fd = _wopen(Utf8Path(temp).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    }
    if (fd < 0) {
        return Status(FileError::WriteFailed, name(first), std::strerror(errno));
    }
    const char* p = static_cast<const char*>(data);
    int err = 0;
    for (std::size_t left = size; left > 0 && err == 0;) {
        const int n = _write(fd, p, static_cast<unsigned>(std::min<std::size_t>(left, 1u << 20)));
        if (n <= 0) {
            err = n < 0 ? errno : ENOSPC;
        } else {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (err == 0 && _commit(fd) != 0) {
        err = errno;
    }
    if (_close(fd) != 0 && err == 0) {
        err = errno;
    }
    // Without MOVEFILE_REPLACE_EXISTING the move takes a name only when
    // nothing stands there.
    for (int n = first; err == 0 && n < first + 100000; ++n) {
        const std::string target = name(n);
        if (MoveFileExW(Utf8Path(temp).c_str(), Utf8Path(target).c_str(), MOVEFILE_WRITE_THROUGH)) {
            written = target;
            return {};
        }
        const DWORD why = GetLastError();
        if (why != ERROR_ALREADY_EXISTS && why != ERROR_FILE_EXISTS) {
            err = EACCES;
        }
    }
    std::error_code ec;
    fs::remove(Utf8Path(temp), ec);
    return Status(FileError::WriteFailed, name(first), std::strerror(err != 0 ? err : EEXIST));
}

FileStatus CheckReplaceable(const std::string& path) {
    bool existed = false;
    FileStatus status = CheckTarget(path, existed);
    if (!status.Ok()) {
        return status;
    }
    std::error_code ec;
    fs::path folder = Utf8Path(path).parent_path();
    if (folder.empty()) {
        folder = fs::current_path(ec);
    }
    if (!fs::is_directory(folder, ec)) {
        FileStatus status = Status(FileError::WriteFailed, path, "its folder does not exist");
        status.noPrevious = true;
        return status;
    }
    return {};
}

FileStatus ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
    std::error_code ec;
    const fs::file_status st = fs::status(Utf8Path(path), ec);
    if (!fs::exists(st) || fs::is_directory(st)) {
        return Status(FileError::CannotOpen, path, fs::is_directory(st) ? "it is a folder" : "no such file");
    }
    if (!fs::is_regular_file(st)) {
        return Status(FileError::NotAFile, path, "");
    }
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        return Status(FileError::CannotOpen, path, std::strerror(errno));
    }
    // In pieces: the limit may be far larger than the file (or memory).
    bytes.clear();
    char piece[65536];
    while (bytes.size() < limit && in) {
        in.read(piece, static_cast<std::streamsize>(std::min(sizeof piece, limit - bytes.size())));
        bytes.append(piece, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return Status(FileError::ReadFailed, path, "");
    }
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(Utf8Path(a), Utf8Path(b), ec) && !ec;
}

}  // namespace quorim
