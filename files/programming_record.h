#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "image/memory_image.h"

namespace quorim {

// The programming record (`--log FILE`): one line of comma-separated text per
// radio read or written, appended to a file that many threads and programs
// may share. Each line is written whole with one call, so lines never mix.
struct RecordEntry {
    std::chrono::system_clock::time_point start;  // when the radio's work began
    std::string operation;                        // "read", "write" or "restore"
    std::string port;                             // as given: "COM1", "/dev/ttyUSB0"
    std::string usbSerial;                        // the adapter's USB serial number, where known
    std::optional<bool> sixteen;                  // the radio's model, where known
    std::string before;                           // RecordDigest of the memory before, where known
    std::string after;                            // ... and after
    std::optional<bool> verified;                 // writes: read back and compared, or not
    std::string result;                           // "written", "verified", "failed: …"
    long long durationMs = 0;
};

inline constexpr const char* kRecordHeader =
    "time_utc,operation,port,usb_serial,model,sha256_before,sha256_after,verified,result,duration_ms\n";

// A line stays below the 4096 bytes a system writes to a file in one piece
// (PIPE_BUF); long fields are cut (at a character's start).
inline constexpr std::size_t kMaxRecordLine = 4000;

// The line for one radio, ending in "\n":
// 2026-12-07T21:48:16.123Z,write,COM1,A50285BI,QZ - 16,<64 hex>,<64 hex>,yes,verified,7316
std::string RecordLine(const RecordEntry& entry);

// The SHA-256 of the memory a write sets: image bytes 0-983 for the
// 16-channel model, the whole image for the 199-channel model. A read hashes
// the same range, so a radio read back gives the digest it was written with.
std::string RecordDigest(const MemoryImage& image, bool sixteen);

// Appends `line` to the record at `path` with one write, the header first
// when the file is new or empty (both in the same write); regular files only,
// never a read-only one (even for root). A line the disk has no room for is
// taken back whole (the file cut to its old length), and a record this call
// made is removed again when nothing could be written to it.
// Empty when done, else an English sentence why not. Safe from many threads
// and programs at once. Platform layer.
std::string AppendRecordLine(const std::string& path, const std::string& line);

// The rules the platform twins of AppendRecordLine share: what one write
// appends (the header first to an empty file), and the sentence for a
// failure with its reason.
std::string RecordAppendText(const std::string& line, bool empty);
std::string RecordFailure(const std::string& path, const std::string& reason);
inline constexpr const char* kRecordNotAFile = "it is not a regular file";
inline constexpr const char* kRecordDiskFull = "the disk is full";
inline constexpr const char* kRecordReadOnly = "it is read-only";

}  // namespace quorim
