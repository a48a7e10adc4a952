#include "link/write_verify.h"

#include <gtest/gtest.h>

namespace quorim {
namespace {

MemoryImage Pattern() {
    MemoryImage m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>(i * 5 + 1);
    }
    return m;
}

TEST(WriteVerify, ComparesOnlyTheRangeTheLayoutWrote) {
    const MemoryImage written = Pattern();
    MemoryImage back = written;
    back[984] ^= 0xFF;  // the first byte a 16-channel write does not send
    back[3215] ^= 0xFF;
    const VerifyReport sixteen = CompareWrittenRange(written, back, true);
    EXPECT_TRUE(sixteen.Ok());
    EXPECT_EQ(sixteen.comparedBytes, 984u);
    EXPECT_EQ(sixteen.Lines(),
              std::vector<std::string>{"Verified: the radio holds the 984 bytes written (bytes 0-983)"});

    const VerifyReport all = CompareWrittenRange(written, back, false);
    EXPECT_FALSE(all.Ok());
    EXPECT_EQ(all.comparedBytes, 3216u);
    EXPECT_EQ(all.differingBytes, 2u);
    ASSERT_EQ(all.blocks.size(), 2u);
    EXPECT_EQ(all.blocks[0].block, 123);
    EXPECT_EQ(all.blocks[1].block, 401);
    EXPECT_EQ(all.Lines(), (std::vector<std::string>{
                               "block 123 (0x03D8-0x03DF): 0x03D8 written 39 read C6",
                               "block 401 (0x0C88-0x0C8F): 0x0C8F written CC read 33",
                               "Verify failed: 2 bytes in 2 blocks differ between the data written and the "
                               "radio (bytes 0-3215 compared)",
                           }));
}

TEST(WriteVerify, ListsEachByteOfABlockAndCapsTheBlocks) {
    const MemoryImage written = Pattern();
    MemoryImage back = written;
    back[0] = 0x00;
    back[7] = 0x00;
    auto lines = CompareWrittenRange(written, back, true).Lines();
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "block 0 (0x0000-0x0007): 0x0000 written 01 read 00, 0x0007 written 24 read 00",
                         "Verify failed: 2 bytes in 1 block differ between the data written and the radio "
                         "(bytes 0-983 compared)",
                     }));

    // A radio that answers with nothing but zeros.
    const VerifyReport zeros = CompareWrittenRange(written, MemoryImage{}, false);
    EXPECT_EQ(zeros.blocks.size(), 402u);
    lines = zeros.Lines();
    ASSERT_EQ(lines.size(), kVerifyListedBlocks + 2);
    EXPECT_EQ(lines[kVerifyListedBlocks], "... and 386 more blocks");
    EXPECT_EQ(lines.back().rfind("Verify failed: ", 0), 0u);

    back = written;
    back[500] = 0;
    EXPECT_EQ(CompareWrittenRange(written, back, true).Lines().back(),
              "Verify failed: 1 byte in 1 block differs between the data written and the radio (bytes 0-983 "
              "compared)");
}

}  // namespace
}  // namespace quorim
