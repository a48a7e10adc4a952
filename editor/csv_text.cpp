#include "editor/csv_text.h"

#include "text/ascii_text.h"

namespace quorim {

namespace {

// Length of the UTF-8 sequence at text[i], or 0 when it is not well-formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;  // no overlong forms
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    if (b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
    }
    return n;
}

// Reads one field from text[i] on, up to the ',' or line break after it
// (or the end); a fault's message, or null.
const char* ScanField(std::string_view text, std::size_t& i, std::string& field) {
    const std::size_t n = text.size();
    if (i >= n || text[i] != '"') {
        while (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
            field += text[i++];
        }
        return nullptr;
    }
    ++i;
    while (true) {
        if (i >= n) {
            return "a quoted field is not closed";
        }
        if (text[i] == '"') {
            if (i + 1 < n && text[i + 1] == '"') {
                field += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        field += text[i++];
    }
    if (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
        return "text after the closing quote of a field";
    }
    return nullptr;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    return TrimAscii(text, " \t");
}

CsvReadResult ReadCsv(std::string_view text) {
    CsvReadResult result;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    }
    CsvRecord record;
    std::string field;
    std::size_t i = 0;
    std::size_t fields = 0;
    const std::size_t n = text.size();
    const char* fieldError = nullptr;
    auto endField = [&]() -> bool {
        if (field.find('\0') != std::string::npos) {
            fieldError = "a NUL byte in a field";
        } else if (!IsUtf8(field)) {
            fieldError = "not UTF-8 text";
        } else if (++fields > kCsvMaxFields) {
            fieldError = "too many fields for a channel list";
        }
        if (fieldError != nullptr) {
            return false;
        }
        record.push_back(std::move(field));
        field.clear();
        return true;
    };
    auto endRecord = [&]() {
        result.records.push_back(std::move(record));
        record.clear();
    };
    auto failAt = [&](const char* message) {
        const int row = static_cast<int>(result.records.size()) + 1;
        const int column = static_cast<int>(record.size()) + 1;
        result.records.clear();
        result.error = message;
        result.errorRow = row;
        result.errorColumn = column;
        return result;
    };
    if (n == 0) {
        return result;
    }
    while (true) {
        if (const char* fault = ScanField(text, i, field)) {
            return failAt(fault);
        }
        if (!endField()) {
            return failAt(fieldError);
        }
        if (i >= n) {
            endRecord();
            break;
        }
        if (text[i] == ',') {
            ++i;
            continue;
        }
        // A line break: CRLF, LF, or a lone CR.
        if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        ++i;
        endRecord();
        if (i >= n) break;  // a final line break ends the last record
    }
    return result;
}

std::string CsvLine(const CsvRecord& record) {
    std::string line;
    for (std::size_t k = 0; k < record.size(); ++k) {
        const std::string& f = record[k];
        if (k) line += ',';
        // A byte order mark leading the text would be taken for the file's own.
        const bool quote =
            f.find_first_of(",\"\r\n") != std::string::npos || f.rfind(kUtf8Bom, 0) == 0 ||
            (!f.empty() && (f.front() == ' ' || f.front() == '\t' || f.back() == ' ' || f.back() == '\t'));
        if (!quote) {
            line += f;
            continue;
        }
        line += '"';
        for (const char c : f) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\r\n";
}

}  // namespace quorim
