#include "SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <optional>

SingleInstance& SingleInstance::instance()
{
    static auto* single = new SingleInstance;
    return *single;
}

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

QString SingleInstance::key() const
{
    // Keyed on the settings file, so that copies with separate settings folders (tests) do not meet.
    const QString settingsFile = QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Lumenpane")).fileName();
    const QByteArray hash = QCryptographicHash::hash(settingsFile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("lumenpane-%1").arg(QString::fromLatin1(hash));
}

bool SingleInstance::anotherCopyRunning()
{
    if (m_state < 0)
        m_state = acquire() ? 0 : 1;
    return m_state == 1;
}

bool SingleInstance::acquire()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    // The socket sits next to the lock, in the user's own runtime folder rather than under a shared /tmp.
    const QString name = m_socketName = QDir(folder).filePath(key() + QStringLiteral(".socket"));
    m_lock = std::make_unique<QLockFile>(QDir(folder).filePath(key() + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (!m_lock->tryLock(0)) {
        askToComeForward(name);
        return false;
    }
    return true;
}

// Tells the copy that runs to bring its window forward, handing over the activation token this copy was started
// with: connects, writes, and is done once the message has gone,
// the connection has failed, or a second has passed. The socket needs an event loop: a plain core application of
// this copy's own brings one without any of the windowing, and runs only until then.
void SingleInstance::askToComeForward(const QString& socketName)
{
    static int argc = 1;
    static char program[] = "lumenpane";
    static char* argv[] = {program, nullptr};
    std::optional<QCoreApplication> core;
    if (!QCoreApplication::instance())
        core.emplace(argc, argv);
    const QByteArray message = activationMessage(ActivationToken::takeFromEnvironment());
    QLocalSocket socket;
    QObject::connect(&socket, &QLocalSocket::connected, &socket, [&socket, &message] { socket.write(message); });
    QObject::connect(&socket, &QLocalSocket::bytesWritten, &socket, [&socket] {
        if (socket.bytesToWrite() == 0)
            QCoreApplication::quit();
    });
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &socket, [] { QCoreApplication::quit(); });
    QTimer::singleShot(1000, &socket, [] { QCoreApplication::quit(); });
    // Connected from within the loop, so that a failure at once still finds it running to end it.
    QTimer::singleShot(0, &socket, [&socket, socketName] { socket.connectToServer(socketName); });
    QCoreApplication::exec();
}

void SingleInstance::listen()
{
    if (m_state != 0 || m_server)
        return;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_socketName); // a socket left by a copy that crashed; the lock says none runs
    if (!m_server->listen(m_socketName))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (!peer->canReadLine() && peer->bytesAvailable() < MaxMessageBytes)
                    return; // the rest of the line is on its way
                if (const auto token = readActivation(peer->readLine(MaxMessageBytes)))
                    emit activationRequested(*token);
                peer->disconnectFromServer();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
}

QByteArray SingleInstance::activationMessage(const ActivationToken& token)
{
    QJsonObject message{{QStringLiteral("do"), QStringLiteral("activate")}};
    if (!token.wayland.isEmpty())
        message.insert(QStringLiteral("xdgActivationToken"), token.wayland);
    if (!token.startupId.isEmpty())
        message.insert(QStringLiteral("startupId"), token.startupId);
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<ActivationToken> SingleInstance::readActivation(const QByteArray& line)
{
    // An earlier version of the program says only this.
    if (line.trimmed() == "activate")
        return ActivationToken();
    const QJsonObject message = QJsonDocument::fromJson(line).object();
    if (message.value(QStringLiteral("do")).toString() != QLatin1String("activate"))
        return std::nullopt;
    return ActivationToken{message.value(QStringLiteral("xdgActivationToken")).toString(),
                           message.value(QStringLiteral("startupId")).toString()};
}
