#include <iostream>

#include "base/utf8_path.h"
#include "cli/batch.h"
#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "editor/codec.h"
#include "files/read_backup.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "files/write_snapshot.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

// Before the first block: which snapshot goes to which port.
// "Restoring the snapshot taken 2026-12-07 07:53:12 UTC on COM1 (QZ - 16),
// "PATH", to COM1"; a file of another name: "Restoring "PATH" (QZ - 16) to COM1".
std::string RestoringText(const std::string& file, bool sixteen, const std::string& port) {
    const char* model = sixteen ? "QZ - 16" : "QZ - 199";
    Snapshot named;
    if (!ParseSnapshotName(Utf8Text(Utf8Path(file).filename()), named)) {
        return "Restoring " + Quoted(file) + " (" + model + ") to " + EscapeControls(port);
    }
    return "Restoring the snapshot taken " + SnapshotTimeText(named) + " on " + EscapeControls(named.port) +
           (named.exactPort ? "" : "?") + " (" + model + "), " + Quoted(file) + ", to " +
           EscapeControls(port);
}

}  // namespace

// Puts a snapshot taken before a write back into the radio, byte for byte:
// the one named, or the newest taken on the port. The write itself refuses a
// radio of the other model before its first block.
int RunRestore(const Args& args) {
    std::string port, file;
    WriteOptions options;
    options.operation = "restore";
    bool list = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue && port.empty()) {
            port = args[++i];
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], options.retries)) {
                return Usage("restore");
            }
        } else if (a == "--verify") {
            options.verify = true;
        } else if (a == "--snapshot") {
            options.snapshot = true;
        } else if (a == "--list") {
            list = true;
        } else if (a == "--log" && hasValue && options.log.empty()) {
            options.log = args[++i];
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            return Usage("restore");
        }
    }
    if ((port.empty() && !list) || (list && !file.empty())) {
        return Usage("restore");
    }
    const std::string folder = ReadBackupFolder();
    const std::vector<Snapshot> snapshots = ListSnapshots(folder);
    if (list) {
        // Newest first: "2026-12-07 07:53:12 UTC  COM1  QZ - 16  PATH"; a
        // port whose name was not kept whole shows as "dev_ttyUSB0?".
        std::string text;
        for (auto it = snapshots.rbegin(); it != snapshots.rend(); ++it) {
            if (port.empty() || (it->exactPort && it->port == port)) {
                text += SnapshotTimeText(*it) + "  " + EscapeControls(it->port) + (it->exactPort ? "" : "?") +
                        "  " + SnapshotModelText(*it) + "  " + EscapeControls(it->path) + "\n";
            }
        }
        return WriteOutput(text) ? kExitOk : kExitFailed;
    }
    if (file.empty()) {
        const Snapshot* newest = NewestSnapshotOn(snapshots, port);
        if (newest == nullptr) {
            std::cerr << "quorim: no snapshot was taken on " << Quoted(port) << " (in " << Quoted(folder)
                      << ")\n";
            return kExitFailed;
        }
        file = newest->path;
    }
    if (!options.log.empty() && NamesSameFile(options.log, file)) {
        return OutputIsInput(options.log, file);
    }
    OpenedDocument source;
    source.asStored = true;
    if (FileStatus loaded; !LoadSnapshot(file, source.doc, loaded)) {
        if (!loaded.Ok()) {
            std::cerr << "quorim: " << loaded.Message() << "\n";
        } else {
            std::cerr << "quorim: " << Quoted(file)
                      << " is not a radio's memory (byte 3 names no model); nothing was written\n";
        }
        return kExitFailed;
    }
    InitialUpdateEditor(source.doc, source.editor);
    std::cout << RestoringText(file, source.doc.m_bSixteenChannel, port) << std::endl;
    if (!OpenRecord(options.log)) {
        return kExitFailed;
    }
    const InterruptScope interrupts;
    const RadioReport r = WriteToRadio(port, {}, source, options);
    return r.result == RadioResult::Written || r.result == RadioResult::Verified ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
