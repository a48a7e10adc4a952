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
//
// A change that gives no channel a receive frequency (a tone, the inhibit, a
// transmit frequency alone) leaves the channels without any frequency alone
// and counts them (EditResult::skipped); it is refused only when no channel
// of the range holds a frequency.

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
// No channel of the range holds a frequency, and the change gives none.
inline constexpr std::string_view kMsgNoChannelInUse =
    QUORIM_TR("Quorim", "所选的信道都没有频率，没有修改任何数据");
// What a change left as it was, told after it.
inline constexpr std::string_view kMsgSkippedEmpty = QUORIM_TR("Quorim", "跳过了 %1 个没有频率的信道");
inline constexpr std::string_view kMsgSplitsKept =
    QUORIM_TR("Quorim", "%1 个信道的发射频率与接收频率不同，保留了原来的发射频率");
// Two column captions in one prompt.
inline constexpr std::string_view kJoinColumns = QUORIM_TR("Quorim", "%1、%2");

// One value for one column (kColRxFreq to kColInhibit), as typed into a cell.
struct ColumnValue {
    int col = 0;
    std::string text;
};

// Every value into every channel; a channel's values in the order Enter
// walks a row (receive frequency first), whatever order they come in.
// A value the grid would drop (signalling or inhibit on a channel without a
// frequency, an empty inhibit) is refused too. A receive frequency without a
// transmit frequency beside it carries the transmit frequency along where
// the two were equal, as a series does.
EditResult SetChannelValues(EditorSurface& editor, const std::vector<int>& channels,
                            std::vector<ColumnValue> values);
// Each column's text of the first channel (the lowest) into the other channels.
EditResult FillDown(EditorSurface& editor, std::vector<int> channels, const std::vector<int>& cols);
// Frequencies from `start` (MHz) going up by `stepKhz` (kHz, a whole multiple
// of 5 or 6.25; negative goes down) channel by channel, lowest channel first,
// into a frequency column. A series of receive frequencies keeps a channel's
// transmit frequency equal to it where the two were equal (or the channel
// was empty) and leaves a split channel's transmit frequency as it was.
EditResult FillSeries(EditorSurface& editor, std::vector<int> channels, int col, std::string_view start,
                      std::string_view stepKhz);

// The lines that tell what a change left alone (skipped empty channels, kept
// splits), in the translator's language; empty when it left nothing.
std::vector<std::string> BulkNotes(const EditResult& result, const TextTranslator& texts);

// The columns "设置…" sets: every selected column when they are all of one
// kind (the two frequencies, the two signalling columns, the inhibit), else
// the current cell's column; none outside columns 1 to 5.
std::vector<int> ColumnsToSet(std::vector<int> selected, int currentCol);

// A list of channels as written on the command line: "1-16", "3,5,9-12",
// "all". Sorted, each once; nothing when it does not read or names a channel
// outside 1 to `lastChannel` (then `error` says why, in English).
std::optional<std::vector<int>> ParseChannelList(std::string_view text, int lastChannel, std::string& error);

// The column of a key as `quorim show --json` names it: rx, tx, rx_tone,
// tx_tone, inhibit; -1 for any other key.
int ColumnOfKey(std::string_view key);

}  // namespace quorim
