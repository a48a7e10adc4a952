#include "editor/cell_rules.h"

#include <gtest/gtest.h>

#include <tuple>

#include "editor/editor_model.h"
#include "image/tone_table.h"

namespace quorim {
namespace {

struct RowText {
    std::string rx, tx, rxTone, txTone, inhibit;
    bool operator==(const RowText&) const = default;
};

std::ostream& operator<<(std::ostream& os, const RowText& r) {
    return os << "[" << r.rx << "|" << r.tx << "|" << r.rxTone << "|" << r.txTone << "|" << r.inhibit << "]";
}

RowText Row(const EditorSurface& g, int row) {
    return {g.TextMatrix(row, 1), g.TextMatrix(row, 2), g.TextMatrix(row, 3), g.TextMatrix(row, 4),
            g.TextMatrix(row, 5)};
}

void SetRow(EditorSurface& g, int row, const RowText& r) {
    g.SetTextMatrix(row, 1, r.rx);
    g.SetTextMatrix(row, 2, r.tx);
    g.SetTextMatrix(row, 3, r.rxTone);
    g.SetTextMatrix(row, 4, r.txTone);
    g.SetTextMatrix(row, 5, r.inhibit);
}

TEST(FrequencyCommit, NewChannelGetsItsDefaultsAndTheTransmitCopy) {
    EditorModel g;
    const CellCommit c = CommitFrequencyText(g, 3, kColRxFreq, "145.0125");
    EXPECT_TRUE(c.changed);
    EXPECT_EQ(c.text, "145.01250");
    EXPECT_TRUE(c.message.empty());
    EXPECT_EQ(Row(g, 3), (RowText{"145.01250", "145.01250", "OFF", "OFF", "否"}));

    // A later receive frequency leaves the rest of the channel alone.
    CommitFrequencyText(g, 3, kColRxFreq, "146");
    EXPECT_EQ(Row(g, 3), (RowText{"146.00000", "145.01250", "OFF", "OFF", "否"}));

    // Typed first into the transmit column, nothing is copied.
    CommitFrequencyText(g, 4, kColTxFreq, "435.5");
    EXPECT_EQ(Row(g, 4), (RowText{"", "435.50000", "OFF", "OFF", "否"}));

    // A row holding only a flag is not a new channel.
    SetRow(g, 5, {"", "", "", "", "是"});
    CommitFrequencyText(g, 5, kColRxFreq, "145");
    EXPECT_EQ(Row(g, 5), (RowText{"145.00000", "", "", "", "是"}));
}

TEST(FrequencyCommit, RangeAndStepChecks) {
    struct Case {
        const char* typed;
        const char* stored;
        std::string_view message;
    };
    const Case cases[] = {
        {"130.01", "130.01000", ""},  // 13 001 000 is a multiple of 500
        {"145.00625", "145.00625", ""},
        {"64.00625", "64.00625", ""},  // exactly 6400625, never 6400624
        {"50", "50.00000", ""},
        {"700", "700.00000", ""},
        {" 439.9875 ", "439.98750", ""},  // blanks around the number
        // Only a whole number: a comma is no decimal point, and nothing may follow.
        {"  439.9875xyz", "", kMsgFrequencyRange},
        {"145,0125", "", kMsgFrequencyRange},
        {"145.0125 MHz", "", kMsgFrequencyRange},
        {"1e", "", kMsgFrequencyRange},
        {"1.45e2", "", kMsgFrequencyRange},  // the exponent form is no plain decimal
        {"145.000004", "145.00000", ""},     // rounds to the count the text shows
        {"145.0062", "", kMsgFrequencyStep},
        {"145.0001", "", kMsgFrequencyStep},
        {"49.99", "", kMsgFrequencyRange},
        {"49.999995", "50.00000", ""},
        {"700.00001", "", kMsgFrequencyRange},
        {"-145", "", kMsgFrequencyRange},
        {"abc", "", kMsgFrequencyRange},
        {" ", "", kMsgFrequencyRange},
        {"99999999999999999999999", "", kMsgFrequencyRange},
    };
    for (const Case& k : cases) {
        EditorModel g;
        const CellCommit c = CommitFrequencyText(g, 1, kColRxFreq, k.typed);
        EXPECT_EQ(c.text, k.stored) << k.typed;
        EXPECT_EQ(c.message, k.message) << k.typed;
        EXPECT_EQ(c.refused, !k.message.empty()) << k.typed;
        EXPECT_EQ(ReadFrequencyText(k.typed).text, k.stored) << k.typed;
    }
}

TEST(FrequencyCommit, RefusingKeepsTheRowClearingClearsThatSidesSignallingThenTheFlag) {
    EditorModel g;
    SetRow(g, 2, {"145.00000", "146.00000", "88.5", "D023N", "是"});
    for (const char* typed : {"49.99", "43x.5", "145.0062"}) {
        const CellCommit refused = CommitFrequencyText(g, 2, kColRxFreq, typed);
        EXPECT_TRUE(refused.refused) << typed;
        EXPECT_FALSE(refused.changed) << typed;
        EXPECT_EQ(refused.text, "145.00000") << typed;
        EXPECT_EQ(Row(g, 2), (RowText{"145.00000", "146.00000", "88.5", "D023N", "是"})) << typed;
    }
    // Clearing the receive frequency clears column 1 and 3; the transmit side stays.
    CellCommit c = CommitFrequencyText(g, 2, kColRxFreq, "");
    EXPECT_TRUE(c.changed);
    EXPECT_EQ(Row(g, 2), (RowText{"", "146.00000", "", "D023N", "是"}));
    // Emptying the transmit side too empties the flag.
    c = CommitFrequencyText(g, 2, kColTxFreq, "");
    EXPECT_TRUE(c.message.empty());
    EXPECT_EQ(Row(g, 2), (RowText{"", "", "", "", ""}));
    // Clearing an already empty cell changes nothing.
    c = CommitFrequencyText(g, 2, kColTxFreq, "");
    EXPECT_TRUE(c.committed);
    EXPECT_FALSE(c.changed);
}

TEST(FrequencyCommit, ReportsAChangeOnlyWhenACellChanged) {
    EditorModel g;
    SetRow(g, 1, {"145.00000", "145.00000", "OFF", "OFF", "否"});
    EXPECT_FALSE(CommitFrequencyText(g, 1, kColRxFreq, "145").changed);
    EXPECT_TRUE(CommitFrequencyText(g, 1, kColRxFreq, "145.5").changed);
    // Outside the channel rows and frequency columns nothing is committed.
    EXPECT_FALSE(CommitFrequencyText(g, 0, kColRxFreq, "145").committed);
    EXPECT_FALSE(CommitFrequencyText(g, 17, kColRxFreq, "145").committed);
    EXPECT_FALSE(CommitFrequencyText(g, 1, kColRxTone, "145").committed);
    EXPECT_EQ(g.TextMatrix(0, kColRxFreq), "");
}

TEST(SignallingCommit, EnterNormalisesTonesAndCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"88.5", "88.5"},
        {"100", "100.0"},
        {"67", "67.0"},
        {"254.1", "254.1"},
        {"67.05", "67.1"},
        {"66.9", "OFF"},
        {"254.2", "OFF"},
        {"123.45", "OFF"},
        {"", "OFF"},
        {"abc", "OFF"},
        {"d023n", "D023N"},
        {"D23I", "D23I"},
        {"D754i", "D754I"},
        {"023dn", "D023N"},
        {"D755N", "OFF"},
        {"D022N", "OFF"},
        {"D023", "OFF"},
        {"DN", "OFF"},
        {"D0023N", "OFF"},
        {"OFF", "OFF"},
        {"off", "OFF"},
        {"D023N", "D023N"},
        {"d", "OFF"},
        {"7e1", "OFF"},  // the exponent form is no plain decimal
        {" 88.5 ", "88.5"},
        {"88,5", "OFF"},
        {"88.5x", "OFF"},
        // Only digits between "D" and the polarity (found by the fuzzer:
        // "d99dN" was kept as "D99dN").
        {"d99dN", "OFF"},
        {"D23xN", "OFF"},
        {"D+23N", "OFF"},
        {"D 23N", "OFF"},
    };
    for (const auto& [typed, stored] : cases) {
        EXPECT_EQ(NormaliseSignallingText(typed), stored) << typed;
        // A text turned into "OFF" that is neither "OFF" nor empty is refused
        // and the cell keeps its text.
        const std::string_view t(typed);
        const bool refused = std::string_view(stored) == "OFF" && !t.empty() && t != "OFF" && t != "off";
        EditorModel g;
        SetRow(g, 1, {"145.00000", "", "OFF", "88.5", "否"});
        const CellCommit c = CommitSignallingByEnter(g, 1, kColTxTone, typed);
        EXPECT_EQ(c.text, refused ? "88.5" : stored) << typed;
        EXPECT_EQ(c.refused, refused) << typed;
        EXPECT_EQ(c.message, refused ? kMsgFrequencyRange : "") << typed;
    }
}

