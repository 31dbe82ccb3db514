#include "HostileServer.h"

#include <QTcpSocket>
#include <QTimer>

static constexpr qint64 Backlog = 256 * 1024; // what may wait in a socket's buffer before more is written
static constexpr qsizetype PieceBytes = 64 * 1024;

struct HostileServer::Connection : QObject {
    explicit Connection(QTcpSocket* s) : QObject(s), socket(s) { pause.setSingleShot(true); }
    QTcpSocket* socket;
    QByteArray request;
    Behaviour behaviour;
    qsizetype part = 0, offset = 0, repeated = 0;
    QTimer pause;
};

HostileServer::HostileServer() : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto* c = new Connection(socket);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, c, [this, c] {
                c->request += c->socket->readAll();
                if (!c->behaviour.parts.isEmpty() || !c->request.contains("\r\n\r\n"))
                    return;
                const QByteArray path = c->request.split(' ').value(1).split('?').value(0);
                c->behaviour = m_behaviours.value(path, m_behaviours.value({}));
                const QByteArray port = QByteArray::number(m_server->serverPort());
                c->behaviour.parts.prepend({c->behaviour.head.replace("{port}", port), 1});
                pump(c);
            });
            connect(socket, &QTcpSocket::bytesWritten, c, [this, c] { pump(c); });
            connect(&c->pause, &QTimer::timeout, c, [this, c] { pump(c); });
        }
    });
}

// Writes the next pieces while the client keeps up, and ends the connection after the last.
void HostileServer::pump(Connection* c)
{
    const Behaviour& b = c->behaviour;
    QTcpSocket* socket = c->socket;
    while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() <= Backlog &&
           !c->pause.isActive()) {
        if (c->part == b.parts.size())
            return socket->disconnectFromHost(); // after what is written has gone out
        const auto& [bytes, times] = b.parts[c->part];
        socket->write(bytes.mid(c->offset, PieceBytes));
        c->offset += PieceBytes;
        if (c->offset >= bytes.size())
            c->offset = 0;
        if (c->offset == 0 && (++c->repeated == times || bytes.isEmpty())) {
            ++c->part;
            c->repeated = 0;
        }
        if (b.pauseMs > 0)
            c->pause.start(b.pauseMs);
    }
}
