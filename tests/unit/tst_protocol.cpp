#include "session/Protocol.h"
#include "session/Session.h"

#include <QtTest>

using namespace Protocol;

class ProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("LUMENPANE_API_BASE", "http://api.test");
        qputenv("LUMENPANE_REPORT_BASE", "http://reports.test/");
    }

    void escapeQuotes_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("plain") << "abc" << "abc";
        QTest::newRow("blanks around") << "  abc  " << "abc";
        QTest::newRow("blanks only") << "    " << "";
        QTest::newRow("one quote") << "O'Brien" << "O''Brien";
        QTest::newRow("every quote") << "'a''b'" << "''a''''b''";
        QTest::newRow("tabs are not blanks") << "\tx\t" << "\tx\t";
        QTest::newRow("inner blanks stay") << " a b " << "a b";
    }
    void escapeQuotes()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(EscapeQuotes(in), out);
    }

    void dates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("first of March 2008") << QDate(2008, 3, 1) << "3/1/2008";
        QTest::newRow("Christmas 2007") << QDate(2007, 12, 25) << "12/25/2007";
        QTest::newRow("leap day") << QDate(2008, 2, 29) << "2/29/2008";
        QTest::newRow("early year") << QDate(987, 7, 4) << "7/4/0987";
    }
    void dates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(DateText(date), text);
        QCOMPARE(ParseDateText(text), std::optional<QDate>(date));
    }

    void unreadableDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("30 February") << "2/30/2008";
        QTest::newRow("month 13") << "13/1/2008";
        QTest::newRow("day first") << "25/12/2007";
        QTest::newRow("empty") << "";
        QTest::newRow("two-digit year") << "3/1/08";
    }
    void unreadableDates()
    {
        QFETCH(QString, text);
        QVERIFY(!ParseDateText(text).has_value());
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        const QDate march1(2008, 3, 1), march7(2008, 3, 7), nov8(2007, 11, 8);
        QTest::newRow("listsites") << ListSitesAddress("a@b.com", "pw")
                                   << "http://api.test/v3/rsapi.asp?cmd=listsites&email=a@b.com&password=pw";
        QTest::newRow("listsites quote stays single")
            << ListSitesAddress("a@b.com", "it's") << "http://api.test/v3/rsapi.asp?cmd=listsites&email=a@b.com&password=it's";
        QTest::newRow("new account")
            << NewAccountAddress("Ann", "O''Neil", "ann@x.org", "p''w", "-4", "02139", "x.org")
            << "http://api.test/v3/rsapi.asp?cmd=newlumenpaneaccount&firstname=Ann&LastName=O''Neil&email=ann@x.org"
               "&Password=p''w&TimeZone=-4&ZipCode=02139&DomainName=x.org";
        QTest::newRow("activate") << ActivateAddress("QM7K2P9X") << "http://api.test/v3/rsapi.asp?cmd=activate&signupcode=QM7K2P9X";
        QTest::newRow("start page") << StartPageAddress("a@b.com", "pw")
                                    << "http://reports.test/lumenpane/default2.asp?autologin=true&email=a@b.com&password=pw";
        QTest::newRow("period") << PeriodAddress(march1, march7)
                                << "http://reports.test/lumenpane/default2.asp?FDate=3/1/2008&Ldate=3/7/2008";
        QTest::newRow("custom range") << CustomRangeAddress(march1, march7)
                                      << "http://reports.test/lumenpane/default2.asp?FDate=3/1/2008&LDate=3/7/2008";
        QTest::newRow("site") << SiteAddress(nov8, nov8, 1234)
                              << "http://reports.test/lumenpane/default2.asp?FDate=11/8/2007&Ldate=11/8/2007&chSiteID=1234";
        QTest::newRow("help") << HelpAddress() << "http://reports.test/lumenpane/help.asp";
        QTest::newRow("settings") << SettingsAddress() << "http://reports.test/lumenpane/settings.asp";
        QTest::newRow("update check") << UpdateCheckAddress(40) << "http://reports.test/lumenpane/checkversion.asp?build=40";
    }
    void addresses()
    {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        QCOMPARE(address, expected);
    }

    // Characters that would end or change a query value are encoded; everything else stands as typed.
    void queryValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("ordinary") << "user@example.com" << "user@example.com";
        QTest::newRow("ampersand") << "a&b" << "a%26b";
        QTest::newRow("equals") << "a=b" << "a%3Db";
        QTest::newRow("hash") << "a#b" << "a%23b";
        QTest::newRow("percent") << "100%" << "100%25";
        QTest::newRow("plus") << "a+b" << "a%2Bb";
        QTest::newRow("blank") << "a b" << "a%20b";
        QTest::newRow("non-ASCII as UTF-8") << QString::fromUtf8("p\xc3\xa4ss") << "p%C3%A4ss";
        QTest::newRow("kept as typed") << "'/@:?!$*(),;~" << "'/@:?!$*(),;~";
    }
    void queryValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, encoded);
        QCOMPARE(QueryValue(value), encoded);
    }

    void passwordWithAmpersandStaysOneValue()
    {
        QCOMPARE(ListSitesAddress("a@b.com", "x&cmd=activate"),
                 QString("http://api.test/v3/rsapi.asp?cmd=listsites&email=a@b.com&password=x%26cmd%3Dactivate"));
    }

    void buildNumberComesFromTheVersion() { QCOMPARE(Session::BuildNumber, 40); }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "tst_protocol.moc"
