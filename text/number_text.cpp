#include "text/number_text.h"

#include <cctype>
#include <limits>

#include "text/ascii_text.h"

namespace quorim {

namespace {

constexpr std::int64_t kClamp = 900000000000000000LL;  // 9e17

struct Parsed {
    bool found = false;
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    std::int64_t exponent = 0;
    bool hasExponent = false;  // "6.7e1": read at the start of a text, never as a whole one
    std::size_t end = 0;       // just past the number
};

Parsed Parse(std::string_view t) {
    Parsed p;
    std::size_t i = 0;
    while (i < t.size() && IsAsciiBlank(t[i])) ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        p.negative = t[i] == '-';
        ++i;
    }
    const std::size_t intStart = i;
    while (i < t.size() && IsAsciiDigit(t[i])) ++i;
    p.intDigits = t.substr(intStart, i - intStart);
    if (i < t.size() && t[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < t.size() && IsAsciiDigit(t[i])) ++i;
        p.fracDigits = t.substr(fracStart, i - fracStart);
    }
    if (p.intDigits.empty() && p.fracDigits.empty()) {
        return Parsed{};
    }
    p.found = true;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        bool negExp = false;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            negExp = t[j] == '-';
            ++j;
        }
        if (j < t.size() && IsAsciiDigit(t[j])) {
            std::int64_t e = 0;
            while (j < t.size() && IsAsciiDigit(t[j])) {
                if (e < 100000) e = e * 10 + (t[j] - '0');
                ++j;
            }
            p.exponent = negExp ? -e : e;
            p.hasExponent = true;
            i = j;
        }
    }
    p.end = i;
    return p;
}

}  // namespace

std::int64_t LeadingDecimalScaled(std::string_view text, int scale, Cut cut) {
    const Parsed p = Parse(text);
    if (!p.found) {
        return 0;
    }
    // All significant digits in one run; the decimal point sits `pointPos`
    // digits from the left after scaling.
    std::int64_t pointPos = static_cast<std::int64_t>(p.intDigits.size()) + scale + p.exponent;
    std::int64_t value = 0;
    bool clamped = false;
    int nextDigit = 0;  // the first digit cut off, for rounding
    bool seenNext = false;
    std::int64_t pos = 0;
    auto take = [&](char c) {
        const int d = c - '0';
        if (pos < pointPos) {
            if (!clamped) {
                if (value > (kClamp - d) / 10) {
                    clamped = true;
                    value = kClamp;
                } else {
                    value = value * 10 + d;
                }
            }
        } else if (pos == pointPos) {
            nextDigit = d;
            seenNext = true;
        }
        ++pos;
    };
    for (char c : p.intDigits) take(c);
    for (char c : p.fracDigits) take(c);
    // Positions left of the point that had no digit are zeros.
    while (pos < pointPos && !clamped) {
        if (value > kClamp / 10) {
            clamped = true;
            value = kClamp;
            break;
        }
        value *= 10;
        ++pos;
    }
    if (cut == Cut::RoundHalfUp && seenNext && nextDigit >= 5 && !clamped) {
        ++value;
    }
    return p.negative ? -value : value;
}

std::optional<std::int64_t> WholeDecimalScaled(std::string_view text, int scale, Cut cut) {
    const Parsed p = Parse(text);
    if (!p.found || p.hasExponent) {
        return std::nullopt;
    }
    for (std::size_t i = p.end; i < text.size(); ++i) {
        if (!IsAsciiBlank(text[i])) {
            return std::nullopt;
        }
    }
    return LeadingDecimalScaled(text, scale, cut);
}

bool StartsWithNumber(std::string_view text) {
    return Parse(text).found;
}

std::int64_t LeadingInteger(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && IsAsciiBlank(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    while (i < t.size() && IsAsciiDigit(t[i])) {
        if (value < kLimit) value = value * 10 + (t[i] - '0');
        ++i;
    }
    if (value > kLimit) value = kLimit;
    return negative ? -value : value;
}

}  // namespace quorim
