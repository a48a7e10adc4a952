#pragma once

#include <cstdint>
#include <string>

namespace quorim {

// How a read or a write of a file ended.
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

}  // namespace quorim
