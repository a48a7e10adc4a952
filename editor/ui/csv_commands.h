#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace quorim {

class CViewDocument;

// The File menu's "导入 CSV…" and "导出 CSV…" of a document window: a
// channel list as a spreadsheet keeps it, in the window's language, read
// back in either. Both store the open cell editor first.
class CCsvCommands : public QObject {
    Q_OBJECT

public:
    CCsvCommands(QWidget* window, CViewDocument& doc, std::function<void()> commitEdit);

    void OnFileImportCsv();
    void OnFileExportCsv();
    // An import goes into the document (into a new one's bytes with
    // `newDocument`) as one step of its history; false, and the user told
    // why, when the file was refused or the user cancelled.
    bool ImportCsvFromFile(const QString& path, bool newDocument = false);
    bool ExportCsvToFile(const QString& path);

signals:
    // The document's data is about to be replaced whole, and was.
    void Replacing();
    void Replaced();

private:
    QWidget* m_window;
    CViewDocument& m_doc;
    std::function<void()> m_commitEdit;
};

}  // namespace quorim
