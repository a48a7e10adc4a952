#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/editor_surface.h"

namespace quorim {

// Editing the channel grid in place: which editor a cell takes, what it
// opens with, how Enter walks a row, and what each commit leaves in the
// grid. The grid widgets only carry these decisions out: every function here
// works on the editor surface and returns what the caller has to show or do.

// The messages of a refused entry, shown with Q(text) (marked for the
// English build: base/translation.h).
inline constexpr std::string_view kMsgFrequencyRange =
    QUORIM_TR("Quorim", "输入数据错误，请按正确的格式及大小重新输入");
inline constexpr std::string_view kMsgFrequencyStep =
    QUORIM_TR("Quorim", "输入数据错误，请按6.25K或 5k的倍数重新输入");
inline constexpr std::string_view kMsgDigitsOnly = QUORIM_TR("Quorim", "请输入数字");
// The rule of a column's cells with an example, told under a refused entry's
// message and in the status bar while a cell of the column is edited.
inline constexpr std::string_view kRuleFrequency =
    QUORIM_TR("Quorim", "50-700 MHz，步进 6.25 或 5 kHz，例如 446.00625");
inline constexpr std::string_view kRuleTone = QUORIM_TR("Quorim", "67.0-254.1、D023N、D754I 或 OFF");
inline constexpr std::string_view kSignallingOff = "OFF";

// Frequencies in 10 Hz units: 50 to 700 MHz, on a 6.25 kHz or 5 kHz step.
inline constexpr long long kLowestFrequency = 5000000;
inline constexpr long long kHighestFrequency = 70000000;

// Key codes as the grid reports them.
inline constexpr int kKeyNone = 0;  // opened by a click or double-click
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

enum class CellEditor {
    None,   // column 0 and 6: nothing opens
    Edit,   // columns 1, 2: the frequency edit box
    Tone,   // columns 3, 4: the signalling combo with edit field, items ToneTable
    YesNo,  // column 5: the transmit-inhibit list, items "是", "否"
};

// The editor that belongs to a column (GetCellEditor).
CellEditor EditorForColumn(int col);
// kRuleFrequency for the frequency columns, kRuleTone for the signalling
// columns, empty for the others.
std::string_view ColumnRule(int col);
// A click, double-click or typed key opens an editor only here: not on the
// header row, not on the channel column, not on the spare column 6. (A
// right-button MouseDown opens nothing anywhere.)
bool IsEditableCell(int row, int col);
// MouseDown opens an editor for any button but the right one (button 2).
bool OpensOnMouseDown(int button, int row, int col);

// Where an editor goes over the current cell, in pixels of the grid's client
// area, from the cell's place in twips and the screen's pixels per inch
// (each product divided by 1440, truncating). Every editor covers the cell
// exactly: the grid measures a cell from the first pixel of its content, with
// its grid lines at its right and bottom edge, so no offset is needed (one of
// 3 pixels up and left would bare a strip of the cell at its right and
// bottom). The combos' drop-down lists reach 100 pixels below the cell.
struct EditorPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int listHeight = 0;  // the drop-down list below a combo; 0 for the edit box
};
EditorPlacement PlaceEditor(CellEditor editor, int cellLeft, int cellTop, int cellWidth, int cellHeight,
                            int lpx, int lpy);

// The items of the two combo editors, in list order. "是" and "否" are shown
// with Q(item) ("Yes", "No" in English); the grid cell holds the shown text
// and the view's TextMatrix gives the core's back, so match a cell against
// these items through the view (EditorSurface), not the grid widget.
const std::vector<std::string>& YesNoItems();
const std::vector<std::string>& ToneItems();
// What a combo editor selects when its cell becomes current (EnterCell):
// the first item beginning with the cell's text, ignoring ASCII case, or
// item 0 when none does.
int ComboIndexForCellText(const std::vector<std::string>& items, std::string_view cellText);

// What BeginCellEdit does with the editor for a key.
struct BeginEdit {
    bool open = false;  // false: show nothing, leave everything as it is
    // The editor's new text; nothing: keep what EnterCell loaded (for the
    // YesNo list, which has no edit field, always nothing).
    std::optional<std::string> text;
    bool selectAll = false;    // select the whole text (otherwise the caret goes to its end)
    std::string_view message;  // message box to show first (OK only); empty: none
};
// `key`: kKeyNone for a click, kKeyEnter when Enter walked here, else the
// typed character. `editorText` is what the editor holds now (EnterCell
// loaded it from the cell), `cellText` the cell's own text.
// Control characters other than Enter never land in a cell: Backspace opens
// the editor with the cell's text all selected (the next key replaces it);
// Escape, DEL and the rest open nothing.
BeginEdit DecideBeginEdit(int key, int col, std::string_view editorText, std::string_view cellText);