TEST(SignallingCommit, RowWithoutFrequenciesGetsEmptyCells) {
    EditorModel g;
    SetRow(g, 1, {"", "", "OFF", "", ""});
    CellCommit c = CommitSignallingByEnter(g, 1, kColRxTone, "88.5");
    EXPECT_EQ(c.text, "");
    EXPECT_TRUE(c.changed);
    c = CommitSignallingOnLeave(g, 1, kColTxTone, std::string_view("88.5"), "88.5");
    EXPECT_EQ(c.text, "");
    EXPECT_FALSE(c.changed);
}

TEST(SignallingCommit, LeavingStoresTheSelectedItemOrTheCheckedTypedText) {
    EditorModel g;
    SetRow(g, 1, {"145.00000", "145.00000", "OFF", "OFF", "否"});
    // The list's selection wins over the typed text.
    EXPECT_EQ(CommitSignallingOnLeave(g, 1, kColRxTone, std::string_view("D023N"), "xyz").text, "D023N");
    // Typed with no selection left: the Enter rules apply.
    EXPECT_EQ(CommitSignallingOnLeave(g, 1, kColRxTone, std::nullopt, "100").text, "100.0");
    const CellCommit refused = CommitSignallingOnLeave(g, 1, kColRxTone, std::nullopt, "68.0 x");
    EXPECT_TRUE(refused.refused);
    EXPECT_EQ(g.TextMatrix(1, kColRxTone), "100.0");
}

