#include "editor/codec.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "image/tone_table.h"
#include "text/number_text.h"

namespace quorim {
namespace {

using Bytes4 = std::array<std::uint8_t, 4>;

Bytes4 EncodeFreq(const std::string& text) {
    Bytes4 b{};
    EncodeFrequency(text, b.data());
    return b;
}

std::pair<std::uint8_t, std::uint8_t> EncodeTone(const std::string& text) {
    std::uint8_t k = 0, l = 0;
    EncodeSquelch(text, k, l);
    return {k, l};
}

TEST(CodecFrequency, KnownAnswersBothWays) {
    const Bytes4 b145 = {0x00, 0x25, 0x51, 0x14};
    EXPECT_EQ(DecodeFrequency(b145.data()), "145.12500");
    EXPECT_EQ(EncodeFreq("145.12500"), b145);
    EXPECT_EQ(EncodeFreq("130.01000"), (Bytes4{0x00, 0x10, 0x00, 0x13}));
    EXPECT_EQ(EncodeFreq("130.01"), (Bytes4{0x00, 0x10, 0x00, 0x13}));
    EXPECT_EQ(EncodeFreq("64.00625"), (Bytes4{0x25, 0x06, 0x40, 0x06}));
    EXPECT_EQ(EncodeFreq(""), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeFreq("abc"), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeFreq("0.000001"), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeFreq("  439.9875xyz"), (Bytes4{0x50, 0x87, 0x99, 0x43}));
    const Bytes4 b0 = {0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(DecodeFrequency(b0.data()), "10.00000");
}

TEST(CodecFrequency, EveryValidBcdFrequencyRoundTrips) {
    // All top pairs 1..99 with a spread of lower digits, and every low pair.
    for (int top = 1; top <= 99; ++top) {
        for (int p = 0; p <= 99; ++p) {
            const Bytes4 b = {PairByte(p), PairByte(99 - p), PairByte((p * 37) % 100), PairByte(top)};
            ASSERT_EQ(EncodeFreq(DecodeFrequency(b.data())), b) << DecodeFrequency(b.data());
        }
    }
}

TEST(CodecSquelch, KnownAnswersBothWays) {
    struct Case {
        std::uint8_t k, l;
        const char* text;
    };
    const Case cases[] = {{0x80, 0x23, "D023N"}, {0xC7, 0x54, "D754I"}, {0x81, 0x14, "D114N"},
                          {0x86, 0x45, "D645N"}, {0x87, 0x54, "D754N"}, {0x08, 0x85, "88.5"},
                          {0x25, 0x41, "254.1"}, {0x06, 0x70, "67.0"},  {0x10, 0x00, "100.0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeSquelch(c.k, c.l), c.text);
        EXPECT_EQ(EncodeTone(c.text), std::make_pair(c.k, c.l)) << c.text;
    }
    EXPECT_EQ(DecodeSquelch(0xFF, 0xFF), "") << "no tone is an empty cell, not OFF";
    EXPECT_EQ(DecodeSquelch(0x00, 0x12), "");
    EXPECT_EQ(EncodeTone("OFF"), std::make_pair(std::uint8_t{0xFF}, std::uint8_t{0xFF}));
    EXPECT_EQ(EncodeTone(""), std::make_pair(std::uint8_t{0xFF}, std::uint8_t{0xFF}));
    // "D" then a code without a leading zero keeps the number as read.
    EXPECT_EQ(DecodeSquelch(0x80, 0x05), "D05N");
    EXPECT_EQ(DecodeSquelch(0xC1, 0x05), "D105I");
}

TEST(CodecSquelch, EveryTableNameRoundTrips) {
    const ToneTable& t = ToneTable::Shared();
    for (int i = 1; i < t.Count(); ++i) {
        const auto [k, l] = EncodeTone(t.Name(i));
        EXPECT_EQ(DecodeSquelch(k, l), t.Name(i)) << i;
    }
}

TEST(CodecDamagedRecords, TextsThatCannotBeWrittenBackKeepTheirBytes) {
    // A top pair of 0xFA reads as 160: the text 1600.00000 has no eight-digit
    // form, so encoding keeps the record instead of wrapping to 0x00 (which
    // would read back as "no frequency").
    Bytes4 b = {0x00, 0x00, 0x00, 0xFA};
    EXPECT_EQ(DecodeFrequency(b.data()), "1600.00000");
    EncodeFrequency(DecodeFrequency(b.data()), b.data());
    EXPECT_EQ(b, (Bytes4{0x00, 0x00, 0x00, 0xFA}));
    EncodeFrequency("-145.125", b.data());
    EXPECT_EQ(b, (Bytes4{0x00, 0x00, 0x00, 0xFA}));

    // A kind byte of 0x7F reads as tone 866.5, which would encode as a code.
    std::uint8_t k = 0x7F, l = 0xFF;
    EXPECT_EQ(DecodeSquelch(k, l), "866.5");
    EncodeSquelch(DecodeSquelch(k, l), k, l);
    EXPECT_EQ(std::make_pair(k, l), std::make_pair(std::uint8_t{0x7F}, std::uint8_t{0xFF}));
    // 0xBF reads as D6460N, whose first digit would flip it to an inverted code.
    k = 0xBF;
    l = 0xFA;
    EXPECT_EQ(DecodeSquelch(k, l), "D6460N");
    EncodeSquelch(DecodeSquelch(k, l), k, l);
    EXPECT_EQ(std::make_pair(k, l), std::make_pair(std::uint8_t{0xBF}, std::uint8_t{0xFA}));
    // The highest codes that still fit are written.
    EncodeSquelch("D6399N", k, l);
    EXPECT_EQ(std::make_pair(k, l), std::make_pair(std::uint8_t{0xBF}, std::uint8_t{0x99}));
    EncodeSquelch("D6299I", k, l);
    EXPECT_EQ(std::make_pair(k, l), std::make_pair(std::uint8_t{0xFE}, std::uint8_t{0x99}));
}

TEST(CodecImage, NewImageDecodesToTheFormsDefaults) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    ASSERT_EQ(editor.Rows(), 17);
    EXPECT_EQ(editor.TextMatrix(0, 0), "信道");
    EXPECT_EQ(editor.TextMatrix(0, 5), "是否禁发");
    EXPECT_EQ(editor.TextMatrix(0, 6), "");
    for (int ch = 1; ch <= 16; ++ch) {
        EXPECT_EQ(editor.TextMatrix(ch, 0), std::to_string(ch));
        for (int col = 1; col <= 6; ++col) {
            EXPECT_EQ(editor.TextMatrix(ch, col), "") << ch << "," << col;
        }
    }
    EXPECT_EQ(editor.SelectedText(SettingsList::Alarm), "打开");
    EXPECT_EQ(editor.SelectedText(SettingsList::Squelch), "4");
    EXPECT_EQ(editor.SelectedText(SettingsList::Monitor), "打开");
    EXPECT_EQ(editor.SelectedText(SettingsList::Tot), "60s");
    EXPECT_EQ(editor.SelectedText(SettingsList::Power), "9");
    EXPECT_EQ(editor.SelectedText(SettingsList::Bandwidth), "宽");
    EXPECT_EQ(editor.SelectedText(SettingsList::Band), "130 - 150MHZ");
    EXPECT_EQ(editor.SelectedText(SettingsList::Model), "QZ - 16");
}

TEST(CodecImage, SettingsFallbacks) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    doc.m_image[961] = 10;
    doc.m_image[963] = 11;
    doc.m_image[964] = 0xFF;
    doc.m_image[2] = 0xFF;
    doc.m_image[3] = 0x39;
    doc.m_image[962] = 0x02;
    doc.m_image[960] = 0xFE;
    DecodeImage(doc, editor);
    EXPECT_EQ(editor.CurSel(SettingsList::Squelch), 0);
    EXPECT_EQ(editor.CurSel(SettingsList::Tot), 0);
    EXPECT_EQ(editor.CurSel(SettingsList::Power), 9);
    EXPECT_EQ(editor.CurSel(SettingsList::Band), 0);
    EXPECT_EQ(editor.CurSel(SettingsList::Model), 0);
    EXPECT_EQ(editor.CurSel(SettingsList::Monitor), 0);
    EXPECT_EQ(editor.CurSel(SettingsList::Alarm), 1);
    doc.m_image[964] = 26;  // 26 / 3 = 8
    doc.m_image[2] = 246;
    doc.m_image[962] = 0xFC;
    DecodeImage(doc, editor);
    EXPECT_EQ(editor.CurSel(SettingsList::Power), 8);
    EXPECT_EQ(editor.CurSel(SettingsList::Band), 8);
    EXPECT_EQ(editor.CurSel(SettingsList::Monitor), 1);
}

TEST(CodecImage, EncodeWritesSettingsAndEmptyRows) {
    DocumentData doc;
    doc.OnNewDocument();
    doc.m_image[RowOffset(5) + 12] = 0x00;
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    editor.SetCurSel(SettingsList::Alarm, 1);
    editor.SetCurSel(SettingsList::Squelch, 7);
    editor.SetCurSel(SettingsList::Monitor, 1);
    editor.SetCurSel(SettingsList::Tot, 10);
    editor.SetCurSel(SettingsList::Power, 5);
    editor.SetCurSel(SettingsList::Band, 4);
    EncodeImage(editor, doc);
    const MemoryImage& im = doc.m_image;
    EXPECT_EQ(im[960], 0xFE);
    EXPECT_EQ(im[961], 7);
    EXPECT_EQ(im[962], 0);
    EXPECT_EQ(im[963], 10);
    EXPECT_EQ(im[964], 15);
    EXPECT_EQ(im[2], 242);
    EXPECT_EQ(im[3], '7');
    // An empty row: FF in bytes 0..11, bit 0 of the flags set, the rest kept.
    for (int i = 0; i < 12; ++i) EXPECT_EQ(im[RowOffset(5) + i], 0xFF);
    EXPECT_EQ(im[RowOffset(5) + 12], 0x01);
}

TEST(CodecImage, NoSelectionEncodesAsMinusOne) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    for (const auto& info : AllSettingsLists()) editor.SetCurSel(info.list, -1);
    doc.m_image[960] = 0x00;
    doc.m_image[28] = 0xFF;
    EncodeImage(editor, doc);
    EXPECT_EQ(doc.m_image[961], 0xFF);
    EXPECT_EQ(doc.m_image[963], 0xFF);
    EXPECT_EQ(doc.m_image[964], 0xFD);
    EXPECT_EQ(doc.m_image[2], 237);
    EXPECT_EQ(doc.m_image[3], 0x36);
    EXPECT_EQ(doc.m_image[960], 0x01);
    EXPECT_EQ(doc.m_image[962], 0);
    EXPECT_EQ(doc.m_image[28] & 0x04, 0);
}

TEST(CodecImage, NarrowBandwidthGoesIntoEverySixteenFlagBytes) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    editor.SetCurSel(SettingsList::Bandwidth, 1);
    editor.SetTextMatrix(3, 1, "145.12500");
    editor.SetTextMatrix(3, 5, "是");
    EncodeImage(editor, doc);
    for (int ch = 1; ch <= 16; ++ch) {
        EXPECT_TRUE(doc.m_image[RowOffset(ch) + 12] & 0x04) << ch;
    }
    EXPECT_EQ(doc.m_image[RowOffset(17) + 12], 0xFF) << "row 17 is not a 16-channel record";
    EXPECT_EQ(doc.m_image[RowOffset(3) + 12] & 0x01, 0);
    EditorModel again;
    InitialUpdateEditor(doc, again);
    EXPECT_EQ(again.SelectedText(SettingsList::Bandwidth), "窄");
    EXPECT_EQ(again.TextMatrix(3, 5), "是");
    EXPECT_EQ(again.TextMatrix(3, 2), "");
}

