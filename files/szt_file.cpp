#include "files/szt_file.h"

#include <cstring>

#include "files/safe_file.h"

namespace quorim {

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
        case FileError::NotAFile:
            return "\"" + path + "\" is " + detail + ", not a regular file; it was left as it is";
        case FileError::ReadOnly:
            return "\"" + path + "\" is read-only; it was left as it is";
    }
    if (!detail.empty()) {
        text += " (" + detail + ")";
    }
    return text;
}

FileStatus LoadSztFile(const std::string& path, MemoryImage& image) {
    std::string bytes;
    FileStatus status = ReadRegularFile(path, kImageSize, bytes);
    if (!status.Ok()) {
        return status;
    }
    if (bytes.size() < kImageSize) {
        status.path = path;
        status.error = FileError::TooShort;
        status.size = bytes.size();
        return status;
    }
    std::memcpy(image.data(), bytes.data(), kImageSize);
    return status;
}

FileStatus WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
    FileReplacement file;
    FileStatus status = file.Begin(path);
    if (status.Ok()) {
        status = file.Write(data, size);
    }
    return status.Ok() ? file.Commit() : status;
}

FileStatus SaveSztFile(const std::string& path, const MemoryImage& image) {
    return WriteFileAtomically(path, image.data(), image.size());
}

}  // namespace quorim
