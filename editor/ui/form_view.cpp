#include "editor/ui/form_view.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPainter>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "editor/form_template.h"
#include "editor/settings_lists.h"
#include "editor/ui/channel_table.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/quorim_doc.h"
#include "editor/ui/view_form.h"
#include "ui/commands.h"
#include "ui/dialog_builder.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The wheel over a list (or its field) that does not have the keyboard focus.
bool WheelPassesListBy(QWidget* under) {
    for (QWidget* w = under; w; w = w->parentWidget()) {
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            const QWidget* focus = QApplication::focusWidget();
            return !(focus && (focus == combo || combo->isAncestorOf(focus)));
        }
    }
    return false;
}

bool IsSettingsCombo(int id) {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        if (info.controlId == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

CQuorim_CHView::CQuorim_CHView(CQuorim_CHDoc* doc, CViewHost* host, QWidget* parent)
    : QScrollArea(parent),
      m_doc(doc),
      m_host(host),
      m_form(doc ? doc->Table() : nullptr),
      m_grid(m_form.Grid()) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWidget(m_form.Widget());
    CreateParts();
    ConnectForm();
    ConnectDocument();
    qApp->installEventFilter(this);
}

void CQuorim_CHView::ConnectDocument() {
    CQuorim_CHDoc* doc = m_doc.Get();
    if (!doc) {
        return;
    }
    doc->AddView(this);
    CChannelTable* table = doc->Table();
    connect(table, &CChannelTable::SelectionChanged, m_lists, &CSettingsListsView::OnSelectionChanged);
    connect(table, &QAbstractItemModel::rowsAboutToBeInserted, this, &CQuorim_CHView::OnRowsChanging);
    connect(table, &QAbstractItemModel::rowsAboutToBeRemoved, this, &CQuorim_CHView::OnRowsChanging);
    connect(doc, &CQuorim_CHDoc::StateChanging, this, &CQuorim_CHView::BeginStateChange);
    connect(doc, &CQuorim_CHDoc::StateChanged, this, &CQuorim_CHView::EndStateChange);
    connect(doc, &CQuorim_CHDoc::Changed, this, &CQuorim_CHView::OnDocumentChanged);
    // An open list of findings follows the cells and the band list.
    const auto refresh = [checks = m_checks] { checks->ScheduleCheckRefresh(); };
    connect(table, &QAbstractItemModel::dataChanged, m_checks, refresh);
    connect(table, &QAbstractItemModel::modelReset, m_checks, refresh);
    connect(table, &CChannelTable::SelectionChanged, m_checks, refresh);
    connect(doc, &CQuorim_CHDoc::StateChanged, m_checks, refresh);
}

CQuorim_CHView::~CQuorim_CHView() {
    qApp->removeEventFilter(this);
    // The form goes while the view is still whole, and tells it nothing more:
    // a grid being torn down must not raise its cell events into a view
    // that is half gone.
    for (QObject* child : m_form.Widget()->findChildren<QObject*>()) {
        for (const QObject* receiver :
             {static_cast<QObject*>(this), static_cast<QObject*>(m_cells), static_cast<QObject*>(m_lists)}) {
            disconnect(child, nullptr, receiver, nullptr);
        }
    }
    delete takeWidget();
    DetachDocument();
}

void CQuorim_CHView::CreateParts() {
    const auto commit = [this] { OnLeaveCellGrid(); };
    m_cells = new CCellEditors(this, m_doc, m_grid);
    connect(m_cells, &CCellEditors::MessageText, this, &CQuorim_CHView::MessageText);
    m_lists = new CSettingsListsView(this, m_doc, *m_cells, m_form.Controls());
    m_selection = new CChannelSelection(this, m_doc, m_grid);
    m_bulk = new CBulkEdits(this, m_doc, m_grid, *m_selection, commit);
    m_checks = new CChannelChecks(this, m_doc, m_grid, commit);
    connect(m_checks, &CChannelChecks::CheckSummaryText, this, &CQuorim_CHView::CheckSummaryText);
    m_commands = new CChannelCommands(this, m_doc, m_grid, *m_cells, *m_selection, *m_bulk, *m_checks);
    m_radio = new CRadioCommands(this, m_doc, m_host, commit, [this] {
        QList<QComboBox*> lists;
        for (CQuorim_CHView* view : m_doc.Get() ? m_doc.Get()->Views() : QList<CQuorim_CHView*>{this}) {
            lists.append(view->Combo(SettingsList::Model));
        }
        return lists;
    });
    connect(m_radio, &CRadioCommands::TransferCommand, this, &CQuorim_CHView::TransferCommand);
    connect(m_radio, &CRadioCommands::RunTransfer, this, &CQuorim_CHView::RunTransfer);
    connect(m_radio, &CRadioCommands::OnlineTuning, this, &CQuorim_CHView::OnlineTuning);
    connect(m_radio, &CRadioCommands::TransferResultText, this, &CQuorim_CHView::TransferResultText);
    connect(m_radio, &CRadioCommands::ReadTaken, this, [this] {
        m_cells->HideCellEditors();
        m_cells->ReloadCellEditors();
        m_lists->SyncFunctionSettings();
        m_grid->viewport()->update();
        m_doc.RecordChange();  // one undo step
    });
    connect(m_radio, &CRadioCommands::ReadTold, m_checks, &CChannelChecks::TellCheckSummary);
    m_printing = new CViewPrinting(this, m_doc, m_host, commit);
    m_csv = new CCsvCommands(this, m_doc, commit);
    connect(m_csv, &CCsvCommands::Replacing, this, &CQuorim_CHView::BeginStateChange);
    connect(m_csv, &CCsvCommands::Replaced, this, &CQuorim_CHView::EndStateChange);
}

void CQuorim_CHView::DetachDocument() {
    if (CQuorim_CHDoc* doc = m_doc.Get()) {
        m_doc.Detach();
        for (const QObject* receiver :
             {static_cast<QObject*>(this), static_cast<QObject*>(m_lists), static_cast<QObject*>(m_checks)}) {
            disconnect(doc, nullptr, receiver, nullptr);
            disconnect(doc->Table(), nullptr, receiver, nullptr);
        }
        doc->RemoveView(this);
    }
}

void CQuorim_CHView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    m_form.FitTo(maximumViewportSize(), style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

void CQuorim_CHView::ConnectForm() {
    connect(m_grid, &CMSFlexGrid1::DblClick, m_cells, &CCellEditors::OnDblClickGrid);
    connect(m_grid, &CMSFlexGrid1::EnterCell, m_cells, &CCellEditors::OnEnterCellGrid);
    connect(m_grid, &CMSFlexGrid1::LeaveCell, m_cells, [cells = m_cells] { cells->OnLeaveCellGrid(true); });
    connect(m_grid, &CMSFlexGrid1::KeyPress, m_cells, &CCellEditors::OnKeyPressGrid, Qt::DirectConnection);
    connect(m_grid, &CMSFlexGrid1::MouseDown, m_cells, &CCellEditors::OnMouseDownGrid);
    connect(m_grid, &CMSFlexGrid1::Scroll, m_cells, &CCellEditors::OnScrollGrid);

    // The right button opens no editor: it opens the grid's context menu.
    for (QWidget* w : {static_cast<QWidget*>(m_grid), static_cast<QWidget*>(m_grid->verticalHeader())}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { m_commands->OnGridContextMenu(w->mapToGlobal(pos)); });
    }
    // A selection of several cells puts an open editor away, committed.
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_cells->IsOpen() && m_grid->selectionModel()->selectedIndexes().size() > 1) {
            OnLeaveCellGrid();
        }
    });
}

