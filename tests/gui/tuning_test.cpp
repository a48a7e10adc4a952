// The online tuning window: opening from the form, pages, the frequency
// entry, tone lists, item values, restore, closing, and "开始" against the
// virtual radio over a pseudo-terminal.
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/settings_lists.h"
#include "editor/ui/form_view.h"
#include "gui_test_support.h"
#include "tuning/ui/tuning_dlg.h"
#include "ui/commands.h"
#include "ui/fonts.h"

using namespace quorim;
using quorim::test::MessageBoxAnswer;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr std::int64_t kMhz = 100000;

const int kFrequencyPage[] = {1060, 1054, 1030, 1056, 1012, 1058, 1034, 1035, 1062, 1063, 1064,
                              1061, 1055, 1031, 1057, 1013, 1059, 1036, 1037, 1065, 1066, 1067};
const int kItemPage[] = {1043, 1040, 1041, 1042, 1044, 1049, 1039, 1051, 1052, 1038};

// The virtual radio on a pseudo-terminal, logging what it was tuned to.
class RadioProcess {
public:
    explicit RadioProcess(const QString& log, const QStringList& faults = {}) {
        m_process.setProgram(QStringLiteral(QUORIM_BIN_DIR "/quorim-radio"));
        m_process.setArguments(QStringList{QStringLiteral("--tune-log"), log} + faults);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (m_process.waitForStarted(5000)) {
            while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
            }
            m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        }
    }
    ~RadioProcess() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString Path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

}  // namespace

class TuningTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CTuningDlg> m_dlg;

    void Open(std::int64_t base, const std::string& port = "COM1") {
        m_dlg = std::make_unique<CTuningDlg>(base, port);
        m_dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    }
    QWidget* C(int id) const { return m_dlg->Control(id); }
    // Presses "开始" and waits for the session, on its own thread, to end.
    void Start() {
        QTest::mouseClick(qobject_cast<QPushButton*>(C(1038)), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->IsSessionRunning(), 20000);
    }
    QRadioButton* Radio(int id) const { return qobject_cast<QRadioButton*>(C(id)); }
    void Select(int data) {
        QTreeWidget* tree = m_dlg->Tree();
        QTreeWidgetItem* item = m_dlg->TreeItem(data);
        if (item->parent()) {
            item->parent()->setExpanded(true);
        }
        const QRect r = tree->visualItemRect(item);
        QVERIFY(r.isValid());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(item->isSelected());
    }
    bool PageShown(const int* begin, const int* end) const {
        int shown = 0;
        for (const int* id = begin; id != end; ++id) {
            shown += C(*id)->isVisible() ? 1 : 0;
        }
        if (shown != 0 && shown != end - begin) {
            qWarning("page half shown");
        }
        return shown == end - begin;
    }
    bool FrequencyPage() const { return PageShown(std::begin(kFrequencyPage), std::end(kFrequencyPage)); }
    bool ItemPage() const { return PageShown(std::begin(kItemPage), std::end(kItemPage)); }
    QString Caption() const { return qobject_cast<QGroupBox*>(C(1029))->title(); }
    QString Position() const { return qobject_cast<QLabel*>(C(1052))->text(); }
    void Enter(TuningSide side, const char* text) {
        QLineEdit* box = m_dlg->FrequencyBox(side);
        box->setFocus();
        box->selectAll();
        if (*text) {
            QTest::keyClicks(box, S(text));
        } else {
            QTest::keyClick(box, Qt::Key_Delete);
        }
        QTest::keyClick(box, Qt::Key_Return);
    }
    void CloseUp(QComboBox* box, int position) {
        box->showPopup();
        box->setCurrentIndex(position);
        box->hidePopup();
    }

