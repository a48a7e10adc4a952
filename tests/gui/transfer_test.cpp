// Reading and writing from the windows: the Read and Write commands, the
// progress window and the transfer in the view, against the virtual radio on
// a pseudo-terminal (COM1 resolves to it through QUORIM_COM1).
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/ui/child_frame.h"
#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/codec.h"
#include "editor/document_file.h"
#include "editor/editor_model.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "editor/ui/quorim_doc.h"
#include "files/read_backup.h"
#include "files/szt_file.h"
#include "gui_test_support.h"
#include "link/progress_template.h"
#include "link/ui/progress_dlg.h"
#include "link/ui/radio_transfer.h"
#include "link/ui/restore_dlg.h"
#include "tests/e2e/e2e_util.h"
#include "ui/commands.h"

using namespace quorim;
using quorim::e2e::VirtualRadio;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Answers the modal message boxes in turn with the given buttons (the last
// one for any further box), recording each box's text, title and buttons.
class PromptAnswers : public QObject {
public:
    explicit PromptAnswers(QList<QMessageBox::StandardButton> answers) : m_answers(std::move(answers)) {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == m_last) {
                return;
            }
            m_last = box;
            texts << box->text();
            details << box->informativeText();
            titles << box->windowTitle();
            buttons << box->standardButtons();
            defaults << box->standardButton(box->defaultButton());
            const auto answer = m_answers.at(qMin(texts.size() - 1, m_answers.size() - 1));
            if (QAbstractButton* b = box->button(answer)) {
                b->click();
            } else {
                box->reject();
            }
        });
        m_timer.start();
    }
    QStringList texts;
    QStringList details;
    QStringList titles;
    QList<QMessageBox::StandardButtons> buttons;
    QList<QMessageBox::StandardButton> defaults;

private:
    QList<QMessageBox::StandardButton> m_answers;
    QPointer<QMessageBox> m_last;
    QTimer m_timer;
};

// A radio memory as a dealer would have programmed it.
std::string MakeRadioMemory(const QTemporaryDir& dir, bool ninetyNine) {
    DocumentData doc;
    doc.OnNewDocument();
    EditorModel editor;
    InitialUpdateEditor(doc, editor);
    if (ninetyNine) {
        editor.SetCurSel(SettingsList::Model, 1);
        ApplyModelChoice(editor, doc);
    }
    editor.SetTextMatrix(1, kColRxFreq, "435.12500");
    editor.SetTextMatrix(1, kColTxFreq, "435.12500");
    editor.SetTextMatrix(1, kColRxTone, "88.5");
    editor.SetTextMatrix(2, kColRxFreq, "436.00000");
    editor.SetTextMatrix(2, kColTxTone, "D023N");
    editor.SetTextMatrix(editor.Rows() - 1, kColRxFreq, "439.95000");
    EncodeImage(editor, doc);
    const std::string path =
        dir.filePath(ninetyNine ? QStringLiteral("radio199.szt") : QStringLiteral("radio16.szt"))
            .toStdString();
    SaveSztFile(path, doc.m_image);
    return path;
}

MemoryImage LoadImage(const std::string& path) {
    MemoryImage image{};
    if (!LoadSztFile(path, image).Ok()) {
        QTest::qFail("cannot load the radio's memory", __FILE__, __LINE__);
    }
    return image;
}

}  // namespace

