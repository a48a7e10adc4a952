#include "editor/ui/bulk_edits.h"

#include <QAction>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <algorithm>

#include "editor/bulk_edit.h"
#include "editor/plan_apply.h"
#include "editor/ui/channel_selection.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/plan_dialog.h"
#include "editor/ui/view_document.h"
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

CBulkEdits::CBulkEdits(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid, CChannelSelection& selection,
                       std::function<void()> commitEdit)
    : QObject(window),
      m_window(window),
      m_doc(doc),
      m_grid(grid),
      m_selection(selection),
      m_commitEdit(std::move(commitEdit)) {}

bool CBulkEdits::CanApplyPlan() const {
    return m_doc.Get() && !m_doc.Busy() && !m_selection.SelectedChannels().empty();
}

bool CBulkEdits::CanSetCells() const {
    return !ColumnsToSet(Columns(m_selection.SelectedCells()), static_cast<int>(m_grid->GetCol())).empty();
}

bool CBulkEdits::CanFillDown() const {
    return m_selection.SelectedChannels().size() > 1;
}

bool CBulkEdits::CanFillSeries() const {
    const int col = ValueColumn(m_selection.SelectedCells(), m_grid->GetCol());
    return col == kColRxFreq || col == kColTxFreq;
}

void CBulkEdits::OnAskSetCells() {
    const std::vector<int> channels = m_selection.SelectedChannels();
    const std::vector<int> cols =
        ColumnsToSet(Columns(m_selection.SelectedCells()), static_cast<int>(m_grid->GetCol()));
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
        QInputDialog::getText(m_window, Q(kCmdSetCells).remove(QStringLiteral("…")), label, QLineEdit::Normal,
                              m_grid->GetTextMatrix(channels.front(), cols.front()), &ok);
    if (ok) OnSetCells(text);
}

void CBulkEdits::OnAskFillSeries() {
    const std::vector<int> channels = m_selection.SelectedChannels();
    const int col = ValueColumn(m_selection.SelectedCells(), m_grid->GetCol());
    if (channels.empty()) return;
    bool ok = false;
    const QString start =
        QInputDialog::getText(m_window, Q(kCmdFillSeries), Q(kPromptStart), QLineEdit::Normal,
                              Raw(m_doc.Editor().TextMatrix(channels.front(), col)), &ok);
    if (!ok) return;
    const QString step = QInputDialog::getText(m_window, Q(kCmdFillSeries), Q(kPromptStep), QLineEdit::Normal,
                                               QStringLiteral("12.5"), &ok);
    if (ok) OnFillSeries(start, step);
}

void CBulkEdits::FinishBulk(const EditResult& result, std::string_view label) {
    m_selection.Finish(result, label);
    if (!result.ok) return;
    QStringList notes;
    for (const std::string& note : BulkNotes(result, WindowTexts())) notes << Raw(note);
    if (!notes.isEmpty())
        AfxMessageBox(m_window, notes.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Information);
}

QAction* CBulkEdits::ApplyPlanAction() {
    if (!m_actApplyPlan) {
        m_actApplyPlan = new QAction(Q(kCmdApplyPlan), m_window);
        m_actApplyPlan->setObjectName(QStringLiteral("applyChannelPlan"));
        connect(m_actApplyPlan, &QAction::triggered, this, [this] { OnApplyPlan(); });
    }
    m_actApplyPlan->setEnabled(CanApplyPlan());
    return m_actApplyPlan;
}

void CBulkEdits::OnApplyPlan() {
    m_commitEdit();
    if (!CanApplyPlan()) return;
    CPlanDialog dialog(
        LastChannel(m_doc.Editor()),
        m_selection.WholeChannelsSelected() ? m_selection.SelectedChannels() : std::vector<int>{}, m_window);
    while (dialog.exec() == QDialog::Accepted) {
        PlanApplyOptions options;
        QString error;
        if (dialog.Options(options, error)) {
            ApplyChannelPlan(dialog.Plan().plan, options);
            return;
        }
        AfxMessageBox(m_window, error);
    }
}

void CBulkEdits::ApplyChannelPlan(const ChannelPlan& plan, const PlanApplyOptions& options) {
    const PlanApplyResult result = ApplyPlan(m_doc.Editor(), plan, options);
    const std::vector<std::string> lines = FormatApplyResult(result, plan, options, WindowTexts());
    QStringList text;
    for (const std::string& line : lines) text << Raw(line);
    if (!result.edit.ok && result.problem != PlanApplyProblem::Refused) {
        AfxMessageBox(m_window, text.join(QLatin1Char('\n')));
        return;
    }
    m_selection.Finish(result.edit, kCmdApplyPlan);
    if (result.edit.ok) {
        AfxMessageBox(m_window, text.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Information);
    }
}

void CBulkEdits::OnSetCells(const QString& text) {
    m_commitEdit();
    std::vector<ColumnValue> values;
    for (const int col :
         ColumnsToSet(Columns(m_selection.SelectedCells()), static_cast<int>(m_grid->GetCol()))) {
        values.push_back({col, Utf8(text.trimmed())});
    }
    FinishBulk(SetChannelValues(m_doc.Editor(), m_selection.SelectedChannels(), values), kCmdSetCells);
}

void CBulkEdits::OnFillDown() {
    m_commitEdit();
    FinishBulk(FillDown(m_doc.Editor(), m_selection.SelectedChannels(), Columns(m_selection.SelectedCells())),
               kCmdFillDown);
}

void CBulkEdits::OnFillSeries(const QString& start, const QString& stepKhz) {
    m_commitEdit();
    const int col = ValueColumn(m_selection.SelectedCells(), m_grid->GetCol());
    FinishBulk(FillSeries(m_doc.Editor(), m_selection.SelectedChannels(), col, Utf8(start.trimmed()),
                          Utf8(stepKhz.trimmed())),
               kCmdFillSeries);
}

}  // namespace quorim
