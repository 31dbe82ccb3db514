#include "LimitedGet.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
// What Qt's network thread may hold before this has taken it; the server waits beyond that.
constexpr qint64 ReadBufferBytes = 256 * 1024;

int defaultPort(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

bool sameServer(const QUrl& a, const QUrl& b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           defaultPort(a) == defaultPort(b);
}

// The statuses that Qt follows when they name a target.
bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 305 || status == 307 || status == 308;
}
} // namespace

LimitedGet::LimitedGet(const Limits& limits, QObject* parent)
    : QObject(parent), m_limits(limits), m_manager(new QNetworkAccessManager(this))
{
    // Each redirect is checked here before it is followed.
    m_manager->setRedirectPolicy(QNetworkRequest::UserVerifiedRedirectPolicy);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { finish(Error::Timeout, QStringLiteral("no answer within %1 ms").arg(m_limits.timeoutMs)); });
}

LimitedGet::~LimitedGet()
{
    if (m_reply)
        m_reply->disconnect(this); // deleting it with the manager aborts the transfer
}

void LimitedGet::start(const QUrl& url)
{
    m_url = url;
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return finish(Error::Network, QStringLiteral("not a web address: %1").arg(url.toDisplayString()));

    QNetworkRequest request(url);
    // No cookies, no cache, no compression: the account commands carry everything in the address. Asking for
    // the identity encoding also keeps Qt from decompressing anything on its own.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setRawHeader("Accept-Encoding", "identity");
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Lumenpane"));
    request.setMaximumRedirectsAllowed(m_limits.maxRedirects);

    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(ReadBufferBytes);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &LimitedGet::headArrived);
    connect(m_reply, &QNetworkReply::readyRead, this, &LimitedGet::bodyArrived);
    connect(m_reply, &QNetworkReply::redirected, this, &LimitedGet::redirected);
    connect(m_reply, &QNetworkReply::finished, this, &LimitedGet::transferEnded);
    m_deadline.start(m_limits.timeoutMs);
}

void LimitedGet::headArrived()
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return;
    const int code = status.toInt();
    // An interim status (Qt reports one too while it follows a redirect): the real one follows. A redirect:
    // redirected() decides.
    if (code < 200 || (isRedirect(code) && m_reply->hasRawHeader("Location")))
        return;
    if (code > 299)
        return finish(Error::HttpStatus, QStringLiteral("HTTP status %1").arg(code));
    const QByteArray encoding = m_reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity")
        return finish(
            Error::Encoding,
            QStringLiteral("an encoded answer (%1), which was not asked for").arg(QString::fromLatin1(encoding)));
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_limits.maxBodyBytes)
        return finish(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(m_limits.maxBodyBytes));
    if (length.isValid())
        m_body.reserve(length.toLongLong()); // one allocation of the size announced (within the limit)
}

void LimitedGet::bodyArrived()
{
    take(m_reply->readAll());
}

bool LimitedGet::take(const QByteArray& bytes)
{
    if (m_body.size() + bytes.size() > m_limits.maxBodyBytes) {
        finish(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(m_limits.maxBodyBytes));
        return false;
    }
    m_body.append(bytes);
    return true;
}

void LimitedGet::redirected(const QUrl& target)
{
    // The account API is one server: a redirect may move an answer there, never away, and never for long.
    if (!target.isValid() || !sameServer(target, m_url))
        return finish(Error::Redirect, QStringLiteral("redirect to another server: %1")
                                           .arg(target.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo)));
    if (++m_redirects > m_limits.maxRedirects)
        return finish(Error::Redirect, QStringLiteral("too many redirects"));
    m_body.clear();
    emit m_reply->redirectAllowed();
}

void LimitedGet::transferEnded()
{
    const QNetworkReply::NetworkError error = m_reply->error();
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (error == QNetworkReply::TooManyRedirectsError || error == QNetworkReply::InsecureRedirectError)
        return finish(Error::Redirect, m_reply->errorString());
    // Qt can end a transfer whose connection went away between redirects without an error, and without a status.
    if (!status.isValid() || status.toInt() < 200)
        return finish(Error::Network, QStringLiteral("the connection ended without an answer"));
    if (status.toInt() > 299)
        return finish(Error::HttpStatus, QStringLiteral("HTTP status %1").arg(status.toInt()));
    if (error != QNetworkReply::NoError)
        return finish(Error::Network, m_reply->errorString());
    if (take(m_reply->readAll()))
        finish(Error::None);
}

void LimitedGet::finish(Error error, const QString& text)
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    m_error = error;
    m_errorText = text;
    if (error != Error::None)
        m_body = QByteArray();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    // From the event loop, so that whoever started it has connected, and is not called back from within start().
    QMetaObject::invokeMethod(
        this, [this] { emit finished(); }, Qt::QueuedConnection);
}
