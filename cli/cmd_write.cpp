#include <iostream>

#include "cli/batch.h"
#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "editor/document_file.h"
#include "files/safe_file.h"
#include "text/ascii_text.h"

namespace quorim::cli {

int RunWrite(const Args& args) {
    std::vector<std::string> ports;
    std::string file;
    WriteOptions options;
    bool repeat = false;
    bool check = false;
    std::string planName;
    int snapshot = -1;  // unset: on for several ports and --repeat
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            ports.push_back(args[++i]);
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], options.retries)) {
                return Usage("write");
            }
        } else if (a == "--verify") {
            options.verify = true;
        } else if (a == "--repeat") {
            repeat = true;
        } else if (a == "--check") {
            check = true;
        } else if (a == "--plan" && hasValue && planName.empty()) {
            planName = args[++i];
            check = true;  // a plan is only there to be checked against
        } else if ((a == "--snapshot" || a == "--no-snapshot") && snapshot < 0) {
            snapshot = a == "--snapshot" ? 1 : 0;
        } else if (a == "--log" && hasValue && options.log.empty()) {
            options.log = args[++i];
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            return Usage("write");
        }
    }
    if (ports.empty() || file.empty() || !CheckPortNames(ports)) {
        return Usage("write");
    }
    if (!options.log.empty() && NamesSameFile(options.log, file)) {
        return OutputIsInput(options.log, file);
    }
    // A plain write sends its bytes and nothing else; where the program goes
    // beyond that (several ports, a production line) it keeps each radio's
    // memory first.
    options.snapshot = snapshot < 0 ? ports.size() > 1 || repeat : snapshot == 1;
    ChannelPlan plan;
    if (!planName.empty() && !LoadNamedPlan(planName, plan)) {
        std::cerr << "quorim: nothing was written to any radio\n";
        return kExitFailed;
    }
    // As the program does when the file is opened and written without edits:
    // decode into the editor, then each transfer encodes and sends.
    OpenedDocument source;
    const FileStatus status = OpenDocument(file, source.doc, source.editor);
    if (!status.Ok()) {
        std::cerr << "quorim: " << status.Message() << "\n";
        return kExitFailed;
    }
    // Only a memory image goes to a radio: nothing is sent.
    if (status.doubt != ImageDoubt::None) {
        std::cerr << "quorim: " << status.DoubtMessage() << "; nothing was written to the radio\n";
        return kExitFailed;
    }
    // --check: nothing goes to any radio while the table has findings, and
    // with --plan while it does not match the plan; every port of a batch
    // and every radio of a line gets this one file, so all are refused here,
    // before a port is opened.
    if (check && PrintFindings(source.editor, planName.empty() ? nullptr : &plan) != kExitOk) {
        std::cerr << "quorim: nothing written: the channels have findings (see quorim check"
                  << (planName.empty() ? std::string() : " --plan " + Quoted(planName)) << ")\n";
        return kExitFailed;
    }
    if (ports.size() > 1 || repeat) {
        return RunBatchWrite(ports, source, options, repeat);
    }
    if (!OpenRecord(options.log)) {
        return kExitFailed;
    }
    const InterruptScope interrupts;  // a Ctrl+C between the write and its verify is not lost
    const RadioReport r = WriteToRadio(ports.front(), {}, source, options);
    return r.result == RadioResult::Written || r.result == RadioResult::Verified ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
