#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/editor_model.h"
#include "files/file_status.h"
#include "image/memory_image.h"

namespace quorim {

// Channel lists as comma-separated text, for spreadsheets and other
// programming tools.
//
// The Quorim layout carries the editor's own texts: a header row with the
// grid's captions (in Chinese or as the English window shows them), one row per channel (all of them, empty
// ones too), an empty row, then one row per settings list, its caption and the selected item's text.
// Importing it types every cell that differs from what the editor shows through the grid's commit rules, so a
// value the grid would refuse is refused here too, and an export imported into the same data file gives back
// every byte.
//
// The exchange layout is the column set other programming tools read and
// write (Location, Name, Frequency, Duplex, Offset, Tone, rToneFreq, …). It
// carries what both sides know of a channel; what this radio cannot hold is
// reported and left out, the rest is imported.
enum class CsvLayout { Quorim, Exchange };

// "quorim" or "exchange".
bool ParseCsvLayout(std::string_view name, CsvLayout& layout);

// A remark about one place of the text.
struct CsvNote {
    int row = 0;           // record of the text, 1 = the header row; 0: the file as a whole
    std::string column;    // the column's header (or the setting's caption); empty: the whole row
    bool setting = false;  // `column` names a settings list
    std::string text;      // the cell's text, when the remark is about one cell
    std::string message;   // the cell rules' own (marked texts) or English

    // `row 5, column "接收频率" ("145.0062"): <message>`, the message in the
    // language of `texts`.
    std::string Format(const TextTranslator& texts = ChineseTexts()) const;
};

struct CsvExport {
    std::string text;
    std::vector<CsvNote> warnings;  // what the layout could not carry
};

// The editor as text in the layout. The Quorim layout starts with a UTF-8
// byte order mark so that spreadsheets show the Chinese texts; its captions,
// list items and "是"/"否" are those of a window in the language of `texts`
// (import reads either language).
CsvExport ExportCsv(const EditorSurface& editor, CsvLayout layout,
                    const TextTranslator& texts = ChineseTexts());

struct CsvImportOptions {
    CsvLayout layout = CsvLayout::Quorim;
    // Start from this document (its bytes the editor does not show survive);
    // without it, from a new document.
    const DocumentData* into = nullptr;
    // The model of a new document; none to go by the text (the Quorim layout
    // names the model; in the exchange layout locations above 16 choose the
    // 199-channel radio).
    std::optional<RadioModel> model;
    // The layout as the header row tells it (a "Location" column: the
    // exchange layout) instead of `layout`, as the window's import does.
    bool layoutByHeader = false;
};

struct CsvImport {
    std::vector<CsvNote> refusals;  // any refusal: nothing is to be written
    std::vector<CsvNote> warnings;  // left out or changed; the rest was imported
    // Channels 17-199 of the starting document that held data and are gone
    // because the text names "QZ - 16".
    int droppedChannels = 0;
    bool Ok() const { return refusals.empty(); }

