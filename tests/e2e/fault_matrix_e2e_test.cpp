// Faults of the line and the radio, end to end: the command-line tool over a
// pseudo-terminal against the virtual radio. For each: the messages, the exit
// status, the port free again, no output file and an untouched source file,
// and the time it took. (The faults of tests/e2e/radio_link_e2e_test.cpp and
// tuning_e2e_test.cpp are not repeated here.)
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "files/szt_file.h"
#include "link/clone_engine.h"
#include "link/posix_serial_port.h"
#include "link/write_verify.h"
#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"
#include "tuning/tuning_session.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

bool PortIsFree(const std::string& path) {
    PosixSerialPort port;
    return port.Open(path).Ok();
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += l + "\n";
    }
    return text;
}

std::string NewFile(const TempDir& dir, const std::string& name) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(SaveSztFile(path, NewImage()).Ok());
    return path;
}

std::vector<std::string> TuneArgs(const std::string& port) {
    return {"tune",      "--port", port,        "--item",    "squelch", "--value",   "160", "--rx",
            "435.12500", "--tx",   "435.12500", "--rx-tone", "88.5",    "--tx-tone", "OFF"};
}

struct Row {
    const char* name;
    std::vector<std::string> radioArgs;
    const char* command;  // read, write or tune
    int retries;
    std::vector<std::string> messages;
    double maxSeconds;
    bool lineSurvives;  // false: the fault takes the device away
};

// Runs one row: the command against a fresh radio, then the checks every
// failure shares.
void CheckRow(const Row& row) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const std::string source = NewFile(dir, "source.szt");
    const auto sourceBytes = test::ReadBytes(source);
    VirtualRadio radio(row.radioArgs);
    const std::string command = row.command;
    std::vector<std::string> args;
    if (command == "read") {
        args = {"read", "--port", radio.Path(), "--from", source, "--out", dir.File("out.szt")};
    } else if (command == "write") {
        args = {"write", "--port", radio.Path(), source};
    } else {
        args = TuneArgs(radio.Path());
    }
    args.insert(args.end(), {"--retry", std::to_string(row.retries)});
    const auto r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, Lines(row.messages));
    EXPECT_LT(r.seconds, row.maxSeconds);
    std::printf("    [%s] %.2f s (bound %.1f s)\n", row.name, r.seconds, row.maxSeconds);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    EXPECT_EQ(test::ReadBytes(source), sourceBytes);
    if (row.lineSurvives) {
        EXPECT_TRUE(PortIsFree(radio.Path()));
    }
}

TEST(FaultMatrixE2E, CloneLinkFaults) {
    const std::string commError = kMsgCommunicationError;
    const Row rows[] = {
        // No reply to the wake-up: the device is gone, so 15 attempts end at once.
        {"line gone at the wake-up", {"--vanish-at", "wake"}, "read", 0, {commError}, 2.0, false},
        {"line gone at the identification", {"--vanish-at", "ident"}, "read", 0, {commError}, 2.0, false},
        {"line gone at the ACK after the identification",
         {"--vanish-at", "ident-ack"},
         "write",
         0,
         {commError},
         2.0,
         false},
        // 0x15 instead of 06: the program waits 601 ms, then prompts.
        {"wrong answer to the ACK after the identification",
         {"--bad-ident-ack"},
         "read",
         1,
         {commError, commError},
         4.0,
         true},
        {"line gone in the middle of a write",
         {"--vanish", "5"},
         "write",
         0,
         {kMsgWriteBlockError},
         2.0,
         false},
        // Two bytes of noise for every byte: each attempt fails at once.
        {"garbage at every step, read", {"--garbage"}, "read", 1, {commError, commError}, 3.0, true},
        {"garbage at every step, write", {"--garbage"}, "write", 0, {commError}, 2.0, true},
        // Every answer 700 ms late, beyond the 590 ms the program waits for one byte.
        {"radio far too slow", {"--slow", "700"}, "read", 0, {commError}, 4.5, true},
    };
    for (const Row& row : rows) {
        CheckRow(row);
    }
}

