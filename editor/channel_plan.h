#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"

namespace quorim {

// Channel plans: a named list of channels with the rules that come with it.
// Three are built in, the licence-free services this radio is most often
// set up for (plan_pmr446.cpp, plan_cn409.cpp, plan_frs.cpp, each citing the
// regulation it is taken from); a user's own plan is a channel list saved in
// the Quorim CSV layout (a business's licensed frequencies), named by its
// path or kept in the user's plan folder (UserPlanFolder) and named by its
// file name without ".csv".

enum class PlanBandwidth {
    Narrow,  // 12.5 kHz channels: the bandwidth list on "窄"
    Wide,    // "宽"
    Any,     // a user's list without a bandwidth choice: either is allowed
};

// Frequencies in 10 Hz units, as the grid's texts count them.
struct PlanChannel {
    long long rx = 0;
    long long tx = 0;  // 0: receive only
    bool operator==(const PlanChannel&) const = default;
};

struct ChannelPlan {
    std::string name;                   // what the user types: "pmr446", or a user plan's file stem
    std::string title;                  // marked text for a built-in plan; a user plan's file name
    std::string path;                   // a user plan's file; empty for a built-in one
    std::vector<PlanChannel> channels;  // plan channel n is channels[n - 1]
    bool simplex = true;                // every channel sends where it listens
    PlanBandwidth bandwidth = PlanBandwidth::Narrow;
    // The power limit as the rules word it (marked text); empty when the plan
    // does not say. The radio's power setting is a level, not watts, so it is
    // told, never checked.
    std::string powerLimit;
    // The regulation and its date (as published, not translated); a user
    // plan: its file.
    std::string source;
};

// The plans the program carries, in the order `plan list` shows them.
const std::vector<ChannelPlan>& BuiltInPlans();
ChannelPlan Pmr446Plan();
ChannelPlan Cn409Plan();
ChannelPlan FrsPlan();

// The folder of the user's own plans: $XDG_CONFIG_HOME/quorim/plans
// (~/.config/quorim/plans when XDG_CONFIG_HOME is unset or not absolute); on
// Windows %APPDATA%\quorim\plans. Empty when the environment names none.
// Platform layer.
std::string UserPlanFolder();

// A plan as `plan list` names it.
struct PlanListing {
    std::string
        name;  // built-in: its name; a user plan: its file stem (its path when a built-in has the stem)
    std::string path;  // empty for a built-in plan
};
// The built-in plans, then each *.csv in `folder` by name (a missing folder
// lists none).
std::vector<PlanListing> ListPlans(const std::string& folder);

enum class PlanLoadProblem {
    None,
    Unknown,     // no built-in plan, no file of that path, none in the folder
    CannotRead,  // the file is there but cannot be read (detail: why)
    NotAList,    // not a channel list in the Quorim layout (detail: the first refusal)
    NoChannels,  // a channel list without a single frequency
};

struct PlanLoad {
    PlanLoadProblem problem = PlanLoadProblem::None;
    std::string path;  // the file looked at
    std::string detail;
    ChannelPlan plan;
    bool Ok() const { return problem == PlanLoadProblem::None; }
};

// A built-in plan by name; else the file `name` names; else
// `folder`/`name`.csv.
PlanLoad LoadPlan(const std::string& name, const std::string& folder);
// A plan from a channel list in the Quorim CSV layout (its text and path):
// every channel with a receive frequency, in channel order; simplex when
// each sends on its receive frequency (or not at all); the bandwidth its
// list chooses.
PlanLoad PlanFromCsv(std::string_view text, const std::string& path);

inline constexpr std::string_view kMsgPlanUnknown = QUORIM_TR("Quorim", "找不到频道方案 %1");
inline constexpr std::string_view kMsgPlanCannotRead = QUORIM_TR("Quorim", "无法读取频道方案 %1：%2");
inline constexpr std::string_view kMsgPlanNotAList = QUORIM_TR("Quorim", "%1 不是导出格式的信道表：%2");
inline constexpr std::string_view kMsgPlanNoChannels = QUORIM_TR("Quorim", "%1 中没有任何信道频率");
std::string FormatPlanLoadProblem(const PlanLoad& load, const std::string& name, const TextTranslator& texts);

// Shown beside a plan.
inline constexpr std::string_view kPlanNarrow = QUORIM_TR("Quorim", "窄带（12.5 kHz）");
inline constexpr std::string_view kPlanWide = QUORIM_TR("Quorim", "宽带（25 kHz）");
inline constexpr std::string_view kPlanAnyBandwidth = QUORIM_TR("Quorim", "宽带或窄带");
inline constexpr std::string_view kPlanSimplex = QUORIM_TR("Quorim", "同频单工");
inline constexpr std::string_view kPlanDuplex = QUORIM_TR("Quorim", "可异频");
inline constexpr std::string_view kPlanPowerNotStated = QUORIM_TR("Quorim", "方案未说明");
inline constexpr std::string_view kPlanShowLine =
    QUORIM_TR("Quorim", "%1：%2\n信道数：%3；%4；%5；功率限制：%6\n依据：%7\n");
std::string_view BandwidthText(PlanBandwidth bandwidth);

// The plan's name, title and rules, three lines.
std::string FormatPlanRules(const ChannelPlan& plan, const TextTranslator& texts);
// `plan show`: the rules, then one line a channel ("1\t446.00625\t446.00625").
std::string FormatPlanText(const ChannelPlan& plan, const TextTranslator& texts);
// `plan show --json`: {"name","title","path","simplex","bandwidth"
// ("narrow"|"wide"|"any"),"power_limit","source","channels":[{"ch","rx","tx"}]}
// with the frequencies as the grid writes them (tx "" for receive only).
std::string FormatPlanJson(const ChannelPlan& plan, const TextTranslator& texts);

}  // namespace quorim
