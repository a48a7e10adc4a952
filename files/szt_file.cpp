#include "files/szt_file.h"

#include <cstring>

#include "files/safe_file.h"
#include "text/ascii_text.h"

namespace quorim {

namespace {

bool StartsWith(std::string_view bytes, std::string_view head) {
    return bytes.substr(0, head.size()) == head;
}

// A first line of printable text with a comma in it, ended within the bytes
// looked at: a spreadsheet's header row, not memory.
bool IsCsvLine(std::string_view bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const std::size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos || end == 0) {
        return false;
    }
    const std::string_view line = bytes.substr(0, end);
    // A control character or a byte outside UTF-8 comes out escaped.
    return line.find(',') != std::string_view::npos && EscapeControls(line) == line;
}

}  // namespace

ImageDoubt ClassifyImageFile(std::string_view bytes, bool longer) {
    // An image's first two bytes are free: only a file without a model code
    // is judged by them.
    const bool knownCode =
        bytes.size() > kModelCodeOffset && (bytes[kModelCodeOffset] == static_cast<char>(kModelCode16) ||
                                            bytes[kModelCodeOffset] == static_cast<char>(kModelCode199));
    if (StartsWith(bytes, "%PDF")) {
        return ImageDoubt::PdfDocument;
    }
    if (StartsWith(bytes,
                   "\x7F"
                   "ELF") ||
        (!knownCode && (StartsWith(bytes, "MZ") || StartsWith(bytes, "#!")))) {
        return ImageDoubt::ProgramFile;
    }
    if (!knownCode && IsCsvLine(bytes)) {
        return ImageDoubt::CsvText;
    }
    if (longer) {
        return ImageDoubt::NotImageSize;
    }
    return knownCode ? ImageDoubt::None : ImageDoubt::UnknownModelCode;
}

std::string FileStatus::DoubtMessage() const {
    const char* reason = "";
    switch (doubt) {
        case ImageDoubt::None:
            return {};
        case ImageDoubt::NotImageSize:
            reason = "it is longer than the 3216 bytes of an image";
            break;
        case ImageDoubt::UnknownModelCode:
            reason = "its model code (byte 3) is neither '7' nor '8'";
            break;
        case ImageDoubt::CsvText:
            reason = "it is comma-separated text";
            break;
        case ImageDoubt::PdfDocument:
            reason = "it is a PDF document";
            break;
        case ImageDoubt::ProgramFile:
            reason = "it is a program";
            break;
    }
    return Quoted(path) + " does not look like a radio's memory image: " + reason;
}

std::string FileStatus::Message() const {
    std::string text;
    switch (error) {
        case FileError::None:
            return {};
        case FileError::CannotOpen:
            text = "Cannot open " + Quoted(path);
            break;
        case FileError::TooShort:
            text = Quoted(path) + " is not a radio data file: it holds " + std::to_string(size) +
                   " bytes, a data file holds " + std::to_string(kImageSize);
            break;
        case FileError::ReadFailed:
            text = "Cannot read " + Quoted(path);
            break;
        case FileError::WriteFailed:
            text = "Cannot save " + Quoted(path) + (noPrevious ? "" : "; the previous file is unchanged");
            break;
        case FileError::NotAFile:
            return Quoted(path) + " is " + detail + ", not a regular file; it was left as it is";
        case FileError::ReadOnly:
            return Quoted(path) + " is read-only; it was left as it is";
    }
    if (!detail.empty()) {
        text += " (" + detail + ")";
    }
    return text;
}

FileStatus LoadSztFile(const std::string& path, MemoryImage& image) {
    std::string bytes;
    // One byte more tells a longer file.
    FileStatus status = ReadRegularFile(path, kImageSize + 1, bytes);
    if (!status.Ok()) {
        return status;
    }
    if (bytes.size() < kImageSize) {
        status.path = path;
        status.error = FileError::TooShort;
        status.size = bytes.size();
        // What it may be instead (a CSV the window offers to import).
        status.doubt = ClassifyImageFile(bytes, false);
        return status;
    }
    status.path = path;
    status.doubt =
        ClassifyImageFile(std::string_view(bytes).substr(0, kImageSize), bytes.size() > kImageSize);
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
