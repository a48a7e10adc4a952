#include "editor/channel_edit.h"

#include <algorithm>

#include "editor/cell_rules.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "text/number_text.h"

namespace quorim {

namespace {

using Record = std::array<std::uint8_t, kRowSize>;
using RowTexts = std::array<std::string, kGridColumns>;

// An unused record, as a new image has them.
constexpr Record kEmptyRecord = [] {
    Record r{};
    for (auto& b : r) b = 0xFF;
    return r;
}();

Record RecordOf(const DocumentData& doc, int channel) {
    Record r;
    std::copy_n(
        doc.m_image.begin() + static_cast<std::ptrdiff_t>(RowOffset(static_cast<std::size_t>(channel))),
        kRowSize, r.begin());
    return r;
}

void SetRecord(DocumentData& doc, int channel, const Record& r) {
    std::copy(
        r.begin(), r.end(),
        doc.m_image.begin() + static_cast<std::ptrdiff_t>(RowOffset(static_cast<std::size_t>(channel))));
}

// The texts of a channel's cells (columns 1 to 6; column 0 numbers the row).
RowTexts TextsOf(const EditorSurface& editor, int row) {
    RowTexts t;
    for (int col = kColRxFreq; col < kGridColumns; ++col)
        t[static_cast<std::size_t>(col)] = editor.TextMatrix(row, col);
    return t;
}

void SetTexts(EditorSurface& editor, int row, const RowTexts& t) {
    for (int col = kColRxFreq; col < kGridColumns; ++col) {
        const std::string& text = t[static_cast<std::size_t>(col)];
        if (editor.TextMatrix(row, col) != text) editor.SetTextMatrix(row, col, text);
    }
}

struct Channel {
    RowTexts texts;
    Record record;
};

// Channels 1 to n in order, each with its texts and record.
std::vector<Channel> TakeChannels(const DocumentData& doc, const EditorSurface& editor) {
    std::vector<Channel> out;
    for (int ch = 1; ch <= LastChannel(editor); ++ch) out.push_back({TextsOf(editor, ch), RecordOf(doc, ch)});
    return out;
}

void PutChannels(const std::vector<Channel>& channels, DocumentData& doc, EditorSurface& editor) {
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const int ch = static_cast<int>(i) + 1;
        SetTexts(editor, ch, channels[i].texts);
        SetRecord(doc, ch, channels[i].record);
    }
}

// The valid channels of a selection, each once, in order.
std::vector<int> SortedChannels(std::vector<int> channels, int count) {
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    channels.erase(
        std::remove_if(channels.begin(), channels.end(), [count](int ch) { return ch < 1 || ch > count; }),
        channels.end());
    return channels;
}

// A frequency the grid already shows counts as unchanged also when a
// spreadsheet dropped its trailing zeros ("145.125" for "145.12500"), so a
// value the grid holds but would not accept as typed survives a round trip.
// Only whole numbers compare: "145.125abc" is no text the grid shows.
bool SameFrequency(std::string_view typed, const std::string& cell) {
    if (typed == cell) return true;
    const auto a = WholeDecimalScaled(typed, 5, Cut::RoundHalfUp);
    const auto b = WholeDecimalScaled(cell, 5, Cut::RoundHalfUp);
    return a && b && *a == *b;
}

// Likewise a tone: "100" for "100.0".
bool SameSignalling(std::string_view typed, const std::string& cell) {
    if (typed == cell) return true;
    const auto a = WholeDecimalScaled(typed, 1, Cut::Truncate);
    const auto b = WholeDecimalScaled(cell, 1, Cut::Truncate);
    return a && b && *a == *b;
}

bool IsOff(std::string_view text) {
    if (text.size() != kSignallingOff.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = (text[i] >= 'a' && text[i] <= 'z') ? static_cast<char>(text[i] - 32) : text[i];
        if (c != kSignallingOff[i]) return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr std::string_view kRecordsHeader = "Quorim channel records";

}  // namespace

int LastChannel(const EditorSurface& editor) {
    return std::max(0, editor.Rows() - 1);
}

bool IsChannelEmpty(const EditorSurface& editor, int channel) {
    for (int col = kColRxFreq; col <= kColInhibit; ++col) {
        if (!editor.TextMatrix(channel, col).empty()) return false;
    }
    return true;
}

std::string FormatRefusal(const CellRefusal& refusal, const TextTranslator& texts) {
    std::string line = texts.Translate("Quorim", kMsgRefusedCell);
    const auto& headers = GridHeaders();
    const std::string column = refusal.col >= 0 && refusal.col < static_cast<int>(headers.size())
                                   ? texts.Translate("Quorim", headers[static_cast<std::size_t>(refusal.col)])
                                   : std::to_string(refusal.col);
    // The pieces go in one pass each, so a pasted "%4" stays as it was typed.
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '%' && i + 1 < line.size() && line[i + 1] >= '1' && line[i + 1] <= '4') {
            switch (line[i + 1]) {
                case '1':
                    out += std::to_string(refusal.channel);
                    break;
                case '2':
                    out += column;
                    break;
                case '3':
                    out += refusal.text;
                    break;
                default:
                    out += texts.Translate("Quorim", refusal.message);
                    break;
            }
            ++i;
        } else {
            out += line[i];
        }
    }
    return out;
}

