#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/editor_model.h"
#include "image/memory_image.h"

namespace quorim {

// The channel table as an editor of whole channels and blocks of cells:
// insert, delete, move and clear, copy and paste, and the steps that undo and
// redo every change of a document. Everything works on the document's data
// and the editor surface, so the form view, the command-line tool and the
// tests share it. Whole channels move with their record of the image: the
// bytes the editor does not show (bytes 13 to 15, the flag bits other than
// the transmit and bandwidth bits) travel with their channel.

inline constexpr std::string_view kMsgLastChannelInUse =
    QUORIM_TR("Quorim", "最后一个信道已有数据，插入信道会将其删除，请先删除最后的信道");
inline constexpr std::string_view kMsgPasteOutside = QUORIM_TR("Quorim", "粘贴的数据超出了信道表格的范围");
inline constexpr std::string_view kMsgPasteRefused =
    QUORIM_TR("Quorim", "以下数据不符合要求，没有粘贴任何数据：");
// One refused cell: channel, column caption, the pasted text, the message.
inline constexpr std::string_view kMsgRefusedCell = QUORIM_TR("Quorim", "信道 %1，%2（“%3”）：%4");

// The grid's context menu and the names of the undo steps.
inline constexpr std::string_view kCmdUndo = QUORIM_TR("Quorim", "撤销");
inline constexpr std::string_view kCmdRedo = QUORIM_TR("Quorim", "重做");
inline constexpr std::string_view kCmdCut = QUORIM_TR("Quorim", "剪切");
inline constexpr std::string_view kCmdCopy = QUORIM_TR("Quorim", "复制");
inline constexpr std::string_view kCmdPaste = QUORIM_TR("Quorim", "粘贴");
inline constexpr std::string_view kCmdClear = QUORIM_TR("Quorim", "清除");
inline constexpr std::string_view kCmdInsertChannel = QUORIM_TR("Quorim", "插入空信道");
inline constexpr std::string_view kCmdDeleteChannels = QUORIM_TR("Quorim", "删除信道");
inline constexpr std::string_view kCmdMoveUp = QUORIM_TR("Quorim", "信道上移");
inline constexpr std::string_view kCmdMoveDown = QUORIM_TR("Quorim", "信道下移");
inline constexpr std::string_view kCmdSelectAll = QUORIM_TR("Quorim", "全选");

// The last channel of the grid: Rows() - 1.
int LastChannel(const EditorSurface& editor);
// No text in columns 1 to 5.
bool IsChannelEmpty(const EditorSurface& editor, int channel);

// A cell of pasted text the cell rules refused.
struct CellRefusal {
    int channel = 0;
    int col = 0;
    std::string text;
    std::string_view message;  // marked text
};
// "信道 12，接收频率（“145.0062”）：输入数据错误…", in the translator's language.
std::string FormatRefusal(const CellRefusal& refusal, const TextTranslator& texts);

struct EditResult {
    bool ok = true;            // false: nothing changed
    std::string_view message;  // marked text to show when refused; empty: none
    std::vector<CellRefusal> refusals;
    std::vector<int> channels;  // the channels the change left in place, to select afterwards
    // Many cells at once (editor/bulk_edit.h): the empty channels left
    // alone, and the channels whose own transmit frequency a series kept.
    int skipped = 0;
    int splitsKept = 0;
};

// --- Channel operations ----------------------------------------------------

// `count` empty channels before channel `at`; the following ones move down.
// Refused when a channel in use would fall off past the last one.
EditResult InsertChannels(DocumentData& doc, EditorSurface& editor, int at, int count = 1);
// The channels go; the following ones move up and empty channels fill the end.
EditResult DeleteChannels(DocumentData& doc, EditorSurface& editor, std::vector<int> channels);
// Each channel one place up (step -1) or down (+1), past the channel beside
// the block. Refused (without a message) at the first or last channel.
EditResult MoveChannels(DocumentData& doc, EditorSurface& editor, std::vector<int> channels, int step);

struct GridCell {
    int row = 0;
    int col = 0;
};
// Each cell of columns 1 to 5 emptied through the cell rules, in the order
// Enter walks a row: a frequency takes its side's signalling with it, a
// signalling cell of a channel with a frequency becomes "OFF", the transmit
// inhibit of such a channel "否"; a channel left without anything is empty.
EditResult ClearCells(EditorSurface& editor, std::vector<GridCell> cells);

// --- Clipboard ----------------------------------------------------------------

// The editor's texts of the given rows and columns, tab-separated, one line
// each, as spreadsheets copy a range; the transmit inhibit in the
// translator's language (a paste takes either language's words back).
std::string CellsAsText(const EditorSurface& editor, const std::vector<int>& rows,
                        const std::vector<int>& cols, const TextTranslator& texts = ChineseTexts());
// Tab-separated lines; a final line break does not start another line; CR
// before LF is dropped; blanks around a field are trimmed.
std::vector<std::vector<std::string>> ParseCellsText(std::string_view text);
// The text typed into the grid from cell (row, col) on, line by line, each
// cell committed by the rules as Enter commits it, a row in the order Enter
// walks it. A cell that already shows the text is left as it is; an empty
// transmit-inhibit cell too. A number with a decimal comma ("446,10625", as
// a spreadsheet in a European locale copies it) reads as with a point; a
// typed cell still refuses it. Any refusal, or text past the grid, applies
// nothing.
EditResult PasteCellsText(EditorSurface& editor, int row, int col, std::string_view text);

// Whole channels in the program's own form: the channels' records with the
// editor's texts encoded into them, so that the bytes the editor does not
// show go along to another document.
inline constexpr std::string_view kChannelRecordsMime = "application/x-quorim-channels";
std::string ChannelsAsRecords(const DocumentData& doc, const EditorSurface& editor,
                              const std::vector<int>& channels);
// The records read back; empty when the text is not of that form.
std::vector<std::array<std::uint8_t, kRowSize>> ParseChannelRecords(std::string_view text);
// The records replace channels `at` onwards, decoded into the grid. Refused
// when they reach past the last channel.
EditResult PasteChannelRecords(DocumentData& doc, EditorSurface& editor, int at,
                               const std::vector<std::array<std::uint8_t, kRowSize>>& records);

// One typed text committed into a cell by the Enter rules, for a paste and an
// import; the refusal's message (marked), or empty when the text was taken
// (or the cell already showed it).
std::string_view TypeCellText(EditorSurface& editor, int row, int col, std::string_view typed);

// --- Undo -------------------------------------------------------------------

// The document as an edit leaves it: the data and everything the editor holds.
struct EditorState {
    DocumentData data;
    EditorModel editor;
};
EditorState CaptureState(const DocumentData& doc, const EditorSurface& editor);
// Writes only what differs, so a view redraws only changed cells.
void CopyEditor(const EditorSurface& from, EditorSurface& to);

// What one change did, before and after: the rows whose texts changed, the
// row count, the list selections and the data.
class EditStep {
public:
    EditStep() = default;
    EditStep(const EditorState& before, const EditorState& after);

    bool Empty() const;
    // forward: redo (the state after); otherwise undo (the state before).
    void Apply(bool forward, DocumentData& doc, EditorSurface& editor) const;

private:
    struct RowChange {
        int row = 0;
        std::array<std::string, kGridColumns> before;
        std::array<std::string, kGridColumns> after;
    };
    int m_rowsBefore = 0;
    int m_rowsAfter = 0;
    std::array<int, kSettingsListCount> m_selBefore{};
    std::array<int, kSettingsListCount> m_selAfter{};
    std::vector<RowChange> m_rows;
    DocumentData m_dataBefore;
    DocumentData m_dataAfter;
};

}  // namespace quorim