TEST(CodecImage, ChannelCellsDecodeFromTheirRecord) {
    DocumentData doc;
    doc.OnNewDocument();
    std::uint8_t* r = doc.m_image.data() + RowOffset(2);
    const std::uint8_t rec[16] = {0x00, 0x25, 0x51, 0x14, 0x00, 0x50, 0x35, 0x43,
                                  0x85, 0x08, 0x54, 0xC7, 0xFA, 0x11, 0x22, 0x33};
    std::copy(std::begin(rec), std::end(rec), r);
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    EXPECT_EQ(editor.TextMatrix(2, 1), "145.12500");
    EXPECT_EQ(editor.TextMatrix(2, 2), "433.55000");
    EXPECT_EQ(editor.TextMatrix(2, 3), "88.5");
    EXPECT_EQ(editor.TextMatrix(2, 4), "D754I");
    EXPECT_EQ(editor.TextMatrix(2, 5), "是");
    // Only a transmit frequency still counts as a channel with a frequency.
    r[3] = 0x00;
    DecodeImage(doc, editor);
    EXPECT_EQ(editor.TextMatrix(2, 1), "");
    EXPECT_EQ(editor.TextMatrix(2, 5), "是");
    // Encoding keeps flag bits other than 0 and 2, and bytes 13..15.
    EncodeImage(editor, doc);
    EXPECT_EQ(r[12], 0xFA);
    EXPECT_EQ(r[13], 0x11);
    EXPECT_EQ(r[15], 0x33);
}