TEST(InhibitCommit, EnterAndLeaveDifferOnlyOnARowWithoutFrequencies) {
    EditorModel g;
    SetRow(g, 1, {"", "145.00000", "", "OFF", "否"});
    EXPECT_EQ(CommitInhibitByEnter(g, 1, kColInhibit, "是").text, "是");
    EXPECT_EQ(CommitInhibitOnLeave(g, 1, kColInhibit, "否").text, "否");

    SetRow(g, 2, {"", "", "", "", "是"});
    CellCommit c = CommitInhibitByEnter(g, 2, kColInhibit, "否");
    EXPECT_EQ(c.text, "是");
    EXPECT_FALSE(c.changed);
    c = CommitInhibitOnLeave(g, 2, kColInhibit, "否");
    EXPECT_EQ(c.text, "");
    EXPECT_TRUE(c.changed);
}

TEST(LeaveCell, CommitsOnlyAVisibleEditorOnAnEditableCell) {
    EditorModel g;
    SetRow(g, 1, {"145.00000", "145.00000", "OFF", "OFF", "否"});
    const OpenEditorState hidden{false, "146", std::nullopt};
    EXPECT_FALSE(CommitOnLeave(g, 1, kColRxFreq, hidden).committed);
    const OpenEditorState open{true, "146", std::nullopt};
    EXPECT_FALSE(CommitOnLeave(g, 0, kColRxFreq, open).committed);
    EXPECT_FALSE(CommitOnLeave(g, 1, kColSpare, open).committed);
    EXPECT_EQ(Row(g, 1), (RowText{"145.00000", "145.00000", "OFF", "OFF", "否"}));

    EXPECT_EQ(CommitOnLeave(g, 1, kColRxFreq, open).text, "146.00000");
    // A tone cell that held 68.0 loaded "OFF" into the list: leaving stores it.
    g.SetTextMatrix(1, kColRxTone, "68.0");
    const int index = ComboIndexForCellText(ToneItems(), g.TextMatrix(1, kColRxTone));
    const OpenEditorState tone{true, ToneItems()[static_cast<std::size_t>(index)], ToneItems()[index]};
    EXPECT_EQ(CommitOnLeave(g, 1, kColRxTone, tone).text, "OFF");
    const OpenEditorState yes{true, "是", std::string("是")};
    EXPECT_EQ(CommitOnLeave(g, 1, kColInhibit, yes).text, "是");
    const CellCommit bad = CommitOnLeave(g, 1, kColTxFreq, {true, "145.0062", std::nullopt});
    EXPECT_EQ(bad.message, kMsgFrequencyStep);
    EXPECT_EQ(Row(g, 1), (RowText{"146.00000", "145.00000", "OFF", "OFF", "是"}));
}

