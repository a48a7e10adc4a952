#pragma once

#include <QObject>
#include <functional>

class QPrinter;
class QWidget;

namespace quorim {

class CViewDocument;
class CViewHost;

// Printing a document window: the File menu's Print (with the print
// dialog), the toolbar's direct print, and Print Preview. All three draw
// through RenderPrintPage, on the printer Print Setup configured (without a
// host, on a printer of its own); each stores the open cell editor first, so
// the page shows what the editor shows.
class CViewPrinting : public QObject {
    Q_OBJECT

public:
    CViewPrinting(QWidget* window, CViewDocument& doc, CViewHost* host, std::function<void()> commitEdit);

    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Every page on the application's printer, without the print dialog;
    // false (and the user told) when the printer cannot start.
    bool PrintAllPages();

private:
    // Prints the pages on `printer`; tells the user when it cannot start.
    bool DoPrint(QPrinter* printer);
    void OfferPdfBesideDocument(QPrinter* printer);

    QWidget* m_window;
    CViewDocument& m_doc;
    CViewHost* m_host;
    std::function<void()> m_commitEdit;
};

}  // namespace quorim
