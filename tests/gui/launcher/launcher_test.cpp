// The launcher: its dialog in both caption sets, the INI file beside it, and
// the programming program it starts (stand-in scripts that note their run).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "../fit_check.h"
#include "launcher/ui/language_dlg.h"
#include "launcher/ui/tarvolin_app.h"

#ifdef _WIN32
#define QUORIM_LINUX_ONLY(why) QSKIP("Linux only: " why)
#else
#define QUORIM_LINUX_ONLY(why)
#endif

using namespace quorim;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A program under a target's name that writes its name and its argument
// count into "ran.txt" beside itself, then ends.
void WriteStandIn(const QString& dir, const QString& name) {
    const QString path = dir + QLatin1Char('/') + name;
    QFile::remove(path);
    QVERIFY(QFile::copy(QStringLiteral(QUORIM_STAND_IN), path));
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// What the dialog shows, read while it runs.
struct Shown {
    QString title;
    QString label;
    QString ok;
    QString cancel;
    QStringList items;
    int index = -2;
    QString current;
};

Shown Read(CLanguageDlg* dlg) {
    Shown s;
    s.title = dlg->windowTitle();
    s.label = dlg->findChild<QLabel*>(QStringLiteral("ctl1001"))->text();
    s.ok = dlg->findChild<QPushButton*>(QStringLiteral("ctl1"))->text();
    s.cancel = dlg->findChild<QPushButton*>(QStringLiteral("ctl2"))->text();
    QComboBox* combo = dlg->LanguageCombo();
    for (int i = 0; i < combo->count(); ++i) {
        s.items << combo->itemText(i);
    }
    s.index = combo->currentIndex();
    s.current = combo->currentText();
    return s;
}

}  // namespace

class LauncherTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QByteArray m_path;

    QString Dir() const { return m_dir.path(); }
    QString File(const char* name) const { return Dir() + QLatin1Char('/') + QLatin1String(name); }

    // One run of the launcher named `name` in the test folder; `during` acts
    // on the running dialog and must close it. The application object goes
    // at the end, as at the end of the process.
    Shown Run(const char* name, const std::function<void(CLanguageDlg*)>& during,
              QString* started = nullptr) {
        Shown shown;
        const std::string program = File(name).toStdString();
        {
            CTarvolinApp app(program);
            bool ran = false;
            QTimer::singleShot(0, [&] {
                CLanguageDlg* dlg = app.MainWnd();
                if (!dlg || QApplication::activeModalWidget() != dlg) {
                    return;
                }
                ran = true;
                shown = Read(dlg);
                during(dlg);
                if (started) {
                    *started = QDir::fromNativeSeparators(dlg->StartedProgram());
                }
            });
            // The launcher has no message loop of its own: start-up says false.
            if (app.InitInstance() || !ran) {
                QTest::qFail("the dialog did not run as the launcher's one window", __FILE__, __LINE__);
            }
        }
        return shown;
    }

    static void Pick(CLanguageDlg* dlg, int index) {
        // What the user's pick in the list does: the selection changes.
        dlg->LanguageCombo()->setCurrentIndex(index);
    }
    static void PressOk(CLanguageDlg* dlg) {
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("ctl1")), Qt::LeftButton);
    }

    QString WaitForRun() const {
        const QString ran = File("ran.txt");
        if (!QTest::qWaitFor([&] { return ReadAll(ran).endsWith('\n'); }, 5000)) {
            return QStringLiteral("<nothing ran>");
        }
        return QString::fromUtf8(ReadAll(ran)).trimmed();
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir dir(Dir());
        for (const QString& f : dir.entryList(QDir::Files)) {
            dir.remove(f);
        }
        QDir(Dir() + QStringLiteral("/nowhere")).removeRecursively();
        // The targets are found beside the launcher, or nowhere.
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(Dir() + QStringLiteral("/nowhere")));
    }
    void cleanup() { qputenv("PATH", m_path); }

    void FirstRunOpensInChineseAndCancelLeavesAnEmptyFile() {
        WriteStandIn(Dir(), QStringLiteral("tarvolin_CH.DLL"));
        const Shown s = Run("Tarvolin.exe", [](CLanguageDlg* dlg) { QTest::keyClick(dlg, Qt::Key_Escape); });
        QCOMPARE(s.title, S("Halvoren对讲机写频软件"));
        QCOMPARE(s.label, S("语 言 模 式"));
        QCOMPARE(s.ok, S("确认"));
        QCOMPARE(s.cancel, S("取消"));
        QCOMPARE(s.items, QStringList({S("中文"), S("英文")}));
        QCOMPARE(s.index, 0);
        QCOMPARE(s.current, S("中文"));
        // The file was made empty at start-up; Cancel wrote and started nothing.
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray());
        QTest::qWait(100);
        QVERIFY(!QFile::exists(File("ran.txt")));
    }

    void OkWithEnglishStartsTheEnglishBuildAndTheNextRunOpensInEnglish() {
        WriteStandIn(Dir(), QStringLiteral("tarvolin_CH.DLL"));
        WriteStandIn(Dir(), QStringLiteral("tarvolin_EN.DLL"));
        Shown after;
        QByteArray duringRun;
        QString started;
        Run(
            "Tarvolin.exe",
            [&](CLanguageDlg* dlg) {
                // Down in the list picks "英文"; the dialog turns English at once.
                QTest::keyClick(dlg->LanguageCombo(), Qt::Key_Down);
                after = Read(dlg);
                PressOk(dlg);
                // Nothing is written before the launcher ends.
                duringRun = ReadAll(File("Tarvolin.ini"));
            },
            &started);
        QCOMPARE(after.title, S("tarvolin Radio Programing Software"));
        QCOMPARE(after.label, S("Language Mode"));
        QCOMPARE(after.ok, S("OK"));
        QCOMPARE(after.cancel, S("CANCEL"));
        QCOMPARE(after.items, QStringList({S("Chinese"), S("English")}));
        QCOMPARE(after.index, 1);
        QCOMPARE(duringRun, QByteArray());
        QCOMPARE(started, File("tarvolin_EN.DLL"));
        // Started by its bare name, without arguments.
        QCOMPARE(WaitForRun(), S("tarvolin_EN.DLL 0"));
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray("[MAIN]\nLANGUAGE=ENGLISH\n"));

        const Shown next = Run("Tarvolin.exe", [](CLanguageDlg* dlg) { dlg->reject(); });
        QCOMPARE(next.title, S("tarvolin Radio Programing Software"));
        QCOMPARE(next.index, 1);
        QCOMPARE(next.current, S("English"));
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray("[MAIN]\nLANGUAGE=ENGLISH\n"));
    }

    void LowerCaseEnglishOpensInChinese() {
        WriteAll(File("Tarvolin.ini"), "; chosen by hand\n[main]\nlanguage = english\n");
        const Shown s = Run("Tarvolin.exe", [](CLanguageDlg* dlg) { dlg->close(); });
        QCOMPARE(s.index, 0);
        QCOMPARE(s.title, S("Halvoren对讲机写频软件"));
        // The close box writes nothing: the comment is still there.
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray("; chosen by hand\n[main]\nlanguage = english\n"));
    }

    void SwitchingBackToChineseStartsTheChineseBuild() {
        WriteStandIn(Dir(), QStringLiteral("tarvolin_CH.DLL"));
        WriteStandIn(Dir(), QStringLiteral("tarvolin_EN.DLL"));
        WriteAll(File("Tarvolin.ini"), "[MAIN]\nLANGUAGE=ENGLISH\n");
        Shown back;
        Run("Tarvolin.exe", [&](CLanguageDlg* dlg) {
            Pick(dlg, 0);
            back = Read(dlg);
            Pick(dlg, 1);
            Pick(dlg, 0);
            PressOk(dlg);
        });
        QCOMPARE(back.title, S("Halvoren对讲机写频软件"));
        QCOMPARE(back.items, QStringList({S("中文"), S("英文")}));
        QCOMPARE(back.index, 0);
        QCOMPARE(WaitForRun(), S("tarvolin_CH.DLL 0"));
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray("[MAIN]\nLANGUAGE=CHINESE\n"));
    }

    // Both languages' texts fit the dialog, without clipping or overlap.
    void TheDialogsTextsFitInBothLanguages() {
        QUORIM_LINUX_ONLY("the texts are measured in the Linux machine's fonts");
        QStringList faults;
        const auto check = [&](CLanguageDlg* dlg) {
            faults << test::FitFaults(dlg);
            Pick(dlg, 1);  // the dialog turns English
            faults << test::FitFaults(dlg);
            dlg->reject();
        };
        Run("Tarvolin.exe", check);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void ALauncherWithoutExtensionKeepsMainIni() {
        Run("Tarvolin", [](CLanguageDlg* dlg) { dlg->reject(); });
        QVERIFY(QFile::exists(File("MAIN.ini")));
        QVERIFY(!QFile::exists(File("Tarvolin.ini")));
    }

    void TheSearchPathIsTriedAfterTheLaunchersDirectory() {
        QDir(Dir()).mkdir(QStringLiteral("nowhere"));
        WriteStandIn(Dir() + QStringLiteral("/nowhere"), QStringLiteral("tarvolin_CH.DLL"));
        QString started;
        Run("Tarvolin.exe", PressOk, &started);
        QCOMPARE(started, Dir() + QStringLiteral("/nowhere/tarvolin_CH.DLL"));
        QVERIFY(
            QTest::qWaitFor([&] { return QFile::exists(Dir() + QStringLiteral("/nowhere/ran.txt")); }, 5000));
    }

    void AMissingTargetIsReportedInTheDialogsLanguage() {
        QString text;
        QString title;
        QString button;
        bool stillOpen = false;
        Run("Tarvolin.exe", [&](CLanguageDlg* dlg) {
            Pick(dlg, 1);
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) {
                    return;
                }
                text = box->text();
                title = box->windowTitle();
                button = box->button(QMessageBox::Ok)->text();
                box->button(QMessageBox::Ok)->click();
            });
            PressOk(dlg);
            stillOpen = dlg->isVisible();
            // Chinese now, then OK again: reported in Chinese.
            Pick(dlg, 0);
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box) {
                    text += QLatin1Char('|') + box->text();
                    box->button(QMessageBox::Ok)->click();
                }
            });
            PressOk(dlg);
            dlg->reject();
        });
        QCOMPARE(title, S("tarvolin Radio Programing Software"));
        QCOMPARE(button, S("OK"));
        QCOMPARE(text,
                 S("Cannot start the programming software \"tarvolin_EN.DLL\". Please check that it is "
                   "installed beside this "
                   "program.|无法启动写频软件“tarvolin_CH.DLL”，请检查它是否安装在本程序所在的目录中。"));
        // The dialog stayed for another try; the last choice is recorded.
        QVERIFY(stillOpen);
        QCOMPARE(ReadAll(File("Tarvolin.ini")), QByteArray("[MAIN]\nLANGUAGE=CHINESE\n"));
    }

    void TheDialogHasTheLaunchersIconAndTemplateSize() {
        QUORIM_LINUX_ONLY("the minimised icon is drawn by the Linux platforms");
        bool icon = false;
        bool minimisable = false;
        bool clear = false;
        bool whole = false;
        Run("Tarvolin.exe", [&](CLanguageDlg* dlg) {
            icon = !dlg->windowIcon().isNull();
            minimisable = dlg->windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
            // The English label never runs under the list, and is not cut.
            Pick(dlg, 1);
            const QLabel* label = dlg->findChild<QLabel*>(QStringLiteral("ctl1001"));
            clear = label->geometry().right() < dlg->LanguageCombo()->geometry().left();
            whole = label->width() >= label->fontMetrics().horizontalAdvance(label->text());
            dlg->reject();
        });
        QVERIFY(icon);
        QVERIFY(minimisable);
        QVERIFY(clear);
        QVERIFY(whole);
    }
};

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    LauncherTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "launcher_test.moc"