void CQuorim_CHView::OnRowsChanging() {
    // The cells move under the editors: put away, nothing committed.
    if (m_cells->Created()) {
        m_cells->HideCellEditors();
        m_rowsChanged = true;
    }
}

void CQuorim_CHView::OnDocumentChanged() {
    m_lists->SyncFunctionSettings();
    if (m_rowsChanged && m_cells->Created() && m_cells->AllHidden()) {
        m_cells->ReloadCellEditors();
    }
    m_rowsChanged = false;
}

// --- Set-up ------------------------------------------------------------------

void CQuorim_CHView::SizeGrid() {
    for (int col = 0; col < kGridColumns; ++col) {
        m_grid->SetColAlignment(col, 1);
    }
    const long w = m_grid->GetColWidth(2);
    m_grid->SetColWidth(2, static_cast<long>(1.25 * w));
    m_grid->SetColWidth(1, static_cast<long>(1.25 * w));
    m_grid->SetColWidth(0, static_cast<long>(0.5 * w));
    m_grid->SetColWidth(3, w);
    m_grid->SetColWidth(4, w);
    m_grid->SetColWidth(6, static_cast<long>(0.5 * w));
    m_grid->SetColWidth(5, static_cast<long>(0.95 * w));
    const long h = m_grid->GetRowHeight(2);
    for (int row = 0; row <= 16; ++row) {
        m_grid->SetRowHeight(row, static_cast<long>(0.95 * h));
    }
}

