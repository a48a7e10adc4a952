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
#include "image/tone_table.h"
#include "ui/commands.h"
#include "ui/dialog_builder.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

const char* const kControlIdProperty = "controlId";

SettingsList ListOfControl(int id) {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        if (info.controlId == id) {
            return info.list;
        }
    }
    return SettingsList::Model;
}

// The width a drop-down list needs to show its longest item whole.
int WidthForItems(QComboBox* combo, int width, int height) {
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.rect = QRect(0, 0, width, height);
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    int longest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        longest = qMax(longest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    // The edit field keeps a few pixels of margin around its text.
    return longest + (width - field.width()) + 6;
}

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
    : QScrollArea(parent), m_pDocument(doc), m_host(host) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    CreateForm();
    if (m_pDocument) {
        m_pDocument->AddView(this);
        CChannelTable* table = m_pDocument->Table();
        connect(table, &CChannelTable::SelectionChanged, this, &CQuorim_CHView::OnSelectionChanged);
        connect(table, &QAbstractItemModel::rowsAboutToBeInserted, this, &CQuorim_CHView::OnRowsChanging);
        connect(table, &QAbstractItemModel::rowsAboutToBeRemoved, this, &CQuorim_CHView::OnRowsChanging);
        connect(m_pDocument, &CQuorim_CHDoc::StateChanging, this, &CQuorim_CHView::BeginStateChange);
        connect(m_pDocument, &CQuorim_CHDoc::StateChanged, this, &CQuorim_CHView::EndStateChange);
        connect(m_pDocument, &CQuorim_CHDoc::Changed, this, &CQuorim_CHView::OnDocumentChanged);
        // An open list of findings follows the cells and the band list.
        connect(table, &QAbstractItemModel::dataChanged, this, &CQuorim_CHView::ScheduleCheckRefresh);
        connect(table, &QAbstractItemModel::modelReset, this, &CQuorim_CHView::ScheduleCheckRefresh);
        connect(table, &CChannelTable::SelectionChanged, this, &CQuorim_CHView::ScheduleCheckRefresh);
        connect(m_pDocument, &CQuorim_CHDoc::StateChanged, this, &CQuorim_CHView::ScheduleCheckRefresh);
    }
    qApp->installEventFilter(this);
}

CQuorim_CHView::~CQuorim_CHView() {
    qApp->removeEventFilter(this);
    // The form goes while the view is still whole, and tells it nothing more:
    // a grid being torn down must not raise its cell events into a view
    // that is half gone.
    for (QObject* child : m_form->findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
    delete takeWidget();
    DetachDocument();
}

void CQuorim_CHView::DetachDocument() {
    if (CQuorim_CHDoc* doc = m_pDocument) {
        m_pDocument = nullptr;
        disconnect(doc, nullptr, this, nullptr);
        disconnect(doc->Table(), nullptr, this, nullptr);
        doc->RemoveView(this);
    }
}

EditorSurface& CQuorim_CHView::Editor() const {
    if (m_pDocument) {
        return m_pDocument->Editor();
    }
    return m_detached;
}

void CQuorim_CHView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    FitFormToView();
}

void CQuorim_CHView::FitFormToView() {
    if (!m_form || m_formBase.isEmpty()) {
        return;
    }
    // The area without scroll bars; a bar appears only for a side that is
    // too short, and takes its width from the other side.
    const QSize room = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool needH = room.width() < m_formBase.width();
    bool needV = room.height() < m_formBase.height();
    needV = needV || (needH && room.height() - bar < m_formBase.height());
    needH = needH || (needV && room.width() - bar < m_formBase.width());
    const QSize free(room.width() - (needV ? bar : 0), room.height() - (needH ? bar : 0));
    const QSize size = m_formBase.expandedTo(free);
    if (size == m_form->size()) {
        return;
    }
    const QSize grown = size - m_formBase;
    m_form->setFixedSize(size);
    m_grid->setGeometry(m_gridBase.adjusted(0, 0, grown.width(), grown.height()));
}

QSize CQuorim_CHView::FormSize() const {
    // The template's size, grown where the texts needed more room.
    if (!m_formBase.isEmpty()) {
        return m_formBase;
    }
    const DialogTemplate& t = FormTemplate();
    return {DluToPixelsX(t.cx, m_base), DluToPixelsY(t.cy, m_base)};
}

