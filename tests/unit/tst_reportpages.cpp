// The simulator's report pages, fetched with a cookie jar as the browser would, and its files that hold passwords.
#include "TestSupport.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <sys/stat.h>

class ReportPagesTest : public QObject {
    Q_OBJECT
    LocalService service;
    QNetworkAccessManager browser;

    // What a page shows: "heading | period | visits".
    QString get(const QString& pathAndQuery)
    {
        std::unique_ptr<QNetworkReply> reply(
            browser.get(QNetworkRequest(service.base() + "/lumenpane/" + pathAndQuery)));
        if (!reply->isFinished())
            QSignalSpy(reply.get(), &QNetworkReply::finished).wait(20000);
        const QString html = QString::fromUtf8(reply->readAll());
        QStringList shown;
        for (const char* pattern : {"<h1>(.*)</h1>", "class=\"period\">([^<]*)<", "id=\"visits\">([^<]*)<"})
            shown << QRegularExpression(pattern).match(html).captured(1);
        return shown.join(" | ");
    }

private slots:
    // Without a session, or with a wrong or inactive account, the pages ask to sign in. Signing in opens the first
    // site for today in an HttpOnly session; the period stays with the session, a site switch keeps it, the custom
    // range's "LDate" counts as well as "Ldate", and the figures are fixed per site and day.
    void periodsAndSitesFollowTheSession()
    {
        const QString signIn = "default2.asp?autologin=true&email=",
                      march = "default2.asp?FDate=3/1/2008&Ldate=3/7/2008";
        for (const QString& page : {march, QString("export.asp?FDate=3/1/2008"), signIn + "demo@example.com&password=x",
                                    signIn + "pending@example.com&password=pending123"})
            QVERIFY2(get(page).startsWith("Sign-in required | "), qPrintable(page));
        const QString today = QDate::currentDate().toString("M/d/yyyy");
        QVERIFY(
            get(signIn + "demo@example.com&password=demo123").startsWith("example.com | " + today + " to " + today));
        const auto cookies = browser.cookieJar()->cookiesForUrl(service.base() + "/lumenpane/");
        QVERIFY(cookies.size() == 1 && cookies[0].name() == "QMSESSION" && cookies[0].isHttpOnly());
        const QString shown = get(march), shop = get("default2.asp?chSiteID=12");
        QVERIFY(shown.startsWith("example.com | 3/1/2008 to 3/7/2008 (7 days) | ") &&
                shown.section(" | ", 2).remove(',').toInt());
        QCOMPARE(shop.section(" | ", 0, 1), "shop.example.com | 3/1/2008 to 3/7/2008 (7 days)");
        QVERIFY(shop.section(" | ", 2) != shown.section(" | ", 2));
        QVERIFY(get("default2.asp?FDate=2/1/2008&LDate=2/29/2008").contains("2/1/2008 to 2/29/2008 (29 days)"));
        browser.setCookieJar(new QNetworkCookieJar); // a new session
        get(signIn + "demo@example.com&password=demo123");
        QCOMPARE(get(march), shown);
    }

    // The request log and the accounts file: their owner alone reads them, in folders of their own, whatever the
    // umask, and a link put in their place is not followed.
    void filesWithPasswordsArePrivate()
    {
        QTemporaryDir dir;
        const auto mode = [&dir](const char* path) {
            struct stat status {};
            return ::lstat(QFile::encodeName(dir.filePath(path)).constData(), &status) == 0 ? status.st_mode & 07777
                                                                                            : 1;
        };
        const mode_t umaskBefore = ::umask(022);
        QFile log(dir.filePath("state/sim/requests.log")), link(dir.filePath("link.log"));
        QVERIFY(SimServer::openPrivateFile(log, QIODevice::WriteOnly | QIODevice::Append));
        QFile accounts(dir.filePath("accounts.json"));
        QVERIFY(accounts.open(QIODevice::WriteOnly) &&
                accounts.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        service.server().setStateFile(accounts.fileName());
        service.server().saveState();
        QFile::link(dir.filePath("elsewhere"), link.fileName());
        QVERIFY(!SimServer::openPrivateFile(link, QIODevice::WriteOnly));
        ::umask(umaskBefore);
        QCOMPARE(
            QList<unsigned>({mode("state"), mode("state/sim"), mode("state/sim/requests.log"), mode("accounts.json")}),
            QList<unsigned>({0700, 0700, 0600, 0600}));
        QVERIFY(QFile(accounts.fileName()).size() > 0 && !QFile::exists(dir.filePath("elsewhere")));
    }
};

QTEST_GUILESS_MAIN(ReportPagesTest)
#include "tst_reportpages.moc"
