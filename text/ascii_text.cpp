#include "text/ascii_text.h"

namespace quorim {

bool IsAsciiBlank(char c) {
    return kAsciiBlanks.find(c) != std::string_view::npos;
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string FoldAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = FoldAscii(c);
    }
    return out;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimAscii(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return text.substr(text.size());
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string FixedDecimalText(std::int64_t scaled, int decimals) {
    if (decimals <= 0) {
        return std::to_string(scaled);
    }
    std::int64_t unit = 1;
    for (int i = 0; i < decimals; ++i) {
        unit *= 10;
    }
    const bool negative = scaled < 0;
    const std::int64_t a = negative ? -scaled : scaled;
    std::string frac = std::to_string(a % unit);
    frac.insert(0, static_cast<std::size_t>(decimals) - frac.size(), '0');
    return (negative ? "-" : "") + std::to_string(a / unit) + "." + frac;
}

}  // namespace quorim
