#include "HttpGet.h"

#include <QList>

#include <QTcpSocket>
#include <algorithm>
#include <optional>
#if QT_CONFIG(ssl)
#include <QSslSocket>
#endif

namespace {
constexpr qsizetype MaxHeadBytes = 64 * 1024;
constexpr int MaxHeaderLines = 100;
constexpr qsizetype MaxChunkLine = 1024;
// What the socket may hold before this has taken it; the server waits beyond that.
constexpr qint64 SocketBufferBytes = 256 * 1024;

int defaultPort(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

bool sameServer(const QUrl& a, const QUrl& b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           defaultPort(a) == defaultPort(b);
}

// Where a head ends (just past its blank line), searching from a place known to hold no line end before it.
qsizetype headEnd(const QByteArray& in, qsizetype from)
{
    for (qsizetype i = in.indexOf('\n', from); i >= 0; i = in.indexOf('\n', i + 1)) {
        if (i >= 1 && in.at(i - 1) == '\n')
            return i + 1;
        if (i >= 2 && in.at(i - 1) == '\r' && in.at(i - 2) == '\n')
            return i + 1;
    }
    return -1;
}

bool isDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isHexDigits(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return isxdigit(uchar(c)) != 0; });
}
} // namespace

HttpGet::HttpGet(qint64 maxBodyBytes, int maxRedirects, QObject* parent)
    : QObject(parent), m_maxBody(maxBodyBytes), m_maxRedirects(maxRedirects)
{
}

HttpGet::~HttpGet()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
    }
}

void HttpGet::start(const QUrl& url)
{
    m_redirects = 0;
    connectTo(url);
}

void HttpGet::abort()
{
    if (!m_finished)
        finish(Error::Network, QStringLiteral("transfer cancelled"));
}

void HttpGet::connectTo(const QUrl& url)
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_url = url;
    m_stage = Stage::Head;
    m_in.clear();
    m_scanned = 0;
    m_status = 0;
    m_body.clear();

    const bool secure = url.scheme() == QLatin1String("https");
#if QT_CONFIG(ssl)
    auto* socket = secure ? new QSslSocket(this) : new QTcpSocket(this);
#else
    if (secure)
        return finish(Error::Network, QStringLiteral("secure connections are not available"));
    auto* socket = new QTcpSocket(this);
#endif
    m_socket = socket;
    socket->setReadBufferSize(SocketBufferBytes);
    QUrl server = url;
    server.setUserInfo({});
    QByteArray target = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment |
                                      QUrl::FullyEncoded | QUrl::NormalizePathSegments);
    if (!target.startsWith('/'))
        target.prepend('/'); // "http://host" and "http://host?query" ask for the root
    const QByteArray request = "GET " + target + " HTTP/1.1\r\nHost: " + server.authority(QUrl::FullyEncoded).toUtf8() +
                               "\r\nAccept: */*\r\nConnection: close\r\nUser-Agent: Lumenpane\r\n\r\n";
    const auto send = [this, request] { m_socket->write(request); };
    connect(socket, &QAbstractSocket::readyRead, this, &HttpGet::process);
    connect(socket, &QAbstractSocket::disconnected, this, &HttpGet::closed);
    connect(socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError) // the end of an answer read until the close
            finish(Error::Network, m_socket->errorString());
    });
#if QT_CONFIG(ssl)
    if (secure) {
        auto* ssl = static_cast<QSslSocket*>(socket);
        connect(ssl, &QSslSocket::encrypted, this, send);
        ssl->connectToHostEncrypted(url.host(), quint16(defaultPort(url)));
        return;
    }
#endif
    connect(socket, &QAbstractSocket::connected, this, send);
    socket->connectToHost(url.host(), quint16(defaultPort(url)));
}

bool HttpGet::append(QByteArrayView bytes)
{
    if (m_body.size() + bytes.size() > m_maxBody) {
        finish(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(m_maxBody));
        return false;
    }
    m_body.append(bytes);
    return true;
}

void HttpGet::process()
{
    if (m_finished || !m_socket)
        return;
    m_in += m_socket->readAll();
    while (!m_finished) {
        switch (m_stage) {
        case Stage::Head: {
            const qsizetype end = headEnd(m_in, m_scanned);
            if (end < 0 || end > MaxHeadBytes) {
                if (m_in.size() > MaxHeadBytes)
                    return finish(Error::Protocol,
                                  QStringLiteral("answer headers longer than %1 bytes").arg(MaxHeadBytes));
                m_scanned = m_in.size(); // a line end found later looks back at what came before it
                return;
            }
            const QByteArray head = m_in.left(end);
            m_in.remove(0, end);
            m_scanned = 0;
            if (!takeHead(head))
                return;
            break;
        }
        case Stage::Fixed:
        case Stage::ChunkData: {
            const qsizetype take = qsizetype(qMin<qint64>(m_remaining, m_in.size()));
            if (!append(QByteArrayView(m_in).first(take)))
                return;
            m_in.remove(0, take);
            m_remaining -= take;
            if (m_remaining > 0)
                return;
            if (m_stage == Stage::Fixed)
                return complete();
            m_stage = Stage::ChunkEnd;
            break;
        }
        case Stage::ChunkEnd:
            if (m_in.startsWith("\r\n") || m_in.startsWith('\n')) {
                m_in.remove(0, m_in.startsWith('\n') ? 1 : 2);
                m_stage = Stage::ChunkSize;
                break;
            }
            if (m_in.size() >= 2 || (m_in.size() == 1 && m_in.at(0) != '\r'))
                return finish(Error::Protocol, QStringLiteral("a chunk of the answer does not end where it said"));
            return;
        case Stage::ChunkSize:
        case Stage::Trailer: {
            const qsizetype end = m_in.indexOf('\n', m_scanned);
            if (end < 0) {
                if (m_in.size() > MaxChunkLine)
                    return finish(Error::Protocol, QStringLiteral("an over-long line in a chunked answer"));
                m_scanned = m_in.size();
                return;
            }
            const QByteArray line = m_in.left(end).trimmed();
            m_in.remove(0, end + 1);
            m_scanned = 0;
            if (m_stage == Stage::Trailer) {
                m_trailerBytes += end + 1;
                if (m_trailerBytes > MaxHeadBytes)
                    return finish(Error::Protocol,
                                  QStringLiteral("answer trailers longer than %1 bytes").arg(MaxHeadBytes));
                if (line.isEmpty())
                    return complete();
                break;
            }
            const qsizetype extension = line.indexOf(';');
            const QByteArray size = (extension < 0 ? line : line.left(extension)).trimmed();
            bool ok = false;
            const qint64 bytes = isHexDigits(size) && size.size() <= 15 ? size.toLongLong(&ok, 16) : -1;
            if (!ok || bytes < 0)
                return finish(Error::Protocol, QStringLiteral("a chunk size that is no number"));
            if (m_body.size() + bytes > m_maxBody)
                return finish(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(m_maxBody));
            m_remaining = bytes;
            m_stage = bytes == 0 ? Stage::Trailer : Stage::ChunkData;
            m_trailerBytes = 0;
            break;
        }
        case Stage::UntilClose:
            if (!append(m_in))
                return;
            m_in.clear();
            return;
        case Stage::Done:
            return;
        }
    }
}

