#include <QApplication>

#include "launcher/ui/tarvolin_app.h"
#include "ui/shown_hook.h"

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    quorim::InstallQuitWhenShown("quorim::CLanguageDlg");
    // The settings store lives until the end of main: it writes the INI file
    // back, if the choice changed it, as the process ends.
    quorim::CTarvolinApp app(argc > 0 ? argv[0] : "", QCoreApplication::applicationFilePath().toStdString());
    app.InitInstance();
    return 0;
}
