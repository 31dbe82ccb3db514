#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QTcpSocket;

// One HTTP/1.1 GET over a connection of its own, with every part of the answer bounded: the status line and
// headers (64 KiB), the body (the limit given), the redirects (to the same scheme, host and port only, a few
// at most). The answer is taken as it arrives, so the connection never holds more than a small buffer and a
// server that sends without end is cut off at the limit. Nothing is decoded or decompressed: no compression is
// asked for, and an answer that uses one anyway is refused. A status outside 2xx ends the transfer at once,
// since nothing of such an answer is read. It has no clock of its own: the caller ends a slow transfer with
// abort().
class HttpGet : public QObject {
    Q_OBJECT
public:
    enum class Error { None, Network, TooLarge, Redirect, Protocol };

    HttpGet(qint64 maxBodyBytes, int maxRedirects, QObject* parent = nullptr);
    ~HttpGet() override;

    void start(const QUrl& url);
    void abort();

    bool isFinished() const { return m_finished; }
    Error error() const { return m_error; }
    QString errorText() const { return m_errorText; }
    int status() const { return m_status; }
    const QByteArray& body() const { return m_body; }

signals:
    void finished();

private:
    enum class Stage { Head, Fixed, ChunkSize, ChunkData, ChunkEnd, Trailer, UntilClose, Done };

    void connectTo(const QUrl& url);
    void process();
    bool takeHead(const QByteArray& head);
    bool append(QByteArrayView bytes);
    void closed();
    void complete() { finish(Error::None, {}); }
    void finish(Error error, const QString& text);

    const qint64 m_maxBody;
    const int m_maxRedirects;
    QTcpSocket* m_socket = nullptr;
    QUrl m_url;
    int m_redirects = 0;
    Stage m_stage = Stage::Head;
    QByteArray m_in;         // received, not yet taken
    qsizetype m_scanned = 0; // how much of m_in is known to hold no line end
    qint64 m_remaining = 0;
    qint64 m_trailerBytes = 0;
    int m_status = 0;
    QByteArray m_body;
    bool m_finished = false;
    Error m_error = Error::None;
    QString m_errorText;
};