// --- Channel operations ------------------------------------------------------

EditResult InsertChannels(DocumentData& doc, EditorSurface& editor, int at, int count) {
    const int n = LastChannel(editor);
    EditResult result;
    if (at < 1 || at > n || count < 1) {
        result.ok = false;
        return result;
    }
    count = std::min(count, n - at + 1);
    for (int ch = n - count + 1; ch <= n; ++ch) {
        if (!IsChannelEmpty(editor, ch)) {
            result.ok = false;
            result.message = kMsgLastChannelInUse;
            return result;
        }
    }
    std::vector<Channel> channels = TakeChannels(doc, editor);
    channels.erase(channels.end() - count, channels.end());
    channels.insert(channels.begin() + (at - 1), static_cast<std::size_t>(count),
                    Channel{RowTexts{}, kEmptyRecord});
    PutChannels(channels, doc, editor);
    for (int ch = at; ch < at + count; ++ch) result.channels.push_back(ch);
    return result;
}

EditResult DeleteChannels(DocumentData& doc, EditorSurface& editor, std::vector<int> selected) {
    const int n = LastChannel(editor);
    selected = SortedChannels(std::move(selected), n);
    EditResult result;
    if (selected.empty()) {
        result.ok = false;
        return result;
    }
    std::vector<Channel> channels;
    const std::vector<Channel> all = TakeChannels(doc, editor);
    for (int ch = 1; ch <= n; ++ch) {
        if (!std::binary_search(selected.begin(), selected.end(), ch))
            channels.push_back(all[static_cast<std::size_t>(ch - 1)]);
    }
    channels.resize(static_cast<std::size_t>(n), Channel{RowTexts{}, kEmptyRecord});
    PutChannels(channels, doc, editor);
    result.channels.push_back(std::min(selected.front(), n));
    return result;
}

EditResult MoveChannels(DocumentData& doc, EditorSurface& editor, std::vector<int> selected, int step) {
    const int n = LastChannel(editor);
    selected = SortedChannels(std::move(selected), n);
    EditResult result;
    if (selected.empty() || (step != -1 && step != 1) || (step < 0 && selected.front() == 1) ||
        (step > 0 && selected.back() == n)) {
        result.ok = false;
        return result;
    }
    std::vector<Channel> channels = TakeChannels(doc, editor);
    // Upwards from the top, downwards from the bottom: each channel swaps
    // with its neighbour, so a block moves as one and a gap closes.
    if (step > 0) std::reverse(selected.begin(), selected.end());
    for (const int ch : selected) {
        std::swap(channels[static_cast<std::size_t>(ch - 1)],
                  channels[static_cast<std::size_t>(ch - 1 + step)]);
        result.channels.push_back(ch + step);
    }
    std::sort(result.channels.begin(), result.channels.end());
    PutChannels(channels, doc, editor);
    return result;
}

