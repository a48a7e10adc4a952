#include "link/ui/restore_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

#include "files/file_status_text.h"
#include "files/read_backup.h"
#include "link/port_names.h"
#include "link/serial_devices.h"
#include "link/snapshot_transfer.h"
#include "link/ui/progress_dlg.h"
#include "link/ui/radio_transfer.h"
#include "link/ui/view_link_host.h"
#include "ui/busy_state.h"
#include "ui/dialog_builder.h"
#include "ui/link_worker.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The dialog's size, in dialog units.
constexpr int kRestoreCx = 300;
constexpr int kRestoreCy = 200;

}  // namespace

CRestoreDlg::CRestoreDlg(const std::string& folder, const std::string& port, QWidget* parent)
    : QDialog(parent),
      m_folder(folder),
      m_port(port),
      m_progress(new CProgressDlg(this)),
      m_worker(new CLinkWorker(this)) {
    setObjectName(QStringLiteral("RestoreDlg"));
    setWindowTitle(Q(kRestoreTitle));
    ApplyTemplateMetrics(this, "宋体", 9, kRestoreCx, kRestoreCy);

    const std::vector<Snapshot> oldestFirst = ListSnapshots(folder);
    m_snapshots.assign(oldestFirst.rbegin(), oldestFirst.rend());
    m_list = new QTableWidget(static_cast<int>(m_snapshots.size()), 3, this);
    m_list->setObjectName(QStringLiteral("SnapshotList"));
    m_list->setHorizontalHeaderLabels({Q(kColumnTime), Q(kColumnPort), Q(kColumnModel)});
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int row = 0; row < m_list->rowCount(); ++row) {
        const Snapshot& s = m_snapshots[static_cast<std::size_t>(row)];
        const QString cells[] = {Raw(SnapshotTimeText(s)), Raw(s.port), Raw(SnapshotModelText(s))};
        for (int col = 0; col < 3; ++col) {
            auto* item = new QTableWidgetItem(cells[col]);
            item->setToolTip(Raw(s.path));
            m_list->setItem(row, col, item);
        }
    }
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(2);
    if (!m_snapshots.empty()) {
        m_list->selectRow(0);
    }

    m_result = MakeLabel(m_snapshots.empty() ? Q(kNoSnapshots) : Q(kRestoreToPort).arg(Raw(port)), this);
    m_result->setObjectName(QStringLiteral("RestoreResult"));
    m_result->setWordWrap(true);
    m_restore = MakeButton(Q(kRestoreButton), true, this);
    m_restore->setObjectName(QStringLiteral("RestoreButton"));
    m_restore->setEnabled(!m_snapshots.empty());
    connect(m_restore, &QPushButton::clicked, this, &CRestoreDlg::Restore);
    QPushButton* close = MakeButton(Q(kCloseButton), false, this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_result);
    layout->addLayout(buttons);

    m_progress->m_strTitle = Q(kRestoreTitle);
    m_progress->m_startRefused = [] { return CBusyState::AnyBusy(); };
    connect(m_progress, &CProgressDlg::Started, this, [this] {
        m_busy.SetHolder(this);
        m_restore->setEnabled(false);
    });
    connect(m_progress, &CProgressDlg::RadioTransfer, this, &CRestoreDlg::Run);
}

CRestoreDlg::~CRestoreDlg() {
    delete m_worker;  // a running write ends and is awaited first
    delete m_progress;
}

void CRestoreDlg::reject() {
    if (!IsRunning()) {
        QDialog::reject();
    }
}

void CRestoreDlg::Restore() {
    const int row = m_list->currentRow();
    if (IsRunning() || m_progress->IsWindow() || row < 0 || row >= static_cast<int>(m_snapshots.size())) {
        return;
    }
    const Snapshot& chosen = m_snapshots[static_cast<std::size_t>(row)];
    DocumentData doc;
    if (FileStatus loaded; !LoadSnapshot(chosen.path, doc, loaded)) {
        AfxMessageBox(this,
                      Raw(loaded.Ok() ? TranslateWithArgs(WindowTexts(), kMsgNotASnapshot, {chosen.path})
                                      : FileStatusText(loaded, WindowTexts())));
        return;
    }
    m_doc = doc;
    m_result->setText(Q(kRestoreToPort).arg(Raw(m_port)));
    m_progress->Create(this);
}

void CRestoreDlg::Run() {
    if (!IsRunning() || m_worker->IsRunning()) {
        return;
    }
    struct Job {
        DocumentData work;
        WindowWrite write;
    };
    auto job = std::make_shared<Job>();
    job->work = m_doc;
    // The layout is the snapshot's own; the bytes go as they stand.
    auto host = std::make_shared<CViewLinkHost>(*m_worker, this, m_progress, TransferDirection::Write);
    const std::string port = ResolvePortName(m_port);
    const std::string snapshotFolder = CRadioTransfer::BackUpBeforeWrite() ? m_folder : std::string();
    const QString caption = m_progress->m_strTitle;
    m_worker->Start(
        [job, host, port, snapshotFolder, caption] {
            job->write = RunWindowWrite(port, job->work, *host, snapshotFolder, caption);
        },
        [this, job] { Finish(job->write.result, job->write.failure); });
}

void CRestoreDlg::Finish(const TransferResult& result, const std::string& failure) {
    m_progress->DestroyWindow();
    if (!failure.empty()) {
        AfxMessageBox(this, Raw(failure));
    }
    if (result.Ok()) {
        m_result->setText(Raw(TransferDoneText(WindowTexts(), TransferDirection::Write,
                                               result.documentSixteen, ResolvePortName(m_port))));
    }
    m_busy.SetHolder(nullptr);
    m_restore->setEnabled(true);
    emit Restored(result);
}

}  // namespace quorim
