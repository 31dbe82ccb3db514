// What the client writes: addresses and their values, the sign-up values and rules, the codec that holds the
// entries, the report periods.
#include "session/Base64.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"
#include "session/SignUpForm.h"

#include <QtTest>

using namespace Protocol;
using namespace ReportPeriod;

namespace {
const QString kDomain =
    "Invalid Domain name (must be in the form of 'example.com' with no slashes or other characters)";
const QString kZone = "Invalid Time Zone", kEmail = "Invalid E-Mail Address", kRequired = "All fields are required",
              kMismatch = "Passwords do not match";

SignUpValues normalised(const QString& line) // "first|last|e-mail|password|verify|zip|zone|domain"
{
    const QStringList f = line.split('|');
    return SignUpForm::normalise({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
}
} // namespace

class ProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void written_data()
    {
        qputenv("LUMENPANE_API_BASE", "http://api.test");
        qputenv("LUMENPANE_REPORT_BASE", "http://reports.test/");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("expected");
        const auto read = [](const QString& text) {
            return ParseDateText(text) ? DateText(*ParseDateText(text)) : "none";
        };
        const auto values = [](const QString& typed) {
            const SignUpValues v = normalised(typed);
            return QStringList({v.firstName, v.lastName, v.email, v.password, v.verifyPassword, v.zipCode, v.timeZone,
                                v.domain})
                .join('|');
        };
        QTest::newRow("quotes: each doubled, blanks trimmed") << EscapeQuotes("  'a ''b'  ") << "''a ''''b''";
        QTest::newRow("date: two-digit month and day") << DateText(QDate(2007, 12, 25)) << "12/25/2007";
        QTest::newRow("date read: leap day, zeros") << read("02/29/2008") << "2/29/2008";
        QTest::newRow("date read: 30 February") << read("2/30/2008") << "none";
        QTest::newRow("query: reserved") << QueryValue("a&b=c#d%e+f g") << "a%26b%3Dc%23d%25e%2Bf%20g";
        QTest::newRow("query: non-ASCII as UTF-8") << QueryValue(QString::fromUtf8("p\xc3\xa4ss")) << "p%C3%A4ss";
        QTest::newRow("query: kept as typed") << QueryValue("u@x.com'/:?!$*(),;~") << "u@x.com'/:?!$*(),;~";
        QTest::newRow("listsites, quote single, & encoded")
            << ListSitesAddress("a@b.com", "it's&cmd=x")
            << "http://api.test/v3/rsapi.asp?cmd=listsites&email=a@b.com&password=it's%26cmd%3Dx";
        QTest::newRow("start page, the base's trailing slash dropped")
            << StartPageAddress("a@b.com", "it's&x")
            << "http://reports.test/lumenpane/default2.asp?autologin=true&email=a@b.com&password=it's%26x";
        QTest::newRow("sign-up: quotes doubled, e-mail lower, www. removed once")
            << values(" O'Neil |D'Arcy| Pat.O'Brien@Example.COM | it's |it's| 02139 |GMT -4| WWW.www.Example.com ")
            << "O''Neil|D''Arcy|pat.o''brien@example.com|it''s|it''s|02139|-4|www.example.com";
        QTest::newRow("sign-up: names keep case, GMT +13, www. inside stays")
            << values("ZoË|ŁUKASZ|a@b.c|p|p|z|GMT +13|a.www.b") << "ZoË|ŁUKASZ|a@b.c|p|p|z|13|a.www.b";
        const QStringList zones = SignUpForm::timeZoneEntries();
        QTest::newRow("time zones") << (zones.mid(0, 1) + zones.mid(11, 3) + zones.mid(25)).join('|')
                                    << "GMT -12|GMT -1|GMT +0|GMT +1|GMT +13";
        // The rules' lines for a valid form with one entry changed, or for a form that breaks every rule.
        const auto rules = [](int i, const QString& value) {
            QStringList f =
                QString("Ada|Lovelace| Demo@Example.com |engine1|engine1|02139|GMT -4|example.com").split('|');
            if (i >= 0)
                f[i] = value;
            return SignUpForm::ruleErrors(normalised(i < 0 ? value : f.join('|')));
        };
        const auto lines = [](const QStringList& errors) { return errors.join("\r\n") + "\r\n"; };
        QTest::newRow("rules: domain WWW. only") << rules(7, " WWW. ") << lines({kDomain, kRequired});
        QTest::newRow("rules: e-mail without @") << rules(2, "ada.example.com") << lines({kEmail});
        QTest::newRow("rules: e-mail with tab") << rules(2, "ada@exa\tmple.com") << lines({kEmail});
        QTest::newRow("rules: passwords differ in case") << rules(4, "Engine1") << lines({kMismatch});
        QTest::newRow("rules: every one") << rules(-1, "|Lovelace|ada at example|one|two|1|GMT|example.com/x")
                                          << lines({kDomain, kZone, kEmail, kRequired, kMismatch});
    }
    void written()
    {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QCOMPARE(written, expected);
    }

    // Encoding leaves out the pad; decoding is positional, every character takes its place in a group of four,
    // "=" and line breaks too. Round trips: fuzz/base64.
    void codec_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QByteArray>("decoded");
        QTest::addColumn<bool>("encodes"); // also what encoding the bytes gives
        QTest::newRow("YQ") << "YQ" << QByteArray("a") << true;
        QTest::newRow("YWJj") << "YWJj" << QByteArray("abc") << true;
        QTest::newRow("last two letters") << "+/8" << QByteArray("\xfb\xff") << true;
        QTest::newRow("YQ==") << "YQ==" << QByteArray("a") << false;
        QTest::newRow("pad first: d1 = -1 enters the sum") << "=WJj" << QByteArray("\xfd\x62\x63") << false;
        QTest::newRow("pad second: first byte left out") << "Y=Jj" << QByteArray("\xf2\x63") << false;
        QTest::newRow("pad third") << "YW=j" << QByteArray("a\xe3") << false;
        QTest::newRow("line break not skipped: (Y, W, LF, J) then (j)") << "YW\nJj" << QByteArray("a\xc9") << false;
    }
    void codec()
    {
        QFETCH(QString, encoded);
        QFETCH(QByteArray, decoded);
        QFETCH(bool, encodes);
        QCOMPARE(Base64::decodeBytes(encoded, Base64::StandardAlphabet), decoded);
        if (encodes)
            QCOMPARE(Base64::encodeBytes(decoded, Base64::StandardAlphabet), encoded);
    }

