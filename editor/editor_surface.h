#pragma once

#include <string>

#include "editor/settings_lists.h"

namespace quorim {

// What the codec, the cell rules and printing see of an editor: the channel
// grid's texts and the settings lists' selections. The form view implements it
// on its real widgets; EditorModel implements it in memory.
class EditorSurface {
public:
    virtual ~EditorSurface() = default;

    virtual int Rows() const = 0;
    // Growing adds empty rows; shrinking drops the rows past the new count.
    virtual void SetRows(int rows) = 0;
    // Texts outside the grid read as empty; writes outside it are ignored.
    virtual std::string TextMatrix(int row, int col) const = 0;
    virtual void SetTextMatrix(int row, int col, const std::string& text) = 0;

    // The selected index, -1 for none.
    virtual int CurSel(SettingsList list) const = 0;
    // An index the list does not have leaves it with no selection.
    virtual void SetCurSel(SettingsList list, int index) = 0;
    // The selected item's text; empty without a selection.
    std::string SelectedText(SettingsList list) const;
};

// What a window in the language of `texts` shows: a list's selected item,
// and a cell, where only the inhibit column's "是"/"否" are the program's
// words (every other cell is the user's text, shown as it is).
std::string ShownSelectedText(const EditorSurface& editor, SettingsList list, const TextTranslator& texts);
std::string ShownCellText(const EditorSurface& editor, int row, int col, const TextTranslator& texts);

}  // namespace quorim
