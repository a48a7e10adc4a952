#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <string_view>

class QFont;
class QKeyEvent;

namespace quorim {

class CMSFlexGrid1;
class CViewDocument;

// Shows `index` in a drop-down list (-1: none) without raising its
// selection-change notification, the field's text from its beginning.
void SetComboSel(QComboBox* combo, int index);

// The in-place editors of a document window's channel grid. Three hidden
// editors, children of the grid, are laid over the current cell when editing
// begins; Enter and leaving the cell write their text back. What opens, what
// a commit stores and where Enter goes are decided by the cell rules; this
// part only carries them out on the widgets. A stored change is one step of
// the document's history.
class CCellEditors : public QObject {
    Q_OBJECT

public:
    // `window` is the document window, the parent of the cell messages.
    CCellEditors(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid);

    // Makes the editors (once, when the window is first shown).
    void Create(const QFont& formFont);
    bool Created() const { return m_created; }
    QLineEdit* EditCell() const { return m_editCell; }
    QComboBox* ComboYesNo() const { return m_comboYesNo; }
    QComboBox* ComboTone() const { return m_comboTone; }
    // The editor of a column: the tone list for the two signalling columns,
    // the yes/no list for column 5, the edit box for every other column.
    QWidget* GetCellEditor(long col) const;
    // The editor of the current column is open.
    bool IsOpen() const;
    bool AllHidden() const;

    // Lays an editor (by default the current column's) over the current cell
    // and opens it for `key`: 0 for a click, 13 when Enter walked here, else
    // the typed character.
    void BeginCellEdit(short key, QWidget* editor = nullptr);
    // Grid events.
    void OnDblClickGrid();
    void OnEnterCellGrid();
    void OnKeyPressGrid(short& keyAscii);
    void OnMouseDownGrid(short button, short shift, long x, long y);
    void OnScrollGrid();
    // Commits the open editor's text into the current cell and hides it;
    // nothing when no editor is open. `reopenRefused`: a refused entry opens
    // its editor again on the cell (the grid's own LeaveCell); the commands
    // only keep the old text.
    void OnLeaveCellGrid(bool reopenRefused = false);
    // A refused entry: the cell kept its text, and its editor opens again
    // holding what was typed, all selected.
    void ReopenRefusedEdit(long row, long col, const QString& typed);
    // Tab, Escape and Enter in the grid or one of its editors; true when
    // handled.
    bool HandleKey(QWidget* focused, QKeyEvent* event);

    // Put away, nothing committed (the cells move or are replaced).
    void HideCellEditors();
    void HideCellEditor(QWidget* editor);
    // The hidden editors take the current cell's text again (after the rows
    // or the cells changed under them), so no other cell's text is left in
    // them for the next edit.
    void ReloadCellEditors();

signals:
    // What the cell being edited takes, for the status bar.
    void MessageText(const QString& text);

private:
    void SetUpCellEditors();
    // Enter, in the grid or one of its editors (`focused`): commits, then
    // moves on as the cell asks.
    void OnEnterKey(QWidget* focused);
    // A cell entry's message box, with the column's rule under the message.
    void ShowCellMessage(std::string_view message, long col);
    void Committed();

    QWidget* m_window;
    CViewDocument& m_doc;
    CMSFlexGrid1* m_grid;
    bool m_created = false;
    QLineEdit* m_editCell = nullptr;
    QComboBox* m_comboYesNo = nullptr;
    QComboBox* m_comboTone = nullptr;
};

}  // namespace quorim
