// Account commands against a server that misbehaves on purpose: every answer is a failure or is read as the
// answer model says, the command returns within its time-out, and memory stays bounded.
#include "HostileServer.h"
#include "platform/XmlDocument.h"
#include "session/AccountCommand.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(HostileServer::Behaviour)

namespace {
constexpr int TimeoutMs = 3000;
// Reading the largest answer the cap lets through, on a slow machine, on top of the transfer's time-out.
constexpr int ReadingAllowanceMs = 10000;
constexpr qint64 MaxGrowthKiB = 64 * 1024;
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer keeps freed memory aside to catch later use of it: the figures are printed, not held to a bound.
constexpr bool MemoryMeasured = false;
#else
constexpr bool MemoryMeasured = true;
#endif

qint64 statusKiB(const QByteArray& key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Starts a new peak: the kernel sets the high-water mark back to what is resident now.
void resetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

QString shown(const std::optional<QString>& text)
{
    if (!text)
        return QStringLiteral("none");
    QString out;
    for (const QChar c : text->left(24))
        out += c.isPrint() && c != QLatin1Char('\\')
                   ? QString(c)
                   : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return text->size() > 24 ? out + QStringLiteral("...(%1)").arg(text->size()) : out;
}

// What a window could take from the outcome, in one line.
QString summary(const CommandOutcome& outcome)
{
    if (outcome.failed())
        return QStringLiteral("failure");
    const ServiceResponse& a = outcome.answer;
    const auto id = a.errorId();
    QStringList parts{outcome.succeeded() ? QStringLiteral("success") : QStringLiteral("refusal"),
                      "STATUS=" + shown(a.status()), "ERRMSG=" + shown(a.errorMessage()),
                      "ERRORID=" + (id ? QString::number(*id) : QStringLiteral("none")),
                      QStringLiteral("rows=%1").arg(a.rows().size())};
    for (qsizetype i = 0; i < a.rows().size(); i = i < 2 ? i + 1 : qMax(i + 1, a.rows().size() - 1)) {
        const ServiceResponse::Row& row = a.rows().at(i);
        parts << (row.siteId ? QString::number(*row.siteId) : QStringLiteral("none")) + ':' + shown(row.name);
    }
    return parts.join(QLatin1Char(' '));
}

HostileServer::Behaviour withFiller(HostileServer::Behaviour b, const QByteArray& filler, qint64 bytes,
                                    const QByteArray& tail = {})
{
    b.filler = filler;
    b.fillerBytes = bytes;
    b.tail = tail;
    return b;
}
} // namespace

class HostileAnswersTest : public QObject {
    Q_OBJECT
    std::unique_ptr<HostileServer> server;
    QString worst;
    qint64 worstPeakKiB = -1;

    QString address() const
    {
        return server->base() + QStringLiteral("/v3/rsapi.asp?cmd=listsites&email=a&password=b");
    }

private slots:
    void initTestCase()
    {
        XmlDocument::setTransferTimeoutMs(TimeoutMs);
        XmlDocument::setMaxAnswerBytes(16 * 1024 * 1024);
        // The network stack's one-time allocations happen here, not in the first case measured.
        server = std::make_unique<HostileServer>();
        server->setBehaviour(HostileServer::answer(200, "<r><STATUS>OK</STATUS></r>"));
        QVERIFY(runAccountCommand(address()).succeeded());
    }
    void cleanupTestCase()
    {
        qInfo("largest peak: resident memory +%lld KiB while reading \"%s\"", worstPeakKiB, qPrintable(worst));
    }
    void init() { server = std::make_unique<HostileServer>(); }

