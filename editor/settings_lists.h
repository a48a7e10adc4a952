#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "base/translation.h"

namespace quorim {

// Captions and headers are marked QUORIM_TR("Quorim", …); the lists' items
// QUORIM_TR("SettingsList", …) and shown with Q(item, kTrSettingsList), since
// "打开" is "On" there but "Open" as a command (base/translation.h).
// The eight radio-wide settings lists of the form, in the order of their
// members in the view.
enum class SettingsList { Tot, Model, Alarm, Squelch, Power, Monitor, Band, Bandwidth };

inline constexpr int kSettingsListCount = 8;

struct SettingsListInfo {
    SettingsList list;
    int controlId;
    std::string_view caption;  // the label beside the list
    std::string_view jsonKey;  // the key in `quorim show --json`
    std::vector<std::string_view> items;
    int initialIndex;  // selected when a form is first set up
    int restoreIndex;  // selected again when the user types into the list; -1: none
};

const SettingsListInfo& Info(SettingsList list);
// All eight, in member order.
const std::array<SettingsListInfo, kSettingsListCount>& AllSettingsLists();

// Grid layout shared by the form, the codec, printing and the CLI.
inline constexpr int kGridColumns = 7;
inline constexpr int kRows16 = 17;    // header row + channels 1..16
inline constexpr int kRows199 = 200;  // header row + channels 1..199
enum GridColumn : int {
    kColChannel = 0,
    kColRxFreq = 1,
    kColTxFreq = 2,
    kColRxTone = 3,
    kColTxTone = 4,
    kColInhibit = 5,
    kColSpare = 6,
};
// Headers of columns 0..5; column 6 has none.
const std::array<std::string_view, 6>& GridHeaders();

inline constexpr std::string_view kYes = QUORIM_TR("Quorim", "是");  // transmitting inhibited
inline constexpr std::string_view kNo = QUORIM_TR("Quorim", "否");   // transmitting allowed

}  // namespace quorim
