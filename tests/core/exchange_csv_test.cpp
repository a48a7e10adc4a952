#include <gtest/gtest.h>

#include "editor/cell_rules.h"
#include "editor/channel_csv.h"
#include "editor/codec.h"

namespace quorim {
namespace {

const char* const kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,"
    "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

// A list as another programming tool writes it, typed by hand from what its
// columns mean.
const char* const kHandWritten =
    "1,Simplex,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,5.0W,,,,,\r\n"
    "2,RPT up,145.600000,+,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "3,RPT dn,439.150000,-,5.000000,TSQL,67.0,100.0,023,NN,023,Tone->Tone,FM,12.50,S,,,,,,\r\n"
    "4,Codes,462.125000,,0.000000,DTCS,88.5,88.5,023,NR,411,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "5,Cross,462.150000,,0.000000,Cross,67.0,88.5,023,NN,754,Tone->DTCS,FM,12.50,,,,,,,\r\n"
    "6,Listen,462.175000,,0.000000,Cross,88.5,127.3,023,NN,023,->Tone,FM,12.50,,,,,,,\r\n"
    "7,Split,145.500000,split,435.000000,Cross,88.5,88.5,23,RN,606,DTCS->DTCS,FM,12.50,,,,,,,\r\n"
    "8,WX,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "9,23cm,1296.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "10,Odd step,145.002500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,2.50,,,,,,,\r\n"
    "11,Air,124.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,,,,,,\r\n"
    "12,Narrow,446.018750,,0.000000,Tone,69.3,88.5,023,NN,023,Tone->Tone,NFM,12.50,,,,,,,\r\n"
    "13,Bad tone,446.031250,,0.000000,Tone,300.0,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "0,Zero,446.043750,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "20,Beyond,446.056250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "2,Again,446.068750,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n"
    "14,Far,440.000000,+,300.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.50,,,,,,,\r\n";

std::string Row(const EditorModel& e, int ch) {
    std::string s;
    for (int c = 1; c <= 5; ++c) s += e.TextMatrix(ch, c) + "|";
    return s;
}

TEST(ExchangeCsv, HandWrittenListImportsWhatFitsAndReportsTheRest) {
    CsvImportOptions options;
    options.layout = CsvLayout::Exchange;
    options.model = RadioModel::Qz16;
    DocumentData doc;
    EditorModel editor;
    const CsvImport result = ImportCsv(std::string(kHeader) + kHandWritten, options, doc, editor);
    ASSERT_TRUE(result.Ok());

    DocumentData back = doc;
    EditorModel shown;
    InitialUpdateEditor(back, shown);
    EXPECT_EQ(Row(shown, 1), "446.00625|446.00625|||否|");
    EXPECT_EQ(Row(shown, 2), "145.60000|146.20000||88.5|否|");
    EXPECT_EQ(Row(shown, 3), "439.15000|434.15000|100.0|100.0|否|");  // TSQL: cToneFreq both ways
    EXPECT_EQ(Row(shown, 4),
              "462.12500|462.12500|D023I|D023N|否|");  // DTCS: DtcsCode, polarity sent/received
    EXPECT_EQ(Row(shown, 5), "462.15000|462.15000|D754N|67.0|否|");
    EXPECT_EQ(Row(shown, 6), "462.17500|462.17500|127.3||否|");
    EXPECT_EQ(Row(shown, 7), "145.50000|435.00000|D606N|D023I|否|");
    EXPECT_EQ(Row(shown, 8), "162.55000|162.55000|||是|");
    for (const int ch : {9, 10, 11, 14, 15, 16}) EXPECT_EQ(Row(shown, ch), "|||||") << ch;
    EXPECT_EQ(Row(shown, 12), "446.01875|446.01875||69.3|否|");
    EXPECT_EQ(Row(shown, 13), "446.03125|446.03125|||否|");
    // Channel 1 asked for FM, so the radio stays wide; 12 asked for NFM.
    EXPECT_EQ(shown.SelectedText(SettingsList::Bandwidth), "宽");

    std::vector<std::string> warnings;
    for (const auto& w : result.warnings) warnings.push_back(w.Format());
    const std::string range(kMsgFrequencyRange), step(kMsgFrequencyStep);
    const std::vector<std::string> expected = {
        "row 10, column \"Frequency\" (\"1296.000000\"): " + range + ": row left out",
        "row 11, column \"Frequency\" (\"145.002500\"): " + step + ": row left out",
        "row 12, column \"Mode\" (\"AM\"): this radio receives FM and NFM only: row left out",
        "row 14, column \"rToneFreq\" (\"300.0\"): " + range + ": transmit squelch left off",
        "row 15, column \"Location\" (\"0\"): the QZ - 16 has channels 1 to 16: row left out",
        "row 16, column \"Location\" (\"20\"): the QZ - 16 has channels 1 to 16: row left out",
        "row 17, column \"Location\" (\"2\"): channel also on row 3: row left out",
        "row 18, column \"Offset\" (\"300.000000\"): transmit frequency 740.00000: " + range +
            ": row left out",
        "column \"Mode\": the bandwidth is one setting for the whole radio: FM as channel 1 has it; channel "
        "12 "
        "asked for the other",
        "column \"Name\": left out of 10 channels: this radio stores no channel names",
        "column \"Power\": left out of 1 channel: transmit power is one setting for the whole radio",
        "column \"Skip\": left out of 1 channel: this radio has no scan list",
        "column \"TStep\": left out of 10 channels: this radio stores no tuning step",
    };
    EXPECT_EQ(warnings, expected);
}

TEST(ExchangeCsv, NumbersAreReadWhole) {
    CsvImportOptions options;
    options.layout = CsvLayout::Exchange;
    options.model = RadioModel::Qz16;
    DocumentData doc;
    EditorModel editor;
    const CsvImport result =
        ImportCsv(std::string(kHeader) +
                      "1,,\"145,600000\",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,,,,,,,,\r\n"
                      "2,,145.600000,+,\"0,600000\",,88.5,88.5,023,NN,023,Tone->Tone,FM,,,,,,,,\r\n",
                  options, doc, editor);
    ASSERT_TRUE(result.Ok());
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].Format(), "row 2, column \"Frequency\" (\"145,600000\"): " +
                                               std::string(kMsgFrequencyRange) + ": row left out");
    EXPECT_EQ(result.warnings[1].Format(),
              "row 3, column \"Offset\" (\"0,600000\"): not a number: row left out");
}

