#pragma once

#include <QDialog>
#include <QHash>
#include <QKeySequence>
#include <QListWidget>
#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/dialog_template.h"
#include "editor/channel_edit.h"
#include "editor/editor_model.h"
#include "editor/plan_apply.h"
#include "editor/ui/cell_editors.h"
#include "editor/ui/csv_commands.h"
#include "editor/ui/radio_commands.h"
#include "editor/ui/settings_lists_view.h"
#include "editor/ui/view_document.h"
#include "editor/ui/view_host.h"
#include "editor/ui/view_printing.h"
#include "link/clone_engine.h"
#include "link/link_host.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPrinter;

namespace quorim {

class CMSFlexGrid1;
class CQuorim_CHDoc;

// The channel table's editing commands: the "编辑" popup and the grid's
// context menu (both built from EditPopup()), each with its keys.
enum class EditCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Clear,
    InsertChannel,
    DeleteChannels,
    MoveUp,
    MoveDown,
    SelectAll,
    SetCells,
    FillDown,
    FillSeries,
    CheckChannels,
    ApplyPlan,
    CheckPlan,
};
// The command of a command id (ID_EDIT_…), if it is one.
std::optional<EditCommand> EditCommandOf(int id);

// The form view of a document (template 101): the channel grid on the right,
// the radio-wide settings lists on the left. It shows the document's editor
// state (the grid over the document's table, the lists following its
// selections) and forwards the user's edits to it; the in-place editors,
// the current cell and the selection are the view's own. The radio transfer and the
// tuning window are not its own: it asks for them by signals and hears the
// transfer's end the same way.
class CQuorim_CHView : public QScrollArea {
    Q_OBJECT

public:
    // Without a host (a view on its own) the port is COM1, no other
    // transfer runs and the view prints on a printer of its own.
    explicit CQuorim_CHView(CQuorim_CHDoc* doc, CViewHost* host = nullptr, QWidget* parent = nullptr);
    ~CQuorim_CHView() override;

    CQuorim_CHDoc* GetDocument() const { return m_doc.Get(); }
    // The window's parts, each with one job.
    CSettingsListsView& Lists() const { return *m_lists; }
    CCellEditors& Cells() const { return *m_cells; }
    CRadioCommands& Radio() const { return *m_radio; }
    CViewPrinting& Printing() const { return *m_printing; }
    CCsvCommands& Csv() const { return *m_csv; }
    // The view's window closed: it leaves its document (the last view to
    // leave ends the document).
    void DetachDocument();

    // Runs when the view is first shown for a new or opened document, and
    // again when the first recent-file entry refreshes it.
    void OnInitialUpdate();

    // Commands the view handles; false for ids it does not know.
    bool OnCmdMsg(int id);
    static bool HandlesCommand(int id);

    // The document's editor state, in the core's own texts ("是", "信道"
    // where the English grid shows "Yes", "Channel"). Cell editors that hand
    // a cell's text to core rules take it from here, not from the grid
    // widget. A view that left its document has an empty editor of its own.
    EditorSurface& Editor() const;

    // What the pointer is over decides the hint in the status bar's first pane.
    void OnSetCursor(QWidget* under);
    void OnPaint();

    QComboBox* Combo(SettingsList list) const { return m_lists->Combo(list); }
    CMSFlexGrid1* Grid() const { return m_grid; }
    QWidget* ControlById(int id) const { return m_controls.value(id); }
    // The form's size in pixels: template 101 in the form font's units, grown
    // where its texts need more room.
    QSize FormSize() const;

    // Commands.
    void OnEditChannel();
    void OnReadRadio();
    void OnWriteRadio();
    void OnOnlineTuning();
    // The progress window's start button (WM_RADIO_TRANSFER).
    void OnRadioTransfer();

    // Settings lists. False when the user kept the model after all.
    bool OnSelChangeModel();

    // Commits the open editor's text into the current cell and hides it;
    // nothing when no editor is open. Besides the grid's LeaveCell, the read
    // and write commands call this first, so that a pending edit reaches the
    // grid before the image is encoded or replaced.
    // `reopenRefused`: a refused entry opens its editor again on the cell
    // (the grid's own LeaveCell); the commands only keep the old text.
    void OnLeaveCellGrid(bool reopenRefused = false);
    // Every key press meant for the view or one of its controls comes here
    // before the control sees it (the main frame's accelerators have run
    // already); true when it was handled.
    bool PreTranslateMessage(QObject* target, QKeyEvent* event);

