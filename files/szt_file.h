#pragma once

#include <cstdint>
#include <string>

#include "image/memory_image.h"

namespace quorim {

// A .szt data file is exactly the 3216 bytes of the image: no header, no
// checksum. A longer file loads its first 3216 bytes; a shorter one is refused.
enum class FileError {
    None,
    CannotOpen,   // missing, unreadable, a directory
    TooShort,     // fewer than 3216 bytes
    ReadFailed,   // an I/O error while reading
    WriteFailed,  // the file could not be written; the old file is untouched
    NotAFile,     // a device, FIFO or socket: never read as data, never replaced
    ReadOnly,     // a file without write permission: never replaced
};

struct FileStatus {
    FileError error = FileError::None;
    std::string path;
    std::uintmax_t size = 0;  // TooShort: the file's length
    std::string detail;       // the operating system's reason, where there is one

    bool Ok() const { return error == FileError::None; }
    // One English sentence naming the file and what went wrong.
    std::string Message() const;
};

FileStatus LoadSztFile(const std::string& path, MemoryImage& image);
// Saves by a safe replace (files/safe_file.h): a failed save never destroys
// the previous file and never leaves a partial one behind.
FileStatus SaveSztFile(const std::string& path, const MemoryImage& image);

// Writes any bytes by the same safe replace.
FileStatus WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace quorim
