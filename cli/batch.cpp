#include "cli/batch.h"

#include <time.h>

#include <algorithm>
#include <iostream>
#include <mutex>
#include <system_error>
#include <thread>

#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "cli/platform.h"
#include "editor/codec.h"
#include "files/read_backup.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "link/write_verify.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

// Between two looks at a port while waiting for a radio to come or to go.
constexpr int kLookIntervalMs = 500;

const char* ModelName(bool sixteen) {
    return sixteen ? "QZ - 16" : "QZ - 199";
}

// A host that can wait for a radio: until one answers, nothing is printed,
// a Retry/Cancel prompt is answered Cancel and the transfer is cancelled
// after one wake-up attempt, so that each look opens the port afresh. Once
// the radio has answered (a write's blocks begin, a read's identification has
// come) the host is the command line's own. A probe (a read) is cancelled as
// soon as the radio has answered, after at most its first block. A refusal of
// the other model is told when the transfer has ended (Tell).
class WaitingHost : public CliLinkHost {
public:
    WaitingHost(TransferDirection direction, int retries, std::string prefix, bool waiting)
        : CliLinkHost(direction, retries, std::move(prefix)), m_waiting(waiting) {}

    void SetStatusText(const std::string& text) override {
        if (text == kStatusWaiting) {
            ++m_attempts;
        }
        CliLinkHost::SetStatusText(text);
    }
    void SetProgressRange(int low, int high) override {
        m_answered = true;
        CliLinkHost::SetProgressRange(low, high);
    }
    bool CancelRequested() const override {
        if (CliLinkHost::CancelRequested()) {
            return true;
        }
        if (!m_waiting) {
            return false;
        }
        return Direction() == TransferDirection::Read ? m_answered || m_attempts >= 1
                                                      : !m_answered && m_attempts >= 1;
    }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        if (m_waiting && (!m_answered || Direction() == TransferDirection::Read)) {
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        }
        return CliLinkHost::ShowMessage(text, buttons);
    }
    // A message kept back while waiting, told now as the command line tells.
    void Tell(const std::string& text) { CliLinkHost::ShowMessage(text, MessageButtons::Ok); }
    // Quiet too while no radio is there: a port that is not there yet is
    // what waiting means.
    void ExplainOpenFailure(const PortResult& result) override {
        m_openFailed = true;
        if (!m_waiting || (m_answered && Direction() == TransferDirection::Write)) {
            CliLinkHost::ExplainOpenFailure(result);
        }
    }

    bool Answered() const { return m_answered; }
    bool OpenFailed() const { return m_openFailed; }

private:
    bool m_waiting;
    bool m_answered = false;
    bool m_openFailed = false;
    int m_attempts = 0;
};

// Sleeps in short steps so that Ctrl+C is heard at once.
void Pause(double ms) {
    RealClock clock;
    const double end = clock.NowMs() + ms;
    for (double now = clock.NowMs(); now < end && !InterruptScope::Interrupted(); now = clock.NowMs()) {
        clock.SleepMs(static_cast<int>(std::min(50.0, end - now)) + 1);
    }
}

// True while the radio may still be on the port: it answers (one wake-up
// attempt, then at most one block read, nothing said), or the port cannot be
// opened to ask (another program holds it, it is away for a moment). Only a
// radio that no longer answers has gone.
bool RadioMayBeThere(const std::string& port, const OpenedDocument& source) {
    WaitingHost host(TransferDirection::Read, 0, port, true);
    DocumentData doc = source.doc;  // wakes the radio with the write's variant
    InitialUpdateEditor(doc, host.Editor());
    const auto serial = NewSystemSerialPort();
    RealClock clock;
    RunRadioTransfer(port, doc, *serial, clock, host);
    return host.Answered() || host.OpenFailed();
}

std::string Describe(const RadioReport& r) {
    switch (r.result) {
        case RadioResult::Written:
            return "written";
        case RadioResult::Verified:
            return "verified";
        case RadioResult::Refused:
            return "refused: " + r.message;
        case RadioResult::Cancelled:
            return "cancelled";
        case RadioResult::Absent:
            return "no radio";
        case RadioResult::Failed:
            break;
    }
    return r.message.empty() ? "failed" : "failed: " + r.message;
}

bool Succeeded(const RadioReport& r) {
    return r.result == RadioResult::Written || r.result == RadioResult::Verified;
}

