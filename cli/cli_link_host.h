#pragma once

#include <string>

#include "editor/editor_model.h"
#include "link/link_host.h"

namespace quorim::cli {

// Ctrl+C, SIGTERM and SIGHUP ask every running transfer to cancel. The
// handler is in place while at least one scope lives (a host, or a run of
// several transfers that must not lose a Ctrl+C between two of them); the
// first scope clears the flag.
class InterruptScope {
public:
    InterruptScope();
    ~InterruptScope();
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

    static bool Interrupted();
};

// Writes one line to stdout or stderr, whole, even when several ports print
// at once.
void PrintLine(bool toStdout, const std::string& line);

// The command line's host for the radio links: every message goes to stderr
// as its own line, verbatim; a Retry/Cancel prompt is answered Retry for the
// first `retries` prompts, then Cancel. On a terminal the status line and a
// progress bar are redrawn in place. Ctrl+C asks the transfer to cancel.
// With a prefix (several ports at once) every message starts with it and no
// progress is drawn.
class CliLinkHost : public LinkHost {
public:
    CliLinkHost(TransferDirection direction, int retries, std::string prefix = {});
    ~CliLinkHost() override;
    CliLinkHost(const CliLinkHost&) = delete;
    CliLinkHost& operator=(const CliLinkHost&) = delete;

    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int low, int high) override;
    void StepProgress() override;
    void CloseProgress() override;
    bool CancelRequested() const override;
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
    void ExplainOpenFailure(const PortResult& result) override;
    // The command line's language (--lang, the locale).
    const TextTranslator& Texts() const override;
    TransferDirection Direction() const override { return m_direction; }
    void EncodeEditor(DocumentData& doc) override;
    void DecodeEditor(const DocumentData& doc) override;

    EditorModel& Editor() { return m_editor; }
    int PromptsAnswered() const { return m_prompts; }

protected:
    // A message line, after the prefix.
    void Print(const std::string& text);

private:
    void Redraw();
    void ClearLine();

    InterruptScope m_interrupts;
    TransferDirection m_direction;
    std::string m_prefix;
    int m_retries;
    int m_prompts = 0;
    EditorModel m_editor;
    bool m_terminal;
    bool m_drawn = false;
    std::string m_status;
    int m_low = 0, m_high = 123, m_pos = 0;
};

// Parses a non-negative count ("--retry 3"); false for anything else.
bool ParseCount(const std::string& text, int& out);

}  // namespace quorim::cli
