#include "cli/batch.h"

#include <time.h>

#include <algorithm>
#include <filesystem>
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
#include "files/write_snapshot.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/port_names.h"
#include "link/serial_discovery.h"
#include "link/serial_port.h"
#include "link/snapshot_transfer.h"
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
// come) the host is the command line's own. A probe is cancelled as soon as
// the radio has answered, after at most its first block; every read but the
// snapshot before a write is a probe. A refusal of the other model is told
// when the transfer has ended (Tell).
class WaitingHost : public CliLinkHost {
public:
    WaitingHost(TransferDirection direction, int retries, std::string prefix, bool waiting)
        : CliLinkHost(direction, retries, std::move(prefix)),
          m_waiting(waiting),
          m_probe(direction == TransferDirection::Read) {}

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
        return m_probe ? m_answered || m_attempts >= 1 : !m_answered && m_attempts >= 1;
    }
    MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
        if (m_waiting && (!m_answered || m_probe)) {
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
        m_deviceMissing = result.error == PortError::NotFound;
        if (!m_waiting || (m_answered && !m_probe)) {
            CliLinkHost::ExplainOpenFailure(result);
        }
    }
    // A snapshot put back goes to the radio as it stands.
    void EncodeEditor(DocumentData& doc) override {
        if (!m_asStored) {
            CliLinkHost::EncodeEditor(doc);
        }
    }

    // A snapshot before a write: the whole memory is read.
    void ReadWholeRadio() { m_probe = false; }
    void SendAsStored() { m_asStored = true; }

    bool Answered() const { return m_answered; }
    bool CouldNotOpen() const { return m_openFailed; }
    // No device at the port's name: the cable (or the link) is gone.
    bool DeviceMissing() const { return m_deviceMissing; }

