#include "editor/document_file.h"

#include <nlohmann/json.hpp>

#include "editor/codec.h"

namespace quorim {

FileStatus OpenDocument(const std::string& path, DocumentData& doc, EditorSurface& editor) {
    DocumentData loaded = doc;
    FileStatus status = LoadSztFile(path, loaded.m_image);
    if (!status.Ok()) {
        return status;
    }
    loaded.SetModelFlagFromImage();
    doc = loaded;
    InitialUpdateEditor(doc, editor);
    return status;
}

FileStatus SaveDocument(const std::string& path, const EditorSurface& editor, DocumentData& doc) {
    EncodeImage(editor, doc);
    return SaveSztFile(path, doc.m_image);
}

namespace {

// Settings in the order the form shows them: model and band first.
constexpr SettingsList kShowOrder[] = {SettingsList::Model, SettingsList::Band,     SettingsList::Monitor,
                                       SettingsList::Tot,   SettingsList::Alarm,    SettingsList::Squelch,
                                       SettingsList::Power, SettingsList::Bandwidth};

}  // namespace

std::string FormatEditorText(const EditorSurface& editor, const TextTranslator& texts) {
    std::string out;
    for (const SettingsList list : kShowOrder) {
        out += texts.Translate("Quorim", Info(list).caption) + ": " + ShownSelectedText(editor, list, texts) +
               "\n";
    }
    out += "\n";
    const auto& headers = GridHeaders();
    for (std::size_t col = 0; col < headers.size(); ++col) {
        out += texts.Translate("Quorim", headers[col]) + (col + 1 < headers.size() ? "\t" : "\n");
    }
    for (int row = 1; row < editor.Rows(); ++row) {
        for (int col = 0; col <= kColInhibit; ++col) {
            out += ShownCellText(editor, row, col, texts) + (col < kColInhibit ? "\t" : "\n");
        }
    }
    return out;
}

std::string FormatEditorJson(const EditorSurface& editor) {
    // ordered_json keeps the keys in the order they are added: the settings
    // as the form shows them, then the channels.
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const SettingsList list : kShowOrder) {
        const std::string key(Info(list).jsonKey);
        if (editor.CurSel(list) < 0) {
            out[key] = nullptr;
        } else {
            out[key] = editor.SelectedText(list);
        }
    }
    static const char* const kKeys[] = {"ch", "rx", "tx", "rx_tone", "tx_tone", "inhibit"};
    nlohmann::ordered_json channels = nlohmann::ordered_json::array();
    for (int row = 1; row < editor.Rows(); ++row) {
        nlohmann::ordered_json channel = nlohmann::ordered_json::object();
        for (int col = 0; col <= kColInhibit; ++col) {
            channel[kKeys[col]] = editor.TextMatrix(row, col);
        }
        channels.push_back(std::move(channel));
    }
    out["channels"] = std::move(channels);
    // Cell texts are UTF-8; a stray byte that is not becomes U+FFFD rather
    // than ending the command.
    return out.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace quorim