bool HttpGet::takeHead(const QByteArray& head)
{
    // Each return says whether the body follows on this connection.
    const auto failed = [this](const QString& text, Error error = Error::Protocol) {
        finish(error, text);
        return false;
    };
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.size() > MaxHeaderLines + 1)
        return failed(QStringLiteral("no usable answer headers"));
    const QList<QByteArray> statusLine = lines.takeFirst().split(' ');
    if (statusLine.size() < 2 || !statusLine.at(0).startsWith("HTTP/1.") || statusLine.at(1).size() != 3 ||
        !isDigits(statusLine.at(1)))
        return failed(QStringLiteral("not an HTTP answer"));
    m_status = statusLine.at(1).toInt();

    QByteArray location, transferEncoding, contentEncoding;
    std::optional<qint64> length;
    for (const QByteArray& line : std::as_const(lines)) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return failed(QStringLiteral("a malformed answer header"));
        const QByteArray name = line.left(colon).toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "location") {
            location = value;
        } else if (name == "transfer-encoding") {
            transferEncoding += (transferEncoding.isEmpty() ? "" : ",") + value.toLower();
        } else if (name == "content-encoding") {
            contentEncoding += value.toLower();
        } else if (name == "content-length") {
            for (const QByteArray& part : value.split(',')) {
                const QByteArray digits = part.trimmed();
                if (!isDigits(digits) || digits.size() > 15 || (length && *length != digits.toLongLong()))
                    return failed(QStringLiteral("a malformed answer length"));
                length = digits.toLongLong();
            }
        }
    }

    if (m_status >= 100 && m_status < 200) {
        if (m_status == 101)
            return failed(QStringLiteral("the server switched protocols"));
        return true; // an interim answer: the real one follows
    }
    if (m_status == 301 || m_status == 302 || m_status == 303 || m_status == 307 || m_status == 308) {
        if (!location.isEmpty()) {
            const QUrl target = m_url.resolved(QUrl::fromEncoded(location));
            if (!target.isValid() || !sameServer(target, m_url))
                return failed(QStringLiteral("redirect to another server: %1")
                                  .arg(target.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo)),
                              Error::Redirect);
            if (++m_redirects > m_maxRedirects)
                return failed(QStringLiteral("too many redirects"), Error::Redirect);
            connectTo(target);
            return false;
        }
    }
    if (m_status < 200 || m_status > 299) {
        complete(); // nothing of such an answer is read: the status says it all
        return false;
    }
    if (!contentEncoding.isEmpty() && contentEncoding != "identity")
        return failed(QStringLiteral("an encoded answer (%1), which was not asked for")
                          .arg(QString::fromLatin1(contentEncoding)));
    if (m_status == 204) {
        complete();
        return false;
    }
    if (!transferEncoding.isEmpty()) {
        if (transferEncoding != "chunked")
            return failed(
                QStringLiteral("an answer in the transfer coding %1").arg(QString::fromLatin1(transferEncoding)));
        m_stage = Stage::ChunkSize;
    } else if (length) {
        if (*length > m_maxBody)
            return failed(QStringLiteral("answer larger than %1 bytes").arg(m_maxBody), Error::TooLarge);
        m_remaining = *length;
        m_body.reserve(m_remaining); // one allocation of the size announced (within the limit), no regrowing
        m_stage = Stage::Fixed;
        if (m_remaining == 0) {
            complete();
            return false;
        }
    } else {
        m_stage = Stage::UntilClose;
    }
    return true;
}

void HttpGet::closed()
{
    if (m_finished)
        return;
    process(); // whatever came with the close
    if (m_finished)
        return;
    if (m_stage == Stage::UntilClose)
        complete();
    else
        finish(Error::Network, QStringLiteral("the server closed the connection before the end of the answer"));
}

void HttpGet::finish(Error error, const QString& text)
{
    if (m_finished)
        return;
    m_finished = true;
    m_stage = Stage::Done;
    m_error = error;
    m_errorText = text;
    if (error != Error::None)
        m_body.clear();
    m_in.clear();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    emit finished();
}
