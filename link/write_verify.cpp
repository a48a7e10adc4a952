#include "link/write_verify.h"

#include <cstdio>

#include "link/clone_engine.h"

namespace quorim {

namespace {

std::string Hex(std::size_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*zX", digits, value);
    return text;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

VerifyReport CompareWrittenRange(const MemoryImage& written, const MemoryImage& readBack,
                                 bool sixteenLayout) {
    VerifyReport report;
    const int blocks = sixteenLayout ? kWriteBlocks16 : kBlocks199;
    report.comparedBytes = static_cast<std::size_t>(blocks) * kBlockSize;
    for (int k = 0; k < blocks; ++k) {
        VerifyBlock block{k, {}};
        for (std::size_t i = 0; i < kBlockSize; ++i) {
            const std::size_t a = static_cast<std::size_t>(k) * kBlockSize + i;
            if (written[a] != readBack[a]) {
                block.bytes.push_back({a, written[a], readBack[a]});
            }
        }
        if (!block.bytes.empty()) {
            report.differingBytes += block.bytes.size();
            report.blocks.push_back(std::move(block));
        }
    }
    return report;
}

std::vector<std::string> VerifyReport::Lines() const {
    const std::string range = "bytes 0-" + std::to_string(comparedBytes - 1);
    if (Ok()) {
        return {"Verified: the radio holds the " + std::to_string(comparedBytes) + " bytes written (" +
                range + ")"};
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < blocks.size() && i < kVerifyListedBlocks; ++i) {
        const VerifyBlock& b = blocks[i];
        const std::size_t first = static_cast<std::size_t>(b.block) * kBlockSize;
        std::string line = "block " + std::to_string(b.block) + " (0x" + Hex(first, 4) + "-0x" +
                           Hex(first + kBlockSize - 1, 4) + "):";
        for (const VerifyByte& d : b.bytes) {
            line += " 0x" + Hex(d.address, 4) + " written " + Hex(d.written, 2) + " read " +
                    Hex(d.readBack, 2) + (&d == &b.bytes.back() ? "" : ",");
        }
        lines.push_back(line);
    }
    if (blocks.size() > kVerifyListedBlocks) {
        lines.push_back("... and " +
                        Plural(blocks.size() - kVerifyListedBlocks, "more block", "more blocks"));
    }
    lines.push_back("Verify failed: " + Plural(differingBytes, "byte", "bytes") + " in " +
                    Plural(blocks.size(), "block", "blocks") +
                    (differingBytes == 1 ? " differs" : " differ") +
                    " between the data written and the radio (" + range + " compared)");
    return lines;
}

}  // namespace quorim
