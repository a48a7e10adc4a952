#include "editor/channel_check.h"

#include <array>
#include <map>
#include <optional>

#include "editor/cell_rules.h"
#include "text/number_text.h"

namespace quorim {

namespace {

constexpr long long kUnitsPerMhz = 100000;  // 10 Hz units

struct Band {
    long long low = 0;
    long long high = 0;
};

std::optional<Band> ChosenBand(const EditorSurface& editor) {
    Band band;
    if (!BandItemRange(editor.SelectedText(SettingsList::Band), band.low, band.high)) return std::nullopt;
    return band;
}

std::optional<long long> Frequency(const EditorSurface& editor, int row, int col) {
    const auto v = WholeDecimalScaled(editor.TextMatrix(row, col), 5, Cut::Truncate);
    if (!v) return std::nullopt;
    return static_cast<long long>(*v);
}

}  // namespace

bool BandItemRange(std::string_view item, long long& low, long long& high) {
    std::array<long long, 2> ends{};
    std::size_t found = 0;
    for (std::size_t i = 0; i < item.size() && found < 2;) {
        if (item[i] < '0' || item[i] > '9') {
            ++i;
            continue;
        }
        long long v = 0;
        while (i < item.size() && item[i] >= '0' && item[i] <= '9') v = v * 10 + (item[i++] - '0');
        ends[found++] = v;
    }
    if (found < 2) return false;
    low = ends[0] * kUnitsPerMhz;
    high = ends[1] * kUnitsPerMhz;
    return true;
}

std::vector<ChannelFinding> CheckChannels(const EditorSurface& editor) {
    std::vector<ChannelFinding> out;
    const std::optional<Band> band = ChosenBand(editor);
    std::map<std::array<std::string, 5>, int> seen;
    for (int ch = 1; ch < editor.Rows(); ++ch) {
        const bool hasRx = !editor.TextMatrix(ch, kColRxFreq).empty();
        const bool hasTx = !editor.TextMatrix(ch, kColTxFreq).empty();
        if (hasTx && !hasRx) out.push_back({FindingKind::TxWithoutRx, ch, kColTxFreq, 0});
        for (const int col : {kColRxFreq, kColTxFreq}) {
            const std::optional<long long> f = Frequency(editor, ch, col);
            if (!f) continue;
            if (band && (*f < band->low || *f > band->high))
                out.push_back({FindingKind::OutsideBand, ch, col, 0});
            if (*f % 500 != 0 && *f % 625 != 0) out.push_back({FindingKind::OffStep, ch, col, 0});
        }
        if (!hasRx && !hasTx) continue;
        std::array<std::string, 5> cells;
        for (int col = kColRxFreq; col <= kColInhibit; ++col)
            cells[col - kColRxFreq] = editor.TextMatrix(ch, col);
        const auto [it, fresh] = seen.emplace(cells, ch);
        if (!fresh) out.push_back({FindingKind::SameAsChannel, ch, kColRxFreq, it->second});
    }
    return out;
}

std::string FormatFinding(const ChannelFinding& finding, const EditorSurface& editor,
                          const TextTranslator& texts) {
    const std::string channel = std::to_string(finding.channel);
    const auto& headers = GridHeaders();
    const std::string column = finding.col >= 0 && finding.col < static_cast<int>(headers.size())
                                   ? texts.Translate("Quorim", headers[static_cast<std::size_t>(finding.col)])
                                   : std::string();
    const std::string value = editor.TextMatrix(finding.channel, finding.col);
    switch (finding.kind) {
        case FindingKind::OutsideBand:
            return TranslateWithArgs(texts, kMsgOutsideBand,
                                     {channel, column, value, editor.SelectedText(SettingsList::Band)});
        case FindingKind::TxWithoutRx:
            return TranslateWithArgs(texts, kMsgTxWithoutRx, {channel});
        case FindingKind::OffStep:
            return TranslateWithArgs(texts, kMsgOffStep, {channel, column, value});
        case FindingKind::SameAsChannel:
            return TranslateWithArgs(texts, kMsgSameAsChannel, {channel, std::to_string(finding.other)});
    }
    return {};
}

std::string CheckSummary(const EditorSurface& editor, const TextTranslator& texts) {
    int channels = 0;
    int last = 0;
    for (const ChannelFinding& f : CheckChannels(editor)) {
        if ((f.kind == FindingKind::OutsideBand || f.kind == FindingKind::OffStep) && f.channel != last) {
            ++channels;
            last = f.channel;
        }
    }
    return channels == 0 ? std::string()
                         : TranslateWithArgs(texts, kMsgCheckSummary, {std::to_string(channels)});
}

}  // namespace quorim
