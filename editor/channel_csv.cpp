#include "editor/channel_csv.h"

#include <map>
#include <optional>

#include "editor/cell_rules.h"
#include "editor/channel_edit.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "editor/number_text.h"

namespace quorim {

namespace csvdetail {

int ChannelCount(const EditorSurface& editor) {
    return editor.Rows() - 1;
}

std::string ModelName(int model) {
    return std::string(Info(SettingsList::Model).items[model == 199 ? 1 : 0]);
}

void StartDocument(const DocumentData* into, int model, DocumentData& doc, EditorModel& editor) {
    if (into) {
        doc = *into;
    } else {
        doc = DocumentData{};
        doc.OnNewDocument();
    }
    editor = EditorModel{};
    InitialUpdateEditor(doc, editor);
    const bool want16 = model == 0 ? doc.m_bSixteenChannel : model == 16;
    if (want16 != doc.m_bSixteenChannel) {
        editor.SetCurSel(SettingsList::Model, want16 ? 0 : 1);
        ApplyModelChoice(editor, doc);
    }
}

std::string MhzText(long long count, int decimals) {
    // count is in 10 Hz units: five decimals of MHz.
    long long scaled = count;
    for (int i = 5; i < decimals; ++i) scaled *= 10;
    long long unit = 1;
    for (int i = 0; i < decimals; ++i) unit *= 10;
    std::string frac = std::to_string(scaled % unit);
    frac.insert(0, static_cast<std::size_t>(decimals) - frac.size(), '0');
    return std::to_string(scaled / unit) + "." + frac;
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsBlankRecord(const CsvRecord& record) {
    for (const auto& f : record) {
        if (!TrimBlanks(f).empty()) return false;
    }
    return true;
}

long long PlainNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 9) return -1;
    long long v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

}  // namespace csvdetail

using namespace csvdetail;

namespace {

// Settings in the order the form shows them: model and band first. The
// 199-channel layout stores only the first two and the bandwidth.
constexpr SettingsList kSettingsOrder[] = {SettingsList::Model, SettingsList::Band,     SettingsList::Monitor,
                                           SettingsList::Tot,   SettingsList::Alarm,    SettingsList::Squelch,
                                           SettingsList::Power, SettingsList::Bandwidth};

bool StoredByModel(SettingsList list, bool sixteen) {
    return sixteen || list == SettingsList::Model || list == SettingsList::Band ||
           list == SettingsList::Bandwidth;
}

bool IsModel16(const EditorSurface& editor) {
    return editor.CurSel(SettingsList::Model) != 1;
}

std::string Cell(const CsvRecord& record, int index) {
    if (index < 0 || index >= static_cast<int>(record.size())) return {};
    return std::string(TrimBlanks(record[static_cast<std::size_t>(index)]));
}

struct ChannelRow {
    int row = 0;  // record, 1-based
    int channel = 0;
    std::array<std::string, kGridColumns> cells;
};

struct SettingRow {
    int row = 0;
    SettingsList list;
    std::string value;
};

CsvImport ImportQuorim(const std::vector<CsvRecord>& records, const CsvImportOptions& options,
                       DocumentData& doc, EditorModel& editor) {
    CsvImport result;
    auto refuse = [&](int row, std::string column, std::string text, std::string message,
                      bool setting = false) {
        result.refusals.push_back({row, std::move(column), setting, std::move(text), std::move(message)});
    };
    auto warn = [&](int row, std::string column, std::string text, std::string message,
                    bool setting = false) {
        result.warnings.push_back({row, std::move(column), setting, std::move(text), std::move(message)});
    };

    // The header: the grid's captions, found by name.
    std::size_t first = 0;
    while (first < records.size() && IsBlankRecord(records[first])) ++first;
    if (first == records.size()) {
        refuse(0, "", "", "the file holds no header row and no channels");
        return result;
    }
    const CsvRecord& header = records[first];
    const int headerRow = static_cast<int>(first) + 1;
    const auto& captions = GridHeaders();
    std::array<int, 6> columnOf{};
    columnOf.fill(-1);
    for (int k = 0; k < static_cast<int>(header.size()); ++k) {
        const std::string name = Cell(header, k);
        bool known = false;
        for (std::size_t c = 0; c < captions.size(); ++c) {
            if (name == captions[c]) {
                if (columnOf[c] >= 0) {
                    refuse(headerRow, name, "", "this column appears twice");
                }
                columnOf[c] = k;
                known = true;
            }
        }
        if (!known && !name.empty()) {
            if (SameIgnoringAsciiCase(name, "Location")) {
                refuse(headerRow, "", "",
                       "this file has the exchange layout: import it with --format exchange");
                return result;
            }
            warn(headerRow, name, "", "not a column of this layout: ignored");
        }
    }
    for (std::size_t c = 0; c < captions.size(); ++c) {
        if (columnOf[c] < 0) {
            refuse(headerRow, std::string(captions[c]), "", "this column is missing from the header row");
        }
    }
    if (!result.Ok()) return result;
    const std::string channelCaption(captions[kColChannel]);

    // Sort the rows into channels and settings.
    std::vector<ChannelRow> channels;
    std::vector<SettingRow> settings;
    std::map<int, int> channelSeen;  // channel -> row
    std::map<SettingsList, int> settingSeen;
    for (std::size_t r = first + 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        const int row = static_cast<int>(r) + 1;
        if (IsBlankRecord(rec)) continue;
        const std::string key = Cell(rec, columnOf[kColChannel]);
        std::optional<SettingsList> list;
        for (const auto& info : AllSettingsLists()) {
            if (Cell(rec, 0) == info.caption) list = info.list;
        }
        if (list) {
            const std::string caption(Info(*list).caption);
            if (const auto seen = settingSeen.find(*list); seen != settingSeen.end()) {
                refuse(row, caption, "", "this setting is also on row " + std::to_string(seen->second), true);
                continue;
            }
            settingSeen[*list] = row;
            settings.push_back({row, *list, Cell(rec, 1)});
            continue;
        }
        const long long ch = PlainNumber(key);
        if (ch < 1) {
            refuse(row, channelCaption, key, "not a channel number nor the caption of a setting");
            continue;
        }
        if (const auto seen = channelSeen.find(static_cast<int>(ch)); seen != channelSeen.end()) {
            refuse(row, channelCaption, key, "this channel is also on row " + std::to_string(seen->second));
            continue;
        }
        channelSeen[static_cast<int>(ch)] = row;
        ChannelRow c;
        c.row = row;
        c.channel = static_cast<int>(ch);
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            c.cells[static_cast<std::size_t>(col)] = Cell(rec, columnOf[static_cast<std::size_t>(col)]);
        }
        channels.push_back(std::move(c));
    }

