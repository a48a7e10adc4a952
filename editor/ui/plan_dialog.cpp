#include "editor/ui/plan_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/bulk_edit.h"
#include "editor/cell_rules.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// "1-16", "3,5,9-12": the proposed channels as the list is typed.
QString ListText(const std::vector<int>& channels) {
    QString out;
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1) ++j;
        if (!out.isEmpty()) out += QLatin1Char(',');
        out += QString::number(channels[i]);
        if (j > i) out += QLatin1Char('-') + QString::number(channels[j]);
        i = j + 1;
    }
    return out;
}

}  // namespace

CPlanDialog::CPlanDialog(int lastChannel, const std::vector<int>& channels, QWidget* parent)
    : QDialog(parent), m_lastChannel(lastChannel), m_listings(ListPlans(UserPlanFolder())) {
    setObjectName(QStringLiteral("applyChannelPlan"));
    setWindowTitle(Q(kCmdApplyPlan).remove(QStringLiteral("…")));
    m_plan = new QComboBox(this);
    for (const PlanListing& p : m_listings) {
        const PlanLoad load = p.path.empty() ? LoadPlan(p.name, {}) : PlanLoad{};
        m_plan->addItem(p.path.empty() ? Raw(p.name) + QStringLiteral(" - ") + Q(load.plan.title)
                                       : Raw(p.name) + QStringLiteral(" (") + Raw(p.path) + u')');
    }
    auto* other = new QPushButton(Q(kCmdPlanOtherFile), this);
    auto* planRow = new QHBoxLayout;
    planRow->addWidget(m_plan, 1);
    planRow->addWidget(other);
    m_channels = new QLineEdit(channels.size() > 1 ? ListText(channels) : QString(), this);
    m_from = new QSpinBox(this);
    m_tone = new QComboBox(this);
    m_tone->setEditable(true);
    m_tone->addItem(QString());
    for (const std::string& tone : ToneItems()) m_tone->addItem(Raw(tone));
    m_rules = new QLabel(this);
    m_rules->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(Q(kPromptPlan), planRow);
    form->addRow(Q(kPromptPlanChannels), m_channels);
    form->addRow(Q(kPromptPlanFrom), m_from);
    form->addRow(Q(kPromptPlanTone), m_tone);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_rules);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, &CPlanDialog::OnOtherFile);
    connect(m_plan, &QComboBox::currentIndexChanged, this, &CPlanDialog::OnPlanChanged);
    OnPlanChanged(m_plan->currentIndex());
}

void CPlanDialog::OnPlanChanged(int index) {
    if (index < 0) return;
    const std::size_t i = static_cast<std::size_t>(index);
    const std::string name = i < m_listings.size()
                                 ? (m_listings[i].path.empty() ? m_listings[i].name : m_listings[i].path)
                                 : Utf8(m_plan->itemText(index));
    m_load = LoadPlan(name, UserPlanFolder());
    const bool ok = m_load.Ok();
    m_from->setRange(1, ok ? static_cast<int>(m_load.plan.channels.size()) : 1);
    m_rules->setText(ok ? Raw(FormatPlanRules(m_load.plan, WindowTexts())).trimmed() + QLatin1Char('\n') +
                              Q(kMsgPlanEquipment)
                        : Raw(FormatPlanLoadProblem(m_load, name, WindowTexts())));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
    // The wrapped rules take as many lines as the width leaves them.
    const int width = std::max(this->width(), 600);
    layout()->activate();
    resize(width, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height());
}

void CPlanDialog::OnOtherFile() {
    const QString path = QFileDialog::getOpenFileName(this, Q(kCmdPlanOtherFile).remove(QStringLiteral("…")),
                                                      QString(), QStringLiteral("CSV (*.csv);;* (*)"));
    if (path.isEmpty()) return;
    m_plan->addItem(path);
    m_plan->setCurrentIndex(m_plan->count() - 1);
}

bool CPlanDialog::Options(PlanApplyOptions& options, QString& error) const {
    options = {};
    options.from = m_from->value();
    options.tone = Utf8(m_tone->currentText().trimmed());
    const QString list = m_channels->text().trimmed();
    if (list.isEmpty()) return true;
    std::string ignored;
    const auto channels = ParseChannelList(Utf8(list), m_lastChannel, ignored);
    if (!channels) {
        error = Raw(TranslateWithArgs(WindowTexts(), kMsgPlanChannelList,
                                      {Utf8(list), std::to_string(m_lastChannel)}));
        return false;
    }
    options.channels = *channels;
    return true;
}

}  // namespace quorim