// What both transfer suites share: the program, its first view, the keys.
class TransferFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<CQuorim_CHApp> m_app;
    CQuorim_CHView* m_view = nullptr;
    QTemporaryDir m_dir;

    CMainFrame* Frame() const { return m_app->MainFrame(); }
    CProgressDlg* Dlg() const { return m_view->findChild<CProgressDlg*>(); }
    void StartApp() {
        m_app = std::make_unique<CQuorim_CHApp>();
        QVERIFY(m_app->InitInstance({}));
        QVERIFY(QTest::qWaitForWindowExposed(Frame()));
        m_view = Frame()->ActiveView();
        QVERIFY(m_view);
    }
    void StopApp() {
        CRadioTransfer::SetBackUpBeforeWrite(false);
        m_view = nullptr;
        m_app.reset();
        qunsetenv("QUORIM_COM1");
    }
    void UseRadio(const VirtualRadio& radio) {
        qputenv("QUORIM_COM1", QByteArray::fromStdString(radio.Path()));
    }
    void Key(Qt::Key key) { QTest::keyClick(m_view->Grid(), key, Qt::ControlModifier); }
    // The window as a command leaves it before the start.
    void VerifyFreshWindow(const char* caption) {
        QVERIFY(Dlg()->IsWindow());
        QVERIFY(Dlg()->Window()->isVisible());
        QCOMPARE(Dlg()->Window()->windowTitle(), U(caption));
        QCOMPARE(Dlg()->StatusLine()->text(), U("未开始"));
        QCOMPARE(Dlg()->ProgressBar()->value(), 0);
        QCOMPARE(Dlg()->ProgressBar()->maximum(), 123);
        QVERIFY(Dlg()->StartButton()->isEnabled());
        QVERIFY(!Dlg()->m_bCancel);
    }
    // Presses the start button and waits for the transfer to end.
    void StartAndWait(int timeoutMs) {
        QPointer<QDialog> wnd = Dlg()->Window();
        QTest::mouseClick(Dlg()->StartButton(), Qt::LeftButton);
        QVERIFY(!Dlg()->StartButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!Dlg()->IsWindow() && !m_view->Radio().IsTransferRunning(), timeoutMs);
        // The window itself is gone, not just hidden.
        QTRY_VERIFY(wnd.isNull());
    }
    void VerifyGridShows(const MemoryImage& memory) {
        const EditorModel expected = test::DecodedForGrid(memory);
        QCOMPARE(m_view->Editor().Rows(), expected.Rows());
        for (int row = 1; row < expected.Rows(); ++row) {
            for (int col = 0; col < 6; ++col) {
                if (m_view->Editor().TextMatrix(row, col) != expected.TextMatrix(row, col)) {
                    QFAIL(qPrintable(QStringLiteral("row %1 col %2: %3, expected %4")
                                         .arg(row)
                                         .arg(col)
                                         .arg(QString::fromStdString(m_view->Editor().TextMatrix(row, col)),
                                              QString::fromStdString(expected.TextMatrix(row, col)))));
                }
            }
        }
        for (int list = 0; list < kSettingsListCount; ++list) {
            QCOMPARE(m_view->Editor().CurSel(static_cast<SettingsList>(list)),
                     expected.CurSel(static_cast<SettingsList>(list)));
        }
    }
};

class TransferTest : public TransferFixture {
    Q_OBJECT

private slots:
    void init() { StartApp(); }
    void cleanup() { StopApp(); }

