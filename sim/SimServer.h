#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFile;
class QIODevice;

// A request as the handlers see it: the path, and the query both as received and decoded.
struct SimRequest {
    QString method;
    QString path;
    QString rawQuery;                          // exactly as received, percent-encoding and all
    QList<QPair<QString, QString>> queryItems; // in order; "%xx" decoded, "+" left as "+"
    QByteArray cookieHeader;

    // The first value of a key, compared exactly (letter case included); empty when missing.
    QString value(const QString& key) const;
    bool has(const QString& key) const;
    QString cookie(const QString& name) const;
};

struct SimReply {
    int status = 200;
    QByteArray contentType = "text/xml; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    static SimReply xml(const QByteArray& body) { return {200, "text/xml; charset=utf-8", body, {}}; }
    static SimReply html(const QByteArray& body) { return {200, "text/html; charset=utf-8", body, {}}; }
};

struct SimSite {
    int id = 0;
    QString name;
};

struct SimAccount {
    QString email; // stored in lower case
    QString password;
    QString firstName;
    QString lastName;
    QString zipCode;
    QString timeZone;
    bool active = false;
    QString activationCode;
    QList<SimSite> sites;
};

// The local stand-in for the Quillmoor service: the account API under /v3/rsapi.asp, the report pages
// under /lumenpane/, and a mailbox page for activation codes. Listens on 127.0.0.1 only and logs every
// request it receives, one line each: method, path and query exactly as received.
class SimServer : public QAbstractHttpServer {
    Q_OBJECT
public:
    enum class Fault { None, NotXml, HttpError, DocumentType, Hang };
    using Handler = std::function<SimReply(const SimRequest&)>;

    explicit SimServer(QObject* parent = nullptr);

    // Accounts: the seed in the program's resources, or a JSON file of the same form.
    bool loadAccounts(const QString& jsonFile, QString* error = nullptr);
    void loadDefaultAccounts();
    // Accounts created or activated while running are written here, when set, and read at start.
    void setStateFile(const QString& path);

    // Listens on 127.0.0.1; port 0 picks a free one. Returns the port, or 0 when it failed.
    quint16 listenLocal(quint16 port);
    quint16 port() const { return m_port; }
    QString baseUrl() const;

    void setLogDevice(QIODevice* device) { m_logDevice = device; }
    // Opens a file that holds passwords (the request log, the accounts) for writing by its owner only: it is
    // created 0600 and an existing one is narrowed to 0600; missing folders are created 0700; a symbolic link in
    // its place is refused. A folder that others may enter is only warned about: it is the user's choice.
    static bool openPrivateFile(QFile& file, QIODevice::OpenMode mode, QString* error = nullptr);
    const QStringList& requestLog() const { return m_log; }
    void clearLog() { m_log.clear(); }

    // Fault switches for the account API (tests): a delay before every answer, or a broken answer.
    void setDelayMs(int ms) { m_delayMs = ms; }
    // A delay before every page of the report server (tests): a slow server.
    void setPageDelayMs(int ms) { m_pageDelayMs = ms; }
    void setFault(Fault fault) { m_fault = fault; }
    // Answers every account API command with exactly this body and status until cleared.
    void setCannedAnswer(const QByteArray& body, int status = 200);
    void clearCannedAnswer() { m_canned.reset(); }
    // Makes every HTML page request /_sim/loaded?<its path> once its load event has fired, so the request
    // log shows when a browser had the page parsed and loaded (for timing page loads from outside).
    void setLoadBeacon(bool on) { m_loadBeacon = on; }

    QHash<QString, SimAccount>& accounts() { return m_accounts; }
    SimAccount* findAccount(const QString& email);
    void saveState();

    // The "sent" activation mails, newest last: address and code.
    QList<QPair<QString, QString>>& mailbox() { return m_mailbox; }

    // Pages by path, and account API commands by their "cmd" value (exact case).
    void addRoute(const QString& path, Handler handler) { m_routes.insert(path, std::move(handler)); }
    void addCommand(const QString& cmd, Handler handler) { m_commands.insert(cmd, std::move(handler)); }

    static QByteArray xmlEscape(const QString& text);
    static QByteArray serviceResponse(const QString& status, const QByteArray& innerXml = {});
    static QByteArray refusal(const QString& message, int errorId);

signals:
    void requestLogged(const QString& line);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    SimReply dispatch(const SimRequest& request);
    SimReply accountApi(const SimRequest& request);
    SimReply controlPage(const SimRequest& request);
    void log(const QString& line);

    QHash<QString, Handler> m_routes;
    QHash<QString, Handler> m_commands;
    QHash<QString, SimAccount> m_accounts;
    QList<QPair<QString, QString>> m_mailbox;
    QStringList m_log;
    QIODevice* m_logDevice = nullptr;
    QString m_stateFile;
    quint16 m_port = 0;
    int m_delayMs = 0;
    int m_pageDelayMs = 0;
    bool m_loadBeacon = false;
    Fault m_fault = Fault::None;
    std::optional<QPair<QByteArray, int>> m_canned;
};

// Route groups, each in its own file.
void registerAccountCommands(SimServer& server);
void registerReportPages(SimServer& server);
