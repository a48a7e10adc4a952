#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/port_selection.h"
#include "app/recent_files.h"
#include "app/ui/frame_host.h"
#include "base/translation.h"
#include "editor/ui/view_host.h"
#include "image/tone_table.h"

class QPrinter;
class QSettings;
class QTranslator;

namespace quorim {

class CChildFrame;
class CMainFrame;
class CVirtualRadio;
class CQuorim_CHDoc;
class CQuorim_CHView;

// The programming program's application object: start-up, the documents, the
// application-wide state (tone table, port name, recent files) and the
// application's commands. One instance for the life of the process.
class CQuorim_CHApp : public QObject, public CViewHost, public CFrameHost {
    Q_OBJECT

public:
    // The windows speak `language` (main takes it from the program's name).
    explicit CQuorim_CHApp(UiLanguage language = UiLanguage::Chinese);
    ~CQuorim_CHApp() override;

    // Start-up; args are the command-line arguments after the program's
    // name. False: the program ends (the main frame could not be made or the
    // command line could not be carried out).
    // `rawArgs`, when given, are the same arguments as the bytes the program
    // got: file names that are not UTF-8 reach the files they name.
    bool InitInstance(const QStringList& args, const std::vector<std::string>& rawArgs = {});
    // The program's exit status when InitInstance returned false: 0 after a
    // print from the command line, 1 when start-up failed.
    int ExitCode() const { return m_exitCode; }

    UiLanguage Language() const override { return m_language; }
    CMainFrame* MainFrame() const { return m_pMainWnd; }
    const ToneTable& Tones() const { return *m_ToneTable; }
    std::string PortName() const override { return m_port.Name(); }
    const PortSelection& Ports() const { return m_port; }
    const RecentFileList& RecentFiles() const override { return m_recent; }
    QList<CQuorim_CHDoc*> Documents() const { return m_documents; }
    // The printer that Print Setup configures and printing will use.
    QPrinter* Printer() override;
    std::string LastFolder() const override { return m_recent.LastFolder(); }

    // Application commands (ports, New, Open, Print Setup, About, recent
    // files); false for ids it does not know.
    bool OnCmdMsg(int id) override;
    bool IsCommandChecked(int id) const override;

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppAbout();
    void OnFileMruFile1();
    void OnPort(int n);
    // "设备…": the serial devices and the device each COMn stands for.
    void OnPortDevices();

    // Opens a file as a document (or activates its window when it is open
    // already). Null when it cannot be opened; the user has been told why.
    // A file that is a channel list is offered to be imported into a new
    // document instead (the document, or null when declined, refused or
    // cancelled).
    CQuorim_CHDoc* OpenDocumentFile(const QString& path) override;
    CQuorim_CHDoc* ImportCsvAsNewDocument(const QString& path);
    // Printing from the command line: the file is opened and printed on the
    // printer without the print dialog; false when either failed (the user
    // has been told why).
    bool PrintDocumentFile(const QString& path, const QString& printer);
    // Batch printing (--print-to-pdf): the file is printed straight into a
    // PDF file without a window; failures are told on standard error.
    // Both names are the bytes given on the command line.
    bool PrintDocumentToPdf(const std::string& path, const std::string& pdfPath);

    // Saving. False when the user cancelled or the save failed.
    bool OnFileSave(CQuorim_CHDoc* doc) override;
    bool OnFileSaveAs(CQuorim_CHDoc* doc) override;
    bool DoSave(CQuorim_CHDoc* doc, const QString& path);
    // A modified document offers to be saved: Save, Discard or Cancel.
    // True when it may close.
    bool SaveModified(CQuorim_CHDoc* doc);
    bool SaveAllModified() override;
    // Another window on the active document.
    void OnWindowNew(CQuorim_CHDoc* doc) override;

    void AddToRecentFileList(const QString& path);

signals:
    void RecentFilesChanged();

private:
    CChildFrame* CreateFrame(CQuorim_CHView* view);
    CQuorim_CHView* CreateView(CQuorim_CHDoc* doc);
    CQuorim_CHDoc* CreateDocument();
    void OnCanClose(CChildFrame* frame, bool& allow);
    void OnOpenRecentFile(int index);
    void LoadStdProfileSettings();
    void SaveStdProfileSettings();
    bool ProcessShellCommand(const QStringList& args);
    // Carries out a command line that ends the program before any window
    // (the PDF batch print, the shell registration switches); false for the
    // others.
    bool RunWithoutWindow(const ShellCommand& cmd);
    static std::string OwnProgramPath();

    const ToneTable* m_ToneTable = nullptr;
    PortSelection m_port;
    RecentFileList m_recent{4};
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QPrinter> m_printer;
    void InstallTranslators();

    UiLanguage m_language;
    // The toolkit's own Chinese texts (Chinese build) or the program's
    // English catalogue (English build).
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<QTranslator> m_translator;
    CMainFrame* m_pMainWnd = nullptr;
    // Started from the Devices dialog; ends with the application.
    CVirtualRadio* m_virtualRadio = nullptr;
    QList<CQuorim_CHDoc*> m_documents;
    int m_untitledCount = 0;
    bool m_closingAll = false;
    int m_exitCode = 1;
};

}  // namespace quorim
