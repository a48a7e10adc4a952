#include "launcher/ini_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "files/safe_file.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

namespace fs = std::filesystem;

namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool IsCommentStart(char c) {
    return c == ';' || c == '/' || c == '\\' || c == '*';
}

void CutAt(std::string& s, std::string_view marker) {
    const auto pos = s.find(marker);
    if (pos != std::string::npos) {
        s.erase(pos);
    }
}

}  // namespace

std::string_view TrimIniText(std::string_view text) {
    return TrimAscii(text);
}

std::string ProgramDirFromArgv0(std::string_view argv0, const std::string& currentDir) {
    const auto slash = argv0.rfind('/');
    if (slash == std::string_view::npos) {
        return currentDir;
    }
    return std::string(argv0.substr(0, slash));
}

CIniFile::CIniFile(int nGrowBy) : m_nGrowBy(std::max(1, nGrowBy)) {}

CIniFile::~CIniFile() {
    if (m_bAutoSave) {
        Save(m_bBackup);
    }
    Clear();
}

bool CIniFile::LoadFromProgramDir(const std::string& argv0, const std::string& fileName, bool bAutoSave,
                                  bool bNoCase, bool bBackup) {
    std::string current;
    if (argv0.find('/') == std::string::npos) {
        std::error_code ec;
        current = fs::current_path(ec).string();
    }
    const std::string path = ProgramDirFromArgv0(argv0, current) + "/" + fileName;
    return Load(path, bAutoSave, bNoCase, bBackup);
}

bool CIniFile::Load(const std::string& path, bool bAutoSave, bool bNoCase, bool bBackup) {
    if (IsBound()) {
        Save(false);
        Clear();
    }
    m_bAutoSave = bAutoSave;
    m_bNoCase = bNoCase;
    m_bBackup = bBackup;
    if (path.empty()) {
        return false;
    }

    // A missing file is created empty (through a symbolic link, the file it
    // names). Only a regular file is read: a FIFO or device is refused at once.
    std::error_code ec;
    if (!fs::exists(path, ec) && !WriteFileAtomically(path, "", 0).Ok()) {
        return false;
    }
    std::string bytes;
    if (!ReadRegularFile(path, kMaxIniBytes + 1, bytes).Ok() || bytes.size() > kMaxIniBytes) {
        return false;
    }
    std::istringstream in(bytes);
    return LoadFromStream(path, in);
}

bool CIniFile::LoadFromStream(const std::string& path, std::istream& in) {
    if (IsBound()) {
        Save(false);
        Clear();
    }
    m_strPath = path;
    m_ppKeys.clear();
    m_ppValues.clear();
    m_ppKeys.resize(static_cast<std::size_t>(m_nGrowBy));
    m_ppValues.resize(static_cast<std::size_t>(m_nGrowBy));
    m_ppKeys[0] = std::make_unique<Strings>();
    m_ppValues[0] = std::make_unique<Strings>();
    m_arrSections.assign(1, std::string());

    std::string line;
    while (std::getline(in, line)) {
        const std::string_view t = TrimIniText(line);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            AddSection(t.substr(1, t.size() - 2));
            continue;
        }
        std::string_view key = t;
        std::string_view value;
        const auto eq = t.find('=');
        if (eq != std::string_view::npos) {
            key = TrimIniText(t.substr(0, eq));
            value = TrimIniText(t.substr(eq + 1));
        }
        if (key.empty() || IsCommentStart(key.front())) {
            continue;
        }
        const auto slot = static_cast<std::size_t>(m_nLastSection);
        m_ppKeys[slot]->emplace_back(key);
        m_ppValues[slot]->emplace_back(value);
    }
    // A read error part way leaves some lines unread: never keep (and later
    // write back) such a store.
    if (in.bad()) {
        Clear();
        return false;
    }
    return true;
}

int CIniFile::AddSection(std::string_view name) {
    ++m_nLastSection;
    const auto slot = static_cast<std::size_t>(m_nLastSection);
    if (slot >= m_ppKeys.size()) {
        const std::size_t grown = m_ppKeys.size() + static_cast<std::size_t>(m_nGrowBy);
        m_ppKeys.resize(grown);
        m_ppValues.resize(grown);
    }
    m_ppKeys[slot] = std::make_unique<Strings>();
    m_ppValues[slot] = std::make_unique<Strings>();
    if (m_arrSections.size() <= slot) {
        m_arrSections.resize(slot + 1);
    }
    m_arrSections[slot] = std::string(name);
    return m_nLastSection;
}

std::string CIniFile::GetString(std::string_view section, std::string_view key, std::string_view def) const {
    const int s = FindSection(section);
    if (s < 0) {
        return std::string(def);
    }
    const int k = FindKey(s, key);
    if (k < 0) {
        return std::string(TrimIniText(def));
    }
    std::string value = (*m_ppValues[static_cast<std::size_t>(s)])[static_cast<std::size_t>(k)];
    CutAt(value, "//");
    CutAt(value, "\t;");
    CutAt(value, "/*");
    return value;
}

void CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsBound()) {
        return;
    }
    int s = FindSection(section);
    if (s < 0) {
        m_bModified = true;
        s = AddSection(section);
    }
    auto& keys = *m_ppKeys[static_cast<std::size_t>(s)];
    auto& values = *m_ppValues[static_cast<std::size_t>(s)];
    const int k = FindKey(s, key);
    if (k < 0) {
        m_bModified = true;
        keys.emplace_back(key);
        values.emplace_back(value);
        return;
    }
    std::string& stored = values[static_cast<std::size_t>(k)];
    if (CompareNames(stored, value) != 0) {
        m_bModified = true;
    }
    stored = std::string(value);
}

