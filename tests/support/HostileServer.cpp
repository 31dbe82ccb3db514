#include "HostileServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
// How much the server lets wait in a socket's buffer before it writes more filler.
constexpr qint64 Backlog = 256 * 1024;
} // namespace

struct HostileServer::Connection : QObject {
    QTcpSocket* socket = nullptr;
    QByteArray request;
    Behaviour behaviour;
    bool answering = false;
    bool headSent = false;
    qsizetype bodySent = 0;
    qint64 fillerLeft = 0;
    qint64 sent = 0;
    bool done = false;
    QTimer pause;
};

QByteArray HostileServer::statusLine(int status)
{
    return "HTTP/1.1 " + QByteArray::number(status) +
           (status < 300   ? " OK"
            : status < 400 ? " Found"
                           : " Error") +
           "\r\n";
}

HostileServer::Behaviour HostileServer::answer(int status, const QByteArray& body, const QByteArray& contentType,
                                               const QByteArray& extraHeaders)
{
    Behaviour b;
    b.head = statusLine(status) + "Content-Type: " + contentType +
             "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders +
             "\r\n";
    b.body = body;
    return b;
}

HostileServer::Behaviour HostileServer::answerWithoutLength(int status, const QByteArray& body,
                                                            const QByteArray& contentType)
{
    Behaviour b;
    b.head = statusLine(status) + "Content-Type: " + contentType + "\r\nConnection: close\r\n\r\n";
    b.body = body;
    return b;
}

HostileServer::Behaviour HostileServer::raw(const QByteArray& head, const QByteArray& body)
{
    Behaviour b;
    b.head = head;
    b.body = body;
    return b;
}

HostileServer::Behaviour HostileServer::redirect(const QString& location)
{
    return answer(302, {}, "text/html", "Location: " + location.toUtf8() + "\r\n");
}

HostileServer::HostileServer(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        qWarning("HostileServer: cannot listen: %s", qPrintable(m_server->errorString()));
    connect(m_server, &QTcpServer::newConnection, this, &HostileServer::accept);
}

HostileServer::~HostileServer() = default;

quint16 HostileServer::port() const
{
    return m_server->serverPort();
}

QString HostileServer::base(const QString& host) const
{
    return QStringLiteral("http://%1:%2").arg(host).arg(port());
}

void HostileServer::accept()
{
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
            const QByteArray line = c->request.left(c->request.indexOf("\r\n"));
            m_requests.append(line);
            const QByteArray target = line.split(' ').value(1);
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
}

void HostileServer::pump(Connection* c)
{
    const Behaviour& b = c->behaviour;
    QTcpSocket* socket = c->socket;
    if (c->done || !c->answering || socket->state() != QAbstractSocket::ConnectedState ||
        socket->bytesToWrite() > Backlog || c->pause.isActive())
        return;
    const auto send = [&](const QByteArray& bytes) {
        QByteArray piece = bytes;
        if (b.closeAfter >= 0 && c->sent + piece.size() >= b.closeAfter) {
            piece.truncate(b.closeAfter - c->sent);
            c->done = true;
        }
        socket->write(piece);
        c->sent += piece.size();
    };
    if (!c->headSent) {
        c->headSent = true;
        QByteArray head = b.head;
        send(head.replace("{port}", QByteArray::number(port())));
    }
    // The body goes out piece by piece too, so a large one is not copied into the socket whole.
    while (!c->done && c->bodySent < b.body.size() && socket->bytesToWrite() <= Backlog) {
        const QByteArray piece = b.body.mid(c->bodySent, 64 * 1024);
        c->bodySent += piece.size();
        send(piece);
    }
    if (!c->done && c->bodySent < b.body.size())
        return;
    while (!c->done && c->fillerLeft != 0 && !b.filler.isEmpty() && socket->bytesToWrite() <= Backlog) {
        send(c->fillerLeft < 0 || c->fillerLeft >= b.filler.size() ? b.filler : b.filler.left(c->fillerLeft));
        if (c->fillerLeft > 0)
            c->fillerLeft = qMax<qint64>(0, c->fillerLeft - b.filler.size());
        if (b.pieceIntervalMs > 0) {
            c->pause.start(b.pieceIntervalMs);
            return;
        }
    }
    if (!c->done && (c->fillerLeft == 0 || b.filler.isEmpty()))
        send(b.tail);
    else if (!c->done)
        return; // more filler once the client has taken some
    c->done = true;
    socket->disconnectFromHost(); // after what is written has gone out
}