    // The model: as the text names it, else as asked, else the starting document's.
    int model =
        options.into ? (options.into->m_bSixteenChannel ? 16 : 199) : (options.model ? options.model : 16);
    for (const auto& s : settings) {
        if (s.list != SettingsList::Model) continue;
        const auto& items = Info(SettingsList::Model).items;
        int named = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (SameIgnoringAsciiCase(s.value, items[i])) named = i == 0 ? 16 : 199;
        }
        if (named == 0) {
            if (!s.value.empty()) {
                refuse(s.row, std::string(Info(s.list).caption), s.value,
                       "not an item of the list: QZ - 16, QZ - 199", true);
            }
        } else if (!options.into && options.model && options.model != named) {
            refuse(s.row, std::string(Info(s.list).caption), s.value,
                   "the file is for the " + ModelName(named) + ", not the " + ModelName(options.model), true);
        } else {
            model = named;
        }
    }
    const int count = model == 16 ? 16 : 199;
    for (const auto& c : channels) {
        if (c.channel > count) {
            refuse(c.row, channelCaption, std::to_string(c.channel),
                   "the " + ModelName(model) + " has channels 1 to " + std::to_string(count));
        }
    }
    if (!result.Ok()) return result;

    DocumentData work;
    EditorModel grid;
    StartDocument(options.into, model, work, grid);

    for (const auto& s : settings) {
        if (s.list == SettingsList::Model) continue;
        const auto& info = Info(s.list);
        const std::string caption(info.caption);
        if (s.value.empty()) continue;  // keep the list as it is
        int index = -1;
        for (std::size_t i = 0; i < info.items.size(); ++i) {
            if (SameIgnoringAsciiCase(s.value, info.items[i])) index = static_cast<int>(i);
        }
        if (index < 0) {
            std::string items;
            for (const auto item : info.items) items += (items.empty() ? "" : ", ") + std::string(item);
            refuse(s.row, caption, s.value, "not an item of the list: " + items, true);
            continue;
        }
        if (!StoredByModel(s.list, model == 16)) {
            if (index != grid.CurSel(s.list)) {
                warn(s.row, caption, s.value, "the " + ModelName(model) + " has no such setting: ignored",
                     true);
            }
            continue;
        }
        grid.SetCurSel(s.list, index);
    }

