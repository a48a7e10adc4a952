#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "files/programming_record.h"
#include "files/szt_file.h"
#include "files/write_snapshot.h"
#include "link/clone_engine.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

// One test's own data folder, the plan a write sends and the record.
struct SnapshotFixture : ::testing::Test {
    TempDir dir;
    std::string data = "XDG_DATA_HOME=" + dir.File("data");
    std::string plan = dir.File("plan.szt");
    std::string log = dir.File("record.csv");

    void SetUp() override { ASSERT_EQ(RunCli({"new", plan}).exitCode, 0); }

    ProcessResult Cli(const std::vector<std::string>& args) { return RunCli(args, {data}); }
    std::vector<unsigned char> ReadRadio(const VirtualRadio& radio, const std::string& name) {
        EXPECT_EQ(Cli({"read", "--port", radio.Path(), "--out", dir.File(name), "--no-backup"}).exitCode, 0);
        return test::ReadBytes(dir.File(name));
    }
    // The record's lines after its header, split into fields.
    std::vector<std::vector<std::string>> Record() {
        std::istringstream text(test::ReadText(log));
        std::string line;
        std::getline(text, line);
        EXPECT_EQ(line + "\n", kRecordHeader);
        std::vector<std::vector<std::string>> rows;
        while (std::getline(text, line)) {
            std::vector<std::string> fields;
            std::istringstream parts(line);
            for (std::string f; std::getline(parts, f, ',');) {
                fields.push_back(f);
            }
            rows.push_back(fields);
        }
        return rows;
    }
};

enum Column { kTime, kOperation, kPort, kSerial, kModel, kBefore, kAfter, kVerified, kResult, kMs };

// Write, then undo: the radio holds byte for byte what it held before.
TEST_F(SnapshotFixture, WriteThenRestoreGivesBackWhatTheRadioHeld) {
    VirtualRadio radio({"--model", "16"});
    const std::vector<unsigned char> held = ReadRadio(radio, "held.szt");

    const auto w = Cli({"write", "--port", radio.Path(), plan, "--snapshot", "--log", log});
    ASSERT_EQ(w.exitCode, 0) << w.err;
    EXPECT_NE(w.out.find("The radio's memory before the write is kept in"), std::string::npos) << w.out;
    EXPECT_NE(ReadRadio(radio, "written.szt"), held);

    const auto r = Cli({"restore", "--port", radio.Path(), "--verify", "--log", log});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadRadio(radio, "back.szt"), held);

    // The record: the restore's "after" is the write's "before".
    const auto rows = Record();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][kOperation], "write");
    // Under Wine the program is given the COM name the radio's terminal goes by.
    if (std::getenv("QUORIM_WIN_BUILD") == nullptr) {
        EXPECT_EQ(rows[0][kPort], radio.Path());
    } else {
        EXPECT_TRUE(rows[0][kPort].starts_with("COM")) << rows[0][kPort];
    }
    EXPECT_EQ(rows[0][kModel], "QZ - 16");
    EXPECT_EQ(rows[0][kBefore].size(), 64u);
    EXPECT_NE(rows[0][kBefore], rows[0][kAfter]);
    EXPECT_EQ(rows[0][kVerified], "no");
    EXPECT_EQ(rows[0][kResult], "written");
    EXPECT_EQ(rows[1][kOperation], "restore");
    EXPECT_EQ(rows[1][kAfter], rows[0][kBefore]);
    EXPECT_EQ(rows[1][kVerified], "yes");
    EXPECT_EQ(rows[1][kResult], "verified");

    // The snapshot on a radio of the other model: refused before any block.
    const std::string snapshot = ListSnapshots(dir.File("data/quorim/backups")).back().path;
    VirtualRadio other({"--model", "199", "--save", dir.File("other.szt")});
    const auto refused = Cli({"restore", "--port", other.Path(), snapshot});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(WrongRadioModelMessage(ChineseTexts(), false, true)), std::string::npos)
        << refused.err;
    // A file whose byte 3 names no model is not sent at all.
    test::WriteBytes(dir.File("zeros.szt"), std::vector<unsigned char>(kImageSize));
    const auto noModel = Cli({"restore", "--port", other.Path(), dir.File("zeros.szt")});
    EXPECT_EQ(noModel.exitCode, 1);
    EXPECT_NE(noModel.err.find("byte 3 names no model"), std::string::npos) << noModel.err;
    other.Stop();
    EXPECT_FALSE(std::filesystem::exists(dir.File("other.szt")));
    EXPECT_EQ(Cli({"restore", "--port", other.Path()}).exitCode, 1);  // none taken there
}

// A batch keeps each radio's memory by default and records every radio,
// the failed one too.
TEST_F(SnapshotFixture, BatchOfFourWithOneFailingRecordsFourLines) {
    VirtualRadio a({}), b({"--nak-write", "40"}), c({}), d({});
    const auto r = Cli({"write", "--port", a.Path(), "--port", b.Path(), "--port", c.Path(), "--port",
                        d.Path(), plan, "--log", log});
    EXPECT_EQ(r.exitCode, 1);
    const auto rows = Record();
    ASSERT_EQ(rows.size(), 4u) << test::ReadText(log);
    int written = 0;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 10u);
        EXPECT_EQ(row[kBefore].size(), 64u);  // each radio's snapshot
        if (row[kPort] == b.Path()) {
            EXPECT_EQ(row[kResult], std::string("failed: ") + kMsgWriteBlockError);
            EXPECT_EQ(row[kAfter], "");  // partly written: not known
        } else {
            written += row[kResult] == "written";
        }
    }
    EXPECT_EQ(written, 3);
    const auto listed = Cli({"restore", "--list"});
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 4) << listed.out;
}

// A snapshot that cannot be taken or kept stops the write before its first
// block, with the reason.
TEST_F(SnapshotFixture, FailedSnapshotLeavesTheRadioUntouched) {
    VirtualRadio shortReply({"--short-reply", "5:9", "--save", dir.File("short.szt")});
    const auto r = Cli({"write", "--port", shortReply.Path(), plan, "--snapshot"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(SnapshotReadFailureText(kMsgNotEnough)), std::string::npos) << r.err;

    test::WriteText(dir.File("file"), "not a folder");
    VirtualRadio noFolder({"--save", dir.File("nofolder.szt")});
    const auto k = RunCli({"write", "--port", noFolder.Path(), plan, "--snapshot", "--log", log},
                          {"XDG_DATA_HOME=" + dir.File("file")});
    EXPECT_EQ(k.exitCode, 1);
    EXPECT_NE(k.err.find("The radio was not written: its memory could not be kept before the write"),
              std::string::npos)
        << k.err;
    EXPECT_NE(Record().at(0)[kResult].find("failed"), std::string::npos);
    shortReply.Stop();
    noFolder.Stop();
    EXPECT_FALSE(std::filesystem::exists(dir.File("short.szt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("nofolder.szt")));
}

}  // namespace
}  // namespace quorim::e2e
