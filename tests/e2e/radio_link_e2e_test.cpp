#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "files/szt_file.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"
#include "link/write_verify.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

MemoryImage PatternMemory(std::uint8_t modelCode) {
    MemoryImage m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>((i * 37 + i / 200) & 0xFF);
    }
    m[kModelCodeOffset] = modelCode;
    return m;
}

MemoryImage Load(const std::string& path) {
    MemoryImage image{};
    EXPECT_TRUE(LoadSztFile(path, image).Ok()) << path;
    return image;
}

// A data file as a user would have edited it: a few channels and settings.
std::string MakeEditedFile(const TempDir& dir, bool ninetyNine) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    if (ninetyNine) {
        editor.SetCurSel(SettingsList::Model, 1);
        ApplyModelChoice(editor, doc);
    }
    editor.SetTextMatrix(1, kColRxFreq, "435.12500");
    editor.SetTextMatrix(1, kColTxFreq, "435.12500");
    editor.SetTextMatrix(1, kColRxTone, "88.5");
    editor.SetTextMatrix(2, kColRxFreq, "145.12500");
    editor.SetTextMatrix(2, kColTxTone, "D023N");
    editor.SetTextMatrix(editor.Rows() - 1, kColRxFreq, "439.95000");
    const std::string path = dir.File(ninetyNine ? "edited199.szt" : "edited16.szt");
    EXPECT_TRUE(SaveDocument(path, editor, doc).Ok());
    return path;
}

// What the program sends for a file: open, decode, encode.
MemoryImage EncodedImageOf(const std::string& path) {
    DocumentData doc;
    EditorModel editor;
    EXPECT_TRUE(OpenDocument(path, doc, editor).Ok());
    EncodeImage(editor, doc);
    return doc.m_image;
}

bool PortIsFree(const std::string& path) {
    PosixSerialPort port;
    return port.Open(path).Ok();
}

TEST(ReadE2E, SixteenChannelRadioThroughCom2) {
    TempDir dir;
    const MemoryImage radioMemory = PatternMemory(kModelCode16);
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), radioMemory).Ok());
    VirtualRadio radio({"--memory", dir.File("radio.szt")});
    const auto r =
        RunCli({"read", "--port", "COM2", "--out", dir.File("out.szt")}, {"QUORIM_COM2=" + radio.Path()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");  // not a terminal: messages only, and there were none
    const MemoryImage out = Load(dir.File("out.szt"));
    const MemoryImage fresh = NewImage();
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 992, radioMemory.begin()));
    EXPECT_TRUE(std::equal(out.begin() + 992, out.end(), fresh.begin() + 992));
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

// The virtual radio's own memory, of either model, passes the channel check:
// its channels lie in its band, on the step.
TEST(ReadE2E, TheVirtualRadiosDefaultMemoryIsConsistentWithItsBand) {
    for (const char* model : {"16", "199"}) {
        test::TempDir dir;
        VirtualRadio radio({"--model", model});
        ASSERT_EQ(
            RunCli({"read", "--port", radio.Path(), "--model", model, "--out", dir.File("out.szt")}).exitCode,
            0);
        const auto check = RunCli({"check", dir.File("out.szt")});
        EXPECT_EQ(check.exitCode, 0) << model << ": " << check.out;
    }
}

TEST(ReadE2E, NinetyNineChannelRadioWholeMemory) {
    TempDir dir;
    const MemoryImage radioMemory = PatternMemory(kModelCode199);
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), radioMemory).Ok());
    VirtualRadio radio({"--memory", dir.File("radio.szt")});
    const auto r = RunCli({"read", "--port", radio.Path(), "--model", "199", "--out", dir.File("out.szt")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Load(dir.File("out.szt")), radioMemory);
}

TEST(WriteE2E, SixteenChannelFileWrittenAndReadBack) {
    TempDir dir;
    const std::string file = MakeEditedFile(dir, false);
    const MemoryImage expected = EncodedImageOf(file);
    VirtualRadio radio({"--save", dir.File("radio.szt")});
    const auto w = RunCli({"write", "--port", radio.Path(), file});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("back.szt")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const MemoryImage back = Load(dir.File("back.szt"));
    // The 16-channel write covers image bytes 0..983.
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + 984, expected.begin()));
    radio.Stop();
    const MemoryImage saved = Load(dir.File("radio.szt"));
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 984, expected.begin()));
}

