// The channel table as an editor of cells and whole channels: selection,
// clipboard, channel operations, undo and redo, and the grid's context menu.
// What each command does to the document is decided by the core
// (editor/channel_edit.h); this file gathers the selection, carries the
// result onto the widgets and records it as one undo step of the document.
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
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
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

std::vector<QKeySequence> CQuorim_CHView::EditCommandKeys(EditCommand command) {
    std::vector<QKeySequence> keys;
    for (const EditKeys& k : KeyTable()) {
        if (k.command == command) {
            keys.emplace_back(k.key);
        }
    }
    return keys;
}

void CQuorim_CHView::BeginStateChange() {
    HideCellEditors();
}

void CQuorim_CHView::EndStateChange() {
    SyncFunctionSettings();
    ReloadCellEditors();
    m_grid->viewport()->update();
}

// --- Selection -----------------------------------------------------------------

std::vector<GridCell> CQuorim_CHView::SelectedCells() const {
    std::vector<GridCell> cells;
    for (const QPoint& p : m_grid->SelectedCells()) {
        if (p.x() >= kColRxFreq && p.x() <= kColInhibit) {
            cells.push_back({p.y(), p.x()});
        }
    }
    if (cells.empty() && m_grid->GetRow() > 0 && m_grid->GetCol() >= kColRxFreq &&
        m_grid->GetCol() <= kColInhibit) {
        cells.push_back({static_cast<int>(m_grid->GetRow()), static_cast<int>(m_grid->GetCol())});
    }
    std::sort(cells.begin(), cells.end(), [](const GridCell& a, const GridCell& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    return cells;
}

std::vector<int> CQuorim_CHView::SelectedChannels() const {
    std::set<int> rows;
    for (const GridCell& c : SelectedCells()) {
        rows.insert(c.row);
    }
    if (rows.empty() && m_grid->GetRow() > 0) {
        rows.insert(static_cast<int>(m_grid->GetRow()));
    }
    return {rows.begin(), rows.end()};
}

bool CQuorim_CHView::WholeChannelsSelected() const {
    const std::vector<GridCell> cells = SelectedCells();
    const std::vector<int> rows = SelectedChannels();
    return !cells.empty() && cells.size() == rows.size() * (kColInhibit - kColRxFreq + 1);
}

void CQuorim_CHView::SelectChannels(const std::vector<int>& channels) {
    if (channels.empty()) {
        return;
    }
    if (m_grid->GetRow() != channels.front()) {
        m_grid->SetRow(channels.front());
    }
    m_grid->SelectRows(QList<int>(channels.begin(), channels.end()));
}

// --- Commands ------------------------------------------------------------------

bool CQuorim_CHView::CanDo(EditCommand command) const {
    if (!m_pDocument || IsTransferRunning()) {
        return false;
    }
    const std::vector<int> channels = SelectedChannels();
    const int last = Editor().Rows() - 1;
    switch (command) {
        case EditCommand::Undo:
            return m_pDocument->UndoStack()->canUndo();
        case EditCommand::Redo:
            return m_pDocument->UndoStack()->canRedo();
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
            return !channels.empty() && CanDoBulk(command);
        default:
            return !channels.empty();
    }
}

bool CQuorim_CHView::IsCommandEnabled(int id) const {
    const std::optional<EditCommand> command = EditCommandOf(id);
    return command ? CanDo(*command) : HandlesCommand(id);
}

void CQuorim_CHView::Finish(const EditResult& result, std::string_view label) {
    if (!result.ok) {
        if (!result.message.empty()) {
            QString text = Q(result.message);
            for (const CellRefusal& refusal : result.refusals) {
                text += QLatin1Char('\n') + Raw(FormatRefusal(refusal, WindowTexts()));
            }
            AfxMessageBox(this, text);
        }
        return;
    }
    if (m_pDocument) {
        m_pDocument->RecordChange(Q(label));
    }
    SelectChannels(result.channels);
    m_grid->viewport()->update();
}

void CQuorim_CHView::OnEditCommand(EditCommand command) {
    if (!CanDo(command)) {
        return;
    }
    // An open editor commits first, as when the user leaves its cell.
    if (command != EditCommand::Undo && command != EditCommand::Redo) {
        OnLeaveCellGrid();
    }
    DocumentData& data = m_pDocument->Data();
    switch (command) {
        case EditCommand::Undo:
        case EditCommand::Redo: {
            QWidget* editor = GetCellEditor(m_grid->GetCol());
            if (editor && !editor->isHidden()) {
                OnLeaveCellGrid();
            }
            if (command == EditCommand::Undo) {
                m_pDocument->UndoStack()->undo();
            } else {
                m_pDocument->UndoStack()->redo();
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
            Finish(ClearCells(Editor(), SelectedCells()), kCmdClear);
            return;
        case EditCommand::InsertChannel: {
            const std::vector<int> channels = SelectedChannels();
            const int count = WholeChannelsSelected() ? static_cast<int>(channels.size()) : 1;
            Finish(InsertChannels(data, Editor(), channels.front(), count), kCmdInsertChannel);
            return;
        }
        case EditCommand::DeleteChannels:
            Finish(DeleteChannels(data, Editor(), SelectedChannels()), kCmdDeleteChannels);
            return;
        case EditCommand::MoveUp:
        case EditCommand::MoveDown:
            Finish(MoveChannels(data, Editor(), SelectedChannels(), command == EditCommand::MoveUp ? -1 : 1),
                   command == EditCommand::MoveUp ? kCmdMoveUp : kCmdMoveDown);
            return;
        case EditCommand::SelectAll:
            m_grid->selectAll();
            return;
        case EditCommand::SetCells:
            OnAskSetCells();
            return;
        case EditCommand::FillDown:
            OnFillDown();
            return;
        case EditCommand::FillSeries:
            OnAskFillSeries();
            return;
        case EditCommand::CheckChannels:
            OnCheckChannels();
            return;
        case EditCommand::ApplyPlan:
            OnApplyPlan();
            return;
        case EditCommand::CheckPlan:
            OnCheckPlan();
            return;
    }
}

void CQuorim_CHView::CopySelection(bool cut) {
    auto* mime = new QMimeData;
    const std::vector<int> channels = SelectedChannels();
    if (WholeChannelsSelected()) {
        mime->setText(Raw(CellsAsText(Editor(), channels, {1, 2, 3, 4, 5}, WindowTexts())));
        mime->setData(Raw(kChannelRecordsMime),
                      QByteArray::fromStdString(ChannelsAsRecords(m_pDocument->Data(), Editor(), channels)));
    } else {
        std::set<int> cols;
        for (const GridCell& c : SelectedCells()) {
            cols.insert(c.col);
        }
        mime->setText(Raw(CellsAsText(Editor(), channels, {cols.begin(), cols.end()}, WindowTexts())));
    }
    QApplication::clipboard()->setMimeData(mime);
    if (cut) {
        Finish(ClearCells(Editor(), SelectedCells()), kCmdCut);
    }
}

void CQuorim_CHView::PasteClipboard() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    const auto records = ParseChannelRecords(mime->data(Raw(kChannelRecordsMime)).toStdString());
    const std::vector<int> channels = SelectedChannels();
    if (!records.empty()) {
        Finish(PasteChannelRecords(m_pDocument->Data(), Editor(), channels.front(), records), kCmdPaste);
        return;
    }
    // From the top left of the selection on.
    int col = kColInhibit;
    for (const GridCell& c : SelectedCells()) {
        col = std::min(col, c.col);
    }
    if (WholeChannelsSelected()) {
        col = kColRxFreq;
    }
    Finish(PasteCellsText(Editor(), channels.front(), col, Utf8(mime->text())), kCmdPaste);
}

bool CQuorim_CHView::HandleEditKey(QWidget* focused, QKeyEvent* event) {
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
        QWidget* editor = GetCellEditor(m_grid->GetCol());
        const bool inEditor =
            editor && !editor->isHidden() && (focused == editor || editor->isAncestorOf(focused));
        if (!inEditor) {
            return false;  // the settings lists keep their keys
        }
        // An open editor keeps its own keys, but for a paste of several
        // cells, and for undo and redo while it holds the cell's text
        // unchanged (the editor has nothing of its own to undo).
        QString held;
        if (editor == m_editCell) {
            held = m_editCell->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            held = combo->currentText();
        }
        const bool unchanged =
            editor == m_comboYesNo || Utf8(held) == Editor().TextMatrix(m_grid->GetRow(), m_grid->GetCol());
        const bool take = (*command == EditCommand::Paste && IsBlockOnClipboard()) ||
                          ((*command == EditCommand::Undo || *command == EditCommand::Redo) && unchanged);
        if (!take) {
            return false;
        }
        if (unchanged) {
            HideCellEditor(editor);
        }
    }
    OnEditCommand(*command);
    return true;
}

QMenu* CQuorim_CHView::CreateGridMenu(QWidget* parent) {
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

void CQuorim_CHView::OnGridContextMenu(const QPoint& globalPos) {
    QMenu* menu = CreateGridMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

}  // namespace quorim
