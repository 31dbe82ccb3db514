#include "session/Protocol.h"

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

    // Everything the client writes on the wire, exactly.
    void written_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("expected");
        const QString api = "http://api.test/v3/rsapi.asp?cmd=", reports = "http://reports.test/lumenpane/";
        const QDate march1(2008, 3, 1), march7(2008, 3, 7), nov8(2007, 11, 8);
        const auto read = [](const QString& text) {
            return ParseDateText(text) ? DateText(*ParseDateText(text)) : "none";
        };
        QTest::newRow("quotes: blanks only") << EscapeQuotes("    ") << "";
        QTest::newRow("quotes: each doubled, blanks trimmed") << EscapeQuotes("  'a ''b'  ") << "''a ''''b''";
        QTest::newRow("quotes: tabs are not blanks") << EscapeQuotes("\tx\t") << "\tx\t";
        QTest::newRow("date: two-digit month and day") << DateText(QDate(2007, 12, 25)) << "12/25/2007";
        QTest::newRow("date read: leap day, zeros") << read("02/29/2008") << "2/29/2008";
        QTest::newRow("date read: 30 February") << read("2/30/2008") << "none";
        QTest::newRow("date read: day first") << read("25/12/2007") << "none";
        QTest::newRow("date read: two-digit year") << read("3/1/08") << "none";
        QTest::newRow("query: reserved") << QueryValue("a&b=c#d%e+f g") << "a%26b%3Dc%23d%25e%2Bf%20g";
        QTest::newRow("query: non-ASCII as UTF-8") << QueryValue(QString::fromUtf8("p\xc3\xa4ss")) << "p%C3%A4ss";
        QTest::newRow("query: kept as typed") << QueryValue("u@x.com'/:?!$*(),;~") << "u@x.com'/:?!$*(),;~";
        QTest::newRow("listsites, quote single, & encoded")
            << ListSitesAddress("a@b.com", "it's&cmd=x") << api + "listsites&email=a@b.com&password=it's%26cmd%3Dx";
        QTest::newRow("new account")
            << NewAccountAddress("Ann", "O''Neil", "ann@x.org", "p''w", "-4", "02139", "x.org")
            << api + "newlumenpaneaccount&firstname=Ann&LastName=O''Neil&email=ann@x.org&Password=p''w&TimeZone=-4"
                     "&ZipCode=02139&DomainName=x.org";
        QTest::newRow("activate") << ActivateAddress("QM7K2P9X") << api + "activate&signupcode=QM7K2P9X";
        QTest::newRow("start page") << StartPageAddress("a@b.com", "it's&x")
                                    << reports + "default2.asp?autologin=true&email=a@b.com&password=it's%26x";
        QTest::newRow("period") << PeriodAddress(march1, march7)
                                << reports + "default2.asp?FDate=3/1/2008&Ldate=3/7/2008";
        QTest::newRow("custom range") << CustomRangeAddress(march1, march7)
                                      << reports + "default2.asp?FDate=3/1/2008&LDate=3/7/2008";
        QTest::newRow("site") << SiteAddress(nov8, nov8, 1234)
                              << reports + "default2.asp?FDate=11/8/2007&Ldate=11/8/2007&chSiteID=1234";
        QTest::newRow("help, settings, update check")
            << HelpAddress() + " " + SettingsAddress() + " " + UpdateCheckAddress(40)
            << reports + "help.asp " + reports + "settings.asp " + reports + "checkversion.asp?build=40";
    }
    void written()
    {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QCOMPARE(written, expected);
    }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "tst_protocol.moc"
