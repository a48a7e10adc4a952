#include <iostream>

#include "cli/commands.h"
#include "editor/document_diff.h"
#include "files/szt_file.h"

namespace quorim::cli {

// Exit status as diff(1): 0 the same, 1 different, 2 usage error or a file
// that cannot be read.
int RunDiff(const Args& args) {
    if (args.size() != 2 || args[0].empty() || args[0][0] == '-' || args[1].empty() || args[1][0] == '-') {
        return Usage("diff");
    }
    DocumentData docs[2];
    for (int i = 0; i < 2; ++i) {
        const FileStatus status = LoadSztFile(args[static_cast<std::size_t>(i)], docs[i].m_image);
        if (!status.Ok()) {
            std::cerr << "quorim: " << status.Message() << "\n";
            return kExitUsage;
        }
        docs[i].SetModelFlagFromImage();
    }
    const DocumentDiff diff = DiffDocuments(docs[0], docs[1]);
    if (!WriteOutput(FormatDiff(diff, CliTexts()))) {
        return kExitUsage;  // as diff(1): trouble is 2
    }
    return diff.Empty() ? kExitOk : kExitFailed;
}

}  // namespace quorim::cli
