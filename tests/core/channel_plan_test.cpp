// Channel plans: the built-in lists against the published channel tables,
// a user's list from its CSV export, and a plan applied to and checked
// against the editor's table.
#include "editor/channel_plan.h"

#include <gtest/gtest.h>

#include "editor/cell_rules.h"
#include "editor/channel_csv.h"
#include "editor/codec.h"
#include "editor/plan_apply.h"
#include "tests/core/test_util.h"
#include "text/ascii_text.h"

namespace quorim {
namespace {

std::string Mhz(long long count) {
    return count == 0 ? "" : FixedDecimalText(count, 5);
}

const ChannelPlan& Plan(std::string_view name) {
    for (const ChannelPlan& p : BuiltInPlans()) {
        if (p.name == name) return p;
    }
    throw std::runtime_error("no plan");
}

// Known answers from the regulations cited in each plan's file: the count,
// and the channel numbers where a list starts, turns or ends.
TEST(ChannelPlan, BuiltInListsAreThePublishedChannels) {
    struct Known {
        std::string_view plan;
        std::size_t count;
        std::vector<std::pair<int, std::string>> channels;
    };
    const Known known[] = {
        {"pmr446",
         16,
         {{1, "446.00625"}, {2, "446.01875"}, {8, "446.09375"}, {9, "446.10625"}, {16, "446.19375"}}},
        {"cn409", 20, {{1, "409.75000"}, {2, "409.76250"}, {10, "409.86250"}, {20, "409.98750"}}},
        {"frs",
         22,
         {{1, "462.56250"},
          {7, "462.71250"},
          {8, "467.56250"},
          {14, "467.71250"},
          {15, "462.55000"},
          {22, "462.72500"}}},
    };
    for (const Known& k : known) {
        const ChannelPlan& p = Plan(k.plan);
        ASSERT_EQ(p.channels.size(), k.count) << k.plan;
        for (const auto& [ch, rx] : k.channels)
            EXPECT_EQ(Mhz(p.channels[ch - 1].rx), rx) << k.plan << " " << ch;
        // Simplex, narrow, the rules' power in words and the regulation named.
        EXPECT_TRUE(p.simplex);
        EXPECT_EQ(p.bandwidth, PlanBandwidth::Narrow);
        EXPECT_FALSE(p.powerLimit.empty());
        EXPECT_FALSE(p.source.empty());
        for (std::size_t i = 0; i < p.channels.size(); ++i) {
            EXPECT_EQ(p.channels[i].tx, p.channels[i].rx) << k.plan << " " << i + 1;
            // Inside each group the channels are one raster step apart.
            if (i > 0 && !(k.plan == "frs" && (i == 7 || i == 14))) {
                EXPECT_EQ(p.channels[i].rx - p.channels[i - 1].rx, k.plan == "frs" ? 2500 : 1250)
                    << k.plan << " " << i + 1;
            }
        }
    }
    EXPECT_NE(Plan("frs").powerLimit.find("8-14"), std::string::npos);
}

// A new 16-channel document, as `quorim new` makes it.
struct Table {
    DocumentData doc;
    EditorModel editor;
    explicit Table(RadioModel model = RadioModel::Qz16) {
        doc.OnNewDocument();
        InitialUpdateEditor(doc, editor);
        if (model == RadioModel::Qz199) {
            editor.SetCurSel(SettingsList::Model, 1);
            editor.SetRows(kRows199);
        }
    }
    std::string At(int ch, int col) const { return editor.TextMatrix(ch, col); }
};

TEST(ChannelPlan, UserPlanComesFromTheCsvExport) {
    Table t;
    ASSERT_EQ(TypeCellText(t.editor, 1, kColRxFreq, "151.625"), "");
    ASSERT_EQ(TypeCellText(t.editor, 2, kColRxFreq, "461.0375"), "");
    ASSERT_EQ(TypeCellText(t.editor, 2, kColTxFreq, "466.0375"), "");
    t.editor.SetCurSel(SettingsList::Bandwidth, 0);
    test::TempDir dir;
    test::WriteText(dir.File("site.csv"), ExportCsv(t.editor, CsvLayout::Quorim).text);

    const PlanLoad load = LoadPlan(dir.File("site.csv"), {});
    ASSERT_TRUE(load.Ok()) << load.detail;
    EXPECT_EQ(load.plan.name, "site");
    EXPECT_EQ(load.plan.channels, (std::vector<PlanChannel>{{15162500, 15162500}, {46103750, 46603750}}));
    EXPECT_FALSE(load.plan.simplex);
    EXPECT_EQ(load.plan.bandwidth, PlanBandwidth::Wide);
    // By its stem from the plan folder, which lists it beside the built-in
    // ones; a stem a built-in plan has is listed by its path.
    test::WriteText(dir.File("pmr446.csv"), ExportCsv(t.editor, CsvLayout::Quorim).text);
    test::WriteText(dir.File("notes.txt"), "x");
    EXPECT_TRUE(LoadPlan("site", dir.Path().string()).Ok());
    EXPECT_EQ(LoadPlan("pmr446", dir.Path().string()).plan.path, "");
    std::vector<std::string> names;
    for (const PlanListing& p : ListPlans(dir.Path().string())) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::string>{"pmr446", "cn409", "frs", dir.File("pmr446.csv"), "site"}));

