#pragma once

#include <string>
#include <vector>

namespace quorim {

// What the program's command line asks for, read with the document
// framework's usual meaning: no file opens one new document, a file opens it,
// "/p FILE" (or "-p") prints it, "/pt FILE PRINTER [DRIVER [PORT]]" prints it
// on that printer. Other switches are ignored.
struct ShellCommand {
    enum class Kind { FileNew, FileOpen, FilePrint, FilePrintTo };
    Kind kind = Kind::FileNew;
    std::string file;
    std::string printer;
};

// args: the arguments after the program's name.
ShellCommand ParseCommandLine(const std::vector<std::string>& args);

}  // namespace quorim
