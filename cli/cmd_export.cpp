#include <iostream>

#include "cli/commands.h"
#include "editor/channel_csv.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "files/safe_file.h"

namespace quorim::cli {

// The editor's view of a data file as comma-separated text, to --out or to
// standard output. What the layout cannot carry is listed on stderr.
int RunExport(const Args& args) {
    std::string file, out;
    CsvLayout layout = CsvLayout::Quorim;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--format" && i + 1 < args.size()) {
            if (!ParseCsvLayout(args[++i], layout)) return Usage("export");
        } else if (!args[i].empty() && args[i][0] == '-') {
            return Usage("export");
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage("export");
        }
    }
    if (file.empty()) return Usage("export");
    if (!out.empty() && SameFile(file, out)) return OutputIsInput(out, file);
    DocumentData doc;
    EditorModel editor;
    FileStatus status;
    if (!OpenDataFile(file, doc, editor, status)) {
        return kExitFailed;
    }
    const CsvExport csv = ExportCsv(editor, layout, CliTexts());
    for (const auto& w : csv.warnings) std::cerr << "quorim: warning: " << w.Format(CliTexts()) << "\n";
    if (out.empty()) {
        return WriteOutput(csv.text) ? kExitOk : kExitFailed;
    }
    const FileStatus written = WriteFileAtomically(out, csv.text.data(), csv.text.size());
    if (!written.Ok()) {
        std::cerr << "quorim: " << written.Message() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quorim::cli
