#include "editor/ui/view_printing.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include "editor/print_layout.h"
#include "editor/ui/print_render.h"
#include "editor/ui/view_document.h"
#include "editor/ui/view_host.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The host's printer; a view without a host (a window test of its own)
// prints on a printer of its own.
QPrinter* ViewPrinter(CViewHost* host) {
    if (host) {
        return host->Printer();
    }
    // Kept to the end of the process, never destroyed after the toolkit.
    static QPrinter* own = new QPrinter(QPrinter::HighResolution);
    return own;
}

// Every print starts from all pages; only the print dialog narrows the range.
QPrinter* PrinterForAllPages(CViewHost* host) {
    QPrinter* printer = ViewPrinter(host);
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(0, 0);
    return printer;
}

// Two pages side by side, from the first: 1|2, 3|4, and so on. Qt's facing
// view starts with the first page alone on the right, as a book's cover, so
// its pages are laid out again in pairs whenever the preview changes, and in
// the fit-in-view zoom the pair holding the current page fills the view.
void PairPages(QPrintPreviewWidget* widget) {
    static bool busy = false;
    auto* view = widget->findChild<QGraphicsView*>();
    if (busy || widget->viewMode() != QPrintPreviewWidget::FacingPagesView || !view || !view->scene()) {
        return;
    }
    busy = true;
    QList<QGraphicsItem*> pages;
    for (QGraphicsItem* item : view->scene()->items(Qt::AscendingOrder)) {
        if (!item->parentItem()) {
            pages.append(item);  // the pages, in page order
        }
    }
    if (!pages.isEmpty()) {
        const QRectF page = pages.first()->boundingRect();
        for (int i = 0; i < pages.size(); ++i) {
            pages[i]->setPos((i % 2) * page.width(), (i / 2) * page.height());
        }
        view->scene()->setSceneRect(view->scene()->itemsBoundingRect());
        const int current = qBound(1, widget->currentPage(), static_cast<int>(pages.size()));
        if (widget->zoomMode() == QPrintPreviewWidget::FitInView) {
            QRectF pair = pages[current - 1]->sceneBoundingRect();
            pair.moveLeft(0);
            pair.setWidth(2 * page.width());
            view->fitInView(pair, Qt::KeepAspectRatio);
        }
    }
    busy = false;
}

}  // namespace

CViewPrinting::CViewPrinting(QWidget* window, CViewDocument& doc, CViewHost* host,
                             std::function<void()> commitEdit)
    : QObject(window), m_window(window), m_doc(doc), m_host(host), m_commitEdit(std::move(commitEdit)) {}

void CViewPrinting::OfferPdfBesideDocument(QPrinter* printer) {
    // Print to file offers the document's own name in its own folder (for a
    // document never saved: its title, where the last file went, else home).
    // A printer the user chose stays chosen.
    const CQuorim_CHDoc* doc = m_doc.Get();
    const QString title = doc ? doc->Title() : Q(kAppTitle);
    const QString path = doc ? doc->PathName() : QString();
    std::string folder = m_host ? m_host->LastFolder() : std::string();
    if (folder.empty()) folder = Utf8(QDir::homePath());
    const QString pdf = Raw(PdfPathFor(Utf8(path), Utf8(title), folder));
    printer->setDocName(QFileInfo(pdf).completeBaseName());
    if (printer->outputFormat() == QPrinter::PdfFormat || QPrinterInfo::availablePrinterNames().isEmpty()) {
        printer->setOutputFileName(pdf);
    }
}

bool CViewPrinting::DoPrint(QPrinter* printer) {
    if (!PrintEditor(printer, m_doc.Editor())) {
        AfxMessageBox(m_window, Q(kPrintFailedText));
        return false;
    }
    return true;
}

void CViewPrinting::OnFilePrint() {
    m_commitEdit();  // the page shows what the open editor shows
    QPrinter* printer = PrinterForAllPages(m_host);
    OfferPdfBesideDocument(printer);
    QPrintDialog dialog(printer, m_window);
    // Print to file keeps a PDF copy where there is no printer.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, PrintPageCount(m_doc.Editor().Rows()));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    DoPrint(printer);
}

void CViewPrinting::OnFilePrintDirect() {
    m_commitEdit();  // the page shows what the open editor shows
    PrintAllPages();
}

bool CViewPrinting::PrintAllPages() {
    if (!quorim::PrintAllPages(ViewPrinter(m_host), m_doc.Editor())) {
        AfxMessageBox(m_window, Q(kPrintFailedText));
        return false;
    }
    return true;
}

void CViewPrinting::OnFilePrintPreview() {
    m_commitEdit();  // the page shows what the open editor shows
    QPrinter* printer = PrinterForAllPages(m_host);
    QPrintPreviewDialog preview(printer, m_window);
    preview.setWindowTitle(Q(kAppTitle));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        if (!PrintEditor(p, m_doc.Editor())) {
            AfxMessageBox(m_window, Q(kPrintFailedText));
        }
    });
    if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
        connect(widget, &QPrintPreviewWidget::previewChanged, widget, [widget] { PairPages(widget); });
    }
    // One page at a time for the 16-channel model, two side by side otherwise.
    const bool two = PreviewPagesShown(m_doc.Editor().Rows()) > 1;
    if (auto* mode = preview.findChild<QAction*>(two ? QStringLiteral("facingModeAction")
                                                     : QStringLiteral("singleModeAction"))) {
        mode->trigger();
    } else if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
        widget->setViewMode(two ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
    }
    // Wide enough for the whole toolbar: Print is its last button and would
    // otherwise sit behind the overflow arrow.
    if (auto* bar = preview.findChild<QToolBar*>()) {
        const QMargins m = preview.layout() ? preview.layout()->contentsMargins() : QMargins();
        preview.setMinimumWidth(bar->sizeHint().width() + m.left() + m.right());
    }
    preview.exec();
}

}  // namespace quorim