TEST(WriteE2E, NinetyNineChannelFileReachesEveryByte) {
    TempDir dir;
    const std::string file = MakeEditedFile(dir, true);
    VirtualRadio radio({"--model", "199", "--save", dir.File("radio.szt")});
    const auto w = RunCli({"write", "--port", radio.Path(), file});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    radio.Stop();
    EXPECT_EQ(Load(dir.File("radio.szt")), EncodedImageOf(file));
}

// A new 199-channel document holds no channel nobody typed: channels 60 and
// 61, where the 16-channel radio keeps its settings, reach the radio empty.
TEST(WriteE2E, NewNinetyNineChannelDocumentWritesChannels60And61Empty) {
    TempDir dir;
    const std::string file = dir.File("new199.szt");
    ASSERT_EQ(RunCli({"new", "--model", "199", file}).exitCode, 0);
    const auto show = RunCli({"show", file});
    for (int ch = 1; ch <= 199; ++ch) {
        EXPECT_NE(show.out.find("\n" + std::to_string(ch) + "\t\t\t\t\t\n"), std::string::npos) << ch;
    }
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), PatternMemory(kModelCode199)).Ok());
    VirtualRadio radio({"--memory", dir.File("radio.szt")});
    ASSERT_EQ(RunCli({"write", "--port", radio.Path(), file}).exitCode, 0);
    const auto r = RunCli({"read", "--port", radio.Path(), "--model", "199", "--out", dir.File("back.szt")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    DocumentData doc;
    EditorModel editor;
    ASSERT_TRUE(OpenDocument(dir.File("back.szt"), doc, editor).Ok());
    for (const int ch : {60, 61}) {
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            EXPECT_EQ(editor.TextMatrix(ch, col), "") << ch << "," << col;
        }
    }
}

TEST(WriteE2E, RadioOfTheOtherModelIsLeftUntouched) {
    TempDir dir;
    const MemoryImage radioMemory = PatternMemory(kModelCode199);
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), radioMemory).Ok());
    VirtualRadio radio(
        {"--model", "199", "--memory", dir.File("radio.szt"), "--save", dir.File("radio.szt")});
    const auto w = RunCli({"write", "--port", radio.Path(), MakeEditedFile(dir, false)});
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_EQ(w.err, "对讲机为 QZ - 199，文件为 QZ - 16，未写入。\n");
    EXPECT_TRUE(PortIsFree(radio.Path()));
    radio.Stop();
    EXPECT_EQ(Load(dir.File("radio.szt")), radioMemory);
}

std::string HexByte(std::uint8_t b) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

