// A hostile server in the service's place: the sign-in shows one box and stays usable, the site menu takes only sound
// sites, memory stays bounded. Malformed documents, encodings and document types: fuzz/answer.
#include "HostileServer.h"
#include "TestSupport.h"
#include "client/LoginDialog.h"
#include "session/AccountRequest.h"
#include "viewer/MainWindow.h"
#include "viewer/SiteList.h"

#include <QFile>
#include <QMenu>
#include <QtTest>
#include <limits>

using S = HostileServer;
Q_DECLARE_METATYPE(S::Behaviour)

namespace {
#if defined(__SANITIZE_ADDRESS__) // it keeps freed memory aside to catch later use: growth is not bounded there
constexpr qint64 kMaxGrowthKb = std::numeric_limits<qint64>::max();
#else
constexpr qint64 kMaxGrowthKb = 64 * 1024;
#endif

qint64 residentKb()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    const QByteArray text = status.readAll();
    return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ')[0].toLongLong();
}
} // namespace

class HostileTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    HostileServer server;

private slots:
    // The web engine starts here, so that what memory grows by below is the answers' doing.
    void initTestCase() { MainWindow warm; }

    void everyWindowStaysUsable_data()
    {
        QTest::addColumn<S::Behaviour>("answer");
        QTest::addColumn<QString>("shown"); // the service's refusal text; "sites: " and the site menu; none: failed
        const auto row = [](const char* name, const S::Behaviour& b, const QString& shown = {}) {
            QTest::newRow(name) << b << shown;
        };
        const QByteArray ok = "<r><STATUS>OK</STATUS></r>", okHead = "<r><STATUS>OK</STATUS>";
        const QByteArray xml = S::statusLine(200) + "Content-Type: text/xml\r\n", noLength = xml + "\r\n";
        row("no answer", {{}, {}, 600000}); // the request read, then silence
        row("refused", {});                 // nothing listens
        row("closed half-way", {xml + "Content-Length: 1000\r\n\r\n", {{okHead + QByteArray(100, ' '), 1}}});
        row("a trickle without end", {noLength, {{okHead, 1}, {" ", -1}}, 20});
        row("100 MiB without a length",
            S::Behaviour{noLength, {{okHead, 1}, {QByteArray(64 * 1024, ' '), 1600}, {"</r>", 1}}});
        row("a length of 100 MiB", S::Behaviour{xml + "Content-Length: 104857600\r\n\r\n", {{ok, 1}}});
        row("100 MiB deflated to little",
            S::answer(200, qCompress(okHead + QByteArray(100 << 20, ' ') + "</r>", 9).mid(4),
                      "Content-Type: text/xml\r\nContent-Encoding: deflate\r\n"));
        row("endless header", S::Behaviour{S::statusLine(200) + "X-Padding: ", {{QByteArray(64 * 1024, 'a'), -1}}});
        row("redirect loop", S::redirect("/v3/rsapi.asp"));
        row("redirect to another host", S::redirect("http://localhost:{port}/elsewhere")); // answered OK there
        row("nested 200,000 deep",
            S::answer(200, QByteArray("<a>").repeated(200000) + ok + QByteArray("</a>").repeated(200000)));
        row("a million attributes",
            S::answer(200, "<r" + QByteArray(" a=''").repeated(1000000) + "><STATUS>OK</STATUS></r>"));
        row("EBCDIC hiding a million attributes",
            S::answer(200, "<?xml version=\"1.0\" encoding=\"IBM037\"?>\x4c\x99" +
                               QByteArray("\x40\x81\x7e\x7d\x7d").repeated(1000000) + "\x6e\x4c\x61\x99\x6e"));
        row("empty, of length 0", S::answer(200, {}));
        row("HTML, 200", S::answer(200, "<!DOCTYPE html><html><p>OK<br></html>", "Content-Type: text/html\r\n"));
        row("500 with XML", S::answer(500, ok));
        row("STATUS missing", S::answer(200, "<r><ERRMSG>m</ERRMSG></r>"), "m");
        const QByteArray no = "<r><STATUS>E</STATUS><ERRMSG>";
        row("ERRMSG holding markup", S::answer(200, no + "Wrong <b>password</b> &lt;i&gt;</ERRMSG></r>"),
            "Wrong password <i>");
        row("ERRORID abc", S::answer(200, no + "No</ERRMSG><ERRORID>abc</ERRORID></r>"), "No");
        row("ERRMSG of 1 MiB, cut as a box shows it", S::answer(200, no + QByteArray(1 << 20, 'x') + "</ERRMSG></r>"),
            QString(MessageBox::MaxTextLength, 'x') + QChar(0x2026));
        row("ERRORID 65581, 45 if cut to 16 bits", S::answer(200, no + "No</ERRMSG><ERRORID>65581</ERRORID></r>"),
            "No");
        const QString utf16 = QChar(0xfeff) + QString("<r><STATUS>OK</STATUS><ROW><SITEID>5</SITEID><PROFILENAME>"
                                                      "\u00e9t\u00e9</PROFILENAME></ROW></r>");
        row("UTF-16", S::answer(200, QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)),
            QString::fromUtf8("sites: 5 \xc3\xa9t\xc3\xa9"));
        // Sites 1 to 32767 only, each once with its last name; a name on one line, without the characters that
        // would reorder it, and cut short.
        QByteArray rows;
        const char* const ids[] = {"7", "0", "-5", "99999", "abc"};
        for (int i = 0; i < 100000; ++i)
            rows += QByteArray("<ROW><SITEID>") + ids[i % 5] + "</SITEID><PROFILENAME>s" + QByteArray::number(i) +
                    "</PROFILENAME></ROW>";
        rows += "<ROW><SITEID>1</SITEID></ROW><ROW><SITEID>2</SITEID><PROFILENAME>" + QByteArray(1 << 20, 'n') +
                "</PROFILENAME></ROW><ROW><SITEID>3</SITEID><PROFILENAME>a\tb\xe2\x80\xae"
                "cba</PROFILENAME></ROW><ROW><SITEID>4</SITEID><PROFILENAME>" +
                QByteArray(SiteList::MaxCaptionLength, 'e') + "</PROFILENAME></ROW>";
        row("100,000 rows, odd ids, PROFILENAME missing, of 1 MiB, with tabs and bidi controls",
            S::answer(200, okHead + rows + "</r>"),
            "sites: 7 s99995, 1 1, 2 " + QString(SiteList::MaxCaptionLength, 'n') + QChar(0x2026) + ", 3 a bcba, 4 " +
                QString(SiteList::MaxCaptionLength, 'e')); // a name that just fits is not cut
        // The most work an answer within the size cap can ask for, read while the windows paint.
        row("16 MiB of empty elements", S::answer(200, okHead + QByteArray("<a/>").repeated((4 << 20) - 8) + "</r>"),
            "sites: ");
    }
    void everyWindowStaysUsable()
    {
        QFETCH(S::Behaviour, answer);
        QFETCH(QString, shown);
        server.setBehaviour(answer);
        server.setBehaviour(S::answer(200, "<r><STATUS>OK</STATUS></r>"), "/elsewhere");
        const bool listed = shown.startsWith("sites: ");
        const qint64 before = residentKb();
        {
            ShownWindow<LoginDialog> w;
            w.child("txtEmail")->setText("a@example.com");
            w.child("txtPassword")->setText("pw");
            const bool refused = QTest::currentDataTag() == QByteArray("refused");
            qputenv("LUMENPANE_API_BASE", (refused ? unreachableBase() : server.base()).toUtf8());
            AccountRequest::setTransferTimeoutMs(1500);
            QTest::mouseClick(w.child<QPushButton>("cmdLogin"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!w.boxes.shown.isEmpty() || !w.emitted().isEmpty(), 30000);
            QVERIFY(w.window->isVisible() && w.child<QPushButton>("cmdLogin")->isEnabled() &&
                    !QApplication::overrideCursor());
            QCOMPARE(boxLines(w.boxes) + w.emitted(),
                     QStringList(listed ? "signedIn"
                                        : "Unable To Log In | Critical | " +
                                              (shown.isEmpty() ? LoginDialog::failureText() : shown)));
        }
        MainWindow window;
        SiteList list(&window);
        QSignalSpy filled(&list, &SiteList::finished);
        list.load("a@example.com", "pw");
        QVERIFY(filled.wait(30000) && !QApplication::overrideCursor());
        QStringList sites;
        for (QAction* a : window.findChild<QMenu*>("mnuWebsite")->actions().mid(1))
            sites << QString::number(a->data().toInt()) + " " + a->text();
        QCOMPARE("sites: " + sites.join(", "), listed ? shown : "sites: ");
        const qint64 grown = residentKb() - before;
        QVERIFY2(grown < kMaxGrowthKb, qPrintable(QString("grew by %1 KiB").arg(grown)));
    }
};

LUMENPANE_TEST_MAIN(HostileTest)
#include "tst_hostile.moc"
