// The window reads and writes a virtual radio someone else started on COM1:
// under Wine through a real Windows COM port (scripts/windows.sh starts the
// radio, a Linux program, on a pseudo-terminal that Wine's COM1 stands for),
// on Linux through QUORIM_COM1 (the bench). Its memory files are named by
// QUORIM_TEST_RADIO_MEMORY (what the radio holds at the start) and
// QUORIM_TEST_RADIO_SAVED (what it saves once the line goes quiet). With
// QUORIM_TEST_SCREENSHOTS naming a folder, the screen is kept there after the
// read and with the print preview open (scripts/windows.sh shots); with
// QUORIM_TEST_TIMINGS set, the read's and the write's times are printed
// (scripts/windows.sh bench).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/settings_lists.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "files/szt_file.h"
#include "gui_test_support.h"
#include "link/ui/progress_dlg.h"
#include "ui/commands.h"

using namespace quorim;

namespace {

bool Load(const QString& path, MemoryImage& image) {
    return LoadSztFile(path.toStdString(), image).Ok();
}

template <typename A, typename B>
bool SameChannels(const A& a, const B& b) {
    if (a.Rows() != b.Rows()) {
        return false;
    }
    for (int row = 1; row < a.Rows(); ++row) {
        for (int col = 0; col < 6; ++col) {
            if (a.TextMatrix(row, col) != b.TextMatrix(row, col)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class RadioWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CQuorim_CHApp> m_app;
    CQuorim_CHView* m_view = nullptr;
    QString m_memory;
    QString m_saved;

    CProgressDlg* Dlg() const { return m_view->findChild<CProgressDlg*>(); }
    void Command(Qt::Key key) { QTest::keyClick(m_view->Grid(), key, Qt::ControlModifier); }
    void StartAndWait(const char* what) {
        QVERIFY(Dlg() && Dlg()->IsWindow());
        QPointer<QDialog> wnd = Dlg()->Window();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(Dlg()->StartButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Dlg()->IsWindow() && !m_view->Radio().IsTransferRunning(), 60000);
        if (!qEnvironmentVariableIsEmpty("QUORIM_TEST_TIMINGS")) {
            std::printf("window %s QZ - 16: %lld ms\n", what, static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
        }
        QTRY_VERIFY(wnd.isNull());
    }

    // The whole screen as Windows (here Wine) draws it.
    void Shoot(const char* name) {
        const QString dir = qEnvironmentVariable("QUORIM_TEST_SCREENSHOTS");
        if (dir.isEmpty()) {
            return;
        }
        QTest::qWait(500);
        QGuiApplication::primaryScreen()->grabWindow(0).save(dir + QLatin1Char('/') + QLatin1String(name));
    }

private slots:
    void initTestCase() {
        m_memory = qEnvironmentVariable("QUORIM_TEST_RADIO_MEMORY");
        m_saved = qEnvironmentVariable("QUORIM_TEST_RADIO_SAVED");
        if (m_memory.isEmpty() || m_saved.isEmpty()) {
            QSKIP("no virtual radio on COM1 (scripts/windows.sh starts one)");
        }
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(m_app->MainFrame()));
        m_view = m_app->MainFrame()->ActiveView();
        QVERIFY(m_view);
    }
    void cleanupTestCase() {
        m_view = nullptr;
        m_app.reset();
    }

    void readsTheRadioOnCom1IntoTheGrid() {
        MemoryImage memory{};
        QVERIFY(Load(m_memory, memory));
        QCOMPARE(m_app->PortName(), std::string("COM1"));
        Command(Qt::Key_R);
        StartAndWait("read");
        QVERIFY2(m_app->MainFrame()->MessageText().startsWith(QString::fromUtf8("读频完成：")),
                 qPrintable(m_app->MainFrame()->MessageText()));
        QVERIFY(SameChannels(m_view->Editor(), test::DecodedForGrid(memory)));
        m_app->MainFrame()->showMaximized();
        Shoot("after-read.png");
        if (!qEnvironmentVariableIsEmpty("QUORIM_TEST_SCREENSHOTS")) {
            // The preview is modal: shot and closed from within.
            QTimer::singleShot(1500, [this] {
                if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                    preview->showMaximized();
                    Shoot("print-preview.png");
                    preview->reject();
                }
            });
            m_app->MainFrame()->Action(ID_FILE_PRINT_PREVIEW)->trigger();
        }
    }

    void writesTheEditedGridIntoTheRadio() {
        m_view->Editor().SetTextMatrix(3, kColRxFreq, "437.50000");
        m_view->Editor().SetTextMatrix(3, kColTxFreq, "437.50000");
        m_view->Editor().SetTextMatrix(3, kColRxTone, "D754I");
        Command(Qt::Key_W);
        StartAndWait("write");
        DocumentData expected = m_view->GetDocument()->Data();
        EncodeImage(m_view->Editor(), expected);
        // The radio saves its memory once the line has gone quiet.
        MemoryImage written{};
        QTRY_VERIFY_WITH_TIMEOUT(Load(m_saved, written) && std::equal(written.begin(), written.begin() + 984,
                                                                      expected.m_image.begin()),
                                 20000);
        QCOMPARE(test::DecodedForGrid(written).TextMatrix(3, kColRxTone), std::string("D754I"));
    }

    void printsTheRadiosMemoryToAPdf() {
        QTemporaryDir dir;
        const std::string pdf = dir.filePath(QStringLiteral("radio.pdf")).toStdString();
        QVERIFY(m_app->PrintDocumentToPdf(m_saved.toStdString(), pdf));
        QFile file(QString::fromStdString(pdf));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF") && bytes.contains("%%EOF"));
        // The 16-channel model prints on one page.
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
                 1);
    }
};

QObject* MakeRadioWindowTest() {
    return new RadioWindowTest;
}

#include "radio_window_test.moc"
