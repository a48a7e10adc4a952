#include "editor/ui/channel_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUndoStack>
#include <algorithm>
#include <set>

#include "editor/channel_edit.h"
#include "editor/ui/bulk_edits.h"
#include "editor/ui/cell_editors.h"
#include "editor/ui/channel_checks.h"
#include "editor/ui/channel_selection.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/view_document.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

struct EditIds {
    EditCommand command;
    int id;
};
const EditIds kEditIds[] = {
    {EditCommand::Undo, ID_EDIT_UNDO},
    {EditCommand::Redo, ID_EDIT_REDO},
    {EditCommand::Cut, ID_EDIT_CUT},
    {EditCommand::Copy, ID_EDIT_COPY},
    {EditCommand::Paste, ID_EDIT_PASTE},
    {EditCommand::Clear, ID_EDIT_CLEAR},
    {EditCommand::InsertChannel, ID_EDIT_INSERT_CHANNEL},
    {EditCommand::DeleteChannels, ID_EDIT_DELETE_CHANNELS},
    {EditCommand::MoveUp, ID_EDIT_MOVE_UP},
    {EditCommand::MoveDown, ID_EDIT_MOVE_DOWN},
    {EditCommand::SelectAll, ID_EDIT_SELECT_ALL},
    {EditCommand::SetCells, ID_EDIT_SET_CELLS},
    {EditCommand::FillDown, ID_EDIT_FILL_DOWN},
    {EditCommand::FillSeries, ID_EDIT_FILL_SERIES},
    {EditCommand::CheckChannels, ID_EDIT_CHECK_CHANNELS},
    {EditCommand::ApplyPlan, ID_EDIT_APPLY_PLAN},
    {EditCommand::CheckPlan, ID_EDIT_CHECK_PLAN},
};

// The keys of the commands (EditKeyTable). The frame's accelerators keep
// Ctrl+C to Ctrl+W.
struct EditKeys {
    EditCommand command;
    QKeyCombination key;
};
const std::vector<EditKeys>& KeyTable() {
    static const std::vector<EditKeys> table = [] {
        std::vector<EditKeys> keys;
        for (const Accelerator& a : EditKeyTable()) {
            const QKeySequence seq = QKeySequence::fromString(Raw(a.keys), QKeySequence::PortableText);
            if (const std::optional<EditCommand> command = EditCommandOf(a.id); command && !seq.isEmpty()) {
                keys.push_back({*command, seq[0]});
            }
        }
        return keys;
    }();
    return table;
}

// Text of several cells, or of whole channels: a paste of the grid's own,
// not of one cell's text into an open editor.
bool IsBlockOnClipboard() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data) {
        return false;
    }
    if (data->hasFormat(Raw(kChannelRecordsMime))) {
        return true;
    }
    QString text = data->text();
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\n'));
}

}  // namespace

std::optional<EditCommand> EditCommandOf(int id) {
    for (const EditIds& e : kEditIds) {
        if (e.id == id) {
            return e.command;
        }
    }
    return std::nullopt;
}

CChannelCommands::CChannelCommands(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid,
                                   CCellEditors& cells, CChannelSelection& selection, CBulkEdits& bulk,
                                   CChannelChecks& checks)
    : QObject(window),
      m_window(window),
      m_doc(doc),
      m_grid(grid),
      m_cells(cells),
      m_selection(selection),
      m_bulk(bulk),
      m_checks(checks) {}

std::vector<QKeySequence> CChannelCommands::EditCommandKeys(EditCommand command) {
    std::vector<QKeySequence> keys;
    for (const EditKeys& k : KeyTable()) {
        if (k.command == command) {
            keys.emplace_back(k.key);
        }
    }
    return keys;
}

// --- Commands ------------------------------------------------------------------

