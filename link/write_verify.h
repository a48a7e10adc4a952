#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "image/memory_image.h"

namespace quorim {

// After a write, the radio is read back and the range the write sent is
// compared with what was sent: image bytes 0-983 (123 blocks) for the
// 16-channel layout, the whole image (402 blocks) for the 199-channel one.
struct VerifyByte {
    std::size_t address;
    std::uint8_t written;
    std::uint8_t readBack;
};

struct VerifyBlock {
    int block;  // block k carries image bytes 8k..8k+7
    std::vector<VerifyByte> bytes;
};

struct VerifyReport {
    std::size_t comparedBytes = 0;
    std::size_t differingBytes = 0;
    std::vector<VerifyBlock> blocks;  // the blocks that differ, in address order

    bool Ok() const { return differingBytes == 0; }
    // English lines for the user: one per differing block (at most
    // kVerifyListedBlocks, then how many more), then the verdict.
    std::vector<std::string> Lines() const;
};

inline constexpr std::size_t kVerifyListedBlocks = 16;

// `sixteenLayout`: the write sent the 16-channel layout (a grid of fewer than
// 18 rows).
VerifyReport CompareWrittenRange(const MemoryImage& written, const MemoryImage& readBack, bool sixteenLayout);

// The line shown when the radio cannot be read back after a write.
inline constexpr const char* kMsgVerifyReadFailed =
    "Verify failed: the radio could not be read back after the write, so the write is not confirmed";

}  // namespace quorim
