// The site menu filled from the service's answers, and "Refresh List" with the remembered sign-in.
#include "TestSupport.h"
#include "ViewerTesting.h"
#include "main/SiteList.h"
#include "platform/BusyPointer.h"
#include "platform/Clock.h"
#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"
#include "session/Session.h"

#include <QApplication>
#include <QSettings>

using namespace ViewerTesting;

namespace {
QByteArray rows(const QList<QPair<QByteArray, QByteArray>>& sites) {
    QByteArray out = "<ServiceResponse><STATUS>OK</STATUS>";
    for (const auto& s : sites)
        out += "<ROW><SITEID>" + s.first + "</SITEID><PROFILENAME>" + s.second + "</PROFILENAME></ROW>";
    return out + "</ServiceResponse>";
}
// Runs an action from the event loop once the first site item has been added to the menu: it then runs
// when the site list lets waiting events through, before the next site.
class OnFirstSiteAdded : public QObject {
public:
    OnFirstSiteAdded(frmMain* window, std::function<void()> action) : m_action(std::move(action)) {
        window->mnuWebsite->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ActionAdded && !std::exchange(m_posted, true))
            QMetaObject::invokeMethod(this, m_action, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> m_action;
    bool m_posted = false;
};

const QStringList kThreeSites = {"0 &Refresh List", "11 example.com", "12 shop.example.com", "13 blog.example.org"};
} // namespace

class SiteListTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    frmMain* window() { return Form<frmMain>::get(); }
    void answer(const QByteArray& body, int status = 200) { service->server().setCannedAnswer(body, status); }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        Clock::setTestToday(QDate(2007, 11, 8));
    }
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        XmlDocument::setTransferTimeoutMs(30000);
        Session::reset();
        Session::FromDate = Session::ToDate = Clock::today();
        QSettings("Quillmoor", "Lumenpane").clear();
    }
    void cleanup() {
        unloadAll();
        boxes.reset();
        service.reset();
    }

    void answers_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("three sites")
            << rows({{"11", "example.com"}, {"12", "shop.example.com"}, {"13", "blog.example.org"}}) << kThreeSites;
        QTest::newRow("identifiers that are no sites are skipped, later rows still count")
            << rows({{"abc", "letters"},
                     {"11", "a"},
                     {"40000", "too big"},
                     {"0", "zero"},
                     {"-5", "negative"},
                     {"", "empty"},
                     {"12", "b"}})
            << QStringList{"0 &Refresh List", "11 a", "12 b"};
        QTest::newRow("the same identifier twice keeps the later name")
            << rows({{"11", "first"}, {"11", "second"}}) << QStringList{"0 &Refresh List", "11 second"};
        QTest::newRow("a row without a name shows its identifier")
            << QByteArray("<r><STATUS>OK</STATUS><ROW><SITEID>77</SITEID></ROW></r>")
            << QStringList{"0 &Refresh List", "77 77"};
        QTest::newRow("a row without an identifier gives nothing")
            << QByteArray("<r><STATUS>OK</STATUS><ROW><PROFILENAME>x</PROFILENAME></ROW></r>")
            << QStringList{"0 &Refresh List"};
        QTest::newRow("an ampersand in a name is shown, not taken as an access key")
            << rows({{"5", "R&amp;D.example"}}) << QStringList{"0 &Refresh List", "5 R&&D.example"};
        QTest::newRow("rows deeper than the document element's children are no sites")
            << QByteArray("<r><STATUS>OK</STATUS><LIST><ROW><SITEID>9</SITEID><PROFILENAME>deep</PROFILENAME></ROW>"
                          "</LIST><ROW><SITEID>8</SITEID><PROFILENAME>top</PROFILENAME></ROW></r>")
            << QStringList{"0 &Refresh List", "8 top"};
        QTest::newRow("OK without rows") << QByteArray("<r><STATUS>OK</STATUS></r>") << QStringList{"0 &Refresh List"};
    }
    void answers() {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, menu);
        answer(body);
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(siteMenu(window()), menu);
        QVERIFY(boxes->shown.isEmpty());
        QVERIFY(!BusyPointer::isBusy());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // A later answer re-creates the sites it lists, in their places, and leaves the others alone.
    void refreshKeepsSitesTheAnswerNoLongerLists() {
        answer(rows({{"11", "example.com"}, {"12", "shop.example.com"}, {"13", "blog.example.org"}}));
        LoadSiteList("demo@example.com", "demo123");
        QAction* kept = window()->mnuRefreshWSList.value(12);
        answer(rows({{"11", "example.com (renamed)"}, {"13", "blog.example.org (renamed)"}}));
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(siteMenu(window()), (QStringList{"0 &Refresh List", "11 example.com (renamed)", "12 shop.example.com",
                                                  "13 blog.example.org (renamed)"}));
        QCOMPARE(window()->mnuRefreshWSList.value(12), kept);
    }

    void failuresChangeNothing_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::newRow("refused") << QByteArray(
                                        "<r><STATUS>ERROR</STATUS><ERRMSG>Invalid</ERRMSG><ERRORID>2</ERRORID></r>")
                                 << 200;
        QTest::newRow("no STATUS") << QByteArray("<r><ROW><SITEID>5</SITEID><PROFILENAME>x</PROFILENAME></ROW></r>")
                                   << 200;
        QTest::newRow("not XML") << QByteArray("<html><body>down for maintenance") << 200;
        QTest::newRow("server error") << rows({{"5", "x"}}) << 500;
    }
    void failuresChangeNothing() {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(siteMenu(window()), kThreeSites);

        Qt::CursorShape during = Qt::ArrowCursor;
        QObject::connect(&service->server(), &SimServer::requestLogged, this, [&] {
            during = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        });
        answer(body, status);
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(siteMenu(window()), kThreeSites);
        QVERIFY(boxes->shown.isEmpty());
        QVERIFY(!BusyPointer::isBusy());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void unreachableServiceChangesNothing() {
        XmlDocument::setTransferTimeoutMs(300);
        service->server().setFault(SimServer::Fault::Hang);
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(siteMenu(window()), QStringList{"0 &Refresh List"});
        QVERIFY(!BusyPointer::isBusy());
        QVERIFY(boxes->shown.isEmpty());
    }

    // "Refresh List" asks with the remembered sign-in, trimmed, and leaves the page alone.
    void refreshListUsesTheRememberedSignIn() {
        CredentialStore::SaveStringSetting("Login", "  demo@example.com ");
        CredentialStore::SaveStringSetting("Password", " demo123  ");
        frmMain* w = window();
        w->mnuChgDate[0]->trigger();
        const QString page = w->browser->lastAddress();
        w->mnuRefreshWSList[0]->trigger();
        QCOMPARE(service->apiRequests(),
                 QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=demo123"});
        QCOMPARE(siteMenu(w), kThreeSites);
        QCOMPARE(w->browser->lastAddress(), page);

        // Choosing a listed site opens its report for the current period.
        w->mnuRefreshWSList[12]->trigger();
        QCOMPARE(w->browser->lastAddress(),
                 service->base() + "/lumenpane/default2.asp?FDate=11/8/2007&Ldate=11/8/2007&chSiteID=12");
    }

    void nothingRememberedSendsEmptyValues() {
        window()->mnuRefreshWSList[0]->trigger();
        QCOMPARE(service->apiRequests(), QStringList{"GET /v3/rsapi.asp?cmd=listsites&email=&password="});
        QCOMPARE(siteMenu(window()), QStringList{"0 &Refresh List"});
    }

    // Between sites the menu is usable: a site chosen then is opened at once, before the next one is added.
    void aSiteCanBeChosenWhileTheListGrows() {
        frmMain* w = window();
        QStringList menuWhenChosen;
        OnFirstSiteAdded hook(w, [&] {
            menuWhenChosen = siteMenu(w);
            w->mnuRefreshWSList.value(11)->trigger();
        });
        LoadSiteList("demo@example.com", "demo123");
        QCOMPARE(menuWhenChosen, (QStringList{"0 &Refresh List", "11 example.com"}));
        QCOMPARE(w->browser->lastAddress(),
                 service->base() + "/lumenpane/default2.asp?FDate=11/8/2007&Ldate=11/8/2007&chSiteID=11");
        QCOMPARE(siteMenu(w), kThreeSites);
    }

    // Closing the main window while the list is filled drops the rest instead of loading a hidden window.
    void closingTheWindowMeanwhileDropsTheRest() {
        OnFirstSiteAdded hook(window(), [] { Form<frmMain>::unload(); });
        LoadSiteList("demo@example.com", "demo123");
        QVERIFY(!Form<frmMain>::isLoaded());
        QVERIFY(!BusyPointer::isBusy());
    }
};

QTEST_MAIN(SiteListTest)
#include "tst_sitelist.moc"
