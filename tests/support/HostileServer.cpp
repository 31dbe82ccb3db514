#include "HostileServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr qint64 Backlog = 256 * 1024; // what may wait in a socket's buffer before more is written
}

struct HostileServer::Connection : QObject {
    QTcpSocket* socket = nullptr;
    QByteArray request;
    Behaviour behaviour;
    bool answering = false, headSent = false, done = false;
    qsizetype bodySent = 0;
    qint64 fillerLeft = 0, sent = 0;
    QTimer pause;
};

HostileServer::Behaviour HostileServer::answer(int status, const QByteArray& body, const QByteArray& headers)
{
    return raw(statusLine(status) + headers + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n", body);
}

HostileServer::Behaviour HostileServer::raw(const QByteArray& head, const QByteArray& body)
{
    Behaviour b;
    b.head = head;
    b.body = body;
    return b;
}

HostileServer::HostileServer() : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto* c = new Connection;
            c->setParent(socket);
            c->socket = socket;
            c->pause.setSingleShot(true);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, c, [this, c] {
                c->request += c->socket->readAll();
                if (c->answering || !c->request.contains("\r\n\r\n"))
                    return;
                const QByteArray target = c->request.split(' ').value(1);
                QByteArray chosen;
                for (auto i = m_behaviours.cbegin(); i != m_behaviours.cend(); ++i)
                    if (target.startsWith(i.key()) && i.key().size() >= chosen.size())
                        chosen = i.key();
                c->behaviour = m_behaviours.value(chosen);
                c->answering = true;
                c->fillerLeft = c->behaviour.fillerBytes;
                if (!c->behaviour.silent)
                    pump(c);
            });
            connect(socket, &QTcpSocket::bytesWritten, c, [this, c] { pump(c); });
            connect(&c->pause, &QTimer::timeout, c, [this, c] { pump(c); });
        }
    });
}

QString HostileServer::base() const
{
    if (m_behaviours.value({}).refuse) {
        QTcpServer closed; // its port is free again once it goes
        closed.listen(QHostAddress::LocalHost, 0);
        return QString("http://127.0.0.1:%1").arg(closed.serverPort());
    }
    return QString("http://127.0.0.1:%1").arg(m_server->serverPort());
}

void HostileServer::pump(Connection* c)
{
    const Behaviour& b = c->behaviour;
    QTcpSocket* socket = c->socket;
    if (c->done || socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > Backlog ||
        c->pause.isActive())
        return;
    const auto send = [&](QByteArray piece) {
        if (b.closeAfter >= 0 && c->sent + piece.size() >= b.closeAfter) {
            piece.truncate(b.closeAfter - c->sent);
            c->done = true;
        }
        socket->write(piece);
        c->sent += piece.size();
    };
    if (!std::exchange(c->headSent, true))
        send(QByteArray(b.head).replace("{port}", QByteArray::number(m_server->serverPort())));
    while (!c->done && c->bodySent < b.body.size() && socket->bytesToWrite() <= Backlog) {
        send(b.body.mid(c->bodySent, 64 * 1024));
        c->bodySent += 64 * 1024;
    }
    if (!c->done && c->bodySent < b.body.size())
        return;
    while (!c->done && c->fillerLeft != 0 && !b.filler.isEmpty() && socket->bytesToWrite() <= Backlog) {
        send(c->fillerLeft < 0 ? b.filler : b.filler.left(c->fillerLeft));
        if (c->fillerLeft > 0)
            c->fillerLeft = qMax<qint64>(0, c->fillerLeft - b.filler.size());
        if (b.pieceIntervalMs > 0) {
            c->pause.start(b.pieceIntervalMs);
            return;
        }
    }
    if (!c->done && c->fillerLeft != 0 && !b.filler.isEmpty())
        return; // more filler once the client has taken some
    if (!c->done)
        send(b.tail);
    c->done = true;
    socket->disconnectFromHost(); // after what is written has gone out
}
