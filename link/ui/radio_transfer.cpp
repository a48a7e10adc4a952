// Reading from and writing to the radio (Ctrl+R, Ctrl+W): the two commands
// open the window's progress window; its start button brings the transfer
// here, where the clone engine drives it through this window's host.
#include "link/ui/radio_transfer.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <chrono>
#include <thread>

#include "editor/codec.h"
#include "files/file_status_text.h"
#include "files/read_backup.h"
#include "link/clock.h"
#include "link/progress_template.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "link/ui/progress_dlg.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

int g_runningTransfers = 0;

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
// bar and cancel flag, the window's grid and codec, message boxes titled with
// the application's name. The progress window may be gone (the engine closes
// it before decoding); then the status and bar calls change nothing.
class CViewLinkHost : public LinkHost {
public:
    CViewLinkHost(QWidget* view, EditorSurface& editor, CProgressDlg& dlg, TransferDirection direction)
        : m_view(view), m_editor(editor), m_dlg(dlg), m_direction(direction) {
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
        QWidget* parent = m_dlg.Window() ? static_cast<QWidget*>(m_dlg.Window()) : m_view;
        return LinkMessageBox(parent, Raw(text), buttons);
    }

    void ExplainOpenFailure(const PortResult& result) override {
        ShowInStatusBar(m_view, Raw(PortProblemHint(result, Texts())));
    }
    const TextTranslator& Texts() const override { return WindowTexts(); }

    TransferDirection Direction() const override { return m_direction; }
    int GridRows() const override { return m_editor.Rows(); }
    void SetGridRows(int rows) override { m_editor.SetRows(rows); }
    void EncodeEditor(DocumentData& doc) override { EncodeImage(m_editor, doc); }
    void DecodeEditor(const DocumentData& doc) override { DecodeImage(doc, m_editor); }

private:
    QWidget* m_view;
    EditorSurface& m_editor;
    CProgressDlg& m_dlg;
    TransferDirection m_direction;
    int m_pos = 0;
};

CRadioTransfer::CRadioTransfer(QWidget* view, QWidget* over, EditorSurface& editor)
    : QObject(view), m_view(view), m_over(over), m_editor(editor), m_pProgressDlg(new CProgressDlg(view)) {
    m_pProgressDlg->m_pfnTransferRunning = &CRadioTransfer::AnyRunning;
    connect(m_pProgressDlg, &CProgressDlg::Started, this, &CRadioTransfer::Started);
    connect(m_pProgressDlg, &CProgressDlg::RadioTransfer, this, &CRadioTransfer::RadioTransfer);
}

CRadioTransfer::~CRadioTransfer() {
    delete m_pProgressDlg;
}

bool CRadioTransfer::AnyRunning() {
    return g_runningTransfers > 0;
}

bool CRadioTransfer::IsRunning() const {
    return m_bRunning || m_pProgressDlg->IsStarted();
}

void CRadioTransfer::Open(TransferDirection direction) {
    m_pProgressDlg->m_strTitle =
        Q(direction == TransferDirection::Read ? kReadProgressTitle : kWriteProgressTitle);
    if (!m_pProgressDlg->IsWindow()) {
        m_pProgressDlg->Create(m_over);
    }
}

void CRadioTransfer::Run(const std::string& portName, TransferDirection direction, const DocumentData& data) {
    if (m_bRunning || !m_pProgressDlg->IsStarted()) {
        return;
    }
    m_bRunning = true;
    ++g_runningTransfers;
    emit Running(true);

    // The engine works on a copy: a save while the transfer pumps events
    // encodes into the document's image and must not change the blocks
    // still to be written.
    DocumentData work = data;
    CViewLinkHost host(m_view, m_editor, *m_pProgressDlg, direction);
    const auto port = NewSystemSerialPort();
    CPumpingClock clock;
    const TransferOutcome outcome = RunRadioTransfer(portName, work, *port, clock, host);
    emit Transferred(direction, outcome, work);

    m_pProgressDlg->DestroyWindow();  // closed by the engine in every ending; to be sure
    if (direction == TransferDirection::Read && outcome == TransferOutcome::Succeeded) {
        // Every read is also kept as read, so the radio's memory can always
        // be put back. A backup that cannot be stored is a warning, not a
        // failed read.
        const ReadBackupResult kept = StoreReadBackup(work);
        if (!kept.Ok()) {
            AfxMessageBox(m_view, Raw(ReadBackupWarningText(kept, WindowTexts())));
        }
    }
    --g_runningTransfers;
    m_bRunning = false;
    emit Running(false);
}

}  // namespace quorim
