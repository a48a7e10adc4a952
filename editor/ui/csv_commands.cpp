#include "editor/ui/csv_commands.h"

#include <QFileDialog>
#include <QFileInfo>

#include "editor/channel_csv.h"
#include "editor/ui/view_document.h"
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

CCsvCommands::CCsvCommands(QWidget* window, CViewDocument& doc, std::function<void()> commitEdit)
    : QObject(window), m_window(window), m_doc(doc), m_commitEdit(std::move(commitEdit)) {}

void CCsvCommands::OnFileImportCsv() {
    const QString path = QFileDialog::getOpenFileName(m_window, Q(kCmdImportCsv), QString(), CsvFilter());
    if (!path.isEmpty()) {
        ImportCsvFromFile(path);
    }
}

bool CCsvCommands::ImportCsvFromFile(const QString& path, bool newDocument) {
    CQuorim_CHDoc* document = m_doc.Get();
    if (!document || m_doc.Busy()) {
        return false;
    }
    m_commitEdit();  // an open editor's text is the document's before the import
    CsvImportOptions options;
    options.into = newDocument ? nullptr : &document->Data();
    options.layoutByHeader = true;
    DocumentData doc;
    EditorModel editor;
    const std::string name = Utf8(path);
    const CsvFileImport import = quorim::ImportCsvFile(name, options, doc, editor);
    const QString report = Raw(CsvImportReport(import, name, WindowTexts()));
    if (!import.Ok()) {
        AfxMessageBox(m_window, report);
        return false;
    }
    if (import.result.droppedChannels > 0 &&
        AfxMessageBox(m_window,
                      Q(kAskCsvDropChannels).arg(path, QString::number(import.result.droppedChannels)),
                      QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question,
                      QMessageBox::Cancel) != QMessageBox::Ok) {
        return false;
    }
    // The document takes the import whole, as one step of its history.
    emit Replacing();
    document->Data() = doc;
    CopyEditor(editor, document->Editor());
    emit Replaced();
    document->RecordChange(Q(kCmdImportCsv));
    ShowInStatusBar(m_window, Q(kStatusCsvImported).arg(path));
    if (!report.isEmpty()) {
        AfxMessageBox(m_window, report, QMessageBox::Ok, QMessageBox::Information);
    }
    return true;
}

void CCsvCommands::OnFileExportCsv() {
    const CQuorim_CHDoc* document = m_doc.Get();
    if (!document) {
        return;
    }
    m_commitEdit();  // the file holds what the open editor shows
    const QFileInfo source(document->PathName());
    const QString suggested =
        document->PathName().isEmpty()
            ? document->Title() + QStringLiteral(".csv")
            : source.absolutePath() + QLatin1Char('/') + source.completeBaseName() + QStringLiteral(".csv");
    QString path = QFileDialog::getSaveFileName(m_window, Q(kCmdExportCsv), suggested, CsvFilter());
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    ExportCsvToFile(path);
}

bool CCsvCommands::ExportCsvToFile(const QString& path) {
    const std::string text = ExportCsv(m_doc.Editor(), CsvLayout::Quorim, WindowTexts()).text;
    const FileStatus status = WriteFileAtomically(Utf8(path), text.data(), text.size());
    if (!status.Ok()) {
        AfxMessageBox(m_window, Raw(FileStatusText(status, WindowTexts())));
        return false;
    }
    ShowInStatusBar(m_window, Q(kStatusCsvExported).arg(path));
    return true;
}

}  // namespace quorim
