#include <iostream>

#include "base/utf8_path.h"
#include "cli/commands.h"
#include "editor/channel_csv.h"
#include "editor/editor_model.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "text/ascii_text.h"

namespace quorim::cli {

// A channel list in comma-separated text into a data file. Every cell goes
// through the grid's commit rules; any refusal is listed on stderr and
// nothing is written. What the layout holds but the radio cannot is listed as
// warnings and left out.
int RunImport(const Args& args) {
    std::string file, into, out, modelText;
    CsvLayout layout = CsvLayout::Quorim;
    bool dropChannels = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--into" && i + 1 < args.size()) {
            into = args[++i];
        } else if (args[i] == "--model" && i + 1 < args.size()) {
            modelText = args[++i];
        } else if (args[i] == "--format" && i + 1 < args.size()) {
            if (!ParseCsvLayout(args[++i], layout)) return Usage("import");
        } else if (args[i] == "--drop-channels") {
            dropChannels = true;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return Usage("import");
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage("import");
        }
    }
    RadioModel model = RadioModel::Qz16;
    if (file.empty() || out.empty() || (!modelText.empty() && !ParseRadioModel(modelText, model)) ||
        (!modelText.empty() && !into.empty())) {
        return Usage("import");
    }

    if (SameFile(file, out)) return OutputIsInput(out, file);
    CsvImportOptions options;
    options.layout = layout;
    if (!modelText.empty()) {
        options.model = model;
    }
    DocumentData start;
    if (!into.empty()) {
        const FileStatus status = LoadSztFile(into, start.m_image);
        if (!status.Ok()) {
            std::cerr << "quorim: " << status.Message() << "\n";
            return kExitFailed;
        }
        start.SetModelFlagFromImage();
        options.into = &start;
    }

    DocumentData doc;
    EditorModel editor;
    const CsvFileImport import = ImportCsvFile(file, options, doc, editor);
    if (!import.file.Ok()) {
        std::cerr << "quorim: " << import.file.Message() << "\n";
        return kExitFailed;
    }
    if (import.tooLarge) {
        std::cerr << "quorim: " << EscapeControls(file) << ": too large for a channel list\n";
        return kExitFailed;
    }
    const CsvImport& result = import.result;
    for (const auto& r : result.refusals)
        std::cerr << "quorim: " << EscapeControls(file) << ": " << r.Format(CliTexts()) << "\n";
    for (const auto& w : result.warnings)
        std::cerr << "quorim: warning: " << EscapeControls(file) << ": " << w.Format(CliTexts()) << "\n";
    if (!result.Ok()) {
        std::cerr << "quorim: nothing written: " << result.refusals.size()
                  << (result.refusals.size() == 1 ? " refusal" : " refusals") << "\n";
        return kExitFailed;
    }
    // The window asks before a change to "QZ - 16" drops channels; here the
    // user says so up front.
    if (result.droppedChannels > 0 && !dropChannels) {
        std::cerr << "quorim: " << Quoted(file) << " names \"QZ - 16\": importing it into " << Quoted(into)
                  << " would drop " << result.droppedChannels
                  << (result.droppedChannels == 1 ? " channel" : " channels")
                  << " of 17-199 that hold data; nothing written (--drop-channels imports it all the same)\n";
        return kExitFailed;
    }
    const FileStatus saved = SaveSztFile(out, doc.m_image);
    if (!saved.Ok()) {
        std::cerr << "quorim: " << saved.Message() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quorim::cli