// What a commit did.
struct CellCommit {
    bool committed = false;    // a commit rule ran on the cell
    bool changed = false;      // some cell of the grid changed: the document is now modified
    std::string text;          // what the cell holds afterwards
    std::string_view message;  // message box to show (OK only); empty: none
    // The entry was refused (with `message`): the row is as it was, and the
    // editor reopens on the same cell with the typed text selected.
    bool refused = false;
};

// A frequency text read as the grid stores it: "%3.5f" MHz and its count of
// 10 Hz units, or empty with the reason when it is out of range or off the
// step. An empty text stays empty without a message.
struct FrequencyReading {
    std::string text;
    long long count = 0;
    std::string_view message;
};
FrequencyReading ReadFrequencyText(std::string_view typed);

// The frequency commit (columns 1 and 2), by Enter and on leaving the cell.
// A valid frequency on an empty row gives the new channel its defaults
// (signalling "OFF"/"OFF", "否", and the transmit frequency equal to the
// receive frequency when typed in column 1). An empty text clears the cell
// and that side's signalling, and the inhibit flag once the row's
// frequencies and signalling are all empty. A text out of range or off the
// step is refused and changes nothing.
CellCommit CommitFrequencyText(EditorSurface& grid, int row, int col, std::string_view typed);

// The signalling text Enter stores for a typed text on a row with a
// frequency: a CTCSS tone 67.0-254.1 as "%3.1f", a DCS code "D<23..754>N/I"
// with its letters made upper case, otherwise "OFF".
std::string NormaliseSignallingText(std::string_view typed);
// Signalling commit by Enter (columns 3, 4); empty on a row without
// frequencies. A text the rules would turn into "OFF" although it is not
// "OFF" is refused with the format message.
CellCommit CommitSignallingByEnter(EditorSurface& grid, int row, int col, std::string_view typed);
// Signalling commit on leaving the cell: the list's selected item; when the
// user typed so that the list has no selection, the typed text checked by
// the Enter rules (and refused as they refuse it). Empty on a row without
// frequencies.
CellCommit CommitSignallingOnLeave(EditorSurface& grid, int row, int col,
                                   std::optional<std::string_view> selectedItem, std::string_view typed);
// A transmit-inhibit text as typed or pasted: "是" or "否", or "Yes" or "No"
// in any case (the English build's words), as the grid's "是" or "否";
// nothing for any other text.
std::optional<std::string_view> ReadInhibitText(std::string_view typed);
// Transmit-inhibit commit by Enter (column 5): the list's text, or nothing
// changed on a row without frequencies.
CellCommit CommitInhibitByEnter(EditorSurface& grid, int row, int col, std::string_view comboText);
// Transmit-inhibit commit on leaving the cell: the list's text, or empty on a
// row without frequencies.
CellCommit CommitInhibitOnLeave(EditorSurface& grid, int row, int col, std::string_view comboText);

// The open editor as the caller sees it when the current cell is about to
// change (OnLeaveCellGrid).
struct OpenEditorState {
    bool visible = false;                     // a hidden editor commits nothing
    std::string text;                         // the edit box's or combo's text
    std::optional<std::string> selectedItem;  // a combo's selected item, if any
};
// LeaveCell: nothing on the header row or column 6 or with the editor
// hidden; otherwise the column's commit on leaving. The caller hides the
// editor afterwards.
CellCommit CommitOnLeave(EditorSurface& grid, int row, int col, const OpenEditorState& editor);

// Which window has the keyboard focus when Enter is pressed.
enum class EnterFocus {
    Grid,        // the grid itself
    EditCell,    // the frequency edit box
    YesNoCombo,  // the transmit-inhibit list
    Other,       // the tone combo's edit field, or any other control of the form
};

enum class EnterMove {
    RightArrow,  // the grid moves one cell right, as for the Right-arrow key
    Tab,         // the focus moves on to the next control, as for Tab
    EditNext,    // hide the editor, make (row, col) current, then BeginCellEdit(kKeyEnter)
    Reopen,      // the entry was refused: the editor stays on (row, col) with the typed text selected
};

struct EnterOutcome {
    CellCommit commit;  // the commit Enter ran, if any (show its message first)
    EnterMove move = EnterMove::Tab;
    int row = 0;  // for EditNext: the cell to edit next
    int col = 0;
};

// Enter: commits the open editor by the Enter rules and says where to go.
// A row is walked from column 1 through 5, then on to column 1 of the next
// row; on the last row, and from column 6, Enter moves the focus on as Tab
// does. The caller must hide the editor before it moves the current cell,
// so that the LeaveCell of the move commits nothing a second time.
EnterOutcome HandleEnter(EditorSurface& grid, EnterFocus focus, bool toneComboVisible, int row, int col,
                         std::string_view editorText);

}  // namespace quorim
