// Many cells at once, the channel plans and the channel check, in the "编辑"
// popup and the grid's context menu. The core (editor/bulk_edit.h,
// editor/plan_apply.h, editor/channel_check.h) decides every value and
// finding; this file asks for the values, carries the result onto the grid
// as one undo step, and lists the findings.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/bulk_edit.h"
#include "editor/channel_check.h"
#include "editor/channel_plan.h"
#include "editor/plan_apply.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/plan_dialog.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The selected cells' columns, in order.
std::vector<int> Columns(const std::vector<GridCell>& cells) {
    std::vector<int> cols;
    for (const GridCell& c : cells) cols.push_back(c.col);
    std::sort(cols.begin(), cols.end());
    cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
    return cols;
}

// The column a series goes into: the selection's, when it lies in one column;
// the current cell's otherwise (whole channels selected).
int ValueColumn(const std::vector<GridCell>& cells, long currentCol) {
    const std::vector<int> cols = Columns(cells);
    return cols.size() == 1 ? cols.front() : static_cast<int>(currentCol);
}

QString ColumnCaption(int col) {
    return Raw(WindowTexts().Translate("Quorim", GridHeaders()[static_cast<std::size_t>(col)]));
}

}  // namespace

bool CQuorim_CHView::CanDoBulk(EditCommand command) const {
    const std::vector<GridCell> cells = SelectedCells();
    switch (command) {
        case EditCommand::SetCells:
            return !ColumnsToSet(Columns(cells), static_cast<int>(m_grid->GetCol())).empty();
        case EditCommand::FillDown:
            return SelectedChannels().size() > 1;
        case EditCommand::FillSeries: {
            const int col = ValueColumn(cells, m_grid->GetCol());
            return col == kColRxFreq || col == kColTxFreq;
        }
        default:
            return true;
    }
}

void CQuorim_CHView::OnAskSetCells() {
    const std::vector<int> channels = SelectedChannels();
    const std::vector<int> cols = ColumnsToSet(Columns(SelectedCells()), static_cast<int>(m_grid->GetCol()));
    if (channels.empty() || cols.empty()) return;
    QString captions = ColumnCaption(cols.front());
    for (std::size_t i = 1; i < cols.size(); ++i) {
        captions = Raw(
            TranslateWithArgs(WindowTexts(), kJoinColumns, {Utf8(captions), Utf8(ColumnCaption(cols[i]))}));
    }
    const QString label = Raw(TranslateWithArgs(
        WindowTexts(), kPromptValue,
        {Utf8(captions), std::to_string(channels.front()), std::to_string(channels.back())}));
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, Q(kCmdSetCells).remove(QStringLiteral("…")), label, QLineEdit::Normal,
                              m_grid->GetTextMatrix(channels.front(), cols.front()), &ok);
    if (ok) OnSetCells(text);
}

void CQuorim_CHView::OnAskFillSeries() {
    const std::vector<int> channels = SelectedChannels();
    const int col = ValueColumn(SelectedCells(), m_grid->GetCol());
    if (channels.empty()) return;
    bool ok = false;
    const QString start = QInputDialog::getText(this, Q(kCmdFillSeries), Q(kPromptStart), QLineEdit::Normal,
                                                Raw(Editor().TextMatrix(channels.front(), col)), &ok);
    if (!ok) return;
    const QString step = QInputDialog::getText(this, Q(kCmdFillSeries), Q(kPromptStep), QLineEdit::Normal,
                                               QStringLiteral("12.5"), &ok);
    if (ok) OnFillSeries(start, step);
}

void CQuorim_CHView::FinishBulk(const EditResult& result, std::string_view label) {
    Finish(result, label);
    if (!result.ok) return;
    QStringList notes;
    for (const std::string& note : BulkNotes(result, WindowTexts())) notes << Raw(note);
    if (!notes.isEmpty())
        AfxMessageBox(this, notes.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Information);
}

QAction* CQuorim_CHView::ApplyPlanAction() {
    if (!m_actApplyPlan) {
        m_actApplyPlan = new QAction(Q(kCmdApplyPlan), this);
        m_actApplyPlan->setObjectName(QStringLiteral("applyChannelPlan"));
        connect(m_actApplyPlan, &QAction::triggered, this, [this] { OnApplyPlan(); });
    }
    m_actApplyPlan->setEnabled(m_doc.Get() != nullptr && CanDo(EditCommand::Clear));
    return m_actApplyPlan;
}

void CQuorim_CHView::OnApplyPlan() {
    OnLeaveCellGrid();
    if (!m_doc.Get() || !CanDo(EditCommand::Clear)) return;
    CPlanDialog dialog(LastChannel(Editor()),
                       WholeChannelsSelected() ? SelectedChannels() : std::vector<int>{}, this);
    while (dialog.exec() == QDialog::Accepted) {
        PlanApplyOptions options;
        QString error;
        if (dialog.Options(options, error)) {
            ApplyChannelPlan(dialog.Plan().plan, options);
            return;
        }
        AfxMessageBox(this, error);
    }
}

void CQuorim_CHView::ApplyChannelPlan(const ChannelPlan& plan, const PlanApplyOptions& options) {
    const PlanApplyResult result = ApplyPlan(Editor(), plan, options);
    const std::vector<std::string> lines = FormatApplyResult(result, plan, options, WindowTexts());
    QStringList text;
    for (const std::string& line : lines) text << Raw(line);
    if (!result.edit.ok && result.problem != PlanApplyProblem::Refused) {
        AfxMessageBox(this, text.join(QLatin1Char('\n')));
        return;
    }
    Finish(result.edit, kCmdApplyPlan);
    if (result.edit.ok) {
        AfxMessageBox(this, text.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Information);
    }
}

