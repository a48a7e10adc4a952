#include "editor/ui/cell_editors.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QTimer>
#include <cstdint>

#include "editor/cell_rules.h"
#include "editor/form_template.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/view_document.h"
#include "image/tone_table.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

void SendKey(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

// The id of a control, as the form's controls carry it.
const char* const kEditorIdProperty = "controlId";

QComboBox* MakeListEditor(QWidget* grid, int id) {
    auto* combo = new QComboBox(grid);
    combo->setObjectName(QStringLiteral("ctl%1").arg(id));
    combo->setProperty(kEditorIdProperty, id);
    combo->setGeometry(0, 0, 0, 0);
    return combo;
}

}  // namespace

void SetComboSel(QComboBox* combo, int index) {
    // A selection set by program raises no selection-change notification.
    const QSignalBlocker block(combo);
    if (index < -1 || index >= combo->count()) {
        index = -1;
    }
    combo->setCurrentIndex(index);
    if (combo->lineEdit()) {
        combo->lineEdit()->setText(index >= 0 ? combo->itemText(index) : QString());
        // Like the list's own edit field, show the text from its beginning.
        combo->lineEdit()->setCursorPosition(0);
    }
}

CCellEditors::CCellEditors(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid)
    : QObject(window), m_window(window), m_doc(doc), m_grid(grid) {}

void CCellEditors::Create(const QFont& formFont) {
    if (m_created) {
        return;
    }
    m_editCell = new QLineEdit(m_grid);
    m_editCell->setObjectName(QStringLiteral("ctl%1").arg(IDC_EDIT_CELL));
    m_editCell->setProperty(kEditorIdProperty, IDC_EDIT_CELL);
    m_editCell->setFrame(false);
    m_editCell->setAcceptDrops(false);
    m_editCell->setGeometry(0, 0, 0, 0);
    m_editCell->hide();
    m_editCell->setFont(formFont);

    m_comboYesNo = MakeListEditor(m_grid, IDC_COMBO_YESNO);
    m_comboTone = MakeListEditor(m_grid, IDC_COMBO_TONE);
    m_comboTone->setEditable(true);
    m_comboTone->setInsertPolicy(QComboBox::NoInsert);
    m_comboTone->setCompleter(nullptr);
    m_comboTone->lineEdit()->setAcceptDrops(false);
    m_comboTone->setGeometry(0, 0, 0, 0);
    m_comboTone->setFont(formFont);
    m_comboYesNo->setFont(formFont);

    for (const std::string& name : ToneTable::Shared().Names()) {
        m_comboTone->addItem(Raw(name));
    }
    m_comboTone->hide();
    m_comboYesNo->addItem(Q(kYes));
    m_comboYesNo->addItem(Q(kNo));
    m_comboYesNo->hide();
    SetUpCellEditors();
    m_created = true;
}

bool CCellEditors::IsOpen() const {
    QWidget* editor = m_created ? GetCellEditor(m_grid->GetCol()) : nullptr;
    return editor && !editor->isHidden();
}

bool CCellEditors::AllHidden() const {
    return m_editCell->isHidden() && m_comboTone->isHidden() && m_comboYesNo->isHidden();
}

void CCellEditors::HideCellEditors() {
    if (m_created) {
        m_editCell->hide();
        m_comboTone->hide();
        m_comboYesNo->hide();
    }
}

void CCellEditors::Committed() {
    m_doc.RecordChange();  // one step of the document's undo history
}

QWidget* CCellEditors::GetCellEditor(long col) const {
    switch (EditorForColumn(static_cast<int>(col))) {
        case CellEditor::Tone:
            return m_comboTone;
        case CellEditor::YesNo:
            return m_comboYesNo;
        default:
            return m_editCell;
    }
}

