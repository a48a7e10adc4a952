#pragma once

#include <QObject>
#include <cstdint>
#include <string>

class QWidget;

namespace quorim {

// Online tuning for one document window: the modal tuning window, over the
// document window, on the band and port the window asks for.
class COnlineTuning : public QObject {
    Q_OBJECT

public:
    // `view` is the document window: this object's owner and the tuning
    // window's parent.
    explicit COnlineTuning(QWidget* view);

    // Runs the tuning window until it is closed.
    void Run(std::int64_t bandBase, const std::string& portName);

private:
    QWidget* m_view;
};

}  // namespace quorim
