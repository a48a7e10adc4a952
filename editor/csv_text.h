#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorim {

// Comma-separated text as spreadsheets exchange it (RFC 4180): fields
// separated by ",", records ended by CRLF or LF, a field in double quotes may
// hold commas, line breaks and doubled quotes. The text is UTF-8; a byte
// order mark at the start is skipped.

using CsvRecord = std::vector<std::string>;

struct CsvReadResult {
    std::vector<CsvRecord> records;
    // Empty when the whole text was read; otherwise what stopped the reading,
    // at record `errorRow` (1 = the first record) and field `errorColumn`
    // (1 = the first field). Nothing of a text with an error is to be used.
    std::string error;
    int errorRow = 0;
    int errorColumn = 0;

    bool Ok() const { return error.empty(); }
};

// A final line break does not start another record; an empty line is a
// record with one empty field. A quote inside an unquoted field is taken as
// it stands; a quoted field that is never closed, text between a closing
// quote and the next separator, bytes that are not UTF-8, a NUL byte and
// more than kCsvMaxFields fields in all are errors.
inline constexpr std::size_t kCsvMaxFields = 65536;
// `separator`: ',' or another byte that separates the fields (';', TAB).
CsvReadResult ReadCsv(std::string_view text, char separator = ',');

// One record with CRLF at its end. A field is quoted when it holds a comma, a
// quote, a line break, or blanks at either end (which spreadsheets would
// otherwise drop), or when it starts with a byte order mark.
std::string CsvLine(const CsvRecord& record);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The field separator of delimited text, told from its first line with a separator,
// whichever of ',', ';' and TAB stands in it most often outside
// quotes (',' on a tie with it or when no line has any).
char DetectSeparator(std::string_view text);

// The text without ASCII blanks (space, tab) at either end.
std::string_view TrimBlanks(std::string_view text);
// "145,0125" (blanks around it and a sign allowed) as "145.0125", as a
// spreadsheet set to a decimal comma writes a number; any other text as it
// stands.
std::string DecimalCommaAsPoint(const std::string& field);

}  // namespace quorim