void CCellEditors::SetUpCellEditors() {
    // The editors lie inside a row of the grid: they draw no frame, like the
    // edit box, and write in the cells' own font. The form's face stands in
    // for a bitmap face whose lines were 12 pixels high; its lines are
    // higher than a row, and a row would cut its characters off.
    for (QWidget* editor : {static_cast<QWidget*>(m_editCell), static_cast<QWidget*>(m_comboTone),
                            static_cast<QWidget*>(m_comboYesNo)}) {
        editor->setFont(m_grid->font());
    }
    m_comboTone->setFrame(false);
    m_comboYesNo->setFrame(false);

    // Typing into the tone list's field leaves the list without a selection,
    // so that leaving the cell checks the typed text instead of committing
    // the item the cell was loaded with.
    QLineEdit* field = m_comboTone->lineEdit();
    connect(field, &QLineEdit::textEdited, m_comboTone, [this, field](const QString& text) {
        if (m_comboTone->currentIndex() < 0) {
            return;
        }
        const int caret = field->cursorPosition();
        const QSignalBlocker block(m_comboTone);
        m_comboTone->setCurrentIndex(-1);
        field->setText(text);
        field->setCursorPosition(caret);
    });
}

void CCellEditors::HideCellEditor(QWidget* editor) {
    if (!editor || editor->isHidden()) {
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->hidePopup();
    }
    // The keyboard stays with the grid rather than wandering on to the next
    // control of the form.
    QWidget* focus = editor->window()->focusWidget();
    if (focus && (focus == editor || editor->isAncestorOf(focus))) {
        m_grid->setFocus(Qt::OtherFocusReason);
    }
    editor->hide();
}

void CCellEditors::ShowCellMessage(std::string_view message, long col) {
    // The fixed message, and under it what the column takes.
    AfxMessageBoxWithDetail(m_window, Q(message), Q(ColumnRule(static_cast<int>(col))));
}

void CCellEditors::BeginCellEdit(short key, QWidget* editor) {
    if (!m_created) {
        return;
    }
    const long row = m_grid->GetRow();
    const long col = m_grid->GetCol();
    if (!editor) {
        editor = GetCellEditor(col);
    }
    const CellEditor kind = editor == m_comboTone    ? CellEditor::Tone
                            : editor == m_comboYesNo ? CellEditor::YesNo
                                                     : CellEditor::Edit;
    const QString held =
        kind == CellEditor::Edit ? m_editCell->text() : qobject_cast<QComboBox*>(editor)->currentText();
    // The grid reports the typed character as a 16-bit code.
    const int code = static_cast<std::uint16_t>(key);
    const BeginEdit begin =
        DecideBeginEdit(code, static_cast<int>(col), Utf8(held), m_doc.Editor().TextMatrix(row, col));
    if (!begin.open) {
        return;
    }
    if (!begin.message.empty()) {
        ShowCellMessage(begin.message, col);
    }

    const EditorPlacement at =
        PlaceEditor(kind, m_grid->GetCellLeft(), m_grid->GetCellTop(), m_grid->GetCellWidth(),
                    m_grid->GetCellHeight(), m_grid->PixelsPerInchX(), m_grid->PixelsPerInchY());
    editor->setGeometry(at.x, at.y, at.width, at.height);
    QLineEdit* field = kind == CellEditor::Edit ? m_editCell : m_comboTone->lineEdit();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // The drop-down list takes the room below the cell the rules give it.
        const int itemHeight = qMax(1, combo->view()->sizeHintForRow(0));
        combo->setMaxVisibleItems(qMax(1, at.listHeight / itemHeight));
        if (kind == CellEditor::YesNo) {
            field = nullptr;
        }
    }
    if (begin.text && field) {
        if (kind == CellEditor::Tone) {
            // A typed character: the list has no selection any more.
            const QSignalBlocker block(m_comboTone);
            m_comboTone->setCurrentIndex(-1);
        }
        field->setText(Raw(*begin.text));
    }

    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    // What the cell takes, while it is edited.
    if (const std::string_view rule = ColumnRule(static_cast<int>(col)); !rule.empty()) {
        emit MessageText(Q(rule));
    }
    if (field) {
        if (begin.selectAll) {
            field->selectAll();
        } else {
            field->deselect();
            field->end(false);
        }
    }
    m_grid->viewport()->update();
}