private:
    bool m_waiting;
    bool m_probe;
    bool m_asStored = false;
    bool m_answered = false;
    bool m_openFailed = false;
    bool m_deviceMissing = false;
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
// opened to ask (another program holds it). A radio that no longer answers
// has gone, and so has one whose device is no longer there (the cable, or
// the adapter with it, was unplugged to be plugged into the next radio).
bool RadioMayBeThere(const std::string& port, const OpenedDocument& source) {
    WaitingHost host(TransferDirection::Read, 0, port, true);
    DocumentData doc = source.doc;  // wakes the radio with the write's variant
    InitialUpdateEditor(doc, host.Editor());
    const auto serial = NewSystemSerialPort();
    RealClock clock;
    RunRadioTransfer(port, doc, *serial, clock, host);
    return host.Answered() || (host.CouldNotOpen() && !host.DeviceMissing());
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
    const std::string prefix = EscapeControls(port) + ": ";
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

namespace {

// Before a write: reads the radio's whole memory and keeps it beside the read
// backups. False, with `report` telling why, when the write must not begin
// (the radio did not answer while waited for, the read failed or was
// cancelled, the radio is of the other model, the snapshot could not be kept).
bool TakeSnapshot(const std::string& port, const std::string& prefix, const WriteOptions& options,
                  bool waitForRadio, RadioReport& report) {
    if (!waitForRadio) {
        PrintLine(true, prefix + "Reading the radio's memory before the write");
    }
    WaitingHost host(TransferDirection::Read, options.retries, prefix, waitForRadio);
    host.ReadWholeRadio();
    const auto serial = NewSystemSerialPort();
    RealClock clock;
    const BeforeWriteSnapshot snap =
        TakeSnapshotBeforeWrite(port, report.sixteen, ReadBackupFolder(), *serial, clock, host);
    if (waitForRadio && !host.Answered()) {
        report.result = RadioResult::Absent;
        return false;
    }
    switch (snap.read.reason) {
        case TransferReason::Ok:
            break;
        case TransferReason::OtherModel:
            // The write itself would stop here; no snapshot is kept for it.
            report.result = RadioResult::Refused;
            report.radioSixteen = !report.sixteen;
            report.message = WrongRadioModelMessage(host.Texts(), !report.sixteen, report.sixteen);
            PrintLine(false, prefix + report.message);
            return false;
        case TransferReason::Cancelled:
            report.result = RadioResult::Cancelled;
            return false;
        default:
            report.result = RadioResult::Failed;
            report.message = SnapshotReadFailureText(TransferMessage(snap.read, host.Texts()));
            PrintLine(false, prefix + report.message);
            return false;
    }
    report.radioSixteen = snap.memory.m_bSixteenChannel;
    report.before = RecordDigest(snap.memory.m_image, snap.memory.m_bSixteenChannel);
    report.after = report.before;  // until a block is written
    if (!snap.kept.Ok()) {
        report.result = RadioResult::Failed;
        report.message = SnapshotFailureText(snap.kept.reason);
        PrintLine(false, prefix + report.message);
        return false;
    }
    PrintLine(true, prefix + "The radio's memory before the write is kept in " + Quoted(snap.kept.path));
    if (!snap.kept.warning.empty()) {
        PrintLine(false, prefix + "quorim: warning: " + snap.kept.warning);
    }
    return true;
}

RadioReport WriteOnce(const std::string& port, const std::string& prefix, const OpenedDocument& source,
                      const WriteOptions& options, bool waitForRadio) {
    RadioReport report;
    report.sixteen = source.doc.m_bSixteenChannel;
    if (options.snapshot) {
        if (!TakeSnapshot(port, prefix, options, waitForRadio, report)) {
            return report;
        }
        waitForRadio = false;  // the radio has answered
    }
    DocumentData doc = source.doc;
    {
        WaitingHost host(TransferDirection::Write, options.retries, prefix, waitForRadio);
        host.Editor() = source.editor;
        if (source.asStored) {
            host.SendAsStored();
        }
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
            report.radioSixteen = result.radioSixteen;
            return report;
        }
        if (waitForRadio && !host.Answered()) {
            report.result = RadioResult::Absent;
            report.message.clear();
            return report;
        }
        report.after.clear();  // blocks may have been written
        if (!result.Ok()) {
            report.result =
                result.reason == TransferReason::Cancelled ? RadioResult::Cancelled : RadioResult::Failed;
            return report;
        }
        report.radioSixteen = report.sixteen;
        report.after = RecordDigest(doc.m_image, report.sixteen);
    }
    if (!options.verify) {
        report.result = RadioResult::Written;
        return report;
    }
    // Read the radio back through a transfer of its own, starting from the
    // document as written so that it wakes the radio with the same variant.
    report.after.clear();
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
    report.after = RecordDigest(back.m_image, report.sixteen);
    const VerifyReport verify = CompareWrittenRange(doc.m_image, back.m_image, report.sixteen);
    for (const std::string& line : verify.Lines()) {
        PrintLine(verify.Ok(), prefix + line);
    }
    report.result = verify.Ok() ? RadioResult::Verified : RadioResult::Failed;
    report.message = verify.Lines().back();
    return report;
}

// The adapter's USB serial number behind `port`, where udev knows it.
std::string UsbSerialOf(const std::string& port) {
    const std::string path = ResolvePortName(port);
    const std::vector<SerialDevice> devices = UdevSerialDevices().Devices();
    const SerialDevice* device = FindDevice(devices, path);
    std::error_code ec;
    if (device == nullptr) {
        const std::filesystem::path real = std::filesystem::canonical(path, ec);
        device = ec ? nullptr : FindDevice(devices, real.string());
    }
    return device != nullptr ? device->serial : std::string();
}

}  // namespace

RadioReport WriteToRadio(const std::string& port, const std::string& prefix, const OpenedDocument& source,
                         const WriteOptions& options, bool waitForRadio) {
    const auto began = std::chrono::steady_clock::now();
    RecordEntry entry;
    entry.start = std::chrono::system_clock::now();
    const RadioReport report = WriteOnce(port, prefix, source, options, waitForRadio);
    if (!options.log.empty() && report.result != RadioResult::Absent) {
        entry.operation = options.operation;
        entry.port = port;
        entry.sixteen = report.radioSixteen;
        entry.before = report.before;
        entry.after = report.after;
        entry.verified = report.result == RadioResult::Verified;
        entry.result = Describe(report);
        RecordRadio(options.log, std::move(entry), began);
    }
    return report;
}

bool OpenRecord(const std::string& log) {
    if (log.empty()) {
        return true;
    }
    const std::string failure = AppendRecordLine(log, {});
    if (!failure.empty()) {
        std::cerr << "quorim: " << failure << "\n";
    }
    return failure.empty();
}

