// `quorim plan` and `quorim check --plan`: a licence-free service in one
// step, and a file checked against it before it goes to any radio.
#include <gtest/gtest.h>

#include "../core/test_util.h"
#include "e2e_util.h"

namespace quorim {
namespace {

using e2e::RunCli;

class CliPlan : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunCli({"new", file}).exitCode, 0); }
    test::TempDir dir;
    const std::string file = dir.File("radio.szt");
    const std::string out = dir.File("out.szt");
};

TEST_F(CliPlan, ListsAndShowsThePlans) {
    const auto list = RunCli({"plan", "list"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out.substr(0, list.out.find("frs")),
              "pmr446\t16\tPMR446（欧洲，免执照）\ncn409\t20\t公众对讲机（中国，409 MHz）\n");
    const auto json = RunCli({"plan", "show", "frs", "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.find(R"({"name":"frs",)"), 0u) << json.out;
    EXPECT_NE(json.out.find(R"("simplex":true,"bandwidth":"narrow")"), std::string::npos);
    EXPECT_NE(json.out.find(R"({"ch":8,"rx":"467.56250","tx":"467.56250"})"), std::string::npos);
    const auto text = RunCli({"plan", "show", "cn409"});
    EXPECT_NE(text.out.find("\n20\t409.98750\t409.98750\n"), std::string::npos) << text.out;

    const auto unknown = RunCli({"plan", "show", "gmrs"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("找不到频道方案 gmrs"), std::string::npos) << unknown.err;
    EXPECT_EQ(RunCli({"plan", "remove", "frs"}).exitCode, 2);
    EXPECT_EQ(RunCli({"plan", "apply", file, "frs"}).exitCode, 2);  // no --out
}

TEST_F(CliPlan, AppliesAPlanAndChecksAgainstIt) {
    const auto apply = RunCli({"plan", "apply", file, "pmr446", "--tone", "67.0", "--out", out});
    ASSERT_EQ(apply.exitCode, 0) << apply.err;
    EXPECT_EQ(apply.out,
              "已将方案 pmr446 的信道 1 至 16 写入信道 1-16\n"
              "频段已由 130 - 150MHZ 改为 430 - 450MHZ\n"
              "频带宽度已由 宽 改为 窄\n");
    const auto show = RunCli({"show", "--json", out}).out;
    EXPECT_NE(show.find(R"({"ch":"16","rx":"446.19375","tx":"446.19375","rx_tone":"67.0","tx_tone":"67.0")"),
              std::string::npos)
        << show;
    const auto clean = RunCli({"check", "--plan", "pmr446", out});
    EXPECT_EQ(clean.exitCode, 0) << clean.out;
    EXPECT_EQ(clean.out.substr(0, clean.out.find('\n')), "pmr446：与方案的信道和频带宽度相符");
    EXPECT_NE(clean.out.find("功率限制：0.5 W"), std::string::npos);
    EXPECT_EQ(RunCli({"check", "--plan", "frs", out}).exitCode, 1);

    ASSERT_EQ(RunCli({"edit", out, "--channels", "3", "rx=446.5", "tx=446.03125"}).exitCode, 0);
    const auto off = RunCli({"check", "--plan", "pmr446", out});
    EXPECT_EQ(off.exitCode, 1);
    EXPECT_EQ(off.out.substr(0, off.out.find("功率限制")),
              "信道 3，接收频率：446.50000 不是方案 pmr446 的信道频率\n"
              "信道 3：接收 446.50000 与发射 446.03125 不同，方案 pmr446 为同频单工\n");

    // Refused before any port is opened: one radio or a batch.
    for (const auto& ports : std::vector<std::vector<std::string>>{
             {"--port", "/dev/quorim-no-such-port"},
             {"--port", "/dev/quorim-no-such-port", "--port", "/dev/quorim-no-such-port-2"}}) {
        std::vector<std::string> args{"write", "--check", "--plan", "pmr446"};
        args.insert(args.end(), ports.begin(), ports.end());
        args.push_back(out);
        const auto write = RunCli(args);
        EXPECT_EQ(write.exitCode, 1);
        EXPECT_NE(write.err.find("nothing written: the channels have findings"), std::string::npos)
            << write.err;
        EXPECT_EQ(write.err.find("quorim-no-such-port"), std::string::npos) << write.err;
    }
}

TEST_F(CliPlan, AUsersListIsAPlanAndRefusalsWriteNothing) {
    ASSERT_EQ(RunCli({"edit", file, "--channels", "1", "rx=461.0375", "tx=466.0375"}).exitCode, 0);
    const std::string csv = dir.File("site.csv");
    ASSERT_EQ(RunCli({"export", file, "--out", csv}).exitCode, 0);
    const auto split = RunCli({"plan", "show", csv});
    EXPECT_NE(split.out.find("\n1\t461.03750\t466.03750\n"), std::string::npos) << split.out;
    EXPECT_EQ(RunCli({"plan", "apply", file, csv, "--channels", "2", "--out", out}).exitCode, 0);
    EXPECT_EQ(RunCli({"check", "--plan", csv, out}).exitCode, 1);  // channel 1 and 2 are the same

    for (const auto& extra : std::vector<std::vector<std::string>>{
             {"--channels", "1-3", "--from", "15"}, {"--from", "17"}, {"--tone", "abc"}}) {
        std::vector<std::string> args{"plan", "apply", file, "pmr446", "--out", dir.File("no.szt")};
        args.insert(args.end(), extra.begin(), extra.end());
        const auto r = RunCli(args);
        EXPECT_EQ(r.exitCode, 1) << extra[0];
        EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("no.szt")));
    }
}

}  // namespace
}  // namespace quorim
