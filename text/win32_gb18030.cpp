#include <windows.h>

#include "text/text_encoding.h"

namespace quorim {

namespace {

// The bytes through one code page, as UTF-8; nothing when the page refuses
// them (or does not exist: `missing` then says so).
std::optional<std::string> ThroughCodePage(UINT codePage, std::string_view bytes, bool& missing) {
    const int inLength = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    missing = wide <= 0 && GetLastError() == ERROR_INVALID_PARAMETER;
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, w.data(), wide);
    const int narrow = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace

std::optional<std::string> Gb18030ToUtf8(std::string_view bytes) {
    constexpr UINT kGb18030 = 54936;
    constexpr UINT kGbk = 936;
    if (bytes.empty()) return std::string();
    if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
    bool missing = false;
    std::optional<std::string> out = ThroughCodePage(kGb18030, bytes, missing);
    // A system without the GB18030 code page (Wine) still reads GBK, which
    // is GB18030 without its four-byte forms.
    if (!out && missing) out = ThroughCodePage(kGbk, bytes, missing);
    return out;
}

}  // namespace quorim