MemoryImage Radio199Image() {
    MemoryImage im{};
    for (std::size_t i = 0; i < kImageSize; ++i) im[i] = static_cast<std::uint8_t>(i * 13 + 5);
    im[3] = '8';
    im[2] = 244;
    for (int ch = 1; ch <= 199; ++ch) {
        std::uint8_t* r = im.data() + RowOffset(ch);
        const int mhz = 136 + ch % 300;
        const int khz = (ch * 125) % 1000;
        const int v = (mhz * 1000 + khz) * 100;  // 10 Hz units
        r[0] = PairByte(v % 100);
        r[1] = PairByte((v / 100) % 100);
        r[2] = PairByte((v / 10000) % 100);
        r[3] = PairByte(v / 1000000);
        if (ch % 5 == 0)
            std::fill(r + 4, r + 8, std::uint8_t{0xFF});
        else
            std::copy(r, r + 4, r + 4);
        const std::string tone = ToneTable::Shared().Name(ch % 261);
        EncodeSquelch(tone, r[9], r[8]);
        EncodeSquelch(ToneTable::Shared().Name((ch * 7) % 261), r[11], r[10]);
        r[12] = static_cast<std::uint8_t>((ch % 3) ? 0xFB : 0xFA);  // wide; some inhibited
    }
    return im;
}