TEST(ExchangeCsv, ModelFollowsTheLocationsAndTheListReplacesTheChannels) {
    CsvImportOptions options;
    options.layout = CsvLayout::Exchange;
    const std::string list = "Location,Frequency,Mode\n1,145.5,NFM\n150,433.0,NFM\n";
    DocumentData doc;
    EditorModel editor;
    ASSERT_TRUE(ImportCsv(list, options, doc, editor).Ok());
    EXPECT_FALSE(doc.m_bSixteenChannel);
    EXPECT_EQ(editor.TextMatrix(150, kColRxFreq), "433.00000");
    EXPECT_EQ(editor.SelectedText(SettingsList::Bandwidth), "窄");

    // Into a file: its settings stay, its channels give way to the list.
    DocumentData into;
    into.OnNewDocument();
    EditorModel grid;
    InitialUpdateEditor(into, grid);
    CommitFrequencyText(grid, 5, kColRxFreq, "150.0");
    grid.SetCurSel(SettingsList::Squelch, 8);
    EncodeImage(grid, into);
    options.into = &into;
    const CsvImport result = ImportCsv("Location,Frequency\n3,145.5\n", options, doc, editor);
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.empty());
    EXPECT_EQ(editor.TextMatrix(3, kColRxFreq), "145.50000");
    EXPECT_EQ(editor.TextMatrix(5, kColRxFreq), "");
    EXPECT_EQ(editor.SelectedText(SettingsList::Squelch), "8");

    const CsvImport missing = ImportCsv("Location,Name\n1,x\n", options, doc, editor);
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(missing.refusals[0].Format(),
              "row 1, column \"Frequency\": this column is missing from the header row");
}

