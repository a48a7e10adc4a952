#pragma once

#include <string>
#include <vector>

#include "editor/editor_surface.h"
#include "image/memory_image.h"

namespace quorim {

// What differs between two documents, in the editor's own texts.
struct CellChange {
    int channel = 0;  // 1..199
    int column = 0;   // 1..5
    std::string before;
    std::string after;
};

struct SettingChange {
    SettingsList list;
    std::string before;
    std::string after;
};

struct DocumentDiff {
    std::vector<SettingChange> settings;
    std::vector<CellChange> cells;
    // Bytes that differ outside every field the editor shows (bytes the
    // program passes on without interpreting).
    int otherBytes = 0;

    bool Empty() const { return settings.empty() && cells.empty() && otherBytes == 0; }
};

DocumentDiff DiffDocuments(const DocumentData& a, const DocumentData& b);

// Lines for a person: one per changed setting and cell, then the count of
// other bytes; "no differences" when there are none. Captions, headers, list
// items and "是"/"否" as a window in the language of `texts` shows them.
std::string FormatDiff(const DocumentDiff& diff, const TextTranslator& texts = ChineseTexts());

}  // namespace quorim
