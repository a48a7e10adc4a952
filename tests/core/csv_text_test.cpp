#include "editor/csv_text.h"

#include <gtest/gtest.h>

#include "text/text_encoding.h"

namespace quorim {
namespace {

using Records = std::vector<CsvRecord>;

Records Read(std::string_view text) {
    const CsvReadResult r = ReadCsv(text);
    EXPECT_TRUE(r.Ok()) << r.error << " at " << r.errorRow << "," << r.errorColumn;
    return r.records;
}

TEST(CsvText, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    EXPECT_EQ(Read("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",,\"\"\n"),
              (Records{{"a", "b,c", "say \"hi\""}, {"two\r\nlines", "", ""}}));
    // A quote inside an unquoted field stands as it is.
    EXPECT_EQ(Read("5\" reel,x\n"), (Records{{"5\" reel", "x"}}));
}

TEST(CsvText, LineEndingsByteOrderMarkAndEmptyLines) {
    const Records expected = {{"a", "b"}, {"c", "d"}};
    EXPECT_EQ(Read("a,b\r\nc,d\r\n"), expected);
    EXPECT_EQ(Read("a,b\nc,d"), expected);
    EXPECT_EQ(Read("a,b\rc,d\r"), expected);
    EXPECT_EQ(Read("\xEF\xBB\xBF"
                   "a,b\nc,d\n"),
              expected);
    // An empty line is a record with one empty field; a trailing comma an empty last field.
    EXPECT_EQ(Read("a\n\nb,\n"), (Records{{"a"}, {""}, {"b", ""}}));
    EXPECT_TRUE(Read("").empty());
    EXPECT_TRUE(Read("\xEF\xBB\xBF").empty());
}

TEST(CsvText, BrokenTextIsRefusedWithItsPlace) {
    struct Case {
        std::string text;
        int row, column;
        const char* error;
    };
    const Case cases[] = {
        {std::string("1,435.1\0 25\n", 12), 1, 2, "a NUL byte in a field"},
        {std::string("a\n") + std::string(kCsvMaxFields + 10, ','), 2, int(kCsvMaxFields),
         "too many fields for a channel list"},
        {"a,b\nc,\"open\n", 2, 2, "a quoted field is not closed"},
        {"a,\"b\"x,c\n", 1, 2, "text after the closing quote of a field"},
        {"a\nb,\xB5\xCA\n", 2, 2, "not UTF-8 text"},    // code page 936 bytes
        {"a,\xC0\xAF\n", 1, 2, "not UTF-8 text"},       // overlong "/"
        {"\xED\xA0\x80\n", 1, 1, "not UTF-8 text"},     // a surrogate
        {"ok,\"\xE4\xBF\"\n", 1, 2, "not UTF-8 text"},  // cut short
    };
    for (const auto& c : cases) {
        const CsvReadResult r = ReadCsv(c.text);
        EXPECT_EQ(r.error, c.error) << c.text.substr(0, 20);
        EXPECT_EQ(r.errorRow, c.row) << c.text.substr(0, 20);
        EXPECT_EQ(r.errorColumn, c.column) << c.text.substr(0, 20);
        EXPECT_TRUE(r.records.empty());
    }
    EXPECT_TRUE(IsUtf8("信道 \xF0\x9F\x93\xBB"));
}

TEST(CsvText, WrittenRecordsReadBackUnchanged) {
    const CsvRecord nasty = {
        "", "plain", "a,b", "\"", "x\"y", "line\nbreak", "cr\r", " lead", "trail\t", "发射功率(POWER)", "  "};
    const std::string line = CsvLine(nasty);
    EXPECT_EQ(line.substr(0, 10), ",plain,\"a,");
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    EXPECT_EQ(CsvLine({"145.12500", "D023N", "是"}), "145.12500,D023N,是\r\n");
    EXPECT_EQ(Read(line + CsvLine({"2"})), (Records{nasty, {"2"}}));
    // A field that starts with a byte order mark keeps it, also at the very start.
    const CsvRecord bom = {"\xEF\xBB\xBFx", "y"};
    EXPECT_EQ(Read(CsvLine(bom)), (Records{bom}));
}

}  // namespace
}  // namespace quorim
