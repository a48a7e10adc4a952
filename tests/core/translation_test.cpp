// The printed pages in another language: every piece the layout composes is
// asked of the translator under the context the windows use for it.
#include "base/translation.h"

#include <gtest/gtest.h>

#include <map>

#include "editor/codec.h"
#include "editor/editor_model.h"
#include "editor/print_layout.h"
#include "editor/settings_lists.h"
#include "files/file_status_text.h"
#include "link/clone_engine.h"

namespace quorim {
namespace {

// Knows a few texts; says which context each lookup came with.
class TableTexts : public TextTranslator {
public:
    std::string Translate(std::string_view context, std::string_view text) const override {
        const auto it = m_table.find({std::string(context), std::string(text)});
        return it == m_table.end() ? std::string(text) : it->second;
    }
    std::map<std::pair<std::string, std::string>, std::string> m_table = {
        {{"Quorim", "本机设置数据第%N页"}, "Settings, page %1 of the radio"},
        {{"Quorim", "监听功能:"}, "Monitor: "},
        {{"SettingsList", "打开"}, "On"},
        {{"Quorim", "打开"}, "Open"},
        {{"Quorim", "信道"}, "CH"},
        {{"Quorim", "是否禁发"}, "Inhibit"},
        {{"Quorim", "无法保存文件“%1”，原文件未改动"}, "Cannot save \"%1\"; the file is unchanged"},
        {{"Quorim", "（%1）"}, " (%1)"},
        {{"Quorim", "这是一个文件夹"}, "it is a folder"},
        {{"Quorim", "读频完成：%1，%2 个信道，%3"}, "Read done: %1, %2 channels, %3"},
        {{"Quorim", "是"}, "Yes"},
        {{"Quorim", "否"}, "No"},
    };
};

bool Contains(const std::vector<PrintText>& texts, const std::string& text) {
    for (const auto& t : texts) {
        if (t.text == text) return true;
    }
    return false;
}

TEST(PrintTranslation, PiecesAreTranslatedUnderTheirContexts) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel form;
    InitialUpdateEditor(doc, form);
    form.SetTextMatrix(1, kColInhibit, std::string(kYes));
    form.SetTextMatrix(2, kColInhibit, std::string(kNo));
    form.SetTextMatrix(2, kColRxFreq, "是");  // a cell outside the inhibit column is the user's text
    const PageMetrics m = ComputePageMetrics({0, 0, 4800, 6600}, 600, 600);
    const TableTexts tr;
    const auto texts = LayoutPrintPage(form, 1, m, 530, 420, tr);

