#include "app/ui/quorim_app.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QTranslator>
#include <cstdio>

#include "app/command_line.h"
#include "app/document_template.h"
#include "app/shell_registration.h"
#include "app/ui/about_dlg.h"
#include "app/ui/child_frame.h"
#include "app/ui/main_frame.h"
#include "app/ui/mdi_client_wnd.h"
#include "editor/channel_csv.h"
#include "editor/document_file.h"
#include "editor/form_template.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/print_render.h"
#include "editor/ui/quorim_doc.h"
#include "files/file_status_text.h"
#include "files/read_backup.h"
#include "link/clone_engine.h"
#include "link/serial_discovery.h"
#include "link/ui/devices_dlg.h"
#include "link/ui/radio_transfer.h"
#include "link/ui/restore_dlg.h"
#include "link/ui/virtual_radio.h"
#include "tuning/ui/online_tuning.h"
#include "ui/commands.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/ui_text.h"

namespace quorim {

void InitResources();

namespace {

QString FileFilter() {
    return Q(DocTemplate().filterName) + QStringLiteral(";;") + Q(kAllFilesFilter);
}

QString CanonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// Text typed into a cell editor reaches the grid before the document is saved
// or asks to be saved, as it does before a read or write: otherwise it would
// be left out of the file, or lost without a question when the window closes.
void CommitPendingEdits(CQuorim_CHDoc* doc) {
    for (CQuorim_CHView* view : doc->Views()) {
        view->OnLeaveCellGrid();
    }
}

}  // namespace

CQuorim_CHApp::CQuorim_CHApp(UiLanguage language) : m_language(language) {
    InitResources();
}

CQuorim_CHApp::~CQuorim_CHApp() {
    m_closingAll = true;
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    // Closing the windows handed their documents to deleteLater.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qDeleteAll(m_documents);
    m_documents.clear();
    for (QTranslator* t : {m_translator.get(), m_qtTranslator.get()}) {
        if (t) {
            QCoreApplication::removeTranslator(t);
        }
    }
}

QPrinter* CQuorim_CHApp::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return m_printer.get();
}

bool CQuorim_CHApp::InitInstance(const QStringList& args, const std::vector<std::string>& rawArgs) {
    // Fonts first: every window is made with the template faces mapped.
    InstallFontSubstitutions();
    QApplication::setFont(TemplateFont(FormTemplate()));
    InstallTranslators();
    // The application's name and the profile's keys are the same in both
    // languages: one recent-file list.
    QApplication::setApplicationName(Raw(kAppTitle));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/res/icon128.png")));

    // The profile: below "Local AppWizard-Generated Applications", under the
    // application's title; the recent-file list holds four entries.
    m_settings = std::make_unique<QSettings>(Raw(kProfileRoot), Raw(kAppTitle));
    LoadStdProfileSettings();

    m_ToneTable = &ToneTable::Shared();
    m_port.Select(1);

    // A batch print and the shell registration switches need no window.
    {
        std::vector<std::string> list = rawArgs;
        if (list.empty()) {
            for (const QString& a : args) {
                list.push_back(Utf8(a));
            }
        }
        if (RunWithoutWindow(ParseCommandLine(list))) {
            return false;
        }
    }

    m_pMainWnd = new CMainFrame(this);
    if (!m_pMainWnd->LoadFrame()) {
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
        return false;
    }
    connect(this, &CQuorim_CHApp::RecentFilesChanged, m_pMainWnd, &CMainFrame::RefreshRecentFileMenu);
    // The shell opens and prints the data file with this program (dropped
    // files and open requests arrive as documents through the frame).
    RegisterShellFileTypes(OwnProgramPath(), ShellScope::CurrentUser);

    if (!ProcessShellCommand(args)) {
        return false;
    }
    m_pMainWnd->setWindowIcon(QIcon(QStringLiteral(":/res/icon131.png")));
    m_pMainWnd->show();
    m_pMainWnd->UpdateCommandUi();
    return true;
}

