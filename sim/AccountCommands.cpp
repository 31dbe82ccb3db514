// The account API: listsites, newlumenpaneaccount and activate, answered as ServiceResponse documents.
#include "SimServer.h"

#include <QRandomGenerator>
#include <QTextStream>

namespace {

enum ErrorId {
    UnknownCommand = 1,
    BadCredentials = 2,
    MissingValue = 3,
    AccountExists = 10,
    BadCode = 50,
    NotActivated = 45
};

QByteArray siteRows(const SimAccount& account)
{
    QByteArray rows;
    for (const SimSite& site : account.sites)
        rows += "<ROW><SITEID>" + QByteArray::number(site.id) + "</SITEID><PROFILENAME>" +
                SimServer::xmlEscape(site.name) + "</PROFILENAME></ROW>";
    return rows;
}

int nextSiteId(SimServer& server)
{
    int highest = 100;
    for (const SimAccount& a : std::as_const(server.accounts()))
        for (const SimSite& s : a.sites)
            highest = std::max(highest, s.id);
    return highest + 1;
}

QString newActivationCode()
{
    static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString code;
    for (int i = 0; i < 8; ++i)
        code += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))]);
    return code;
}

// Sign-up and activation values arrive with every single quote doubled, as the service stores them
// through quoted literals; it keeps them with single quotes.
QString quotedValue(const SimRequest& r, const QString& key)
{
    return r.value(key).replace(QStringLiteral("''"), QStringLiteral("'"));
}

} // namespace

void registerAccountCommands(SimServer& server)
{
    server.addCommand(QStringLiteral("listsites"), [&server](const SimRequest& r) {
        const SimAccount* account = server.findAccount(r.value(QStringLiteral("email")));
        if (!account || account->password != r.value(QStringLiteral("password")))
            return SimReply::xml(
                SimServer::refusal(QStringLiteral("Invalid E-Mail Address or Password"), BadCredentials));
        if (!account->active)
            return SimReply::xml(SimServer::refusal(
                QStringLiteral(
                    "This account has not been activated yet. Enter the activation code that was e-mailed to you."),
                NotActivated));
        return SimReply::xml(SimServer::serviceResponse(QStringLiteral("OK"), siteRows(*account)));
    });

    server.addCommand(QStringLiteral("newlumenpaneaccount"), [&server](const SimRequest& r) {
        SimAccount account;
        account.firstName = quotedValue(r, QStringLiteral("firstname"));
        account.lastName = quotedValue(r, QStringLiteral("LastName"));
        account.email = quotedValue(r, QStringLiteral("email")).toLower();
        account.password = quotedValue(r, QStringLiteral("Password"));
        account.timeZone = r.value(QStringLiteral("TimeZone"));
        account.zipCode = quotedValue(r, QStringLiteral("ZipCode"));
        const QString domain = quotedValue(r, QStringLiteral("DomainName")).toLower();
        if (account.firstName.isEmpty() || account.lastName.isEmpty() || account.email.isEmpty() ||
            account.password.isEmpty() || account.zipCode.isEmpty() || domain.isEmpty())
            return SimReply::xml(SimServer::refusal(QStringLiteral("All fields are required."), MissingValue));
        bool isNumber = false;
        const int hours = account.timeZone.toInt(&isNumber);
        if (!isNumber || hours < -12 || hours > 13)
            return SimReply::xml(SimServer::refusal(QStringLiteral("Invalid Time Zone."), MissingValue));
        if (server.findAccount(account.email))
            return SimReply::xml(SimServer::refusal(
                QStringLiteral("An account with the e-mail address %1 already exists.").arg(account.email),
                AccountExists));
        account.active = false;
        account.activationCode = newActivationCode();
        account.sites.append({nextSiteId(server), domain});
        server.accounts().insert(account.email, account);
        server.mailbox().append({account.email, account.activationCode});
        server.saveState();
        QTextStream(stderr) << "MAIL to " << account.email << ": your Quillmoor activation code is "
                            << account.activationCode << Qt::endl;
        return SimReply::xml(SimServer::serviceResponse(QStringLiteral("OK")));
    });

    server.addCommand(QStringLiteral("activate"), [&server](const SimRequest& r) {
        const QString code = quotedValue(r, QStringLiteral("signupcode"));
        for (SimAccount& account : server.accounts()) {
            // Codes are read back from an e-mail: letter case is not held against the user.
            if (!code.isEmpty() && !account.active && account.activationCode.compare(code, Qt::CaseInsensitive) == 0) {
                account.active = true;
                server.saveState();
                return SimReply::xml(SimServer::serviceResponse(QStringLiteral("OK")));
            }
        }
        return SimReply::xml(
            SimServer::refusal(QStringLiteral("The activation code %1 was not found or has already been used.")
                                   .arg(code.isEmpty() ? QStringLiteral("(empty)") : code),
                               BadCode));
    });

    // The "e-mail" that the service sends: every activation code, newest first. Accounts still waiting for
    // activation that were read from the seed or the state file got their mail in an earlier run: listed too.
    server.addRoute(QStringLiteral("/mailbox"), [&server](const SimRequest&) {
        QList<QPair<QString, QString>> mails = server.mailbox();
        for (const SimAccount& account : std::as_const(server.accounts()))
            if (!account.active && !account.activationCode.isEmpty() &&
                !mails.contains(qMakePair(account.email, account.activationCode)))
                mails.prepend({account.email, account.activationCode});
        QByteArray items;
        for (auto it = mails.crbegin(); it != mails.crend(); ++it)
            items += "<li>To <b>" + SimServer::xmlEscape(it->first) + "</b>: your activation code is <code>" +
                     SimServer::xmlEscape(it->second) + "</code></li>";
        if (items.isEmpty())
            items = "<li>No mail yet.</li>";
        return SimReply::html("<!doctype html><html><head><title>Quillmoor mailbox</title></head><body>"
                              "<h1>Quillmoor mailbox</h1><ul>" +
                              items + "</ul></body></html>");
    });
}