    EXPECT_EQ(texts.front().text, "Settings, page 1 of the radio");
    // The list item is an item ("On"), not the command ("Open").
    EXPECT_TRUE(Contains(texts, "Monitor: On"));
    EXPECT_EQ(PrintHeaderLine(form, tr).substr(0, 2), "CH");
    EXPECT_NE(PrintHeaderLine(form, tr).find("Inhibit"), std::string::npos);
    EXPECT_TRUE(Contains(texts, "Yes "));
    EXPECT_TRUE(Contains(texts, "No "));
    EXPECT_TRUE(Contains(texts, "是 "));
    // Untranslated pieces stay as they are.
    EXPECT_TRUE(Contains(texts, "一整机功能设置部分:"));
}

TEST(PrintTranslation, TitlePatternTakesChineseNumeralsOrDigits) {
    EXPECT_EQ(PrintPageTitle(1), "本机设置数据第一页");
    EXPECT_EQ(PrintPageTitle(21), "本机设置数据第二十一页");
    EXPECT_EQ(PrintPageTitle(21, ChineseTexts()), "本机设置数据第二十一页");
    const TableTexts tr;
    EXPECT_EQ(PrintPageTitle(21, tr), "Settings, page 21 of the radio");
}

TEST(ProgramLanguage, TheStartedNameTellsTheLanguage) {
    EXPECT_EQ(LanguageOfProgramName("tarvolin_EN.DLL"), UiLanguage::English);
    EXPECT_EQ(LanguageOfProgramName("/usr/local/bin/tarvolin_EN.DLL"), UiLanguage::English);
    EXPECT_EQ(LanguageOfProgramName("C:\\Program Files\\Quorim\\tarvolin_EN.DLL"), UiLanguage::English);
    EXPECT_EQ(LanguageOfProgramName("C:\\Quorim\\Quorim_EN.exe"), UiLanguage::English);
    EXPECT_EQ(LanguageOfProgramName("C:\\Quorim\\Quorim_CH.exe"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfProgramName("tarvolin_CH.DLL"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfProgramName("Quorim_CH"), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfProgramName(""), UiLanguage::Chinese);
    EXPECT_EQ(LanguageOfProgramName("TARVOLIN_EN.DLL"), UiLanguage::Chinese);
}

// The programs without Qt read the windows' catalogue, compiled in at build time.
TEST(ProgramLanguage, EnglishTextsAreTheWindowsCatalogue) {
    const struct {
        const char* context;
        const char* source;
        const char* english;
    } rows[] = {
        {"Quorim", "打开", "Open"},
        {"SettingsList", "打开", "On"},  // the list item, not the command
        {"Quorim", "查看(&V)", "&View"},
        {"Quorim", "无法保存文件“%1”，原文件未改动", "Cannot save \"%1\"; the previous file is unchanged"},
        {"Quorim", "QZ系列对讲机读频、写频与在线调试。\n版权所有 (C) Quorim 开发者。",
         "Reading, writing and online tuning of QZ series radios.\nCopyright (C) the Quorim developers."},
        {"Quorim", "没有这样的文字", "没有这样的文字"},
        {"Elsewhere", "打开", "打开"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(EnglishTexts().Translate(row.context, row.source), row.english) << row.source;
        EXPECT_EQ(ChineseTexts().Translate(row.context, row.source), row.source);
    }
    EXPECT_EQ(&TextsOf(UiLanguage::English), &EnglishTexts());
    UiLanguage language = UiLanguage::Chinese;
    EXPECT_TRUE(ParseLanguageName("en", language));
    EXPECT_EQ(language, UiLanguage::English);
    EXPECT_FALSE(ParseLanguageName("english", language));
}

// Open, save and link texts are decided in the core, in the program's language.
TEST(MessageTranslation, FileFailuresAndTransferTextsInEitherLanguage) {
    const TableTexts english;
    FileStatus saved{FileError::WriteFailed, "/x/%2.szt", 0, "it is a folder"};
    EXPECT_EQ(FileStatusText(saved, ChineseTexts()),
              "无法保存文件“/x/%2.szt”，原文件未改动（这是一个文件夹）");
    EXPECT_EQ(FileStatusText(saved, english),
              "Cannot save \"/x/%2.szt\"; the file is unchanged (it is a folder)");
    ReadBackupResult backup;
    backup.problem = ReadBackupResult::Problem::NotStored;
    backup.where = "/b";
    backup.reason = "it is not a folder";
    EXPECT_EQ(ReadBackupWarningText(backup, ChineseTexts()),
              "已读出对讲机数据，但备份无法保存到“/b”（it is not a folder）");
    const FileStatus device{FileError::NotAFile, "/dev/full", 0, "a device"};
    EXPECT_EQ(FileStatusText(device, ChineseTexts()), "“/dev/full”不是普通文件，未作改动（这是一个设备）");
    const FileStatus shortFile{FileError::TooShort, "a.szt", 12, ""};
    EXPECT_EQ(FileStatusText(shortFile, ChineseTexts()),
              "“a.szt”不是对讲机数据文件：它有 12 字节，数据文件有 3216 字节");
    EXPECT_EQ(TransferDoneText(english, TransferDirection::Read, false, "/dev/ttyUSB0"),
              "Read done: QZ - 199, 199 channels, /dev/ttyUSB0");
    EXPECT_EQ(TransferDoneText(ChineseTexts(), TransferDirection::Write, true, "/dev/ttyS0"),
              "写频完成：QZ - 16，16 个信道，/dev/ttyS0");
}

}  // namespace
}  // namespace quorim
