// Windows that fit their texts in both languages, a document view that
// grows with its window, and the user guide behind F1 and Shift+F1.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/about_dlg.h"
#include "app/ui/child_frame.h"
#include "app/ui/help_guide.h"
#include "app/ui/help_window.h"
#include "app/ui/main_frame.h"
#include "app/ui/mdi_client_wnd.h"
#include "app/ui/quorim_app.h"
#include "editor/bulk_edit.h"
#include "editor/cell_rules.h"
#include "editor/channel_check.h"
#include "editor/channel_edit.h"
#include "editor/form_template.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "fit_check.h"
#include "gui_test_support.h"
#include "link/clone_engine.h"
#include "link/progress_template.h"
#include "link/serial_devices.h"
#include "link/ui/devices_dlg.h"
#include "link/ui/progress_dlg.h"
#include "tuning/tuning_dialog.h"
#include "tuning/ui/tuning_dlg.h"
#include "ui/commands.h"
#include "ui/ui_text.h"

using namespace quorim;
using quorim::test::FitFaults;
using quorim::test::MessageBoxAnswer;

namespace {

// Two adapters with long names, the widest the Devices dialog shows.
class TwoAdapters : public SerialDeviceSource {
public:
    std::vector<SerialDevice> Devices() override {
        SerialDevice d;
        d.node = "/dev/ttyUSB0";
        d.usb = true;
        d.vendorId = "10c4";
        d.productId = "ea60";
        d.manufacturer = "Silicon Labs";
        d.product = "CP2102 USB to UART Bridge Controller";
        d.group = "dialout";
        SerialDevice e = d;
        e.node = "/dev/ttyUSB1";
        e.accessible = true;
        return {d, e};
    }
};

}  // namespace

class FitTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    CQuorim_CHView* View() const { return Frame()->ActiveView(); }
    void Start(UiLanguage language) {
        m_app = std::make_unique<CQuorim_CHApp>(language);
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        QVERIFY(View());
    }
    void PickModel(int index) {
        QComboBox* model = View()->Combo(SettingsList::Model);
        model->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }
    static void ExpectFits(const QString& window, QWidget* w) {
        const QStringList faults = FitFaults(w);
        QVERIFY2(faults.isEmpty(),
                 qPrintable(window + QStringLiteral(":\n  ") + faults.join(QStringLiteral("\n  "))));
    }
    // The grid's rows that show whole.
    static int RowsShown(CMSFlexGrid1* grid) {
        int shown = 0;
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const int bottom = grid->rowViewportPosition(r) + grid->rowHeight(r);
            shown += grid->rowViewportPosition(r) >= 0 && bottom <= grid->viewport()->height() ? 1 : 0;
        }
        return shown;
    }

