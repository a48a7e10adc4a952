// The application, its frames, menus, toolbar, status bar and documents.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <fstream>
#include <memory>

#include "app/ui/about_dlg.h"
#include "app/ui/child_frame.h"
#include "app/ui/main_frame.h"
#include "app/ui/mdi_client_wnd.h"
#include "app/ui/quorim_app.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "files/szt_file.h"
#include "gui_test_support.h"
#include "ui/commands.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Expected {
    const char* text;
    int id;
    const char* keys;
};

// The items of a menu in order, with "-" for separators and popups named.
QList<QAction*> ItemsOf(QMenu* menu) {
    return menu->actions();
}

}  // namespace

class AppTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    void Start(const QStringList& args = {}) {
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance(args));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }
    QList<QMdiSubWindow*> Windows() const { return Frame()->MdiClient()->subWindowList(); }
    void Press(QWidget* target, Qt::Key key) { QTest::keyClick(target, key, Qt::ControlModifier); }
    std::string SampleFile(const char* name, bool model199) {
        DocumentData doc;
        doc.OnNewDocument();
        // Channel 1: 145.12500 MHz receive.
        doc.m_image[16] = 0x00;
        doc.m_image[17] = 0x25;
        doc.m_image[18] = 0x51;
        doc.m_image[19] = 0x14;
        if (model199) {
            doc.m_image[kModelCodeOffset] = kModelCode199;
        }
        return test::WriteImageFile(m_dir.path().toStdString(), name, doc.m_image);
    }

