#pragma once

#include <QKeySequence>
#include <QObject>
#include <optional>
#include <vector>

class QKeyEvent;
class QMenu;
class QPoint;
class QWidget;

namespace quorim {

class CBulkEdits;
class CCellEditors;
class CChannelChecks;
class CChannelSelection;
class CMSFlexGrid1;
class CViewDocument;

// The channel table's editing commands: the "编辑" popup and the grid's
// context menu (both built from EditPopup()), each with its keys.
enum class EditCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Clear,
    InsertChannel,
    DeleteChannels,
    MoveUp,
    MoveDown,
    SelectAll,
    SetCells,
    FillDown,
    FillSeries,
    CheckChannels,
    ApplyPlan,
    CheckPlan,
};
// The command of a command id (ID_EDIT_…), if it is one.
std::optional<EditCommand> EditCommandOf(int id);

// A document window's channel commands: undo and redo, the clipboard, insert,
// delete and move channels, select all, with their keys and the grid's
// context menu; the bulk edits and the checks are handed on to their parts.
// What each command does to the document is decided by the core
// (editor/channel_edit.h); this part gathers the selection and records the
// result as one step of the document's history. An open editor commits
// first.
class CChannelCommands : public QObject {
    Q_OBJECT

public:
    CChannelCommands(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid, CCellEditors& cells,
                     CChannelSelection& selection, CBulkEdits& bulk, CChannelChecks& checks);

    // Whether a command can run now (a document, no transfer, a selection
    // it acts on).
    bool CanDo(EditCommand command) const;
    void OnEditCommand(EditCommand command);
    static std::vector<QKeySequence> EditCommandKeys(EditCommand command);
    // A command's key pressed in the grid or an open editor; true when
    // handled (an open editor keeps its own keys otherwise).
    bool HandleEditKey(QWidget* focused, QKeyEvent* event);
    // The grid's context menu: every command with its keys, enabled as the
    // selection and the undo history allow.
    QMenu* CreateGridMenu(QWidget* parent);
    void OnGridContextMenu(const QPoint& globalPos);

private:
    // The selection to the clipboard (and cleared for a cut); the clipboard
    // from the top left of the selection on.
    void CopySelection(bool cut);
    void PasteClipboard();

    QWidget* m_window;
    CViewDocument& m_doc;
    CMSFlexGrid1* m_grid;
    CCellEditors& m_cells;
    CChannelSelection& m_selection;
    CBulkEdits& m_bulk;
    CChannelChecks& m_checks;
};

}  // namespace quorim