void CQuorim_CHView::OnInitialUpdate() {
    // The frame shrinks (never grows) to fit the form; a maximised one (a
    // new window beside a maximised one) keeps the whole area.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && !frame->isMaximized()) {
        if (frame->layout()) {
            frame->layout()->activate();
        }
        const QSize extra = frame->size() - size();
        frame->resize(frame->size().boundedTo(m_form.Size() + extra));
    }
    if (!m_cells->Created()) {
        m_cells->Create(m_form.Widget()->font());
        SizeGrid();
        m_lists->ShowSelections();
    }
    m_cells->EditCell()->clear();
    m_cells->HideCellEditors();
    // A further window of the document shows what the others show, edits
    // not yet saved included; the first one decodes the document.
    bool shown = false;
    for (const CQuorim_CHView* view : m_doc.Get() ? m_doc.Get()->Views() : QList<CQuorim_CHView*>()) {
        shown = shown || (view != this && view->Cells().Created());
    }
    if (shown) {
        m_cells->ReloadCellEditors();
    } else if (m_doc.Get()) {
        m_doc.Get()->InitialUpdate();
    }
    m_rowsChanged = false;
    m_lists->SyncFunctionSettings();
    Combo(SettingsList::Model)->setFocus();
    m_checks->TellCheckSummary();
}

// --- Settings lists ----------------------------------------------------------

bool CQuorim_CHView::OnSelChangeModel() {
    return m_lists->OnSelChangeModel();
}

// --- Commands ----------------------------------------------------------------

bool CQuorim_CHView::HandlesCommand(int id) {
    switch (id) {
        case ID_READ_RADIO:
        case ID_WRITE_RADIO:
        case ID_ONLINE_TUNING:
        case ID_EDIT_CHANNEL:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_DIRECT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_IMPORT_CSV:
        case ID_FILE_EXPORT_CSV:
            return true;
        default:
            return IsEditCommand(id);
    }
}

bool CQuorim_CHView::OnCmdMsg(int id) {
    switch (id) {
        case ID_READ_RADIO:
            OnReadRadio();
            return true;
        case ID_WRITE_RADIO:
            OnWriteRadio();
            return true;
        case ID_ONLINE_TUNING:
            OnOnlineTuning();
            return true;
        case ID_EDIT_CHANNEL:
            OnEditChannel();
            return true;
        case ID_FILE_PRINT:
            m_printing->OnFilePrint();
            return true;
        case ID_FILE_PRINT_DIRECT:
            m_printing->OnFilePrintDirect();
            return true;
        case ID_FILE_PRINT_PREVIEW:
            m_printing->OnFilePrintPreview();
            return true;
        case ID_FILE_IMPORT_CSV:
            m_csv->OnFileImportCsv();
            return true;
        case ID_FILE_EXPORT_CSV:
            m_csv->OnFileExportCsv();
            return true;
        default:
            if (const std::optional<EditCommand> command = EditCommandOf(id)) {
                m_commands->OnEditCommand(*command);
                return true;
            }
            return false;
    }
}

bool CQuorim_CHView::IsCommandEnabled(int id) const {
    const std::optional<EditCommand> command = EditCommandOf(id);
    return command ? m_commands->CanDo(*command) : HandlesCommand(id);
}

