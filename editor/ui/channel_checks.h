#pragma once

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace quorim {

class CMSFlexGrid1;
class CViewDocument;

// The channel check of a document window: the list of findings (of the
// check, or against a channel plan chosen in it), whose double-click goes to
// the cell, and the summary told after a read or an open. The core
// (editor/channel_check.h, editor/plan_apply.h) finds; this part lists, and
// follows every change of the document while the list or the summary shows.
class CChannelChecks : public QObject {
    Q_OBJECT

public:
    CChannelChecks(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid, std::function<void()> commitEdit);

    void OnCheckChannels();
    void OnCheckPlan();
    // The open list of findings (none: nullptr).
    QListWidget* CheckList() const { return m_checkList; }
    // Told after a read or an open, and followed until nothing is left to tell.
    void TellCheckSummary();
    // The cells or the lists changed: an open list and a told summary follow
    // once, after the change is whole.
    void ScheduleCheckRefresh();

signals:
    // The channels outside the band or off the step, with where to look
    // (empty: none, or none any more).
    void CheckSummaryText(const QString& text);

private:
    // The findings' window; with `plan` the first plan is chosen in its list.
    void ShowFindings(bool plan);
    void FillCheckList();

    QWidget* m_window;
    CViewDocument& m_doc;
    CMSFlexGrid1* m_grid;
    std::function<void()> m_commitEdit;
    QPointer<QDialog> m_checkDialog;
    QPointer<QListWidget> m_checkList;
    QPointer<QComboBox> m_checkPlans;
    bool m_checkRefreshPending = false;
    bool m_checkSummaryShown = false;
};

}  // namespace quorim
