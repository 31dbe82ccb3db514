// The main window: its menus, its layout, and the addresses its commands open, with the real web engine
// loading the simulator's pages on a loopback port.
#include "TestSupport.h"
#include "ViewerTesting.h"
#include "platform/Clock.h"
#include "session/Protocol.h"
#include "session/Session.h"

using namespace ViewerTesting;

class MainWindowTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<MessageRecorder> boxes;

    QString report(const QString& pathAndQuery) const { return service->base() + "/lumenpane/" + pathAndQuery; }
    int requestsFor(const QString& pathAndQuery) const {
        return int(service->server().requestLog().count("GET /lumenpane/" + pathAndQuery));
    }
    frmMain* openSignedIn() {
        Session::StartUrl = Protocol::StartPageAddress("demo@example.com", "demo123");
        frmMain* w = Form<frmMain>::get();
        QSignalSpy loaded(w->browser, &QWebEngineView::loadFinished);
        Form<frmMain>::show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("the main window was not exposed");
        if (!loaded.wait(60000) || !loaded.first().first().toBool())
            qWarning("the start page did not load");
        return w;
    }
    static bool navigateAndWait(frmMain* w, const std::function<void()>& command) {
        QSignalSpy loaded(w->browser, &QWebEngineView::loadFinished);
        command();
        return loaded.wait(30000) && loaded.last().first().toBool();
    }

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }
    void init() {
        service = std::make_unique<LocalService>();
        boxes = std::make_unique<MessageRecorder>();
        Session::reset();
        Clock::setTestToday(QDate(2007, 11, 8)); // a Thursday
        Session::FromDate = Session::ToDate = Clock::today();
    }
    void cleanup() {
        unloadAll();
        boxes.reset();
        service.reset();
    }

    void loadingTitlesAndOpensTheStartPageWithoutShowing() {
        Session::StartUrl = Protocol::StartPageAddress("demo@example.com", "demo123");
        frmMain* w = Form<frmMain>::get();
        QVERIFY(!w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Quillmoor Lumenpane (Build 40)"));
        QCOMPARE(w->browser->lastAddress(),
                 service->base() + "/lumenpane/default2.asp?autologin=true&email=demo@example.com&password=demo123");
        QTRY_COMPARE_WITH_TIMEOUT(requestsFor("default2.asp?autologin=true&email=demo@example.com&password=demo123"), 1,
                                  60000);
        QCOMPARE(Form<frmMain>::get(), w);
    }

    void menuTree() {
        frmMain* w = Form<frmMain>::get();
        const QStringList expected = {
            "mnuFile &File",
            "  mnuRefresh &Refresh",
            "  mnuExit E&xit",
            "mnuOptions &Options",
            "  mnuWebsite &Change Website",
            "    mnuRefreshWSList(0) &Refresh List",
            "  mnuChgDates Change &Date",
            "    mnuChgDate(0) Today",
            "    mnuChgDate(1) Yesterday",
            "    mnuChgDate(2) This Week",
            "    mnuChgDate(3) Last Week",
            "    mnuChgDate(4) This Month",
            "    mnuChgDate(5) Last Month",
            "    mnuChgDate(6) &Specify",
            "  mnuSettings &Settings",
            "mnuHelp &Help",
            "  mnuOnlineHelp Online &Help",
            "  mnuUpdate Check for &Update",
            "  mnuAbout &About",
        };
        QCOMPARE(ViewerTesting::menuTree(w->menuBar()), expected);
        for (QAction* a : w->menuBar()->findChildren<QAction*>()) {
            QVERIFY2(a->shortcut().isEmpty() && !a->isCheckable() && a->isEnabled() && a->isVisible(),
                     qPrintable(a->text()));
        }
        QCOMPARE(w->mnuChgDate.keys(), (QList<qint16>{0, 1, 2, 3, 4, 5, 6}));
        QCOMPARE(w->mnuRefreshWSList.keys(), QList<qint16>{0});
    }

    // The window keeps its fixed outer size, and the browser, scroll bars included, fills exactly the
    // client area below the menu bar: every part of a report can be scrolled into view.
    void browserFillsTheClientArea() {
        frmMain* w = openSignedIn();
        QCOMPARE(w->frameGeometry().size(), QSize(655, 720));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const int menuBottom = w->menuBar()->geometry().bottom() + 1;
        QCOMPARE(w->browser->geometry(), QRect(0, menuBottom, w->width(), w->height() - menuBottom));

        const QVariantList viewport = runJs(w->browser, "[window.innerWidth, window.innerHeight, "
                                                        "document.documentElement.scrollWidth, "
                                                        "document.documentElement.clientWidth]")
                                          .toList();
        QCOMPARE(viewport.size(), 4);
        QCOMPARE(viewport[0].toInt(), w->browser->width());
        QCOMPARE(viewport[1].toInt(), w->browser->height());
        QVERIFY2(viewport[2].toInt() <= viewport[3].toInt(), "the report is wider than the view");
        // The report is longer than the view; its end can be scrolled to.
        const QVariantList end = runJs(w->browser, "window.scrollTo(0, 1e6); [window.scrollY + window.innerHeight, "
                                                   "document.documentElement.scrollHeight]")
                                     .toList();
        QVERIFY(end[1].toInt() > w->browser->height());
        QCOMPARE(end[0].toInt(), end[1].toInt());
        QCOMPARE(runJs(w->browser, "document.querySelector('h1').textContent").toString(), QString("example.com"));
    }

    void periods_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("query");
        // Today is Thursday 11/8/2007.
        QTest::newRow("Today") << 0 << "FDate=11/8/2007&Ldate=11/8/2007";
        QTest::newRow("Yesterday") << 1 << "FDate=11/7/2007&Ldate=11/7/2007";
        QTest::newRow("This Week") << 2 << "FDate=11/4/2007&Ldate=11/11/2007";
        QTest::newRow("Last Week") << 3 << "FDate=10/28/2007&Ldate=11/3/2007";
        QTest::newRow("This Month") << 4 << "FDate=11/1/2007&Ldate=11/30/2007";
        QTest::newRow("Last Month") << 5 << "FDate=10/1/2007&Ldate=10/31/2007";
    }
    void periods() {
        QFETCH(int, index);
        QFETCH(QString, query);
        frmMain* w = openSignedIn();
        QVERIFY(navigateAndWait(w, [&] { w->mnuChgDate[qint16(index)]->trigger(); }));
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?" + query));
        QCOMPARE(Protocol::DateText(Session::FromDate) + "|" + Protocol::DateText(Session::ToDate),
                 query.mid(6).replace("&Ldate=", "|"));
        QCOMPARE(requestsFor("default2.asp?" + query), 1);
        // The simulator shows the period it was asked for.
        const QString shown = runJs(w->browser, "document.querySelector('.period').textContent").toString();
        QVERIFY2(shown.startsWith(Protocol::DateText(Session::FromDate) + " to " + Protocol::DateText(Session::ToDate)),
                 qPrintable(shown));
    }

    void siteChoiceUsesThePeriodAndKeepsIt() {
        frmMain* w = Form<frmMain>::get();
        Session::FromDate = QDate(2007, 10, 1);
        Session::ToDate = QDate(2007, 10, 31);
        QAction* site = w->createSiteItem(1234);
        site->trigger();
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?FDate=10/1/2007&Ldate=10/31/2007&chSiteID=1234"));
        QCOMPARE(Session::FromDate, QDate(2007, 10, 1));
        QCOMPARE(Session::ToDate, QDate(2007, 10, 31));
        // A later period change carries no site.
        w->mnuChgDate[0]->trigger();
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?FDate=11/8/2007&Ldate=11/8/2007"));
    }

    void pages_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("shows");
        QTest::newRow("help") << "mnuOnlineHelp"
                              << "help.asp"
                              << "Lumenpane help";
        QTest::newRow("settings") << "mnuSettings"
                                  << "settings.asp"
                                  << "demo@example.com";
        QTest::newRow("update check") << "mnuUpdate"
                                      << "checkversion.asp?build=40"
                                      << "Build 40 is the current build";
    }
    void pages() {
        QFETCH(QString, item);
        QFETCH(QString, page);
        QFETCH(QString, shows);
        frmMain* w = openSignedIn();
        QVERIFY(navigateAndWait(w, [&] { w->findChild<QAction*>(item)->trigger(); }));
        QCOMPARE(w->browser->lastAddress(), report(page));
        QVERIFY(runJs(w->browser, "document.body.innerText").toString().contains(shows));
    }

    // Refresh reloads whatever the browser shows, a page reached through a link included, and reuses the
    // address as it was: the dates are not computed again.
    void refreshReloadsTheCurrentPage() {
        frmMain* w = openSignedIn();
        QVERIFY(navigateAndWait(w, [&] { w->mnuChgDate[0]->trigger(); }));
        Clock::setTestToday(QDate(2007, 11, 9)); // midnight has passed
        QVERIFY(navigateAndWait(w, [&] { w->mnuRefresh->trigger(); }));
        QCOMPARE(requestsFor("default2.asp?FDate=11/8/2007&Ldate=11/8/2007"), 2);

        QVERIFY(navigateAndWait(
            w, [&] { runJs(w->browser, "document.querySelector('footer a[href=\"help.asp\"]').click()"); }));
        QCOMPARE(requestsFor("help.asp"), 1);
        QVERIFY(navigateAndWait(w, [&] { w->mnuRefresh->trigger(); }));
        QCOMPARE(requestsFor("help.asp"), 2);
        QCOMPARE(w->browser->lastAddress(), report("default2.asp?FDate=11/8/2007&Ldate=11/8/2007"));
    }

    void specifyAndAboutOpenTheirWindowsOnce() {
        frmMain* w = openSignedIn();
        const QString before = w->browser->lastAddress();
        w->mnuChgDate[6]->trigger();
        QVERIFY(Form<frmSpecifyDates>::isLoaded());
        frmSpecifyDates* selector = Form<frmSpecifyDates>::existing();
        QTRY_VERIFY(selector->isVisible());
        w->mnuChgDate[6]->trigger();
        QCOMPARE(Form<frmSpecifyDates>::existing(), selector);
        QCOMPARE(w->browser->lastAddress(), before);
        QCOMPARE(Session::FromDate, QDate(2007, 11, 8));
        QCOMPARE(Session::ToDate, QDate(2007, 11, 8));

        w->mnuAbout->trigger();
        QVERIFY(Form<frmAbout>::isLoaded());
        frmAbout* about = Form<frmAbout>::existing();
        QTRY_VERIFY(about->isVisible());
        QVERIFY(!about->isModal());
        w->mnuAbout->trigger();
        QCOMPARE(Form<frmAbout>::existing(), about);
        QVERIFY(w->isEnabled());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
