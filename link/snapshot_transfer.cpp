#include "link/snapshot_transfer.h"

#include <chrono>

namespace quorim {

namespace {

// Hands the read to the caller's host, but keeps its progress window open,
// its grid and editor untouched, and stops the read when the identification
// names the other model than the write's.
class SnapshotReadHost : public LinkHost {
public:
    SnapshotReadHost(LinkHost& host, bool sixteen) : m_host(host), m_sixteen(sixteen) {}

    void SetStatusText(const std::string& text) override { m_host.SetStatusText(text); }
    void SetProgressRange(int low, int high) override {
        // A read's range follows the identification: 0-123 for a 16-channel
        // radio, 0-401 for a 199-channel one.
        m_radioSixteen = high < kBlocks199 - 1;
        m_host.SetProgressRange(low, high);
    }
    void StepProgress() override { m_host.StepProgress(); }
    void CloseProgress() override {}
    bool CancelRequested() const override { return OtherModel() || m_host.CancelRequested(); }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        return m_host.ShowMessage(text, buttons);
    }
    const TextTranslator& Texts() const override { return m_host.Texts(); }
    void OpenFailed(const PortResult& result) override { m_host.OpenFailed(result); }
    void ExplainOpenFailure(const PortResult& result) override { m_host.ExplainOpenFailure(result); }
    TransferDirection Direction() const override { return TransferDirection::Read; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

    bool OtherModel() const { return m_radioSixteen && *m_radioSixteen != m_sixteen; }

private:
    LinkHost& m_host;
    bool m_sixteen;
    std::optional<bool> m_radioSixteen;
};

}  // namespace

BeforeWriteSnapshot TakeSnapshotBeforeWrite(const std::string& portName, bool sixteen,
                                            const std::string& folder, SerialPort& port, Clock& clock,
                                            LinkHost& host) {
    BeforeWriteSnapshot snapshot;
    // A new document with the write's model flag: its wake-up is the write's.
    snapshot.memory.OnNewDocument();
    snapshot.memory.m_bSixteenChannel = sixteen;
    SnapshotReadHost reader(host, sixteen);
    snapshot.read = RunRadioTransfer(portName, snapshot.memory, port, clock, reader);
    // The radio is what its identification names: a blank radio's memory
    // (byte 3 0xFF) names no model, and its read runs on to the last block.
    if (snapshot.read.Ok() && snapshot.read.radioSixteen) {
        snapshot.memory.m_bSixteenChannel = *snapshot.read.radioSixteen;
    }
    if (reader.OtherModel() || (snapshot.read.Ok() && snapshot.memory.m_bSixteenChannel != sixteen)) {
        snapshot.read.reason = TransferReason::OtherModel;
        snapshot.read.radioSixteen = !sixteen;
    } else if (snapshot.read.Ok()) {
        snapshot.kept = StoreSnapshotIn(folder, portName, snapshot.memory, std::chrono::system_clock::now());
    }
    if (!snapshot.Ok()) {
        host.CloseProgress();
    }
    return snapshot;
}

std::string BeforeWriteFailureText(const BeforeWriteSnapshot& snapshot, bool sixteen,
                                   const TextTranslator& texts) {
    switch (snapshot.read.reason) {
        case TransferReason::Ok:
            return snapshot.kept.Ok()
                       ? std::string()
                       : TranslateWithArgs(texts, kMsgSnapshotKeepFailed, {snapshot.kept.reason});
        case TransferReason::Cancelled:
            return {};
        case TransferReason::OtherModel:
            return WrongRadioModelMessage(texts, !sixteen, sixteen);
        default:
            return TranslateWithArgs(texts, kMsgSnapshotReadFailed, {TransferMessage(snapshot.read, texts)});
    }
}

}  // namespace quorim
