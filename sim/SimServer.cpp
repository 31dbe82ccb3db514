#include "SimServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

QString SimRequest::value(const QString& key) const
{
    for (const auto& item : queryItems)
        if (item.first == key)
            return item.second;
    return QString();
}

bool SimRequest::has(const QString& key) const
{
    for (const auto& item : queryItems)
        if (item.first == key)
            return true;
    return false;
}

QString SimRequest::cookie(const QString& name) const
{
    for (const QByteArray& part : cookieHeader.split(';')) {
        const QByteArray trimmed = part.trimmed();
        const qsizetype eq = trimmed.indexOf('=');
        if (eq > 0 && QString::fromUtf8(trimmed.left(eq)) == name)
            return QString::fromUtf8(trimmed.mid(eq + 1));
    }
    return QString();
}

SimServer::SimServer(QObject* parent) : QAbstractHttpServer(parent)
{
    addRoute(QStringLiteral("/v3/rsapi.asp"), [this](const SimRequest& r) { return accountApi(r); });
    addRoute(QStringLiteral("/_sim/fault"), [this](const SimRequest& r) { return controlPage(r); });
    addRoute(QStringLiteral("/_sim/loaded"), [](const SimRequest&) { return SimReply{200, "text/plain", {}, {}}; });
    registerAccountCommands(*this);
    registerReportPages(*this);
}

static SimAccount accountFromJson(const QJsonObject& o)
{
    SimAccount a;
    a.email = o.value(QStringLiteral("email")).toString().toLower();
    a.password = o.value(QStringLiteral("password")).toString();
    a.firstName = o.value(QStringLiteral("firstName")).toString();
    a.lastName = o.value(QStringLiteral("lastName")).toString();
    a.zipCode = o.value(QStringLiteral("zipCode")).toString();
    a.timeZone = o.value(QStringLiteral("timeZone")).toString();
    a.active = o.value(QStringLiteral("active")).toBool();
    a.activationCode = o.value(QStringLiteral("activationCode")).toString();
    for (const QJsonValue& s : o.value(QStringLiteral("sites")).toArray())
        a.sites.append(
            {s.toObject().value(QStringLiteral("id")).toInt(), s.toObject().value(QStringLiteral("name")).toString()});
    return a;
}

static QJsonObject accountToJson(const SimAccount& a)
{
    QJsonArray sites;
    for (const SimSite& s : a.sites)
        sites.append(QJsonObject{{QStringLiteral("id"), s.id}, {QStringLiteral("name"), s.name}});
    return QJsonObject{{QStringLiteral("email"), a.email},
                       {QStringLiteral("password"), a.password},
                       {QStringLiteral("firstName"), a.firstName},
                       {QStringLiteral("lastName"), a.lastName},
                       {QStringLiteral("zipCode"), a.zipCode},
                       {QStringLiteral("timeZone"), a.timeZone},
                       {QStringLiteral("active"), a.active},
                       {QStringLiteral("activationCode"), a.activationCode},
                       {QStringLiteral("sites"), sites}};
}

bool SimServer::loadAccounts(const QString& jsonFile, QString* error)
{
    QFile file(jsonFile);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(jsonFile, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        if (error)
            *error = QStringLiteral("%1 is not a JSON object: %2").arg(jsonFile, parseError.errorString());
        return false;
    }
    for (const QJsonValue& v : doc.object().value(QStringLiteral("accounts")).toArray()) {
        const SimAccount a = accountFromJson(v.toObject());
        if (!a.email.isEmpty())
            m_accounts.insert(a.email, a);
    }
    return true;
}

static void initSimResources()
{
    Q_INIT_RESOURCE(sim);
} // the seed lives in a static library

void SimServer::loadDefaultAccounts()
{
    initSimResources();
    loadAccounts(QStringLiteral(":/sim/accounts.json"));
}

void SimServer::setStateFile(const QString& path)
{
    m_stateFile = path;
    if (QFile::exists(path))
        loadAccounts(path);
}

void SimServer::saveState()
{
    if (m_stateFile.isEmpty())
        return;
    QJsonArray list;
    for (const SimAccount& a : std::as_const(m_accounts))
        list.append(accountToJson(a));
    QFile file(m_stateFile);
    QString error;
    if (openPrivateFile(file, QIODevice::WriteOnly | QIODevice::Truncate, &error))
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("accounts"), list}}).toJson());
    else
        qWarning("quillmoor-sim: %s", qPrintable(error));
}

