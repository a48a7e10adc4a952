#include "app/command_line.h"

#include <algorithm>
#include <optional>

#include "files/safe_file.h"
#include "text/ascii_text.h"

namespace quorim {

ShellCommand ParseCommandLine(const std::vector<std::string>& args) {
    ShellCommand cmd;
    const auto pdf = std::find(args.begin(), args.end(), std::string(kPrintToPdfSwitch));
    if (pdf != args.end()) {
        cmd.kind = ShellCommand::Kind::FilePrintToPdf;
        const auto rest = static_cast<std::size_t>(args.end() - pdf) - 1;
        if (rest < 2 || pdf[1].empty() || pdf[2].empty()) {
            cmd.usage =
                std::string("usage: Quorim_CH ") + std::string(kPrintToPdfSwitch) + " OUT.pdf FILE.szt";
            return cmd;
        }
        cmd.output = pdf[1];
        cmd.file = pdf[2];
        return cmd;
    }
    bool print = false;
    bool printTo = false;
    std::optional<ShellCommand::Kind> registration;
    std::vector<std::string> params;
    for (const std::string& arg : args) {
        // "-x" is always a switch; "/x" only when it names one, since an
        // absolute path starts with "/" too.
        const std::string flag = arg.size() > 1 ? FoldAscii(arg.substr(1)) : std::string();
        const bool known = flag == "p" || flag == "pt" || flag == "dde" || flag == "automation" ||
                           flag == "embedding" || flag == "unregister" || flag == "unregserver" ||
                           flag == "register" || flag == "regserver" || flag == "allusers";
        if (arg.size() > 1 && (arg[0] == '-' || (arg[0] == '/' && known))) {
            if (flag == "p") {
                print = true;
            } else if (flag == "pt") {
                printTo = true;
            } else if (flag == "register" || flag == "regserver") {
                registration = ShellCommand::Kind::AppRegister;
            } else if (flag == "unregister" || flag == "unregserver") {
                registration = ShellCommand::Kind::AppUnregister;
            } else if (flag == "allusers") {
                cmd.allUsers = true;
            }
            continue;
        }
        params.push_back(arg);
    }
    if (registration) {
        cmd.kind = *registration;
        return cmd;
    }
    if (params.empty()) {
        return cmd;
    }
    cmd.file = params[0];
    cmd.kind = ShellCommand::Kind::FileOpen;
    if (printTo) {
        cmd.kind = ShellCommand::Kind::FilePrintTo;
        if (params.size() > 1) {
            cmd.printer = params[1];
        }
    } else if (print) {
        cmd.kind = ShellCommand::Kind::FilePrint;
    }
    return cmd;
}

std::string PdfOutputRefusal(const std::string& out, const std::string& input) {
    if (SameFile(out, input)) {
        return "the output " + Quoted(out) + " is the input " + Quoted(input) +
               " itself; nothing was written";
    }
    // An empty file holds nothing to lose; what is not a regular file is the
    // save's to refuse.
    std::string head;
    if (ReadRegularFile(out, 5, head).Ok() && !head.empty() && head != "%PDF-") {
        return Quoted(out) + " is not a PDF; it was left as it is (is the order " +
               std::string(kPrintToPdfSwitch) + " OUT.pdf FILE.szt?)";
    }
    return {};
}

}  // namespace quorim
