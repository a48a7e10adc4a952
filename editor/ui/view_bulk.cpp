// Many cells at once and the channel check, in the grid's context menu. The
// core (editor/bulk_edit.h, editor/channel_check.h) decides every value and
// finding; this file asks for the values, carries the result onto the grid
// as one undo step, and lists the findings.
#include <QDialog>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
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
    menu->addSeparator();
    QAction* check = menu->addAction(Q(kCmdCheckChannels));
    check->setEnabled(m_pDocument != nullptr);
    connect(check, &QAction::triggered, this, [this] { OnCheckChannels(); });
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
    const std::vector<ChannelFinding> findings = CheckChannels(Editor());
    if (findings.empty()) {
        AfxMessageBox(this, Q(kMsgNoFindings));
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("checkChannels"));
    dialog->setWindowTitle(Q(kCmdCheckChannels));
    auto* list = new QListWidget(dialog);
    for (const ChannelFinding& f : findings) {
        auto* item = new QListWidgetItem(Raw(FormatFinding(f, Editor(), WindowTexts())), list);
        item->setData(Qt::UserRole, f.channel);
        item->setData(Qt::UserRole + 1, f.col);
    }
    connect(list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_grid->SetRow(item->data(Qt::UserRole).toInt());
        m_grid->SetCol(item->data(Qt::UserRole + 1).toInt());
        m_grid->scrollTo(
            m_grid->model()->index(static_cast<int>(m_grid->GetRow()) - CMSFlexGrid1::kFixedRows,
                                   static_cast<int>(m_grid->GetCol()) - CMSFlexGrid1::kFixedCols));
        m_grid->setFocus();
    });
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(list);
    dialog->resize(520, 240);
    dialog->show();
}

}  // namespace quorim
