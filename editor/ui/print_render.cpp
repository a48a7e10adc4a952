#include "editor/ui/print_render.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/commands.h"
#include "app/ui/ui_text.h"

namespace quorim {

namespace {

constexpr double kTwipsPerInchF = 1440.0;

// A face named in Chinese is a CJK face: its half-width letters, and so its
// average character width, are half an em wide.
bool IsCjkFace(std::string_view face) {
    return std::any_of(face.begin(), face.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
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

}  // namespace

QFont PrinterFont(const PrintFont& spec, QPrinter* printer) {
    QFont font(Raw(std::string(spec.face)));
    // Modern family, default pitch: a fixed-pitch face where the named one
    // is missing.
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    const int em = std::max(1, std::abs(spec.height));
    font.setPixelSize(em);
    if (spec.width > 0) {
        double natural = em / 2.0;
        if (!IsCjkFace(spec.face)) {
            natural = QFontMetricsF(font, printer).averageCharWidth();
        }
        if (natural > 0) {
            font.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * spec.width / natural)), 1, 4000));
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
    const int tl = LineHeight(titleFont, printer);
    const int bl = LineHeight(bodyFont, printer);

    painter.save();
    // Twips: 1440 to the inch. The layout's y points up from the top edge;
    // the painter's points down, so every y is drawn negated.
    painter.resetTransform();
    painter.scale(metrics.lpx / kTwipsPerInchF, metrics.lpy / kTwipsPerInchF);
    painter.setPen(Qt::black);
    const QFontMetrics titleMetrics(titleFont, printer);
    const QFontMetrics bodyMetrics(bodyFont, printer);
    for (const PrintText& t : LayoutPrintPage(editor, page, metrics, tl, bl)) {
        const bool title = t.font == PrintFontKind::Title;
        painter.setFont(title ? titleFont : bodyFont);
        // Each text starts at its x with its top at its y; Qt draws from the baseline.
        const int ascent = title ? titleMetrics.ascent() : bodyMetrics.ascent();
        painter.drawText(QPoint(t.x, -t.y + ascent), Raw(t.text));
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

bool PrintEditorToPdf(const QString& path, const EditorSurface& editor, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCreator(Q(kAppTitle));
    if (!PrintEditor(&printer, editor)) {
        if (error) {
            *error = Raw(CannotWritePdfMessage(Utf8(path)));
        }
        return false;
    }
    return true;
}

}  // namespace quorim
