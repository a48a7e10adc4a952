#include <iostream>

#include "cli/commands.h"
#include "editor/bulk_edit.h"
#include "editor/channel_check.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/plan_apply.h"
#include "text/ascii_text.h"

namespace quorim::cli {

namespace {

std::string_view KeyOfColumn(int col) {
    static constexpr std::string_view keys[] = {"", "rx", "tx", "rx_tone", "tx_tone", "inhibit"};
    return col >= kColRxFreq && col <= kColInhibit ? keys[col] : "";
}

}  // namespace

// Values typed into many channels at once, through the grid's rules. Any
// refusal: every refused cell on stderr, nothing written.
int RunEdit(const Args& args) {
    std::string file, out, list;
    std::vector<ColumnValue> values;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::size_t eq = a.find('=');
        if (a == "--out" && i + 1 < args.size() && out.empty()) {
            out = args[++i];
        } else if (a == "--channels" && i + 1 < args.size() && list.empty()) {
            list = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return Usage("edit");
        } else if (eq != std::string::npos && !file.empty()) {
            const int col = ColumnOfKey(std::string_view(a).substr(0, eq));
            if (col < 0) {
                std::cerr << "quorim: unknown key \"" << a.substr(0, eq)
                          << "\" (keys: rx, tx, rx_tone, tx_tone, inhibit)\n";
                return Usage("edit");
            }
            for (const auto& v : values) {
                if (v.col == col) return Usage("edit");
            }
            values.push_back({col, a.substr(eq + 1)});
        } else if (file.empty()) {
            file = a;
        } else {
            return Usage("edit");
        }
    }
    if (file.empty() || list.empty() || values.empty()) return Usage("edit");
    if (out.empty()) out = file;

    DocumentData doc;
    EditorModel editor;
    const FileStatus status = OpenDocument(file, doc, editor);
    if (!status.Ok()) {
        std::cerr << "quorim: " << status.Message() << "\n";
        return kExitFailed;
    }
    // Only a memory image is edited: anything else is left as it is.
    if (status.doubt != ImageDoubt::None) {
        std::cerr << "quorim: " << status.DoubtMessage() << "; nothing was written\n";
        return kExitFailed;
    }
    std::string error;
    const auto channels = ParseChannelList(list, LastChannel(editor), error);
    if (!channels) {
        std::cerr << "quorim: --channels " << error << "\n";
        return kExitUsage;
    }
    const EditResult result = SetChannelValues(editor, *channels, values);
    for (const auto& r : result.refusals) {
        std::cerr << "quorim: " << EscapeControls(file) << ": channel " << r.channel << ", "
                  << KeyOfColumn(r.col) << " (" << Quoted(r.text)
                  << "): " << CliTexts().Translate("Quorim", r.message) << "\n";
    }
    if (!result.ok && result.refusals.empty()) {
        std::cerr << "quorim: " << EscapeControls(file) << ": "
                  << CliTexts().Translate("Quorim", result.message) << "\n";
        return kExitFailed;
    }
    if (!result.ok) {
        std::cerr << "quorim: nothing written: " << result.refusals.size()
                  << (result.refusals.size() == 1 ? " refusal" : " refusals") << "\n";
        return kExitFailed;
    }
    for (const std::string& note : BulkNotes(result, CliTexts())) std::cerr << "quorim: " << note << "\n";
    const FileStatus saved = SaveDocument(out, editor, doc);
    if (!saved.Ok()) {
        std::cerr << "quorim: " << saved.Message() << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

// Prints one line per finding; exit 1 when there is any.
int PrintFindings(const EditorSurface& editor, const ChannelPlan* plan) {
    const auto findings = CheckChannels(editor);
    std::string text;
    for (const auto& f : findings) text += FormatFinding(f, editor, CliTexts()) + "\n";
    bool found = !findings.empty();
    if (plan != nullptr) {
        const auto planFindings = CheckAgainstPlan(editor, *plan);
        for (const auto& f : planFindings) text += FormatPlanFinding(f, editor, *plan, CliTexts()) + "\n";
        found = found || !planFindings.empty();
        for (const auto& line : PlanCheckNotes(found, *plan, CliTexts())) text += line + "\n";
    }
    if (!WriteOutput(text)) return kExitFailed;
    return found ? kExitFailed : kExitOk;
}

int RunCheck(const Args& args) {
    std::string file, planName;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--plan" && i + 1 < args.size() && planName.empty()) {
            planName = args[++i];
        } else if (args[i].empty() || args[i][0] == '-' || !file.empty()) {
            return Usage("check");
        } else {
            file = args[i];
        }
    }
    if (file.empty()) return Usage("check");
    ChannelPlan plan;
    if (!planName.empty() && !LoadNamedPlan(planName, plan)) return kExitFailed;
    DocumentData doc;
    EditorModel editor;
    FileStatus status;
    if (!OpenDataFile(file, doc, editor, status)) return kExitFailed;
    return PrintFindings(editor, planName.empty() ? nullptr : &plan);
}

}  // namespace quorim::cli
