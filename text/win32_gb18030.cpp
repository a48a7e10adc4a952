#include <windows.h>

#include "text/text_encoding.h"

namespace quorim {

std::optional<std::string> Gb18030ToUtf8(std::string_view bytes) {
    constexpr UINT kGb18030 = 54936;
    if (bytes.empty()) return std::string();
    if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
    const int inLength = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(kGb18030, MB_ERR_INVALID_CHARS, bytes.data(), inLength, w.data(), wide);
    const int narrow = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::nullopt;
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), narrow, nullptr, nullptr);
    return out;
}

}  // namespace quorim
