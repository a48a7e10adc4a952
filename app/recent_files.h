#pragma once

#include <string>
#include <vector>

namespace quorim {

// The recent-file list of the File menu: most recent first, at most `capacity`
// entries, no path twice.
class RecentFileList {
public:
    explicit RecentFileList(int capacity) : m_capacity(capacity) {}

    int Capacity() const { return m_capacity; }
    int Size() const { return static_cast<int>(m_paths.size()); }
    bool Empty() const { return m_paths.empty(); }
    // Entry i (0 is the most recent); empty outside the list.
    std::string At(int index) const;
    // The folder of the most recent file: where Open and Save As start, the
    // last folder used. Empty while the list is.
    std::string LastFolder() const;
    const std::vector<std::string>& Paths() const { return m_paths; }

    // A file opened or saved: moved (or put) to the front, the oldest dropped.
    void Add(const std::string& path);
    // An entry that could not be opened (entries 2 to 4 are dropped this way).
    void Remove(int index);
    // Loaded from the profile: entry i of the stored list, empty ones skipped.
    void Load(const std::vector<std::string>& stored);

    // The menu text of entry i: "&1 " and the name. A file in `currentDir` is
    // shown by its name alone; a long path keeps its root and its file name and
    // replaces the folders in between with "...".
    std::string MenuText(int index, const std::string& currentDir) const;

private:
    int m_capacity;
    std::vector<std::string> m_paths;
};

// Shortens a path to at most maxChars characters (UTF-8 aware) as the menu does.
std::string AbbreviatePath(const std::string& path, std::size_t maxChars);

}  // namespace quorim