    void answers_data()
    {
        using S = HostileServer;
        QTest::addColumn<HostileServer::Behaviour>("behaviour");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("reason"); // found in the failure's detail
        const QByteArray ok = "<r><STATUS>OK</STATUS></r>";
        const QByteArray big(100 * 1024 * 1024, ' ');

        S::Behaviour silent;
        silent.silent = true;
        QTest::newRow("no answer") << silent << "failure"
                                   << "no answer within";
        S::Behaviour halfWay = S::answer(200, "<r><STATUS>OK</STATUS>" + QByteArray(1000, ' ') + "</r>");
        halfWay.closeAfter = halfWay.head.size() + 100;
        QTest::newRow("closed half-way") << halfWay << "failure"
                                         << "closed";
        S::Behaviour trickle = withFiller(S::answerWithoutLength(200, "<r>"), " ", -1);
        trickle.pieceIntervalMs = 20;
        QTest::newRow("a trickle without end") << trickle << "failure"
                                               << "no answer within";
        QTest::newRow("endless chunked body")
            << withFiller(S::raw(S::statusLine(200) + "Content-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n",
                                 "16\r\n<r><STATUS>OK</STATUS>\r\n"),
                          "1000\r\n" + QByteArray(4096, ' ') + "\r\n", -1)
            << "failure"
            << "larger than";
        QTest::newRow("100 MiB without a length") << withFiller(S::answerWithoutLength(200, "<r><STATUS>OK</STATUS>"),
                                                                QByteArray(64 * 1024, ' '), 100 * 1024 * 1024, "</r>")
                                                  << "failure"
                                                  << "larger than";
        QTest::newRow("a length of 100 MiB")
            << S::raw(S::statusLine(200) + "Content-Type: text/xml\r\nContent-Length: 104857600\r\n\r\n", ok)
            << "failure"
            << "larger than";
        QTest::newRow("100 MiB deflated to little")
            << S::answer(200, qCompress("<r><STATUS>OK</STATUS>" + big + "</r>", 9).mid(4), "text/xml",
                         "Content-Encoding: deflate\r\n")
            << "failure"
            << "encoded answer";
        QTest::newRow("endless header") << withFiller(S::raw(S::statusLine(200) + "X-Padding: "),
                                                      QByteArray(64 * 1024, 'a'), -1)
                                        << "failure"
                                        << "headers longer than";
        QTest::newRow("HTML page") << S::answer(200,
                                                "<!DOCTYPE html><html><head><title>Error</title></head>"
                                                "<body><p>Service unavailable<br></body></html>",
                                                "text/html")
                                   << "failure"
                                   << "document type";
        QTest::newRow("HTTP 500 with an XML body") << S::answer(500, ok) << "failure"
                                                   << "HTTP status 500";
        QTest::newRow("redirect loop") << S::redirect("/v3/rsapi.asp?cmd=listsites&email=a&password=b") << "failure"
                                       << "redirect";
        // Followed, it would reach this server again under another name, and be answered OK.
        QTest::newRow("redirect to another host") << S::redirect("http://localhost:{port}/elsewhere") << "failure"
                                                  << "redirect";
        QTest::newRow("document type with entities")
            << S::answer(200, "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">"
                              "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
                              "<r><STATUS>OK</STATUS><ERRMSG>&c;&c;&c;&c;</ERRMSG></r>")
            << "failure"
            << "document type";
        QTest::newRow("nested 200,000 deep")
            << S::answer(200, QByteArray("<a>").repeated(200000) + ok + QByteArray("</a>").repeated(200000))
            << "failure"
            << "nested deeper than 256";
        QTest::newRow("a million attributes")
            << S::answer(200, "<r" + QByteArray(" a=''").repeated(1000000) + "><STATUS>OK</STATUS></r>") << "failure"
            << "more than 32 attributes";
        QTest::newRow("EBCDIC hiding a million attributes")
            << S::answer(200, "<?xml version=\"1.0\" encoding=\"IBM037\"?>" +
                                  QByteArray("\x4c\x99").append(QByteArray("\x40\x81\x7e\x7d\x7d").repeated(1000000)) +
                                  "\x6e\x4c\x61\x99\x6e")
            << "failure"
            << "encoding";
        QTest::newRow("a second document 100 KiB on")
            << S::answer(200, ok + QByteArray(100 * 1024, ' ') + "<r><STATUS>E</STATUS></r>") << "failure"
            << "not well-formed";
        QTest::newRow("invalid UTF-8") << S::answer(200, "<r><STATUS>OK</STATUS><ERRMSG>\xc3\x28\xff</ERRMSG></r>")
                                       << "failure"
                                       << "not well-formed";
        QTest::newRow("NUL byte") << S::answer(200, QByteArray("<r><STATUS>OK\0</STATUS></r>", 27)) << "failure"
                                  << "not well-formed";

        QTest::newRow("ISO-8859-1")
            << S::answer(200, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><STATUS>OK</STATUS>"
                              "<ROW><SITEID>7</SITEID><PROFILENAME>Caf\xe9 Z\xfcrich</PROFILENAME></ROW></r>")
            << QString::fromUtf8("success STATUS=OK ERRMSG=none ERRORID=none rows=1 7:Caf\xc3\xa9 Z\xc3\xbcrich") << "";
        QTest::newRow("STATUS missing") << S::answer(200, "<r><ERRMSG>m</ERRMSG></r>")
                                        << "refusal STATUS=none ERRMSG=m ERRORID=none rows=0"
                                        << "";
        QTest::newRow("ERRMSG holding markup")
            << S::answer(200, "<r><STATUS>E</STATUS><ERRMSG>Wrong <b>password</b> &lt;i&gt;</ERRMSG></r>")
            << "refusal STATUS=E ERRMSG=Wrong password <i> ERRORID=none rows=0"
            << "";
        QTest::newRow("ERRMSG of 1 MiB")
            << S::answer(200, "<r><STATUS>E</STATUS><ERRMSG>" + QByteArray(1024 * 1024, 'x') + "</ERRMSG></r>")
            << "refusal STATUS=E ERRMSG=xxxxxxxxxxxxxxxxxxxxxxxx...(1048576) ERRORID=none rows=0"
            << "";
        QTest::newRow("ERRORID abc") << S::answer(200, "<r><STATUS>E</STATUS><ERRORID>abc</ERRORID></r>")
                                     << "refusal STATUS=E ERRMSG=none ERRORID=none rows=0"
                                     << "";
        QTest::newRow("ERRORID 99999") << S::answer(200, "<r><STATUS>E</STATUS><ERRORID>99999</ERRORID></r>")
                                       << "refusal STATUS=E ERRMSG=none ERRORID=none rows=0"
                                       << "";
        QByteArray many = "<r><STATUS>OK</STATUS>\n";
        const char* const ids[] = {"7", "0", "-5", "99999"};
        for (int i = 0; i < 100000; ++i)
            many += QByteArray("<ROW><SITEID>") + ids[i % 4] + "</SITEID><PROFILENAME>site " + QByteArray::number(i) +
                    "</PROFILENAME></ROW>\n";
        QTest::newRow("100,000 rows") << S::answer(200, many + "</r>")
                                      << "success STATUS=OK ERRMSG=none ERRORID=none rows=100000 7:site 0 0:site 1 "
                                         "-5:site 2 none:site 99999"
                                      << "";
        // The most work an answer within the cap can ask for: millions of elements, read while the windows paint.
        QTest::newRow("16 MiB of empty elements")
            << S::answer(200, "<r><STATUS>OK</STATUS>" + QByteArray("<a/>").repeated(4 * 1024 * 1024 - 8) + "</r>")
            << "success STATUS=OK ERRMSG=none ERRORID=none rows=0"
            << "";
        QTest::newRow("PROFILENAME missing, of 1 MiB, with tabs and bidi controls")
            << S::answer(200,
                         "<r><STATUS>OK</STATUS><ROW><SITEID>1</SITEID></ROW><ROW><SITEID>2</SITEID><PROFILENAME>" +
                             QByteArray(1024 * 1024, 'n') +
                             "</PROFILENAME></ROW><ROW><SITEID>3</SITEID><PROFILENAME>a\tb\xe2\x80\xae"
                             "moc.elpmaxe</PROFILENAME></ROW></r>")
            << "success STATUS=OK ERRMSG=none ERRORID=none rows=3 1:none 2:nnnnnnnnnnnnnnnnnnnnnnnn...(1048576) "
               "3:a\\u0009b\\u202emoc.elpmaxe"
            << "";
    }
    void answers()
    {
        QFETCH(HostileServer::Behaviour, behaviour);
        QFETCH(QString, expected);
        QFETCH(QString, reason);
        server->setBehaviour(behaviour);
        server->setBehaviour(HostileServer::answer(200, "<r><STATUS>OK</STATUS></r>"), "/elsewhere");

        const qint64 before = statusKiB("VmRSS");
        resetPeak();
        // How long the event loop stood still at most: the windows repaint only when it turns.
        QElapsedTimer clock, sinceTurn;
        qint64 longestPause = 0;
        QTimer turns;
        turns.setInterval(10);
        connect(&turns, &QTimer::timeout, [&] { longestPause = qMax(longestPause, sinceTurn.restart()); });
        clock.start();
        sinceTurn.start();
        turns.start();
        const CommandOutcome outcome = runAccountCommand(address());
        const qint64 ms = clock.elapsed();
        turns.stop();
        longestPause = qMax(longestPause, sinceTurn.elapsed());
        const qint64 grown = statusKiB("VmRSS") - before;
        const qint64 peak = statusKiB("VmHWM") - before;
        qInfo("%lld ms (event loop still for %lld ms at most), resident memory +%lld KiB, peak +%lld KiB; %s", ms,
              longestPause, grown, peak, qPrintable(outcome.failureDetail));
        if (peak > worstPeakKiB) {
            worstPeakKiB = peak;
            worst = QString::fromLatin1(QTest::currentDataTag());
        }

        QCOMPARE(summary(outcome), expected);
        QVERIFY2(outcome.failureDetail.contains(reason, Qt::CaseInsensitive), qPrintable(outcome.failureDetail));
        QVERIFY2(ms < TimeoutMs + ReadingAllowanceMs, qPrintable(QString::number(ms)));
        QVERIFY2(!MemoryMeasured || grown < MaxGrowthKiB, qPrintable(QString::number(grown)));
        QVERIFY2(server->requests().size() <= 6, qPrintable(QString::number(server->requests().size())));
        // Whatever that server is still doing, the next command is carried out as usual.
        server->setBehaviour(HostileServer::answer(200, "<r><STATUS>OK</STATUS></r>"));
        QVERIFY(runAccountCommand(address()).succeeded());
    }
};

QTEST_GUILESS_MAIN(HostileAnswersTest)
#include "tst_hostileanswers.moc"