    EXPECT_EQ(LoadPlan("nowhere", dir.Path().string()).problem, PlanLoadProblem::Unknown);
    test::WriteText(dir.File("bad.csv"), "信道,接收频率\n1,145.0001\n");
    EXPECT_EQ(LoadPlan("bad", dir.Path().string()).problem, PlanLoadProblem::NotAList);
    Table empty;
    EXPECT_EQ(PlanFromCsv(ExportCsv(empty.editor, CsvLayout::Quorim).text, "e.csv").problem,
              PlanLoadProblem::NoChannels);
}

TEST(ChannelPlan, ApplyFillsChannelsBandwidthAndBandInOneGo) {
    Table t;
    ASSERT_EQ(TypeCellText(t.editor, 3, kColRxFreq, "145.5"), "");
    ASSERT_EQ(TypeCellText(t.editor, 3, kColRxTone, "88.5"), "");
    t.editor.SetCurSel(SettingsList::Bandwidth, 0);
    const PlanApplyResult r = ApplyPlan(t.editor, Plan("pmr446"), {});
    ASSERT_TRUE(r.edit.ok);
    EXPECT_EQ(r.edit.channels.size(), 16u);
    EXPECT_EQ(t.At(16, kColRxFreq), "446.19375");
    EXPECT_EQ(t.At(16, kColTxFreq), "446.19375");
    // A new channel gets "OFF"; a channel that had a tone keeps it.
    EXPECT_EQ(t.At(1, kColRxTone), "OFF");
    EXPECT_EQ(t.At(3, kColRxTone), "88.5");
    EXPECT_EQ(t.editor.SelectedText(SettingsList::Bandwidth), "窄");
    EXPECT_EQ(t.editor.SelectedText(SettingsList::Band), "430 - 450MHZ");
    EXPECT_EQ(
        FormatApplyResult(r, Plan("pmr446"), {}, ChineseTexts()),
        (std::vector<std::string>{"已将方案 pmr446 的信道 1 至 16 写入信道 1-16",
                                  "频段已由 130 - 150MHZ 改为 430 - 450MHZ", "频带宽度已由 宽 改为 窄"}));
    EXPECT_TRUE(CheckAgainstPlan(t.editor, Plan("pmr446")).empty());

    // The plan's channels 9 on into chosen channels, with one tone for both sides.
    const PlanApplyOptions part{{2, 5}, 9, "D023N"};
    ASSERT_TRUE(ApplyPlan(t.editor, Plan("pmr446"), part).edit.ok);
    EXPECT_EQ(t.At(5, kColRxFreq), "446.11875");
    EXPECT_EQ(t.At(5, kColTxTone), "D023N");
    EXPECT_EQ(t.At(4, kColRxFreq), "446.04375");

    // Refusals change nothing.
    const EditorState before = CaptureState(t.doc, t.editor);
    struct Refused {
        PlanApplyOptions options;
        PlanApplyProblem problem;
    };
    for (const Refused& c : {Refused{{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 9, ""}, PlanApplyProblem::TooFew},
                             Refused{{{}, 17, ""}, PlanApplyProblem::FromOutside},
                             Refused{{{}, 1, "abc"}, PlanApplyProblem::Refused}}) {
        const PlanApplyResult refused = ApplyPlan(t.editor, Plan("pmr446"), c.options);
        EXPECT_FALSE(refused.edit.ok);
        EXPECT_EQ(refused.problem, c.problem);
        EXPECT_TRUE(EditStep(before, CaptureState(t.doc, t.editor)).Empty());
    }
}

