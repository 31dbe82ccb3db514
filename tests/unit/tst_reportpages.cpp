// The simulator's report pages, fetched over HTTP with a cookie jar as the browser would.
#include "TestSupport.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

class ReportPagesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;
    std::unique_ptr<QNetworkAccessManager> browser;

    QString get(const QString& pathAndQuery)
    {
        std::unique_ptr<QNetworkReply> reply(
            browser->get(QNetworkRequest(QUrl(service->base() + "/lumenpane/" + pathAndQuery))));
        QSignalSpy done(reply.get(), &QNetworkReply::finished);
        if (!reply->isFinished() && !done.wait(20000))
            qWarning("no answer");
        return QString::fromUtf8(reply->readAll());
    }
    QString signIn()
    {
        browser->setCookieJar(new QNetworkCookieJar);
        return get("default2.asp?autologin=true&email=demo@example.com&password=demo123");
    }
    QList<QNetworkCookie> cookies() const
    {
        return browser->cookieJar()->cookiesForUrl(QUrl(service->base() + "/lumenpane/"));
    }
    static QString heading(const QString& html) { return QRegularExpression("<h1>(.*)</h1>").match(html).captured(1); }
    static QString visits(const QString& html)
    {
        return QRegularExpression("id=\"visits\">([^<]*)<").match(html).captured(1);
    }

private slots:
    void init()
    {
        service = std::make_unique<LocalService>();
        browser = std::make_unique<QNetworkAccessManager>();
        browser->setCookieJar(new QNetworkCookieJar);
    }
    void cleanup()
    {
        browser.reset();
        service.reset();
    }

    // Without a session the pages ask to sign in, and a wrong or inactive account gets none.
    void pagesNeedASession_data()
    {
        QTest::addColumn<QString>("page");
        const QString login = "default2.asp?autologin=true&email=";
        QTest::newRow("report") << QString("default2.asp?FDate=3/1/2008&Ldate=3/7/2008");
        QTest::newRow("export") << QString("export.asp?FDate=3/1/2008&LDate=3/7/2008");
        QTest::newRow("wrong password") << login + "demo@example.com&password=x";
        QTest::newRow("not activated") << login + "pending@example.com&password=pending123";
    }
    void pagesNeedASession()
    {
        QFETCH(QString, page);
        QCOMPARE(heading(get(page)), QString("Sign-in required"));
        QVERIFY(cookies().isEmpty());
    }

    // Signing in opens the first site for today in a session; the period stays with the session, a site
    // switch keeps it, and the custom range's "LDate" counts as well as "Ldate".
    void periodsAndSitesFollowTheSession()
    {
        const QString today = QDate::currentDate().toString("M/d/yyyy");
        QString p = signIn();
        QVERIFY(cookies().size() == 1 && cookies()[0].name() == "QMSESSION" && cookies()[0].isHttpOnly());
        QVERIFY(heading(p) == "example.com" && p.contains(today + " to " + today + " (1 day)"));
        QVERIFY(p.contains("<svg") && !p.contains("src=\"http")); // a chart without outside assets
        const QString firstSite = visits(get("default2.asp?FDate=3/1/2008&Ldate=3/7/2008"));
        p = get("default2.asp?chSiteID=12");
        QVERIFY(heading(p) == "shop.example.com" && p.contains("3/1/2008 to 3/7/2008 (7 days)"));
        QVERIFY(visits(p) != firstSite);
        QVERIFY(get("default2.asp?FDate=2/1/2008&LDate=2/29/2008").contains("2/1/2008 to 2/29/2008 (29 days)"));
    }

    // The same site and days give the same figures in every session; other days give others.
    void figuresAreFixedPerSiteAndDay()
    {
        signIn();
        const QString first = visits(get("default2.asp?FDate=11/1/2007&Ldate=11/30/2007"));
        signIn();
        QCOMPARE(visits(get("default2.asp?FDate=11/1/2007&Ldate=11/30/2007")), first);
        QVERIFY(QString(first).remove(',').toInt() > 0);
        QVERIFY(visits(get("default2.asp?FDate=12/1/2007&Ldate=12/31/2007")) != first);
    }
};

QTEST_GUILESS_MAIN(ReportPagesTest)
#include "tst_reportpages.moc"
