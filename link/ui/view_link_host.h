#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QString>
#include <atomic>
#include <string>
#include <utility>

#include "image/memory_image.h"
#include "link/clone_engine.h"
#include "link/link_host.h"
#include "link/serial_devices.h"
#include "link/ui/progress_dlg.h"
#include "ui/link_worker.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

// The clone engine's host on the worker thread: the progress window's status
// line and bar are set on the window's thread, the cancel flag is read as it
// stands, messages are asked there and awaited. The editor is the window's:
// its rows are taken when the transfer starts, a write's encoding is done
// before it and a read's decoding after it, on the window's thread. The
// progress window may be gone by the time a call arrives; then the status
// and bar calls change nothing. The bar's position is the bar's own.
class CViewLinkHost : public LinkHost {
public:
    CViewLinkHost(CLinkWorker& worker, QWidget* view, CProgressDlg* dlg, TransferDirection direction)
        : m_worker(worker), m_view(view), m_dlg(dlg), m_cancel(dlg->m_bCancel), m_direction(direction) {}

    void SetStatusText(const std::string& text) override {
        m_worker.Post([dlg = m_dlg, text] {
            if (QLabel* status = dlg->StatusLine()) {
                status->setText(Raw(text));  // the link's English, or a number
            }
        });
    }
    void SetProgressRange(int low, int high) override {
        m_worker.Post([dlg = m_dlg, low, high] {
            if (QProgressBar* bar = dlg->ProgressBar()) {
                bar->setRange(low, high);
                bar->setValue(low);
            }
        });
    }
    void StepProgress() override {
        m_worker.Post([dlg = m_dlg] {
            if (QProgressBar* bar = dlg->ProgressBar()) {
                // A step past the top starts again at the bottom.
                bar->setValue(bar->value() >= bar->maximum() ? bar->minimum() : bar->value() + 1);
            }
        });
    }
    // The progress window's caption, for a phase of the run.
    void SetCaption(const QString& caption) {
        m_worker.Post([dlg = m_dlg, caption] {
            if (dlg->Window()) {
                dlg->Window()->setWindowTitle(caption);
            }
        });
    }
    void CloseProgress() override {
        m_worker.Post([dlg = m_dlg] { dlg->DestroyWindow(); });
    }

    bool CancelRequested() const override { return m_cancel || m_worker.Stopping(); }

    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        const auto parent = [dlg = m_dlg, view = m_view]() -> QWidget* {
            return dlg->Window() ? static_cast<QWidget*>(dlg->Window()) : view;
        };
        // The reason the port could not be opened goes into the box that says so.
        QString detail = std::exchange(m_openFailure, QString());
        if (detail.isEmpty()) {
            detail = Q(LinkMessageDetail(text));
        }
        return m_worker.Ask(parent, Raw(text), buttons, detail);
    }

    void OpenFailed(const PortResult& result) override {
        m_openFailure = Raw(PortProblemHint(result, WindowTexts()));
    }

    void ExplainOpenFailure(const PortResult& result) override {
        m_worker.Post(
            [view = m_view, result] { ShowInStatusBar(view, Raw(PortProblemHint(result, WindowTexts()))); });
    }
    const TextTranslator& Texts() const override { return WindowTexts(); }

    TransferDirection Direction() const override { return m_direction; }
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
    QString m_openFailure;  // worker thread only
};

// How a window's write ended: the transfer, and why it did not begin when the
// snapshot before it failed (in the window's language; empty otherwise).
struct WindowWrite {
    TransferResult result;
    std::string failure;
    bool snapshotKept = false;  // the radio's memory was kept before the write
};

// On the worker thread: the write of `work` on `portName`, in the layout of
// `host`'s grid rows. With a `snapshotFolder`, the radio's memory is read and
// kept there first, a phase of its own (the progress window's caption is
// "写频前备份对讲机数据" meanwhile, then `caption`); a snapshot that fails ends
// the run before the first block, the radio untouched.
WindowWrite RunWindowWrite(const std::string& portName, DocumentData& work, CViewLinkHost& host,
                           const std::string& snapshotFolder, const QString& caption);

}  // namespace quorim
