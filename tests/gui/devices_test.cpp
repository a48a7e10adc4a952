// The serial devices dialog and the port items' prompts.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "link/port_names.h"
#include "link/ui/devices_dlg.h"
#include "link/ui/radio_transfer.h"
#include "link/ui/virtual_radio.h"
#include "tests/e2e/e2e_util.h"
#include "ui/commands.h"
#include "ui/ui_text.h"

using namespace quorim;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString S(const char* latin1) {
    return QString::fromLatin1(latin1);
}

class ListSource : public SerialDeviceSource {
public:
    std::vector<SerialDevice> devices;
    std::vector<SerialDevice> Devices() override { return devices; }
};

SerialDevice Adapter(const std::string& node, const std::string& byId, const std::string& product) {
    SerialDevice d;
    d.node = node;
    d.byId = byId;
    d.usb = true;
    d.vendorId = "0403";
    d.productId = "6001";
    d.product = product;
    d.group = "dialout";
    return d;
}

}  // namespace

class DevicesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { SetComAssignments({}); }
    void cleanup() {
        SetComAssignments({});
        for (const char* name : {"QUORIM_COM1", "QUORIM_COM3", "QUORIM_COM4"}) {
            qunsetenv(name);
        }
    }

    // A device chosen for COM2 stands for it by its by-id link, survives
    // unplugging as "not connected", and goes back to automatic.
    void assigningADeviceToACom() {
        ListSource source;
        source.devices = {Adapter("/dev/ttyUSB0", "/dev/serial/by-id/usb-A", "Cable A"),
                          Adapter("/dev/ttyUSB1", "/dev/serial/by-id/usb-B", "Cable B")};
        CDevicesDlg dlg(source, nullptr);
        QSignalSpy changed(&dlg, &CDevicesDlg::AssignmentsChanged);
        QTableWidget* table = dlg.Table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 1)->text(), U("/dev/ttyUSB1"));
        QCOMPARE(table->item(1, 2)->text(), U("0403:6001 Cable B"));
        QCOMPARE(table->item(1, 3)->text(), U("无权打开（dialout 组）"));

        QComboBox* com2 = dlg.AssignBox(2);
        QCOMPARE(com2->count(), 3);  // automatic, then each device
        com2->setCurrentIndex(2);
        emit com2->activated(2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ComAssignments()[1], std::string("/dev/serial/by-id/usb-B"));
        QCOMPARE(ResolvePortName("COM2"), std::string("/dev/serial/by-id/usb-B"));
        QCOMPARE(table->item(1, 0)->text(), U("COM2"));

        source.devices.pop_back();  // unplugged
        dlg.Refresh();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(com2->currentText(), U("/dev/serial/by-id/usb-B  未连接"));

        com2->setCurrentIndex(0);
        emit com2->activated(0);
        QCOMPARE(ComAssignments()[1], std::string());
    }

    // A COM item takes a typed path (here a pseudo-terminal udev does not
    // list), refuses a port name, and shows an environment override as such.
    void typedDevicePathsAndOverrides() {
        e2e::VirtualRadio radio({});
        qputenv("QUORIM_COM1", QByteArray::fromStdString(radio.Path()));
        ListSource source;
        source.devices = {Adapter("/dev/ttyUSB0", "/dev/serial/by-id/usb-A", "Cable A")};
        CDevicesDlg dlg(source, nullptr);
        QComboBox* com1 = dlg.AssignBox(1);
        QVERIFY(!com1->isEnabled());
        QCOMPARE(com1->currentText(), Raw(radio.Path()) + U("（环境变量 QUORIM_COM1）"));
        QCOMPARE(dlg.Table()->rowCount(), 2);
        QCOMPARE(dlg.Table()->item(1, 0)->text(), U("COM1"));
        QCOMPARE(dlg.Table()->item(1, 2)->text(), U("QUORIM_COM1"));

        qunsetenv("QUORIM_COM1");
        dlg.Refresh();
        QComboBox* com2 = dlg.AssignBox(2);
        QSignalSpy changed(&dlg, &CDevicesDlg::AssignmentsChanged);
        com2->setFocus();
        com2->lineEdit()->selectAll();
        QTest::keyClicks(com2, U("COM1"));
        QTest::keyClick(com2, Qt::Key_Return);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(dlg.FixLabel()->text(), U("“COM1”是端口名，请输入设备路径，例如 /dev/ttyS0"));

        com2->lineEdit()->selectAll();
        QTest::keyClicks(com2, U(" ") + Raw(radio.Path()));
        QTest::keyClick(com2, Qt::Key_Return);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ResolvePortName("COM2"), radio.Path());
        QCOMPARE(dlg.Table()->rowCount(), 2);
        QCOMPARE(dlg.Table()->item(1, 0)->text(), U("COM2"));
        QCOMPARE(dlg.Table()->item(1, 1)->text(), Raw(radio.Path()));
        QCOMPARE(com2->currentText(), Raw(radio.Path()));
        // A typed path that goes away (udev says nothing of it, as of a
        // pseudo-terminal): the dialog shows it missing.
        QTemporaryDir dir;
        const QString node = dir.filePath(S("ttyGone"));
        QFile(node).open(QIODevice::WriteOnly);
        com2->lineEdit()->selectAll();
        QTest::keyClicks(com2, node);
        QTest::keyClick(com2, Qt::Key_Return);
        QCOMPARE(com2->currentText(), node);
        QFile::remove(node);
        QTRY_COMPARE(com2->currentText(), node + U("  未连接"));
        QCOMPARE(dlg.Table()->rowCount(), 1);
    }

    // "虚拟对讲机…" starts quorim-radio and points the COM item at it; the
    // radio ends with its owner.
    void virtualRadioForAComItem() {
        QString path;
        {
            CVirtualRadio radio(nullptr, S(QUORIM_BIN_DIR "/quorim-radio"));
            ListSource source;
            CDevicesDlg dlg(source, nullptr, UiLanguage::Chinese, &radio);
            QVERIFY(dlg.VirtualRadioButton());
            QVERIFY(dlg.StartVirtualRadio(16, 4));
            path = radio.Path();
            QVERIFY(QFileInfo::exists(path));
            QCOMPARE(Raw(ResolvePortName("COM4")), path);
            QCOMPARE(dlg.Table()->item(0, 0)->text(), U("COM4"));
            QVERIFY(dlg.FixLabel()->text().startsWith(U("虚拟对讲机 QZ - 16 在 ") + path));
        }
        QTRY_VERIFY(!QFileInfo::exists(path));
        ListSource none;
        CVirtualRadio missing(nullptr, S("/nonexistent/quorim-radio"));
        CDevicesDlg dlg(none, nullptr, UiLanguage::Chinese, &missing);
        QVERIFY(!dlg.StartVirtualRadio(199, 1));
        QCOMPARE(dlg.FixLabel()->text(), U("虚拟对讲机没有启动：找不到程序 /nonexistent/quorim-radio"));
    }

    // Hovering a port item: its prompt, then the device it stands for now.
    void portItemsTellTheirDevice() {
        QSettings(U("Local AppWizard-Generated Applications"), U("Halvoren数据文件")).clear();
        qputenv("QUORIM_COM3", "/dev/quorim-no-such-port");
        qputenv("QUORIM_COM4", "/dev/null");
        CQuorim_CHApp app;
        QVERIFY(app.InitInstance({}));
        QMenu* ports = nullptr;
        for (QAction* a : app.MainFrame()->menuBar()->actions()) {
            if (a->menu() && a->text() == U("端口设置")) {
                ports = a->menu();
            }
        }
        QVERIFY(ports);
        emit ports->aboutToShow();
        QStringList tips;
        for (QAction* a : ports->actions()) {
            if (a->data().toInt() == ID_PORT_COM3 || a->data().toInt() == ID_PORT_COM4) {
                tips << a->statusTip();
            }
        }
        QCOMPARE(tips, QStringList({U("选择串口3  未连接"), U("选择串口4  /dev/null")}));
    }

    // "写频前备份对讲机数据" is off at first, and once turned on in the dialog
    // the next start of the program finds it on.
    void backingUpBeforeWritingIsRemembered() {
        QSettings(U("Local AppWizard-Generated Applications"), U("Halvoren数据文件")).clear();
        for (const bool on : {true, false}) {
            auto app = std::make_unique<CQuorim_CHApp>();
            QVERIFY(app->InitInstance({}));
            QCOMPARE(CRadioTransfer::BackUpBeforeWrite(), !on);
            QTimer::singleShot(0, [] {
                auto* dlg = qobject_cast<CDevicesDlg*>(QApplication::activeModalWidget());
                QVERIFY(dlg);
                dlg->BackUpBox()->click();
                dlg->accept();
            });
            app->OnPortDevices();
            app.reset();
            CRadioTransfer::SetBackUpBeforeWrite(!on);  // what the new start must undo
            app = std::make_unique<CQuorim_CHApp>();
            QVERIFY(app->InitInstance({}));
            QCOMPARE(CRadioTransfer::BackUpBeforeWrite(), on);
        }
    }

    // "测试连接" runs the doctor off the window's thread for the selected row,
    // or the menu's port when none is selected, and shows the stages with
    // ticks and the fix.
    void testConnectionShowsTheStagesAndTheFix() {
        e2e::VirtualRadio good({});
        e2e::VirtualRadio echo({"--echo"});
        ListSource source;
        source.devices = {Adapter(echo.Path(), "", "Cable in the wrong jack")};
        CDevicesDlg dlg(source, nullptr, UiLanguage::English);
        dlg.SetPortToTest(good.Path());
        QSignalSpy tested(&dlg, &CDevicesDlg::ConnectionTested);

        QTest::mouseClick(dlg.TestButton(), Qt::LeftButton);
        QVERIFY(!dlg.TestButton()->isEnabled());  // the window goes on while it runs
        QVERIFY(tested.wait(10000));
        QCOMPARE(tested.last().at(0).toBool(), true);
        QCOMPARE(dlg.StageList()->count(), 8);
        QCOMPARE(dlg.StageList()->item(7)->text(), U("Identity  QZ - 16 (51 5A 30 31 37 56 31 30)"));
        QCOMPARE(dlg.StageList()->item(7)->data(Qt::UserRole).toBool(), true);
        QCOMPARE(dlg.FixLabel()->text(), QString());

        dlg.Table()->selectRow(0);
        QTest::mouseClick(dlg.TestButton(), Qt::LeftButton);
        QVERIFY(tested.wait(10000));
        QCOMPARE(tested.last().at(0).toBool(), false);
        QCOMPARE(dlg.StageList()->count(), 6);
        QCOMPARE(dlg.StageList()->item(5)->data(Qt::UserRole).toBool(), false);
        QVERIFY(dlg.StageList()->item(5)->text().startsWith(U("Echo  what came back is our own bytes")));
        QVERIFY(dlg.FixLabel()->text().startsWith(U("Fix: The plug is in the wrong jack")));
        QVERIFY(dlg.TestButton()->isEnabled());
    }
};

QObject* MakeDevicesTest() {
    return new DevicesTest;
}

#include "devices_test.moc"
