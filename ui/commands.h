#pragma once

#include <string_view>
#include <vector>

#include "base/translation.h"

namespace quorim {

// Command ids of the programming program. The numbers are fixed: menus,
// accelerators and the toolbar address their commands by them.
inline constexpr int ID_READ_RADIO = 32771;
inline constexpr int ID_WRITE_RADIO = 32772;
inline constexpr int ID_PORT_COM1 = 32773;
inline constexpr int ID_PORT_COM2 = 32775;
inline constexpr int ID_PORT_COM3 = 32776;
inline constexpr int ID_PORT_COM4 = 32777;
inline constexpr int ID_ONLINE_TUNING = 32778;
inline constexpr int ID_EDIT_CHANNEL = 32780;
// The serial devices dialog, after the four port items.
inline constexpr int ID_PORT_DEVICES = 32790;
// The File menu's channel lists as comma-separated text.
inline constexpr int ID_FILE_IMPORT_CSV = 32830;
inline constexpr int ID_FILE_EXPORT_CSV = 32831;
// The document's "编辑" popup: the channel table's editing commands (the
// grid's context menu holds the same). Undo to select all keep the numbers
// such commands have in the framework.
inline constexpr int ID_EDIT_CLEAR = 57632;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_INSERT_CHANNEL = 32791;
inline constexpr int ID_EDIT_DELETE_CHANNELS = 32792;
inline constexpr int ID_EDIT_MOVE_UP = 32793;
inline constexpr int ID_EDIT_MOVE_DOWN = 32794;
inline constexpr int ID_EDIT_SET_CELLS = 32795;
inline constexpr int ID_EDIT_FILL_DOWN = 32796;
inline constexpr int ID_EDIT_FILL_SERIES = 32797;
inline constexpr int ID_EDIT_CHECK_CHANNELS = 32798;
// The channel plans: apply one, check against one.
inline constexpr int ID_EDIT_APPLY_PLAN = 32799;
inline constexpr int ID_EDIT_CHECK_PLAN = 32800;

inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;  // 57616..57619: recent files 1..4
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_WINDOW_NEW = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_CONTEXT_HELP = 57669;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_DEFAULT_HELP = 57671;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// The first child window of the "窗口(&W)" popup's window list.
inline constexpr int AFX_IDM_FIRST_MDICHILD = 0xFF00;

// Every text shown in a window is marked QUORIM_TR("Quorim", "…") where it
// is defined and shown with Q(text), so the English build can replace it
// (base/translation.h tells how; new texts get their English in
// resources/translations/quorim_en.ts).
// Resource strings of the program.
inline constexpr std::string_view kAppTitle =
    QUORIM_TR("Quorim", "Halvoren数据文件");  // settings, message boxes
inline constexpr std::string_view kMainTitle = QUORIM_TR("Quorim", "Halvoren对讲机写频软件");  // string 128
inline constexpr std::string_view kProfileRoot = "Local AppWizard-Generated Applications";
inline constexpr std::string_view kRecentFileSection = "Recent File List";
inline constexpr int kRecentFileCount = 4;
inline constexpr std::string_view kIdleMessage = QUORIM_TR("Quorim", "如需帮助，请按F1键");

// The string of a command: the status-bar prompt, and for toolbar commands the
// tooltip (the resource's text after its line feed). Empty for unknown ids.
struct CommandString {
    std::string_view prompt;
    std::string_view tooltip;
};
CommandString CommandText(int id);

// Accelerator table 128. Keys in portable text form ("Ctrl+C", "Shift+F1").
struct Accelerator {
    std::string_view keys;
    int id;
};
const std::vector<Accelerator>& AcceleratorTable();
// The keys of the first accelerator bound to id, empty if none.
std::string_view ShortcutOf(int id);
// The keys of the channel table's editing commands. The grid and its
// editors take them (the frame's accelerators come first, so none of
// Ctrl+C to Ctrl+W is here); a command may have two.
const std::vector<Accelerator>& EditKeyTable();
// Every key shown beside a command in a menu: its accelerator, or its
// editing keys.
std::vector<std::string_view> ShortcutsOf(int id);

// Menus 128 (no document) and 129 (a document is active). An item with
// children is a popup; id 0 without children is a separator.
struct MenuItem {
    std::string_view text;
    int id = 0;
    std::vector<MenuItem> children;
    bool IsSeparator() const { return id == 0 && children.empty(); }
    bool IsPopup() const { return !children.empty(); }
};
const std::vector<MenuItem>& Menu128();
const std::vector<MenuItem>& Menu129();
// The "编辑" popup of menu 129, the one list of the channel table's editing
// commands: the grid's context menu is built from it too.
const MenuItem& EditPopup();
bool IsEditCommand(int id);

// Toolbar 128, twelve entries; 0 is a separator.
const std::vector<int>& Toolbar128();
// The id of each of the toolbar's nine pictures in bitmap 128, left to right.
inline constexpr int kToolbarImageWidth = 18;
inline constexpr int kToolbarImageHeight = 20;

// Status bar panes after the message pane: Caps Lock, Num Lock, Scroll Lock.
const std::vector<std::string_view>& IndicatorTexts();

// Texts of the save prompt a modified document shows when it closes.
std::string_view AskToSaveText();  // "%1" stands for the document's title
inline constexpr std::string_view kSaveButton = QUORIM_TR("Quorim", "保存(&S)");
inline constexpr std::string_view kDiscardButton = QUORIM_TR("Quorim", "不保存(&N)");
inline constexpr std::string_view kCancelButton = QUORIM_TR("Quorim", "取消");
inline constexpr std::string_view kOkButton = QUORIM_TR("Quorim", "确定");
inline constexpr std::string_view kAllFilesFilter = QUORIM_TR("Quorim", "所有文件 (*.*)");
inline constexpr std::string_view kNoHelpFile = QUORIM_TR("Quorim", "找不到帮助文件。");

}  // namespace quorim
