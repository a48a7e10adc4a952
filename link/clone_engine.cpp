#include "link/clone_engine.h"

#include <algorithm>
#include <array>

namespace quorim {

namespace {

using Step = TransferReason;

class CloneTransfer {
public:
    CloneTransfer(DocumentData& doc, SerialPort& port, Clock& clock, LinkHost& host)
        : m_doc(doc), m_port(port), m_clock(clock), m_host(host) {
        m_result.direction = host.Direction();
    }

    TransferResult Run(const std::string& portName);

private:
    // How one try at the handshake ended: the radio identified itself and
    // took the order, the user cancelled, the radio did not answer the
    // wake-up (tried again at once, a few times), or a later step failed
    // (the user is asked).
    enum class Try { Done, Cancelled, Unanswered, Failed };

    Step Handshake();
    // Looks at the cancel flag `checks` times, a millisecond apart; true when
    // the user has asked to cancel.
    bool WaitCancellable(int checks);
    // Sends the wake-up for the 16- or 199-channel model; true when the
    // radio answered 06.
    bool WakeUp(bool sixteen);
    // Reads the radio's identification and acknowledges it.
    Try Identify(bool sixteen);
    Step ReadPhase();
    Step WritePhase();

    // One look at the cancel flag; true when the user has asked to cancel.
    bool CancelCheck() { return m_host.CancelRequested(); }
    // The message of a failure with an OK button; the failure itself.
    Step Fail(Step reason) {
        m_result.reason = reason;
        m_host.ShowMessage(TransferMessage(m_result, m_host.Texts()), MessageButtons::Ok);
        return reason;
    }
    bool WriteBytes(const std::uint8_t* data, std::size_t size) {
        const Transfer t = m_port.Write(data, size);
        NoteStop(t);
        return t.Ok() && t.count == size;
    }
    Transfer ReadBytes(std::uint8_t* data, std::size_t size) {
        const Transfer t = m_port.Read(data, size);
        NoteStop(t);
        return t;
    }
    // A read or write that Ctrl+C ended: the transfer is cancelled at the
    // next check, before anything more is sent.
    void NoteStop(const Transfer& t) { m_stopped = m_stopped || t.error == PortError::Stopped; }
    bool WriteByte(std::uint8_t b) { return WriteBytes(&b, 1); }
    // Reads one byte into the receive buffer; true only when a byte arrived
    // within the time-out and it is 06. `portError` tells a failed read.
    bool ReadAck(bool* portError = nullptr) {
        const Transfer t = ReadBytes(m_rx.data(), 1);
        if (portError != nullptr) {
            *portError = !t.Ok();
        }
        return t.Ok() && t.count == 1 && m_rx[0] == kAck;
    }
    // The communication error prompt: true for Retry. Cancel gives up on the
    // radio, unless the user had asked to cancel already.
    bool AskRetry(Step* giveUp) {
        if (m_host.ShowMessage(kMsgCommunicationError, MessageButtons::RetryCancel) == MessageAnswer::Retry) {
            return true;
        }
        *giveUp = m_host.CancelRequested() ? Step::Cancelled : Step::NoAnswer;
        return false;
    }
    // The bar goes up by one a block and stops at its top; the status line
    // shows the count.
    void StepProgress() {
        if (m_progressPos < m_progressTop) {
            ++m_progressPos;
            m_host.StepProgress();
            m_host.SetStatusText(std::to_string(m_progressPos));
        }
    }
    // A new range starts the bar again at its bottom.
    void SetProgressRange(int top) {
        m_progressTop = top;
        m_progressPos = 0;
        m_host.SetProgressRange(0, top);
    }
    void Finish() {
        m_port.Close();
        m_host.CloseProgress();
    }

