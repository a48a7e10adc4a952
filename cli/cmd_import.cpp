#include <iostream>

#include "base/utf8_path.h"
#include "cli/commands.h"
#include "editor/channel_csv.h"
#include "editor/editor_model.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

struct ImportRequest {
    std::string file, into, out;
    CsvImportOptions options;
    bool dropChannels = false;
};

// The command line of import; false for a usage error.
bool ParseImport(const Args& args, ImportRequest& request) {
    std::string modelText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            request.out = args[++i];
        } else if (args[i] == "--into" && i + 1 < args.size()) {
            request.into = args[++i];
        } else if (args[i] == "--model" && i + 1 < args.size()) {
            modelText = args[++i];
        } else if (args[i] == "--format" && i + 1 < args.size()) {
            if (!ParseCsvLayout(args[++i], request.options.layout)) return false;
        } else if (args[i] == "--drop-channels") {
            request.dropChannels = true;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return false;
        } else if (request.file.empty()) {
            request.file = args[i];
        } else {
            return false;
        }
    }
    RadioModel model = RadioModel::Qz16;
    if (request.file.empty() || request.out.empty() ||
        (!modelText.empty() && !ParseRadioModel(modelText, model)) ||
        (!modelText.empty() && !request.into.empty())) {
        return false;
    }
    if (!modelText.empty()) {
        request.options.model = model;
    }
    return true;
}

// Tells on stderr what the import refused and warned of; true when the data
// file may be written.
bool AcceptImport(const ImportRequest& request, const CsvFileImport& import) {
    const std::string& file = request.file;
    if (!import.file.Ok()) {
        std::cerr << "quorim: " << import.file.Message() << "\n";
        return false;
    }
    if (import.tooLarge) {
        std::cerr << "quorim: " << EscapeControls(file) << ": too large for a channel list\n";
        return false;
    }
    const CsvImport& result = import.result;
    for (const auto& r : result.refusals)
        std::cerr << "quorim: " << EscapeControls(file) << ": " << r.Format(CliTexts()) << "\n";
    for (const auto& w : result.warnings)
        std::cerr << "quorim: warning: " << EscapeControls(file) << ": " << w.Format(CliTexts()) << "\n";
    if (!result.Ok()) {
        std::cerr << "quorim: nothing written: " << result.refusals.size()
                  << (result.refusals.size() == 1 ? " refusal" : " refusals") << "\n";
        return false;
    }
    // The window asks before a change to "QZ - 16" drops channels; here the
    // user says so up front.
    if (result.droppedChannels > 0 && !request.dropChannels) {
        std::cerr << "quorim: " << Quoted(file) << " names \"QZ - 16\": importing it into "
                  << Quoted(request.into) << " would drop " << result.droppedChannels
                  << (result.droppedChannels == 1 ? " channel" : " channels")
                  << " of 17-199 that hold data; nothing written (--drop-channels imports it all the same)\n";
        return false;
    }
    return true;
}

}  // namespace

// A channel list in comma-separated text into a data file. Every cell goes
// through the grid's commit rules; any refusal is listed on stderr and
// nothing is written. What the layout holds but the radio cannot is listed as
// warnings and left out.
int RunImport(const Args& args) {
    ImportRequest request;
    if (!ParseImport(args, request)) return Usage("import");
    if (SameFile(request.file, request.out)) return OutputIsInput(request.out, request.file);
    DocumentData start;
    if (!request.into.empty()) {
        const FileStatus status = LoadSztFile(request.into, start.m_image);
        if (!status.Ok()) {
            std::cerr << "quorim: " << status.Message() << "\n";
            return kExitFailed;
        }
        start.SetModelFlagFromImage();
        request.options.into = &start;
    }

    DocumentData doc;
    EditorModel editor;
    if (!AcceptImport(request, ImportCsvFile(request.file, request.options, doc, editor))) {
        return kExitFailed;
    }
    const FileStatus saved = SaveSztFile(request.out, doc.m_image);
    if (!saved.Ok()) {
        std::cerr << "quorim: " << saved.Message() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quorim::cli
