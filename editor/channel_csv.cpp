#include "editor/channel_csv.h"

#include <algorithm>
#include <map>
#include <optional>

#include "editor/cell_rules.h"
#include "editor/channel_edit.h"
#include "editor/codec.h"
#include "editor/csv_text.h"
#include "files/file_status_text.h"
#include "files/safe_file.h"
#include "text/ascii_text.h"
#include "text/number_text.h"
#include "text/text_encoding.h"

namespace quorim {

namespace csvdetail {

int ChannelCount(const EditorSurface& editor) {
    return editor.Rows() - 1;
}

std::string ModelName(RadioModel model) {
    return std::string(Info(SettingsList::Model).items[model == RadioModel::Qz199 ? 1 : 0]);
}

void StartDocument(const DocumentData* into, RadioModel model, DocumentData& doc, EditorModel& editor) {
    if (into) {
        doc = *into;
    } else {
        doc = DocumentData{};
        doc.OnNewDocument();
    }
    editor = EditorModel{};
    InitialUpdateEditor(doc, editor);
    if (model != doc.Model()) {
        editor.SetCurSel(SettingsList::Model, model == RadioModel::Qz16 ? 0 : 1);
        ApplyModelChoice(editor, doc);
    }
}

std::optional<std::size_t> HeaderRecord(const std::vector<CsvRecord>& records, CsvImport& result) {
    std::size_t first = 0;
    while (first < records.size() && IsBlankRecord(records[first])) ++first;
    if (first == records.size()) {
        result.Refuse(0, "", "", "the file holds no header row and no channels");
        return std::nullopt;
    }
    return first;
}

std::string MhzText(long long count, int decimals) {
    // count is in 10 Hz units: five decimals of MHz.
    for (int i = 5; i < decimals; ++i) count *= 10;
    return FixedDecimalText(count, decimals);
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

// A caption as a file may hold it: the program's own, or the English
// window's in any case ("RX Freq", "rx freq").
bool IsCaption(std::string_view name, std::string_view caption) {
    return name == caption || SameIgnoringAsciiCase(name, EnglishTexts().Translate("Quorim", caption));
}

// A settings list's item in either language ("打开", "On"), in any case.
bool IsItem(std::string_view value, std::string_view item) {
    return SameIgnoringAsciiCase(value, item) ||
           SameIgnoringAsciiCase(value, EnglishTexts().Translate("SettingsList", item));
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
    std::string caption;  // as the file names it, for the notes
};

// Where the grid's columns stand in the text, found by their captions.
struct QuorimHeader {
    std::size_t record = 0;
    std::array<int, kGridColumns - 1> columnOf{};
    std::array<std::string, kGridColumns - 1> names;  // as the file names them, for the notes
};

// The header: the grid's captions, each once. None when it cannot be read
// (the refusals say why).
std::optional<QuorimHeader> ReadQuorimHeader(const std::vector<CsvRecord>& records, CsvImport& result) {
    const std::optional<std::size_t> first = HeaderRecord(records, result);
    if (!first) return std::nullopt;
    QuorimHeader h;
    h.record = *first;
    h.columnOf.fill(-1);
    const CsvRecord& header = records[h.record];
    const int headerRow = static_cast<int>(h.record) + 1;
    const auto& captions = GridHeaders();
    bool english = false;  // the header names its columns as the English window does
    for (int k = 0; k < static_cast<int>(header.size()); ++k) {
        const std::string name = Cell(header, k);
        const auto caption = std::find_if(captions.begin(), captions.end(),
                                          [&](std::string_view c) { return IsCaption(name, c); });
        if (caption != captions.end()) {
            const auto c = static_cast<std::size_t>(caption - captions.begin());
            if (h.columnOf[c] >= 0) result.Refuse(headerRow, name, "", "this column appears twice");
            h.columnOf[c] = k;
            h.names[c] = name;
            english = english || name != *caption;
        } else if (SameIgnoringAsciiCase(name, "Location")) {
            result.Refuse(headerRow, "", "",
                          "this file has the exchange layout: import it with --format exchange");
            return std::nullopt;
        } else if (!name.empty()) {
            result.Warn(headerRow, name, "", "not a column of this layout: ignored");
        }
    }
    for (std::size_t c = 0; c < captions.size(); ++c) {
        if (h.columnOf[c] < 0) {
            result.Refuse(
                headerRow,
                english ? EnglishTexts().Translate("Quorim", captions[c]) : std::string(captions[c]), "",
                "this column is missing from the header row");
        }
    }
    if (!result.Ok()) return std::nullopt;
    return h;
}

// The rows after the header, sorted into channels and settings; a row that
// is neither, or names a channel or setting a second time, is refused.
struct QuorimRows {
    std::vector<ChannelRow> channels;
    std::vector<SettingRow> settings;
};

QuorimRows SortQuorimRows(const std::vector<CsvRecord>& records, const QuorimHeader& h, CsvImport& result) {
    const std::string channelCaption(GridHeaders()[kColChannel]);
    QuorimRows rows;
    std::map<int, int> channelSeen;  // channel -> row
    std::map<SettingsList, int> settingSeen;
    for (std::size_t r = h.record + 1; r < records.size(); ++r) {
        const CsvRecord& rec = records[r];
        const int row = static_cast<int>(r) + 1;
        if (IsBlankRecord(rec)) continue;
        std::optional<SettingsList> list;
        for (const auto& info : AllSettingsLists()) {
            if (IsCaption(Cell(rec, 0), info.caption)) list = info.list;
        }
        if (list) {
            if (const auto seen = settingSeen.find(*list); seen != settingSeen.end()) {
                result.Refuse(row, Cell(rec, 0), "",
                              "this setting is also on row " + std::to_string(seen->second), true);
                continue;
            }
            settingSeen[*list] = row;
            rows.settings.push_back({row, *list, Cell(rec, 1), Cell(rec, 0)});
            continue;
        }
        const std::string key = Cell(rec, h.columnOf[kColChannel]);
        const long long ch = PlainNumber(key);
        if (ch < 1) {
            result.Refuse(row, channelCaption, key, "not a channel number nor the caption of a setting");
            continue;
        }
        if (const auto seen = channelSeen.find(static_cast<int>(ch)); seen != channelSeen.end()) {
            result.Refuse(row, channelCaption, key,
                          "this channel is also on row " + std::to_string(seen->second));
            continue;
        }
        channelSeen[static_cast<int>(ch)] = row;
        ChannelRow c{row, static_cast<int>(ch), {}};
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            c.cells[static_cast<std::size_t>(col)] = Cell(rec, h.columnOf[static_cast<std::size_t>(col)]);
        }
        rows.channels.push_back(std::move(c));
    }
    return rows;
}

// The model: as the text names it, else as asked, else the starting
// document's; and every channel within it.
RadioModel ChooseQuorimModel(const QuorimRows& rows, const CsvImportOptions& options, CsvImport& result) {
    RadioModel model = options.into ? options.into->Model() : options.model.value_or(RadioModel::Qz16);
    const auto& items = Info(SettingsList::Model).items;
    for (const auto& s : rows.settings) {
        if (s.list != SettingsList::Model) continue;
        const std::string& caption = s.caption;
        std::optional<RadioModel> named;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (SameIgnoringAsciiCase(s.value, items[i]))
                named = i == 0 ? RadioModel::Qz16 : RadioModel::Qz199;
        }
        if (!named) {
            if (!s.value.empty()) {
                result.Refuse(s.row, caption, s.value, "not an item of the list: QZ - 16, QZ - 199", true);
            }
        } else if (!options.into && options.model && *options.model != *named) {
            result.Refuse(
                s.row, caption, s.value,
                "the file is for the " + ModelName(*named) + ", not the " + ModelName(*options.model), true);
        } else {
            model = *named;
        }
    }
    const std::string channelCaption(GridHeaders()[kColChannel]);
    for (const auto& c : rows.channels) {
        if (c.channel > ChannelsOf(model)) {
            result.Refuse(
                c.row, channelCaption, std::to_string(c.channel),
                "the " + ModelName(model) + " has channels 1 to " + std::to_string(ChannelsOf(model)));
        }
    }
    return model;
}

// Each settings list but the model chosen by its item's text; an empty value
// keeps the list as it is.
void ApplyQuorimSettings(const std::vector<SettingRow>& settings, RadioModel model, EditorModel& grid,
                         CsvImport& result) {
    for (const auto& s : settings) {
        if (s.list == SettingsList::Model || s.value.empty()) continue;
        const auto& info = Info(s.list);
        const std::string& caption = s.caption;
        int index = -1;
        for (std::size_t i = 0; i < info.items.size(); ++i) {
            if (IsItem(s.value, info.items[i])) index = static_cast<int>(i);
        }
        if (index < 0) {
            std::string items;
            for (const auto item : info.items) {
                const std::string english = EnglishTexts().Translate("SettingsList", item);
                items +=
                    (items.empty() ? "" : ", ") + std::string(item) + (english != item ? "/" + english : "");
            }
            result.Refuse(s.row, caption, s.value, "not an item of the list: " + items, true);
        } else if (StoredByModel(s.list, model == RadioModel::Qz16)) {
            grid.SetCurSel(s.list, index);
        } else if (index != grid.CurSel(s.list)) {
            result.Warn(s.row, caption, s.value, "the " + ModelName(model) + " has no such setting: ignored",
                        true);
        }
    }
}

// One cell typed into the grid and committed by Enter, unless the cell
// already shows the text.
void TypeQuorimCell(const ChannelRow& c, int col, const QuorimHeader& h, EditorModel& grid,
                    CsvImport& result) {
    const int row = c.channel;
    const std::string& typed = c.cells[static_cast<std::size_t>(col)];
    const std::string& caption = h.names[static_cast<std::size_t>(col)];
    const std::string_view message = TypeCellText(grid, row, col, typed);
    if (!message.empty()) {
        result.Refuse(c.row, caption, typed, std::string(message));
        return;
    }
    // Signalling or the inhibit flag on a channel without a frequency is not
    // taken, as in the grid.
    const std::string now = grid.TextMatrix(row, col);
    const bool tone = col == kColRxTone || col == kColTxTone;
    if (!typed.empty() && (tone ? !SameIgnoringAsciiCase(typed, kSignallingOff) && now.empty()
                                : col == kColInhibit && now != ReadInhibitText(typed))) {
        result.Warn(c.row, caption, typed, "left out: the channel has no frequency");
    }
}

CsvImport ImportQuorim(const std::vector<CsvRecord>& records, const CsvImportOptions& options,
                       DocumentData& doc, EditorModel& editor) {
    CsvImport result;
    const std::optional<QuorimHeader> header = ReadQuorimHeader(records, result);
    if (!header) return result;
    const QuorimRows rows = SortQuorimRows(records, *header, result);
    const RadioModel model = ChooseQuorimModel(rows, options, result);
    if (!result.Ok()) return result;

    DocumentData work;
    EditorModel grid;
    StartDocument(options.into, model, work, grid);
    ApplyQuorimSettings(rows.settings, model, grid, result);
    // In the order Enter walks a row.
    for (const auto& c : rows.channels) {
        for (int col = kColRxFreq; col <= kColInhibit; ++col) TypeQuorimCell(c, col, *header, grid, result);
    }
    if (!result.Ok()) return result;
    EncodeImage(grid, work);
    doc = work;
    editor = grid;
    return result;
}

std::string ExportQuorim(const EditorSurface& editor, const TextTranslator& texts) {
    std::string out(kUtf8Bom);
    CsvRecord header;
    for (const auto caption : GridHeaders()) header.push_back(texts.Translate("Quorim", caption));
    out += CsvLine(header);
    for (int row = 1; row <= ChannelCount(editor); ++row) {
        CsvRecord rec;
        for (int col = kColChannel; col <= kColInhibit; ++col)
            rec.push_back(ShownCellText(editor, row, col, texts));
        out += CsvLine(rec);
    }
    out += CsvLine({""});
    const bool sixteen = IsModel16(editor);
    for (const SettingsList list : kSettingsOrder) {
        if (StoredByModel(list, sixteen)) {
            out += CsvLine(
                {texts.Translate("Quorim", Info(list).caption), ShownSelectedText(editor, list, texts)});
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

namespace {

// The exchange layout names its first column "Location".
bool HasLocationColumn(const std::vector<CsvRecord>& records) {
    for (const CsvRecord& record : records) {
        if (IsBlankRecord(record)) continue;
        return std::any_of(record.begin(), record.end(), [](const std::string& f) {
            return SameIgnoringAsciiCase(TrimBlanks(f), "Location");
        });
    }
    return false;
}

// A cell or caption as a message quotes it: past 40 bytes cut at a character
// and marked, with its whole length after the quotes, so that a cell of
// megabytes stays one readable line.
constexpr std::size_t kQuotedBytes = 40;

std::string QuotedShort(const std::string& text) {
    if (text.size() <= kQuotedBytes) return "\"" + text + "\"";
    std::size_t cut = kQuotedBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + text.substr(0, cut) + "…\", " + std::to_string(text.size()) + " bytes";
}

}  // namespace

std::string CsvNote::Format(const TextTranslator& texts) const {
    std::string out;
    if (row > 0) out += "row " + std::to_string(row);
    if (!column.empty()) {
        out +=
            (out.empty() ? "" : ", ") + std::string(setting ? "setting " : "column ") + QuotedShort(column);
    }
    if (!text.empty()) out += " (" + QuotedShort(text) + ")";
    // Cells are the file's text: no control character reaches a terminal.
    return EscapeControls(out + (out.empty() ? "" : ": ") + texts.Translate("Quorim", message));
}

CsvExport ExportCsv(const EditorSurface& editor, CsvLayout layout, const TextTranslator& texts) {
    if (layout == CsvLayout::Exchange) return ExportExchange(editor);
    return {ExportQuorim(editor, texts), {}};
}

CsvImport ImportCsv(std::string_view bytes, const CsvImportOptions& options, DocumentData& doc,
                    EditorModel& editor) {
    const DecodedText decoded = DecodeText(bytes);
    if (!decoded.Ok()) {
        CsvImport result;
        result.Refuse(0, "", "", decoded.error);
        return result;
    }
    const char separator = DetectSeparator(decoded.text);
    CsvReadResult read = ReadCsv(decoded.text, separator);
    if (!read.Ok()) {
        CsvImport result;
        result.refusals.push_back({read.errorRow,
                                   read.errorColumn ? "#" + std::to_string(read.errorColumn) : "", false, "",
                                   read.error});
        return result;
    }
    // Spreadsheets set to a decimal comma separate fields by ";": there, and
    // only there, "145,0125" is 145.0125.
    if (separator == ';') {
        for (auto& record : read.records) {
            for (auto& field : record) field = DecimalCommaAsPoint(field);
        }
    }
    const bool exchange =
        options.layoutByHeader ? HasLocationColumn(read.records) : options.layout == CsvLayout::Exchange;
    CsvImport result = exchange ? ImportExchange(read.records, options, doc, editor)
                                : ImportQuorim(read.records, options, doc, editor);
    if (result.Ok() && options.into && !options.into->m_bSixteenChannel && doc.m_bSixteenChannel) {
        EditorModel before;
        InitialUpdateEditor(*options.into, before);
        result.droppedChannels = ChannelsDroppedBySixteen(before);
    }
    return result;
}

CsvFileImport ImportCsvFile(const std::string& path, const CsvImportOptions& options, DocumentData& doc,
                            EditorModel& editor) {
    CsvFileImport out;
    std::string text;
    // One byte past the limit tells a file that is too large.
    out.file = ReadRegularFile(path, kMaxCsvBytes + 1, text);
    out.tooLarge = out.file.Ok() && text.size() > kMaxCsvBytes;
    if (out.file.Ok() && !out.tooLarge) out.result = ImportCsv(text, options, doc, editor);
    return out;
}

std::string CsvImportReport(const CsvFileImport& import, const std::string& path,
                            const TextTranslator& texts) {
    if (!import.file.Ok()) return FileStatusText(import.file, texts);
    if (import.tooLarge) return TranslateWithArgs(texts, kMsgCsvTooLarge, {path});
    const bool refused = !import.result.Ok();
    const std::vector<CsvNote>& notes = refused ? import.result.refusals : import.result.warnings;
    if (notes.empty()) return {};
    std::string out = TranslateWithArgs(texts, refused ? kMsgCsvRefused : kMsgCsvLeftOut, {path});
    for (std::size_t i = 0; i < notes.size() && i < kCsvReportLines; ++i)
        out += "\n" + notes[i].Format(texts);
    if (notes.size() > kCsvReportLines) {
        out += "\n" + TranslateWithArgs(texts, kMsgCsvMore, {std::to_string(notes.size() - kCsvReportLines)});
    }
    return out;
}

bool IsChannelListFile(const std::string& path, const FileStatus& opened) {
    if (opened.doubt == ImageDoubt::CsvText) return true;
    const bool csvName =
        path.size() >= 4 && SameIgnoringAsciiCase(std::string_view(path).substr(path.size() - 4), ".csv");
    return csvName &&
           (opened.error == FileError::TooShort || (opened.Ok() && opened.doubt != ImageDoubt::None));
}

}  // namespace quorim
