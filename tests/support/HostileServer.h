#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// A web server on a loopback port that answers every request in one chosen way, including the ways a broken or
// hostile server would: no answer at all, a connection closed half-way, a body without end, redirects, bytes
// that are not what the headers promise. It writes on the raw socket, so nothing is tidied up on the way, and
// it sends long bodies piece by piece as the client takes them, so the server itself stays small.
class HostileServer : public QObject {
    Q_OBJECT
public:
    struct Behaviour {
        QByteArray head;   // status line and headers, each line ending in CRLF, the blank line included;
                           // "{port}" in it stands for the server's port
        QByteArray body;   // sent after the head
        QByteArray filler; // then sent over and over, fillerBytes in all; -1: without end
        qint64 fillerBytes = 0;
        QByteArray tail;         // sent after the filler
        int pieceIntervalMs = 0; // a pause before each piece of filler (a trickle)
        qint64 closeAfter = -1;  // the connection is closed after this many bytes in all (head included)
        bool silent = false;     // reads the request and never answers
    };

    // An answer with a Content-Length, or without one when the connection's end marks the body's end.
    static Behaviour answer(int status, const QByteArray& body, const QByteArray& contentType = "text/xml",
                            const QByteArray& extraHeaders = {});
    static Behaviour answerWithoutLength(int status, const QByteArray& body,
                                         const QByteArray& contentType = "text/xml");
    static Behaviour redirect(const QString& location);
    // Exactly these bytes: whatever head, whatever body.
    static Behaviour raw(const QByteArray& head, const QByteArray& body = {});
    static QByteArray statusLine(int status);

    explicit HostileServer(QObject* parent = nullptr);
    ~HostileServer() override;

    // How requests are answered: those whose target starts with the path given (the longest such path wins),
    // or with no path, all others.
    void setBehaviour(const Behaviour& behaviour, const QByteArray& path = {}) { m_behaviours[path] = behaviour; }
    quint16 port() const;
    // The server's address with the given host name ("http://127.0.0.1:port" by default).
    QString base(const QString& host = QStringLiteral("127.0.0.1")) const;
    // The request lines received ("GET /path?query HTTP/1.1").
    const QList<QByteArray>& requests() const { return m_requests; }

private:
    struct Connection;
    void accept();
    void pump(Connection* connection);

    QTcpServer* m_server;
    QMap<QByteArray, Behaviour> m_behaviours;
    QList<QByteArray> m_requests;
};
