// Reading from and writing to the radio (Ctrl+R, Ctrl+W): the two commands
// open the view's progress window; its start button brings the view here to
// run the transfer, which the clone engine drives through this view's host.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <chrono>
#include <thread>

#include "app/ui/main_frame.h"
#include "app/ui/message_box.h"
#include "app/ui/quorim_app.h"
#include "app/ui/ui_text.h"
#include "editor/codec.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "image/read_backup.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/progress_template.h"
#include "link/serial_port.h"
#include "link/ui/progress_dlg.h"

namespace quorim {

namespace {

int g_runningTransfers = 0;

void UpdateMainFrameCommands() {
    if (CQuorim_CHApp* app = CQuorim_CHApp::Instance()) {
        if (CMainFrame* frame = app->MainFrame()) {
            frame->UpdateCommandUi();
        }
    }
}

}  // namespace

// The transfer's pauses in the program: the window keeps processing its
// events at both ends of every pause, so it never freezes for a pause plus
// the radio's reply (10 ms + a 12-byte reply + 15 ms would be over 40 ms at
// 9600 baud). A pause is never shortened; events seen during it are handled
// as in a pump step (the cancel button only sets the flag the transfer
// checks at its fixed points).
class CPumpingClock : public Clock {
public:
    double NowMs() const override {
        using namespace std::chrono;
        return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    }
    void SleepMs(int ms) override {
        if (ms <= 0) {
            return;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_until(deadline);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
};

// The clone engine's host in the program: the progress window's status line,
// bar and cancel flag, the view's grid and codec, message boxes titled with
// the application's name. The window may be gone (the engine closes it
// before decoding); then the status and bar calls change nothing.
class CViewLinkHost : public LinkHost {
public:
    CViewLinkHost(CQuorim_CHView& view, CProgressDlg& dlg) : m_view(view), m_dlg(dlg) {
        if (QProgressBar* bar = m_dlg.ProgressBar()) {
            m_pos = bar->value();
        }
    }

    void SetStatusText(const std::string& text) override {
        if (QLabel* status = m_dlg.StatusLine()) {
            status->setText(Raw(text));  // the link's English, or a number
        }
    }
    void SetProgressRange(int low, int high) override {
        if (QProgressBar* bar = m_dlg.ProgressBar()) {
            bar->setRange(low, high);
            m_pos = bar->value();
        }
    }
    void StepProgress() override {
        if (QProgressBar* bar = m_dlg.ProgressBar()) {
            // A step past the top starts again at the bottom.
            const int next = bar->value() + 1;
            bar->setValue(next > bar->maximum() ? bar->minimum() : next);
            m_pos = bar->value();
        }
    }
    int ProgressPos() const override { return m_pos; }
    void CloseProgress() override { m_dlg.DestroyWindow(); }

    void PumpStep() override { QCoreApplication::processEvents(QEventLoop::AllEvents); }
    bool CancelRequested() const override { return m_dlg.m_bCancel; }

    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        QWidget* parent = m_dlg.Window() ? static_cast<QWidget*>(m_dlg.Window()) : &m_view;
        if (buttons == MessageButtons::Ok) {
            AfxMessageBox(parent, Raw(text));
            return MessageAnswer::Ok;
        }
        return AfxMessageBox(parent, Raw(text), QMessageBox::Retry | QMessageBox::Cancel) ==
                       QMessageBox::Retry
                   ? MessageAnswer::Retry
                   : MessageAnswer::Cancel;
    }

    TransferDirection Direction() const override {
        return m_view.Direction() == 1 ? TransferDirection::Write : TransferDirection::Read;
    }
    int GridRows() const override { return m_view.Rows(); }
    void SetGridRows(int rows) override { m_view.SetRows(rows); }
    void EncodeEditor(DocumentData& doc) override { EncodeImage(m_view, doc); }
    void DecodeEditor(const DocumentData& doc) override { DecodeImage(doc, m_view); }

private:
    CQuorim_CHView& m_view;
    CProgressDlg& m_dlg;
    int m_pos = 0;
};

bool CQuorim_CHView::AnyTransferRunning() {
    return g_runningTransfers > 0;
}

bool CQuorim_CHView::IsTransferRunning() const {
    return m_bTransferRunning || m_pProgressDlg->IsStarted();
}

void CQuorim_CHView::OnReadRadio() {
    if (IsTransferRunning() || AnyTransferRunning()) {
        return;
    }
    OnLeaveCellGrid();  // a pending cell edit is committed first
    m_pProgressDlg->m_strTitle = Q(kReadProgressTitle);
    m_nDirection = 0;
    if (!m_pProgressDlg->IsWindow()) {
        m_pProgressDlg->Create(m_grid);
    }
}

void CQuorim_CHView::OnWriteRadio() {
    if (IsTransferRunning() || AnyTransferRunning()) {
        return;
    }
    OnLeaveCellGrid();
    m_pProgressDlg->m_strTitle = Q(kWriteProgressTitle);
    m_nDirection = 1;
    if (!m_pProgressDlg->IsWindow()) {
        m_pProgressDlg->Create(m_grid);
    }
}

void CQuorim_CHView::OnRadioTransfer() {
    if (m_bTransferRunning || !m_pDocument || !m_pProgressDlg->IsStarted()) {
        return;
    }
    // The document stays: this view's window refuses to close until the end.
    CQuorim_CHDoc* doc = m_pDocument;
    m_bTransferRunning = true;
    ++g_runningTransfers;
    // The model list would re-lay the grid the transfer reads and fills.
    QList<QPointer<QComboBox>> modelLists;
    for (CQuorim_CHView* view : doc->Views()) {
        modelLists.append(view->Combo(SettingsList::Model));
        view->Combo(SettingsList::Model)->setEnabled(false);
    }
    UpdateMainFrameCommands();

    const CQuorim_CHApp* app = CQuorim_CHApp::Instance();
    m_strPortName = app ? app->PortName() : PortSelection::PortName(1);
    const bool write = m_nDirection == 1;
    // The engine works on a copy: a save while the transfer pumps events
    // encodes into the document's image and must not change the blocks
    // still to be written.
    DocumentData work = doc->Data();
    CViewLinkHost host(*this, *m_pProgressDlg);
    const auto port = NewSystemSerialPort();
    CPumpingClock clock;
    const TransferOutcome outcome = RunRadioTransfer(m_strPortName, work, *port, clock, host);

    if (write) {
        // The image holds what was encoded for the radio.
        doc->Data().m_image = work.m_image;
    } else if (outcome == TransferOutcome::Succeeded) {
        doc->Data() = work;
        // The engine has decoded the radio's memory into the grid and lists.
        HideCellEditors();
        SyncFunctionSettings();
        m_grid->viewport()->update();
        doc->SetModifiedFlag(true);
    }
    m_pProgressDlg->DestroyWindow();  // closed by the engine in every ending; to be sure
    if (!write && outcome == TransferOutcome::Succeeded) {
        // Every read is also kept as read, so the radio's memory can always
        // be put back. A backup that cannot be stored is a warning, not a
        // failed read.
        const ReadBackupResult kept = StoreReadBackup(work);
        if (!kept.Ok()) {
            AfxMessageBox(this, Raw(kept.warning));
        }
    }
    for (const QPointer<QComboBox>& list : modelLists) {
        if (list) {
            list->setEnabled(true);
        }
    }
    --g_runningTransfers;
    m_bTransferRunning = false;
    UpdateMainFrameCommands();
}

}  // namespace quorim
