#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string_view>

#include "editor/channel_edit.h"
#include "editor/channel_plan.h"
#include "editor/plan_apply.h"

class QAction;
class QWidget;

namespace quorim {

class CChannelSelection;
class CMSFlexGrid1;
class CViewDocument;

// Many cells of a document window at once: set the current column of the
// selected channels to one value, fill down, fill a series of frequencies,
// apply a channel plan; each one step of the document's history. The core
// (editor/bulk_edit.h, editor/plan_apply.h) decides every value; this part
// asks for the values and tells what the change left alone.
class CBulkEdits : public QObject {
    Q_OBJECT

public:
    CBulkEdits(QWidget* window, CViewDocument& doc, CMSFlexGrid1* grid, CChannelSelection& selection,
               std::function<void()> commitEdit);

    bool CanSetCells() const;
    bool CanFillDown() const;
    bool CanFillSeries() const;
    // "设置…" and "递增填充" ask for their values first.
    void OnAskSetCells();
    void OnAskFillSeries();
    void OnSetCells(const QString& text);
    void OnFillDown();
    void OnFillSeries(const QString& start, const QString& stepKhz);

    // "套用频道方案…" is one action of the window, in the grid's context menu
    // and for any other menu (its enabled state is brought up to date when it
    // is asked for): it opens the plan dialog and applies its choices,
    // telling what changed beside the channels.
    QAction* ApplyPlanAction();
    void OnApplyPlan();
    void ApplyChannelPlan(const ChannelPlan& plan, const PlanApplyOptions& options);

private:
    bool CanApplyPlan() const;
    // As the selection's Finish, and what the change left alone told after it.
    void FinishBulk(const EditResult& result, std::string_view label);

    QWidget* m_window;
    CViewDocument& m_doc;
    CMSFlexGrid1* m_grid;
    CChannelSelection& m_selection;
    std::function<void()> m_commitEdit;
    QAction* m_actApplyPlan = nullptr;
};

}  // namespace quorim
