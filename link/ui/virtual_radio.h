#pragma once

#include <QObject>
#include <QString>

class QProcess;

namespace quorim {

// A virtual radio started from the program: quorim-radio as a child process
// on a pseudo-terminal of its own, stopped with this object (the application
// owns it, so at the latest when the program ends).
class CVirtualRadio : public QObject {
    Q_OBJECT

public:
    // `program` empty: quorim-radio beside the program, else on the PATH.
    explicit CVirtualRadio(QObject* parent, QString program = {});
    ~CVirtualRadio() override;

    // Starts a radio of `channels` (16 or 199), stopping one that runs, and
    // waits for its terminal's path; empty, with the reason in `why`, when
    // it did not start.
    QString Start(int channels, QString* why);
    void Stop();
    QString Path() const { return m_path; }
    int Channels() const { return m_channels; }

private:
    QString m_program;
    QProcess* m_process = nullptr;
    QString m_path;
    int m_channels = 0;
};

}  // namespace quorim
