#include "editor/cell_rules.h"

#include <array>

#include "editor/csv_text.h"
#include "image/tone_table.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

namespace {

// The texts of one channel row, to tell whether a commit changed anything.
using RowTexts = std::array<std::string, kGridColumns>;

RowTexts Snapshot(const EditorSurface& grid, int row) {
    RowTexts t;
    for (int c = 0; c < kGridColumns; ++c) {
        t[static_cast<std::size_t>(c)] = grid.TextMatrix(row, c);
    }
    return t;
}

bool IsChannelRow(const EditorSurface& grid, int row) {
    return row >= 1 && row < grid.Rows();
}

bool HasFrequency(const EditorSurface& grid, int row) {
    return !grid.TextMatrix(row, kColRxFreq).empty() || !grid.TextMatrix(row, kColTxFreq).empty();
}

CellCommit Finish(const EditorSurface& grid, int row, int col, const RowTexts& before) {
    CellCommit c;
    c.committed = true;
    c.changed = Snapshot(grid, row) != before;
    c.text = grid.TextMatrix(row, col);
    return c;
}

// A refused entry leaves the row as it was; the editor reopens on the cell
// with what was typed.
CellCommit Refuse(const EditorSurface& grid, int row, int col, std::string_view message) {
    CellCommit c;
    c.refused = true;
    c.text = grid.TextMatrix(row, col);
    c.message = message;
    return c;
}

// The rules turn a text they cannot read into "OFF"; only "OFF" itself (in
// any case) means it.
bool MeansOff(std::string_view typed) {
    return SameIgnoringAsciiCase(typed, kSignallingOff);
}

// The typed character as text (UTF-8).
std::string CharText(int key) {
    const auto u = static_cast<unsigned>(key);
    std::string s;
    if (u < 0x80) {
        s += static_cast<char>(u);
    } else if (u < 0x800) {
        s += static_cast<char>(0xC0 | (u >> 6));
        s += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | ((u >> 12) & 0x0F));
        s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (u & 0x3F));
    }
    return s;
}

}  // namespace

std::string_view ColumnRule(int col) {
    switch (EditorForColumn(col)) {
        case CellEditor::Edit:
            return kRuleFrequency;
        case CellEditor::Tone:
            return kRuleTone;
        default:
            return {};
    }
}

CellEditor EditorForColumn(int col) {
    switch (col) {
        case kColRxFreq:
        case kColTxFreq:
            return CellEditor::Edit;
        case kColRxTone:
        case kColTxTone:
            return CellEditor::Tone;
        case kColInhibit:
            return CellEditor::YesNo;
        default:
            return CellEditor::None;
    }
}

bool IsEditableCell(int row, int col) {
    return row > 0 && EditorForColumn(col) != CellEditor::None;
}

bool OpensOnMouseDown(int button, int row, int col) {
    return button != 2 && IsEditableCell(row, col);
}

EditorPlacement PlaceEditor(CellEditor editor, int cellLeft, int cellTop, int cellWidth, int cellHeight,
                            int lpx, int lpy) {
    constexpr long long kTwips = 1440;
    const auto px = [](long long twips, int perInch) { return static_cast<int>(twips * perInch / kTwips); };
    EditorPlacement p;
    p.x = px(cellLeft, lpx);
    p.y = px(cellTop, lpy);
    p.width = px(cellWidth, lpx);
    p.height = px(cellHeight, lpy);
    if (editor == CellEditor::Tone || editor == CellEditor::YesNo) {
        p.listHeight = 100;
    }
    return p;
}

const std::vector<std::string>& YesNoItems() {
    static const std::vector<std::string> items = {std::string(kYes), std::string(kNo)};
    return items;
}

const std::vector<std::string>& ToneItems() {
    return ToneTable::Shared().Names();
}

int ComboIndexForCellText(const std::vector<std::string>& items, std::string_view cellText) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (item.size() < cellText.size()) {
            continue;
        }
        bool match = true;
        for (std::size_t k = 0; k < cellText.size() && match; ++k) {
            match = FoldAscii(item[k]) == FoldAscii(cellText[k]);
        }
        if (match) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

BeginEdit DecideBeginEdit(int key, int col, std::string_view editorText, std::string_view cellText) {
    BeginEdit b;
    const CellEditor editor = EditorForColumn(col);
    const bool opensPlain = key == kKeyNone || key == kKeyEnter || key == kKeyBackspace;
    const bool printable = key >= 0x20 && key != 0x7F;
    if (editor == CellEditor::None || (!opensPlain && !printable)) {
        return b;  // Escape, DEL and other control characters open nothing
    }
    b.open = true;
    if (opensPlain) {
        // The cell's text, all of it selected, so the next key replaces it.
        b.selectAll = true;
        if (editor == CellEditor::Edit) {
            b.text = std::string(cellText);
        }
        return b;
    }
    // A typed character.
    const bool digit = key >= '0' && key <= '9';
    switch (editor) {
        case CellEditor::Edit:
            if (!digit) {
                b.message = kMsgDigitsOnly;
            }
            if (cellText.empty()) {
                // An empty cell starts from what the editor holds, plus the digit.
                b.text = std::string(editorText) + (digit ? CharText(key) : std::string());
            } else {
                b.text = CharText(key);
            }
            break;
        case CellEditor::Tone:
            b.text = CharText(key);
            break;
        default:  // the YesNo list has no field to type into
            break;
    }
    return b;
}

