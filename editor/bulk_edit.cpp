#include "editor/bulk_edit.h"

#include <algorithm>
#include <charconv>

#include "editor/cell_rules.h"
#include "text/ascii_text.h"
#include "text/number_text.h"

namespace quorim {

namespace {

bool IsValueColumn(int col) {
    return col >= kColRxFreq && col <= kColInhibit;
}

void SortUnique(std::vector<int>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

// Types one value into a cell of the working grid; a refusal is listed.
void TypeValue(EditorSurface& work, int channel, int col, const std::string& text, EditResult& result) {
    std::string_view message = TypeCellText(work, channel, col, text);
    if (message.empty() && col == kColInhibit && !ReadInhibitText(text)) message = kMsgFrequencyRange;
    // The grid keeps no signalling or inhibit on a channel without a frequency.
    if (message.empty() && !TrimAscii(text, " \t").empty() && work.TextMatrix(channel, col).empty()) {
        message = kMsgChannelEmpty;
    }
    if (!message.empty()) result.refusals.push_back({channel, col, text, message});
}

bool HoldsFrequency(const EditorSurface& editor, int channel) {
    return !editor.TextMatrix(channel, kColRxFreq).empty() || !editor.TextMatrix(channel, kColTxFreq).empty();
}

EditResult Refused(std::string_view message = {}) {
    EditResult result;
    result.ok = false;
    result.message = message;
    return result;
}

// Runs `type` over the channels it changes on a copy of the grid and keeps
// the copy only without refusals. Without a receive frequency to give, the
// channels that hold no frequency are not among them.
template <typename Type>
EditResult OnCopy(EditorSurface& editor, const std::vector<int>& channels, bool givesRx, Type type) {
    for (const int ch : channels) {
        if (ch < 1 || ch > LastChannel(editor)) return Refused();
    }
    EditResult result;
    std::vector<int> targets;
    for (const int ch : channels) {
        if (givesRx || HoldsFrequency(editor, ch)) targets.push_back(ch);
    }
    result.skipped = static_cast<int>(channels.size() - targets.size());
    if (targets.empty() && !channels.empty()) return Refused(kMsgNoChannelInUse);
    EditorModel work;
    CopyEditor(editor, work);
    type(work, targets, result);
    if (!result.refusals.empty()) {
        result.ok = false;
        result.message = kMsgBulkRefused;
        return result;
    }
    CopyEditor(work, editor);
    result.ok = true;
    result.channels = channels;
    return result;
}

bool GivesRx(const std::vector<ColumnValue>& values) {
    return std::any_of(values.begin(), values.end(),
                       [](const ColumnValue& v) { return v.col == kColRxFreq; });
}

// One value typed into a channel. Into the receive column the transmit
// frequency follows where it equalled the receive frequency; a split is kept
// and counted.
void TypeFollowingRx(EditorSurface& work, int channel, int col, const std::string& text, EditResult& result) {
    const std::string rx = work.TextMatrix(channel, kColRxFreq);
    const std::string tx = work.TextMatrix(channel, kColTxFreq);
    const std::size_t refused = result.refusals.size();
    TypeValue(work, channel, col, text, result);
    if (col != kColRxFreq || tx.empty() || result.refusals.size() != refused) return;
    if (tx == rx) {
        TypeValue(work, channel, kColTxFreq, text, result);
    } else {
        ++result.splitsKept;
    }
}

}  // namespace

EditResult SetChannelValues(EditorSurface& editor, const std::vector<int>& channels,
                            std::vector<ColumnValue> values) {
    for (const auto& v : values) {
        if (!IsValueColumn(v.col)) return Refused();
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const ColumnValue& a, const ColumnValue& b) { return a.col < b.col; });
    return OnCopy(editor, channels, GivesRx(values),
                  [&](EditorSurface& work, const std::vector<int>& targets, EditResult& result) {
                      // A transmit frequency given too is typed as given.
                      const bool givesTx =
                          std::any_of(values.begin(), values.end(),
                                      [](const ColumnValue& v) { return v.col == kColTxFreq; });
                      for (const int ch : targets) {
                          for (const auto& v : values) {
                              if (givesTx) {
                                  TypeValue(work, ch, v.col, v.text, result);
                              } else {
                                  TypeFollowingRx(work, ch, v.col, v.text, result);
                              }
                          }
                      }
                  });
}

EditResult FillDown(EditorSurface& editor, std::vector<int> channels, const std::vector<int>& cols) {
    SortUnique(channels);
    std::vector<ColumnValue> values;
    if (channels.empty()) return Refused();
    for (const int col : cols) {
        if (!IsValueColumn(col)) return Refused();
        values.push_back({col, editor.TextMatrix(channels.front(), col)});
    }
    // Typed in Enter's order, so a copied receive frequency comes before its tone.
    std::stable_sort(values.begin(), values.end(),
                     [](const ColumnValue& a, const ColumnValue& b) { return a.col < b.col; });
    const int first = channels.front();
    channels.erase(channels.begin());
    EditResult result = OnCopy(editor, channels, GivesRx(values),
                               [&](EditorSurface& work, const std::vector<int>& targets, EditResult& r) {
                                   for (const int ch : targets) {
                                       for (const auto& v : values) {
                                           // An empty inhibit stands for an empty channel: clearing its
                                           // frequencies already emptied it.
                                           if (v.col == kColInhibit && v.text.empty()) continue;
                                           TypeValue(work, ch, v.col, v.text, r);
                                       }
                                   }
                               });
    if (result.ok) result.channels.insert(result.channels.begin(), first);
    return result;
}

EditResult FillSeries(EditorSurface& editor, std::vector<int> channels, int col, std::string_view start,
                      std::string_view stepKhz) {
    SortUnique(channels);
    if (channels.empty() || (col != kColRxFreq && col != kColTxFreq)) return Refused();
    const FrequencyReading first = ReadFrequencyText(start);
    // In 0.1 Hz to tell "6.255" from "6.25"; the step must be whole 10 Hz units.
    const std::optional<std::int64_t> fine = WholeDecimalScaled(stepKhz, 4, Cut::Truncate);
    bool stepOk = false;
    if (fine && *fine % 100 == 0) {
        const std::int64_t units = *fine / 100;
        stepOk = units % 500 == 0 || units % 625 == 0;
    }
    return OnCopy(
        editor, channels, col == kColRxFreq,
        [&](EditorSurface& work, const std::vector<int>& targets, EditResult& result) {
            if (!first.message.empty() || first.text.empty()) {
                result.refusals.push_back({targets.front(), col, std::string(start),
                                           first.message.empty() ? kMsgFrequencyRange : first.message});
                return;
            }
            if (!stepOk) {
                result.refusals.push_back({targets.front(), col, std::string(stepKhz), kMsgSeriesStep});
                return;
            }
            const std::int64_t step = *fine / 100;
            for (std::size_t i = 0; i < targets.size(); ++i) {
                const std::int64_t count = first.count + step * static_cast<std::int64_t>(i);
                const std::string text =
                    count < 0 ? "-" + FixedDecimalText(-count, 5) : FixedDecimalText(count, 5);
                TypeFollowingRx(work, targets[i], col, text, result);
            }
        });
}

std::vector<std::string> BulkNotes(const EditResult& result, const TextTranslator& texts) {
    std::vector<std::string> notes;
    if (result.skipped > 0) {
        notes.push_back(TranslateWithArgs(texts, kMsgSkippedEmpty, {std::to_string(result.skipped)}));
    }
    if (result.splitsKept > 0) {
        notes.push_back(TranslateWithArgs(texts, kMsgSplitsKept, {std::to_string(result.splitsKept)}));
    }
    return notes;
}

std::vector<int> ColumnsToSet(std::vector<int> selected, int currentCol) {
    SortUnique(selected);
    const auto kind = [](int col) { return col == kColInhibit ? 2 : col >= kColRxTone ? 1 : 0; };
    const bool inRange =
        !selected.empty() && selected.front() >= kColRxFreq && selected.back() <= kColInhibit;
    if (inRange && kind(selected.front()) == kind(selected.back())) return selected;
    if (IsValueColumn(currentCol)) return {currentCol};
    return {};
}

std::optional<std::vector<int>> ParseChannelList(std::string_view text, int lastChannel, std::string& error) {
    std::vector<int> out;
    text = TrimAscii(text, " \t");
    if (text == "all") {
        for (int ch = 1; ch <= lastChannel; ++ch) out.push_back(ch);
        return out;
    }
    const auto number = [&](std::string_view part, int& value) {
        part = TrimAscii(part, " \t");
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && ec == std::errc{} && end == part.data() + part.size() && part[0] != '-' &&
               part[0] != '+';
    };
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        int from = 0, to = 0;
        const bool read = dash == std::string_view::npos
                              ? number(item, from) && (to = from, true)
                              : number(item.substr(0, dash), from) && number(item.substr(dash + 1), to);
        if (!read || from > to) {
            error = "\"" + std::string(item) + "\" is not a channel or a range of channels (such as 1-16)";
            return std::nullopt;
        }
        if (from < 1 || to > lastChannel) {
            error = "\"" + std::string(item) + "\": the channels are 1 to " + std::to_string(lastChannel);
            return std::nullopt;
        }
        for (int ch = from; ch <= to; ++ch) out.push_back(ch);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    SortUnique(out);
    return out;
}

int ColumnOfKey(std::string_view key) {
    if (key == "rx") return kColRxFreq;
    if (key == "tx") return kColTxFreq;
    if (key == "rx_tone") return kColRxTone;
    if (key == "tx_tone") return kColTxTone;
    if (key == "inhibit") return kColInhibit;
    return -1;
}

}  // namespace quorim
