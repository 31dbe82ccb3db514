#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One HTTP GET through Qt's network access, with every part of the answer bounded: an overall deadline (an
// inactivity time-out alone would wait for ever on a server that trickles), the body (refused at once when its
// announced length is over the cap, cut off when what arrives passes it), the redirects (to the same scheme, host
// and port only, a few at most). No cookies, no cache, and nothing decoded: no compression is asked for, and an
// answer that uses one anyway is refused. A status outside 2xx ends the transfer at once, since nothing of such an
// answer is read. It reports once, by finished(), always from the event loop; deleting it cancels the transfer.
class LimitedGet : public QObject {
    Q_OBJECT
public:
    enum class Error { None, Network, Timeout, HttpStatus, TooLarge, Redirect, Encoding };
    struct Limits {
        int timeoutMs;
        qint64 maxBodyBytes;
        int maxRedirects;
    };

    explicit LimitedGet(const Limits& limits, QObject* parent = nullptr);
    ~LimitedGet() override;

    void start(const QUrl& url);

    Error error() const { return m_error; }
    QString errorText() const { return m_errorText; }
    // The whole body of a 2xx answer, once finished without an error.
    const QByteArray& body() const { return m_body; }

signals:
    void finished();

private:
    void headArrived();
    void bodyArrived();
    void redirected(const QUrl& target);
    void transferEnded();
    bool take(const QByteArray& bytes);
    void finish(Error error, const QString& text = {});

    const Limits m_limits;
    QNetworkAccessManager* m_manager;
    QNetworkReply* m_reply = nullptr;
    QUrl m_url;
    QTimer m_deadline;
    int m_redirects = 0;
    bool m_finished = false;
    Error m_error = Error::None;
    QString m_errorText;
    QByteArray m_body;
};