    void readsASixteenChannelRadioIntoTheGrid() {
        const std::string memory = MakeRadioMemory(m_dir, false);
        const std::string saved = m_dir.filePath(QStringLiteral("after-read.szt")).toStdString();
        VirtualRadio radio({"--memory", memory, "--save", saved});
        UseRadio(radio);
        const MemoryImage before = m_view->GetDocument()->Data().m_image;
        QVERIFY(!m_view->GetDocument()->IsModified());

        Key(Qt::Key_R);
        VerifyFreshWindow("读频进度显示");
        QCOMPARE(m_view->Radio().Direction(), 0);
        // Centred over the grid.
        const QPoint gridCentre = m_view->Grid()->mapToGlobal(m_view->Grid()->rect().center());
        const QPoint wndCentre = Dlg()->Window()->geometry().center();
        QVERIFY2((gridCentre - wndCentre).manhattanLength() <= 2, "not centred over the grid");

        StartAndWait(20000);
        const QString done = U("读频完成：QZ - 16，16 个信道，") + QString::fromStdString(radio.Path());
        QCOMPARE(Frame()->MessageText(), done);
        QCOMPARE(Frame()->PortPaneText(), U("COM1 · ") + QString::fromStdString(radio.Path()));
        // A hover hint takes the message pane; the result stays in its own.
        Frame()->activateWindow();
        QTest::mouseMove(m_view->Grid()->viewport(), QPoint(30, 30));
        QTRY_VERIFY(Frame()->MessageText() != done);
        QCOMPARE(Frame()->TransferResultText(), done);
        QCOMPARE(QString::fromStdString(m_view->Radio().PortName()), QStringLiteral("COM1"));
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), std::string("435.12500"));
        QCOMPARE(m_view->Editor().TextMatrix(2, kColTxTone), std::string("D023N"));
        VerifyGridShows(LoadImage(memory));
        QVERIFY(m_view->GetDocument()->Data().m_bSixteenChannel);
        // Bytes past the 16-channel memory keep what the document had.
        const MemoryImage& after = m_view->GetDocument()->Data().m_image;
        QVERIFY(std::equal(after.begin() + 992, after.end(), before.begin() + 992));
        QVERIFY(m_view->GetDocument()->IsModified());
        QVERIFY(Frame()->Action(ID_READ_RADIO)->isEnabled());
        QVERIFY(m_view->Combo(SettingsList::Model)->isEnabled());
        // The read is also kept as read in the backup folder.
        const QDir backups(QString::fromStdString(ReadBackupFolder()));
        const QStringList kept = backups.entryList({QStringLiteral("*_QZ-16.szt")}, QDir::Files, QDir::Time);
        QVERIFY2(!kept.isEmpty(), qPrintable(backups.path()));
        QCOMPARE(LoadImage(backups.filePath(kept.first()).toStdString()), after);

        // The channels outside the band are told, with where to look, until
        // the band holds them; the panes are this document's own.
        QCOMPARE(Frame()->CheckSummaryText(), U("3 个信道超出频段或不在步进上：“编辑”→“检查信道”"));
        m_app->OnFileNew();
        QTRY_VERIFY(Frame()->ActiveView() != m_view);
        QVERIFY(Frame()->TransferResultText().isEmpty());
        QVERIFY(Frame()->CheckSummaryText().isEmpty());
        QVERIFY(Frame()->MessageText() != done);
        Frame()->ActiveChild()->close();
        QTRY_COMPARE(Frame()->ActiveView(), m_view);
        QCOMPARE(Frame()->TransferResultText(), done);
        m_view->Combo(SettingsList::Band)->setCurrentIndex(5);  // 430 - 450MHZ
        QTRY_VERIFY(Frame()->CheckSummaryText().isEmpty());

        // The next command makes the window afresh.
        Key(Qt::Key_W);
        VerifyFreshWindow("写频进度显示");
        QCOMPARE(m_view->Radio().Direction(), 1);
        QTest::mouseClick(Dlg()->CancelButton(), Qt::LeftButton);
        QVERIFY(!Dlg()->IsWindow());
    }

    void writesTheGridIntoTheRadio() {
        const std::string saved = m_dir.filePath(QStringLiteral("written.szt")).toStdString();
        VirtualRadio radio({"--model", "16", "--save", saved});
        UseRadio(radio);
        m_view->Editor().SetTextMatrix(3, kColRxFreq, "437.50000");
        m_view->Editor().SetTextMatrix(3, kColTxFreq, "437.50000");
        m_view->Editor().SetTextMatrix(3, kColRxTone, "D754I");
        m_view->Editor().SetTextMatrix(16, kColTxFreq, "438.00000");
        // An edit still open in its cell when the command comes.
        m_view->Grid()->SetRow(4);
        m_view->Grid()->SetCol(1);
        m_view->Grid()->setFocus();
        for (const char c : {'1', '4', '6', '.', '5'}) {
            QTest::keyClick(Frame()->focusWidget(), c);
        }
        QVERIFY(m_view->Cells().EditCell()->isVisible());

        // Read, then Write while the window is open: the caption stays, the
        // start button writes.
        QTest::keyClick(Frame()->focusWidget(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(Dlg()->IsWindow());
        QCOMPARE(m_view->Editor().TextMatrix(4, kColRxFreq), std::string("146.50000"));
        QVERIFY(m_view->Cells().EditCell()->isHidden());
        Key(Qt::Key_W);
        QCOMPARE(Dlg()->Window()->windowTitle(), U("读频进度显示"));
        QCOMPARE(m_view->Radio().Direction(), 1);
        StartAndWait(20000);
        radio.Stop();

        DocumentData expected = m_view->GetDocument()->Data();
        EncodeImage(m_view->Editor(), expected);
        // The document's image is what was encoded for the radio.
        QVERIFY(expected.m_image == m_view->GetDocument()->Data().m_image);
        const MemoryImage written = LoadImage(saved);
        // 123 blocks: image bytes 0 to 983.
        QVERIFY(std::equal(written.begin(), written.begin() + 984, expected.m_image.begin()));
        QCOMPARE(m_view->Editor().TextMatrix(3, kColRxTone), std::string("D754I"));
        EditorModel radioShows;
        DocumentData radioDoc;
        radioDoc.m_image = written;
        radioDoc.SetModelFlagFromImage();
        DecodeImage(radioDoc, radioShows);
        QCOMPARE(radioShows.TextMatrix(4, kColRxFreq), std::string("146.50000"));
        QCOMPARE(radioShows.TextMatrix(3, kColRxTone), std::string("D754I"));
        QVERIFY(!Dlg()->IsWindow());
        Key(Qt::Key_R);
        VerifyFreshWindow("读频进度显示");
    }

    void writeToARadioOfTheOtherModelTouchesNothing() {
        const std::string memory = MakeRadioMemory(m_dir, true);
        VirtualRadio radio({"--model", "199", "--memory", memory, "--save", memory});
        UseRadio(radio);
        const MemoryImage original = LoadImage(memory);
        PromptAnswers answers({QMessageBox::Ok});
        Key(Qt::Key_W);
        StartAndWait(20000);
        QCOMPARE(answers.texts, QStringList{U("对讲机为 QZ - 199，文件为 QZ - 16，未写入。")});
        QVERIFY(!Frame()->MessageText().startsWith(U("写频完成")));
        QCOMPARE(Frame()->TransferResultText(), answers.texts.first());
        radio.Stop();
        QCOMPARE(LoadImage(memory), original);
    }

    // "写频前备份对讲机数据": a write keeps the radio's memory first, or, when
    // it cannot be kept, stops with the reason before the first block; the
    // restore list puts the kept memory back, byte for byte.
    void writeBacksUpTheRadioAndRestorePutsItBack() {
        const std::string memory = MakeRadioMemory(m_dir, false);
        const std::string saved = m_dir.filePath(QStringLiteral("radio.szt")).toStdString();
        VirtualRadio radio({"--memory", memory, "--save", saved});
        UseRadio(radio);
        CRadioTransfer::SetBackUpBeforeWrite(true);
        m_view->Editor().SetTextMatrix(1, kColRxFreq, "145.00000");
        const QByteArray data = qgetenv("XDG_DATA_HOME");
        {
            qputenv("XDG_DATA_HOME", QFile::encodeName(QString::fromStdString(memory)));  // a file
            PromptAnswers answers({QMessageBox::Ok});
            Key(Qt::Key_W);
            StartAndWait(20000);
            qputenv("XDG_DATA_HOME", data);
            QCOMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts[0].startsWith(U("未写入对讲机：写频前未能保存它的数据（")),
                     qPrintable(answers.texts[0]));
            QVERIFY(!Frame()->TransferResultText().startsWith(U("写频完成")));
        }
        Key(Qt::Key_W);
        StartAndWait(20000);
        // The result pane: a hover hint may have taken the message pane.
        QVERIFY2(Frame()->TransferResultText().startsWith(U("写频完成")), qPrintable(Frame()->MessageText()));

        CRestoreDlg dlg(ReadBackupFolder(), "COM1", Frame());
        CRadioTransfer::SetBackUpBeforeWrite(false);
        QCOMPARE(dlg.List()->rowCount(), 1);
        QCOMPARE(dlg.List()->item(0, 1)->text(), QStringLiteral("COM1"));
        QCOMPARE(dlg.List()->item(0, 2)->text(), U("QZ - 16"));
        QVERIFY(dlg.List()->item(0, 0)->text().endsWith(QStringLiteral(" UTC")));
        QSignalSpy restored(&dlg, &CRestoreDlg::Restored);
        QTest::mouseClick(dlg.RestoreButton(), Qt::LeftButton);
        QVERIFY(dlg.ProgressDlg()->IsWindow());
        QCOMPARE(dlg.ProgressDlg()->Window()->windowTitle(), U("恢复写频前的数据"));
        QTest::mouseClick(dlg.ProgressDlg()->StartButton(), Qt::LeftButton);
        QVERIFY(restored.wait(20000));
        QVERIFY(dlg.ResultLabel()->text().startsWith(U("写频完成：QZ - 16")));
        radio.Stop();
        const MemoryImage original = LoadImage(memory);
        const MemoryImage after = LoadImage(saved);
        QVERIFY(std::equal(after.begin(), after.begin() + 992, original.begin()));
    }

    // A write the radio stopped acknowledging says what it left and what to
    // do; with the radio's memory kept first, it offers to put it back.
    void anInterruptedWriteSaysWhatNextAndOffersTheKeptMemory() {
        const std::string memory = MakeRadioMemory(m_dir, false);
        VirtualRadio radio({"--memory", memory, "--nak-write", "40"});
        UseRadio(radio);
        CRadioTransfer::SetBackUpBeforeWrite(true);
        PromptAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
        Key(Qt::Key_W);
        StartAndWait(20000);
        CRadioTransfer::SetBackUpBeforeWrite(false);
        QTRY_COMPARE(answers.texts.size(), 2);
        QCOMPARE(answers.texts[0], U(kMsgWriteBlockError));
        QCOMPARE(answers.details[0], U("对讲机可能已存有一部分新数据。再写一次即可写完。"));
        QCOMPARE(answers.texts[1], U("写频前已保存了对讲机原来的数据。要把它写回对讲机吗？"));
        QPointer<CRestoreDlg> restore = m_view->findChild<CRestoreDlg*>();
        QTRY_VERIFY(restore = m_view->findChild<CRestoreDlg*>());
        QVERIFY(restore->List()->rowCount() >= 1);
        restore->reject();
    }

    // A file that may not be a memory image is told when it opens, and goes
    // to a radio only when the user says so: Cancel is the default.
    void aFileThatIsNoImageIsToldAtOpenAndWrittenOnlyWhenMeant() {
        const std::string memory = MakeRadioMemory(m_dir, false);
        VirtualRadio radio({"--memory", memory, "--save", memory});
        UseRadio(radio);
        const MemoryImage original = LoadImage(memory);
        const QString csv = m_dir.filePath(QStringLiteral("list.csv"));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Location,Name,Frequency\n" + QByteArray(4000, ','));
        file.close();
        // Declining the offer to import it as a channel list opens it as it is.
        PromptAnswers answers({QMessageBox::No, QMessageBox::Ok, QMessageBox::Cancel});
        QVERIFY(m_app->OpenDocumentFile(csv));
        m_view = Frame()->ActiveView();
        Key(Qt::Key_W);
        QTRY_COMPARE(answers.texts.size(), 3);
        QVERIFY2(answers.texts[0].endsWith(U("是否把它导入一个新文档？")), qPrintable(answers.texts[0]));
        QVERIFY2(answers.texts[1].endsWith(U("不像对讲机的数据文件：它是逗号分隔的文本")),
                 qPrintable(answers.texts[1]));
        QVERIFY2(answers.texts[2].endsWith(U("它是逗号分隔的文本。仍要把它写入对讲机吗？")),
                 qPrintable(answers.texts[2]));
        QCOMPARE(answers.defaults[2], QMessageBox::Cancel);
        QVERIFY(!Dlg() || !Dlg()->IsWindow());
        radio.Stop();
        QCOMPARE(LoadImage(memory), original);
    }

    void cancelBeforeTheStartOpensNoPort() {
        // COM1 names a device that does not exist: opening it would say so.
        qputenv("QUORIM_COM1", QFile::encodeName(m_dir.filePath(QStringLiteral("no-such-device"))));
        PromptAnswers answers({QMessageBox::Ok});
        Key(Qt::Key_R);
        QPointer<QDialog> wnd = Dlg()->Window();
        QTest::mouseClick(Dlg()->CancelButton(), Qt::LeftButton);
        QVERIFY(!Dlg()->IsWindow());
        QTRY_VERIFY(wnd.isNull());
        QTest::qWait(50);
        QVERIFY(answers.texts.isEmpty());
        QVERIFY(m_view->Radio().PortName().empty());
        QCOMPARE(m_view->Radio().Direction(), 0);
        // Escape closes a fresh window the same way.
        Key(Qt::Key_W);
        QTest::keyClick(Dlg()->Window(), Qt::Key_Escape);
        QVERIFY(!Dlg()->IsWindow());

        // With the start button the port is tried, and the user told.
        Key(Qt::Key_R);
        StartAndWait(5000);
        QCOMPARE(
            answers.texts,
            QStringList{U("Could not Open the Port,Please check whether the Port are occupied or the device "
                          "are ok")});
        QCOMPARE(answers.titles.first(), U("Halvoren数据文件"));
        // The same box says why.
        QCOMPARE(answers.details.first(),
                 U("当前没有连接 ") + m_dir.filePath(QStringLiteral("no-such-device")) + U(" 设备"));
        // After the message, the status bar's result pane says why (a hover
        // hint may have taken the message pane since).
        QCOMPARE(Frame()->TransferResultText(),
                 U("当前没有连接 ") + m_dir.filePath(QStringLiteral("no-such-device")) + U(" 设备"));
        QVERIFY(!m_view->GetDocument()->IsModified());

        // Before the start the document window closes as usual, taking the
        // progress window with it.
        Key(Qt::Key_R);
        wnd = Dlg()->Window();
        QVERIFY(Frame()->ActiveChild()->close());
        m_view = nullptr;
        QTRY_VERIFY(wnd.isNull());
        QTRY_VERIFY(Frame()->ActiveView() == nullptr);
    }

    // A read replaces what every window of the document shows: while it runs
    // the other window refuses edits too, and may close.
    void aTransferMakesTheWholeDocumentBusy() {
        VirtualRadio radio({"--memory", MakeRadioMemory(m_dir, false)});
        UseRadio(radio);
        CChildFrame* first = Frame()->ActiveChild();
        m_app->OnWindowNew(m_view->GetDocument());
        QPointer<CQuorim_CHView> second = Frame()->ActiveView();
        QPointer<CChildFrame> secondFrame = Frame()->ActiveChild();
        QVERIFY(second && second != m_view && second->Commands().CanDo(EditCommand::SelectAll));
        first->mdiArea()->setActiveSubWindow(first);
        bool secondBusy = false, secondClosed = false;
        QTimer probe;
        probe.setInterval(2);
        connect(&probe, &QTimer::timeout, this, [&] {
            if (second && Dlg()->IsWindow() && Dlg()->ProgressBar()->value() >= 5) {
                secondBusy =
                    second->Radio().IsTransferRunning() && !second->Commands().CanDo(EditCommand::SelectAll);
                secondClosed = secondFrame->close();
            }
        });
        probe.start();
        Key(Qt::Key_R);
        StartAndWait(30000);
        probe.stop();
        QVERIFY(secondBusy && secondClosed);
        QVERIFY(!m_view->GetDocument()->IsBusy() && m_view->Commands().CanDo(EditCommand::SelectAll));
    }

    void cancelDuringATransferLeavesTheDocumentAsItWas() {
        const std::string memory = MakeRadioMemory(m_dir, false);
        VirtualRadio radio({"--memory", memory});
        UseRadio(radio);
        const DocumentData before = m_view->GetDocument()->Data();
        const std::string cellBefore = m_view->Editor().TextMatrix(1, kColRxFreq);

        // While blocks arrive: the commands, the model list and closing are
        // refused; then the cancel button.
        bool readEnabled = true, writeEnabled = true, modelEnabled = true;
        bool frameClosed = true, mainClosed = true, titleOk = false;
        int cancelledAt = -1;
        QString percentAt;
        QTimer probe;
        probe.setInterval(2);
        connect(&probe, &QTimer::timeout, this, [&] {
            if (cancelledAt >= 0 || !Dlg()->IsWindow() || Dlg()->ProgressBar()->value() < 10) {
                return;
            }
            Frame()->UpdateCommandUi();
            readEnabled = Frame()->Action(ID_READ_RADIO)->isEnabled();
            writeEnabled = Frame()->Action(ID_WRITE_RADIO)->isEnabled();
            modelEnabled = m_view->Combo(SettingsList::Model)->isEnabled();
            // Ctrl+R now changes nothing.
            Key(Qt::Key_W);
            titleOk = Dlg()->Window()->windowTitle() == U("读频进度显示") && m_view->Radio().Direction() == 0;
            frameClosed = Frame()->ActiveChild()->close();
            mainClosed = Frame()->close();
            cancelledAt = Dlg()->ProgressBar()->value();
            percentAt = Dlg()->PercentLabel()->text();
            QTest::mouseClick(Dlg()->CancelButton(), Qt::LeftButton);
        });
        probe.start();

        Key(Qt::Key_R);
        StartAndWait(20000);
        probe.stop();
        QVERIFY(cancelledAt >= 10 && cancelledAt < 123);
        // The percentage label moves with the bar.
        QCOMPARE(percentAt, QString::number(cancelledAt * 100 / 123) + QLatin1Char('%'));
        QVERIFY(!readEnabled && !writeEnabled && !modelEnabled && titleOk);
        QVERIFY(!frameClosed && !mainClosed);
        QVERIFY(Frame()->isVisible() && Frame()->ActiveView() == m_view);

        // Nothing of the read reached the document or the grid.
        QVERIFY(m_view->GetDocument()->Data().m_image == before.m_image);
        QCOMPARE(m_view->GetDocument()->Data().m_bSixteenChannel, before.m_bSixteenChannel);
        QCOMPARE(m_view->Editor().TextMatrix(1, kColRxFreq), cellBefore);
        QVERIFY(!m_view->GetDocument()->IsModified());
        QVERIFY(Frame()->Action(ID_READ_RADIO)->isEnabled());
        QVERIFY(m_view->Combo(SettingsList::Model)->isEnabled());

        // The port was closed: the next read gets it and succeeds.
        Key(Qt::Key_R);
        VerifyFreshWindow("读频进度显示");
        StartAndWait(20000);
        VerifyGridShows(LoadImage(memory));
    }
};