private slots:
    void cleanup() { m_dlg.reset(); }

    void commandOpensTheWindowOnTheFormsBandAndPort() {
        CQuorim_CHApp app;
        QVERIFY(app.InitInstance({}));
        CQuorim_CHView* view = app.MainFrame()->ActiveView();
        QVERIFY(view);
        view->Editor().SetCurSel(SettingsList::Band, 4);  // "400 - 420MHZ"
        app.OnPort(3);
        bool seen = false;
        auto inspect = [&] {
            auto* dlg = qobject_cast<CTuningDlg*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            seen = true;
            QCOMPARE(dlg->windowTitle(), S("Debug Mode for Tarvolin Radio"));
            QCOMPARE(dlg->Model().BandBase(), 400 * kMhz);
            QCOMPARE(dlg->Model().PortName(), std::string("COM3"));
            QCOMPARE(dlg->Model().Values(kPointHigh).rxFrequency, 420 * kMhz);
            dlg->reject();
        };
        QTimer::singleShot(0, this, inspect);
        QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(seen);

        // No band selected: the list's initial entry.
        view->Editor().SetCurSel(SettingsList::Band, -1);
        seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<CTuningDlg*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            seen = true;
            QCOMPARE(dlg->Model().BandBase(), 350 * kMhz);
            dlg->reject();
        });
        QVERIFY(view->OnCmdMsg(ID_ONLINE_TUNING));
        QVERIFY(seen);
    }

    void opensWithOnlyTheTreeAndTheFrame() {
        Open(400 * kMhz);
        QVERIFY(m_dlg->Tree()->isVisible());
        QCOMPARE(Caption(), S("频率未确定"));
        QVERIFY(!FrequencyPage());
        QVERIFY(!ItemPage());
        QVERIFY(!C(1028)->isVisible());
        QVERIFY(!C(1068)->isVisible());
        QVERIFY(!C(1068)->isEnabled());
        QVERIFY(m_dlg->Tree()->selectedItems().isEmpty());
        // The tree: three roots, the points expanded, the items not.
        QTreeWidget* tree = m_dlg->Tree();
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(0)->text(0), S("调试频率设置"));
        QCOMPARE(tree->topLevelItem(0)->child(1)->text(0), S("中心频率"));
        QCOMPARE(tree->topLevelItem(0)->child(2)->data(0, Qt::UserRole).toInt(), 5571);
        QCOMPARE(tree->topLevelItem(1)->childCount(), 4);
        QCOMPARE(tree->topLevelItem(1)->child(1)->text(0), S("电池低压电平"));
        QCOMPARE(tree->topLevelItem(2)->text(0), S("退出调试"));
        QVERIFY(tree->topLevelItem(0)->isExpanded());
        QVERIFY(!tree->topLevelItem(1)->isExpanded());
        QVERIFY(Radio(1034)->isChecked() && Radio(1036)->isChecked() && Radio(1040)->isChecked());
        QVERIFY(Radio(1063)->isChecked() && Radio(1066)->isChecked());
        QCOMPARE(m_dlg->ToneBox(TuningSide::Rx)->count(), 51);
        QCOMPARE(m_dlg->ToneBox(TuningSide::Tx)->currentText(), S("OFF"));
        // The template's rectangles in the dialog font's units, moved right
        // or down (and grown) only where a wider face's texts need the room.
        const DialogBaseUnits base = BaseUnitsOf(m_dlg->font());
        QVERIFY(m_dlg->width() >= DluToPixelsX(363, base) && m_dlg->height() >= DluToPixelsY(216, base));
        QVERIFY(m_dlg->width() <= DluToPixelsX(363, base) * 6 / 5);
        for (const TuningControl& c : TuningDlgTemplate().controls) {
            const DlgRect r = MapDialogRect(c.rect, base);
            QVERIFY2(C(c.id)->y() >= r.y && C(c.id)->x() >= r.x, qPrintable(QString::number(c.id)));
            if (c.kind == TuningControlKind::Tree || c.kind == TuningControlKind::Slider ||
                c.kind == TuningControlKind::PushButton || c.kind == TuningControlKind::GroupBox) {
                QVERIFY(C(c.id)->width() >= r.cx && C(c.id)->height() >= r.cy);
            }
        }
        // The receive and transmit groups line up row by row.
        for (const auto& [rx, tx] : TuningRxTxRows()) {
            QVERIFY2(C(rx)->y() == C(tx)->y(), qPrintable(QString::number(tx)));
        }
        QCOMPARE(C(1060)->height(), C(1061)->height());
        // Where the texts fit, the template's places are kept: the tree.
        const DlgRect treeAt = MapDialogRect(TuningDlgTemplate().controls.front().rect, base);
        QCOMPARE(m_dlg->Tree()->geometry(), QRect(treeAt.x, treeAt.y, treeAt.cx, treeAt.cy));
        // Enter in the tree moves on; it never closes the window.
        m_dlg->Tree()->setFocus();
        QTest::keyClick(m_dlg->Tree(), Qt::Key_Return);
        QVERIFY(m_dlg->isVisible());
        // Selecting a root keeps the page showing (none yet).
        Select(kTreeItems);
        QVERIFY(!FrequencyPage() && !ItemPage() && !C(1028)->isVisible());
    }

    void pointsShowTheirFrequenciesAndTypedTextIsLost() {
        Open(350 * kMhz);
        Select(kTreeCentre);
        QVERIFY(FrequencyPage());
        QVERIFY(!ItemPage());
        QVERIFY(C(1028)->isVisible());
        QCOMPARE(Caption(), S("中端频率"));
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Rx)->text(), S("360.00000"));
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Tx)->text(), S("360.00000"));
        m_dlg->FrequencyBox(TuningSide::Rx)->setText(S("365.5"));
        Select(kTreeLow);
        QCOMPARE(Caption(), S("低端频率"));
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Rx)->text(), S("350.00000"));
        Select(kTreeCentre);
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Rx)->text(), S("360.00000"));
        Select(kTreeSquelch);
        QVERIFY(ItemPage());
        QVERIFY(!FrequencyPage());
        QCOMPARE(Caption(), S("中端频率"));
        Select(kTreePoints);  // a root: the item page stays
        QVERIFY(ItemPage());
        // The wide band: 50, 60, 70 MHz.
        Open(50 * kMhz);
        Select(kTreeHigh);
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Tx)->text(), S("70.00000"));
    }

    void enterClampsAndSnapsToTheBoxStep() {
        Open(400 * kMhz);
        Select(kTreeLow);
        struct Case {
            TuningSide side;
            bool step625;
            const char* typed;
            const char* shown;
        };
        const Case cases[] = {
            {TuningSide::Rx, false, "abc", "400.00000"},
            {TuningSide::Tx, false, "", "400.00000"},
            {TuningSide::Rx, false, "420.1", "420.00000"},
            {TuningSide::Rx, true, "400.0124", "400.01250"},
            {TuningSide::Tx, false, "400.0124", "400.01000"},
            {TuningSide::Tx, false, "400.0075", "400.00500"},
            {TuningSide::Tx, true, "400.0124", "400.01250"},
            {TuningSide::Rx, false, "400.0124", "400.01000"},
            {TuningSide::Rx, true, "-5", "400.00000"},
            {TuningSide::Tx, true, "419.99999", "420.00000"},
        };
        for (const Case& c : cases) {
            const int stepId =
                c.side == TuningSide::Rx ? (c.step625 ? 1064 : 1063) : (c.step625 ? 1067 : 1066);
            QTest::mouseClick(Radio(stepId), Qt::LeftButton);
            QVERIFY(Radio(stepId)->isChecked());
            Enter(c.side, c.typed);
            QCOMPARE(m_dlg->FrequencyBox(c.side)->text(), S(c.shown));
            // The focus moved on to the next control; the window stays.
            QVERIFY(!m_dlg->FrequencyBox(c.side)->hasFocus());
            QVERIFY(m_dlg->isVisible());
        }
        // The step radios belong to the point; the stored frequency does not change.
        QCOMPARE(m_dlg->Model().Values(kPointLow).rxStep, ChannelStep::Khz625);
        QCOMPARE(m_dlg->Model().Values(kPointLow).rxFrequency, 400 * kMhz);
        Select(kTreeHigh);
        QVERIFY(Radio(1063)->isChecked() && !Radio(1064)->isChecked());
        Select(kTreeLow);
        QVERIFY(Radio(1064)->isChecked() && Radio(1067)->isChecked());
    }

    void digitalSignallingOffersItsListAndKeepsStoredPositions() {
        Open(400 * kMhz);
        Select(kTreeHigh);
        QComboBox* tx = m_dlg->ToneBox(TuningSide::Tx);
        QTest::mouseClick(Radio(1037), Qt::LeftButton);
        QVERIFY(Radio(1037)->isChecked() && !Radio(1036)->isChecked());
        QCOMPARE(tx->count(), 210);
        QCOMPARE(tx->itemText(0), S("D023N"));
        QCOMPARE(tx->currentText(), S("D023N"));
        QCOMPARE(m_dlg->ToneBox(TuningSide::Rx)->count(), 51);  // the other side keeps its list
        CloseUp(tx, 100);
        QCOMPARE(m_dlg->Model().Values(kPointHigh).txTone, 100);
        // A second click on the chosen kind changes nothing.
        QTest::mouseClick(Radio(1037), Qt::LeftButton);
        QCOMPARE(tx->currentIndex(), 100);
        // Back to analogue: "OFF", and the stored 100 lies beyond the list.
        QTest::mouseClick(Radio(1036), Qt::LeftButton);
        QCOMPARE(tx->count(), 51);
        QCOMPARE(tx->currentText(), S("OFF"));
        Select(kTreeLow);
        Select(kTreeHigh);
        QCOMPARE(tx->currentIndex(), -1);
        QCOMPARE(tx->currentText(), QString());
        // Another point keeps its own kind and tone.
        Select(kTreeCentre);
        QCOMPARE(tx->count(), 51);
        QCOMPARE(tx->currentText(), S("OFF"));
    }

    void eachItemKeepsItsOwnSliderValue() {
        Open(400 * kMhz);
        Select(kTreeSquelch);
        auto* slider = qobject_cast<QSlider*>(C(1039));
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->value(), 0);
        QCOMPARE(Position(), S("当前位置:0"));
        slider->setFocus();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(slider, Qt::Key_Right);
        }
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(Position(), S("当前位置:255"));
        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(Position(), S("当前位置:254"));
        Select(kTreePower);
        QCOMPARE(slider->value(), 0);
        QCOMPARE(Position(), S("当前位置:0"));
        Select(kTreeSquelch);
        QCOMPARE(slider->value(), 254);
        QCOMPARE(Position(), S("当前位置:254"));
        QCOMPARE(m_dlg->Model().ItemValue(kItemPower), 0);
        // The point radios stay exclusive and are read by nothing.
        QTest::mouseClick(Radio(1042), Qt::LeftButton);
        QVERIFY(Radio(1042)->isChecked() && !Radio(1040)->isChecked() && !Radio(1041)->isChecked());
        QCOMPARE(m_dlg->Model().Point(), kPointHigh);
    }

    void restoreDefaultsOnEachPage() {
        Open(400 * kMhz);
        Select(kTreeBattery);
        qobject_cast<QSlider*>(C(1039))->setValue(7);
        Select(kTreePower);
        qobject_cast<QSlider*>(C(1039))->setValue(9);
        QTest::mouseClick(qobject_cast<QPushButton*>(C(1028)), Qt::LeftButton);
        QCOMPARE(qobject_cast<QSlider*>(C(1039))->value(), 47);
        QCOMPARE(Position(), S("当前位置:47"));
        QCOMPARE(m_dlg->Model().ItemValue(kItemBattery), 7);  // only the current item

        Select(kTreeCentre);
        QTest::mouseClick(Radio(1035), Qt::LeftButton);
        QTest::mouseClick(Radio(1064), Qt::LeftButton);
        QTest::mouseClick(Radio(1067), Qt::LeftButton);
        CloseUp(m_dlg->ToneBox(TuningSide::Rx), 3);
        m_dlg->FrequencyBox(TuningSide::Tx)->setText(S("415"));
        // Enter on the focused restore button restores too.
        C(1028)->setFocus();
        QTest::keyClick(C(1028), Qt::Key_Return);
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Tx)->text(), S("410.00000"));
        QVERIFY(Radio(1034)->isChecked() && !Radio(1035)->isChecked());
        QVERIFY(Radio(1063)->isChecked() && Radio(1066)->isChecked());
        QCOMPARE(m_dlg->ToneBox(TuningSide::Rx)->count(), 51);
        QCOMPARE(m_dlg->ToneBox(TuningSide::Rx)->currentText(), S("OFF"));
        QCOMPARE(m_dlg->Model().Values(kPointCentre).rxTone, 0);
        QVERIFY(m_dlg->isVisible());
    }

    void exitClosesAsOk() {
        Open(400 * kMhz);
        QSignalSpy accepted(m_dlg.get(), &QDialog::accepted);
        Select(kTreeExit);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
        QVERIFY(!m_dlg->isVisible());
    }

    void startDeliversTheFramesToTheVirtualRadio() {
        QUORIM_NEEDS_VIRTUAL_RADIO();
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("tune.log"));
        RadioProcess radio(log);
        QVERIFY(!radio.Path().isEmpty());
        const QByteArray before = qgetenv("QUORIM_COM1");
        qputenv("QUORIM_COM1", radio.Path().toLocal8Bit());
        Open(430 * kMhz);  // "430 - 450MHZ"
        Select(kTreeLow);
        Enter(TuningSide::Rx, "435.125");
        QCOMPARE(m_dlg->FrequencyBox(TuningSide::Rx)->text(), S("435.12500"));
        m_dlg->FrequencyBox(TuningSide::Tx)->setText(S("435.125"));  // typed, sent as typed
        CloseUp(m_dlg->ToneBox(TuningSide::Rx), 9);                  // "88.5"
        Select(kTreeSquelch);
        qobject_cast<QSlider*>(C(1039))->setValue(160);
        {
            MessageBoxAnswer ok(QMessageBox::Ok);
            Start();
            QCOMPARE(ok.Text(), S("对讲机已收到!"));
            QCOMPARE(ok.Count(), 1);
        }
        // Again, for another item, with typed tone text: a second full session
        // with the point's stored pair and tones.
        Select(kTreePower);
        Select(kTreeLow);
        m_dlg->ToneBox(TuningSide::Tx)->setEditText(S("254.1"));
        Select(kTreePower);
        {
            MessageBoxAnswer ok(QMessageBox::Ok);
            Start();
            QCOMPARE(ok.Text(), S("对讲机已收到!"));
        }
        if (before.isNull()) {
            qunsetenv("QUORIM_COM1");
        } else {
            qputenv("QUORIM_COM1", before);
        }
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 S("tune 73 freq 00 25 51 43 00 25 51 43 setting 85 08 00 00 FB 01 01 A0\n"
                   "tune 74 freq 00 00 00 43 00 00 00 43 setting 85 08 41 25 FB 01 01 00\n"));
    }

    void retryAfterASilentRadioStartsOver() {
        QUORIM_NEEDS_VIRTUAL_RADIO();
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("tune.log"));
        RadioProcess radio(log, {QStringLiteral("--silent"), QStringLiteral("1")});
        QVERIFY(!radio.Path().isEmpty());
        const QByteArray before = qgetenv("QUORIM_COM2");
        qputenv("QUORIM_COM2", radio.Path().toLocal8Bit());
        Open(400 * kMhz, "COM2");
        Select(kTreeHigh);
        Select(kTreeBattery);
        QStringList texts;
        QTimer watch;
        watch.setInterval(5);
        // The prompt has Retry and Cancel; Retry runs a second attempt, which
        // the radio answers.
        connect(&watch, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            texts << box->text();
            QAbstractButton* retry = box->button(QMessageBox::Retry);
            if (retry && box->button(QMessageBox::Cancel)) {
                retry->click();
            } else {
                box->button(QMessageBox::Ok)->click();
            }
        });
        watch.start();
        QTest::mouseClick(qobject_cast<QPushButton*>(C(1038)), Qt::LeftButton);
        // While the session talks to the radio the window stays open.
        m_dlg->reject();
        QVERIFY(m_dlg->isVisible() && m_dlg->IsSessionRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->IsSessionRunning(), 20000);
        watch.stop();
        if (before.isNull()) {
            qunsetenv("QUORIM_COM2");
        } else {
            qputenv("QUORIM_COM2", before);
        }
        QCOMPARE(texts, QStringList({S(" 错误需延时再试"), S("对讲机已收到!")}));
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 S("tune 72 freq 00 00 00 42 00 00 00 42 setting 00 00 00 00 FB 01 01 00\n"));
    }

    void startWithoutARadioSaysThePortCannotOpen() {
        const QByteArray before = qgetenv("QUORIM_COM4");
        qputenv("QUORIM_COM4", "/nonexistent/tty");
        Open(400 * kMhz, "COM4");
        Select(kTreeHigh);
        // A typed frequency that eight digits cannot carry is refused before
        // the port is opened.
        m_dlg->FrequencyBox(TuningSide::Rx)->setText(S("1000"));
        Select(kTreeTxFrequency);
        {
            MessageBoxAnswer ok(QMessageBox::Ok);
            Start();
            QVERIFY2(ok.Text().startsWith(S("接收频率“1000”")), qPrintable(ok.Text()));
            QCOMPARE(ok.Count(), 1);
        }
        Select(kTreeHigh);
        Select(kTreeTxFrequency);
        MessageBoxAnswer ok(QMessageBox::Ok);
        Start();
        QCOMPARE(ok.Text(), S("无法打开串口，请检查该设备是否正常，或是否被占用"));
        QCOMPARE(ok.Title(), S("Halvoren数据文件"));
        if (before.isNull()) {
            qunsetenv("QUORIM_COM4");
        } else {
            qputenv("QUORIM_COM4", before);
        }
    }
};

QObject* MakeTuningTest() {
    return new TuningTest;
}

#include "tuning_test.moc"
