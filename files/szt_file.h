#pragma once

#include <string>

#include "files/file_status.h"
#include "image/memory_image.h"

namespace quorim {

// A .szt data file is exactly the 3216 bytes of the image: no header, no
// checksum. A longer file loads its first 3216 bytes; a shorter one is refused.
FileStatus LoadSztFile(const std::string& path, MemoryImage& image);
// Saves by a safe replace (files/safe_file.h): a failed save never destroys
// the previous file and never leaves a partial one behind.
FileStatus SaveSztFile(const std::string& path, const MemoryImage& image);

}  // namespace quorim