QWidget* CQuorim_CHView::MakeFormControl(const DialogControl& c) {
    QWidget* w = nullptr;
    switch (c.kind) {
        case ControlKind::GroupBox:
            w = MakeGroupBox(Q(c.caption), m_form);
            break;
        case ControlKind::Static: {
            QLabel* label = MakeLabel(Q(c.caption), m_form);
            label->setWordWrap(true);
            w = label;
            break;
        }
        case ControlKind::ComboBox: {
            QComboBox* combo = MakeDropDown(m_form);
            // A file dropped on the form opens it; it never becomes text.
            combo->lineEdit()->setAcceptDrops(false);
            const SettingsListInfo& info = Info(ListOfControl(c.id));
            for (const std::string_view item : info.items) {
                combo->addItem(Q(item, kTrSettingsList));
            }
            w = combo;
            break;
        }
        case ControlKind::Grid:
            // The grid shows the document's table; every view of the
            // document shows the same one.
            m_grid = new CMSFlexGrid1(m_form, m_pDocument ? m_pDocument->Table() : nullptr);
            w = m_grid;
            break;
        default:
            break;
    }
    return w;
}

void CQuorim_CHView::CreateForm() {
    m_form = new QWidget;
    QWidget* previousFocus = nullptr;
    m_base = BuildFromTemplate(m_form, FormTemplate(), [&](const DialogControl& c, const DlgRect&) {
        QWidget* w = MakeFormControl(c);
        if (!w) {
            return w;
        }
        w->setProperty(kControlIdProperty, c.id);
        if (c.id != IDC_STATIC) {
            m_controls.insert(c.id, w);
        }
        if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::Grid) {
            w->setFocusPolicy(Qt::StrongFocus);
            if (previousFocus) {
                QWidget::setTabOrder(previousFocus, w);
            }
            previousFocus = w;
        } else {
            w->setFocusPolicy(Qt::NoFocus);
        }
        return w;
    });
    // Every list wide enough for its longest item: this style's arrow and
    // frame take more room than the template allowed for.
    for (QComboBox* combo : m_form->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        combo->resize(qMax(combo->width(), WidthForItems(combo, combo->width(), combo->height())),
                      combo->height());
    }
    // A group box still encloses controls that grew past the template's width.
    for (QGroupBox* group : m_form->findChildren<QGroupBox*>()) {
        QRect box = group->geometry();
        for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w != group && box.contains(w->geometry().center())) {
                box.setRight(qMax(box.right(), w->geometry().right() + 4));
            }
        }
        group->setGeometry(box);
    }
    FitToTexts(m_form);
    m_formBase = m_form->size();
    m_gridBase = m_grid->geometry();
    setWidget(m_form);

    m_comboTot = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Tot).controlId));
    m_comboModel = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Model).controlId));
    m_comboAlarm = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Alarm).controlId));
    m_comboSquelch = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Squelch).controlId));
    m_comboPower = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Power).controlId));
    m_comboMonitor = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Monitor).controlId));
    m_comboBand = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Band).controlId));
    m_comboBandwidth = qobject_cast<QComboBox*>(m_controls.value(Info(SettingsList::Bandwidth).controlId));
    ConnectForm();
}

void CQuorim_CHView::ConnectForm() {
    for (const SettingsListInfo& info : AllSettingsLists()) {
        QComboBox* combo = Combo(info.list);
        const SettingsList list = info.list;
        // The user changed a selection (programmatic changes block the
        // signal): the document takes it.
        connect(combo, &QComboBox::currentIndexChanged, this, [this, list](int index) {
            if (list == SettingsList::Model) {
                if (!OnSelChangeModel()) {
                    return;
                }
            } else {
                Editor().SetCurSel(list, index);
            }
            MarkModified();
        });
        // Typed text gives way to a selection at once: the box always shows
        // what will be saved and printed.
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, list] { OnEditChange(list); });
    }

    connect(m_grid, &CMSFlexGrid1::DblClick, this, &CQuorim_CHView::OnDblClickGrid);
    connect(m_grid, &CMSFlexGrid1::EnterCell, this, &CQuorim_CHView::OnEnterCellGrid);
    connect(m_grid, &CMSFlexGrid1::LeaveCell, this, [this] { OnLeaveCellGrid(true); });
    connect(m_grid, &CMSFlexGrid1::KeyPress, this, &CQuorim_CHView::OnKeyPressGrid, Qt::DirectConnection);
    connect(m_grid, &CMSFlexGrid1::MouseDown, this, &CQuorim_CHView::OnMouseDownGrid);
    connect(m_grid, &CMSFlexGrid1::Scroll, this, &CQuorim_CHView::OnScrollGrid);

    // The right button opens no editor: it opens the grid's context menu.
    for (QWidget* w : {static_cast<QWidget*>(m_grid), static_cast<QWidget*>(m_grid->verticalHeader())}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& pos) { OnGridContextMenu(w->mapToGlobal(pos)); });
    }
    // A selection of several cells puts an open editor away, committed.
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_bEditorsCreated && m_grid->selectionModel()->selectedIndexes().size() > 1) {
            QWidget* editor = GetCellEditor(m_grid->GetCol());
            if (editor && !editor->isHidden()) {
                OnLeaveCellGrid();
            }
        }
    });
}

