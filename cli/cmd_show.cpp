#include <iostream>

#include "cli/commands.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"

namespace quorim::cli {

int RunShow(const Args& args) {
    bool json = false;
    std::string file;
    for (const auto& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage("show");
        } else if (file.empty()) {
            file = arg;
        } else {
            return Usage("show");
        }
    }
    if (file.empty()) {
        return Usage("show");
    }
    DocumentData doc;
    EditorModel editor;
    FileStatus status;
    if (!OpenDataFile(file, doc, editor, status)) {
        return kExitFailed;
    }
    return WriteOutput(json ? FormatEditorJson(editor) : FormatEditorText(editor, CliTexts())) ? kExitOk
                                                                                               : kExitFailed;
}

}  // namespace quorim::cli
