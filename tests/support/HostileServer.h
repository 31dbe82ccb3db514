#pragma once

#include <QMap>
#include <QObject>
#include <QTcpServer>

// A web server on a loopback port that answers the way a broken or hostile server would. It writes on the raw
// socket, so nothing is tidied up on the way, and sends long bodies as the client takes them, so it stays small.
class HostileServer : public QObject {
    Q_OBJECT
public:
    struct Behaviour {
        QByteArray head = {}; // status line and headers, the blank line included; "{port}" stands for the port
        QList<std::pair<QByteArray, qint64>> parts = {}; // then each piece so many times over (-1: without end)
        int pauseMs = 0;                                 // after each piece, the head too (a trickle)
    };
    // With a Content-Length; without one (a Behaviour of head and parts), the connection's end marks the body's end.
    // The connection is closed after the last piece.
    static Behaviour answer(int status, const QByteArray& body,
                            const QByteArray& headers = "Content-Type: text/xml\r\n")
    {
        return {statusLine(status) + headers + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n",
                {{body, 1}}};
    }
    static Behaviour redirect(const QByteArray& location) { return answer(302, {}, "Location: " + location + "\r\n"); }
    static QByteArray statusLine(int status) { return "HTTP/1.1 " + QByteArray::number(status) + " X\r\n"; }

    HostileServer();
    // How requests for the path are answered (none: all others).
    void setBehaviour(const Behaviour& behaviour, const QByteArray& path = {}) { m_behaviours[path] = behaviour; }
    QString base() const { return QString("http://127.0.0.1:%1").arg(m_server->serverPort()); }

private:
    struct Connection;
    void pump(Connection* connection);

    QTcpServer* m_server;
    QMap<QByteArray, Behaviour> m_behaviours;
};