private slots:
    void init() { QSettings(S("Local AppWizard-Generated Applications"), S("Halvoren数据文件")).clear(); }
    void cleanup() { m_app.reset(); }

    void startsWithOneNewDocument() {
        Start();
        QCOMPARE(Windows().size(), 1);
        CQuorim_CHView* view = Frame()->ActiveView();
        QVERIFY(view);
        QCOMPARE(view->Grid()->GetRows(), 17L);
        const char* headers[] = {"信道", "接收频率", "发射频率", "接收信令", "发射信令", "是否禁发"};
        for (int col = 0; col < 6; ++col) {
            QCOMPARE(view->Grid()->GetTextMatrix(0, col), S(headers[col]));
        }
        QCOMPARE(view->Grid()->GetTextMatrix(0, 6), QString());
        QCOMPARE(view->Grid()->GetTextMatrix(16, 0), S("16"));
        // The lists show what the decoder takes from a new image.
        QCOMPARE(view->Combo(SettingsList::Model)->currentText(), S("QZ - 16"));
        QCOMPARE(view->Combo(SettingsList::Band)->currentText(), S("130 - 150MHZ"));
        QCOMPARE(view->Combo(SettingsList::Tot)->currentText(), S("60s"));
        QCOMPARE(view->Combo(SettingsList::Squelch)->currentText(), S("4"));
        QCOMPARE(view->Combo(SettingsList::Power)->currentText(), S("9"));
        QCOMPARE(view->Combo(SettingsList::Monitor)->currentText(), S("打开"));
        QCOMPARE(view->Combo(SettingsList::Alarm)->currentText(), S("打开"));
        QCOMPARE(view->Combo(SettingsList::Bandwidth)->currentText(), S("宽"));
        QVERIFY(!view->GetDocument()->IsModified());
        QCOMPARE(Windows().first()->windowTitle(), S("Halvoren数据文件1[*]"));
        QCOMPARE(Frame()->windowTitle(), S("Halvoren对讲机写频软件"));
        QCOMPARE(m_app->PortName(), std::string("COM1"));
    }

    void frameSizesAndTitle() {
        Start();
        QCOMPARE(Frame()->size(), QSize(930, 630));
        // The document window is made 860 x 500 and shrinks to fit its form.
        QMdiSubWindow* child = Windows().first();
        QVERIFY(child->width() <= CChildFrame::kWidth && child->height() <= CChildFrame::kHeight);
        auto* view = qobject_cast<CQuorim_CHView*>(child->widget());
        QVERIFY(child->width() >= view->FormSize().width());
        // Maximised, the document's name still stays out of the main title.
        child->showMaximized();
        QCoreApplication::processEvents();
        QCOMPARE(Frame()->windowTitle(), S("Halvoren对讲机写频软件"));
    }

    void portsFollowAcceleratorsEvenInTextFields() {
        QUORIM_LINUX_ONLY("COMn stands for QUORIM_COMn devices on Linux only");
        Start();
        auto checked = [this] {
            QString list;
            for (int id : {ID_PORT_COM1, ID_PORT_COM2, ID_PORT_COM3, ID_PORT_COM4}) {
                list += Frame()->Action(id)->isChecked() ? QLatin1Char('x') : QLatin1Char('.');
            }
            return list;
        };
        QCOMPARE(checked(), S("x..."));
        CQuorim_CHView* view = Frame()->ActiveView();
        QLineEdit* edit = view->Combo(SettingsList::Squelch)->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QGuiApplication::clipboard()->setText(S("untouched"));
        // The port pane shows the port chosen and its device, if there.
        qputenv("QUORIM_COM3", "/dev/null");
        qputenv("QUORIM_COM2", "/dev/no-such-port");
        Press(edit, Qt::Key_E);
        QCOMPARE(m_app->PortName(), std::string("COM3"));
        QCOMPARE(checked(), S("..x."));
        QCOMPARE(Frame()->PortPaneText(), S("COM3 · /dev/null"));
        Press(edit, Qt::Key_D);
        QCOMPARE(checked(), S(".x.."));
        QCOMPARE(Frame()->PortPaneText(), S("COM2 · 未连接"));
        qunsetenv("QUORIM_COM3");
        qunsetenv("QUORIM_COM2");
        Press(edit, Qt::Key_F);
        QCOMPARE(checked(), S("...x"));
        Press(edit, Qt::Key_C);
        QCOMPARE(checked(), S("x..."));
        // The key went to the accelerator, not to the text field.
        QCOMPARE(QGuiApplication::clipboard()->text(), S("untouched"));
        QCOMPARE(edit->text(), S("4"));

        // In the grid the key reaches the accelerator, never the grid's own
        // key handling; a bare key press (no override offered first) too.
        CMSFlexGrid1* grid = view->Grid();
        grid->setFocus();
        int gridKeys = 0;
        connect(grid, &CMSFlexGrid1::KeyPress, this, [&](short&) { ++gridKeys; });
        Press(grid, Qt::Key_D);
        QCOMPARE(checked(), S(".x.."));
        QKeyEvent bare(QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier, S("\x06"));
        QApplication::sendEvent(grid, &bare);
        QCOMPARE(checked(), S("...x"));
        QCOMPARE(gridKeys, 0);
        QTest::keyClick(grid, Qt::Key_7);
        QCOMPARE(gridKeys, 1);

        // With no document open the port keys still work, the document keys do
        // nothing. (The 7 opened the frequency editor: closing commits it, and
        // 7 MHz is refused.)
        QVERIFY(view->Cells().EditCell()->isVisible());
        {
            MessageBoxAnswer refused(QMessageBox::Ok);
            Frame()->MdiClient()->closeAllSubWindows();
            QTRY_VERIFY(Windows().isEmpty());
            QCOMPARE(refused.Text(), S("输入数据错误，请按正确的格式及大小重新输入"));
        }
        QTRY_VERIFY(!Frame()->IsDocumentMenu());
        Press(Frame(), Qt::Key_E);
        QCOMPARE(m_app->PortName(), std::string("COM3"));
        Press(Frame(), Qt::Key_C);
        QCOMPARE(m_app->PortName(), std::string("COM1"));
        MessageBoxAnswer none(QMessageBox::Ok);
        Press(Frame(), Qt::Key_G);
        Press(Frame(), Qt::Key_S);
        QTest::qWait(30);
        QCOMPARE(none.Count(), 0);
        QVERIFY(Windows().isEmpty());
    }

    void menusHoldTheirItems() {
        Start();
        const QList<QMenu*> bar129 = Frame()->Menus(true);
        const QList<QMenu*> bar128 = Frame()->Menus(false);
        QStringList titles128;
        for (QMenu* m : bar128) titles128 << m->title();
        QCOMPARE(titles128, QStringList({S("文件(&F)"), S("查看(&V)"), S("帮助(&H)")}));
        QStringList titles129;
        for (QMenu* m : bar129) titles129 << m->title();
        QCOMPARE(titles129, QStringList({S("文件(&F)"), S("编辑"), S("编程(&E)"), S("端口设置"),
                                         S("查看(&V)"), S("窗口(&W)"), S("帮助(&H)")}));
        // The menu bar shows menu 129 while a document is active.
        QVERIFY(Frame()->IsDocumentMenu());
        QCOMPARE(Frame()->menuBar()->actions().size(), 7);

        auto check = [](QMenu* menu, const std::vector<Expected>& items) {
            const QList<QAction*> actions = ItemsOf(menu);
            QCOMPARE(actions.size(), static_cast<qsizetype>(items.size()));
            for (std::size_t i = 0; i < items.size(); ++i) {
                QAction* a = actions.at(static_cast<qsizetype>(i));
                if (items[i].id == 0) {
                    QVERIFY2(a->isSeparator(), items[i].text);
                    continue;
                }
                QCOMPARE(a->text(), S(items[i].text));
                QCOMPARE(a->data().toInt(), items[i].id);
                QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), S(items[i].keys));
            }
        };
        check(bar129[0], {{"新建(&N)", 57600, "Ctrl+N"},
                          {"打开(&O)...", 57601, "Ctrl+O"},
                          {"保存(&S)", 57603, "Ctrl+S"},
                          {"另存为(&A)...", 57604, ""},
                          {"-", 0, ""},
                          {"导入 CSV…", 32830, ""},
                          {"导出 CSV…", 32831, ""},
                          {"-", 0, ""},
                          {"打印(&P)...", 57607, "Ctrl+P"},
                          {"打印预览(&V)", 57609, ""},
                          {"打印设置(&R)...", 57606, ""},
                          {"-", 0, ""},
                          {"最近文件", 57616, ""},
                          {"-", 0, ""},
                          {"退出(&X)", 57665, ""}});
        // The channel table's editing commands with the keys the grid takes;
        // none of the frame's accelerators among them.
        check(bar129[1], {{"撤销", ID_EDIT_UNDO, "Ctrl+Z"},
                          {"重做", ID_EDIT_REDO, "Ctrl+Y"},
                          {"-", 0, ""},
                          {"剪切", ID_EDIT_CUT, "Shift+Del"},
                          {"复制", ID_EDIT_COPY, "Ctrl+Ins"},
                          {"粘贴", ID_EDIT_PASTE, "Shift+Ins"},
                          {"清除", ID_EDIT_CLEAR, "Del"},
                          {"-", 0, ""},
                          {"插入空信道", ID_EDIT_INSERT_CHANNEL, "Ins"},
                          {"删除信道", ID_EDIT_DELETE_CHANNELS, "Ctrl+Del"},
                          {"信道上移", ID_EDIT_MOVE_UP, "Alt+Up"},
                          {"信道下移", ID_EDIT_MOVE_DOWN, "Alt+Down"},
                          {"-", 0, ""},
                          {"全选", ID_EDIT_SELECT_ALL, "Ctrl+A"},
                          {"-", 0, ""},
                          {"设置…", ID_EDIT_SET_CELLS, ""},
                          {"向下填充", ID_EDIT_FILL_DOWN, ""},
                          {"递增填充", ID_EDIT_FILL_SERIES, ""},
                          {"套用频道方案…", ID_EDIT_APPLY_PLAN, ""},
                          {"-", 0, ""},
                          {"检查信道", ID_EDIT_CHECK_CHANNELS, ""},
                          {"按频道方案检查…", ID_EDIT_CHECK_PLAN, ""}});
        for (QAction* a : bar129[1]->actions()) {
            for (const QKeySequence& key : a->shortcuts()) {
                QVERIFY2(Frame()->CommandForKey(key[0]) == 0, qPrintable(key.toString()));
            }
        }
        check(bar129[2], {{"读频(&U)", 32771, "Ctrl+R"},
                          {"-", 0, ""},
                          {"写频", 32772, "Ctrl+W"},
                          {"-", 0, ""},
                          {"在线调试(&Y)", 32778, "Ctrl+T"},
                          {"-", 0, ""},
                          {"编辑信道", 32780, "Ctrl+G"}});
        check(bar129[3], {{"COM1(&P)", 32773, "Ctrl+C"},
                          {"COM2(&Q)", 32775, "Ctrl+D"},
                          {"COM3(&S)", 32776, "Ctrl+E"},
                          {"COM4(&T)", 32777, "Ctrl+F"},
                          {"-", 0, ""},
                          {"设备…", 32790, ""}});
        check(bar129[4], {{"工具栏(&T)", 59392, ""}, {"状态栏(&S)", 59393, ""}});
        check(bar129[6], {{"帮助主题(&H)", 57667, "F1"}, {"-", 0, ""}, {"关于 本软件(&A)...", 57664, ""}});
        check(bar128[0], {{"新建(&N)", 57600, "Ctrl+N"},
                          {"打开(&O)...", 57601, "Ctrl+O"},
                          {"-", 0, ""},
                          {"打印设置(&R)...", 57606, ""},
                          {"-", 0, ""},
                          {"最近文件", 57616, ""},
                          {"-", 0, ""},
                          {"退出(&X)", 57665, ""}});
        check(bar128[2], {{"帮助主题(&H)", 57667, "F1"}, {"-", 0, ""}, {"关于 Quorim_CH(&A)...", 57664, ""}});
        // "最近文件" is greyed while the list is empty.
        QVERIFY(!bar128[0]->actions().at(5)->isEnabled());

        // The Window popup lists the open document windows after its own items.
        QMenu* window = bar129[5];
        emit window->aboutToShow();
        QCOMPARE(window->actions().at(0)->text(), S("新建窗口(&N)"));
        QCOMPARE(window->actions().at(3)->text(), S("排列图标(&A)"));
        QCOMPARE(window->actions().last()->text(), S("&1 Halvoren数据文件1"));
        QVERIFY(window->actions().last()->isChecked());
    }

    void toolbarHoldsTwelveEntries() {
        Start();
        const QList<QAction*> actions = Frame()->ToolBarWnd()->actions();
        QCOMPARE(actions.size(), 12);
        const struct {
            int id;
            const char* status;
            const char* tip;
        } expected[] = {{57600, "建立新文档", "新建"},
                        {57601, "打开一个现有文档", "打开"},
                        {57603, "保存活动文档", "保存"},
                        {0, "", ""},
                        {32771, "读取对讲机频率", "读频"},
                        {32772, "写频率数据至对讲机", "写频"},
                        {32778, "实时修改对讲机发射功率，静燥等级，电池低压报警", "在线调试"},
                        {0, "", ""},
                        {32780, "修改各频道数据", "编辑"},
                        {0, "", ""},
                        {57607, "打印活动文档", "打印"},
                        {57664, "显示程序信息，版本号和版权", "关于"}};
        for (int i = 0; i < 12; ++i) {
            QAction* a = actions.at(i);
            if (expected[i].id == 0) {
                QVERIFY(a->isSeparator());
                continue;
            }
            QCOMPARE(a->data().toInt(), expected[i].id);
            QCOMPARE(a->statusTip(), S(expected[i].status));
            QCOMPARE(a->toolTip(), S(expected[i].tip));
            QVERIFY(!a->icon().isNull());
        }
        // Status bar: message pane with its idle text and the three lock panes.
        QCOMPARE(Frame()->MessageText(), S("如需帮助，请按F1键"));
        QStringList panes;
        for (QLabel* l : Frame()->IndicatorPanes()) panes << l->text();
        QCOMPARE(panes, QStringList({S("大写"), S("数字"), S("滚动")}));
        // The View menu hides and shows the bars, its items checked while shown.
        QVERIFY(Frame()->Action(ID_VIEW_TOOLBAR)->isChecked());
        Frame()->Action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(Frame()->ToolBarWnd()->isHidden());
        QVERIFY(!Frame()->Action(ID_VIEW_TOOLBAR)->isChecked());
        Frame()->Action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(Frame()->StatusBarWnd()->isHidden());
        Frame()->Action(ID_VIEW_TOOLBAR)->trigger();
        Frame()->Action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!Frame()->ToolBarWnd()->isHidden() && !Frame()->StatusBarWnd()->isHidden());
        QVERIFY(Frame()->Action(ID_VIEW_STATUS_BAR)->isChecked());
        // Document commands are greyed while no document is open.
        Frame()->MdiClient()->closeAllSubWindows();
        QTRY_VERIFY(Windows().isEmpty());
        QTRY_VERIFY(!Frame()->Action(ID_READ_RADIO)->isEnabled());
        QVERIFY(!Frame()->Action(ID_FILE_SAVE)->isEnabled());
        QVERIFY(Frame()->Action(ID_FILE_NEW)->isEnabled());
    }

    void opensFromTheCommandLineAndRefusesABadFile() {
        const std::string path = SampleFile("one.szt", false);
        Start({QString::fromStdString(path)});
        QCOMPARE(Windows().size(), 1);
        CQuorim_CHView* view = Frame()->ActiveView();
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), S("145.12500"));
        QCOMPARE(Windows().first()->windowTitle(), S("one.szt[*]"));
        QCOMPARE(m_app->RecentFiles().At(0),
                 QFileInfo(QString::fromStdString(path)).canonicalFilePath().toStdString());
        m_app.reset();

        // A file that cannot be read ends the start-up after saying why.
        const std::string shortFile = m_dir.path().toStdString() + "/short.szt";
        { std::ofstream(shortFile, std::ios::binary) << "abc"; }
        m_app = std::make_unique<CQuorim_CHApp>();
        MessageBoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_app->InitInstance({QString::fromStdString(shortFile)}));
        QCOMPARE(answer.Count(), 1);
        QVERIFY(answer.Text().contains(S("short.szt")));
    }

    // "导入 CSV…" takes an English-header list as one undo step, refuses a
    // bad one whole, and "导出 CSV…" writes the window's language; Open on a
    // CSV offers to import it.
    void csvFromTheFileMenu() {
        const QString english = m_dir.filePath(S("english.csv"));
        {
            std::ofstream(english.toStdString(), std::ios::binary)
                << "CH,RX Freq,TX Freq,RX Tone,TX Tone,TX Inhibit\r\n1,145.0125,,88.5,,Yes\r\n\r\n"
                   "Model,QZ - 16\r\nMonitor,Off\r\n";
        }
        const QString bad = m_dir.filePath(S("bad.csv"));
        {
            std::ofstream(bad.toStdString(), std::ios::binary)
                << "信道,接收频率,发射频率,接收信令,发射信令,是否禁发\n1,999,,,,否\n";
        }
        Start();
        CQuorim_CHView* view = Frame()->ActiveView();
        CQuorim_CHDoc* doc = view->GetDocument();
        QVERIFY(Frame()->IsCommandEnabled(ID_FILE_EXPORT_CSV));

        QVERIFY(view->Csv().ImportCsvFromFile(english));
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), S("145.01250"));
        QCOMPARE(view->Grid()->GetTextMatrix(1, kColInhibit), S("是"));
        QCOMPARE(view->Combo(SettingsList::Monitor)->currentText(), S("关闭"));
        QCOMPARE(doc->UndoStack()->count(), 1);
        QVERIFY(doc->IsModified());
        doc->UndoStack()->undo();
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), QString());
        QCOMPARE(view->Combo(SettingsList::Monitor)->currentText(), S("打开"));
        doc->UndoStack()->redo();
        // A list of the other model changes the rows, and undo brings them back.
        const QString big = m_dir.filePath(S("big.csv"));
        {
            std::ofstream(big.toStdString(), std::ios::binary)
                << "CH,RX Freq,TX Freq,RX Tone,TX Tone,TX Inhibit\n150,446.00625,,,,No\n\nModel,QZ - 199\n";
        }
        QVERIFY(view->Csv().ImportCsvFromFile(big));
        QCOMPARE(view->Grid()->GetRows(), 200L);
        QCOMPARE(view->Grid()->GetTextMatrix(150, 1), S("446.00625"));
        doc->UndoStack()->undo();
        QCOMPARE(view->Grid()->GetRows(), 17L);
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), S("145.01250"));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!view->Csv().ImportCsvFromFile(bad));
            QVERIFY(answer.Text().contains(S("未能导入")));
            QVERIFY(answer.Text().contains(S("row 2, column \"接收频率\" (\"999\")")));
        }
        QCOMPARE(doc->UndoStack()->index(), 1);  // nothing recorded
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), S("145.01250"));

        const QString out = m_dir.filePath(S("out.csv"));
        QVERIFY(view->Csv().ExportCsvToFile(out));
        std::ifstream in(out.toStdString(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY(text.starts_with(
            "\xEF\xBB\xBF信道,接收频率,发射频率,接收信令,发射信令,是否禁发\r\n1,145.01250,,88.5,,是\r\n"));

        // Open on a CSV: Yes imports it into a new document; a refused one leaves no window.
        {
            MessageBoxAnswer answer(QMessageBox::Yes);
            CQuorim_CHDoc* opened = m_app->OpenDocumentFile(english);
            QVERIFY(opened);
            QVERIFY(answer.Text().contains(S("逗号分隔的文本")));
            QCOMPARE(Windows().size(), 2);
            QCOMPARE(Frame()->ActiveView()->Grid()->GetTextMatrix(1, 1), S("145.01250"));
            QVERIFY(opened->PathName().isEmpty());  // Save asks where: the CSV is not overwritten
        }
        {
            MessageBoxAnswer answer(QMessageBox::Yes);
            QVERIFY(!m_app->OpenDocumentFile(bad));
            QTRY_COMPARE(Windows().size(), 2);
        }
    }

    void printSwitchPrintsTheFileAndEnds() {
        // The printer is set up before start-up, as Print Setup would leave
        // it: a PDF file here, so that nothing reaches paper.
        const std::string path = SampleFile("print.szt", false);
        const QString pdf = m_dir.filePath(S("print.pdf"));
        m_app = std::make_unique<CQuorim_CHApp>();
        m_app->Printer()->setOutputFormat(QPrinter::PdfFormat);
        m_app->Printer()->setOutputFileName(pdf);
        QVERIFY(!m_app->InitInstance({S("/p"), QString::fromStdString(path)}));
        QCOMPARE(m_app->ExitCode(), 0);
        QVERIFY(QFileInfo(pdf).size() > 0);

        // A printer that cannot start is told and ends with 1, as does a
        // file that cannot be read.
        m_app = std::make_unique<CQuorim_CHApp>();
        m_app->Printer()->setOutputFormat(QPrinter::PdfFormat);
        m_app->Printer()->setOutputFileName(m_dir.filePath(S("no-such-folder/print.pdf")));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            QVERIFY(!m_app->InitInstance({S("/p"), QString::fromStdString(path)}));
            QCOMPARE(m_app->ExitCode(), 1);
            QCOMPARE(answer.Count(), 1);
        }
        m_app = std::make_unique<CQuorim_CHApp>();
        MessageBoxAnswer answer(QMessageBox::Ok);
        QVERIFY(!m_app->InitInstance({S("-p"), QString::fromStdString(path + ".missing")}));
        QCOMPARE(m_app->ExitCode(), 1);
        QCOMPARE(answer.Count(), 1);
    }

    void a199ChannelFileHidesTheFunctionGroup() {
        Start({QString::fromStdString(SampleFile("big.szt", true))});
        CQuorim_CHView* view = Frame()->ActiveView();
        QCOMPARE(view->Grid()->GetRows(), 200L);
        QCOMPARE(view->Combo(SettingsList::Model)->currentText(), S("QZ - 199"));
        QVERIFY(view->ControlById(1008)->isHidden());
        QVERIFY(view->ControlById(1013)->isHidden());
        QVERIFY(!view->ControlById(1011)->isHidden());
    }

    void newWindowShowsTheSameDocument() {
        Start();
        CQuorim_CHDoc* doc = Frame()->ActiveView()->GetDocument();
        Frame()->OnCommand(ID_WINDOW_NEW);
        QCOMPARE(Windows().size(), 2);
        QCOMPARE(Frame()->ActiveView()->GetDocument(), doc);
        QCOMPARE(Windows().at(0)->windowTitle(), S("Halvoren数据文件1:1[*]"));
        QCOMPARE(Windows().at(1)->windowTitle(), S("Halvoren数据文件1:2[*]"));
        // A modified document with another window left closes this one quietly.
        doc->SetModifiedFlag(true);
        MessageBoxAnswer answer(QMessageBox::Cancel);
        Windows().at(1)->close();
        QTRY_COMPARE(Windows().size(), 1);
        QCOMPARE(answer.Count(), 0);
        QCOMPARE(Windows().at(0)->windowTitle(), S("Halvoren数据文件1[*]"));
    }

    void opensDroppedFiles() {
        Start();
        const std::string path = SampleFile("dropped.szt", false);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        // The drop comes after the window accepted the drag's entry.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &drop);
        QCOMPARE(Windows().size(), 2);
        QCOMPARE(Frame()->ActiveView()->GetDocument()->Title(), S("dropped.szt"));
        // Opening it again activates its window instead of a second copy.
        m_app->OpenDocumentFile(QString::fromStdString(path));
        QCOMPARE(Windows().size(), 2);
    }

    void firstRecentFileRefreshesTheView() {
        QUORIM_LINUX_ONLY("the menu shortens a Linux path");
        const std::string path = SampleFile("recent.szt", false);
        Start({QString::fromStdString(path)});
        QAction* entry = Frame()->Action(ID_FILE_MRU_FILE1);
        QVERIFY(entry && entry->isEnabled());
        QCOMPARE(entry->text(),
                 S("&1 ") + S(QString::fromStdString(path).size() > 30 ? "/.../recent.szt" : path.c_str()));
        CQuorim_CHView* view = Frame()->ActiveView();
        view->Grid()->SetTextMatrix(1, 1, S("150.00000"));
        entry->trigger();
        QCOMPARE(Windows().size(), 1);
        // The file is open already: its window keeps its unsaved edit.
        QCOMPARE(view->Grid()->GetTextMatrix(1, 1), S("150.00000"));
        // The list is kept in the profile under the program's key.
        QSettings settings(S("Local AppWizard-Generated Applications"), S("Halvoren数据文件"));
        QCOMPARE(settings.value(S("Recent File List/File1")).toString(),
                 QFileInfo(QString::fromStdString(path)).canonicalFilePath());
    }

    void recentEntriesThatCannotOpenAreDroppedExceptTheFirst() {
        const std::string a = SampleFile("a.szt", false);
        const std::string b = SampleFile("b.szt", false);
        Start({QString::fromStdString(a)});
        m_app->OpenDocumentFile(QString::fromStdString(b));  // b first, a second
        QCOMPARE(m_app->RecentFiles().Size(), 2);
        Frame()->MdiClient()->closeAllSubWindows();
        QTRY_VERIFY(Windows().isEmpty());
        QFile::remove(QString::fromStdString(a));
        QFile::remove(QString::fromStdString(b));
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            Frame()->OnCommand(ID_FILE_MRU_FILE1 + 1);
            QCOMPARE(answer.Count(), 1);
        }
        QCOMPARE(m_app->RecentFiles().Size(), 1);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            Frame()->OnCommand(ID_FILE_MRU_FILE1);
            QCOMPARE(answer.Count(), 1);
        }
        QCOMPARE(m_app->RecentFiles().Size(), 1);
    }

    void closingAModifiedDocumentAsks() {
        Start();
        CQuorim_CHView* view = Frame()->ActiveView();
        QMdiSubWindow* child = Windows().first();
        // Unmodified: closes without a question.
        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            child->close();
            QTRY_VERIFY(Windows().isEmpty());
            QCOMPARE(answer.Count(), 0);
        }
        Frame()->OnCommand(ID_FILE_NEW);
        view = Frame()->ActiveView();
        child = Windows().first();
        QCOMPARE(child->windowTitle(), S("Halvoren数据文件2[*]"));
        // A user's choice in a list marks the document.
        QComboBox* power = view->Combo(SettingsList::Power);
        power->setFocus();
        QTest::keyClick(power, Qt::Key_Up);
        QCOMPARE(power->currentText(), S("8"));
        QVERIFY(view->GetDocument()->IsModified());
        QVERIFY(child->isWindowModified());
        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            child->close();
            QCOMPARE(answer.Count(), 1);
            QCOMPARE(answer.Text(), S("是否保存对 Halvoren数据文件2 的更改？"));
            QCOMPARE(answer.Title(), S("Halvoren数据文件"));
        }
        QCOMPARE(Windows().size(), 1);
        // Leaving the program asks too; Cancel keeps it running.
        {
            MessageBoxAnswer answer(QMessageBox::Cancel);
            QVERIFY(!Frame()->close());
            QCOMPARE(answer.Count(), 1);
        }
        {
            MessageBoxAnswer answer(QMessageBox::Discard);
            child->close();
            QCOMPARE(answer.Count(), 1);
        }
        QTRY_VERIFY(Windows().isEmpty());
    }

    void savingWritesTheFileAndClearsTheMark() {
        const std::string path = SampleFile("save.szt", false);
        Start({QString::fromStdString(path)});
        CQuorim_CHView* view = Frame()->ActiveView();
        QComboBox* model = view->Combo(SettingsList::Model);
        model->setFocus();
        QTest::keyClick(model, Qt::Key_Down);  // "QZ - 199"
        QVERIFY(view->GetDocument()->IsModified());
        Press(model, Qt::Key_S);
        QVERIFY(!view->GetDocument()->IsModified());
        MemoryImage image{};
        QVERIFY(LoadSztFile(path, image).Ok());
        QCOMPARE(image[kModelCodeOffset], kModelCode199);
        QCOMPARE(QFileInfo(QString::fromStdString(path)).size(), 3216);
        // Reopened, it is a 199-channel document again.
        Frame()->MdiClient()->closeAllSubWindows();
        QTRY_VERIFY(Windows().isEmpty());
        m_app->OpenDocumentFile(QString::fromStdString(path));
        QCOMPARE(Frame()->ActiveView()->Grid()->GetRows(), 200L);
    }

    void backgroundIsStretchedOverTheClientArea() {
        Start();
        Frame()->MdiClient()->closeAllSubWindows();
        QTRY_VERIFY(Windows().isEmpty());
        const QImage picture =
            QImage(CMdiClientWnd::BackgroundResource()).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!picture.isNull());
        // Drawn from a picture large enough that a 1920 x 1080 screen
        // magnifies it at most twice: no pixels or bands show.
        QVERIFY(picture.width() >= 960 && picture.height() >= 540);
        for (const QSize size : {QSize(930, 630), QSize(1200, 760)}) {
            Frame()->resize(size);
            QCoreApplication::processEvents();
            QWidget* area = Frame()->MdiClient()->viewport();
            const QImage shot = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
            // Top and bottom rows of the window show the picture's top and bottom.
            auto close = [](QRgb a, QRgb b) {
                return qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 &&
                       qAbs(qBlue(a) - qBlue(b)) < 24;
            };
            QVERIFY(close(shot.pixel(2, 2), picture.pixel(0, 0)));
            QVERIFY(close(shot.pixel(shot.width() - 3, shot.height() - 3),
                          picture.pixel(picture.width() - 1, picture.height() - 1)));
        }
    }

    void aboutBoxShowsItsTexts() {
        Start();
        CAboutDlg dlg(Frame());
        QCOMPARE(dlg.windowTitle(), S("关于 Tarvolin写频软件"));
        QStringList texts;
        for (QLabel* l : dlg.findChildren<QLabel*>()) {
            if (!l->text().isEmpty()) texts << l->text();
        }
        QVERIFY(texts.contains(S("Tarvolin写频软件1.5 版")));
        auto* ok = dlg.findChild<QPushButton*>();
        QVERIFY(ok && ok->isDefault());
        QCOMPARE(ok->text(), S("确定"));
        dlg.show();
        QTest::keyClick(&dlg, Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

QObject* MakeAppTest() {
    return new AppTest;
}

#include "app_test.moc"
