#pragma once

#include <string_view>

namespace quorim {

// Document template 129, its seven fields: the windows name new documents
// and filter file dialogs by it, the shell registration names the data
// file type by it.
struct DocumentTemplate {
    std::string_view windowTitle;
    std::string_view docName;
    std::string_view fileNewName;
    std::string_view filterName;
    std::string_view filterExt;
    std::string_view regFileTypeId;
    std::string_view regFileTypeName;
};
const DocumentTemplate& DocTemplate();

}  // namespace quorim
