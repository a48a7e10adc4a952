#include <iostream>

#include "cli/commands.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"

namespace quorim::cli {

int RunNew(const Args& args) {
    std::string modelText = "16";
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--model" && i + 1 < args.size()) {
            modelText = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            return Usage("new");
        } else if (file.empty()) {
            file = args[i];
        } else {
            return Usage("new");
        }
    }
    RadioModel model = RadioModel::Qz16;
    if (file.empty() || !ParseRadioModel(modelText, model)) {
        return Usage("new");
    }
    // A new document as the program shows it, then Save.
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    if (model == RadioModel::Qz199) {
        editor.SetCurSel(SettingsList::Model, 1);
        ApplyModelChoice(editor, doc);
    }
    const FileStatus status = SaveDocument(file, editor, doc);
    if (!status.Ok()) {
        std::cerr << "quorim: " << status.Message() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quorim::cli