FrequencyReading ReadFrequencyText(std::string_view typed) {
    FrequencyReading r;
    if (typed.empty()) {
        return r;
    }
    // Only a whole number is a frequency: "145,0125" or "145.0125 MHz" is
    // refused, not cut to its leading digits.
    const std::optional<std::int64_t> whole = WholeDecimalScaled(typed, 5, Cut::RoundHalfUp);
    const long long n = whole ? *whole : 0;
    if (n < kLowestFrequency || n > kHighestFrequency) {
        r.message = kMsgFrequencyRange;
        return r;
    }
    if (n % 625 != 0 && n % 500 != 0) {
        r.message = kMsgFrequencyStep;
        return r;
    }
    r.count = n;
    r.text = FixedDecimalText(n, 5);
    return r;
}

CellCommit CommitFrequencyText(EditorSurface& grid, int row, int col, std::string_view typed) {
    if (!IsChannelRow(grid, row) || EditorForColumn(col) != CellEditor::Edit) {
        return {};
    }
    const FrequencyReading r = ReadFrequencyText(typed);
    if (!r.message.empty()) {
        return Refuse(grid, row, col, r.message);
    }
    const RowTexts before = Snapshot(grid, row);
    if (!r.text.empty()) {
        const bool newChannel = before[kColRxFreq].empty() && before[kColTxFreq].empty() &&
                                before[kColRxTone].empty() && before[kColTxTone].empty() &&
                                before[kColInhibit].empty();
        if (newChannel) {
            grid.SetTextMatrix(row, kColRxTone, std::string(kSignallingOff));
            grid.SetTextMatrix(row, kColTxTone, std::string(kSignallingOff));
            grid.SetTextMatrix(row, kColInhibit, std::string(kNo));
            if (col == kColRxFreq) {
                grid.SetTextMatrix(row, kColTxFreq, r.text);
            }
        }
        grid.SetTextMatrix(row, col, r.text);
    } else {
        // Clearing a frequency on purpose clears that side's signalling, and the
        // inhibit flag once nothing is left on the row.
        grid.SetTextMatrix(row, col == kColRxFreq ? kColRxTone : kColTxTone, "");
        grid.SetTextMatrix(row, col, "");
        bool empty = true;
        for (int c = kColRxFreq; c <= kColTxTone; ++c) {
            empty = empty && grid.TextMatrix(row, c).empty();
        }
        if (empty) {
            grid.SetTextMatrix(row, kColInhibit, "");
        }
    }
    return Finish(grid, row, col, before);
}

std::string NormaliseSignallingText(std::string_view typed) {
    const std::string off(kSignallingOff);
    if (typed.find_first_of("Dd") == std::string_view::npos) {
        // A CTCSS tone: the whole text a number (blanks around it aside),
        // compared as written (millionths of a hertz are more than five
        // characters can hold) and shown to 0.1 Hz.
        const std::string_view tone = TrimBlanks(typed);
        if (tone.empty() || tone.size() > 5) {
            return off;
        }
        const std::optional<std::int64_t> micro = WholeDecimalScaled(tone, 6, Cut::Truncate);
        if (!micro || *micro < 67000000 || *micro > 254100000) {
            return off;
        }
        return FixedDecimalText(LeadingDecimalScaled(tone, 1, Cut::RoundHalfUp), 1);
    }
    if (typed.size() > 5) {
        return off;
    }
    // A DCS code: "D", the code, "N" (normal) or "I" (inverted).
    const char last = typed.back();
    if (last != 'N' && last != 'n' && last != 'I' && last != 'i') {
        return off;
    }
    std::string t(typed);
    if (const auto d = t.find('d'); d != std::string::npos) {
        t.erase(d, 1);
        t.insert(0, "D");
    }
    if (t.find('i') != std::string::npos) {
        t.back() = 'I';
    }
    if (t.find('n') != std::string::npos) {
        t.back() = 'N';
    }
    // Between "D" and the polarity only digits: "d99dN" or "D23xN" would
    // otherwise be kept as texts that name no code.
    const std::string_view digits = t.size() >= 2 ? std::string_view(t).substr(1, t.size() - 2) : "";
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return off;
    }
    const long long code = LeadingInteger(digits);
    return (code >= 23 && code <= 754) ? t : off;
}

