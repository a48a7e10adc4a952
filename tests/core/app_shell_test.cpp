// The application shell's plain parts: command line, recent files, dialog
// units and twips.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/recent_files.h"
#include "app/shell_registration.h"
#include "base/dialog_template.h"
#include "editor/grid_units.h"

namespace quorim {
namespace {

using Kind = ShellCommand::Kind;

TEST(CommandLine, NoFileIsNewAFileIsOpenSwitchesPrint) {
    EXPECT_EQ(ParseCommandLine({}).kind, Kind::FileNew);

    const ShellCommand open = ParseCommandLine({"/home/u/radio.szt"});
    EXPECT_EQ(open.kind, Kind::FileOpen);
    EXPECT_EQ(open.file, "/home/u/radio.szt");

    for (const char* flag : {"/p", "-p", "/P", "-P"}) {
        const ShellCommand print = ParseCommandLine({flag, "a.szt"});
        EXPECT_EQ(print.kind, Kind::FilePrint) << flag;
        EXPECT_EQ(print.file, "a.szt") << flag;
    }
    const ShellCommand printTo = ParseCommandLine({"/pt", "a.szt", "Office", "drv", "port"});
    EXPECT_EQ(printTo.kind, Kind::FilePrintTo);
    EXPECT_EQ(printTo.printer, "Office");

    // An absolute path that looks like a switch is still a file; unknown
    // switches are passed over; a print switch without a file prints nothing.
    EXPECT_EQ(ParseCommandLine({"/p"}).kind, Kind::FileNew);
    EXPECT_EQ(ParseCommandLine({"/pt.szt"}).kind, Kind::FileOpen);
    EXPECT_EQ(ParseCommandLine({"-dde", "x.szt"}).file, "x.szt");
    EXPECT_EQ(ParseCommandLine({"/Embedding"}).kind, Kind::FileNew);
}

TEST(CommandLine, PrintToPdfTakesTheOutputThenTheFile) {
    const ShellCommand pdf = ParseCommandLine({"--print-to-pdf", "out.pdf", "/data/a.szt"});
    EXPECT_EQ(pdf.kind, Kind::FilePrintToPdf);
    EXPECT_EQ(pdf.output, "out.pdf");
    EXPECT_EQ(pdf.file, "/data/a.szt");
    EXPECT_TRUE(pdf.usage.empty());

    // Missing names are a usage error, never a new document or an open file.
    for (const auto& args :
         {std::vector<std::string>{"--print-to-pdf"}, std::vector<std::string>{"--print-to-pdf", "out.pdf"},
          std::vector<std::string>{"--print-to-pdf", "", "a.szt"}}) {
        const ShellCommand bad = ParseCommandLine(args);
        EXPECT_EQ(bad.kind, Kind::FilePrintToPdf) << args.size();
        EXPECT_NE(bad.usage.find("--print-to-pdf OUT.pdf FILE.szt"), std::string::npos);
    }
}

TEST(CommandLine, RegistrationSwitchesEndTheProgramInEitherScope) {
    struct Case {
        std::vector<std::string> args;
        Kind kind;
        bool allUsers;
    };
    const Case cases[] = {{{"/register"}, Kind::AppRegister, false},
                          {{"/RegServer", "/allusers"}, Kind::AppRegister, true},
                          {{"-unregister"}, Kind::AppUnregister, false},
                          {{"/allusers", "/Unregserver", "a.szt"}, Kind::AppUnregister, true}};
    for (const Case& c : cases) {
        const ShellCommand cmd = ParseCommandLine(c.args);
        EXPECT_EQ(cmd.kind, c.kind) << c.args[0];
        EXPECT_EQ(cmd.allUsers, c.allUsers) << c.args[0];
    }
}

TEST(ShellRegistration, TheDataFileOpensAndPrintsWithTheProgramThatRegistersIt) {
    const std::string exe = "C:\\Program Files\\Quorim\\tarvolin_EN.DLL";
    const std::vector<ShellValue> values = ShellRegistration(exe);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"SZT_CH.Document", "Mquori Document"},
        {"SZT_CH.Document\\DefaultIcon", exe + ",1"},
        {"SZT_CH.Document\\shell\\open\\command", "\"" + exe + "\" \"%1\""},
        {"SZT_CH.Document\\shell\\print\\command", "\"" + exe + "\" /p \"%1\""},
        {"SZT_CH.Document\\shell\\printto\\command", "\"" + exe + "\" /pt \"%1\" \"%2\" \"%3\" \"%4\""},
        {".szt", "SZT_CH.Document"}};
    ASSERT_EQ(values.size(), expected.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].key, expected[i].first);
        EXPECT_EQ(values[i].data, expected[i].second);
    }
    // Removal undoes every key written, each after its subkeys.
    const std::vector<std::string> keys = ShellRegistrationKeys();
    for (const ShellValue& v : values) {
        const auto at = std::find(keys.begin(), keys.end(), v.key);
        ASSERT_NE(at, keys.end()) << v.key;
        for (auto before = keys.begin(); before != at; ++before) {
            EXPECT_NE(v.key.rfind(*before + "\\", 0), 0u) << *before << " before its parent " << v.key;
        }
    }
}