// --- Opening triggers -------------------------------------------------------

void CCellEditors::OnDblClickGrid() {
    if (IsEditableCell(static_cast<int>(m_grid->GetRow()), static_cast<int>(m_grid->GetCol()))) {
        BeginCellEdit(kKeyNone);
    }
}

void CCellEditors::OnMouseDownGrid(short button, short shift, long /*x*/, long /*y*/) {
    // Shift+click and Ctrl+click select; they open no editor.
    if (shift & 3) {
        return;
    }
    if (OpensOnMouseDown(button, static_cast<int>(m_grid->GetRow()), static_cast<int>(m_grid->GetCol()))) {
        BeginCellEdit(kKeyNone);
    }
}

void CCellEditors::OnKeyPressGrid(short& keyAscii) {
    if (IsEditableCell(static_cast<int>(m_grid->GetRow()), static_cast<int>(m_grid->GetCol()))) {
        BeginCellEdit(keyAscii);
    }
}

// --- Loading, scrolling, committing ------------------------------------------

void CCellEditors::OnEnterCellGrid() {
    const long row = m_grid->GetRow();
    if (!m_created || row == 0) {
        return;
    }
    const long col = m_grid->GetCol();
    const std::string text = m_doc.Editor().TextMatrix(row, col);
    QWidget* editor = GetCellEditor(col);
    // Loaded, not shown: a combo selects the first item that begins with the
    // cell's text, the edit box takes the text as it is.
    if (editor == m_comboTone) {
        SetComboSel(m_comboTone, ComboIndexForCellText(ToneItems(), text));
    } else if (editor == m_comboYesNo) {
        SetComboSel(m_comboYesNo, ComboIndexForCellText(YesNoItems(), text));
    } else {
        m_editCell->setText(Raw(text));
    }
}

void CCellEditors::OnScrollGrid() {
    // The cells moved away under the editors: hidden, nothing committed.
    if (m_created) {
        HideCellEditor(m_editCell);
        HideCellEditor(m_comboTone);
        HideCellEditor(m_comboYesNo);
    }
}

void CCellEditors::ReloadCellEditors() {
    if (!m_created) {
        return;
    }
    m_editCell->clear();
    SetComboSel(m_comboTone, -1);
    SetComboSel(m_comboYesNo, -1);
    OnEnterCellGrid();
}

void CCellEditors::ReopenRefusedEdit(long row, long col, const QString& typed) {
    if (!m_created || row >= m_grid->GetRows()) {
        return;
    }
    // Whatever opened meanwhile on another cell is put away, not committed.
    HideCellEditors();
    m_grid->SetRow(row);
    m_grid->SetCol(col);
    BeginCellEdit(kKeyNone);
    QWidget* editor = GetCellEditor(col);
    QLineEdit* field = editor == m_editCell ? m_editCell : m_comboTone->lineEdit();
    if (editor == m_comboTone) {
        const QSignalBlocker block(m_comboTone);
        m_comboTone->setCurrentIndex(-1);
    }
    field->setText(typed);
    field->selectAll();
    editor->setFocus(Qt::OtherFocusReason);
}

void CCellEditors::OnLeaveCellGrid(bool reopenRefused) {
    if (!m_created) {
        return;
    }
    const int row = static_cast<int>(m_grid->GetRow());
    const int col = static_cast<int>(m_grid->GetCol());
    if (row == 0 || col == kColSpare) {
        return;
    }
    QWidget* editor = GetCellEditor(col);
    OpenEditorState state;
    state.visible = !editor->isHidden();
    if (!state.visible) {
        return;
    }
    if (editor == m_editCell) {
        state.text = Utf8(m_editCell->text());
    } else if (editor == m_comboTone) {
        state.text = Utf8(m_comboTone->currentText());
        if (m_comboTone->currentIndex() >= 0) {
            state.selectedItem = Utf8(m_comboTone->itemText(m_comboTone->currentIndex()));
        }
    } else {
        // The list's own item, whatever language shows it.
        const int index = m_comboYesNo->currentIndex();
        const auto& items = YesNoItems();
        if (index >= 0 && index < static_cast<int>(items.size())) {
            state.text = items[static_cast<std::size_t>(index)];
            state.selectedItem = state.text;
        }
    }
    const CellCommit commit = CommitOnLeave(m_doc.Editor(), row, col, state);
    if (!commit.message.empty()) {
        ShowCellMessage(commit.message, col);
    }
    HideCellEditor(editor);
    if (commit.changed) {
        Committed();
    }
    if (commit.refused && reopenRefused) {
        // Once the grid has finished its move, the editor goes back to the
        // cell it was refused on.
        const QString typed = Raw(state.text);
        QTimer::singleShot(0, this, [this, row, col, typed] { ReopenRefusedEdit(row, col, typed); });
    }
}

