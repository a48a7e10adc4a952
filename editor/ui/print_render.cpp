#include "editor/ui/print_render.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "files/safe_file.h"
#include "ui/commands.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

constexpr double kTwipsPerInchF = 1440.0;

// A face named in Chinese is a CJK face: its half-width letters, and so its
// average character width, are half an em wide.
bool IsCjkFace(std::string_view face) {
    return std::any_of(face.begin(), face.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsCjkChar(QChar c) {
    return c.unicode() >= 0x2E80;
}

// The average character width a font's requested width is measured
// against: for a Latin face the weighted average of the lower-case letters
// and the blank by their frequency in English text (the classic definition of
// a font's average width, which the serif faces keep), so the substitute of
// a metric-compatible face gives the original's number.
double NaturalAverageWidth(const QFont& font, QPrinter* printer) {
    static const std::array<int, 26> weights = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                                56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
    const QFontMetricsF fm(font, printer);
    double sum = 166 * fm.horizontalAdvance(QLatin1Char(' '));
    for (std::size_t i = 0; i < weights.size(); ++i) {
        sum += weights[i] * fm.horizontalAdvance(QLatin1Char(static_cast<char>('a' + i)));
    }
    return sum / 1000.0;
}

// The line height the layout steps by: character height plus external leading.
int LineHeight(const QFont& font, QPrinter* printer) {
    const QFontMetrics fm(font, printer);
    return fm.height() + fm.leading();
}

PrintRect PrintableRect(QPrinter* printer) {
    // The painter's origin is the printable area's top left corner; its size
    // in device pixels is the printer's width and height.
    return {0, 0, printer->width(), printer->height()};
}

// Draws a text with its top left corner at (x, top). Chinese characters of a
// Latin face's text come from the CJK face, sized to the same em and width
// as the Latin face asked for (a full-width character is two average
// widths); all runs share one baseline.
void DrawPrintText(QPainter& painter, QPrinter* printer, double x, double top, const QString& text,
                   const QFont& font, const QFont* cjkFont) {
    const double baseline = top + QFontMetricsF(font, printer).ascent();
    int start = 0;
    while (start < text.size()) {
        const bool cjk = cjkFont && IsCjkChar(text.at(start));
        int end = start + 1;
        while (end < text.size() && (cjkFont && IsCjkChar(text.at(end))) == cjk) {
            ++end;
        }
        const QString run = text.mid(start, end - start);
        const QFont& runFont = cjk ? *cjkFont : font;
        painter.setFont(runFont);
        painter.drawText(QPointF(x, baseline), run);
        x += QFontMetricsF(runFont, printer).horizontalAdvance(run);
        start = end;
    }
}

}  // namespace

QFont PrinterFont(const PrintFont& wanted, QPrinter* printer) {
    QFont font(Raw(std::string(wanted.face)));
    // Modern family, default pitch: a fixed-pitch face where the named one
    // is missing.
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int em = std::max(1, std::abs(wanted.height));
    font.setPixelSize(em);
    if (wanted.width > 0) {
        const double natural = IsCjkFace(wanted.face) ? em / 2.0 : NaturalAverageWidth(font, printer);
        if (natural > 0) {
            font.setStretch(
                std::clamp(static_cast<int>(std::lround(100.0 * wanted.width / natural)), 1, 4000));
        }
    }
    return font;
}

void RenderPrintPage(QPainter& painter, QPrinter* printer, const EditorSurface& editor, int page) {
    const PageMetrics metrics =
        ComputePageMetrics(PrintableRect(printer), printer->logicalDpiX(), printer->logicalDpiY());
    if (metrics.lineHeight <= 0 || metrics.charWidth <= 0) {
        return;  // a page too small to hold a line
    }
    const QFont titleFont = PrinterFont(metrics.titleFont, printer);
    const QFont bodyFont = PrinterFont(metrics.bodyFont, printer);
    // The Chinese labels and headers in the body: the CJK face at the body's
    // em and average width.
    const QFont bodyCjkFont =
        PrinterFont({kTitleFace, metrics.bodyFont.height, metrics.bodyFont.width}, printer);
    const int tl = LineHeight(titleFont, printer);
    const int bl = LineHeight(bodyFont, printer);

    painter.save();
    // Twips: 1440 to the inch. The layout's y points up from the top edge;
    // the painter's points down, so every y is drawn negated.
    painter.resetTransform();
    painter.scale(metrics.lpx / kTwipsPerInchF, metrics.lpy / kTwipsPerInchF);
    painter.setPen(Qt::black);
    // The layout asks the window's catalogue for the program's own words, so
    // the English build prints English titles, labels and headers.
    for (const PrintText& t : LayoutPrintPage(editor, page, metrics, tl, bl, WindowTexts())) {
        const QString text = Raw(t.text);
        if (t.font == PrintFontKind::Title) {
            DrawPrintText(painter, printer, t.x, -t.y, text, titleFont, nullptr);
        } else {
            DrawPrintText(painter, printer, t.x, -t.y, text, bodyFont, &bodyCjkFont);
        }
    }
    painter.restore();
}

bool PrintEditor(QPrinter* printer, const EditorSurface& editor) {
    const int count = PrintPageCount(editor.Rows());
    int first = 1;
    int last = count;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = std::max(1, printer->fromPage());
        last = std::min(count, printer->toPage() > 0 ? printer->toPage() : count);
    }
    QPainter painter;
    if (!painter.begin(printer)) {
        return false;
    }
    for (int page = first; page <= last; ++page) {
        if (page != first) {
            printer->newPage();
        }
        RenderPrintPage(painter, printer, editor, page);
    }
    return painter.end();
}

bool PrintAllPages(QPrinter* printer, const EditorSurface& editor) {
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(0, 0);
    return PrintEditor(printer, editor);
}

bool PrintEditorToPdf(const std::string& path, const EditorSurface& editor, std::string* error) {
    FileReplacement file;
    FileStatus status = file.Begin(path);
    if (status.Ok()) {
        bool printed = false;
        {
            // The printer fills the temporary file by the name that stands
            // for it (never the user's file name).
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(file.WriterName()));
            printer.setCreator(Q(kAppTitle));
            printed = PrintEditor(&printer, editor);
        }
        // A PDF that did not reach the disk to its last line is no PDF.
        if (printed) {
            status = file.CheckTail("%%EOF");
        } else {
            status.error = FileError::WriteFailed;
        }
        if (status.Ok()) {
            status = file.Commit();
        }
    }
    if (!status.Ok() && error) {
        *error = status.error == FileError::WriteFailed
                     ? CannotWritePdfMessage(path) + (status.detail.empty() ? "" : " (" + status.detail + ")")
                     : status.Message();
    }
    return status.Ok();
}

}  // namespace quorim
