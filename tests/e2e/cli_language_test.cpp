// The command line speaks the locale's language, with the English of the
// English window; the machine contracts and the files stay as they are.
#include <gtest/gtest.h>

#include "../core/test_util.h"
#include "e2e_util.h"
#include "link/clone_engine.h"

namespace quorim::e2e {
namespace {

class CliLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RunCli({"new", file}).exitCode, 0);
        ASSERT_EQ(RunCli({"edit", file, "--channels", "1,2", "rx=145.0125", "rx_tone=88.5"}).exitCode, 0);
        ASSERT_EQ(RunCli({"new", "--model", "199", other}).exitCode, 0);
    }
    static ProcessResult English(const std::vector<std::string>& args) {
        return RunCli(args, kEnglishLocale);
    }
    test::TempDir dir;
    const std::string file = dir.File("a.szt");
    const std::string other = dir.File("b.szt");
};

TEST_F(CliLanguage, LocaleVariablesAndLangOptionChoose) {
    const struct {
        std::vector<std::string> env;
        std::vector<std::string> lang;
        bool chinese;
    } rows[] = {
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=zh_CN.UTF-8"}, {}, true},
        {{"LC_ALL=", "LC_MESSAGES=", "LANG=de_DE.UTF-8"}, {}, false},
        {{"LC_ALL=C", "LC_MESSAGES=zh_CN.UTF-8", "LANG=zh_CN.UTF-8"}, {}, false},  // LC_ALL first
        {{"LC_ALL=", "LC_MESSAGES=zh_TW.UTF-8", "LANG=en_US.UTF-8"}, {}, true},
        {{"LC_ALL=", "LC_MESSAGES=", "LANG="}, {}, false},
        {kEnglishLocale, {"--lang", "zh"}, true},
        {kChineseLocale, {"--lang", "en"}, false},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = row.lang;
        args.insert(args.end(), {"show", file});
        const auto r = RunCli(args, row.env);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out.rfind(row.chinese ? "机型: QZ - 16\n" : "Model: QZ - 16\n", 0), 0u)
            << row.env[0] << row.env[1] << row.env[2];
    }
    EXPECT_EQ(RunCli({"--lang", "fr", "show", file}).exitCode, 2);
    EXPECT_EQ(RunCli({"show", file, "--lang"}).exitCode, 2);
}

TEST_F(CliLanguage, EnglishTextsAreTheEnglishWindows) {
    const auto show = English({"show", file});
    for (const char* line :
         {"Monitor: On\n", "Bandwidth: Wide\n", "CH\tRX Freq\tTX Freq\tRX Tone\tTX Tone\tTX Inhibit\n",
          "\n1\t145.01250\t145.01250\t88.5\t\tNo\n"}) {
        EXPECT_NE(show.out.find(line), std::string::npos) << line << show.out;
    }
    const auto diff = English({"diff", file, other});
    EXPECT_NE(diff.out.find("Model: QZ - 16 -> QZ - 199\nCH 1 RX Freq: 145.01250 -> (empty)\n"),
              std::string::npos)
        << diff.out;
    EXPECT_NE(diff.out.find("CH 1 TX Inhibit: No -> (empty)\n"), std::string::npos) << diff.out;
    EXPECT_EQ(English({"check", file}).out, "Channel 2 is exactly the same as channel 1\n");
    const auto refused = English({"edit", file, "--channels", "3", "tx_tone=88.5"});
    EXPECT_NE(refused.err.find("None of the selected channels has a frequency; nothing was changed.\n"),
              std::string::npos)
        << refused.err;
    const auto csv = English({"export", file});
    EXPECT_EQ(
        csv.out.rfind("\xEF\xBB\xBF"
                      "CH,RX Freq,TX Freq,RX Tone,TX Tone,TX Inhibit\r\n1,145.01250,145.01250,88.5,,No\r\n",
                      0),
        0u)
        << csv.out;
    EXPECT_NE(csv.out.find("\r\nMonitor,On\r\n"), std::string::npos);
    // A port that is not there: the link's own message stays, the reason is English.
    const auto port = English({"read", "--port", dir.File("ttyUSB9"), "--out", dir.File("r.szt")});
    // Under Wine the program is given the COM name the path goes by.
    const std::string device = std::getenv("QUORIM_WIN_BUILD") == nullptr ? dir.File("ttyUSB9") : "COM";
    EXPECT_EQ(port.err.rfind(std::string(kMsgCannotOpenPort) + "\nNo device " + device, 0), 0u) << port.err;
    EXPECT_TRUE(port.err.ends_with(" is connected now.\n")) << port.err;
}

// `show --json` is a machine contract, and what a file holds is the radio's.
TEST_F(CliLanguage, JsonAndFilesDoNotChangeWithTheLanguage) {
    EXPECT_EQ(English({"show", "--json", file}).out, RunCli({"show", "--json", file}).out);
    ASSERT_EQ(English({"new", dir.File("en.szt")}).exitCode, 0);
    ASSERT_EQ(RunCli({"new", dir.File("zh.szt")}).exitCode, 0);
    EXPECT_EQ(test::ReadBytes(dir.File("en.szt")), test::ReadBytes(dir.File("zh.szt")));
    // An English export imports into the same file as the Chinese one does.
    ASSERT_EQ(English({"export", file, "--out", dir.File("en.csv")}).exitCode, 0);
    const auto imported =
        RunCli({"import", dir.File("en.csv"), "--into", file, "--out", dir.File("back.szt")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(test::ReadBytes(dir.File("back.szt")), test::ReadBytes(file));
}

TEST_F(CliLanguage, RadioOfTheOtherModelIsRefusedInTheLocalesLanguage) {
    VirtualRadio radio({"--model", "199"});
    for (const bool english : {false, true}) {
        const auto r =
            RunCli({"write", "--port", radio.Path(), file}, english ? kEnglishLocale : kChineseLocale);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(WrongRadioModelMessage(english ? EnglishTexts() : ChineseTexts(), false, true)),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(WrongRadioModelMessage(EnglishTexts(), false, true),
              "The radio is a QZ - 199 but the document is for a QZ - 16; nothing was written.");
}

}  // namespace
}  // namespace quorim::e2e
