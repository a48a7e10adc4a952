#include "editor/bulk_edit.h"

#include <gtest/gtest.h>

#include "editor/cell_rules.h"
#include "editor/channel_check.h"
#include "editor/codec.h"

namespace quorim {
namespace {

// A new 16-channel document with channels 1-3 on 145.000, 145.025, 145.050 MHz.
struct Grid {
    DocumentData doc;
    EditorModel editor;
    Grid() {
        doc.OnNewDocument();
        InitialUpdateEditor(doc, editor);
        for (int ch = 1; ch <= 3; ++ch) {
            EXPECT_EQ(TypeCellText(editor, ch, kColRxFreq, "145.0" + std::to_string(25 * (ch - 1))), "");
        }
    }
    std::string At(int ch, int col) const { return editor.TextMatrix(ch, col); }
    std::vector<std::string> Column(int col, int from, int to) const {
        std::vector<std::string> out;
        for (int ch = from; ch <= to; ++ch) out.push_back(At(ch, col));
        return out;
    }
};

TEST(BulkEdit, SetTypesEveryValueThroughTheCellRules) {
    Grid g;
    const EditResult r = SetChannelValues(
        g.editor, {1, 2, 3, 4}, {{kColInhibit, "yes"}, {kColRxTone, "88.55"}, {kColRxFreq, "433.5"}});
    ASSERT_TRUE(r.ok);
    // Receive first: channel 4 is new and takes the defaults, then its tone.
    EXPECT_EQ(g.Column(kColRxFreq, 1, 4), std::vector<std::string>(4, "433.50000"));
    EXPECT_EQ(g.Column(kColRxTone, 1, 4), std::vector<std::string>(4, "88.6"));
    EXPECT_EQ(g.Column(kColInhibit, 1, 4), std::vector<std::string>(4, "是"));
    EXPECT_EQ(g.At(4, kColTxFreq), "433.50000");
}

TEST(BulkEdit, AnyRefusalChangesNothingAndListsEveryCell) {
    struct Case {
        const char* name;
        std::function<EditResult(EditorModel&)> edit;
        std::vector<CellRefusal> refusals;
    };
    const Case cases[] = {
        {"a tone where no channel has a frequency",
         [](EditorModel& e) {
             return SetChannelValues(e, {4, 5}, {{kColTxTone, "D023N"}});
         },
         {}},
        {"off the step",
         [](EditorModel& e) {
             return SetChannelValues(e, {1, 2}, {{kColTxFreq, "145.0062"}});
         },
         {{1, kColTxFreq, "145.0062", kMsgFrequencyStep}, {2, kColTxFreq, "145.0062", kMsgFrequencyStep}}},
        {"a decimal comma",
         [](EditorModel& e) {
             return SetChannelValues(e, {1}, {{kColRxFreq, "145,0125"}});
         },
         {{1, kColRxFreq, "145,0125", kMsgFrequencyRange}}},
        {"not an inhibit word",
         [](EditorModel& e) {
             return SetChannelValues(e, {1}, {{kColInhibit, ""}});
         },
         {{1, kColInhibit, "", kMsgFrequencyRange}}},
        {"series past the top",
         [](EditorModel& e) {
             return FillSeries(e, {1, 2, 3}, kColRxFreq, "699.9875", "12.5");
         },
         {{3, kColRxFreq, "700.01250", kMsgFrequencyRange}}},
        {"series step",
         [](EditorModel& e) {
             return FillSeries(e, {1, 2}, kColRxFreq, "145", "7.5");
         },
         {{1, kColRxFreq, "7.5", kMsgSeriesStep}}},
        {"series 5 kHz start, 6.25 kHz step",
         [](EditorModel& e) {
             return FillSeries(e, {1, 2}, kColRxFreq, "145.005", "6.25");
         },
         {{2, kColRxFreq, "145.01125", kMsgFrequencyStep}}},
        {"fill down a tone onto empty channels only",
         [](EditorModel& e) {
             return FillDown(e, {1, 5, 6}, {kColRxTone});
         },
         {}},
    };
    for (const auto& c : cases) {
        Grid g;
        EditorModel before;
        CopyEditor(g.editor, before);
        const EditResult r = c.edit(g.editor);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.message, c.refusals.empty() ? kMsgNoChannelInUse : kMsgBulkRefused) << c.name;
        ASSERT_EQ(r.refusals.size(), c.refusals.size()) << c.name;
        for (std::size_t i = 0; i < c.refusals.size(); ++i) {
            EXPECT_EQ(FormatRefusal(r.refusals[i], ChineseTexts()),
                      FormatRefusal(c.refusals[i], ChineseTexts()))
                << c.name;
        }
        for (int ch = 1; ch <= 16; ++ch) {
            for (int col = 0; col < kGridColumns; ++col)
                ASSERT_EQ(g.At(ch, col), before.TextMatrix(ch, col)) << c.name;
        }
    }
}

TEST(BulkEdit, FillsGoChannelByChannelFromTheFirst) {
    Grid g;
    ASSERT_TRUE(FillSeries(g.editor, {6, 4, 5}, kColRxFreq, "145.5", "12.5").ok);
    EXPECT_EQ(g.Column(kColRxFreq, 4, 6), (std::vector<std::string>{"145.50000", "145.51250", "145.52500"}));
    ASSERT_TRUE(FillSeries(g.editor, {1, 2}, kColTxFreq, "146", "-6.25").ok);
    EXPECT_EQ(g.Column(kColTxFreq, 1, 2), (std::vector<std::string>{"146.00000", "145.99375"}));

    ASSERT_EQ(TypeCellText(g.editor, 2, kColInhibit, "是"), "");
    ASSERT_TRUE(FillDown(g.editor, {2, 3, 7}, {kColRxFreq, kColInhibit}).ok);
    EXPECT_EQ(g.Column(kColRxFreq, 2, 3), (std::vector<std::string>{"145.02500", "145.02500"}));
    EXPECT_EQ(g.At(7, kColRxFreq), "145.02500");
    EXPECT_EQ(g.Column(kColInhibit, 2, 3), (std::vector<std::string>{"是", "是"}));
    EXPECT_EQ(g.At(7, kColInhibit), "是");
    // An empty first channel empties the others.
    ASSERT_EQ(TypeCellText(g.editor, 12, kColRxFreq, "145.5"), "");
    ASSERT_TRUE(FillDown(g.editor, {12, 11}, {kColRxFreq, kColTxFreq, kColInhibit}).ok);
    EXPECT_TRUE(IsChannelEmpty(g.editor, 12));
}

// Without a receive frequency to give, the channels without any frequency
// are left alone and counted.
TEST(BulkEdit, EmptyChannelsAreSkippedAndCounted) {
    struct Case {
        const char* name;
        std::function<EditResult(EditorModel&)> edit;
        int col;
        std::vector<std::string> channels1to5;
        int skipped;
    };
    const Case cases[] = {
        {"a tone",
         [](EditorModel& e) {
             return SetChannelValues(e, {1, 2, 3, 4, 5}, {{kColTxTone, "D023N"}});
         },
         kColTxTone,
         {"D023N", "D023N", "D023N", "", ""},
         2},
        {"fill down",
         [](EditorModel& e) {
             return FillDown(e, {1, 3, 5}, {kColInhibit});
         },
         kColInhibit,
         {"否", "否", "否", "", ""},
         1},
        {"a transmit series",
         [](EditorModel& e) {
             return FillSeries(e, {2, 4, 3}, kColTxFreq, "146", "12.5");
         },
         kColTxFreq,
         {"145.00000", "146.00000", "146.01250", "", ""},
         1},
        {"a receive frequency fills them",
         [](EditorModel& e) {
             return SetChannelValues(e, {3, 4}, {{kColRxFreq, "145.5"}, {kColTxTone, "67"}});
         },
         kColTxTone,
         {"OFF", "OFF", "67.0", "67.0", ""},
         0},
    };
    for (const auto& c : cases) {
        Grid g;
        const EditResult r = c.edit(g.editor);
        ASSERT_TRUE(r.ok) << c.name;
        EXPECT_EQ(g.Column(c.col, 1, 5), c.channels1to5) << c.name;
        EXPECT_EQ(r.skipped, c.skipped) << c.name;
    }
    EditResult r;
    r.skipped = 2;
    EXPECT_EQ(BulkNotes(r, ChineseTexts()), std::vector<std::string>{"跳过了 2 个没有频率的信道"});
}

// A receive series carries an equal transmit frequency along and keeps a split.
TEST(BulkEdit, AReceiveSeriesKeepsSplitsAndCountsThem) {
    Grid g;
    ASSERT_EQ(TypeCellText(g.editor, 2, kColTxFreq, "146"), "");
    const EditResult r = FillSeries(g.editor, {1, 2, 3, 4}, kColRxFreq, "440", "25");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(g.Column(kColRxFreq, 1, 4),
              (std::vector<std::string>{"440.00000", "440.02500", "440.05000", "440.07500"}));
    EXPECT_EQ(g.Column(kColTxFreq, 1, 4),
              (std::vector<std::string>{"440.00000", "146.00000", "440.05000", "440.07500"}));
    EXPECT_EQ(r.splitsKept, 1);
    EXPECT_EQ(BulkNotes(r, ChineseTexts()),
              std::vector<std::string>{"1 个信道的发射频率与接收频率不同，保留了原来的发射频率"});
}

TEST(BulkEdit, SetTakesEverySelectedColumnOfOneKind) {
    struct Case {
        std::vector<int> selected;
        int current;
        std::vector<int> cols;
    };
    const Case cases[] = {
        {{kColRxTone, kColTxTone}, kColTxTone, {kColRxTone, kColTxTone}},
        {{kColTxFreq, kColRxFreq}, kColRxFreq, {kColRxFreq, kColTxFreq}},
        {{kColRxFreq, kColTxFreq, kColRxTone, kColTxTone, kColInhibit}, kColTxTone, {kColTxTone}},
        {{kColTxFreq, kColRxTone}, kColRxTone, {kColRxTone}},
        {{kColInhibit}, kColInhibit, {kColInhibit}},
        {{}, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ColumnsToSet(c.selected, c.current), c.cols);
}

TEST(BulkEdit, ChannelListsReadAsWrittenOrNotAtAll) {
    struct Case {
        const char* text;
        std::optional<std::vector<int>> channels;
    };
    const Case cases[] = {
        {"1-3", std::vector<int>{1, 2, 3}},
        {"3,1,2-3,1", std::vector<int>{1, 2, 3}},
        {"all", std::vector<int>{1, 2, 3, 4}},
        {"16", std::nullopt},  // past the last channel
        {"0-2", std::nullopt},
        {"3-1", std::nullopt},
        {"1,,2", std::nullopt},
        {"-2", std::nullopt},
        {"1-", std::nullopt},
        {"1.5", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(ParseChannelList(c.text, 4, error), c.channels) << c.text;
        EXPECT_EQ(error.empty(), c.channels.has_value()) << c.text;
    }
}

TEST(ChannelCheck, FindsWhatTheRadioCannotUseOrTheUserDidNotMean) {
    Grid g;                                     // band "350 - 370MHZ" in a new document
    g.editor.SetCurSel(SettingsList::Band, 0);  // 130 - 150MHZ
    EXPECT_TRUE(CheckChannels(g.editor).empty());
    // Values a file can hold but the grid would refuse to be typed.
    g.editor.SetTextMatrix(2, kColTxFreq, "150.00625");  // just past the band's top, on the step
    g.editor.SetTextMatrix(3, kColRxFreq, "433.00000");
    g.editor.SetTextMatrix(3, kColTxFreq, "145.00300");
    g.editor.SetTextMatrix(5, kColTxFreq, "145.00000");
    for (const int ch : {7, 9}) EXPECT_EQ(TypeCellText(g.editor, ch, kColRxFreq, "145.5"), "");
    EXPECT_EQ(TypeCellText(g.editor, 8, kColRxFreq, "145.5"), "");
    EXPECT_EQ(TypeCellText(g.editor, 8, kColRxTone, "88.5"), "");  // differs from 7 in one cell
    const std::vector<ChannelFinding> expected = {
        {FindingKind::OutsideBand, 2, kColTxFreq, 0},   {FindingKind::OutsideBand, 3, kColRxFreq, 0},
        {FindingKind::OffStep, 3, kColTxFreq, 0},       {FindingKind::TxWithoutRx, 5, kColTxFreq, 0},
        {FindingKind::SameAsChannel, 9, kColRxFreq, 7},
    };
    const auto findings = CheckChannels(g.editor);
    EXPECT_EQ(findings, expected);
    ASSERT_EQ(findings.size(), 5u);
    EXPECT_EQ(FormatFinding(findings[1], g.editor, ChineseTexts()),
              "信道 3，接收频率：433.00000 不在所选频段 130 - 150MHZ 内");
    EXPECT_EQ(FormatFinding(findings[2], g.editor, ChineseTexts()),
              "信道 3，发射频率：145.00300 不是 5 kHz 或 6.25 kHz 的倍数");
    EXPECT_EQ(FormatFinding(findings[4], g.editor, ChineseTexts()), "信道 9 与信道 7 完全相同");
    // Channels 2 and 3 are outside the band or off the step.
    EXPECT_EQ(CheckSummary(g.editor, ChineseTexts()), "2 个信道超出频段或不在步进上：“编辑”→“检查信道”");
    g.editor.SetCurSel(SettingsList::Band, 8);  // 50 - 700MHZ
    g.editor.SetTextMatrix(3, kColTxFreq, "145.00000");
    EXPECT_EQ(CheckSummary(g.editor, ChineseTexts()), "");
}

}  // namespace
}  // namespace quorim