std::string CQuorim_CHApp::OwnProgramPath() {
    return Utf8(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
}

bool CQuorim_CHApp::RunWithoutWindow(const ShellCommand& cmd) {
    switch (cmd.kind) {
        case ShellCommand::Kind::FilePrintToPdf:
            if (!cmd.usage.empty()) {
                std::fprintf(stderr, "%s\n", cmd.usage.c_str());
                m_exitCode = 1;
            } else if (const std::string refusal = PdfOutputRefusal(cmd.output, cmd.file); !refusal.empty()) {
                std::fprintf(stderr, "%s\n", refusal.c_str());
                m_exitCode = 2;
            } else {
                m_exitCode = PrintDocumentToPdf(cmd.file, cmd.output) ? 0 : 1;
            }
            return true;
        case ShellCommand::Kind::AppRegister:
        case ShellCommand::Kind::AppUnregister: {
            const ShellScope scope = cmd.allUsers ? ShellScope::AllUsers : ShellScope::CurrentUser;
            const ShellRegistrationResult r = cmd.kind == ShellCommand::Kind::AppRegister
                                                  ? RegisterShellFileTypes(OwnProgramPath(), scope)
                                                  : UnregisterShellFileTypes(OwnProgramPath(), scope);
            m_exitCode = r == ShellRegistrationResult::Failed ? 1 : 0;
            return true;
        }
        default:
            return false;
    }
}

void CQuorim_CHApp::InstallTranslators() {
    if (m_language == UiLanguage::English) {
        // Every text the windows show, from the catalogue built into the
        // program; the toolkit's own dialogs speak English by themselves.
        m_translator = std::make_unique<QTranslator>();
        if (m_translator->load(QStringLiteral(":/i18n/quorim_en.qm"))) {
            QCoreApplication::installTranslator(m_translator.get());
        }
        return;
    }
    // The program speaks Chinese; so do the toolkit's own dialogs (files,
    // printer, standard buttons) where their translation is installed.
    m_qtTranslator = std::make_unique<QTranslator>();
    if (m_qtTranslator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                             QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(m_qtTranslator.get());
    }
}

bool CQuorim_CHApp::ProcessShellCommand(const QStringList& args) {
    std::vector<std::string> list;
    for (const QString& a : args) {
        list.push_back(Utf8(a));
    }
    const ShellCommand cmd = ParseCommandLine(list);
    switch (cmd.kind) {
        case ShellCommand::Kind::FileNew:
            OnFileNew();
            return !m_documents.isEmpty();
        case ShellCommand::Kind::FileOpen:
            return OpenDocumentFile(Raw(cmd.file)) != nullptr;
        case ShellCommand::Kind::FilePrintToPdf:
        case ShellCommand::Kind::AppRegister:
        case ShellCommand::Kind::AppUnregister:
            return false;  // done before the main frame was made
        case ShellCommand::Kind::FilePrint:
        case ShellCommand::Kind::FilePrintTo:
            // The program prints the file and ends.
            m_exitCode = PrintDocumentFile(Raw(cmd.file), Raw(cmd.printer)) ? 0 : 1;
            return false;
    }
    return false;
}

void CQuorim_CHApp::LoadStdProfileSettings() {
    std::vector<std::string> stored;
    m_settings->beginGroup(Raw(kRecentFileSection));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        stored.push_back(Utf8(m_settings->value(QStringLiteral("File%1").arg(i)).toString()));
    }
    m_settings->endGroup();
    m_recent = RecentFileList(kRecentFileCount);
    m_recent.Load(stored);
    // The devices the user assigned to COM1..COM4, by their by-id links.
    std::array<std::string, 4> ports;
    m_settings->beginGroup(QStringLiteral("Ports"));
    for (int n = 1; n <= 4; ++n) {
        ports[static_cast<std::size_t>(n) - 1] =
            Utf8(m_settings->value(QStringLiteral("COM%1").arg(n)).toString());
    }
    m_settings->endGroup();
    SetComAssignments(ports);
    CRadioTransfer::SetBackUpBeforeWrite(
        m_settings->value(QStringLiteral("Write/BackUpBeforeWrite")).toBool());
}

