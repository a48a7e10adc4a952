#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorim {

// Reading numbers out of cell texts the way the radio's editor always has:
// "the number at the start of the text", with anything after it ignored.
// Decimal texts are read digit by digit, never through a binary double, so
// "64.00625" scaled by 10^5 is exactly 6400625.

enum class Cut { Truncate, RoundHalfUp };

// The decimal number at the start of `text` (leading blanks, an optional sign,
// digits, an optional '.' and digits, an optional exponent) multiplied by
// 10^scale and cut to a whole number (toward zero, or rounded half away from
// zero). No number at the start gives 0. Magnitudes beyond about 9.2e17 are
// clamped.
std::int64_t LeadingDecimalScaled(std::string_view text, int scale, Cut cut);

// The same when the whole text is a plain decimal number, blanks around it
// allowed; nothing when anything else stands in it ("145,0125",
// "145.0125 MHz", the exponent form "1.45e2").
std::optional<std::int64_t> WholeDecimalScaled(std::string_view text, int scale, Cut cut);

// True when the text starts with a decimal number as above.
bool StartsWithNumber(std::string_view text);

// The whole decimal integer at the start of the text, as atoi reads it
// (leading blanks, optional sign, digits), clamped to +-2^31.
std::int64_t LeadingInteger(std::string_view text);

// Digit pairs: two decimal digits in one byte, the tens in the high nibble.
inline int PairValue(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}
// q from 0 to 99 gives its pair; other values wrap to a byte as the radio's
// editor always wrote them.
inline std::uint8_t PairByte(std::int64_t q) {
    return static_cast<std::uint8_t>((q / 10) * 16 + (q % 10));
}

}  // namespace quorim
