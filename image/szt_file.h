#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

// Why a file that loads may still not be a radio's memory image: it opens
// (with its first 3216 bytes), is told at once, and is never written to a
// radio without the user's say.
enum class ImageDoubt {
    None,
    NotImageSize,      // longer than the 3216 bytes of an image
    UnknownModelCode,  // byte 3 is neither '7' nor '8'
    CsvText,           // a line of comma-separated text
    PdfDocument,       // "%PDF"
    ProgramFile,       // an executable: ELF, MZ, "#!"
};

// Looks at a file's first bytes (at most 3216 of them); `longer` when the
// file goes on past them. The plainest reason first.
ImageDoubt ClassifyImageFile(std::string_view bytes, bool longer);

struct FileStatus {
    FileError error = FileError::None;
    std::string path;
    std::uintmax_t size = 0;  // TooShort: the file's length
    std::string detail;       // the operating system's reason, where there is one
    // A file that loaded: what makes it doubtful as a memory image.
    ImageDoubt doubt = ImageDoubt::None;

    bool Ok() const { return error == FileError::None; }
    // One English sentence naming the file and what went wrong.
    std::string Message() const;
    // One English sentence naming the file and its doubt; empty without one.
    std::string DoubtMessage() const;
};

FileStatus LoadSztFile(const std::string& path, MemoryImage& image);
// Saves by a safe replace (image/safe_file.h): a failed save never destroys
// the previous file and never leaves a partial one behind.
FileStatus SaveSztFile(const std::string& path, const MemoryImage& image);

// Writes any bytes by the same safe replace.
FileStatus WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace quorim
