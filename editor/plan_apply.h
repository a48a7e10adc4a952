#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/channel_edit.h"
#include "editor/channel_plan.h"

namespace quorim {

// A channel plan put into a radio's channel table, and a table checked
// against one. Both work on the editor's texts and selections alone, so the
// command-line tool, the window and the tests share them; neither says a
// radio is legal: the rules also bind the equipment (an integral antenna,
// type approval), which no program can check.

inline constexpr std::string_view kCmdApplyPlan = QUORIM_TR("Quorim", "套用频道方案…");
inline constexpr std::string_view kCmdCheckPlan = QUORIM_TR("Quorim", "按频道方案检查…");

// The window's dialog for it.
inline constexpr std::string_view kPromptPlan = QUORIM_TR("Quorim", "频道方案：");
inline constexpr std::string_view kPromptPlanChannels = QUORIM_TR("Quorim", "写入信道（空：从信道 1 起）：");
inline constexpr std::string_view kPromptPlanFrom = QUORIM_TR("Quorim", "从方案的信道：");
inline constexpr std::string_view kPromptPlanTone = QUORIM_TR("Quorim", "收发信令（空：不改变）：");
inline constexpr std::string_view kCmdPlanOtherFile = QUORIM_TR("Quorim", "其他文件…");
inline constexpr std::string_view kPlanNone = QUORIM_TR("Quorim", "不按方案检查");
inline constexpr std::string_view kMsgPlanChannelList =
    QUORIM_TR("Quorim", "“%1”不是信道或信道范围（如 1-16、3,5,9-12），信道为 1 至 %2");

struct PlanApplyOptions {
    // The radio's channels, in the order they take the plan's; empty: 1 to as
    // many as the plan has from `from` and the radio holds.
    std::vector<int> channels;
    int from = 1;      // the plan's first channel to use
    std::string tone;  // both signalling cells; empty: left as they are ("OFF" on a new channel)
};

enum class PlanApplyProblem {
    None,
    FromOutside,  // `from` is not a channel of the plan
    TooFew,       // more radio channels chosen than the plan has from `from`
    Refused,      // a cell was refused (the tone): edit.refusals
};

struct PlanApplyResult {
    PlanApplyProblem problem = PlanApplyProblem::None;
    EditResult edit;      // ok false: nothing changed
    int bandBefore = -1;  // the band list's item before and after
    int bandAfter = -1;
    int bandwidthBefore = -1;
    int bandwidthAfter = -1;
};

// Receive and transmit frequency of the plan's channels from `from` on into
// the chosen channels, the tone into both signalling cells when given, every
// cell by the rules Enter commits by; then the bandwidth list to the plan's
// bandwidth and the band list, when its band does not hold every frequency
// of the plan, to the first item that does. All or nothing.
PlanApplyResult ApplyPlan(EditorSurface& editor, const ChannelPlan& plan, const PlanApplyOptions& options);

inline constexpr std::string_view kMsgPlanFromOutside = QUORIM_TR("Quorim", "方案 %1 的信道为 1 至 %2");
inline constexpr std::string_view kMsgPlanTooFew =
    QUORIM_TR("Quorim", "方案 %1 从第 %2 个信道起只有 %3 个信道，所选信道有 %4 个");
inline constexpr std::string_view kMsgPlanRefused = QUORIM_TR("Quorim", "以下数据不符合要求，没有套用方案：");
inline constexpr std::string_view kMsgPlanApplied =
    QUORIM_TR("Quorim", "已将方案 %1 的信道 %2 至 %3 写入信道 %4");
inline constexpr std::string_view kMsgPlanBandChanged = QUORIM_TR("Quorim", "频段已由 %1 改为 %2");
inline constexpr std::string_view kMsgPlanBandwidthChanged = QUORIM_TR("Quorim", "频带宽度已由 %1 改为 %2");
// Why nothing was applied (empty for Refused: the refusals say it), or what
// was done and what changed beside the channels, one line each.
std::vector<std::string> FormatApplyResult(const PlanApplyResult& result, const ChannelPlan& plan,
                                           const PlanApplyOptions& options, const TextTranslator& texts);

enum class PlanFindingKind {
    NotInPlan,  // a frequency that is not one of the plan's channels (col: which)
    Split,      // receive and transmit differ where the plan is simplex
    Bandwidth,  // the bandwidth list chooses what the plan does not allow (channel 0)
    Band,       // the band list's band does not hold the plan (channel 0)
};

struct PlanFinding {
    PlanFindingKind kind = PlanFindingKind::NotInPlan;
    int channel = 0;
    int col = 0;  // the cell to go to; for Bandwidth and Band none (0)
    bool operator==(const PlanFinding&) const = default;
};

// Channel by channel, then the bandwidth and the band.
std::vector<PlanFinding> CheckAgainstPlan(const EditorSurface& editor, const ChannelPlan& plan);

inline constexpr std::string_view kMsgPlanNotInPlan =
    QUORIM_TR("Quorim", "信道 %1，%2：%3 不是方案 %4 的信道频率");
inline constexpr std::string_view kMsgPlanSplit =
    QUORIM_TR("Quorim", "信道 %1：接收 %2 与发射 %3 不同，方案 %4 为同频单工");
inline constexpr std::string_view kMsgPlanBandwidth = QUORIM_TR("Quorim", "频带宽度为“%1”，方案 %2 要求%3");
inline constexpr std::string_view kMsgPlanBand = QUORIM_TR("Quorim", "频段 %1 不包含方案 %2 的全部频率");
// Said when nothing is found: the channels and the bandwidth match, which is
// all a program can see.
inline constexpr std::string_view kMsgPlanMatches = QUORIM_TR("Quorim", "%1：与方案的信道和频带宽度相符");
inline constexpr std::string_view kMsgPlanPower =
    QUORIM_TR("Quorim", "功率限制：%1（未检查：对讲机的功率设置是档位，不是瓦数）");
inline constexpr std::string_view kMsgPlanEquipment = QUORIM_TR(
    "Quorim", "法规同样约束设备本身（一体化天线、型号核准等），这些任何程序都无法检查；相符不等于合法。");

std::string FormatPlanFinding(const PlanFinding& finding, const EditorSurface& editor,
                              const ChannelPlan& plan, const TextTranslator& texts);
// What follows the findings: the match (when there are none), the power
// limit and the equipment's part, one line each.
std::vector<std::string> PlanCheckNotes(bool found, const ChannelPlan& plan, const TextTranslator& texts);

}  // namespace quorim
