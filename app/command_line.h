#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorim {

inline constexpr std::string_view kPrintToPdfSwitch = "--print-to-pdf";

// What the program's command line asks for, read with the document
// framework's usual meaning: no file opens one new document, a file opens it,
// "/p FILE" (or "-p") prints it, "/pt FILE PRINTER [DRIVER [PORT]]" prints it
// on that printer. "/register" (or "/regserver") registers the data file
// with the shell and ends, "/unregister" (or "/unregserver") removes that
// registration and ends; with "/allusers" for every user of the machine (an
// installer's calls). Other switches are ignored.
//
// "--print-to-pdf OUT.pdf FILE" prints FILE straight into the PDF file
// OUT.pdf, without a window (batch use); without both names it is a usage
// error, reported with `usage` set.
struct ShellCommand {
    enum class Kind { FileNew, FileOpen, FilePrint, FilePrintTo, FilePrintToPdf, AppRegister, AppUnregister };
    Kind kind = Kind::FileNew;
    bool allUsers = false;  // "/allusers" with the registration switches
    std::string file;
    std::string printer;
    std::string output;  // the PDF file of --print-to-pdf
    std::string usage;   // not empty: the command line cannot be carried out
};

// args: the arguments after the program's name.
ShellCommand ParseCommandLine(const std::vector<std::string>& args);

// Why `--print-to-pdf OUT FILE` must not write OUT: OUT is FILE itself
// (also through a link), or OUT is a file that holds something other than a
// PDF (arguments swapped). Empty when it may; the caller exits 2.
std::string PdfOutputRefusal(const std::string& out, const std::string& input);

}  // namespace quorim