// Slow: a silent radio waits out fifteen wake-ups, and the 199-channel read
// at 9600-baud pacing takes about twenty seconds.
class TransferSlowTest : public TransferFixture {
    Q_OBJECT

private slots:
    void init() { StartApp(); }
    void cleanup() { StopApp(); }

    void aSilentRadioAsksRetryOrCancel() {
        // The radio ignores the first fifteen wake-ups: Retry reaches it.
        const std::string memory = MakeRadioMemory(m_dir, false);
        {
            VirtualRadio radio({"--memory", memory, "--silent", "15"});
            UseRadio(radio);
            PromptAnswers answers({QMessageBox::Retry});
            Key(Qt::Key_R);
            StartAndWait(60000);
            QCOMPARE(answers.texts.size(), 1);
            QCOMPARE(answers.texts.first(),
                     U("Communication Error，Please check all the connections and the radio power"));
            QCOMPARE(answers.titles.first(), U("Halvoren数据文件"));
            QCOMPARE(answers.buttons.first(), QMessageBox::Retry | QMessageBox::Cancel);
            VerifyGridShows(LoadImage(memory));
        }
        // A radio that never answers: Cancel ends it, the window goes.
        const DocumentData before = m_view->GetDocument()->Data();
        m_view->GetDocument()->SetModifiedFlag(false);
        VirtualRadio radio({"--silent", "all"});
        UseRadio(radio);
        PromptAnswers answers({QMessageBox::Cancel});
        Key(Qt::Key_R);
        StartAndWait(60000);
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY(m_view->GetDocument()->Data().m_image == before.m_image);
        QVERIFY(!m_view->GetDocument()->IsModified());
        Key(Qt::Key_R);
        VerifyFreshWindow("读频进度显示");
    }