TEST(ChannelPlan, ApplyToTheLargerRadioFillsOnlyThePlansChannels) {
    Table t(RadioModel::Qz199);
    ASSERT_TRUE(ApplyPlan(t.editor, Plan("frs"), {}).edit.ok);
    EXPECT_EQ(t.At(22, kColRxFreq), "462.72500");
    EXPECT_EQ(t.At(23, kColRxFreq), "");
    EXPECT_EQ(t.editor.SelectedText(SettingsList::Band), "450 - 470MHZ");
}

TEST(ChannelPlan, CheckNamesWhatIsOffThePlan) {
    Table t;
    const ChannelPlan& plan = Plan("cn409");
    ASSERT_TRUE(ApplyPlan(t.editor, plan, {}).edit.ok);
    ASSERT_EQ(TypeCellText(t.editor, 2, kColRxFreq, "409.74375"), "");  // one step below channel 1
    ASSERT_EQ(TypeCellText(t.editor, 3, kColTxFreq, "409.7875"), "");   // another of the plan's channels
    t.editor.SetCurSel(SettingsList::Bandwidth, 0);
    t.editor.SetCurSel(SettingsList::Band, 0);
    const std::vector<PlanFinding> findings = CheckAgainstPlan(t.editor, plan);
    EXPECT_EQ(findings, (std::vector<PlanFinding>{{PlanFindingKind::NotInPlan, 2, kColRxFreq},
                                                  {PlanFindingKind::Split, 2, kColTxFreq},
                                                  {PlanFindingKind::Split, 3, kColTxFreq},
                                                  {PlanFindingKind::Bandwidth, 0, 0},
                                                  {PlanFindingKind::Band, 0, 0}}));
    EXPECT_EQ(FormatPlanFinding(findings[0], t.editor, plan, ChineseTexts()),
              "信道 2，接收频率：409.74375 不是方案 cn409 的信道频率");
    EXPECT_EQ(FormatPlanFinding(findings[3], t.editor, plan, ChineseTexts()),
              "频带宽度为“宽”，方案 cn409 要求窄带（12.5 kHz）");
    // Found or not, the power limit is told, never checked, and the equipment's part said.
    EXPECT_EQ(PlanCheckNotes(false, plan, ChineseTexts()).front(), "cn409：与方案的信道和频带宽度相符");
    EXPECT_EQ(PlanCheckNotes(true, plan, ChineseTexts()).size(), 2u);

    // A plan with splits wants the pair; a receive-only channel its receive side.
    ChannelPlan site;
    site.name = "site";
    site.simplex = false;
    site.bandwidth = PlanBandwidth::Any;
    site.channels = {{46103750, 46603750}};
    Table d;
    ASSERT_EQ(TypeCellText(d.editor, 1, kColRxFreq, "461.0375"), "");
    d.editor.SetCurSel(SettingsList::Band, 6);
    EXPECT_EQ(CheckAgainstPlan(d.editor, site),
              (std::vector<PlanFinding>{{PlanFindingKind::NotInPlan, 1, kColTxFreq}}));
    ASSERT_EQ(TypeCellText(d.editor, 1, kColTxFreq, "466.0375"), "");
    EXPECT_TRUE(CheckAgainstPlan(d.editor, site).empty());
}

}  // namespace
}  // namespace quorim
