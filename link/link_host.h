#pragma once

#include <string>

#include "base/message_kinds.h"
#include "base/translation.h"
#include "image/memory_image.h"
#include "link/serial_port.h"

namespace quorim {

// Direction of a clone transfer, the view's m_nDirection.
enum class TransferDirection { Read = 0, Write = 1 };

// What the radio link engines need of the program around them. The GUI host
// hands everything to the window's thread and waits there for a message's
// answer; the CLI host prints; the test host records. All calls come on the
// thread the engine runs on.
class LinkHost {
public:
    virtual ~LinkHost() = default;

    // The progress window's status line.
    virtual void SetStatusText(const std::string& text) = 0;
    // The progress bar: a new range (the bar starts again at `low`), and a
    // step by one. The engine counts its steps itself.
    virtual void SetProgressRange(int low, int high) = 0;
    virtual void StepProgress() = 0;
    // Closes the progress window (the end of every transfer after opening).
    virtual void CloseProgress() = 0;

    // The progress window's cancel flag, looked at the engines' fixed points.
    virtual bool CancelRequested() const = 0;

    // A message box with the application's name as caption.
    virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) = 0;
    // The language of the link's own marked messages (the English link
    // messages above are shown as they stand).
    virtual const TextTranslator& Texts() const { return ChineseTexts(); }
    // Just before the message that the port could not be opened (a window
    // tells why in the same box), and after it: why, where the platform could
    // tell (PortProblemHint).
    virtual void OpenFailed(const PortResult&) {}
    virtual void ExplainOpenFailure(const PortResult&) {}

    // The direction the user last chose; read when the transfer starts and
    // again when it leaves the handshake.
    virtual TransferDirection Direction() const = 0;

    // The editor's codec. The document's model flag tells the layout; a
    // read's decode shows the rows of the model it read.
    virtual void EncodeEditor(DocumentData& doc) = 0;
    virtual void DecodeEditor(const DocumentData& doc) = 0;
};

// A host with no window and no editor: no progress to show, never cancelled, no grid rows; encoding and
// decoding change nothing. Enough for a tuning session; a subclass says how messages are answered.
class NullLinkHost : public LinkHost {
public:
    explicit NullLinkHost(TransferDirection direction = TransferDirection::Write) : m_direction(direction) {}

    void SetStatusText(const std::string&) override {}
    void SetProgressRange(int, int) override {}
    void StepProgress() override {}
    void CloseProgress() override {}
    bool CancelRequested() const override { return false; }
    TransferDirection Direction() const override { return m_direction; }
    void EncodeEditor(DocumentData&) override {}
    void DecodeEditor(const DocumentData&) override {}

private:
    TransferDirection m_direction;
};

}  // namespace quorim
