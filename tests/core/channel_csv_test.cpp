#include "editor/channel_csv.h"

#include <gtest/gtest.h>

#include <random>

#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "text/number_text.h"
#include "text/text_encoding.h"

namespace quorim {
namespace {

// A document with the editor showing it, as the program has it after opening a file.
struct Opened {
    DocumentData doc;
    EditorModel editor;
};

Opened Open(const MemoryImage& image) {
    Opened o;
    o.doc.m_image = image;
    o.doc.SetModelFlagFromImage();
    InitialUpdateEditor(o.doc, o.editor);
    return o;
}

// Random bytes everywhere, settled by one decode and encode: an image the
// codec round-trips, with bytes the editor never shows, odd steps and
// out-of-list tones included.
MemoryImage SettledRandomImage(std::uint8_t modelCode, unsigned seed) {
    std::mt19937 rng(seed);
    MemoryImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    // Mostly valid digit pairs in the channel records, so that channels show.
    for (std::size_t row = 1; row <= 199; ++row) {
        std::uint8_t* r = image.data() + RowOffset(row);
        if (rng() % 5 == 0) continue;
        for (int k = 0; k < 8; ++k) r[k] = PairByte(rng() % 100);
        r[3] = PairByte(1 + rng() % 6);
        r[7] = rng() % 4 ? r[3] : 0xFF;
    }
    image[kModelCodeOffset] = modelCode;
    Opened o = Open(image);
    EncodeImage(o.editor, o.doc);
    return o.doc.m_image;
}

CsvImport Import(const std::string& text, DocumentData& doc, const DocumentData* into = nullptr,
                 int model = 0, CsvLayout layout = CsvLayout::Quorim) {
    CsvImportOptions options;
    options.into = into;
    if (model != 0) {
        options.model = model == 199 ? RadioModel::Qz199 : RadioModel::Qz16;
    }
    options.layout = layout;
    EditorModel editor;
    return ImportCsv(text, options, doc, editor);
}

std::string Header() {
    return "\xEF\xBB\xBF信道,接收频率,发射频率,接收信令,发射信令,是否禁发\r\n";
}

TEST(ChannelCsv, ExportImportIntoTheSameFileGivesEveryByteBack) {
    for (const std::uint8_t model : {kModelCode16, kModelCode199}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            const MemoryImage image = SettledRandomImage(model, seed);
            Opened o = Open(image);
            // The English window's export too, on every other seed.
            const CsvExport csv =
                ExportCsv(o.editor, CsvLayout::Quorim, seed % 2 ? ChineseTexts() : EnglishTexts());
            EXPECT_TRUE(csv.warnings.empty());
            DocumentData out;
            const CsvImport result = Import(csv.text, out, &o.doc);
            ASSERT_TRUE(result.Ok()) << result.refusals.front().Format();
            EXPECT_TRUE(result.warnings.empty()) << result.warnings.front().Format();
            ASSERT_EQ(out.m_image, image) << "model " << model << " seed " << seed;
            EXPECT_EQ(out.m_bSixteenChannel, model == kModelCode16);
        }
    }
}

// A list written by hand after an English export: the English window's
// captions, items and Yes/No in any case, mixed with the Chinese ones.
TEST(ChannelCsv, EnglishCaptionsAndWordsReadAsTheChineseOnes) {
    const std::string english =
        "CH,rx freq,TX Freq,RX Tone,TX Tone,TX Inhibit\n1,145.0125,145.0125,88.5,,yes\n2,146.025,,,,否\n"
        "3,146.5,,,,No\n\nModel,QZ - 16\nmonitor,OFF\n报警音提示,关闭\nBandwidth,Narrow\n";
    const std::string chinese =
        "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\n1,145.0125,145.0125,88.5,,是\n2,146.025,,,,否\n"
        "3,146.5,,,,否\n\n机型,QZ - 16\n监听功能,关闭\n报警音提示,关闭\n频带宽度,窄\n";
    DocumentData fromEnglish, fromChinese;
    const CsvImport e = Import(english, fromEnglish);
    ASSERT_TRUE(e.Ok()) << e.refusals.front().Format();
    ASSERT_TRUE(Import(chinese, fromChinese).Ok());
    EXPECT_EQ(fromEnglish.m_image, fromChinese.m_image);
    Opened o = Open(fromEnglish.m_image);
    EXPECT_EQ(o.editor.TextMatrix(1, kColInhibit), kYes);
    EXPECT_EQ(o.editor.SelectedText(SettingsList::Monitor), "关闭");
    EXPECT_EQ(o.editor.SelectedText(SettingsList::Bandwidth), "窄");

    // A missing column or an unknown item is named as the file names it.
    DocumentData unused;
    const CsvImport missing = Import("CH,RX Freq,TX Freq,RX Tone,TX Tone\n", unused);
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(missing.refusals.front().Format(),
              "row 1, column \"TX Inhibit\": this column is missing from the header row");
    const CsvImport item = Import(english + "TOT,forever\n", unused);
    ASSERT_FALSE(item.Ok());
    EXPECT_EQ(item.refusals.front().Format(EnglishTexts()),
              "row 10, setting \"TOT\" (\"forever\"): not an item of the list: 关闭/Off, 30s, 60s, 90s, "
              "120s, 150s, "
              "180s, 210s, 240s, 270s, 300s");
}

// What a spreadsheet makes of numbers when it saves: "145.12500" becomes
// "145.125", "100.0" becomes "100".
std::string AsSpreadsheetSavesIt(const std::string& text) {
    const CsvReadResult read = ReadCsv(text);
    std::string out;
    for (CsvRecord rec : read.records) {
        for (auto& f : rec) {
            const auto dot = f.find('.');
            if (dot == std::string::npos || f.find_first_not_of("0123456789.") != std::string::npos) continue;
            while (f.back() == '0') f.pop_back();
            if (f.back() == '.') f.pop_back();
        }
        out += CsvLine(rec);
    }
    return out;
}

TEST(ChannelCsv, NumbersShortenedByASpreadsheetStillGiveEveryByteBack) {
    for (const std::uint8_t model : {kModelCode16, kModelCode199}) {
        const MemoryImage image = SettledRandomImage(model, 7);
        Opened o = Open(image);
        const std::string exported = ExportCsv(o.editor, CsvLayout::Quorim).text;
        const std::string text = AsSpreadsheetSavesIt(exported);
        ASSERT_LT(text.size() + 3, exported.size());  // more than the byte order mark went
        DocumentData out;
        const CsvImport result = Import(text, out, &o.doc);
        ASSERT_TRUE(result.Ok()) << result.refusals.front().Format();
        EXPECT_EQ(out.m_image, image);
    }
}

// Channels typed into a new document, saved: what a dealer's file holds.
MemoryImage TypedImage(bool model199) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel grid;
    InitialUpdateEditor(doc, grid);
    if (model199) {
        grid.SetCurSel(SettingsList::Model, 1);
        ApplyModelChoice(grid, doc);
    }
    const int last = model199 ? 199 : 16;
    for (int ch = 1; ch <= last; ch += 3) {
        CommitFrequencyText(grid, ch, kColRxFreq, std::to_string(400 + ch) + ".0125");
        if (ch % 2) CommitFrequencyText(grid, ch, kColTxFreq, std::to_string(140 + ch % 50) + ".55");
        CommitSignallingByEnter(grid, ch, kColRxTone, ch % 4 ? "d023i" : "100");
        CommitSignallingByEnter(grid, ch, kColTxTone, ch % 5 ? "88.5" : "D754N");
        CommitInhibitByEnter(grid, ch, kColInhibit, ch % 7 ? "否" : "是");
    }
    grid.SetCurSel(SettingsList::Band, 5);
    grid.SetCurSel(SettingsList::Bandwidth, 1);
    if (!model199) {
        grid.SetCurSel(SettingsList::Squelch, 7);
        grid.SetCurSel(SettingsList::Tot, 0);
        grid.SetCurSel(SettingsList::Alarm, 1);
        grid.SetCurSel(SettingsList::Monitor, 1);
        grid.SetCurSel(SettingsList::Power, 3);
    }
    EncodeImage(grid, doc);
    return doc.m_image;
}

