// The simulator's report pages, fetched over HTTP with a cookie jar as the browser would.
#include "TestSupport.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

static const QString kSignIn = "default2.asp?autologin=true&email=", kDemo = "demo@example.com&password=demo123";

class ReportPagesTest : public QObject {
    Q_OBJECT
    LocalService service;
    QNetworkAccessManager browser;

    // What a page shows: "heading | period | visits".
    QString get(const QString& pathAndQuery)
    {
        std::unique_ptr<QNetworkReply> reply(
            browser.get(QNetworkRequest(QUrl(service.base() + "/lumenpane/" + pathAndQuery))));
        if (!reply->isFinished())
            QSignalSpy(reply.get(), &QNetworkReply::finished).wait(20000);
        const QString html = QString::fromUtf8(reply->readAll());
        QStringList shown;
        for (const char* pattern : {"<h1>(.*)</h1>", "class=\"period\">([^<]*)<", "id=\"visits\">([^<]*)<"})
            shown << QRegularExpression(pattern).match(html).captured(1);
        return shown.join(" | ");
    }
    QList<QNetworkCookie> cookies() { return browser.cookieJar()->cookiesForUrl(QUrl(service.base() + "/lumenpane/")); }

private slots:
    void init() { browser.setCookieJar(new QNetworkCookieJar); }

    // Without a session the pages ask to sign in, and a wrong or inactive account gets none.
    void pagesNeedASession_data()
    {
        QTest::addColumn<QString>("page");
        QTest::newRow("report") << "default2.asp?FDate=3/1/2008&Ldate=3/7/2008";
        QTest::newRow("export") << "export.asp?FDate=3/1/2008&LDate=3/7/2008";
        QTest::newRow("wrong password") << kSignIn + "demo@example.com&password=x";
        QTest::newRow("not activated") << kSignIn + "pending@example.com&password=pending123";
    }
    void pagesNeedASession()
    {
        QFETCH(QString, page);
        QVERIFY(get(page).startsWith("Sign-in required | ") && cookies().isEmpty());
    }

    // Signing in opens the first site for today; the period stays with the session, a site switch keeps it,
    // the custom range's "LDate" counts as well as "Ldate", and the figures are fixed per site and day.
    void periodsAndSitesFollowTheSession()
    {
        const QString today = QDate::currentDate().toString("M/d/yyyy");
        QVERIFY(get(kSignIn + kDemo).startsWith("example.com | " + today + " to " + today + " (1 day) | "));
        QVERIFY(cookies().size() == 1 && cookies()[0].name() == "QMSESSION" && cookies()[0].isHttpOnly());
        const QString march = get("default2.asp?FDate=3/1/2008&Ldate=3/7/2008");
        QVERIFY(march.startsWith("example.com | 3/1/2008 to 3/7/2008 (7 days) | "));
        const QString shop = get("default2.asp?chSiteID=12");
        QVERIFY(shop.startsWith("shop.example.com | 3/1/2008 to 3/7/2008 (7 days) | ") &&
                shop.section(" | ", 2) != march.section(" | ", 2));
        QVERIFY(get("default2.asp?FDate=2/1/2008&LDate=2/29/2008").contains("2/1/2008 to 2/29/2008 (29 days)"));
        browser.setCookieJar(new QNetworkCookieJar); // a new session
        get(kSignIn + kDemo);
        QCOMPARE(get("default2.asp?FDate=3/1/2008&Ldate=3/7/2008"), march);
        QVERIFY(march.section(" | ", 2).remove(',').toInt() > 0);
    }

    // The request log and the accounts file hold passwords: their owner alone reads them, in folders of their own,
    // whatever the umask, and a link put in their place is not followed.
    void filesWithPasswordsArePrivate()
    {
        QTemporaryDir dir;
        const auto mode = [](const QString& path) {
            struct stat status {};
            return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
        };
        const mode_t umaskBefore = ::umask(022);
        const QString logPath = dir.filePath("state/sim/requests.log");
        QFile log(logPath);
        QVERIFY(SimServer::openPrivateFile(log, QIODevice::WriteOnly | QIODevice::Append));
        log.close();
        QFile accounts(dir.filePath("accounts.json"));
        QVERIFY(accounts.open(QIODevice::WriteOnly) &&
                accounts.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        accounts.close();
        service.server().setStateFile(accounts.fileName());
        service.server().saveState();
        QFile::link(dir.filePath("elsewhere"), dir.filePath("link.log"));
        QFile link(dir.filePath("link.log"));
        QVERIFY(!SimServer::openPrivateFile(link, QIODevice::WriteOnly));
        ::umask(umaskBefore);
        QCOMPARE(QList<int>({mode(dir.filePath("state")), mode(dir.filePath("state/sim")), mode(logPath),
                             mode(accounts.fileName())}),
                 QList<int>({0700, 0700, 0600, 0600}));
        QVERIFY(QFile(accounts.fileName()).size() > 0 && !QFile::exists(dir.filePath("elsewhere")));
    }
};

QTEST_GUILESS_MAIN(ReportPagesTest)
#include "tst_reportpages.moc"
