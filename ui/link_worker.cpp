#include "ui/link_worker.h"

#include <QWidget>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "ui/message_box.h"

namespace quorim {

// The one question the worker may be waiting on: its answer, once given.
// Shared with the message box's call on the window's thread, which may end
// after the worker object is gone.
struct CLinkWorker::Question {
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<MessageAnswer> answer;
    int asked = 0;  // which question the answer belongs to
    bool closed = false;
};

CLinkWorker::CLinkWorker(QObject* owner) : QObject(owner), m_question(std::make_shared<Question>()) {}

CLinkWorker::~CLinkWorker() {
    m_stopping = true;
    {
        const std::lock_guard lock(m_question->mutex);
        m_question->closed = true;
    }
    m_question->answered.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CLinkWorker::Start(std::function<void()> engine, std::function<void()> done) {
    if (m_running) {
        return;
    }
    m_running = true;
    m_thread = std::thread([this, engine = std::move(engine), done = std::move(done)]() mutable {
        engine();
        Post([this, done = std::move(done)] {
            m_thread.join();
            m_running = false;
            done();
        });
    });
}

void CLinkWorker::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

MessageAnswer CLinkWorker::Ask(std::function<QWidget*()> parent, const QString& text, MessageButtons buttons,
                               const QString& detail) {
    const MessageAnswer unanswered =
        buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    const std::shared_ptr<Question> q = m_question;
    std::unique_lock lock(q->mutex);
    if (q->closed) {
        return unanswered;
    }
    const int id = ++q->asked;
    q->answer.reset();
    lock.unlock();
    Post([q, id, parent = std::move(parent), text, buttons, detail] {
        const MessageAnswer a = LinkMessageBox(parent(), text, buttons, detail);
        {
            const std::lock_guard answerLock(q->mutex);
            if (q->asked == id) {
                q->answer = a;
            }
        }
        q->answered.notify_all();
    });
    lock.lock();
    q->answered.wait(lock, [&] { return q->answer.has_value() || q->closed; });
    return q->answer.value_or(unanswered);
}

}  // namespace quorim
