// The account API: listsites, newlumenpaneaccount and activate, answered as ServiceResponse documents.
#include "SimServer.h"

#include <QRandomGenerator>
#include <QTextStream>

namespace {

enum ErrorId { UnknownCommand = 1, BadCredentials = 2, MissingValue = 3, AccountExists = 10, BadCode = 50, NotActivated = 45 };

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

} // namespace

void registerAccountCommands(SimServer& server)
{
    server.addCommand(QStringLiteral("listsites"), [&server](const SimRequest& r) {
        const SimAccount* account = server.findAccount(r.value(QStringLiteral("email")));
        if (!account || account->password != r.value(QStringLiteral("password")))
            return SimReply::xml(SimServer::refusal(QStringLiteral("Invalid E-Mail Address or Password"), BadCredentials));
        if (!account->active)
            return SimReply::xml(SimServer::refusal(
                QStringLiteral("This account has not been activated yet. Enter the activation code that was e-mailed to you."),
                NotActivated));
        return SimReply::xml(SimServer::serviceResponse(QStringLiteral("OK"), siteRows(*account)));
    });

    server.addCommand(QStringLiteral("newlumenpaneaccount"), [&server](const SimRequest& r) {
        SimAccount account;
        account.firstName = r.value(QStringLiteral("firstname"));
        account.lastName = r.value(QStringLiteral("LastName"));
        account.email = r.value(QStringLiteral("email")).toLower();
        account.password = r.value(QStringLiteral("Password"));
        account.timeZone = r.value(QStringLiteral("TimeZone"));
        account.zipCode = r.value(QStringLiteral("ZipCode"));
        const QString domain = r.value(QStringLiteral("DomainName"));
        if (account.email.isEmpty() || account.password.isEmpty() || domain.isEmpty())
            return SimReply::xml(SimServer::refusal(QStringLiteral("E-mail address, password and domain are required."), MissingValue));
        if (server.findAccount(account.email))
            return SimReply::xml(SimServer::refusal(
                QStringLiteral("An account with the e-mail address %1 already exists.").arg(account.email), AccountExists));
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
        const QString code = r.value(QStringLiteral("signupcode"));
        for (SimAccount& account : server.accounts()) {
            if (!code.isEmpty() && !account.active && account.activationCode == code) {
                account.active = true;
                server.saveState();
                return SimReply::xml(SimServer::serviceResponse(QStringLiteral("OK")));
            }
        }
        return SimReply::xml(SimServer::refusal(QStringLiteral("The activation code %1 was not found or has already been used.")
                                                     .arg(code.isEmpty() ? QStringLiteral("(empty)") : code),
                                                 BadCode));
    });

    // The "e-mail" that the service sends: every activation code, newest first.
    server.addRoute(QStringLiteral("/mailbox"), [&server](const SimRequest&) {
        QByteArray items;
        const auto& mails = server.mailbox();
        for (auto it = mails.crbegin(); it != mails.crend(); ++it)
            items += "<li>To <b>" + SimServer::xmlEscape(it->first) + "</b>: your activation code is <code>" +
                     SimServer::xmlEscape(it->second) + "</code></li>";
        if (items.isEmpty())
            items = "<li>No mail yet.</li>";
        return SimReply::html("<!doctype html><html><head><title>Quillmoor mailbox</title></head><body>"
                              "<h1>Quillmoor mailbox</h1><ul>" + items + "</ul></body></html>");
    });
}
