#pragma once
// A hook for the start-up benchmark (bench/startup_bench.cpp). With the
// environment variable QUORIM_QUIT_WHEN_SHOWN set, the program writes "shown"
// on standard output and ends as soon as a widget of the class named (or one
// inside it) has painted for the first time. Without the variable it does
// nothing.
#include <QApplication>
#include <QEvent>
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
                    // After this paint pass has finished.
                    QTimer::singleShot(0, qApp, [] {
                        std::fputs("shown\n", stdout);
                        std::fflush(stdout);
                        QApplication::exit(0);
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