TEST(ExchangeCsv, ExportWritesTheColumnsFromOurData) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel grid;
    InitialUpdateEditor(doc, grid);
    auto channel = [&](int ch, const char* rx, const char* tx, const char* rxTone, const char* txTone,
                       const char* inhibit) {
        grid.SetTextMatrix(ch, kColRxFreq, rx);
        grid.SetTextMatrix(ch, kColTxFreq, tx);
        grid.SetTextMatrix(ch, kColRxTone, rxTone);
        grid.SetTextMatrix(ch, kColTxTone, txTone);
        grid.SetTextMatrix(ch, kColInhibit, inhibit);
    };
    channel(1, "446.00625", "446.00625", "OFF", "OFF", "否");
    channel(2, "145.60000", "146.20000", "", "88.5", "否");
    channel(3, "439.15000", "434.15000", "100.0", "100.0", "否");
    channel(4, "462.12500", "462.12500", "D023I", "D023N", "否");
    channel(5, "462.15000", "462.15000", "D754N", "67.0", "否");
    channel(6, "462.17500", "462.17500", "127.3", "", "否");
    channel(7, "145.50000", "435.00000", "D606N", "D023I", "否");
    channel(8, "162.55000", "163.00000", "", "", "是");
    channel(9, "", "145.00000", "", "", "否");
    channel(10, "145.00000", "145.00000", "D023N", "", "否");
    grid.SetCurSel(SettingsList::Bandwidth, 1);
    const CsvExport csv = ExportCsv(grid, CsvLayout::Exchange);
    const std::string expected =
        std::string(kHeader) +
        "1,,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,,,,,,\r\n"
        "2,,145.600000,+,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,,,,,,\r\n"
        "3,,439.150000,-,5.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,NFM,5.00,,,,,,,\r\n"
        "4,,462.125000,,0.000000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,NFM,5.00,,,,,,,\r\n"
        "5,,462.150000,,0.000000,Cross,67.0,88.5,754,NN,754,Tone->DTCS,NFM,5.00,,,,,,,\r\n"
        "6,,462.175000,,0.000000,Cross,127.3,127.3,023,NN,023,->Tone,NFM,5.00,,,,,,,\r\n"
        "7,,145.500000,split,435.000000,Cross,88.5,88.5,023,RN,606,DTCS->DTCS,NFM,5.00,,,,,,,\r\n"
        "8,,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,,,,,,\r\n"
        "10,,145.000000,,0.000000,Cross,88.5,88.5,023,NN,023,->DTCS,NFM,5.00,,,,,,,\r\n";
    EXPECT_EQ(csv.text, expected);
    ASSERT_EQ(csv.warnings.size(), 2u);
    EXPECT_EQ(csv.warnings[0].Format(),
              "channel 8: transmitting is inhibited; its transmit frequency 163.00000 is not carried");
    EXPECT_EQ(csv.warnings[1].Format(),
              "channel 9 has a transmit frequency only: the layout cannot carry it");

    // And back: every channel the layout carried comes back as it was.
    CsvImportOptions options;
    options.layout = CsvLayout::Exchange;
    DocumentData again;
    EditorModel back;
    ASSERT_TRUE(ImportCsv(csv.text, options, again, back).Ok());
    for (const int ch : {1, 2, 3, 4, 5, 6, 7, 10}) {
        for (int col = 1; col <= 5; ++col) {
            const std::string want = grid.TextMatrix(ch, col);
            const std::string got = back.TextMatrix(ch, col);
            // Our editor stores "no tone" as "OFF" or empty alike.
            EXPECT_EQ(got == "OFF" ? "" : got, want == "OFF" ? "" : want) << ch << "," << col;
        }
    }
    EXPECT_EQ(back.TextMatrix(8, kColTxFreq), "162.55000");
    EXPECT_EQ(back.TextMatrix(8, kColInhibit), "是");
    EXPECT_EQ(back.SelectedText(SettingsList::Bandwidth), "窄");
}

}  // namespace
}  // namespace quorim