void CQuorim_CHApp::SaveStdProfileSettings() {
    if (!m_settings) {
        return;
    }
    m_settings->beginGroup(Raw(kRecentFileSection));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string path = m_recent.At(i - 1);
        if (path.empty()) {
            m_settings->remove(QStringLiteral("File%1").arg(i));
        } else {
            m_settings->setValue(QStringLiteral("File%1").arg(i), Raw(path));
        }
    }
    m_settings->endGroup();
    m_settings->sync();
}

void CQuorim_CHApp::AddToRecentFileList(const QString& path) {
    m_recent.Add(Utf8(path));
    SaveStdProfileSettings();
    emit RecentFilesChanged();
}

// --- Documents and frames ----------------------------------------------------

CQuorim_CHDoc* CQuorim_CHApp::CreateDocument() {
    auto* doc = new CQuorim_CHDoc;
    m_documents.append(doc);
    connect(doc, &CQuorim_CHDoc::Closed, this, [this](CQuorim_CHDoc* d) {
        m_documents.removeAll(d);
        d->deleteLater();
    });
    return doc;
}

namespace {

// After a write that stopped partway, the radio's memory kept before it: the
// radio may hold part of the new data, and what it held can go back.
void OfferRestore(QWidget* over, const std::string& port) {
    if (AfxMessageBox(over, Q(kAskRestoreAfterInterrupt), QMessageBox::Ok | QMessageBox::Cancel,
                      QMessageBox::Question, QMessageBox::Ok) == QMessageBox::Ok) {
        auto* dlg = new CRestoreDlg(ReadBackupFolder(), port, over);
        dlg->setAttribute(Qt::WA_DeleteOnClose);
        dlg->open();
    }
}

}  // namespace

CQuorim_CHView* CQuorim_CHApp::CreateView(CQuorim_CHDoc* doc) {
    auto* view = new CQuorim_CHView(doc, this);
    // The view owns its transfer and its tuning; they meet only here.
    auto* transfer = new CRadioTransfer(view, view->Grid(), doc->Editor(), doc->Busy());
    connect(view, &CQuorim_CHView::TransferCommand, transfer, &CRadioTransfer::Open);
    connect(transfer, &CRadioTransfer::RadioTransfer, view, &CQuorim_CHView::OnRadioTransfer);
    CRadioCommands* radio = &view->Radio();
    connect(view, &CQuorim_CHView::RunTransfer, transfer, &CRadioTransfer::Run);
    connect(transfer, &CRadioTransfer::Running, radio, &CRadioCommands::OnTransferRunning);
    connect(transfer, &CRadioTransfer::Transferred, radio, &CRadioCommands::OnTransferred);
    connect(transfer, &CRadioTransfer::WriteInterruptedAfterSnapshot, view,
            [view](const std::string& port) { OfferRestore(view, port); });
    auto* tuning = new COnlineTuning(view);
    connect(view, &CQuorim_CHView::OnlineTuning, tuning, &COnlineTuning::Run);
    if (m_pMainWnd) {
        connect(view, &CQuorim_CHView::MessageText, m_pMainWnd, &CMainFrame::SetMessageText);
        // The result and check panes are the document's.
        CMainFrame* frame = m_pMainWnd;
        connect(view, &CQuorim_CHView::TransferResultText, frame,
                [frame, doc](const QString& text) { frame->SetTransferResult(text, doc); });
        connect(view, &CQuorim_CHView::CheckSummaryText, frame,
                [frame, doc](const QString& text) { frame->SetCheckSummary(text, doc); });
        connect(transfer, &CRadioTransfer::Running, frame,
                [frame, doc](bool running) { frame->OnTransferRunning(running, doc); });
        connect(doc, &QObject::destroyed, frame, [frame, doc] { frame->ForgetDocument(doc); });
    }
    return view;
}

