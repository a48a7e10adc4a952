#include "editor/csv_text.h"

#include "text/ascii_text.h"
#include "text/text_encoding.h"

namespace quorim {

namespace {

// Reads one field from text[i] on, up to the separator or line break after it
// (or the end); a fault's message, or null.
const char* ScanField(std::string_view text, std::size_t& i, char separator, std::string& field) {
    const std::size_t n = text.size();
    if (i >= n || text[i] != '"') {
        while (i < n && text[i] != separator && text[i] != '\n' && text[i] != '\r') {
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
    if (i < n && text[i] != separator && text[i] != '\n' && text[i] != '\r') {
        return "text after the closing quote of a field";
    }
    return nullptr;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    return TrimAscii(text, " \t");
}

char DetectSeparator(std::string_view text) {
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') {
            if (commas + semicolons + tabs > 0) break;
            continue;
        }
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs) return ';';
    if (tabs > commas && tabs > semicolons) return '\t';
    return ',';
}

CsvReadResult ReadCsv(std::string_view text, char separator) {
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
        if (const char* fault = ScanField(text, i, separator, field)) {
            return failAt(fault);
        }
        if (!endField()) {
            return failAt(fieldError);
        }
        if (i >= n) {
            endRecord();
            break;
        }
        if (text[i] == separator) {
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

std::string DecimalCommaAsPoint(const std::string& field) {
    const std::string_view t = TrimBlanks(field);
    const std::size_t comma = t.find(',');
    if (comma == std::string_view::npos) return field;
    const std::string_view whole = t.substr(0, comma);
    const std::string_view digits =
        !whole.empty() && (whole[0] == '-' || whole[0] == '+') ? whole.substr(1) : whole;
    const std::string_view fraction = t.substr(comma + 1);
    const auto allDigits = [](std::string_view v) {
        return !v.empty() && v.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!allDigits(digits) || !allDigits(fraction)) return field;
    return std::string(whole) + "." + std::string(fraction);
}

}  // namespace quorim
