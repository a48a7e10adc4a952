#include "link/ui/virtual_radio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "link/serial_devices.h"
#include "ui/ui_text.h"

namespace quorim {

namespace {

// The radio prints its terminal's path as its first line at once.
constexpr int kStartMs = 5000;

QString FindProgram() {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(Raw(kVirtualRadioProgram));
    if (QFileInfo(beside).isExecutable()) {
        return beside;
    }
    return QStandardPaths::findExecutable(Raw(kVirtualRadioProgram));
}

}  // namespace

CVirtualRadio::CVirtualRadio(QObject* parent, QString program)
    : QObject(parent), m_program(std::move(program)) {}

CVirtualRadio::~CVirtualRadio() {
    Stop();
}

QString CVirtualRadio::Start(int channels, QString* why) {
    Stop();
    const QString program = m_program.isEmpty() ? FindProgram() : m_program;
    if (program.isEmpty()) {
        *why = Q(kVirtualRadioNotFound).arg(Raw(kVirtualRadioProgram));
        return {};
    }
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args;
    for (const std::string& arg : VirtualRadioArguments(channels)) {
        args << Raw(arg);
    }
    m_process->start(program, args);
    QString path;
    if (m_process->waitForStarted(kStartMs)) {
        while (!m_process->canReadLine() && m_process->waitForReadyRead(kStartMs)) {
        }
        path = QString::fromLocal8Bit(m_process->readLine()).trimmed();
    }
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        *why = m_process->error() == QProcess::FailedToStart ? Q(kVirtualRadioNotFound).arg(program)
                                                             : m_process->errorString();
        Stop();
        return {};
    }
    m_path = path;
    m_channels = channels;
    return path;
}

void CVirtualRadio::Stop() {
    if (m_process != nullptr) {
        // SIGTERM: the radio lets go of its terminal and ends.
        m_process->terminate();
        if (!m_process->waitForFinished(kStartMs)) {
            m_process->kill();
            m_process->waitForFinished(kStartMs);
        }
        delete m_process;
        m_process = nullptr;
    }
    m_path.clear();
    m_channels = 0;
}

}  // namespace quorim
