#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/editor_surface.h"

namespace quorim {

// What a channel table holds that the radio cannot use or the user probably
// did not mean. Data files and radios can hold values the grid would refuse
// when typed, so the grid's texts are looked at as they stand.

enum class FindingKind {
    OutsideBand,    // a frequency outside the band chosen in the band list
    TxWithoutRx,    // a transmit frequency on a channel without a receive frequency
    OffStep,        // a frequency on neither the 5 kHz nor the 6.25 kHz step
    SameAsChannel,  // every cell the same as an earlier channel's
};

struct ChannelFinding {
    FindingKind kind = FindingKind::OutsideBand;
    int channel = 0;
    int col = 0;    // the cell to go to
    int other = 0;  // SameAsChannel: the earlier channel
    bool operator==(const ChannelFinding&) const = default;
};

inline constexpr std::string_view kCmdCheckChannels = QUORIM_TR("Quorim", "检查信道");
inline constexpr std::string_view kMsgNoFindings = QUORIM_TR("Quorim", "没有发现问题");
inline constexpr std::string_view kCheckClose = QUORIM_TR("Quorim", "关闭");
inline constexpr std::string_view kMsgOutsideBand = QUORIM_TR("Quorim", "信道 %1，%2：%3 不在所选频段 %4 内");
inline constexpr std::string_view kMsgTxWithoutRx = QUORIM_TR("Quorim", "信道 %1：有发射频率，没有接收频率");
inline constexpr std::string_view kMsgOffStep =
    QUORIM_TR("Quorim", "信道 %1，%2：%3 不是 5 kHz 或 6.25 kHz 的倍数");
inline constexpr std::string_view kMsgSameAsChannel = QUORIM_TR("Quorim", "信道 %1 与信道 %2 完全相同");

// The two ends of a band list item ("130 - 150MHZ", "470 -490MHZ") in 10 Hz
// units; false when the text does not name two.
bool BandItemRange(std::string_view item, long long& low, long long& high);
// After a read or an open: the channels outside the band or off the step.
inline constexpr std::string_view kMsgCheckSummary =
    QUORIM_TR("Quorim", "%1 个信道超出频段或不在步进上：“编辑”→“检查信道”");

// Channel by channel, each channel's findings in the order of its cells.
std::vector<ChannelFinding> CheckChannels(const EditorSurface& editor);

// kMsgCheckSummary with the number of channels outside the band or off the
// step, in the translator's language; empty when there are none.
std::string CheckSummary(const EditorSurface& editor, const TextTranslator& texts);

// One line for a finding, in the translator's language.
std::string FormatFinding(const ChannelFinding& finding, const EditorSurface& editor,
                          const TextTranslator& texts);

}  // namespace quorim
