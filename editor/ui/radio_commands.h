#pragma once

#include <QComboBox>
#include <QList>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>

#include "link/clone_engine.h"
#include "link/link_host.h"

class QWidget;

namespace quorim {

class CViewDocument;
class CViewHost;

// A document window's radio commands: Read and Write (Ctrl+R, Ctrl+W) and
// online tuning (Ctrl+T). The transfer and the tuning window run elsewhere;
// this part commits the window's pending edit, says what it wants by
// signals, and hands a read's result to the document.
class CRadioCommands : public QObject {
    Q_OBJECT

public:
    // `commitEdit` stores the window's open cell editor; `modelLists` are the
    // model lists of every window of the document (locked while a run lasts).
    // Without a host the port is COM1 and no other transfer is asked about.
    CRadioCommands(QWidget* window, CViewDocument& doc, CViewHost* host, std::function<void()> commitEdit,
                   std::function<QList<QComboBox*>()> modelLists);

    void OnReadRadio();
    void OnWriteRadio();
    void OnOnlineTuning();
    // The progress window's start button (WM_RADIO_TRANSFER): one whole read
    // or write, in Direction(), of the document's data on the port chosen now.
    void OnRadioTransfer();
    // The transfer's reports: a run began or ended; the engine left the data
    // as `work`.
    void OnTransferRunning(bool running);
    void OnTransferred(const TransferResult& result, const DocumentData& work);

    // From the start button to the end of the transfer: the document is busy.
    bool IsTransferRunning() const;
    // 0: read from the radio, 1: write to it; set by the two commands.
    int Direction() const { return static_cast<int>(m_direction); }
    // The port of the last transfer, taken from the host at its start.
    const std::string& PortName() const { return m_portName; }

signals:
    void TransferCommand(TransferDirection direction);
    void RunTransfer(const std::string& portName, TransferDirection direction, const DocumentData& data);
    void OnlineTuning(std::int64_t bandBase, const std::string& portName);
    // "读频完成：…" for the status bar.
    void TransferResultText(const QString& text);
    // A read replaced the document's data (the window shows it again and
    // records the step), and was told.
    void ReadTaken();
    void ReadTold();

private:
    bool Refused() const;

    QWidget* m_window;
    CViewDocument& m_doc;
    CViewHost* m_host;
    std::function<void()> m_commitEdit;
    std::function<QList<QComboBox*>()> m_modelLists;
    std::string m_portName;
    TransferDirection m_direction = TransferDirection::Read;
    QList<QPointer<QComboBox>> m_locked;
};

}  // namespace quorim
