#pragma once
// A hook for the start-up benchmark (bench/startup_bench.cpp). With the
// environment variable QUORIM_QUIT_WHEN_SHOWN set, the program writes "shown"
// on standard output and ends as soon as a widget of the class named (or one
// inside it) has painted for the first time. With the value "accept" a dialog
// of that class is accepted instead, as if its OK button were pressed (the
// Windows installer's test starts the installed launcher so). Without the
// variable it does nothing.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace quorim {

class QuitWhenShownFilter : public QObject {
public:
    explicit QuitWhenShownFilter(const char* className) : QObject(qApp), m_className(className) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_done && event->type() == QEvent::Paint) {
            for (QObject* o = watched; o; o = o->parent()) {
                if (o->inherits(m_className)) {
                    m_done = true;
                    QPointer<QDialog> dialog = qobject_cast<QDialog*>(o);
                    const bool accept = dialog && qgetenv("QUORIM_QUIT_WHEN_SHOWN") == "accept";
                    // After this paint pass has finished.
                    QTimer::singleShot(0, qApp, [dialog, accept] {
                        std::fputs("shown\n", stdout);
                        std::fflush(stdout);
                        if (accept && dialog) {
                            dialog->accept();
                        } else {
                            QApplication::exit(0);
                        }
                    });
                    break;
                }
            }
        }
        return false;
    }

private:
    const char* m_className;
    bool m_done = false;
};

inline void InstallQuitWhenShown(const char* className) {
    if (!qEnvironmentVariableIsEmpty("QUORIM_QUIT_WHEN_SHOWN")) {
        qApp->installEventFilter(new QuitWhenShownFilter(className));
    }
}

}  // namespace quorim