std::string LocalClock() {
    const time_t now = time(nullptr);
    const tm local = LocalTimeOf(now);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

// Radios handled on one port in production-line mode.
struct Tally {
    int radios = 0;
    int written = 0;
    int verified = 0;
    int failed = 0;  // cancelled ones included
    int refused = 0;

    void Add(RadioResult r) {
        ++radios;
        (r == RadioResult::Written    ? written
         : r == RadioResult::Verified ? verified
         : r == RadioResult::Refused  ? refused
                                      : failed)++;
    }
    bool AllGood() const { return failed == 0 && refused == 0; }
    std::string Counts() const {
        std::string text;
        const std::pair<int, const char*> parts[] = {
            {verified, "verified"}, {written, "written"}, {failed, "failed"}, {refused, "refused"}};
        for (const auto& [n, what] : parts) {
            if (n > 0) {
                text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + what;
            }
        }
        return text;
    }
};

// Production-line mode on one port: write each radio that answers, then wait
// for it to leave before the next one is woken, so that a radio still on the
// cable is never written twice.
Tally RepeatOnPort(const std::string& port, const OpenedDocument& source, const WriteOptions& options) {
    const std::string prefix = port + ": ";
    Tally tally;
    PrintLine(true, prefix + "waiting for a radio");
    while (!InterruptScope::Interrupted()) {
        RealClock clock;
        const double start = clock.NowMs();
        const RadioReport r = WriteToRadio(port, prefix, source, options, true);
        if (r.result == RadioResult::Absent) {
            Pause(kLookIntervalMs - (clock.NowMs() - start));
            continue;
        }
        tally.Add(r.result);
        const bool radioSixteen = r.result == RadioResult::Refused ? !r.sixteen : r.sixteen;
        PrintLine(true, prefix + "radio " + std::to_string(tally.radios) + " at " + LocalClock() + ": " +
                            ModelName(radioSixteen) + " " + Describe(r) + " (so far: " + tally.Counts() +
                            ")");
        while (!InterruptScope::Interrupted() && RadioMayBeThere(port, source)) {
            Pause(kLookIntervalMs);
        }
        if (!InterruptScope::Interrupted()) {
            PrintLine(true, prefix + "waiting for the next radio");
        }
    }
    return tally;
}

}  // namespace

RadioReport WriteToRadio(const std::string& port, const std::string& prefix, const OpenedDocument& source,
                         const WriteOptions& options, bool waitForRadio) {
    RadioReport report;
    DocumentData doc = source.doc;
    {
        WaitingHost host(TransferDirection::Write, options.retries, prefix, waitForRadio);
        host.Editor() = source.editor;
        const auto serial = NewSystemSerialPort();
        RealClock clock;
        const TransferResult result = RunRadioTransfer(port, doc, *serial, clock, host);
        report.sixteen = result.documentSixteen;
        report.message = TransferMessage(result, host.Texts());
        if (result.reason == TransferReason::OtherModel) {
            if (waitForRadio) {
                host.Tell(report.message);
            }
            report.result = RadioResult::Refused;
            return report;
        }
        if (waitForRadio && !host.Answered()) {
            report.result = RadioResult::Absent;
            report.message.clear();
            return report;
        }
        if (!result.Ok()) {
            report.result =
                result.reason == TransferReason::Cancelled ? RadioResult::Cancelled : RadioResult::Failed;
            return report;
        }
    }
    if (!options.verify) {
        report.result = RadioResult::Written;
        return report;
    }
    // Read the radio back through a transfer of its own, starting from the
    // document as written so that it wakes the radio with the same variant.
    CliLinkHost host(TransferDirection::Read, options.retries, prefix);
    DocumentData back = doc;
    InitialUpdateEditor(back, host.Editor());
    const auto serial = NewSystemSerialPort();
    RealClock clock;
    if (!RunRadioTransfer(port, back, *serial, clock, host).Ok()) {
        PrintLine(false, prefix + kMsgVerifyReadFailed);
        report.result = InterruptScope::Interrupted() ? RadioResult::Cancelled : RadioResult::Failed;
        report.message = kMsgVerifyReadFailed;
        return report;
    }
    const VerifyReport verify = CompareWrittenRange(doc.m_image, back.m_image, report.sixteen);
    for (const std::string& line : verify.Lines()) {
        PrintLine(verify.Ok(), prefix + line);
    }
    report.result = verify.Ok() ? RadioResult::Verified : RadioResult::Failed;
    report.message = verify.Lines().back();
    return report;
}

