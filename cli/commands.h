#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "base/translation.h"
#include "editor/channel_plan.h"
#include "editor/document_file.h"
#include "editor/editor_surface.h"

namespace quorim::cli {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

// The language of the command line's own texts (the shown texts of the
// editor, the findings, the refusals, the radio's model check): `--lang zh|en`
// when given, else the user's (UserLanguage). The link's English messages,
// `show --json` and what a file holds do not change with it.
UiLanguage CliLanguage();
const TextTranslator& CliTexts();

// Each command gets the words after its name.
int RunShow(const Args& args);
int RunNew(const Args& args);
int RunDiff(const Args& args);
int RunExport(const Args& args);
int RunImport(const Args& args);
int RunRead(const Args& args);
int RunWrite(const Args& args);
int RunTune(const Args& args);
int RunPorts(const Args& args);
int RunDoctor(const Args& args);
int RunRestore(const Args& args);
int RunEdit(const Args& args);
int RunCheck(const Args& args);
int RunPlan(const Args& args);

// The findings of `quorim check` on stdout, one a line; kExitOk when there
// are none, else kExitFailed. With a plan, its findings follow, then whether
// the channels match it, its power limit and what no program can check.
int PrintFindings(const EditorSurface& editor, const ChannelPlan* plan = nullptr);

// A plan by the name the user gave (built in, a file, or one in the user's
// plan folder); false, and the reason on stderr, when there is none.
bool LoadNamedPlan(const std::string& name, ChannelPlan& plan);

// What `quorim ports --json` prints.
std::string PortsJsonText();

// Prints "usage: ..." for one command (or all) to stderr and returns kExitUsage.
int Usage(const std::string& command = {});
// The same usage lines to `out`.
void PrintUsage(std::ostream& out, const std::string& command = {});
// --help: the usage to stdout (for no command, with the common options and
// exit statuses); returns kExitOk.
int Help(const std::string& command = {});

// Opens a data file as the program does. A failure is printed and false
// returned; a file that opened but may not be a memory image is told as a
// warning (its doubt stays in `status`).
bool OpenDataFile(const std::string& path, DocumentData& doc, EditorSurface& editor, FileStatus& status);

// Writes `text` to standard output, whole and flushed. When it could not be
// (a full disk, /dev/full, a closed output) says why on stderr and returns
// false: output that did not arrive is a failure, never a success.
bool WriteOutput(const std::string& text);

// Refuses an output that names the same file as an input; returns kExitUsage.
int OutputIsInput(const std::string& out, const std::string& input);

}  // namespace quorim::cli
