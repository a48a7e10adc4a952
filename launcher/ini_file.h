#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorim {

// The longest INI file the store reads; the launcher's own holds a few lines.
inline constexpr std::size_t kMaxIniBytes = 1u << 20;

// The launcher's settings store: a whole INI-style file read into memory,
// looked up by section and key, changed in memory and written back whole.
//
// Text is kept as the bytes of the file (code page 936 multi-byte text);
// nothing is converted. Comments, blank lines and the file's own spacing are
// not kept, so a store that changed something writes the file back without
// them; a store that changed nothing writes nothing.
//
// Reading: every line is trimmed; "[name]" opens a new section slot (even for
// a repeated name); any other line is "key = value" (or a bare key with an
// empty value). Lines with an empty key or a key starting with ; / \ or * are
// dropped. Keys before the first header belong to the unnamed head section 0.
class CIniFile {
public:
    explicit CIniFile(int nGrowBy);
    // With auto-save set, writes the store back (with a numbered backup when
    // asked for) if something was changed, then releases everything.
    virtual ~CIniFile();

    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    // Loads `fileName` from beside the program: the directory of `argv0` when
    // it holds a "/", otherwise the current directory.
    bool LoadFromProgramDir(const std::string& argv0, const std::string& fileName, bool bAutoSave,
                            bool bNoCase, bool bBackup);

    // Binds the store to `path` and reads it; a missing file is created empty.
    // A store bound to another file first writes that one back (without
    // backup). Fails, leaving the store unbound, when the file can neither be
    // opened nor created, when reading it fails part way, or when it is
    // longer than kMaxIniBytes (read no further): a store that lost lines must
    // never write the file back.
    bool Load(const std::string& path, bool bAutoSave, bool bNoCase, bool bBackup);

    // The value of `key` in the first section named `section`, taking the
    // last key of that name, cut at the first "//", then at the first tab
    // followed by ";", then at the first "/*". A missing section gives
    // `def` as it is; a missing key gives `def` trimmed.
    std::string GetString(std::string_view section, std::string_view key, std::string_view def) const;

    // Changes or adds a value; ignored while no file is bound. Adding a
    // section or key, or a value that differs by the case rule, marks the
    // store modified; the new value is stored in any case.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the whole store back when it is modified, first copying the file
    // to the numbered backup when `bBackup` is set. Returns the backup file
    // name (empty when there is none); nothing is written when the store is
    // unchanged or the file cannot be opened.
    std::string Save(bool bBackup);

    // Releases everything and unbinds the store.
    void Clear();

    // First section slot of that name, or -1.
    int FindSection(std::string_view name) const;
    // Last key of that name in section `nSection`, or -1.
    int FindKey(int nSection, std::string_view key) const;
    // 0 when equal by the case rule: with ignore-case set, ASCII letters match
    // either case and a double-byte character (lead byte 0x81-0xFE) matches
    // only itself, its trail byte never folded; otherwise exact bytes.
    int CompareNames(std::string_view a, std::string_view b) const;

    bool IsBound() const { return !m_strPath.empty(); }
    bool IsModified() const { return m_bModified; }
    const std::string& Path() const { return m_strPath; }
    const std::string& BackupPath() const { return m_strBackupPath; }
    // The file's text as Save writes it.
    std::string WrittenText() const;

protected:
    // Load's reading step, from an already opened stream; a stream that goes
    // bad part way fails the load and leaves the store unbound.
    bool LoadFromStream(const std::string& path, std::istream& in);

private:
    using Strings = std::vector<std::string>;

    int AddSection(std::string_view name);
    void MakeBackupName();
    bool WriteFile() const;

    int m_nGrowBy;
    int m_nLastSection = 0;
    Strings m_arrSections;
    // One keys array and one values array per section slot; both tables
    // always have the same length, a multiple of m_nGrowBy. Slots past
    // m_nLastSection hold no array.
    std::vector<std::unique_ptr<Strings>> m_ppKeys;
    std::vector<std::unique_ptr<Strings>> m_ppValues;
    std::string m_strPath;
    std::string m_strBackupPath;
    bool m_bAutoSave = false;
    bool m_bNoCase = true;
    bool m_bBackup = false;
    bool m_bModified = false;
};

// Cuts leading and trailing white space (blank, tab, CR, LF, VT, FF).
std::string_view TrimIniText(std::string_view text);

// The directory a program keeps its files in, from its own path as given in
// argv[0]: the text before the last "/", or `currentDir` when there is none.
std::string ProgramDirFromArgv0(std::string_view argv0, const std::string& currentDir);

}  // namespace quorim
