#include "editor/channel_edit.h"

#include <gtest/gtest.h>

#include <functional>

#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "text/number_text.h"

namespace quorim {
namespace {

struct Opened {
    DocumentData doc;
    EditorModel editor;
};

// A 16-channel document whose channel n (n in `used`) is on 140 + n MHz with
// bytes 13-15 = n, n, n and the flag bits 0x70 set: bytes the editor never shows.
Opened Open(std::initializer_list<int> used) {
    Opened o;
    o.doc.OnNewDocument();
    for (const int n : used) {
        std::uint8_t* r = o.doc.m_image.data() + RowOffset(static_cast<std::size_t>(n));
        r[0] = r[4] = 0x00;
        r[1] = r[5] = 0x00;
        r[2] = r[6] = PairByte(10 * n);
        r[3] = r[7] = PairByte(14);
        r[kRecFlags] = 0x71;
        r[13] = r[14] = r[15] = static_cast<std::uint8_t>(n);
    }
    InitialUpdateEditor(o.doc, o.editor);
    return o;
}

// Which original channel each channel shows after an operation (0: empty),
// read from the saved bytes: the frequency and the hidden bytes agree.
std::vector<int> Layout(Opened& o) {
    EncodeImage(o.editor, o.doc);
    std::vector<int> out;
    for (int ch = 1; ch <= 16; ++ch) {
        const std::uint8_t* r = o.doc.m_image.data() + RowOffset(static_cast<std::size_t>(ch));
        if (r[3] == 0xFF) {
            EXPECT_EQ(r[13], 0xFF) << "channel " << ch;
            out.push_back(0);
            continue;
        }
        const int n = PairValue(r[2]) / 10;
        EXPECT_EQ(r[13], n) << "channel " << ch;
        EXPECT_EQ(r[15], n) << "channel " << ch;
        EXPECT_EQ(r[kRecFlags] & 0xF0, 0x70) << "channel " << ch;
        out.push_back(n);
    }
    return out;
}

TEST(ChannelEdit, OperationsMoveWholeChannelsWithTheirHiddenBytes) {
    struct Case {
        const char* name;
        std::function<EditResult(Opened&)> op;
        std::vector<int> layout;
        std::vector<int> selected;
    };
    const std::vector<Case> cases = {
        {"insert at 2",
         [](Opened& o) { return InsertChannels(o.doc, o.editor, 2); },
         {1, 0, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {2}},
        {"insert two at 1",
         [](Opened& o) { return InsertChannels(o.doc, o.editor, 1, 2); },
         {0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {1, 2}},
        {"delete 2 and 4",
         [](Opened& o) {
             return DeleteChannels(o.doc, o.editor, {4, 2, 4});
         },
         {1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {2}},
        {"move 2, 3 up",
         [](Opened& o) {
             return MoveChannels(o.doc, o.editor, {2, 3}, -1);
         },
         {2, 3, 1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {1, 2}},
        {"move 1, 3 down",
         [](Opened& o) {
             return MoveChannels(o.doc, o.editor, {1, 3}, 1);
         },
         {2, 1, 4, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {2, 4}},
    };
    for (const Case& c : cases) {
        Opened o = Open({1, 2, 3, 4});
        const EditResult r = c.op(o);
        EXPECT_TRUE(r.ok) << c.name;
        EXPECT_EQ(r.channels, c.selected) << c.name;
        EXPECT_EQ(Layout(o), c.layout) << c.name;
    }
}

TEST(ChannelEdit, RefusedOperationsChangeNothing) {
    Opened o = Open({1, 16});
    const EditorState before = CaptureState(o.doc, o.editor);
    const EditResult insert = InsertChannels(o.doc, o.editor, 3);
    EXPECT_FALSE(insert.ok);
    EXPECT_EQ(insert.message, kMsgLastChannelInUse);
    EXPECT_FALSE(MoveChannels(o.doc, o.editor, {1, 5}, -1).ok);
    EXPECT_FALSE(MoveChannels(o.doc, o.editor, {16}, 1).ok);
    EXPECT_TRUE(EditStep(before, CaptureState(o.doc, o.editor)).Empty());
}

TEST(ChannelEdit, ClearingCellsFollowsTheCellRules) {
    Opened o = Open({1, 2, 3});
    o.editor.SetTextMatrix(1, kColRxTone, "88.5");
    o.editor.SetTextMatrix(2, kColInhibit, "是");
    ClearCells(o.editor, {{1, kColRxFreq}, {2, kColTxTone}, {2, kColInhibit}});
    EXPECT_EQ(o.editor.TextMatrix(1, kColRxFreq), "");
    EXPECT_EQ(o.editor.TextMatrix(1, kColRxTone), "");  // went with its frequency
    EXPECT_EQ(o.editor.TextMatrix(1, kColTxFreq), "141.00000");
    EXPECT_EQ(o.editor.TextMatrix(2, kColTxTone), "OFF");
    EXPECT_EQ(o.editor.TextMatrix(2, kColInhibit), "否");
    ClearCells(o.editor, {{3, 5}, {3, 4}, {3, 3}, {3, 2}, {3, 1}});
    EXPECT_TRUE(IsChannelEmpty(o.editor, 3));
}

TEST(ChannelEdit, PastedTextIsTypedThroughTheCellRules) {
    Opened o = Open({});
    // A three-column range from a spreadsheet, into receive frequency onwards.
    const EditResult r =
        PasteCellsText(o.editor, 2, kColRxFreq, "145.0125\t145.5\t88.5\r\n438.5\t\td023n\r\n");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.channels, (std::vector<int>{2, 3}));
    const std::vector<std::vector<std::string>> want = {
        {"145.01250", "145.50000", "88.5", "OFF", "否"},
        {"438.50000", "", "D023N", "", "否"},  // the empty transmit cell clears what the new channel copied
    };
    for (int i = 0; i < 2; ++i) {
        for (int col = 1; col <= 5; ++col) {
            EXPECT_EQ(o.editor.TextMatrix(2 + i, col),
                      want[static_cast<std::size_t>(i)][static_cast<std::size_t>(col - 1)])
                << "channel " << 2 + i << " column " << col;
        }
    }
}

TEST(ChannelEdit, ARefusedPasteListsEveryRefusalAndAppliesNothing) {
    Opened o = Open({1});
    const EditorState before = CaptureState(o.doc, o.editor);
    const EditResult r =
        PasteCellsText(o.editor, 1, kColRxFreq, "146\t145.0062\tD023\n49\t150\t88.5\tmaybe\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, kMsgPasteRefused);
    ASSERT_EQ(r.refusals.size(), 4u);
    EXPECT_EQ(r.refusals[0].channel, 1);
    EXPECT_EQ(r.refusals[0].col, kColTxFreq);
    EXPECT_EQ(r.refusals[0].message, kMsgFrequencyStep);
    EXPECT_EQ(r.refusals[1].col, kColRxTone);
    EXPECT_EQ(r.refusals[2].message, kMsgFrequencyRange);
    EXPECT_EQ(r.refusals[3].col, kColTxTone);
    EXPECT_EQ(FormatRefusal(r.refusals[0], ChineseTexts()),
              "信道 1，发射频率（“145.0062”）：输入数据错误，请按6.25K或 5k的倍数重新输入");
    EXPECT_TRUE(EditStep(before, CaptureState(o.doc, o.editor)).Empty());

    const EditResult outside = PasteCellsText(o.editor, 16, kColTxTone, "88.5\t否\tx\n");
    EXPECT_FALSE(outside.ok);
    EXPECT_EQ(outside.message, kMsgPasteOutside);
    EXPECT_TRUE(EditStep(before, CaptureState(o.doc, o.editor)).Empty());
}

// The English build's words for the transmit inhibit.
class EnglishInhibit : public TextTranslator {
public:
    std::string Translate(std::string_view, std::string_view text) const override {
        return text == kYes ? "Yes" : text == kNo ? "No" : std::string(text);
    }
};

TEST(ChannelEdit, ClipboardInhibitSpeaksTheProgramsLanguageAndPastesTakeBoth) {
    Opened o = Open({1, 2});
    o.editor.SetTextMatrix(2, kColInhibit, std::string(kYes));
    EXPECT_EQ(CellsAsText(o.editor, {1, 2, 3}, {kColTxFreq, kColInhibit}, EnglishInhibit()),
              "141.00000\tNo\n142.00000\tYes\n\t\n");
    EXPECT_EQ(CellsAsText(o.editor, {2}, {kColInhibit}), "是\n");
    const std::pair<const char*, std::string_view> cases[] = {{"yes", kYes}, {"NO", kNo},  {"Yes", kYes},
                                                              {"否", kNo},   {"是", kYes}, {"nO", kNo}};
    for (const auto& [typed, stored] : cases) {
        ASSERT_TRUE(PasteCellsText(o.editor, 1, kColInhibit, typed).ok) << typed;
        EXPECT_EQ(o.editor.TextMatrix(1, kColInhibit), stored) << typed;
    }
    // Anything else is refused, and so is a number with more than a number
    // in its text, even where the cell shows that number; a decimal comma,
    // as a spreadsheet in a European locale copies a number, reads.
    const EditResult r = PasteCellsText(o.editor, 1, kColRxFreq, "141.00000abc\t141,0\t88,5\t\ty\n");
    ASSERT_EQ(r.refusals.size(), 2u);
    for (const CellRefusal& refusal : r.refusals) EXPECT_EQ(refusal.message, kMsgFrequencyRange);
    EXPECT_EQ(r.refusals[1].col, kColInhibit);
    ASSERT_TRUE(PasteCellsText(o.editor, 3, kColRxFreq, "446,10625\t446,1\t88,5\n").ok);
    EXPECT_EQ(o.editor.TextMatrix(3, kColRxFreq), "446.10625");
    EXPECT_EQ(o.editor.TextMatrix(3, kColTxFreq), "446.10000");
    EXPECT_EQ(o.editor.TextMatrix(3, kColRxTone), "88.5");
    EXPECT_EQ(PasteCellsText(o.editor, 3, kColRxFreq, "446,1,2\n").refusals.size(), 1u);
}

TEST(ChannelEdit, ChannelRecordsCarryEditsAndHiddenBytesToAnotherDocument) {
    Opened a = Open({1, 2, 3});
    a.editor.SetTextMatrix(2, kColTxTone, "D754I");  // an edit not yet saved
    const std::string copied = ChannelsAsRecords(a.doc, a.editor, {1, 2, 3});
    Opened b = Open({});
    const auto records = ParseChannelRecords(copied);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_FALSE(PasteChannelRecords(b.doc, b.editor, 15, records).ok);
    const EditResult r = PasteChannelRecords(b.doc, b.editor, 10, records);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(b.editor.TextMatrix(11, kColTxTone), "D754I");
    std::vector<int> want(16, 0);
    want[9] = 1;
    want[10] = 2;
    want[11] = 3;
    EXPECT_EQ(Layout(b), want);
    // Not the program's form: tab-separated text is pasted as text.
    EXPECT_TRUE(ParseChannelRecords("145.0\t146.0\n").empty());
    EXPECT_TRUE(ParseChannelRecords("Quorim channel records\n00FF\n").empty());
}

TEST(ChannelEdit, AStepUndoesAndRedoesAModelChangeExactly) {
    Opened o = Open({1, 2});
    const EditorState before = CaptureState(o.doc, o.editor);
    o.editor.SetCurSel(SettingsList::Model, 1);
    ApplyModelChoice(o.editor, o.doc);
    o.editor.SetTextMatrix(150, kColRxFreq, "150.00000");
    const EditorState after = CaptureState(o.doc, o.editor);
    const EditStep step(before, after);
    ASSERT_FALSE(step.Empty());
    step.Apply(false, o.doc, o.editor);
    EXPECT_TRUE(EditStep(before, CaptureState(o.doc, o.editor)).Empty());
    step.Apply(true, o.doc, o.editor);
    EXPECT_TRUE(EditStep(after, CaptureState(o.doc, o.editor)).Empty());
}

}  // namespace
}  // namespace quorim