TEST(VerifyE2E, VerifiedWriteOfTheSixteenChannelLayout) {
    TempDir dir;
    // A byte the 16-channel layout does not write may be anything.
    VirtualRadio radio({"--corrupt", "990"});
    const auto w = RunCli({"write", "--port", radio.Path(), MakeEditedFile(dir, false), "--verify"});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    EXPECT_EQ(w.out, "Verified: the radio holds the 984 bytes written (bytes 0-983)\n");
    EXPECT_EQ(w.err, "");
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

TEST(VerifyE2E, ByteTheRadioStoredWrongFailsTheVerify) {
    TempDir dir;
    const std::string file = MakeEditedFile(dir, false);
    const std::uint8_t sent = EncodedImageOf(file)[0x0062];
    VirtualRadio radio({"--corrupt", std::to_string(0x0062)});
    const auto w = RunCli({"write", "--port", radio.Path(), file, "--verify"});
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_EQ(w.out, "");
    EXPECT_EQ(w.err, "block 12 (0x0060-0x0067): 0x0062 written " + HexByte(sent) + " read " +
                         HexByte(static_cast<std::uint8_t>(~sent)) +
                         "\nVerify failed: 1 byte in 1 block differs between the data written and the radio "
                         "(bytes 0-983 compared)\n");
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

TEST(VerifyE2E, RadioThatCannotBeReadBackFailsTheVerify) {
    TempDir dir;
    VirtualRadio radio({"--nak-read", "3"});
    const auto w = RunCli({"write", "--port", radio.Path(), MakeEditedFile(dir, false), "--verify"});
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_EQ(w.err, std::string(kMsgReadBlockError) + "\n" + kMsgVerifyReadFailed + "\n");
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

struct FaultCase {
    const char* name;
    std::vector<std::string> radioArgs;
    const char* command;  // "read" or "write"
    std::vector<std::string> messages;
};

// Each fault ends with its message, exit 1, the port free again and no file.
TEST(FaultE2E, EachFaultEndsWithItsMessage) {
    const std::string commError = kMsgCommunicationError;
    const std::vector<FaultCase> cases = {
        {"two stray bytes, one retry", {"--stray", "2"}, "read", {commError, commError}},
        {"short reply", {"--short-reply", "3:9"}, "read", {kMsgNotEnough}},
        {"reply one byte short", {"--short-reply", "3:11"}, "read", {kMsgNotEnough}},
        {"wrong byte after a read block", {"--nak-read", "2"}, "read", {kMsgReadBlockError}},
        {"wrong byte after a written block", {"--nak-write", "5"}, "write", {kMsgWriteBlockError}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        VirtualRadio radio(c.radioArgs);
        const std::string source = MakeEditedFile(dir, false);
        const auto r =
            std::string(c.command) == "read"
                ? RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt"), "--retry", "1"})
                : RunCli({"write", "--port", radio.Path(), source, "--retry", "1"});
        EXPECT_EQ(r.exitCode, 1);
        std::string expected;
        for (const auto& m : c.messages) {
            expected += m + "\n";
        }
        EXPECT_EQ(r.err, expected);
        EXPECT_LT(r.seconds, 3.0);
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
        EXPECT_TRUE(PortIsFree(radio.Path()));
    }
}

TEST(FaultE2E, OneStrayByteIsForgiven) {
    TempDir dir;
    VirtualRadio radio({"--stray", "1"});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(FaultE2E, VanishedLineEndsTheReadAtOnce) {
    TempDir dir;
    VirtualRadio radio({"--vanish", "4"});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, std::string(kMsgNotEnough) + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    // Four blocks take about 100 ms; a time-out would add 6 s.
    EXPECT_LT(r.seconds, 2.0);
}

TEST(FaultE2E, BusyOrMissingPortCannotBeOpened) {
    TempDir dir;
    VirtualRadio radio({});
    PosixSerialPort holder;
    ASSERT_TRUE(holder.Open(radio.Path()).Ok());
    const auto busy = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_EQ(busy.err, std::string(kMsgCannotOpenPort) + "\n" + radio.Path() +
                            " 正被其他程序占用：quorim_e2e_test（进程号 " + std::to_string(getpid()) +
                            "）\n");
    holder.Close();
    const auto missing = RunCli({"write", "--port", "/dev/quorim-no-such-port", MakeEditedFile(dir, false)});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err,
              std::string(kMsgCannotOpenPort) + "\n当前没有连接 /dev/quorim-no-such-port 设备\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
}

std::vector<std::filesystem::path> BackupsIn(const std::string& dataHome) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dataHome + "/quorim/backups", ec)) {
        files.push_back(e.path());
    }
    return files;
}

TEST(BackupE2E, EverySuccessfulReadKeepsOne) {
    TempDir dir;
    const MemoryImage radioMemory = PatternMemory(kModelCode16);
    ASSERT_TRUE(SaveSztFile(dir.File("radio.szt"), radioMemory).Ok());
    VirtualRadio radio({"--memory", dir.File("radio.szt")});
    const std::vector<std::string> env{"XDG_DATA_HOME=" + dir.File("data")};

    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("a.szt")}, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    auto backups = BackupsIn(dir.File("data"));
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(backups[0].filename().string().find("_QZ-16.szt"), std::string::npos) << backups[0];
    const MemoryImage kept = Load(backups[0].string());
    EXPECT_EQ(kept, Load(dir.File("a.szt")));
    EXPECT_TRUE(std::equal(kept.begin(), kept.begin() + 992, radioMemory.begin()));

    // --no-backup, and a failed read, keep none.
    const auto quiet =
        RunCli({"read", "--port", radio.Path(), "--no-backup", "--out", dir.File("b.szt")}, env);
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(BackupsIn(dir.File("data")).size(), 1u);
    const auto failed =
        RunCli({"read", "--port", "/dev/quorim-no-such-port", "--out", dir.File("c.szt")}, env);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(BackupsIn(dir.File("data")).size(), 1u);

    // A backup that cannot be stored is a warning; the read succeeds.
    test::WriteBytes(dir.File("plain-file"), {1});
    const auto warned = RunCli({"read", "--port", radio.Path(), "--out", dir.File("d.szt")},
                               {"XDG_DATA_HOME=" + dir.File("plain-file")});
    EXPECT_EQ(warned.exitCode, 0) << warned.err;
    EXPECT_EQ(warned.err.rfind(
                  "quorim: warning: The radio's memory was read, but its backup could not be stored", 0),
              0u)
        << warned.err;
    EXPECT_EQ(Load(dir.File("d.szt")), Load(dir.File("a.szt")));
}

TEST(BackupE2E, OutputThatCannotBeSavedPointsToTheBackup) {
    TempDir dir;
    VirtualRadio radio({});
    // The output's folder goes away while the radio is read.
    std::filesystem::create_directories(dir.File("gone"));
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("gone/out.szt")},
                          {"XDG_DATA_HOME=" + dir.File("data")}, [&](pid_t) {
                              std::this_thread::sleep_for(std::chrono::milliseconds(300));
                              std::filesystem::remove_all(dir.File("gone"));
                          });
    EXPECT_EQ(r.exitCode, 1);
    const auto backups = BackupsIn(dir.File("data"));
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(r.err.find("the memory as read is kept in \"" + backups[0].string() + "\""), std::string::npos)
        << r.err;
}

