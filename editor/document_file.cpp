#include "editor/document_file.h"

#include <cstdio>

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

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", u);
                    out += esc;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

namespace {

// Settings in the order the form shows them: model and band first.
constexpr SettingsList kShowOrder[] = {SettingsList::Model, SettingsList::Band,     SettingsList::Monitor,
                                       SettingsList::Tot,   SettingsList::Alarm,    SettingsList::Squelch,
                                       SettingsList::Power, SettingsList::Bandwidth};

}  // namespace

std::string FormatEditorText(const EditorSurface& editor) {
    std::string out;
    for (const SettingsList list : kShowOrder) {
        out += std::string(Info(list).caption) + ": " + editor.SelectedText(list) + "\n";
    }
    out += "\n";
    const auto& headers = GridHeaders();
    for (std::size_t col = 0; col < headers.size(); ++col) {
        out += std::string(headers[col]) + (col + 1 < headers.size() ? "\t" : "\n");
    }
    for (int row = 1; row < editor.Rows(); ++row) {
        for (int col = 0; col <= kColInhibit; ++col) {
            out += editor.TextMatrix(row, col) + (col < kColInhibit ? "\t" : "\n");
        }
    }
    return out;
}

std::string FormatEditorJson(const EditorSurface& editor) {
    std::string out = "{";
    for (const SettingsList list : kShowOrder) {
        const auto& info = Info(list);
        out += JsonString(std::string(info.jsonKey)) + ":";
        out += editor.CurSel(list) < 0 ? "null" : JsonString(editor.SelectedText(list));
        out += ",";
    }
    out += "\"channels\":[";
    static const char* const kKeys[] = {"ch", "rx", "tx", "rx_tone", "tx_tone", "inhibit"};
    for (int row = 1; row < editor.Rows(); ++row) {
        out += row > 1 ? ",{" : "{";
        for (int col = 0; col <= kColInhibit; ++col) {
            out += std::string(col ? "," : "") + JsonString(kKeys[col]) + ":" +
                   JsonString(editor.TextMatrix(row, col));
        }
        out += "}";
    }
    return out + "]}\n";
}

}  // namespace quorim