    // Each cell as typed into the grid and committed by Enter, in the order
    // Enter walks a row; a cell that already shows the text is not typed.
    for (const auto& c : channels) {
        const int row = c.channel;
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            const std::string& typed = c.cells[static_cast<std::size_t>(col)];
            const std::string caption(captions[static_cast<std::size_t>(col)]);
            const std::string_view message = TypeCellText(grid, row, col, typed);
            if (!message.empty()) {
                refuse(c.row, caption, typed, std::string(message));
                continue;
            }
            // Signalling or the inhibit flag on a channel without a frequency
            // is not taken, as in the grid.
            const std::string now = grid.TextMatrix(row, col);
            const bool tone = col == kColRxTone || col == kColTxTone;
            if (!typed.empty() && (tone ? !SameIgnoringAsciiCase(typed, kSignallingOff) && now.empty()
                                        : col == kColInhibit && now != typed)) {
                warn(c.row, caption, typed, "left out: the channel has no frequency");
            }
        }
    }
    if (!result.Ok()) return result;
    EncodeImage(grid, work);
    doc = work;
    editor = grid;
    return result;
}

std::string ExportQuorim(const EditorSurface& editor) {
    std::string out(kUtf8Bom);
    CsvRecord header;
    for (const auto caption : GridHeaders()) header.emplace_back(caption);
    out += CsvLine(header);
    for (int row = 1; row <= ChannelCount(editor); ++row) {
        CsvRecord rec;
        for (int col = kColChannel; col <= kColInhibit; ++col) rec.push_back(editor.TextMatrix(row, col));
        out += CsvLine(rec);
    }
    out += CsvLine({""});
    const bool sixteen = IsModel16(editor);
    for (const SettingsList list : kSettingsOrder) {
        if (StoredByModel(list, sixteen)) {
            out += CsvLine({std::string(Info(list).caption), editor.SelectedText(list)});
        }
    }
    return out;
}

}  // namespace

bool ParseCsvLayout(std::string_view name, CsvLayout& layout) {
    if (name == "quorim") {
        layout = CsvLayout::Quorim;
    } else if (name == "exchange") {
        layout = CsvLayout::Exchange;
    } else {
        return false;
    }
    return true;
}

std::string CsvNote::Format() const {
    std::string out;
    if (row > 0) out += "row " + std::to_string(row);
    if (!column.empty()) {
        out += (out.empty() ? "" : ", ") + std::string(setting ? "setting \"" : "column \"") + column + "\"";
    }
    if (!text.empty()) out += " (\"" + text + "\")";
    return out + (out.empty() ? "" : ": ") + message;
}

CsvExport ExportCsv(const EditorSurface& editor, CsvLayout layout) {
    if (layout == CsvLayout::Exchange) return ExportExchange(editor);
    return {ExportQuorim(editor), {}};
}

CsvImport ImportCsv(std::string_view text, const CsvImportOptions& options, DocumentData& doc,
                    EditorModel& editor) {
    const CsvReadResult read = ReadCsv(text);
    if (!read.Ok()) {
        CsvImport result;
        result.refusals.push_back({read.errorRow,
                                   read.errorColumn ? "#" + std::to_string(read.errorColumn) : "", false, "",
                                   read.error});
        return result;
    }
    // Spreadsheets set to a decimal comma save ";" between fields.
    for (std::size_t r = 0; r < read.records.size(); ++r) {
        if (IsBlankRecord(read.records[r])) continue;
        if (read.records[r].size() == 1 && read.records[r][0].find(';') != std::string::npos) {
            CsvImport result;
            result.refusals.push_back({static_cast<int>(r) + 1, "", false, "",
                                       "the fields are separated by \";\": save the file with \",\" between "
                                       "fields"});
            return result;
        }
        break;
    }
    if (options.layout == CsvLayout::Exchange) return ImportExchange(read.records, options, doc, editor);
    return ImportQuorim(read.records, options, doc, editor);
}

}  // namespace quorim
