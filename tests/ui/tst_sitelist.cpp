// The site menu filled from the service's answers, and "Refresh List" with the remembered sign-in.
#include "ViewerTesting.h"
#include "main/SiteList.h"
#include "session/CredentialStore.h"

using namespace ViewerTesting;

namespace {
// "11=example.com;12=shop.example.com" as a listsites answer; a site without "=" has no PROFILENAME.
QByteArray answer(const QString& sites)
{
    QString rows;
    for (const QString& site : sites.split(';'))
        rows += "<ROW><SITEID>" + site.section('=', 0, 0) + "</SITEID>" +
                (site.contains('=') ? "<PROFILENAME>" + site.section('=', 1).toHtmlEscaped() + "</PROFILENAME>" : "") +
                "</ROW>";
    return ("<ServiceResponse><STATUS>OK</STATUS>" + rows + "</ServiceResponse>").toUtf8();
}
const QString kThreeAnswer = "11=example.com;12=shop.example.com;13=blog.example.org";
const QStringList kThreeSites = {"0 &Refresh List", "11 example.com", "12 shop.example.com", "13 blog.example.org"};

// Runs the action from the event loop once the first site item is in the menu, that is when the site
// list lets waiting events through, before the next site.
struct OnFirstSiteAdded : QObject {
    std::function<void()> action;
    OnFirstSiteAdded(frmMain* window, std::function<void()> then) : action(std::move(then))
    {
        window->mnuWebsite->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded && action)
            QMetaObject::invokeMethod(this, std::exchange(action, nullptr), Qt::QueuedConnection);
        return false;
    }
};
} // namespace

class SiteListTest : public ViewerTest {
    Q_OBJECT
    frmMain* window() { return Form<frmMain>::get(); }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    // The answers are read one after the other, each with the busy pointer; the menu shows what they leave
    // after "&Refresh List". A refused or failed list shows no message and changes nothing.
    void answers_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("menu");
        const QStringList three = kThreeSites.mid(1);
        QTest::newRow("three sites") << QStringList{kThreeAnswer} << three;
        QTest::newRow("a later list re-creates its sites in place and keeps the others")
            << QStringList{kThreeAnswer, "11=example.com (new);13=blog (new)"}
            << QStringList{"11 example.com (new)", "12 shop.example.com", "13 blog (new)"};
        QTest::newRow("identifiers that are no sites are skipped, later rows still count")
            << QStringList{"abc=letters;11=a;40000=too big;0=zero;12=b"} << QStringList{"11 a", "12 b"};
        QTest::newRow("a row without a name shows its identifier") << QStringList{"77"} << QStringList{"77 77"};
        QTest::newRow("an ampersand is no access key") << QStringList{"5=R&D"} << QStringList{"5 R&&D"};
        QTest::newRow("refused") << QStringList{kThreeAnswer, "refused"} << three;
        QTest::newRow("server error") << QStringList{kThreeAnswer, "server error"} << three;
        QTest::newRow("no answer") << QStringList{kThreeAnswer, "no answer"} << three;
    }
    void answers()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, menu);
        QList<bool> busy;
        connect(&service->server(), &SimServer::requestLogged, this, [&] {
            busy << (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        });
        for (const QString& sites : answers) {
            if (sites == "no answer") {
                XmlDocument::setTransferTimeoutMs(300);
                service->server().setFault(SimServer::Fault::Hang);
            } else if (sites == "refused") { // rows in a refusal do not count
                service->server().setCannedAnswer("<r><STATUS>ERROR</STATUS><ROW><SITEID>5</SITEID></ROW></r>");
            } else if (sites == "server error") { // a list, but with status 500
                service->server().setCannedAnswer(answer("5=x"), 500);
            } else {
                service->server().setCannedAnswer(answer(sites));
            }
            LoadSiteList("demo@example.com", "demo123");
        }
        QCOMPARE(busy, QList<bool>(answers.size(), true));
        QCOMPARE(siteMenu(window()), QStringList{"0 &Refresh List"} + menu);
        QVERIFY(quiet());
    }

    // "&Refresh List" asks with the remembered sign-in, trimmed, and leaves the page alone.
    void refreshListUsesTheRememberedSignIn()
    {
        CredentialStore::SaveStringSetting("Login", "  demo@example.com ");
        CredentialStore::SaveStringSetting("Password", " demo123  ");
        frmMain* w = window();
        w->mnuChgDate[1]->trigger();
        w->mnuRefreshWSList[0]->trigger();
        QCOMPARE(service->apiRequests(),
                 QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=demo123"});
        QCOMPARE(siteMenu(w), kThreeSites);
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?FDate=11/7/2007&Ldate=11/7/2007"));
    }

    // Between sites the menu is usable: a site chosen then is opened at once, before the next one is added.
    void aSiteCanBeChosenWhileTheListGrows()
    {
        frmMain* w = window();
        QStringList menuWhenChosen;
        OnFirstSiteAdded hook(w, [&] {
            menuWhenChosen = siteMenu(w);
            w->mnuRefreshWSList.value(11)->trigger();
        });
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(menuWhenChosen, (QStringList{"0 &Refresh List", "11 example.com"}));
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?FDate=11/8/2007&Ldate=11/8/2007&chSiteID=11"));
        QCOMPARE(siteMenu(w), kThreeSites);
    }

    // Closing the main window meanwhile drops the rest instead of loading a hidden window.
    void closingTheWindowMeanwhileDropsTheRest()
    {
        OnFirstSiteAdded hook(window(), [] { Form<frmMain>::unload(); });
        LoadSiteList("demo@example.com", "demo123");
        QVERIFY(!Form<frmMain>::isLoaded());
        QVERIFY(quiet());
    }
};

QTEST_MAIN(SiteListTest)
#include "tst_sitelist.moc"
