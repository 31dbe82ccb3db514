// What the client writes and reads: addresses and their values, the sign-up values and rules, the codec that holds
// the entries, the messages between lumenpane and its viewer as they cross the pipe, the mouse codes of a
// notification area; the report periods, the quick picks and the periods compared, and the service's answers.
#include "client/TrayMouse.h"
#include "platform/XmlDocument.h"
#include "session/Base64.h"
#include "session/HandOver.h"
#include "session/Protocol.h"
#include "session/ReportPeriod.h"
#include "session/ServiceResponse.h"
#include "session/SignUpForm.h"

#include <QtTest>

using namespace Protocol;
using namespace ReportPeriod;
using namespace HandOver;
using namespace TrayMouse;

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
QByteArray lineOfLength(qsizetype length) // an Open message's, without its end
{
    Message m{Kind::Open, {}};
    m.session.startUrl = QString(length - (encode(m).size() - 1), 'x');
    return encode(m);
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
        QTest::newRow("quotes: each doubled, blanks trimmed") << EscapeQuotes("  'a ''b'  ") << "''a ''''b''";
        QTest::newRow("date read: leap day, zeros") << read("02/29/2008") << "2/29/2008";
        QTest::newRow("query: kept as typed") << QueryValue("u@x.com'/:?!$*(),;~") << "u@x.com'/:?!$*(),;~";
        QTest::newRow("listsites, quote single, & encoded")
            << ListSitesAddress("a@b.com", "it's&cmd=x")
            << "http://api.test/v3/rsapi.asp?cmd=listsites&email=a@b.com&password=it's%26cmd%3Dx";
        QTest::newRow("start page, the base's trailing slash dropped")
            << StartPageAddress("a@b.com", "it's&x")
            << "http://reports.test/lumenpane/default2.asp?autologin=true&email=a@b.com&password=it's%26x";
        // The rules' lines for a valid form with one entry changed, or for a form that breaks every rule.
        const auto rules = [](int i, const QString& value) {
            QStringList f =
                QString("Ada|Lovelace| Demo@Example.com |engine1|engine1|02139|GMT -4|example.com").split('|');
            if (i >= 0)
                f[i] = value;
            return SignUpForm::ruleErrors(normalised(i < 0 ? value : f.join('|')));
        };
        // The codec that holds the entries: encoding leaves out the pad; decoding is positional, every character
        // takes its place in a group of four, "=" and line breaks too. Round trips: fuzz/base64.
        const auto encoded = [](const QByteArray& bytes) {
            return Base64::encodeBytes(bytes, Base64::StandardAlphabet);
        };
        const auto decoded = [](const QString& text) {
            return QString(Base64::decodeBytes(text, Base64::StandardAlphabet).toHex());
        };
        QTest::newRow("codec: no pad") << encoded("a") + "," + encoded("abc") + "," + encoded("\xfb\xff")
                                       << "YQ,YWJj,+/8";
        QTest::newRow("codec read") << decoded("YQ") + "," + decoded("YWJj") + "," + decoded("+/8") + "," +
                                           decoded("YQ==")
                                    << "61,616263,fbff,61";
        QTest::newRow("codec read: pad first, d1 = -1 enters the sum") << decoded("=WJj") << "fd6263";
        QTest::newRow("codec read: pad second, first byte left out") << decoded("Y=Jj") << "f263";
        QTest::newRow("codec read: pad third") << decoded("YW=j") << "61e3";
        QTest::newRow("codec read: line break not skipped, (Y, W, LF, J) then (j)") << decoded("YW\nJj") << "61c9";
        const auto lines = [](const QStringList& errors) { return errors.join("\r\n") + "\r\n"; };
        QTest::newRow("rules: domain WWW. only") << rules(7, " WWW. ") << lines({kDomain, kRequired});
        QTest::newRow("rules: e-mail without @") << rules(2, "ada.example.com") << lines({kEmail});
        QTest::newRow("rules: e-mail with tab") << rules(2, "ada@exa\tmple.com") << lines({kEmail});
        QTest::newRow("rules: every one") << rules(-1, "|Lovelace|ada at example|one|two|1|GMT|example.com/x")
                                          << lines({kDomain, kZone, kEmail, kRequired, kMismatch});
        // Lines that are no message are dropped, an over-long one too, and the next message still arrives.
        const auto piped = [](const QByteArray& line) {
            const QByteArray stream = line + encode({Kind::Shown, {}});
            LineReader reader;
            QStringList got;
            for (qsizetype at = 0; at < stream.size(); at += 100000)
                for (const Message& m : reader.feed(stream.mid(at, 100000)))
                    got << (m == decode(line) ? "the line" : m == Message{Kind::Shown, {}} ? "shown" : "other");
            return got.join(',');
        };
        QTest::newRow("pipe: not JSON") << piped("{\"do\":\"show\"\n") << "shown";
        QTest::newRow("pipe: unknown kind") << piped("{\"do\":\"Show\"}\n") << "shown";
        QTest::newRow("pipe: at the limit") << piped(lineOfLength(LineReader::MaxLineBytes)) << "the line,shown";
        QTest::newRow("pipe: over the limit") << piped(lineOfLength(LineReader::MaxLineBytes + 1)) << "shown";
        // What the tray icon does with the mouse codes a notification area reports; Qt's activation reasons stand
        // for the codes it would have sent.
        const auto tray = [](const QList<int>& codes) {
            Decoder decoder;
            QStringList actions;
            for (int code : codes)
                actions << QStringList{"-", "restore", "menu"}[int(decoder.feed(code))];
            return actions.join(',');
        };
        using enum QSystemTrayIcon::ActivationReason;
        QTest::newRow("tray: a movement in between") << tray({516, 512, 517}) << "-,-,-";
        QTest::newRow("tray: context, twice") << tray(codesFor(Context) + codesFor(Context)) << "-,menu,-,menu";
        QTest::newRow("tray: click, middle click") << tray(codesFor(Trigger) + codesFor(MiddleClick)) << "-,-,-,-";
        QTest::newRow("tray: double click") << tray(codesFor(DoubleClick)) << "restore,-";
        // The date selector's quick picks on days where the calendar turns (Last 7 Days, Last 30 Days, Month to Date,
        // Year to Date, Last Year), and the period that each kind of range is compared with.
        const auto text = [](const Range& r) { return DateText(r.from) + "-" + DateText(r.to); };
        const auto picks = [&](const QDate& today) {
            QStringList got;
            for (Pick pick : {Pick::Last7Days, Pick::Last30Days, Pick::MonthToDate, Pick::YearToDate, Pick::LastYear})
                got << text(forPick(pick, today));
            return got.join(", ");
        };
        const auto before = [&](const QString& from, const QString& to) {
            return text(previous({*ParseDateText(from), *ParseDateText(to)}));
        };
        QTest::newRow("picks: first of a month") << picks({2008, 3, 1})
                                                 << "2/24/2008-3/1/2008, 2/1/2008-3/1/2008, 3/1/2008-3/1/2008, "
                                                    "1/1/2008-3/1/2008, 1/1/2007-12/31/2007";
        QTest::newRow("picks: first of January") << picks({2008, 1, 1})
                                                 << "12/26/2007-1/1/2008, 12/3/2007-1/1/2008, 1/1/2008-1/1/2008, "
                                                    "1/1/2008-1/1/2008, 1/1/2007-12/31/2007";
        QTest::newRow("picks: leap day") << picks({2008, 2, 29})
                                         << "2/23/2008-2/29/2008, 1/31/2008-2/29/2008, 2/1/2008-2/29/2008, "
                                            "1/1/2008-2/29/2008, 1/1/2007-12/31/2007";
        QTest::newRow("picks: a Sunday") << picks({2007, 11, 4})
                                         << "10/29/2007-11/4/2007, 10/6/2007-11/4/2007, 11/1/2007-11/4/2007, "
                                            "1/1/2007-11/4/2007, 1/1/2006-12/31/2006";
        QTest::newRow("previous: Sunday to Saturday") << before("10/28/2007", "11/3/2007") << "10/21/2007-10/27/2007";
        QTest::newRow("previous: to a month's end") << before("10/15/2007", "10/31/2007") << "9/28/2007-10/14/2007";
        QTest::newRow("previous: March, a leap February") << before("3/1/2008", "3/31/2008") << "2/1/2008-2/29/2008";
        QTest::newRow("previous: a year") << before("1/1/2007", "12/31/2007") << "1/1/2006-12/31/2006";
    }
    void written()
    {
        QFETCH(QString, written);
        QFETCH(QString, expected);
        QCOMPARE(written, expected);
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

    // What neither the document tree comparison (fuzz/answer) nor the hostile answers (tst_hostile) pin down: the
    // id read through blanks, the message as sent, rows only the document element's own, their id anywhere inside.
    void answerAsSent()
    {
        XmlDocument checked; // as the client reads an answer: checked, then read
        checked.parse("<r><ERRORID> -44 </ERRORID><ERRMSG> two  blanks &amp; <b>more</b></ERRMSG><ROW><SITEID>11"
                      "</SITEID></ROW><w><ROW><SITEID>99</SITEID></ROW></w><ROW><x><SITEID>15</SITEID></x></ROW></r>");
        const ServiceResponse r(checked.document());
        QVERIFY(!r.succeeded() && r.errorId() == -44 && r.errorMessage() == " two  blanks & more");
        QCOMPARE(r.rows().size(), 2);
        QVERIFY(r.rows()[0].siteId == 11 && r.rows()[1].siteId == 15 && !r.rows()[1].name);
    }

    // Every kind with what it carries, the session as a user may type it, activation tokens with it or without:
    // wherever the stream is cut, every message arrives once, whole and in order.
    void everyKindArrivesWhereverTheStreamIsCut()
    {
        const QString typed = QString::fromUtf8("\"q\"\\ &amp;\n\r\t</x> p\xc3\xa4ss \xe5\xaf\x86 \xf0\x9f\x94\x91");
        const SessionInfo s{"http://r/?a=\"1\"&b", "o'neil&co@x.com", typed, "old\nlogin", "",
                            {2008, 2, 29},         {2008, 3, 1}};
        const SessionInfo period{{}, {}, {}, {}, {}, s.from, s.to};
        const ActivationToken token{typed, "launcher-1_TIME4026531839"};
        const QList<Message> sent = {{Kind::Open, s, true}, {Kind::Open, s, false, token},
                                     {Kind::Show, {}},      {Kind::Show, {}, false, token},
                                     {Kind::Quit, {}},      {Kind::Ready, {}},
                                     {Kind::Shown, {}},     {Kind::Period, period},
                                     {Kind::Exit, {}},      {Kind::MainClosed, {}}};
        QByteArray stream;
        for (const Message& m : sent)
            stream += encode(m);
        for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
            LineReader reader;
            QList<Message> got = reader.feed(stream.left(cut));
            got += reader.feed(stream.mid(cut));
            QCOMPARE(got, sent);
        }
    }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "tst_protocol.moc"
