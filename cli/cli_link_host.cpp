#include "cli/cli_link_host.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>

#include "cli/commands.h"
#include "cli/platform.h"
#include "editor/codec.h"
#include "link/serial_devices.h"

namespace quorim::cli {

namespace {

std::mutex g_scopeMutex;
int g_scopes = 0;

std::mutex& OutputMutex() {
    static std::mutex m;
    return m;
}

}  // namespace

InterruptScope::InterruptScope() {
    const std::lock_guard lock(g_scopeMutex);
    if (g_scopes++ == 0) {
        WatchInterrupt();
    }
}

InterruptScope::~InterruptScope() {
    const std::lock_guard lock(g_scopeMutex);
    if (--g_scopes == 0) {
        UnwatchInterrupt();
    }
}

bool InterruptScope::Interrupted() {
    return cli::Interrupted();
}

void PrintLine(bool toStdout, const std::string& line) {
    const std::lock_guard lock(OutputMutex());
    (toStdout ? std::cout : std::cerr) << line << "\n" << std::flush;
}

bool ParseCount(const std::string& text, int& out) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    out = std::atoi(text.c_str());
    return true;
}

CliLinkHost::CliLinkHost(TransferDirection direction, int retries, std::string prefix)
    : m_direction(direction),
      m_prefix(std::move(prefix)),
      m_retries(retries),
      m_terminal(m_prefix.empty() && StderrIsTerminal()) {}

CliLinkHost::~CliLinkHost() {
    CloseProgress();
}

bool CliLinkHost::CancelRequested() const {
    return InterruptScope::Interrupted();
}

void CliLinkHost::SetStatusText(const std::string& text) {
    m_status = text;
    Redraw();
}

void CliLinkHost::SetProgressRange(int low, int high) {
    m_low = low;
    m_high = high;
    m_pos = low;  // a new range starts the bar again
    Redraw();
}

void CliLinkHost::StepProgress() {
    m_pos = m_pos >= m_high ? m_low : m_pos + 1;
    Redraw();
}

void CliLinkHost::CloseProgress() {
    ClearLine();
    m_drawn = false;
}

MessageAnswer CliLinkHost::ShowMessage(const std::string& text, MessageButtons buttons) {
    if (InterruptScope::Interrupted()) {
        // The user has asked to stop: no more prompts, no more retries.
        ClearLine();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
    Print(text);
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    ++m_prompts;
    return m_prompts <= m_retries ? MessageAnswer::Retry : MessageAnswer::Cancel;
}

void CliLinkHost::ExplainOpenFailure(const PortResult& result) {
    const std::string hint = PortProblemHint(result, Texts());
    if (!hint.empty()) {
        ClearLine();
        PrintLine(false, m_prefix + hint);
    }
}

const TextTranslator& CliLinkHost::Texts() const {
    return CliTexts();
}

void CliLinkHost::Print(const std::string& text) {
    ClearLine();
    PrintLine(false, m_prefix + text);
}

void CliLinkHost::EncodeEditor(DocumentData& doc) {
    EncodeImage(m_editor, doc);
}

void CliLinkHost::DecodeEditor(const DocumentData& doc) {
    m_editor.SetRows(doc.m_bSixteenChannel ? kRows16 : kRows199);
    DecodeImage(doc, m_editor);
}

void CliLinkHost::Redraw() {
    if (!m_terminal) {
        return;
    }
    constexpr int kWidth = 30;
    const int span = std::max(1, m_high - m_low);
    const int filled = (m_pos - m_low) * kWidth / span;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kWidth, '.');
    std::fprintf(stderr, "\r\033[K[%s] %3d%%  %s", bar.c_str(), (m_pos - m_low) * 100 / span,
                 m_status.c_str());
    std::fflush(stderr);
    m_drawn = true;
}

void CliLinkHost::ClearLine() {
    if (m_terminal && m_drawn) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        m_drawn = false;
    }
}

}  // namespace quorim::cli
