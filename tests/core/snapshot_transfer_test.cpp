#include "link/snapshot_transfer.h"

#include <gtest/gtest.h>

#include <cctype>

#include "link/clone_engine.h"
#include "tests/core/link_fakes.h"
#include "tests/core/test_util.h"

namespace quorim::test {
namespace {

// The snapshot before a write, against the virtual radio's model: what is kept, what
// the caller's host sees, and why the write must not begin.
TEST(SnapshotBeforeWrite, KeepsTheRadioOrTellsWhyTheWriteMustNotBegin) {
    const struct {
        const char* name;
        std::uint8_t radioModel;
        bool folderIsAFile;
        int silentWakeUps;
        bool kept;
        const char* failureStart;
    } cases[] = {
        {"kept", kModelCode16, false, 0, true, ""},
        {"other model", kModelCode199, false, 0, false, "对讲机为 QZ - 199，文件为 QZ - 16，未写入。"},
        {"folder unusable", kModelCode16, true, 0, false, "未写入对讲机：写频前未能保存它的数据（"},
        {"no answer", kModelCode16, false, 1000, false, "未写入对讲机：写频前未能读出它的数据（"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        TracingClock clock;
        FakeSerialPort port{clock};
        PortRadio radio;
        radio.Attach(port);
        for (std::size_t i = 0; i < radio.Memory().size(); ++i) {
            radio.Memory()[i] = static_cast<std::uint8_t>(i * 5);
        }
        radio.Memory()[kModelCodeOffset] = c.radioModel;
        radio.ninetyNine = c.radioModel == kModelCode199;
        radio.faults.silentWakeUps = c.silentWakeUps;
        RecordingHost host;
        host.direction = TransferDirection::Write;
        std::string folder = dir.File("backups");
        if (c.folderIsAFile) {
            WriteText(dir.File("file"), "x");
            folder = dir.File("file") + "/backups";
        }

        const BeforeWriteSnapshot s = TakeSnapshotBeforeWrite("COM1", true, folder, port, clock, host);
        EXPECT_EQ(s.Ok(), c.kept);
        const std::string failure = BeforeWriteFailureText(s, true, ChineseTexts());
        EXPECT_TRUE(failure.starts_with(c.failureStart)) << failure;
        EXPECT_EQ(failure.empty(), c.kept);
        // The caller's editor is untouched; its progress window stays open
        // only for the write that follows.
        EXPECT_EQ(host.decodes, 0);
        EXPECT_EQ(host.closeProgress, c.kept ? 0 : 1);
        const std::vector<Snapshot> kept = ListSnapshots(folder);
        ASSERT_EQ(kept.size(), c.kept ? 1u : 0u);
        if (c.kept) {
            EXPECT_EQ(kept[0].port, "COM1");
            const std::vector<unsigned char> bytes = ReadBytes(kept[0].path);
            EXPECT_TRUE(std::equal(radio.Memory().begin(), radio.Memory().begin() + 992, bytes.begin()));
        }
        if (c.radioModel == kModelCode199) {
            // Stopped at the identification: at most the first block was asked for.
            int requests = 0;
            for (const auto& w : port.Writes()) {
                requests += w.size() == 4 && w[0] == 'R';
            }
            EXPECT_LE(requests, 1);
            EXPECT_TRUE(host.messages.empty());
        }
    }
}

// The write after a kept snapshot runs under the same progress window: its
// bar and its count start again from the bottom (they stood at the top, and
// the write showed nothing of its 123 blocks).
TEST(SnapshotBeforeWrite, TheWriteCountsItsOwnBlocksFromTheStart) {
    TempDir dir;
    TracingClock clock;
    FakeSerialPort port{clock};
    PortRadio radio;
    radio.Attach(port);
    radio.Memory()[kModelCodeOffset] = kModelCode16;
    RecordingHost host;
    host.direction = TransferDirection::Write;
    ASSERT_TRUE(TakeSnapshotBeforeWrite("COM1", true, dir.File("backups"), port, clock, host).Ok());
    const std::size_t before = host.statuses.size();
    ASSERT_EQ(host.statuses.back(), "123");

    DocumentData doc;
    doc.OnNewDocument();
    ASSERT_TRUE(RunRadioTransfer("COM1", doc, port, clock, host).Ok());
    std::vector<std::string> written;  // the block counts of the write
    for (std::size_t i = before; i < host.statuses.size(); ++i) {
        if (!host.statuses[i].empty() && std::isdigit(static_cast<unsigned char>(host.statuses[i][0]))) {
            written.push_back(host.statuses[i]);
        }
    }
    ASSERT_EQ(written.size(), static_cast<std::size_t>(kWriteBlocks16));
    EXPECT_EQ(written.front(), "1");
    EXPECT_EQ(written.back(), "123");
}

}  // namespace
}  // namespace quorim::test
