#include <iostream>

#include "cli/cli_link_host.h"
#include "cli/commands.h"
#include "editor/bulk_edit.h"
#include "editor/channel_plan.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/plan_apply.h"
#include "files/safe_file.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

int PlanList(const Args& args) {
    if (args.size() != 1) return Usage("plan");
    std::string text;
    for (const PlanListing& p : ListPlans(UserPlanFolder())) {
        if (p.path.empty()) {
            const PlanLoad load = LoadPlan(p.name, {});
            text += p.name + "\t" + std::to_string(load.plan.channels.size()) + "\t" +
                    CliTexts().Translate("Quorim", load.plan.title) + "\n";
        } else {
            text += EscapeControls(p.name) + "\t\t" + EscapeControls(p.path) + "\n";
        }
    }
    return WriteOutput(text) ? kExitOk : kExitFailed;
}

int PlanShow(const Args& args) {
    bool json = false;
    std::string name;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (name.empty() && !args[i].empty() && args[i][0] != '-') {
            name = args[i];
        } else {
            return Usage("plan");
        }
    }
    if (name.empty()) return Usage("plan");
    ChannelPlan plan;
    if (!LoadNamedPlan(name, plan)) return kExitFailed;
    const std::string text = json ? FormatPlanJson(plan, ChineseTexts()) : FormatPlanText(plan, CliTexts());
    return WriteOutput(text) ? kExitOk : kExitFailed;
}

struct ApplyArgs {
    std::string file, name, out, list, from, tone;
};

bool ParseApply(const Args& args, ApplyArgs& a) {
    bool hasTone = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& w = args[i];
        const bool value = i + 1 < args.size();
        if (w == "--out" && value && a.out.empty()) {
            a.out = args[++i];
        } else if (w == "--channels" && value && a.list.empty()) {
            a.list = args[++i];
        } else if (w == "--from" && value && a.from.empty()) {
            a.from = args[++i];
        } else if (w == "--tone" && value && !hasTone) {
            a.tone = args[++i];
            hasTone = true;
        } else if (!w.empty() && w[0] == '-') {
            return false;
        } else if (a.file.empty()) {
            a.file = w;
        } else if (a.name.empty()) {
            a.name = w;
        } else {
            return false;
        }
    }
    return !a.file.empty() && !a.name.empty() && !a.out.empty() && (!hasTone || !a.tone.empty());
}

int PlanApply(const Args& args) {
    ApplyArgs a;
    if (!ParseApply(args, a)) return Usage("plan");
    PlanApplyOptions options;
    if (!a.from.empty()) {
        if (!ParseCount(a.from, options.from) || options.from < 1) {
            std::cerr << "quorim: --from " << Quoted(a.from) << " is not a channel of a plan\n";
            return kExitUsage;
        }
    }
    options.tone = a.tone;
    if (SameFile(a.out, a.file)) return OutputIsInput(a.out, a.file);
    ChannelPlan plan;
    if (!LoadNamedPlan(a.name, plan)) return kExitFailed;
    DocumentData doc;
    EditorModel editor;
    FileStatus status;
    if (!OpenDataFile(a.file, doc, editor, status)) return kExitFailed;
    if (!a.list.empty()) {
        std::string error;
        const auto channels = ParseChannelList(a.list, LastChannel(editor), error);
        if (!channels) {
            std::cerr << "quorim: --channels " << error << "\n";
            return kExitUsage;
        }
        options.channels = *channels;
    }
    const PlanApplyResult result = ApplyPlan(editor, plan, options);
    const std::vector<std::string> lines = FormatApplyResult(result, plan, options, CliTexts());
    if (!result.edit.ok) {
        for (const auto& line : lines) std::cerr << "quorim: " << line << "\n";
        for (const auto& r : result.edit.refusals)
            std::cerr << "quorim: " << FormatRefusal(r, CliTexts()) << "\n";
        std::cerr << "quorim: nothing written\n";
        return kExitFailed;
    }
    const FileStatus saved = SaveDocument(a.out, editor, doc);
    if (!saved.Ok()) {
        std::cerr << "quorim: " << saved.Message() << "\n";
        return kExitFailed;
    }
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return WriteOutput(text) ? kExitOk : kExitFailed;
}

}  // namespace

bool LoadNamedPlan(const std::string& name, ChannelPlan& plan) {
    const PlanLoad load = LoadPlan(name, UserPlanFolder());
    if (!load.Ok()) {
        std::cerr << "quorim: " << FormatPlanLoadProblem(load, name, CliTexts()) << "\n";
        return false;
    }
    plan = load.plan;
    return true;
}

// The channel plans: list them, show one, put one into a data file.
int RunPlan(const Args& args) {
    if (args.empty()) return Usage("plan");
    if (args[0] == "list") return PlanList(args);
    if (args[0] == "show") return PlanShow(args);
    if (args[0] == "apply") return PlanApply(args);
    return Usage("plan");
}

}  // namespace quorim::cli
