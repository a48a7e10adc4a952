#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
    // A file that loaded, or one too short to be a memory image: what makes
    // it doubtful as one (what it is instead).
    ImageDoubt doubt = ImageDoubt::None;
    // WriteFailed: nothing stood at the name, so there was no previous file
    // to keep.
    bool noPrevious = false;

    bool Ok() const { return error == FileError::None; }
    // One English sentence naming the file and what went wrong.
    std::string Message() const;
    // One English sentence naming the file and its doubt; empty without one.
    std::string DoubtMessage() const;
};

}  // namespace quorim
