// The simulator's report pages, fetched over HTTP with a cookie jar as the browser would.
#include "TestSupport.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

class ReportPagesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalService> service;
    std::unique_ptr<QNetworkAccessManager> browser;

    struct Page {
        int status = 0;
        QByteArray body;
        QByteArray disposition;
        QByteArray setCookie;
    };
    Page get(const QString& pathAndQuery) {
        QNetworkReply* reply = browser->get(QNetworkRequest(QUrl(service->base() + "/lumenpane/" + pathAndQuery)));
        QSignalSpy done(reply, &QNetworkReply::finished);
        if (!reply->isFinished() && !done.wait(20000))
            qWarning("no answer");
        Page page{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                  reply->rawHeader("Content-Disposition"), reply->rawHeader("Set-Cookie")};
        reply->deleteLater();
        return page;
    }
    Page signIn() { return get("default2.asp?autologin=true&email=demo@example.com&password=demo123"); }
    static QString text(const QByteArray& html, const QString& id) {
        const auto m = QRegularExpression("id=\"" + id + "\">([^<]*)<").match(QString::fromUtf8(html));
        return m.captured(1);
    }
    static QString heading(const QByteArray& html) {
        return QRegularExpression("<h1>([^<]*)</h1>").match(QString::fromUtf8(html)).captured(1);
    }

private slots:
    void init() {
        service = std::make_unique<LocalService>();
        browser = std::make_unique<QNetworkAccessManager>();
        browser->setCookieJar(new QNetworkCookieJar);
    }
    void cleanup() {
        browser.reset();
        service.reset();
    }

    void pagesNeedASession_data() {
        QTest::addColumn<QString>("page");
        QTest::newRow("report") << "default2.asp?FDate=3/1/2008&Ldate=3/7/2008";
        QTest::newRow("site") << "default2.asp?FDate=3/1/2008&Ldate=3/7/2008&chSiteID=12";
        QTest::newRow("settings") << "settings.asp";
        QTest::newRow("export") << "export.asp?FDate=3/1/2008&LDate=3/7/2008";
        QTest::newRow("wrong password") << "default2.asp?autologin=true&email=demo@example.com&password=nope";
        QTest::newRow("not activated") << "default2.asp?autologin=true&email=pending@example.com&password=pending123";
    }
    void pagesNeedASession() {
        QFETCH(QString, page);
        const Page p = get(page);
        QCOMPARE(p.status, 200);
        QCOMPARE(heading(p.body), QString("Sign-in required"));
        QVERIFY(p.setCookie.isEmpty());
        QVERIFY(p.disposition.isEmpty());
    }

    void signInOpensTheFirstSiteForToday() {
        const Page p = signIn();
        QVERIFY(p.setCookie.startsWith("QMSESSION="));
        QVERIFY(p.setCookie.contains("HttpOnly"));
        QCOMPARE(heading(p.body), QString("example.com"));
        const QString today = QDate::currentDate().toString("M/d/yyyy");
        QVERIFY(p.body.contains((today + " to " + today + " (1 day)").toUtf8()));
        QVERIFY(p.body.contains("<svg"));
        QVERIFY(!p.body.contains("src=\"http")); // no outside assets
    }

    // The period stays with the session until changed; a site switch keeps it.
    void periodsAndSitesFollowTheSession() {
        signIn();
        Page p = get("default2.asp?FDate=3/1/2008&Ldate=3/7/2008");
        QVERIFY(p.body.contains("3/1/2008 to 3/7/2008 (7 days)"));
        const QString visits = text(p.body, "visits");
        p = get("default2.asp?FDate=3/1/2008&Ldate=3/7/2008&chSiteID=12");
        QCOMPARE(heading(p.body), QString("shop.example.com"));
        QVERIFY(text(p.body, "visits") != visits);
        p = get("settings.asp");
        p = get("default2.asp");
        QCOMPARE(heading(p.body), QString("shop.example.com"));
        QVERIFY(p.body.contains("3/1/2008 to 3/7/2008"));
        // The custom range writes its last day "LDate".
        p = get("default2.asp?FDate=2/1/2008&LDate=2/29/2008");
        QVERIFY(p.body.contains("2/1/2008 to 2/29/2008 (29 days)"));
    }

    void unusableRequestsExplainThemselves_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("notice");
        QTest::newRow("not a date") << "FDate=13/1/2008&Ldate=3/7/2008"
                                    << "is not a valid pair of dates";
        QTest::newRow("reversed") << "FDate=3/7/2008&Ldate=3/1/2008"
                                  << "comes after the last day";
        QTest::newRow("foreign site") << "FDate=3/1/2008&Ldate=3/7/2008&chSiteID=21"
                                      << "Site 21 is not one of this account";
    }
    void unusableRequestsExplainThemselves() {
        QFETCH(QString, query);
        QFETCH(QString, notice);
        signIn();
        const Page p = get("default2.asp?" + query);
        QVERIFY2(p.body.contains(notice.toUtf8()), p.body.constData());
        QCOMPARE(heading(p.body), QString("example.com"));
    }

    // The same site and days give the same figures in every session and every run.
    void figuresAreFixedPerSiteAndDay() {
        signIn();
        const QByteArray first = get("default2.asp?FDate=11/1/2007&Ldate=11/30/2007").body;
        browser->setCookieJar(new QNetworkCookieJar);
        signIn();
        const QByteArray again = get("default2.asp?FDate=11/1/2007&Ldate=11/30/2007").body;
        QCOMPARE(text(again, "visits"), text(first, "visits"));
        QCOMPARE(text(again, "pageviews"), text(first, "pageviews"));
        QVERIFY(text(first, "visits").remove(',').toInt() > 0);
        const QByteArray otherMonth = get("default2.asp?FDate=12/1/2007&Ldate=12/31/2007").body;
        QVERIFY(text(otherMonth, "visits") != text(first, "visits"));
    }

    void exportOffersAFile() {
        signIn();
        const Page p = get("export.asp?FDate=3/1/2008&LDate=3/3/2008");
        QCOMPARE(p.disposition, QByteArray("attachment; filename=\"example.com-2008-03-01-to-2008-03-03.csv\""));
        const QList<QByteArray> lines = p.body.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1].left(11), QByteArray("2008-03-01,"));
    }

    void updateCheck_data() {
        QTest::addColumn<QString>("build");
        QTest::addColumn<QString>("says");
        QTest::newRow("current") << "40"
                                 << "Build 40 is the current build";
        QTest::newRow("older") << "39"
                               << "You have build 39; the current build is 40";
        QTest::newRow("newer") << "41"
                               << "Build 41 is newer than the current published build 40";
        QTest::newRow("no number") << "x"
                                   << "The request carried no build number";
    }
    void updateCheck() {
        QFETCH(QString, build);
        QFETCH(QString, says);
        QVERIFY(get("checkversion.asp?build=" + build).body.contains(says.toUtf8()));
    }

    void namesAreEscaped() {
        service->server().accounts()["demo@example.com"].sites.first().name = "<b>x</b>";
        QVERIFY(signIn().body.contains("&lt;b&gt;x&lt;/b&gt;"));
    }
};

QTEST_GUILESS_MAIN(ReportPagesTest)
#include "tst_reportpages.moc"
