#pragma once

#include <filesystem>
#include <string>

namespace quorim {

// Every path the programs keep is UTF-8 text. These turn it into a path and
// back the same way on every system (Windows would read a std::string path in
// its ANSI code page, and hands the path to the wide-character calls).
inline std::filesystem::path Utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace quorim
