#pragma once

#include <QScrollArea>
#include <cstdint>
#include <string>

#include "editor/ui/bulk_edits.h"
#include "editor/ui/cell_editors.h"
#include "editor/ui/channel_checks.h"
#include "editor/ui/channel_commands.h"
#include "editor/ui/channel_selection.h"
#include "editor/ui/csv_commands.h"
#include "editor/ui/radio_commands.h"
#include "editor/ui/settings_lists_view.h"
#include "editor/ui/view_document.h"
#include "editor/ui/view_form.h"
#include "editor/ui/view_host.h"
#include "editor/ui/view_printing.h"

namespace quorim {

class CMSFlexGrid1;

// The form view of a document (template 101): the channel grid on the right,
// the radio-wide settings lists on the left, over the document's one state.
// The view builds the form, keeps the handlers the product names and hands
// each to the part that does the work; the radio transfer and the tuning
// window are not its own (it asks for them by signals).
class CQuorim_CHView : public QScrollArea {
    Q_OBJECT

public:
    // Without a host (a view on its own) the port is COM1, no other
    // transfer runs and the view prints on a printer of its own.
    explicit CQuorim_CHView(CQuorim_CHDoc* doc, CViewHost* host = nullptr, QWidget* parent = nullptr);
    ~CQuorim_CHView() override;

    CQuorim_CHDoc* GetDocument() const { return m_doc.Get(); }
    // The window closed: it leaves its document (the last view ends it).
    void DetachDocument();
    EditorSurface& Editor() const { return m_doc.Editor(); }

    CSettingsListsView& Lists() const { return *m_lists; }
    CCellEditors& Cells() const { return *m_cells; }
    CChannelSelection& Selection() const { return *m_selection; }
    CChannelCommands& Commands() const { return *m_commands; }
    CBulkEdits& Bulk() const { return *m_bulk; }
    CChannelChecks& Checks() const { return *m_checks; }
    CViewPrinting& Printing() const { return *m_printing; }
    CCsvCommands& Csv() const { return *m_csv; }
    CRadioCommands& Radio() const { return *m_radio; }

    CMSFlexGrid1* Grid() const { return m_grid; }
    QComboBox* Combo(SettingsList list) const { return m_lists->Combo(list); }
    QWidget* ControlById(int id) const { return m_form.Controls().value(id); }
    QSize FormSize() const { return m_form.Size(); }

    // First shown for a new or opened document (again on a refresh).
    void OnInitialUpdate();
    bool OnCmdMsg(int id);  // false for ids it does not know
    static bool HandlesCommand(int id);
    bool IsCommandEnabled(int id) const;
    void OnEditChannel();
    void OnReadRadio();
    void OnWriteRadio();
    void OnOnlineTuning();
    void OnRadioTransfer();   // the progress window's start button
    bool OnSelChangeModel();  // false when the user kept the model
    // Commits an open editor; the commands call it before they act.
    void OnLeaveCellGrid(bool reopenRefused = false);
    // Every key for the view or its controls, before the control; true: handled.
    bool PreTranslateMessage(QObject* target, QKeyEvent* event);
    // What the pointer is over decides the hint in the status bar.
    void OnSetCursor(QWidget* under);
    void OnPaint();

signals:
    void MessageText(const QString& text);         // the status bar's first pane
    void TransferResultText(const QString& text);  // "读频完成：…"
    void CheckSummaryText(const QString& text);    // after a read or an open
    void TransferCommand(TransferDirection direction);
    void RunTransfer(const std::string& portName, TransferDirection direction, const DocumentData& data);
    void OnlineTuning(std::int64_t bandBase, const std::string& portName);  // 10 Hz units

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateParts();
    void ConnectForm();
    void ConnectDocument();
    void SizeGrid();
    // The document's rows are about to change, a change was recorded, an
    // undo or redo is about to replace the state and has replaced it.
    void OnRowsChanging();
    void OnDocumentChanged();
    void BeginStateChange();
    void EndStateChange();

    CViewDocument m_doc;
    CViewHost* m_host;
    CViewForm m_form;
    CMSFlexGrid1* m_grid;
    bool m_rowsChanged = false;
    CSettingsListsView* m_lists = nullptr;
    CCellEditors* m_cells = nullptr;
    CChannelSelection* m_selection = nullptr;
    CChannelCommands* m_commands = nullptr;
    CBulkEdits* m_bulk = nullptr;
    CChannelChecks* m_checks = nullptr;
    CViewPrinting* m_printing = nullptr;
    CCsvCommands* m_csv = nullptr;
    CRadioCommands* m_radio = nullptr;
};

}  // namespace quorim