void RecordRadio(const std::string& log, RecordEntry entry, std::chrono::steady_clock::time_point began) {
    entry.usbSerial = UsbSerialOf(entry.port);
    entry.durationMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began)
            .count();
    if (const std::string failure = AppendRecordLine(log, RecordLine(entry)); !failure.empty()) {
        PrintLine(false, "quorim: warning: " + failure);
    }
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
                outcomes[i] = {EscapeControls(ports[i]) +
                               ": failed: the port's thread could not be started (" + e.what() + ")"};
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
    if (!OpenRecord(options.log)) {
        return kExitFailed;
    }
    // One for the whole run: a Ctrl+C between two radios is not lost.
    const InterruptScope interrupts;
    return RunOnEachPort(ports, [&](const std::string& port) -> PortOutcome {
        if (repeat) {
            const Tally t = RepeatOnPort(port, source, options);
            const std::string counts = t.Counts();
            return {EscapeControls(port) + ": stopped after " + std::to_string(t.radios) +
                        (t.radios == 1 ? " radio" : " radios") + (counts.empty() ? "" : ": " + counts),
                    t.AllGood()};
        } else {
            const std::string prefix = EscapeControls(port) + ": ";
            const RadioReport r = WriteToRadio(port, prefix, source, options);
            return {prefix + Describe(r), Succeeded(r)};
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
    const time_t t = static_cast<time_t>(unixSeconds);
    const tm utc = UtcTimeOf(t);
    char stamp[24];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%SZ", &utc);
    return PortInFileName(port) + "_" + stamp + ".szt";
}

int RunBatchRead(const std::vector<std::string>& ports, const std::string& outDir,
                 const OpenedDocument& start, int retries, bool backup, const std::string& log) {
    // A read can take ten seconds; find out before it whether its result can
    // be kept.
    if (!FolderTakesFiles(outDir)) {
        std::cerr << "quorim: cannot save into " << Quoted(outDir) << ": it is not a writable folder\n";
        return kExitFailed;
    }
    if (!OpenRecord(log)) {
        return kExitFailed;
    }
    const InterruptScope interrupts;
    std::mutex backupMutex;  // backups of reads in the same millisecond are numbered one after the other
    return RunOnEachPort(ports, [&](const std::string& port) -> PortOutcome {
        const auto began = std::chrono::steady_clock::now();
        RecordEntry entry;
        entry.start = std::chrono::system_clock::now();
        entry.operation = "read";
        entry.port = port;
        const std::string prefix = EscapeControls(port) + ": ";
        DocumentData doc = start.doc;
        const auto read = [&]() -> PortOutcome {
            CliLinkHost host(TransferDirection::Read, retries, prefix);
            host.Editor() = start.editor;
            const auto serial = NewSystemSerialPort();
            RealClock clock;
            const TransferResult result = RunRadioTransfer(port, doc, *serial, clock, host);
            if (!result.Ok()) {
                return {result.reason == TransferReason::Cancelled
                            ? std::string("cancelled")
                            : "failed: " + TransferMessage(result, host.Texts())};
            }
            const bool radioSixteen = result.radioSixteen.value_or(doc.m_bSixteenChannel);
            entry.sixteen = radioSixteen;
            entry.before = entry.after = RecordDigest(doc.m_image, radioSixteen);
            std::string backupPath;
            if (backup) {
                const std::lock_guard lock(backupMutex);
                const ReadBackupResult kept = StoreReadBackup(doc);
                backupPath = kept.path;
                if (!kept.Ok()) {
                    PrintLine(false, prefix + "quorim: warning: " + kept.warning);
                }
            }
            // Taken exclusively: two ports whose names map to one file name,
            // or another program in the same second, get the next counter.
            std::string name = ReadFileName(port, time(nullptr));
            name.resize(name.size() - 4);  // ".szt"
            std::string path;
            const FileStatus saved =
                CreateNewFile(outDir, name, ".szt", doc.m_image.data(), doc.m_image.size(), path);
            if (!saved.Ok()) {
                return {"failed: " + saved.Message() +
                        (backupPath.empty() ? ""
                                            : " (the memory as read is kept in " + Quoted(backupPath) + ")")};
            }
            return {"read " + std::string(ModelName(radioSixteen)) + " into " + EscapeControls(path), true};
        };
        PortOutcome outcome = read();
        if (!log.empty()) {
            entry.result = outcome.summary;
            RecordRadio(log, std::move(entry), began);
        }
        outcome.summary.insert(0, prefix);
        return outcome;
    });
}

}  // namespace quorim::cli