void CQuorim_CHView::BeginStateChange() {
    m_cells->HideCellEditors();
}

void CQuorim_CHView::EndStateChange() {
    m_lists->SyncFunctionSettings();
    m_cells->ReloadCellEditors();
    m_grid->viewport()->update();
}

void CQuorim_CHView::OnReadRadio() {
    m_radio->OnReadRadio();
}

void CQuorim_CHView::OnWriteRadio() {
    m_radio->OnWriteRadio();
}

void CQuorim_CHView::OnRadioTransfer() {
    m_radio->OnRadioTransfer();
}

void CQuorim_CHView::OnOnlineTuning() {
    m_radio->OnOnlineTuning();
}

void CQuorim_CHView::OnEditChannel() {
    AfxMessageBox(this, Q(kEditChannelMessage));
    m_grid->SetCol(1);
    m_grid->SetRow(1);
    m_grid->setFocus();
}

void CQuorim_CHView::OnLeaveCellGrid(bool reopenRefused) {
    m_cells->OnLeaveCellGrid(reopenRefused);
}

bool CQuorim_CHView::PreTranslateMessage(QObject* target, QKeyEvent* event) {
    auto* focused = qobject_cast<QWidget*>(target);
    if (!m_cells->Created() || !focused) {
        return false;
    }
    return m_commands->HandleEditKey(focused, event) || m_cells->HandleKey(focused, event);
}

// --- Painting ----------------------------------------------------------------

void CQuorim_CHView::OnPaint() {
    // The form draws nothing itself; an open tone editor stays on top of the
    // grid it is laid over.
    QComboBox* tone = m_cells->ComboTone();
    if (tone && tone->isVisible()) {
        tone->raise();
        tone->update();
    }
}

// --- Status hints ------------------------------------------------------------

void CQuorim_CHView::OnSetCursor(QWidget* under) {
    std::string_view hint = kHintOther;
    auto* combo = qobject_cast<QComboBox*>(under);
    const int id = under ? under->property(kControlIdProperty).toInt() : 0;
    const bool viewCombo =
        combo && (combo == m_cells->ComboTone() || combo == m_cells->ComboYesNo() || IsSettingsCombo(id));
    // The grid is one control to the user: its cells, headers and scroll bars,
    // but not the in-place editors laid over it.
    bool onGrid = under == m_grid;
    QWidget* onEditor = nullptr;
    if (!onGrid && under && m_grid->isAncestorOf(under)) {
        onGrid = true;
        for (QWidget* editor :
             {static_cast<QWidget*>(m_cells->EditCell()), static_cast<QWidget*>(m_cells->ComboTone()),
              static_cast<QWidget*>(m_cells->ComboYesNo())}) {
            if (editor && (editor == under || editor->isAncestorOf(under))) {
                onGrid = false;
                onEditor = editor;
            }
        }
    }
    // Over the cell being edited: what its column takes.
    const std::string_view rule = onEditor && !onEditor->isHidden()
                                      ? ColumnRule(static_cast<int>(m_grid->GetCol()))
                                      : std::string_view();
    if (!rule.empty()) {
        hint = rule;
    } else if (viewCombo) {
        hint = kHintCombo;
    } else if (onGrid) {
        hint = kHintGrid;
    }
    emit MessageText(Q(hint));
}

bool CQuorim_CHView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Wheel && watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched)) &&
        WheelPassesListBy(static_cast<QWidget*>(watched))) {
        // A list without the keyboard focus is never changed by the wheel:
        // the form scrolls instead.
        QCoreApplication::sendEvent(viewport(), event);
        return true;
    }
    if (watched == m_form.Widget() && type == QEvent::Paint) {
        OnPaint();
    }
    if (type == QEvent::KeyPress && watched->isWidgetType()) {
        auto* target = static_cast<QWidget*>(watched);
        if ((target == this || isAncestorOf(target)) &&
            PreTranslateMessage(watched, static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType()) {
        QWidget* under =
            type == QEvent::Enter ? static_cast<QWidget*>(watched) : QApplication::widgetAt(QCursor::pos());
        if (under && (under == this || isAncestorOf(under))) {
            OnSetCursor(under);
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

}  // namespace quorim
