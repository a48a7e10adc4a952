#pragma once

#include <QDialog>
#include <vector>

#include "editor/channel_plan.h"
#include "editor/plan_apply.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace quorim {

// "套用频道方案…": which plan, into which channels, from which of the plan's
// channels, and the signalling for both sides. The plans are the built-in
// ones and those in the user's plan folder; "其他文件…" adds a channel list
// from anywhere. The core applies it (editor/plan_apply.h).
class CPlanDialog : public QDialog {
    Q_OBJECT

public:
    // `channels`: the channels selected whole, proposed as the target.
    CPlanDialog(int lastChannel, const std::vector<int>& channels, QWidget* parent = nullptr);

    // The chosen plan; its problem when it could not be loaded.
    const PlanLoad& Plan() const { return m_load; }
    // The choices as options; false (and `error` the message) when the
    // channel list does not read.
    bool Options(PlanApplyOptions& options, QString& error) const;

    QComboBox* PlanList() const { return m_plan; }
    QLineEdit* ChannelsEdit() const { return m_channels; }
    QSpinBox* FromBox() const { return m_from; }
    QComboBox* ToneBox() const { return m_tone; }

private:
    void OnPlanChanged(int index);
    void OnOtherFile();

    int m_lastChannel;
    std::vector<PlanListing> m_listings;
    PlanLoad m_load;
    QComboBox* m_plan = nullptr;
    QLineEdit* m_channels = nullptr;
    QSpinBox* m_from = nullptr;
    QComboBox* m_tone = nullptr;
    QLabel* m_rules = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

}  // namespace quorim