TEST(ChannelCsv, ImportIntoANewDocumentRebuildsAFileMadeInTheEditor) {
    for (const bool model199 : {false, true}) {
        const MemoryImage image = TypedImage(model199);
        Opened o = Open(image);
        const std::string text = ExportCsv(o.editor, CsvLayout::Quorim).text;
        DocumentData out;
        const CsvImport result = Import(text, out);
        ASSERT_TRUE(result.Ok()) << result.refusals.front().Format();
        EXPECT_EQ(out.m_image, image) << model199;
    }
}

TEST(ChannelCsv, ExportedTextIsTheEditorsOwn) {
    const MemoryImage image = TypedImage(false);
    Opened o = Open(image);
    const std::string text = ExportCsv(o.editor, CsvLayout::Quorim).text;
    EXPECT_EQ(text.rfind(Header(), 0), 0u);
    EXPECT_NE(text.find("\r\n1,401.01250,141.55000,D023I,88.5,否\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n4,404.01250,404.01250,100.0,88.5,否\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n2,,,,,\r\n"), std::string::npos);
    EXPECT_NE(
        text.find("\r\n16,416.01250,416.01250,100.0,88.5,否\r\n\r\n机型,QZ - 16\r\n频段,430 - 450MHZ\r\n"
                  "监听功能,关闭\r\n发射定时,关闭\r\n报警音提示,关闭\r\n静噪等级,7\r\n发射功率(POWER),3\r\n"
                  "频带宽度,窄\r\n"),
        std::string::npos)
        << text;
    // The 199-channel layout stores no function settings, so none are written.
    Opened big = Open(TypedImage(true));
    const std::string text199 = ExportCsv(big.editor, CsvLayout::Quorim).text;
    EXPECT_NE(text199.find("\r\n\r\n机型,QZ - 199\r\n频段,430 - 450MHZ\r\n频带宽度,窄\r\n"),
              std::string::npos);
    EXPECT_EQ(text199.find("静噪等级"), std::string::npos);
}