// --- Enter -------------------------------------------------------------------

bool CCellEditors::HandleKey(QWidget* focused, QKeyEvent* event) {
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        (focused == m_editCell || focused == m_comboTone || focused == m_comboYesNo)) {
        // The editors lie inside the grid: Tab moves on from the grid, to the
        // form's next or previous control, and leaves the editor as it is.
        m_grid->setFocus(Qt::OtherFocusReason);
        QKeyEvent again(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(m_grid, &again);
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        // Escape cancels an open editor: the cell keeps its text.
        for (QWidget* editor : {static_cast<QWidget*>(m_editCell), static_cast<QWidget*>(m_comboTone),
                                static_cast<QWidget*>(m_comboYesNo)}) {
            if (!editor->isHidden() && (editor == focused || editor->isAncestorOf(focused))) {
                HideCellEditor(editor);
                ReloadCellEditors();
                return true;
            }
        }
        return false;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    OnEnterKey(focused);
    return true;
}

void CCellEditors::OnEnterKey(QWidget* focused) {
    // The key goes to the window that has the keyboard focus.
    EnterFocus focus = EnterFocus::Other;
    QWidget* editor = m_comboTone;
    std::string text;
    if (focused == m_grid) {
        focus = EnterFocus::Grid;
        editor = nullptr;
    } else if (focused == m_editCell) {
        focus = EnterFocus::EditCell;
        editor = m_editCell;
        text = Utf8(m_editCell->text());
    } else if (focused == m_comboYesNo) {
        focus = EnterFocus::YesNoCombo;
        editor = m_comboYesNo;
        const int index = m_comboYesNo->currentIndex();
        if (index >= 0 && index < static_cast<int>(YesNoItems().size())) {
            text = YesNoItems()[static_cast<std::size_t>(index)];
        }
    } else {
        text = Utf8(m_comboTone->currentText());
    }

    const int row = static_cast<int>(m_grid->GetRow());
    const int col = static_cast<int>(m_grid->GetCol());
    const EnterOutcome out = HandleEnter(m_doc.Editor(), focus, !m_comboTone->isHidden(), row, col, text);
    if (!out.commit.message.empty()) {
        ShowCellMessage(out.commit.message, col);
    }
    if (out.commit.changed) {
        Committed();
    }
    switch (out.move) {
        case EnterMove::Reopen:
            ReopenRefusedEdit(row, col, Raw(text));
            break;
        case EnterMove::RightArrow:
            SendKey(m_grid, Qt::Key_Right);
            break;
        case EnterMove::Tab:
            if (focus == EnterFocus::YesNoCombo) {
                // Committed and put away; the focus moves on from the grid.
                HideCellEditor(m_comboYesNo);
                focused = m_grid;
            }
            SendKey(focused, Qt::Key_Tab);
            break;
        case EnterMove::EditNext:
            // Hidden first, so that the move's LeaveCell commits nothing twice;
            // the move's EnterCell loads the next editor.
            HideCellEditor(editor);
            if (out.row != row) {
                m_grid->SetRow(out.row);
            }
            if (out.col != m_grid->GetCol()) {
                m_grid->SetCol(out.col);
            }
            BeginCellEdit(kKeyEnter);
            break;
    }
}

}  // namespace quorim
