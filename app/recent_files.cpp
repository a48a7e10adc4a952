#include "app/recent_files.h"

#include <algorithm>

namespace quorim {

namespace {

std::size_t CharCount(const std::string& s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Directory(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string RecentFileList::At(int index) const {
    return index >= 0 && index < Size() ? m_paths[static_cast<std::size_t>(index)] : std::string();
}

std::string RecentFileList::LastFolder() const {
    const std::string path = At(0);
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

void RecentFileList::Add(const std::string& path) {
    if (path.empty() || m_capacity <= 0) {
        return;
    }
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (Size() > m_capacity) {
        m_paths.resize(static_cast<std::size_t>(m_capacity));
    }
}

void RecentFileList::Remove(int index) {
    if (index >= 0 && index < Size()) {
        m_paths.erase(m_paths.begin() + index);
    }
}

void RecentFileList::Load(const std::vector<std::string>& stored) {
    m_paths.clear();
    for (const std::string& path : stored) {
        if (!path.empty() && Size() < m_capacity &&
            std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end()) {
            m_paths.push_back(path);
        }
    }
}

std::string AbbreviatePath(const std::string& path, std::size_t maxChars) {
    if (CharCount(path) <= maxChars) {
        return path;
    }
    const std::string name = FileName(path);
    const std::string root = !path.empty() && path[0] == '/' ? "/" : "";
    const std::string shortened = root + ".../" + name;
    // Even the root and the name alone are too long: the name is what counts.
    return CharCount(shortened) <= maxChars ? shortened : name;
}

std::string RecentFileList::MenuText(int index, const std::string& currentDir) const {
    const std::string path = At(index);
    if (path.empty()) {
        return {};
    }
    std::string shown = Directory(path) == currentDir ? FileName(path) : AbbreviatePath(path, 30);
    // A "&" in a file name is shown as itself, not taken as the mnemonic.
    std::string escaped;
    for (const char c : shown) {
        escaped += c;
        if (c == '&') {
            escaped += '&';
        }
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}

}  // namespace quorim
