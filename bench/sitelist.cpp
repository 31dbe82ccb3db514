// The site menu filled from an answer of N sites (canned in this process's simulator) and, as the floor, a bare QMenu
// given the same captions one by one: "sitelist N ours_ms floor_ms". Then how a shown window answers while it waits:
// a precise 10 ms timer, from the request to its outcome, asks the window (the main window: its menu bar, which holds
// the growing menu; the page would time the software renderer) to repaint at every tick: "waiting <what> <longest gap
// between two ticks, ms>" for the 32767 sites and for a sign-in whose answer is 1 MiB of sites. Then the site finder
// over 32,767 sites, from each key typed until its list is painted again: "finder <sites> <median ms> <worst ms>".
// Medians of argv[1] runs; fails on an empty menu, an outcome that never came, or a window that never repainted.
#include "viewer/SiteList.h"
#include "TestSupport.h"
#include "client/LoginDialog.h"
#include "viewer/FindWebsiteDialog.h"
#include "viewer/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override { return paints += event->type() == QEvent::Paint, false; }
};

// The longest gap between ticks (ms) from start() to the outcome; -1 when it never came or nothing repainted.
double longestGap(QWidget* window, QWidget* part, QSignalSpy& outcome, const std::function<void()>& start)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return -1;
    PaintCounter counter;
    part->installEventFilter(&counter);
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, part, [&] {
        longest = std::max(longest, clock.nsecsElapsed() - last);
        last = clock.nsecsElapsed();
        part->update();
    });
    clock.start();
    tick.start(10);
    start();
    const bool came = outcome.wait(60000);
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return came && counter.paints > 0 ? double(longest) / 1e6 : -1;
}

// The ms from each key typed into the finder until its list has painted again, over the runs; none on a failure.
QList<double> finderKeys(int runs)
{
    constexpr int sites = 32767;
    MainWindow window;
    for (int id = 1; id <= sites; ++id)
        window.showSiteItem(qint16(id), QStringLiteral("site%1.example.com").arg(id));
    // Each key changes the list: down to the 20,000th site and back to all ("\b": Backspace), to none and back.
    const QByteArray keys = "20000\b\b\b\b\b99x\b\b\b";
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        window.findWebsite();
        auto* finder = window.findChild<FindWebsiteDialog*>();
        if (!finder || !QTest::qWaitForWindowExposed(finder))
            return fprintf(stderr, "bench_sitelist: the finder did not show\n"), QList<double>();
        auto* text = finder->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
        auto* list = finder->findChild<QAbstractItemView*>(QStringLiteral("lstSites"));
        PaintCounter counter;
        list->viewport()->installEventFilter(&counter);
        QElapsedTimer clock;
        for (const char key : keys) {
            counter.paints = 0;
            clock.start();
            QTest::keyClick(text, key);
            const QDeadlineTimer deadline(5000);
            while (!counter.paints && !deadline.hasExpired())
                QCoreApplication::processEvents();
            if (!counter.paints)
                return fprintf(stderr, "bench_sitelist: no paint after \"%s\"\n", qPrintable(text->text())),
                       QList<double>();
            times << double(clock.nsecsElapsed()) / 1e6;
        }
        if (!text->text().isEmpty() || list->model()->rowCount() != sites)
            return fprintf(stderr, "bench_sitelist: the finder shows %d sites\n", list->model()->rowCount()),
                   QList<double>();
        finder->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return times;
}
} // namespace

int main(int argc, char* argv[])
{
    TempSettings settings;
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? atoi(argv[1]) : 5);
    const auto median = [runs](QList<double>& l) { return std::sort(l.begin(), l.end()), l[runs / 2]; };
    ServiceAndBoxes service;
    QByteArray rows, signInRows;
    QList<double> listing, signIn;
    for (const int count : {10, 1000, 32767}) {
        QStringList captions;
        for (int id = 1; id <= count; ++id) {
            captions << QStringLiteral("site%1.example.com").arg(id);
            rows += "<ROW><SITEID>" + QByteArray::number(id) + "</SITEID><PROFILENAME>" + captions.last().toUtf8() +
                    "</PROFILENAME></ROW>";
            if (rows.size() < (1 << 20))
                signInRows = rows;
        }
        service.server().setCannedAnswer(SimServer::serviceResponse(QStringLiteral("OK"), rows));
        QList<double> ours, floor;
        QElapsedTimer clock;
        for (int run = 0; run < runs; ++run) {
            MainWindow window;
            SiteList list(&window);
            QSignalSpy listed(&list, &SiteList::finished);
            clock.start();
            list.load(QStringLiteral("demo@example.com"), QStringLiteral("demo123"));
            if (!listed.wait(60000))
                return 1;
            ours << double(clock.nsecsElapsed()) / 1e6;
            if (!window.siteItem(qint16(count)))
                return 1;
            QMenu menu;
            clock.restart();
            for (const QString& caption : captions)
                menu.addAction(caption);
            floor << double(clock.nsecsElapsed()) / 1e6;
        }
        printf("sitelist %d %.3f %.3f\n", count, median(ours), median(floor));
        rows.clear();
    }
    for (int run = 0; run < runs; ++run) {
        MainWindow window;
        SiteList list(&window);
        QSignalSpy listed(&list, &SiteList::finished);
        listing << longestGap(&window, window.menuBar(), listed, [&] { list.load("demo@example.com", "demo123"); });
    }
    service.server().setCannedAnswer(SimServer::serviceResponse(QStringLiteral("OK"), signInRows));
    for (int run = 0; run < runs; ++run) {
        CredentialStore credentials;
        LoginDialog login(credentials);
        login.findChild<QLineEdit*>("txtEmail")->setText("demo@example.com");
        login.findChild<QLineEdit*>("txtPassword")->setText("demo123");
        QSignalSpy signedIn(&login, &LoginDialog::signedIn);
        signIn << longestGap(&login, &login, signedIn, [&] { login.findChild<QPushButton*>("cmdLogin")->click(); });
    }
    if (listing.contains(-1) || signIn.contains(-1))
        return 1;
    printf("waiting sitelist-32767 %.1f\nwaiting signin-1MiB %.1f\n", median(listing), median(signIn));
    QList<double> keys = finderKeys(runs);
    if (keys.isEmpty())
        return 1;
    std::sort(keys.begin(), keys.end());
    printf("finder 32767 %.1f %.1f\n", keys[keys.size() / 2], keys.last());
    return 0;
}
