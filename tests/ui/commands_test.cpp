// The tables behind the windows' menus, accelerators and the toolbar.
#include "ui/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/dialog_template.h"
#include "editor/bulk_edit.h"
#include "editor/channel_check.h"
#include "editor/channel_edit.h"
#include "editor/form_template.h"
#include "editor/settings_lists.h"

namespace quorim {
namespace {

TEST(ShellTables, AcceleratorsAreUniqueAndReachMenuCommands) {
    std::set<std::string_view> keys;
    for (const Accelerator& a : AcceleratorTable()) {
        EXPECT_TRUE(keys.insert(a.keys).second) << a.keys;
    }
    EXPECT_EQ(AcceleratorTable().size(), 16u);
    EXPECT_EQ(ShortcutOf(ID_PORT_COM1), "Ctrl+C");
    EXPECT_EQ(ShortcutOf(ID_WRITE_RADIO), "Ctrl+W");
    EXPECT_EQ(ShortcutOf(ID_FILE_SAVE_AS), "");
    EXPECT_EQ(ShortcutOf(ID_HELP_FINDER), "F1");

    // Every command of either menu has its status prompt.
    for (const auto* menu : {&Menu128(), &Menu129()}) {
        for (const MenuItem& popup : *menu) {
            for (const MenuItem& item : popup.children) {
                if (!item.IsSeparator()) {
                    EXPECT_FALSE(CommandText(item.id).prompt.empty()) << item.id;
                }
            }
        }
    }
    // The editing keys take none of the frame's accelerators, and the "编辑"
    // popup names its commands as the editor names its undo steps.
    for (const Accelerator& a : EditKeyTable()) {
        EXPECT_TRUE(keys.insert(a.keys).second) << a.keys;
        EXPECT_TRUE(IsEditCommand(a.id)) << a.keys;
    }
    EXPECT_EQ(ShortcutsOf(ID_EDIT_PASTE), (std::vector<std::string_view>{"Shift+Ins", "Ctrl+V"}));
    const std::pair<int, std::string_view> named[] = {{ID_EDIT_UNDO, kCmdUndo},
                                                      {ID_EDIT_CUT, kCmdCut},
                                                      {ID_EDIT_INSERT_CHANNEL, kCmdInsertChannel},
                                                      {ID_EDIT_SET_CELLS, kCmdSetCells},
                                                      {ID_EDIT_FILL_SERIES, kCmdFillSeries},
                                                      {ID_EDIT_CHECK_CHANNELS, kCmdCheckChannels}};
    for (const auto& [id, text] : named) {
        const auto& items = EditPopup().children;
        const auto it =
            std::find_if(items.begin(), items.end(), [id = id](const MenuItem& m) { return m.id == id; });
        ASSERT_NE(it, items.end()) << id;
        EXPECT_EQ(it->text, text) << id;
    }
    // Menu 128 has neither the programming nor the port popup.
    for (const MenuItem& popup : Menu128()) {
        EXPECT_NE(popup.text, "编程(&E)");
        EXPECT_NE(popup.text, "端口设置");
    }
}

TEST(ShellTables, ToolbarCommandsCarryTooltipsAndFormListsMatch) {
    int buttons = 0;
    for (const int id : Toolbar128()) {
        if (id != 0) {
            ++buttons;
            EXPECT_FALSE(CommandText(id).tooltip.empty()) << id;
        }
    }
    EXPECT_EQ(Toolbar128().size(), 12u);
    EXPECT_EQ(buttons * kToolbarImageWidth, 162);

    // Every settings list of the form has its combo in template 101, and the
    // Tab order reaches each of them once.
    const DialogTemplate& form = FormTemplate();
    std::set<int> combos;
    for (const DialogControl& c : form.controls) {
        if (c.kind == ControlKind::ComboBox) {
            combos.insert(c.id);
        }
    }
    std::set<int> lists;
    for (const SettingsListInfo& info : AllSettingsLists()) {
        lists.insert(info.controlId);
    }
    EXPECT_EQ(combos, lists);
    EXPECT_EQ(std::set<int>(FormTabOrder().begin() + 1, FormTabOrder().end()), lists);
}

}  // namespace
}  // namespace quorim