void CQuorim_CHView::OnCheckPlan() {
    OnLeaveCellGrid();
    ShowFindings(true);
}

void CQuorim_CHView::OnSetCells(const QString& text) {
    OnLeaveCellGrid();
    std::vector<ColumnValue> values;
    for (const int col : ColumnsToSet(Columns(SelectedCells()), static_cast<int>(m_grid->GetCol()))) {
        values.push_back({col, Utf8(text.trimmed())});
    }
    FinishBulk(SetChannelValues(Editor(), SelectedChannels(), values), kCmdSetCells);
}

void CQuorim_CHView::OnFillDown() {
    OnLeaveCellGrid();
    FinishBulk(FillDown(Editor(), SelectedChannels(), Columns(SelectedCells())), kCmdFillDown);
}

void CQuorim_CHView::OnFillSeries(const QString& start, const QString& stepKhz) {
    OnLeaveCellGrid();
    const int col = ValueColumn(SelectedCells(), m_grid->GetCol());
    FinishBulk(FillSeries(Editor(), SelectedChannels(), col, Utf8(start.trimmed()), Utf8(stepKhz.trimmed())),
               kCmdFillSeries);
}

void CQuorim_CHView::OnCheckChannels() {
    OnLeaveCellGrid();
    if (m_checkDialog) {
        FillCheckList();
        m_checkDialog->raise();
        m_checkDialog->activateWindow();
        return;
    }
    if (CheckChannels(Editor()).empty()) {
        AfxMessageBox(this, Q(kMsgNoFindings), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    ShowFindings(false);
}

void CQuorim_CHView::ShowFindings(bool plan) {
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("checkChannels"));
    dialog->setWindowTitle(Q(kCmdCheckChannels));
    m_checkPlans = new QComboBox(dialog);
    m_checkPlans->setObjectName(QStringLiteral("checkPlan"));
    m_checkPlans->addItem(Q(kPlanNone));
    for (const PlanListing& p : ListPlans(UserPlanFolder())) {
        m_checkPlans->addItem(
            p.path.empty() ? Raw(p.name) : Raw(p.name) + QStringLiteral(" (") + Raw(p.path) + u')',
            Raw(p.path.empty() ? p.name : p.path));
    }
    m_checkList = new QListWidget(dialog);
    // The notes are sentences: wrapped, never cut off.
    m_checkList->setWordWrap(true);
    m_checkList->setResizeMode(QListView::Adjust);
    m_checkList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_checkPlans, &QComboBox::currentIndexChanged, dialog, [this] { FillCheckList(); });
    connect(m_checkList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(Qt::UserRole).toInt() < 1) return;
        m_grid->SetRow(item->data(Qt::UserRole).toInt());
        m_grid->SetCol(item->data(Qt::UserRole + 1).toInt());
        m_grid->scrollTo(
            m_grid->model()->index(static_cast<int>(m_grid->GetRow()) - CMSFlexGrid1::kFixedRows,
                                   static_cast<int>(m_grid->GetCol()) - CMSFlexGrid1::kFixedCols));
        m_grid->setFocus();
    });
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(Q(kCheckClose), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(m_checkPlans);
    layout->addWidget(m_checkList);
    layout->addWidget(buttons);
    m_checkDialog = dialog;
    if (plan && m_checkPlans->count() > 1) {
        m_checkPlans->setCurrentIndex(1);  // fills the list
    } else {
        FillCheckList();
    }
    dialog->resize(560, 260);
    dialog->show();
}

void CQuorim_CHView::ScheduleCheckRefresh() {
    // Many cells change at once in a paste or a fill: the list follows once.
    if ((!m_checkDialog && !m_checkSummaryShown) || m_checkRefreshPending) return;
    m_checkRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_checkRefreshPending = false;
        if (m_checkDialog) FillCheckList();
        if (m_checkSummaryShown) TellCheckSummary();
    });
}

void CQuorim_CHView::TellCheckSummary() {
    // Told after a read or an open, and followed until nothing is left to tell.
    const QString text = m_doc.Get() ? Raw(CheckSummary(Editor(), WindowTexts())) : QString();
    m_checkSummaryShown = !text.isEmpty();
    emit CheckSummaryText(text);
}

void CQuorim_CHView::FillCheckList() {
    if (!m_checkList) return;
    m_checkList->clear();
    const auto add = [this](const std::string& text, int channel, int col) {
        auto* item = new QListWidgetItem(Raw(text), m_checkList);
        item->setData(Qt::UserRole, channel);
        item->setData(Qt::UserRole + 1, col);
    };
    const std::vector<ChannelFinding> findings = CheckChannels(Editor());
    for (const ChannelFinding& f : findings) add(FormatFinding(f, Editor(), WindowTexts()), f.channel, f.col);
    const int index = m_checkPlans ? m_checkPlans->currentIndex() : 0;
    if (index > 0) {
        const std::string name = Utf8(m_checkPlans->itemData(index).toString());
        const PlanLoad load = LoadPlan(name, UserPlanFolder());
        if (!load.Ok()) {
            add(FormatPlanLoadProblem(load, name, WindowTexts()), 0, 0);
            return;
        }
        const std::vector<PlanFinding> planFindings = CheckAgainstPlan(Editor(), load.plan);
        for (const PlanFinding& f : planFindings)
            add(FormatPlanFinding(f, Editor(), load.plan, WindowTexts()), f.channel, f.col);
        for (const std::string& line :
             PlanCheckNotes(!findings.empty() || !planFindings.empty(), load.plan, WindowTexts()))
            add(line, 0, 0);
        return;
    }
    if (findings.empty()) {
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                         Q(kMsgNoFindings), m_checkList);
        item->setFlags(Qt::ItemIsEnabled);
    }
}

}  // namespace quorim
