// Many cells at once, the channel plans and the channel check, in the grid's
// context menu. The core (editor/bulk_edit.h, editor/plan_apply.h,
// editor/channel_check.h) decides every value and finding; this file asks
// for the values, carries the result onto the grid as one undo step, and
// lists the findings.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
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

// The column a value goes into: the selection's, when it lies in one column;
// the current cell's otherwise (whole channels selected).
int ValueColumn(const std::vector<GridCell>& cells, long currentCol) {
    const std::vector<int> cols = Columns(cells);
    return cols.size() == 1 ? cols.front() : static_cast<int>(currentCol);
}

}  // namespace

void CQuorim_CHView::AddBulkActions(QMenu* menu) {
    const bool can = CanDo(EditCommand::Clear);
    const int col = ValueColumn(SelectedCells(), m_grid->GetCol());
    const bool frequency = col == kColRxFreq || col == kColTxFreq;
    const std::vector<int> channels = SelectedChannels();
    menu->addSeparator();
    QAction* set = menu->addAction(Q(kCmdSetCells));
    set->setEnabled(can && col >= kColRxFreq && col <= kColInhibit);
    connect(set, &QAction::triggered, this, [this, col, channels] {
        if (channels.empty()) return;
        const QString label = Raw(TranslateWithArgs(
            WindowTexts(), kPromptValue,
            {WindowTexts().Translate("Quorim", GridHeaders()[static_cast<std::size_t>(col)]),
             std::to_string(channels.front()), std::to_string(channels.back())}));
        bool ok = false;
        const QString text =
            QInputDialog::getText(this, Q(kCmdSetCells).remove(QStringLiteral("…")), label, QLineEdit::Normal,
                                  m_grid->GetTextMatrix(channels.front(), col), &ok);
        if (ok) OnSetCells(text);
    });
    QAction* down = menu->addAction(Q(kCmdFillDown));
    down->setEnabled(can && channels.size() > 1);
    connect(down, &QAction::triggered, this, [this] { OnFillDown(); });
    QAction* series = menu->addAction(Q(kCmdFillSeries));
    series->setEnabled(can && frequency);
    connect(series, &QAction::triggered, this, [this, col, channels] {
        if (channels.empty()) return;
        bool ok = false;
        const QString start =
            QInputDialog::getText(this, Q(kCmdFillSeries), Q(kPromptStart), QLineEdit::Normal,
                                  Raw(Editor().TextMatrix(channels.front(), col)), &ok);
        if (!ok) return;
        const QString step = QInputDialog::getText(this, Q(kCmdFillSeries), Q(kPromptStep), QLineEdit::Normal,
                                                   QStringLiteral("12.5"), &ok);
        if (ok) OnFillSeries(start, step);
    });
    menu->addAction(ApplyPlanAction());
    menu->addSeparator();
    QAction* check = menu->addAction(Q(kCmdCheckChannels));
    check->setEnabled(m_pDocument != nullptr);
    connect(check, &QAction::triggered, this, [this] { OnCheckChannels(); });
    QAction* checkPlan = menu->addAction(Q(kCmdCheckPlan));
    checkPlan->setEnabled(m_pDocument != nullptr);
    connect(checkPlan, &QAction::triggered, this, [this] { OnCheckPlan(); });
}

QAction* CQuorim_CHView::ApplyPlanAction() {
    if (!m_actApplyPlan) {
        m_actApplyPlan = new QAction(Q(kCmdApplyPlan), this);
        m_actApplyPlan->setObjectName(QStringLiteral("applyChannelPlan"));
        connect(m_actApplyPlan, &QAction::triggered, this, [this] { OnApplyPlan(); });
    }
    m_actApplyPlan->setEnabled(m_pDocument != nullptr && CanDo(EditCommand::Clear));
    return m_actApplyPlan;
}

void CQuorim_CHView::OnApplyPlan() {
    OnLeaveCellGrid();
    if (!m_pDocument || !CanDo(EditCommand::Clear)) return;
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
    const int col = ValueColumn(SelectedCells(), m_grid->GetCol());
    Finish(SetChannelValues(Editor(), SelectedChannels(), {{col, Utf8(text.trimmed())}}), kCmdSetCells);
}

void CQuorim_CHView::OnFillDown() {
    OnLeaveCellGrid();
    Finish(FillDown(Editor(), SelectedChannels(), Columns(SelectedCells())), kCmdFillDown);
}

void CQuorim_CHView::OnFillSeries(const QString& start, const QString& stepKhz) {
    OnLeaveCellGrid();
    const int col = ValueColumn(SelectedCells(), m_grid->GetCol());
    Finish(FillSeries(Editor(), SelectedChannels(), col, Utf8(start.trimmed()), Utf8(stepKhz.trimmed())),
           kCmdFillSeries);
}

void CQuorim_CHView::OnCheckChannels() {
    OnLeaveCellGrid();
    if (CheckChannels(Editor()).empty()) {
        AfxMessageBox(this, Q(kMsgNoFindings));
        return;
    }
    ShowFindings(false);
}

void CQuorim_CHView::ShowFindings(bool plan) {
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("checkChannels"));
    dialog->setWindowTitle(Q(kCmdCheckChannels));
    auto* plans = new QComboBox(dialog);
    plans->setObjectName(QStringLiteral("checkPlan"));
    plans->addItem(Q(kPlanNone));
    for (const PlanListing& p : ListPlans(UserPlanFolder())) {
        plans->addItem(p.path.empty() ? Raw(p.name) : Raw(p.name) + QStringLiteral(" (") + Raw(p.path) + u')',
                       Raw(p.path.empty() ? p.name : p.path));
    }
    auto* list = new QListWidget(dialog);
    // The notes are sentences: wrapped, never cut off.
    list->setWordWrap(true);
    list->setResizeMode(QListView::Adjust);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const auto fill = [this, plans, list](int index) {
        list->clear();
        const auto add = [list](const std::string& text, int channel, int col) {
            auto* item = new QListWidgetItem(Raw(text), list);
            item->setData(Qt::UserRole, channel);
            item->setData(Qt::UserRole + 1, col);
        };
        const std::vector<ChannelFinding> findings = CheckChannels(Editor());
        for (const ChannelFinding& f : findings)
            add(FormatFinding(f, Editor(), WindowTexts()), f.channel, f.col);
        if (index <= 0) return;
        const std::string name = Utf8(plans->itemData(index).toString());
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
    };
    connect(plans, &QComboBox::currentIndexChanged, dialog, fill);
    connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(Qt::UserRole).toInt() < 1) return;
        m_grid->SetRow(item->data(Qt::UserRole).toInt());
        m_grid->SetCol(item->data(Qt::UserRole + 1).toInt());
        m_grid->scrollTo(
            m_grid->model()->index(static_cast<int>(m_grid->GetRow()) - CMSFlexGrid1::kFixedRows,
                                   static_cast<int>(m_grid->GetCol()) - CMSFlexGrid1::kFixedCols));
        m_grid->setFocus();
    });
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(plans);
    layout->addWidget(list);
    if (plan && plans->count() > 1) {
        plans->setCurrentIndex(1);  // fills the list
    } else {
        fill(0);
    }
    dialog->resize(560, 260);
    dialog->show();
}

}  // namespace quorim