int CIniFile::FindSection(std::string_view name) const {
    if (m_ppKeys.empty()) {
        return -1;
    }
    for (int i = 0; i <= m_nLastSection; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const std::string_view stored =
            slot < m_arrSections.size() ? m_arrSections[slot] : std::string_view();
        if (CompareNames(stored, name) == 0) {
            return i;
        }
    }
    return -1;
}

int CIniFile::FindKey(int nSection, std::string_view key) const {
    if (nSection < 0 || nSection > m_nLastSection || static_cast<std::size_t>(nSection) >= m_ppKeys.size()) {
        return -1;
    }
    const auto& keys = m_ppKeys[static_cast<std::size_t>(nSection)];
    if (!keys) {
        return -1;
    }
    for (int j = static_cast<int>(keys->size()) - 1; j >= 0; --j) {
        if (CompareNames((*keys)[static_cast<std::size_t>(j)], key) == 0) {
            return j;
        }
    }
    return -1;
}

int CIniFile::CompareNames(std::string_view a, std::string_view b) const {
    if (!m_bNoCase) {
        return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (IsLeadByte(ca) || IsLeadByte(cb)) {
            // A double-byte character compares whole and exactly: its trail
            // byte may look like an ASCII letter but is not one.
            if (ca != cb) {
                return ca < cb ? -1 : 1;
            }
            ++i;
            ++j;
            if (i < a.size() && j < b.size()) {
                const auto ta = static_cast<unsigned char>(a[i]);
                const auto tb = static_cast<unsigned char>(b[j]);
                if (ta != tb) {
                    return ta < tb ? -1 : 1;
                }
                ++i;
                ++j;
            }
            continue;
        }
        const auto fa = static_cast<unsigned char>(FoldAscii(static_cast<char>(ca)));
        const auto fb = static_cast<unsigned char>(FoldAscii(static_cast<char>(cb)));
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i == a.size() && j == b.size()) {
        return 0;
    }
    return i == a.size() ? -1 : 1;
}

std::string CIniFile::WrittenText() const {
    std::string out;
    if (m_ppKeys.empty()) {
        return out;
    }
    for (int i = 0; i <= m_nLastSection; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        if (slot < m_arrSections.size() && !m_arrSections[slot].empty()) {
            out += "[" + m_arrSections[slot] + "]\n";
        }
        const auto& keys = m_ppKeys[slot];
        const auto& values = m_ppValues[slot];
        if (!keys) {
            continue;
        }
        for (std::size_t j = 0; j < keys->size(); ++j) {
            const std::string& key = (*keys)[j];
            out += key;
            if (!key.empty()) {
                out += "=";
            }
            out += (*values)[j];
            out += "\n";
        }
    }
    return out;
}

std::string CIniFile::Save(bool bBackup) {
    if (!m_bModified || !IsBound()) {
        return {};
    }
    if (bBackup) {
        if (m_strBackupPath.empty()) {
            MakeBackupName();
        }
        // A failed backup copy does not stop the write-back. The copy is
        // written by the same safe replace as every other file.
        std::string old;
        if (ReadRegularFile(m_strPath, kMaxIniBytes + 1, old).Ok() && old.size() <= kMaxIniBytes) {
            (void)WriteFileAtomically(m_strBackupPath, old.data(), old.size());
        }
    }
    if (!WriteFile()) {
        return {};
    }
    return m_strBackupPath;
}

bool CIniFile::WriteFile() const {
    const std::string text = WrittenText();
    // First opening: the file created afresh, by a safe replace (a temporary
    // file made exclusively beside it, then renamed over it).
    const FileStatus replaced = WriteFileAtomically(m_strPath, text.data(), text.size());
    if (replaced.Ok()) {
        return true;
    }
    // A file that may not be replaced at all (read-only, a device) is not
    // written. Otherwise, second opening: the existing file for reading and
    // writing, when no temporary file can be made beside it; whatever stood
    // past the written lines is cut off afterwards.
    if (replaced.error != FileError::WriteFailed) {
        return false;
    }
    return RewriteFileInPlace(m_strPath, text.data(), text.size()).Ok();
}

void CIniFile::MakeBackupName() {
    const fs::path path(m_strPath);
    std::string stem = path.filename().string();
    const auto dot = stem.rfind('.');
    if (dot != std::string::npos) {
        stem.erase(dot);
    }
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");

    // Every file named <stem>*.* counts; the last three characters of its
    // name are read as a number (anything else counts 0).
    std::int64_t largest = 0;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, stem.size(), stem) != 0) {
            continue;
        }
        const std::string last3 = name.size() > 3 ? name.substr(name.size() - 3) : name;
        largest = std::max(largest, LeadingInteger(last3));
    }
    char number[32];
    std::snprintf(number, sizeof number, "%.3d", static_cast<int>(largest + 1));
    m_strBackupPath = m_strPath + "." + number;
}

void CIniFile::Clear() {
    m_ppKeys.clear();
    m_ppValues.clear();
    m_arrSections.clear();
    m_nLastSection = 0;
    m_strPath.clear();
    m_bModified = false;
}

}  // namespace quorim
