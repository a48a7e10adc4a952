#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/translation.h"
#include "editor/editor_surface.h"

namespace quorim {

// The printed pages of a document: the settings and the channel table as
// plain text lines, laid out in twips (1/1440 inch) from what the editor
// shows. The origin is the device origin of the page; y points up, so
// everything below the top edge has a negative y. Each text starts at its x
// with its top at its y.
//
// Page 1 holds the settings and channels 1-16 (16-channel model) or 1-26;
// every further page holds 31 channels, until the last row of the grid.

// The page's printable rectangle in device pixels.
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A font as the printer is asked for it: face and nominal character height
// (negative: character height, not cell height) and width, in twips.
struct PrintFont {
    std::string_view face;
    int height = 0;
    int width = 0;
    int weight = 400;
};

// Metrics worked out for every page from the rectangle and the printer's
// pixels per inch. A page holds 42 nominal lines (L), and 60 nominal
// characters (cw) span its width less 900 twips.
struct PageMetrics {
    int lpx = 0;
    int lpy = 0;
    int lineHeight = 0;  // L
    int charWidth = 0;   // cw
    int titleX = 0;      // where the title starts
    PrintFont titleFont;
    PrintFont bodyFont;
};
PageMetrics ComputePageMetrics(const PrintRect& rect, int lpx, int lpy);

inline constexpr std::string_view kTitleFace = "宋体";
inline constexpr std::string_view kBodyFace = "Times New Roman";

enum class PrintFontKind { Title, Body };

struct PrintText {
    int x = 0;
    int y = 0;
    std::string text;
    PrintFontKind font = PrintFontKind::Body;
};

// Pages, counting from 1, for a grid of `gridRows` rows (row 0 the header).
int PrintPageCount(int gridRows);
// The preview shows one page at a time for the 16-channel model, two side by
// side otherwise.
int PreviewPagesShown(int gridRows);
struct RowRange {
    int first = 0;
    int last = -1;  // first > last: no rows
};
RowRange PrintPageRows(int page, int gridRows);
// "本机设置数据第一页", "…第二页", and so on. The title's pattern is a marked
// text: "%N" in it stands for the page number in Chinese numerals, "%1" for
// it in digits (the English pattern uses "%1").
std::string PrintPageTitle(int page, const TextTranslator& tr = ChineseTexts());
// The six headers of grid row 0 joined with the printed blanks.
std::string PrintHeaderLine(const EditorSurface& editor, const TextTranslator& tr = ChineseTexts());

// Every text of page `page`. The title line height `tl` and the body line
// height `bl` (character height plus external leading, in twips) come from
// the real fonts, which only the renderer can measure. The editor's texts are
// the core's (Chinese headers, "是"/"否", list items); `tr` gives the printed
// pages the windows' language: title, headings, labels, headers, list items
// and the transmit-inhibit column, the program's own words. The user's data
// (channel numbers, frequencies, tones) is printed as it is.
std::vector<PrintText> LayoutPrintPage(const EditorSurface& editor, int page, const PageMetrics& metrics,
                                       int tl, int bl, const TextTranslator& tr = ChineseTexts());

// The message box of a print that could not start: no printer, or an output
// file that cannot be written.
inline constexpr std::string_view kPrintFailedText =
    QUORIM_TR("Quorim", "无法打印：打印机不可用，或输出文件不能写入。");
// The message of a print into a PDF file that cannot be written.
std::string CannotWritePdfMessage(const std::string& path);
// The PDF file a print to file offers: beside the document, named after it
// ("/data/fleet.szt" gives "/data/fleet.pdf"); a document never saved gets
// its title in `folder`.
std::string PdfPathFor(const std::string& documentPath, const std::string& title, const std::string& folder);

}  // namespace quorim
