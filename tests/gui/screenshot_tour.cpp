// The pictures scripts/screenshots.sh takes, the guide's among them: the
// main window after a read from the virtual radio, its status bar, the
// Devices dialog and the guide, in both languages. Each picture is taken
// after checking that the window shows what it is meant to. Runs only when
// QUORIM_SHOTS names the folder for the pictures (QUORIM_SHOTS_MEMORY: the
// radio's memory file); not one of ctest's suites.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "app/ui/child_frame.h"
#include "app/ui/help_window.h"
#include "app/ui/main_frame.h"
#include "app/ui/quorim_app.h"
#include "editor/ui/flex_grid.h"
#include "editor/ui/form_view.h"
#include "link/serial_discovery.h"
#include "link/ui/devices_dlg.h"
#include "link/ui/progress_dlg.h"
#include "link/ui/virtual_radio.h"
#include "tests/e2e/e2e_util.h"
#include "ui/commands.h"

using namespace quorim;

class ScreenshotTour : public QObject {
    Q_OBJECT

private:
    QDir m_out;

    void Save(QWidget* w, const QString& name) { QVERIFY(w->grab().save(m_out.filePath(name))); }

private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("QUORIM_SHOTS")) {
            QSKIP("QUORIM_SHOTS names no folder for the pictures");
        }
        m_out = QDir(qEnvironmentVariable("QUORIM_SHOTS"));
        QVERIFY(m_out.mkpath(QStringLiteral(".")));
    }

    void tour_data() {
        QTest::addColumn<bool>("english");
        QTest::newRow("zh") << false;
        QTest::newRow("en") << true;
    }
    void tour() {
        QFETCH(bool, english);
        const QString lang = english ? QStringLiteral("en") : QStringLiteral("zh");
        std::vector<std::string> args{"--model", "199"};
        if (!qEnvironmentVariableIsEmpty("QUORIM_SHOTS_MEMORY")) {
            args = {"--memory", qEnvironmentVariable("QUORIM_SHOTS_MEMORY").toStdString()};
        }
        e2e::VirtualRadio radio(args);
        qputenv("QUORIM_COM1", QByteArray::fromStdString(radio.Path()));
        auto app = std::make_unique<CQuorim_CHApp>(english ? UiLanguage::English : UiLanguage::Chinese);
        QVERIFY(app->InitInstance({}));
        CMainFrame* frame = app->MainFrame();
        frame->resize(1000, 680);
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        CQuorim_CHView* view = frame->ActiveView();
        QVERIFY(view);

        // Ctrl+R, "开始", and the result in its pane.
        QTest::keyClick(view->Grid(), Qt::Key_R, Qt::ControlModifier);
        auto* progress = view->findChild<CProgressDlg*>();
        QVERIFY(progress && progress->IsWindow());
        QTest::mouseClick(progress->StartButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!view->Radio().IsTransferRunning() && !progress->IsWindow(), 20000);
        QVERIFY(frame->TransferResultText().contains(QString::fromStdString(radio.Path())));
        frame->ActiveChild()->showMaximized();
        QTest::qWait(300);
        Save(frame, QStringLiteral("read-%1.png").arg(lang));
        Save(frame->StatusBarWnd(), QStringLiteral("statusbar-%1.png").arg(lang));

        {
            UdevSerialDevices devices;
            CVirtualRadio unused(nullptr);  // for its button
            CDevicesDlg dlg(devices, frame, english ? UiLanguage::English : UiLanguage::Chinese, &unused);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(dlg.Table()->rowCount() > 0);  // at least what QUORIM_COM1 names
            Save(&dlg, QStringLiteral("devices-%1.png").arg(lang));
        }

        frame->OnCommand(ID_HELP);
        QTRY_VERIFY(frame->HelpWindow() && frame->HelpWindow()->isVisible());
        frame->HelpWindow()->resize(760, 640);
        QTest::qWait(300);
        Save(frame->HelpWindow(), QStringLiteral("guide-%1.png").arg(lang));
        app.reset();
        qunsetenv("QUORIM_COM1");
    }
};

QObject* MakeScreenshotTour() {
    return new ScreenshotTour;
}

#include "screenshot_tour.moc"