TEST(ChannelCsv, CellsAreCommittedAsTypedIntoTheGrid) {
    // Spreadsheet forms of the texts: trailing zeros dropped, lower case, blanks.
    const std::string text = Header() +
                             "3, 145.1 ,,100,d023n,\n"
                             "5,145.0125,145.0125,OFF,off,是\n"
                             "7,,439.9875,,,\n"
                             "9,146,146,,,yes\n"
                             "\n静噪等级,2\n频带宽度,窄\n";
    DocumentData out;
    EditorModel editor;
    CsvImportOptions options;
    const CsvImport result = ImportCsv(text, options, out, editor);
    ASSERT_TRUE(result.Ok()) << result.refusals.front().Format();
    EXPECT_TRUE(result.warnings.empty());
    Opened back = Open(out.m_image);
    auto row = [&](int ch) {
        std::string s;
        for (int c = 1; c <= 5; ++c) s += back.editor.TextMatrix(ch, c) + "|";
        return s;
    };
    // Channel 3: the receive frequency opened a new channel and was copied to
    // the transmit side; the empty transmit cell then cleared it again.
    EXPECT_EQ(row(3), "145.10000||100.0|D023N|否|");
    EXPECT_EQ(row(5), "145.01250|145.01250|||是|");  // "OFF" is stored as no tone
    EXPECT_EQ(row(7), "|439.98750|||否|");
    EXPECT_EQ(row(9), "146.00000|146.00000|||是|");
    EXPECT_EQ(row(1), "|||||");
    EXPECT_EQ(back.editor.SelectedText(SettingsList::Squelch), "2");
    EXPECT_EQ(back.editor.SelectedText(SettingsList::Bandwidth), "窄");
    EXPECT_EQ(back.editor.SelectedText(SettingsList::Model), "QZ - 16");
}

TEST(ChannelCsv, EveryRefusalNamesRowColumnAndTheProgramsMessage) {
    const std::string range(kMsgFrequencyRange), step(kMsgFrequencyStep);
    const std::string text = Header() +
                             "1,49.99,,,,\n"                // row 2
                             "2,145.0062,,,,\n"             // row 3
                             "3,abc,,,,\n"                  // row 4
                             "4,145.00000,700.00001,,,\n"   // row 5
                             "5,145.00000,,66.9,,\n"        // row 6
                             "6,145.00000,,,D755N,\n"       // row 7
                             "7,145.00000,,D023,,\n"        // row 8
                             "8,145.00000,,,,maybe\n"       // row 9
                             "9,145.00000,,88.5,88.5,否\n"  // row 10: fine
                             "10,\"145,0125\",,,,\n"        // row 11
                             "11,145.0125 MHz,,,,\n"        // row 12
                             "12,145.00000,,\"88,5\",,\n";  // row 13
    const MemoryImage before = NewImage();
    DocumentData out;
    out.m_image = before;
    const CsvImport result = Import(text, out);
    ASSERT_EQ(result.refusals.size(), 11u);
    const std::string expected[] = {
        "row 2, column \"接收频率\" (\"49.99\"): " + range,
        "row 3, column \"接收频率\" (\"145.0062\"): " + step,
        "row 4, column \"接收频率\" (\"abc\"): " + range,
        "row 5, column \"发射频率\" (\"700.00001\"): " + range,
        "row 6, column \"接收信令\" (\"66.9\"): " + range,
        "row 7, column \"发射信令\" (\"D755N\"): " + range,
        "row 8, column \"接收信令\" (\"D023\"): " + range,
        "row 9, column \"是否禁发\" (\"maybe\"): " + range,
        "row 11, column \"接收频率\" (\"145,0125\"): " + range,
        "row 12, column \"接收频率\" (\"145.0125 MHz\"): " + range,
        "row 13, column \"接收信令\" (\"88,5\"): " + range,
    };
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(result.refusals[i].Format(), expected[i]);
    EXPECT_EQ(out.m_image, before);  // nothing written
}

