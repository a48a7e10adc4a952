// The File menu's "导入 CSV…" and "导出 CSV…": a channel list as a
// spreadsheet keeps it, in the window's language, read back in either.
#include <QFileDialog>
#include <QFileInfo>

#include "editor/channel_csv.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "files/file_status_text.h"
#include "files/safe_file.h"
#include "files/szt_file.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

QString CsvFilter() {
    return Q(kCsvFilter) + QStringLiteral(";;") + Q(kAllFilesFilter);
}

}  // namespace

void CQuorim_CHView::OnFileImportCsv() {
    const QString path = QFileDialog::getOpenFileName(this, Q(kCmdImportCsv), QString(), CsvFilter());
    if (!path.isEmpty()) {
        ImportCsvFromFile(path);
    }
}

bool CQuorim_CHView::ImportCsvFromFile(const QString& path, bool newDocument) {
    if (!m_pDocument || IsTransferRunning()) {
        return false;
    }
    OnLeaveCellGrid();  // an open editor's text is the document's before the import
    CsvImportOptions options;
    options.into = newDocument ? nullptr : &m_pDocument->Data();
    options.layoutByHeader = true;
    DocumentData doc;
    EditorModel editor;
    const std::string name = Utf8(path);
    const CsvFileImport import = quorim::ImportCsvFile(name, options, doc, editor);
    const QString report = Raw(CsvImportReport(import, name, WindowTexts()));
    if (!import.Ok()) {
        AfxMessageBox(this, report);
        return false;
    }
    if (import.result.droppedChannels > 0 &&
        AfxMessageBox(this, Q(kAskCsvDropChannels).arg(path, QString::number(import.result.droppedChannels)),
                      QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
                      QMessageBox::Cancel) != QMessageBox::Ok) {
        return false;
    }
    // The document takes the import whole, as one step of its history.
    HideCellEditors();
    m_pDocument->Data() = doc;
    CopyEditor(editor, m_pDocument->Editor());
    ReloadCellEditors();
    SyncFunctionSettings();
    m_pDocument->RecordChange(Q(kCmdImportCsv));
    m_grid->viewport()->update();
    ShowInStatusBar(this, Q(kStatusCsvImported).arg(path));
    if (!report.isEmpty()) {
        AfxMessageBox(this, report, QMessageBox::Ok, QMessageBox::Information);
    }
    return true;
}

void CQuorim_CHView::OnFileExportCsv() {
    if (!m_pDocument) {
        return;
    }
    OnLeaveCellGrid();  // the file holds what the open editor shows
    const QFileInfo source(m_pDocument->PathName());
    const QString suggested =
        m_pDocument->PathName().isEmpty()
            ? m_pDocument->Title() + QStringLiteral(".csv")
            : source.absolutePath() + QLatin1Char('/') + source.completeBaseName() + QStringLiteral(".csv");
    QString path = QFileDialog::getSaveFileName(this, Q(kCmdExportCsv), suggested, CsvFilter());
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    ExportCsvToFile(path);
}

bool CQuorim_CHView::ExportCsvToFile(const QString& path) {
    const std::string text = ExportCsv(Editor(), CsvLayout::Quorim, WindowTexts()).text;
    const FileStatus status = WriteFileAtomically(Utf8(path), text.data(), text.size());
    if (!status.Ok()) {
        AfxMessageBox(this, Raw(FileStatusText(status, WindowTexts())));
        return false;
    }
    ShowInStatusBar(this, Q(kStatusCsvExported).arg(path));
    return true;
}

}  // namespace quorim