QComboBox* CQuorim_CHView::Combo(SettingsList list) const {
    switch (list) {
        case SettingsList::Tot:
            return m_comboTot;
        case SettingsList::Model:
            return m_comboModel;
        case SettingsList::Alarm:
            return m_comboAlarm;
        case SettingsList::Squelch:
            return m_comboSquelch;
        case SettingsList::Power:
            return m_comboPower;
        case SettingsList::Monitor:
            return m_comboMonitor;
        case SettingsList::Band:
            return m_comboBand;
        case SettingsList::Bandwidth:
            return m_comboBandwidth;
    }
    return nullptr;
}

void CQuorim_CHView::SetComboSel(QComboBox* combo, int index) {
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

void CQuorim_CHView::MarkModified() {
    if (m_pDocument) {
        // One step of the document's undo history.
        m_pDocument->RecordChange();
    }
}

void CQuorim_CHView::OnSelectionChanged(int list) {
    const auto which = static_cast<SettingsList>(list);
    QComboBox* combo = Combo(which);
    const int index = Editor().CurSel(which);
    if (combo && combo->currentIndex() != index) {
        SetComboSel(combo, index);
    }
    if (which == SettingsList::Model) {
        SyncFunctionSettings();
    }
}

void CQuorim_CHView::OnRowsChanging() {
    // The cells move under the editors: put away, nothing committed.
    if (m_bEditorsCreated) {
        HideCellEditors();
        m_rowsChanged = true;
    }
}

void CQuorim_CHView::OnDocumentChanged() {
    SyncFunctionSettings();
    if (m_rowsChanged && m_bEditorsCreated && m_editCell->isHidden() && m_comboTone->isHidden() &&
        m_comboYesNo->isHidden()) {
        ReloadCellEditors();
    }
    m_rowsChanged = false;
}

void CQuorim_CHView::OnCellCommitted() {
    MarkModified();
}

// --- Set-up ------------------------------------------------------------------

void CQuorim_CHView::HideCellEditors() {
    if (m_bEditorsCreated) {
        m_editCell->hide();
        m_comboTone->hide();
        m_comboYesNo->hide();
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
        frame->resize(frame->size().boundedTo(FormSize() + extra));
    }
    if (!m_bEditorsCreated) {
        const QFont formFont = m_form->font();
        m_editCell = new QLineEdit(m_grid);
        m_editCell->setObjectName(QStringLiteral("ctl%1").arg(IDC_EDIT_CELL));
        m_editCell->setProperty(kControlIdProperty, IDC_EDIT_CELL);
        m_editCell->setFrame(false);
        m_editCell->setAcceptDrops(false);
        m_editCell->setGeometry(0, 0, 0, 0);
        m_editCell->hide();
        m_editCell->setFont(formFont);

        m_comboYesNo = new QComboBox(m_grid);
        m_comboYesNo->setObjectName(QStringLiteral("ctl%1").arg(IDC_COMBO_YESNO));
        m_comboYesNo->setProperty(kControlIdProperty, IDC_COMBO_YESNO);
        m_comboYesNo->setGeometry(0, 0, 0, 0);

        m_comboTone = new QComboBox(m_grid);
        m_comboTone->setObjectName(QStringLiteral("ctl%1").arg(IDC_COMBO_TONE));
        m_comboTone->setProperty(kControlIdProperty, IDC_COMBO_TONE);
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

        for (int col = 0; col < kGridColumns; ++col) {
            m_grid->SetColAlignment(col, 1);
        }
        m_bEditorsCreated = true;

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

        for (const SettingsListInfo& info : AllSettingsLists()) {
            SetComboSel(Combo(info.list), Editor().CurSel(info.list));
        }
    }
    if (m_editCell) {
        m_editCell->clear();
    }
    HideCellEditors();
    // A further window of the document shows what the others show, edits
    // not yet saved included; the first one decodes the document.
    bool shown = false;
    for (const CQuorim_CHView* view : m_pDocument ? m_pDocument->Views() : QList<CQuorim_CHView*>()) {
        shown = shown || (view != this && view->EditorsCreated());
    }
    if (shown) {
        ReloadCellEditors();
    } else if (m_pDocument) {
        m_pDocument->InitialUpdate();
    }
    m_rowsChanged = false;
    SyncFunctionSettings();
    m_comboModel->setFocus();
    TellCheckSummary();
}

void CQuorim_CHView::SyncFunctionSettings() {
    const bool show = Editor().CurSel(SettingsList::Model) != 1;
    for (const int id : FunctionSettingsControls()) {
        if (QWidget* w = m_controls.value(id)) {
            w->setVisible(show);
        }
    }
}

// --- Settings lists ----------------------------------------------------------

bool CQuorim_CHView::OnSelChangeModel() {
    EditorSurface& editor = Editor();
    const int index = m_comboModel->currentIndex();
    const bool sixteenBefore = editor.Rows() < kRows199;
    if (index <= 0 && !sixteenBefore) {
        // Channels 17-199 go with the 199-channel model: asked first.
        const int dropped = ChannelsDroppedBySixteen(editor);
        if (dropped > 0 &&
            AfxMessageBox(this, Q(kAskDropChannels).arg(dropped), QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Question) != QMessageBox::Ok) {
            SetComboSel(m_comboModel, 1);
            return false;
        }
    }
    // A pending cell edit is dropped, not committed.
    HideCellEditors();
    if (m_pDocument) {
        m_pDocument->ChooseModel(index);
    }
    SyncFunctionSettings();
    ReloadCellEditors();
    return true;
}

void CQuorim_CHView::OnEditChange(SettingsList list) {
    QComboBox* combo = Combo(list);
    const int before = combo->currentIndex();
    // The model list gives way to the model the document has; the bandwidth
    // list to its own selection; the others to their fixed item.
    int restore = Info(list).restoreIndex;
    if (list == SettingsList::Model) {
        restore = Editor().Rows() < kRows199 ? 0 : 1;
    } else if (restore < 0) {
        restore = before;
    }
    SetComboSel(combo, restore);
    Editor().SetCurSel(list, restore);
    if (before != restore) {
        MarkModified();
    }
}

void CQuorim_CHView::OnEditChangeModel() {
    OnEditChange(SettingsList::Model);
}
void CQuorim_CHView::OnEditChangeTot() {
    OnEditChange(SettingsList::Tot);
}
void CQuorim_CHView::OnEditChangeAlarm() {
    OnEditChange(SettingsList::Alarm);
}
void CQuorim_CHView::OnEditChangeSquelch() {
    OnEditChange(SettingsList::Squelch);
}
void CQuorim_CHView::OnEditChangePower() {
    OnEditChange(SettingsList::Power);
}
void CQuorim_CHView::OnEditChangeMonitor() {
    OnEditChange(SettingsList::Monitor);
}
void CQuorim_CHView::OnEditChangeBand() {
    OnEditChange(SettingsList::Band);
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
            OnFilePrint();
            return true;
        case ID_FILE_PRINT_DIRECT:
            OnFilePrintDirect();
            return true;
        case ID_FILE_PRINT_PREVIEW:
            OnFilePrintPreview();
            return true;
        case ID_FILE_IMPORT_CSV:
            OnFileImportCsv();
            return true;
        case ID_FILE_EXPORT_CSV:
            OnFileExportCsv();
            return true;
        default:
            if (const std::optional<EditCommand> command = EditCommandOf(id)) {
                OnEditCommand(*command);
                return true;
            }
            return false;
    }
}

