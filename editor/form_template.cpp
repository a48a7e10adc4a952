#include "editor/form_template.h"

#include "base/translation.h"

namespace quorim {

const DialogTemplate& FormTemplate() {
    using K = ControlKind;
    static const DialogTemplate t{
        101,
        "",
        "宋体",
        9,
        464,
        228,
        {
            {K::Grid, IDC_GRID, "", {128, 20, 317, 191}},
            {K::GroupBox, IDC_STATIC, QUORIM_TR("Quorim", "整机设置"), {7, 7, 107, 52}},
            {K::Static, IDC_STATIC, QUORIM_TR("Quorim", "机型"), {15, 26, 20, 11}},
            {K::Static, IDC_STATIC, QUORIM_TR("Quorim", "频段"), {16, 42, 18, 10}},
            {K::ComboBox, 1011, "", {41, 41, 60, 138}},
            {K::ComboBox, 1017, "", {41, 23, 60, 52}},
            {K::GroupBox, IDC_FUNCTION_GROUP, QUORIM_TR("Quorim", "功能设置"), {7, 63, 108, 148}},
            {K::Static, 1004, QUORIM_TR("Quorim", "监听功能"), {11, 74, 40, 9}},
            {K::ComboBox, 1012, "", {56, 70, 53, 52}},
            {K::Static, 1005, QUORIM_TR("Quorim", "发射定时"), {11, 91, 34, 11}},
            {K::Static, 1003, QUORIM_TR("Quorim", "报警音提示"), {11, 110, 43, 10}},
            {K::ComboBox, 1014, "", {56, 106, 53, 52}},
            {K::Static, 1054, QUORIM_TR("Quorim", "静噪等级"), {12, 130, 33, 8}},
            {K::ComboBox, 1016, "", {56, 128, 54, 52}},
            {K::Static, 1055, QUORIM_TR("Quorim", "发射功率(POWER)"), {13, 151, 35, 18}},
            {K::ComboBox, 1018, "", {56, 151, 53, 38}},
            {K::Static, 1006, QUORIM_TR("Quorim", "频带宽度"), {13, 175, 35, 10}},
            {K::ComboBox, 1073, "", {56, 171, 54, 52}},
            {K::Static, IDC_STATIC, QUORIM_TR("Quorim", "记忆信道："), {142, 7, 81, 10}},
            {K::ComboBox, 1013, "", {56, 88, 54, 52}},
        }};
    return t;
}

const std::vector<int>& FormTabOrder() {
    static const std::vector<int> order = {IDC_GRID, 1011, 1017, 1012, 1014, 1016, 1018, 1073, 1013};
    return order;
}

const std::vector<int>& FunctionSettingsControls() {
    static const std::vector<int> ids = {1055, 1004, 1005, 1003, 1054, 1006, IDC_FUNCTION_GROUP,
                                         1073, 1012, 1018, 1016, 1014, 1013};
    return ids;
}

}  // namespace quorim
