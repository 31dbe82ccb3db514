// The viewer process's controller and its windows, told what to do as the client tells it, with the service
// played by the simulator in this process and today fixed at Thursday 11/8/2007; its browser with the real engine.
#include "TestSupport.h"
#include "platform/BusyPointer.h"
#include "platform/Clock.h"
#include "platform/MonthCalendar.h"
#include "platform/SettingsStore.h"
#include "platform/WebView.h"
#include "session/Protocol.h"
#include "session/Service.h"
#include "viewer/AboutDialog.h"
#include "viewer/DateRangeDialog.h"
#include "viewer/FindWebsiteDialog.h"
#include "viewer/MainWindow.h"
#include "viewer/SiteList.h"
#include "viewer/Viewer.h"

#include <QPrinter>

#include <QtTest>
#include <QtWebEngineCore>
#include <QtWidgets>
#include <csignal>

using HandOver::Kind;

namespace {
const char* const kKinds[] = {"open", "show", "quit", "ready", "shown", "period", "exit", "main-closed"};
const QString kStart = "default2.asp?autologin=true&email=demo@example.com&password=demo123";
// A test page of one element that covers it: "go" clicked anywhere, or by a script.
const QMap<QString, QString> kElements = {{"link", "<a href='%1'%2</a>"},
                                          {"blank", "<a target=_blank href='%1'%2</a>"},
                                          {"popup", "<a href=# onclick=\"window.open('%1');return false\"%2</a>"},
                                          {"form", "<form action='%1'><button%2</button></form>"}};
const QMap<QString, Qt::MouseButton> kButtons = {
    {"click", Qt::LeftButton}, {"back", Qt::BackButton}, {"forward", Qt::ForwardButton}};

// Runs the action once a site is in the menu it watches, from the event loop: between the first site and the next.
struct OnFirstSiteAdded : QObject {
    std::function<void()> action;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ActionAdded && action)
            QMetaObject::invokeMethod(this, std::exchange(action, nullptr), Qt::QueuedConnection);
        return false;
    }
};
} // namespace

class ViewerTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    std::unique_ptr<ServiceAndBoxes> env;
    QBuffer output;
    std::unique_ptr<Viewer> viewer;
    SessionInfo session;
    QList<QUrl> opened;
    QByteArray page;                    // the test page at /t
    QString down;                       // an address where nothing answers until "up"
    std::unique_ptr<SimServer> revived; // what answers there then
    QTemporaryDir dir;

    MainWindow* main() const { return viewer->mainWindow(); }
    WebView* view() const { return main()->browser(); }
    QVariant js(const QString& script)
    {
        std::optional<QVariant> result;
        view()->page()->runJavaScript(script, [&](const QVariant& value) { result = value; });
        return QTest::qWaitFor([&] { return result.has_value(); }, 30000) ? *result : QVariant();
    }
    // Runs the action and waits until the page has dealt with it: a window asked for, or a navigation ended.
    bool settles(const std::function<void()>& action)
    {
        QObject context;
        bool done = false;
        connect(view()->page(), &QWebEnginePage::newWindowRequested, &context, [&] { done = true; });
        connect(view()->page(), &QWebEnginePage::loadingChanged, &context, [&](const QWebEngineLoadingInfo& i) {
            done |= i.status() != QWebEngineLoadingInfo::LoadStartedStatus;
        });
        action();
        return QTest::qWaitFor([&] { return done; }, 30000);
    }
    // Open, and the window as a person comes to it: on screen with the start page in, and in front wherever a window
    // can take the keyboard focus (on Wayland Qt's own wait ends once the window is on screen).
    void openSession()
    {
        tell(Kind::Open);
        QTRY_VERIFY_WITH_TIMEOUT(output.data().contains("shown"), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(view()->title(), "example.com - Quillmoor report", 30000);
        QVERIFY(!WindowSystem::compositorHasSeat() || inFront());
    }
    bool inFront() const
    {
        return QTest::qWaitForWindowActive(main()) && QTest::qWaitFor([&] { return main()->isActiveWindow(); });
    }
    int startPageLoads() const { return int(env->server().requestLog().count("GET /lumenpane/" + kStart)); }
    int siteLists() const { return int(env->apiRequests().filter("cmd=listsites").size()); }
    void tell(Kind kind, bool loadSites = false) { viewer->receive(HandOver::encode({kind, session, loadSites})); }
    // What the viewer said to the client, then to the user, and what it shows: "shown, period 10/1/2007-10/31/2007,
    // box: ... | [selector open, ]shown|hidden <address under /lumenpane/>[ beside <the second browser's address>
    // "<its title>"]: <id caption>, ...[ | finder: <its list, the chosen site in brackets>]", or "... | ended".
    QString outcome() const
    {
        QStringList words, sites;
        for (const QByteArray& line : output.data().split('\n'))
            if (const auto m = HandOver::decode(line))
                words << kKinds[int(m->kind)] + (m->kind == Kind::Period ? " " + Protocol::DateText(m->session.from) +
                                                                               "-" + Protocol::DateText(m->session.to)
                                                                         : QString());
        for (const MessageBox::Shown& box : env->boxes.shown)
            words << "box: " + box.text;
        if (viewer->hasEnded())
            return words.join(", ") + " | ended";
        for (QAction* a : main()->findChild<QMenu*>("mnuWebsite")->actions().mid(1)) // after "Refresh List"
            sites << QString("%1 %2%3").arg(a->data().toInt()).arg(a->text(), a->isVisible() ? "" : " hidden");
        const auto address = [](const WebView* v) {
            return v->lastAddress().remove(Service::reportBase() + "/lumenpane/");
        };
        const WebView* previous = main()->previousView();
        QString finder;
        if (const auto* dialog = main()->findChild<FindWebsiteDialog*>(); dialog && dialog->isVisible()) {
            const auto* list = dialog->findChild<QListView*>("lstSites");
            QStringList rows;
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QModelIndex site = list->model()->index(row, 0);
                rows << (site == list->currentIndex() ? "[" + site.data().toString() + "]" : site.data().toString());
            }
            finder = " | finder: " + rows.join(", ");
        }
        return words.join(", ") + " | " + (viewer->dateRangeDialog() ? "selector open, " : "") +
               (main()->isVisible() ? "shown " : "hidden ") + address(view()) +
               (previous ? " beside " + address(previous) + " \"" + previous->title() + "\"" : "") + ": " +
               sites.join(", ") + finder;
    }
    // A step as the user or the client takes it: "date 3", "site 12", "range 10/1/2007 10/31/2007 [next|prev]" (the
    // first calendar paged on, or the second back), "pick <quick pick>" (then Apply), "find <text>" (typed into the
    // site finder that Ctrl+K opened), "focus-previous" (the second browser, once it shows a report), "answer
    // <id=name,...>|refused|error|silent" (then Refresh List), "meanwhile <step>" (between the first two sites of a
    // refresh), "slow <step>" (while Refresh List waits for an answer that never comes;
    // the service is asked once), "close", "close-about",
    // "sysinfo", "show", "eof"; in the browser "<element> <address>" (a test page), "open <path>", "down", "type
    // <text>", "print", "click", "back", "forward", "script [id]", keys; else a menu command.
    void run(const QString& step)
    {
        const QStringList w = step.split(' ');
        const QString rest = step.section(' ', 1);
        if (kElements.contains(w[0])) {
            page = "<title>t</title>" + kElements[w[0]].arg(rest, " id=go style='position:fixed;inset:0'>go").toUtf8();
            run("open /t");
        } else if (w[0] == "open") {
            QVERIFY(settles([&] { view()->Navigate(env->base() + rest); }));
        } else if (w[0] == "down") { // our notice, then the server comes up there
            QVERIFY(settles([&] { view()->Navigate(down); }));
            QVERIFY(QTest::qWaitFor([&] { return view()->title() == "This report could not be loaded"; }));
            revived = std::make_unique<SimServer>();
            QCOMPARE(revived->listenLocal(QUrl(down).port()), QUrl(down).port());
        } else if (w[0] == "type") {
            QTest::keyClicks(QApplication::focusWidget(), rest);
        } else if (w[0] == "print") {
            QSignalSpy printed(view(), &WebView::printEnded);
            QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+P"));
            QFile pdf(dir.filePath("r.pdf"));
            QVERIFY(printed.wait(60000) && pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        } else if (w[0] == "script") { // the test page's element, or the one named, clicked by a script
            QVERIFY(settles([&] { js("document.getElementById('" + (rest.isEmpty() ? "go" : rest) + "').click()"); }));
        } else if (kButtons.contains(step)) {
            QVERIFY(settles([&] { QTest::mouseClick(view()->focusProxy(), kButtons[step], {}, QPoint(20, 20)); }));
        } else if (step.startsWith("Alt")) {
            QVERIFY(settles([&] { QTest::keySequence(QApplication::focusWidget(), QKeySequence(step)); }));
        } else if (step.contains('+') ||
                   QStringList{"Return", "Escape", "Up", "Down", "PgUp", "PgDown"}.contains(step)) {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
        } else if (w[0] == "site") {
            if (!main()->siteItem(qint16(w[1].toInt())))
                run("answer " + w[1] + "=" + w[1]);
            main()->siteItem(qint16(w[1].toInt()))->trigger();
            if (w[1] == "0") { // Refresh List: until the list is in the menu, or the window has gone
                QCoreApplication::sendPostedEvents();
                QTRY_VERIFY_WITH_TIMEOUT(!viewer->siteList() || !viewer->siteList()->isLoading(), 30000);
            }
        } else if (w[0] == "date") {
            for (QAction* a : main()->findChildren<QAction*>("mnuChgDate"))
                if (a->data() == w[1].toInt())
                    a->trigger();
        } else if (w[0] == "range") {
            if (!viewer->dateRangeDialog())
                run("date 6");
            DateRangeDialog* dialog = viewer->dateRangeDialog();
            for (int i : {1, 2})
                dialog->findChild<MonthCalendar*>(QString("Calendar%1").arg(i))
                    ->setDate(*Protocol::ParseDateText(w[i]));
            if (w.size() > 3)
                QTest::mouseClick(dialog->findChild<MonthCalendar*>(w[3] == "next" ? "Calendar1" : "Calendar2")
                                      ->findChild<QToolButton*>("qt_calendar_" + w[3] + "month"),
                                  Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmdApply"), Qt::LeftButton);
        } else if (w[0] == "pick") {
            if (!viewer->dateRangeDialog())
                run("date 6");
            for (auto* button : viewer->dateRangeDialog()->findChildren<QPushButton*>())
                if (button->text() == rest)
                    QTest::mouseClick(button, Qt::LeftButton);
            QTest::mouseClick(viewer->dateRangeDialog()->findChild<QPushButton*>("cmdApply"), Qt::LeftButton);
        } else if (w[0] == "find") {
            QVERIFY(QTest::qWaitForWindowActive(main()));
            QTest::keySequence(QApplication::focusWidget(), QKeySequence("Ctrl+K"));
            QTRY_VERIFY(QApplication::activeWindow() == main()->findChild<FindWebsiteDialog*>());
            QTest::keyClicks(QApplication::focusWidget(), rest);
        } else if (w[0] == "focus-previous") {
            const QWebEnginePage* page = main()->previousView()->page();
            QTRY_VERIFY_WITH_TIMEOUT(page->title().endsWith("Quillmoor report") && !page->isLoading(), 30000);
            main()->previousView()->setFocus();
        } else if (w[0] == "answer") {
            QByteArray rows;
            for (const QString& site : (w[1] == "refused" || w[1] == "error" ? "5=x" : rest).split(','))
                rows += "<ROW><SITEID>" + site.section('=', 0, 0).toUtf8() + "</SITEID><PROFILENAME>" +
                        SimServer::xmlEscape(site.section('=', 1)) + "</PROFILENAME></ROW>";
            const int status = w[1] == "silent" ? -1 : w[1] == "error" ? 500 : 200;
            env->answer(status, SimServer::serviceResponse(w[1] == "refused" ? "ERROR" : "OK", rows));
            run("site 0");
            env->server().clearCannedAnswer();
        } else if (w[0] == "meanwhile") {
            const QPointer<MainWindow> window = main();
            int itemsThen = 0;
            OnFirstSiteAdded hook;
            hook.action = [&] {
                itemsThen = int(window->findChild<QMenu*>("mnuWebsite")->actions().size()), run(rest);
            };
            window->findChild<QMenu*>("mnuWebsite")->installEventFilter(&hook);
            run("site 0");
            QCOMPARE(itemsThen, 2);                   // "Refresh List" and one site
            QVERIFY(!window || window->siteItem(13)); // a closed window goes, and the list stops
        } else if (w[0] == "slow") {
            const int before = siteLists();
            QTimer::singleShot(100, this, [this, rest] { run(rest); });
            run("answer silent");
            QCOMPARE(siteLists(), before + 1);
        } else if (w[0] == "close" || w[0] == "close-about") {
            (w[0] == "close" ? static_cast<QWidget*>(main()) : viewer->aboutDialog())->close();
        } else if (w[0] == "sysinfo") { // the about box's button, on this machine
            viewer->aboutDialog()->findChild<QPushButton*>("cmdSysInfo")->click();
        } else if (w[0] == "show" || w[0] == "eof") {
            w[0] == "show" ? tell(Kind::Show) : viewer->inputEnded();
        } else {
            main()->findChild<QAction*>(w[0])->trigger();
        }
        QCoreApplication::sendPostedEvents(); // the window's choices reach the viewer from the event loop
    }

public slots:
    void openedByDesktop(const QUrl& url) { opened << url; } // what the engine would hand to the desktop itself

private slots:
    void initTestCase()
    {
        Clock::setTestToday(QDate(2007, 11, 8));
        for (const char* scheme : {"mailto", "ssh"})
            QDesktopServices::setUrlHandler(scheme, this, "openedByDesktop");
    }
    void init()
    {
        env = std::make_unique<ServiceAndBoxes>();
        session.startUrl = Protocol::StartPageAddress(session.email = "demo@example.com", session.password = "demo123");
        session.rememberedLogin = "  demo@example.com ";
        session.rememberedPassword = " demo123  ";
        session.from = session.to = Clock::today();
        opened.clear();
        SettingsStore::remove("ZoomFactor");
        SettingsStore::remove("ComparePreviousPeriod");
        env->server().addRoute(
            "/t", [this](const SimRequest& r) { // the test page, a redirect, or a server's error page
                if (!r.value("to").isEmpty())
                    return SimReply{302, "text/plain", {}, {{"Location", r.value("to").toUtf8()}}};
                return r.value("error").isEmpty() ? SimReply::html(page)
                                                  : SimReply{500, "text/html", "<title>Server error</title>", {}};
            });
        down = unreachableBase() + "/lumenpane/checkversion.asp";
        WebView::setPrinterChooser(
            [this](QPrinter* printer) { return printer->setOutputFileName(dir.filePath("r.pdf")), true; });
        WebView::setExternalOpener([this](const QUrl& url) { opened << url; });
        output.setData({});
        output.open(QIODevice::WriteOnly);
        viewer = std::make_unique<Viewer>(&output);
    }
    void cleanup()
    {
        viewer.reset();
        output.close();
        env.reset();
        revived.reset();
    }

    // The engine warms up without a window anyone could find; Open shows the session with its sites and, the
    // comparison kept from an earlier run, the day before beside it. The export link's download, declined and saved;
    // a renderer that dies, reloaded though not for ever.
    void openShowsTheSessionWithItsSites()
    {
        SettingsStore::writeText("ComparePreviousPeriod", "1");
        viewer->start();
        QTRY_VERIFY_WITH_TIMEOUT(output.data().contains("ready"), 60000);
        QCOMPARE(QGuiApplication::allWindows(), QWindowList());
        env->server().setPageDelayMs(500); // a slow report server: the second browser waits for the sign-in
        tell(Kind::Open, true);
        QTRY_COMPARE_WITH_TIMEOUT(outcome(),
                                  "ready, shown | shown " + kStart +
                                      " beside default2.asp?FDate=11/7/2007&LDate=11/7/2007 \"example.com - Quillmoor "
                                      "report\": 11 example.com, 12 shop.example.com, 13 blog.example.org",
                                  60000);
        env->server().setPageDelayMs(0);
        QTRY_COMPARE_WITH_TIMEOUT(js("document.querySelector('footer') && document.title"),
                                  QVariant("example.com - Quillmoor report"), 60000);
        QCOMPARE(startPageLoads(), 1);

        for (const bool save : {false, true}) {
            WebView::setSaveLocationChooser(
                [&](const QString& path) { return save && path.endsWith(".csv") ? dir.filePath("f.csv") : ""; });
            QObject context; // connected after the view: sees the state the view left the download in
            int state = -1;
            connect(view()->page()->profile(), &QWebEngineProfile::downloadRequested, &context,
                    [&](QWebEngineDownloadRequest* download) { state = download->state(); });
            QSignalSpy ended(view(), &WebView::downloadEnded);
            js("document.querySelector('footer a').click()");
            using enum QWebEngineDownloadRequest::DownloadState;
            QTRY_COMPARE_WITH_TIMEOUT(state, int(save ? DownloadInProgress : DownloadCancelled), 30000);
            QTRY_COMPARE_WITH_TIMEOUT(ended.size(), int(save), 30000);
            QFile file(dir.filePath("f.csv"));
            QCOMPARE(file.open(QIODevice::ReadOnly) && file.readAll().startsWith("Date,Visits,Page views\r\n"), save);
        }
        WebView::setSaveLocationChooser(nullptr);

        for (int loads = 2; loads <= 5; ++loads) {
            const qint64 pid = view()->page()->renderProcessPid();
            QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
            QTRY_VERIFY_WITH_TIMEOUT(
                view()->page()->renderProcessPid() > 0 && view()->page()->renderProcessPid() != pid, 60000);
            QTRY_COMPARE(view()->title(), loads <= 4 ? "example.com - Quillmoor report" : "This page stopped working");
            QTRY_COMPARE(startPageLoads(), std::min(loads, 4));
        }
        run("mnuRefresh"); // Refresh tries the page again
        QTRY_COMPARE_WITH_TIMEOUT(view()->title(), "example.com - Quillmoor report", 60000);
        QVERIFY(env->boxes.shown.isEmpty());
    }

    // A browser pane for the reports and no more: a page leaves the view only for the user's browser or mail program,
    // and only on a click; the usual keys and mouse buttons, finding, printing, and our page for a failed report.
    void browsing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown"); // the page (path or notice), title, zoom (saved), find bar, what left
        const QString t = "/t \"t\" zoom 1 ()", help = "/lumenpane/help.asp \"Lumenpane help\" zoom ",
                      update = "/lumenpane/checkversion.asp \"Update check\" zoom 1 ()",
                      mail = "mailto:help@example.com", web = "https://example.org/a?b=c";
        const auto row = [](const char* name, const QString& steps, const QString& shown) {
            QTest::newRow(name) << steps << shown;
        };
        row("a mail link and a new window clicked, not by a script, a redirect, a form, or to elsewhere",
            "link " + mail + ";click;link " + mail + ";script;link /t?to=" + mail + ";click;form " + mail +
                ";click;link ssh://host/;click;blank " + web + ";click;blank " + web +
                ";script;popup ssh://host/;click",
            t + ", left for " + mail + " " + web);
        row("zoom out, reset, in by either key, out; kept; a web link stays in the view",
            "Ctrl+-;Ctrl+0;Ctrl+=;Ctrl++;Ctrl+-;mnuAbout;close;show;link /lumenpane/help.asp;click",
            help + "1.1 (1.1)");
        row("back and forward, by keys and the mouse's buttons",
            "open /lumenpane/checkversion.asp;Alt+Left;Alt+Right;back;forward", update);
        row("find, backwards from the first", "Ctrl+F;type visit;Shift+Return", help + "1 (), find: 3 of 3");
        row("find closed; print to a PDF file", "Ctrl+F;type visit;Escape;print", help + "1 ()");
        row("zoom and find on the report beside, which has the focus",
            "mnuCompare;focus-previous;Ctrl+=;Ctrl+F;type visit", help + "1 (1.1), find: 1 of 4");
        row("a server's own error page", "open /t?error=500", "/t \"Server error\" zoom 1 ()");
        row("a report that cannot be loaded, tried again", "down;script retry", update);
    }
    void browsing()
    {
        QFETCH(QString, steps);
        QFETCH(QString, shown);
        if (!WindowSystem::compositorHasSeat())
            QSKIP("No window can take the keyboard focus here: the compositor has no seat.");
        openSession();
        run("open /lumenpane/help.asp");
        view()->setFocus();
        for (const QString& step : steps.split(';')) {
            run(step);
            QVERIFY(step != "show" || inFront());
        }
        auto* find = main()->findChild<QWidget*>("fraFind");
        const auto state = [&] {
            return QString("%1 \"%2\" zoom %3 (%4)%5%6")
                .arg(view()->url().scheme() == "data" ? "notice" : view()->url().path(), view()->title())
                .arg(view()->zoomFactor())
                .arg(SettingsStore::readText("ZoomFactor"),
                     find->isVisible() ? ", find: " + find->findChild<QLabel*>("lblFindResult")->text() : "",
                     opened.isEmpty() ? "" : ", left for " + QUrl::toStringList(opened).join(' '));
        };
        QTRY_COMPARE_WITH_TIMEOUT(state(), shown, 30000);
        QVERIFY(env->boxes.shown.isEmpty());
    }

    void flows_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome"); // what the viewer said | its state
        const auto row = [](const char* name, const QString& steps, const QString& said, const QString& state) {
            QTest::newRow(name) << steps << said + " | " + state;
        };
        const QString lastMonth = "period 10/1/2007-10/31/2007", report = "shown default2.asp?FDate=";
        const QString site12 = report + "10/1/2007&Ldate=10/31/2007&chSiteID=12: 12 12";
        const QString start = "shown " + kStart + ": ",
                      three = "11 example.com, 12 shop.example.com, 13 blog.example.org";
        row("a period carries no site", "site 12;date 1", "period 11/7/2007-11/7/2007",
            report + "11/7/2007&Ldate=11/7/2007: 12 12");
        row("help", "mnuOnlineHelp", "", "shown help.asp: ");
        row("settings", "mnuSettings", "", "shown settings.asp: ");
        row("update check", "mnuUpdate", "", "shown checkversion.asp?build=40: ");
        row("a later list re-captions in place, keeps the others", "site 0;answer 13=blog,11=a&b,14=new", "",
            start + "11 a&&b, 12 shop.example.com, 13 blog, 14 new");
        for (const char* failure : {"refused", "error", "silent"}) // after the first list, sent trimmed
            row(failure, QString("site 0;answer ") + failure, "", start + three);
        row("a site chosen while the list grows", "meanwhile site 11", "",
            report + "11/8/2007&Ldate=11/8/2007&chSiteID=11: " + three);
        const QString refused = "box: You must select a valid date range", range = report + "%1&LDate=%2: ";
        row("January 31 paged on", "range 1/31/2008 3/31/2008 next", "period 2/29/2008-3/31/2008",
            range.arg("2/29/2008", "3/31/2008"));
        row("March 31 paged back", "range 1/1/2008 3/31/2008 prev", "period 1/1/2008-2/29/2008",
            range.arg("1/1/2008", "2/29/2008"));
        row("a refused range changes no period", "date 5;range 3/8/2008 3/7/2008;site 12", lastMonth + ", " + refused,
            "selector open, " + site12);
        row("closed while the list grows", "meanwhile close", "main-closed", "ended");
        row("Exit while Refresh List waits", "slow mnuExit", "exit", "ended");
        row("Refresh List again while it waits", "slow site 0", "", start);
        row("the about box closed last", "mnuAbout;close;close-about", "main-closed", "ended");
        row("no system information here", "mnuAbout;sysinfo", "box: System Information Is Unavailable At This Time",
            start);
        row("a range while closed waits hidden", "date 6;close;range 10/1/2007 10/31/2007", "main-closed, " + lastMonth,
            "hidden default2.asp?FDate=10/1/2007&LDate=10/31/2007: ");
        row("end of input", "eof", "", "ended");
        row("Last Month and Today by their keys", "Ctrl+6;Ctrl+1", lastMonth + ", period 11/8/2007-11/8/2007",
            report + "11/8/2007&Ldate=11/8/2007: ");
        row("a quick pick applied", "pick Last 30 Days", "period 10/10/2007-11/8/2007",
            range.arg("10/10/2007", "11/8/2007"));
        // The site finder: any part of a name in any case, moved through while typing, Enter, Escape, a growing list.
        const QString four = "answer 11=example.com,12=Shop.Example.COM,13=blog.example.org,14=a&b.com;",
                      fourItems = "11 example.com, 12 Shop.Example.COM, 13 blog.example.org, 14 a&&b.com";
        row("finder: any part, any case", four + "find EXAMPLE.C", "",
            start + fourItems + " | finder: [example.com], Shop.Example.COM");
        row("finder: an & as typed, Enter", four + "find A&B;Return", "",
            report + "11/8/2007&Ldate=11/8/2007&chSiteID=14: " + fourItems);
        row("finder: Down, Page Down, Up, Enter", four + "find .;Down;PgDown;Up;Return", "",
            report + "11/8/2007&Ldate=11/8/2007&chSiteID=13: " + fourItems);
        row("finder: Enter with nothing found, Escape", four + "find shop.org;Return;Escape", "", start + fourItems);
        row("finder: follows a growing list", "answer 11=example.com;find SHOP;answer 12=shop.example.com", "",
            start + "11 example.com, 12 shop.example.com | finder: [shop.example.com]");
        // Two reports side by side: the second asks, once the first has signed the browser in, for the period before.
        const QString beside = " beside default2.asp?FDate=";
        row("compared: a period, then a site", "mnuCompare;date 5;site 12", lastMonth,
            report + "10/1/2007&Ldate=10/31/2007&chSiteID=12" + beside +
                "9/1/2007&Ldate=9/30/2007&chSiteID=12 \"shop.example.com - Quillmoor report\": 12 12");
        row("turned on after a site and This Week", "site 13;date 2;mnuCompare", "period 11/4/2007-11/11/2007",
            report + "11/4/2007&Ldate=11/11/2007" + beside +
                "10/28/2007&Ldate=11/4/2007&chSiteID=13 \"blog.example.org - Quillmoor report\": 13 13");
        row("a range compared", "mnuCompare;range 10/1/2007 10/10/2007", "period 10/1/2007-10/10/2007",
            range.arg("10/1/2007", "10/10/2007").chopped(2) + beside +
                "9/21/2007&LDate=9/30/2007 \"example.com - Quillmoor report\": ");
        row("turned off", "mnuCompare;date 0;mnuCompare", "period 11/8/2007-11/8/2007",
            report + "11/8/2007&Ldate=11/8/2007: ");
        row("still on in a fresh window", "mnuCompare;date 6;close;show", "main-closed, shown",
            "selector open, shown " + kStart + beside +
                "11/7/2007&LDate=11/7/2007 \"example.com - Quillmoor report\": ");
    }
    void flows()
    {
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        openSession();
        // A headless Wayland compositor gives no window the keyboard focus of its own accord: shortcuts reach none.
        const bool keys = steps.contains("Ctrl+") || steps.contains("find ");
        if (keys && !QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == main()->windowHandle(); }))
            QSKIP("No window has the keyboard focus here: its shortcuts cannot be tried.");
        output.buffer().clear();
        output.seek(0);
        QSignalSpy finished(viewer.get(), &Viewer::finished);
        for (const QString& step : steps.split(';'))
            run(step);
        QTRY_COMPARE_WITH_TIMEOUT(this->outcome(), outcome, 30000); // the second browser follows the first
        QCOMPARE(finished.size(), outcome.endsWith("| ended") ? 1 : 0);
        QVERIFY(!BusyPointer::isBusy());
    }
};

LUMENPANE_TEST_MAIN(ViewerTest)
#include "tst_viewer.moc"
