#pragma once

#include <string>
#include <vector>

namespace quorim {

// The shell's knowledge of the data file: ".szt" is a "SZT_CH.Document",
// named "Mquori Document", shown with the program's document icon, opened
// with the program, printed with its "/p" switch and printed on a chosen
// printer with "/pt". Keys are relative to the classes key (the user's
// Software\Classes, or the machine's for an install for all users).
struct ShellValue {
    std::string key;
    std::string data;  // the key's default value
};

// What the program at `program` (its full path, as the system gives it)
// registers, in the order it is written; the keys it owns stand first.
std::vector<ShellValue> ShellRegistration(const std::string& program);

// The keys removed to undo ShellRegistration, deepest first. The extension's
// key goes only while it still names "SZT_CH.Document".
std::vector<std::string> ShellRegistrationKeys();

enum class ShellScope { CurrentUser, AllUsers };
enum class ShellRegistrationResult { Written, Unchanged, Failed, NotOnThisSystem };

// Writes ShellRegistration(program) below the scope's classes key and tells
// the shell when anything changed. On systems without such a registry (the
// desktop entry and MIME type do it there) nothing is written.
ShellRegistrationResult RegisterShellFileTypes(const std::string& program, ShellScope scope);

// Removes what RegisterShellFileTypes wrote, if the file type still names
// `program` in its open command (another program's registration stays).
ShellRegistrationResult UnregisterShellFileTypes(const std::string& program, ShellScope scope);

}  // namespace quorim