    // On every day of a few years: today and yesterday are single days; weeks run from a Sunday (this one to the
    // next Sunday, as the service has always been asked) and follow each other; months are whole; Specify and
    // unknown items have none.
    void periodsOnEveryDay()
    {
        QStringList broken;
        for (QDate d(2007, 1, 1); d <= QDate(2009, 12, 31); d = d.addDays(1)) {
            const Range week = *forIndex(ThisWeek, d), lastWeek = *forIndex(LastWeek, d);
            const Range month = *forIndex(ThisMonth, d), lastMonth = *forIndex(LastMonth, d);
            if (forIndex(Today, d) != Range{d, d} || forIndex(Yesterday, d) != Range{d.addDays(-1), d.addDays(-1)} ||
                week.from.dayOfWeek() != 7 || week.from > d || d >= week.to || week.from.daysTo(week.to) != 7 ||
                lastWeek.from.daysTo(lastWeek.to) != 6 || lastWeek.to.addDays(1) != week.from ||
                month.from != QDate(d.year(), d.month(), 1) || month.to.addDays(1) != month.from.addMonths(1) ||
                lastMonth.to.addDays(1) != month.from || lastMonth.from != month.from.addMonths(-1) ||
                forIndex(Specify, d) || forIndex(7, d))
                broken << d.toString(Qt::ISODate);
        }
        QCOMPARE(broken, QStringList());
    }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "tst_protocol.moc"
