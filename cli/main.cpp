#include <cstring>
#include <functional>
#include <iostream>
#include <map>

#include "cli/commands.h"
#include "cli/platform.h"

namespace quorim::cli {

namespace {

const std::map<std::string, std::string>& UsageLines() {
    static const std::map<std::string, std::string> lines = {
        {"diff", "quorim diff A.szt B.szt"},
        {"export", "quorim export FILE.szt [--out FILE.csv] [--format quorim|exchange]"},
        {"import",
         "quorim import FILE.csv [--into FILE.szt | --model 16|199] [--format quorim|exchange] --out "
         "FILE.szt"},
        {"new", "quorim new [--model 16|199] FILE"},
        {"ports", "quorim ports [--json]"},
        {"read",
         "quorim read --port PORT [--port PORT...] [--model 16|199] [--from FILE] --out FILE | --out-dir "
         "DIR\n"
         "             [--retry N] [--no-backup]"},
        {"show", "quorim show [--json] FILE"},
        {"tune",
         "quorim tune --port PORT --item txfreq|battery|squelch|power --value N\n"
         "             [--rx TEXT] [--tx TEXT] [--rx-tone TEXT] [--tx-tone TEXT] [--retry N]"},
        {"write", "quorim write --port PORT [--port PORT...] FILE [--retry N] [--verify] [--repeat]"},
    };
    return lines;
}

}  // namespace

int Usage(const std::string& command) {
    const auto& lines = UsageLines();
    const auto it = lines.find(command);
    if (it != lines.end()) {
        std::cerr << "usage: " << it->second << "\n";
    } else {
        std::cerr << "usage:\n";
        for (const auto& [name, line] : lines) {
            std::cerr << "  " << line << "\n";
        }
    }
    return kExitUsage;
}

}  // namespace quorim::cli

int main(int argc, char** argv) {
    using namespace quorim::cli;
    static const std::map<std::string, std::function<int(const Args&)>> commands = {
        {"diff", RunDiff}, {"export", RunExport}, {"import", RunImport},
        {"new", RunNew},   {"ports", RunPorts},   {"read", RunRead},
        {"show", RunShow}, {"tune", RunTune},     {"write", RunWrite},
    };
    const Args words = CommandWords(argc, argv);
    if (words.empty()) {
        return Usage();
    }
    const std::string name = words[0];
    if (name == "--help" || name == "-h" || name == "help") {
        Usage();
        return kExitOk;
    }
    const auto it = commands.find(name);
    if (it == commands.end()) {
        std::cerr << "quorim: unknown command \"" << name << "\"\n";
        return Usage();
    }
    return it->second(Args(words.begin() + 1, words.end()));
}
