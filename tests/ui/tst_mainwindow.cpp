// The main window: its menus, its layout, and the addresses its commands open, with the real web engine
// loading the simulator's pages.
#include "ViewerTesting.h"
#include "session/Protocol.h"

#include <QMenuBar>

using namespace ViewerTesting;

class MainWindowTest : public ViewerTest {
    Q_OBJECT

    frmMain* openSignedIn()
    {
        Session::StartUrl = Protocol::StartPageAddress("demo@example.com", "demo123");
        frmMain* w = Form<frmMain>::get();
        if (!loads(w->browser, [] { Form<frmMain>::show(); }))
            qWarning("the start page did not load");
        return w;
    }
    // A step is "date 5" or "site 12" for the indexed arrays, or the name of a menu item.
    static QAction* item(frmMain* w, const QString& step)
    {
        const qint16 index = step.section(' ', 1).toShort();
        return step.startsWith("date")   ? w->mnuChgDate.value(index)
               : step.startsWith("site") ? w->createSiteItem(index)
                                         : w->findChild<QAction*>(step);
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    // Each menu with its items in order: "name caption", and "name(index) caption" in the indexed arrays.
    void menuTree()
    {
        frmMain* w = Form<frmMain>::get();
        QCOMPARE(w->windowTitle(), QString("Quillmoor Lumenpane (Build 40)"));
        QStringList menus;
        describeMenu("menu bar", w->menuBar()->actions(), menus);
        QCOMPARE(menus,
                 (QStringList{
                     "menu bar: mnuFile &File, mnuOptions &Options, mnuHelp &Help",
                     "mnuFile &File: mnuRefresh &Refresh, mnuExit E&xit",
                     "mnuOptions &Options: mnuWebsite &Change Website, mnuChgDates Change &Date, mnuSettings &Settings",
                     "mnuWebsite &Change Website: mnuRefreshWSList(0) &Refresh List",
                     "mnuChgDates Change &Date: mnuChgDate(0) Today, mnuChgDate(1) Yesterday, mnuChgDate(2) This "
                     "Week, mnuChgDate(3) Last Week, mnuChgDate(4) This Month, mnuChgDate(5) Last Month, "
                     "mnuChgDate(6) &Specify",
                     "mnuHelp &Help: mnuOnlineHelp Online &Help, mnuUpdate Check for &Update, mnuAbout &About",
                 }));
    }

    // The window keeps its fixed outer size, and the browser, scroll bars included, fills exactly the
    // client area below the menu bar: every part of a report can be scrolled into view.
    void browserFillsTheClientArea()
    {
        frmMain* w = openSignedIn();
        QCOMPARE(w->frameGeometry().size(), QSize(655, 720));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        const int menuBottom = w->menuBar()->geometry().bottom() + 1;
        QCOMPARE(w->browser->geometry(), QRect(0, menuBottom, w->width(), w->height() - menuBottom));
        // The view's size; the report no wider than the view, longer than it, and its end reachable.
        const QVariant view = runJs(w->browser, "const d = document.documentElement; scrollTo(0, 1e6); [innerWidth, "
                                                "innerHeight, d.scrollWidth <= d.clientWidth, d.scrollHeight > "
                                                "innerHeight, scrollY + innerHeight == d.scrollHeight]");
        QCOMPARE(view.toList(), (QVariantList{w->browser->width(), w->browser->height(), true, true, true}));
    }

    // The steps are chosen from the menus in turn; the last one opens the address, and the page shows it.
    void addresses_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shows");
        // Today is Thursday 11/8/2007.
        const char* periods[][3] = {
            {"Today", "11/8/2007", "11/8/2007"},       {"Yesterday", "11/7/2007", "11/7/2007"},
            {"This Week", "11/4/2007", "11/11/2007"},  {"Last Week", "10/28/2007", "11/3/2007"},
            {"This Month", "11/1/2007", "11/30/2007"}, {"Last Month", "10/1/2007", "10/31/2007"}};
        for (int i = 0; i < 6; ++i)
            QTest::newRow(periods[i][0]) << QString("date %1").arg(i)
                                         << QString("default2.asp?FDate=%1&Ldate=%2").arg(periods[i][1], periods[i][2])
                                         << QString("%1 to %2").arg(periods[i][1], periods[i][2]);
        const QString site = "shop.example.com", update = "Build 40 is the current build";
        QTest::newRow("a site keeps the period")
            << QString("date 5,site 12") << QString("default2.asp?FDate=10/1/2007&Ldate=10/31/2007&chSiteID=12")
            << site;
        QTest::newRow("a period after a site carries no site")
            << QString("site 12,date 1") << QString("default2.asp?FDate=11/7/2007&Ldate=11/7/2007") << site;
        QTest::newRow("help") << QString("mnuOnlineHelp") << QString("help.asp") << QString("Lumenpane help");
        QTest::newRow("settings") << QString("mnuSettings") << QString("settings.asp") << QString("demo@example.com");
        QTest::newRow("update check") << QString("mnuUpdate") << QString("checkversion.asp?build=40") << update;
    }
    void addresses()
    {
        QFETCH(QString, steps);
        QFETCH(QString, address);
        QFETCH(QString, shows);
        frmMain* w = openSignedIn();
        for (const QString& step : steps.split(','))
            QVERIFY2(loads(w->browser, [&] { item(w, step)->trigger(); }), qPrintable(step));
        QCOMPARE(w->browser->lastAddress(), report(address));
        QCOMPARE(requestsFor(address), 1);
        const QString text = runJs(w->browser, "document.body.innerText").toString();
        QVERIFY2(text.contains(shows), qPrintable(text));
    }

    // Refresh reloads whatever the browser shows, a page reached through a link included, and reuses the
    // address as it was: the dates are not computed again.
    void refreshReloadsTheCurrentPage()
    {
        frmMain* w = openSignedIn();
        QVERIFY(loads(w->browser, [&] { w->mnuChgDate[0]->trigger(); }));
        Clock::setTestToday(QDate(2007, 11, 9)); // midnight has passed
        QVERIFY(loads(w->browser, [&] { w->mnuRefresh->trigger(); }));
        QCOMPARE(requestsFor("default2.asp?FDate=11/8/2007&Ldate=11/8/2007"), 2);
        QVERIFY(loads(w->browser,
                      [&] { runJs(w->browser, "document.querySelector('footer a[href=\"help.asp\"]').click()"); }));
        QVERIFY(loads(w->browser, [&] { w->mnuRefresh->trigger(); }));
        QCOMPARE(requestsFor("help.asp"), 2);
    }

    // "&Specify" and "&About" open their windows and leave the page alone.
    void specifyAndAboutOpenTheirWindows()
    {
        frmMain* w = Form<frmMain>::show();
        w->mnuChgDate[6]->trigger();
        w->mnuAbout->trigger();
        QVERIFY(Form<frmSpecifyDates>::isLoaded() && Form<frmAbout>::isLoaded());
        QTRY_VERIFY(Form<frmSpecifyDates>::existing()->isVisible() && Form<frmAbout>::existing()->isVisible());
        QCOMPARE(w->browser->lastAddress(), QString());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
