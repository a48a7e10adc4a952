#include <gtest/gtest.h>

#include <filesystem>

#include "../core/test_util.h"
#include "e2e_util.h"
#include "image/memory_image.h"

namespace quorim {
namespace {

using e2e::RunCli;

TEST(CliNewShow, NewDocumentShowsWhatTheFormShows) {
    test::TempDir dir;
    const std::string file = dir.File("new.szt");
    ASSERT_EQ(RunCli({"new", file}).exitCode, 0);
    const auto bytes = test::ReadBytes(file);
    ASSERT_EQ(bytes.size(), kImageSize);
    // New followed by Save: the encoded new image. Encoding writes band 0
    // (238), sets the transmit bit and clears the narrow bit (wide) of every
    // record, empty ones too.
    EXPECT_EQ(bytes[2], 238);
    EXPECT_EQ(bytes[3], '7');
    EXPECT_EQ(bytes[RowOffset(2) + 12], 0xFB);
    EXPECT_EQ(bytes[RowOffset(17) + 12], 0xFF);

    const auto text = RunCli({"show", file});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    for (const char* line : {"机型: QZ - 16\n", "频段: 130 - 150MHZ\n", "监听功能: 打开\n", "发射定时: 60s\n",
                             "报警音提示: 打开\n", "静噪等级: 4\n", "发射功率(POWER): 9\n", "频带宽度: 宽\n",
                             "\n1\t\t\t\t\t\n", "\n16\t\t\t\t\t\n"}) {
        EXPECT_NE(text.out.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(text.out.find("\n17\t"), std::string::npos);

    const auto json = RunCli({"show", "--json", file});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_EQ(
        json.out.rfind(
            "{\"model\":\"QZ - 16\",\"band\":\"130 - 150MHZ\",\"monitor\":\"打开\",\"tot\":\"60s\","
            "\"alarm\":\"打开\",\"squelch\":\"4\",\"power\":\"9\",\"bandwidth\":\"宽\",\"channels\":"
            "[{\"ch\":\"1\",\"rx\":\"\",\"tx\":\"\",\"rx_tone\":\"\",\"tx_tone\":\"\",\"inhibit\":\"\"},",
            0),
        0u)
        << json.out;
}

TEST(CliNewShow, Model199) {
    test::TempDir dir;
    const std::string file = dir.File("n199.szt");
    ASSERT_EQ(RunCli({"new", "--model", "199", file}).exitCode, 0);
    EXPECT_EQ(test::ReadBytes(file)[3], '8');
    const auto json = RunCli({"show", "--json", file});
    EXPECT_NE(json.out.find("\"model\":\"QZ - 199\""), std::string::npos);
    EXPECT_NE(json.out.find("{\"ch\":\"199\""), std::string::npos);
    EXPECT_EQ(json.out.find("{\"ch\":\"200\""), std::string::npos);
}

TEST(CliNewShow, BadInputIsRefusedClearly) {
    test::TempDir dir;
    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"show"}).exitCode, 2);
    EXPECT_EQ(RunCli({"show", "--xml", "a.szt"}).exitCode, 2);
    EXPECT_EQ(RunCli({"new", "--model", "17", dir.File("x.szt")}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.szt")));
    EXPECT_EQ(RunCli({"frobnicate"}).exitCode, 2);

    test::WriteBytes(dir.File("short.szt"), std::vector<unsigned char>(100, 0));
    const auto shortFile = RunCli({"show", dir.File("short.szt")});
    EXPECT_EQ(shortFile.exitCode, 1);
    EXPECT_NE(shortFile.err.find("short.szt"), std::string::npos);
    EXPECT_NE(shortFile.err.find("100 bytes"), std::string::npos);
    EXPECT_TRUE(shortFile.out.empty());

    EXPECT_EQ(RunCli({"show", dir.File("missing.szt")}).exitCode, 1);
    const auto noDir = RunCli({"new", dir.File("none/x.szt")});
    EXPECT_EQ(noDir.exitCode, 1);
    EXPECT_NE(noDir.err.find("x.szt"), std::string::npos);
}

}  // namespace
}  // namespace quorim

namespace quorim {
namespace {

TEST(CliDiff, ExitStatusTellsSameDifferentOrTrouble) {
    test::TempDir dir;
    const std::string a = dir.File("a.szt"), b = dir.File("b.szt");
    ASSERT_EQ(e2e::RunCli({"new", a}).exitCode, 0);
    ASSERT_EQ(e2e::RunCli({"new", "--model", "199", b}).exitCode, 0);
    const auto same = e2e::RunCli({"diff", a, a});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.out, "no differences\n");
    const auto different = e2e::RunCli({"diff", a, b});
    EXPECT_EQ(different.exitCode, 1);
    EXPECT_NE(different.out.find("机型: QZ - 16 -> QZ - 199\n"), std::string::npos) << different.out;
    EXPECT_EQ(e2e::RunCli({"diff", a}).exitCode, 2);
    const auto missing = e2e::RunCli({"diff", a, dir.File("none.szt")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("none.szt"), std::string::npos);
}

}  // namespace
}  // namespace quorim
