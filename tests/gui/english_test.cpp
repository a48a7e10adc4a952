// The English build: the programming program started as "tarvolin_EN.DLL"
// shows every text of its windows in English, while the core and the data
// files see exactly what the Chinese build gives them.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/document_template.h"
#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "base/dialog_template.h"
#include "editor/bulk_edit.h"
#include "editor/cell_rules.h"
#include "editor/channel_check.h"
#include "editor/codec.h"
#include "editor/editor_model.h"
#include "editor/form_template.h"
#include "editor/plan_apply.h"
#include "editor/print_layout.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "gui_test_support.h"
#include "link/clone_engine.h"
#include "tuning/tuning_dialog.h"
#include "tuning/tuning_session.h"
#include "tuning/ui/tuning_dlg.h"
#include "ui/commands.h"
#include "ui/ui_text.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool HasChinese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF)) {
            return true;
        }
    }
    return false;
}

// Collects every shown text that is still Chinese, with where it was found.
class ChineseFinder {
public:
    void Check(const QString& where, const QString& text) {
        if (HasChinese(text)) {
            m_found << where + QStringLiteral(": ") + text;
        }
    }
    void Check(const QString& where, std::string_view coreText, const char* context = kTrQuorim) {
        Check(where + QStringLiteral(" [") + Raw(coreText) + QLatin1Char(']'), Q(coreText, context));
    }
    void CheckActions(const QString& where, const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            Check(where + QStringLiteral(" action"), a->text());
            Check(where + QStringLiteral(" status tip"), a->statusTip());
            Check(where + QStringLiteral(" tooltip"), a->toolTip());
            if (a->menu()) {
                CheckActions(where + QLatin1Char('/') + a->text(), a->menu()->actions());
            }
        }
    }
    void CheckWidgets(QWidget* top) {
        QList<QWidget*> widgets = top->findChildren<QWidget*>();
        widgets.prepend(top);
        for (QWidget* w : widgets) {
            const QString name = QString::fromUtf8(w->metaObject()->className());
            Check(name + QStringLiteral(" title"), w->windowTitle());
            Check(name + QStringLiteral(" tooltip"), w->toolTip());
            if (auto* label = qobject_cast<QLabel*>(w)) {
                Check(name, label->text());
            } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                Check(name, button->text());
            } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
                Check(name, group->title());
            } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
                for (int i = 0; i < combo->count(); ++i) {
                    Check(name + QStringLiteral(" item"), combo->itemText(i));
                }
                Check(name + QStringLiteral(" text"), combo->currentText());
            } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
                for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                    Check(name + QStringLiteral(" item"), (*it)->text(0));
                }
            } else if (auto* grid = qobject_cast<CMSFlexGrid1*>(w)) {
                for (long r = 0; r < grid->GetRows(); ++r) {
                    for (long c = 0; c < grid->GetCols(); ++c) {
                        Check(QStringLiteral("grid %1,%2").arg(r).arg(c), grid->GetTextMatrix(r, c));
                    }
                }
            }
        }
    }
    const QStringList& Found() const { return m_found; }

private:
    QStringList m_found;
};

}  // namespace

class EnglishTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    void Start(UiLanguage language, const QStringList& args = {}) {
        m_app = std::make_unique<CQuorim_CHApp>(language);
        QVERIFY(m_app->InitInstance(args));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
    }
    // Channel 1 transmits (145.12500 MHz), channel 2 is inhibited.
    QString SampleFile() {
        DocumentData doc;
        doc.OnNewDocument();
        for (int ch = 1; ch <= 2; ++ch) {
            std::uint8_t* rec = &doc.m_image[static_cast<std::size_t>(ch) * kRowSize];
            const std::uint8_t freq[4] = {0x00, 0x25, 0x51, 0x14};
            std::copy(std::begin(freq), std::end(freq), rec + kRecRxFreq);
            std::copy(std::begin(freq), std::end(freq), rec + kRecTxFreq);
            rec[kRecFlags] = ch == 1 ? kFlagTxAllowed : 0x00;
        }
        return QString::fromStdString(
            test::WriteImageFile(m_dir.path().toStdString(), "sample.szt", doc.m_image));
    }
    static QByteArray ReadAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init() { QSettings(S("Local AppWizard-Generated Applications"), S("Halvoren数据文件")).clear(); }
    void cleanup() { m_app.reset(); }

    // Every text the core marks for the windows has its English, under the
    // context the windows look it up in.
    void everyCoreTextHasItsEnglish() {
        Start(UiLanguage::English);
        ChineseFinder f;
        std::function<void(const std::vector<MenuItem>&)> menu = [&](const std::vector<MenuItem>& items) {
            for (const MenuItem& item : items) {
                f.Check(QStringLiteral("menu"), item.text);
                menu(item.children);
            }
        };
        menu(Menu128());
        menu(Menu129());
        for (int id = 0; id < 0x10000; ++id) {
            const CommandString s = CommandText(id);
            f.Check(QStringLiteral("prompt %1").arg(id), s.prompt);
            f.Check(QStringLiteral("tooltip %1").arg(id), s.tooltip);
        }
        for (const std::string_view t : IndicatorTexts()) f.Check(QStringLiteral("indicator"), t);
        for (const std::string_view t : {kAppTitle,
                                         kMainTitle,
                                         kIdleMessage,
                                         AskToSaveText(),
                                         kSaveButton,
                                         kDiscardButton,
                                         kCancelButton,
                                         kOkButton,
                                         kAllFilesFilter,
                                         kNoHelpFile,
                                         DocTemplate().fileNewName,
                                         DocTemplate().filterName,
                                         kHintCombo,
                                         kHintGrid,
                                         kHintOther,
                                         kEditChannelMessage,
                                         kYes,
                                         kNo,
                                         kMsgFrequencyRange,
                                         kMsgFrequencyStep,
                                         kMsgDigitsOnly,
                                         kRuleFrequency,
                                         kRuleTone,
                                         kMsgNoChannelInUse,
                                         kMsgSkippedEmpty,
                                         kMsgSplitsKept,
                                         kJoinColumns,
                                         kCheckClose,
                                         kMsgCheckSummary,
                                         kDetailWriteInterrupted,
                                         kAskRestoreAfterInterrupt}) {
            f.Check(QStringLiteral("text"), t);
        }
        // The channel plans: their commands, dialog, findings and notes, and
        // each built-in plan's title and power limit.
        for (const std::string_view t : {kCmdApplyPlan,       kCmdCheckPlan,       kPromptPlan,
                                         kPromptPlanChannels, kPromptPlanFrom,     kPromptPlanTone,
                                         kCmdPlanOtherFile,   kPlanNone,           kMsgPlanChannelList,
                                         kMsgPlanFromOutside, kMsgPlanTooFew,      kMsgPlanRefused,
                                         kMsgPlanApplied,     kMsgPlanBandChanged, kMsgPlanBandwidthChanged,
                                         kMsgPlanNotInPlan,   kMsgPlanSplit,       kMsgPlanBandwidth,
                                         kMsgPlanBand,        kMsgPlanMatches,     kMsgPlanPower,
                                         kMsgPlanEquipment,   kMsgPlanUnknown,     kMsgPlanCannotRead,
                                         kMsgPlanNotAList,    kMsgPlanNoChannels,  kPlanNarrow,
                                         kPlanWide,           kPlanAnyBandwidth,   kPlanSimplex,
                                         kPlanDuplex,         kPlanPowerNotStated, kPlanShowLine}) {
            f.Check(QStringLiteral("plan"), t);
        }
        for (const ChannelPlan& p : BuiltInPlans()) {
            f.Check(QStringLiteral("plan title"), p.title);
            f.Check(QStringLiteral("plan power"), p.powerLimit);
        }
        for (const DialogTemplate* t : {&AboutTemplate(), &FormTemplate()}) {
            f.Check(QStringLiteral("dialog title"), t->title);
            for (const DialogControl& c : t->controls) f.Check(QStringLiteral("control"), c.caption);
        }
        f.Check(QStringLiteral("tuning"), kTuningFrameUnset);
        f.Check(QStringLiteral("tuning"), kTuningPositionPrefix);
        for (const TuningControl& c : TuningDlgTemplate().controls)
            f.Check(QStringLiteral("tuning control"), c.caption);
        for (const TuningTreeEntry& e : TuningTree()) f.Check(QStringLiteral("tuning tree"), e.text);
        for (const int point : {kPointHigh, kPointCentre, kPointLow}) {
            f.Check(QStringLiteral("tuning point"), TuningPointCaption(point));
        }
        for (const SettingsListInfo& info : AllSettingsLists()) {
            f.Check(QStringLiteral("list caption"), info.caption);
            for (const std::string_view item : info.items)
                f.Check(QStringLiteral("list item"), item, kTrSettingsList);
        }
        for (const std::string_view h : GridHeaders()) f.Check(QStringLiteral("header"), h);
        // The printed pages, composed from the same texts.
        EditorModel form;
        DocumentData doc;
        doc.OnNewDocument();
        doc.m_bSixteenChannel = false;
        InitialUpdateEditor(doc, form);
        form.SetTextMatrix(1, kColInhibit, std::string(kYes));
        const PageMetrics m = ComputePageMetrics({0, 0, 4800, 6600}, 600, 600);
        for (int page = 1; page <= 2; ++page) {
            for (const PrintText& t : LayoutPrintPage(form, page, m, 530, 420, WindowTexts())) {
                f.Check(QStringLiteral("printed"), Raw(t.text));
            }
        }
        QVERIFY2(f.Found().isEmpty(), qPrintable(f.Found().join(QLatin1Char('\n'))));
        // The same words as the windows use them.
        QCOMPARE(Q(Info(SettingsList::Monitor).items[0], kTrSettingsList), S("On"));
        QCOMPARE(Q(CommandText(ID_FILE_OPEN).tooltip), S("Open"));
        QCOMPARE(Q(kRuleFrequency), S("50-700 MHz in steps of 6.25 or 5 kHz, for example 446.00625"));
        QCOMPARE(Q(kRuleTone), S("67.0-254.1, D023N, D754I or OFF"));
        QCOMPARE(Raw(PrintPageTitle(12, WindowTexts())), S("Settings data, page 12"));
        QCOMPARE(Raw(PrintPageTitle(12)), S("本机设置数据第十二页"));
    }

    // The command line's English table is the windows' catalogue, compiled
    // from the same file; an English window's export writes its English.
    void commandLineEnglishIsTheWindowsAndExportWritesIt() {
        Start(UiLanguage::English, {SampleFile()});
        std::vector<std::pair<const char*, std::string_view>> texts;
        std::function<void(const std::vector<MenuItem>&)> menu = [&](const std::vector<MenuItem>& items) {
            for (const MenuItem& item : items) {
                texts.emplace_back(kTrQuorim, item.text);
                menu(item.children);
            }
        };
        menu(Menu129());
        for (const auto& info : AllSettingsLists()) {
            texts.emplace_back(kTrQuorim, info.caption);
            for (const auto item : info.items) texts.emplace_back(kTrSettingsList, item);
        }
        for (const auto header : GridHeaders()) texts.emplace_back(kTrQuorim, header);
        for (const auto& [context, text] : texts) {
            QCOMPARE(Raw(EnglishTexts().Translate(context, text)), Q(text, context));
        }
        const QString out = m_dir.filePath(S("english.csv"));
        QVERIFY(Frame()->ActiveView()->Csv().ExportCsvToFile(out));
        QVERIFY(ReadAll(out).startsWith(
            "\xEF\xBB\xBF"
            "CH,RX Freq,TX Freq,RX Tone,TX Tone,TX Inhibit\r\n1,145.12500,145.12500,"));
        QVERIFY(ReadAll(out).contains("\r\nMonitor,On\r\n"));
    }

    void theMainWindowWithADocumentShowsNoChinese() {
        Start(UiLanguage::English, {SampleFile()});
        ChineseFinder f;
        f.CheckActions(QStringLiteral("menu"), Frame()->menuBar()->actions());
        f.CheckActions(QStringLiteral("toolbar"), Frame()->findChild<QToolBar*>()->actions());
        f.CheckWidgets(Frame());
        f.Check(QStringLiteral("status"), Frame()->MessageText());
        QVERIFY2(f.Found().isEmpty(), qPrintable(f.Found().join(QLatin1Char('\n'))));

        QCOMPARE(Frame()->windowTitle(), S("Halvoren Radio Programming Software"));
        QCOMPARE(Frame()->menuBar()->actions().first()->text(), S("&File"));
        QCOMPARE(Frame()->MessageText(), S("For Help, press F1"));
        CQuorim_CHView* view = Frame()->ActiveView();
        QVERIFY(view);
        QCOMPARE(view->Grid()->GetTextMatrix(0, 1), S("RX Freq"));
        QCOMPARE(view->Grid()->GetTextMatrix(1, kColInhibit), S("No"));
        QCOMPARE(view->Grid()->GetTextMatrix(2, kColInhibit), S("Yes"));
        QCOMPARE(view->Combo(SettingsList::Monitor)->currentText(), S("On"));
        QCOMPARE(view->Combo(SettingsList::Bandwidth)->currentText(), S("Wide"));
    }

    // The core reads the English grid as it reads the Chinese one: the saved
    // file is the file the Chinese build saves.
    void theCoreSeesItsOwnTexts() {
        const QString sample = SampleFile();
        Start(UiLanguage::English, {sample});
        CQuorim_CHView* view = Frame()->ActiveView();
        QCOMPARE(view->Editor().TextMatrix(0, 0), std::string("信道"));
        QCOMPARE(view->Editor().TextMatrix(1, kColInhibit), std::string(kNo));
        QCOMPARE(view->Editor().TextMatrix(2, kColInhibit), std::string(kYes));
        // A text the core writes shows translated.
        view->Editor().SetTextMatrix(1, kColInhibit, std::string(kYes));
        QCOMPARE(view->Grid()->GetTextMatrix(1, kColInhibit), S("Yes"));
        view->Editor().SetTextMatrix(1, kColInhibit, std::string(kNo));
        const QString english = m_dir.path() + QStringLiteral("/english.szt");
        QVERIFY(m_app->DoSave(view->GetDocument(), english));
        m_app.reset();

        Start(UiLanguage::Chinese, {sample});
        view = Frame()->ActiveView();
        QCOMPARE(view->Grid()->GetTextMatrix(2, kColInhibit), S("是"));
        const QString chinese = m_dir.path() + QStringLiteral("/chinese.szt");
        QVERIFY(m_app->DoSave(view->GetDocument(), chinese));
        QCOMPARE(ReadAll(english), ReadAll(chinese));
        QCOMPARE(ReadAll(english).size(), 3216);
        // One profile for both builds: the English run's file is in the list.
        bool listed = false;
        for (int i = 0; i < m_app->RecentFiles().Size(); ++i) {
            listed |=
                QString::fromStdString(m_app->RecentFiles().At(i)) == QFileInfo(english).canonicalFilePath();
        }
        QVERIFY(listed);
    }

    // The program started under its English name prints English pages.
    void theEnglishNamePrintsEnglishPages() {
        QUORIM_LINUX_ONLY("reads its pages back with pdftotext");
        const QString program =
            QFileInfo(QStringLiteral(QUORIM_CH_PATH)).dir().filePath(QStringLiteral("tarvolin_EN.DLL"));
        QVERIFY(QFileInfo(program).isExecutable());
        const QString pdf = m_dir.filePath(QStringLiteral("english.pdf"));
        QProcess print;
        print.start(program, {QStringLiteral("--print-to-pdf"), pdf, SampleFile()});
        QVERIFY(print.waitForFinished(30000));
        QCOMPARE(print.exitCode(), 0);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        // (The title's page number is drawn, but the CJK face's digit does not
        // read back from the PDF's text layer.)
        for (const char* expected :
             {"Settings data, page", "1. Radio settings:", "Monitor: On", "Bandwidth: Wide",
              "2. Channel data:", "RX Freq", "TX Inhibit", "145.12500", "Yes", "No"}) {
            QVERIFY2(page.contains(S(expected)), expected);
        }
        QVERIFY2(!HasChinese(page), qPrintable(page));
    }

    // Editing in place: the inhibit list and the refusals speak English,
    // while the grid keeps what the core decided.
    void cellEditingInEnglish() {
        Start(UiLanguage::English);
        CQuorim_CHView* view = Frame()->ActiveView();
        CMSFlexGrid1* grid = view->Grid();
        auto focus = [&] { return Frame()->focusWidget(); };
        auto type = [&](const char* keys) {
            for (const char* k = keys; *k; ++k) QTest::keyClick(focus(), *k);
        };
        grid->SetRow(1);
        grid->SetCol(1);
        grid->setFocus();
        type("145.0125");
        QTest::keyClick(focus(), Qt::Key_Return);
        QCOMPARE(grid->GetTextMatrix(1, kColInhibit), S("No"));
        for (int col = 2; col <= 4; ++col) QTest::keyClick(focus(), Qt::Key_Return);
        QComboBox* yesNo = view->Cells().ComboYesNo();
        QVERIFY(yesNo->isVisible());
        QCOMPARE(yesNo->currentText(), S("No"));
        QTest::keyClick(focus(), Qt::Key_Up);
        QCOMPARE(yesNo->currentText(), S("Yes"));
        QTest::keyClick(focus(), Qt::Key_Return);
        QCOMPARE(grid->GetTextMatrix(1, kColInhibit), S("Yes"));
        QCOMPARE(view->Editor().TextMatrix(1, kColInhibit), std::string(kYes));

        // Row 2 now: a frequency out of range is refused in English.
        MessageBoxAnswer answer(QMessageBox::Ok);
        type("9");
        QTest::keyClick(focus(), Qt::Key_Return);
        QTRY_COMPARE(answer.Count(), 1);
        QCOMPARE(answer.Text(), S("Invalid input. Please enter it again in the correct format and range."));
        QCOMPARE(answer.Title(), S("Halvoren Data"));

        // The clipboard says what the grid shows.
        QTest::keyClick(focus(), Qt::Key_Escape);
        grid->SetRow(1);
        grid->SetCol(kColInhibit);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), S("Yes\n"));
    }

    void theTuningWindowSpeaksEnglish() {
        Start(UiLanguage::English);
        CTuningDlg dlg(400 * 100000, "COM1");
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTreeWidgetItem* squelch = dlg.TreeItem(kTreeSquelch);
        squelch->parent()->setExpanded(true);
        dlg.Tree()->setCurrentItem(squelch);
        ChineseFinder f;
        f.CheckWidgets(&dlg);
        QVERIFY2(f.Found().isEmpty(), qPrintable(f.Found().join(QLatin1Char('\n'))));
        const QString position = qobject_cast<QLabel*>(dlg.Control(1052))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^Position: \\d+$")).match(position).hasMatch(),
                 qPrintable(position));
        QCOMPARE(dlg.TreeItem(kTreeBattery)->text(0), S("Battery low level"));
    }

    void messagesAndTheAboutBoxSpeakEnglish() {
        Start(UiLanguage::English);
        {
            MessageBoxAnswer answer(QMessageBox::Ok);
            Frame()->OnCommand(ID_EDIT_CHANNEL);
            QCOMPARE(answer.Text(), S("Double-click a cell of the table on the right."));
            QCOMPARE(answer.Title(), S("Halvoren Data"));
        }
        QString title;
        QString button;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            title = dlg->windowTitle();
            if (auto* ok = dlg->findChild<QAbstractButton*>()) button = ok->text();
            dlg->accept();
        });
        Frame()->OnCommand(ID_APP_ABOUT);
        QCOMPARE(title, S("About Tarvolin Programming Software"));
        QCOMPARE(button, S("OK"));
    }

    void theChineseBuildIsLeftChinese() {
        // An English run before does not leave its catalogue behind.
        Start(UiLanguage::English);
        m_app.reset();
        Start(UiLanguage::Chinese);
        QCOMPARE(Frame()->windowTitle(), S("Halvoren对讲机写频软件"));
        QCOMPARE(Frame()->menuBar()->actions().first()->text(), S("文件(&F)"));
        QCOMPARE(Frame()->ActiveView()->Combo(SettingsList::Monitor)->currentText(), S("打开"));
    }
};

QObject* MakeEnglishTest() {
    return new EnglishTest;
}

#include "english_test.moc"
