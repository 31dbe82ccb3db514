#include "ViewerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

ViewerProcess::ViewerProcess(QObject* parent) : QObject(parent) {}

ViewerProcess::~ViewerProcess()
{
    stop();
}

QString ViewerProcess::program()
{
    const QString configured = qEnvironmentVariable("LUMENPANE_VIEWER_BIN");
    if (!configured.isEmpty())
        return configured;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lumenpane-viewer"));
}

bool ViewerProcess::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 ViewerProcess::processId() const
{
    return isRunning() ? m_process->processId() : 0;
}

void ViewerProcess::start()
{
    if (isRunning())
        return;
    if (m_process)
        m_process->deleteLater();
    m_reader = HandOver::LineReader();
    m_process = new QProcess(this);
    // The viewer's own diagnostics go where this program's go; its output carries only messages.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Its windows come forward with the tokens it is handed in messages, never with one left in the environment.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
    m_process->setProcessEnvironment(environment);
    QProcess* process = m_process;
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        for (const HandOver::Message& message : m_reader.feed(process->readAllStandardOutput()))
            emit received(message);
    });
    connect(process, &QProcess::finished, this, [this, process] {
        if (process == m_process)
            emit ended();
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && process == m_process)
            emit ended();
    });
    m_process->start(program(), QStringList());
}

void ViewerProcess::send(const HandOver::Message& message)
{
    start();
    m_process->write(HandOver::encode(message));
}

void ViewerProcess::stop()
{
    if (!isRunning())
        return;
    QProcess* process = m_process;
    process->write(HandOver::encode({HandOver::Kind::Quit, {}, false}));
    process->closeWriteChannel();
    if (!process->waitForFinished(3000)) { // waits at the program's end only: the viewer never outlives it
        process->kill();
        process->waitForFinished(3000); // a killed process is reaped at once; it is not left behind
    }
}
