#pragma once

#include <string>
#include <string_view>

namespace quorim {

// The version every program of the package reports (`--version`), set by
// the build from the project's version.
std::string_view ProgramVersion();

// "NAME VERSION\n", what `--version` prints.
std::string VersionLine(std::string_view program);

// What `--help` says of the two window programs. English: it is read in a
// terminal, whichever language the windows speak.
inline constexpr std::string_view kProgrammingProgramAbout =
    "Programming software for the QZ - 16 and QZ - 199 radios: read a radio's memory over a serial\n"
    "cable, edit its channels and settings, keep them in .szt files, print them and write them back.\n"
    "Without FILE one new document opens. \"/p FILE\" prints FILE on the printer and ends.\n"
    "Started as tarvolin_EN.DLL the windows speak English, otherwise Chinese.";
inline constexpr std::string_view kProgrammingProgramFileHelp =
    "A .szt data file to open (or, after /p, to print).";
inline constexpr std::string_view kPrintToPdfHelp =
    "Print FILE into the PDF file OUT.pdf without a window or a display and end (exit status 0, or 1 "
    "with the reason on standard error).";
inline constexpr std::string_view kLauncherAbout =
    "Asks for the interface language, Chinese or English, and starts the programming program in it\n"
    "(tarvolin_CH.DLL or tarvolin_EN.DLL beside the launcher, else along $PATH). The choice is kept\n"
    "in an INI file named after the launcher (MAIN.ini for a name without \".\") beside the launcher\n"
    "when that folder is writable, otherwise in $XDG_CONFIG_HOME/quorim/ (~/.config/quorim/).";

}  // namespace quorim
