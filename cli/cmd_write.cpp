#include <iostream>

#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "link/clock.h"
#include "link/clone_engine.h"
#include "link/serial_port.h"
#include "link/write_verify.h"

namespace quorim::cli {

namespace {

// Reads the radio back through a transfer of its own and compares the range
// the write sent. The read starts from the document as written, so it wakes
// the radio with the same variant.
int VerifyWrite(const std::string& port, const DocumentData& written, bool sixteenLayout, int retries) {
    CliLinkHost host(TransferDirection::Read, retries);
    DocumentData back = written;
    InitialUpdateEditor(back, host.Editor());
    const auto serial = NewSystemSerialPort();
    RealClock clock;
    if (RunRadioTransfer(port, back, *serial, clock, host) != TransferOutcome::Succeeded) {
        std::cerr << kMsgVerifyReadFailed << "\n";
        return kExitFailed;
    }
    const VerifyReport report = CompareWrittenRange(written.m_image, back.m_image, sixteenLayout);
    for (const std::string& line : report.Lines()) {
        (report.Ok() ? std::cout : std::cerr) << line << "\n";
    }
    return report.Ok() ? kExitOk : kExitFailed;
}

}  // namespace

int RunWrite(const Args& args) {
    std::string port, file;
    int retries = 0;
    bool verify = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--port" && hasValue) {
            port = args[++i];
        } else if (a == "--retry" && hasValue) {
            if (!ParseCount(args[++i], retries)) {
                return Usage("write");
            }
        } else if (a == "--verify") {
            verify = true;
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
    DocumentData doc;
    bool sixteenLayout = true;
    {
        CliLinkHost host(TransferDirection::Write, retries);
        const FileStatus status = OpenDocument(file, doc, host.Editor());
        if (!status.Ok()) {
            std::cerr << "quorim: " << status.Message() << "\n";
            return kExitFailed;
        }
        const auto serial = NewSystemSerialPort();
        RealClock clock;
        if (RunRadioTransfer(port, doc, *serial, clock, host) != TransferOutcome::Succeeded) {
            return kExitFailed;
        }
        sixteenLayout = host.GridRows() < 18;
    }
    return verify ? VerifyWrite(port, doc, sixteenLayout, retries) : kExitOk;
}

}  // namespace quorim::cli