TEST(CodecImage, A199ChannelImageRoundTripsByteForByte) {
    DocumentData doc;
    doc.m_image = Radio199Image();
    doc.SetModelFlagFromImage();
    ASSERT_FALSE(doc.m_bSixteenChannel);
    const MemoryImage before = doc.m_image;
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    ASSERT_EQ(editor.Rows(), 200);
    EXPECT_EQ(editor.TextMatrix(199, 0), "199");
    EXPECT_EQ(editor.SelectedText(SettingsList::Model), "QZ - 199");
    EncodeImage(editor, doc);
    // Opening and saving a canonical 199-channel image changes nothing.
    for (std::size_t i = 0; i < kImageSize; ++i) {
        EXPECT_EQ(doc.m_image[i], before[i]) << "byte " << i;
    }
    EditorModel again;
    InitialUpdateEditor(doc, again);
    for (int row = 1; row < 200; ++row) {
        for (int col = 0; col < 6; ++col) {
            ASSERT_EQ(again.TextMatrix(row, col), editor.TextMatrix(row, col)) << row << "," << col;
        }
    }
}

TEST(ModelChoice, SwitchesRowsFlagAndCodeAndRedecodes) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    editor.SetTextMatrix(1, 1, "150.00000");  // not yet encoded: dropped
    editor.SetCurSel(SettingsList::Model, 1);
    EXPECT_FALSE(ApplyModelChoice(editor, doc));
    EXPECT_EQ(editor.Rows(), 200);
    EXPECT_FALSE(doc.m_bSixteenChannel);
    EXPECT_EQ(doc.m_image[3], '8');
    EXPECT_EQ(editor.TextMatrix(1, 1), "");
    EXPECT_EQ(editor.TextMatrix(199, 0), "199");
    editor.SetCurSel(SettingsList::Model, -1);
    EXPECT_TRUE(ApplyModelChoice(editor, doc));
    EXPECT_EQ(editor.Rows(), 17);
    EXPECT_TRUE(doc.m_bSixteenChannel);
    EXPECT_EQ(doc.m_image[3], '7');
}