TEST(ChannelCsv, FileLevelRefusals) {
    struct Case {
        std::string text;
        int model;
        std::string refusal;
    };
    const Case cases[] = {
        {"", 0, "the file holds no header row and no channels"},
        {"信道,接收频率,发射频率,接收信令,发射信令\n1,,,,\n", 0,
         "row 1, column \"是否禁发\": this column is missing from the header row"},
        {"Location,Name,Frequency\n1,,146.52\n", 0,
         "row 1: this file has the exchange layout: import it with --format exchange"},
        {Header() + "17,145.00000,,,,\n", 0,
         "row 2, column \"信道\" (\"17\"): the QZ - 16 has channels 1 to 16"},
        {Header() + "0,,,,,\n", 0,
         "row 2, column \"信道\" (\"0\"): not a channel number nor the caption of a setting"},
        {Header() + "1,,,,,\n\n1,,,,,\n", 0, "row 4, column \"信道\" (\"1\"): this channel is also on row 2"},
        {Header() + "静噪等级,12\n", 0,
         "row 2, setting \"静噪等级\" (\"12\"): not an item of the list: 0, 1, 2, 3, 4, "
         "5, 6, 7, 8, 9"},
        {Header() + "机型,QZ - 99\n", 0,
         "row 2, setting \"机型\" (\"QZ - 99\"): not an item of the list: QZ - 16, QZ - 199"},
        {Header() + "机型,QZ - 199\n", 16,
         "row 2, setting \"机型\" (\"QZ - 199\"): the file is for the QZ - 199, not "
         "the QZ - 16"},
        {Header() + "频段,130 - 150MHZ\n频段,50 - 700MHZ\n", 0,
         "row 3, setting \"频段\": this setting is also on row 2"},
        {Header() + "1,\"145\n", 0, "row 2, column \"#2\": a quoted field is not closed"},
        // A decimal comma only where the fields are separated by semicolons.
        {"信道\t接收频率\t发射频率\t接收信令\t发射信令\t是否禁发\n1\t145,0125\t\t\t\t\n", 0,
         "row 2, column \"接收频率\" (\"145,0125\"): 输入数据错误，请按正确的格式及大小重新输入"},
        {"\xFF\xFE\x41", 0, "UTF-16 text that ends in half a character"},
        {"\xEF\xBB\xBF信道,\x81\x30", 0,
         "the text is neither UTF-8, UTF-16 with a byte order mark, nor GB18030"},
    };
    for (const auto& c : cases) {
        DocumentData out;
        const CsvImport result = Import(c.text, out, nullptr, c.model);
        ASSERT_FALSE(result.Ok()) << c.text;
        EXPECT_EQ(result.refusals.front().Format(), c.refusal);
    }
}

