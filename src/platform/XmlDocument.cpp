#include "XmlDocument.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QXmlStreamReader>

namespace {
int g_timeoutMs = 30000;
qint64 g_maxBytes = 16 * 1024 * 1024;

QNetworkAccessManager& network()
{
    // One manager for the program; connections to the same server are reused between commands.
    static QNetworkAccessManager* manager = [] {
        auto* m = new QNetworkAccessManager;
        m->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
        return m;
    }();
    return *manager;
}

bool hasDocumentType(const QByteArray& body)
{
    // A DTD may only stand before the document element, so reading up to that element is enough.
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            return true;
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::Invalid:
            return false;
        default:
            break;
        }
    }
    return false;
}
} // namespace

int XmlDocument::transferTimeoutMs()
{
    return g_timeoutMs;
}
void XmlDocument::setTransferTimeoutMs(int ms)
{
    g_timeoutMs = ms;
}
qint64 XmlDocument::maxAnswerBytes()
{
    return g_maxBytes;
}
void XmlDocument::setMaxAnswerBytes(qint64 bytes)
{
    g_maxBytes = bytes;
}

void XmlDocument::fail(Error error, const QString& detail)
{
    m_error = error;
    m_detail = detail;
    m_document = QDomDocument();
}

bool XmlDocument::load(const QString& address)
{
    m_error = Error::None;
    m_detail.clear();
    m_document = QDomDocument();

    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        fail(Error::Network, QStringLiteral("not a web address: %1").arg(address));
        return false;
    }
    QNetworkRequest request(url);
    // The account commands carry everything in the address: no cookies are kept or sent.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);

    QPointer<QNetworkReply> reply = network().get(request);
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    bool tooLarge = false;
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        if (received > g_maxBytes || total > g_maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(g_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();

    const QByteArray body = tooLarge || timedOut ? QByteArray() : reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const auto networkError = reply->error();
    const QString errorText = reply->errorString();
    reply->deleteLater();

    if (timedOut)
        fail(Error::Timeout, QStringLiteral("no answer within %1 ms").arg(g_timeoutMs));
    else if (tooLarge)
        fail(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(g_maxBytes));
    else if (status != 0 && (status < 200 || status > 299))
        fail(Error::HttpStatus, QStringLiteral("HTTP status %1").arg(status));
    else if (networkError != QNetworkReply::NoError)
        fail(Error::Network, errorText);
    else
        return parse(body);
    return false;
}

bool XmlDocument::parse(const QByteArray& body)
{
    if (body.size() > g_maxBytes) {
        fail(Error::TooLarge, QStringLiteral("answer larger than %1 bytes").arg(g_maxBytes));
        return false;
    }
    if (hasDocumentType(body)) {
        fail(Error::DocumentType, QStringLiteral("the answer holds a document type declaration"));
        return false;
    }
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(body, &message, &line, &column)) {
        fail(Error::NotXml,
             QStringLiteral("not well-formed XML (line %1, column %2: %3)").arg(line).arg(column).arg(message));
        return false;
    }
    m_error = Error::None;
    m_detail.clear();
    m_document = document;
    return true;
}