    DocumentData& m_doc;
    SerialPort& m_port;
    Clock& m_clock;
    LinkHost& m_host;
    TransferResult m_result;
    // Every reply is read into this buffer from its first byte; bytes a short
    // reply does not reach keep what an earlier reply left there.
    std::array<std::uint8_t, 20> m_rx{};
    int m_progressTop = 123;  // the progress window starts with 0-123
    int m_progressPos = 0;    // blocks counted on the bar, up to its top
    bool m_stopped = false;
    bool m_radioSixteen = true;  // as the last identification told
};

const char* ModelName(bool sixteen) {
    return sixteen ? "QZ - 16" : "QZ - 199";
}

TransferResult CloneTransfer::Run(const std::string& portName) {
    m_result.documentSixteen = m_doc.m_bSixteenChannel;
    if (m_host.Direction() == TransferDirection::Write) {
        m_host.EncodeEditor(m_doc);
    }
    const PortResult opened = OpenConfiguredPort(m_port, portName, kCloneInputQueue, kCloneOutputQueue,
                                                 kCloneTimeouts, LineSettings{});  // 9600 8N1
    if (!opened.Ok()) {
        m_host.OpenFailed(opened);
        Fail(Step::PortError);
        m_host.ExplainOpenFailure(opened);
        m_host.CloseProgress();
        return m_result;
    }
    m_host.SetStatusText(kStatusDetecting);
    m_rx.fill(0);

    Step step = Handshake();
    if (step == Step::Ok) {
        // The user may have picked the other command while the radio was
        // woken; the direction is taken as it stands now.
        m_result.direction = m_host.Direction();
        step = m_result.direction == TransferDirection::Read ? ReadPhase() : WritePhase();
    }
    m_result.reason = step;
    if (step != Step::Ok) {
        Finish();  // the phases close and decode themselves when they succeed
    }
    return m_result;
}

Step CloneTransfer::Handshake() {
    int attempt = 1;
    for (;;) {
        if (WaitCancellable(kWakeUpCancelChecks)) {
            return Step::Cancelled;
        }
        const bool sixteen = m_doc.m_bSixteenChannel;
        const Try tried = WakeUp(sixteen) ? Identify(sixteen) : m_stopped ? Try::Cancelled : Try::Unanswered;
        if (tried == Try::Done) {
            return Step::Ok;
        }
        if (tried == Try::Cancelled) {
            return Step::Cancelled;
        }
        if (tried == Try::Unanswered) {
            m_clock.SleepMs(2);
            if (++attempt <= kHandshakeAttempts) {
                continue;
            }
        }
        if (Step giveUp{}; !AskRetry(&giveUp)) {
            return giveUp;
        }
        attempt = 1;
    }
}

bool CloneTransfer::WaitCancellable(int checks) {
    for (int i = 0; i < checks; ++i) {
        if (CancelCheck()) {
            return true;
        }
        m_clock.SleepMs(1);
    }
    return false;
}

bool CloneTransfer::WakeUp(bool sixteen) {
    static constexpr std::uint8_t kWakeUp[] = {kStx, 'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    m_port.Purge();
    // The 199-channel variant holds the final 'M' back until the radio
    // has answered.
    const std::size_t wakeUpLength = sixteen ? 8 : 7;
    for (std::size_t i = 0; i < wakeUpLength; ++i) {
        m_clock.SleepMs(1);
        m_port.Purge();
        WriteByte(kWakeUp[i]);
    }
    m_host.SetStatusText(kStatusWaiting);

    // The radio answers 06, possibly after one stray byte.
    bool portError = false;
    bool acked = ReadAck(&portError);
    if (!acked && !portError) {
        acked = ReadAck(&portError);
    }
    return acked;
}

CloneTransfer::Try CloneTransfer::Identify(bool sixteen) {
    m_clock.SleepMs(1);
    m_port.Purge();
    if (!sixteen) {
        WriteByte('M');
        m_clock.SleepMs(1);
        m_port.Purge();
        WriteByte(kStx);
    } else {
        WriteByte(kStx);
        m_clock.SleepMs(1);
    }

    // The identification: only byte 4 is looked at, and a short one keeps
    // the buffer's earlier bytes in the places it does not reach.
    if (!ReadBytes(m_rx.data(), kIdentSize).Ok()) {
        return m_stopped ? Try::Cancelled : Try::Failed;
    }
    m_radioSixteen = m_rx[kIdentModelByte] != kModelCode199;
    m_result.radioSixteen = m_radioSixteen;
    if (m_host.Direction() == TransferDirection::Read) {
        SetProgressRange(m_rx[kIdentModelByte] == kModelCode199 ? kBlocks199 - 1 : kReadBlocks16 - 1);
    }

    m_port.Purge();
    bool sent = WriteByte(kAck);
    for (int retry = 0; !sent && !m_stopped && retry < kSendOrderRetries; ++retry) {
        m_host.ShowMessage(kMsgSendOrder, MessageButtons::Ok);
        m_port.Purge();
        sent = WriteByte(kAck);
    }
    if (!sent) {
        return m_stopped ? Try::Cancelled : Try::Failed;
    }

    bool portError = false;
    if (ReadAck(&portError)) {
        return Try::Done;
    }
    if (m_stopped || (!portError && WaitCancellable(kIdentAckCancelChecks))) {
        return Try::Cancelled;
    }
    return Try::Failed;
}

Step CloneTransfer::ReadPhase() {
    // Blocks go into a copy; the document changes only when the read succeeds.
    DocumentData scratch = m_doc;
    scratch.m_bSixteenChannel = false;
    std::array<std::uint8_t, 4> request{'R', 0x00, 0x00, kBlockSize};
    for (int k = 0; k < kBlocks199; ++k) {
        m_port.Purge();
        WriteBytes(request.data(), request.size());
        // Anything short of the full 12 bytes ends the read: a partial reply
        // would put bytes of the previous block into this one.
        const Transfer reply = ReadBytes(m_rx.data(), kReplySize);
        if (m_stopped) {
            return Step::Cancelled;
        }
        if (reply.count < kReplySize) {
            return Fail(Step::ShortReply);
        }
        const unsigned next = static_cast<unsigned>(k + 1) * kBlockSize;
        request[1] = static_cast<std::uint8_t>(next >> 8);
        request[2] = static_cast<std::uint8_t>(next & 0xFF);
        m_port.Purge();
        std::copy(m_rx.begin() + 4, m_rx.begin() + kReplySize,
                  scratch.m_image.begin() + static_cast<std::ptrdiff_t>(k * kBlockSize));
        StepProgress();
        m_clock.SleepMs(15);
        m_port.Purge();
        WriteByte(kAck);
        // A 16-channel radio's memory ends with block 123; its answer to
        // this last ACK is not awaited.
        if (scratch.m_image[kModelCodeOffset] == kModelCode16 && k == kReadBlocks16 - 1) {
            scratch.m_bSixteenChannel = true;
            break;
        }
        if (!ReadAck()) {
            if (m_stopped) {
                return Step::Cancelled;
            }
            return Fail(Step::WrongAck);
        }
        for (int i = 0; i < kReadBlockCancelChecks; ++i) {
            if (CancelCheck()) {
                return Step::Cancelled;
            }
        }
        m_clock.SleepMs(10);
    }
    m_doc = scratch;
    m_result.documentSixteen = m_doc.m_bSixteenChannel;
    Finish();
    m_host.DecodeEditor(m_doc);
    return Step::Ok;
}

Step CloneTransfer::WritePhase() {
    if (m_result.documentSixteen != m_radioSixteen) {
        // The other layout would overwrite the radio's channels and model code.
        return Fail(Step::OtherModel);
    }
    SetProgressRange(m_result.documentSixteen ? kWriteBlocks16 : kBlocks199 - 1);
    std::array<std::uint8_t, 4> request{'W', 0x00, 0x00, kBlockSize};
    for (int k = 0; k < kBlocks199; ++k) {
        // The 16-channel layout ends after 123 blocks (image bytes 0..983).
        if (m_result.documentSixteen && k == kWriteBlocks16) {
            break;
        }
        const auto* data = m_doc.m_image.data() + static_cast<std::size_t>(k) * kBlockSize;
        m_port.Purge();
        WriteBytes(request.data(), request.size());
        m_clock.SleepMs(1);
        m_port.Purge();
        WriteBytes(data, kBlockSize);
        // the radio answers each written block with 06
        if (!ReadAck()) {
            if (m_stopped) {
                return Step::Cancelled;
            }
            return Fail(Step::WrongAck);
        }
        const unsigned next = static_cast<unsigned>(k + 1) * kBlockSize;
        request[1] = static_cast<std::uint8_t>(next >> 8);
        request[2] = static_cast<std::uint8_t>(next & 0xFF);
        StepProgress();
        for (int i = 0; i < kWriteBlockCancelChecks; ++i) {
            if (CancelCheck()) {
                return Step::Cancelled;
            }
        }
        m_clock.SleepMs(1);
    }
    Finish();
    return Step::Ok;
}

}  // namespace

std::string WrongRadioModelMessage(const TextTranslator& texts, bool radioSixteen, bool documentSixteen) {
    return TranslateWithArgs(texts, kMsgWrongRadioModel,
                             {ModelName(radioSixteen), ModelName(documentSixteen)});
}

std::string TransferDoneText(const TextTranslator& texts, TransferDirection direction, bool sixteen,
                             const std::string& device) {
    return TranslateWithArgs(texts, direction == TransferDirection::Read ? kStatusReadDone : kStatusWriteDone,
                             {ModelName(sixteen), sixteen ? "16" : "199", device});
}

std::string_view LinkMessageDetail(std::string_view message) {
    return message == kMsgWriteBlockError ? kDetailWriteInterrupted : std::string_view();
}

bool WriteStoppedPartway(const TransferResult& result) {
    return result.direction == TransferDirection::Write && result.reason == TransferReason::WrongAck;
}

std::string TransferMessage(const TransferResult& result, const TextTranslator& texts) {
    switch (result.reason) {
        case TransferReason::PortError:
            return kMsgCannotOpenPort;
        case TransferReason::NoAnswer:
            return kMsgCommunicationError;
        case TransferReason::ShortReply:
            return kMsgNotEnough;
        case TransferReason::WrongAck:
            return result.direction == TransferDirection::Read ? kMsgReadBlockError : kMsgWriteBlockError;
        case TransferReason::OtherModel:
            return WrongRadioModelMessage(texts, result.radioSixteen.value_or(!result.documentSixteen),
                                          result.documentSixteen);
        case TransferReason::Ok:
        case TransferReason::Cancelled:
            break;
    }
    return {};
}

TransferResult RunRadioTransfer(const std::string& portName, DocumentData& doc, SerialPort& port,
                                Clock& clock, LinkHost& host) {
    return CloneTransfer(doc, port, clock, host).Run(portName);
}

}  // namespace quorim
