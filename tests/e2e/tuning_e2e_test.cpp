#include <gtest/gtest.h>

#include <fstream>

#include "tests/core/test_util.h"
#include "tests/e2e/e2e_util.h"
#include "tuning/tuning_session.h"

namespace quorim::e2e {
namespace {

using test::TempDir;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> WorkedExample(const std::string& port) {
    return {"tune",      "--port", port,        "--item",    "squelch", "--value",   "160", "--rx",
            "435.12500", "--tx",   "435.12500", "--rx-tone", "88.5",    "--tx-tone", "OFF"};
}

TEST(TuneE2E, DeliversTheFramesOfTheWorkedExample) {
    TempDir dir;
    VirtualRadio radio({"--tune-log", dir.File("tune.log")});
    const auto r = RunCli(WorkedExample(radio.Path()));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, std::string(kMsgTuningReceived) + "\n");
    EXPECT_EQ(ReadText(dir.File("tune.log")),
              "tune 73 freq 00 25 51 43 00 25 51 43 setting 85 08 00 00 FB 01 01 A0\n");
    // Each item its selector, and a second session opens afresh.
    const auto power = RunCli({"tune", "--port", radio.Path(), "--item", "power", "--value", "47",
                               "--rx-tone", "D023N", "--tx-tone", "254.1"});
    EXPECT_EQ(power.exitCode, 0) << power.err;
    EXPECT_EQ(ReadText(dir.File("tune.log")),
              "tune 73 freq 00 25 51 43 00 25 51 43 setting 85 08 00 00 FB 01 01 A0\n"
              "tune 74 freq 00 00 00 00 00 00 00 00 setting 00 00 41 25 FB 01 01 2F\n");
}

TEST(TuneE2E, SilentRadioWithOneRetryGivesTwoAttempts) {
    VirtualRadio radio({"--silent", "all"});
    auto args = WorkedExample(radio.Path());
    args.insert(args.end(), {"--retry", "1"});
    const auto r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, std::string(kMsgTuningRetry) + "\n" + kMsgTuningRetry + "\n");
    // Two attempts of 700 ms + 7 ms + two 100 ms reads.
    EXPECT_GT(r.seconds, 2 * 0.9);
    EXPECT_LT(r.seconds, 2 * 0.9 + 1.5);
}

TEST(TuneE2E, FaultsAndRefusals) {
    struct Case {
        const char* name;
        std::vector<std::string> radioArgs;
        int exitCode;
    };
    const Case cases[] = {
        {"one stray byte", {"--stray", "1"}, 0},
        {"two stray bytes", {"--stray", "2"}, 1},
        {"wrong confirmation of the header", {"--tune-bad-confirm", "1"}, 1},
        {"wrong confirmation of the setting frame", {"--tune-bad-confirm", "3"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualRadio radio(c.radioArgs);
        const auto r = RunCli(WorkedExample(radio.Path()));
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.err, std::string(c.exitCode == 0 ? kMsgTuningReceived : kMsgTuningRetry) + "\n");
    }

    TempDir dir;
    VirtualRadio radio({"--tune-log", dir.File("tune.log")});
    auto args = WorkedExample(radio.Path());
    args[10] = "1000";  // --tx
    const auto refused = RunCli(args);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("发射频率"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadText(dir.File("tune.log")), "");

    const auto missing = RunCli(WorkedExample("/dev/quorim-no-such-port"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err,
              std::string(kMsgTuningCannotOpen) + "\n当前没有连接 /dev/quorim-no-such-port 设备\n");
}

TEST(TuneE2E, UsageErrors) {
    EXPECT_EQ(RunCli({"tune", "--port", "COM1", "--item", "volume", "--value", "1"}).exitCode, 2);
    EXPECT_EQ(RunCli({"tune", "--port", "COM1", "--item", "power", "--value", "256"}).exitCode, 2);
    EXPECT_EQ(RunCli({"tune", "--port", "COM1", "--item", "power"}).exitCode, 2);
    EXPECT_EQ(RunCli({"tune", "--item", "power", "--value", "1"}).exitCode, 2);
    EXPECT_EQ(
        RunCli({"tune", "--port", "COM1", "--item", "power", "--value", "1", "--rx-tone", "88.4"}).exitCode,
        2);
}

}  // namespace
}  // namespace quorim::e2e
