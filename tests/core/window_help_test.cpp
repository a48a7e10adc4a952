// The progress window's percentage and the user guide's look-ups.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/commands.h"
#include "editor/form_template.h"
#include "link/progress_template.h"
#include "ui/help_guide.h"

namespace quorim {
namespace {

TEST(ProgressPercent, WholePercentRoundedDownAndClamped) {
    const struct {
        int position, top;
        const char* text;
    } cases[] = {{0, 123, "0%"},     {61, 123, "49%"},   {122, 123, "99%"}, {123, 123, "100%"},
                 {401, 401, "100%"}, {200, 123, "100%"}, {-3, 123, "0%"},   {5, 0, "0%"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressPercentText(c.position, c.top), c.text) << c.position << "/" << c.top;
    }
}

TEST(HelpGuide, LooksBesideTheProgramThenInTheInstalledLayout) {
    EXPECT_EQ(HelpGuideCandidates("/opt/q/bin/", true),
              (std::vector<std::string>{"/opt/q/bin/help/quorim_en.html",
                                        "/opt/q/bin/../share/quorim/help/quorim_en.html"}));
    EXPECT_EQ(HelpGuideCandidates("/usr/bin", false).front(), "/usr/bin/help/quorim_zh.html");
}

TEST(HelpGuide, ControlsCommandsAndWindowsLeadToTheirSections) {
    EXPECT_EQ(HelpSectionForControl(IDC_GRID), HelpSection::Editing);
    EXPECT_EQ(HelpSectionForControl(IDC_COMBO_TONE), HelpSection::Editing);
    EXPECT_EQ(HelpSectionForControl(1016), HelpSection::Settings);  // the squelch list
    EXPECT_EQ(HelpSectionForControl(IDC_FUNCTION_GROUP), HelpSection::Contents);
    EXPECT_EQ(HelpSectionForCommand(ID_PORT_COM3), HelpSection::Ports);
    EXPECT_EQ(HelpSectionForCommand(ID_FILE_MRU_FILE4), HelpSection::Files);
    EXPECT_EQ(HelpSectionForCommand(ID_APP_ABOUT), HelpSection::Contents);
    EXPECT_EQ(HelpSectionForWindow(136), HelpSection::Tuning);
    EXPECT_EQ(HelpSectionForWindow(101), HelpSection::Contents);
}

// Both guides have every section the program opens them at.
TEST(HelpGuide, BothGuidesHoldEverySection) {
    for (const char* name : {"quorim_zh.html", "quorim_en.html"}) {
        std::ifstream in(std::string(QUORIM_SOURCE_DIR) + "/resources/help/" + name);
        ASSERT_TRUE(in) << name;
        const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (int s = static_cast<int>(HelpSection::Contents); s <= static_cast<int>(HelpSection::Cli); ++s) {
            const std::string anchor = "id=\"" + std::string(HelpAnchor(static_cast<HelpSection>(s))) + "\"";
            EXPECT_NE(html.find(anchor), std::string::npos) << name << " " << anchor;
        }
    }
}

}  // namespace
}  // namespace quorim
