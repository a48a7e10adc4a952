// Printing: real pages through Qt's PDF printer, read back with pdftotext;
// the print dialog, print preview and the batch --print-to-pdf switch.
#include <sys/mount.h>
#include <sys/wait.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "gui_test_support.h"
#include "image/memory_image.h"
#include "tests/core/test_util.h"
#include "ui/commands.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const char* const kTitles[] = {"本机设置数据第一页", "本机设置数据第二页", "本机设置数据第三页",
                               "本机设置数据第四页", "本机设置数据第五页", "本机设置数据第六页",
                               "本机设置数据第七页"};

// Channel n of the sample documents: 400 MHz plus n steps of 12.5 kHz
// receive, 5 MHz above that transmit, as the grid writes frequencies.
QString Frequency(int units10Hz) {
    return QStringLiteral("%1.%2").arg(units10Hz / 100000).arg(units10Hz % 100000, 5, 10, QLatin1Char('0'));
}
QString RxText(int ch) {
    return Frequency(40000000 + ch * 1250);
}
QString TxText(int ch) {
    return Frequency(40500000 + ch * 1250);
}

// A data file made as the program saves one: every channel filled but
// `emptyChannel`, squelch level 7 and transmit power 5.
std::string SampleFile(const QString& dir, const char* name, bool model199, int emptyChannel) {
    DocumentData doc;
    doc.OnNewDocument();
    doc.m_bSixteenChannel = !model199;
    if (model199) {
        doc.m_image[kModelCodeOffset] = kModelCode199;
    }
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    for (int ch = 1; ch < editor.Rows(); ++ch) {
        if (ch == emptyChannel) {
            for (int col = kColRxFreq; col <= kColInhibit; ++col) {
                editor.SetTextMatrix(ch, col, "");
            }
            continue;
        }
        editor.SetTextMatrix(ch, kColRxFreq, RxText(ch).toStdString());
        editor.SetTextMatrix(ch, kColTxFreq, TxText(ch).toStdString());
        editor.SetTextMatrix(ch, kColRxTone, ch % 2 ? "67.0" : "D023N");
        editor.SetTextMatrix(ch, kColTxTone, ch % 3 ? "OFF" : "D754I");
        editor.SetTextMatrix(ch, kColInhibit, ch % 4 ? "否" : "是");
    }
    editor.SetCurSel(SettingsList::Squelch, 7);
    editor.SetCurSel(SettingsList::Power, 5);
    const std::string path = dir.toStdString() + "/" + name;
    if (!SaveDocument(path, editor, doc).Ok()) {
        return {};
    }
    return path;
}

