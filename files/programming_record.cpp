#include "files/programming_record.h"

#include <span>
#include <string_view>

#include "files/read_backup.h"
#include "image/sha256.h"

namespace quorim {

namespace {

// A text cut to at most `limit` bytes without splitting a UTF-8 character;
// line breaks become blanks so that the record keeps one line per radio.
std::string Field(std::string text, std::size_t limit) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (text.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        text.resize(cut);
    }
    // Quoted when a comma, a quote or blanks at either end would otherwise
    // change the fields; a spreadsheet takes text starting with = + - @ as a
    // formula (also after a tab it drops), so such a text is quoted and led
    // by an apostrophe.
    const bool formula = !text.empty() && std::string_view("=+-@\t").find(text[0]) != std::string_view::npos;
    if (formula) {
        text.insert(0, "'");
    }
    if (formula || text.find_first_of(",\"") != std::string::npos ||
        (!text.empty() && (text.front() == ' ' || text.back() == ' '))) {
        std::string quoted = "\"";
        for (const char c : text) {
            quoted += c;
            if (c == '"') {
                quoted += '"';
            }
        }
        return quoted + "\"";
    }
    return text;
}

}  // namespace

std::string RecordLine(const RecordEntry& e) {
    // "20261207-214816-123Z" -> "2026-12-07T21:48:16.123Z"
    const std::string s = BackupTimeStamp(e.start);
    const std::string time = s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + "T" +
                             s.substr(9, 2) + ":" + s.substr(11, 2) + ":" + s.substr(13, 2) + "." +
                             s.substr(16, 3) + "Z";
    const char* model = !e.sixteen ? "" : *e.sixteen ? "QZ - 16" : "QZ - 199";
    const char* verified = !e.verified ? "" : *e.verified ? "yes" : "no";
    return time + "," + Field(e.operation, 16) + "," + Field(e.port, 256) + "," + Field(e.usbSerial, 128) +
           "," + model + "," + Field(e.before, 64) + "," + Field(e.after, 64) + "," + verified + "," +
           Field(e.result, 768) + "," + std::to_string(e.durationMs) + "\n";
}

std::string RecordDigest(const MemoryImage& image, bool sixteen) {
    const std::size_t size = sixteen ? 984 : kImageSize;
    return Sha256Hex(std::span<const std::uint8_t>(image.data(), size));
}

std::string RecordAppendText(const std::string& line, bool empty) {
    return empty ? kRecordHeader + line : line;
}

std::string RecordFailure(const std::string& path, const std::string& reason) {
    return "The record \"" + path + "\" could not be written (" + reason + ")";
}

}  // namespace quorim
