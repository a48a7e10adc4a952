#include "text/text_encoding.h"

#include <cstdint>

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

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 after its byte order mark; an odd byte or an unpaired surrogate is an error.
DecodedText FromUtf16(std::string_view bytes, bool littleEnd) {
    DecodedText d;
    d.encoding = littleEnd ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
    if (bytes.size() % 2 != 0) {
        d.error = "UTF-16 text that ends in half a character";
        return d;
    }
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(littleEnd ? a | (b << 8) : (a << 8) | b);
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            d.text.clear();
            d.error = "UTF-16 text with a broken surrogate pair";
            return d;
        }
        AppendUtf8(d.text, cp);
    }
    return d;
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

DecodedText DecodeText(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (bytes.substr(0, 2) == "\xFF\xFE"sv) return FromUtf16(bytes.substr(2), true);
    if (bytes.substr(0, 2) == "\xFE\xFF"sv) return FromUtf16(bytes.substr(2), false);
    DecodedText d;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF"sv) bytes.remove_prefix(3);
    if (IsUtf8(bytes)) {
        d.text = bytes;
        return d;
    }
    d.encoding = TextEncoding::Gb18030;
    // GB18030's own byte order mark (U+FEFF in its four-byte form).
    if (bytes.substr(0, 4) == "\x84\x31\x95\x33"sv) bytes.remove_prefix(4);
    if (std::optional<std::string> text = Gb18030ToUtf8(bytes)) {
        d.text = std::move(*text);
    } else {
        d.error = "the text is neither UTF-8, UTF-16 with a byte order mark, nor GB18030";
    }
    return d;
}

}  // namespace quorim