// UTF-16 with its byte order mark, from UTF-8 (no surrogates needed here).
std::string Utf16(const std::string& utf8, bool littleEnd) {
    std::string out = littleEnd ? "\xFF\xFE" : "\xFE\xFF";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned cp = c;
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        if (n == 2) cp = (c & 0x1F) << 6 | (utf8[i + 1] & 0x3F);
        if (n == 3) cp = (c & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
        i += n;
        const char hi = static_cast<char>(cp >> 8), lo = static_cast<char>(cp & 0xFF);
        out += littleEnd ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

TEST(ChannelCsv, EveryEncodingAndSeparatorOfSpreadsheetsGivesTheSameChannels) {
    // Channel 2 as the Quorim layout exports it; the others are empty.
    const std::string rows[] = {"信道,接收频率,发射频率,接收信令,发射信令,是否禁发",
                                "2,145.01250,145.61250,88.5,D023N,是"};
    const auto with = [&](char sep, bool decimalComma) {
        std::string text;
        for (std::string row : rows) {
            for (auto& c : row) {
                if (c == ',') c = sep;
            }
            for (std::size_t k; decimalComma && (k = row.find("145.")) != std::string::npos;)
                row[k + 3] = ',';
            text += row + "\r\n";
        }
        return text;
    };
    // GB18030 of the header's and the inhibit's Chinese.
    const std::string gbHeader =
        "\xD0\xC5\xB5\xC0;\xBD\xD3\xCA\xD5\xC6\xB5\xC2\xCA;\xB7\xA2\xC9\xE4\xC6\xB5\xC2\xCA;"
        "\xBD\xD3\xCA\xD5\xD0\xC5\xC1\xEE;\xB7\xA2\xC9\xE4\xD0\xC5\xC1\xEE;"
        "\xCA\xC7\xB7\xF1\xBD\xFB\xB7\xA2\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"UTF-8, commas", with(',', false)},
        {"UTF-8 with BOM, semicolons, decimal commas", "\xEF\xBB\xBF" + with(';', true)},
        {"UTF-8, tabs", with('\t', false)},
        {"UTF-16LE, tabs", Utf16(with('\t', false), true)},
        {"UTF-16BE, semicolons", Utf16(with(';', true), false)},
        {"GB18030, semicolons, decimal commas", gbHeader + "2;145,01250;145,61250;88,5;D023N;\xCA\xC7\r\n"},
        {"columns in another order",
         "是否禁发,发射信令,信道,接收信令,发射频率,接收频率\n是,D023N,2,88.5,145.6125,145.0125\n"},
    };
    DocumentData expected;
    ASSERT_TRUE(Import(with(',', false), expected, nullptr, 16).Ok());
    EXPECT_EQ(Open(expected.m_image).editor.TextMatrix(2, kColTxTone), "D023N");
    for (const auto& c : cases) {
        DocumentData out;
        const CsvImport result = Import(c.bytes, out, nullptr, 16);
        ASSERT_TRUE(result.Ok()) << c.name << ": " << result.refusals.front().Format();
        EXPECT_EQ(out.m_image, expected.m_image) << c.name;
    }
}

TEST(TextEncoding, BytesDecodeByTheirMarkOrAsUtf8ElseGb18030) {
    const struct {
        std::string bytes;
        std::string text;  // empty: refused
        TextEncoding encoding;
    } cases[] = {
        {"\xE4\xBF\xA1\xE9\x81\x93", "信道", TextEncoding::Utf8},
        {"\xEF\xBB\xBF\xE4\xBF\xA1", "信", TextEncoding::Utf8},
        {std::string("\xFF\xFE\xE1\x4F\x40\xD8\x00\xDC", 8), "信\xF0\xA0\x80\x80", TextEncoding::Utf16Le},
        {std::string("\xFE\xFF\x4F\xE1\x00\x41", 6), "信A", TextEncoding::Utf16Be},
        {std::string("\xFF\xFE\x00\xDC\x41\x00", 6), "", TextEncoding::Utf16Le},  // lone low surrogate
        {"\xD0\xC5\xB5\xC0", "信道", TextEncoding::Gb18030},
        {"\x84\x31\x95\x33\xD0\xC5", "信", TextEncoding::Gb18030},  // its byte order mark
        {"\x81\x30\x81\x30\x95\x32\x82\x36", "\xC2\x80\xF0\xA0\x80\x80",
         TextEncoding::Gb18030},              // four-byte forms
        {"\xD0", "", TextEncoding::Gb18030},  // cut short
    };
#ifdef _WIN32
    // Wine has no GB18030 code page and reads GBK, which lacks the four-byte
    // forms; Windows itself has it.
    const bool fourByteForms = Gb18030ToUtf8("\x81\x30\x81\x30").has_value();
#else
    const bool fourByteForms = true;
#endif
    for (const auto& c : cases) {
        if (!fourByteForms && c.bytes.starts_with("\x81\x30")) {
            continue;
        }
        const DecodedText d = DecodeText(c.bytes);
        EXPECT_EQ(d.text, c.text) << c.text;
        EXPECT_EQ(d.Ok(), !c.text.empty()) << c.text;
        EXPECT_EQ(d.encoding, c.encoding) << c.text;
    }
    const struct {
        const char* text;
        char separator;
    } separators[] = {
        {"\n\na;b;c,d\n1,2,3,4,5\n", ';'},
        {"a\tb,c\td\n", '\t'},
        {"\"a;b;c\",d\n", ','},
        {"abc\n", ','},
        {"a;b,c\n", ','},
    };
    for (const auto& c : separators) EXPECT_EQ(DetectSeparator(c.text), c.separator) << c.text;
}

// A cell of megabytes is quoted shortened, never cut inside a character.
TEST(ChannelCsv, LongCellsAreQuotedShortened) {
    std::string chinese = "ab";
    for (int i = 0; i < 20; ++i) chinese += "频";
    const CsvNote note{2, chinese, false, std::string(16u << 20, '9'), "not a frequency"};
    EXPECT_EQ(note.Format(), "row 2, column \"ab" + chinese.substr(2, 36) + "…\", 62 bytes (\"" +
                                 std::string(40, '9') + "…\", 16777216 bytes): not a frequency");
}

TEST(ChannelCsv, ModelComesFromTheFileAndMayChangeTheStartingDocument) {
    // Channel 150 fits once the file names the 199-channel radio.
    const std::string text = Header() + "150,433.00000,,,,\n\n机型,QZ - 199\n";
    DocumentData out;
    ASSERT_TRUE(Import(text, out).Ok());
    EXPECT_EQ(out.m_image[kModelCodeOffset], kModelCode199);
    EXPECT_FALSE(out.m_bSixteenChannel);
    EXPECT_EQ(Open(out.m_image).editor.TextMatrix(150, kColRxFreq), "433.00000");

    // Into a 16-channel file: the model is switched as if picked in the list,
    // and bytes the editor does not show stay.
    MemoryImage small = SettledRandomImage(kModelCode16, 99);
    small[2013] = 0x5A;
    Opened o = Open(small);
    DocumentData out2;
    ASSERT_TRUE(Import(text, out2, &o.doc).Ok());
    EXPECT_EQ(out2.m_image[kModelCodeOffset], kModelCode199);
    EXPECT_EQ(out2.m_image[2013], 0x5A);
    EXPECT_EQ(out2.m_image[0], small[0]);

    // A function setting the 199-channel layout does not store is reported, not applied.
    const std::string withAlarm = text + "报警音提示,关闭\n";
    DocumentData out3;
    const CsvImport result = Import(withAlarm, out3);
    ASSERT_TRUE(result.Ok());
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].Format(),
              "row 5, setting \"报警音提示\" (\"关闭\"): the QZ - 199 has no such setting: ignored");
}

