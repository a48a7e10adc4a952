#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorim {

// Text files as spreadsheets save them, turned into UTF-8: UTF-8 with or
// without a byte order mark, UTF-16 (little or big end first) with its byte
// order mark ("Unicode text"), and GB18030 (which holds GBK and GB2312) when
// the bytes are not UTF-8.

enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Gb18030 };

struct DecodedText {
    std::string text;  // UTF-8, without a byte order mark
    TextEncoding encoding = TextEncoding::Utf8;
    std::string error;  // empty when the bytes were read; in English otherwise
    bool Ok() const { return error.empty(); }
};

DecodedText DecodeText(std::string_view bytes);

// GB18030 (one-, two- and four-byte forms) as UTF-8; nothing when the bytes
// are not well-formed GB18030. The platform's converter does the mapping
// (iconv on Linux, code page 54936 on Windows).
std::optional<std::string> Gb18030ToUtf8(std::string_view bytes);

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);

}  // namespace quorim
