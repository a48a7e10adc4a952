#include "image/szt_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "app/utf8_path.h"

namespace quorim {

namespace fs = std::filesystem;

std::string FileStatus::Message() const {
    std::string text;
    switch (error) {
        case FileError::None:
            return {};
        case FileError::CannotOpen:
            text = "Cannot open \"" + path + "\"";
            break;
        case FileError::TooShort:
            text = "\"" + path + "\" is not a radio data file: it holds " + std::to_string(size) +
                   " bytes, a data file holds " + std::to_string(kImageSize);
            break;
        case FileError::ReadFailed:
            text = "Cannot read \"" + path + "\"";
            break;
        case FileError::WriteFailed:
            text = "Cannot save \"" + path + "\"; the previous file is unchanged";
            break;
    }
    if (!detail.empty()) {
        text += " (" + detail + ")";
    }
    return text;
}

FileStatus LoadSztFile(const std::string& path, MemoryImage& image) {
    FileStatus status;
    status.path = path;
    std::error_code ec;
    if (fs::is_directory(Utf8Path(path), ec)) {
        status.error = FileError::CannotOpen;
        status.detail = "it is a folder";
        return status;
    }
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        status.error = FileError::CannotOpen;
        status.detail = std::strerror(errno);
        return status;
    }
    MemoryImage loaded{};
    in.read(reinterpret_cast<char*>(loaded.data()), static_cast<std::streamsize>(loaded.size()));
    const auto got = static_cast<std::uintmax_t>(in.gcount());
    if (got < kImageSize) {
        if (in.bad()) {
            status.error = FileError::ReadFailed;
            return status;
        }
        status.error = FileError::TooShort;
        status.size = got;
        return status;
    }
    image = loaded;
    return status;
}

FileStatus WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
    FileStatus status;
    status.path = path;
    const fs::path target = Utf8Path(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        status.error = FileError::WriteFailed;
        status.detail = "it is a folder";
        return status;
    }

    std::random_device rd;
    fs::path temp = target;
    temp += ".tmp-" + std::to_string(rd() % 1000000);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            status.error = FileError::WriteFailed;
            status.detail = std::strerror(errno);
            return status;
        }
        out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.flush();
        if (!out) {
            status.error = FileError::WriteFailed;
            status.detail = "the disk refused the data";
        }
    }
    if (status.Ok()) {
        fs::rename(temp, target, ec);
        if (ec) {
            status.error = FileError::WriteFailed;
            status.detail = ec.message();
        }
    }
    if (!status.Ok()) {
        fs::remove(temp, ec);
    }
    return status;
}

FileStatus SaveSztFile(const std::string& path, const MemoryImage& image) {
    return WriteFileAtomically(path, image.data(), image.size());
}

}  // namespace quorim
