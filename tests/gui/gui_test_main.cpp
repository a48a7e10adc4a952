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
#ifndef _WIN32
QObject* MakePrintTest();
QObject* MakeTransferTest();
QObject* MakeTransferSlowTest();
QObject* MakeDevicesTest();
QObject* MakeScreenshotTour();
#endif
QObject* MakeRadioWindowTest();
QObject* MakeCellEditTest();
QObject* MakeChannelEditTest();
QObject* MakeTuningTest();
QObject* MakeEnglishTest();
QObject* MakeFitTest();
QObject* MakeSafeEditTest();
QObject* MakeDocumentTest();

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
#ifdef _WIN32
    // There the profile is the registry, which outlives the run: each run
    // starts from an empty one, as a run does with its own folder elsewhere.
    QSettings(QStringLiteral("Local AppWizard-Generated Applications"), QString::fromUtf8("Halvoren数据文件"))
        .clear();
#endif

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
                            {"CellEditTest", MakeCellEditTest},
                            {"ChannelEditTest", MakeChannelEditTest},
                            {"TuningTest", MakeTuningTest},
                            {"EnglishTest", MakeEnglishTest},
                            {"FitTest", MakeFitTest},
                            {"SafeEditTest", MakeSafeEditTest},
                            {"DocumentTest", MakeDocumentTest},
#ifndef _WIN32
                            {"PrintTest", MakePrintTest},
                            {"TransferTest", MakeTransferTest},
                            {"TransferSlowTest", MakeTransferSlowTest},
                            {"DevicesTest", MakeDevicesTest},
                            {"ScreenshotTour", MakeScreenshotTour},
#endif
                            {"RadioWindowTest", MakeRadioWindowTest}};
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
