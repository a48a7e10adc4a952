#include "editor/plan_apply.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "editor/cell_rules.h"
#include "editor/channel_check.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

namespace {

constexpr int kNarrowItem = 1;  // "窄" in the bandwidth list
constexpr int kWideItem = 0;    // "宽"

std::optional<long long> Frequency(const EditorSurface& editor, int row, int col) {
    const auto v = WholeDecimalScaled(editor.TextMatrix(row, col), 5, Cut::Truncate);
    if (!v) return std::nullopt;
    return static_cast<long long>(*v);
}

// The lowest and highest frequency of the plan.
std::pair<long long, long long> PlanSpan(const ChannelPlan& plan) {
    long long low = 0, high = 0;
    for (const PlanChannel& c : plan.channels) {
        for (const long long f : {c.rx, c.tx}) {
            if (f == 0) continue;
            low = low == 0 ? f : std::min(low, f);
            high = std::max(high, f);
        }
    }
    return {low, high};
}

bool BandHolds(std::string_view item, std::pair<long long, long long> span) {
    long long low = 0, high = 0;
    return BandItemRange(item, low, high) && low <= span.first && span.second <= high;
}

// The band item to choose: the one chosen when it holds the plan, else the
// first that does; -1 when none does.
int BandFor(const EditorSurface& editor, const ChannelPlan& plan) {
    const auto span = PlanSpan(plan);
    const int chosen = editor.CurSel(SettingsList::Band);
    if (chosen >= 0 && BandHolds(editor.SelectedText(SettingsList::Band), span)) return chosen;
    const auto& items = Info(SettingsList::Band).items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (BandHolds(items[i], span)) return static_cast<int>(i);
    }
    return chosen;
}

bool BandwidthAllowed(int item, PlanBandwidth bandwidth) {
    switch (bandwidth) {
        case PlanBandwidth::Narrow:
            return item == kNarrowItem;
        case PlanBandwidth::Wide:
            return item == kWideItem;
        case PlanBandwidth::Any:
            return true;
    }
    return true;
}

void Type(EditorSurface& work, int channel, int col, const std::string& text, EditResult& edit) {
    const std::string_view message = TypeCellText(work, channel, col, text);
    if (!message.empty()) edit.refusals.push_back({channel, col, text, message});
}

std::string ListText(SettingsList list, int index, const TextTranslator& texts) {
    const auto& items = Info(list).items;
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    return texts.Translate("SettingsList", items[static_cast<std::size_t>(index)]);
}

// "1-16", "3,5,9-12": the channels as a list is written.
std::string ChannelListText(const std::vector<int>& channels) {
    std::string out;
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1) ++j;
        if (!out.empty()) out += ",";
        out += std::to_string(channels[i]);
        if (j > i) out += "-" + std::to_string(channels[j]);
        i = j + 1;
    }
    return out;
}

bool IsPlanFrequency(const ChannelPlan& plan, long long f) {
    return std::any_of(plan.channels.begin(), plan.channels.end(),
                       [f](const PlanChannel& c) { return c.rx == f || c.tx == f; });
}

// One channel's findings against the plan.
void CheckChannel(const EditorSurface& editor, const ChannelPlan& plan, int ch,
                  std::vector<PlanFinding>& out) {
    const bool hasRx = !editor.TextMatrix(ch, kColRxFreq).empty();
    const bool hasTx = !editor.TextMatrix(ch, kColTxFreq).empty();
    if (!hasRx && !hasTx) return;
    const std::optional<long long> rx = Frequency(editor, ch, kColRxFreq);
    const std::optional<long long> tx = Frequency(editor, ch, kColTxFreq);
    if (plan.simplex) {
        if (hasRx && !(rx && IsPlanFrequency(plan, *rx)))
            out.push_back({PlanFindingKind::NotInPlan, ch, kColRxFreq});
        if (hasTx && !(tx && IsPlanFrequency(plan, *tx)))
            out.push_back({PlanFindingKind::NotInPlan, ch, kColTxFreq});
        if (rx && tx && *rx != *tx) out.push_back({PlanFindingKind::Split, ch, kColTxFreq});
        return;
    }
    // A plan with splits: the pair must be one of its channels (or the
    // receive side of one, for a channel that only listens).
    const auto pair = [&](const PlanChannel& c) {
        return (!hasRx || (rx && c.rx == *rx)) && (!hasTx || (tx && c.tx == *tx));
    };
    if (std::any_of(plan.channels.begin(), plan.channels.end(), pair)) return;
    const bool rxKnown = hasRx && rx &&
                         std::any_of(plan.channels.begin(), plan.channels.end(),
                                     [&](const PlanChannel& c) { return c.rx == *rx; });
    out.push_back({PlanFindingKind::NotInPlan, ch, rxKnown || !hasRx ? kColTxFreq : kColRxFreq});
}

