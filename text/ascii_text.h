#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorim {

// Plain-ASCII text handling shared by the file formats and the command
// lines: only the 26 Latin letters fold, only ASCII blanks trim, whatever the
// locale; every other byte (a UTF-8 or GBK character included) stays as it is.

// Blank, tab, line feed, carriage return, vertical tab, form feed.
inline constexpr std::string_view kAsciiBlanks = " \t\n\r\v\f";

bool IsAsciiBlank(char c);
bool IsAsciiDigit(char c);
// 'A'..'Z' to 'a'..'z'.
char FoldAscii(char c);
std::string FoldAscii(std::string_view text);
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text without the leading and trailing characters of `blanks`.
std::string_view TrimAscii(std::string_view text, std::string_view blanks = kAsciiBlanks);

// A count scaled by 10^decimals as "<whole>.<fraction>" with exactly
// `decimals` digits after the point, "-" before a negative one: (6400625, 5)
// gives "64.00625"; no decimals, no point.
std::string FixedDecimalText(std::int64_t scaled, int decimals);

// Bytes as they are shown in messages and logs: two upper-case hex digits
// each, a blank between them ({0x06, 0xAB} gives "06 AB"; none, "").
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

// Text that came from outside (a file name, a CSV cell, a USB descriptor) as
// it may reach a terminal: the C0 controls and DEL become "\xNN", the C1
// controls (U+0080-U+009F) "\u0085", and a byte that is not part of UTF-8
// "\xNN"; every other character stays as it is.
std::string EscapeControls(std::string_view text);
// The same in double quotes: "a\x1bb".
std::string Quoted(std::string_view text);
// JSON text as a serializer wrote it (C0 controls already escaped): DEL and
// the C1 controls, which can only stand inside its strings, as \u escapes.
std::string EscapeJsonControls(std::string_view json);

}  // namespace quorim
