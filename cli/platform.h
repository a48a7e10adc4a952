#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "base/translation.h"

// What the command line needs from the system, one file per system
// (cli/posix_platform.cpp, cli/win32_platform.cpp).
namespace quorim::cli {

// The words after the program's name, in UTF-8, with the console set up to
// show UTF-8 (and the output taken byte for byte, the same on every system).
std::vector<std::string> CommandWords(int argc, char** argv);

// From WatchInterrupt until UnwatchInterrupt, Ctrl+C (and on POSIX systems
// SIGTERM and SIGHUP) sets a flag instead of
// ending the program; Interrupted reads the flag (from any thread).
void WatchInterrupt();
void UnwatchInterrupt();
bool Interrupted();

bool StderrIsTerminal();

// The calendar time of `t`, local or UTC (thread-safe).
std::tm LocalTimeOf(std::time_t t);
std::tm UtcTimeOf(std::time_t t);

// The system, for a support report: "Linux host 6.1.0 #1 SMP … x86_64".
std::string SystemDescription();

// The language the user reads, when `--lang` does not say: the locale's
// variables as Unix tools read them (LanguageOfLocale); on Windows, where
// they are seldom set, the user's interface language when none of LC_ALL,
// LC_MESSAGES and LANG is.
UiLanguage UserLanguage();

// True when `folder` exists and takes new files.
bool FolderTakesFiles(const std::string& folder);

}  // namespace quorim::cli