    void Refuse(int row, std::string column, std::string text, std::string message, bool setting = false) {
        refusals.push_back({row, std::move(column), setting, std::move(text), std::move(message)});
    }
    void Warn(int row, std::string column, std::string text, std::string message, bool setting = false) {
        warnings.push_back({row, std::move(column), setting, std::move(text), std::move(message)});
    }
};

// Applies the text to the starting document. The bytes may be UTF-8 (with or
// without a byte order mark), UTF-16 with its byte order mark, or GB18030;
// the fields are separated by commas, semicolons or tabs, whichever the
// header line uses; with semicolons a decimal comma is a decimal point. On success `doc` holds the
// image as a save would store it and `editor` what the form would show; on
// refusal both are left as they were.
CsvImport ImportCsv(std::string_view text, const CsvImportOptions& options, DocumentData& doc,
                    EditorModel& editor);

// The window's "导入 CSV…" and `quorim import`: a channel list file is read
// (a regular file, up to kMaxCsvBytes) and imported. A channel list is a few
// kilobytes; anything far larger is not one.
inline constexpr std::size_t kMaxCsvBytes = 16u << 20;
struct CsvFileImport {
    FileStatus file;        // not Ok: the file could not be read
    bool tooLarge = false;  // past kMaxCsvBytes: not read further
    CsvImport result;
    bool Ok() const { return file.Ok() && !tooLarge && result.Ok(); }
};
CsvFileImport ImportCsvFile(const std::string& path, const CsvImportOptions& options, DocumentData& doc,
                            EditorModel& editor);

// A file given to Open that is a channel list rather than a memory image:
// its first line reads as comma-separated text, or it is named "*.csv" and
// is too short for an image or doubtful as one (`opened`: what opening it
// as an image found).
bool IsChannelListFile(const std::string& path, const FileStatus& opened);

// What the window tells of an import of `path`, in the language of `texts`:
// why it was refused (nothing changed), or what was left out; empty when
// it went through whole. At most kCsvReportLines notes, then how many more.
inline constexpr std::size_t kCsvReportLines = 20;
std::string CsvImportReport(const CsvFileImport& import, const std::string& path,
                            const TextTranslator& texts);

inline constexpr std::string_view kCmdImportCsv = QUORIM_TR("Quorim", "导入 CSV…");
inline constexpr std::string_view kCmdExportCsv = QUORIM_TR("Quorim", "导出 CSV…");
inline constexpr std::string_view kCsvFilter = QUORIM_TR("Quorim", "逗号分隔的文本 (*.csv)");
inline constexpr std::string_view kMsgCsvRefused = QUORIM_TR("Quorim", "“%1”未能导入，文档没有改动：");
inline constexpr std::string_view kMsgCsvLeftOut = QUORIM_TR("Quorim", "已导入“%1”，以下内容没有导入：");
inline constexpr std::string_view kMsgCsvTooLarge = QUORIM_TR("Quorim", "“%1”太大，不是信道表");
inline constexpr std::string_view kMsgCsvMore = QUORIM_TR("Quorim", "……另有 %1 条");
inline constexpr std::string_view kAskCsvDropChannels =
    QUORIM_TR("Quorim", "“%1”是 QZ - 16 的信道表，导入将删除信道 17-199 中有数据的 %2 个信道。是否继续？");
inline constexpr std::string_view kAskOpenCsv =
    QUORIM_TR("Quorim", "“%1”是逗号分隔的文本，不是对讲机数据文件。是否把它导入一个新文档？");
inline constexpr std::string_view kStatusCsvImported = QUORIM_TR("Quorim", "已导入“%1”");
inline constexpr std::string_view kStatusCsvExported = QUORIM_TR("Quorim", "已导出到“%1”");

namespace csvdetail {

// Shared by the two layouts.
int ChannelCount(const EditorSurface& editor);
// The starting document and editor for an import, switched to the model as
// if the user picked it in the model list.
void StartDocument(const DocumentData* into, RadioModel model, DocumentData& doc, EditorModel& editor);
std::string ModelName(RadioModel model);
// The first record that is not blank: the header row. None (and the import
// refused) when the text holds nothing but blanks.
std::optional<std::size_t> HeaderRecord(const std::vector<std::vector<std::string>>& records,
                                        CsvImport& result);
// A count of 10 Hz units as MHz with `decimals` digits after the point.
std::string MhzText(long long count, int decimals);
// A record with nothing but blanks in it.
bool IsBlankRecord(const std::vector<std::string>& record);
// A whole number made only of digits (blanks around it allowed), or -1.
long long PlainNumber(std::string_view text);

CsvExport ExportExchange(const EditorSurface& editor);
CsvImport ImportExchange(const std::vector<std::vector<std::string>>& records,
                         const CsvImportOptions& options, DocumentData& doc, EditorModel& editor);

}  // namespace csvdetail

}  // namespace quorim
