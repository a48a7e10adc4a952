// Many cells at once and the channel check, in the "编辑" popup and the
// grid's context menu. The core (editor/bulk_edit.h, editor/channel_check.h)
// decides every value and finding; this file asks for the values, carries
// the result onto the grid as one undo step, and lists the findings.
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
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
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
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("checkChannels"));
    dialog->setWindowTitle(Q(kCmdCheckChannels));
    m_checkList = new QListWidget(dialog);
    connect(m_checkList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (!item->data(Qt::UserRole).isValid()) return;
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
    layout->addWidget(m_checkList);
    layout->addWidget(buttons);
    m_checkDialog = dialog;
    FillCheckList();
    dialog->resize(520, 240);
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
    const QString text = m_pDocument ? Raw(CheckSummary(Editor(), WindowTexts())) : QString();
    m_checkSummaryShown = !text.isEmpty();
    emit CheckSummaryText(text);
}

void CQuorim_CHView::FillCheckList() {
    if (!m_checkList) return;
    m_checkList->clear();
    const std::vector<ChannelFinding> findings = CheckChannels(Editor());
    for (const ChannelFinding& f : findings) {
        auto* item = new QListWidgetItem(Raw(FormatFinding(f, Editor(), WindowTexts())), m_checkList);
        item->setData(Qt::UserRole, f.channel);
        item->setData(Qt::UserRole + 1, f.col);
    }
    if (findings.empty()) {
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                         Q(kMsgNoFindings), m_checkList);
        item->setFlags(Qt::ItemIsEnabled);
    }
}

}  // namespace quorim
