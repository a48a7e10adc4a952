#pragma once

#include <string_view>
#include <vector>

#include "base/dialog_template.h"
#include "base/translation.h"

namespace quorim {

inline constexpr int IDC_GRID = 1007;
inline constexpr int IDC_FUNCTION_GROUP = 1008;
inline constexpr int IDC_EDIT_CELL = 61446;
inline constexpr int IDC_COMBO_YESNO = 61448;
inline constexpr int IDC_COMBO_TONE = 1000;

// Template 101, the form of every document window, in Tab order of its
// focusable controls as the template lists them.
const DialogTemplate& FormTemplate();

// The Tab order of the form: the grid, then the settings lists.
const std::vector<int>& FormTabOrder();

// The controls of the function-settings group, shown for the 16-channel
// model and hidden for the 199-channel model.
const std::vector<int>& FunctionSettingsControls();

// Every text shown in a window is marked QUORIM_TR("Quorim", "…") where it
// is defined and shown with Q(text), so the English build can replace it
// (base/translation.h tells how; new texts get their English in
// resources/translations/quorim_en.ts).
// Hints in the status bar's first pane for what is under the pointer.
inline constexpr std::string_view kHintCombo =
    QUORIM_TR("Quorim", "请点击组合框右边的箭头按钮以进行选择，如需帮助，请按F1键");
inline constexpr std::string_view kHintGrid =
    QUORIM_TR("Quorim", "请双击格子进入编辑状态或直接输入数字，如需帮助，请按F1键");
inline constexpr std::string_view kHintOther = QUORIM_TR("Quorim", "如需帮助，请按F1键");

// The edit-channel command's message.
inline constexpr std::string_view kEditChannelMessage = QUORIM_TR("Quorim", "请直接在右边的表格双击");

// The grid's stored properties: cell font and its size in hundredths of a point.
inline constexpr std::string_view kGridFontFace = "Times New Roman";
inline constexpr int kGridFontCentiPoints = 825;

}  // namespace quorim
