#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "base/message_kinds.h"

class QWidget;

namespace quorim {

// One radio link engine at a time on a thread of its own, so that the window
// never waits for the line. The engine's host hands what it shows to the
// window's thread (Post) and waits there for a message box's answer (Ask);
// the window never runs the engine's work.
class CLinkWorker : public QObject {
    Q_OBJECT

public:
    // `owner` lives on the window's thread.
    explicit CLinkWorker(QObject* owner);
    // A running engine is asked to stop, an open question is answered as
    // its Cancel (or OK) button would, and the engine is awaited.
    ~CLinkWorker() override;

    // From Start to the end of `done`.
    bool IsRunning() const { return m_running; }
    // Runs `engine` on the worker thread, then `done` on the window's thread.
    // Nothing while an engine runs.
    void Start(std::function<void()> engine, std::function<void()> done);

    // For the engine's host, on the worker thread: `call` runs on the
    // window's thread, in the order posted, without waiting for it.
    void Post(std::function<void()> call);
    // A link message box over the widget `parent` names when the box opens;
    // the worker waits for the user's answer.
    MessageAnswer Ask(std::function<QWidget*()> parent, const QString& text, MessageButtons buttons,
                      const QString& detail = {});
    // True once the worker is being torn down: the engine should end.
    bool Stopping() const { return m_stopping; }

private:
    struct Question;

    std::thread m_thread;
    std::shared_ptr<Question> m_question;
    std::atomic<bool> m_stopping{false};
    bool m_running = false;
};

}  // namespace quorim
