#include "editor/text_encoding.h"

#include <cstdint>

#include "editor/csv_text.h"

namespace quorim {

namespace {

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
    if (std::optional<std::string> text = Gb18030ToUtf8(bytes)) {
        d.text = std::move(*text);
    } else {
        d.error = "the text is neither UTF-8, UTF-16 with a byte order mark, nor GB18030";
    }
    return d;
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

}  // namespace quorim