// The radio's channels the plan's go into, from the options.
std::vector<int> TargetChannels(const EditorSurface& editor, const ChannelPlan& plan,
                                const PlanApplyOptions& options) {
    if (!options.channels.empty()) return options.channels;
    const int available = static_cast<int>(plan.channels.size()) - options.from + 1;
    std::vector<int> out;
    for (int ch = 1; ch <= std::min(available, LastChannel(editor)); ++ch) out.push_back(ch);
    return out;
}

}  // namespace

PlanApplyResult ApplyPlan(EditorSurface& editor, const ChannelPlan& plan, const PlanApplyOptions& options) {
    PlanApplyResult result;
    result.edit.ok = false;
    result.bandBefore = result.bandAfter = editor.CurSel(SettingsList::Band);
    result.bandwidthBefore = result.bandwidthAfter = editor.CurSel(SettingsList::Bandwidth);
    const int size = static_cast<int>(plan.channels.size());
    if (options.from < 1 || options.from > size) {
        result.problem = PlanApplyProblem::FromOutside;
        return result;
    }
    const std::vector<int> channels = TargetChannels(editor, plan, options);
    for (const int ch : channels) {
        if (ch < 1 || ch > LastChannel(editor)) return result;
    }
    if (static_cast<int>(channels.size()) > size - options.from + 1) {
        result.problem = PlanApplyProblem::TooFew;
        return result;
    }
    EditorModel work;
    CopyEditor(editor, work);
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const PlanChannel& c = plan.channels[static_cast<std::size_t>(options.from - 1) + i];
        const int ch = channels[i];
        // Receive first: on an empty channel it brings the defaults ("OFF",
        // "否"); then the transmit side, which a receive-only channel clears.
        Type(work, ch, kColRxFreq, FixedDecimalText(c.rx, 5), result.edit);
        Type(work, ch, kColTxFreq, c.tx == 0 ? std::string() : FixedDecimalText(c.tx, 5), result.edit);
        if (!TrimAscii(options.tone, " \t").empty()) {
            Type(work, ch, kColRxTone, options.tone, result.edit);
            if (c.tx != 0) Type(work, ch, kColTxTone, options.tone, result.edit);
        }
    }
    if (!result.edit.refusals.empty()) {
        result.problem = PlanApplyProblem::Refused;
        result.edit.message = kMsgPlanRefused;
        return result;
    }
    if (plan.bandwidth != PlanBandwidth::Any &&
        !BandwidthAllowed(work.CurSel(SettingsList::Bandwidth), plan.bandwidth))
        work.SetCurSel(SettingsList::Bandwidth,
                       plan.bandwidth == PlanBandwidth::Narrow ? kNarrowItem : kWideItem);
    work.SetCurSel(SettingsList::Band, BandFor(work, plan));
    result.bandAfter = work.CurSel(SettingsList::Band);
    result.bandwidthAfter = work.CurSel(SettingsList::Bandwidth);
    CopyEditor(work, editor);
    result.edit.ok = true;
    result.edit.channels = channels;
    return result;
}