CellCommit CommitSignallingByEnter(EditorSurface& grid, int row, int col, std::string_view typed) {
    if (!IsChannelRow(grid, row) || EditorForColumn(col) != CellEditor::Tone) {
        return {};
    }
    std::string text;
    if (HasFrequency(grid, row)) {
        text = NormaliseSignallingText(typed);
        if (text == kSignallingOff && !typed.empty() && !MeansOff(typed)) {
            return Refuse(grid, row, col, kMsgFrequencyRange);
        }
    }
    const RowTexts before = Snapshot(grid, row);
    grid.SetTextMatrix(row, col, text);
    return Finish(grid, row, col, before);
}

CellCommit CommitSignallingOnLeave(EditorSurface& grid, int row, int col,
                                   std::optional<std::string_view> selectedItem, std::string_view typed) {
    if (!IsChannelRow(grid, row) || EditorForColumn(col) != CellEditor::Tone) {
        return {};
    }
    std::string text;
    if (HasFrequency(grid, row)) {
        text = selectedItem ? std::string(*selectedItem) : NormaliseSignallingText(typed);
        if (!selectedItem && text == kSignallingOff && !typed.empty() && !MeansOff(typed)) {
            return Refuse(grid, row, col, kMsgFrequencyRange);
        }
    }
    const RowTexts before = Snapshot(grid, row);
    grid.SetTextMatrix(row, col, text);
    return Finish(grid, row, col, before);
}

std::optional<std::string_view> ReadInhibitText(std::string_view typed) {
    if (typed == kYes || SameIgnoringAsciiCase(typed, "Yes")) {
        return kYes;
    }
    if (typed == kNo || SameIgnoringAsciiCase(typed, "No")) {
        return kNo;
    }
    return std::nullopt;
}

CellCommit CommitInhibitByEnter(EditorSurface& grid, int row, int col, std::string_view comboText) {
    if (!IsChannelRow(grid, row) || EditorForColumn(col) != CellEditor::YesNo) {
        return {};
    }
    const RowTexts before = Snapshot(grid, row);
    if (HasFrequency(grid, row)) {
        grid.SetTextMatrix(row, col, std::string(comboText));
    }
    return Finish(grid, row, col, before);
}

CellCommit CommitInhibitOnLeave(EditorSurface& grid, int row, int col, std::string_view comboText) {
    if (!IsChannelRow(grid, row) || EditorForColumn(col) != CellEditor::YesNo) {
        return {};
    }
    const RowTexts before = Snapshot(grid, row);
    grid.SetTextMatrix(row, col, HasFrequency(grid, row) ? std::string(comboText) : std::string());
    return Finish(grid, row, col, before);
}

CellCommit CommitOnLeave(EditorSurface& grid, int row, int col, const OpenEditorState& editor) {
    if (row == 0 || col == kColSpare || !editor.visible) {
        return {};
    }
    switch (EditorForColumn(col)) {
        case CellEditor::Tone: {
            std::optional<std::string_view> item;
            if (editor.selectedItem) {
                item = *editor.selectedItem;
            }
            return CommitSignallingOnLeave(grid, row, col, item, editor.text);
        }
        case CellEditor::YesNo:
            return CommitInhibitOnLeave(grid, row, col, editor.text);
        case CellEditor::Edit:
            return CommitFrequencyText(grid, row, col, editor.text);
        default:
            return {};
    }
}

EnterOutcome HandleEnter(EditorSurface& grid, EnterFocus focus, bool toneComboVisible, int row, int col,
                         std::string_view editorText) {
    EnterOutcome out;
    switch (focus) {
        case EnterFocus::Grid:
            out.move = col == kColSpare ? EnterMove::Tab : EnterMove::RightArrow;
            return out;
        case EnterFocus::EditCell:
            if (col == kColSpare) {
                out.move = EnterMove::Tab;
                return out;
            }
            out.commit = CommitFrequencyText(grid, row, col, editorText);
            out.move = out.commit.refused ? EnterMove::Reopen : EnterMove::EditNext;
            out.row = row;
            out.col = out.commit.refused ? col : col + 1;
            return out;
        case EnterFocus::YesNoCombo:
            out.commit = CommitInhibitByEnter(grid, row, col, editorText);
            if (row < grid.Rows() - 1) {
                out.move = EnterMove::EditNext;
                out.row = row + 1;
                out.col = kColRxFreq;
            } else {
                out.move = EnterMove::Tab;
            }
            return out;
        case EnterFocus::Other:
            if (!toneComboVisible) {
                out.move = EnterMove::Tab;
                return out;
            }
            out.commit = CommitSignallingByEnter(grid, row, col, editorText);
            out.move = out.commit.refused ? EnterMove::Reopen : EnterMove::EditNext;
            out.row = row;
            out.col = out.commit.refused ? col : col + 1;
            return out;
    }
    return out;
}

}  // namespace quorim
