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

int RunRead(const Args& args) {
    std::vector<std::string> ports;
    std::string model, from, out, outDir, log;
    RadioModel chosen = RadioModel::Qz16;
    int retries = 0;
    bool backup = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            ports.push_back(args[++i]);
        } else if (a == "--out-dir" && hasValue) {
            outDir = args[++i];
        } else if (a == "--model" && hasValue) {
            model = args[++i];
        } else if (a == "--from" && hasValue) {
            from = args[++i];
        } else if (a == "--out" && hasValue) {
            out = args[++i];
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], retries)) {
                return Usage("read");
            }
        } else if (a == "--log" && hasValue && log.empty()) {
            log = args[++i];
        } else if (a == "--no-backup") {
            backup = false;
        } else {
            return Usage("read");
        }
    }
    // One port reads into --out or --out-dir, several only into --out-dir.
    if (ports.empty() || !CheckPortNames(ports) || out.empty() == outDir.empty() ||
        (ports.size() > 1 && outDir.empty()) || (!model.empty() && !ParseRadioModel(model, chosen)) ||
        (!model.empty() && !from.empty())) {
        return Usage("read");
    }
    OpenedDocument start;
    if (!from.empty()) {
        FileStatus status;
        if (!OpenDataFile(from, start.doc, start.editor, status)) {
            return kExitFailed;
        }
    } else {
        start.doc.OnNewDocument();
        InitialUpdateEditor(start.doc, start.editor);
        if (chosen == RadioModel::Qz199) {
            start.editor.SetCurSel(SettingsList::Model, 1);
            ApplyModelChoice(start.editor, start.doc);
        }
    }
    if (!outDir.empty()) {
        return RunBatchRead(ports, outDir, start, retries, backup, log);
    }
    const std::string& port = ports.front();
    // A read can take ten seconds; find out before it whether its result can
    // be kept.
    if (const FileStatus target = CheckReplaceable(out); !target.Ok()) {
        std::cerr << "quorim: " << target.Message() << "\n";
        return kExitFailed;
    }

    if (!log.empty() && (SameFile(log, out) || (!from.empty() && SameFile(log, from)))) {
        return OutputIsInput(log, SameFile(log, out) ? out : from);
    }
    if (!OpenRecord(log)) {
        return kExitFailed;
    }

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
    CliLinkHost host(TransferDirection::Read, retries);
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
    entry.sixteen = doc.m_bSixteenChannel;
    entry.before = entry.after = RecordDigest(doc.m_image, doc.m_bSixteenChannel);
    // Kept before the output is saved, so that the radio's memory survives a
    // save that fails. A backup that fails is only a warning.
    std::string backupPath;
    if (backup) {
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
    record("read " + std::string(doc.m_bSixteenChannel ? "QZ - 16" : "QZ - 199") + " into " + out);
    return kExitOk;
}

}  // namespace quorim::cli
