#include "editor/channel_plan.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/utf8_path.h"
#include "editor/channel_csv.h"
#include "editor/editor_model.h"
#include "files/safe_file.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

namespace {

namespace fs = std::filesystem;

// A channel list is a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxPlanBytes = 1u << 20;

bool IsBuiltInName(std::string_view name) {
    for (const ChannelPlan& p : BuiltInPlans()) {
        if (p.name == name) return true;
    }
    return false;
}

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(Utf8Path(path), ec);
}

std::string FrequencyText(long long count) {
    return count == 0 ? std::string() : FixedDecimalText(count, 5);
}

long long CellFrequency(const EditorSurface& editor, int row, int col) {
    const auto v = WholeDecimalScaled(editor.TextMatrix(row, col), 5, Cut::Truncate);
    return v ? static_cast<long long>(*v) : 0;
}

}  // namespace

const std::vector<ChannelPlan>& BuiltInPlans() {
    static const std::vector<ChannelPlan> plans = {Pmr446Plan(), Cn409Plan(), FrsPlan()};
    return plans;
}

std::vector<PlanListing> ListPlans(const std::string& folder) {
    std::vector<PlanListing> out;
    for (const ChannelPlan& p : BuiltInPlans()) out.push_back({p.name, {}});
    std::vector<PlanListing> own;
    std::error_code ec;
    if (!folder.empty()) {
        for (fs::directory_iterator it(Utf8Path(folder), ec), end; !ec && it != end; it.increment(ec)) {
            const fs::path& p = it->path();
            if (p.extension() != ".csv" || !IsRegularFile(Utf8Text(p))) continue;
            const std::string stem = Utf8Text(p.stem());
            own.push_back({IsBuiltInName(stem) ? Utf8Text(p) : stem, Utf8Text(p)});
        }
    }
    std::sort(own.begin(), own.end(),
              [](const PlanListing& a, const PlanListing& b) { return a.name < b.name; });
    out.insert(out.end(), own.begin(), own.end());
    return out;
}

PlanLoad LoadPlan(const std::string& name, const std::string& folder) {
    PlanLoad load;
    for (const ChannelPlan& p : BuiltInPlans()) {
        if (p.name == name) {
            load.plan = p;
            return load;
        }
    }
    std::string path = name;
    if (!IsRegularFile(path) && !folder.empty() && name.find('/') == std::string::npos &&
        name.find('\\') == std::string::npos) {
        path = Utf8Text(Utf8Path(folder) / Utf8Path(name + ".csv"));
    }
    if (name.empty() || !IsRegularFile(path)) {
        load.problem = PlanLoadProblem::Unknown;
        return load;
    }
    std::string text;
    const FileStatus read = ReadRegularFile(path, kMaxPlanBytes + 1, text);
    if (!read.Ok() || text.size() > kMaxPlanBytes) {
        load.problem = PlanLoadProblem::CannotRead;
        load.path = path;
        load.detail = read.Ok() ? "too large for a channel list" : read.Message();
        return load;
    }
    return PlanFromCsv(text, path);
}

PlanLoad PlanFromCsv(std::string_view text, const std::string& path) {
    PlanLoad load;
    load.path = path;
    DocumentData doc;
    EditorModel editor;
    const CsvImport imported = ImportCsv(text, {}, doc, editor);
    if (!imported.Ok()) {
        load.problem = PlanLoadProblem::NotAList;
        load.detail = imported.refusals.front().Format();
        return load;
    }
    ChannelPlan& plan = load.plan;
    const fs::path p = Utf8Path(path);
    plan.name = Utf8Text(p.stem());
    plan.title = Utf8Text(p.filename());
    plan.path = path;
    plan.source = path;
    for (int ch = 1; ch < editor.Rows(); ++ch) {
        const long long rx = CellFrequency(editor, ch, kColRxFreq);
        if (rx == 0) continue;
        const long long tx = CellFrequency(editor, ch, kColTxFreq);
        plan.channels.push_back({rx, tx});
        if (tx != 0 && tx != rx) plan.simplex = false;
    }
    const int bandwidth = editor.CurSel(SettingsList::Bandwidth);
    plan.bandwidth = bandwidth == 1   ? PlanBandwidth::Narrow
                     : bandwidth == 0 ? PlanBandwidth::Wide
                                      : PlanBandwidth::Any;
    if (plan.channels.empty()) load.problem = PlanLoadProblem::NoChannels;
    return load;
}

std::string FormatPlanLoadProblem(const PlanLoad& load, const std::string& name,
                                  const TextTranslator& texts) {
    const std::string shown = EscapeControls(load.path.empty() ? name : load.path);
    switch (load.problem) {
        case PlanLoadProblem::None:
            return {};
        case PlanLoadProblem::Unknown:
            return TranslateWithArgs(texts, kMsgPlanUnknown, {EscapeControls(name)});
        case PlanLoadProblem::CannotRead:
            return TranslateWithArgs(texts, kMsgPlanCannotRead, {shown, load.detail});
        case PlanLoadProblem::NotAList:
            return TranslateWithArgs(texts, kMsgPlanNotAList, {shown, load.detail});
        case PlanLoadProblem::NoChannels:
            return TranslateWithArgs(texts, kMsgPlanNoChannels, {shown});
    }
    return {};
}

std::string_view BandwidthText(PlanBandwidth bandwidth) {
    switch (bandwidth) {
        case PlanBandwidth::Narrow:
            return kPlanNarrow;
        case PlanBandwidth::Wide:
            return kPlanWide;
        case PlanBandwidth::Any:
            return kPlanAnyBandwidth;
    }
    return {};
}

std::string FormatPlanRules(const ChannelPlan& plan, const TextTranslator& texts) {
    const std::string power =
        texts.Translate("Quorim", plan.powerLimit.empty() ? kPlanPowerNotStated : plan.powerLimit);
    return TranslateWithArgs(
        texts, kPlanShowLine,
        {plan.name, EscapeControls(texts.Translate("Quorim", plan.title)),
         std::to_string(plan.channels.size()),
         texts.Translate("Quorim", plan.simplex ? kPlanSimplex : kPlanDuplex),
         texts.Translate("Quorim", BandwidthText(plan.bandwidth)), power, EscapeControls(plan.source)});
}

std::string FormatPlanText(const ChannelPlan& plan, const TextTranslator& texts) {
    std::string out = FormatPlanRules(plan, texts);
    for (std::size_t i = 0; i < plan.channels.size(); ++i) {
        out += std::to_string(i + 1) + "\t" + FrequencyText(plan.channels[i].rx) + "\t" +
               FrequencyText(plan.channels[i].tx) + "\n";
    }
    return out;
}

std::string FormatPlanJson(const ChannelPlan& plan, const TextTranslator& texts) {
    static constexpr const char* kBandwidthKeys[] = {"narrow", "wide", "any"};
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    out["name"] = plan.name;
    out["title"] = texts.Translate("Quorim", plan.title);
    out["path"] = plan.path;
    out["simplex"] = plan.simplex;
    out["bandwidth"] = kBandwidthKeys[static_cast<int>(plan.bandwidth)];
    out["power_limit"] = plan.powerLimit.empty()
                             ? nullptr
                             : nlohmann::ordered_json(texts.Translate("Quorim", plan.powerLimit));
    out["source"] = plan.source;
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < plan.channels.size(); ++i) {
        channels.push_back({{"ch", i + 1},
                            {"rx", FrequencyText(plan.channels[i].rx)},
                            {"tx", FrequencyText(plan.channels[i].tx)}});
    }
    out["channels"] = std::move(channels);
    return out.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace quorim
