#include <chrono>
#include <iostream>

#include "base/utf8_path.h"
#include "cli/batch.h"
#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "cli/platform.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "files/read_backup.h"
#include "files/safe_file.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/serial_port.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

struct ReadOptions {
    std::vector<std::string> ports;
    std::string model, from, out, outDir, log;
    RadioModel chosen = RadioModel::Qz16;
    int retries = 0;
    bool backup = true;
};

// False on a usage fault.
bool ParseReadOptions(const Args& args, ReadOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            o.ports.push_back(args[++i]);
        } else if (a == "--out-dir" && hasValue) {
            o.outDir = args[++i];
        } else if (a == "--model" && hasValue) {
            o.model = args[++i];
        } else if (a == "--from" && hasValue) {
            o.from = args[++i];
        } else if (a == "--out" && hasValue) {
            o.out = args[++i];
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], o.retries)) {
                return false;
            }
        } else if (a == "--log" && hasValue && o.log.empty()) {
            o.log = args[++i];
        } else if (a == "--no-backup") {
            o.backup = false;
        } else {
            return false;
        }
    }
    // One port reads into --out or --out-dir, several only into --out-dir.
    return !(o.ports.empty() || !CheckPortNames(o.ports) || o.out.empty() == o.outDir.empty() ||
             (o.ports.size() > 1 && o.outDir.empty()) ||
             (!o.model.empty() && !ParseRadioModel(o.model, o.chosen)) ||
             (!o.model.empty() && !o.from.empty()));
}

// The document the read starts from: --from, or a new one of the model.
bool StartDocument(const ReadOptions& o, OpenedDocument& start) {
    if (!o.from.empty()) {
        FileStatus status;
        return OpenDataFile(o.from, start.doc, start.editor, status);
    }
    start.doc.OnNewDocument();
    InitialUpdateEditor(start.doc, start.editor);
    if (o.chosen == RadioModel::Qz199) {
        start.editor.SetCurSel(SettingsList::Model, 1);
        ApplyModelChoice(start.editor, start.doc);
    }
    return true;
}

// Reads one radio into --out.
int ReadIntoFile(const ReadOptions& o, const OpenedDocument& start) {
    const std::string& port = o.ports.front();
    const std::string& out = o.out;
    const std::string& log = o.log;
    const auto began = std::chrono::steady_clock::now();
    RecordEntry entry;
    entry.start = std::chrono::system_clock::now();
    entry.operation = "read";
    entry.port = port;
    const auto record = [&](const std::string& result) {
        if (!log.empty()) {
            entry.result = result;
            RecordRadio(log, entry, began);
        }
    };
    CliLinkHost host(TransferDirection::Read, o.retries);
    host.Editor() = start.editor;
    DocumentData doc = start.doc;

    const auto serial = NewSystemSerialPort();
    RealClock clock;
    const TransferResult result = RunRadioTransfer(port, doc, *serial, clock, host);
    if (!result.Ok()) {
        record(result.reason == TransferReason::Cancelled
                   ? "cancelled"
                   : "failed: " + TransferMessage(result, host.Texts()));
        return kExitFailed;
    }
    // The radio is what its identification names (a blank one's byte 3 names
    // no model).
    const bool radioSixteen = result.radioSixteen.value_or(doc.m_bSixteenChannel);
    entry.sixteen = radioSixteen;
    entry.before = entry.after = RecordDigest(doc.m_image, radioSixteen);
    // Kept before the output is saved, so that the radio's memory survives a
    // save that fails. A backup that fails is only a warning.
    std::string backupPath;
    if (o.backup) {
        const ReadBackupResult kept = StoreReadBackup(doc);
        backupPath = kept.path;
        if (!kept.Ok()) {
            std::cerr << "quorim: warning: " << kept.warning << "\n";
        }
    }
    // The radio's memory exactly as read: a faithful backup.
    const FileStatus saved = SaveSztFile(out, doc.m_image);
    if (!saved.Ok()) {
        std::cerr << "quorim: " << saved.Message() << "\n";
        if (!backupPath.empty()) {
            std::cerr << "quorim: the memory as read is kept in " << Quoted(backupPath) << "\n";
        }
        record("failed: " + saved.Message());
        return kExitFailed;
    }
    record("read " + std::string(radioSixteen ? "QZ - 16" : "QZ - 199") + " into " + out);
    return kExitOk;
}

}  // namespace

int RunRead(const Args& args) {
    ReadOptions o;
    if (!ParseReadOptions(args, o)) {
        return Usage("read");
    }
    OpenedDocument start;
    if (!StartDocument(o, start)) {
        return kExitFailed;
    }
    // The record never goes into the file the read starts from, nor into the
    // image just read, whether that is there yet or not.
    if (!o.log.empty() && !o.from.empty() && NamesSameFile(o.log, o.from)) {
        return OutputIsInput(o.log, o.from);
    }
    if (!o.outDir.empty()) {
        return RunBatchRead(o.ports, o.outDir, start, o.retries, o.backup, o.log);
    }
    // A read can take ten seconds; find out before it whether its result can
    // be kept.
    if (const FileStatus target = CheckReplaceable(o.out); !target.Ok()) {
        std::cerr << "quorim: " << target.Message() << "\n";
        return kExitFailed;
    }
    if (!o.log.empty() && NamesSameFile(o.log, o.out)) {
        return OutputIsInput(o.log, o.out);
    }
    if (!OpenRecord(o.log)) {
        return kExitFailed;
    }
    return ReadIntoFile(o, start);
}

}  // namespace quorim::cli
