// Runs the window tests on the offscreen platform with a settings folder of
// their own. Argument: the name of one test class (all when none), then
// Qt Test's own options.
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "gui_test_support.h"

QObject* MakeAppTest();
QObject* MakeViewTest();
QObject* MakeGridTest();
QObject* MakeTransferTest();
QObject* MakeTransferSlowTest();
QObject* MakePrintTest();
QObject* MakeCellEditTest();
QObject* MakeChannelEditTest();
QObject* MakeTuningTest();
QObject* MakeEnglishTest();
QObject* MakeFitTest();
QObject* MakeDevicesTest();
QObject* MakeSafeEditTest();
QObject* MakeDocumentTest();
QObject* MakeScreenshotTour();

namespace quorim::test {

std::string WriteImageFile(const std::string& dir, const std::string& name, const MemoryImage& image) {
    const std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return path;
}

}  // namespace quorim::test

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    // Backups of reads go here, never into the user's own data folder.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());

    QStringList args = QApplication::arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-'))) {
        only = args.takeAt(1);
    }
    struct Suite {
        const char* name;
        QObject* (*make)();
    };
    const Suite suites[] = {{"AppTest", MakeAppTest},
                            {"ViewTest", MakeViewTest},
                            {"GridTest", MakeGridTest},
                            {"PrintTest", MakePrintTest},
                            {"CellEditTest", MakeCellEditTest},
                            {"ChannelEditTest", MakeChannelEditTest},
                            {"TuningTest", MakeTuningTest},
                            {"EnglishTest", MakeEnglishTest},
                            {"FitTest", MakeFitTest},
                            {"TransferTest", MakeTransferTest},
                            {"TransferSlowTest", MakeTransferSlowTest},
                            {"DevicesTest", MakeDevicesTest},
                            {"SafeEditTest", MakeSafeEditTest},
                            {"DocumentTest", MakeDocumentTest},
                            {"ScreenshotTour", MakeScreenshotTour}};
    int failures = 0;
    int ran = 0;
    for (const Suite& s : suites) {
        if (!only.isEmpty() && only != QLatin1String(s.name)) {
            continue;
        }
        std::unique_ptr<QObject> suite(s.make());
        failures += QTest::qExec(suite.get(), args);
        ++ran;
    }
    if (ran == 0) {
        std::fprintf(stderr, "no test class named %s\n", qPrintable(only));
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
