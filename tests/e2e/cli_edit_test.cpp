#include <gtest/gtest.h>

#include "../core/test_util.h"
#include "e2e_util.h"

namespace quorim {
namespace {

using e2e::RunCli;

class CliEdit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunCli({"new", file}).exitCode, 0); }
    std::string Json() { return RunCli({"show", "--json", file}).out; }
    test::TempDir dir;
    const std::string file = dir.File("plan.szt");
};

TEST_F(CliEdit, EditsManyChannelsOrNothing) {
    const auto r =
        RunCli({"edit", file, "--channels", "1-3,5", "rx_tone=D023N", "rx=145.0125", "inhibit=yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string edited = Json();
    EXPECT_NE(
        edited.find(
            R"({"ch":"5","rx":"145.01250","tx":"145.01250","rx_tone":"D023N","tx_tone":"","inhibit":"是"})"),
        std::string::npos)
        << edited;
    EXPECT_NE(edited.find(R"({"ch":"4","rx":"","tx":"")"), std::string::npos);
    const auto before = test::ReadBytes(file);

    // Empty channels are left alone and counted; a range without any
    // frequency is refused.
    const auto skipped =
        RunCli({"edit", file, "--channels", "all", "tx_tone=88.5", "--out", dir.File("skip.szt")});
    EXPECT_EQ(skipped.exitCode, 0) << skipped.err;
    EXPECT_NE(skipped.err.find("跳过了 12 个没有频率的信道"), std::string::npos) << skipped.err;
    const auto empty =
        RunCli({"edit", file, "--channels", "4,6-7", "tx_tone=88.5", "--out", dir.File("e.szt")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("所选的信道都没有频率"), std::string::npos) << empty.err;

    // One refusal among good values: every refused cell named, nothing written.
    const auto refused =
        RunCli({"edit", file, "--channels", "all", "tx=145.0062", "--out", dir.File("out.szt")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("channel 5, tx (\"145.0062\"): "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("nothing written: 4 refusals"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.szt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("e.szt")));
    EXPECT_EQ(test::ReadBytes(file), before);

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"edit", file, "--channels", "17", "rx=145"},
             {"edit", file, "--channels", "1", "name=x"},
             {"edit", file, "--channels", "1", "rx=145", "rx=146"},
             {"edit", file, "rx=145"},
         }) {
        EXPECT_EQ(RunCli(args).exitCode, 2) << args[2];
    }
    EXPECT_EQ(test::ReadBytes(file), before);
}

TEST_F(CliEdit, CheckListsFindingsAndWriteCheckRefusesOnThem) {
    const std::string port = "/dev/quorim-no-such-port";
    // Clean: check is silent, and write --check goes on to the port.
    EXPECT_EQ(RunCli({"check", file}).exitCode, 0);
    EXPECT_EQ(RunCli({"write", "--check", "--port", port, file}).err.find("findings"), std::string::npos);

    ASSERT_EQ(RunCli({"edit", file, "--channels", "1,2", "rx=433.5"}).exitCode, 0);
    const auto check = RunCli({"check", file});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_EQ(check.out,
              "信道 1，接收频率：433.50000 不在所选频段 130 - 150MHZ 内\n"
              "信道 1，发射频率：433.50000 不在所选频段 130 - 150MHZ 内\n"
              "信道 2，接收频率：433.50000 不在所选频段 130 - 150MHZ 内\n"
              "信道 2，发射频率：433.50000 不在所选频段 130 - 150MHZ 内\n"
              "信道 2 与信道 1 完全相同\n");
    const auto write = RunCli({"write", "--check", "--port", port, file});
    EXPECT_EQ(write.exitCode, 1);
    EXPECT_EQ(write.out, check.out);
    EXPECT_NE(write.err.find("nothing written: the channels have findings"), std::string::npos) << write.err;
    // Without --check the write goes on (and fails here only for want of a port).
    EXPECT_EQ(RunCli({"write", "--port", port, file}).err.find("findings"), std::string::npos);
}

}  // namespace
}  // namespace quorim