TEST(ChannelCsv, NamingQz16IntoA199ChannelFileCountsTheChannelsDropped) {
    MemoryImage big;
    big.fill(0xFF);  // every channel empty
    big[kModelCodeOffset] = kModelCode199;
    Opened o = Open(big);
    for (const int ch : {5, 17, 100, 199}) o.editor.SetTextMatrix(ch, kColRxFreq, "145.00000");
    EncodeImage(o.editor, o.doc);
    const struct {
        std::string text;
        int dropped;
    } cases[] = {
        {Header() + "1,145.00000,,,,\n\n机型,QZ - 16\n", 3},  // 17, 100 and 199; channel 5 stays
        {Header() + "1,145.00000,,,,\n\n机型,QZ - 199\n", 0},
        {Header() + "1,145.00000,,,,\n", 0},  // no model named: the file's own
    };
    for (const auto& c : cases) {
        DocumentData out;
        const CsvImport result = Import(c.text, out, &o.doc);
        ASSERT_TRUE(result.Ok());
        EXPECT_EQ(result.droppedChannels, c.dropped) << c.text;
    }
}

TEST(ChannelCsv, WhatTheGridDropsIsReported) {
    // Signalling and inhibit on a channel without a frequency: the grid keeps
    // nothing of them; an unknown column is ignored with a word.
    const std::string text = "信道,接收频率,发射频率,接收信令,发射信令,是否禁发,备注\n2,,,88.5,,是,note\n";
    DocumentData out;
    const CsvImport result = Import(text, out);
    ASSERT_TRUE(result.Ok());
    ASSERT_EQ(result.warnings.size(), 3u);
    EXPECT_EQ(result.warnings[0].Format(), "row 1, column \"备注\": not a column of this layout: ignored");
    EXPECT_EQ(result.warnings[1].Format(),
              "row 2, column \"接收信令\" (\"88.5\"): left out: the channel has no frequency");
    EXPECT_EQ(result.warnings[2].Format(),
              "row 2, column \"是否禁发\" (\"是\"): left out: the channel has no frequency");
}

}  // namespace
}  // namespace quorim