void CQuorim_CHView::OnEditChannel() {
    AfxMessageBox(this, Q(kEditChannelMessage));
    m_grid->SetCol(1);
    m_grid->SetRow(1);
    m_grid->setFocus();
}

// --- Painting ----------------------------------------------------------------

void CQuorim_CHView::OnPaint() {
    // The form draws nothing itself; an open tone editor stays on top of the
    // grid it is laid over.
    if (m_comboTone && m_comboTone->isVisible()) {
        m_comboTone->raise();
        m_comboTone->update();
    }
}

// --- Status hints ------------------------------------------------------------

void CQuorim_CHView::OnSetCursor(QWidget* under) {
    std::string_view hint = kHintOther;
    auto* combo = qobject_cast<QComboBox*>(under);
    const int id = under ? under->property(kControlIdProperty).toInt() : 0;
    const bool viewCombo = combo && (combo == m_comboTone || combo == m_comboYesNo || IsSettingsCombo(id));
    // The grid is one control to the user: its cells, headers and scroll bars,
    // but not the in-place editors laid over it.
    bool onGrid = under == m_grid;
    QWidget* onEditor = nullptr;
    if (!onGrid && under && m_grid->isAncestorOf(under)) {
        onGrid = true;
        for (QWidget* editor : {static_cast<QWidget*>(m_editCell), static_cast<QWidget*>(m_comboTone),
                                static_cast<QWidget*>(m_comboYesNo)}) {
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
    if (watched == m_form && type == QEvent::Paint) {
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