    // Editing the channel table as a whole (view_edit.cpp). The selection:
    // its cells of columns 1 to 5 (the current cell when nothing is
    // selected), the channels they lie in, and whether those channels are
    // selected whole (by their numbers, or every cell of them).
    std::vector<GridCell> SelectedCells() const;
    std::vector<int> SelectedChannels() const;
    bool WholeChannelsSelected() const;
    void SelectChannels(const std::vector<int>& channels);
    bool CanDo(EditCommand command) const;
    // Whether a command of the frame's menus can run now.
    bool IsCommandEnabled(int id) const;
    // Runs a command on the selection; an open editor commits first.
    void OnEditCommand(EditCommand command);
    static std::vector<QKeySequence> EditCommandKeys(EditCommand command);
    // The grid's context menu: every command with its keys, enabled as the
    // selection and the undo history allow.
    QMenu* CreateGridMenu(QWidget* parent);
    void OnGridContextMenu(const QPoint& globalPos);
    // Many cells at once (view_bulk.cpp): set the current column of the
    // selected channels to one value, fill down, fill a series of
    // frequencies; each one undo step. And the list of findings of the
    // channel check, whose double-click goes to the cell.
    // "设置…" and "递增填充" ask for their values first.
    void OnAskSetCells();
    void OnAskFillSeries();
    void OnSetCells(const QString& text);
    void OnFillDown();
    void OnFillSeries(const QString& start, const QString& stepKhz);
    void OnCheckChannels();
    // The channel plans (view_bulk.cpp). "套用频道方案…" is one action of the
    // view, in the grid's context menu and for any other menu (its enabled
    // state is brought up to date when it is asked for): it opens the plan
    // dialog and applies its choices as one undo step, telling what changed
    // beside the channels. The check against a plan lists the findings with
    // a choice of plan.
    QAction* ApplyPlanAction();
    void OnApplyPlan();
    void ApplyChannelPlan(const ChannelPlan& plan, const PlanApplyOptions& options);
    void OnCheckPlan();
    // The open list of findings (none: nullptr), which follows every change.
    QListWidget* CheckList() const { return m_checkList; }
    // An undo or redo is about to replace what the view shows (open editors
    // are put away), and has replaced it.
    void BeginStateChange();
    void EndStateChange();

signals:
    // Text for the first pane of the main frame's status bar.
    void MessageText(const QString& text);
    // A transfer's result for the status bar: "读频完成：…".
    void TransferResultText(const QString& text);
    // After a read or an open: the channels outside the band or off the
    // step, with where to look (empty: none, or none any more).
    void CheckSummaryText(const QString& text);
    // Read or Write: the progress window opens for `direction`.
    void TransferCommand(TransferDirection direction);
    // The start button's transfer, to run now over `data`.
    void RunTransfer(const std::string& portName, TransferDirection direction, const DocumentData& data);
    // Online tuning on the band starting at `bandBase` (10 Hz units).
    void OnlineTuning(std::int64_t bandBase, const std::string& portName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateForm();
    // The parts that do the commands' work, wired to the window.
    void CreateParts();
    // The selection to the clipboard (and cleared for a cut); the clipboard
    // from the top left of the selection on.
    void CopySelection(bool cut);
    void PasteClipboard();
    // One control of the form's template (none for a kind the form lacks).
    QWidget* MakeFormControl(const DialogControl& c);
    // The lists and the grid tell the view what the user does.
    void ConnectForm();
    // Grows the form to the view's free area (never below its laid-out size)
    // and the grid with it; the settings stay where they are.
    void FitFormToView();
    // The document's rows are about to change (the open editor is put away)
    // or a recorded change ended (the editors take the current cell again
    // when the rows changed).
    void OnRowsChanging();
    void OnDocumentChanged();
    void MarkModified();
    bool HandleEditKey(QWidget* focused, QKeyEvent* event);
    // Shows a refusal, or records the change as one step named `label` and
    // selects the channels it left.
    void Finish(const EditResult& result, std::string_view label);
    // The findings' window; with `plan` the first plan is chosen in its list.
    void ShowFindings(bool plan);
    // The same for many cells at once, and what it left alone told after it.
    void FinishBulk(const EditResult& result, std::string_view label);
    bool CanDoBulk(EditCommand command) const;
    void ScheduleCheckRefresh();
    void TellCheckSummary();
    void FillCheckList();

    CViewDocument m_doc;
    CViewHost* m_host;
    CRadioCommands* m_radio = nullptr;
    CViewPrinting* m_printing = nullptr;
    CCsvCommands* m_csv = nullptr;
    bool m_rowsChanged = false;
    QWidget* m_form = nullptr;
    // The form and its grid as the template lays them out: the least the
    // view shows; a larger window gives the grid the rest.
    QSize m_formBase;
    QRect m_gridBase;
    DialogBaseUnits m_base;
    QHash<int, QWidget*> m_controls;

    CSettingsListsView* m_lists = nullptr;
    CMSFlexGrid1* m_grid = nullptr;
    CCellEditors* m_cells = nullptr;

    QAction* m_actApplyPlan = nullptr;

    QPointer<QDialog> m_checkDialog;
    QPointer<QListWidget> m_checkList;
    QPointer<QComboBox> m_checkPlans;
    bool m_checkRefreshPending = false;
    bool m_checkSummaryShown = false;
};

}  // namespace quorim
