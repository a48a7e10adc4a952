// The start-up floor for the Qt programs: a bare Qt Widgets program that
// shows one empty window and, under QUORIM_QUIT_WHEN_SHOWN, ends once it has
// painted (see ui/shown_hook.h).
#include <QApplication>
#include <QWidget>

#include "ui/shown_hook.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    quorim::InstallQuitWhenShown("QWidget");
    QWidget w;
    w.resize(640, 480);
    w.show();
    return QApplication::exec();
}