bool CChannelCommands::CanDo(EditCommand command) const {
    if (!m_doc.Get() || m_doc.Busy()) {
        return false;
    }
    const std::vector<int> channels = m_selection.SelectedChannels();
    const int last = m_doc.Editor().Rows() - 1;
    switch (command) {
        case EditCommand::Undo:
            return m_doc.Get()->UndoStack()->canUndo();
        case EditCommand::Redo:
            return m_doc.Get()->UndoStack()->canRedo();
        case EditCommand::Paste: {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            return data && (data->hasText() || data->hasFormat(Raw(kChannelRecordsMime))) &&
                   !channels.empty();
        }
        case EditCommand::MoveUp:
            return !channels.empty() && channels.front() > 1;
        case EditCommand::MoveDown:
            return !channels.empty() && channels.back() < last;
        case EditCommand::SelectAll:
        case EditCommand::CheckChannels:
        case EditCommand::CheckPlan:
            return true;

        case EditCommand::SetCells:
        case EditCommand::FillDown:
        case EditCommand::FillSeries:
            return !channels.empty() && (command == EditCommand::SetCells   ? m_bulk.CanSetCells()
                                         : command == EditCommand::FillDown ? m_bulk.CanFillDown()
                                                                            : m_bulk.CanFillSeries());
        default:
            return !channels.empty();
    }
}

void CChannelCommands::OnEditCommand(EditCommand command) {
    if (!CanDo(command)) {
        return;
    }
    // An open editor commits first, as when the user leaves its cell.
    if (command != EditCommand::Undo && command != EditCommand::Redo) {
        m_cells.OnLeaveCellGrid();
    }
    DocumentData& data = m_doc.Get()->Data();
    switch (command) {
        case EditCommand::Undo:
        case EditCommand::Redo: {
            QWidget* editor = m_cells.GetCellEditor(m_grid->GetCol());
            if (editor && !editor->isHidden()) {
                m_cells.OnLeaveCellGrid();
            }
            if (command == EditCommand::Undo) {
                m_doc.Get()->UndoStack()->undo();
            } else {
                m_doc.Get()->UndoStack()->redo();
            }
            return;
        }
        case EditCommand::Copy:
        case EditCommand::Cut:
            CopySelection(command == EditCommand::Cut);
            return;
        case EditCommand::Paste:
            PasteClipboard();
            return;
        case EditCommand::Clear:
            m_selection.Finish(ClearCells(m_doc.Editor(), m_selection.SelectedCells()), kCmdClear);
            return;
        case EditCommand::InsertChannel: {
            const std::vector<int> channels = m_selection.SelectedChannels();
            const int count = m_selection.WholeChannelsSelected() ? static_cast<int>(channels.size()) : 1;
            m_selection.Finish(InsertChannels(data, m_doc.Editor(), channels.front(), count),
                               kCmdInsertChannel);
            return;
        }
        case EditCommand::DeleteChannels:
            m_selection.Finish(DeleteChannels(data, m_doc.Editor(), m_selection.SelectedChannels()),
                               kCmdDeleteChannels);
            return;
        case EditCommand::MoveUp:
        case EditCommand::MoveDown:
            m_selection.Finish(MoveChannels(data, m_doc.Editor(), m_selection.SelectedChannels(),
                                            command == EditCommand::MoveUp ? -1 : 1),
                               command == EditCommand::MoveUp ? kCmdMoveUp : kCmdMoveDown);
            return;
        case EditCommand::SelectAll:
            m_grid->selectAll();
            return;
        case EditCommand::SetCells:
            m_bulk.OnAskSetCells();
            return;
        case EditCommand::FillDown:
            m_bulk.OnFillDown();
            return;
        case EditCommand::FillSeries:
            m_bulk.OnAskFillSeries();
            return;
        case EditCommand::CheckChannels:
            m_checks.OnCheckChannels();
            return;
        case EditCommand::ApplyPlan:
            m_bulk.OnApplyPlan();
            return;
        case EditCommand::CheckPlan:
            m_checks.OnCheckPlan();
            return;
    }
}

