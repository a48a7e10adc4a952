#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "files/write_snapshot.h"
#include "link/clone_engine.h"
#include "ui/busy_state.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quorim {

class CLinkWorker;
class CProgressDlg;

// "恢复写频前的数据…" of the Devices dialog: the snapshots kept in `folder`
// before writes, newest first (time, port, model). "恢复" puts the chosen one
// back into the radio on `port`, byte for byte, as `quorim restore` does: the
// file must name a model, and the radio's identification must name the same
// one, else nothing is written. The write runs on a worker thread under a
// progress window of its own, whose start button begins it; with
// "写频前备份对讲机数据" on, the radio's memory is kept first as before any
// write. Closing is refused while the write runs.
class CRestoreDlg : public QDialog {
    Q_OBJECT

public:
    CRestoreDlg(const std::string& folder, const std::string& port, QWidget* parent);
    ~CRestoreDlg() override;

    QTableWidget* List() const { return m_list; }
    QPushButton* RestoreButton() const { return m_restore; }
    QLabel* ResultLabel() const { return m_result; }
    CProgressDlg* ProgressDlg() const { return m_progress; }
    bool IsRunning() const { return m_busy.IsBusy(); }
    // What the restore button does: the selected snapshot is loaded and its
    // progress window opened (nothing while a write runs).
    void Restore();

    void reject() override;

signals:
    // The write has ended, its messages told.
    void Restored(const TransferResult& result);

private:
    void Run();
    void Finish(const TransferResult& result, const std::string& failure);

    std::string m_folder;
    std::string m_port;
    std::vector<Snapshot> m_snapshots;  // newest first, as listed
    DocumentData m_doc;                 // the snapshot being put back
    QTableWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
    QLabel* m_result = nullptr;
    CProgressDlg* m_progress = nullptr;
    CLinkWorker* m_worker = nullptr;
    CBusyState m_busy;  // held from the start button to the write's end
};

}  // namespace quorim
