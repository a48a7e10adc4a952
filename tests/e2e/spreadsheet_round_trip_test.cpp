// A channel list through a real spreadsheet: exported, opened in LibreOffice
// Calc (headless), saved as CSV the way a European desktop saves it
// (semicolons, decimal commas) and in GB18030, and imported again.
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

TEST(SpreadsheetRoundTrip, CalcSavesInAEuropeanLocaleAndInGb18030) {
    std::string soffice = FindOnPath("soffice");
    if (soffice.empty()) soffice = FindOnPath("libreoffice");
    if (soffice.empty()) {
        GTEST_SKIP()
            << "neither soffice nor libreoffice (LibreOffice) is installed: the round trip is not run";
    }
    test::TempDir dir;
    const std::string file = dir.File("plan.szt");
    ASSERT_EQ(RunCli({"new", file}).exitCode, 0);
    ASSERT_EQ(RunCli({"edit", file, "--channels", "1-8", "rx=145.0125", "rx_tone=88.5"}).exitCode, 0);
    ASSERT_EQ(
        RunCli({"edit", file, "--channels", "3-5", "tx=145.6125", "tx_tone=D023N", "inhibit=yes"}).exitCode,
        0);
    const std::string csv = dir.File("plan.csv");
    ASSERT_EQ(RunCli({"export", file, "--out", csv}).exitCode, 0);
    const std::string shown = RunCli({"show", file}).out;

    // Filter options: separator, quote, character set (76 UTF-8, 86 GB18030),
    // first line, column formats, language (1033 reads "145.01250" as a
    // number; the German desktop writes it with a decimal comma).
    const struct {
        const char* name;
        const char* options;
    } saves[] = {{"semicolons", "59,34,76,1"}, {"gb18030", "59,34,86,1"}};
    for (const auto& save : saves) {
        const std::filesystem::path out = dir.Path() / save.name;
        std::filesystem::create_directories(out);
        const auto calc = e2e::RunProgram(
            {soffice, "--headless", "--norestore", "--infilter=CSV:44,34,76,1,,1033",
             std::string("--convert-to"), std::string("csv:Text - txt - csv (StarCalc):") + save.options,
             "--outdir", out.string(), csv},
            {"HOME=" + dir.Path().string(), "LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
        ASSERT_EQ(calc.exitCode, 0) << calc.err;
        const std::string back = dir.File(std::string(save.name) + ".szt");
        const auto imported = RunCli({"import", (out / "plan.csv").string(), "--out", back});
        ASSERT_EQ(imported.exitCode, 0) << save.name << ": " << imported.err;
        EXPECT_EQ(RunCli({"show", back}).out, shown) << save.name;
    }
}

}  // namespace
}  // namespace quorim