EditResult ClearCells(EditorSurface& editor, std::vector<GridCell> cells) {
    std::sort(cells.begin(), cells.end(), [](const GridCell& a, const GridCell& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    EditResult result;
    const int n = LastChannel(editor);
    for (const GridCell& c : cells) {
        if (c.row < 1 || c.row > n) continue;
        switch (EditorForColumn(c.col)) {
            case CellEditor::Edit:
                if (c.col == kColRxFreq || c.col == kColTxFreq) CommitFrequencyText(editor, c.row, c.col, "");
                break;
            case CellEditor::Tone:
                CommitSignallingByEnter(editor, c.row, c.col, "");
                break;
            case CellEditor::YesNo:
                CommitInhibitByEnter(editor, c.row, c.col, kNo);
                break;
            case CellEditor::None:
                break;
        }
    }
    return result;
}

// --- Clipboard ---------------------------------------------------------------

std::string CellsAsText(const EditorSurface& editor, const std::vector<int>& rows,
                        const std::vector<int>& cols, const TextTranslator& texts) {
    std::string out;
    for (const int row : rows) {
        for (std::size_t i = 0; i < cols.size(); ++i) {
            if (i > 0) out += '\t';
            const std::string text = editor.TextMatrix(row, cols[i]);
            // "是"/"否" in the program's language, as the grid shows them.
            out += cols[i] == kColInhibit && !text.empty() ? texts.Translate("Quorim", text) : text;
        }
        out += '\n';
    }
    return out;
}

std::vector<std::vector<std::string>> ParseCellsText(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string> fields;
        for (;;) {
            const std::size_t tab = line.find('\t');
            fields.emplace_back(TrimBlanks(line.substr(0, tab)));
            if (tab == std::string_view::npos) break;
            line.remove_prefix(tab + 1);
        }
        lines.push_back(std::move(fields));
    }
    return lines;
}

std::string_view TypeCellText(EditorSurface& editor, int row, int col, std::string_view typed) {
    const std::string shown = editor.TextMatrix(row, col);
    switch (EditorForColumn(col)) {
        case CellEditor::Edit: {
            if (col != kColRxFreq && col != kColTxFreq) return {};
            if (SameFrequency(typed, shown)) return {};
            const FrequencyReading reading = ReadFrequencyText(typed);
            if (!reading.message.empty()) return reading.message;
            CommitFrequencyText(editor, row, col, typed);
            return {};
        }
        case CellEditor::Tone:
            if (SameSignalling(typed, shown)) return {};
            if (!typed.empty() && !IsOff(typed) && NormaliseSignallingText(typed) == kSignallingOff) {
                return kMsgFrequencyRange;
            }
            CommitSignallingByEnter(editor, row, col, typed);
            return {};
        case CellEditor::YesNo: {
            if (typed.empty()) return {};
            const std::optional<std::string_view> inhibit = ReadInhibitText(typed);
            if (!inhibit) return kMsgFrequencyRange;
            if (*inhibit == shown) return {};
            CommitInhibitByEnter(editor, row, col, *inhibit);
            return {};
        }
        case CellEditor::None:
            break;
    }
    return {};
}

EditResult PasteCellsText(EditorSurface& editor, int row, int col, std::string_view text) {
    const auto lines = ParseCellsText(text);
    EditResult result;
    result.ok = false;
    if (lines.empty() || row < 1 || col < kColRxFreq) return result;
    const int n = LastChannel(editor);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = row + static_cast<int>(i);
        const int last = col + static_cast<int>(lines[i].size()) - 1;
        if (r > n || last > kColInhibit) {
            result.message = kMsgPasteOutside;
            return result;
        }
    }
    // Typed into a copy first: a refusal anywhere leaves the grid untouched.
    EditorModel work;
    CopyEditor(editor, work);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = row + static_cast<int>(i);
        for (std::size_t k = 0; k < lines[i].size(); ++k) {
            const int c = col + static_cast<int>(k);
            // Rows copied from a spreadsheet set to a decimal comma: "446,10625".
            const std::string text = c == kColInhibit ? lines[i][k] : DecimalCommaAsPoint(lines[i][k]);
            const std::string_view message = TypeCellText(work, r, c, text);
            if (!message.empty()) result.refusals.push_back({r, c, lines[i][k], message});
        }
        result.channels.push_back(r);
    }
    if (!result.refusals.empty()) {
        result.message = kMsgPasteRefused;
        result.channels.clear();
        return result;
    }
    CopyEditor(work, editor);
    result.ok = true;
    return result;
}

std::string ChannelsAsRecords(const DocumentData& doc, const EditorSurface& editor,
                              const std::vector<int>& channels) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    MemoryImage image = doc.m_image;
    const bool narrow = editor.CurSel(SettingsList::Bandwidth) == 1;
    std::string out(kRecordsHeader);
    out += '\n';
    for (const int ch : channels) {
        if (ch < 1 || ch > LastChannel(editor)) continue;
        EncodeChannel(editor, ch, narrow, image);
        for (std::size_t k = 0; k < kRowSize; ++k) {
            const std::uint8_t b = image[RowOffset(static_cast<std::size_t>(ch)) + k];
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
        out += '\n';
    }
    return out;
}

