#include "editor/document_diff.h"

#include <algorithm>
#include <array>

#include "editor/codec.h"
#include "editor/editor_model.h"

namespace quorim {

namespace {

// For each byte, the bits that a field of the editor shows.
std::array<std::uint8_t, kImageSize> ShownBits(bool any199) {
    std::array<std::uint8_t, kImageSize> mask{};
    mask[kBandCodeOffset] = 0xFF;
    mask[kModelCodeOffset] = 0xFF;
    const int channels = any199 ? 199 : 16;
    for (int ch = 1; ch <= channels; ++ch) {
        const std::size_t r = RowOffset(static_cast<std::size_t>(ch));
        for (std::size_t i = 0; i < 12; ++i) mask[r + i] = 0xFF;
        mask[r + kRecFlags] = kFlagTxAllowed | kFlagNarrow;
    }
    if (!any199) {
        mask[kAlarmOffset] |= 0x01;
        mask[kSquelchOffset] = 0xFF;
        mask[kMonitorOffset] = 0xFF;
        mask[kTotOffset] = 0xFF;
        mask[kPowerOffset] = 0xFF;
    }
    return mask;
}

}  // namespace

DocumentDiff DiffDocuments(const DocumentData& a, const DocumentData& b) {
    DocumentDiff diff;
    EditorModel ea, eb;
    InitialUpdateEditor(a, ea);
    InitialUpdateEditor(b, eb);
    for (const auto& info : AllSettingsLists()) {
        const std::string ta = ea.SelectedText(info.list);
        const std::string tb = eb.SelectedText(info.list);
        if (ta != tb) diff.settings.push_back({info.list, ta, tb});
    }
    const int rows = std::max(ea.Rows(), eb.Rows());
    for (int ch = 1; ch < rows; ++ch) {
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            const std::string ta = ea.TextMatrix(ch, col);
            const std::string tb = eb.TextMatrix(ch, col);
            if (ta != tb) diff.cells.push_back({ch, col, ta, tb});
        }
    }
    const auto mask = ShownBits(!a.m_bSixteenChannel || !b.m_bSixteenChannel);
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if ((a.m_image[i] ^ b.m_image[i]) & ~mask[i] & 0xFF) ++diff.otherBytes;
    }
    return diff;
}

std::string FormatDiff(const DocumentDiff& diff, const TextTranslator& texts) {
    if (diff.Empty()) {
        return "no differences\n";
    }
    // An empty text shows as "(empty)"; `context` empty: the user's text, as it is.
    auto shown = [&](const std::string& text, std::string_view context) {
        return text.empty()      ? std::string("(empty)")
               : context.empty() ? text
                                 : texts.Translate(context, text);
    };
    std::string out;
    for (const auto& s : diff.settings) {
        out += texts.Translate("Quorim", Info(s.list).caption) + ": " + shown(s.before, "SettingsList") +
               " -> " + shown(s.after, "SettingsList") + "\n";
    }
    const auto& headers = GridHeaders();
    for (const auto& c : diff.cells) {
        // Only the inhibit column's "是"/"否" are the program's words.
        const std::string_view context = c.column == kColInhibit ? "Quorim" : "";
        out += texts.Translate("Quorim", headers[0]) + " " + std::to_string(c.channel) + " " +
               texts.Translate("Quorim", headers[static_cast<std::size_t>(c.column)]) + ": " +
               shown(c.before, context) + " -> " + shown(c.after, context) + "\n";
    }
    if (diff.otherBytes > 0) {
        out += "other bytes that differ: " + std::to_string(diff.otherBytes) + "\n";
    }
    return out;
}

}  // namespace quorim