CChildFrame* CQuorim_CHApp::CreateFrame(CQuorim_CHView* view) {
    auto* frame = new CChildFrame(view);
    connect(frame, &CChildFrame::CanClose, this, &CQuorim_CHApp::OnCanClose);
    m_pMainWnd->AddChild(frame);
    frame->show();
    view->OnInitialUpdate();
    m_pMainWnd->MdiClient()->setActiveSubWindow(frame);
    m_pMainWnd->UpdateCommandUi();
    return frame;
}

void CQuorim_CHApp::OnFileNew() {
    CQuorim_CHDoc* doc = CreateDocument();
    if (!doc->OnNewDocument()) {
        m_documents.removeAll(doc);
        delete doc;
        return;
    }
    doc->SetTitle(Q(DocTemplate().fileNewName) + QString::number(++m_untitledCount));
    CreateFrame(CreateView(doc));
}

CQuorim_CHDoc* CQuorim_CHApp::OpenDocumentFile(const QString& path) {
    const QString canonical = CanonicalPath(path);
    for (CQuorim_CHDoc* doc : m_documents) {
        if (!doc->PathName().isEmpty() && CanonicalPath(doc->PathName()) == canonical) {
            if (!doc->Views().isEmpty()) {
                if (auto* frame = qobject_cast<QMdiSubWindow*>(doc->Views().first()->parentWidget())) {
                    m_pMainWnd->MdiClient()->setActiveSubWindow(frame);
                }
            }
            return doc;
        }
    }
    CQuorim_CHDoc* doc = CreateDocument();
    CQuorim_CHView* view = CreateView(doc);
    const FileStatus status = OpenDocument(Utf8(canonical), doc->Data(), doc->Editor());
    // A channel list is offered to be imported into a new document instead.
    if (IsChannelListFile(Utf8(canonical), status) &&
        AfxMessageBox(m_pMainWnd, Q(kAskOpenCsv).arg(canonical), QMessageBox::Yes | QMessageBox::No,
                      QMessageBox::Question, QMessageBox::Yes) == QMessageBox::Yes) {
        delete view;
        m_documents.removeAll(doc);
        delete doc;
        return ImportCsvAsNewDocument(canonical);
    }
    if (!status.Ok()) {
        // No window for a file that cannot be read.
        delete view;
        m_documents.removeAll(doc);
        delete doc;
        AfxMessageBox(m_pMainWnd, Raw(FileStatusText(status, WindowTexts())));
        return nullptr;
    }
    doc->SetPathName(canonical);
    doc->SetModifiedFlag(false);
    doc->SetDoubt(status.doubt);
    AddToRecentFileList(canonical);
    CreateFrame(view);
    if (status.doubt != ImageDoubt::None) {
        AfxMessageBox(m_pMainWnd, Raw(ImageDoubtText(Utf8(canonical), status.doubt, WindowTexts())));
    }
    return doc;
}

CQuorim_CHDoc* CQuorim_CHApp::ImportCsvAsNewDocument(const QString& path) {
    OnFileNew();
    CQuorim_CHDoc* doc = m_documents.isEmpty() ? nullptr : m_documents.last();
    CQuorim_CHView* view = doc && !doc->Views().isEmpty() ? doc->Views().first() : nullptr;
    if (!view) {
        return nullptr;
    }
    if (!view->Csv().ImportCsvFromFile(path, true)) {
        // Refused or cancelled (the user was told): the new window goes again.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget())) {
            frame->close();
        }
        return nullptr;
    }
    return doc;
}

bool CQuorim_CHApp::PrintDocumentFile(const QString& path, const QString& printer) {
    CQuorim_CHDoc* doc = OpenDocumentFile(path);
    if (!doc) {
        return false;
    }
    if (!printer.isEmpty()) {
        Printer()->setPrinterName(printer);
    }
    if (!PrintAllPages(Printer(), doc->Editor())) {
        AfxMessageBox(m_pMainWnd, Q(kPrintFailedText));
        return false;
    }
    return true;
}