TEST(RecentFiles, MostRecentFirstNoDuplicatesAtMostFour) {
    RecentFileList list(4);
    for (const char* p : {"/a", "/b", "/c", "/d", "/e"}) {
        list.Add(p);
    }
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/e", "/d", "/c", "/b"}));
    list.Add("/c");
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/c", "/e", "/d", "/b"}));
    list.Remove(1);
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/c", "/d", "/b"}));
    list.Remove(7);
    EXPECT_EQ(list.Size(), 3);
    EXPECT_EQ(list.At(3), "");
    list.Add("");
    EXPECT_EQ(list.Size(), 3);

    // Loaded from the profile: holes and repeats skipped, capacity kept.
    list.Load({"/x", "", "/x", "/y", "/z", "/w", "/v"});
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/x", "/y", "/z", "/w"}));
}

// Open and Save As start where the last file was opened or saved.
TEST(RecentFiles, TheLastFolderIsTheMostRecentFilesFolder) {
    RecentFileList list(4);
    EXPECT_EQ(list.LastFolder(), "");
    list.Add("/srv/radios/a.szt");
    list.Add("/home/u/fleet/b.szt");
    EXPECT_EQ(list.LastFolder(), "/home/u/fleet");
    list.Add("/c.szt");
    EXPECT_EQ(list.LastFolder(), "/");
}

TEST(RecentFiles, MenuTextNumbersShortensAndEscapes) {
    RecentFileList list(4);
    list.Add("/very/long/folder/name/that/goes/on/radio.szt");
    list.Add("/work/a&b.szt");
    list.Add("/home/u/数据.szt");
    EXPECT_EQ(list.MenuText(0, "/home/u"), "&1 数据.szt");
    EXPECT_EQ(list.MenuText(0, "/tmp"), "&1 /home/u/数据.szt");
    EXPECT_EQ(list.MenuText(1, "/tmp"), "&2 /work/a&&b.szt");
    EXPECT_EQ(list.MenuText(2, "/tmp"), "&3 /.../radio.szt");
    EXPECT_EQ(list.MenuText(3, "/tmp"), "");
    EXPECT_EQ(AbbreviatePath("/a/" + std::string(40, 'n') + ".szt", 30), std::string(40, 'n') + ".szt");
}

TEST(DialogUnits, MapAsThePlatformDoes) {
    // 9-point SimSun at 96 dpi: 6 x 12 pixel base units.
    const DialogBaseUnits simsun{6, 12};
    EXPECT_EQ(MapDialogRect({128, 20, 317, 191}, simsun), (DlgRect{192, 30, 476, 287}));
    EXPECT_EQ(DluToPixelsX(464, simsun), 696);
    EXPECT_EQ(DluToPixelsY(228, simsun), 342);
    // Rounding: half a pixel rounds up, and edges (not sizes) are mapped.
    const DialogBaseUnits odd{7, 13};
    EXPECT_EQ(DluToPixelsX(2, odd), 4);  // 3.5
    EXPECT_EQ(DluToPixelsY(4, odd), 7);  // 6.5
    EXPECT_EQ(MapDialogRect({1, 1, 1, 1}, odd), (DlgRect{2, 2, 2, 1}));
    // The average width of the 52 letters, as the platform measures it.
    EXPECT_EQ(AverageCharWidth(312), 6);
    EXPECT_EQ(AverageCharWidth(337), 6);  // 337 / 26 = 12, halved rounding up
    EXPECT_EQ(AverageCharWidth(364), 7);
}

TEST(GridUnits, TwipsAndPixelsTruncate) {
    EXPECT_EQ(TwipsToPixels(975, 96), 65);
    EXPECT_EQ(TwipsToPixels(1218, 96), 81);  // 81.2
    EXPECT_EQ(TwipsToPixels(1440, 120), 120);
    EXPECT_EQ(PixelsToTwips(65, 96), 975);
    EXPECT_EQ(PixelsToTwips(7, 120), 84);
    EXPECT_EQ(PixelsToTwips(7, 0), 0);
    EXPECT_EQ(PixelsToTwips(1, 110), 14);  // 13.09 rounds away from zero
    EXPECT_EQ(PixelsToTwips(-1, 110), -14);
}

TEST(GridUnits, PixelsSurviveTheTripThroughTwips) {
    // Cells are read in twips and editors placed from them; widths are read
    // and written back. Any screen density must give the same pixel again,
    // also left of the grid's origin (a column scrolled out of view).
    for (int ppi : {72, 96, 110, 120, 144, 157, 192, 220}) {
        for (int px = -300; px <= 3000; ++px) {
            ASSERT_EQ(TwipsToPixels(PixelsToTwips(px, ppi), ppi), px) << px << " at " << ppi;
        }
    }
}

}  // namespace
}  // namespace quorim