// The model list as the window drives it: the choice, the editor encoded,
// then the model applied.
void ChooseModel(EditorModel& editor, DocumentData& doc, int index) {
    editor.SetCurSel(SettingsList::Model, index);
    EncodeImage(editor, doc);
    ApplyModelChoice(editor, doc);
}

bool RowEmpty(const EditorSurface& editor, int row) {
    for (int col = 1; col <= 5; ++col) {
        if (!editor.TextMatrix(row, col).empty()) return false;
    }
    return true;
}

TEST(ModelChoice, ANew199DocumentShowsNoChannelNobodyTyped) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    ChooseModel(editor, doc, 1);
    EXPECT_EQ(ChannelsDroppedBySixteen(editor), 0);
    EncodeImage(editor, doc);
    for (int ch = 1; ch <= 199; ++ch) {
        EXPECT_TRUE(RowEmpty(editor, ch)) << ch;
        for (std::size_t i = 0; i < 12; ++i) ASSERT_EQ(doc.m_image[RowOffset(ch) + i], 0xFF) << ch;
    }
}

TEST(ModelChoice, SixteenDropsChannels17To199AndKeepsTheSettings) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    editor.SetCurSel(SettingsList::Squelch, 7);
    ChooseModel(editor, doc, 1);
    for (const int ch : {1, 17, 60, 61, 199}) editor.SetTextMatrix(ch, kColRxFreq, "145.00000");
    EXPECT_EQ(ChannelsDroppedBySixteen(editor), 4);

    ChooseModel(editor, doc, 0);
    EXPECT_EQ(editor.TextMatrix(1, kColRxFreq), "145.00000");
    EXPECT_EQ(editor.SelectedText(SettingsList::Squelch), "7");
    // Rows 17-199 are empty but for the settings, which start as in a new
    // image with the lists' choices.
    MemoryImage want = NewImage();
    want[kSquelchOffset] = 7;
    want[kPowerOffset] = 9 * 3;
    for (std::size_t i = RowOffset(17); i < RowOffset(200); ++i) {
        ASSERT_EQ(doc.m_image[i], want[i]) << "byte " << i;
    }

    ChooseModel(editor, doc, 1);
    EXPECT_EQ(editor.TextMatrix(1, kColRxFreq), "145.00000");
    for (int ch = 2; ch <= 199; ++ch) EXPECT_TRUE(RowEmpty(editor, ch)) << ch;
    EXPECT_EQ(ChannelsDroppedBySixteen(editor), 0);
}

TEST(NumberText, DecimalReadingIsExact) {
    EXPECT_EQ(LeadingDecimalScaled("64.00625", 5, Cut::Truncate), 6400625);
    EXPECT_EQ(LeadingDecimalScaled("254.1", 1, Cut::Truncate), 2541);
    EXPECT_EQ(LeadingDecimalScaled("88.59", 1, Cut::Truncate), 885);
    EXPECT_EQ(LeadingDecimalScaled("88.59", 1, Cut::RoundHalfUp), 886);
    EXPECT_EQ(LeadingDecimalScaled("-1.25", 1, Cut::RoundHalfUp), -13);
    EXPECT_EQ(LeadingDecimalScaled(" +1e2x", 0, Cut::Truncate), 100);
    EXPECT_EQ(LeadingDecimalScaled(".5", 1, Cut::Truncate), 5);
    EXPECT_EQ(LeadingDecimalScaled("5e-3", 3, Cut::Truncate), 5);
    EXPECT_EQ(LeadingDecimalScaled("5e-9", 3, Cut::RoundHalfUp), 0);
    EXPECT_EQ(LeadingDecimalScaled("OFF", 1, Cut::Truncate), 0);
    EXPECT_EQ(LeadingDecimalScaled(".", 1, Cut::Truncate), 0);
    EXPECT_GT(LeadingDecimalScaled("99999999999999999999999", 5, Cut::Truncate), 0);
    EXPECT_GT(LeadingDecimalScaled("1e999999999", 5, Cut::Truncate), 0);
    EXPECT_EQ(LeadingInteger("023N"), 23);
    EXPECT_EQ(LeadingInteger(" -7"), -7);
    EXPECT_EQ(LeadingInteger("x1"), 0);
}

}  // namespace
}  // namespace quorim