void CChannelCommands::CopySelection(bool cut) {
    auto* mime = new QMimeData;
    const std::vector<int> channels = m_selection.SelectedChannels();
    if (m_selection.WholeChannelsSelected()) {
        mime->setText(Raw(CellsAsText(m_doc.Editor(), channels, {1, 2, 3, 4, 5}, WindowTexts())));
        mime->setData(Raw(kChannelRecordsMime), QByteArray::fromStdString(ChannelsAsRecords(
                                                    m_doc.Get()->Data(), m_doc.Editor(), channels)));
    } else {
        std::set<int> cols;
        for (const GridCell& c : m_selection.SelectedCells()) {
            cols.insert(c.col);
        }
        mime->setText(Raw(CellsAsText(m_doc.Editor(), channels, {cols.begin(), cols.end()}, WindowTexts())));
    }
    QApplication::clipboard()->setMimeData(mime);
    if (cut) {
        m_selection.Finish(ClearCells(m_doc.Editor(), m_selection.SelectedCells()), kCmdCut);
    }
}

void CChannelCommands::PasteClipboard() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    const auto records = ParseChannelRecords(mime->data(Raw(kChannelRecordsMime)).toStdString());
    const std::vector<int> channels = m_selection.SelectedChannels();
    if (!records.empty()) {
        m_selection.Finish(
            PasteChannelRecords(m_doc.Get()->Data(), m_doc.Editor(), channels.front(), records), kCmdPaste);
        return;
    }
    // From the top left of the selection on.
    int col = kColInhibit;
    for (const GridCell& c : m_selection.SelectedCells()) {
        col = std::min(col, c.col);
    }
    if (m_selection.WholeChannelsSelected()) {
        col = kColRxFreq;
    }
    m_selection.Finish(PasteCellsText(m_doc.Editor(), channels.front(), col, Utf8(mime->text())), kCmdPaste);
}

bool CChannelCommands::HandleEditKey(QWidget* focused, QKeyEvent* event) {
    const QKeyCombination pressed = event->keyCombination();
    std::optional<EditCommand> command;
    for (const EditKeys& k : KeyTable()) {
        // The keypad's keys count as the main ones.
        if (k.key == QKeyCombination(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key())) {
            command = k.command;
        }
    }
    if (!command) {
        return false;
    }
    if (focused != m_grid) {
        QWidget* editor = m_cells.GetCellEditor(m_grid->GetCol());
        const bool inEditor =
            editor && !editor->isHidden() && (focused == editor || editor->isAncestorOf(focused));
        if (!inEditor) {
            return false;  // the settings lists keep their keys
        }
        // An open editor keeps its own keys, but for a paste of several
        // cells, and for undo and redo while it holds the cell's text
        // unchanged (the editor has nothing of its own to undo).
        QString held;
        if (editor == m_cells.EditCell()) {
            held = m_cells.EditCell()->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            held = combo->currentText();
        }
        const bool unchanged = editor == m_cells.ComboYesNo() ||
                               Utf8(held) == m_doc.Editor().TextMatrix(m_grid->GetRow(), m_grid->GetCol());
        const bool take = (*command == EditCommand::Paste && IsBlockOnClipboard()) ||
                          ((*command == EditCommand::Undo || *command == EditCommand::Redo) && unchanged);
        if (!take) {
            return false;
        }
        if (unchanged) {
            m_cells.HideCellEditor(editor);
        }
    }
    OnEditCommand(*command);
    return true;
}

QMenu* CChannelCommands::CreateGridMenu(QWidget* parent) {
    // The same commands as the frame's "编辑" popup, in its order.
    auto* menu = new QMenu(parent);
    for (const MenuItem& item : EditPopup().children) {
        const std::optional<EditCommand> command = EditCommandOf(item.id);
        if (!command) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(Q(item.text));
        const std::vector<QKeySequence> keys = EditCommandKeys(*command);
        action->setShortcuts(QList<QKeySequence>(keys.begin(), keys.end()));
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(CanDo(*command));
        action->setData(item.id);
        connect(action, &QAction::triggered, this, [this, c = *command] { OnEditCommand(c); });
    }
    return menu;
}

void CChannelCommands::OnGridContextMenu(const QPoint& globalPos) {
    QMenu* menu = CreateGridMenu(m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

}  // namespace quorim