    void aPacedReadOf199ChannelsKeepsTheWindowResponsive() {
        const std::string memory = MakeRadioMemory(m_dir, true);
        VirtualRadio radio({"--memory", memory, "--pace"});
        UseRadio(radio);

        // A precise 1 ms timer fires whenever events are processed; the
        // longest pause between its firings is how long the window froze.
        QElapsedTimer clock;
        clock.start();
        qint64 last = -1, longest = 0, started = -1;
        int maxPos = 0, range = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        connect(&tick, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (m_view->Radio().IsTransferRunning() && Dlg()->IsWindow()) {
                if (started < 0) {
                    started = now;
                } else if (Dlg()->ProgressBar()->value() > 0) {
                    longest = qMax(longest, now - last);  // from the first block on
                }
                maxPos = qMax(maxPos, Dlg()->ProgressBar()->value());
                range = Dlg()->ProgressBar()->maximum();
            }
            last = now;
        });
        tick.start();
        Key(Qt::Key_R);
        StartAndWait(90000);
        tick.stop();
        const qint64 total = clock.elapsed() - started;
        qInfo("paced 199-channel read: %lld ms; longest gap between processed events: %lld ms", total,
              longest);
        QCOMPARE(range, 401);
        QCOMPARE(maxPos, 401);
        QCOMPARE(m_view->Editor().Rows(), 200);
        QVERIFY(!m_view->GetDocument()->Data().m_bSixteenChannel);
        VerifyGridShows(LoadImage(memory));
        // Target one frame (16 ms); a generous bound for a shared, loaded machine.
        QVERIFY2(longest < 100, qPrintable(QStringLiteral("longest gap %1 ms").arg(longest)));
    }
};

QObject* MakeTransferTest() {
    return new TransferTest;
}
QObject* MakeTransferSlowTest() {
    return new TransferSlowTest;
}

#include "transfer_test.moc"
