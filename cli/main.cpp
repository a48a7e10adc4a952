#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>

#include "base/program_info.h"
#include "cli/commands.h"
#include "cli/platform.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

const std::map<std::string, std::string>& UsageLines() {
    static const std::map<std::string, std::string> lines = {
        {"check", "quorim check [--plan NAME] FILE.szt"},
        {"diff", "quorim diff A.szt B.szt"},
        {"doctor", "quorim doctor [--port PORT] [--json] [--report FILE]"},
        {"edit",
         "quorim edit FILE.szt --channels LIST KEY=VALUE... [--out FILE.szt]\n"
         "             (LIST: 1-16, 3,5,9-12 or all; KEY: rx, tx, rx_tone, tx_tone, inhibit)"},
        {"export", "quorim export FILE.szt [--out FILE.csv] [--format quorim|exchange]"},
        {"import",
         "quorim import FILE.csv [--into FILE.szt | --model 16|199] [--format quorim|exchange]\n"
         "             [--drop-channels] --out FILE.szt"},
        {"new", "quorim new [--model 16|199] FILE"},
        {"plan",
         "quorim plan list\n"
         "       quorim plan show NAME [--json]\n"
         "       quorim plan apply FILE.szt NAME [--channels LIST] [--from N] [--tone TONE] --out FILE.szt\n"
         "             (NAME: pmr446, cn409, frs, a channel list FILE.csv, or one kept in\n"
         "             $XDG_CONFIG_HOME/quorim/plans/)"},
        {"ports", "quorim ports [--json]"},
        {"read",
         "quorim read --port PORT [--port PORT...] [--model 16|199] [--from FILE] --out FILE | --out-dir "
         "DIR\n"
         "             [--retry N] [--no-backup] [--log FILE]"},
        {"restore",
         "quorim restore --port PORT [SNAPSHOT] [--retry N] [--verify] [--snapshot] [--log FILE]\n"
         "       quorim restore --list [--port PORT]"},
        {"show", "quorim show [--json] FILE"},
        {"tune",
         "quorim tune --port PORT --item txfreq|battery|squelch|power --value N\n"
         "             [--rx TEXT] [--tx TEXT] [--rx-tone TEXT] [--tx-tone TEXT] [--retry N]"},
        {"write",
         "quorim write --port PORT [--port PORT...] FILE [--retry N] [--verify] [--repeat]\n"
         "             [--snapshot | --no-snapshot] [--log FILE] [--check [--plan NAME]]"},
    };
    return lines;
}

UiLanguage g_language = UiLanguage::Chinese;

// Takes `--lang zh|en` out of the words, wherever it stands; false for a
// value it does not know.
bool TakeLanguageOption(Args& words) {
    g_language = UserLanguage();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] != "--lang") continue;
        if (i + 1 >= words.size() || !ParseLanguageName(words[i + 1], g_language)) return false;
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                    words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        --i;
    }
    return true;
}

}  // namespace

UiLanguage CliLanguage() {
    return g_language;
}

const TextTranslator& CliTexts() {
    return TextsOf(g_language);
}

int Usage(const std::string& command) {
    PrintUsage(std::cerr, command);
    return kExitUsage;
}

void PrintUsage(std::ostream& out, const std::string& command) {
    const auto& lines = UsageLines();
    const auto it = lines.find(command);
    if (it != lines.end()) {
        out << "usage: " << it->second << "\n";
    } else {
        out << "usage:\n";
        for (const auto& [name, line] : lines) {
            out << "  " << line << "\n";
        }
    }
}

int Help(const std::string& command) {
    PrintUsage(std::cout, command);
    if (!command.empty()) {
        return kExitOk;
    }
    std::cout << "\n"
                 "Reads, writes and tunes QZ - 16 and QZ - 199 radios over a serial port and works on\n"
                 ".szt data files. See quorim(1).\n"
                 "\n"
                 "  --port PORT  COM1 to COM4 or a serial device path; COMn is $QUORIM_COMn when set,\n"
                 "               else the n-th USB serial adapter, else /dev/ttyS(n-1)\n"
                 "  --retry N    answer the first N Retry/Cancel prompts Retry, then Cancel\n"
                 "  --snapshot   before a write, read and keep the radio's memory (quorim restore puts it\n"
                 "               back); on for several ports and --repeat, --no-snapshot turns it off\n"
                 "  --log FILE   append one line per radio read or written to FILE (CSV: time, port,\n"
                 "               adapter serial, model, SHA-256 before and after, verified, result, ms)\n"
                 "  --lang zh|en the language of the texts (default: the locale, LC_ALL, LC_MESSAGES or\n"
                 "               LANG; Chinese for zh*, else English); the link's messages stay English\n"
                 "  -h, --help   show this help (quorim COMMAND --help: that command's usage)\n"
                 "  --version    show the version\n"
                 "\n"
                 "Exit status: 0 success, 1 failure or cancelled, 2 usage error.\n";
    return kExitOk;
}

bool WriteOutput(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) {
        return true;
    }
    const int err = errno;
    std::clearerr(stdout);
    std::cerr << "quorim: the output could not be written"
              << (err != 0 ? std::string(" (") + std::strerror(err) + ")" : std::string()) << "\n";
    return false;
}

int OutputIsInput(const std::string& out, const std::string& input) {
    std::cerr << "quorim: the output " << quorim::Quoted(out) << " is the input " << quorim::Quoted(input)
              << " itself; nothing was written\n";
    return kExitUsage;
}

bool OpenDataFile(const std::string& path, DocumentData& doc, EditorSurface& editor, FileStatus& status) {
    status = OpenDocument(path, doc, editor);
    if (!status.Ok()) {
        std::cerr << "quorim: " << status.Message() << "\n";
        return false;
    }
    if (status.doubt != ImageDoubt::None) {
        std::cerr << "quorim: warning: " << status.DoubtMessage() << "\n";
    }
    return true;
}

}  // namespace quorim::cli

int main(int argc, char** argv) {
    using namespace quorim::cli;
    static const std::map<std::string, std::function<int(const Args&)>> commands = {
        {"check", RunCheck},   {"diff", RunDiff},     {"doctor", RunDoctor},   {"edit", RunEdit},
        {"export", RunExport}, {"import", RunImport}, {"new", RunNew},         {"plan", RunPlan},
        {"ports", RunPorts},   {"read", RunRead},     {"restore", RunRestore}, {"show", RunShow},
        {"tune", RunTune},     {"write", RunWrite},
    };
    Args words = CommandWords(argc, argv);
    if (!TakeLanguageOption(words)) {
        std::cerr << "quorim: --lang takes zh or en\n";
        return Usage();
    }
    if (words.empty()) {
        return Usage();
    }
    const std::string name = words[0];
    if (name == "--help" || name == "-h" || name == "help") {
        return Help();
    }
    if (name == "--version") {
        std::cout << quorim::VersionLine("quorim");
        return kExitOk;
    }
    const auto it = commands.find(name);
    if (it == commands.end()) {
        std::cerr << "quorim: unknown command " << quorim::Quoted(name) << "\n";
        return Usage();
    }
    const Args args(words.begin() + 1, words.end());
    for (const auto& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return Help(name);
        }
    }
    return it->second(args);
}