TEST(EnterCell, CombosSelectTheFirstItemBeginningWithTheText) {
    const auto& tones = ToneItems();
    const auto at = [&](std::string_view t) {
        return tones[static_cast<std::size_t>(ComboIndexForCellText(tones, t))];
    };
    EXPECT_EQ(at("88.5"), "88.5");
    EXPECT_EQ(at("100.0"), "100.0");
    EXPECT_EQ(at("d023n"), "D023N");
    EXPECT_EQ(at("D754I"), "D754I");
    EXPECT_EQ(at("68.0"), "OFF");
    EXPECT_EQ(at("D23N"), "OFF");
    EXPECT_EQ(at(""), "OFF");
    EXPECT_EQ(ComboIndexForCellText(YesNoItems(), "否"), 1);
    EXPECT_EQ(ComboIndexForCellText(YesNoItems(), ""), 0);
    EXPECT_EQ(static_cast<int>(tones.size()), ToneTable::kCount);
}

TEST(BeginEdit, OpeningTextsByKeyAndColumn) {
    // Editors by column; nothing on the header row, column 0 or column 6.
    EXPECT_FALSE(IsEditableCell(0, kColRxFreq));
    EXPECT_FALSE(IsEditableCell(1, kColChannel));
    EXPECT_FALSE(IsEditableCell(1, kColSpare));
    EXPECT_TRUE(IsEditableCell(1, kColInhibit));
    EXPECT_FALSE(DecideBeginEdit('1', kColSpare, "", "").open);
    EXPECT_TRUE(OpensOnMouseDown(1, 1, kColRxTone));
    EXPECT_TRUE(OpensOnMouseDown(4, 1, kColRxTone));
    EXPECT_FALSE(OpensOnMouseDown(2, 1, kColRxTone));
    EXPECT_FALSE(OpensOnMouseDown(1, 1, kColSpare));

    // A digit on an empty frequency cell starts the text with it.
    BeginEdit b = DecideBeginEdit('1', kColRxFreq, "", "");
    EXPECT_TRUE(b.open);
    EXPECT_EQ(b.text, "1");
    EXPECT_FALSE(b.selectAll);
    EXPECT_TRUE(b.message.empty());
    // Any other key there asks for digits and starts empty.
    b = DecideBeginEdit('x', kColTxFreq, "", "");
    EXPECT_EQ(b.message, kMsgDigitsOnly);
    EXPECT_EQ(b.text, "");
    // On a cell with text the typed key replaces it.
    b = DecideBeginEdit('4', kColRxFreq, "145.00000", "145.00000");
    EXPECT_EQ(b.text, "4");
    EXPECT_FALSE(b.selectAll);
    // A click, Enter or Backspace shows the cell's text all selected.
    for (int key : {kKeyNone, kKeyEnter, kKeyBackspace}) {
        b = DecideBeginEdit(key, kColRxFreq, "145.00000", "145.00000");
        EXPECT_TRUE(b.open);
        EXPECT_EQ(b.text, "145.00000");
        EXPECT_TRUE(b.selectAll);
    }
    // Escape, DEL and other control characters open nothing.
    for (int key : {27, 1, 9, 0x7F}) {
        EXPECT_FALSE(DecideBeginEdit(key, kColRxFreq, "", "145.00000").open) << key;
        EXPECT_FALSE(DecideBeginEdit(key, kColRxTone, "", "OFF").open) << key;
    }
    // The tone combo takes the typed character; the yes/no list keeps its item.
    b = DecideBeginEdit('d', kColRxTone, "OFF", "OFF");
    EXPECT_EQ(b.text, "d");
    EXPECT_TRUE(b.message.empty());
    b = DecideBeginEdit(0x4E2D, kColTxTone, "OFF", "OFF");
    EXPECT_EQ(b.text, "中");
    b = DecideBeginEdit('x', kColInhibit, "否", "否");
    EXPECT_TRUE(b.open);
    EXPECT_FALSE(b.text.has_value());
}