TEST(CliE2E, UsageErrorsAndUnusableOutput) {
    EXPECT_EQ(RunCli({"read", "--out", "x.szt"}).exitCode, 2);
    EXPECT_EQ(RunCli({"read", "--port", "COM1"}).exitCode, 2);
    EXPECT_EQ(RunCli({"read", "--port", "COM1", "--out", "x", "--model", "17"}).exitCode, 2);
    EXPECT_EQ(RunCli({"read", "--port", "COM1", "--out", "x", "--retry", "-1"}).exitCode, 2);
    EXPECT_EQ(RunCli({"write", "--port", "COM1"}).exitCode, 2);
    EXPECT_EQ(RunCli({"write", "a.szt", "b.szt", "--port", "COM1"}).exitCode, 2);
    const auto noFolder = RunCli({"read", "--port", "/dev/null", "--out", "/nonexistent-folder/x.szt"});
    EXPECT_EQ(noFolder.exitCode, 1);
    const auto noFile = RunCli({"write", "--port", "/dev/null", "/nonexistent-folder/x.szt"});
    EXPECT_EQ(noFile.exitCode, 1);
}

}  // namespace
}  // namespace quorim::e2e

namespace quorim::e2e {
namespace {

// A 199-channel read back takes about ten seconds.
TEST(SlowE2E, VerifiedWriteOfTheNinetyNineChannelLayout) {
    TempDir dir;
    VirtualRadio radio({"--model", "199"});
    const auto w = RunCli({"write", "--port", radio.Path(), MakeEditedFile(dir, true), "--verify"});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    EXPECT_EQ(w.out, "Verified: the radio holds the 3216 bytes written (bytes 0-3215)\n");
}

// Fifteen silent wake-ups cost two read time-outs each (about 18 s).
TEST(SlowE2E, SilentRadioGetsFifteenAttemptsThenThePrompt) {
    TempDir dir;
    VirtualRadio radio({"--silent", "all"});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, std::string(kMsgCommunicationError) + "\n");
    EXPECT_GT(r.seconds, 15 * 1.18);
    EXPECT_LT(r.seconds, 15 * 1.18 + 3);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

}  // namespace
}  // namespace quorim::e2e

namespace quorim::e2e {
namespace {

// The program sends nothing to end a transfer. At 9600 baud a radio that took
// the next opening's "PROGRA" for a read command would still be answering it
// when the program reads the ACK, and every attempt would fail.
TEST(SlowE2E, PacedRadioTakesTheNextTransferStraightAfterARead) {
    TempDir dir;
    const std::string file = MakeEditedFile(dir, false);
    VirtualRadio radio({"--pace", "--save", dir.File("radio.szt")});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("first.szt")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto w = RunCli({"write", "--port", radio.Path(), file});
    EXPECT_EQ(w.exitCode, 0) << w.err;
    radio.Stop();
    const MemoryImage saved = Load(dir.File("radio.szt"));
    const MemoryImage expected = EncodedImageOf(file);
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 984, expected.begin()));
}

}  // namespace
}  // namespace quorim::e2e