namespace {

// One port's line of the summary, and whether it succeeded.
struct PortOutcome {
    std::string summary;
    bool ok = false;
};

// Runs `work` for every port at once, one thread each, then prints each
// port's summary line in the order the ports were given.
template <typename Work>
int RunOnEachPort(const std::vector<std::string>& ports, Work work) {
    std::vector<PortOutcome> outcomes(ports.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            // A thread the system will not give (too many, no memory for its
            // stack) fails its port; the others run on.
            try {
                threads.emplace_back([&, i] { outcomes[i] = work(ports[i]); });
            } catch (const std::system_error& e) {
                outcomes[i] = {ports[i] + ": failed: the port's thread could not be started (" + e.what() +
                               ")"};
            }
        }
    }
    bool allOk = true;
    for (const PortOutcome& o : outcomes) {
        PrintLine(true, o.summary);
        allOk = allOk && o.ok;
    }
    return allOk ? kExitOk : kExitFailed;
}

}  // namespace

int RunBatchWrite(const std::vector<std::string>& ports, const OpenedDocument& source,
                  const WriteOptions& options, bool repeat) {
    // One for the whole run: a Ctrl+C between two radios is not lost.
    const InterruptScope interrupts;
    return RunOnEachPort(ports, [&](const std::string& port) -> PortOutcome {
        if (repeat) {
            const Tally t = RepeatOnPort(port, source, options);
            const std::string counts = t.Counts();
            return {port + ": stopped after " + std::to_string(t.radios) +
                        (t.radios == 1 ? " radio" : " radios") + (counts.empty() ? "" : ": " + counts),
                    t.AllGood()};
        } else {
            const RadioReport r = WriteToRadio(port, port + ": ", source, options);
            return {port + ": " + Describe(r), Succeeded(r)};
        }
    });
}

bool CheckPortNames(const std::vector<std::string>& ports) {
    if (std::find(ports.begin(), ports.end(), std::string()) != ports.end()) {
        std::cerr << "quorim: --port needs a port name\n";
        return false;
    }
    if (const auto same = FindSamePort(ports, SystemPortNameSources())) {
        std::cerr << "quorim: " << SamePortText(ports, *same) << "; give each port once\n";
        return false;
    }
    return true;
}

std::string ReadFileName(const std::string& port, long long unixSeconds) {
    std::string name = port;
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\\', '_');
    name.erase(0, name.find_first_not_of('_'));
    const time_t t = static_cast<time_t>(unixSeconds);
    const tm utc = UtcTimeOf(t);
    char stamp[24];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%SZ", &utc);
    return (name.empty() ? "port" : name) + "_" + stamp + ".szt";
}

int RunBatchRead(const std::vector<std::string>& ports, const std::string& outDir,
                 const OpenedDocument& start, int retries, bool backup) {
    // A read can take ten seconds; find out before it whether its result can
    // be kept.
    if (!FolderTakesFiles(outDir)) {
        std::cerr << "quorim: cannot save into " << Quoted(outDir) << ": it is not a writable folder\n";
        return kExitFailed;
    }
    const InterruptScope interrupts;
    std::mutex backupMutex;  // backups of reads in the same millisecond are numbered one after the other
    return RunOnEachPort(ports, [&](const std::string& port) -> PortOutcome {
        const std::string prefix = port + ": ";
        CliLinkHost host(TransferDirection::Read, retries, prefix);
        host.Editor() = start.editor;
        DocumentData doc = start.doc;
        const auto serial = NewSystemSerialPort();
        RealClock clock;
        const TransferResult result = RunRadioTransfer(port, doc, *serial, clock, host);
        if (!result.Ok()) {
            return {prefix + (result.reason == TransferReason::Cancelled
                                  ? std::string("cancelled")
                                  : "failed: " + TransferMessage(result, host.Texts()))};
        }
        std::string backupPath;
        if (backup) {
            const std::lock_guard lock(backupMutex);
            const ReadBackupResult kept = StoreReadBackup(doc);
            backupPath = kept.path;
            if (!kept.Ok()) {
                PrintLine(false, prefix + "quorim: warning: " + kept.warning);
            }
        }
        // Taken exclusively: two ports whose names map to one file name, or
        // another program in the same second, get the next counter.
        std::string name = ReadFileName(port, time(nullptr));
        name.resize(name.size() - 4);  // ".szt"
        std::string path;
        const FileStatus saved =
            CreateNewFile(outDir, name, ".szt", doc.m_image.data(), doc.m_image.size(), path);
        if (!saved.Ok()) {
            return {
                prefix + "failed: " + saved.Message() +
                (backupPath.empty() ? "" : " (the memory as read is kept in " + Quoted(backupPath) + ")")};
        }
        return {prefix + "read " + ModelName(doc.m_bSixteenChannel) + " into " + EscapeControls(path), true};
    });
}

}  // namespace quorim::cli
