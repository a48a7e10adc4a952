#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/channel_edit.h"

namespace quorim {

// One column changed over many channels at once: set to one value, filled
// down from the first channel, or filled with a series of frequencies. Every
// value is typed into its cell by the rules Enter commits by, on a copy of
// the grid first: any refusal leaves the grid as it was and lists every
// refused cell (EditResult::refusals, EditResult::message).

inline constexpr std::string_view kCmdSetCells = QUORIM_TR("Quorim", "设置…");
inline constexpr std::string_view kCmdFillDown = QUORIM_TR("Quorim", "向下填充");
inline constexpr std::string_view kCmdFillSeries = QUORIM_TR("Quorim", "递增填充");
inline constexpr std::string_view kMsgBulkRefused =
    QUORIM_TR("Quorim", "以下数据不符合要求，没有修改任何数据：");
inline constexpr std::string_view kPromptValue = QUORIM_TR("Quorim", "%1（信道 %2 至 %3）：");
inline constexpr std::string_view kPromptStart = QUORIM_TR("Quorim", "起始频率（MHz）：");
inline constexpr std::string_view kPromptStep = QUORIM_TR("Quorim", "步进（kHz，5 或 6.25 的倍数）：");
// A signalling or inhibit value for a channel without a frequency, which the
// grid would not keep.
inline constexpr std::string_view kMsgChannelEmpty = QUORIM_TR("Quorim", "该信道没有频率");
// A series step that is not a whole multiple of 5 kHz or 6.25 kHz.
inline constexpr std::string_view kMsgSeriesStep = QUORIM_TR("Quorim", "步进须为 5 kHz 或 6.25 kHz 的倍数");

// One value for one column (kColRxFreq to kColInhibit), as typed into a cell.
struct ColumnValue {
    int col = 0;
    std::string text;
};

// Every value into every channel; a channel's values in the order Enter
// walks a row (receive frequency first), whatever order they come in.
// A value the grid would drop (signalling or inhibit on a channel without a
// frequency, an empty inhibit) is refused too.
EditResult SetChannelValues(EditorSurface& editor, const std::vector<int>& channels,
                            std::vector<ColumnValue> values);
// Each column's text of the first channel (the lowest) into the other channels.
EditResult FillDown(EditorSurface& editor, std::vector<int> channels, const std::vector<int>& cols);
// Frequencies from `start` (MHz) going up by `stepKhz` (kHz, a whole multiple
// of 5 or 6.25; negative goes down) channel by channel, lowest channel first,
// into a frequency column.
EditResult FillSeries(EditorSurface& editor, std::vector<int> channels, int col, std::string_view start,
                      std::string_view stepKhz);

// A list of channels as written on the command line: "1-16", "3,5,9-12",
// "all". Sorted, each once; nothing when it does not read or names a channel
// outside 1 to `lastChannel` (then `error` says why, in English).
std::optional<std::vector<int>> ParseChannelList(std::string_view text, int lastChannel, std::string& error);

// The column of a key as `quorim show --json` names it: rx, tx, rx_tone,
// tx_tone, inhibit; -1 for any other key.
int ColumnOfKey(std::string_view key);

}  // namespace quorim