std::vector<std::string> FormatApplyResult(const PlanApplyResult& result, const ChannelPlan& plan,
                                           const PlanApplyOptions& options, const TextTranslator& texts) {
    const int size = static_cast<int>(plan.channels.size());
    switch (result.problem) {
        case PlanApplyProblem::FromOutside:
            return {TranslateWithArgs(texts, kMsgPlanFromOutside, {plan.name, std::to_string(size)})};
        case PlanApplyProblem::TooFew:
            return {TranslateWithArgs(
                texts, kMsgPlanTooFew,
                {plan.name, std::to_string(options.from), std::to_string(size - options.from + 1),
                 std::to_string(options.channels.size())})};
        case PlanApplyProblem::Refused:
        case PlanApplyProblem::None:
            break;
    }
    std::vector<std::string> out;
    if (!result.edit.ok || result.edit.channels.empty()) return out;
    const int last = options.from + static_cast<int>(result.edit.channels.size()) - 1;
    out.push_back(TranslateWithArgs(texts, kMsgPlanApplied,
                                    {plan.name, std::to_string(options.from), std::to_string(last),
                                     ChannelListText(result.edit.channels)}));
    if (result.bandAfter != result.bandBefore) {
        out.push_back(TranslateWithArgs(texts, kMsgPlanBandChanged,
                                        {ListText(SettingsList::Band, result.bandBefore, texts),
                                         ListText(SettingsList::Band, result.bandAfter, texts)}));
    }
    if (result.bandwidthAfter != result.bandwidthBefore) {
        out.push_back(TranslateWithArgs(texts, kMsgPlanBandwidthChanged,
                                        {ListText(SettingsList::Bandwidth, result.bandwidthBefore, texts),
                                         ListText(SettingsList::Bandwidth, result.bandwidthAfter, texts)}));
    }
    return out;
}

std::vector<PlanFinding> CheckAgainstPlan(const EditorSurface& editor, const ChannelPlan& plan) {
    std::vector<PlanFinding> out;
    for (int ch = 1; ch < editor.Rows(); ++ch) CheckChannel(editor, plan, ch, out);
    if (!BandwidthAllowed(editor.CurSel(SettingsList::Bandwidth), plan.bandwidth))
        out.push_back({PlanFindingKind::Bandwidth, 0, 0});
    if (!BandHolds(editor.SelectedText(SettingsList::Band), PlanSpan(plan)))
        out.push_back({PlanFindingKind::Band, 0, 0});
    return out;
}

std::string FormatPlanFinding(const PlanFinding& finding, const EditorSurface& editor,
                              const ChannelPlan& plan, const TextTranslator& texts) {
    const std::string channel = std::to_string(finding.channel);
    const auto& headers = GridHeaders();
    const std::string column = finding.col >= 0 && finding.col < static_cast<int>(headers.size())
                                   ? texts.Translate("Quorim", headers[static_cast<std::size_t>(finding.col)])
                                   : std::string();
    const std::string value = EscapeControls(editor.TextMatrix(finding.channel, finding.col));
    switch (finding.kind) {
        case PlanFindingKind::NotInPlan:
            return TranslateWithArgs(texts, kMsgPlanNotInPlan, {channel, column, value, plan.name});
        case PlanFindingKind::Split:
            return TranslateWithArgs(texts, kMsgPlanSplit,
                                     {channel, editor.TextMatrix(finding.channel, kColRxFreq),
                                      editor.TextMatrix(finding.channel, kColTxFreq), plan.name});
        case PlanFindingKind::Bandwidth:
            return TranslateWithArgs(
                texts, kMsgPlanBandwidth,
                {texts.Translate("SettingsList", editor.SelectedText(SettingsList::Bandwidth)), plan.name,
                 texts.Translate("Quorim", BandwidthText(plan.bandwidth))});
        case PlanFindingKind::Band:
            return TranslateWithArgs(texts, kMsgPlanBand,
                                     {editor.SelectedText(SettingsList::Band), plan.name});
    }
    return {};
}

std::vector<std::string> PlanCheckNotes(bool found, const ChannelPlan& plan, const TextTranslator& texts) {
    std::vector<std::string> out;
    if (!found) out.push_back(TranslateWithArgs(texts, kMsgPlanMatches, {plan.name}));
    const std::string power =
        texts.Translate("Quorim", plan.powerLimit.empty() ? kPlanPowerNotStated : plan.powerLimit);
    out.push_back(TranslateWithArgs(texts, kMsgPlanPower, {power}));
    out.push_back(texts.Translate("Quorim", kMsgPlanEquipment));
    return out;
}

}  // namespace quorim