TEST(BeginEdit, EditorsArePlacedOverTheCellInPixels) {
    // A cell at 1815, 255 twips, 1200 x 285, on a 96 x 120 dpi screen.
    const EditorPlacement edit = PlaceEditor(CellEditor::Edit, 1815, 255, 1200, 285, 96, 120);
    EXPECT_EQ(edit.x, 121);  // 174240 / 1440 = 121
    EXPECT_EQ(edit.y, 21);   // 30600 / 1440 = 21.25
    EXPECT_EQ(edit.width, 80);
    EXPECT_EQ(edit.height, 23);  // 34200 / 1440 = 23.75
    EXPECT_EQ(edit.listHeight, 0);
    // The combos cover the same cell; their lists drop 100 pixels below it.
    const EditorPlacement tone = PlaceEditor(CellEditor::Tone, 1815, 255, 1200, 285, 96, 120);
    EXPECT_EQ(std::tuple(tone.x, tone.y, tone.width, tone.height, tone.listHeight),
              std::tuple(121, 21, 80, 23, 100));
    EXPECT_EQ(PlaceEditor(CellEditor::YesNo, 0, 0, 0, 285, 96, 120).listHeight, 100);
}

TEST(EnterWalk, WhereEnterGoesFromEachFocus) {
    EditorModel g;
    const int last = g.Rows() - 1;
    EXPECT_EQ(HandleEnter(g, EnterFocus::Grid, false, 1, 3, "").move, EnterMove::RightArrow);
    EXPECT_EQ(HandleEnter(g, EnterFocus::Grid, false, 1, kColSpare, "").move, EnterMove::Tab);
    EXPECT_EQ(HandleEnter(g, EnterFocus::EditCell, false, 1, kColSpare, "").move, EnterMove::Tab);
    EXPECT_EQ(HandleEnter(g, EnterFocus::Other, false, 1, 3, "88.5").move, EnterMove::Tab);
    EXPECT_EQ(Row(g, 1), (RowText{}));  // none of these commits anything

    SetRow(g, last, {"145.00000", "145.00000", "OFF", "OFF", "否"});
    const EnterOutcome o = HandleEnter(g, EnterFocus::YesNoCombo, false, last, kColInhibit, "是");
    EXPECT_EQ(o.move, EnterMove::Tab);
    EXPECT_TRUE(o.commit.changed);
    EXPECT_EQ(g.TextMatrix(last, kColInhibit), "是");
}

TEST(EnterWalk, TypingAChannelWalksTheRowAndOnToTheNext) {
    EditorModel g;
    // "1" opens the editor, "45.0125" follows, Enter commits.
    const BeginEdit open = DecideBeginEdit('1', kColRxFreq, "", g.TextMatrix(1, kColRxFreq));
    EnterOutcome o = HandleEnter(g, EnterFocus::EditCell, false, 1, kColRxFreq, *open.text + "45.0125");
    EXPECT_EQ(Row(g, 1), (RowText{"145.01250", "145.01250", "OFF", "OFF", "否"}));
    EXPECT_TRUE(o.commit.changed);
    ASSERT_EQ(o.move, EnterMove::EditNext);
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(1, 2));
    // Column 2 opens with its text selected.
    const BeginEdit next = DecideBeginEdit(kKeyEnter, o.col, "145.01250", g.TextMatrix(1, o.col));
    EXPECT_EQ(next.text, "145.01250");
    EXPECT_TRUE(next.selectAll);

    o = HandleEnter(g, EnterFocus::EditCell, false, 1, 2, "145.01250");
    EXPECT_FALSE(o.commit.changed);
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(1, 3));
    o = HandleEnter(g, EnterFocus::Other, true, 1, 3, "d023n");
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(1, 4));
    o = HandleEnter(g, EnterFocus::Other, true, 1, 4, "100");
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(1, 5));
    o = HandleEnter(g, EnterFocus::YesNoCombo, false, 1, 5, "是");
    ASSERT_EQ(o.move, EnterMove::EditNext);
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(2, 1));
    EXPECT_EQ(Row(g, 1), (RowText{"145.01250", "145.01250", "D023N", "100.0", "是"}));

    // A refused entry stays on its cell, after its message.
    o = HandleEnter(g, EnterFocus::EditCell, false, 2, 1, "145.0062");
    EXPECT_EQ(o.commit.message, kMsgFrequencyStep);
    EXPECT_EQ(o.move, EnterMove::Reopen);
    EXPECT_EQ(std::pair(o.row, o.col), std::pair(2, 1));
    EXPECT_EQ(Row(g, 2), (RowText{}));
    o = HandleEnter(g, EnterFocus::Other, true, 1, 3, "D9N");
    EXPECT_EQ(o.move, EnterMove::Reopen);
    EXPECT_EQ(g.TextMatrix(1, 3), "D023N");
}

}  // namespace
}  // namespace quorim
