#include "editor/ui/channel_checks.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/channel_check.h"
#include "editor/channel_plan.h"
#include "editor/plan_apply.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/view_document.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

CChannelChecks::CChannelChecks(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid,
                               std::function<void()> commitEdit)
    : QObject(window), m_window(window), m_doc(doc), m_grid(grid), m_commitEdit(std::move(commitEdit)) {}

void CChannelChecks::OnCheckPlan() {
    m_commitEdit();
    ShowFindings(true);
}

void CChannelChecks::OnCheckChannels() {
    m_commitEdit();
    if (m_checkDialog) {
        FillCheckList();
        m_checkDialog->raise();
        m_checkDialog->activateWindow();
        return;
    }
    if (CheckChannels(m_doc.Editor()).empty()) {
        AfxMessageBox(m_window, Q(kMsgNoFindings), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    ShowFindings(false);
}

void CChannelChecks::ShowFindings(bool plan) {
    auto* dialog = new QDialog(m_window);
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

void CChannelChecks::ScheduleCheckRefresh() {
    // Many cells change at once in a paste or a fill: the list follows once.
    if ((!m_checkDialog && !m_checkSummaryShown) || m_checkRefreshPending) return;
    m_checkRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_checkRefreshPending = false;
        if (m_checkDialog) FillCheckList();
        if (m_checkSummaryShown) TellCheckSummary();
    });
}

void CChannelChecks::TellCheckSummary() {
    // Told after a read or an open, and followed until nothing is left to tell.
    const QString text = m_doc.Get() ? Raw(CheckSummary(m_doc.Editor(), WindowTexts())) : QString();
    m_checkSummaryShown = !text.isEmpty();
    emit CheckSummaryText(text);
}

void CChannelChecks::FillCheckList() {
    if (!m_checkList) return;
    m_checkList->clear();
    const auto add = [this](const std::string& text, int channel, int col) {
        auto* item = new QListWidgetItem(Raw(text), m_checkList);
        item->setData(Qt::UserRole, channel);
        item->setData(Qt::UserRole + 1, col);
    };
    const std::vector<ChannelFinding> findings = CheckChannels(m_doc.Editor());
    for (const ChannelFinding& f : findings)
        add(FormatFinding(f, m_doc.Editor(), WindowTexts()), f.channel, f.col);
    const int index = m_checkPlans ? m_checkPlans->currentIndex() : 0;
    if (index > 0) {
        const std::string name = Utf8(m_checkPlans->itemData(index).toString());
        const PlanLoad load = LoadPlan(name, UserPlanFolder());
        if (!load.Ok()) {
            add(FormatPlanLoadProblem(load, name, WindowTexts()), 0, 0);
            return;
        }
        const std::vector<PlanFinding> planFindings = CheckAgainstPlan(m_doc.Editor(), load.plan);
        for (const PlanFinding& f : planFindings)
            add(FormatPlanFinding(f, m_doc.Editor(), load.plan, WindowTexts()), f.channel, f.col);
        for (const std::string& line :
             PlanCheckNotes(!findings.empty() || !planFindings.empty(), load.plan, WindowTexts()))
            add(line, 0, 0);
        return;
    }
    if (findings.empty()) {
        auto* item = new QListWidgetItem(m_window->style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                         Q(kMsgNoFindings), m_checkList);
        item->setFlags(Qt::ItemIsEnabled);
    }
}

}  // namespace quorim
