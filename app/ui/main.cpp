#include <QApplication>

#include "app/ui/quorim_app.h"

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    quorim::CQuorim_CHApp app;
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (!app.InitInstance(args)) {
        return app.ExitCode();
    }
    return QApplication::exec();
}
