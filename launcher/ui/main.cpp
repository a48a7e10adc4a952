#include <QApplication>

#include "launcher/launcher_files.h"
#include "launcher/ui/tarvolin_app.h"
#include "ui/help_and_version.h"
#include "ui/shown_hook.h"

int main(int argc, char* argv[]) {
    // The launcher takes no arguments of its own.
    quorim::AnswerHelpOrVersion(argc, argv, quorim::kLauncherAbout, [](QCommandLineParser&) {});
    QApplication qtApp(argc, argv);
    quorim::InstallQuitWhenShown("quorim::CLanguageDlg");
    // The settings store lives until the end of main: it writes the INI file
    // back, if the choice changed it, as the process ends.
    quorim::CTarvolinApp app(
        quorim::OwnExecutablePath(QCoreApplication::applicationFilePath().toUtf8().toStdString()));
    app.InitInstance();
    return 0;
}
