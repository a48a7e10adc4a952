#pragma once

#include <string>

#include "base/translation.h"
#include "files/read_backup.h"
#include "files/szt_file.h"

namespace quorim {

// A failed open or save as the windows tell it, in the program's language:
// one sentence naming the file and what went wrong, then the reason the
// system gave, if any, in brackets. (FileStatus::Message() is the command
// line's English.)
std::string FileStatusText(const FileStatus& status, const TextTranslator& texts);

// A file that opened but may not be a memory image, as the windows tell it
// when it opens, or (`asking`) as the question before a write to a radio.
std::string ImageDoubtText(const std::string& path, ImageDoubt doubt, const TextTranslator& texts,
                           bool asking = false);

// A read's backup that could not be kept, the same way; empty when it was.
std::string ReadBackupWarningText(const ReadBackupResult& result, const TextTranslator& texts);

}  // namespace quorim