std::vector<Record> ParseChannelRecords(std::string_view text) {
    const auto lines = ParseCellsText(text);
    std::vector<Record> records;
    if (lines.empty() || lines[0].size() != 1 || lines[0][0] != kRecordsHeader) return {};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].size() != 1 || lines[i][0].size() != 2 * kRowSize) return {};
        Record r;
        for (std::size_t k = 0; k < kRowSize; ++k) {
            const int hi = HexDigit(lines[i][0][2 * k]);
            const int lo = HexDigit(lines[i][0][2 * k + 1]);
            if (hi < 0 || lo < 0) return {};
            r[k] = static_cast<std::uint8_t>(hi * 16 + lo);
        }
        records.push_back(r);
    }
    return records;
}

EditResult PasteChannelRecords(DocumentData& doc, EditorSurface& editor, int at,
                               const std::vector<Record>& records) {
    EditResult result;
    const int n = LastChannel(editor);
    if (records.empty() || at < 1 || at > n) {
        result.ok = false;
        return result;
    }
    if (at + static_cast<int>(records.size()) - 1 > n) {
        result.ok = false;
        result.message = kMsgPasteOutside;
        return result;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int ch = at + static_cast<int>(i);
        SetRecord(doc, ch, records[i]);
        // Decoded through a scratch grid, so unchanged cells are not rewritten.
        EditorModel scratch;
        scratch.SetRows(ch + 1);
        DecodeChannel(doc.m_image, ch, scratch);
        SetTexts(editor, ch, TextsOf(scratch, ch));
        result.channels.push_back(ch);
    }
    return result;
}

// --- Undo --------------------------------------------------------------------

void CopyEditor(const EditorSurface& from, EditorSurface& to) {
    if (to.Rows() != from.Rows()) to.SetRows(from.Rows());
    for (int row = 0; row < from.Rows(); ++row) {
        for (int col = 0; col < kGridColumns; ++col) {
            const std::string text = from.TextMatrix(row, col);
            if (to.TextMatrix(row, col) != text) to.SetTextMatrix(row, col, text);
        }
    }
    for (const auto& info : AllSettingsLists()) {
        if (to.CurSel(info.list) != from.CurSel(info.list)) to.SetCurSel(info.list, from.CurSel(info.list));
    }
}

EditorState CaptureState(const DocumentData& doc, const EditorSurface& editor) {
    EditorState s;
    s.data = doc;
    CopyEditor(editor, s.editor);
    return s;
}

EditStep::EditStep(const EditorState& before, const EditorState& after)
    : m_rowsBefore(before.editor.Rows()),
      m_rowsAfter(after.editor.Rows()),
      m_dataBefore(before.data),
      m_dataAfter(after.data) {
    for (const auto& info : AllSettingsLists()) {
        const auto i = static_cast<std::size_t>(info.list);
        m_selBefore[i] = before.editor.CurSel(info.list);
        m_selAfter[i] = after.editor.CurSel(info.list);
    }
    for (int row = 0; row < std::max(m_rowsBefore, m_rowsAfter); ++row) {
        RowChange change;
        change.row = row;
        for (int col = 0; col < kGridColumns; ++col) {
            change.before[static_cast<std::size_t>(col)] = before.editor.TextMatrix(row, col);
            change.after[static_cast<std::size_t>(col)] = after.editor.TextMatrix(row, col);
        }
        if (change.before != change.after) m_rows.push_back(std::move(change));
    }
}

bool EditStep::Empty() const {
    return m_rows.empty() && m_rowsBefore == m_rowsAfter && m_selBefore == m_selAfter &&
           m_dataBefore.m_image == m_dataAfter.m_image &&
           m_dataBefore.m_bSixteenChannel == m_dataAfter.m_bSixteenChannel;
}

void EditStep::Apply(bool forward, DocumentData& doc, EditorSurface& editor) const {
    const int rows = forward ? m_rowsAfter : m_rowsBefore;
    if (editor.Rows() != rows) editor.SetRows(rows);
    for (const RowChange& change : m_rows) {
        if (change.row >= rows) continue;
        const RowTexts& texts = forward ? change.after : change.before;
        for (int col = 0; col < kGridColumns; ++col) {
            const std::string& text = texts[static_cast<std::size_t>(col)];
            if (editor.TextMatrix(change.row, col) != text) editor.SetTextMatrix(change.row, col, text);
        }
    }
    const auto& sel = forward ? m_selAfter : m_selBefore;
    for (const auto& info : AllSettingsLists()) {
        const int index = sel[static_cast<std::size_t>(info.list)];
        if (editor.CurSel(info.list) != index) editor.SetCurSel(info.list, index);
    }
    doc = forward ? m_dataAfter : m_dataBefore;
}

}  // namespace quorim
