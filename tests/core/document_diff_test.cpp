#include "editor/document_diff.h"

#include <gtest/gtest.h>

#include "editor/codec.h"
#include "editor/editor_model.h"

namespace quorim {
namespace {

DocumentData NewDoc() {
    DocumentData doc;
    doc.OnNewDocument();
    return doc;
}

TEST(DocumentDiff, SameImagesHaveNoDifferences) {
    const DocumentData a = NewDoc();
    const DocumentDiff diff = DiffDocuments(a, a);
    EXPECT_TRUE(diff.Empty());
    EXPECT_EQ(FormatDiff(diff), "no differences\n");
}

TEST(DocumentDiff, ReportsSettingsCellsAndOtherBytesInTheEditorsTexts) {
    const DocumentData a = NewDoc();
    DocumentData b = a;
    EditorModel editor;
    InitialUpdateEditor(b, editor);
    editor.SetTextMatrix(3, 1, "145.12500");
    editor.SetTextMatrix(3, 2, "145.12500");
    editor.SetTextMatrix(3, 4, "D023N");
    editor.SetTextMatrix(3, 5, "否");
    editor.SetCurSel(SettingsList::Squelch, 7);
    EncodeImage(editor, b);
    b.m_image[0] = 0x12;     // not interpreted
    b.m_image[1000] = 0x00;  // not interpreted
    b.m_image[RowOffset(3) + 13] = 0x00;
    b.m_image[RowOffset(4) + 12] ^= 0x80;  // a flag bit the editor does not show

    const DocumentDiff diff = DiffDocuments(a, b);
    // Encoding also set the band to its list's item 0 and cleared flag bits
    // in records 2..16: only what the editor shows is reported by name.
    ASSERT_EQ(diff.settings.size(), 1u);
    EXPECT_EQ(diff.settings[0].list, SettingsList::Squelch);
    EXPECT_EQ(diff.settings[0].before, "4");
    EXPECT_EQ(diff.settings[0].after, "7");
    ASSERT_EQ(diff.cells.size(), 4u);
    EXPECT_EQ(diff.cells[0].channel, 3);
    EXPECT_EQ(diff.cells[0].column, 1);
    EXPECT_EQ(diff.cells[0].after, "145.12500");
    EXPECT_EQ(diff.cells[2].column, 4);
    EXPECT_EQ(diff.cells[2].after, "D023N");
    EXPECT_EQ(diff.cells[3].column, 5);
    EXPECT_EQ(diff.cells[3].before, "");
    EXPECT_EQ(diff.cells[3].after, "否");
    // byte 0, byte 1000, byte 13 of record 3, byte 12 of record 4 (bit 7),
    // and the band byte 2 that encoding wrote (0xFF -> 238) is shown as
    // item 0 either way, so it counts as shown, not other.
    EXPECT_EQ(diff.otherBytes, 4);
    const std::string text = FormatDiff(diff);
    EXPECT_NE(text.find("静噪等级: 4 -> 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("信道 3 接收频率: (empty) -> 145.12500\n"), std::string::npos) << text;
    EXPECT_NE(text.find("other bytes that differ: 4\n"), std::string::npos) << text;
}

TEST(DocumentDiff, ModelsOfDifferentSizeCompareEveryChannel) {
    const DocumentData a = NewDoc();
    DocumentData b = a;
    EditorModel editor;
    InitialUpdateEditor(b, editor);
    editor.SetCurSel(SettingsList::Model, 1);
    ApplyModelChoice(editor, b);
    editor.SetTextMatrix(150, 1, "440.00000");
    EncodeImage(editor, b);
    const DocumentDiff diff = DiffDocuments(a, b);
    bool sawModel = false, saw150 = false;
    for (const auto& s : diff.settings) sawModel |= s.list == SettingsList::Model && s.after == "QZ - 199";
    for (const auto& c : diff.cells) saw150 |= c.channel == 150 && c.column == 1;
    EXPECT_TRUE(sawModel);
    EXPECT_TRUE(saw150);
}

}  // namespace
}  // namespace quorim
