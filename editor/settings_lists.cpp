#include "editor/settings_lists.h"

#include "base/translation.h"

namespace quorim {

const std::array<SettingsListInfo, kSettingsListCount>& AllSettingsLists() {
    static const std::array<SettingsListInfo, kSettingsListCount> lists = {{
        {SettingsList::Tot,
         1013,
         QUORIM_TR("Quorim", "发射定时"),
         "tot",
         {QUORIM_TR("SettingsList", "关闭"), "30s", "60s", "90s", "120s", "150s", "180s", "210s", "240s",
          "270s", "300s"},
         2,
         2},
        {SettingsList::Model, 1017, QUORIM_TR("Quorim", "机型"), "model", {"QZ - 16", "QZ - 199"}, 0, 0},
        {SettingsList::Alarm,
         1014,
         QUORIM_TR("Quorim", "报警音提示"),
         "alarm",
         {QUORIM_TR("SettingsList", "打开"), QUORIM_TR("SettingsList", "关闭")},
         0,
         0},
        {SettingsList::Squelch,
         1016,
         QUORIM_TR("Quorim", "静噪等级"),
         "squelch",
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
         4,
         4},
        {SettingsList::Power,
         1018,
         QUORIM_TR("Quorim", "发射功率(POWER)"),
         "power",
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"},
         9,
         9},
        {SettingsList::Monitor,
         1012,
         QUORIM_TR("Quorim", "监听功能"),
         "monitor",
         {QUORIM_TR("SettingsList", "打开"), QUORIM_TR("SettingsList", "关闭")},
         0,
         0},
        {SettingsList::Band,
         1011,
         QUORIM_TR("Quorim", "频段"),
         "band",
         {"130 - 150MHZ", "150 - 170MHZ", "350 - 370MHZ", "370 - 390MHZ", "400 - 420MHZ", "430 - 450MHZ",
          "450 - 470MHZ", "470 -490MHZ", "50 - 700MHZ"},
         2,
         2},
        {SettingsList::Bandwidth,
         1073,
         QUORIM_TR("Quorim", "频带宽度"),
         "bandwidth",
         {QUORIM_TR("SettingsList", "宽"), QUORIM_TR("SettingsList", "窄")},
         1,
         -1},
    }};
    return lists;
}

const SettingsListInfo& Info(SettingsList list) {
    return AllSettingsLists()[static_cast<std::size_t>(list)];
}

const std::array<std::string_view, 6>& GridHeaders() {
    static const std::array<std::string_view, 6> headers = {
        QUORIM_TR("Quorim", "信道"),     QUORIM_TR("Quorim", "接收频率"), QUORIM_TR("Quorim", "发射频率"),
        QUORIM_TR("Quorim", "接收信令"), QUORIM_TR("Quorim", "发射信令"), QUORIM_TR("Quorim", "是否禁发")};
    return headers;
}

}  // namespace quorim
