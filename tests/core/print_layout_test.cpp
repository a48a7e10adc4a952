#include "editor/print_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "editor/codec.h"
#include "editor/editor_model.h"
#include "image/memory_image.h"

namespace quorim {
namespace {

const PrintRect kPage600 = {0, 0, 4800, 6600};  // 8 x 11 inches at 600 pixels per inch

// A form as the view shows it: headers, rows by model, decoded image.
EditorModel Form(bool sixteen) {
    DocumentData doc;
    doc.m_bSixteenChannel = sixteen;
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    return editor;
}

// The texts of a page by their position.
std::map<std::pair<int, int>, std::string> ByPosition(const std::vector<PrintText>& texts) {
    std::map<std::pair<int, int>, std::string> m;
    for (const auto& t : texts) m[{t.x, t.y}] = t.text;
    return m;
}

TEST(PrintMetrics, WorkedGeometryAt600Dpi) {
    const PageMetrics m = ComputePageMetrics(kPage600, 600, 600);
    EXPECT_EQ(m.lineHeight, 376);
    EXPECT_EQ(m.charWidth, 177);
    EXPECT_EQ(m.titleFont.height, -526);
    EXPECT_EQ(m.titleFont.width, 247);
    EXPECT_EQ(m.titleFont.face, "宋体");
    EXPECT_EQ(m.titleX, 3990);
    EXPECT_EQ(m.bodyFont.height, -376);
    EXPECT_EQ(m.bodyFont.width, 177);
    EXPECT_EQ(m.bodyFont.face, "Times New Roman");

    const EditorModel form = Form(true);
    std::set<int> xs;
    for (const auto& t : LayoutPrintPage(form, 1, m, 530, 420)) {
        if (t.font == PrintFontKind::Body) xs.insert(t.x);
    }
    // Channel columns, the settings entries and the section headings.
    EXPECT_EQ(xs, (std::set<int>{177, 1062, 3186, 5664, 7434, 9204, 354, 5487, 885}));
}

TEST(PrintMetrics, EachDivisionTruncatesInItsOrder) {
    // 300 x 200 pixels per inch, an offset rectangle.
    const PageMetrics m = ComputePageMetrics({100, 50, 2500, 2150}, 300, 200);
    EXPECT_EQ(m.lineHeight, (2100 / 42) * 1440 / 200);          // 360
    EXPECT_EQ(m.charWidth, ((2400 * 1440 / 300) - 900) / 60);   // 177
    EXPECT_EQ(m.titleX, ((2500 / 2) * 1440 / 300) - 10 * 177);  // 4230
    EXPECT_EQ(m.titleFont.height, -504);
    const PageMetrics odd = ComputePageMetrics({0, 0, 4801, 6641}, 600, 601);
    EXPECT_EQ(odd.lineHeight, 158 * 1440 / 601);  // 378, after 6641 / 42 = 158
    EXPECT_EQ(odd.titleFont.height, -529);        // trunc(-529.2)
    EXPECT_EQ(odd.titleFont.width, 247);
    EXPECT_EQ(ComputePageMetrics(kPage600, 0, 600).lineHeight, 0);  // no division by zero
}

TEST(PrintPages, CountsAndRowRangesCoverEveryRow) {
    EXPECT_EQ(PrintPageCount(kRows16), 1);
    EXPECT_EQ(PreviewPagesShown(kRows16), 1);
    EXPECT_EQ(PrintPageRows(1, kRows16).first, 1);
    EXPECT_EQ(PrintPageRows(1, kRows16).last, 16);

    EXPECT_EQ(PrintPageCount(kRows199), 7);
    EXPECT_EQ(PreviewPagesShown(kRows199), 2);
    const std::pair<int, int> ranges[] = {{1, 26},    {27, 57},   {58, 88},  {89, 119},
                                          {120, 150}, {151, 181}, {182, 199}};
    for (int p = 1; p <= 7; ++p) {
        const RowRange r = PrintPageRows(p, kRows199);
        EXPECT_EQ(std::pair(r.first, r.last), ranges[p - 1]) << "page " << p;
    }
    EXPECT_GT(PrintPageRows(8, kRows199).first, PrintPageRows(8, kRows199).last);
    EXPECT_GT(PrintPageRows(0, kRows16).first, PrintPageRows(0, kRows16).last);
}

TEST(PrintPages, TitlesContinueThePattern) {
    const char* titles[] = {"本机设置数据第一页", "本机设置数据第二页", "本机设置数据第三页",
                            "本机设置数据第四页", "本机设置数据第五页", "本机设置数据第六页",
                            "本机设置数据第七页"};
    for (int p = 1; p <= 7; ++p) EXPECT_EQ(PrintPageTitle(p), titles[p - 1]);
    EXPECT_EQ(PrintPageTitle(10), "本机设置数据第十页");
    EXPECT_EQ(PrintPageTitle(12), "本机设置数据第十二页");
}

TEST(PrintPages, EveryChannelOfThe199ModelIsPrintedOnce) {
    const EditorModel form = Form(false);
    const PageMetrics m = ComputePageMetrics(kPage600, 600, 600);
    std::map<std::string, int> seen;
    for (int p = 1; p <= PrintPageCount(form.Rows()); ++p) {
        const auto texts = LayoutPrintPage(form, p, m, 530, 420);
        EXPECT_EQ(texts.front().text, PrintPageTitle(p));
        for (const auto& t : texts) {
            if (t.x == m.charWidth && t.text != PrintHeaderLine(form)) ++seen[t.text];
        }
    }
    ASSERT_EQ(seen.size(), 199u);
    for (int ch = 1; ch <= 199; ++ch) EXPECT_EQ(seen[std::to_string(ch)], 1) << ch;
    EXPECT_TRUE(LayoutPrintPage(form, 8, m, 530, 420).empty());
}

// Print to file offers the document's own name in its own folder.
TEST(PrintLayout, ThePdfGoesBesideTheDocument) {
    const struct {
        const char* path;
        const char* title;
        const char* folder;
        const char* pdf;
    } cases[] = {
        {"/data/fleet.szt", "fleet.szt", "/home/u", "/data/fleet.pdf"},
        {"/data/v1.2/fleet", "fleet", "", "/data/v1.2/fleet.pdf"},
        {"/data/.hidden", ".hidden", "", "/data/.hidden.pdf"},
        {"", "Halvoren数据文件1", "/home/u", "/home/u/Halvoren数据文件1.pdf"},
        {"", "Halvoren数据文件1", "/", "/Halvoren数据文件1.pdf"},
    };
    for (const auto& c : cases) EXPECT_EQ(PdfPathFor(c.path, c.title, c.folder), c.pdf) << c.path;
}

TEST(PrintLayout, FirstPageLinesAndPositions) {
    EditorModel form = Form(true);
    form.SetTextMatrix(1, kColRxFreq, "145.01250");
    form.SetTextMatrix(1, kColTxFreq, "145.01250");
    form.SetTextMatrix(1, kColRxTone, "88.5");
    form.SetTextMatrix(1, kColTxTone, "OFF");
    form.SetTextMatrix(1, kColInhibit, "否");
    form.SetCurSel(SettingsList::Bandwidth, -1);  // no selection prints as nothing
    const PageMetrics m = ComputePageMetrics(kPage600, 600, 600);
    // Odd heights, so every halving and every 1.2 x BL truncates.
    const int tl = 531, bl = 421;
    const auto texts = LayoutPrintPage(form, 1, m, tl, bl);
    const auto at = ByPosition(texts);

    EXPECT_EQ(texts.front().font, PrintFontKind::Title);
    EXPECT_EQ(at.at({3990, -265}), "本机设置数据第一页");
    const int y0 = -265 - 531;  // -796
    const int y1 = -1301;       // trunc(-796 - 505.2)
    EXPECT_EQ(at.at({885, y0}), "一整机功能设置部分:");
    EXPECT_EQ(at.at({354, y1}), "机型:   QZ - 16");
    EXPECT_EQ(at.at({5487, y1}), "频段  :" + form.SelectedText(SettingsList::Band));
    EXPECT_EQ(at.at({354, y1 - bl}), "监听功能:" + form.SelectedText(SettingsList::Monitor));
    EXPECT_EQ(at.at({5487, y1 - bl}), "发射定时(TOT): " + form.SelectedText(SettingsList::Tot));
    EXPECT_EQ(at.at({354, y1 - 2 * bl}), "报警音提示: " + form.SelectedText(SettingsList::Alarm));
    EXPECT_EQ(at.at({5487, y1 - 2 * bl}), "静噪等级: " + form.SelectedText(SettingsList::Squelch));
    EXPECT_EQ(at.at({354, y1 - 3 * bl}), "发射功率: " + form.SelectedText(SettingsList::Power));
    EXPECT_EQ(at.at({5487, y1 - 3 * bl}), "频带宽度: ");
    const int y5 = y1 - 4 * bl;  // -2985
    EXPECT_EQ(at.at({885, y5}), "二信道数据部分:");
    const int header = -3490;  // trunc(-2985 - 505.2)
    EXPECT_EQ(at.at({177, header}), "信道    接收频率       发射频率     接收信令  发射信令  是否禁发");

    // Channel 1 filled, channel 2 empty: its number and single blanks.
    EXPECT_EQ(at.at({177, header - bl}), "1");
    EXPECT_EQ(at.at({1062, header - bl}), "145.01250 ");
    EXPECT_EQ(at.at({3186, header - bl}), "145.01250 ");
    EXPECT_EQ(at.at({5664, header - bl}), "88.5 ");
    EXPECT_EQ(at.at({7434, header - bl}), "OFF ");
    EXPECT_EQ(at.at({9204, header - bl}), "否 ");
    EXPECT_EQ(at.at({177, header - 2 * bl}), "2");
    for (int x : {1062, 3186, 5664, 7434, 9204}) EXPECT_EQ(at.at({x, header - 2 * bl}), " ");
    EXPECT_EQ(at.at({177, header - 16 * bl}), "16");
    // Title, 2 headings, 8 settings, header line, 16 lines of six texts.
    EXPECT_EQ(texts.size(), 1u + 2 + 8 + 1 + 16 * 6);
}

// Marks every piece it is asked for, so a test sees what was asked.
class BracketTexts : public TextTranslator {
public:
    std::string Translate(std::string_view context, std::string_view text) const override {
        return "<" + std::string(context) + ":" + std::string(text) + ">";
    }
};

TEST(PrintLayout, OnlyTheProgramsOwnWordsAreTranslated) {
    EditorModel form = Form(true);
    form.SetTextMatrix(1, kColRxFreq, "145.01250");
    form.SetTextMatrix(1, kColInhibit, "否");
    const PageMetrics m = ComputePageMetrics(kPage600, 600, 600);
    std::set<std::string> texts;
    for (const auto& t : LayoutPrintPage(form, 1, m, 530, 420, BracketTexts())) texts.insert(t.text);
    EXPECT_TRUE(texts.count("<Quorim:本机设置数据第一页>"));  // the pattern, its %N filled in
    EXPECT_TRUE(texts.count("<Quorim:一整机功能设置部分:>"));
    EXPECT_TRUE(texts.count("<Quorim:二信道数据部分:>"));
    EXPECT_TRUE(texts.count("<Quorim:机型:   ><SettingsList:QZ - 16>"));
    EXPECT_TRUE(
        texts.count("<Quorim:频带宽度: ><SettingsList:" + form.SelectedText(SettingsList::Bandwidth) + ">"));
    EXPECT_TRUE(texts.count(PrintHeaderLine(form, BracketTexts())));
    EXPECT_TRUE(PrintHeaderLine(form, BracketTexts()).starts_with("<Quorim:信道>    <Quorim:接收频率>"));
    EXPECT_TRUE(texts.count("<Quorim:否> "));
    // The user's data is printed as it is.
    EXPECT_TRUE(texts.count("145.01250 "));
    EXPECT_TRUE(texts.count("1"));
}

TEST(PrintLayout, LaterPagesStartWithTheChannelSection) {
    const EditorModel form = Form(false);
    const PageMetrics m = ComputePageMetrics(kPage600, 600, 600);
    const auto texts = LayoutPrintPage(form, 7, m, 530, 420);
    const auto at = ByPosition(texts);
    EXPECT_EQ(at.at({3990, -265}), "本机设置数据第七页");
    EXPECT_EQ(at.at({885, -795}), "二信道数据部分:");
    const int header = -1299;  // trunc(-795 - 504)
    EXPECT_EQ(at.at({177, header}), PrintHeaderLine(form));
    EXPECT_EQ(at.at({177, header - 420}), "182");
    EXPECT_EQ(at.at({177, header - 18 * 420}), "199");
    EXPECT_EQ(texts.size(), 1u + 1 + 1 + 18 * 6);
}

}  // namespace
}  // namespace quorim
