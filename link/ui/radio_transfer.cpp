// Reading from and writing to the radio (Ctrl+R, Ctrl+W): the two commands
// open the window's progress window; its start button brings the transfer
// here, where the clone engine drives it on a worker thread through a host
// that hands everything to the window's thread.
#include "link/ui/radio_transfer.h"

#include <QLabel>
#include <QProgressBar>
#include <memory>
#include <optional>

#include "editor/codec.h"
#include "files/file_status_text.h"
#include "files/read_backup.h"
#include "link/clock.h"
#include "link/progress_template.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"
#include "link/ui/progress_dlg.h"
#include "link/ui/view_link_host.h"
#include "ui/busy_state.h"
#include "ui/link_worker.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

bool g_backUpBeforeWrite = false;

}  // namespace

CRadioTransfer::CRadioTransfer(QWidget* view, QWidget* over, EditorSurface& editor, CBusyState& busy)
    : QObject(view),
      m_view(view),
      m_over(over),
      m_editor(editor),
      m_busy(busy),
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

bool CRadioTransfer::IsRunning() const {
    return m_busy.Holder() == this;
}

bool CRadioTransfer::AnyRunning() {
    return CBusyState::AnyBusy();
}

bool CRadioTransfer::BackUpBeforeWrite() {
    return g_backUpBeforeWrite;
}

void CRadioTransfer::SetBackUpBeforeWrite(bool on) {
    g_backUpBeforeWrite = on;
}

void CRadioTransfer::SetBusy(bool busy) {
    if (busy) {
        m_busy.SetHolder(this);
    } else if (IsRunning()) {
        m_busy.SetHolder(nullptr);
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
    if (!IsRunning() || m_worker->IsRunning() || !m_pProgressDlg->IsStarted()) {
        return;
    }
    emit Running(true);

    // The engine works on a copy: a save while the transfer runs encodes
    // into the document's image and must not change the blocks still to be
    // written. A write sends the editor as it stands at the start.
    struct Job {
        DocumentData work;
        WindowWrite write;
    };
    auto job = std::make_shared<Job>();
    job->work = data;
    if (direction == TransferDirection::Write) {
        EncodeImage(m_editor, job->work);
    }
    // A write takes the radio's memory first when the Devices dialog says so.
    const std::string snapshotFolder =
        direction == TransferDirection::Write && BackUpBeforeWrite() ? ReadBackupFolder() : std::string();
    const QString caption = m_pProgressDlg->Window() ? m_pProgressDlg->Window()->windowTitle() : QString();
    auto host = std::make_shared<CViewLinkHost>(*m_worker, m_view, m_pProgressDlg, direction);
    m_worker->Start(
        [job, host, portName, direction, snapshotFolder, caption] {
            if (direction == TransferDirection::Write) {
                job->write = RunWindowWrite(portName, job->work, *host, snapshotFolder, caption);
            } else {
                const auto port = NewSystemSerialPort();
                RealClock clock;
                job->write.result = RunRadioTransfer(portName, job->work, *port, clock, *host);
            }
        },
        [this, job, host, portName] {
            if (!job->write.failure.empty()) {
                AfxMessageBox(m_view, Raw(job->write.failure));
            }
            Finish(job->write.result, job->work);
            if (job->write.snapshotKept && WriteStoppedPartway(job->write.result)) {
                emit WriteInterruptedAfterSnapshot(portName);
            }
        });
}

void CRadioTransfer::Finish(const TransferResult& result, const DocumentData& work) {
    const bool read = result.direction == TransferDirection::Read && result.Ok();
    emit Transferred(result, work);  // a read goes to the document, decoded there

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