bool SimServer::openPrivateFile(QFile& file, QIODevice::OpenMode mode, QString* error)
{
    const auto failed = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(file.fileName(), why);
        return false;
    };
    const QFileInfo info(file.fileName());
    QDir folder = info.absoluteDir();
    if (!folder.exists()) {
        // Each missing folder on the way is made private as it is created.
        QStringList missing;
        for (QDir up = folder; !up.exists(); up.setPath(QFileInfo(up.absolutePath()).absolutePath()))
            missing.prepend(up.absolutePath());
        for (const QString& path : std::as_const(missing))
            if (!QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) && !QDir(path).exists())
                return failed(QStringLiteral("cannot create the folder %1").arg(path));
    }
    struct stat folderStatus {};
    if (::stat(QFile::encodeName(folder.absolutePath()).constData(), &folderStatus) == 0 &&
        (folderStatus.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        qWarning("quillmoor-sim: %s can be entered by other users; passwords are safer in a folder of your own "
                 "(chmod 700)",
                 qPrintable(folder.absolutePath()));

    int flags = O_CREAT | O_NOFOLLOW | O_CLOEXEC | ((mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY);
    if (mode & QIODevice::Append)
        flags |= O_APPEND;
    if (mode & QIODevice::Truncate)
        flags |= O_TRUNC;
    const int fd = ::open(QFile::encodeName(info.absoluteFilePath()).constData(), flags, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return failed(QString::fromLocal8Bit(strerror(errno)));
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 || !file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(QStringLiteral("cannot make it private"));
    }
    return true;
}

SimAccount* SimServer::findAccount(const QString& email)
{
    auto it = m_accounts.find(email.toLower());
    return it == m_accounts.end() ? nullptr : &it.value();
}

quint16 SimServer::listenLocal(quint16 port)
{
    m_port = listen(QHostAddress::LocalHost, port);
    return m_port;
}

QString SimServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void SimServer::setCannedAnswer(const QByteArray& body, int status)
{
    m_canned = qMakePair(body, status);
}

QByteArray SimServer::xmlEscape(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray SimServer::serviceResponse(const QString& status, const QByteArray& innerXml)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ServiceResponse><STATUS>" + xmlEscape(status) + "</STATUS>" +
           innerXml + "</ServiceResponse>\n";
}

QByteArray SimServer::refusal(const QString& message, int errorId)
{
    return serviceResponse(QStringLiteral("ERROR"), "<ERRMSG>" + xmlEscape(message) + "</ERRMSG><ERRORID>" +
                                                        QByteArray::number(errorId) + "</ERRORID>");
}

void SimServer::log(const QString& line)
{
    m_log.append(line);
    if (m_logDevice) {
        m_logDevice->write(line.toUtf8() + '\n');
        if (auto* file = qobject_cast<QFile*>(m_logDevice))
            file->flush();
    }
    emit requestLogged(line);
}

static SimRequest toSimRequest(const QHttpServerRequest& request)
{
    SimRequest r;
    const QUrl url = request.url();
    r.method = QString::fromLatin1(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method())))
                   .toUpper();
    r.path = url.path(QUrl::FullyEncoded);
    r.rawQuery = url.query(QUrl::FullyEncoded);
    if (!r.rawQuery.isEmpty()) {
        for (const QString& pair : r.rawQuery.split(QLatin1Char('&'))) {
            const qsizetype eq = pair.indexOf(QLatin1Char('='));
            const QString key = eq < 0 ? pair : pair.left(eq);
            const QString value = eq < 0 ? QString() : pair.mid(eq + 1);
            r.queryItems.append({QUrl::fromPercentEncoding(key.toUtf8()), QUrl::fromPercentEncoding(value.toUtf8())});
        }
    }
    r.cookieHeader = request.value("Cookie");
    return r;
}

bool SimServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    const SimRequest r = toSimRequest(request);
    log(r.method + QLatin1Char(' ') + r.path +
        (r.rawQuery.isEmpty() && !request.url().hasQuery() ? QString() : QLatin1Char('?') + r.rawQuery));

    const bool api = r.path == QLatin1String("/v3/rsapi.asp");
    if (api && m_fault == Fault::Hang)
        return true; // never answers; the client's time-out has to end the wait

    SimReply reply = dispatch(r);
    if (m_loadBeacon && reply.contentType.startsWith("text/html"))
        reply.body.replace("</body>", "<script>addEventListener('load', () => fetch('/_sim/loaded?' + "
                                      "encodeURIComponent(location.pathname)));</script></body>");
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    auto send = [responder, reply] {
        responder->writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(reply.status));
        responder->writeHeader("Content-Type", reply.contentType);
        responder->writeHeader("Content-Length", QByteArray::number(reply.body.size()));
        responder->writeHeader("Cache-Control", "no-store");
        for (const auto& h : reply.headers)
            responder->writeHeader(h.first, h.second);
        responder->writeBody(reply.body);
    };
    if (const int delay = api ? m_delayMs : m_pageDelayMs; delay > 0) {
        QPointer<QTcpSocket> alive(socket);
        QTimer::singleShot(delay, this, [alive, send] {
            if (alive)
                send();
        });
    } else {
        send();
    }
    return true;
}

void SimServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

SimReply SimServer::dispatch(const SimRequest& request)
{
    const auto route = m_routes.constFind(request.path);
    if (route == m_routes.constEnd())
        return {404, "text/plain; charset=utf-8", "Not found\n", {}};
    return route.value()(request);
}

SimReply SimServer::accountApi(const SimRequest& request)
{
    if (m_canned)
        return {m_canned->second, "text/xml; charset=utf-8", m_canned->first, {}};
    switch (m_fault) {
    case Fault::NotXml:
        return SimReply::html("<html><body><h1>Service temporarily unavailable</h1><p>Please try later.</body>");
    case Fault::HttpError:
        return {500, "text/xml; charset=utf-8", serviceResponse(QStringLiteral("OK")), {}};
    case Fault::DocumentType:
        return SimReply::xml("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaa\">]><r><STATUS>OK</STATUS></r>");
    default:
        break;
    }
    const auto command = m_commands.constFind(request.value(QStringLiteral("cmd")));
    if (command == m_commands.constEnd())
        return SimReply::xml(refusal(QStringLiteral("Unknown command"), 1));
    return command.value()(request);
}

SimReply SimServer::controlPage(const SimRequest& request)
{
    const QString mode = request.value(QStringLiteral("mode"));
    m_fault = mode == QLatin1String("notxml")    ? Fault::NotXml
              : mode == QLatin1String("http500") ? Fault::HttpError
              : mode == QLatin1String("doctype") ? Fault::DocumentType
              : mode == QLatin1String("hang")    ? Fault::Hang
                                                 : Fault::None;
    if (request.has(QStringLiteral("delay")))
        m_delayMs = request.value(QStringLiteral("delay")).toInt();
    return {200,
            "text/plain; charset=utf-8",
            "fault=" + mode.toUtf8() + " delay=" + QByteArray::number(m_delayMs) + "\n",
            {}};
}
