#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"

namespace quorim {

// The user guide: one HTML file per language, shipped with the program, in
// sections that the help commands open directly.
enum class HelpSection { Contents, Reading, Editing, Settings, Writing, Tuning, Files, Ports, Backups, Cli };

// The anchor (`<a id="…">`) of a section in both guides.
std::string_view HelpAnchor(HelpSection section);

// Where the guide may be, most specific first: beside the program in a build
// tree ("help/"), then the installed layout ("../share/quorim/help/").
std::vector<std::string> HelpGuideCandidates(std::string_view programDir, bool english);

// The section that tells about a control (by its id in the form or a
// window), a command (by its id) or a window (by its template id); Contents
// for anything the guide has no section of its own for.
HelpSection HelpSectionForControl(int controlId);
HelpSection HelpSectionForCommand(int commandId);
HelpSection HelpSectionForWindow(int templateId);

// The help window's caption.
inline constexpr std::string_view kHelpWindowTitle = QUORIM_TR("Quorim", "帮助主题");

}  // namespace quorim