bool CQuorim_CHApp::PrintDocumentToPdf(const std::string& path, const std::string& pdfPath) {
    // The document is filled as for an opened file; no window shows it.
    CQuorim_CHDoc doc;
    const FileStatus status = OpenDocument(path, doc.Data(), doc.Editor());
    if (!status.Ok()) {
        std::fprintf(stderr, "%s\n", status.Message().c_str());
        return false;
    }
    if (status.doubt != ImageDoubt::None) {
        std::fprintf(stderr, "warning: %s\n", status.DoubtMessage().c_str());
    }
    doc.InitialUpdate();
    std::string error;
    if (!PrintEditorToPdf(pdfPath, doc.Editor(), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

void CQuorim_CHApp::OnWindowNew(CQuorim_CHDoc* doc) {
    CreateFrame(CreateView(doc));
}

void CQuorim_CHApp::OnCanClose(CChildFrame* frame, bool& allow) {
    // The view runs a transfer: its window stays until the transfer ends
    // (another window of the document may close).
    const auto* transfer = frame->View()->findChild<CRadioTransfer*>(QString(), Qt::FindDirectChildrenOnly);
    if (transfer && transfer->IsRunning()) {
        allow = false;
        return;
    }
    CQuorim_CHDoc* doc = frame->View()->GetDocument();
    // Only the document's last window asks.
    if (m_closingAll || !doc || doc->Views().size() > 1) {
        return;
    }
    allow = SaveModified(doc);
}

bool CQuorim_CHApp::SaveModified(CQuorim_CHDoc* doc) {
    CommitPendingEdits(doc);
    if (!doc->IsModified()) {
        return true;
    }
    const QString text = Q(AskToSaveText()).arg(doc->Title());
    switch (AfxMessageBox(m_pMainWnd, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                          QMessageBox::Question)) {
        case QMessageBox::Save:
            return OnFileSave(doc);
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

bool CQuorim_CHApp::SaveAllModified() {
    for (CQuorim_CHDoc* doc : m_documents) {
        if (!SaveModified(doc)) {
            return false;
        }
    }
    // Everything is saved or given up: the windows close without asking again.
    m_closingAll = true;
    return true;
}

bool CQuorim_CHApp::OnFileSave(CQuorim_CHDoc* doc) {
    if (doc->PathName().isEmpty()) {
        return OnFileSaveAs(doc);
    }
    return DoSave(doc, doc->PathName());
}

bool CQuorim_CHApp::OnFileSaveAs(CQuorim_CHDoc* doc) {
    QString suggested = doc->PathName();
    if (suggested.isEmpty()) {
        // A new document goes where the last file went.
        const QString folder = Raw(LastFolder());
        suggested = (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + doc->Title() +
                    Q(DocTemplate().filterExt);
    }
    QString path = QFileDialog::getSaveFileName(m_pMainWnd, QString(), suggested, FileFilter());
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += Q(DocTemplate().filterExt);
    }
    return DoSave(doc, path);
}

bool CQuorim_CHApp::DoSave(CQuorim_CHDoc* doc, const QString& path) {
    CommitPendingEdits(doc);
    const FileStatus status = SaveDocument(Utf8(path), doc->Editor(), doc->Data());
    if (!status.Ok()) {
        AfxMessageBox(m_pMainWnd, Raw(FileStatusText(status, WindowTexts())));
        return false;
    }
    doc->SetPathName(CanonicalPath(path));
    doc->SetModifiedFlag(false);
    doc->SetDoubt(ImageDoubt::None);  // the file is now an image this program wrote
    AddToRecentFileList(doc->PathName());
    return true;
}

// --- Commands ----------------------------------------------------------------

bool CQuorim_CHApp::OnCmdMsg(int id) {
    switch (id) {
        case ID_PORT_COM1:
            OnPort(1);
            return true;
        case ID_PORT_COM2:
            OnPort(2);
            return true;
        case ID_PORT_COM3:
            OnPort(3);
            return true;
        case ID_PORT_COM4:
            OnPort(4);
            return true;
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_FILE_OPEN:
            OnFileOpen();
            return true;
        case ID_FILE_PRINT_SETUP:
            OnFilePrintSetup();
            return true;
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_PORT_DEVICES:
            OnPortDevices();
            return true;
        case ID_FILE_MRU_FILE1:
            OnFileMruFile1();
            return true;
        default:
            if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4) {
                OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
                return true;
            }
            return false;
    }
}

bool CQuorim_CHApp::IsCommandChecked(int id) const {
    switch (id) {
        case ID_PORT_COM1:
            return m_port.IsChecked(1);
        case ID_PORT_COM2:
            return m_port.IsChecked(2);
        case ID_PORT_COM3:
            return m_port.IsChecked(3);
        case ID_PORT_COM4:
            return m_port.IsChecked(4);
        default:
            return false;
    }
}

void CQuorim_CHApp::OnPort(int n) {
    m_port.Select(n);
}

void CQuorim_CHApp::OnFileOpen() {
    // In the last folder a file was opened from or saved to.
    const QString path = QFileDialog::getOpenFileName(m_pMainWnd, QString(), Raw(LastFolder()), FileFilter());
    if (!path.isEmpty()) {
        OpenDocumentFile(path);
    }
}

void CQuorim_CHApp::OnFilePrintSetup() {
    QPrintDialog dialog(Printer(), m_pMainWnd);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

void CQuorim_CHApp::OnPortDevices() {
    UdevSerialDevices devices;
    if (!m_virtualRadio) {
        m_virtualRadio = new CVirtualRadio(this);
    }
    CDevicesDlg dlg(devices, m_pMainWnd, m_language, m_virtualRadio);
    dlg.SetPortToTest(m_port.Name());
    connect(&dlg, &CDevicesDlg::VirtualRadioStarted, this, [this] {
        if (m_pMainWnd) {
            m_pMainWnd->UpdatePortPane();
        }
    });
    connect(&dlg, &CDevicesDlg::AssignmentsChanged, this, [this](const std::array<std::string, 4>& paths) {
        if (m_pMainWnd) {
            m_pMainWnd->UpdatePortPane();
        }
        if (!m_settings) {
            return;
        }
        m_settings->beginGroup(QStringLiteral("Ports"));
        for (int n = 1; n <= 4; ++n) {
            const std::string& path = paths[static_cast<std::size_t>(n) - 1];
            if (!path.empty() && Raw(path) == m_virtualRadio->Path()) {
                continue;  // the virtual radio's terminal lives only for this run
            }
            if (path.empty()) {
                m_settings->remove(QStringLiteral("COM%1").arg(n));
            } else {
                m_settings->setValue(QStringLiteral("COM%1").arg(n), Raw(path));
            }
        }
        m_settings->endGroup();
        m_settings->sync();
    });
    connect(&dlg, &CDevicesDlg::BackUpBeforeWriteChanged, this, [this](bool on) {
        if (m_settings) {
            m_settings->setValue(QStringLiteral("Write/BackUpBeforeWrite"), on);
            m_settings->sync();
        }
    });
    dlg.exec();
}

void CQuorim_CHApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainWnd);
    dlg.exec();
}

void CQuorim_CHApp::OnFileMruFile1() {
    const std::string first = m_recent.At(0);
    if (first.empty()) {
        return;
    }
    // An entry that cannot be opened stays. Only a document opened here is
    // refreshed: the window of a file already open, or the active one after
    // a failure, keeps its unsaved edits.
    const qsizetype before = m_documents.size();
    CQuorim_CHDoc* doc = OpenDocumentFile(Raw(first));
    if (!doc || m_documents.size() == before) {
        return;
    }
    if (CQuorim_CHView* view = m_pMainWnd->ActiveView(); view && view->GetDocument() == doc) {
        view->OnInitialUpdate();
    }
}

void CQuorim_CHApp::OnOpenRecentFile(int index) {
    const std::string path = m_recent.At(index);
    if (path.empty()) {
        return;
    }
    if (!OpenDocumentFile(Raw(path))) {
        // OpenDocumentFile put nothing new in front: the entry is still at index.
        if (m_recent.At(index) == path) {
            m_recent.Remove(index);
            SaveStdProfileSettings();
            emit RecentFilesChanged();
        }
    }
}

}  // namespace quorim
