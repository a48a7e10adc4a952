// A channel list through a real spreadsheet: exported in Chinese and in
// English, opened in LibreOffice Calc (headless), saved as CSV the way a
// European desktop saves it (semicolons, decimal commas), in GB18030, and
// imported again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "../core/test_util.h"
#include "e2e_util.h"

namespace quorim {
namespace {

using e2e::RunCli;

std::string FindOnPath(const std::string& name) {
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');) {
        const std::filesystem::path p = std::filesystem::path(dir) / name;
        if (std::filesystem::exists(p)) return p.string();
    }
    return {};
}

TEST(SpreadsheetRoundTrip, CalcSavesInAEuropeanLocaleInGb18030BothLanguages) {
    std::string soffice = FindOnPath("soffice");
    if (soffice.empty()) soffice = FindOnPath("libreoffice");
    if (soffice.empty()) {
        GTEST_SKIP()
            << "neither soffice nor libreoffice (LibreOffice) is installed: the round trip is not run "
               "(scripts/setup.sh installs libreoffice-calc-nogui)";
    }
    test::TempDir dir;
    const std::string file = dir.File("plan.szt");
    ASSERT_EQ(RunCli({"new", file}).exitCode, 0);
    ASSERT_EQ(RunCli({"edit", file, "--channels", "1-8", "rx=145.0125", "rx_tone=88.5"}).exitCode, 0);
    ASSERT_EQ(
        RunCli({"edit", file, "--channels", "3-5", "tx=145.6125", "tx_tone=D023N", "inhibit=yes"}).exitCode,
        0);
    const std::string zh = dir.File("plan_zh.csv"), en = dir.File("plan_en.csv");
    ASSERT_EQ(RunCli({"export", file, "--out", zh}).exitCode, 0);
    ASSERT_EQ(RunCli({"export", file, "--out", en}, e2e::kEnglishLocale).exitCode, 0);

    // One start of Calc saves both. Filter options: separator (59 ";"),
    // quote, character set (76 UTF-8, 85 GB18030; 86 would be Big5-HKSCS),
    // first line, column formats, language (1033 reads "145.01250" as a
    // number; the German desktop writes it back with a decimal comma).
    const std::filesystem::path out = dir.Path() / "saved";
    std::filesystem::create_directories(out);
    const auto calc = e2e::RunProgram(
        {soffice, "--headless", "--norestore", "--infilter=CSV:44,34,76,1,,1033", "--convert-to",
         "csv:Text - txt - csv (StarCalc):59,34,85,1", "--outdir", out.string(), zh, en},
        {"HOME=" + dir.Path().string(), "LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    ASSERT_EQ(calc.exitCode, 0) << calc.err;
    const auto saved = test::ReadBytes(out / "plan_zh.csv");
    const std::string text(saved.begin(), saved.end());
    EXPECT_EQ(text.rfind("\"\xD0\xC5\xB5\xC0\";", 0), 0u) << text.substr(0, 40);  // "信道" in GB18030
    EXPECT_NE(text.find("\n1;145,0125;145,0125;88,5;"), std::string::npos) << text;
    const auto english = test::ReadBytes(out / "plan_en.csv");
    EXPECT_EQ(std::string(english.begin(), english.end()).rfind("\"CH\";\"RX Freq\";", 0), 0u);

    for (const char* name : {"plan_zh.csv", "plan_en.csv"}) {
        const std::string back = dir.File(std::string(name) + ".szt");
        const auto imported = RunCli({"import", (out / name).string(), "--into", file, "--out", back});
        ASSERT_EQ(imported.exitCode, 0) << name << ": " << imported.err;
        EXPECT_EQ(test::ReadBytes(back), test::ReadBytes(file)) << name;
    }
}

}  // namespace
}  // namespace quorim
