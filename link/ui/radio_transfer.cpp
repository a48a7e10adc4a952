// Reading from and writing to the radio (Ctrl+R, Ctrl+W): the two commands
// open the window's progress window; its start button brings the transfer
// here, where the clone engine drives it on a worker thread through a host
// that hands everything to the window's thread.
#include "link/ui/radio_transfer.h"

#include <QLabel>
#include <QProgressBar>
#include <memory>

#include "editor/codec.h"
#include "files/file_status_text.h"
#include "files/read_backup.h"
#include "link/clock.h"
#include "link/progress_template.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "link/ui/progress_dlg.h"
#include "ui/link_worker.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

int g_runningTransfers = 0;

}  // namespace

// The clone engine's host on the worker thread: the progress window's status
// line and bar are set on the window's thread, the cancel flag is read as it
// stands, messages are asked there and awaited. The editor is the window's:
// its rows are taken when the transfer starts, a write's encoding is done
// before it and a read's decoding after it, on the window's thread. The
// progress window may be gone by the time a call arrives; then the status
// and bar calls change nothing.
class CViewLinkHost : public LinkHost {
public:
    CViewLinkHost(CLinkWorker& worker, QWidget* view, CProgressDlg* dlg, TransferDirection direction,
                  int rows)
        : m_worker(worker),
          m_view(view),
          m_dlg(dlg),
          m_cancel(dlg->m_bCancel),
          m_direction(direction),
          m_rows(rows) {
        if (QProgressBar* bar = dlg->ProgressBar()) {
            m_low = bar->minimum();
            m_high = bar->maximum();
            m_pos = bar->value();
        }
    }

    void SetStatusText(const std::string& text) override {
        m_worker.Post([dlg = m_dlg, text] {
            if (QLabel* status = dlg->StatusLine()) {
                status->setText(Raw(text));  // the link's English, or a number
            }
        });
    }
    void SetProgressRange(int low, int high) override {
        // As the bar does: a position outside the new range is reset.
        m_low = low;
        m_high = high;
        if (m_pos < low || m_pos > high) {
            m_pos = low - 1;
        }
        m_worker.Post([dlg = m_dlg, low, high] {
            if (QProgressBar* bar = dlg->ProgressBar()) {
                bar->setRange(low, high);
            }
        });
    }
    void StepProgress() override {
        // A step past the top starts again at the bottom.
        m_pos = m_pos + 1 > m_high ? m_low : m_pos + 1;
        m_worker.Post([dlg = m_dlg, pos = m_pos] {
            if (QProgressBar* bar = dlg->ProgressBar()) {
                bar->setValue(pos);
            }
        });
    }
    int ProgressPos() const override { return m_pos; }
    void CloseProgress() override {
        m_worker.Post([dlg = m_dlg] { dlg->DestroyWindow(); });
    }

    bool CancelRequested() const override { return m_cancel || m_worker.Stopping(); }

    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        const auto parent = [dlg = m_dlg, view = m_view]() -> QWidget* {
            return dlg->Window() ? static_cast<QWidget*>(dlg->Window()) : view;
        };
        return m_worker.Ask(parent, Raw(text), buttons);
    }

    void ExplainOpenFailure(const PortResult& result) override {
        m_worker.Post(
            [view = m_view, result] { ShowInStatusBar(view, Raw(PortProblemHint(result, WindowTexts()))); });
    }
    const TextTranslator& Texts() const override { return WindowTexts(); }

    TransferDirection Direction() const override { return m_direction; }
    int GridRows() const override { return m_rows; }
    void SetGridRows(int rows) override { m_rows = rows; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

private:
    // The window's objects are touched only by calls posted to the window's
    // thread; they outlive the worker (~CRadioTransfer ends it first). The
    // cancel flag is read here, as it stands.
    CLinkWorker& m_worker;
    QWidget* m_view;
    CProgressDlg* m_dlg;
    const std::atomic<bool>& m_cancel;
    TransferDirection m_direction;
    int m_rows;
    int m_low = 0, m_high = 123, m_pos = 0;
};

CRadioTransfer::CRadioTransfer(QWidget* view, QWidget* over, EditorSurface& editor)
    : QObject(view),
      m_view(view),
      m_over(over),
      m_editor(editor),
      m_pProgressDlg(new CProgressDlg(view)),
      m_worker(new CLinkWorker(this)) {
    m_pProgressDlg->m_startRefused = [] { return AnyRunning(); };
    connect(m_pProgressDlg, &CProgressDlg::Started, this, [this] {
        SetBusy(true);
        emit Started();
    });
    connect(m_pProgressDlg, &CProgressDlg::RadioTransfer, this, &CRadioTransfer::RadioTransfer);
}

CRadioTransfer::~CRadioTransfer() {
    delete m_worker;  // a running engine ends and is awaited first
    SetBusy(false);
    delete m_pProgressDlg;
}

bool CRadioTransfer::AnyRunning() {
    return g_runningTransfers > 0;
}

void CRadioTransfer::SetBusy(bool busy) {
    if (busy != m_busy) {
        m_busy = busy;
        g_runningTransfers += busy ? 1 : -1;
    }
}

void CRadioTransfer::Open(TransferDirection direction) {
    m_pProgressDlg->m_strTitle =
        Q(direction == TransferDirection::Read ? kReadProgressTitle : kWriteProgressTitle);
    if (!m_pProgressDlg->IsWindow()) {
        m_pProgressDlg->Create(m_over);
    }
}

void CRadioTransfer::Run(const std::string& portName, TransferDirection direction, const DocumentData& data) {
    if (!m_busy || m_worker->IsRunning() || !m_pProgressDlg->IsStarted()) {
        return;
    }
    emit Running(true);

    // The engine works on a copy: a save while the transfer runs encodes
    // into the document's image and must not change the blocks still to be
    // written. A write sends the editor as it stands at the start.
    struct Job {
        DocumentData work;
        TransferResult result;
    };
    auto job = std::make_shared<Job>();
    job->work = data;
    if (direction == TransferDirection::Write) {
        EncodeImage(m_editor, job->work);
    }
    // The host keeps the grid's rows as the engine sets them for a read.
    auto host =
        std::make_shared<CViewLinkHost>(*m_worker, m_view, m_pProgressDlg, direction, m_editor.Rows());
    m_worker->Start(
        [job, host, portName] {
            const auto port = NewSystemSerialPort();
            RealClock clock;
            job->result = RunRadioTransfer(portName, job->work, *port, clock, *host);
        },
        [this, job, host] { Finish(job->result, job->work, host->GridRows()); });
}

void CRadioTransfer::Finish(const TransferResult& result, const DocumentData& work, int rows) {
    const bool read = result.direction == TransferDirection::Read && result.Ok();
    if (read) {
        m_editor.SetRows(rows);
        DecodeImage(work, m_editor);
    }
    emit Transferred(result, work);

    m_pProgressDlg->DestroyWindow();  // closed by the engine in every ending; to be sure
    if (read) {
        // Every read is also kept as read, so the radio's memory can always
        // be put back. A backup that cannot be stored is a warning, not a
        // failed read.
        const ReadBackupResult kept = StoreReadBackup(work);
        if (!kept.Ok()) {
            AfxMessageBox(m_view, Raw(ReadBackupWarningText(kept, WindowTexts())));
        }
    }
    SetBusy(false);
    emit Running(false);
}

}  // namespace quorim
