#pragma once

#include <QObject>
#include <string>

#include "link/clone_engine.h"
#include "link/link_host.h"

class QWidget;

namespace quorim {

class CBusyState;
class CLinkWorker;
class CProgressDlg;
class EditorSurface;

// The radio transfer of one document window: its progress window, and one
// whole read or write when the window's start button asks for it. It knows
// the window only as a widget and its editor as an editor surface; the
// document's data comes with each run and the result goes back by signals.
// The engine runs on a worker thread over a copy of the data; the window's
// thread encodes before it, and a read's image goes to the document, which
// decodes it; so a read is all or nothing. The busy state is the document's:
// the transfer takes it at the start button and gives it back at the end.
class CRadioTransfer : public QObject {
    Q_OBJECT

public:
    // `view` is the document window (the owner of this object and of the
    // progress window, and the parent of the transfer's messages); `over` is
    // the widget the progress window opens centred over; `editor` is the
    // surface a write encodes; `busy` is the document's busy state.
    CRadioTransfer(QWidget* view, QWidget* over, EditorSurface& editor, CBusyState& busy);
    // A transfer still running is cancelled and awaited.
    ~CRadioTransfer() override;

    CProgressDlg* ProgressDlg() const { return m_pProgressDlg; }
    // From the start button to the end of the transfer (its result applied,
    // its window closed): the document's busy state is held by this one.
    bool IsRunning() const;
    // Any transfer of the program is running (only one runs at a time).
    static bool AnyRunning();
    // "写频前备份对讲机数据": every window's write reads and keeps the radio's
    // memory first (the Devices dialog sets it; the program remembers it).
    static bool BackUpBeforeWrite();
    static void SetBackUpBeforeWrite(bool on);

    // The Read or Write command: the window's caption for the direction, and
    // the window itself unless it is open already (then it keeps its caption).
    void Open(TransferDirection direction);
    // One whole transfer on the port named, over a copy of the document's
    // data; nothing unless the start button was pressed and no run of this
    // window is under way.
    void Run(const std::string& portName, TransferDirection direction, const DocumentData& data);

signals:
    // A write stopped partway after the radio's memory was kept before it:
    // what the radio held can be put back.
    void WriteInterruptedAfterSnapshot(const std::string& portName);
    // The start button was pressed: the transfer is on its way.
    void Started();
    // Posted by the start button (WM_RADIO_TRANSFER): time to run.
    void RadioTransfer();
    // A run began (true) or ended (false), its window closed and its read
    // kept.
    void Running(bool running);
    // The engine is done: `work` holds the document's data as the transfer
    // left it (a read's new image and model, for the document to take; a
    // write's encoded image).
    void Transferred(const TransferResult& result, const DocumentData& work);

private:
    void SetBusy(bool busy);
    // On the window's thread, after the engine.
    void Finish(const TransferResult& result, const DocumentData& work);

    QWidget* m_view;
    QWidget* m_over;
    EditorSurface& m_editor;
    CBusyState& m_busy;
    CProgressDlg* m_pProgressDlg;
    CLinkWorker* m_worker;
};

}  // namespace quorim
