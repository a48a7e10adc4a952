// Printing and print preview of a document: the File menu's Print (with the
// print dialog), the toolbar's direct print, and Print Preview. All three
// draw through RenderPrintPage, on the printer Print Setup configured.
#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <memory>

#include "app/commands.h"
#include "app/ui/message_box.h"
#include "app/ui/quorim_app.h"
#include "app/ui/ui_text.h"
#include "editor/print_layout.h"
#include "editor/ui/form_view.h"
#include "editor/ui/print_render.h"

namespace quorim {

namespace {

// The application's printer; a view without an application (a window test
// of its own) prints on a printer of its own.
QPrinter* ViewPrinter() {
    if (CQuorim_CHApp* app = CQuorim_CHApp::Instance()) {
        return app->Printer();
    }
    static std::unique_ptr<QPrinter> own = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return own.get();
}

// Every print starts from all pages; only the print dialog narrows the range.
QPrinter* PrinterForAllPages() {
    QPrinter* printer = ViewPrinter();
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(0, 0);
    return printer;
}

}  // namespace

bool CQuorim_CHView::DoPrint(QPrinter* printer) {
    if (!PrintEditor(printer, *this)) {
        AfxMessageBox(this, Q(kPrintFailedText));
        return false;
    }
    return true;
}

void CQuorim_CHView::OnFilePrint() {
    QPrinter* printer = PrinterForAllPages();
    QPrintDialog dialog(printer, this);
    // Print to file keeps a PDF copy where there is no printer.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, PrintPageCount(Rows()));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    DoPrint(printer);
}

void CQuorim_CHView::OnFilePrintDirect() {
    PrintAllPages();
}

bool CQuorim_CHView::PrintAllPages() {
    return DoPrint(PrinterForAllPages());
}

void CQuorim_CHView::OnFilePrintPreview() {
    QPrinter* printer = PrinterForAllPages();
    QPrintPreviewDialog preview(printer, this);
    preview.setWindowTitle(Q(kAppTitle));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        if (!PrintEditor(p, *this)) {
            AfxMessageBox(this, Q(kPrintFailedText));
        }
    });
    // One page at a time for the 16-channel model, two side by side otherwise.
    const bool two = PreviewPagesShown(Rows()) > 1;
    if (auto* mode = preview.findChild<QAction*>(two ? QStringLiteral("facingModeAction")
                                                     : QStringLiteral("singleModeAction"))) {
        mode->trigger();
    } else if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
        widget->setViewMode(two ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
    }
    preview.exec();
}

}  // namespace quorim
