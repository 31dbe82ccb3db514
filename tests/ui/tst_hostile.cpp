// What the user sees when whoever answers in the service's place misbehaves, for each window that asks the
// service: the sign-in, sign-up and activation windows show one box and stay usable, the site menu stays as it
// was, nothing is remembered that should not be, and memory stays bounded. The server's misbehaviour is
// played by HostileServer on a loopback port.
#include "HostileServer.h"
#include "TestSupport.h"
#include "client/ActivationDialog.h"
#include "client/LoginDialog.h"
#include "client/SignUpDialog.h"
#include "platform/XmlDocument.h"
#include "viewer/MainWindow.h"
#include "viewer/SiteList.h"

#include <QFile>
#include <QMenu>
#include <QtTest>
#include <limits>

using B = HostileServer::Behaviour;
Q_DECLARE_METATYPE(B)

namespace {
const QString kCommunication =
    "Unable to communicate with the Quillmoor server.  Check your internet connection or try again later.";

// AddressSanitizer keeps freed memory aside to catch later use of it: under it, growth is not held to a bound.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kMaxGrowthKb = std::numeric_limits<qint64>::max();
#else
constexpr qint64 kMaxGrowthKb = 64 * 1024;
#endif

qint64 residentKb(const char* field = "VmRSS:")
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return 0;
}
// What a box shows of a text: all of it, or the start of a very long one.
QString cut(const QString& text)
{
    return text.size() > MessageBox::MaxTextLength ? text.left(MessageBox::MaxTextLength) + QChar(0x2026) : text;
}
QByteArray refusal(const QByteArray& errmsg)
{
    return "<ANSWER><STATUS>NO</STATUS><ERRMSG>" + errmsg + "</ERRMSG><ERRORID>7</ERRORID></ANSWER>";
}
} // namespace

class HostileTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    HostileServer server;

    template <class Window> void ask(ShownWindow<Window>& w, const char* button)
    {
        qputenv("LUMENPANE_API_BASE", server.base().toUtf8());
        w.click(button);
        QVERIFY(w.window->isVisible() && w.window->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

private slots:
    void initTestCase()
    {
        XmlDocument::setTransferTimeoutMs(1500);
        MainWindow warm; // the web engine starts here, so that what memory grows by below is the answers' doing
    }

    // refused: the text the service gave, shown as sent; failed (empty): the window's own words.
    void everyWindowStaysUsable_data()
    {
        QTest::addColumn<B>("answer");
        QTest::addColumn<QString>("refused");
        const QByteArray ok = "<ANSWER><STATUS>OK</STATUS></ANSWER>";
        B silent;
        silent.silent = true;
        B halfWay = HostileServer::answer(200, ok);
        halfWay.closeAfter = 60;
        B endless = HostileServer::answerWithoutLength(200, "<ANSWER>");
        endless.filler = QByteArray(64 * 1024, 'x');
        endless.fillerBytes = -1;
        B huge = endless;
        huge.fillerBytes = 100 << 20;
        QTest::newRow("no answer") << silent << "";
        QTest::newRow("closed half-way") << halfWay << "";
        QTest::newRow("endless") << endless << "";
        QTest::newRow("100 MiB, no length") << huge << "";
        QTest::newRow("HTML, 200") << HostileServer::answer(200, "<!DOCTYPE html><html><p>Oops<br></html>", "text/html")
                                   << "";
        QTest::newRow("500 with XML") << HostileServer::answer(500, refusal("Down")) << "";
        QTest::newRow("redirect loop") << HostileServer::redirect("http://127.0.0.1:{port}/v3/rsapi.asp") << "";
        QTest::newRow("redirect elsewhere") << HostileServer::redirect("http://localhost:{port}/v3/rsapi.asp") << "";
        QTest::newRow("entities") << HostileServer::answer(200, "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>") << "";
        QTest::newRow("deep") << HostileServer::answer(200, QByteArray(200000 * 3, 'x').replace("xxx", "<a>")) << "";
        QTest::newRow("bad UTF-8") << HostileServer::answer(200, refusal("\xff\xfe")) << "";
        QTest::newRow("NUL") << HostileServer::answer(200, refusal(QByteArray("a\0b", 3))) << "";
        QTest::newRow("Latin-1") << HostileServer::answer(200, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" +
                                                                   refusal("Mot de passe erron\xe9"))
                                 << QString::fromUtf8("Mot de passe erroné");
        QTest::newRow("markup") << HostileServer::answer(200, refusal("&lt;img src=\"/dev/zero\"&gt;"))
                                << "<img src=\"/dev/zero\">";
        QTest::newRow("1 MiB") << HostileServer::answer(200, refusal(QByteArray(1 << 20, 'm')))
                               << QString(1 << 20, 'm');
        QTest::newRow("ERRORID abc") << HostileServer::answer(200, refusal("No").replace(">7<", ">abc<")) << "No";
        QTest::newRow("ERRORID 99999") << HostileServer::answer(200, refusal("No").replace(">7<", ">99999<")) << "No";
    }
    void everyWindowStaysUsable()
    {
        QFETCH(B, answer);
        QFETCH(QString, refused);
        server.setBehaviour(answer);
        const qint64 before = residentKb();
        {
            ShownWindow<LoginDialog> w;
            w.child("txtEmail")->setText("a@example.com");
            w.child("txtPassword")->setText("pw");
            ask(w, "cmdLogin");
            QCOMPARE(boxLines(w.boxes), QStringList("Unable To Log In | Critical | " +
                                                    cut(refused.isEmpty() ? LoginDialog::failureText() : refused)));
            QCOMPARE(w.emitted->names, QStringList());
        }
        {
            ShownWindow<SignUpDialog> w;
            for (auto [name, text] : {std::pair{"txtFirstName", "Ada"},
                                      {"txtLastName", "L"},
                                      {"txtEmail", "a@b.c"},
                                      {"txtPassword", "pw"},
                                      {"txtVPassword", "pw"},
                                      {"txtZipCode", "1"},
                                      {"txtDomainName", "b.c"}})
                w.child(name)->setText(text);
            ask(w, "cmdCreateAccount");
            QCOMPARE(boxLines(w.boxes), QStringList("Errors with your submission | Critical | " +
                                                    cut("The following errors were found:\r\n" +
                                                        (refused.isEmpty() ? kCommunication : refused))));
            QCOMPARE(storedSignIn(), QStringList({"a@example.com", "pw"}));
        }
        {
            ShownWindow<ActivationDialog> w;
            w.child("txtSignupCode")->setText("CODE");
            ask(w, "cmdActivate");
            QCOMPARE(boxLines(w.boxes), QStringList("Invalid Activation Code | Critical | " +
                                                    cut(refused.isEmpty() ? kCommunication : refused)));
        }
        MainWindow window;
        SiteList::load(&window, "a@example.com", "pw");
        QCOMPARE(window.findChild<QMenu*>("mnuWebsite")->actions().size(), 1);
        const qint64 grown = residentKb() - before;
        qInfo("resident memory grew by %lld KiB; peak %lld KiB", grown, residentKb("VmHWM:"));
        QVERIFY2(grown < kMaxGrowthKb, qPrintable(QString("grew by %1 KiB").arg(grown)));
    }

    // Sites as a hostile list gives them: only identifiers 1 to 32767 become items, once each with the later
    // name; a name is shown on one line, without the controls that would reorder or split it, and cut short.
    void siteNamesAndNumbers()
    {
        QByteArray rows;
        QByteArray last49; // the name of the last row for site 49
        for (int i = 0; i < 100000; ++i) {
            const int id = i % 4 == 0 ? -i : i % 4 == 1 ? 40000 + i : i % 4 == 2 ? 0 : i / 4 % 49 + 1;
            const QByteArray name = "s" + QByteArray::number(i);
            rows += "<ROW><SITEID>" + QByteArray::number(id) + "</SITEID><PROFILENAME>" + name + "</PROFILENAME></ROW>";
            if (id == 49)
                last49 = name;
        }
        rows += "<ROW><SITEID>1</SITEID></ROW><ROW><SITEID>2</SITEID><PROFILENAME>" + QByteArray(1 << 20, 'n') +
                "</PROFILENAME></ROW><ROW><SITEID>3</SITEID><PROFILENAME>a\tb\xe2\x80\xae"
                "cba</PROFILENAME></ROW>";
        server.setBehaviour(HostileServer::answer(200, "<ANSWER><STATUS>OK</STATUS>" + rows + "</ANSWER>"));
        qputenv("LUMENPANE_API_BASE", server.base().toUtf8());
        const qint64 before = residentKb();
        MainWindow window;
        SiteList::load(&window, "a@example.com", "pw");
        QCOMPARE(window.findChild<QMenu*>("mnuWebsite")->actions().size(), 50); // "Refresh List" and 1 to 49
        QCOMPARE(window.siteItem(1)->text(), QString("1"));
        QCOMPARE(window.siteItem(2)->text(), QString(SiteList::MaxCaptionLength, 'n') + QChar(0x2026));
        QCOMPARE(window.siteItem(3)->text(), QString("a bcba"));
        QCOMPARE(window.siteItem(49)->text(), QString(last49));
        QVERIFY(residentKb() - before < kMaxGrowthKb);
    }
};

QTEST_MAIN(HostileTest)
#include "tst_hostile.moc"
