#include "app/shell_registration.h"

#include "app/document_template.h"

namespace quorim {

std::vector<ShellValue> ShellRegistration(const std::string& program) {
    const DocumentTemplate& t = DocTemplate();
    const std::string type(t.regFileTypeId);
    const std::string quoted = "\"" + program + "\"";
    // The document icon is the program's second icon (resource 129).
    return {{type, std::string(t.regFileTypeName)},
            {type + "\\DefaultIcon", program + ",1"},
            {type + "\\shell\\open\\command", quoted + " \"%1\""},
            {type + "\\shell\\print\\command", quoted + " /p \"%1\""},
            {type + "\\shell\\printto\\command", quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\""},
            {std::string(t.filterExt), type}};
}

std::vector<std::string> ShellRegistrationKeys() {
    const DocumentTemplate& t = DocTemplate();
    const std::string type(t.regFileTypeId);
    return {type + "\\shell\\printto\\command",
            type + "\\shell\\printto",
            type + "\\shell\\print\\command",
            type + "\\shell\\print",
            type + "\\shell\\open\\command",
            type + "\\shell\\open",
            type + "\\shell",
            type + "\\DefaultIcon",
            type,
            std::string(t.filterExt)};
}

}  // namespace quorim