QString Run(const QString& program, const QStringList& args, int* exitCode = nullptr, QString* err = nullptr,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(30000)) {
        return QStringLiteral("<%1 did not run>").arg(program);
    }
    if (exitCode) {
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    if (err) {
        *err = QString::fromUtf8(p.readAllStandardError());
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    const QRegularExpression re(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const auto m = re.match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// One page's text. Qt's PDF text map gives some ideographs the code points of
// the radicals that share their glyph in the CJK face ("⼀" for "一", "⻚" for
// "页"); those read back as the ideographs they stand for.
QString PdfPageText(const QString& pdf, int page) {
    QString text = Run(QStringLiteral("pdftotext"),
                       {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                        QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    text = text.normalized(QString::NormalizationForm_KC);
    text.replace(QChar(0x2EDA), QChar(0x9875));  // 页
    return text;
}

QString NoBlanks(QString s) {
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

// The printed line of channel `ch`: its number first, then the other texts.
QString ChannelLine(const QString& pageText, int ch) {
    const QRegularExpression re(QStringLiteral("^[ \\t]*%1([ \\t].*)?$").arg(ch),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(pageText);
    return m.hasMatch() ? m.captured(0) : QString();
}

// Runs `check` on the next modal dialog of type T once it shows, then closes it.
template <class T>
void OnNextModal(std::function<void(T*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        check(dialog);
    });
    timer->start();
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CQuorim_CHApp> m_app;
    QTemporaryDir m_dir;
    // QUORIM_KEEP_PRINTS=1 keeps the PDF files for a look.
    void initTestCaseKeep() { m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUORIM_KEEP_PRINTS")); }

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    CQuorim_CHView* Open(const std::string& path) {
        m_app = std::make_unique<CQuorim_CHApp>();
        if (!m_app->InitInstance({QString::fromStdString(path)})) {
            return nullptr;
        }
        return Frame()->ActiveView();
    }
    QString PdfPath(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    void PrintToPdf(const QString& pdf) {
        QPrinter* printer = m_app->Printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
    }
    // What the view shows in the settings lists, as page 1 must print it.
    static void CheckSettings(const QString& page, CQuorim_CHView* view) {
        const struct {
            const char* label;
            SettingsList list;
        } entries[] = {{"机型:", SettingsList::Model},       {"频段:", SettingsList::Band},
                       {"监听功能:", SettingsList::Monitor}, {"发射定时(TOT):", SettingsList::Tot},
                       {"报警音提示:", SettingsList::Alarm}, {"静噪等级:", SettingsList::Squelch},
                       {"发射功率:", SettingsList::Power},   {"频带宽度:", SettingsList::Bandwidth}};
        const QString flat = NoBlanks(page);
        for (const auto& e : entries) {
            const QString value = QString::fromStdString(view->Editor().SelectedText(e.list));
            QVERIFY2(!value.isEmpty(), e.label);
            QVERIFY2(flat.contains(NoBlanks(S(e.label) + value)), qPrintable(S(e.label) + value));
        }
        QVERIFY(flat.contains(S("一整机功能设置部分:")));
    }
    // Channel `ch` prints on one line: its number, then the view's non-empty
    // cell texts in column order; an empty channel prints its number alone.
    static void CheckChannel(const QString& page, const EditorSurface& view, int ch) {
        const QString line = ChannelLine(page, ch);
        QVERIFY2(!line.isEmpty(), qPrintable(QStringLiteral("channel %1 missing").arg(ch)));
        QStringList expected = {QString::number(ch)};
        for (int col = kColRxFreq; col <= kColInhibit; ++col) {
            const QString text = QString::fromStdString(view.TextMatrix(ch, col));
            if (!text.isEmpty()) {
                expected << text;
            }
        }
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        QVERIFY2(fields == expected, qPrintable(line));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        initTestCaseKeep();
    }
    void init() { QSettings(S("Local AppWizard-Generated Applications"), S("Halvoren数据文件")).clear(); }
    void cleanup() { m_app.reset(); }

    void sixteenChannelsPrintOnOnePage() {
        const std::string file = SampleFile(m_dir.path(), "small.szt", false, 5);
        CQuorim_CHView* view = Open(file);
        QVERIFY(view);
        const QString pdf = PdfPath("small.pdf");
        PrintToPdf(pdf);
        view->OnCmdMsg(ID_FILE_PRINT_DIRECT);

        QCOMPARE(PdfPages(pdf), 1);
        const QString page = PdfPageText(pdf, 1);
        QVERIFY(page.contains(S(kTitles[0])));
        CheckSettings(page, view);
        QVERIFY(NoBlanks(page).contains(S("二信道数据部分:信道接收频率发射频率接收信令发射信令是否禁发")));
        for (int ch = 1; ch <= 16; ++ch) {
            CheckChannel(page, view->Editor(), ch);
        }
        // Known answers: the saved settings, a filled channel, the empty one.
        QVERIFY(NoBlanks(page).contains(S("静噪等级:7")));
        QVERIFY(NoBlanks(page).contains(S("发射功率:5")));
        QCOMPARE(ChannelLine(page, 1).simplified(), S("1 400.01250 405.01250 67.0 否"));
        QCOMPARE(ChannelLine(page, 3).simplified(), S("3 400.03750 405.03750 67.0 D754I 否"));
        QCOMPARE(ChannelLine(page, 5).trimmed(), S("5"));
        QVERIFY(ChannelLine(page, 17).isEmpty());
    }

    void everyChannelOfThe199ChannelModelIsPrinted() {
        const std::string file = SampleFile(m_dir.path(), "big.szt", true, 150);
        CQuorim_CHView* view = Open(file);
        QVERIFY(view);
        QCOMPARE(view->Editor().Rows(), 200);
        const QString pdf = PdfPath("big.pdf");
        PrintToPdf(pdf);
        view->OnCmdMsg(ID_FILE_PRINT_DIRECT);

        QCOMPARE(PdfPages(pdf), 7);
        const int firstRow[] = {1, 27, 58, 89, 120, 151, 182, 200};
        for (int p = 1; p <= 7; ++p) {
            const QString page = PdfPageText(pdf, p);
            QVERIFY2(page.contains(S(kTitles[p - 1])), kTitles[p - 1]);
            QVERIFY(page.contains(S("二信道数据部分:")));
            // The settings are on page 1 only.
            QCOMPARE(page.contains(S("一整机功能设置部分:")), p == 1);
            if (p == 1) {
                CheckSettings(page, view);
            }
            for (int ch = firstRow[p - 1]; ch < firstRow[p]; ++ch) {
                CheckChannel(page, view->Editor(), ch);
            }
            // Nothing of the neighbouring pages.
            if (p > 1) {
                QVERIFY(ChannelLine(page, firstRow[p - 1] - 1).isEmpty());
            }
            QVERIFY(ChannelLine(page, firstRow[p]).isEmpty());
        }
        QCOMPARE(ChannelLine(PdfPageText(pdf, 5), 150).trimmed(), S("150"));
        QCOMPARE(ChannelLine(PdfPageText(pdf, 7), 199).simplified(), S("199 402.48750 407.48750 67.0 否"));
    }

    void printDialogPrintsTheChosenPagesToPdf() {
        CQuorim_CHView* view = Open(SampleFile(m_dir.path(), "range.szt", true, 0));
        QVERIFY(view);
        // Print Setup chose a PDF file; the print dialog keeps that choice.
        const QString pdf = PdfPath("range.pdf");
        PrintToPdf(pdf);
        bool seen = false;
        OnNextModal<QPrintDialog>([&](QPrintDialog* dialog) {
            seen = true;
            QCOMPARE(dialog->minPage(), 1);
            QCOMPARE(dialog->maxPage(), 7);
            QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintToFile));
            auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
            auto* from = dialog->findChild<QSpinBox*>(QStringLiteral("from"));
            auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
            QVERIFY(range && from && to);
            range->setChecked(true);
            from->setValue(2);
            to->setValue(3);
            dialog->accept();
        });
        QTest::keyClick(view->Grid(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(seen);
        QCOMPARE(PdfPages(pdf), 2);
        QVERIFY(PdfPageText(pdf, 1).contains(S(kTitles[1])));
        CheckChannel(PdfPageText(pdf, 2), view->Editor(), 58);

        // A cancelled dialog prints nothing; a later direct print is whole again.
        QFile::remove(pdf);
        OnNextModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        view->OnCmdMsg(ID_FILE_PRINT);
        QVERIFY(!QFileInfo::exists(pdf));
        view->OnCmdMsg(ID_FILE_PRINT_DIRECT);
        QCOMPARE(PdfPages(pdf), 7);
    }

    void previewShowsOnePageOrTwoSideBySide() {
        for (const bool big : {false, true}) {
            CQuorim_CHView* view = Open(SampleFile(m_dir.path(), big ? "pbig.szt" : "psmall.szt", big, 0));
            QVERIFY(view);
            int pages = 0;
            QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::AllPagesView;
            bool pairs = false;
            bool printShown = false;
            OnNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
                // Print, the toolbar's last button, is on it, not behind its
                // overflow arrow.
                if (auto* bar = dialog->findChild<QToolBar*>(); bar && !bar->actions().isEmpty()) {
                    QWidget* print = bar->widgetForAction(bar->actions().last());
                    printShown = print && print->isVisible();
                }
                if (auto* widget = dialog->findChild<QPrintPreviewWidget*>()) {
                    pages = widget->pageCount();
                    mode = widget->viewMode();
                }
                // The first two pages side by side, the next two below them.
                if (auto* graphics = dialog->findChild<QGraphicsView*>(); graphics && big) {
                    QList<QPointF> at;
                    for (QGraphicsItem* item : graphics->scene()->items(Qt::AscendingOrder)) {
                        if (!item->parentItem()) {
                            at << item->pos();
                        }
                    }
                    pairs = at.size() == 7 && at[0].y() == at[1].y() && at[0].x() < at[1].x() &&
                            at[2].x() == at[0].x() && at[2].y() > at[0].y() && at[3].y() == at[2].y();
                    // Going on to page 3 shows pages 3 and 4.
                    auto* widget = dialog->findChild<QPrintPreviewWidget*>();
                    widget->setCurrentPage(3);
                    const QRectF shown = graphics->mapToScene(graphics->viewport()->rect()).boundingRect();
                    const QSizeF size =
                        graphics->scene()->items(Qt::AscendingOrder).first()->boundingRect().size();
                    auto visible = [&](int i) { return shown.contains(QRectF(at[i], size).center()); };
                    pairs = pairs && !visible(0) && !visible(1) && visible(2) && visible(3) && !visible(4);
                }
                if (!m_dir.autoRemove()) {
                    dialog->resize(1000, 700);
                    dialog->grab().save(m_dir.filePath(big ? S("preview199.png") : S("preview16.png")));
                }
                dialog->reject();
            });
            QAction* preview = Frame()->Action(ID_FILE_PRINT_PREVIEW);
            QVERIFY(preview);
            preview->trigger();
            QCOMPARE(pages, big ? 7 : 1);
            QCOMPARE(pairs, big);
            QVERIFY(printShown);
            QCOMPARE(mode, big ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
            m_app.reset();
        }
    }

    void directPrintThatCannotStartSaysSo() {
        CQuorim_CHView* view = Open(SampleFile(m_dir.path(), "fail.szt", false, 0));
        QVERIFY(view);
        PrintToPdf(m_dir.filePath(QStringLiteral("no-such-folder/out.pdf")));
        MessageBoxAnswer answer(QMessageBox::Ok);
        view->OnCmdMsg(ID_FILE_PRINT_DIRECT);
        QCOMPARE(answer.Count(), 1);
        QVERIFY(answer.Text().contains(S("无法打印")));
    }

    void printToPdfSwitchExitsZeroOnlyWhenThePdfIsWritten() {
        const QString program = QStringLiteral(QUORIM_CH_PATH);
        const QString file = QString::fromStdString(SampleFile(m_dir.path(), "batch.szt", true, 0));
        const QString pdf = PdfPath("batch.pdf");
        int code = -1;
        QString err;
        Run(program, {QStringLiteral("--print-to-pdf"), pdf, file}, &code, &err);
        QCOMPARE(code, 0);
        QCOMPARE(PdfPages(pdf), 7);
        // Batch use needs no display.
        QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
            headless.remove(QString::fromLatin1(name));
        }
        QFile::remove(pdf);
        Run(program, {QStringLiteral("--print-to-pdf"), pdf, file}, &code, &err, headless);
        QVERIFY2(code == 0, qPrintable(err));
        QCOMPARE(PdfPages(pdf), 7);
        QVERIFY(PdfPageText(pdf, 7).contains(S(kTitles[6])));
        // The batch print shows what the file decodes to, as an opened window would.
        DocumentData doc;
        EditorModel editor;
        QVERIFY(OpenDocument(file.toStdString(), doc, editor).Ok());
        for (int ch = 182; ch <= 199; ++ch) {
            CheckChannel(PdfPageText(pdf, 7), editor, ch);
        }

        // A file that cannot be read, an output that cannot be written, a
        // switch without its names: 1, with the reason, and no PDF.
        const QString missing = m_dir.filePath(QStringLiteral("missing.szt"));
        Run(program, {QStringLiteral("--print-to-pdf"), PdfPath("x.pdf"), missing}, &code, &err);
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(missing), qPrintable(err));
        QVERIFY(!QFileInfo::exists(PdfPath("x.pdf")));

        const QString unwritable = m_dir.filePath(QStringLiteral("no-such-folder/x.pdf"));
        Run(program, {QStringLiteral("--print-to-pdf"), unwritable, file}, &code, &err);
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(QStringLiteral("Cannot write")) && err.contains(unwritable), qPrintable(err));

        Run(program, {QStringLiteral("--print-to-pdf"), pdf}, &code, &err);
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(QStringLiteral("--print-to-pdf OUT.pdf FILE.szt")), qPrintable(err));
    }

    // Swapped or mistaken names never turn a user's file into a PDF: exit 2,
    // every file as it was. A file that may not be an image prints with a
    // warning.
    void printToPdfSwitchRefusesItsInputAndFilesThatAreNoPdf() {
        const QString program = QStringLiteral(QUORIM_CH_PATH);
        const QString file = QString::fromStdString(SampleFile(m_dir.path(), "own.szt", false, 0));
        const QString link = m_dir.filePath(QStringLiteral("own-link.pdf"));
        const QString notes = m_dir.filePath(QStringLiteral("notes.txt"));
        QVERIFY(QFile::link(file, link));
        test::WriteText(notes.toStdString(), "my notes");
        const auto before = test::ReadText(file.toStdString());
        int code = -1;
        QString err;
        for (const QString& out : {file, link, notes}) {
            Run(program, {QStringLiteral("--print-to-pdf"), out, file}, &code, &err);
            QCOMPARE(code, 2);
            QVERIFY2(
                err.contains(QStringLiteral("is the input")) || err.contains(QStringLiteral("is not a PDF")),
                qPrintable(err));
        }
        QCOMPARE(test::ReadText(file.toStdString()), before);
        QCOMPARE(test::ReadText(notes.toStdString()), std::string("my notes"));

        const QString csv = m_dir.filePath(QStringLiteral("list.csv"));
        test::WriteText(csv.toStdString(), "Location,Name,Frequency\n" + std::string(4000, ' '));
        Run(program, {QStringLiteral("--print-to-pdf"), PdfPath("csv.pdf"), csv}, &code, &err);
        QCOMPARE(code, 0);
        QVERIFY2(
            err.contains(QStringLiteral("does not look like a radio's memory image: it is comma-separated")),
            qPrintable(err));
    }

    // The batch print writes the PDF by a safe replace: names that are not
    // UTF-8 work both ways, a device is refused, and a full disk fails with
    // exit 1 and keeps the old PDF whole.
    void printToPdfSwitchKeepsWhatItReplaces() {
        const std::string folder = m_dir.path().toStdString();
        const std::string szt = folder + "/\xB5\xCA.szt";  // code page 936 bytes
        const std::string pdf = folder + "/\xB5\xCA \xff.pdf";
        // QTemporaryDir cannot remove names that are not UTF-8.
        struct Remove {
            std::vector<std::string> paths;
            ~Remove() {
                for (const auto& p : paths) std::filesystem::remove(p);
            }
        } remove{{szt, pdf}};
        std::filesystem::copy_file(SampleFile(m_dir.path(), "raw.szt", false, 0), szt);
        const auto batch = [&](const std::string& out, const std::string& file) {
            const std::string command = "QT_QPA_PLATFORM=offscreen '" + std::string(QUORIM_CH_PATH) +
                                        "' --print-to-pdf '" + out + "' '" + file + "' 2>'" + folder +
                                        "/err'";
            const int status = std::system(command.c_str());
            std::ifstream in(folder + "/err");
            return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                                  std::string{std::istreambuf_iterator<char>(in), {}});
        };
        const auto bytes = [](const std::string& path) {
            std::ifstream in(path, std::ios::binary);
            return std::string{std::istreambuf_iterator<char>(in), {}};
        };
        auto [code, err] = batch(pdf, szt);
        QVERIFY2(code == 0, err.c_str());
        const std::string printed = bytes(pdf);
        QVERIFY(printed.rfind("%PDF", 0) == 0 && printed.find("%%EOF") != std::string::npos);

        std::tie(code, err) = batch("/dev/full", szt);
        QCOMPARE(code, 1);
        QVERIFY2(err.find("\"/dev/full\" is a device") != std::string::npos, err.c_str());

        const std::string mnt = folder + "/small";
        std::filesystem::create_directory(mnt);
        if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=1m") != 0) {
            QSKIP("cannot mount a small tmpfs here (needs root)");
        }
        std::filesystem::copy_file(pdf, mnt + "/old.pdf");
        {
            std::ofstream fill(mnt + "/fill", std::ios::binary);
            const std::string block(4096, 'x');
            while (fill.write(block.data(), static_cast<std::streamsize>(block.size())) && fill.flush()) {
            }
        }
        std::tie(code, err) = batch(mnt + "/old.pdf", szt);
        const std::string kept = bytes(mnt + "/old.pdf");
        const auto entries = std::distance(std::filesystem::directory_iterator(mnt), {});
        umount(mnt.c_str());
        QCOMPARE(code, 1);
        QVERIFY2(err.find("No space left on device") != std::string::npos, err.c_str());
        QVERIFY(kept == printed);
        QCOMPARE(entries, 2);  // no temporary file left over
    }
};

QObject* MakePrintTest() {
    return new PrintTest;
}

#include "print_test.moc"