TEST(FaultMatrixE2E, TuningLinkFaults) {
    const Row rows[] = {
        {"line gone in tuning mode",
         {"--vanish-at", "tune"},
         "tune",
         1,
         {kMsgTuningRetry, kMsgTuningRetry},
         3.0,
         false},
        {"garbage at every step", {"--garbage"}, "tune", 0, {kMsgTuningRetry}, 1.5, true},
        {"wrong answer to the ACK after the identification",
         {"--bad-ident-ack"},
         "tune",
         0,
         {kMsgTuningRetry},
         1.5,
         true},
        // Every answer 150 ms late: the identification is waited for 450 ms,
        // the ACK after it only 100 ms.
        {"radio far too slow", {"--slow", "150"}, "tune", 0, {kMsgTuningRetry}, 2.0, true},
    };
    for (const Row& row : rows) {
        CheckRow(row);
    }
}

// Another program holds the port: every command refuses with the open-failure
// message at once, and the other program keeps the port.
TEST(FaultMatrixE2E, PortHeldByAnotherProgram) {
    TempDir dir;
    VirtualRadio radio({});
    const std::string source = NewFile(dir, "source.szt");
    PosixSerialPort holder;
    ASSERT_TRUE(holder.Open(radio.Path()).Ok());
    // After the message, who holds it: this test, by its name and pid.
    const std::string held =
        radio.Path() + " 正被其他程序占用：quorim_e2e_test（进程号 " + std::to_string(getpid()) + "）\n";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"read", "--port", radio.Path(), "--out", dir.File("out.szt")}, kMsgCannotOpenPort},
        {{"write", "--port", radio.Path(), source, "--verify"}, kMsgCannotOpenPort},
        {TuneArgs(radio.Path()), kMsgTuningCannotOpen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const auto r = RunCli(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.message + "\n" + held);
        EXPECT_LT(r.seconds, 1.0);
        EXPECT_FALSE(PortIsFree(radio.Path()));  // still the other program's
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    holder.Close();
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

// An acknowledgement that arrives after the program stopped waiting for it
// ends that write; it must not confuse the next transfer on the same line.
TEST(FaultMatrixE2E, BytesArrivingAfterATimeOut) {
    TempDir dir;
    const std::string source = NewFile(dir, "source.szt");
    VirtualRadio radio({"--late-write", "3:800", "--save", dir.File("radio.szt")});
    const auto late = RunCli({"write", "--port", radio.Path(), source});
    EXPECT_EQ(late.exitCode, 1);
    EXPECT_EQ(late.err, std::string(kMsgWriteBlockError) + "\n");
    EXPECT_LT(late.seconds, 2.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the late 06 is on the line now
    const auto again = RunCli({"write", "--port", radio.Path(), source, "--verify"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "Verified: the radio holds the 984 bytes written (bytes 0-983)\n");

    // A tuning confirmation 300 ms late fails the attempt; the retry, after
    // its 700 ms pause, is not fooled by it.
    VirtualRadio tuner({"--tune-late", "2:300", "--tune-log", dir.File("tune.log")});
    auto args = TuneArgs(tuner.Path());
    args.insert(args.end(), {"--retry", "1"});
    const auto tune = RunCli(args);
    EXPECT_EQ(tune.exitCode, 0) << tune.err;
    EXPECT_EQ(tune.err, Lines({kMsgTuningRetry, kMsgTuningReceived}));
    std::ifstream log(dir.File("tune.log"));
    const std::string logged{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    EXPECT_EQ(logged, "tune 73 freq 00 25 51 43 00 25 51 43 setting 85 08 00 00 FB 01 01 A0\n");
}

// Ctrl+C in the middle of a read: it ends at once, closes the port, writes
// nothing and says nothing.
TEST(FaultMatrixE2E, InterruptedRead) {
    TempDir dir;
    VirtualRadio radio({});
    const auto r = RunCli({"read", "--port", radio.Path(), "--out", dir.File("out.szt")}, {}, [](pid_t pid) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        kill(pid, SIGINT);
    });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_LT(r.seconds, 1.5);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    EXPECT_TRUE(PortIsFree(radio.Path()));
}

}  // namespace
}  // namespace quorim::e2e
