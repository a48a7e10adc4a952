#include <iostream>

#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "editor/document_file.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"

namespace quorim::cli {

int RunWrite(const Args& args) {
    std::string port, file;
    int retries = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            port = args[++i];
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], retries)) {
                return Usage("write");
            }
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            return Usage("write");
        }
    }
    if (port.empty() || file.empty()) {
        return Usage("write");
    }
    // As the program does when the file is opened and written without edits:
    // decode into the editor, then the transfer encodes and sends.
    CliLinkHost host(TransferDirection::Write, retries);
    DocumentData doc;
    const FileStatus status = OpenDocument(file, doc, host.Editor());
    if (!status.Ok()) {
        std::cerr << "quorim: " << status.Message() << "\n";
        return kExitFailed;
    }
    PosixSerialPort serial;
    RealClock clock;
    return RunRadioTransfer(port, doc, serial, clock, host) == TransferOutcome::Succeeded ? kExitOk
                                                                                          : kExitFailed;
}

}  // namespace quorim::cli