private slots:
    void init() { QSettings(QStringLiteral("Local AppWizard-Generated Applications"), Q(kAppTitle)).clear(); }
    void cleanup() { m_app.reset(); }

    // A hover hint beside a long read result and the check pane is shown
    // whole: the panes step aside while it shows, and come back after.
    void theStatusTipIsNotCutOff_data() { everyWindowFitsItsTexts_data(); }
    void theStatusTipIsNotCutOff() {
        QFETCH(int, language);
        Start(static_cast<UiLanguage>(language));
        Frame()->SetTransferResult(
            Raw(TransferDoneText(WindowTexts(), TransferDirection::Read, false, "/dev/pts/12")));
        QStatusBar* bar = Frame()->StatusBarWnd();
        const auto shownWhole = [bar](const QString& tip) {
            int right = bar->width();
            for (QLabel* pane : bar->findChildren<QLabel*>()) {
                if (pane->isVisible()) right = std::min(right, pane->geometry().left());
            }
            return bar->fontMetrics().horizontalAdvance(tip) < right;
        };
        // The grid's own hint as the pointer moves over it, beside a result;
        // a menu's tip beside the check pane too.
        View()->OnSetCursor(View()->Grid());
        QVERIFY2(shownWhole(Frame()->MessageText()), qPrintable(Frame()->MessageText()));
        Frame()->SetCheckSummary(Raw(TranslateWithArgs(WindowTexts(), kMsgCheckSummary, {"16"})),
                                 View()->GetDocument());
        for (const int id : {ID_ONLINE_TUNING, ID_PORT_COM1}) {
            const QString tip = Frame()->Action(id)->statusTip();
            QStatusTipEvent event(tip);
            QApplication::sendEvent(Frame(), &event);
            QCOMPARE(Frame()->MessageText(), tip);
            QVERIFY2(shownWhole(tip), qPrintable(tip));
        }

        QStatusTipEvent gone{QString()};
        QApplication::sendEvent(Frame(), &gone);
        QTRY_VERIFY(Frame()->findChild<QLabel*>(QStringLiteral("CheckPane"))->isVisible());
        QVERIFY(!Frame()->TransferResultText().isEmpty());
    }

    void everyWindowFitsItsTexts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese") << static_cast<int>(UiLanguage::Chinese);
        QTest::newRow("English") << static_cast<int>(UiLanguage::English);
    }
    void everyWindowFitsItsTexts() {
        QFETCH(int, language);
        Start(static_cast<UiLanguage>(language));
        ExpectFits(QStringLiteral("form, QZ - 16"), View()->widget());
        PickModel(1);
        ExpectFits(QStringLiteral("form, QZ - 199"), View()->widget());

        CAboutDlg about(Frame());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        ExpectFits(QStringLiteral("about box"), &about);
        about.close();

        QTest::keyClick(View()->Grid(), Qt::Key_R, Qt::ControlModifier);
        auto* progress = View()->findChild<CProgressDlg*>();
        QTRY_VERIFY(progress && progress->IsWindow());
        ExpectFits(QStringLiteral("progress window"), progress->Window());
        progress->ProgressBar()->setValue(progress->ProgressBar()->maximum());
        ExpectFits(QStringLiteral("progress window at 100%"), progress->Window());
        for (const std::string_view status : ProgressStatusTexts()) {
            progress->StatusLine()->setText(Raw(status));
            ExpectFits(QStringLiteral("progress window saying ") + Raw(status), progress->Window());
        }
        progress->OnCancel();

        TwoAdapters adapters;
        CDevicesDlg devices(adapters, Frame());
        devices.show();
        QVERIFY(QTest::qWaitForWindowExposed(&devices));
        ExpectFits(QStringLiteral("devices"), &devices);
        devices.close();

        CTuningDlg tuning(350 * 100000, "COM1", Frame());  // 10 Hz units
        tuning.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tuning));
        ExpectFits(QStringLiteral("tuning window"), &tuning);
        for (const int page : {kTreeHigh, kTreeTxFrequency}) {
            QTreeWidgetItem* item = tuning.TreeItem(page);
            item->parent()->setExpanded(true);
            tuning.Tree()->setCurrentItem(item);
            QCoreApplication::processEvents();
            ExpectFits(QStringLiteral("tuning window, page %1").arg(page), &tuning);
        }
    }

    // At the template's size the form is as laid out; maximised, the grid
    // takes the room and shows more channels, the settings stay put.
    void theGridGrowsWithItsWindow() {
        Start(UiLanguage::Chinese);
        PickModel(1);
        CMSFlexGrid1* grid = View()->Grid();
        QComboBox* band = View()->Combo(SettingsList::Band);
        const QRect gridAtDefault = grid->geometry();
        const QPoint bandAt = band->pos();
        const int rowsAtDefault = RowsShown(grid);

        Frame()->resize(1280, 900);
        Frame()->ActiveChild()->showMaximized();
        QTRY_VERIFY(RowsShown(grid) > rowsAtDefault + 5);
        QCOMPARE(grid->pos(), gridAtDefault.topLeft());
        QCOMPARE(band->pos(), bandAt);
        QVERIFY(grid->width() > gridAtDefault.width());

        // A new document beside a maximised one comes maximised, laid out
        // for that size.
        CChildFrame* first = Frame()->ActiveChild();
        const int maximisedWidth = grid->width();
        m_app->OnCmdMsg(ID_FILE_NEW);
        CChildFrame* second = Frame()->ActiveChild();
        QVERIFY(second != first);
        QTRY_VERIFY(second->isMaximized());
        QTRY_COMPARE(second->size(), Frame()->MdiClient()->viewport()->size());
        QTRY_COMPARE(View()->Grid()->width(), maximisedWidth);
        QCOMPARE(View()->Grid()->pos(), gridAtDefault.topLeft());
        QCOMPARE(View()->Combo(SettingsList::Band)->pos(), bandAt);
        if (qEnvironmentVariableIsSet("QUORIM_SHOTS")) {
            Frame()->grab().save(QStringLiteral("/tmp/i31-maximised-new.png"));
        }
        second->close();
        Frame()->MdiClient()->setActiveSubWindow(first);

        first->showNormal();
        QTRY_COMPARE(grid->geometry(), gridAtDefault);
        QCOMPARE(RowsShown(grid), rowsAtDefault);
    }

    void helpOpensTheGuideAtTheSectionAskedFor_data() { everyWindowFitsItsTexts_data(); }
    void helpOpensTheGuideAtTheSectionAskedFor() {
        QFETCH(int, language);
        Start(static_cast<UiLanguage>(language));
        QTest::keyClick(View()->Grid(), Qt::Key_F1);
        QTRY_VERIFY(Frame()->HelpWindow() && Frame()->HelpWindow()->isVisible());
        CHelpWindow* help = Frame()->HelpWindow();
        QCOMPARE(help->windowTitle(), static_cast<UiLanguage>(language) == UiLanguage::English
                                          ? QStringLiteral("Help Topics")
                                          : Q(kHelpWindowTitle));
        const QString text = help->Browser()->toPlainText();
        QCOMPARE(text.contains(QStringLiteral("Quorim user guide")),
                 static_cast<UiLanguage>(language) == UiLanguage::English);
        QCOMPARE(help->Section(), HelpSection::Contents);

        // Shift+F1, then a click: the grid, a settings list, a port item.
        const auto askAbout = [&](QWidget* target, QPoint at) {
            QTest::keyClick(View()->Grid(), Qt::Key_F1, Qt::ShiftModifier);
            QVERIFY(Frame()->IsContextHelp());
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
            QVERIFY(!Frame()->IsContextHelp());
        };
        askAbout(View()->Grid()->viewport(), QPoint(40, 40));
        QCOMPARE(help->Section(), HelpSection::Editing);
        QComboBox* squelch = View()->Combo(SettingsList::Squelch);
        askAbout(squelch, squelch->rect().center());
        QCOMPARE(help->Section(), HelpSection::Settings);
        QCOMPARE(squelch->currentIndex(), 4);  // the click chose nothing
        QMenu* ports = nullptr;
        for (QMenu* m : Frame()->Menus(true)) {
            for (QAction* a : m->actions()) {
                ports = a == Frame()->Action(ID_PORT_COM2) ? m : ports;
            }
        }
        QVERIFY(ports);
        ports->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(ports));
        QTest::keyClick(View()->Grid(), Qt::Key_F1, Qt::ShiftModifier);
        Frame()->OnCommand(ID_CONTEXT_HELP);
        QTest::mouseClick(ports, Qt::LeftButton, {},
                          ports->actionGeometry(Frame()->Action(ID_PORT_COM2)).center());
        QCOMPARE(help->Section(), HelpSection::Ports);
        QVERIFY(Frame()->IsCommandChecked(ID_PORT_COM1));  // the port stayed

        // Escape leaves the mode without asking.
        Frame()->OnCommand(ID_CONTEXT_HELP);
        QTest::keyClick(View()->Grid(), Qt::Key_Escape);
        QVERIFY(!Frame()->IsContextHelp());

        // The document menu's Help popup opens the guide's contents too.
        help->close();
        QAction* topics = Frame()->Menus(true).last()->actions().first();
        QCOMPARE(topics->data().toInt(), ID_HELP_FINDER);
        topics->trigger();
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(help->Section(), HelpSection::Contents);
    }

    // F1 in the tuning window opens the guide at its section, usable while
    // the window is open.
    void helpInTheTuningWindow() {
        Start(UiLanguage::Chinese);
        bool opened = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<CTuningDlg*>(QApplication::activeModalWidget());
            if (!dlg) {
                return;
            }
            QTest::keyClick(dlg->Tree(), Qt::Key_F1);
            auto* help = dlg->findChild<CHelpWindow*>();
            opened = help && help->isVisible() && help->Section() == HelpSection::Tuning;
            dlg->reject();
        });
        Frame()->OnCommand(ID_ONLINE_TUNING);
        QVERIFY(opened);
    }

    // The guide names menus, buttons and messages exactly as the windows
    // show them, in each language.
    void theGuideNamesWhatTheWindowsShow_data() { everyWindowFitsItsTexts_data(); }
    void theGuideNamesWhatTheWindowsShow() {
        QFETCH(int, language);
        Start(static_cast<UiLanguage>(language));
        const bool english = static_cast<UiLanguage>(language) == UiLanguage::English;
        QFile file(QStringLiteral(QUORIM_SOURCE_DIR "/resources/help/") +
                   (english ? QStringLiteral("quorim_en.html") : QStringLiteral("quorim_zh.html")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll()).simplified();
        QStringList shown;
        const std::vector<int> items{ID_READ_RADIO,         ID_WRITE_RADIO,      ID_ONLINE_TUNING,
                                     ID_EDIT_CHANNEL,       ID_PORT_DEVICES,     ID_FILE_PRINT,
                                     ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_FILE_SAVE,
                                     ID_FILE_SAVE_AS,       ID_HELP_FINDER};
        for (const MenuItem& popup : Menu129()) {
            if (popup.children.front().id == ID_READ_RADIO || popup.children.front().id == ID_PORT_COM1 ||
                popup.children.front().id == ID_FILE_NEW || popup.children.front().id == ID_HELP_FINDER) {
                shown << Q(popup.text);
            }
            for (const MenuItem& item : popup.children) {
                if (std::find(items.begin(), items.end(), item.id) != items.end()) {
                    shown << Q(item.text);
                }
            }
        }
        for (const std::string_view text :
             {kCmdUndo, kCmdRedo, kCmdCut, kCmdCopy, kCmdPaste, kCmdClear, kCmdInsertChannel,
              kCmdDeleteChannels, kCmdMoveUp, kCmdMoveDown, kCmdSelectAll, kMsgFrequencyRange,
              kMsgFrequencyStep, kCmdSetCells, kCmdFillDown, kCmdFillSeries, kCmdCheckChannels,
              kMsgNoFindings}) {
            shown << Q(text);
        }
        for (const char* text : {kDevicesTitle, kAssignLabel, kAutomatic, kTestConnection,
                                 kVirtualRadioButton, kVirtualRadioStart}) {
            shown << Q(text);
        }
        shown << QStringLiteral("Ctrl+Insert") << QStringLiteral("Alt+");
        for (QString text : shown) {
            text.remove(QLatin1Char('&'));
            QVERIFY2(html.contains(text.toHtmlEscaped()), qPrintable(text));
        }
    }

    // The guide's look-ups: where it may be, the section of a control, a
    // command or a window, and both guides holding every section.
    void helpSectionsAndWhereTheGuideIs() {
        QCOMPARE(HelpGuideCandidates("/opt/q/bin/", true),
                 (std::vector<std::string>{"/opt/q/bin/help/quorim_en.html",
                                           "/opt/q/bin/../share/quorim/help/quorim_en.html"}));
        QCOMPARE(HelpGuideCandidates("/usr/bin", false).front(), std::string("/usr/bin/help/quorim_zh.html"));

        QCOMPARE(HelpSectionForControl(IDC_GRID), HelpSection::Editing);
        QCOMPARE(HelpSectionForControl(IDC_COMBO_TONE), HelpSection::Editing);
        QCOMPARE(HelpSectionForControl(1016), HelpSection::Settings);  // the squelch list
        QCOMPARE(HelpSectionForControl(IDC_FUNCTION_GROUP), HelpSection::Contents);
        QCOMPARE(HelpSectionForCommand(ID_PORT_COM3), HelpSection::Ports);
        QCOMPARE(HelpSectionForCommand(ID_FILE_MRU_FILE4), HelpSection::Files);
        QCOMPARE(HelpSectionForCommand(ID_APP_ABOUT), HelpSection::Contents);
        QCOMPARE(HelpSectionForWindow(136), HelpSection::Tuning);
        QCOMPARE(HelpSectionForWindow(101), HelpSection::Contents);

        for (const char* name : {"quorim_zh.html", "quorim_en.html"}) {
            QFile file(QStringLiteral(QUORIM_SOURCE_DIR "/resources/help/") + QString::fromLatin1(name));
            QVERIFY2(file.open(QIODevice::ReadOnly), name);
            const QByteArray html = file.readAll();
            for (int s = static_cast<int>(HelpSection::Contents); s <= static_cast<int>(HelpSection::Cli);
                 ++s) {
                const std::string anchor =
                    "id=\"" + std::string(HelpAnchor(static_cast<HelpSection>(s))) + "\"";
                QVERIFY2(html.contains(anchor.c_str()), (std::string(name) + " " + anchor).c_str());
            }
        }
    }

    // Without the guide, the program says so.
    void aMissingGuideIsTold() {
        Start(UiLanguage::Chinese);
        QDir dir(QCoreApplication::applicationDirPath());
        QVERIFY(dir.rename(QStringLiteral("help"), QStringLiteral("help.away")));
        MessageBoxAnswer answer(QMessageBox::Ok);
        Frame()->OnCommand(ID_HELP);
        QVERIFY(dir.rename(QStringLiteral("help.away"), QStringLiteral("help")));
        QCOMPARE(answer.Text(), Q(kNoHelpFile));
    }
};

QObject* MakeFitTest() {
    return new FitTest;
}

#include "fit_test.moc"
